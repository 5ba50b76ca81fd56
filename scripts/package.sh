#!/usr/bin/env bash
# Builds the Debian package: a Release build without sanitizers, tests or
# benchmarks in build-pkg/, then `cpack -G DEB`. The package is
# build-pkg/mirovax_<version>_<arch>.deb; install it with
#
#     sudo apt-get install ./build-pkg/mirovax_*.deb
#
# When Debian's checkers are installed (lintian, desktop-file-validate from
# desktop-file-utils), they are run on the package and their findings shown.
#
# usage: package.sh [BUILD_DIR]
set -euo pipefail

cd "$(dirname "$0")/.."
"./scripts/install-deps.sh"
build=${1:-build-pkg}

# Debian's hardening flags (stack protector, fortified functions, read-only
# relocations bound at start); -O3 of the Release build type comes after them
# and wins.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S . -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$cxxflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DMIROVAX_WERROR=OFF -DMIROVAX_SANITIZE=OFF -DMIROVAX_BUILD_TESTS=OFF -DMIROVAX_BUILD_BENCH=OFF -DMIROVAX_FUZZ=OFF
cmake --build "$build" -j2
rm -f "$build"/mirovax_*.deb
(cd "$build" && cpack -G DEB)

deb=$(ls "$build"/mirovax_*.deb)
echo
echo "Package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

if command -v lintian >/dev/null; then
  echo
  echo "lintian:"
  lintian --info --display-info "$deb" || true
fi
if command -v desktop-file-validate >/dev/null; then
  check=$(mktemp -d)
  dpkg-deb -x "$deb" "$check"
  desktop=$check/usr/share/applications/mirovax.desktop
  if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" && echo "desktop-file-validate: no findings"
  fi
  rm -rf "$check"
fi
