#!/usr/bin/env bash
# Builds Velmo, runs the core benchmarks, then measures the real program on a
# virtual display with a notification area (Xvfb + trayer) and headless
# (QT_QPA_PLATFORM=offscreen): start to signature file written, resident
# memory, CPU while idle, and "&Randomize" from the tray menu to the file
# rewritten.
# Usage: scripts/measure.sh
# MEASURE_IDLE_SECONDS: how long the idle CPU use is measured (default 60).
# MEASURE_RUNS: runs behind each median (default 5).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

IDLE=${MEASURE_IDLE_SECONDS:-60}
RUNS=${MEASURE_RUNS:-5}
JOBS=$(nproc 2>/dev/null || echo 2)

echo "== build =="
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake --build build -j "$JOBS" --target velmo || exit 1
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMO_BENCH=ON \
    -DVELMO_BUILD_TESTS=OFF -DVELMO_GUI=OFF >/dev/null || exit 1
cmake --build build-bench -j "$JOBS" --target velmo_bench || exit 1

echo "== core benchmarks =="
build-bench/bench/velmo_bench || exit 1

echo "== the real program =="
for tool in Xvfb trayer xdotool xwininfo xdpyinfo; do
    command -v "$tool" >/dev/null || { echo "missing: $tool"; exit 1; }
done
BINARY=$(realpath build/velmo)
WORK=$(mktemp -d)
unset XDG_CONFIG_HOME XDG_DATA_HOME DBUS_SESSION_BUS_ADDRESS

PIDS=()
VELMO=
cleanup() {
    [ -n "$VELMO" ] && kill -TERM "$VELMO" 2>/dev/null && wait "$VELMO" 2>/dev/null
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null; done
    rm -rf "$WORK"
}
trap cleanup EXIT

