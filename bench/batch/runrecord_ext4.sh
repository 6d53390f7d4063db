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
image=$(mktemp "${TMPDIR:-/tmp}/plenvoy-ext4-XXXXXX.img")
trap 'rm -f "$image"' EXIT
truncate -s "${mib}M" "$image"
mkfs.ext4 -q -F -i 4096 "$image"
. "$(dirname "$0")/scratch.sh"
scratch_mount ext4 -o loop "$image"
rm -f "$image" # the loop device keeps it while mounted
echo "ext4 on a loop device ($mib MiB image)"
"$build/bin/bench_runrecord" "$rounds" "$fs" "$files" "$bytes"
