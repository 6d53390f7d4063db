#pragma once

// Files for tests, made and read under the exact bytes of their paths (the path codec), so
// that names which are not UTF-8 are exact too.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ctime>

namespace plenvoy::test {

/// Writes a file with mode 0644, making the folders above it; true when it was written.
bool writeFile(const QString &path, const QByteArray &content = QByteArrayLiteral("x"));
/// Sets a file's last-accessed and last-modified times; true when they were set.
bool setFileTimes(const QString &path, const struct timespec &accessed,
                  const struct timespec &modified);
/// The file's content; a null array when it cannot be read.
QByteArray contentOf(const QString &path);
/// The names in a folder, hidden ones included, sorted.
QStringList namesIn(const QString &folder);

/// Every entry below a folder, keyed "/relative/path", with what lstat and the content say
/// of it (see describeEntry): telling two snapshots apart tells whether anything changed.
using TreeSnapshot = QMap<QString, QString>;
TreeSnapshot snapshotOf(const QString &root);
/// One entry: kind, mode, size, modification time and the hash of a file's bytes or a
/// link's target; "missing" when there is none. A folder shows only its mode, since its
/// own time changes with every name made in it.
QString describeEntry(const QString &path);
/// The entries in which two snapshots differ, one a line, for failure messages.
QByteArray treeDifference(const TreeSnapshot &expected, const TreeSnapshot &actual);

/// A temporary folder removed through its bytes: QTemporaryDir leaves behind the names that
/// are not UTF-8.
class ByteNamedTempDir final {
public:
    ByteNamedTempDir() { m_dir.setAutoRemove(false); }
    ~ByteNamedTempDir();
    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

} // namespace plenvoy::test

#define COMPARE_TREE(expected, actual)                                                             \
    QVERIFY2((expected) == (actual),                                                               \
             plenvoy::test::treeDifference((expected), (actual)).constData())
