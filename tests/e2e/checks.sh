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
wait_for() {  # wait_for SECONDS CMD...
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}
