#!/usr/bin/env bash
# Starts ORBA on the demo data under Xvfb, searches, selects a hit and saves the picture that
# the README shows (docs/orba.png). Arguments: search text and row, default "Masken" 2.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh orbashot >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r demo/. "$work/"
mkdir -p docs
shot="$PWD/docs/orba.png"
(cd "$work" && xvfb-run -a -s "-screen 0 1280x1024x24" "$OLDPWD/build/bin/orbashot" \
    "$shot" "${1:-Masken}" "${2:-2}")
