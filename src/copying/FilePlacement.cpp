#include "FilePlacement.h"

#include "CopySupport.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"

#include <cerrno>

#include <algorithm>

namespace plenvoy {

/// The path a copy to the destination lands at: a destination that names a folder (ends in
/// the separator) takes the source's own name.
QString landingPath(const QString &source, const QString &destination) {
    const QChar separator = platformSeparator();
    if (!destination.isEmpty() && destination.endsWith(separator))
        return destination + source.mid(source.lastIndexOf(separator) + 1);
    return destination;
}

bool isBlankPath(const QString &text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QLatin1Char(' '); });
}

const CopyFaults &faultsOf(const CopyHooks &hooks) {
    static const CopyFaults none;
    return hooks.faults ? *hooks.faults : none;
}

void ProtectedFiles::add(const QString &path) {
    try {
        const QByteArray bytes = systemPathBytes(path).value_or(QByteArray());
        struct stat info {};
        if (!bytes.isEmpty() && ::stat(bytes.constData(), &info) == 0)
            m_files.emplace(info.st_dev, info.st_ino);
    } catch (...) {
        // Never fails: a file that can't be added is simply not protected by the list.
    }
}

void ProtectedFiles::fillNow() const {
    std::function<bool(ProtectedFiles &)> filler;
    filler.swap(m_filler);
    if (!filler(const_cast<ProtectedFiles &>(*this)))
        m_incomplete = true;
}

bool ProtectedFiles::contains(dev_t device, ino_t inode) const {
    if (m_filler)
        fillNow();
    return m_incomplete || m_files.count({device, inode}) != 0;
}

} // namespace plenvoy
