#!/usr/bin/env bash
# Proves the README on machines where nothing was installed by hand: each
# step runs inside a new Debian 12 root made with `debootstrap --variant=minbase`
# from the mirror this machine's own apt sources name.
#
#   1. start:   a clone of the commit in a fresh root, `./scripts/start.sh`
#               there on Qt's offscreen platform: with only what it installs
#               (the run profile) it must build and keep the window up for
#               10 s;
#   2. test:    `./scripts/test.sh` in the same root (it installs what the
#               tests need, builds, runs every test and the fuzz targets);
#   3. package: `./scripts/package.sh` in the same root (it fails on an
#               error lintian finds in the package), then, in a second
#               fresh root, `apt-get install --no-install-recommends` of the
#               built package: mirovax-cli solves a setup file, mirovax starts
#               offscreen with both installed tables open, and fontconfig
#               finds the fonts the window and the report are laid out for.
#
# A failing step ends the run, naming the step and the first error line of
# its log. The closing line repeats the test command's summary.
#
#   scripts/fresh-check.sh [COMMIT]        (as root; COMMIT defaults to HEAD)
#
# The roots live in build-fresh/ (MIROVAX_FRESH_DIR) and are made anew on
# every run; only the bare debootstrap base is kept as a tarball, for a week,
# in ~/.cache/mirovax-fresh (MIROVAX_FRESH_CACHE). MIROVAX_DEBIAN_MIRROR
# overrides the mirror.
set -euo pipefail

repo="$(cd "$(dirname "$0")/.." && pwd)"
commit=$(git -C "$repo" rev-parse --verify "${1:-HEAD}^{commit}")
work=${MIROVAX_FRESH_DIR:-$repo/build-fresh}
cache=${MIROVAX_FRESH_CACHE:-${HOME:-/root}/.cache/mirovax-fresh}
logs=$work/logs
started=$(date +%s)

if [ "$(id -u)" -ne 0 ]; then
  echo "fresh-check: needs root (debootstrap, chroot and mounts)" >&2
  exit 64
fi

say() { echo "== fresh-check [$(($(date +%s) - started)) s]: $*"; }

# The first line of a log that reads as an error, or its last line.
first_error() {
  local line
  line=$(grep -m1 -E '^E: |CMake Error|FAILED|\*\*\*(Failed|Exception|Timeout|Not Run)|[Ee]rror: |ERROR: |^error' "$1" || true)
  [ -n "$line" ] || line=$(grep -v '^[[:space:]]*$' "$1" | tail -n 1 || true)
  echo "$line"
}

fail_step() {
  local step=$1 log=$2
  echo
  echo "---- last lines of $log:"
  tail -n 40 "$log" || true
  echo "fresh-check: step $step failed: $(first_error "$log")" >&2
  exit 1
}

