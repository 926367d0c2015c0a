#!/usr/bin/env bash
# End-to-end test of the end of the program: with a clipboard manager running,
# the signature that Velmo put on the clipboard is still there after Velmo has
# ended, by the tray menu's Quit, the window's Exit, SIGTERM and SIGINT. Qt
# hands the clipboard over (SAVE_TARGETS) only when the program leaves its
# event loop and returns from main; the end must still take under a second.
# The manager is MATE's settings daemon (on a private session bus): it keeps
# what it is handed at a program's end and nothing else, so the test tells an
# orderly end from an abrupt one. Managers that copy the clipboard at every
# change (xfce4-clipman) would keep the signature either way, and parcellite
# is no clipboard manager in this sense.
# Usage: tests/e2e/clipboard_manager.sh [BUILD_DIR]
set -uo pipefail

BUILD=$(realpath "${1:-build}")
for tool in Xvfb trayer dbus-daemon mate-settings-daemon xdotool xclip xwininfo python3; do
    command -v "$tool" >/dev/null || { echo "clipboard_manager: $tool is missing"; exit 1; }
done
WORK=$(mktemp -d)
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
unset XDG_CONFIG_HOME XDG_DATA_HOME DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY SESSION_MANAGER
export QT_QPA_PLATFORM=xcb
mkdir -p "$HOME/.config/Velmo" "$HOME/.local/share/Velmo" "$WORK/bin" && mkdir -m 700 "$XDG_RUNTIME_DIR"
cp "$BUILD/velmo" "$WORK/bin/velmo"
APP="$WORK/bin/velmo"
REG="$HOME/.config/Velmo/User.reg"
PIDS=()

. "$(dirname "$0")/checks.sh"
trap end_run EXIT
tray_icon() { xwininfo -root -tree | grep -E '^ {6,}0x[0-9a-f]+ .*\("velmo" "Velmo"\)' | awk '{print $1; exit}'; }
menu_open() { xwininfo -root -children | grep -E '\("velmo" "Velmo"\)' | grep -v 'Velmo - ' | awk '{print $1}' |
    while read -r id; do xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && echo "$id"; done | head -1; }
clipboard() { timeout 5 xclip -o -selection clipboard 2>/dev/null; }
# Whether a program owns the CLIPBOARD_MANAGER selection: the clipboard
# manager that Qt asks to take the clipboard over.
manager_running() {
    python3 - <<'EOF'
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGetSelectionOwner.restype = ctypes.c_ulong
d = x.XOpenDisplay(None)
sys.exit(0 if d and x.XGetSelectionOwner(d, x.XInternAtom(d, b"CLIPBOARD_MANAGER", 0)) else 1)
EOF
}

# Options as a save leaves them: the window shows at start, no signature file.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n' >"$REG"
{
    printf '"Program Values"=" 8 0 1 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1"\r\n'
    printf '"Fixed width"="60"\r\n"Top text like"="*****************************************"\r\n'
    printf '"Top text repeat"="*"\r\n"Signature width"="60"\r\n'
    printf '"Bottom text like"="*****************************************"\r\n'
    printf '"Bottom text repeat"="*"\r\n"Left text like"="*"\r\n"Indent"="1"\r\n"Right text like"="*"\r\n'
    printf '"Signature File"="%s"\r\n"Variable File"=""\r\n"Fixed text File"=""\r\n' "$WORK/signature.txt"
} >>"$REG"
printf '"Alpha quotation"\r\n"Beta quotation"\r\n"Gamma quotation"\r\n"Delta quotation"\r\n"Epsilon quotation"\r\n' \
    >"$HOME/.local/share/Velmo/Variable.txt"

# --- the display, the notification area and the clipboard manager ---------------------------
start_display 300
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$WORK/bus.addr" 4>"$WORK/bus.pid" ||
    { echo "dbus-daemon did not start"; exit 1; }
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$WORK/bus.addr")
PIDS+=("$(head -1 "$WORK/bus.pid")")
timeout 300 trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --transparent false --tint 0xcccccc --expand true >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
wait_for 10 sh -c 'xwininfo -root -tree | grep -q "(\"panel\" \"trayer\")"' || echo "trayer panel not seen"
GSETTINGS_BACKEND=memory timeout 300 mate-settings-daemon >"$WORK/manager.log" 2>&1 &
PIDS+=($!)
check "mate-settings-daemon is the clipboard manager" wait_for 15 manager_running

# One way out: start Velmo, put the full signature on the clipboard by the
# tray menu, end Velmo by LEAVE (which sets T0 as it acts), and look at the
# clipboard afterwards.
way_out() {  # way_out NAME LEAVE...
    local name=$1
    shift
    # Someone else's text first: only Velmo's end can bring the signature back.
    printf 'not the signature' | timeout 60 xclip -i -selection clipboard
    timeout 60 "$APP" >>"$WORK/app.log" 2>&1 &
    local runner=$!
    PIDS+=($runner)
    wait_for 10 sh -c '[ -n "$('"$(declare -f tray_icon)"'; tray_icon)" ]'
    wait_for 10 sh -c '[ -n "$(xdotool search --onlyvisible --name "^Velmo - " 2>/dev/null)" ]'
    sleep 0.5
    local program
    program=$(pgrep -P "$runner" -x velmo)
    xdotool mousemove --window "$(tray_icon)" 8 8 click 3
    wait_for 5 sh -c '[ -n "$('"$(declare -f menu_open)"'; menu_open)" ]'
    sleep 0.3
    xdotool key l
    sleep 0.3
    xdotool key s
    wait_for 5 sh -c "timeout 5 xclip -o -selection clipboard 2>/dev/null | grep -q quotation"
    local signature
    signature=$(clipboard)
    check "$name: the full signature is on the clipboard" grep -q quotation <<<"$signature"
    local ended=false
    "$@" "$program"
    for _ in $(seq 100); do
        kill -0 "$program" 2>/dev/null || { ended=true; break; }
        sleep 0.02
    done
    local ms=$((($(date +%s%N) - T0) / 1000000))
    echo "figure: $name: ended after $ms ms"
    check "$name: Velmo ends" $ended
    check "$name: within a second" test "$ms" -lt 1000
    wait "$runner"
    check "$name: Velmo returns status 0" test $? = 0
    check "$name: the signature stays on the clipboard" test "$(clipboard)" = "$signature"
}
quit_menu() {
    xdotool mousemove --window "$(tray_icon)" 8 8 click 3
    wait_for 5 sh -c '[ -n "$('"$(declare -f menu_open)"'; menu_open)" ]'
    sleep 0.3
    T0=$(date +%s%N)
    xdotool key q
}
exit_button() {
    local win
    win=$(xdotool search --onlyvisible --name '^Velmo - ' | head -1)
    xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
    sleep 0.3
    T0=$(date +%s%N)
    xdotool key alt+e
}
signal() {  # signal NAME PID
    T0=$(date +%s%N)
    kill -"$1" "$2"
}
way_out "tray menu Quit" quit_menu
way_out "window Exit" exit_button
way_out "SIGTERM" signal TERM
way_out "SIGINT" signal INT

echo "clipboard_manager: $PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
