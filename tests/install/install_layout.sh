#!/usr/bin/env bash
# Installs a build into a scratch root (DESTDIR, prefix /usr, as the package
# does) and runs the installed programs from another directory through their
# links in bin:
#   - the layout: program directory, relative links, desktop entry (checked by
#     desktop-file-validate), software centres' entry (checked with it by
#     appstreamcli), setup-file type (compiled by update-mime-database),
#     icons, manual pages, copyright;
#   - mirovax-cli lists the airplanes, computes a distance and solves a setup
#     file with the installed tables;
#   - mirovax (when built) started through its link on the offscreen platform
#     opens both installed tables and is still running two seconds later;
#     the window check WINDOW_TEST then builds the window on the installed
#     program directory and checks the airplane loaded and a solve.
#
# usage: install_layout.sh BUILD_DIR WORK_DIR [WINDOW_TEST]
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
  echo "usage: $0 BUILD_DIR WORK_DIR [WINDOW_TEST]" >&2
  exit 64
fi
build=$1
work=$2
window_test=${3:-}

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
need_file() {
  [ -f "$1" ] || fail "missing file ${1#"$root"}"
}

rm -rf "$work"
mkdir -p "$work/root" "$work/elsewhere" "$work/runtime"
chmod 700 "$work/runtime"
work=$(cd "$work" && pwd -P)
root=$work/root
prefix=$root/usr
program_dir=$prefix/lib/mirovax

DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log"

# --- Layout -----------------------------------------------------------------
window=no
[ -e "$program_dir/mirovax" ] && window=yes
programs=(mirovax-cli mirovax-tables)
[ "$window" = yes ] && programs+=(mirovax)
if [ "$window" = yes ] && [ -z "$window_test" ]; then
  fail "the window is installed but no window check was given"
fi

for p in "${programs[@]}"; do
  [ -x "$program_dir/$p" ] || fail "$p is not an executable in lib/mirovax"
  if [ ! -L "$prefix/bin/$p" ]; then
    fail "bin/$p is not a link"
  elif [ "$(readlink "$prefix/bin/$p")" != "../lib/mirovax/$p" ]; then
    fail "bin/$p points to $(readlink "$prefix/bin/$p"), not ../lib/mirovax/$p"
  fi
  man=$prefix/share/man/man1/$p.1.gz
  need_file "$man"
  if [ -f "$man" ]; then
    gzip -t "$man" || fail "$p.1.gz is not a valid gzip file"
    gzip -dc "$man" | grep -q "^\.TH " || fail "$p.1.gz holds no manual page"
  fi
done
need_file "$program_dir/Airplane.DB"
need_file "$program_dir/Airports.DB"
need_file "$prefix/share/doc/mirovax/copyright"
need_file "$prefix/share/doc/mirovax/changelog.gz"
grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
  "$prefix/share/doc/mirovax/copyright" || fail "copyright is not in the machine-readable format"

if [ "$window" = yes ]; then
  need_file "$program_dir/MRX_HELP.hlp"
  desktop=$prefix/share/applications/mirovax.desktop
  need_file "$desktop"
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects mirovax.desktop"
  grep -qx "Exec=mirovax %f" "$desktop" || fail "the desktop entry does not pass the file to mirovax"
  grep -qx "MimeType=application/x-mirovax-setup;" "$desktop" || fail "the desktop entry names no setup-file type"
  for size in 16 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/mirovax.png
    need_file "$icon"
    # The PNG header holds width and height as big-endian words at byte 16.
    if [ -f "$icon" ]; then
      dims=$(od -An -tu1 -j16 -N8 "$icon" | tr -s ' ' | sed 's/^ //')
      word="0 0 $((size / 256)) $((size % 256))"
      [ "$dims" = "$word $word" ] || fail "the ${size}x${size} icon is not $size pixels square"
    fi
  done
  need_file "$prefix/share/icons/hicolor/scalable/apps/mirovax.svg"

  # The software centres' entry, checked together with the desktop entry and
  # the icons it goes with.
  need_file "$prefix/share/metainfo/invalid.mirovax.mirovax.metainfo.xml"
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate-tree --no-net "$root" >"$work/appstream.log" 2>&1 \
      || fail "appstreamcli validate-tree rejects the installed tree: $(cat "$work/appstream.log")"
  fi

  # The setup-file type as shared-mime-info compiles it.
  mime=$work/mime
  mkdir -p "$mime/packages"
  cp "$prefix/share/mime/packages/mirovax.xml" "$mime/packages/"
  update-mime-database "$mime" >"$work/mime.log" 2>&1 || fail "update-mime-database rejects mirovax.xml"
  for glob in '*.MRX' '*.mrx'; do
    grep -qF ":application/x-mirovax-setup:$glob:cs" "$mime/globs2" \
      || fail "the setup-file type does not claim $glob"
  done
