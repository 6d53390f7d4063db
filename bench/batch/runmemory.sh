#!/usr/bin/env bash
# Peak resident memory of a run over many small files, from /usr/bin/time -v: plenvoy-cli
# --out, its undo, and cp -p -r of the same files; then the window's run (bench_runmemory:
# the list as the window holds it, then the run over it) against the list's own memory.
# Everything lives on a tmpfs mounted under a temporary folder, unmounted at the end.
#   bench/batch/runmemory.sh BUILD_DIR [FILES] [BYTES]
#   bench/batch/runmemory.sh build-dev 1000000 16
set -euo pipefail
build=${1:?build folder}
files=${2:-1000000}
bytes=${3:-16}
. "$(dirname "$0")/scratch.sh"
scratch_mount memory -t tmpfs -o size=10g,nr_inodes=0 plenvoy-bench
mkdir "$fs/src" "$fs/state"
# One folder of small files, made at once by split.
(cd "$fs/src" && head -c $((files * bytes)) /dev/urandom | split -b "$bytes" -a 7 -d - f)
echo "$(ls -f "$fs/src" | wc -l) entries of $bytes bytes in $fs/src"

peak() { # the peak resident memory of a command, in MiB
  /usr/bin/time -v "$@" 2>"$work/time.txt" >/dev/null || true
  awk '/Maximum resident set size/ { printf "%.1f", $6 / 1024 }' "$work/time.txt"
}
export XDG_STATE_HOME=$fs/state
mkdir -p "$fs/out"
cli=$(peak "$build/bin/plenvoy-cli" --option "" --quiet --out "$fs/out" --folder "$fs/src")
copies=$(ls -f "$fs/out" | wc -l)
undo=$(peak "$build/bin/plenvoy-cli" --undo)
left=$(ls -f "$fs/out" | wc -l)
cp=$(peak cp -p -r "$fs/src" "$fs/cp")
echo "plenvoy-cli --out: $cli MiB ($((copies - 2)) copies; goal <= 150)"
echo "plenvoy-cli --undo: $undo MiB ($((left - 2)) copies left)"
echo "cp -p -r: $cp MiB"
# Each small file takes a page of the tmpfs: only the sources stay.
rm -rf "$fs/cp" "$fs/state"/*
mkdir "$fs/out2"
/usr/bin/time -v "$build/bin/bench_runmemory" "$fs/src" "$fs/out2" 2>"$work/time.txt"
awk '/Maximum resident set size/ { printf "bench_runmemory under time -v: %.1f MiB\n", $6 / 1024 }' \
  "$work/time.txt"
