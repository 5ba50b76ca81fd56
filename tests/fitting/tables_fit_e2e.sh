#!/usr/bin/env bash
# mirovax-tables fit as a user runs it on the example manual tables: the fit
# refused at the default threshold with nothing written, accepted with a
# wider one into a copy of the shipped airplane table (first row kept), the
# new type solved by mirovax-cli, --out imported again, usage errors.
#   tables_fit_e2e.sh BIN_DIR EXAMPLE_TABLES_CSV
set -uo pipefail
bin=$1
tables=$2
tool=$bin/mirovax-tables
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin/Airplane.DB" "$bin/Airports.DB" "$work/"
before=$(sha256sum <"$work/Airplane.DB")
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
weights=(--type "A320 (own tables)" --airframe "Airbus A320-200" --dow 41295 --mtow 78000 --mlaw 66000
  --mzfw 62500 --tcap 19437 --maxalt 39800 --mach 0.78)

err=$("$tool" fit "$tables" "${weights[@]}" --into "$work/Airplane.DB" --out "$work/row.csv" 2>&1 >/dev/null)
[ $? -eq 2 ] || fail "--into with --out is not a usage error: $err"
err=$("$tool" fit "$tables" --type X --into "$work/Airplane.DB" 2>&1 >/dev/null)
[ $? -eq 2 ] && [[ "$err" == *"a table row needs --dow --mtow"* ]] || fail "a row without weights: $err"
err=$("$tool" fit "$tables" --dow 42,6 --max-error 0 2>&1 >/dev/null)
[ $? -eq 2 ] && [[ "$err" == *'--dow: "42,6" is not a number'* ]] || fail "a number with a comma: $err"
err=$("$tool" fit "$tables" --max-error 0 2>&1 >/dev/null)
[ $? -eq 2 ] && [[ "$err" == *'--max-error: "0" is not above 0'* ]] || fail "a threshold of 0: $err"
err=$("$tool" fit "$tables" "${weights[@]}" --into "$tables" 2>&1 >/dev/null)
[ $? -eq 1 ] && [[ "$err" == *"the tables being fitted"* ]] || fail "writing into the input: $err"

out=$("$tool" fit "$tables" "${weights[@]}" --into "$work/Airplane.DB" --plot "$work/fit.svg" 2>"$work/err")
[ $? -eq 1 ] && grep -q "fit refused: the residual at line .* beyond the 10 % accepted" "$work/err" \
  || fail "the default threshold: $(cat "$work/err")"
[[ "$out" == *"trip fuel: 54 rows, RMS"* ]] || fail "no residual summary: $out"
[ "$(sha256sum <"$work/Airplane.DB")" = "$before" ] || fail "a refused fit changed the table"
head -c 200 "$work/fit.svg" | grep -q "<svg" || fail "the plot of a refused fit is missing"

out=$("$tool" fit "$tables" "${weights[@]}" --max-error 14 --into "$work/Airplane.DB" 2>&1)
[ $? -eq 0 ] && [[ "$out" == *"Added A320 (own tables) in"* ]] || fail "the fit into the table: $out"
types=$("$tool" export "$work/Airplane.DB" | cut -d, -f1)
[ "$(sed -n 2p <<<"$types")" = "A320-214" ] || fail "the first row is not A320-214: $types"
[ "$(tail -n 1 <<<"$types")" = "A320 (own tables)" ] || fail "the type was not added last: $types"
out=$("$tool" fit "$tables" "${weights[@]}" --max-error 14 --into "$work/Airplane.DB" 2>&1)
[[ "$out" == *"Replaced A320 (own tables) in"* ]] || fail "a second fit did not replace the row: $out"
[ "$("$tool" export "$work/Airplane.DB" | cut -d, -f1 | tail -n +2 | sort | uniq -d)" = "" ] || fail "a type twice"

# The fitted type flies the start-up mission in the program.
printf 'KSFO\r\nKBFI\r\n594\r\n12000\r\n310\r\n-47\r\n0\r\nKSEA\r\n433\r\n5\r\n45\r\n1500\r\n5\r\n78000\r\n66000\r\nA320 (own tables)\r\nICAO\r\n' \
  >"$work/Own.MRX"
out=$("$bin/mirovax-cli" solve "$work/Own.MRX" --tables "$work" --json 2>&1)
[ $? -eq 0 ] && [[ "$out" == *'"valid":true'* ]] || fail "the fitted type does not solve: $out"

"$tool" fit "$tables" "${weights[@]}" --max-error 14 --out "$work/row.csv" >/dev/null || fail "--out"
"$tool" import airplanes "$work/row.csv" "$work/Row.DB" || fail "the --out row does not import"

[ "$failures" -eq 0 ] && echo "fit as expected"
exit "$failures"
