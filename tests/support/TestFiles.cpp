#include "TestFiles.h"

#include "core/PathCodec.h"

#include <QCryptographicHash>
#include <QProcess>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy::test {

namespace {

bool makeFoldersAbove(const QByteArray &path) {
    for (qsizetype slash = path.indexOf('/', 1); slash > 0; slash = path.indexOf('/', slash + 1)) {
        if (::mkdir(path.left(slash).constData(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

QString linkTarget(const QByteArray &path) {
    QByteArray target(4096, '\0');
    const ssize_t got = ::readlink(path.constData(), target.data(), size_t(target.size()));
    return got < 0 ? QString() : pathFromBytes(target.left(got));
}

void collect(const QString &root, const QString &relative, TreeSnapshot &into) {
    DIR *dir = ::opendir(pathToBytes(root + relative).constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = pathFromBytes(entry->d_name);
        if (name == QLatin1String(".") || name == QLatin1String(".."))
            continue;
        const QString child = relative + QLatin1Char('/') + name;
        into.insert(child, describeEntry(root + child));
        struct stat info {};
        if (::lstat(pathToBytes(root + child).constData(), &info) == 0 && S_ISDIR(info.st_mode))
            collect(root, child, into);
    }
    ::closedir(dir);
}

} // namespace

bool writeFile(const QString &path, const QByteArray &content) {
    const QByteArray name = pathToBytes(path);
    if (!makeFoldersAbove(name))
        return false;
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    return ::close(fd) == 0 && written;
}

bool setFileTimes(const QString &path, const struct timespec &accessed,
                  const struct timespec &modified) {
    const struct timespec times[2] = {accessed, modified};
    return ::utimensat(AT_FDCWD, pathToBytes(path).constData(), times, 0) == 0;
}

QByteArray contentOf(const QString &path) {
    const int fd = ::open(pathToBytes(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    QByteArray content("");
    char buffer[1 << 16];
    ssize_t got = 0;
    while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
        content.append(buffer, got);
    ::close(fd);
    return got < 0 ? QByteArray() : content;
}

QStringList namesIn(const QString &folder) {
    QStringList names;
    DIR *dir = ::opendir(pathToBytes(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = pathFromBytes(entry->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names.append(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

TreeSnapshot snapshotOf(const QString &root) {
    TreeSnapshot result;
    collect(root, QString(), result);
    return result;
}

QString describeEntry(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    struct stat info {};
    if (::lstat(bytes.constData(), &info) != 0)
        return QStringLiteral("missing");
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("folder mode %1").arg(info.st_mode, 0, 8);
    QString text = QStringLiteral("mode %1 size %2 mtime %3.%4 ")
                       .arg(info.st_mode, 0, 8)
                       .arg(info.st_size)
                       .arg(info.st_mtim.tv_sec)
                       .arg(info.st_mtim.tv_nsec, 9, 10, QLatin1Char('0'));
    if (S_ISREG(info.st_mode))
        text += QString::fromLatin1(
            QCryptographicHash::hash(contentOf(path), QCryptographicHash::Sha1).toHex());
    else if (S_ISLNK(info.st_mode))
        text += linkTarget(bytes);
    return text;
}

QByteArray treeDifference(const TreeSnapshot &expected, const TreeSnapshot &actual) {
    QStringList lines;
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (actual.value(it.key()) != it.value())
            lines << it.key() + QStringLiteral(": expected ") + it.value() +
                         QStringLiteral(", found ") + actual.value(it.key(), QStringLiteral("-"));
    }
    for (auto it = actual.cbegin(); it != actual.cend(); ++it) {
        if (!expected.contains(it.key()))
            lines << it.key() + QStringLiteral(": unexpected ") + it.value();
    }
    return lines.join(QLatin1Char('\n')).toLocal8Bit();
}

ByteNamedTempDir::~ByteNamedTempDir() {
    QProcess::execute(QStringLiteral("rm"),
                      {QStringLiteral("-rf"), QStringLiteral("--"), m_dir.path()});
}

} // namespace plenvoy::test
