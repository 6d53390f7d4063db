#!/bin/sh
# Runs atspi_window.py in a session bus of its own; the script starts its own X server.
#   atspi_window.sh PLENVOY [SCREENSHOT_FOLDER]
# Exits 77 (skipped) when a tool it needs is missing; scripts/install-deps.sh installs them.
here=$(dirname "$0")
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is missing (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
if ! /usr/bin/python3 -c 'import pyatspi' 2>/dev/null; then
  echo "SKIP: python3-pyatspi is missing (scripts/install-deps.sh installs it)"
  exit 77
fi
exec dbus-run-session -- /usr/bin/python3 "$here/atspi_window.py" "$@"
