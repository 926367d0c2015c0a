#!/usr/bin/env bash
# velmo-signature --list FILE on Debian's fortune files and on a file of
# 10,000 fortunes: every quotation counted (one per line holding only %),
# each one printable with --entry, a random pick one of the file's, and the
# user's own files left as they were.
# Usage: tests/e2e/fortune_list.sh [BUILD_DIR]   (needs fortunes-min)
set -uo pipefail

BUILD=$(realpath "${1:-build}")
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
. "$HERE/checks.sh"
FORTUNES=/usr/share/games/fortunes
[ -f "$FORTUNES/fortunes" ] || { echo "FAIL  fortunes-min is not installed"; exit 1; }

export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME/Velmo" "$XDG_DATA_HOME/Velmo"
# Plain layout, the quotation only.
{
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
    printf '"Program Values"=" 5 0 1 1 0 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1"\r\n"Signature width"="75"\r\n'
} >"$XDG_CONFIG_HOME/Velmo/User.reg"
printf '"The own quotation"\r\n' >"$XDG_DATA_HOME/Velmo/Variable.txt"
before=$(cd "$HOME" && find . -type f -exec sha256sum {} + | sort)
SIGN="$BUILD/velmo-signature"

# The number of quotations a file has, as the refusal of a quotation past
# the last one tells it.
count() { "$SIGN" --list "$1" --entry 999999 2>&1 | sed -n 's/.*the file has \([0-9]*\)$/\1/p'; }
# One per line holding only %, and one more when the last quotation has none.
expected() { echo $(($(grep -c '^%$' "$1") + $(tail -n 1 "$1" | grep -qx '%' && echo 0 || echo 1))); }

for f in fortunes literature riddles; do
    file="$FORTUNES/$f"
    check "$f: $(expected "$file") quotations counted" test "$(count "$file")" = "$(expected "$file")"
    first=$(sed -n '1p' "$file" | cut -c1-30)
    check "$f: --entry 1 is the first fortune" sh -c '"$1" --list "$2" --entry 1 | grep -qF -- "$3"' \
        _ "$SIGN" "$file" "$first"
done

# A random pick is one of the file's fortunes: its first line is in the file.
picks_ok=yes
for _ in $(seq 20); do
    line=$("$SIGN" --list "$FORTUNES/fortunes" | sed -n '/[^ ]/{s/^ *//;s/ *$//;p;q}')
    [ -n "$line" ] && grep -qF -- "$line" "$FORTUNES/fortunes" || picks_ok="no: $line"
done
check "random picks come from the file ($picks_ok)" test "$picks_ok" = yes

# 10,000 fortunes without a last % and with CR LF: each counted, the last one printed.
for i in $(seq 10000); do printf 'Fortune %d, which\r\nspans two lines.\r\n%%\r\n' "$i"; done |
    head -c -3 >"$WORK/many"
check "10,000 fortunes counted" test "$(count "$WORK/many")" = 10000
check "the 10,000th printed" sh -c '"$1" --list "$2" --entry 10000 | grep -q "Fortune 10000, which"' \
    _ "$SIGN" "$WORK/many"
check "a plain text file: one quotation a line" \
    sh -c 'printf "One, with a comma\nTwo\n" >"$1/plain"; "$2" --list "$1/plain" --entry 1 | grep -q "One, with a comma"' \
    _ "$WORK" "$SIGN"
check "a missing file is reported" sh -c '"$1" --list "$2/none" 2>&1 | grep -q "cannot read the quotations of"' \
    _ "$SIGN" "$WORK"
after=$(cd "$HOME" && find . -type f -exec sha256sum {} + | sort)
check "the user's own files unchanged" test "$before" = "$after"
check "without --list, the own quotation" sh -c '"$1" | grep -q "The own quotation"' _ "$SIGN"

echo "$PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
