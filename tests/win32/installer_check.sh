#!/usr/bin/env bash
# Builds the installer and the ZIP, installs silently under Wine into a prefix
# of its own, checks the programs, the Start-menu entry and the uninstaller,
# then uninstalls and checks that nothing is left.
#   installer_check.sh <build folder> <wine-run script>
set -euo pipefail
build=$1
wine_run=$2
cd "$build"
cpack -G "NSIS;ZIP" >/dev/null
installer=$build/wertomat-1.0.0.1-win64.exe
archive=$build/wertomat-1.0.0.1-win64.zip
# Listed once: grep -q would end a pipe early and, with pipefail, fail it.
listing=$(unzip -l "$archive")
for file in bin/wertomat.exe bin/wertomat-table.exe LICENSE.txt LIESMICH.txt; do
    grep -q "wertomat-1.0.0.1-win64/$file" <<<"$listing" || { echo "ZIP lacks $file"; exit 1; }
done
grep -q "^MIT License" <<<"$(unzip -p "$archive" wertomat-1.0.0.1-win64/LICENSE.txt)" ||
    { echo "the ZIP's licence is not the MIT licence"; exit 1; }

export WINEPREFIX=$build/wine-prefix-installer
folder="$WINEPREFIX/drive_c/Program Files/Wertomat"
start_menu_entry() {
    find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Wertomat/Wertomat.lnk' 2>/dev/null
}

"$wine_run" "$installer" /S
wineserver -w  # until every process of the prefix has ended
for file in bin/wertomat.exe bin/wertomat-table.exe Uninstall.exe; do
    [ -f "$folder/$file" ] || { echo "not installed: $file"; exit 1; }
done
[ -n "$(start_menu_entry)" ] || { echo "no Start-menu entry"; exit 1; }
"$wine_run" "$folder/bin/wertomat-table.exe" 0 1 2 0 | grep -q "2.0000" ||
    { echo "the installed wertomat-table does not run"; exit 1; }

# _?= keeps the uninstaller in place instead of a copy in the temporary folder.
"$wine_run" "$folder/Uninstall.exe" /S '_?=C:\Program Files\Wertomat'
wineserver -w
[ ! -e "$folder/bin/wertomat.exe" ] || { echo "the uninstaller left wertomat.exe"; exit 1; }
[ -z "$(start_menu_entry)" ] || { echo "the uninstaller left the Start-menu entry"; exit 1; }
echo "installer and ZIP: ok"
