#!/usr/bin/env bash
# bench_runrecord on a fresh ext4 file system: an image file in a temporary folder,
# formatted with mkfs.ext4 and mounted through a loop device, unmounted at the end.
#   bench/batch/runrecord_ext4.sh BUILD_DIR [ROUNDS] [FILES] [BYTES] [IMAGE_MIB]
#   bench/batch/runrecord_ext4.sh build-dev 15 10000 4096 3072
# Every run is kept until the end: the image holds ROUNDS x 2 x FILES copies.
set -euo pipefail
build=${1:?build folder}
rounds=${2:-15}
files=${3:-10000}
bytes=${4:-4096}
mib=${5:-2048}
work=$(mktemp -d "${TMPDIR:-/tmp}/plenvoy-ext4-XXXXXX")
cleanup() {
  for _ in 1 2 3 4 5; do
    mountpoint -q "$work/mnt" || break
    umount "$work/mnt" 2>/dev/null || sleep 1
  done
  mountpoint -q "$work/mnt" || rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/mnt"
truncate -s "${mib}M" "$work/ext4.img"
mkfs.ext4 -q -F -i 4096 "$work/ext4.img"
mount -o loop "$work/ext4.img" "$work/mnt"
echo "ext4 on a loop device ($mib MiB image in $work)"
"$build/bin/bench_runrecord" "$rounds" "$work/mnt" "$files" "$bytes"
