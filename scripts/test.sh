#!/usr/bin/env bash
# Builds Velmo and runs the whole test suite: the unit and widget tests with
# warnings as errors, the end-to-end test on a virtual display, the core's
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# Windows programs built and tested under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh xvfb xdotool xclip x11-utils imagemagick trayer locales libc-l10n \
    dpkg-dev file desktop-file-utils appstream unicode-data
# The bad-input run starts Velmo in German, whose system messages differ.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$'; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
jobs=$(nproc 2>/dev/null || echo 2)

if command -v clang-format >/dev/null && [ -d .git ]; then
    echo "== formatting =="
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
fi

echo "== layers =="
scripts/check_layers.sh

echo "== build and test =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_BUILD_TESTS=ON \
    -DCMAKE_CXX_FLAGS="-Werror"
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== end to end, on a real display =="
tests/e2e/run_e2e.sh build build/e2e-shots

echo "== end to end, the window edited as a user edits it =="
scripts/install-deps.sh faketime
tests/e2e/editing.sh build build/editing-shots

echo "== end to end, on a StatusNotifier desktop and under Wayland =="
scripts/install-deps.sh haskell-status-notifier-item-utils haskell-gtk-sni-tray-utils dbus-daemon \
    dbus-bin libglib2.0-bin weston qt6-wayland
tests/e2e/sni.sh build build/sni-shots

echo "== end to end, on an Xfce panel with a task list =="
scripts/install-deps.sh xfce4-panel xfconf xfwm4 openbox dbus-daemon libglib2.0-bin
tests/e2e/xfce_panel.sh build build/xfce-shots

echo "== end to end, the signature handed to a clipboard manager at every way out =="
scripts/install-deps.sh mate-settings-daemon dbus-daemon python3
tests/e2e/clipboard_manager.sh build

echo "== the real program fed bad input =="
tests/e2e/bad_input.sh build

echo "== where the user's files are kept, and folder names that are not UTF-8 =="
tests/e2e/folders.sh build

echo "== the text files changed by another program while the window runs =="
tests/e2e/outside_edits.sh build build/outside-shots

echo "== profiles: the default one left as it was, bad names refused, two side by side =="
scripts/install-deps.sh faketime openbox
tests/e2e/profiles.sh build build/profile-shots

echo "== two users: what one plants in shared places, the other's Velmo refuses =="
tests/e2e/two_users.sh build

echo "== mutt, sending with velmo-signature and the signature file =="
scripts/install-deps.sh mutt python3
tests/e2e/mutt.sh build

echo "== velmo-signature --list on Debian's fortune files =="
scripts/install-deps.sh fortunes-min
tests/e2e/fortune_list.sh build

echo "== no repeats until all are used: one round for runs one after another and at once =="
tests/e2e/no_repeats.sh build

echo "== the Debian package, installed, run and removed =="
tests/e2e/package.sh build-package

echo "== sanitizers (address, undefined) =="
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMO_BUILD_TESTS=ON \
    -DVELMO_SANITIZE=ON -DVELMO_GUI=OFF
cmake --build build-sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

# A short run of every fuzz target from its seeds (VELMO_SKIP_FUZZ=1 leaves it
# out; FUZZ_SECONDS sets the time per target).
if [ "${VELMO_SKIP_FUZZ:-0}" != 1 ]; then
    echo "== fuzz targets, a short run =="
    FUZZ_SECONDS=${FUZZ_SECONDS:-20} FUZZ_JOBS=${FUZZ_JOBS:-$jobs} scripts/fuzz.sh
fi

# The Windows programs under Wine, after the Linux tests: the core's and the
# window's tests, velmo.exe end to end, and the installer
# (VELMO_SKIP_WINDOWS=1 leaves them out of a quick local run).
if [ "${VELMO_SKIP_WINDOWS:-0}" != 1 ]; then
    echo "== Windows programs under Wine =="
    scripts/test-windows.sh
fi
