#!/usr/bin/env bash
# Installs what is missing, builds Mirovax (as the package ships it, in
# build-release/) and starts it. Arguments go to the program (a setup file to
# open, for instance).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build-release.sh" "$root/build-release"
bin="$root/build-release/bin"
if [ -x "$bin/mirovax" ]; then
  exec "$bin/mirovax" "$@"
fi
exec "$bin/mirovax-cli" "$@"
