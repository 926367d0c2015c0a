#!/usr/bin/env bash
# Profiles through the real programs: a named profile leaves every file of
# the default one as it was; a name that is no profile name is refused with
# one line and status 2 before anything is made; two profiles run side by
# side, each with its icon, its window, its signature file and its schedule
# (the clocks sped up sixty times with libfaketime), and a second start of
# one of them is refused while the other starts.
# Usage: tests/e2e/profiles.sh [BUILD_DIR] [SHOTS_DIR]
set -uo pipefail

BUILD=$(realpath "${1:-build}")
SHOTS=$(realpath -m "${2:-$BUILD/profile-shots}")
mkdir -p "$SHOTS"
WORK=$(mktemp -d)
export HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/run"
unset XDG_CONFIG_HOME XDG_DATA_HOME DBUS_SESSION_BUS_ADDRESS
export QT_QPA_PLATFORM=xcb
CONFIG="$HOME/.config/Velmo" DATA="$HOME/.local/share/Velmo"
mkdir -p "$CONFIG" "$DATA" "$HOME/.config/autostart" "$WORK/bin" && mkdir -m 700 "$XDG_RUNTIME_DIR"
cp "$BUILD/velmo" "$BUILD/velmo-signature" "$WORK/bin/"
APP="$WORK/bin/velmo" SIGN="$WORK/bin/velmo-signature"

PIDS=()
. "$(dirname "$0")/checks.sh"
trap end_run EXIT
on_failure() { [ -s "$WORK/err" ] && sed 's/^/    | /' "$WORK/err" | head -5; rm -f "$WORK/err"; }
alive() { kill -0 "$1" 2>/dev/null; }
ended() { ! alive "$1"; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
# The visible window whose whole caption is $1.
window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1; }
has_window() { [ -n "$(window "$1")" ]; }
# Icons are windows of ours nested in the tray's panel.
tray_icons() {
    local panel
    panel=$(xwininfo -root -tree 2>/dev/null | grep -F '("panel" "trayer")' | awk '{print $1; exit}')
    [ -n "$panel" ] && xwininfo -id "$panel" -tree 2>/dev/null | grep -F '("velmo" "Velmo")' | awk '{print $1}'
}
icon_count() { [ "$(tray_icons | wc -l)" = "$1" ]; }
# A message box of ours: a visible window titled "Velmo".
message_box() {
    local icons
    icons=$(tray_icons | xargs -r printf '%d\n')
    xdotool search --onlyvisible --name '^Velmo$' 2>/dev/null | grep -v -x -F "${icons:-none}" | head -1
}
has_message_box() { [ -n "$(message_box)" ]; }
inode() { stat -c %i "$1" 2>/dev/null; }

# settings FILE PROGRAM_VALUES SIGNATURE_FILE: options as a save leaves them.
settings() {
    mkdir -p "$(dirname "$1")"
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
        printf '"Program Values"="%s"\r\n"Fixed width"="60"\r\n"Signature width"="60"\r\n' "$2"
        printf '"Signature File"="%s"\r\n"Variable File"=""\r\n"Fixed text File"=""\r\n' "$3"
    } >"$1"
}
# texts FOLDER WORD: a fixed text and a quote list that name WORD.
texts() {
    mkdir -p "$1"
    printf '"%s Person"\r\n"%s Ltd."\r\n' "$2" "$2" >"$1/Fixed.fxt"
    printf '"%s quotation %s"\r\n' "$2" 1 "$2" 2 "$2" 3 >"$1/Variable.txt"
}
# start NAME COMMAND...: runs COMMAND in the background, its id in NAME.
start() {
    local -n pid=$1
    shift
    timeout 300 "$@" >>"$WORK/app.log" 2>&1 &
    pid=$!
    PIDS+=("$pid")
}
stop() {
    kill "$1" 2>/dev/null
    wait "$1" 2>/dev/null
}
# Every file and folder under HOME: type, mode and path, and for a file its
# size, modification time and contents' hash.
snapshot() {
    (cd "$HOME" && find . -printf '%y %m %p\n' -type f -printf 'F %p %s %T@\n' \
        -exec sha256sum {} + | sort)
}

start_display 600
wait_for 10 xdpyinfo >/dev/null 2>&1
# A window manager, for the captions in the pictures.
timeout 600 openbox >"$WORK/openbox.log" 2>&1 &
PIDS+=($!)
timeout 600 trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --transparent false --tint 0xcccccc --expand true >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
wait_for 10 sh -c 'xwininfo -root -tree | grep -q "(\"panel\" \"trayer\")"' || echo "trayer panel not seen"
sleep 0.5

# --- the default profile is left as it was ----------------------------------------------------
# Its files as a user has them: options with a bordered signature to a file,
# the texts, an autostart entry, and what a run of the program itself adds.
DEFAULT_SIG="$HOME/signature.txt"
settings "$CONFIG/User.reg" " 5 0 1 1 1 0 0 1 0 0 0 0 0 0-1 0 0 0 1 1" "$DEFAULT_SIG"
texts "$DATA" Default
printf '[Desktop Entry]\nType=Application\nName=Velmo\nExec=%s\nIcon=velmo\nX-GNOME-Autostart-enabled=true\n' \
    "$APP" >"$HOME/.config/autostart/velmo.desktop"
