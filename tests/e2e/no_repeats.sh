#!/usr/bin/env bash
# "No repeats until all are used" with velmo-signature: 30 runs over three
# quotations (each once a round, none twice in a row), 40 runs at the same
# time over 40 quotations (no two take the same one), the round's file in
# the XDG state folder (per profile), a corrupt one starting a new round in
# silence, and no file at all with the mode off.
# Usage: tests/e2e/no_repeats.sh [BUILD_DIR]
set -uo pipefail

BUILD=$(realpath "${1:-build}")
HERE=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
PIDS=()
trap end_run EXIT
. "$HERE/checks.sh"
SIGN="$BUILD/velmo-signature"

export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/.config" XDG_DATA_HOME="$WORK/home/.local/share" \
    XDG_STATE_HOME="$WORK/home/.local/state"
ROUND="$XDG_STATE_HOME/Velmo/picks"
# The settings of a profile ("" for the default one): the plain layout, the
# quotation only, and "No Repeats" as given ("" for none stored).
settings() {
    local folder="$XDG_CONFIG_HOME/Velmo/${1:+profiles/$1/}"
    mkdir -p "$folder" "$XDG_DATA_HOME/Velmo/${1:+profiles/$1/}"
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
        printf '"Program Values"=" 5 0 0 1 0 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1"\r\n"Fixed width"="75"\r\n'
        [ -z "$2" ] || printf '"No Repeats"="%s"\r\n' "$2"
    } >"$folder/User.reg"
}
quotations() {  # quotations PROFILE N: "Quotation 1" to "Quotation N"
    for i in $(seq "$2"); do printf '"Quotation %d"\r\n' "$i"; done \
        >"$XDG_DATA_HOME/Velmo/${1:+profiles/$1/}Variable.txt"
}
pick() { "$SIGN" "$@" | grep -o 'Quotation [0-9]*'; }

# The trial of three quotations and thirty runs, with the mode on.
settings "" 1
quotations "" 3
seq_=()
for _ in $(seq 30); do seq_+=("$(pick | cut -d' ' -f2)"); done
echo "    30 picks of 3: ${seq_[*]}"
repeats=0 rounds_ok=yes
for i in $(seq 1 29); do [ "${seq_[i]}" != "${seq_[i - 1]}" ] || repeats=$((repeats + 1)); done
for r in $(seq 0 9); do
    [ "$(printf '%s\n' "${seq_[@]:r*3:3}" | sort | tr -d '\n')" = 123 ] || rounds_ok="no: round $((r + 1))"
done
check "30 runs over 3 quotations: none twice in a row ($repeats)" test "$repeats" = 0
check "30 runs over 3 quotations: each once in every round ($rounds_ok)" test "$rounds_ok" = yes
check "the round is kept in the XDG state folder" test -f "$ROUND"
check "an entry chosen by number is no pick" sh -c \
    'before=$(cat "$1"); "$2" --entry 2 >/dev/null; [ "$(cat "$1")" = "$before" ]' _ "$ROUND" "$SIGN"

# Forty runs at the same time over forty quotations: forty different ones,
# then forty more, again all different, in the next round.
quotations "" 40
rm -f "$ROUND"
for batch in 1 2; do
    for i in $(seq 40); do pick >"$WORK/pick.$i" & done
    wait
    distinct=$(cat "$WORK"/pick.* | sort -u | wc -l)
    check "40 runs at once, round $batch: 40 different quotations ($distinct)" test "$distinct" = 40
done

# A corrupt round starts a new one without a word.
printf 'not a round\n' >"$ROUND"
check "a corrupt round file: a quotation, exit status 0, nothing said" sh -c \
    '"$1" 2>"$2/err" | grep -q Quotation && [ ! -s "$2/err" ]' _ "$SIGN" "$WORK"
check "the corrupt round file is replaced by a new round" sh -c \
    '[ "$(head -1 "$1")" = "Velmo pick round 1" ] && [ "$(wc -l <"$1")" = 2 ]' _ "$ROUND"

# A named profile keeps a round of its own.
settings work 1
quotations work 2
check "a profile's round of its own: its two quotations in two runs" sh -c \
    '[ "$(for _ in 1 2; do "$1" --profile work | grep -o "Quotation [0-9]*"; done | sort -u | wc -l)" = 2 ] &&
     [ "$(wc -l <"$2/Velmo/profiles/work/picks")" = 3 ]' _ "$SIGN" "$XDG_STATE_HOME"

# The window program shares the round: its pick at start, then two runs of
# velmo-signature, take the three quotations of one round.
settings "" 1
quotations "" 3
printf '"Signature File"="%s"\r\n' "$WORK/signature.txt" >>"$XDG_CONFIG_HOME/Velmo/User.reg"
sed -i 's/"Program Values"=" 5 0 0/"Program Values"=" 5 0 1/' "$XDG_CONFIG_HOME/Velmo/User.reg"
rm -f "$ROUND"
QT_QPA_PLATFORM=offscreen timeout 60 "$BUILD/velmo" >"$WORK/velmo.log" 2>&1 &
PIDS+=($!)
wait_for 30 test -s "$WORK/signature.txt"
kill "${PIDS[@]}" 2>/dev/null
wait "${PIDS[@]}" 2>/dev/null
PIDS=()
shared=$( (grep -o 'Quotation [0-9]' "$WORK/signature.txt"; pick; pick) | sort -u | wc -l)
check "the window's pick at start and two of velmo-signature: one round ($shared of 3)" \
    test "$shared" = 3 -a "$(wc -l <"$ROUND")" = 4

# With the mode off, or with settings from before it, no round is kept.
rm -rf "$XDG_STATE_HOME"
for value in 0 ""; do
    settings "" "$value"
    pick >/dev/null
    check "\"No Repeats\"=\"$value\": no round file" test ! -e "$XDG_STATE_HOME/Velmo"
done

echo "no repeats: $PASS passed, $FAIL failed"
[ "$FAIL" = 0 ]
