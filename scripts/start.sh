#!/usr/bin/env bash
# Installs what building and running needs and is missing (the run profile of
# install-deps.sh), builds Mirovax (as the package ships it, in
# build-release/) and starts it. Arguments go to the program (a setup file to
# open, for instance).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" run
"$root/scripts/build-release.sh" "$root/build-release"
bin="$root/build-release/bin"
if [ -x "$bin/mirovax" ]; then
  exec "$bin/mirovax" "$@"
fi
exec "$bin/mirovax-cli" "$@"
