#!/usr/bin/env bash
# The main dialog under a real window manager (openbox) on an X display of
# its own: the Motif hints offer neither minimise nor maximise (what KWin and
# Mutter read; openbox offers both whatever they say), a maximise asked of
# the window manager is undone, and the frame cannot make the dialog smaller
# than the form.
#   window_manager_check.sh PROGRAM
set -euo pipefail
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -uo pipefail
    # Waits up to 30 s (a loaded machine) until the command succeeds.
    until_true() {
        for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done
        return 1
    }
    openbox >/dev/null 2>&1 &
    manager=$!
    # A window mapped while openbox starts up is never managed.
    until_true wmctrl -m >/dev/null 2>&1 || { echo "openbox did not start"; exit 1; }
    "$1" &
    program=$!
    trap "kill $program $manager 2>/dev/null" EXIT
    window() { wmctrl -l | awk "\$NF == \"Wertomat\" { print \$1 }"; }
    size() { xwininfo -id "$id" | awk "/Width:/ { w = \$2 } /Height:/ { h = \$2 } END { print w \"x\" h }"; }
    has_size() { [ "$(size)" = "$1" ]; }
    has_window() { [ -n "$(window)" ]; }
    until_true has_window || { echo "no window named Wertomat"; exit 1; }
    id=$(window)
    until_true has_size 781x485 || { echo "opened at $(size), not the form'"'"'s 781x485"; exit 1; }
    status=0

    # flags, functions, decorations: functions and decorations given, without
    # minimise (functions 0x8, decorations 0x20) or maximise (0x10, 0x40).
    read -r flags functions decorations < <(xprop -id "$id" _MOTIF_WM_HINTS |
        sed "s/.*= //; s/,//g" | awk "{ print \$1, \$2, \$3 }")
    if (( (flags & 3) != 3 || (functions & 0x18) != 0 || (decorations & 0x60) != 0 )); then
        echo "Motif hints offer minimise or maximise: $flags $functions $decorations"
        status=1
    fi

    wmctrl -i -r "$id" -b add,maximized_vert,maximized_horz
    not_maximised() { ! xprop -id "$id" _NET_WM_STATE | grep -q MAXIMIZED; }
    if ! until_true not_maximised || ! until_true has_size 781x485; then
        echo "a maximise was not undone: $(xprop -id "$id" _NET_WM_STATE), $(size)"
        status=1
    fi

    wmctrl -i -r "$id" -e 0,-1,-1,400,300
    until_true has_size 781x485 || { echo "the frame shrank the dialog to $(size)"; status=1; }
    wmctrl -i -r "$id" -e 0,-1,-1,900,600
    until_true has_size 900x600 || { echo "the frame did not grow the dialog: $(size)"; status=1; }

    [ "$status" = 0 ] && echo "window manager: as the form says"
    exit "$status"' window-manager-check "$@"
