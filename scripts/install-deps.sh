#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the program and the tests need and
# the machine lacks. Safe to run again: it installs nothing when everything is present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  fonts-liberation tzdata locales
  xvfb xauth imagemagick
  at-spi2-core python3-pyatspi dbus-x11
  util-linux clang-format
  libexiv2-dev libxcb1-dev
  desktop-file-utils appstream groff
  dpkg-dev file lintian
  zsh fish
  fuse3 libfuse3-dev exfat-fuse fusefat dosfstools exfatprogs
  e2fsprogs xfsprogs btrfs-progs
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
