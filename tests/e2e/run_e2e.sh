#!/usr/bin/env bash
# End-to-end test of the real program on a real X display: Xvfb, the trayer
# notification area, xdotool for the user, xclip for the clipboard.
# Usage: tests/e2e/run_e2e.sh [BUILD_DIR] [SHOTS_DIR]
# E2E_IDLE_SECONDS sets how long the idle CPU use is measured (default 15).
set -uo pipefail

BUILD=$(realpath "${1:-build}")
SHOTS=$(realpath -m "${2:-$BUILD/e2e-shots}")
IDLE=${E2E_IDLE_SECONDS:-15}
mkdir -p "$SHOTS"
WORK=$(mktemp -d)
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
unset XDG_CONFIG_HOME XDG_DATA_HOME DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb
mkdir -p "$HOME/.config/Velmo" "$HOME/.local/share/Velmo" "$WORK/bin" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# A copy of the program, as in a folder of the user's own; the quote list is in
# the user's data folder.
cp "$BUILD/velmo" "$WORK/bin/velmo"
cp -r "$BUILD/docs" "$WORK/bin/"
APP="$WORK/bin/velmo"
# The browser: what Qt asks xdg-open to show is noted, not shown.
mkdir "$WORK/stub"
printf '#!/bin/sh\necho "$@" >>"%s"\n' "$WORK/opened" >"$WORK/stub/xdg-open"
chmod +x "$WORK/stub/xdg-open"
export PATH="$WORK/stub:$PATH"
SIG="$WORK/signature.txt"
REG="$HOME/.config/Velmo/User.reg"

PIDS=()

