#!/usr/bin/env bash
# The real program fed bad input: it must keep running, tell the user where
# the user can act, and still write a signature where it can.
# Usage: tests/e2e/bad_input.sh [BUILD_DIR]
set -uo pipefail

BUILD=$(realpath "${1:-build}")
WORK=$(mktemp -d)
export QT_QPA_PLATFORM=xcb
unset XDG_CONFIG_HOME XDG_DATA_HOME DBUS_SESSION_BUS_ADDRESS
PIDS=()
. "$(dirname "$0")/checks.sh"
trap end_run EXIT
# What the program said, and its state, for the record.
on_failure() {
    [ -f "${CASE:-}/log" ] && sed 's/^/    | /' "$CASE/log" | tail -5
    kill -0 "${VELMO:-0}" 2>/dev/null && echo "    | (running)" || echo "    | (ended)"
}

start_display 900
wait_for 10 xdpyinfo >/dev/null 2>&1

# A fresh user and program folder per case; $1 the signature path, $2 the flags.
setup() {
    CASE="$WORK/$1"
    export HOME="$CASE/home" XDG_RUNTIME_DIR="$CASE/run"
    DATA="$HOME/.local/share/Velmo"
    mkdir -p "$HOME/.config/Velmo" "$DATA" "$CASE/bin" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    cp "$BUILD/velmo" "$CASE/bin/velmo"
    SIG=$2
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
        printf '"Program Values"="%s"\r\n' "$3"
        printf '"Fixed width"="60"\r\n"Top text like"="*****************************************"\r\n'
        printf '"Top text repeat"="*"\r\n"Signature width"="60"\r\n'
        printf '"Bottom text like"="*****************************************"\r\n'
        printf '"Bottom text repeat"="*"\r\n"Left text like"="*"\r\n"Indent"="1"\r\n"Right text like"="*"\r\n'
        printf '"Signature File"="%s"\r\n"Variable File"=""\r\n"Fixed text File"=""\r\n' "$SIG"
    } >"$HOME/.config/Velmo/User.reg"
    printf '"A quotation"\r\n' >"$DATA/Variable.txt"
}
FILE_ON=" 5 0 1 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1"
FIXED_ON=" 5 0 1 1 1 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1"

start() {
    timeout 120 "$CASE/bin/velmo" >"$CASE/log" 2>&1 &
    VELMO=$!
    PIDS+=($VELMO)
}
# A message box of ours: a top-level window titled by a message, not the main window.
message_box() { xwininfo -root -children | grep -E '\("velmo" "Velmo"\)' | grep -v '"Velmo - ' |
    awk '{print $1}' | while read -r id; do xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && echo "$id"; done | head -1; }
answer() {  # answer KEY: waits for a message box and presses KEY in it
    wait_for 30 sh -c '[ -n "$('"$(declare -f message_box)"'; message_box)" ]' || return 1
    sleep 0.3
    xdotool windowfocus "$(message_box)" 2>/dev/null
    xdotool key "$1"
    sleep 0.5
}
running() { kill -0 "$VELMO" 2>/dev/null; }
main_window() { [ -n "$(xdotool search --onlyvisible --name '^Velmo - ' 2>/dev/null)" ]; }
# A program that ignores SIGTERM is a failure of its own; it must not hang the run.
stop() {
    kill -TERM "$VELMO" 2>/dev/null
    wait_for 10 sh -c "! kill -0 $VELMO 2>/dev/null" || kill -KILL "$VELMO" 2>/dev/null
    wait "$VELMO" 2>/dev/null
}

# An end request while a message box waits at start ends the program: the box's
# loop is left, and the main loop must not start after it.
setup term-at-start "$WORK/term-at-start/sig.txt" "$FILE_ON"
rm "$DATA/Variable.txt"
start
check "SIGTERM while a start-up message waits: a message is shown" \
    wait_for 30 sh -c '[ -n "$('"$(declare -f message_box)"'; message_box)" ]'
