#!/usr/bin/env bash
# Installs what is missing, builds Velmo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_BUILD_TESTS=OFF
cmake --build build --target velmo
exec build/velmo "$@"
