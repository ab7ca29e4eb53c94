#!/usr/bin/env bash
# Builds the Debian package of ORBA from what is installed: the program, its mailer, the data
# set, the system-wide settings, the icon, the menu entry and the software-centre entry. The
# data set is the demo unless --daten names the organisation's folder.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    cat <<'TEXT'
Aufruf: scripts/package.sh [--daten ORDNER [--name NAME] [--demo]]
  ohne Option       Paket mit dem Demo-Datenbestand, nach build/package/
  --daten ORDNER    Paket mit dem Datenbestand der Organisation in ORDNER (Katalog, Masken,
                    Hilfe, orbaw.ini), nach build-ORDNERNAME/package/
  --name NAME       Name des Datenbestands in der Paketversion (4.0+NAME), sonst der des Ordners
  --demo            der Ordner ist eine Demo; nur dann darf er den Demo-Schlüssel tragen
TEXT
}

data=""
name=""
demo=OFF
while [ $# -gt 0 ]; do
    case "$1" in
        --daten) [ $# -ge 2 ] || { usage >&2; exit 1; }; data=$2; shift 2 ;;
        --name) [ $# -ge 2 ] || { usage >&2; exit 1; }; name=$2; shift 2 ;;
        --demo) demo=ON; shift ;;
        -h|--help) usage; exit 0 ;;
        *) echo "Unbekannte Option: $1" >&2; usage >&2; exit 1 ;;
    esac
done

scripts/deps.sh
if [ -z "$data" ]; then
    build=build
    data=$PWD/demo
    demo=ON
else
    [ -d "$data" ] || { echo "Den Ordner $data gibt es nicht." >&2; exit 1; }
    data=$(cd "$data" && pwd)
    build=build-$(basename "$data")
fi
# Configuring checks the data set, and refuses the demo's update key unless it is a demo.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBA_DATA_SET="$data" \
    -DORBA_DATA_SET_NAME="$name" -DORBA_DEMO="$demo" >/dev/null
cmake --build "$build" --target orba send orba_icons orba_docs -- -j"$(nproc)" >/dev/null
log=$(cd "$build" && cpack 2>&1) || { echo "$log" >&2; exit 1; }
deb=$(echo "$log" | sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p')
echo "$deb"
echo "Installieren: sudo apt install $deb"
