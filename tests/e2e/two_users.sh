#!/usr/bin/env bash
# Two real users on one machine: what one of them plants in shared places
# must not steer the other's Velmo, nor root's run with the other's HOME.
# Needs root: it creates the two users and removes them afterwards, and turns
# the kernel's protected_symlinks and protected_regular off for the run (as
# they are on CI machines), putting them back at the end.
# Usage: tests/e2e/two_users.sh [BUILD_DIR]
set -uo pipefail

if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP  two users: creating users needs root"
    exit 0
fi
BUILD=$(realpath "${1:-build}")
VICTIM=velmo-victim
OTHER=velmo-other
WORK=$(mktemp -d)
chmod 755 "$WORK"
LINKS=$(sysctl -n fs.protected_symlinks)
REGULAR=$(sysctl -n fs.protected_regular)
PIDS=()
OLD_LOCK=""
cleanup() {
    # A copy stuck on a lock would not end on SIGTERM.
    for p in "${PIDS[@]}"; do kill -KILL "$p" 2>/dev/null; done
    for p in "${PIDS[@]}"; do wait "$p" 2>/dev/null; done
    for user in "$VICTIM" "$OTHER"; do
        userdel "$user" || echo "two users: could not remove the user $user"
    done
    rm -f "$OLD_LOCK"
    # Qt's own runtime folders, made where XDG_RUNTIME_DIR is not set.
    rm -rf "$WORK" "/tmp/runtime-$VICTIM" "/tmp/runtime-$OTHER"
    sysctl -q fs.protected_symlinks="$LINKS" fs.protected_regular="$REGULAR"
}
trap cleanup EXIT
. "$(dirname "$0")/checks.sh"
on_failure() { [ -s "$WORK/err" ] && sed 's/^/    | /' "$WORK/err" | tail -3; }

sysctl -q fs.protected_symlinks=0 fs.protected_regular=0
for user in "$VICTIM" "$OTHER"; do
    userdel "$user" 2>/dev/null
    useradd -m -U -d "$WORK/$user" -s /bin/sh "$user" || exit 1
done
V_HOME=$WORK/$VICTIM
V_UID=$(id -u "$VICTIM")
# The lock earlier versions took when XDG_RUNTIME_DIR was not set, in /tmp
# where anyone may plant it.
OLD_LOCK=/tmp/velmo-$V_UID.lock
mkdir -p "$WORK/bin"
cp "$BUILD/velmo" "$BUILD/velmo-signature" "$WORK/bin/"
# A folder anyone may write to, sticky as /tmp is.
SHARED=$WORK/shared
mkdir -m 1777 "$SHARED"

# The command line that runs as USER in a clean environment of that user's,
# with no runtime folder. Run as a plain command, so that a process put in the
# background is the program itself and its id ends it.
as_user() {  # as_user USER: sets AS
    AS=(setpriv --reuid="$1" --regid="$1" --init-groups
        env -i PATH=/usr/bin:/bin HOME="$WORK/$1" QT_QPA_PLATFORM=offscreen)
}
as() {  # as USER CMD...
    as_user "$1"
    shift
    "${AS[@]}" "$@"
}
# settings FILE SIGNATURE [FLAGS]: a settings file, by default with the fixed
# part, the quote list and file output on.
settings() {
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User]\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\SOFTWARE\\Velmo\\User\\Freeware]\r\n'
        printf '"Program Values"="%s"\r\n' "${3:-" 5 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1"}"
        printf '"Signature File"="%s"\r\n' "$2"
    } >"$1"
}
# The victim's own settings, quote list and fixed text, fresh for each case.
victim_files() {  # victim_files SIGNATURE [FLAGS]
    rm -rf "$V_HOME/.config" "$V_HOME/.local" "$V_HOME/sig.txt"
    as "$VICTIM" mkdir -p "$V_HOME/.config/Velmo" "$V_HOME/.local/share/Velmo"
    as "$VICTIM" sh -c "printf '\"Victim quote\"\r\n' >'$V_HOME/.local/share/Velmo/Variable.txt'
        printf '\"Victim fixed\"\r\n' >'$V_HOME/.local/share/Velmo/Fixed.fxt'"
    as "$VICTIM" sh -c "$(declare -f settings); settings '$V_HOME/.config/Velmo/User.reg' '$1' '${2:-}'"
}
start() {  # start ENV...: the victim's window program, in the background
    as_user "$VICTIM"
    "${AS[@]}" "$@" "$WORK/bin/velmo" >"$WORK/err" 2>&1 &
    VELMO=$!
    PIDS+=($VELMO)
}
ended() { ! kill -0 "$VELMO" 2>/dev/null; }
stop() {
    kill -TERM "$VELMO" 2>/dev/null
    wait_for 10 ended
    local status=$?
    kill -KILL "$VELMO" 2>/dev/null
    wait "$VELMO" 2>/dev/null
    return $status
}

# --- settings and files from places others can write --------------------------------------
# Another user's settings in a shared XDG_CONFIG_HOME send the signature to
# the victim's ~/.bashrc.
victim_files "$V_HOME/sig.txt"
echo 'echo mine' | as "$VICTIM" tee "$V_HOME/.bashrc" >/dev/null
as "$OTHER" mkdir "$SHARED/Velmo"
as "$OTHER" sh -c "$(declare -f settings); settings '$SHARED/Velmo/User.reg' '$V_HOME/.bashrc'"
as "$VICTIM" XDG_CONFIG_HOME="$SHARED" "$WORK/bin/velmo-signature" --write 2>"$WORK/err"
check "shared config folder: refused" test $? -eq 1
check "shared config folder: the file and reason named" \
    grep -q "$SHARED/Velmo/User.reg.*another user" "$WORK/err"
