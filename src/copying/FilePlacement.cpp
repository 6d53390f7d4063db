#include "FilePlacement.h"

#include "CopySupport.h"
#include "core/PathCodec.h"
#include "core/PathHelpers.h"

#include <cerrno>

#include <algorithm>

namespace plenvoy {

namespace {

/// Copies the source to the destination when it can; true when this call wrote the file.
bool copyFileOrNothing(const QString &source, const QString &destination,
                       const ProtectedFiles *protectedFiles, const CopyHooks &hooks) {
    if (destination.isEmpty())
        return false;
    const SourceFile file(source);
    return copySourceFile(file, landingPath(source, destination), protectedFiles,
                          ExistingName::Replace, hooks)
        .copied();
}

void placeFile(const QString &source, const QString &destination,
               const ProtectedFiles *protectedFiles) {
    if (isBlankPath(destination) || isBlankPath(source))
        return;
    const QString cleanSource = collapseDoubledSeparators(source);
    const QString cleanDestination = collapseDoubledSeparators(destination);
    // "?" and "*" are ordinary name characters here, so there is no wildcard step.
    // Both tests are made before deciding, as before: an overflow of FolderOf reaches the
    // caller even when the source is missing.
    const QString destinationFolder = FolderOf(cleanDestination);
    const bool sourceIsFile = FileIsPresent(cleanSource);
    if (sourceIsFile && FolderExists(destinationFolder))
        detail::copyFileQuiet(cleanSource, cleanDestination, protectedFiles, {});
}

} // namespace

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

void CopyFileQuiet(const QString &source, const QString &destination) {
    detail::copyFileQuiet(source, destination, nullptr, {});
}

void PlaceFile(const QString &source, const QString &destination) {
    placeFile(source, destination, nullptr);
}

void PlaceFile(const QString &source, const QString &destination,
               const ProtectedFiles &protectedFiles) {
    placeFile(source, destination, &protectedFiles);
}

namespace detail {

bool copyFileQuiet(const QString &source, const QString &destination,
                   const ProtectedFiles *protectedFiles, const WriteFault &fault) {
    const int savedErrno = errno;
    bool written = false;
    try {
        CopyHooks hooks;
        hooks.faults.emplace();
        hooks.faults->faultAfterBytes = fault.afterBytes;
        hooks.faults->faultErrorNumber = fault.errorNumber;
        written = copyFileOrNothing(source, destination, protectedFiles, hooks);
    } catch (...) {
        // The copy reports nothing, whatever went wrong (memory included).
    }
    errno = savedErrno;
    return written;
}

} // namespace detail

} // namespace plenvoy
