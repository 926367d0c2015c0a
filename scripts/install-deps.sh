#!/usr/bin/env bash
# Installs the Debian 12 packages Velmo needs to build and test, if missing.
set -euo pipefail

packages=(cmake g++ ninja-build libgtest-dev qt6-base-dev qt6-svg-dev cmark-gfm fonts-liberation2 fonts-comic-neue "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
    # A Debian installed with a root password has no sudo: say what to run instead.
    if ! command -v sudo >/dev/null; then
        echo "Missing packages: ${missing[*]}. Run as root: apt-get install ${missing[*]}" >&2
        exit 1
    fi
    SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
APT=("${SUDO[@]}" apt-get -q -y -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
"${APT[@]}" update
"${APT[@]}" install --no-install-recommends "${missing[@]}"
