#pragma once

// File systems mounted for one test under a temporary folder: the removable ones people
// copy to (exFAT and FAT through FUSE, on image files) and our own pass-through FUSE file
// system with its options. Everything mounted is unmounted when the mount goes.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace plenvoy::test {

class TestMount final {
public:
    enum class Kind { ExFat, Fat, TestFs };

    TestMount() = default;
    ~TestMount();
    TestMount(const TestMount &) = delete;
    TestMount &operator=(const TestMount &) = delete;

    /// Why this kind can't be mounted here (no /dev/fuse, a missing tool); empty when it can.
    static QString unavailable(Kind kind);
    /// Mounts a fresh file system of the kind; for TestFs the options go to "-o". False,
    /// with error() telling why, when it could not be mounted.
    bool mount(Kind kind, const QStringList &options = {});
    /// The mounted folder (empty until mounted).
    QString path() const { return m_mounted ? m_dir.path() + QStringLiteral("/mnt") : QString(); }
    QString error() const { return m_error; }
    /// Unmounts now; true when nothing stays mounted.
    bool unmount();

private:
    bool runTool(const QString &program, const QStringList &arguments, QString *output = nullptr);

    QTemporaryDir m_dir;
    QString m_loopDevice;
    QString m_error;
    bool m_mounted = false;
};

} // namespace plenvoy::test

/// Skips the test, with the reason, when the kind can't be mounted here.
#define SKIP_WITHOUT_MOUNT(kind)                                                                   \
    do {                                                                                           \
        const QString why = plenvoy::test::TestMount::unavailable(kind);                           \
        if (!why.isEmpty())                                                                        \
            QSKIP(qPrintable(why));                                                                \
    } while (false)
