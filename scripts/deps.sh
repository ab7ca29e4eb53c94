#!/usr/bin/env bash
# Installs the Debian packages ORBA needs to build, run and test, but only those missing; further
# packages named as arguments (the sanitizer and fuzzing scripts' Clang) come along.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libgl-dev
          xvfb xauth fonts-liberation2 poppler-utils libcurl4-openssl-dev
          python3-aiosmtpd libchm-dev xdotool libxcb1-dev openssl qtkeychain-qt6-dev
          librsvg2-bin dpkg-dev desktop-file-utils appstream libsodium-dev lintian
          at-spi2-core dbus python3-pyatspi "$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive $line
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo apt-get update -qq && sudo DEBIAN_FRONTEND=noninteractive $line
else
    echo "Es fehlen Pakete. Bitte als root ausführen: apt-get update && $line" >&2
    exit 1
fi
