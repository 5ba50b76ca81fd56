#!/usr/bin/env bash
# Installs what is missing, builds Mirovax and starts it. Arguments go to the
# program (a setup file to open, for instance).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DMIROVAX_WERROR=OFF -DMIROVAX_BUILD_TESTS=OFF -DMIROVAX_BUILD_BENCH=OFF
cmake --build "$root/build-release"
bin="$root/build-release/bin"
if [ -x "$bin/mirovax" ]; then
  exec "$bin/mirovax" "$@"
fi
exec "$bin/mirovax-cli" "$@"
