#!/usr/bin/env bash
# Builds the core and its tests for Windows with mingw-w64 and runs them under
# Wine, in a private prefix booted outside the test runner.
set -euo pipefail
cd "$(dirname "$0")/.."
t0=$SECONDS
phase() { echo "== [$((SECONDS - t0)) s] $*"; }

phase "packages: mingw-w64 (posix threads), Wine"
scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine wine64

phase "configure and build"
BUILD=build-win
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS="-Werror"
cmake --build "$BUILD" -j "$(nproc 2>/dev/null || echo 2)"

phase "Wine prefix"
export WINEPREFIX="$PWD/$BUILD/wineprefix"
export WINEDEBUG=-all,err+module
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
unset DISPLAY WAYLAND_DISPLAY
# Our own prefix's server and its helpers go whatever happens next.
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
# A new prefix each run: the null driver below must be set before any window
# is made in it, and the end-to-end run at the end sets it back.
wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# Booted here with its output on /dev/null: Wine's helper processes would
# otherwise hold the test runner's pipe open.
wineserver -p </dev/null >/dev/null 2>"$BUILD/wineserver.err" || { cat "$BUILD/wineserver.err"; exit 1; }
timeout 300 wine wineboot --init </dev/null >/dev/null 2>"$BUILD/wineboot.err" || { cat "$BUILD/wineboot.err"; exit 1; }
# Windows made by the tests need no display: Wine's null graphics driver, set
# before any program of this prefix makes a window.
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
# The server keeps the desktop wineboot made without a driver, which makes
# every later program that draws wait 10 s: a new server, and one program
# (its output on /dev/null, so that Wine's helpers hold no test runner's
# pipe) to start the new desktop.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1
timeout 60 wine cmd /c exit </dev/null >/dev/null 2>&1 || true

phase "tests under Wine"
# A test is run again once when it fails: under load Wine now and then ends
# a program as it starts, before the test has run at all.
timeout 900 ctest --test-dir "$BUILD" --output-on-failure --timeout 120 -j2 --repeat until-pass:2

phase "velmo-signature.exe: what it prints is the signature file's bytes"
# Standard output in text mode would turn each CR LF of a signature into
# CR CR LF. The program in a folder of its own, which is then its data folder
# (Fixed.fxt, Variable.txt); the text files in the ANSI code page (1252).
. tests/e2e/checks.sh
SIG="$PWD/$BUILD/signature-check"
rm -rf "$SIG" && mkdir -p "$SIG"
cp "$BUILD/velmo-signature.exe" "$SIG/"
printf '"Anna M\xfcller"\r\n"Example Ltd."\r\n' >"$SIG/Fixed.fxt"
printf '"Gr\xfc\xdfe \x97 the first quotation"\r\n"The second one"\r\n' >"$SIG/Variable.txt"
KEY='HKCU\SOFTWARE\Velmo\User\Freeware'
WINSIG="Z:${SIG//\//\\}"
wine reg delete 'HKCU\SOFTWARE\Velmo' /f </dev/null >/dev/null 2>&1 || true
wine reg add "$KEY" /v "Fixed width" /d 60 /f </dev/null >/dev/null
# same_bytes FORM NUMBER: with FORM (its number in "Program Values") chosen,
# `--format FORM` prints the bytes `--write` puts in the signature file.
same_bytes() {
    wine reg add "$KEY" /v "Program Values" /d " 5 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 $2" /f \
        </dev/null >/dev/null &&
        wine reg add "$KEY" /v "Signature File" /d "$WINSIG\\signature.$1" /f </dev/null >/dev/null &&
        wine "$SIG/velmo-signature.exe" --format "$1" --entry 1 </dev/null >"$SIG/printed.$1" &&
        wine "$SIG/velmo-signature.exe" --write --entry 1 </dev/null &&
        grep -q 'first quotation' "$SIG/signature.$1" &&
        grep -q $'\r$' "$SIG/signature.$1" &&
        cmp "$SIG/printed.$1" "$SIG/signature.$1"
}
check "velmo-signature.exe --format text: the bytes of the file --write makes" same_bytes text 1
check "velmo-signature.exe --format html: the bytes of the file --write makes" same_bytes html 2
check "velmo-signature.exe --format rtf: the bytes of the file --write makes" same_bytes rtf 3
# signature_is BYTES: the text form's file, whole (printf's escapes).
signature_is() { cmp "$SIG/signature.text" <(printf "$1"); }
check "  ... the text form in code page 1252, as it holds the text" signature_is \
    'Anna M\xfcller\r\nExample Ltd.\r\nGr\xfc\xdfe \x97 the first quotation\r\n\r\n\r\n'
# Characters code page 1252 lacks: a Japanese fixed text and quotation with
# an emoji, in UTF-8 files with a byte-order mark. The text form is UTF-8 with
# the mark, HTML numeric references, RTF \uN (the emoji as its two halves).
printf '\xef\xbb\xbf"\xe6\x97\xa5\xe6\x9c\xac \xe2\x98\x85"\r\n' >"$SIG/Fixed.fxt"
printf '\xef\xbb\xbf"\xe4\xb8\x80\xe6\x9c\x9f \xf0\x9f\x98\x80 the first quotation"\r\n' \
    >"$SIG/Variable.txt"
holds() { LC_ALL=C grep -qF -- "$2" "$SIG/signature.$1"; }
check "velmo-signature.exe --format text: Japanese and an emoji, as --write makes them" \
    same_bytes text 1
check "  ... in UTF-8 with a byte-order mark, every character kept" signature_is \
    '\xef\xbb\xbf\xe6\x97\xa5\xe6\x9c\xac \xe2\x98\x85\r\n\xe4\xb8\x80\xe6\x9c\x9f \xf0\x9f\x98\x80 the first quotation\r\n\r\n\r\n'
