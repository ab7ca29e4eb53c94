#!/usr/bin/env bash
# Builds the Debian package of ORBA into build/package/ from what is installed: the program,
# its mailer, the data set, the icon, the menu entry and the software-centre entry.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh orba send orba_icons >/dev/null
log=$(cd build && cpack 2>&1) || { echo "$log" >&2; exit 1; }
deb=$(echo "$log" | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
echo "$deb"
echo "Installieren: sudo apt install $deb"
