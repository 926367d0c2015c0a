#!/usr/bin/env bash
# The Debian package as a user gets it: built with cpack from a Release build,
# checked with lintian, installed with apt-get, its desktop and AppStream files
# validated, the installed program started headless until it writes a
# signature, then the package removed again.
# Usage: tests/e2e/package.sh [BUILD_DIR]   (default build-package)
set -uo pipefail
cd "$(dirname "$0")/../.."

BUILD=${1:-build-package}
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
APT=($SUDO apt-get -q -y -o DPkg::Lock::Timeout=600)
export DEBIAN_FRONTEND=noninteractive
WORK=$(mktemp -d)
VELMO=""
INSTALLED=0
cleanup() {
    [ -n "$VELMO" ] && kill "$VELMO" 2>/dev/null && wait "$VELMO" 2>/dev/null
    [ "$INSTALLED" = 1 ] && "${APT[@]}" remove velmo >/dev/null 2>&1
    rm -rf "$WORK"
}
trap cleanup EXIT
. tests/e2e/checks.sh  # the working folder is the repository
scripts/install-deps.sh dpkg-dev file desktop-file-utils appstream lintian >/dev/null || exit 1

# The program and its icon files only; ccache when there is one.
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMO_BUILD_TESTS=OFF \
    -DVELMO_GUI=ON "${launcher[@]}" >/dev/null || exit 1
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)" || exit 1
rm -f "$BUILD"/velmo_*.deb
(cd "$BUILD" && cpack -G DEB) >"$WORK/cpack.log" 2>&1 || { cat "$WORK/cpack.log"; exit 1; }
DEB=$(ls "$BUILD"/velmo_*.deb)
echo "built $DEB"
dpkg-deb -f "$DEB" Depends | sed 's/^/    Depends: /'
dpkg-deb -f "$DEB" Recommends | sed 's/^/    Recommends: /'

check "the package depends on the Qt libraries the program links" \
    sh -c "dpkg-deb -f '$DEB' Depends | grep -q 'libqt6widgets6'"
recommends() {  # recommends PACKAGE: the package's Recommends names PACKAGE
    dpkg-deb -f "$DEB" Recommends | tr ',|' '\n\n' | sed 's/(.*//; s/ //g' | grep -qx "$1"
}
check "the package recommends fonts-liberation2" recommends fonts-liberation2
check "the package recommends fonts-comic-neue" recommends fonts-comic-neue

# Debian's own checker, its findings in the log; an error or a warning fails
# the run (the informational tags are shown but allowed). No tag is
# suppressed: lintian finds nothing above info in this package. Two info tags
# stay: binary-has-unneeded-section (cpack's strip keeps .comment) and
# package-contains-documentation-outside-usr-share-doc for the guide, which
# Help opens from share/velmo because share/doc may be left out on install.
echo "lintian $(lintian --version | sed 's/^Lintian v//'):"
lintian --display-info --tag-display-limit 0 --fail-on error,warning "$DEB" >"$WORK/lintian.log" 2>&1
lintian_status=$?
grep -v '^running with root privileges' "$WORK/lintian.log" | sed 's/^/    /'
check "lintian finds no error and no warning" test "$lintian_status" = 0

# cmake --install lays out the same files as the package: the man pages
# compressed, the copyright file beside the change log.
cmake --install "$BUILD" --prefix "$WORK/stage" >/dev/null
check "cmake --install installs the man pages compressed" sh -c \
    "gzip -t '$WORK/stage/share/man/man1/velmo.1.gz' '$WORK/stage/share/man/man1/velmo-signature.1.gz' &&
     ! ls '$WORK/stage/share/man/man1/' | grep -q '\\.1\$'"
check "cmake --install installs the copyright file" test -s "$WORK/stage/share/doc/velmo/copyright"

"${APT[@]}" install "$(realpath "$DEB")" >"$WORK/apt.log" 2>&1 && INSTALLED=1
check "apt-get installs the package" test "$INSTALLED" = 1
[ "$INSTALLED" = 1 ] || { tail -20 "$WORK/apt.log"; exit 1; }

