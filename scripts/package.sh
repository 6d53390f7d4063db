#!/usr/bin/env bash
# Builds the Debian package of Plenvoy with CPack: build-package/plenvoy_VERSION_ARCH.deb.
# Install it, as root or with sudo: apt-get install ./build-package/plenvoy_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
rm -rf build-package
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DPLENVOY_BUILD_TESTS=OFF >/dev/null
cmake --build build-package -j "$(nproc)" >/dev/null
(cd build-package && cpack -G DEB >/dev/null)
ls "$PWD"/build-package/plenvoy_*.deb
