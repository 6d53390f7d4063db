#!/usr/bin/env bash
# Makes the Debian package from a finished build and checks it as Debian would: lintian on
# the package, the AppStream and desktop-entry validators on the files it installs.
# Usage: scripts/check-package.sh BUILD_DIR   (the build must be configured with the /usr prefix)
set -euo pipefail
build=$(cd "$1" && pwd)

if ! command -v dpkg-deb >/dev/null; then
  echo "check-package: SKIPPED, dpkg-deb is missing: the package was neither made nor checked" >&2
  exit 0
fi
(cd "$build" && rm -f plenvoy_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$build"/plenvoy_*.deb)
echo "package: $deb"

failures=0
lintian --allow-root --fail-on error,warning --info "$deb" || failures=$((failures + 1))

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
appstreamcli validate --pedantic --no-net \
  "$unpacked/usr/share/metainfo/org.plenvoy.Plenvoy.metainfo.xml" || failures=$((failures + 1))
out=$(desktop-file-validate "$unpacked/usr/share/applications/org.plenvoy.Plenvoy.desktop" 2>&1) ||
  true
if [ -n "$out" ]; then
  echo "desktop-file-validate: $out"
  failures=$((failures + 1))
fi

if [ "$failures" -ne 0 ]; then
  echo "check-package: $failures check(s) failed" >&2
  exit 1
fi
echo "check-package: lintian, appstreamcli and desktop-file-validate pass"