check "shared config folder: ~/.bashrc kept" test "$(cat "$V_HOME/.bashrc")" = "echo mine"

# A program kept in a shared folder: a fixed text planted beside it is not
# the victim's signature.
as "$VICTIM" mkdir -m 1777 "$SHARED/programs"
as "$VICTIM" cp "$WORK/bin/velmo-signature" "$SHARED/programs/"
as "$OTHER" sh -c "printf '\"PLANTED\"\r\n' >'$SHARED/programs/Fixed.fxt'
    printf '\"PLANTED\"\r\n' >'$SHARED/programs/Variable.txt'"
as "$VICTIM" "$SHARED/programs/velmo-signature" >"$WORK/out" 2>"$WORK/err"
check "program in a shared folder: the victim's own fixed text" grep -q "Victim fixed" "$WORK/out"
check "program in a shared folder: nothing planted" sh -c "! grep -q PLANTED '$WORK/out'"
# Nor is what was planted there copied into a data folder that has no text
# files yet, as the files an earlier version kept beside the program are.
rm "$V_HOME"/.local/share/Velmo/*
as "$VICTIM" "$SHARED/programs/velmo-signature" >"$WORK/out" 2>"$WORK/err"
check "program in a shared folder: nothing planted copied" \
    sh -c "! grep -rq PLANTED '$WORK/out' '$V_HOME/.local/share/Velmo'"

# Root with the victim's HOME, as sudo -E runs it: the victim's settings
# must not make root overwrite a file only root may write.
mkdir -m 700 "$WORK/root-only"
echo secret >"$WORK/root-only/file"
# File output alone, so that root needs no text file of its own.
victim_files "$WORK/root-only/file" " 5 0 1 0 0 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1"
env -i PATH=/usr/bin:/bin HOME="$V_HOME" "$WORK/bin/velmo-signature" --write 2>"$WORK/err"
check "root with the user's HOME: refused" test $? -eq 1
check "root with the user's HOME: the file and reason named" \
    grep -q "$V_HOME/.config/Velmo/User.reg.*another user" "$WORK/err"
check "root with the user's HOME: root's file kept" test "$(cat "$WORK/root-only/file")" = secret

# --- the instance lock ------------------------------------------------------------------------
# Another user holds the lock where it used to be: the victim's Velmo starts
# all the same (it writes the signature file).
victim_files "$V_HOME/sig.txt"
# Made so that the victim may open it, as a planted file would be.
as_user "$OTHER"
"${AS[@]}" sh -c "umask 0; exec 9>'$OLD_LOCK'; flock 9; exec sleep 60" &
HOLDER=$!
PIDS+=($HOLDER)
wait_for 10 test -e "$OLD_LOCK"
sleep 0.5
start
check "lock held by another user: Velmo starts" wait_for 30 test -s "$V_HOME/sig.txt"
stop
kill -KILL "$HOLDER" 2>/dev/null
wait "$HOLDER" 2>/dev/null
rm -f "$OLD_LOCK"

# Another user's link from the lock to the victim's settings lock: a first
# start (no settings yet) must not wait for ever on its own lock, and ends on
# SIGTERM.
victim_files "$V_HOME/sig.txt"
rm "$V_HOME/.config/Velmo/User.reg"
as "$VICTIM" touch "$V_HOME/.config/Velmo/User.reg.lock"
as "$OTHER" ln -s "$V_HOME/.config/Velmo/User.reg.lock" "$OLD_LOCK"
start
check "lock linked to the settings lock: the first start saves the settings" \
    wait_for 30 test -s "$V_HOME/.config/Velmo/User.reg"
check "lock linked to the settings lock: SIGTERM ends it" stop
rm -f "$OLD_LOCK"

# A dangling link: no file is made where the other user chose.
victim_files "$V_HOME/sig.txt"
as "$OTHER" ln -s "$V_HOME/chosen-by-other" "$OLD_LOCK"
start
wait_for 30 test -s "$V_HOME/sig.txt"
check "dangling lock link: nothing made at its end" test ! -e "$V_HOME/chosen-by-other"
stop
rm -f "$OLD_LOCK"

# Two copies on one home with different runtime folders: the second refuses
# (it never writes the signature file).
victim_files "$V_HOME/sig.txt"
mkdir -m 700 "$WORK/run1" "$WORK/run2"
chown "$VICTIM:" "$WORK/run1" "$WORK/run2"
start XDG_RUNTIME_DIR="$WORK/run1"
FIRST=$VELMO
SECONDS=0
check "two runtime folders: the first copy starts" wait_for 30 test -s "$V_HOME/sig.txt"
rm -f "$V_HOME/sig.txt"
start XDG_RUNTIME_DIR="$WORK/run2"
sleep $((SECONDS * 3 + 10))
check "two runtime folders: the second copy does not run" test ! -e "$V_HOME/sig.txt"
stop
VELMO=$FIRST
stop

echo "two users: $PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
