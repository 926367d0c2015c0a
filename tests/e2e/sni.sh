#!/usr/bin/env bash
# End-to-end test of the tray on a StatusNotifier desktop: a private session
# bus, status-notifier-watcher and the gtk-sni-tray-standalone panel on Xvfb,
# driven with gdbus and xdotool. Then a short run under a headless Wayland
# compositor, skipped with a note where weston or Qt's Wayland plugin is missing.
# Usage: tests/e2e/sni.sh [BUILD_DIR] [SHOTS_DIR]
set -uo pipefail

BUILD=$(realpath "${1:-build}")
SHOTS=$(realpath -m "${2:-$BUILD/sni-shots}")
mkdir -p "$SHOTS"
for tool in Xvfb dbus-daemon gdbus status-notifier-watcher gtk-sni-tray-standalone xdotool xprop xwininfo import; do
    command -v "$tool" >/dev/null || { echo "sni: $tool is missing"; exit 1; }
done
WORK=$(mktemp -d)
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
unset XDG_CONFIG_HOME XDG_DATA_HOME WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1
mkdir -p "$HOME/.config/Velmo" "$HOME/.local/share/Velmo" "$WORK/bin" "$HOME/.local/share/icons" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# The icon theme's files as an installation puts them, in the user's own data folder.
cp -r "$BUILD/icons/hicolor" "$HOME/.local/share/icons/"
cp "$BUILD/velmo" "$WORK/bin/velmo"
APP="$WORK/bin/velmo"
SIG="$WORK/signature.txt"
REG="$HOME/.config/Velmo/User.reg"

