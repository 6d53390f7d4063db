#pragma once

#include <QByteArray>

#include <memory>

namespace plenvoy::copying {

class InterruptCleanup;

/// A temporary name in the destination folder. Prepared (and registered for removal on an
/// interrupting signal) before the file is made under it; removed when the copy is dropped;
/// released once the copy has moved to its destination name.
class TemporaryName final {
public:
    TemporaryName();
    ~TemporaryName();
    TemporaryName(const TemporaryName &) = delete;
    TemporaryName &operator=(const TemporaryName &) = delete;

    void prepare(int folderFd, const QByteArray &name);
    /// The file now exists under the prepared name and is ours to remove.
    void markMade() { m_made = true; }
    bool isSet() const { return m_made; }
    const char *name() const { return m_name.constData(); }
    /// Takes over the other's name, made and registered, when the file was renamed to it.
    void adopt(TemporaryName &other);
    /// The name is gone (renamed away): nothing left to remove.
    void release();
    void remove();

private:
    int m_folderFd = -1;
    QByteArray m_name;
    bool m_made = false;
    std::unique_ptr<InterruptCleanup> m_cleanup;
};

/// A fresh name for a temporary file: ".plenvoy-", this process's id, a random part, ".tmp".
QByteArray temporaryName();

/// Removes from the folder the temporary files of copies whose process ended before this one
/// started (killed half-way): their names carry a process id that no longer runs, and they
/// have not changed since this process started.
void removeLeftTemporaries(int folderFd);

} // namespace plenvoy::copying
