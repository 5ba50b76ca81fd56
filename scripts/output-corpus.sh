#!/usr/bin/env bash
# Writes what the command-line programs print and write for a fixed set of
# setup files and options into one directory, a file per command, so that two
# builds can be compared byte for byte (`diff -r A B`) around a change that
# must not change behaviour. Uses the shipped tables beside the programs.
#
# usage: output-corpus.sh BIN_DIR OUT_DIR
#   BIN_DIR  the directory of mirovax-cli, mirovax-tables and the tables
#            (build-test/bin, for instance)
#   OUT_DIR  made anew
#
# A report names its setup file by its whole path, so make both corpora in
# the same OUT_DIR:
#   scripts/output-corpus.sh build-test/bin /tmp/corpus && mv /tmp/corpus /tmp/corpus.before
#   (change, rebuild)
#   scripts/output-corpus.sh build-test/bin /tmp/corpus && diff -r /tmp/corpus.before /tmp/corpus
set -euo pipefail

bin=$(realpath "$1")
out=$(realpath -m "$2")
tables="$bin/mirovax-tables"
root="$(cd "$(dirname "$0")/.." && pwd)"
rm -rf "$out"
mkdir -p "$out/setups" "$out/tables"
# Relative paths throughout: a message that names a file reads the same
# whichever directories the two runs use.
cp "$bin/Airplane.DB" "$bin/Airports.DB" "$out/tables/"
cd "$out/setups"

# Dated sheets and reports come out the same on every run.
export SOURCE_DATE_EPOCH=1796722800
crlf() { printf '%s\r\n' "$@"; }
crlf KSFO KBFI 594 12000 310 -46 0 KSEA 433 5 45 1500 0 78000 66000 A320-214 "FAR Domestic" >Trip.MRX
crlf KJFK EGLL 2989 12000 310 -47 20 EGKK 203 30 30 1500 5 351534 251290 B777-300ER ICAO >Long.MRX
crlf EDDF LFPG 243 9000 450 -40 -15 EGLL 83 21 30 2000 5 99999 99999 A320-271N JAA >Capped.MRX
crlf KSFO KBFI 594 12000 310 -46 0 KSEA 433 5 45 1500 0 78000 66000 B777-9X ICAO >Unlisted.MRX
crlf KSFO KBFI 5x4 12000 310 -46 0 KSEA 433 5 45 1500 0 78000 66000 A320-214 ICAO >Unreadable.MRX
setups=(Trip.MRX Long.MRX Capped.MRX Unlisted.MRX Unreadable.MRX)

n=0
cli() { "$bin/mirovax-cli" "$@" --tables ../tables; }
# run NAME COMMAND...: standard output, standard error and the exit status.
run() {
  local name=$1
  shift
  n=$((n + 1))
  local status=0
  "$@" >"../$name.out" 2>"../$name.err" || status=$?
  echo "$status" >"../$name.status"
}

run airplanes cli airplanes
run distance cli distance KSFO KBFI
run distance-unknown cli distance KSFO QQQQ
run alternate cli alternate KSEA KBFI
for mode in trip payload range; do
  run "solve-$mode" cli solve "${setups[@]}" --mode "$mode"
  run "solve-$mode-json" cli solve "${setups[@]}" --mode "$mode" --json
  run "solve-$mode-margins" cli solve Trip.MRX Long.MRX --mode "$mode" --margins
  run "solve-$mode-set" cli solve Trip.MRX --mode "$mode" --airplane B737-800 \
    --set regulations=JAA --set payload=15000 --set matow=70000 --json
  run "solve-$mode-report" cli solve Long.MRX --mode "$mode" --report "../report-$mode.rtf"
  run "solve-$mode-sheet" cli solve Trip.MRX --mode "$mode" --sheet "../sheet-$mode.html" \
    --flight MX101 --registration D-AMRX
done
run payload-range-table cli payload-range Long.MRX --points 12
run payload-range-csv cli payload-range Trip.MRX --csv
run payload-range-json cli payload-range Trip.MRX --json --set matow=70000
run payload-range-svg cli payload-range Long.MRX --svg ../diagram.svg
run payload-range-unlisted cli payload-range Unlisted.MRX
run sweep-table cli sweep Trip.MRX --vary flight-level=250:410:40 --isa \
  --vary regulations="JAA,FAR Domestic,Nonsense"
run sweep-csv cli sweep Trip.MRX --mode range --vary payload=0:20000:2500 \
  --vary airplane=A320-214,B737-800,B777-9X --csv
run sweep-json cli sweep Long.MRX --mode payload --vary distance=1000:7000:1500 --json
run sweep-refused cli sweep Trip.MRX --vary payload=1:2:0
run usage cli solve --no-such-option
for command in solve payload-range sweep airplanes distance alternate; do
  run "help-$command" cli "$command" --help
done
run help cli --help
run tables-export "$tables" export ../tables/Airplane.DB ../airplanes.csv
cp "$root/docs/fit-example/tables.csv" fit.csv
run tables-fit "$tables" fit fit.csv --dow 41295 --max-error 14
echo "output-corpus: $n commands into $out"
