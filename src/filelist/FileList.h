#pragma once

#include <QAbstractListModel>
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QStringList>

namespace plenvoy {

/// The ordered list of source paths shown in FileListView. Positions are 1-based, entries are
/// appended at the end, duplicates are kept, nothing is sorted or saved.
///
/// A million entries must fit in little memory: each entry keeps its folder (up to the
/// last "/") as a number into the distinct folders, and its name in one shared buffer, one
/// byte a letter for most names; the view asks for a row's text only when it shows that row.
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
    /// Every entry, in order (made on demand).
    QStringList entries() const;
    /// The folder the entry at a 1-based position was listed through ("Add All Files In
    /// Folder", a folder handed over); empty for an entry listed on its own.
    QString listedThroughAt(int position) const;

    /// While it lives, the entries appended are noted as listed through the folder.
    class ListingThrough final {
    public:
        ListingThrough(FileList &list, const QString &folder);
        ~ListingThrough();
        ListingThrough(const ListingThrough &) = delete;
        ListingThrough &operator=(const ListingThrough &) = delete;

    private:
        FileList &m_list;
        quint32 m_before;
    };

    /// The list as it stands, unchanged by later edits of the list: taking it copies no entry
    /// (it shares the list's storage until the list changes), and it may be read on another
    /// thread.
    class Snapshot final {
    public:
        int count() const { return int(m_entries.size()); }
        /// The entry at a 0-based index.
        QString textAt(int index) const;
        /// The folder the entry at a 0-based index was listed through; empty when none.
        QString listedThroughAt(int index) const;

    private:
        friend class FileList;
        struct Entry {
            quint32 folder;
            quint32 length; ///< with kWide when the name is kept in two bytes a unit
            qint64 start;
            /// Index into the folders entries were listed through; 0: listed on its own.
            quint32 through;
        };
        static constexpr quint32 kWide = 0x80000000u;
        /// The bytes the entry's name takes in the buffer of names.
        static qsizetype bytesOf(const Entry &entry) {
            return (entry.length & kWide) ? qsizetype(entry.length & ~kWide) * 2
                                          : qsizetype(entry.length);
        }
        /// The entry's text: its folder followed by its name.
        static QString textOf(const Entry &entry, const QStringList &folders,
                              const QByteArray &names);

        QList<Entry> m_entries;
        QByteArray m_names;
        QStringList m_folders;
        QStringList m_throughs;
    };
    Snapshot snapshot() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    /// folder: index into m_folders; length: of the name, in UTF-16 units; start: of the
    /// name in m_names, in bytes.
    using Entry = Snapshot::Entry;

    void checkPosition(int position) const;
    Entry store(const QString &text);
    QString textOf(const Entry &entry) const;
    /// Drops the names no entry uses any more once they are half the buffer.
    void compactNames();

    QList<Entry> m_entries;
    /// Every name, one after the other: in Latin-1 when it has no other letter, otherwise in
    /// UTF-16.
    QByteArray m_names;
    QStringList m_folders;
    QHash<QString, quint32> m_folderIndex;
    qint64 m_unusedNames = 0;
    /// The folders entries were listed through; the first, empty, is "on its own".
    QStringList m_throughs{QString()};
    quint32 m_through = 0; ///< the one appended entries are noted with now
};

} // namespace plenvoy
