#!/usr/bin/env bash
# The program as a user starts it, on a virtual X display: a setup file that
# names an airplane type the table lacks on the command line, a flight level
# typed with letters the field refuses (no airplane's ceiling caps it), Execute
# refused with a warning, the window closed from the File menu, the offer to
# save answered Yes and a name typed without extension. The file on disk must
# then hold the typed level, its temperature and the file's own type.
# Usage: setup_close_e2e.sh <mirovax executable> <work directory>
# Runs itself under xvfb-run when no display is set.
set -euo pipefail

exe=$(realpath "$1")
work=$(realpath -m "$2")
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 800x700x24" "$0" "$@"
fi

rm -rf "$work"
mkdir -p "$work"
setup="$work/trip.mrx"
original='KSFO\r\nKBFI\r\n594\r\n12000\r\n310\r\n-46\r\n0\r\nKSEA\r\n433\r\n5\r\n45\r\n1500\r\n0\r\n70000\r\n60000\r\nNo Such Type\r\nFAR Domestic\r\n'
printf "$original" >"$setup"

# The save dialog opens in the current directory.
cd "$work"
"$exe" "$setup" >"$work/program.log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# Waits for a window with the given title and gives it the keyboard (there
# is no window manager to do so).
focus() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -1 || true)
    if [ -n "$id" ]; then
      sleep 0.3
      xdotool windowfocus --sync "$id"
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "no window \"$1\" appeared" >&2
  exit 1
}

main=$(focus "Mirovax - Version")
# From the airplane selector, eight Tabs lead to the flight level, thirteen
# more to Execute.
for _ in $(seq 8); do xdotool key Tab; done
xdotool type --delay 30 "4a2-0"
for _ in $(seq 13); do xdotool key Tab; done
xdotool key space
focus "Warning" >/dev/null
xdotool key Return
sleep 0.5

# File menu, last item (Exit).
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 15)) $((Y + 10)) click 1
sleep 0.5
xdotool key Up Return
focus "Warning" >/dev/null
xdotool key Return # Yes
focus "Save As" >/dev/null
xdotool type --delay 30 "saved"
xdotool key Return

for _ in $(seq 100); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  echo "the window did not close" >&2
  exit 1
fi

level=420 # as typed: no ceiling caps it
template='KSFO\r\nKBFI\r\n594\r\n12000\r\n%s\r\n-56\r\n0\r\nKSEA\r\n433\r\n5\r\n45\r\n1500\r\n0\r\n70000\r\n60000\r\nNo Such Type\r\nFAR Domestic\r\n'
# shellcheck disable=SC2059
if ! cmp -s "$work/saved.mrx" <(printf "$template" "$level"); then
  echo "saved.mrx differs:" >&2
  od -c "$work/saved.mrx" >&2
  exit 1
fi
cmp -s "$setup" <(printf "$original") || {
  echo "the loaded file was changed" >&2
  exit 1
}
[ "$(ls -A "$work" | sort | tr '\n' ' ')" = "program.log saved.mrx trip.mrx " ] || {
  echo "stray files: $(ls -A "$work")" >&2
  exit 1
}
echo "ok: saved.mrx holds level $level"