. "$(dirname "$0")/checks.sh"
trap end_run EXIT
shot() { timeout 10 import -window root "$SHOTS/$1" 2>/dev/null; }
shot_win() { [ -n "$1" ] && timeout 10 import -window "$1" "$SHOTS/$2" 2>/dev/null; }
window() { xdotool search --name '^Velmo - ' 2>/dev/null | head -1; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
unmapped() { ! viewable "$1"; }
# The icon is a window of ours nested in the tray's panel; a pop-up menu is a
# top-level window of ours other than the main window.
tray_icon() { xwininfo -root -tree | grep -E '^ {6,}0x[0-9a-f]+ .*\("velmo" "Velmo"\)' | awk '{print $1; exit}'; }
menu_open() { xwininfo -root -children | grep -E '\("velmo" "Velmo"\)' | grep -v 'Velmo - ' | awk '{print $1}' |
    while read -r id; do xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && echo "$id"; done | head -1; }
inode() { stat -c %i "$SIG" 2>/dev/null; }
alive() { kill -0 "$1" 2>/dev/null; }

# Options as a save leaves them: the signature goes to a file, the window shows at start.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n' >"$REG"
{
    printf '"Program Values"=" 8 0 1 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1"\r\n'
    printf '"Fixed width"="60"\r\n"Top text like"="*****************************************"\r\n'
    printf '"Top text repeat"="*"\r\n"Signature width"="60"\r\n'
    printf '"Bottom text like"="*****************************************"\r\n'
    printf '"Bottom text repeat"="*"\r\n"Left text like"="*"\r\n"Indent"="1"\r\n"Right text like"="*"\r\n'
    printf '"Signature File"="%s"\r\n"Variable File"=""\r\n"Fixed text File"=""\r\n' "$SIG"
} >>"$REG"
printf '"Alpha quotation"\r\n"Beta quotation"\r\n"Gamma quotation"\r\n"Delta quotation"\r\n"Epsilon quotation"\r\n' \
    >"$HOME/.local/share/Velmo/Variable.txt"

# --- the display and the notification area ---------------------------------------------------
start_display 900
wait_for 10 xdpyinfo >/dev/null 2>&1
timeout 900 trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --transparent false --tint 0xcccccc --expand true >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
wait_for 10 sh -c 'xwininfo -root -tree | grep -q "(\"panel\" \"trayer\")"' || echo "trayer panel not seen"
sleep 0.5

start_velmo() {
    timeout 900 "$APP" >>"$WORK/app.log" 2>&1 &
    VELMO=$!
    PIDS+=($VELMO)
}

# --- start: window, icon, signature file ----------------------------------------------------
T0=$(date +%s%N)
start_velmo
wait_for 10 test -s "$SIG"
echo "figure: start to signature file written $((($(date +%s%N) - T0) / 1000000)) ms"
check "signature file written at start" grep -q "quotation" "$SIG"
wait_for 10 sh -c '[ -n "$(xdotool search --onlyvisible --name "^Velmo - " 2>/dev/null)" ]'
WIN=$(window)
check "window shown at start" viewable "$WIN"
wait_for 10 sh -c '[ -n "$('"$(declare -f tray_icon)"'; tray_icon)" ]'
TRAY=$(tray_icon)
check "icon embedded in the notification area" test -n "$TRAY"
[ -n "$TRAY" ] || { xwininfo -root -tree | head -40; exit 1; }
sleep 0.5
read -r TX TY TW TH < <(xwininfo -id "$TRAY" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width/ {w=$2} /Height/ {h=$2} END {print x, y, w, h}')
timeout 10 import -window root -crop "$((TW + 60))x$((TH + 4))+$((TX - 30))+$((TY - 2))" +repage "$SHOTS/tray.png"

# --- the six tabs ---------------------------------------------------------------------------
i=0
for x in 30 100 170 236 296 358; do
    xdotool mousemove --window "$WIN" "$x" 13 click 1
    sleep 0.4
    shot_win "$WIN" "tab$i.png"
    i=$((i + 1))
done
# Help on the About tab opens the guide beside the program in the browser; a
# copy without the guide says so and opens the home page.
xdotool key alt+h
check "About tab: Help opens the guide in the browser" wait_for 5 \
    grep -qsx "file://$WORK/bin/docs/mail-clients.html" "$WORK/opened"
rm -r "$WORK/bin/docs"
xdotool key alt+h
check "About tab: Help without the guide says so" wait_for 5 sh -c '[ -n "$('"$(declare -f menu_open)"'; menu_open)" ]'
sleep 0.3
shot help_not_found.png
xdotool key Return
check "the message goes with OK" wait_for 5 sh -c '[ -z "$('"$(declare -f menu_open)"'; menu_open)" ]'
check "then the home page is opened, and nothing else" wait_for 5 \
    sh -c '[ "$(tail -n +2 "$0")" = "https://velmo.example.org/" ]' "$WORK/opened"
xdotool mousemove --window "$WIN" 30 13 click 1

# --- double-click toggles the window --------------------------------------------------------
xdotool mousemove --window "$TRAY" 8 8 click --repeat 2 --delay 80 1
check "double-click hides the window" wait_for 5 unmapped "$WIN"
xdotool mousemove --window "$TRAY" 8 8 click --repeat 2 --delay 80 1
check "double-click shows the window" wait_for 5 viewable "$WIN"

# --- the menu offers the one possible action ------------------------------------------------
open_menu() {
    xdotool mousemove --window "$TRAY" 8 8 click 3
    wait_for 5 sh -c '[ -n "$('"$(declare -f menu_open)"'; menu_open)" ]'
    sleep 0.3
}
open_menu
shot menu_root.png
MENU=$(menu_open)
shot_win "$MENU" menu.png
xdotool key Down Return  # the first item: "Put on Tray" while the window is shown
check "menu: Put on Tray hides the window" wait_for 5 unmapped "$WIN"
open_menu
xdotool key Down Return  # now "Open Window"
check "menu: Open Window shows the window" wait_for 5 viewable "$WIN"

# --- Randomize rewrites the signature file --------------------------------------------------
BEFORE=$(inode)
open_menu
xdotool key r
check "menu: Randomize rewrites the signature file" wait_for 5 sh -c "[ \"\$(stat -c %i '$SIG')\" != '$BEFORE' ]"

# --- Full Signature puts the text on the clipboard ------------------------------------------
open_menu
xdotool key l
sleep 0.3
xdotool key s
sleep 0.5
CLIP=$(timeout 5 xclip -o -selection clipboard 2>/dev/null | tr -d '\r')
check "menu: Full Signature on the clipboard" sh -c "echo '$CLIP' | grep -q 'quotation'"

# --- Save Settings, then a restart restores them --------------------------------------------
xdotool windowactivate --sync "$WIN" 2>/dev/null || xdotool windowfocus --sync "$WIN"
sleep 0.3
xdotool key alt+t  # "Start On Tray"
sleep 0.3
xdotool key alt+s  # "Save Settings"
check "Save Settings writes the tray start" wait_for 5 grep -q '"Program Values"=" 8 0 1 1 0 1' "$REG"

# --- a second copy refuses to start ---------------------------------------------------------
timeout 60 "$APP" >"$WORK/second.log" 2>&1 &
SECOND=$!
PIDS+=($SECOND)
# The message box: a top-level window of ours titled "Velmo" (the icon is nested in the tray).
message_box() { xwininfo -root -children | grep -E '"Velmo": \("velmo" "Velmo"\)' | awk '{print $1}' |
    while read -r id; do xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && echo "$id"; done | head -1; }
check "second copy shows its message" wait_for 10 sh -c '[ -n "$('"$(declare -f message_box)"'; message_box)" ]'
sleep 0.3
shot second_copy.png
xdotool windowfocus "$(message_box)" 2>/dev/null
xdotool key Return
check "second copy ends" wait_for 10 sh -c "! kill -0 $SECOND 2>/dev/null"
wait "$SECOND"
check "second copy returns from main, status 0" test $? = 0
check "first copy untouched" alive "$VELMO"
check "first copy keeps its icon" test -n "$(tray_icon)"

# --- resident memory and idle CPU (5-minute interval) ---------------------------------------
# Our copy, the child of its timeout, not another velmo on the machine.
PROGRAM=$(pgrep -P "$VELMO" -x velmo)
RSS=$(awk '/VmRSS/ {print $2}' "/proc/$PROGRAM/status")
echo "figure: resident memory ${RSS} kB"
cpu() { awk '{print $14 + $15}' "/proc/$PROGRAM/stat"; }
C0=$(cpu)
sleep "$IDLE"
C1=$(cpu)
TICKS=$(getconf CLK_TCK)
echo "figure: CPU over ${IDLE} s idle: $((C1 - C0)) ticks of 1/${TICKS} s ($(awk -v t=$((C1 - C0)) -v h="$TICKS" -v s="$IDLE" 'BEGIN {printf "%.3f", 100 * t / h / s}') % of a core)"

# --- Quit ends the program and removes the icon ---------------------------------------------
open_menu
xdotool key q
check "menu: Quit ends the program" wait_for 10 sh -c "! kill -0 $VELMO 2>/dev/null"
check "no icon left behind" wait_for 5 sh -c '[ -z "$('"$(declare -f tray_icon)"'; tray_icon)" ]'

# --- the restart restores the saved options: a tray start ------------------------------------
start_velmo
wait_for 10 sh -c '[ -n "$('"$(declare -f tray_icon)"'; tray_icon)" ]'
sleep 1
check "restart restores the options (tray start, no window)" sh -c '[ -z "$(xdotool search --onlyvisible --name "^Velmo - " 2>/dev/null)" ]'
# The window of a tray start is first built when it is opened; the title,
# set at start-up, shows that it took the state start-up left.
TRAY=$(tray_icon)
xdotool mousemove --window "$TRAY" 8 8 click --repeat 2 --delay 80 1
check "tray start: double-click opens the window" wait_for 5 sh -c '[ -n "$(xdotool search --onlyvisible --name "^Velmo - " 2>/dev/null)" ]'
sleep 0.4
WIN=$(window)
shot_win "$WIN" "tray_start_opened.png"
check "tray start: the opened window has its title" sh -c "xdotool getwindowname $WIN | grep -q '^Velmo - '"
kill -TERM "$VELMO"
check "SIGTERM ends the program" wait_for 10 sh -c "! kill -0 $VELMO 2>/dev/null"

echo "e2e: $PASS passed, $FAIL failed (screenshots in $SHOTS)"
[ "$FAIL" -eq 0 ]
