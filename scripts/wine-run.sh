#!/bin/sh
# Runs a Windows console program under Wine, headless, in a private prefix;
# the program's exit status is passed through.
: "${WINEPREFIX:?set WINEPREFIX to a private prefix in the build folder}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all,err+module}"   # quiet, but still report missing DLLs; also hides Debian's "wine32 is missing" hint
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=d;mshtml=d}"   # never try to install Mono/Gecko
unset DISPLAY WAYLAND_DISPLAY
exec wine "$@" </dev/null
