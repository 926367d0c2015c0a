#!/usr/bin/env bash
# The real window edited as a user edits it, on a virtual X display driven by
# xdotool: the fixed text emptied and typed anew, the file dialog of a change
# of output type cancelled, and a quotation typed while scheduled changes come
# (the program's clock sped up sixty times with libfaketime, so that five
# minutes pass in five seconds).
# Usage: tests/e2e/editing.sh [BUILD_DIR] [SHOTS_DIR]
set -uo pipefail

BUILD=$(realpath "${1:-build}")
SHOTS=$(realpath -m "${2:-$BUILD/editing-shots}")
mkdir -p "$SHOTS"
WORK=$(mktemp -d)
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
unset XDG_CONFIG_HOME XDG_DATA_HOME DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb
mkdir -p "$HOME/.config/Velmo" "$WORK/bin" && mkdir -m 700 "$XDG_RUNTIME_DIR"
cp "$BUILD/velmo" "$WORK/bin/velmo"
APP="$WORK/bin/velmo"
SIG="$WORK/sig.txt"
REG="$HOME/.config/Velmo/User.reg"
FIXED="$HOME/.local/share/Velmo/Fixed.fxt"
LIST="$WORK/Variable.txt"
mkdir -p "$HOME/.local/share/Velmo"

PIDS=()

. "$(dirname "$0")/checks.sh"
trap end_run EXIT
shot_win() { [ -n "$1" ] && timeout 10 import -window "$1" "$SHOTS/$2" 2>/dev/null; }
window() { xdotool search --onlyvisible --name '^Velmo - ' 2>/dev/null | head -1; }
titled() { xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
inode() { stat -c %i "$SIG" 2>/dev/null; }
# Whether FILE holds exactly these lines, whatever the line ends.
holds() {
    local file=$1
    shift
    [ "$(tr -d '\r' <"$file")" = "$(printf '%s\n' "$@")" ]
}
# Whether the fixed text file holds these lines (the one written last of the two).
fixed_holds() { holds "$FIXED" "$@"; }
stored() { grep -q -F "$1" "$REG"; }
# "Save Settings" by its key, then a wait until the settings file is replaced.
save_settings() {
    local before
    before=$(stat -c %i "$REG")
    xdotool key alt+s
    wait_for 5 sh -c "[ \"\$(stat -c %i '$REG')\" != '$before' ]" || echo "the settings were not saved"
}
# The mouse on a place of the window, in pixels from its top left corner.
click() { xdotool mousemove --window "$WIN" "$1" "$2" click 1 && sleep 0.3; }
tab() { click "$1" 13; }
FIXED_TAB=236 OPTIONS_TAB=296 VARIABLE_TAB=30

# start_velmo PROGRAM_VALUES [COMMAND...]: stored options with the signature
# in sig.txt and the quotations in Variable.txt beside it, then the program,
# run by COMMAND when given.
start_velmo() {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n' >"$REG"
    printf '"Program Values"="%s"\r\n"Signature File"="%s"\r\n"Variable File"="%s"\r\n' \
        "$1" "$SIG" "$LIST" >>"$REG"
    shift
    timeout 300 "$@" "$APP" >>"$WORK/app.log" 2>&1 &
    VELMO=$!
    PIDS+=($VELMO)
    wait_for 10 sh -c '[ -n "$(xdotool search --onlyvisible --name "^Velmo - " 2>/dev/null)" ]'
    WIN=$(window)
    [ -n "$WIN" ] || { echo "no window"; cat "$WORK/app.log"; exit 1; }
    sleep 0.5
}
stop_velmo() {
    kill "$VELMO" 2>/dev/null
    wait "$VELMO" 2>/dev/null
}

start_display 300

# Five-minute changes, file output, both parts, fixed part first, text output.
OPTIONS=" 1 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1"
printf '"Jane Doe"\r\n"Small Town"\r\n' >"$FIXED"
printf '"Entry %s text"\r\n' $(seq 10) >"$LIST"
start_velmo "$OPTIONS"

# --- the fixed text: select all, Delete, type a new one -----------------------------------
tab $FIXED_TAB
click 200 150
xdotool key ctrl+a Delete
xdotool type --delay 40 "Jane Roe"
sleep 0.3
shot_win "$WIN" fixed_typed.png
check "fixed text: the file is untouched while the box is typed into" fixed_holds '"Jane Doe"' '"Small Town"'
xdotool key Tab  # leaving the box saves it
check "fixed text: leaving the box saves what was typed" wait_for 5 fixed_holds '"Jane Roe"'
save_settings
# Field 4: the fixed part on; field 6: Fixed First.
check "fixed text: the part stays on and the order unchanged" stored '"Program Values"=" 1 0 1 1 1 0 0'

# Emptied and left, the box is greyed and the part switched off.
click 200 150
xdotool key ctrl+a Delete Tab
sleep 0.3
shot_win "$WIN" fixed_emptied.png
save_settings
check "fixed text: emptied and left, the part is off" stored '"Program Values"=" 1 0 1 1 0 0 0'

# --- a change of output type whose file dialog is cancelled -------------------------------
tab $OPTIONS_TAB
click 234 187  # HTML
check "output type: the change asks for a file" wait_for 5 titled '^Find The Signature File'
xdotool key Escape
wait_for 5 sh -c '! xdotool search --onlyvisible --name "^Find The Signature File" >/dev/null 2>&1'
sleep 0.3
shot_win "$WIN" output_cancelled.png
tab $VARIABLE_TAB
BEFORE=$(inode)
xdotool key alt+r
wait_for 5 sh -c "[ \"\$(stat -c %i '$SIG')\" != '$BEFORE' ]"
check "output type: the next pick writes text into sig.txt" sh -c "grep -q 'Entry' '$SIG' && ! grep -q DOCTYPE '$SIG'"
save_settings
check "output type: Text and sig.txt are stored together" sh -c \
    "grep -q -F '0 0 1 1\"' '$REG' && grep -q -F '\"Signature File\"=\"$SIG\"' '$REG'"
stop_velmo

# --- a quotation typed while scheduled changes come ---------------------------------------
# A change rewrites sig.txt; waits for the next one.
next_change() {
    local before
    before=$(inode)
    wait_for 15 sh -c "[ \"\$(stat -c %i '$SIG')\" != '$before' ]"
}
start_velmo "$OPTIONS" faketime -f "+0 x60"
next_change
# Entry 3 shown, then the cursor at its end, right after a change.
click 82 252   # "|  <<"
click 142 252  # ">"
click 142 252
click 200 180
xdotool key ctrl+End
xdotool type --delay 40 " Ab"
check "typing: a change comes" next_change
xdotool type --delay 40 " cd"
check "typing: another change comes" next_change
xdotool type --delay 40 " ef"
sleep 0.3
shot_win "$WIN" variable_typed.png
xdotool key Tab
check "typing: leaving asks to save" wait_for 5 titled '^Variable Text Changed$'
xdotool key y
# Every key at the end of the one entry typed into, every other entry as it was.
typed_into_one() {
    [ "$(tr -d '\r' <"$LIST" | grep -c ' Ab cd ef"$')" = 1 ] &&
        [ "$(tr -d '\r' <"$LIST" | sed 's/ Ab cd ef"$/"/')" = "$(printf '"Entry %s text"\n' $(seq 10))" ]
}
check "typing: every key went into the entry typed into" wait_for 5 typed_into_one
stop_velmo

echo "editing: $PASS passed, $FAIL failed (screenshots in $SHOTS)"
[ "$FAIL" -eq 0 ]
