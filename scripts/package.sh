#!/usr/bin/env bash
# Builds the Debian package: the build of scripts/build-release.sh (the same
# one the start command makes, in build-release/), then `cpack -G DEB`. The
# package is build-release/mirovax_<version>_<arch>.deb; install it with
#
#     sudo apt-get install ./build-release/mirovax_*.deb
#
# When Debian's checkers are installed (lintian, desktop-file-validate from
# desktop-file-utils), they are run on the package and their findings shown.
#
# usage: package.sh [BUILD_DIR]
set -euo pipefail

cd "$(dirname "$0")/.."
"./scripts/install-deps.sh"
build=${1:-build-release}
"./scripts/build-release.sh" "$build"
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
