#!/usr/bin/env bash
# Real mutt, composing in a terminal, with Velmo's signature: once from
# velmo-signature as a command, once from the signature file that
# `velmo-signature --write` keeps. What mutt hands to sendmail must end in
# "-- " and the signature, LF only, UTF-8, and a change must show in the next
# message. With send-hooks, each recipient gets the signature of the
# profile its hook names.
# Usage: tests/e2e/mutt.sh [BUILD_DIR]
set -uo pipefail

BUILD=$(realpath "${1:-build}")
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
. "$HERE/checks.sh"
command -v mutt >/dev/null || { echo "FAIL  mutt is not installed"; exit 1; }

# A user of our own; the program in a folder of ours, the fixed text in the
# user's data folder.
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
BIN="$WORK/bin" OUT="$WORK/out" SIG="$WORK/home/signature.txt"
mkdir -p "$XDG_CONFIG_HOME/Velmo" "$XDG_DATA_HOME/Velmo" "$HOME/Mail" "$BIN" "$OUT"
unset MAIL MAILDIR
cp "$BUILD/velmo-signature" "$BIN/"
# Plain layout, fixed and variable part, written to a text signature file;
# the quote list at a path of its own.
{
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
    printf '"Program Values"=" 5 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1"\r\n"Fixed width"="60"\r\n'
    printf '"Signature File"="%s"\r\n"Variable File"="%s"\r\n' "$SIG" "$WORK/quotes.txt"
} >"$XDG_CONFIG_HOME/Velmo/User.reg"
printf '"Anna Müller"\r\n"Example Ltd."\r\n' >"$XDG_DATA_HOME/Velmo/Fixed.fxt"
printf '"Grüße — ☺ the first quotation"\r\n"Ça va? ☺ The second, naïve one"\r\n' >"$WORK/quotes.txt"

printf '#!/bin/sh\ncat > "$MSG_DIR/msg-$$.eml"\n' >"$WORK/sendmail.sh"
printf '#!/bin/sh\nsed -i "1i Body line." "$1"\n' >"$WORK/editor.sh"
chmod +x "$WORK/sendmail.sh" "$WORK/editor.sh"

