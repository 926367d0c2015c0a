#!/usr/bin/env bash
# End-to-end test of where the real programs keep the user's text files, and of
# folder names that are not UTF-8: velmo (offscreen, no display needed) and
# velmo-signature, each a copy in a folder of its own, as a user's build is.
# Usage: tests/e2e/folders.sh [BUILD_DIR]
set -uo pipefail

BUILD=$(realpath "${1:-build}")
WORK=$(mktemp -d)
export QT_QPA_PLATFORM=offscreen
unset XDG_CONFIG_HOME XDG_DATA_HOME DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
VELMO=""
cleanup() {
    [ -n "$VELMO" ] && kill "$VELMO" 2>/dev/null && wait "$VELMO" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
. "$(dirname "$0")/checks.sh"

# user HOME: a fresh user with that home folder.
user() {
    export HOME="$1" XDG_RUNTIME_DIR="$1/run"
    DATA="$HOME/.local/share/Velmo" REG="$HOME/.config/Velmo/User.reg"
    mkdir -p "$HOME/.config/Velmo" && mkdir -m 700 "$XDG_RUNTIME_DIR"
}
# settings SIGNATURE [QUOTES]: plain layout, fixed and variable part, to a file.
settings() {
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
        printf '"Program Values"=" 5 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1"\r\n"Fixed width"="60"\r\n'
        printf '"Signature File"="%s"\r\n"Variable File"="%s"\r\n' "$1" "${2:-}"
    } >"$REG"
}
# program FOLDER NAME: a copy of the built program in FOLDER.
program() { mkdir -p "$1" && cp "$BUILD/$2" "$1/$2"; }
start() {
    timeout 60 "$1" >>"$WORK/velmo.log" 2>&1 &
    VELMO=$!
}
stop() {
    kill "$VELMO" 2>/dev/null
    wait "$VELMO" 2>/dev/null
    VELMO=""
}
has() { grep -q -- "$2" "$1" 2>/dev/null; }
no_replacement_names() { ! find "$WORK" -name $'*\xef\xbf\xbd*' | grep -q .; }

# --- a newcomer runs the program from a build folder --------------------------------------------
user "$WORK/newcomer"
program "$WORK/newcomer/build" velmo
start "$WORK/newcomer/build/velmo"
check "first start: the settings file is written" wait_for 30 test -s "$REG"
check "first start: the sample quote list is in the data folder" wait_for 10 test -s "$DATA/Variable.txt"
stop
check "first start: nothing of the user's beside the program" \
    test "$(ls "$WORK/newcomer/build")" = velmo

# --- files an earlier version kept beside the program -------------------------------------------
user "$WORK/earlier"
OLD="$WORK/earlier/build"
program "$OLD" velmo-signature
program "$OLD" velmo
printf '"Ann Example"\r\n' >"$OLD/Fixed.fxt"
printf '"The old quotation"\r\n' >"$OLD/Variable.txt"
cp "$OLD/Fixed.fxt" "$OLD/Variable.txt" "$WORK/"
# As a save left them: the list's full path beside the program.
settings "$WORK/earlier/sig.txt" "$OLD/Variable.txt"
"$OLD/velmo-signature" >"$WORK/out" 2>"$WORK/err"
check "printing: the signature has the fixed text and the quotation" \
    sh -c "grep -q 'Ann Example' '$WORK/out' && grep -q 'The old quotation' '$WORK/out'"
check "printing: no data folder is made and nothing said" \
    sh -c "test ! -e '$DATA' && test ! -s '$WORK/err'"
"$OLD/velmo-signature" --write 2>"$WORK/err"
check "copied: the signature file has the fixed text and the quotation" \
    sh -c "grep -q 'Ann Example' '$WORK/earlier/sig.txt' && grep -q 'The old quotation' '$WORK/earlier/sig.txt'"
check "copied: the data folder holds both files as they were" \
    sh -c "cmp -s '$DATA/Fixed.fxt' '$WORK/Fixed.fxt' && cmp -s '$DATA/Variable.txt' '$WORK/Variable.txt'"
