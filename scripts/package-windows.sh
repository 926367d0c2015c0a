#!/usr/bin/env bash
# Builds Velmo for Windows on Debian and makes its two packages:
#   scripts/package-windows.sh [BUILD_FOLDER]     (default build-win)
# gives BUILD_FOLDER/Velmo-<version>-setup.exe (a per-user installer made by
# NSIS) and BUILD_FOLDER/Velmo-<version>-windows.zip, each with velmo.exe,
# velmo-signature.exe and the mail-client guide.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build-win}

scripts/install-deps.sh g++-mingw-w64-x86-64-posix nsis wine wine64

# A folder configured before keeps its options (the test build's among them),
# and is configured again: a tool installed since, such as makensis just now,
# is found only then.
if [ ! -f "$BUILD/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DCMAKE_BUILD_TYPE=Release
else
    cmake -S . -B "$BUILD" >/dev/null
fi

# A build that draws the installer's icon runs a program of its own under
# Wine: in the caller's prefix when one is given (booted), else in one of our
# own, booted here with its output on /dev/null, as Wine's helper processes
# would otherwise hold the build's pipe open.
if grep -q 'make_icon\.exe' "$BUILD/build.ninja" && [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$(cd "$BUILD" && pwd)/wineprefix-package"
    export WINEDEBUG=-all,err+module WINEDLLOVERRIDES="mscoree=d;mshtml=d"
    trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1
    timeout 300 wine wineboot --init </dev/null >/dev/null 2>&1
fi

cmake --build "$BUILD" --target velmo_packages -j 2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
echo "Made $BUILD/Velmo-$version-setup.exe and $BUILD/Velmo-$version-windows.zip"