kill -TERM "$VELMO"
check "SIGTERM while a start-up message waits: the program ends" wait_for 10 sh -c "! kill -0 $VELMO"
check "SIGTERM while a start-up message waits: its status is 0" wait "$VELMO"
stop

# --- quote files ---------------------------------------------------------------------------
setup binary "$WORK/binary/sig.txt" "$FILE_ON"
head -c 200000 /dev/urandom >"$DATA/Variable.txt"
printf '\0\0\xff\xfe"unterminated' >>"$DATA/Variable.txt"
start
check "binary quote list file: signature written" wait_for 10 test -s "$SIG"
check "binary quote list file: still running" running
stop

setup huge "$WORK/huge/sig.txt" "$FILE_ON"
awk 'BEGIN { for (i = 1; i <= 100000; i++) printf "\"Quotation number %d, padded to make the file large enough\"\r\n", i }' >"$DATA/Variable.txt"
ls -l "$DATA/Variable.txt" | awk '{print "  quote list file of " $5 " bytes"}'
T0=$(date +%s%N)
start
check "100,000 entries: signature written" wait_for 10 test -s "$SIG"
echo "  start to signature with 100,000 entries: $((($(date +%s%N) - T0) / 1000000)) ms"
check "100,000 entries: one of the first 200 picked" sh -c "grep -Eq 'number ([1-9]|[1-9][0-9]|1[0-9][0-9]|200),' '$SIG'"
check "100,000 entries: still running" running
stop

setup unterminated "$WORK/unterminated/sig.txt" "$FILE_ON"
printf '"first"\r\n"never closed\r\nand more' >"$DATA/Variable.txt"
start
check "unterminated quote: signature written" wait_for 10 test -s "$SIG"
check "unterminated quote: still running" running
stop

# --- the settings file and the fixed text ----------------------------------------------------
setup garbled "$WORK/garbled/sig.txt" "$FILE_ON"
head -c 5000 /dev/urandom >"$HOME/.config/Velmo/User.reg"
start
check "garbled settings: the user is told" answer Return
check "garbled settings: kept aside as .bad" test -f "$HOME/.config/Velmo/User.reg.bad"
check "garbled settings: window with the defaults" wait_for 10 main_window
check "garbled settings: still running" running
stop

setup fixed1000 "$WORK/fixed1000/sig.txt" "$FIXED_ON"
awk 'BEGIN { for (i = 1; i <= 1000; i++) printf "\"line %d\"\r\n", i }' >"$DATA/Fixed.fxt"
start
check "1,000-line fixed text: the offer to find another" answer Escape
check "1,000-line fixed text: signature written" wait_for 10 test -s "$SIG"
check "1,000-line fixed text: file untouched" sh -c "[ \$(wc -l <'$DATA/Fixed.fxt') -eq 1000 ]"
check "1,000-line fixed text: still running" running
stop

# --- signature paths the program cannot write ------------------------------------------------
for name in missing-folder read-only folder; do
    case $name in
        missing-folder) setup "$name" "$WORK/$name/no/such/folder/sig.txt" "$FILE_ON" ;;
        read-only) setup "$name" "/proc/velmo-signature.txt" "$FILE_ON" ;;  # refused even to root
        folder) setup "$name" "$WORK/$name" "$FILE_ON" ;;
    esac
    start
    check "signature path $name: the user is told" answer Return
    check "signature path $name: still running" running
    check "signature path $name: window shown" wait_for 10 main_window
    stop
done
check "signature path folder: the folder is left alone" test -d "$WORK/folder/bin"

# --- special files where files belong ----------------------------------------------------------
# answer_all KEY: presses KEY in every message box that comes up, until none has for 3 s.
answer_all() {
    local answered=0
    while wait_for 3 sh -c '[ -n "$('"$(declare -f message_box)"'; message_box)" ]'; do
        answer "$1" || break
        answered=$((answered + 1))
        [ "$answered" -ge 5 ] && break
    done
    [ "$answered" -gt 0 ]
}
quiet() { sleep 3; [ -z "$(message_box)" ]; }