# Waiting and timing with shell builtins only: starting a process for every
# poll would cost more than the intervals being measured.
mkfifo "$WORK/pause"
exec {PAUSE}<>"$WORK/pause"
pause() { read -r -t "$1" -u "$PAUSE" _ || true; }
stamp() {  # NOW: microseconds of the wall clock
    NOW=${EPOCHREALTIME//[!0-9]/}
    NOW=$((10#$NOW))
}
wait_for() {  # wait_for SECONDS CMD...: polls every millisecond
    stamp
    local deadline=$((NOW + $1 * 1000000))
    shift
    until "$@"; do
        stamp
        [ "$NOW" -ge "$deadline" ] && return 1
        pause 0.001
    done
}
median_ms() {  # microseconds, one a line -> median in ms
    sort -n | awk '{v[NR] = $1} END {
        if (NR == 0) { print "n/a"; exit }
        m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.1f", m / 1000 }'
}
range_ms() { sort -n | awk 'NR == 1 {lo = $1} {hi = $1} END {if (NR) printf "%.1f-%.1f", lo / 1000, hi / 1000}'; }

# A fresh user: options as a save leaves them with the signature going to a
# file, a 5-minute change interval and the window shown at start; the quote
# list beside a copy of the program.
prepare() {  # prepare NAME [tray]: with "tray", the program starts in the notification area
    DIR="$WORK/$1"
    export HOME="$DIR/home" XDG_RUNTIME_DIR="$DIR/run"
    mkdir -p "$HOME/.config/Velmo" "$DIR/bin" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    cp "$BINARY" "$DIR/bin/velmo"
    APP="$DIR/bin/velmo"
    SIG="$DIR/signature.txt"
    local reg="$HOME/.config/Velmo/User.reg"
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n' >"$reg"
    {
        printf '"Program Values"=" 1 0 1 1 0 %s 0 1 0 0 0 0 0 0-1 0 0 0 1 1"\r\n' "$([ "${2:-}" = tray ] && echo 1 || echo 0)"
        printf '"Fixed width"="60"\r\n"Top text like"="*****************************************"\r\n'
        printf '"Top text repeat"="*"\r\n"Signature width"="60"\r\n'
        printf '"Bottom text like"="*****************************************"\r\n'
        printf '"Bottom text repeat"="*"\r\n"Left text like"="*"\r\n"Indent"="1"\r\n"Right text like"="*"\r\n'
        printf '"Signature File"="%s"\r\n"Variable File"=""\r\n"Fixed text File"=""\r\n' "$SIG"
    } >>"$reg"
    printf '"Alpha quotation"\r\n"Beta quotation"\r\n"Gamma quotation"\r\n"Delta quotation"\r\n"Epsilon quotation"\r\n' \
        >"$DIR/bin/Variable.txt"
}

start_velmo() {
    "$APP" >>"$DIR/app.log" 2>&1 &
    VELMO=$!
}
stop_velmo() {
    kill -TERM "$VELMO" 2>/dev/null
    wait "$VELMO" 2>/dev/null
    VELMO=
}
alive() { kill -0 "$VELMO" 2>/dev/null; }
written() { [ -s "$SIG" ] || ! alive; }

# Start to the signature file written, RUNS times; microseconds one a line in $1.
measure_start() {
    local out=$1 t0 t1
    : >"$out"
    for _ in $(seq "$RUNS"); do
        rm -f "$SIG"
        stamp
        t0=$NOW
        start_velmo
        wait_for 20 written
        stamp
        t1=$NOW
        if [ -s "$SIG" ]; then
            echo $((t1 - t0)) >>"$out"
        else
            echo "no signature file written (see $DIR/app.log)" >&2
        fi
        stop_velmo
    done
}

# Resident memory of the running program, in MiB.
rss_mb() { awk '/^VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$VELMO/status"; }
# CPU time of every thread over the idle window, those that end during it
# included, from perf; without perf only the 10 ms ticks of /proc are left.
ticks() { awk '{print $14 + $15}' "/proc/$VELMO/stat"; }
measure_idle() {  # sets IDLE_CPU and IDLE_SWITCHES
    local k0 k1 ms
    k0=$(ticks)
    if command -v perf >/dev/null &&
        perf stat -x, -e task-clock,context-switches -p "$VELMO" -o "$DIR/perf" -- sleep "$IDLE" 2>/dev/null; then
        # "<not counted>": the program never ran in the window.
        ms=$(awk -F, '$3 == "task-clock" {print ($1 ~ /^[0-9.]+$/ ? $1 : 0)}' "$DIR/perf")
        IDLE_SWITCHES=$(awk -F, '$3 == "context-switches" {print ($1 ~ /^[0-9]+$/ ? $1 : 0)}' "$DIR/perf")
    else
        sleep "$IDLE"
        ms=
        IDLE_SWITCHES=n/a
    fi
    k1=$(ticks)
    IDLE_CPU=$(awk -v ms="$ms" -v s="$IDLE" -v k=$((k1 - k0)) -v hz="$(getconf CLK_TCK)" 'BEGIN {
        if (ms == "") ms = 1000 * k / hz
        printf "%.2f ms (%.4f %% of a core; %d ticks)", ms, ms / 10 / s, k }')
}

# --- on a display with a notification area -------------------------------------------------
prepare xvfb
timeout 3600 Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$WORK/display" \
    >"$WORK/xvfb.log" 2>&1 &
PIDS+=($!)
wait_for 15 test -s "$WORK/display" || { echo "Xvfb did not start"; exit 1; }
DISPLAY=":$(head -1 "$WORK/display")"
export DISPLAY
wait_for 10 sh -c 'xdpyinfo >/dev/null 2>&1'
timeout 3600 trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --transparent false --tint 0xcccccc --expand true >"$WORK/trayer.log" 2>&1 &
PIDS+=($!)
wait_for 10 sh -c 'xwininfo -root -tree | grep -q "(\"panel\" \"trayer\")"' || echo "trayer panel not seen"
sleep 0.5
export QT_QPA_PLATFORM=xcb

# The icon is a window of ours nested in the tray's panel; a pop-up menu is a
# top-level window of ours other than the main window.
tray_icon() { xwininfo -root -tree | grep -E '^ {6,}0x[0-9a-f]+ .*\("velmo" "Velmo"\)' | awk '{print $1; exit}'; }
menu_open() {
    xwininfo -root -children | grep -E '\("velmo" "Velmo"\)' | grep -v 'Velmo - ' | awk '{print $1}' |
        while read -r id; do xwininfo -id "$id" 2>/dev/null | grep -q IsViewable && echo "$id"; done | head -1
}
has_icon() { [ -n "$(tray_icon)" ]; }
rewritten() { ! [ "$SIG" -ef "$DIR/before" ]; }
has_menu() { [ -n "$(menu_open)" ]; }
no_menu() { ! has_menu; }

echo "-- Xvfb + trayer: $RUNS starts"
measure_start "$WORK/xvfb-start"

echo "-- Xvfb + trayer: memory, ${IDLE} s idle, $RUNS randomizes"
start_velmo
wait_for 20 has_icon || { echo "no tray icon (see $DIR/app.log)"; exit 1; }
wait_for 10 test -s "$SIG"
sleep 2
X_RSS=$(rss_mb)
measure_idle
X_IDLE=$IDLE_CPU X_SWITCHES=$IDLE_SWITCHES
TRAY=$(tray_icon)
: >"$WORK/randomize"
: >"$WORK/xdotool"
for _ in $(seq "$RUNS"); do
    xdotool mousemove --window "$TRAY" 8 8 click 3
    wait_for 5 has_menu || { echo "the tray menu did not open"; continue; }
    sleep 0.3
    # A second name for the file as it is: the rewrite is a new file, so the
    # name stops leading to this one (and the link keeps its number from reuse).
    ln -f "$SIG" "$DIR/before"
    stamp
    t0=$NOW
    xdotool key r
    wait_for 5 rewritten
    stamp
    t1=$NOW
    if rewritten; then
        echo $((t1 - t0)) >>"$WORK/randomize"
    else
        echo "the signature file was not rewritten" >&2
    fi
    wait_for 5 no_menu
    sleep 0.3
done
# What starting xdotool itself costs, which the figure above includes.
for _ in $(seq "$RUNS"); do
    stamp
    t0=$NOW
    xdotool getmouselocation >/dev/null
    stamp
    echo $((NOW - t0)) >>"$WORK/xdotool"
done
stop_velmo

# A start in the notification area builds no window until it is opened.
prepare xvfb-tray tray
echo "-- Xvfb + trayer, start in the tray: $RUNS starts, memory"
measure_start "$WORK/tray-start"
start_velmo
wait_for 20 has_icon || { echo "no tray icon (see $DIR/app.log)"; exit 1; }
wait_for 10 test -s "$SIG"
sleep 2
T_RSS=$(rss_mb)
stop_velmo

# --- headless ------------------------------------------------------------------------------
prepare offscreen
export QT_QPA_PLATFORM=offscreen
unset DISPLAY
echo "-- headless: $RUNS starts"
measure_start "$WORK/offscreen-start"
echo "-- headless: memory, ${IDLE} s idle"
start_velmo
wait_for 20 test -s "$SIG" || { echo "no signature file (see $DIR/app.log)"; exit 1; }
sleep 2
H_RSS=$(rss_mb)
measure_idle
H_IDLE=$IDLE_CPU H_SWITCHES=$IDLE_SWITCHES
stop_velmo

# --- the table -----------------------------------------------------------------------------
row() { printf '%-44s | %-40s | %s\n' "$@"; }
echo
echo "== figures ($(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), load average $(cut -d' ' -f1-3 /proc/loadavg)) =="
row "" "Xvfb + trayer" "headless (offscreen)"
row "start to signature file, median of $RUNS (ms)" \
    "$(median_ms <"$WORK/xvfb-start") (range $(range_ms <"$WORK/xvfb-start"))" \
    "$(median_ms <"$WORK/offscreen-start") (range $(range_ms <"$WORK/offscreen-start"))"
row "  the same, started in the tray (ms)" \
    "$(median_ms <"$WORK/tray-start") (range $(range_ms <"$WORK/tray-start"))" ""
row "resident memory after start (VmRSS, MiB)" "$X_RSS" "$H_RSS"
row "  the same, started in the tray (MiB)" "$T_RSS" ""
row "CPU over ${IDLE} s idle" "$X_IDLE" "$H_IDLE"
row "context switches over ${IDLE} s idle" "$X_SWITCHES" "$H_SWITCHES"
row "Randomize to file rewritten, median (ms)" \
    "$(median_ms <"$WORK/randomize") (range $(range_ms <"$WORK/randomize"))" "n/a (no tray)"
row "  of which starting xdotool, median (ms)" "$(median_ms <"$WORK/xdotool")" ""
