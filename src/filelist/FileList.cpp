#include "FileList.h"

#include "core/Failure.h"
#include "core/PathCodec.h"
#include "core/Translation.h"

#include <algorithm>
#include <cstring>

namespace plenvoy {

FileList::FileList(QObject *parent)
    : QAbstractListModel(parent) {}

FileList::Entry FileList::store(const QString &text) {
    const qsizetype cut = text.lastIndexOf(QLatin1Char('/')) + 1;
    // Entries come in runs from one folder: the last folder is asked first.
    const QStringView folder = QStringView(text).left(cut);
    quint32 folderNumber = 0;
    if (!m_folders.isEmpty() && m_folders.constLast() == folder) {
        folderNumber = quint32(m_folders.size() - 1);
    } else {
        const QString key = folder.toString();
        const auto found = m_folderIndex.constFind(key);
        if (found != m_folderIndex.constEnd()) {
            folderNumber = found.value();
        } else {
            folderNumber = quint32(m_folders.size());
            m_folders.append(key);
            m_folderIndex.insert(key, folderNumber);
        }
    }
    const QStringView name = QStringView(text).mid(cut);
    // A name of Latin-1 letters alone (most are) takes one byte a letter, any other two.
    bool narrow = true;
    for (const QChar c : name)
        narrow = narrow && c.unicode() < 0x100;
    Entry entry{folderNumber, quint32(name.size()) | (narrow ? 0 : Snapshot::kWide), m_names.size(),
                m_through};
    if (narrow) {
        const qsizetype at = m_names.size();
        m_names.resize(at + name.size());
        char *out = m_names.data() + at;
        for (const QChar c : name)
            *out++ = char(c.unicode());
    } else {
        m_names.append(reinterpret_cast<const char *>(name.utf16()), name.size() * 2);
    }
    return entry;
}

QString FileList::textOf(const Entry &entry) const {
    return Snapshot::textOf(entry, m_folders, m_names);
}

void FileList::compactNames() {
    if (m_unusedNames < 4096 || m_unusedNames * 2 < m_names.size())
        return;
    QByteArray names;
    names.reserve(m_names.size() - m_unusedNames);
    for (Entry &entry : m_entries) {
        const qint64 start = names.size();
        names.append(m_names.constData() + entry.start, Snapshot::bytesOf(entry));
        entry.start = start;
    }
    m_names.swap(names);
    m_unusedNames = 0;
}

FileList::Snapshot FileList::snapshot() const {
    Snapshot copy;
    copy.m_entries = m_entries;
    copy.m_names = m_names;
    copy.m_folders = m_folders;
    copy.m_throughs = m_throughs;
    return copy;
}

QString FileList::Snapshot::listedThroughAt(int index) const {
    return m_throughs.value(m_entries.at(index).through);
}

QString FileList::listedThroughAt(int position) const {
    checkPosition(position);
    return m_throughs.value(m_entries.at(position - 1).through);
}

FileList::ListingThrough::ListingThrough(FileList &list, const QString &folder)
    : m_list(list)
    , m_before(list.m_through) {
    const qsizetype known = m_list.m_throughs.indexOf(folder);
    if (known >= 0) {
        m_list.m_through = quint32(known);
    } else {
        m_list.m_through = quint32(m_list.m_throughs.size());
        m_list.m_throughs.append(folder);
    }
}

FileList::ListingThrough::~ListingThrough() {
    m_list.m_through = m_before;
}

QString FileList::Snapshot::textOf(const Entry &entry, const QStringList &folders,
                                   const QByteArray &names) {
    const QString &folder = folders.at(entry.folder);
    const qsizetype length = qsizetype(entry.length & ~kWide);
    QString text(folder.size() + length, Qt::Uninitialized);
    QChar *out = std::copy(folder.cbegin(), folder.cend(), text.data());
    const char *name = names.constData() + entry.start;
    if (entry.length & kWide) {
        std::memcpy(static_cast<void *>(out), name, size_t(length) * 2);
    } else {
        for (qsizetype i = 0; i < length; ++i)
            out[i] = QChar(char16_t(uchar(name[i])));
    }
    return text;
}

QString FileList::Snapshot::textAt(int index) const {
    return textOf(m_entries.at(index), m_folders, m_names);
}

QStringList FileList::entries() const {
    QStringList texts;
    texts.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        texts.append(textOf(entry));
    return texts;
}

void FileList::append(const QString &text) {
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_entries.append(store(text));
    endInsertRows();
}

void FileList::append(const QStringList &texts) {
    if (texts.isEmpty())
        return;
    const int row = count();
    beginInsertRows(QModelIndex(), row, row + static_cast<int>(texts.size()) - 1);
    for (const QString &text : texts)
        m_entries.append(store(text));
    endInsertRows();
}

void FileList::checkPosition(int position) const {
    if (position < 1 || position > count())
        throwFailure(ErrorNumber::SubscriptOutOfRange);
}

QString FileList::textAt(int position) const {
    checkPosition(position);
    return textOf(m_entries.at(position - 1));
}

void FileList::setTextAt(int position, const QString &text) {
    checkPosition(position);
    m_unusedNames += Snapshot::bytesOf(m_entries.at(position - 1));
    const quint32 through = m_entries.at(position - 1).through;
    m_entries[position - 1] = store(text);
    m_entries[position - 1].through = through;
    compactNames();
    const QModelIndex changed = index(position - 1);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void FileList::removeAt(int position) {
    checkPosition(position);
    beginRemoveRows(QModelIndex(), position - 1, position - 1);
    m_unusedNames += Snapshot::bytesOf(m_entries.at(position - 1));
    m_entries.removeAt(position - 1);
    compactNames();
    endRemoveRows();
}

void FileList::clear() {
    beginResetModel();
    m_entries = {};
    m_names = QByteArray();
    m_folders.clear();
    m_folderIndex.clear();
    m_unusedNames = 0;
    m_throughs = QStringList{QString()};
    endResetModel();
}

int FileList::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant FileList::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= count())
        return QVariant();
    // The tool tip is the list's own instruction, not the entry's text. A byte that is not
    // text shows as the replacement mark; the entry itself keeps it.
    if (role == Qt::DisplayRole)
        return pathForDisplay(textOf(m_entries.at(index.row())));
    return QVariant();
}

QVariant FileList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return shownText("FileList", QStringLiteral(QT_TRANSLATE_NOOP("FileList", "All File(s)")));
    return QVariant();
}

} // namespace plenvoy
