#!/usr/bin/env bash
# End-to-end test of the window and the task bar: Xvfb, a window manager
# (openbox, then xfwm4) and an xfce4-panel with a notification area and a task
# list, on a private session bus. The task list puts a button on the panel for
# each window it lists, and tells the window where (_NET_WM_ICON_GEOMETRY);
# xmessage windows are the controls that get one. Screenshots of the panel
# are counted in buttons, too.
# Usage: tests/e2e/xfce_panel.sh [BUILD_DIR] [SHOTS_DIR]
set -uo pipefail

# The panel reads its settings from xfconfd, which the session bus starts.
# Each window manager gets a desktop and a session of its own: under openbox
# (LXQt's) the window's own request is what keeps it off the task list;
# xfwm4 marks a utility window to be skipped by itself, and the request must
# not undo that.
if [ -z "${VELMO_XFCE_WM:-}" ]; then
    command -v dbus-run-session >/dev/null || { echo "xfce_panel: dbus-run-session is missing"; exit 1; }
    rc=0
    for wm in openbox xfwm4; do
        WORK=$(mktemp -d)
        (
            export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run" XDG_CONFIG_HOME="$WORK/config"
            export VELMO_XFCE_WM=$wm VELMO_XFCE_WORK="$WORK"
            unset XDG_DATA_HOME WAYLAND_DISPLAY SESSION_MANAGER
            mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
            exec timeout 100 dbus-run-session -- "$0" "$@"
        ) || rc=1
        # xfconfd, started by the bus, may still be saving into the folder.
        for _ in 1 2 3 4 5; do rm -rf "$WORK" 2>/dev/null && break; sleep 0.5; done
    done
    exit $rc
fi
WM=$VELMO_XFCE_WM

BUILD=$(realpath "${1:-build}")
SHOTS=$(realpath -m "${2:-$BUILD/xfce-shots}")/$WM
mkdir -p "$SHOTS"
for tool in Xvfb gdbus "$WM" xfce4-panel xmessage xdotool xprop xwininfo import /usr/bin/convert; do
    command -v "$tool" >/dev/null || { echo "xfce_panel: $tool is missing"; exit 1; }
done
WORK=$VELMO_XFCE_WORK
export QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1
mkdir -p "$HOME/.config/Velmo" "$HOME/.local/share/Velmo" "$WORK/bin"
cp "$BUILD/velmo" "$WORK/bin/velmo"
APP="$WORK/bin/velmo"
SIG="$WORK/signature.txt"
REG="$HOME/.config/Velmo/User.reg"

PIDS=()
. "$(dirname "$0")/checks.sh"
# The folder itself goes when the session has ended.
end_session() { WORK=/nonexistent end_run; }
trap end_session EXIT

# Options as a save leaves them: the window shows at start.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n' >"$REG"
{
    printf '"Program Values"=" 8 0 1 1 0 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1"\r\n'
    printf '"Fixed width"="60"\r\n"Signature File"="%s"\r\n"Variable File"=""\r\n' "$SIG"
} >>"$REG"
printf '"Alpha quotation"\r\n"Beta quotation"\r\n' >"$HOME/.local/share/Velmo/Variable.txt"

# One panel along the bottom edge: the notification area, where the icon
# stays in one place, then the task list, each window its own button.
PANEL_Y=770
PANEL_H=30
ICON_X=20
mkdir -p "$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
cat >"$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml" <<EOF
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=8;x=640;y=$((PANEL_Y + PANEL_H / 2))"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="$PANEL_H"/>
      <property name="icon-size" type="uint" value="16"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
        <value type="int" value="2"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray">
      <property name="square-icons" type="bool" value="true"/>
    </property>
    <property name="plugin-2" type="string" value="tasklist">
      <property name="grouping" type="uint" value="0"/>
    </property>
  </property>
</channel>
EOF

