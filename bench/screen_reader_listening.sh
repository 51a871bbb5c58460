#!/usr/bin/env bash
# Runs screen_reader_listening.py against PROGRAM on a display and D-Bus
# session of its own with the AT-SPI registry (make bench).
set -euo pipefail
program=$1
runs=${2:-9}
here=$(cd "$(dirname "$0")" && pwd)
exec xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    sleep 1
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$1" &
    program=$!
    status=0
    timeout 300 /usr/bin/python3 "$2" "$program" "$3" || status=$?
    kill "$program" "$launcher" 2>/dev/null || true
    exit "$status"' screen_reader_listening "$program" "$here/screen_reader_listening.py" "$runs"
