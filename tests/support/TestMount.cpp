#include "TestMount.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace plenvoy::test {

namespace {

#ifdef PLENVOY_TESTFS_PATH
const QString kTestFs = QStringLiteral(PLENVOY_TESTFS_PATH);
#else
const QString kTestFs;
#endif

bool hasTool(const QString &name) {
    return !QStandardPaths::findExecutable(name).isEmpty() ||
           !QStandardPaths::findExecutable(name,
                                           {QStringLiteral("/sbin"), QStringLiteral("/usr/sbin")})
                .isEmpty();
}

QString toolPath(const QString &name) {
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(
                                 name, {QStringLiteral("/sbin"), QStringLiteral("/usr/sbin")})
                           : found;
}

} // namespace

TestMount::~TestMount() {
    unmount();
}

QString TestMount::unavailable(Kind kind) {
    if (!QFile::exists(QStringLiteral("/dev/fuse")))
        return QStringLiteral("needs FUSE: this machine has no /dev/fuse");
    if (!hasTool(QStringLiteral("fusermount3")))
        return QStringLiteral("needs fusermount3 (Debian package fuse3)");
    switch (kind) {
    case Kind::ExFat:
        if (::geteuid() != 0 || !hasTool(QStringLiteral("losetup")))
            return QStringLiteral("needs root and losetup for an exFAT image");
        if (!hasTool(QStringLiteral("mkfs.exfat")) || !hasTool(QStringLiteral("mount.exfat-fuse")))
            return QStringLiteral("needs mkfs.exfat and mount.exfat-fuse (exfatprogs, exfat-fuse)");
        break;
    case Kind::Fat:
        if (!hasTool(QStringLiteral("mkfs.fat")) || !hasTool(QStringLiteral("fusefat")))
            return QStringLiteral("needs mkfs.fat and fusefat (dosfstools, fusefat)");
        break;
    case Kind::TestFs:
        if (kTestFs.isEmpty())
            return QStringLiteral("needs the test file system, built where libfuse3 is");
        break;
    }
    return QString();
}

bool TestMount::runTool(const QString &program, const QStringList &arguments, QString *output) {
    QProcess tool;
    tool.start(toolPath(program).isEmpty() ? program : toolPath(program), arguments);
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        m_error =
            program + QStringLiteral(": ") + QString::fromLocal8Bit(tool.readAllStandardError());
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    return true;
}

bool TestMount::mount(Kind kind, const QStringList &options) {
    if (!m_dir.isValid() || m_mounted)
        return false;
    const QString mountPoint = m_dir.path() + QStringLiteral("/mnt");
    const QString image = m_dir.path() + QStringLiteral("/fs.img");
    QDir().mkpath(mountPoint);
    if (kind == Kind::TestFs) {
        const QString backing = m_dir.path() + QStringLiteral("/backing");
        QDir().mkpath(backing);
        QStringList arguments{backing, mountPoint};
        if (!options.isEmpty())
            arguments << QStringLiteral("-o") << options.join(QLatin1Char(','));
        m_mounted = runTool(kTestFs, arguments);
        return m_mounted;
    }
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly) || !file.resize(qint64(64) << 20))
        return false;
    file.close();
    if (kind == Kind::Fat) {
        m_mounted = runTool(QStringLiteral("mkfs.fat"), {image}) &&
                    runTool(QStringLiteral("fusefat"),
                            {QStringLiteral("-o"), QStringLiteral("rw+"), image, mountPoint});
        return m_mounted;
    }
    // FUSE exFAT run by root wants a block device: the image goes onto a loop device.
    if (!runTool(QStringLiteral("mkfs.exfat"), {image}) ||
        !runTool(QStringLiteral("losetup"), {QStringLiteral("-f"), QStringLiteral("--show"), image},
                 &m_loopDevice))
        return false;
    m_mounted = runTool(QStringLiteral("mount.exfat-fuse"), {m_loopDevice, mountPoint});
    if (!m_mounted) {
        runTool(QStringLiteral("losetup"), {QStringLiteral("-d"), m_loopDevice});
        m_loopDevice.clear();
    }
    return m_mounted;
}

bool TestMount::unmount() {
    bool done = true;
    if (m_mounted) {
        const QString mountPoint = path();
        // A daemon may still be busy with the last request for a moment.
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (runTool(QStringLiteral("fusermount3"), {QStringLiteral("-u"), mountPoint}) ||
                runTool(QStringLiteral("umount"), {mountPoint})) {
                m_mounted = false;
                break;
            }
            ::usleep(100000);
        }
        done = !m_mounted;
    }
    if (!m_loopDevice.isEmpty() &&
        runTool(QStringLiteral("losetup"), {QStringLiteral("-d"), m_loopDevice}))
        m_loopDevice.clear();
    return done && m_loopDevice.isEmpty();
}

} // namespace plenvoy::test