check "velmo-signature.exe --format html: Japanese and an emoji" same_bytes html 2
check "  ... as numeric references" holds html '&#26085;&#26412; &#9733;<br>'
check "  ... the emoji as one" holds html '&#19968;&#26399; &#128512; the'
check "velmo-signature.exe --format rtf: Japanese and an emoji" same_bytes rtf 3
check "  ... as \\uN" holds rtf '\u26085?\u26412? \u9733?\par'
check "  ... the emoji as its two halves" holds rtf '\u19968?\u26399? \u-10179?\u-8704? the'
# Profiles: a named one's options in a key of its own and its texts in
# Profiles\NAME\ beside the default's; each prints its own signature.
WORKKEY='HKCU\SOFTWARE\Velmo\Profiles\work\User\Freeware'
mkdir -p "$SIG/Profiles/work"
printf '"Anna at work"\r\n' >"$SIG/Profiles/work/Fixed.fxt"
printf '"The work quotation"\r\n' >"$SIG/Profiles/work/Variable.txt"
wine reg add "$WORKKEY" /v "Fixed width" /d 60 /f </dev/null >/dev/null
wine reg add "$WORKKEY" /v "Program Values" /d " 5 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1" /f \
    </dev/null >/dev/null
wine reg add "$WORKKEY" /v "Signature File" /d "$WINSIG\\work.txt" /f </dev/null >/dev/null
signature() { wine "$SIG/velmo-signature.exe" --format text --entry 1 "$@" </dev/null; }
prints() { signature "${@:2}" | grep -qF -- "$1"; }  # prints TEXT ARGS...
lacks() { ! prints "$@"; }
check "velmo-signature.exe --profile work: the profile's fixed text" prints "Anna at work" \
    --profile work
check "  ... and its quotation" prints "The work quotation" --profile=work
check "  ... none of the default profile's" lacks "the first quotation" --profile work
check "velmo-signature.exe: the default profile's own still" prints "the first quotation"
check "  ... none of the work profile's" lacks "Anna at work"
write_work() {
    wine "$SIG/velmo-signature.exe" --profile work --write --entry 1 </dev/null &&
        grep -q "The work quotation" "$SIG/work.txt"
}
check "velmo-signature.exe --profile work --write: the profile's own signature file" write_work
# "No repeats until all are used": six runs over three quotations, each once
# a round and none twice in a row, the round kept in the local application
# data folder, the profile's own.
printf '"Work one"\r\n"Work two"\r\n"Work three"\r\n' >"$SIG/Profiles/work/Variable.txt"
wine reg add "$WORKKEY" /v "No Repeats" /d 1 /f </dev/null >/dev/null
LOCALDATA=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% </dev/null | tr -d '\r')" 2>/dev/null)
rm -f "$LOCALDATA/Velmo/Profiles/work/picks"
no_repeats() {
    local picks=()
    for _ in 1 2 3 4 5 6; do
        picks+=("$(wine "$SIG/velmo-signature.exe" --profile work </dev/null | grep -o 'Work [a-z]*')")
    done
    echo "    picks: ${picks[*]}"
    [ "$(printf '%s\n' "${picks[@]:0:3}" | sort -u | grep -c Work)" = 3 ] &&
        [ "$(printf '%s\n' "${picks[@]:3:3}" | sort -u | grep -c Work)" = 3 ] &&
        [ "${picks[2]}" != "${picks[3]}" ]
}
check "velmo-signature.exe, no repeats: each of three once a round, none twice in a row" no_repeats
check "  ... the round in %LOCALAPPDATA%\\Velmo\\Profiles\\work\\picks" \
    test -f "$LOCALDATA/Velmo/Profiles/work/picks"
# A key without User below it, or with no profile's name, is no profile.
wine reg add 'HKCU\SOFTWARE\Velmo\Profiles\empty' /f </dev/null >/dev/null
wine reg add 'HKCU\SOFTWARE\Velmo\Profiles\Alpha\User' /f </dev/null >/dev/null
wine reg add 'HKCU\SOFTWARE\Velmo\Profiles\no way\User' /f </dev/null >/dev/null
listed() {
    [ "$(wine "$SIG/velmo-signature.exe" --list-profiles </dev/null | tr -d '\r')" = "Alpha
work" ]
}
check "velmo-signature.exe --list-profiles: the profiles with settings, in order" listed
# refused PROGRAM: a name that is no profile name is refused with status 2 and
# one line, and nothing is made for it.
refused() {
    local status=0
    wine "$SIG/$1" --profile '..\x' </dev/null >/dev/null 2>"$SIG/refusal" || status=$?
    [ "$status" -eq 2 ] && [ "$(wc -l <"$SIG/refusal")" -eq 1 ] &&
        grep -q "invalid profile name" "$SIG/refusal" && [ ! -e "$SIG/x" ] &&
        ! wine reg query 'HKCU\SOFTWARE\Velmo\Profiles\..\x' </dev/null >/dev/null 2>&1
}
cp "$BUILD/velmo.exe" "$SIG/"
check "velmo-signature.exe --profile ..\\x: refused" refused velmo-signature.exe
check "velmo.exe --profile ..\\x: refused" refused velmo.exe
[ "$FAIL" -eq 0 ] || exit 1

phase "the installer and the zip: made, installed silently, started, uninstalled silently"
tests/e2e/windows_installer.sh "$BUILD" || exit 1

phase "velmo.exe end to end, on a virtual display with a notification area"
scripts/install-deps.sh xvfb trayer xdotool xclip x11-utils imagemagick procps
tests/e2e/windows.sh "$BUILD" "$BUILD/windows-shots" || exit 1
phase "done"
