#!/usr/bin/env bash
# Fails when a file includes a header of a higher layer, or when the domain
# layer includes anything but the standard library and itself; and when a
# layer's tests include a header of a higher layer.
#   domain < platform < service < ui < qt, win32 < app
# The two drawing layers, qt (Linux) and win32 (Windows), never include each other.
set -euo pipefail
cd "$(dirname "$0")/.."

rank() {
    case "$1" in
        domain) echo 0 ;; platform) echo 1 ;; service) echo 2 ;; ui) echo 3 ;;
        qt | win32) echo 4 ;; app) echo 5 ;; *) echo "" ;;
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
        if [ -z "$theirs" ] || [ "$theirs" -gt "$own" ] ||
            { [ "$theirs" -eq 4 ] && [ "$own" -eq 4 ] && [ "$target" != "$layer" ]; }; then
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
done < <(git ls-files -z 'domain/*' 'platform/*' 'service/*' 'ui/*' 'qt/*' 'win32/*' 'app/*')

# The tests of a layer, in tests/<layer>/, include its headers and those below
# it, and the helpers of tests/support/. The domain's tests take only helpers
# that reach nothing above the domain either, for domain_tests links the
# domain library alone; the fakes of the ports are for the layers above.
quoted_includes() {
    grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$1" |
        sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/'
}
# The highest layer a helper of tests/support/ includes, itself or through
# another helper; empty when it includes something of no layer.
helper_rank() {
    local most=0 line header theirs
    while IFS=: read -r line header; do
        if [ "${header%%/*}" = support ]; then
            theirs=$(helper_rank "tests/$header")
        else
            theirs=$(rank "${header%%/*}")
        fi
        [ -n "$theirs" ] || return 0
        [ "$theirs" -gt "$most" ] && most=$theirs
    done < <(quoted_includes "$1")
    echo "$most"
}
while IFS= read -r -d '' file; do
    rest=${file#tests/}
    layer=${rest%%/*}
    own=$(rank "$layer")
    while IFS=: read -r line header; do
        target=${header%%/*}
        if [ "$target" = support ]; then
            [ "$layer" = domain ] || continue
            theirs=$(helper_rank "tests/$header")
        else
            theirs=$(rank "$target")
        fi
        if [ -z "$theirs" ] || [ "$theirs" -gt "$own" ] ||
            { [ "$theirs" -eq 4 ] && [ "$own" -eq 4 ] && [ "$target" != "$layer" ]; }; then
            echo "$file:$line: the $layer layer's tests include \"$header\""
            status=1
        fi
    done < <(quoted_includes "$file")
done < <(git ls-files -z 'tests/domain/*' 'tests/platform/*' 'tests/service/*' 'tests/ui/*' \
    'tests/qt/*' 'tests/win32/*')
# The window's wiring: ui/wiring.cpp connects every handler to its control.
# The state the handlers share (ui/app.h) includes none of them, and no other
# file includes every handler's header, so that the includes inside ui/ point
# down from the wiring to the handlers and from them to the state.
handlers=$(grep -l '^void Connect[A-Za-z]*Handlers(App& app);' ui/*.h | sort)
if grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"ui/[^m]' ui/app.h; then
    echo "ui/app.h: the window's state includes a handler's header"
    status=1
fi
for file in $(git ls-files 'ui/*.cpp' 'ui/*.h'); do
    [ "$file" = ui/wiring.cpp ] && continue
    missing=0
    for header in $handlers; do
        [ "$file" = "$header" ] && continue 2
        grep -q "^#include \"$header\"" "$file" || missing=1
    done
    if [ "$missing" = 0 ]; then
        echo "$file: includes every handler; only ui/wiring.cpp connects them"
        status=1
    fi
done

exit $status