PIDS=()
cleanup() {
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null; done
    [ -s "$WORK/bus.pid" ] && kill "$(cat "$WORK/bus.pid")" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

. "$(dirname "$0")/checks.sh"
alive() { kill -0 "$1" 2>/dev/null; }
gone() { ! alive "$1"; }
inode() { stat -c %i "$SIG" 2>/dev/null; }
shown() { [ -n "$(xdotool search --onlyvisible --name '^Velmo - ' 2>/dev/null)" ]; }
hidden() { ! shown; }

# Options as a save leaves them; $1 is 1 for a start in the notification area.
write_options() {
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n' >"$REG"
    {
        printf '"Program Values"=" 8 0 1 1 0 %s 0 1 0 0 0 0 0 0-1 0 0 0 1 1"\r\n' "$1"
        printf '"Fixed width"="60"\r\n"Signature File"="%s"\r\n"Variable File"=""\r\n' "$SIG"
    } >>"$REG"
}
printf '"Alpha quotation"\r\n"Beta quotation"\r\n"Gamma quotation"\r\n"Delta quotation"\r\n' \
    >"$HOME/.local/share/Velmo/Variable.txt"

# --- the display and a private session bus ---------------------------------------------------
start_display 600
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$WORK/bus.addr" 4>"$WORK/bus.pid" ||
    { echo "dbus-daemon did not start"; exit 1; }
DBUS_SESSION_BUS_ADDRESS=$(head -1 "$WORK/bus.addr")
export DBUS_SESSION_BUS_ADDRESS

WATCHER_CALL=(gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher)
watcher_prop() { timeout 5 "${WATCHER_CALL[@]}" --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher "$1" 2>/dev/null; }
host_registered() { watcher_prop IsStatusNotifierHostRegistered | grep -q true; }
# The bus name of the first registered item, e.g. :1.8.
item() { watcher_prop RegisteredStatusNotifierItems | grep -o "':[0-9.]*" | head -1 | tr -d "'"; }
registered() { [ -n "$(item)" ]; }
unregistered() { ! registered; }
prop() { timeout 5 gdbus call --session --dest "$ITEM" --object-path /StatusNotifierItem \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierItem "$1" 2>/dev/null; }
activate() { timeout 5 gdbus call --session --dest "$ITEM" --object-path /StatusNotifierItem \
    --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null 2>&1; }
layout() { timeout 5 gdbus call --session --dest "$ITEM" --object-path "$MENU" \
    --method com.canonical.dbusmenu.GetLayout -- 0 -1 '[]' 2>/dev/null; }
# The id and the properties of the menu item with this label.
menu_entry() { layout | grep -o "([0-9]*, {[^}]*'label': <'$1'>[^}]*}"; }
menu_id() { menu_entry "$1" | grep -o '^([0-9]*' | tr -d '('; }
menu_visible() { ! menu_entry "$1" | grep -q "'visible': <false>"; }
menu_hidden() { ! menu_visible "$1"; }
click_item() { timeout 5 gdbus call --session --dest "$ITEM" --object-path "$MENU" \
    --method com.canonical.dbusmenu.Event -- "$1" clicked '<int32 0>' 0 >/dev/null 2>&1; }

start_panel() {
    timeout 600 status-notifier-watcher >>"$WORK/watcher.log" 2>&1 &
    WATCHER=$!
    PIDS+=($WATCHER)
    wait_for 10 watcher_prop ProtocolVersion >/dev/null || echo "watcher not seen"
    timeout 600 gtk-sni-tray-standalone --top --end -s 32 -c '#cccccc' >>"$WORK/host.log" 2>&1 &
    HOST=$!
    PIDS+=($HOST)
    wait_for 10 host_registered || echo "panel not registered as a host"
}
stop_panel() {
    kill "$HOST" "$WATCHER" 2>/dev/null
    wait "$HOST" "$WATCHER" 2>/dev/null
}
start_velmo() {
    timeout 600 "$APP" >>"$WORK/app.log" 2>&1 &
    VELMO=$!
    PIDS+=($VELMO)
}

# --- a start with the window: the item, its menu, activation ----------------------------------
write_options 0
start_panel
start_velmo
check "item registered" wait_for 10 registered
ITEM=$(item)
check "window shown at start" wait_for 10 shown
win_props() { xprop -id "$(xdotool search --onlyvisible --name '^Velmo - ' 2>/dev/null | head -1)" _NET_WM_WINDOW_TYPE _NET_WM_STATE WM_TRANSIENT_FOR 2>/dev/null; }
echo "window with a panel: $(win_props | tr '\n' ' ')"
check "window kept off the task bar while the panel is there" sh -c "$(declare -f win_props); win_props | grep -q _NET_WM_WINDOW_TYPE_UTILITY &&
    win_props | grep -q _NET_WM_STATE_SKIP_TASKBAR"
check "item title is Velmo" sh -c "$(declare -f prop); ITEM=$ITEM; prop Title | grep -q \"'Velmo'\""
check "item has an icon" sh -c "$(declare -f prop); ITEM=$ITEM; p=\$(prop IconPixmap); i=\$(prop IconName); echo \"\$p\$i\" | grep -qE '\(32, 32|[0-9]+, [0-9]+, \[byte|<.[a-z]'"
check "item names the themed icon" sh -c "$(declare -f prop); ITEM=$ITEM; prop IconName | grep -q \"'velmo'\""
MENU=$(prop Menu | grep -o "'/[^']*'" | tr -d "'")
check "menu exported" sh -c "[ -n '$MENU' ] && [ '$MENU' != /NO_DBUSMENU ]"
LAYOUT=$(layout)
for caption in "_Open Window" "_Put on Tray" "_Load Clipboard" "Full _Signature" "_Variable Part" \
    "_Fixed Part" "_Randomize" "_Help" "_Quit"; do
    check "menu lists $caption" sh -c "echo \"\$1\" | grep -qF \"'label': <'$caption'>\"" _ "$LAYOUT"
done
check "window shown: Put on Tray offered, Open Window not" sh -c "$(declare -f layout menu_entry menu_visible menu_hidden); ITEM=$ITEM MENU=$MENU; menu_visible '_Put on Tray' && menu_hidden '_Open Window'"
OPEN_ID=$(menu_id "_Open Window")
activate
check "Activate hides the window" wait_for 5 hidden
check "window hidden: Open Window offered, Put on Tray not" sh -c "$(declare -f layout menu_entry menu_visible menu_hidden); ITEM=$ITEM MENU=$MENU; menu_visible '_Open Window' && menu_hidden '_Put on Tray'"
check "menu item ids stay the same" test "$(menu_id "_Open Window")" = "$OPEN_ID"
activate
check "Activate shows the window" wait_for 5 shown

# A real click on the icon, and the panel's own menu on a right click.
sleep 0.5
timeout 10 import -window root -crop 200x40+1080+0 +repage "$SHOTS/sni_panel.png" 2>/dev/null
xdotool mousemove 1264 16 click 1
check "a real click on the icon hides the window" wait_for 5 hidden
sleep 0.8  # not a double-click
xdotool mousemove 1264 16 click 1
check "a second click shows it again" wait_for 5 shown
xdotool mousemove 1264 16 click 3
sleep 1
timeout 10 import -window root -crop 400x300+880+0 +repage "$SHOTS/sni_menu.png" 2>/dev/null
xdotool key Escape
sleep 0.3

# A panel that asks for the menu over D-Bus gets its answer at once.
context_menu() { timeout 3 gdbus call --session --dest "$ITEM" --object-path /StatusNotifierItem \
    --method org.kde.StatusNotifierItem.ContextMenu 1200 40 >/dev/null; }
check "ContextMenu call answered while the menu is open" context_menu
sleep 0.5
timeout 10 import -window root -crop 400x300+880+0 +repage "$SHOTS/sni_context_menu.png" 2>/dev/null
xdotool key Escape
sleep 0.3

BEFORE=$(inode)
click_item "$(menu_id _Randomize)"
check "menu Randomize rewrites the signature file" wait_for 5 sh -c "[ \"\$(stat -c %i '$SIG')\" != '$BEFORE' ]"
click_item "$(menu_id _Quit)"
check "menu Quit ends the program" wait_for 10 gone "$VELMO"
check "Quit unregisters the item" wait_for 10 unregistered

# --- a start in the notification area: one activation opens the window ------------------------
write_options 1
start_velmo
check "tray start: item registered" wait_for 10 registered
ITEM=$(item)
sleep 0.5
check "tray start: no window" hidden
activate
check "tray start: one Activate opens the window" wait_for 5 shown
kill -TERM "$VELMO"
check "tray start: SIGTERM ends the program" wait_for 10 gone "$VELMO"
stop_panel

# --- a panel that comes after the program -----------------------------------------------------
write_options 1
rm -f "$SIG"
start_velmo
wait_for 10 test -s "$SIG"
check "no panel: the window of a tray start is shown" wait_for 5 shown
echo "window without a panel: $(win_props | tr '\n' ' ')"
check "no panel: the window is on the task bar" sh -c "$(declare -f win_props); win_props | grep -q _NET_WM_WINDOW_TYPE_NORMAL &&
    ! win_props | grep -q _NET_WM_STATE_SKIP_TASKBAR"
start_panel
check "late panel: item registered" wait_for 10 registered
ITEM=$(item)
activate
check "late panel: Activate hides the window" wait_for 5 hidden
kill -TERM "$VELMO"
wait_for 10 gone "$VELMO"
stop_panel

# --- an XEmbed tray that comes after the program ----------------------------------------------
xembed_icon() { xwininfo -root -tree | grep -E '^ {6,}0x[0-9a-f]+ .*\("velmo" "Velmo"\)' | awk '{print $1; exit}'; }
if command -v trayer >/dev/null; then
    start_velmo
    wait_for 10 shown
    timeout 600 trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
        --transparent false --expand true >"$WORK/trayer.log" 2>&1 &
    TRAYER=$!
    PIDS+=($TRAYER)
    check "late XEmbed tray: icon embedded" wait_for 10 sh -c '[ -n "$('"$(declare -f xembed_icon)"'; xembed_icon)" ]'
    sleep 0.5
    ICON=$(xembed_icon)
    [ -n "$ICON" ] && xdotool mousemove --window "$ICON" 8 8 click --repeat 2 --delay 80 1
    check "late XEmbed tray: double-click hides the window" wait_for 5 hidden
    kill -TERM "$VELMO" "$TRAYER"
    wait_for 10 gone "$VELMO"
else
    echo "SKIP  late XEmbed tray: trayer is not installed"
fi

# --- Wayland: a short run under a headless compositor -----------------------------------------
QT_PLUGINS=$(dirname "$(find /usr/lib -path '*qt6/plugins/platforms/libqwayland-generic.so' 2>/dev/null | head -1)")
if ! command -v weston >/dev/null || [ ! -e "$QT_PLUGINS/libqwayland-generic.so" ]; then
    echo "SKIP  Wayland run: weston or qt6-wayland is not installed"
else
    write_options 0
    rm -f "$SIG"
    timeout 120 weston --backend=headless-backend.so --use-pixman --socket=wl-velmo \
        >"$WORK/weston.log" 2>&1 &
    PIDS+=($!)
    if wait_for 10 test -S "$XDG_RUNTIME_DIR/wl-velmo"; then
        (unset DISPLAY; WAYLAND_DISPLAY=wl-velmo QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client \
            exec timeout 60 "$APP" >"$WORK/wayland.log" 2>&1) &
        WL=$!
        PIDS+=($WL)
        check "Wayland: signature written" wait_for 10 test -s "$SIG"
        # The window is a top-level surface with the program's title and a buffer.
        check "Wayland: window shown" wait_for 10 sh -c "grep -q 'set_title(\"Velmo - ' '$WORK/wayland.log' &&
            grep -q 'wl_surface@[0-9]*\.attach(wl_buffer@' '$WORK/wayland.log'"
        check "Wayland: desktop file name set" grep -q 'set_app_id("velmo")' "$WORK/wayland.log"
        kill -TERM "$WL" 2>/dev/null
        wait_for 10 gone "$WL"
    else
        echo "FAIL  Wayland: weston did not start"
        FAIL=$((FAIL + 1))
    fi
fi

echo "sni: $PASS passed, $FAIL failed (screenshots in $SHOTS)"
[ "$FAIL" -eq 0 ]
