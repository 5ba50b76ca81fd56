#!/usr/bin/env bash
# Ctrl+C during a Maximum Range search acts as the Abort button: the search
# stops, its results are shown and the run is valid; files after it in a
# batch are not solved. The airplane's trip fuel never grows with distance,
# so without the interrupt the search would not end.
# Usage: interrupt_e2e.sh BIN_DIR WORK_DIR
set -euo pipefail
bin="$1"
work="$2"
rm -rf "$work"
mkdir -p "$work"
cd "$work"

cat > endless.csv <<'CSV'
Type,Airframe,Engine,DOW,MTOW,MLAW,MZFW,TCAP,MaxAlt,Mach,aH1,bH1,aH2,bH2,MaxHold,aC1,bC1,aC2,bC2,MinCruise,MaxCruise,aC3,bC3,Reference
ENDLESS,Endless,Example engine,14000,30000,25000,21000,6000,41000,0.78,0.1,500,0.08,400,15000,0,100,0,50,200,400,0,10,trip fuel that never grows with distance
CSV
"$bin/mirovax-tables" import airplanes endless.csv Airplane.DB
printf '%s\r\n' KSFO KBFI 594 5000 310 -46 20 KSEA 433 100 45 1500 5 30000 25000 ENDLESS ICAO > Endless.MRX

# Sends SIGINT once the search runs, then collects the exit status.
interrupt() {
    "$bin/mirovax-cli" solve "$@" --tables . --mode range --json > out.json 2> err.txt &
    local pid=$!
    sleep 1
    kill -INT "$pid"
    local rc=0
    wait "$pid" || rc=$?
    echo "$rc"
}

rc=$(interrupt Endless.MRX)
[ "$rc" -eq 0 ] || { echo "single file: exit $rc, expected 0"; cat err.txt; exit 1; }
grep -q '"valid":true' out.json || { echo "not valid"; cat out.json; exit 1; }
grep -q '"Label12":"Aborted by User"' out.json || { echo "not aborted"; cat out.json; exit 1; }

rc=$(interrupt Endless.MRX Endless.MRX Endless.MRX)
[ "$rc" -eq 130 ] || { echo "batch: exit $rc, expected 130"; cat err.txt; exit 1; }
[ "$(wc -l < out.json)" -eq 1 ] || { echo "batch: expected one answer"; cat out.json; exit 1; }
grep -q 'interrupted: 2 of 3 setup files not solved' err.txt || { echo "no notice"; cat err.txt; exit 1; }
echo "ok"
