#!/usr/bin/env bash
# Builds the program as the package ships it: Release, Debian's hardening
# flags, no sanitizers, tests or benchmarks, warnings not errors (a newer
# compiler must not break a user's build). The start command and the package
# share this build, so a package after a start only needs CPack.
#
# usage: build-release.sh [BUILD_DIR]   (default build-release)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build=${1:-$root/build-release}

# Debian's hardening flags (stack protector, fortified functions, read-only
# relocations bound at start); -O3 of the Release build type comes after them
# and wins.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$cxxflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DMIROVAX_WERROR=OFF -DMIROVAX_SANITIZE=OFF -DMIROVAX_BUILD_TESTS=OFF -DMIROVAX_BUILD_BENCH=OFF \
  -DMIROVAX_FUZZ=OFF
cmake --build "$build" -j2
