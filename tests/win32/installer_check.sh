#!/usr/bin/env bash
# Builds the installer and the ZIP and tries them under Wine, in a prefix of
# their own: the ZIP's contents, the installer's version record, a silent
# install (programs, German Start-menu entries, uninstall values), the
# uninstaller and the installer refusing while Wertomat runs, and an uninstall
# that leaves nothing behind.
#   installer_check.sh <build folder> <wine-run script> <version>
set -euo pipefail
build=$1
wine_run=$2
version=$3
cd "$build"
cpack -G "NSIS;ZIP" >/dev/null
installer=$build/wertomat-$version-win64.exe
archive=$build/wertomat-$version-win64.zip
fail() { echo "$*"; exit 1; }

# Listed once: grep -q would end a pipe early and, with pipefail, fail it.
listing=$(unzip -l "$archive")
for file in bin/wertomat.exe bin/wertomat-table.exe LICENSE.txt LIESMICH.txt; do
    grep -q "wertomat-$version-win64/$file" <<<"$listing" || fail "ZIP lacks $file"
done
grep -q "^MIT License" <<<"$(unzip -p "$archive" "wertomat-$version-win64/LICENSE.txt")" ||
    fail "the ZIP's licence is not the MIT licence"

# The installer's own version record, in German (language 0407).
record=$(wrestool -x --raw --type=16 "$installer" | strings -el)
grep -q "^0407" <<<"$record" || fail "the installer's version record is not German"
grep -A1 -x ProductVersion <<<"$record" | grep -qx "$version" ||
    fail "the installer's version record lacks ProductVersion $version"

export WINEPREFIX=$build/wine-prefix-installer
rm -rf "$WINEPREFIX/drive_c/Wertomat"
folder="$WINEPREFIX/drive_c/Program Files/Wertomat"
start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Wertomat"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Wertomat'
values=
read_uninstall_values() {  # the key's values, read at once and then parsed
    values=$("$wine_run" reg query "$uninstall_key" 2>/dev/null | tr -d '\r' || true)
}
uninstall_value() {  # the value's type and data, as reg prints them
    awk -v name="$1" '$1 == name { $1 = ""; print substr($0, 2) }' <<<"$values"
}

"$wine_run" "$installer" /S
wineserver -w  # until every process of the prefix has ended
for file in bin/wertomat.exe bin/wertomat-table.exe Uninstall.exe; do
    [ -f "$folder/$file" ] || fail "not installed: $file"
done
[ -f "$start_menu/Wertomat.lnk" ] || fail "no Start-menu entry"
[ -f "$start_menu/Wertomat deinstallieren.lnk" ] || fail "no German uninstall entry in the Start menu"
"$wine_run" "$folder/bin/wertomat-table.exe" 0 1 2 0 | grep -q "2.0000" ||
    fail "the installed wertomat-table does not run"
read_uninstall_values
[ "$(uninstall_value InstallLocation)" = 'REG_SZ C:\Program Files\Wertomat' ] ||
    fail "InstallLocation is '$(uninstall_value InstallLocation)'"
[ "$(uninstall_value DisplayVersion)" = "REG_SZ $version" ] || fail "DisplayVersion is not $version"
for flag in NoModify NoRepair; do
    [ "$(uninstall_value $flag)" = "REG_DWORD 0x1" ] || fail "$flag is '$(uninstall_value $flag)', not a DWORD 1"
done
[[ "$(uninstall_value EstimatedSize)" =~ ^REG_DWORD\ 0x[0-9a-f]*[1-9a-f] ]] ||
    fail "no EstimatedSize among the uninstall values: $values"

# The uninstaller copies itself away and returns at once; wineserver -w waits.
"$wine_run" "$folder/Uninstall.exe" /S
wineserver -w
[ ! -e "$folder" ] || fail "the uninstaller left $(ls -R "$folder")"
[ ! -e "$start_menu" ] || fail "the uninstaller left the Start-menu folder"
read_uninstall_values
[ -z "$(uninstall_value DisplayName)" ] || fail "the uninstaller left its registry entry"

# While Wertomat runs, neither the uninstaller nor the installer touches it:
# a silent run takes Cancel and says so with exit status 2. The registered
# quiet uninstall runs as a package manager would run it (a folder without
# blanks, so that its words split plainly).
"$wine_run" "$installer" /S '/D=C:\Wertomat'
wineserver -w
portable="$WINEPREFIX/drive_c/Wertomat"
read_uninstall_values
quiet=$(uninstall_value QuietUninstallString)
[ "$quiet" = 'REG_SZ "C:\Wertomat\Uninstall.exe" /S _?=C:\Wertomat' ] ||
    fail "QuietUninstallString is '$quiet'"
quiet_uninstall() {
    local program=${quiet#REG_SZ \"}
    # shellcheck disable=SC2086  # the registered words, split as a shell would
    "$wine_run" "${program%%\"*}" ${quiet#*.exe\" }
}
"$wine_run" "$portable/bin/wertomat.exe" &
running=$!
for _ in $(seq 100); do  # until Wine has loaded it
    pgrep -f 'drive_c/Wertomat/bin/wertomat.exe' >/dev/null && break
    sleep 0.1
done
status=0
quiet_uninstall || status=$?
[ $status -eq 2 ] || fail "the quiet uninstall ended with $status while Wertomat ran"
for file in bin/wertomat.exe bin/wertomat-table.exe; do
    [ -f "$portable/$file" ] || fail "the uninstaller removed $file while Wertomat ran"
done
read_uninstall_values
[ -n "$(uninstall_value DisplayName)" ] || fail "the uninstaller dropped its entry while Wertomat ran"
status=0
"$wine_run" "$installer" /S '/D=C:\Wertomat' || status=$?
[ $status -eq 2 ] || fail "the installer ended with $status over a running Wertomat"

kill $running
wineserver -k || true
wineserver -w
status=0
quiet_uninstall || status=$?
[ $status -eq 0 ] || fail "the quiet uninstall ended with $status after Wertomat ended"
[ ! -e "$portable/bin" ] || fail "the uninstaller left $portable/bin after Wertomat ended"
read_uninstall_values
[ -z "$(uninstall_value DisplayName)" ] || fail "the quiet uninstall left its registry entry"
echo "installer and ZIP: ok"
