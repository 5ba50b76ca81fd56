#!/usr/bin/env bash
# Takes the README's picture of the diagram window on a virtual screen of the
# window's size: the A320-214 of the shipped table with the entries at start.
#   scripts/screenshot-payload-range.sh BUILD_DIR [TYPE]
set -euo pipefail
build=${1:?build directory}
type=${2:-A320-214}
out=$(cd "$(dirname "$0")/.." && pwd)/docs/screenshot-payload-range.png
xvfb-run -a -s "-screen 0 900x640x24" bash -c '
  "$1/bin/payload-range-preview" "$2" &
  pid=$!
  sleep 3
  import -window root "$3"
  kill "$pid"
' _ "$build" "$type" "$out"
echo "$out"