alive() { kill -0 "$1" 2>/dev/null; }
gone() { ! alive "$1"; }
window() { xdotool search --onlyvisible --name '^Velmo - ' 2>/dev/null | head -1; }
shown() { [ -n "$(window)" ]; }
hidden() { ! shown; }
state() { xprop -id "$1" _NET_WM_STATE 2>/dev/null; }
skips_task_bar() { state "$1" | grep -q '_NET_WM_STATE_SKIP_TASKBAR'; }
skips_pager() { state "$1" | grep -q '_NET_WM_STATE_SKIP_PAGER'; }
listed() { xprop -id "$1" _NET_WM_ICON_GEOMETRY 2>/dev/null | grep -q '= [0-9]'; }
not_listed() { ! listed "$1"; }
# The task list's button of a window: x, y, width, height.
button_of() { xprop -id "$1" _NET_WM_ICON_GEOMETRY 2>/dev/null | sed -n 's/.*= //p' | tr -d ' '; }
# The icon in the notification area: an item the panel took (StatusNotifier),
# where a click on the icon activates it.
items() { timeout 5 gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
    --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher RegisteredStatusNotifierItems 2>/dev/null; }
registered() { items | grep -q StatusNotifierItem; }
# Or a window of Velmo's nested in the panel (XEmbed): the panel offers both,
# and which one Velmo, started first, finds first is a race.
# grep reads to the end: an early exit would fail the pipe (pipefail).
embedded() { xwininfo -root -tree | grep -E '^ {6,}0x[0-9a-f]+ .*\("velmo" "Velmo"\)' >/dev/null; }
hosted() { registered || embedded; }
# A click activates a StatusNotifier item; an XEmbed icon takes a double-click.
# The pointer leaves afterwards: the icon's tooltip would cover the desktop.
click_icon() {
    local clicks=1
    registered || clicks=2
    xdotool mousemove "$ICON_X" $((PANEL_Y + PANEL_H / 2)) click --repeat "$clicks" --delay 80 1 \
        sleep 0.2 mousemove 1200 400
}
shot_panel() {
    timeout 10 import -window root "$WORK/screen.png" 2>/dev/null &&
        /usr/bin/convert "$WORK/screen.png" -crop "1280x$((PANEL_H + 30))+0+$((PANEL_Y - 30))" +repage "$SHOTS/$1"
}
# How many buttons wide the task list's content is, in widths of the control's
# button: the screenshot's part from the task list's left end, trimmed of the
# panel's plain background.
buttons_drawn() {
    local w
    IFS=, read -r _ _ w _ <<<"$(button_of "$CONTROL")"
    [ -n "$w" ] || { echo 0; return; }
    /usr/bin/convert "$SHOTS/$1" -crop "$((1280 - TASK_LIST_X))x$((PANEL_H - 6))+$TASK_LIST_X+33" +repage \
        -fuzz 8% -trim -format '%X %w\n' info: |
        awk -v w="$w" '{ printf "%d\n", ($1 + $2 + w / 2) / w }'
}
on_failure() {
    echo "    Velmo's window $VELMO_WIN: $(state "$VELMO_WIN" | tr '\n' ' ')"
    echo "    control's button: $(button_of "$CONTROL"), Velmo's: $(button_of "$VELMO_WIN")"
}

# --- the display and the window manager ------------------------------------------------------
start_display 100
wait_for 10 xdpyinfo >/dev/null 2>&1
case $WM in
    xfwm4) timeout 100 xfwm4 --compositor=off >"$WORK/wm.log" 2>&1 & ;;
    *) timeout 100 "$WM" >"$WORK/wm.log" 2>&1 & ;;
esac
PIDS+=($!)
wait_for 15 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || echo "$WM not seen"

# --- Velmo without a notification area: on the task bar -------------------------------------
timeout 100 xmessage -geometry +40+60 "control window" >/dev/null 2>&1 &
PIDS+=($!)
wait_for 10 sh -c '[ -n "$(xdotool search --onlyvisible --name "^xmessage$" 2>/dev/null)" ]'
CONTROL=$(xdotool search --onlyvisible --name '^xmessage$' | head -1)
timeout 100 "$APP" >"$WORK/app.log" 2>&1 &
VELMO=$!
PIDS+=($VELMO)
check "window shown at start" wait_for 10 shown
VELMO_WIN=$(window)
check "no notification area: the window does not ask to skip the task bar" sh -c "! xprop -id $VELMO_WIN _NET_WM_STATE | grep -q SKIP_TASKBAR"

