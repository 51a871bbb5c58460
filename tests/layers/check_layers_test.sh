#!/usr/bin/env bash
# The include-rule check on a small tree that breaks each rule once, with a
# links file that disagrees with the table twice: every break is reported,
# by file and rule, and the check fails.
#   check_layers_test.sh <check_layers.py>
set -euo pipefail
check=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/{core,framework/qt,ui,app,widgets}
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
printf '#include <Windows.h>\n' >"$tree/core/number.cpp"
printf '#include "framework/platform.h"\n' >"$tree/framework/winapp.h"
printf '#include "framework/platform.h"\n#include "framework/wnd.h"\n' >"$tree/framework/qt/dialog_window.cpp"
touch "$tree/widgets/button.cpp"
# core does not link parallel, which it may include; ui links the results view.
printf 'wertomat_core|wertomat_warnings|\nwertomat_parallel||\n' >"$tree/links.txt"
printf 'wertomat_results_view|wertomat_parallel|\n' >>"$tree/links.txt"
printf 'wertomat_ui|wertomat_framework;wertomat_core;wertomat_results_view|\n' >>"$tree/links.txt"

status=0
output=$(python3 "$check" "$tree" --links "$tree/links.txt") || status=$?
expect() {
    grep -qF -- "$1" <<<"$output" || { echo "not reported: $1"; echo "$output"; exit 1; }
}
[ $status -eq 1 ] || { echo "the check passed a broken tree"; exit 1; }
expect 'core/tabulation.cpp:1: "framework/cstring.h" is framework headers; core may include only core'
expect 'ui/wertomatdlg.cpp:1: "framework/platform.h" is seam; ui may include only'
expect 'ui/wertomatdlg.cpp:2: "framework/qt/platform_qt.h" is qt backend; ui may include only'
expect 'ui/wertomatdlg.cpp:3: <QWidget> belongs in framework/qt/ only'
expect 'include cycle: framework/dialog <-> framework/wnd'
expect 'core/number.cpp:1: <Windows.h> belongs in framework/win32/ only'
expect 'framework/winapp.h:1: "framework/platform.h" is seam; framework headers may include only'
expect 'widgets/button.cpp: the folder widgets/ is no part'
expect 'framework/qt/dialog_window.cpp:2: "framework/wnd.h" is framework headers; qt backend may include only'
expect "core may include parallel, but its targets (wertomat_core) reach none of parallel's"
expect 'ui links wertomat_results_view, of results view, which it may not include'
[ "$(grep -c . <<<"$output")" -eq 12 ] || { echo "more than the eleven breaks reported:"; echo "$output"; exit 1; }
echo "include rules: every break reported"
