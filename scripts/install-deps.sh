#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Nutrisor need, and the
# further packages named as arguments (scripts/package.sh adds the packaging tools).
set -euo pipefail
packages=(cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libgl-dev pxlib-dev
          libkainjow-mustache-dev googletest libgtest-dev xvfb xauth poppler-utils
          qt6-translations-l10n fonts-wine "$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0
command=(apt-get install -y --no-install-recommends "${missing[@]}")
if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Run as root:" >&2
    echo "  apt-get update && ${command[*]}" >&2
    exit 1
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${command[@]}"