# --- the panel comes: the window keeps its button until it is hidden --------------------------
timeout 100 xfce4-panel >"$WORK/panel.log" 2>&1 &
PIDS+=($!)
check "panel: the control window has a task button" wait_for 20 listed "$CONTROL"
check "no notification area at the show: the window has a task button" wait_for 10 listed "$VELMO_WIN"
check "icon in the panel's notification area" wait_for 10 hosted
echo "figure: the icon is hosted as $(registered && echo a StatusNotifier item || echo an XEmbed icon)"
# The task list starts at its leftmost button.
TASK_LIST_X=$( (button_of "$CONTROL"; button_of "$VELMO_WIN") | cut -d, -f1 | sort -n | head -1)
TASK_LIST_X=${TASK_LIST_X:-0}
sleep 0.5
shot_panel panel_listed.png
LISTED=$(buttons_drawn panel_listed.png)
echo "figure: buttons drawn with Velmo's window listed: $LISTED"
check "panel picture: two buttons, the control's and Velmo's" test "$LISTED" = 2

# --- hidden and shown again from the icon, now with a notification area ----------------------
click_icon
check "a click on the icon hides the window" wait_for 5 hidden
# The task list marks each window it lists; Velmo's mark is cleared to see whether it comes back.
xprop -id "$VELMO_WIN" -remove _NET_WM_ICON_GEOMETRY
sleep 0.8  # not a double-click
click_icon
check "a second click shows it again" wait_for 5 shown
VELMO_WIN=$(window)
check "shown with a notification area: asks to skip the task bar" wait_for 5 skips_task_bar "$VELMO_WIN"
check "shown with a notification area: asks to skip the pager" skips_pager "$VELMO_WIN"
# A window mapped after Velmo's: once the task list has placed its button, it
# would have placed one for Velmo too.
timeout 100 xmessage -geometry +40+200 "second control" >/dev/null 2>&1 &
PIDS+=($!)
wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^xmessage$" 2>/dev/null | wc -l)" -ge 2 ]'
SECOND=$(xdotool search --onlyvisible --name '^xmessage$' | grep -v "^$CONTROL\$" | head -1)
check "a control window mapped later has a task button" wait_for 10 listed "$SECOND"
check "shown with a notification area: no task button for the window" not_listed "$VELMO_WIN"
sleep 0.5
timeout 10 import -window root "$SHOTS/screen_skipped.png" 2>/dev/null
shot_panel panel_skipped.png
SKIPPED=$(buttons_drawn panel_skipped.png)
echo "figure: buttons drawn with Velmo's window shown off the task bar: $SKIPPED"
check "panel picture: the two control buttons only" test "$SKIPPED" = 2
kill -TERM "$VELMO"
check "SIGTERM ends the program" wait_for 10 gone "$VELMO"

# --- a start while the notification area is there ---------------------------------------------
timeout 100 "$APP" >>"$WORK/app.log" 2>&1 &
VELMO=$!
PIDS+=($VELMO)
check "start with a notification area: window shown" wait_for 10 shown
VELMO_WIN=$(window)
check "start with a notification area: asks to skip the task bar" wait_for 5 skips_task_bar "$VELMO_WIN"
timeout 100 xmessage -geometry +40+340 "third control" >/dev/null 2>&1 &
PIDS+=($!)
wait_for 10 sh -c '[ "$(xdotool search --onlyvisible --name "^xmessage$" 2>/dev/null | wc -l)" -ge 3 ]'
THIRD=$(xdotool search --onlyvisible --name '^xmessage$' | grep -v -e "^$CONTROL\$" -e "^$SECOND\$" | head -1)
check "start with a notification area: a later control has a task button" wait_for 10 listed "$THIRD"
check "start with a notification area: no task button for the window" not_listed "$VELMO_WIN"
sleep 0.5
shot_panel panel_start.png
STARTED=$(buttons_drawn panel_start.png)
echo "figure: buttons drawn after a start with a notification area: $STARTED"
check "panel picture: the three control buttons only" test "$STARTED" = 3
kill -TERM "$VELMO"
wait_for 10 gone "$VELMO"

echo "xfce_panel, $WM: $PASS passed, $FAIL failed (screenshots in $SHOTS)"
[ "$FAIL" -eq 0 ]
