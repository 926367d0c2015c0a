#!/bin/sh
# Records a Velmo source tree and compares the record with a baseline.
#   tools/record/compare.sh <VELMO_SRC> <BASELINE>
# Exit status 0 and one line when the behaviour is unchanged.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
baseline=$2
after=$baseline.after-$(basename "$(cd "$1" && pwd)").txt
"$here/run.sh" "$1" "$after"
if diff -u "$baseline" "$after" >"$after.diff"; then
    echo "identical to $baseline"
    rm -f "$after.diff"
else
    echo "DIFFERENT from $baseline: $(grep -c '^[-+][^-+]' "$after.diff") changed lines, see $after.diff"
    exit 1
fi
