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
cleanup() {
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null; done
    rm -rf "$WORK"
}
trap cleanup EXIT
PASS=0
FAIL=0
check() {
    local name=$1
    shift
    if "$@"; then
        echo "PASS  $name"
        PASS=$((PASS + 1))
    else
        echo "FAIL  $name"
        FAIL=$((FAIL + 1))
        # What the program said, and its state, for the record.
        [ -f "${CASE:-}/log" ] && sed 's/^/    | /' "$CASE/log" | tail -5
        kill -0 "${VELMO:-0}" 2>/dev/null && echo "    | (running)" || echo "    | (ended)"
    fi
}
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

timeout 600 Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
PIDS+=($!)
wait_for 15 test -s "$WORK/display" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -1 "$WORK/display")"
wait_for 10 xdpyinfo >/dev/null 2>&1

# A fresh user and program folder per case; $1 the signature path, $2 the flags.
setup() {
    CASE="$WORK/$1"
    export HOME="$CASE/home" XDG_RUNTIME_DIR="$CASE/run"
    mkdir -p "$HOME/.config/Velmo" "$CASE/bin" && mkdir -m 700 "$XDG_RUNTIME_DIR"
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
    printf '"A quotation"\r\n' >"$CASE/bin/Variable.txt"
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
stop() { kill -TERM "$VELMO" 2>/dev/null; wait "$VELMO" 2>/dev/null; }

# --- quote files ---------------------------------------------------------------------------
setup binary "$WORK/binary/sig.txt" "$FILE_ON"
head -c 200000 /dev/urandom >"$CASE/bin/Variable.txt"
printf '\0\0\xff\xfe"unterminated' >>"$CASE/bin/Variable.txt"
start
check "binary quote file: signature written" wait_for 10 test -s "$SIG"
check "binary quote file: still running" running
stop

setup huge "$WORK/huge/sig.txt" "$FILE_ON"
awk 'BEGIN { for (i = 1; i <= 100000; i++) printf "\"Quotation number %d, padded to make the file large enough\"\r\n", i }' >"$CASE/bin/Variable.txt"
ls -l "$CASE/bin/Variable.txt" | awk '{print "  quote file of " $5 " bytes"}'
T0=$(date +%s%N)
start
check "100,000 entries: signature written" wait_for 10 test -s "$SIG"
echo "  start to signature with 100,000 entries: $((($(date +%s%N) - T0) / 1000000)) ms"
check "100,000 entries: one of the first 200 picked" sh -c "grep -Eq 'number ([1-9]|[1-9][0-9]|1[0-9][0-9]|200),' '$SIG'"
check "100,000 entries: still running" running
stop

setup unterminated "$WORK/unterminated/sig.txt" "$FILE_ON"
printf '"first"\r\n"never closed\r\nand more' >"$CASE/bin/Variable.txt"
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
awk 'BEGIN { for (i = 1; i <= 1000; i++) printf "\"line %d\"\r\n", i }' >"$CASE/bin/Fixed.fxt"
start
check "1,000-line fixed text: the offer to find another" answer Escape
check "1,000-line fixed text: signature written" wait_for 10 test -s "$SIG"
check "1,000-line fixed text: file untouched" sh -c "[ \$(wc -l <'$CASE/bin/Fixed.fxt') -eq 1000 ]"
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

echo "bad input: $PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
