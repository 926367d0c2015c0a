#!/usr/bin/env bash
# The Windows packages as a user meets them, under Wine: the installer run
# silently, what it installs, both programs started from the installed folder,
# then the silent uninstaller, which must take the program's own files and
# keys and leave the user's options and files.
#   tests/e2e/windows_installer.sh BUILD_FOLDER
# Run by scripts/test-windows.sh in its prefix (WINEPREFIX exported, booted).
set -uo pipefail
cd "$(dirname "$0")/../.."
BUILD=${1:?usage: windows_installer.sh BUILD_FOLDER}
: "${WINEPREFIX:?run from scripts/test-windows.sh, which boots the prefix}"
. tests/e2e/checks.sh

scripts/package-windows.sh "$BUILD" || exit 1
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$BUILD/CMakeCache.txt")
SETUP="$BUILD/Velmo-$version-setup.exe"
ZIP="$BUILD/Velmo-$version-windows.zip"
KEPT="$BUILD/installer-check"   # copies of the user's files, to compare after
rm -rf "$KEPT" && mkdir -p "$KEPT"

check "the zip holds both programs and the guide, in a folder Velmo" \
    diff <(cmake -E tar tf "$ZIP" | sort) <(printf '%s\n' Velmo/ Velmo/docs/ \
        Velmo/docs/mail-clients.html Velmo/velmo-signature.exe Velmo/velmo.exe)

# The places of a per-user install, as Windows names them and as Linux sees them.
user=$(id -un)
WIN_HOME="C:\\users\\$user\\AppData"
HOME_DIR="$WINEPREFIX/drive_c/users/$user/AppData"
WIN_INST="$WIN_HOME\\Local\\Programs\\Velmo"
INST="$HOME_DIR/Local/Programs/Velmo"
DATA="$HOME_DIR/Roaming/Velmo"
LINK="$HOME_DIR/Roaming/Microsoft/Windows/Start Menu/Programs/Velmo.lnk"
UNINSTALL_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmo'
RUN_KEY='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
OPTIONS_KEY='HKCU\SOFTWARE\Velmo\User\Freeware'
reg() { wine reg "$@" </dev/null 2>/dev/null | tr -d '\r'; }
# A clean start: no install, options or data folder from an earlier run.
rm -rf "$INST" "$DATA" "$LINK"
wine reg delete 'HKCU\SOFTWARE\Velmo' /f </dev/null >/dev/null 2>&1
wine reg delete "$UNINSTALL_KEY" /f </dev/null >/dev/null 2>&1

# The exit status says nothing: a stub of the wrong kind exits 0 having done
# nothing. What is installed is what counts.
wine "$SETUP" /S </dev/null >/dev/null 2>&1
wait_for 20 test -f "$INST/uninstall.exe"
installed() {
    cmp "$BUILD/package/Velmo/velmo.exe" "$INST/velmo.exe" &&
        cmp "$BUILD/package/Velmo/velmo-signature.exe" "$INST/velmo-signature.exe" &&
        cmp "$BUILD/docs/mail-clients.html" "$INST/docs/mail-clients.html" &&
        cmp "$BUILD/package/velmo.ico" "$INST/velmo.ico" &&
        test -f "$INST/uninstall.exe"
}
check "setup.exe /S installs both programs, the guide in docs\\, the icon and the uninstaller" installed
check "a Start-menu shortcut to the installed velmo.exe" \
    grep -aqF "$WIN_INST\\velmo.exe" <(tr -d '\0' <"$LINK" 2>/dev/null)
entry=$(reg query "$UNINSTALL_KEY")
has() { grep -qxF "    $1" <<<"$entry"; }
check "installed programs list: name, version, publisher" \
    eval 'has "DisplayName    REG_SZ    Velmo" &&
        has "DisplayVersion    REG_SZ    $version" &&
        has "Publisher    REG_SZ    Velmo Software"'
check "installed programs list: the uninstaller, quiet too, the folder and the icon" \
    eval 'has "UninstallString    REG_SZ    \"$WIN_INST\\uninstall.exe\"" &&
        has "QuietUninstallString    REG_SZ    \"$WIN_INST\\uninstall.exe\" /S" &&
        has "InstallLocation    REG_SZ    $WIN_INST" &&
        has "DisplayIcon    REG_SZ    $WIN_INST\\velmo.ico,0" &&
        has "NoModify    REG_DWORD    0x1" && has "NoRepair    REG_DWORD    0x1"'

# The user's things, made the way Velmo makes them: options in the registry,
# the quote list and fixed text beside the program (its folder is the user's
# and writable), the signature file in the data folder. The programs are
# started by their Windows paths, as the shortcut starts them.
printf '"Anna M\xfcller"\r\n' >"$INST/Fixed.fxt"
printf '"The user'\''s own quotation"\r\n' >"$INST/Variable.txt"
mkdir -p "$DATA"
wine reg add "$OPTIONS_KEY" /v "Program Values" /d " 5 0 1 1 1 0 0 0 0 0 0 0 0 0-1 0 0 0 1 1" \
    /f </dev/null >/dev/null