start VELMO "$APP"
check "default: the window shows at start" wait_for 10 has_window 'Velmo - 1\.00'
check "default: the signature file is written" wait_for 10 grep -q "Default quotation" "$DEFAULT_SIG"
stop "$VELMO"
"$SIGN" --entry 1 >"$WORK/default-before.txt"
snapshot >"$WORK/before"

start VELMO "$APP" --profile work
check "work: the window's caption names the profile" wait_for 10 has_window 'Velmo \(work\) - 1\.00'
check "work: its settings are made in its own folder" wait_for 10 test -s "$CONFIG/profiles/work/User.reg"
check "work: no default window beside it" sh -c '! xdotool search --name "^Velmo - " >/dev/null 2>&1'
# The icon's tooltip names the profile: the mouse moved within the icon, as
# Qt shows a tooltip after moves there (not under faketime, which would
# hide it at once).
check "work: its icon in the notification area" wait_for 10 icon_count 1
for xy in "5 5" "9 9" "11 11"; do
    xdotool mousemove --window "$(tray_icons | head -1)" $xy
    sleep 0.3
done
sleep 2
timeout 10 import -window root -crop 500x80+780+0 +repage "$SHOTS/tooltip.png"
xdotool mousemove 600 600
stop "$VELMO"
check "work: velmo-signature prints its signature" sh -c "'$SIGN' --profile work >'$WORK/work.txt' && test -s '$WORK/work.txt'"
check "work: the quotation is from its own sample list" \
    sh -c "! grep -q 'Default' '$WORK/work.txt' && grep -q '[a-z]' '$WORK/work.txt'"
check "--list-profiles names the profile" sh -c "[ \"\$('$SIGN' --list-profiles)\" = work ]"
check "default: velmo-signature prints the default signature" \
    sh -c "'$SIGN' >'$WORK/default.txt' && grep -q 'Default Person' '$WORK/default.txt'"
check "default: the same settings as before" cmp -s "$WORK/default-before.txt" <("$SIGN" --entry 1)
snapshot >"$WORK/after"
comm -23 "$WORK/before" "$WORK/after" >"$WORK/err"
check "default: every file and folder byte for byte and time as before" test ! -s "$WORK/err"
# New lines: the profile's own files, and the folders that hold them.
comm -13 "$WORK/before" "$WORK/after" | grep -v -E '^[dfF] [0-9 ]*\./\.(config|local/share)/Velmo/profiles(/work)?(/|$)' |
    grep -v -E '^[0-9a-f]{64}  \./\.(config|local/share)/Velmo/profiles/work/' >"$WORK/err"
check "nothing new outside profiles/work/" test ! -s "$WORK/err"

# --- names that are no profile names ----------------------------------------------------------
LONG=$(printf 'a%.0s' $(seq 65))
NAMES=(.. a/b "" $'new\nline' "$LONG" .x x. nul)
LABELS=(.. a/b empty "a newline" "65 characters" .x x. nul)
snapshot >"$WORK/before"
# refused PROGRAM ARGUMENT...: status 2, nothing printed, one whole line on stderr.
refused() {
    timeout 10 "$@" >"$WORK/out" 2>"$WORK/err"
    local status=$?
    [ "$status" = 2 ] && [ ! -s "$WORK/out" ] && [ "$(wc -l <"$WORK/err")" = 1 ] &&
        [ "$(awk 'END { print NR }' "$WORK/err")" = 1 ] ||
        { echo "    | status $status, stderr $(wc -l <"$WORK/err") lines"; return 1; }
}
for program in "$APP" "$SIGN"; do
    for i in "${!NAMES[@]}"; do
        check "$(basename "$program") --profile ${LABELS[$i]}: refused" refused "$program" --profile "${NAMES[$i]}"
        check "$(basename "$program") --profile=${LABELS[$i]}: refused" refused "$program" "--profile=${NAMES[$i]}"
    done
    # Like every other option misused: status 2 and the usage hint.
    check "$(basename "$program") --profile without a name: status 2" \
        sh -c '"$0" --profile >/dev/null 2>&1; [ $? = 2 ]' "$program"
done
unchanged() { snapshot | cmp -s - "$WORK/before"; }
check "a refused name makes nothing under HOME" unchanged
# 64 characters is a name: a profile without settings, which printing does not make.
MAX=${LONG:1}
"$SIGN" --profile "$MAX" >"$WORK/out" 2>"$WORK/err"
STATUS=$?
check "64 characters: a name, told it has no settings yet" \
    sh -c "[ $STATUS = 1 ] && grep -q 'has no settings yet' '$WORK/err'"
check "velmo-signature makes no profile" test ! -e "$CONFIG/profiles/$MAX" -a ! -e "$DATA/profiles/$MAX"

