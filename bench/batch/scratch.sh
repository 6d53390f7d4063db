# Sourced by the benchmark scripts: a file system of the benchmark's own, mounted at
# $work/fs in a new temporary folder and unmounted, with the folder, when the script ends.
#   scratch_mount NAME MOUNT_ARGUMENTS...    e.g. scratch_mount undo -t tmpfs -o size=14g x
# Sets work (the temporary folder) and fs (the mount point).
scratch_unmount() {
  # The files of a process that just ended may keep the mount busy for a moment.
  for _ in 1 2 3 4 5; do
    mountpoint -q "$fs" || break
    umount "$fs" 2>/dev/null || sleep 1
  done
  mountpoint -q "$fs" || rm -rf "$work"
}

scratch_mount() {
  local name=$1
  shift
  work=$(mktemp -d "${TMPDIR:-/tmp}/plenvoy-$name-XXXXXX")
  fs=$work/fs
  mkdir "$fs"
  trap scratch_unmount EXIT
  mount "$@" "$fs"
}