check "copied: said once on standard error" has "$WORK/err" "copied there from $OLD/: Variable.txt Fixed.fxt"
check "copied: the files beside the program are left as they were" \
    sh -c "cmp -s '$OLD/Fixed.fxt' '$WORK/Fixed.fxt' && cmp -s '$OLD/Variable.txt' '$WORK/Variable.txt'"
"$OLD/velmo-signature" --write 2>"$WORK/err"
check "copied: not said again" test ! -s "$WORK/err"
# The window stores the list's new path, for every copy of Velmo.
start "$OLD/velmo"
check "copied: the window stores the list's path in the data folder" \
    wait_for 30 has "$REG" "\"Variable File\"=\"$DATA/Variable.txt\""
stop
check "copied: the window leaves the files beside the program as they were" \
    sh -c "cmp -s '$OLD/Fixed.fxt' '$WORK/Fixed.fxt' && cmp -s '$OLD/Variable.txt' '$WORK/Variable.txt'"
rm -rf "$OLD"
program "$WORK/earlier/elsewhere" velmo-signature
"$WORK/earlier/elsewhere/velmo-signature" >"$WORK/out" 2>"$WORK/err"
check "build folder removed: a program elsewhere finds the same files" \
    sh -c "grep -q 'Ann Example' '$WORK/out' && grep -q 'The old quotation' '$WORK/out'"
[ -s "$WORK/err" ] && sed 's/^/    | /' "$WORK/err"

# --- a home folder whose name is not UTF-8 ------------------------------------------------------
user "$WORK/r"$'\xe9n\xe9'"e"
program "$WORK/bin" velmo-signature
mkdir -p "$DATA" && printf '"Ann Example"\r\n' >"$DATA/Fixed.fxt"
printf '"A quotation"\r\n' >"$DATA/Variable.txt"
settings "sig.txt"
"$WORK/bin/velmo-signature" --write 2>"$WORK/err"
check "home not UTF-8: the command reads the settings and writes the signature there" \
    has "$HOME/sig.txt" "Ann Example"
[ -s "$WORK/err" ] && sed 's/^/    | /' "$WORK/err"
check "home not UTF-8: no second tree under another name" no_replacement_names

# The window in such a home, started where an earlier version left the list:
# the list's new path is stored with its bytes, and the command reads it.
user "$WORK/caf"$'\xe9'"-user"
program "$WORK/bin2" velmo
printf '"The moved quotation"\r\n' >"$WORK/bin2/Variable.txt"
printf '"Ann Example"\r\n' >"$WORK/bin2/Fixed.fxt"
settings "sig.txt" "$WORK/bin2/Variable.txt"
start "$WORK/bin2/velmo"
check "home not UTF-8: the window stores the list's path with its bytes" \
    wait_for 30 has "$REG" 'caf\\xE9-user/\.local/share/Velmo/Variable\.txt'
stop
check "home not UTF-8: the list is copied into the data folder" has "$DATA/Variable.txt" "The moved quotation"
"$WORK/bin/velmo-signature" >"$WORK/out" 2>"$WORK/err"
check "home not UTF-8: the command reads the stored list" has "$WORK/out" "The moved quotation"
[ -s "$WORK/err" ] && sed 's/^/    | /' "$WORK/err"
check "home not UTF-8: still no tree under another name" no_replacement_names

# --- a signature path that is a link to the program, in a folder whose name is not UTF-8 --------
user "$WORK/linked"
CAFE="$WORK/caf"$'\xe9'
program "$CAFE" velmo-signature
mkdir -p "$DATA" && printf '"Ann Example"\r\n' >"$DATA/Fixed.fxt" && printf '"A quotation"\r\n' >"$DATA/Variable.txt"
ln -s "$CAFE/velmo-signature" "$HOME/sig.txt"
settings "$HOME/sig.txt"
"$CAFE/velmo-signature" --write 2>"$WORK/err"
check "link to the program: --write is refused" has "$WORK/err" "one of Velmo's own files"
check "link to the program: the program is intact" cmp -s "$CAFE/velmo-signature" "$BUILD/velmo-signature"

echo "folders: $PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
