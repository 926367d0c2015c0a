#!/usr/bin/env bash
# Installs the Debian 12 packages Velmo needs to build and test, if missing.
set -euo pipefail

packages=(cmake g++ ninja-build libgtest-dev qt6-base-dev qt6-svg-dev fonts-liberation2 fonts-comic-neue "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
APT=($SUDO apt-get -q -y -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
"${APT[@]}" update
"${APT[@]}" install --no-install-recommends "${missing[@]}"
