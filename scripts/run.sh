#!/usr/bin/env bash
# Installs what is missing, builds Plenvoy and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLENVOY_BUILD_TESTS=OFF >/dev/null
cmake --build build --target plenvoy plenvoy-cli plenvoy_assets
exec build/bin/plenvoy "$@"