# muttrc SIGNATURE [MORE]: mutt's settings with that signature line.
muttrc() {
    cat >"$WORK/muttrc" <<EOF
set sendmail="$WORK/sendmail.sh"
set from="a@example.org"
set use_from=yes
set charset="utf-8"
set send_charset="us-ascii:iso-8859-1:utf-8"
set signature="$1"
set sig_dashes=yes
set record="" postpone=no edit_headers=no askcc=no askbcc=no abort_unmodified=yes
set editor="$WORK/editor.sh"
${2:-}
EOF
}
N=0
TO=b@example.org
# compose NAME EXPECTED...: one message, whose signature must be one of EXPECTED.
compose() {
    N=$((N + 1))
    export MSG_DIR="$OUT/$N"
    mkdir "$MSG_DIR"
    check "$1: mutt sent it" timeout 60 python3 "$HERE/mutt_drive.py" compose "$WORK/muttrc" "$OUT/$N" "$TO"
    MSG=$(ls "$OUT/$N"/*.eml 2>/dev/null | head -1)
    local name=$1
    shift
    check "$name: ends in '-- ' and the signature, LF only, UTF-8" \
        python3 "$HERE/mutt_drive.py" check "${MSG:-/dev/null}" "$@"
}
has() { grep -q "$2" "$1"; }

"$BIN/velmo-signature" --entry 1 >"$WORK/expect1.txt"
"$BIN/velmo-signature" --entry 2 >"$WORK/expect2.txt"
check "the signature holds the fixed text and the quotation" \
    sh -c "grep -q 'Anna Müller' '$WORK/expect1.txt' && grep -q 'Grüße — ☺' '$WORK/expect1.txt'"

# --- the command, run by mutt for each message (8bit body) ----------------------------------
muttrc "$BIN/velmo-signature --entry 1|"
compose "command, entry 1" "$WORK/expect1.txt"
check "command, entry 1: the quotation intact" has "$MSG" 'Grüße — ☺ the first'
muttrc "$BIN/velmo-signature --entry 2|"
compose "command, entry 2" "$WORK/expect2.txt"
check "command, entry 2: the new quotation" has "$MSG" 'Ça va? ☺ The second, naïve'
muttrc "$BIN/velmo-signature|"
compose "command, random entry" "$WORK/expect1.txt" "$WORK/expect2.txt"
# Quotation 1 takes 29 columns, quotation 2 takes 30: only the first fits 29.
muttrc "$BIN/velmo-signature --max-lines 4 --max-width 29|"
compose "command, --max-width 29" "$WORK/expect1.txt"
fails_in_one_line() {
    "$BIN/velmo-signature" "$@" >"$WORK/none.out" 2>"$WORK/none.err"
    [ $? -eq 1 ] && [ ! -s "$WORK/none.out" ] && [ "$(wc -l <"$WORK/none.err")" -eq 1 ]
}
check "--max-width 28: none fits, status 1 and one line" fails_in_one_line --max-width 28
check "--entry 2 --max-width 29: too wide, status 1 and one line" \
    fails_in_one_line --entry 2 --max-width 29

# --- the file, written by --write (quoted-printable body) -----------------------------------
muttrc "$SIG" "set allow_8bit=no"
check "--write, entry 1: the file written" "$BIN/velmo-signature" --write --entry 1
check "--write: the file is LF only" sh -c "! grep -q \$'\\r' '$SIG'"
compose "signature file, entry 1" "$WORK/expect1.txt"
check "signature file, entry 1: quoted-printable" has "$MSG" 'quoted-printable'
check "--write, entry 2: the file written again" "$BIN/velmo-signature" --write --entry 2
compose "signature file, entry 2" "$WORK/expect2.txt"

# --- one profile per recipient, chosen by send-hooks --------------------------------------------
# A work profile with its own fixed text and the same quote list.
mkdir -p "$XDG_CONFIG_HOME/Velmo/profiles/work" "$XDG_DATA_HOME/Velmo/profiles/work"
sed 's/ 5 0 1 1 1/ 5 0 0 1 1/' "$XDG_CONFIG_HOME/Velmo/User.reg" >"$XDG_CONFIG_HOME/Velmo/profiles/work/User.reg"
printf '"A. Müller, Work Example GmbH"\r\n' >"$XDG_DATA_HOME/Velmo/profiles/work/Fixed.fxt"
export PATH="$BIN:$PATH"
velmo-signature --profile work --entry 1 >"$WORK/work1.txt"
velmo-signature --profile work --entry 2 >"$WORK/work2.txt"
check "the work profile's signature has its own fixed text" \
    sh -c "grep -q 'Work Example GmbH' '$WORK/work1.txt' && ! grep -q 'Example Ltd' '$WORK/work1.txt'"
muttrc "/dev/null" "send-hook . 'set signature=\"velmo-signature|\"'
send-hook '~t @work.example' 'set signature=\"velmo-signature --profile work|\"'"
TO=colleague@work.example
compose "send-hook, to @work.example" "$WORK/work1.txt" "$WORK/work2.txt"
check "send-hook, to @work.example: the work profile's fixed text" has "$MSG" 'Work Example GmbH'
TO=friend@example.net
compose "send-hook, to another address" "$WORK/expect1.txt" "$WORK/expect2.txt"
check "send-hook, to another address: the default profile's fixed text" \
    sh -c "grep -q 'Example Ltd' '$MSG' && ! grep -q 'Work Example' '$MSG'"
TO=boss@work.example
compose "send-hook, to @work.example again" "$WORK/work1.txt" "$WORK/work2.txt"

echo "mutt: $PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
