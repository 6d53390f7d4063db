#pragma once

#include <QAbstractListModel>
#include <QStringList>

namespace plenvoy {

/// The ordered list of source paths shown in FileListView. Positions are 1-based, entries are
/// appended at the end, duplicates are kept, nothing is sorted or saved.
class FileList final : public QAbstractListModel {
    Q_OBJECT

public:
    explicit FileList(QObject *parent = nullptr);

    void append(const QString &text);
    void append(const QStringList &texts);
    int count() const { return static_cast<int>(m_entries.size()); }
    /// The entry at a 1-based position; outside 1..count raises "Subscript out of range".
    QString textAt(int position) const;
    void setTextAt(int position, const QString &text);
    void removeAt(int position);
    void clear();
    const QStringList &entries() const { return m_entries; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void checkPosition(int position) const;

    QStringList m_entries;
};

} // namespace plenvoy
