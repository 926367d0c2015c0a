#!/usr/bin/env bash
# velmo.exe under Wine on Xvfb with trayer: from start to the window shown
# and to the icon docked, and resident memory 3 s later, over five starts.
#   scripts/measure-windows.sh [BUILD]   (after scripts/test-windows.sh booted BUILD/wineprefix)
set -u
cd "$(dirname "$0")/.."
BUILD=$(realpath "${1:-build-win}")
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=d;mshtml=d"
[ -d "$WINEPREFIX" ] || { echo "no booted prefix: run scripts/test-windows.sh first"; exit 1; }
. tests/e2e/checks.sh
WORK=$(mktemp -d)
PIDS=()
trap 'wineserver -k >/dev/null 2>&1; end_run' EXIT
RUN="$WORK/run"
mkdir -p "$RUN"
cp "$BUILD/velmo.exe" "$RUN/"
printf '"Anna M\xfcller"\r\n' >"$RUN/Fixed.fxt"
printf '"One"\r\n"Two"\r\n' >"$RUN/Variable.txt"
start_display 300
trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    >/dev/null 2>&1 &
PIDS+=($!)
wait_for 10 sh -c 'xwininfo -root -tree | grep -q "(\"panel\" \"trayer\")"'
# The X11 driver, a server that has read it, and its desktop started.
wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f </dev/null >/dev/null 2>&1
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
wine reg delete 'HKCU\SOFTWARE\Velmo' /f </dev/null >/dev/null 2>&1
wine reg add 'HKCU\SOFTWARE\Velmo\User\Freeware' /v "Program Values" \
    /d " 5 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1" /f </dev/null >/dev/null 2>&1
ms() { echo $((($(date +%s%N) - $1) / 1000000)); }
for i in 1 2 3 4 5; do
    t0=$(date +%s%N)
    wine "$RUN/velmo.exe" </dev/null >/dev/null 2>&1 &
    window="" icon=""
    while [ -z "$window" ] || [ -z "$icon" ]; do
        tree=$(xwininfo -root -tree 2>/dev/null)
        [ -z "$window" ] && grep -q '"Velmo - 1.00"' <<<"$tree" && window=$(ms "$t0")
        [ -z "$icon" ] && awk '/\("panel" "trayer"\)/ { inside = 1; next } inside' <<<"$tree" |
            grep -Eq ' (1[6-9]|2[0-9])x(1[6-9]|2[0-9])\+' && icon=$(ms "$t0")
        [ "$(ms "$t0")" -gt 15000 ] && break
        sleep 0.01
    done
    sleep 3
    rss=$(ps -o rss= -p "$(pgrep -f "^$RUN/velmo.exe" | head -1)")
    echo "start $i: window shown ${window:-never} ms, icon ${icon:-never} ms, resident $((rss / 1024)) MiB"
    wine taskkill /f /im velmo.exe </dev/null >/dev/null 2>&1
    sleep 3
done
