#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Mirovax
# need, skipping those already present.
set -euo pipefail

packages=(
  build-essential cmake ninja-build g++ clang clang-format clang-tidy libclang-rt-14-dev
  libsqlite3-dev sqlite3
  libcli11-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev qt6-charts-dev libqt6opengl6-dev libgl-dev qt6-qpa-plugins
  fonts-liberation fonts-dejavu-core
  xvfb xauth imagemagick
  xdotool
  pandoc
  poppler-utils
  chromium
  desktop-file-utils shared-mime-info appstream lintian
  file
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