wine reg add "$OPTIONS_KEY" /v "Signature File" /d "$WIN_HOME\\Roaming\\Velmo\\signature.txt" \
    /f </dev/null >/dev/null
printed=$(wine "$WIN_INST\\velmo-signature.exe" --entry 1 </dev/null 2>&1)
check "the installed velmo-signature.exe prints a signature from the user's files" \
    grep -q "The user's own quotation" <<<"$printed"
check "the installed velmo-signature.exe --write writes the signature file" \
    eval 'wine "$WIN_INST\\velmo-signature.exe" --write </dev/null && grep -q "own quotation" "$DATA/signature.txt"'
timeout 30 wine "$WIN_INST\\velmo.exe" --version </dev/null >"$KEPT/velmo-version.txt" 2>&1
velmo_status=$?
check "the installed velmo.exe --version prints its version" eval \
    'test "$velmo_status" -eq 0 && grep -qx "velmo $version" <(tr -d "\r" <"$KEPT/velmo-version.txt")'
# "Start with the desktop" ticked in the installed program.
wine reg add "$RUN_KEY" /v Velmo /d "\"$WIN_INST\\velmo.exe\"" /f </dev/null >/dev/null
# And for two named profiles, with a third naming another copy.
for profile in work home; do
    wine reg add "$RUN_KEY" /v "Velmo ($profile)" /d "\"$WIN_INST\\velmo.exe\" --profile $profile" \
        /f </dev/null >/dev/null
done
wine reg add "$RUN_KEY" /v "Velmo (zip)" /d '"C:\Velmo from the zip\velmo.exe" --profile zip' /f \
    </dev/null >/dev/null
cp "$INST/Fixed.fxt" "$INST/Variable.txt" "$DATA/signature.txt" "$KEPT/"
user_options=$(reg query "$OPTIONS_KEY")

# Started by its Windows path, as the installed programs list starts it. It
# copies itself away and returns; it removes itself last.
wine "$WIN_INST\\uninstall.exe" /S </dev/null >/dev/null 2>&1
wait_for 20 eval '! test -e "$INST/uninstall.exe"'
check "uninstall.exe /S removes the programs, the guide and itself" \
    eval '! test -e "$INST/velmo.exe" && ! test -e "$INST/velmo-signature.exe" &&
        ! test -e "$INST/velmo.ico" && ! test -e "$INST/docs" && ! test -e "$INST/uninstall.exe"'
check "uninstall.exe /S removes the Start-menu shortcut" eval '! test -e "$LINK"'
check "uninstall.exe /S removes the installed programs entry" \
    eval '! wine reg query "$UNINSTALL_KEY" </dev/null >/dev/null 2>&1'
check "uninstall.exe /S removes \"Start with the desktop\", which named the removed program" \
    eval '! wine reg query "$RUN_KEY" /v Velmo </dev/null >/dev/null 2>&1'
check "  ... and each named profile's value naming it" \
    eval '! reg query "$RUN_KEY" | grep -q "Velmo (work)\\|Velmo (home)"'
check "  ... but not a profile's value naming another copy" \
    eval 'reg query "$RUN_KEY" /v "Velmo (zip)" | grep -qF -- "--profile zip"'
check "the user's options in HKCU\\SOFTWARE\\Velmo are left as they were" \
    eval '[ -n "$user_options" ] && [ "$(reg query "$OPTIONS_KEY")" = "$user_options" ]'
check "the user's quote list and fixed text beside the program are left" \
    eval 'cmp "$KEPT/Variable.txt" "$INST/Variable.txt" && cmp "$KEPT/Fixed.fxt" "$INST/Fixed.fxt"'
check "the user's signature file in the data folder is left" \
    cmp "$KEPT/signature.txt" "$DATA/signature.txt"

# Installed again over the user's files, and removed again while "Start with
# the desktop" names another copy of Velmo (one unpacked from the zip).
OTHER_COPY='"C:\Velmo from the zip\velmo.exe"'
wine "$SETUP" /S </dev/null >/dev/null 2>&1
wait_for 20 test -f "$INST/uninstall.exe"
check "setup.exe /S over the user's files installs and leaves them" \
    eval 'installed && cmp "$KEPT/Variable.txt" "$INST/Variable.txt" &&
        cmp "$KEPT/Fixed.fxt" "$INST/Fixed.fxt"'
wine reg add "$RUN_KEY" /v Velmo /d "$OTHER_COPY" /f </dev/null >/dev/null
wine "$WIN_INST\\uninstall.exe" /S </dev/null >/dev/null 2>&1
wait_for 20 eval '! test -e "$INST/uninstall.exe"'
check "uninstall.exe /S leaves \"Start with the desktop\" naming another copy" \
    grep -qF "Velmo    REG_SZ    $OTHER_COPY" <(reg query "$RUN_KEY" /v Velmo)
wine reg delete "$RUN_KEY" /v Velmo /f </dev/null >/dev/null 2>&1
wine reg delete "$RUN_KEY" /v "Velmo (zip)" /f </dev/null >/dev/null 2>&1

echo "$PASS passed, $FAIL failed"
[ "$FAIL" -eq 0 ]
