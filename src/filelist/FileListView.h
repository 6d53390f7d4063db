#pragma once

#include "ListRules.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <QTreeView>

namespace plenvoy {

class FileList;
class WindowPort;

/// Twips per pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;
constexpr int twipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

/// The list's place in the main window and its column, in pixels.
constexpr int kFileListLeft = twipsToPixels(120);
constexpr int kFileListTop = twipsToPixels(120);
constexpr int kFileListWidth = twipsToPixels(7800);
constexpr int kFileListHeight = twipsToPixels(2535);
constexpr int kFileListColumnWidth = twipsToPixels(7000);

/// Texts of the list as the user sees them.
inline const QString kFileListToolTip = QStringLiteral(QT_TRANSLATE_NOOP(
    "FileList", "Drag and drop files here. Double-click item to remove it. Move | line to "
                "right and out of window to reveal full names."));
/// The drag pointer's file in the program's folder.
inline const QString kDragIconName = QStringLiteral("drag.ico");

/// The file list's view: one report-style column, removal by Delete and double-click,
/// dropping of local files, and reordering by dragging an entry up or down.
class FileListView final : public QTreeView {
    Q_OBJECT

public:
    FileListView(FileList &list, WindowPort &ui, QWidget *parent = nullptr);

    /// The selected entry's 1-based position, 0 when none is selected.
    int selectedPosition() const;
    /// The file the drag pointer is loaded from; by default drag.ico in the program's folder.
    void setDragIconPath(const QString &path) { m_dragIconPath = path; }
    const QString &dragIconPath() const { return m_dragIconPath; }

    void setModel(QAbstractItemModel *model) override;
    /// Lays the rows out again; while rows are only appended (a folder being added), at most
    /// as often as keeps the layout of a long list to a small share of the time.
    void doItemsLayout() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void removeSelected();
    void setDragPointer();
    void selectPosition(int position);
    int positionAt(const QPoint &point) const;

    FileList &m_list;
    ListRules m_rules;
    QString m_dragIconPath;
    /// Since the last layout, how long it took, and whether rows were only appended since.
    QElapsedTimer m_sinceLayout;
    qint64 m_layoutNanos = 0;
    bool m_onlyAppended = false;
    QTimer *m_layoutTimer = nullptr;
    QMetaObject::Connection m_appended;
    QList<QMetaObject::Connection> m_changed;
};

} // namespace plenvoy
