#pragma once

// Trees of folders and files for the folder tests, made and read through the codec's bytes,
// so that names which are not UTF-8 are exact.

#include "FakeWindow.h"

#include "core/PathCodec.h"
#include "filelist/FolderWalk.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plenvoy::test {

// Folders and files are made from the codec's bytes, so names that are not UTF-8 are exact.
inline void makeFolder(const QString &path) {
    const QByteArray bytes = pathToBytes(path);
    for (qsizetype slash = bytes.indexOf('/', 1); slash != -1 || !bytes.endsWith('/');
         slash = bytes.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? bytes : bytes.left(slash);
        QVERIFY2(::mkdir(part.constData(), 0755) == 0 || errno == EEXIST, part.constData());
        if (slash < 0)
            break;
    }
}

inline void makeFile(const QString &path, const QByteArray &content = QByteArray("x")) {
    const int fd = ::open(pathToBytes(path).constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    QVERIFY2(fd >= 0, qPrintable(path));
    QCOMPARE(::write(fd, content.constData(), size_t(content.size())), ssize_t(content.size()));
    ::close(fd);
}

inline QByteArray contentOf(const QString &path) {
    QByteArray content(64, '\0');
    const int fd = ::open(pathToBytes(path).constData(), O_RDONLY);
    if (fd < 0)
        return QByteArray();
    const ssize_t got = ::read(fd, content.data(), size_t(content.size()));
    ::close(fd);
    return content.left(got < 0 ? 0 : got);
}

inline QString reasonName(LeftOutReason reason) {
    switch (reason) {
    case LeftOutReason::Unreadable:
        return QStringLiteral("unreadable");
    case LeftOutReason::ControlCharacter:
        return QStringLiteral("control character");
    case LeftOutReason::PathTooLong:
        return QStringLiteral("too long");
    }
    return QString();
}

// The walk's result; what it left out goes to leftOut as "reason: folder".
inline QStringList walk(const QString &start, bool deeper, FakeWindow &ui,
                        QStringList *leftOut = nullptr) {
    QStringList folders{start};
    appendSubFolders(folders, deeper, ui, [&](const QString &folder, LeftOutReason reason) {
        if (leftOut)
            leftOut->append(reasonName(reason) + QStringLiteral(": ") + folder);
    });
    return folders;
}

inline QSet<QByteArray> bytesOf(const QStringList &texts) {
    QSet<QByteArray> bytes;
    for (const QString &text : texts)
        bytes.insert(pathToBytes(text));
    return bytes;
}

inline QSet<QString> setOf(const QStringList &list) {
    return QSet<QString>(list.cbegin(), list.cend());
}

inline void setMode(const QString &path, mode_t mode) {
    QVERIFY2(::chmod(pathToBytes(path).constData(), mode) == 0, qPrintable(path));
}

} // namespace plenvoy::test