# --- The host's tools and the mirror ----------------------------------------
host_tools=()
command -v debootstrap >/dev/null || host_tools+=(debootstrap)
command -v unshare >/dev/null || host_tools+=(util-linux)
if [ ${#host_tools[@]} -ne 0 ]; then
  say "installing on this machine: ${host_tools[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${host_tools[@]}"
fi

# The URI of the first apt source (one-line or deb822 form) that serves the
# given suite.
source_uri() {
  local suite=$1 file
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    case $file in
    *.sources)
      awk -v suite="$suite" '
        function flush() { if (types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") && uri != "") { print uri; found = 1; exit } }
        /^[[:space:]]*$/ { flush(); types = ""; uris = ""; suites = ""; uri = ""; next }
        /^Types:/ { sub(/^Types:[[:space:]]*/, ""); types = $0 }
        /^URIs:/ { sub(/^URIs:[[:space:]]*/, ""); split($0, u, " "); uri = u[1] }
        /^Suites:/ { sub(/^Suites:[[:space:]]*/, ""); suites = $0 }
        END { if (!found) flush() }' "$file"
      ;;
    *)
      awk -v suite="$suite" '$1 == "deb" {
          i = 2; if ($i ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
          if ($(i + 1) == suite) { print $i; exit } }' "$file"
      ;;
    esac
  done | head -n 1
}

mirror=${MIROVAX_DEBIAN_MIRROR:-$(source_uri bookworm)}
security=$(source_uri bookworm-security)
if [ -z "$mirror" ]; then
  echo "fresh-check: no apt source of this machine serves Debian bookworm; set MIROVAX_DEBIAN_MIRROR" >&2
  exit 1
fi
say "commit $commit, mirror $mirror"

# --- Roots --------------------------------------------------------------------
base=$cache/bookworm-minbase.tar
if [ -f "$base" ] && [ -z "$(find "$base" -mtime +6)" ]; then
  say "bare base from $base"
else
  say "debootstrap --variant=minbase bookworm"
  mkdir -p "$cache"
  bare=$(mktemp -d "$cache/bare.XXXXXX")
  if ! debootstrap --variant=minbase bookworm "$bare" "$mirror" >"$cache/debootstrap.log" 2>&1; then
    rm -rf --one-file-system "$bare"
    fail_step "debootstrap" "$cache/debootstrap.log"
  fi
  tar -C "$bare" -cf "$base.new" .
  mv "$base.new" "$base"
  rm -rf --one-file-system "$bare"
fi

# A new root from the bare base, with this machine's mirror and name servers.
new_root() {
  local root=$work/$1
  rm -rf --one-file-system "$root"
  mkdir -p "$root"
  tar -C "$root" -xf "$base"
  {
    echo "deb $mirror bookworm main"
    echo "deb $mirror bookworm-updates main"
    [ -z "$security" ] || echo "deb $security bookworm-security main"
  } >"$root/etc/apt/sources.list"
  cp /etc/resolv.conf "$root/etc/resolv.conf"
}

# Runs a command as root inside a root, in mount and process namespaces of its
# own: /proc and /dev are mounted there only, and every process the command
# left behind ends with it.
in_root() {
  local root=$work/$1
  shift
  unshare --mount --pid --fork --propagation private -- /bin/bash -c '
    set -e
    root=$1
    shift
    mount -t proc proc "$root/proc"
    mount --rbind /dev "$root/dev"
    exec chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb CI=true \
      PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      /bin/bash -c "$@"
  ' _ "$root" "$@"
}

rm -rf --one-file-system "$work"
mkdir -p "$logs"

# --- 1. The start command ----------------------------------------------------------
# First, so that the run profile of install-deps.sh alone must build and start
# the program.
say "step 1: ./scripts/start.sh offscreen in a fresh root"
new_root build
git clone --quiet --no-local "$repo" "$work/build/src/mirovax"
git -C "$work/build/src/mirovax" checkout --quiet --detach "$commit"
log=$logs/1-start.log
in_root build '
  cd /src/mirovax
  window=/src/mirovax/build-release/bin/mirovax
  QT_QPA_PLATFORM=offscreen ./scripts/start.sh >/tmp/start.log 2>&1 &
  pid=$!
  # start.sh replaces itself with the window once the build is done.
  until [ "$(readlink /proc/$pid/exe 2>/dev/null)" = "$window" ]; do
    if ! kill -0 $pid 2>/dev/null; then
      cat /tmp/start.log
      wait $pid && status=0 || status=$?
      echo "error: the start command ended (status $status) before the window came up"
      exit 1
    fi
    sleep 1
  done
  cat /tmp/start.log
  echo "the window is up (process $pid); watching it for 10 s"
  sleep 10
  if ! kill -0 $pid 2>/dev/null; then
    cat /tmp/start.log
    echo "error: the window ended within 10 s of coming up"
    exit 1
  fi
  kill $pid
  echo "the window was still up after 10 s"
' >"$log" 2>&1 || fail_step "1 (start command)" "$log"
cat "$log"

# --- 2. The test command --------------------------------------------------------
say "step 2: ./scripts/test.sh in the same root"
log=$logs/2-test.log
in_root build 'cd /src/mirovax && ./scripts/test.sh' 2>&1 | tee "$log" || fail_step "2 (test command)" "$log"
summary=$(grep -E '^tests: [0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1 || true)
[ -n "$summary" ] || fail_step "2 (test command: no closing summary)" "$log"

# --- 3. The package on a minimal machine -----------------------------------------
say "step 3: ./scripts/package.sh in the same root"
log=$logs/3-package.log
in_root build 'cd /src/mirovax && ./scripts/package.sh' >"$log" 2>&1 || fail_step "3 (package.sh)" "$log"
tail -n 30 "$log"
deb=$(find "$work/build/src/mirovax/build-release" -maxdepth 1 -name 'mirovax_*.deb' | head -n 1)
[ -n "$deb" ] || fail_step "3 (package.sh made no package)" "$log"

say "step 3: apt-get install --no-install-recommends $(basename "$deb") in a second fresh root"
new_root install
cp "$deb" "$work/install/tmp/"
log=$logs/3-install.log
in_root install '
  set -euo pipefail
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y --no-install-recommends /tmp/mirovax_*.deb
' >"$log" 2>&1 || fail_step "3 (package install)" "$log"
grep -E '^(The following NEW packages|[0-9]+ upgraded, [0-9]+ newly installed)' "$log" || true

log=$logs/3-installed.log
in_root install '
  set -uo pipefail
  failures=0
  fail() { echo "error: $*"; failures=$((failures + 1)); }
  mkdir -p /tmp/check /tmp/runtime
  chmod 700 /tmp/runtime
  cd /tmp/check
  export XDG_RUNTIME_DIR=/tmp/runtime

  type=$(mirovax-cli airplanes | head -n 1)
  [ -n "$type" ] || fail "mirovax-cli airplanes lists no airplane"
  # MATOW and MALW left empty: the structural limits stay.
  printf "%s\r\n" KSFO KBFI 595 12000 310 -46 20 KSEA 433 5 45 1500 5 "" "" "$type" ICAO >Trip.MRX
  if mirovax-cli solve Trip.MRX >solve.out 2>&1; then
    cat solve.out
    grep -q "^Trip: *[0-9][0-9]:[0-9][0-9] *[1-9][0-9]*\$" solve.out || fail "the solve shows no trip"
  else
    cat solve.out
    fail "mirovax-cli solve Trip.MRX failed"
  fi

  airplanes=$(realpath /usr/lib/mirovax/Airplane.DB)
  airports=$(realpath /usr/lib/mirovax/Airports.DB)
  QT_QPA_PLATFORM=offscreen mirovax Trip.MRX >window.out 2>&1 &
  pid=$!
  found=no
  for _ in $(seq 1 300); do
    kill -0 $pid 2>/dev/null || break
    open=$(find /proc/$pid/fd -type l -exec readlink {} + 2>/dev/null)
    if grep -qxF "$airplanes" <<<"$open" && grep -qxF "$airports" <<<"$open"; then
      found=yes
      break
    fi
    sleep 0.1
  done
  sleep 2
  if [ "$found" = yes ] && kill -0 $pid 2>/dev/null; then
    echo "mirovax is up offscreen with both installed tables open"
    kill $pid
  else
    cat window.out
    fail "mirovax did not come up with both installed tables open"
  fi

  for family in "Liberation Sans" Arial; do
    match=$(fc-match -f "%{family[0]}" "$family")
    echo "fc-match \"$family\": $match"
    [ "$match" = "Liberation Sans" ] || fail "fontconfig finds no Liberation Sans for \"$family\""
  done
  [ "$failures" -eq 0 ]
' >"$log" 2>&1 || fail_step "3 (installed package)" "$log"
cat "$log"

say "all steps passed"
echo "$summary"
