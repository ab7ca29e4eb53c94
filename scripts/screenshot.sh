#!/usr/bin/env bash
# Starts ORBA on the demo data under Xvfb, searches, selects a hit and saves the picture that
# the README shows at its top (docs/orba.png); then saves a picture of each main window into
# docs/ for the README's "Using ORBA", and the pictures of the help into demo/html/bilder.
# Arguments: search text and row, default "Masken" 2.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh orbashot >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p docs
bin=$PWD/build/bin
# Each run starts on the demo data as shipped: what one run collects would stand in the next one's way.
shoot() {
    rm -rf "$work/data" && cp -r demo/. "$work/data/"
    (cd "$work/data" && xvfb-run -a -s "-screen 0 1280x1024x24" "$bin/orbashot" "$@")
}
shoot "$PWD/docs/orba.png" "${1:-Masken}" "${2:-2}"
shoot --fenster "$PWD/docs"
shoot --hilfe "$PWD/demo/html/bilder"
