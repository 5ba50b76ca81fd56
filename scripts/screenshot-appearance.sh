#!/usr/bin/env bash
# Takes the README's pictures of how the windows look:
#   - the main window at twice the scale (QT_SCALE_FACTOR=2) on a virtual
#     screen, after a run of the first airplane of the shipped table;
#   - the main, payload-range and limits windows under Fusion with a dark
#     and with a high-contrast palette, as the appearance test drives them.
#   scripts/screenshot-appearance.sh BUILD_DIR
set -euo pipefail
build=${1:?build directory}
docs=$(cd "$(dirname "$0")/.." && pwd)/docs

xvfb-run -a -s "-screen 0 1400x1500x24" bash -c '
  cd "$1/bin"
  QT_SCALE_FACTOR=2 ./mirovax &
  pid=$!
  sleep 5
  window=$(xdotool search --name "^Mirovax - Version" | head -1)
  # The middle of Execute: 284, 340 in the client area, which starts below
  # the menu bar (about 21 logical pixels); every logical pixel is two.
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove --sync $((X + 2 * 284)) $((Y + 2 * (21 + 340))) click 1
  sleep 2
  import -window "$window" "$2/screenshot-scale-2.png"
  kill "$pid"
' _ "$build" "$docs"
echo "$docs/screenshot-scale-2.png"

MIROVAX_SCREENSHOT_DIR=$docs QT_QPA_PLATFORM=offscreen "$build/bin/test_appearance" everyTextReads >/dev/null
# The README shows the dark palette's three windows and the high-contrast
# main window.
rm -f "$docs"/screenshot-light*.png "$docs"/screenshot-high-contrast-*.png
ls "$docs"/screenshot-dark*.png "$docs"/screenshot-high-contrast.png
