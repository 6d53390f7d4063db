#!/usr/bin/env bash
# Undo of a large run against find -delete of the same number of copies: plenvoy-cli copies
# the files, then `plenvoy-cli --undo` takes the run back; another run's copies go with
# `find DIR -type f -delete`. The two take turns, each on copies just made; times are the
# medians. Everything lives on a tmpfs mounted under a temporary folder, unmounted at the end.
#   bench/batch/undomillion.sh BUILD_DIR [FILES] [ROUNDS]
set -euo pipefail
build=${1:?build folder}
files=${2:-1000000}
rounds=${3:-3}
cli=$(realpath "$build/bin/plenvoy-cli")
. "$(dirname "$0")/scratch.sh"
scratch_mount undo -t tmpfs -o size=14g,nr_inodes=0 plenvoy-bench
mkdir "$fs/src" "$fs/state"
(cd "$fs/src" && head -c $((files * 16)) /dev/urandom | split -b 16 -a 7 -d - f)
export XDG_STATE_HOME=$fs/state

seconds() { # the wall time of a command, in seconds
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null
  end=$(date +%s.%N)
  echo "$end - $start" | bc
}
copy() { mkdir "$1" && "$cli" --option 22 --quiet --out "$1" --folder "$fs/src" >/dev/null; }

undo=() finder=()
for ((round = 1; round <= rounds; round++)); do
  copy "$fs/u$round"
  undo+=("$(seconds "$cli" --undo)")
  copy "$fs/f$round"
  finder+=("$(seconds find "$fs/f$round" -type f -delete)")
  echo "round $round: undo ${undo[-1]} s, find -delete ${finder[-1]} s"
done
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
u=$(median "${undo[@]}") f=$(median "${finder[@]}")
echo "undo of $files copies: median $u s; find -delete: median $f s; ratio $(echo "scale=3; $u / $f" | bc)"
