# Counted checks and waiting, shared by the end-to-end scripts (sourced).
# A script may define `on_failure` to add what it knows to a failed check.
PASS=0
FAIL=0
check() {  # check NAME CMD...
    local name=$1
    shift
    if "$@"; then
        echo "PASS  $name"
        PASS=$((PASS + 1))
    else
        echo "FAIL  $name"
        FAIL=$((FAIL + 1))
        if declare -F on_failure >/dev/null; then on_failure; fi
    fi
}
# end_run: ends the processes in PIDS and removes WORK (an EXIT trap).
end_run() {
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null; done
    rm -rf "$WORK"
}
wait_for() {  # wait_for SECONDS CMD...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}
# start_display SECONDS: a virtual X display of our own for at most SECONDS,
# its process added to PIDS, and DISPLAY set. -noreset: without a client
# between cases the server would reset and refuse the next program meanwhile.
start_display() {
    timeout "$1" Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset \
        3>"$WORK/display" >"$WORK/xvfb.log" 2>&1 &
    PIDS+=($!)
    wait_for 15 test -s "$WORK/display" || { echo "Xvfb did not start"; exit 1; }
    export DISPLAY=":$(head -1 "$WORK/display")"
}
