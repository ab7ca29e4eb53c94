#!/usr/bin/env bash
# Builds ORBA and starts it in run/, a working directory filled from the demo data.
# Without a display it runs under Xvfb, saves a screenshot of the main window and ends.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# Only what running needs; the tests and benchmarks are built by scripts/test.sh.
scripts/build.sh orba send orbashot
bin=$PWD/build/bin
mkdir -p run
# Only what is missing: the user's lists, notes and settings in run/ stay as they are.
cp -rn demo/. run/
# The mailer that sends e-mail orders lies beside the data, where ORBA looks for it.
cp -f "$bin/send.exe" run/send.exe
cd run
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$bin/orba"
fi
echo "Kein Bildschirm gefunden: ORBA startet unter Xvfb und speichert ein Bildschirmfoto."
shot="$PWD/orba-start.png"
xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/orbashot" "$shot"
