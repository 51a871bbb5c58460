#!/usr/bin/env bash
# The include-rule check on a small tree that breaks each rule once: every
# break is reported, by file and rule, and the check fails.
#   check_layers_test.sh <check_layers.py>
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{core,framework/qt,ui,app}
touch "$tree/framework/cstring.h" "$tree/framework/platform.h" "$tree/framework/wnd.h"
# <queue> is the standard library's, not Qt's, whatever the letter case.
printf '#include "framework/cstring.h"\n#include <queue>\n' >"$tree/core/tabulation.cpp"
printf '#include "framework/platform.h"\n#include "framework/qt/platform_qt.h"\n#include <QWidget>\n' \
    >"$tree/ui/wertomatdlg.cpp"
printf '#include "framework/wnd.h"\n' >"$tree/framework/dialog.h"
printf '#include "framework/dialog.h"\n' >"$tree/framework/wnd.cpp"
printf '#include "framework/wnd.h"\n' >"$tree/framework/dialog.cpp"
printf '#include "framework/dialog.h"\n' >>"$tree/framework/wnd.h"
printf '#include "ui/wertomatdlg.h"\n' >"$tree/app/wertomat.cpp"

status=0
output=$(python3 "$check" "$tree") || status=$?
expect() {
    grep -qF -- "$1" <<<"$output" || { echo "not reported: $1"; echo "$output"; exit 1; }
}
[ $status -eq 1 ] || { echo "the check passed a broken tree"; exit 1; }
expect 'core/tabulation.cpp:1: "framework/cstring.h" is framework headers; core may include only core'
expect 'ui/wertomatdlg.cpp:1: "framework/platform.h" is seam; ui may include only'
expect 'ui/wertomatdlg.cpp:2: "framework/qt/platform_qt.h" is qt backend; ui may include only'
expect 'ui/wertomatdlg.cpp:3: <QWidget> belongs in framework/qt/ only'
expect 'include cycle: framework/dialog <-> framework/wnd'
[ "$(grep -c . <<<"$output")" -eq 6 ] || { echo "more than the five breaks reported:"; echo "$output"; exit 1; }
echo "include rules: every break reported"
