#!/usr/bin/env bash
# Takes the README's picture of the compare window on a virtual screen: the
# first airplane of the shipped table with the entries at start, the window
# opened with its tool button.
#   scripts/screenshot-compare.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
out=$(cd "$(dirname "$0")/.." && pwd)/docs/screenshot-compare.png
xvfb-run -a -s "-screen 0 1600x1500x24" bash -c '
  cd "$1/bin"
  ./mirovax &
  pid=$!
  sleep 5
  eval "$(xdotool getwindowgeometry --shell "$(xdotool search --name "^Mirovax - Version" | head -1)")"
  # The compare button stands 170 px from the left of the tool bar, below
  # the menu bar.
  xdotool mousemove --sync $((X + 181)) $((Y + 36)) click 1
  sleep 4
  import -window "$(xdotool search --name "^Compare$" | head -1)" "$2"
  kill "$pid"
' _ "$build" "$out"
echo "$out"
