#!/usr/bin/env bash
# Builds the Debian package: the build of scripts/build-release.sh (the same
# one the start command makes, in build-release/), then `cpack -G DEB`. The
# package is build-release/mirovax_<version>_<arch>.deb; install it with
#
#     sudo apt-get install ./build-release/mirovax_*.deb
#
# Debian's checker lintian then runs on the package, and an error it finds
# fails the build (the overrides the package carries name the findings that
# do not apply, each with its reason); desktop-file-validate checks the
# desktop entry.
#
# usage: package.sh [BUILD_DIR]
set -euo pipefail

cd "$(dirname "$0")/.."
# CPack's DEB generator runs file; lintian and desktop-file-validate check
# the package: tools of the test profile.
"./scripts/install-deps.sh" test
build=${1:-build-release}
"./scripts/build-release.sh" "$build"
rm -f "$build"/mirovax_*.deb
(cd "$build" && cpack -G DEB)

deb=$(ls "$build"/mirovax_*.deb)
echo
echo "Package: $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

echo
echo "lintian:"
if ! lintian --info --display-info --fail-on error "$deb"; then
  echo "package.sh: lintian finds errors in $deb" >&2
  exit 1
fi
echo "lintian: no errors"
if command -v desktop-file-validate >/dev/null; then
  check=$(mktemp -d)
  dpkg-deb -x "$deb" "$check"
  desktop=$check/usr/share/applications/mirovax.desktop
  if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" && echo "desktop-file-validate: no findings"
  fi
  rm -rf "$check"
fi
