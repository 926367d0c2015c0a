#!/usr/bin/env bash
# The quotation list and the fixed text changed by another program while the
# real program runs: a delete, a save and a pick go into the files as they are
# now, and edits on both sides lead to a question.
# Usage: tests/e2e/outside_edits.sh [BUILD_DIR] [SHOTS_DIR]
set -uo pipefail

BUILD=$(realpath "${1:-build}")
SHOTS=$(realpath -m "${2:-$BUILD/outside-shots}")
mkdir -p "$SHOTS"
WORK=$(mktemp -d)
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run" QT_QPA_PLATFORM=xcb
unset XDG_CONFIG_HOME XDG_DATA_HOME DBUS_SESSION_BUS_ADDRESS
DATA="$HOME/.local/share/Velmo"
LIST="$DATA/Variable.txt"
FIXED="$DATA/Fixed.fxt"
mkdir -p "$HOME/.config/Velmo" "$DATA" "$WORK/bin" && mkdir -m 700 "$XDG_RUNTIME_DIR"
cp "$BUILD/velmo" "$WORK/bin/velmo"
SIG="$WORK/signature.txt"
PIDS=()
. "$(dirname "$0")/checks.sh"
trap end_run EXIT
shot_win() { timeout 10 import -window "$1" "$SHOTS/$2" 2>/dev/null; }

# The window shown at start, the signature in a file, both parts on.
{
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
    printf '"Program Values"=" 5 0 1 1 1 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1"\r\n'
    printf '"Fixed width"="60"\r\n"Top text like"="*****************************************"\r\n'
    printf '"Top text repeat"="*"\r\n"Signature width"="60"\r\n'
    printf '"Bottom text like"="*****************************************"\r\n'
    printf '"Bottom text repeat"="*"\r\n"Left text like"="*"\r\n"Indent"="1"\r\n"Right text like"="*"\r\n'
    printf '"Signature File"="%s"\r\n"Variable File"=""\r\n"Fixed text File"=""\r\n' "$SIG"
} >"$HOME/.config/Velmo/User.reg"
printf '"Alpha quotation"\r\n"Beta quotation"\r\n"Gamma quotation"\r\n' >"$LIST"
printf '"Jane Roe"\r\n"Small Town"\r\n' >"$FIXED"

start_display 300
wait_for 10 xdpyinfo >/dev/null 2>&1
timeout 300 "$WORK/bin/velmo" >"$WORK/app.log" 2>&1 &
VELMO=$!
PIDS+=($VELMO)
wait_for 10 test -s "$SIG" || { echo "no signature written"; cat "$WORK/app.log"; exit 1; }
wait_for 10 sh -c '[ -n "$(xdotool search --onlyvisible --name "^Velmo - " 2>/dev/null)" ]'
WIN=$(xdotool search --onlyvisible --name '^Velmo - ' | head -1)

# A message box of ours: a top-level window other than the main one.
message_box() { xwininfo -root -children | grep -E '\("velmo" "Velmo"\)' | grep -v '"Velmo - ' |
    awk '{print $1}' | while read -r id; do xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && echo "$id"; done | head -1; }
asked() { wait_for 5 sh -c '[ -n "$('"$(declare -f message_box)"'; message_box)" ]'; }
answer() {  # answer KEY [SHOT]: presses KEY in the message box shown
    asked || return 1
    sleep 0.3
    [ -n "${2:-}" ] && shot_win "$(message_box)" "$2"
    xdotool windowfocus "$(message_box)" 2>/dev/null
    xdotool key "$1"
    sleep 0.5
}
# Leaving the entry editor asks whether to save it; "No" here, when asked.
no_save_question() { if asked; then answer Escape; fi; }
tab() { xdotool mousemove --window "$WIN" "$1" 13 click 1; sleep 0.4; }
focus_window() { xdotool windowactivate --sync "$WIN" 2>/dev/null || xdotool windowfocus --sync "$WIN"; sleep 0.3; }
records() { grep -c '^"' "$1"; }

# --- Delete Text after two quotations were added in a text editor --------------------------------
focus_window
tab 30
printf '"Delta added elsewhere"\r\n"Epsilon added elsewhere"\r\n' >>"$LIST"
xdotool key alt+d
no_save_question
sleep 0.5
check "delete: the quotations added elsewhere stay" sh -c "grep -q 'Delta added' '$LIST' && grep -q 'Epsilon added' '$LIST'"
check "delete: one of five entries deleted" sh -c "[ \$(grep -c '^\"' '$LIST') -eq 4 ]"
shot_win "$WIN" delete_after_outside_add.png

# --- Save Settings after the fixed text was changed in a text editor ----------------------------
printf '"Jane Roe"\r\n"New Street 5"\r\n' >"$FIXED"
xdotool key alt+s
no_save_question
sleep 0.5
check "save settings: the fixed text changed elsewhere stays" grep -q 'New Street 5' "$FIXED"
tab 236
shot_win "$WIN" fixed_reloaded.png

# --- Randomize picks from the list as it is now --------------------------------------------------
tab 30
printf '"Only this one now"\r\n' >"$LIST"
xdotool key alt+r
no_save_question
sleep 0.5
check "randomize: picks from the list changed elsewhere" wait_for 5 grep -q 'Only this one now' "$SIG"
check "randomize: the new fixed text is in the signature" grep -q 'New Street 5' "$SIG"

# --- edits on both sides: asked, and each answer does what it says ------------------------------
tab 236
xdotool mousemove --window "$WIN" 120 140 click 1
sleep 0.3
xdotool key ctrl+End
xdotool type --delay 30 ' typed here'
printf '"Changed elsewhere"\r\n' >"$FIXED"
tab 30  # leaving the box saves the fixed text
check "both edited: asked, and Cancel leaves the file" answer Escape fixed_question.png
check "both edited: the file changed elsewhere kept" grep -q 'Changed elsewhere' "$FIXED"
focus_window
xdotool key alt+s
check "both edited: Save Settings asks again; No replaces the file" answer alt+n second_question.png
check "both edited: the text typed here is saved" grep -q 'New Street 5 typed here' "$FIXED"
check "still running" kill -0 "$VELMO"

echo "outside edits: $PASS passed, $FAIL failed (screenshots in $SHOTS)"
[ "$FAIL" -eq 0 ]
