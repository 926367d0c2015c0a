#!/usr/bin/env bash
# Installs what is missing, builds Velmo and velmo-signature, says where they
# are, and starts Velmo.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_BUILD_TESTS=OFF
cmake --build build --target velmo velmo-signature
bin=$(pwd -P)/build
cat <<END

Built: $bin/velmo (the tray program) and
       $bin/velmo-signature (the signature command for mail programs).
To run them by name, put the folder on your PATH, for instance in ~/.profile:
    export PATH="$bin:\$PATH"
or install both, with the menu entry and the guide:
    cmake --install build --prefix ~/.local
(Debian's ~/.profile puts ~/.local/bin on PATH at the next login once it exists.)
Starting Velmo now.
END
exec build/velmo "$@"
