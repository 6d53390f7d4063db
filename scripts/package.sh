#!/usr/bin/env bash
# Builds the Debian package of Plenvoy with CPack: build-package/plenvoy_VERSION_ARCH.deb.
# Install it with: sudo apt-get install ./build-package/plenvoy_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# dpkg-shlibdeps computes the package's Depends from the programs' libraries.
if ! command -v dpkg-shlibdeps >/dev/null || ! command -v fakeroot >/dev/null; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get install -y -qq --no-install-recommends dpkg-dev fakeroot
fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DPLENVOY_BUILD_TESTS=OFF >/dev/null
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB)
ls -l build-package/plenvoy_*.deb
