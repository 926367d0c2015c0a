#!/usr/bin/env bash
# Fails when a file includes a header of a higher layer, or when the domain
# layer includes anything but the standard library and itself.
#   domain < platform < service < ui < qt, app
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
    case "$1" in
        domain) echo 0 ;; platform) echo 1 ;; service) echo 2 ;; ui) echo 3 ;;
        qt | app) echo 4 ;; *) echo "" ;;
    esac
}

status=0
while IFS= read -r -d '' file; do
    layer=${file%%/*}
    own=$(rank "$layer")
    [ -n "$own" ] || continue
    while IFS=: read -r line header; do
        target=${header%%/*}
        theirs=$(rank "$target")
        if [ -z "$theirs" ] || [ "$theirs" -gt "$own" ]; then
            echo "$file:$line: the $layer layer includes \"$header\""
            status=1
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" |
        sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
    if [ "$layer" = domain ]; then
        # Standard headers only: lower-case names with no ".h" and no folder.
        if grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*<[^>]*[^a-z_>][^>]*>' "$file"; then
            echo "$file: the domain layer includes a header that is not standard C++"
            status=1
        fi
    fi
done < <(git ls-files -z 'domain/*' 'platform/*' 'service/*' 'ui/*' 'qt/*' 'app/*')
exit $status
