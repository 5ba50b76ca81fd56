#!/usr/bin/env python3
"""Real-world fuel burn per type, and the shipped table measured against it.

    python3 data/fit/t2_table.py table T2.csv [OUT.csv]
    python3 data/fit/t2_table.py compare [airplanes.csv [t2_fuel_2024.csv]]

"table" reads the US DOT Form 41 Schedule T-2 file (Bureau of
Transportation Statistics, "Traffic and capacity statistics by aircraft
type", 2024, US carriers; public domain) and writes the small table the
`data` tests read (tests/refdata/data/t2_fuel_2024.csv): for each shipped type
with a T-2 row, passenger configuration (AIRCRAFT_CONFIG 1), all services
(SERVICE_CLASS Z), the fuel issued (AIRCRAFT_FUELS_921, US gallons, taxi
included) over the airborne hours (HOURS_AIRBORNE_650) at 3.78541 L/gal and
0.80 kg/L, and the average stage, REV_ACRFT_MILES_FLOWN_410 over
REV_ACRFT_DEP_PERF_510 in statute miles x 0.868976.

"compare" prints, as Markdown for data/README.md, the program's fuel per
airborne hour for each type at its T-2 stage next to T-2's: Trip Time and
Fuel with a payload of 60 % of MZFW - DOW, FL350 at the standard temperature
(-54 C), still air, 30 min holding at 1500 ft, 5 % contingency and a 100 NM
alternate at sea level. The program's formulas, restated:

    TrueAirspeed   = sqrt(273.15 + OAT) x Mach x 38.9681
    holding fuel   = (aH1 x ZFW + bH1) x 30 / 60
    alternate fuel = aC3 x W + bC3 + aC1 x 100 + bC1,    W = ZFW + holding
    trip fuel      = aC3 x L + bC3 + the cruise line at FL350 x stage,
                     L = W + alternate fuel
    fuel per hour  = trip fuel / (stage / TrueAirspeed)

The `data` tests run the same missions through the program itself.
"""

import csv
import math
import os
import sys

# T-2 AIRCRAFT_TYPE code, T-2's name, shipped type.
T2_TYPES = [
    (694, "A320", "A320-214"), (698, "A319", "A319-132"), (699, "A321", "A321-231"),
    (722, "A320neo", "A320-271N"), (721, "A321neo", "A321-271N"), (612, "737-700", "B737-700"),
    (614, "737-800", "B737-800"), (888, "737-900ER", "B737-900"), (838, "737 MAX 8", "B737 MAX 8"),
    (839, "737 MAX 9", "B737 MAX 9"), (622, "757-200", "B757-200"), (887, "787-8", "B787-8"),
    (889, "787-9", "B787-9"), (627, "777-200ER/LR", "B777-200ER"), (637, "777-300ER", "B777-300ER"),
    (696, "A330-200", "A330-200"), (687, "A330-300", "A330-300"), (359, "A350-900", "A350-941"),
    (673, "E175", "E175LR"),
]
SOURCE = [
    "# US DOT BTS Form 41 Schedule T-2, 2024, US carriers (public domain): AIRCRAFT_CONFIG 1, SERVICE_CLASS Z.",
    "# kg_per_hour = sum AIRCRAFT_FUELS_921 (US gal) x 3.78541 L/gal x 0.80 kg/L / sum HOURS_AIRBORNE_650;",
    "# stage_nm = sum REV_ACRFT_MILES_FLOWN_410 / sum REV_ACRFT_DEP_PERF_510 x 0.868976. Made by data/fit/t2_table.py.",
]
SUMMED = ("AIRCRAFT_FUELS_921", "HOURS_AIRBORNE_650", "REV_ACRFT_MILES_FLOWN_410", "REV_ACRFT_DEP_PERF_510")


def table(t2_path, out_path):
    sums = {}
    with open(t2_path, encoding="utf-8", newline="") as f:
        for r in csv.DictReader(f):
            if r["AIRCRAFT_CONFIG"] == "1" and r["SERVICE_CLASS"] == "Z":
                s = sums.setdefault(int(r["AIRCRAFT_TYPE"]), [0.0] * len(SUMMED))
                for i, k in enumerate(SUMMED):
                    s[i] += float(r[k] or 0)
    with open(out_path, "w", encoding="utf-8", newline="") as f:
        f.write("\n".join(SOURCE) + "\n")
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["type", "t2_code", "t2_name", "stage_nm", "kg_per_hour"])
        for code, name, shipped in T2_TYPES:
            fuel, hours, miles, departures = sums[code]
            w.writerow([shipped, code, name, round(miles / departures * 0.868976),
                        round(fuel * 3.78541 * 0.80 / hours)])


def fuel_per_hour(a, stage):
    tas = math.sqrt(273.15 - 54) * a["Mach"] * 38.9681
    zfw = a["DOW"] + 0.6 * (a["MZFW"] - a["DOW"])
    w = zfw + (a["aH1"] * zfw + a["bH1"]) * 30 / 60
    landing = w + a["aC3"] * w + a["bC3"] + a["aC1"] * 100 + a["bC1"]
    ratio = (min(max(350, a["MinCruise"]), a["MaxCruise"]) - a["MinCruise"]) / (a["MaxCruise"] - a["MinCruise"])
    low, high = a["aC1"] * stage + a["bC1"], a["aC2"] * stage + a["bC2"]
    trip = a["aC3"] * landing + a["bC3"] + low + ratio * (high - low)
    return trip / (stage / tas)


def compare(airplanes_path, t2_table_path):
    with open(airplanes_path, encoding="utf-8", newline="") as f:
        rows = {r["Type"]: {k: float(v) for k, v in r.items() if k not in ("Type", "Airframe", "Engine", "Reference")}
                for r in csv.DictReader(f)}
    with open(t2_table_path, encoding="utf-8", newline="") as f:
        service = list(csv.DictReader(line for line in f if not line.startswith("#")))
    print("| Type | T-2 type | Stage (NM) | Program kg/h | T-2 kg/h | Ratio |")
    print("|---|---|---|---|---|---|")
    for s in service:
        program = fuel_per_hour(rows[s["type"]], float(s["stage_nm"]))
        t2 = float(s["kg_per_hour"])
        print(f"| {s['type']} | {s['t2_name']} | {int(s['stage_nm']):,} | {program:,.0f} | {t2:,.0f} "
              f"| {program / t2:.2f} |")


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    default_t2 = os.path.join(here, "..", "..", "tests", "refdata", "data", "t2_fuel_2024.csv")
    if len(sys.argv) >= 3 and sys.argv[1] == "table":
        table(sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else default_t2)
    elif len(sys.argv) >= 2 and sys.argv[1] == "compare":
        compare(sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "airplanes.csv"),
                sys.argv[3] if len(sys.argv) > 3 else default_t2)
    else:
        sys.exit(__doc__)
