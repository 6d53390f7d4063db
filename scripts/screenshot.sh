#!/usr/bin/env bash
# Makes the README's screenshot: the window with the samples listed and their new names, on a
# virtual screen.
#   scripts/screenshot.sh [OUTPUT.png]   (default: docs/screenshot.png)
#   PLENVOY_BUILD=DIR picks the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
mkdir -p "$(dirname "$out")"
build=${PLENVOY_BUILD:-build}
cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target plenvoy plenvoy_assets >/dev/null

work=$(mktemp -d /tmp/plenvoy-demo.XXXX)
trap 'kill "$app" "$xvfb" 2>/dev/null || true; rm -rf "$work"' EXIT
# A free display number, a screen just larger than the window.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 560x420x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
sleep 1
mkdir -p "$work/runtime" "$work/config" "$work/Desktop" "$work/Stamped"
cp -r "$build/bin/Samples" "$work/Pictures"
# An option chosen, a second "Notes.txt" in a sub-folder and an output folder that already
# holds the picture's new name: the "New Name" column shows stamps, a numbered name and a
# replacement.
printf '[Plenvoy]\nCombo1=22\nText1=%s/Stamped\n' "$work" >"$work/config/Marnoval.ini"
mkdir "$work/Pictures/Trip"
cp "$work/Pictures/Notes.txt" "$work/Pictures/Trip/Notes.txt"
taken=$("$build/bin/plenvoy-cli" --option 22 --dry-run "$work/Pictures/Harbour.png")
touch "$work/Stamped/$(basename "$taken")"
chmod 700 "$work/runtime"
# The samples are given on the command line, as a file manager would give them.
DISPLAY=":$display" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
  HOME="$work" QT_QPA_PLATFORM=xcb "$build/bin/plenvoy" "$work/Pictures" &
app=$!
sleep 3
DISPLAY=":$display" import -window root "$out"
echo "wrote $out"
