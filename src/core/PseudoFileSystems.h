#pragma once

#include <sys/types.h>

namespace plenvoy {

/// True when a file system of this type (statfs's f_type) on this device is one of the
/// kernel's pseudo file systems (proc, sysfs, devtmpfs, devpts, cgroup, debugfs, ...):
/// their "files" are views of the system, and their folders play the part of the system
/// folders. devtmpfs reports itself as tmpfs; the mount table, read once, tells them apart.
bool isPseudoFileSystem(unsigned long type, dev_t device);

} // namespace plenvoy