# --- two profiles side by side ----------------------------------------------------------------
# Plain signatures to a file, the window shown at start; work changes every
# 5 minutes, home every 15: 5 and 15 seconds with the clock sped up.
WORK_SIG="$HOME/work-signature.txt" HOME_SIG="$HOME/home-signature.txt"
settings "$CONFIG/profiles/work/User.reg" " 1 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1" "$WORK_SIG"
settings "$CONFIG/profiles/home/User.reg" " 2 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1" "$HOME_SIG"
texts "$DATA/profiles/work" Work
texts "$DATA/profiles/home" Home
start WORK_PID faketime -f "+0 x60" "$APP" --profile work
check "work: the window shows" wait_for 10 has_window 'Velmo \(work\) - 1\.00'
# The other profile and a second copy of the first, started together.
start HOME_PID faketime -f "+0 x60" "$APP" --profile home
start SECOND "$APP" --profile work
check "home: the window shows beside work's" wait_for 10 has_window 'Velmo \(home\) - 1\.00'
check "work again: refused with a message" wait_for 10 has_message_box
sleep 0.3
timeout 10 import -window root "$SHOTS/second-start.png"
xdotool windowfocus "$(message_box)" 2>/dev/null
xdotool key Return
check "work again: the refused copy ends" wait_for 10 ended "$SECOND"
wait "$SECOND"
check "work again: with status 0" test $? = 0
check "work and home both still run" sh -c "kill -0 $WORK_PID && kill -0 $HOME_PID"
check "two icons in the notification area" wait_for 10 icon_count 2
check "work's signature file: its own texts" wait_for 10 sh -c \
    "grep -q 'Work Person' '$WORK_SIG' && grep -q 'Work quotation' '$WORK_SIG' && ! grep -q Home '$WORK_SIG'"
check "home's signature file: its own texts" wait_for 10 sh -c \
    "grep -q 'Home Person' '$HOME_SIG' && grep -q 'Home quotation' '$HOME_SIG' && ! grep -q Work '$HOME_SIG'"

# The two windows apart, for the picture; then a tooltip on one icon.
WIN_WORK=$(window 'Velmo \(work\) - 1\.00') WIN_HOME=$(window 'Velmo \(home\) - 1\.00')
xdotool windowmove "$WIN_WORK" 10 40 windowmove "$WIN_HOME" 640 40
sleep 0.5
timeout 10 import -window root "$SHOTS/two-profiles.png"

# "Start with the desktop" in work's window: an entry that starts work, and
# the default profile's entry left as it was.
cp "$HOME/.config/autostart/velmo.desktop" "$WORK/default.desktop"
xdotool mousemove --window "$WIN_WORK" 25 442 click 1
ENTRY="$HOME/.config/autostart/velmo-work.desktop"
check "work: Start with the desktop writes velmo-work.desktop" wait_for 5 test -s "$ENTRY"
check "work: the entry starts this profile" sh -c \
    "grep -qx 'Exec=$APP --profile work' '$ENTRY' && grep -qx 'Name=Velmo (work)' '$ENTRY'"
check "work: the default profile's entry untouched" cmp -s "$WORK/default.desktop" "$HOME/.config/autostart/velmo.desktop"
# Each file's changes for 21 seconds: work about every 5, home about every 15.
changes() {  # changes FILE SECONDS: how many times FILE was replaced
    local count=0 last now end=$((SECONDS + $2))
    last=$(inode "$1")
    while [ "$SECONDS" -lt "$end" ]; do
        sleep 0.1
        now=$(inode "$1")
        [ "$now" != "$last" ] && count=$((count + 1)) && last=$now
    done
    echo "$count"
}
changes "$WORK_SIG" 21 >"$WORK/work-changes" &
changes "$HOME_SIG" 21 >"$WORK/home-changes"
wait $!
WC=$(cat "$WORK/work-changes") HC=$(cat "$WORK/home-changes")
echo "figure: in 21 s (21 minutes on the programs' clocks) work's file changed $WC times, home's $HC"
check "work: its file changes every 5 minutes" test "$WC" -ge 3 -a "$WC" -le 6
check "home: its file changes every 15 minutes" test "$HC" -ge 1 -a "$HC" -le 2
stop "$WORK_PID"
check "work ended, home runs on" alive "$HOME_PID"
check "one icon left, home's" wait_for 10 icon_count 1
stop "$HOME_PID"

# Only folders with settings are profiles; hidden or odd names are not.
mkdir -p "$CONFIG/profiles/stray" "$CONFIG/profiles/.hidden" "$CONFIG/profiles/odd name"
cp "$CONFIG/profiles/work/User.reg" "$CONFIG/profiles/.hidden/"
cp "$CONFIG/profiles/work/User.reg" "$CONFIG/profiles/odd name/"
check "--list-profiles: the profiles with settings, sorted" \
    sh -c "[ \"\$('$SIGN' --list-profiles)\" = \"\$(printf 'home\nwork')\" ]"

echo "profiles: $PASS passed, $FAIL failed (screenshots in $SHOTS)"
[ "$FAIL" -eq 0 ]