check "the program is in /usr/bin" test -x /usr/bin/velmo
check "desktop-file-validate accepts the menu entry" \
    desktop-file-validate /usr/share/applications/velmo.desktop
check "appstreamcli accepts the metainfo" \
    appstreamcli validate --no-net /usr/share/metainfo/org.example.velmo.metainfo.xml
for page in velmo velmo-signature; do
    check "the man page $page(1) is installed compressed" sh -c \
        "gzip -t /usr/share/man/man1/$page.1.gz && test ! -e /usr/share/man/man1/$page.1 &&
         zcat /usr/share/man/man1/$page.1.gz | grep -qi '^\\.TH $page 1'"
done
check "the copyright file is in Debian's machine-readable form" sh -c \
    "head -1 /usr/share/doc/velmo/copyright |
     grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' &&
     grep -q '^Copyright: 2026 Velmo Software' /usr/share/doc/velmo/copyright"
check "the change log is installed compressed" gzip -t /usr/share/doc/velmo/changelog.gz
check "the mail-client guide is installed as a page where Help looks" \
    grep -q '<title>Velmo with your mail program</title>' /usr/share/velmo/mail-clients.html
for size in 16 22 24 32 48 64 128 256; do
    check "a ${size}x$size icon in the hicolor theme" sh -c \
        "file /usr/share/icons/hicolor/${size}x$size/apps/velmo.png | grep -q 'PNG image data, $size x $size'"
done
check "the scalable icon is SVG" sh -c \
    "head -c 300 /usr/share/icons/hicolor/scalable/apps/velmo.svg | grep -q '<svg'"
check "velmo --version names the version" sh -c "[ \"\$(/usr/bin/velmo --version)\" = 'velmo 1.0.0' ]"

# The installed program, headless, for a fresh user who is not root (root
# could write to /usr/bin): its own folder is not writable, so the first start
# puts the sample quote list in the user's data folder.
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run" QT_QPA_PLATFORM=offscreen
unset XDG_CONFIG_HOME XDG_DATA_HOME DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
AS_USER=()
if [ "$(id -u)" -eq 0 ]; then
    chmod 755 "$WORK"
    chown -R 65534:65534 "$HOME" "$XDG_RUNTIME_DIR"
    AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
start() {
    timeout 60 "${AS_USER[@]}" /usr/bin/velmo >>"$WORK/velmo.log" 2>&1 &
    VELMO=$!
}
stop() {
    kill "$VELMO" 2>/dev/null
    wait "$VELMO"
    local status=$?
    VELMO=""
    [ "$status" -eq 0 ] || echo "    velmo ended with status $status"
    return $status
}
start
check "the first start writes the settings file" \
    wait_for 30 test -s "$HOME/.config/Velmo/User.reg"
check "the first start puts the sample quote list in the data folder" \
    wait_for 10 test -s "$HOME/.local/share/Velmo/Variable.txt"
check "SIGTERM ends the program cleanly" stop

# Again with the signature written to a file, from the sample list.
SIG="$HOME/signature.txt"
{
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
    printf '"Program Values"=" 5 0 1 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1"\r\n'
    printf '"Signature File"="%s"\r\n"Variable File"=""\r\n"Fixed text File"=""\r\n' "$SIG"
} >"$HOME/.config/Velmo/User.reg"
[ "$(id -u)" -eq 0 ] && chown 65534:65534 "$HOME/.config/Velmo/User.reg"
start
check "the installed program writes a signature" wait_for 30 test -s "$SIG"
check "the program is still running" kill -0 "$VELMO"
check "SIGTERM ends the program cleanly" stop
[ "$FAIL" -gt 0 ] && sed 's/^/    | /' "$WORK/velmo.log" | tail -10

"${APT[@]}" remove velmo >"$WORK/apt.log" 2>&1 && INSTALLED=0
check "apt-get removes the package" test "$INSTALLED" = 0
check "the program is gone from /usr/bin" test ! -e /usr/bin/velmo
check "the menu entry is gone" test ! -e /usr/share/applications/velmo.desktop
check "the man pages are gone" test ! -e /usr/share/man/man1/velmo.1.gz

echo "package: $PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
