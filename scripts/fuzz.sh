#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each one for
# FUZZ_SECONDS (default 20) over a copy of its seed corpus in
# build-fuzz/fuzz-runs/<target>/, so the corpus in fuzz/corpus/ never grows,
# with fuzz/<target>.dict as its dictionary when there is one.
# FUZZ_JOBS targets run at a time (default 1); FUZZ_TARGETS picks some of
# them by name. Prints the executions of every target and any crash, and
# exits non-zero when a target crashed (the input is kept beside its run).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-20}
jobs=${FUZZ_JOBS:-1}
all_targets=(fuzz_text_fields fuzz_settings_file fuzz_program_values fuzz_build_signature
    fuzz_marked_up fuzz_shorten_path fuzz_columns)
read -r -a targets <<<"${FUZZ_TARGETS:-${all_targets[*]}}"

scripts/install-deps.sh clang libclang-rt-14-dev

echo "== build the fuzz targets =="
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMO_FUZZ=ON -DVELMO_GUI=OFF -DVELMO_BUILD_TESTS=OFF -DCMAKE_CXX_FLAGS="-Werror"
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}"

runs=build-fuzz/fuzz-runs
# Runs one target in its own folder; its log and exit code stay there.
run_target() {
    local target=$1 dir=$runs/$1
    rm -rf "$dir"
    mkdir -p "$dir/corpus"
    cp fuzz/corpus/"$target"/* "$dir/corpus/"
    local rc=0 dict=()
    [ -f fuzz/"$target".dict ] && dict=(-dict=fuzz/"$target".dict)
    ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1} \
        UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
        build-fuzz/fuzz/"$target" "$dir/corpus" -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 -artifact_prefix="$dir/" "${dict[@]}" >"$dir/log" 2>&1 || rc=$?
    echo "$rc" >"$dir/rc"
}

echo "== fuzz, ${seconds}s per target, $jobs at a time =="
for target in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n || true
    done
    run_target "$target" &
done
wait

failed=0
for target in "${targets[@]}"; do
    dir=$runs/$target
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n 1)
    rc=$(cat "$dir/rc")
    if [ "$rc" -eq 0 ]; then
        printf '%-22s %10s executions, no crash\n' "$target" "${executions:-?}"
        continue
    fi
    failed=1
    printf '%-22s %10s executions, CRASH (exit %s)\n' "$target" "${executions:-?}" "$rc"
    grep -E 'invariant broken|ERROR: |runtime error|SUMMARY' "$dir/log" | head -n 5 | sed 's/^/    /'
    for input in "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-*; do
        [ -e "$input" ] && echo "    input: $input"
    done
    echo "    log: $dir/log"
done
exit "$failed"
