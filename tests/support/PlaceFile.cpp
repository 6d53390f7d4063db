#include "PlaceFile.h"

#include "core/PathHelpers.h"

#include <cerrno>

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
