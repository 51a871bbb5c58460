#!/usr/bin/env bash
# End-to-end accessibility: the real program on its own Xvfb display and
# D-Bus session with the AT-SPI registry, read by an AT-SPI client.
# Usage: check_atspi.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    sleep 1
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$1" &
    program=$!
    status=0
    timeout 60 /usr/bin/python3 "$2" wertomat || status=$?
    kill "$program" "$launcher" 2>/dev/null || true
    exit "$status"' check_atspi "$program" "$here/atspi_tree.py"