setup fifo-settings "$WORK/fifo-settings/sig.txt" "$FILE_ON"
rm "$HOME/.config/Velmo/User.reg" && mkfifo "$HOME/.config/Velmo/User.reg"
start
check "settings file a FIFO: the user is told" answer_all Return
check "settings file a FIFO: window shown" wait_for 10 main_window
check "settings file a FIFO: left a FIFO" test -p "$HOME/.config/Velmo/User.reg"
check "settings file a FIFO: SIGTERM ends it" sh -c "kill -TERM $VELMO; sleep 2; ! kill -0 $VELMO 2>/dev/null"
stop

for name in fifo-quotes zero-quotes; do
    setup "$name" "$WORK/$name/sig.txt" "$FILE_ON"
    rm "$DATA/Variable.txt"
    case $name in
        fifo-quotes) mkfifo "$DATA/Variable.txt" ;;
        zero-quotes) ln -s /dev/zero "$DATA/Variable.txt" ;;
    esac
    start
    check "quote list $name: the offer to find another" answer Escape
    check "quote list $name: signature written" wait_for 10 test -s "$SIG"
    check "quote list $name: still running" running
    stop
done

setup fifo-signature "$WORK/fifo-signature/sig.fifo" "$FILE_ON"
mkfifo "$SIG"
start
check "signature path a FIFO: the user is told" answer Return
check "signature path a FIFO: still running" running
check "signature path a FIFO: left a FIFO" test -p "$SIG"
stop

# --- big input ---------------------------------------------------------------------------------
setup long-quote "$WORK/long-quote/sig.txt" "$FILE_ON"
awk 'BEGIN { printf "\""; for (i = 1; i <= 20000; i++) printf "Every word of this quotation is wrapped. "; printf "\"\r\n" }' \
    >"$DATA/Variable.txt"
T0=$(date +%s%N)
start
check "1 MB quote: signature written" wait_for 20 test -s "$SIG"
echo "  start to signature with a 1 MB quote: $((($(date +%s%N) - T0) / 1000000)) ms"
check "1 MB quote: window shown" wait_for 20 main_window
check "1 MB quote: still running" running
stop

setup long-word "$WORK/long-word/sig.txt" "$FILE_ON"
{ printf '"'; head -c 10000000 /dev/zero | tr '\0' 'x'; printf '"\r\n'; } >"$DATA/Variable.txt"
start
check "10 MB word: signature written" wait_for 30 test -s "$SIG"
check "10 MB word: window shown" wait_for 30 main_window
check "10 MB word: still running" running
stop

setup many-values "$WORK/many-values/sig.txt" "$FILE_ON"
awk 'BEGIN { for (i = 1; i <= 16000; i++) printf "\"Extra value %d\"=\"kept %d\"\r\n", i, i }' \
    >>"$HOME/.config/Velmo/User.reg"
T0=$(date +%s%N)
start
check "16,000 settings values: signature written" wait_for 20 test -s "$SIG"
echo "  start to signature with 16,000 settings values: $((($(date +%s%N) - T0) / 1000000)) ms"
check "16,000 settings values: still running" running
stop

# --- another language --------------------------------------------------------------------------
# The system's messages are German here; a missing settings file is still a first start.
if locale -a 2>/dev/null | grep -qi '^de_DE.utf-\?8$'; then
    setup german "$WORK/german/sig.txt" "$FILE_ON"
    rm "$HOME/.config/Velmo/User.reg"
    LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 LANGUAGE=de start
    check "German locale: the settings file is created" wait_for 10 test -s "$HOME/.config/Velmo/User.reg"
    check "German locale: no error shown" quiet
    check "German locale: still running" running
    stop
else
    echo "FAIL  German locale: de_DE.UTF-8 is not available (scripts/test.sh generates it)"
    FAIL=$((FAIL + 1))
fi

echo "bad input: $PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
