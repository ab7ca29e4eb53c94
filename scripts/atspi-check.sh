#!/usr/bin/env bash
# Starts ORBA on the demo data under Xvfb with its own session and accessibility bus (at-spi2-core)
# and reads the main window through AT-SPI as a screen reader does (tests/atspi_check.py):
# names of the lists and fields, a search, the details of the first hit, the announcement of the
# next. Argument: the program, build/bin/orba by default. Ends with status 1 when something
# cannot be read.
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "${1:-build/bin/orba}")
work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb; wait $xvfb; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# The number comes before the server takes connections; one that comes too early is refused.
for _ in $(seq 100); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
mkdir "$work/data"
cp -r demo/. "$work/data/"
timeout 120 dbus-run-session -- /usr/bin/python3 tests/atspi_check.py "$program" "$work/data"
