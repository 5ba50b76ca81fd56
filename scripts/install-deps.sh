#!/usr/bin/env bash
# Installs the Debian packages a profile needs, skipping those already
# present. Every package list of the project is here.
#
#   install-deps.sh [run]   what building and running Mirovax needs: the
#                           Release build (scripts/build-release.sh, which
#                           builds no tests or benchmarks) and the window
#                           (scripts/start.sh)
#   install-deps.sh test    the run profile and what the checks need: the
#                           tests and benchmarks, the format and tidy checks,
#                           the fuzz targets, the screenshots and the package
#                           (scripts/test.sh, scripts/package.sh)
set -euo pipefail

profile=${1:-run}

run_packages=(
  # The compiler, CMake and Ninja; build-essential brings dpkg-dev, whose
  # dpkg-buildflags gives the Release build Debian's hardening flags.
  build-essential g++ cmake ninja-build
  libsqlite3-dev
  libcli11-dev
  # Flight plans from other planners are XML.
  libpugixml-dev
  # Forecast winds and temperatures come in GRIB2 files, read with ecCodes.
  libeccodes-dev
  # Qt 6; the window's platform plugins (X and offscreen) come with its GUI
  # library.
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  # The window's layout is measured in Liberation Sans; the diagrams and the
  # dispatch sheet name DejaVu Sans first.
  fonts-liberation fonts-dejavu-core
)

test_packages=(
  # GoogleTest and Google Benchmark (Qt Test comes with qt6-base-dev).
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  # The fuzz targets (clang's libFuzzer and sanitizers), the format and tidy
  # checks (scripts/tidy.sh is Python, as run-clang-tidy is).
  clang libclang-rt-14-dev clang-format clang-tidy python3
  # The window as a user drives it on a virtual X display, and the README's
  # screenshots.
  xvfb xauth xdotool imagemagick
  # Independent readers: pandoc for the saved report, chromium prints the
  # dispatch sheet, poppler reads the printed PDFs.
  pandoc chromium poppler-utils
  # The installed tree's checks: desktop entry, setup-file type, software
  # centres' entry.
  desktop-file-utils shared-mime-info appstream
  # The package: CPack's DEB generator runs file on what it packs; lintian
  # checks the result.
  file lintian
)

case $profile in
run) packages=("${run_packages[@]}") ;;
test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
*)
  echo "usage: $0 [run|test]" >&2
  exit 64
  ;;
esac

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
