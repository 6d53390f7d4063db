#include "FileListView.h"

#include "FileList.h"
#include "core/Translation.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>

namespace plenvoy {

namespace {

// Local file paths carried by dragged data; empty when it carries none.
QStringList localPathsOf(const QMimeData *data) {
    if (!data || !data->hasUrls())
        return QStringList();
    return droppedLocalPaths(data->urls());
}

} // namespace

FileListView::FileListView(FileList &list, WindowPort &ui, QWidget *parent)
    : QTreeView(parent)
    , m_list(list)
    , m_rules(list, ui)
    , m_dragIconPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') + kDragIconName) {
    m_layoutTimer = new QTimer(this);
    m_layoutTimer->setSingleShot(true);
    connect(m_layoutTimer, &QTimer::timeout, this, &FileListView::doItemsLayout);
    setModel(&m_list);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true); // keeps 100,000 entries quick to show
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The list starts no drag of its own; entries are moved by the rules instead.
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setMouseTracking(true);

    QFont listFont(QStringLiteral("Arial"), 9);
    listFont.setBold(true);
    setFont(listFont);
    setToolTip(shownText("FileList", kFileListToolTip));
    viewport()->setToolTip(shownText("FileList", kFileListToolTip));

    // A path too long for the column loses its middle, not its end: the file's own name,
    // the part that tells entries apart, stays visible.
    setTextElideMode(Qt::ElideMiddle);
    // The column keeps its width; the user widens it past the visible area to read long paths.
    header()->setStretchLastSection(false);
    setColumnWidth(0, kFileListColumnWidth);
    resize(kFileListWidth, kFileListHeight);
}

void FileListView::setModel(QAbstractItemModel *model) {
    QObject::disconnect(m_appended);
    for (const QMetaObject::Connection &connection : std::as_const(m_changed))
        QObject::disconnect(connection);
    m_changed.clear();
    m_onlyAppended = false;
    if (model) {
        m_appended = connect(model, &QAbstractItemModel::rowsInserted, this,
                             [this](const QModelIndex &, int, int last) {
                                 if (last + 1 < this->model()->rowCount())
                                     m_onlyAppended = false;
                             });
        const auto changed = [this] { m_onlyAppended = false; };
        // Told before the view itself hears of the change, which lays the rows out anew.
        m_changed << connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, changed)
                  << connect(model, &QAbstractItemModel::rowsAboutToBeMoved, this, changed)
                  << connect(model, &QAbstractItemModel::modelAboutToBeReset, this, changed)
                  << connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, changed);
    }
    QTreeView::setModel(model);
}

void FileListView::doItemsLayout() {
    // Each layout goes over every row: while rows are only appended, the next one waits
    // eight times as long as the last one took, so a million rows added folder by folder
    // are not laid out again at every turn of the event loop. Rows shown meanwhile keep
    // their places, as nothing before them changed.
    constexpr qint64 kWaitPerLayout = 8;
    if (m_onlyAppended && m_sinceLayout.isValid()) {
        const qint64 waitNanos = m_layoutNanos * kWaitPerLayout - m_sinceLayout.nsecsElapsed();
        if (waitNanos > 1000000) {
            if (!m_layoutTimer->isActive())
                m_layoutTimer->start(int(waitNanos / 1000000));
            return;
        }
    }
    m_layoutTimer->stop();
    QElapsedTimer timer;
    timer.start();
    QTreeView::doItemsLayout();
    m_layoutNanos = timer.nsecsElapsed();
    m_sinceLayout.start();
    m_onlyAppended = true;
}

int FileListView::selectedPosition() const {
    if (!selectionModel())
        return 0;
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

int FileListView::positionAt(const QPoint &point) const {
    const QModelIndex index = indexAt(point);
    return index.isValid() ? index.row() + 1 : 0;
}

void FileListView::selectPosition(int position) {
    const QModelIndex index = model()->index(position - 1, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
}

void FileListView::removeSelected() {
    // As in the system's list control, no other entry becomes selected in its place.
    if (m_rules.removeSelected(selectedPosition()))
        selectionModel()->clearSelection();
}

void FileListView::setDragPointer() {
    // A missing or unreadable pointer file leaves the pointer as it is.
    QFile file(m_dragIconPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    QImage image;
    if (!image.loadFromData(bytes, "ICO") || image.isNull())
        return;
    const std::optional<QPoint> hotSpot = pointerHotSpot(bytes, image.width(), image.height());
    if (!hotSpot)
        return;
    viewport()->setCursor(QCursor(QPixmap::fromImage(image), hotSpot->x(), hotSpot->y()));
}

void FileListView::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Delete) {
        removeSelected();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FileListView::mousePressEvent(QMouseEvent *event) {
    QTreeView::mousePressEvent(event); // selects the entry under the pointer
    // Qt reports the click on release, so the press sets the moving entry.
    const int position = positionAt(event->position().toPoint());
    if (position > 0) {
        setDragPointer();
        m_rules.entryClicked(position);
    }
    m_rules.buttonPressed();
}

void FileListView::mouseDoubleClickEvent(QMouseEvent *event) {
    QTreeView::mouseDoubleClickEvent(event);
    m_rules.buttonPressed();
    removeSelected();
}

void FileListView::mouseReleaseEvent(QMouseEvent *event) {
    QTreeView::mouseReleaseEvent(event);
    m_rules.buttonReleased();
    viewport()->setCursor(Qt::ArrowCursor);
}

void FileListView::mouseMoveEvent(QMouseEvent *event) {
    // With a button held the rules move the selection, not the view's own drag-select.
    if (event->buttons() == Qt::NoButton)
        QTreeView::mouseMoveEvent(event);
    // The scroll band belongs to the list's visible area, wherever the window is.
    const QPoint point = event->position().toPoint();
    const MoveOutcome outcome =
        m_rules.pointerMoved(positionAt(point), point.y(), viewport()->height());
    if (outcome.selectPosition > 0)
        selectPosition(outcome.selectPosition);
    if (outcome.scrollToPosition > 0)
        scrollTo(model()->index(outcome.scrollToPosition - 1, 0), QAbstractItemView::EnsureVisible);
}

void FileListView::dragEnterEvent(QDragEnterEvent *event) {
    if (localPathsOf(event->mimeData()).isEmpty())
        event->ignore(); // no drop possible
    else
        event->acceptProposedAction();
}

void FileListView::dragMoveEvent(QDragMoveEvent *event) {
    if (localPathsOf(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void FileListView::dropEvent(QDropEvent *event) {
    const QStringList paths = localPathsOf(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    // Appended in the order delivered, with no test, also while the window is busy.
    for (const QString &path : paths)
        m_list.append(path);
    event->acceptProposedAction();
}

} // namespace plenvoy
