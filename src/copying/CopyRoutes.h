#pragma once

// What the copy's routes to a name rest on; not for use outside the copy's own sources.

#include "FilePlacement.h"

namespace plenvoy::copying {

CopyResult outcome(CopyProblem problem, int errorNumber = 0);
/// A failure of the output side, told by its errno.
CopyResult outputFailure(int error);

/// Fills the opened target with the source: content, permission bits and times, then the
/// check that the source stayed as it was opened. The copy is complete and checked when this
/// answers None. madeWithSourceBits: the target was made with the source's permission bits.
CopyResult fillCopy(const SourceFile &source, int target, const CopyHooks &hooks,
                    bool madeWithSourceBits);

/// This process's folder of descriptors in /proc, opened once: a copy is named through it
/// with one name looked up rather than four. -1 where there is no /proc (a chroot without it).
int procFdFolder();
/// Gives a name in a folder to the file open as descriptor fd through its magic link in
/// /proc: a name that exists is never replaced (EEXIST).
int linkDescriptor(int procFolder, int fd, int folder, const char *name);
/// Errors that tell a route to a name is not there on this file system, rather than that
/// something went wrong.
bool routeRefused(int error);
/// The route after the given one, in the order they are tried.
NamingRoute nextRoute(NamingRoute route);

} // namespace plenvoy::copying