fi

# --- The command line through its link, from another directory -------------
cd "$work/elsewhere"
export PATH="$prefix/bin:$PATH"
export XDG_RUNTIME_DIR=$work/runtime
hash -r
[ "$(command -v mirovax-cli)" = "$prefix/bin/mirovax-cli" ] || fail "mirovax-cli is not found on the path"

airplanes=$(mirovax-cli airplanes) || fail "mirovax-cli airplanes failed"
first_type=${airplanes%%$'\n'*}
[ -n "$first_type" ] || fail "mirovax-cli airplanes lists no airplane"
distance=$(mirovax-cli distance KSFO KBFI) || fail "mirovax-cli distance failed"
[ "$distance" = "distance=595" ] || fail "mirovax-cli distance KSFO KBFI gave \"$distance\""

# The default entries, for the first airplane of the table. MATOW and MALW
# are left empty, so the airplane's structural maxima stand, with a note.
printf '%s\r\n' KSFO KBFI 595 12000 310 -46 20 KSEA 433 5 45 1500 5 '' '' "$first_type" ICAO >Trip.MRX
status=0
mirovax-cli solve Trip.MRX >solve.out 2>solve.err || status=$?
if [ "$status" -ne 0 ]; then
  fail "mirovax-cli solve Trip.MRX exited $status: $(cat solve.err)"
else
  grep -q "Line 14 (MATOW) of the setup file is empty" solve.err || fail "no note on MATOW: $(cat solve.err)"
  grep -q "^Airplane: *$first_type\$" solve.out || fail "the solve names no airplane: $(cat solve.out)"
  grep -q "^Trip: *[0-9][0-9]:[0-9][0-9] *[1-9][0-9]*\$" solve.out || fail "the solve shows no trip: $(cat solve.out)"
fi
mirovax-tables export "$program_dir/Airports.DB" >airports.csv || fail "mirovax-tables export failed"
grep -q "^KSEA," airports.csv || fail "mirovax-tables export of the installed airport table has no KSEA"

# --- The window through its link, from another directory --------------------
if [ "$window" = yes ]; then
  airplane_db=$(realpath "$program_dir/Airplane.DB")
  airports_db=$(realpath "$program_dir/Airports.DB")
  QT_QPA_PLATFORM=offscreen mirovax Trip.MRX >window.out 2>&1 &
  pid=$!
  # Both tables stay open for the whole run once start-up has found them.
  found=no
  for _ in $(seq 1 200); do
    kill -0 "$pid" 2>/dev/null || break
    open_files=$(find "/proc/$pid/fd" -type l -exec readlink {} + 2>/dev/null || true)
    if grep -qxF "$airplane_db" <<<"$open_files" && grep -qxF "$airports_db" <<<"$open_files"; then
      found=yes
      break
    fi
    sleep 0.1
  done
  [ "$found" = yes ] || fail "mirovax did not open both installed tables: $(cat window.out)"
  sleep 2
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  else
    status=0
    wait "$pid" || status=$?
    fail "mirovax ended within two seconds of start (status $status): $(cat window.out)"
  fi

  MIROVAX_INSTALLED_BIN=$prefix/bin QT_QPA_PLATFORM=offscreen "$window_test" \
    || fail "the window check on the installed tree failed"
else
  echo "The window is not built: only the command line was checked."
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "Installed tree in $root: all checks passed."
