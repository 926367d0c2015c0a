#!/bin/sh
# Builds the record program against a Velmo source tree and writes its record.
#   tools/record/run.sh <VELMO_SRC> <OUTPUT.txt> [BUILD_DIR]
# BUILD_DIR defaults to a folder under $TMPDIR named for the source folder.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$1" && pwd)
out=$2
build=${3:-${TMPDIR:-/tmp}/velmo-record-$(basename "$src")}
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMO_SRC="$src" >/dev/null
cmake --build "$build" -j2 --target record
"$build/record" --names "$here/names.map" -o "$out"
echo "record of $src: $out ($(wc -c <"$out") bytes)"
