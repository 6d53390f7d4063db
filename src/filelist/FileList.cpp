#include "FileList.h"

#include "core/Failure.h"
#include "core/PathCodec.h"

namespace plenvoy {

FileList::FileList(QObject *parent)
    : QAbstractListModel(parent) {}

void FileList::append(const QString &text) {
    const int row = count();
    beginInsertRows(QModelIndex(), row, row);
    m_entries.append(text);
    endInsertRows();
}

void FileList::append(const QStringList &texts) {
    if (texts.isEmpty())
        return;
    const int row = count();
    beginInsertRows(QModelIndex(), row, row + static_cast<int>(texts.size()) - 1);
    m_entries.append(texts);
    endInsertRows();
}

void FileList::checkPosition(int position) const {
    if (position < 1 || position > count())
        throwFailure(ErrorNumber::SubscriptOutOfRange);
}

QString FileList::textAt(int position) const {
    checkPosition(position);
    return m_entries.at(position - 1);
}

void FileList::setTextAt(int position, const QString &text) {
    checkPosition(position);
    m_entries[position - 1] = text;
    const QModelIndex changed = index(position - 1);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole});
}

void FileList::removeAt(int position) {
    checkPosition(position);
    beginRemoveRows(QModelIndex(), position - 1, position - 1);
    m_entries.removeAt(position - 1);
    endRemoveRows();
}

void FileList::clear() {
    beginResetModel();
    m_entries.clear();
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
        return pathForDisplay(m_entries.at(index.row()));
    return QVariant();
}

QVariant FileList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QStringLiteral("All File(s)");
    return QVariant();
}

} // namespace plenvoy
