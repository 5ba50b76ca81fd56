#!/usr/bin/env bash
# mirovax-tables as a user runs it: each refusal exits with its status and
# message, and leaves the files it names as they were.
#   tables_tool_refusals.sh MIROVAX_TABLES AIRPORTS_CSV
set -uo pipefail
tool=$1
csv=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$csv" "$work/airports.csv"
"$tool" import airports "$work/airports.csv" "$work/Airports.DB" || { echo "FAIL: the import failed"; exit 1; }
csv_before=$(sha256sum <"$work/airports.csv")
db_before=$(sha256sum <"$work/Airports.DB")

failures=0
expect() {
  local status=$1 message=$2
  shift 2
  local err got=0
  err=$("$@" 2>&1 >/dev/null) || got=$?
  if [ "$got" -ne "$status" ]; then
    echo "FAIL: $* exited $got, not $status: $err"
    failures=$((failures + 1))
  elif [[ "$err" != *"$message"* ]]; then
    echo "FAIL: $* said \"$err\", not \"$message\""
    failures=$((failures + 1))
  fi
}
expect 2 "usage: mirovax-tables import" "$tool" import ships "$work/airports.csv" "$work/x.DB"
expect 1 "it is the CSV file this run reads" "$tool" import airports "$work/airports.csv" "$work/airports.csv"
expect 1 "it is the table this run reads" "$tool" export "$work/Airports.DB" "$work/Airports.DB"

[ "$(sha256sum <"$work/airports.csv")" = "$csv_before" ] || { echo "FAIL: the CSV file changed"; failures=$((failures + 1)); }
[ "$(sha256sum <"$work/Airports.DB")" = "$db_before" ] || { echo "FAIL: the table changed"; failures=$((failures + 1)); }
[ "$failures" -eq 0 ] && echo "all refusals as expected"
exit "$failures"
