#!/usr/bin/env bash
# The companion's --csv under Wine follows the user's Region settings (the
# decimal symbol and the list separator in HKCU\Control Panel\International),
# not the C runtime's locale: a German locale set to "." and ",", an English
# one set to "," and ";", and a list separator equal to the decimal symbol.
#
#   csv_follows_region_settings.sh WINE_RUN WERTOMAT_TABLE_EXE PREFIX
set -euo pipefail
wine_run=$1 tool=$2
export WINEPREFIX=$3  # a prefix of its own: the settings changed here stay here
key='HKCU\Control Panel\International'
failures=0

# locale, decimal symbol, list separator, the CSV's first two lines
cases=(
    "de_DE.UTF-8|.|,|x,y 0.0000,-5.0000"
    "en_US.UTF-8|,|;|x;y 0,0000;-5,0000"
    "de_DE.UTF-8|,|,|x;y 0,0000;-5,0000"
)
for case in "${cases[@]}"; do
    IFS='|' read -r place decimal list expected <<<"$case"
    export LC_ALL=$place
    "$wine_run" reg add "$key" /v sDecimal /d "$decimal" /f >/dev/null 2>&1
    "$wine_run" reg add "$key" /v sList /d "$list" /f >/dev/null 2>&1
    got=$("$wine_run" "$tool" --csv 0 1 1 | head -2 | tr -d '\r' | tr '\n' ' ' | sed 's/ $//')
    if [ "$got" != "$expected" ]; then
        echo "$place, decimal '$decimal', list '$list': got '$got', expected '$expected'"
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && echo "csv: the Region settings are followed in ${#cases[@]} cases"
exit "$failures"
