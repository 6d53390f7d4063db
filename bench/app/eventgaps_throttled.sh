#!/usr/bin/env bash
# The longest time the window goes without processing its events while a run copies onto a
# write path throttled to 10 MB/s (a USB 2 stick, a network share): our own FUSE file system
# with write_rate, mounted under a temporary folder and unmounted at the end.
#   bench/app/eventgaps_throttled.sh BUILD_DIR [FILES] [BYTES] [RATE]
#   bench/app/eventgaps_throttled.sh build-dev 12 4194304 10000000
set -euo pipefail
build=${1:?build folder}
files=${2:-12}
bytes=${3:-4194304}
rate=${4:-10000000}
[ -e /dev/fuse ] || { echo "skipped: this machine has no /dev/fuse"; exit 0; }
work=$(mktemp -d "${TMPDIR:-/tmp}/plenvoy-gaps-XXXXXX")
cleanup() {
  fusermount3 -u "$work/mnt" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/backing" "$work/mnt"
"$build/bin/plenvoy-testfs" "$work/backing" "$work/mnt" -o "write_rate=$rate"
echo "$files files of $bytes bytes onto a write path of $rate bytes/s"
"$build/bin/bench_eventgaps" "$files" 1 "$work" "$bytes" "$work/mnt"
