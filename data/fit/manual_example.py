#!/usr/bin/env python3
"""Writes docs/fit-example/tables.csv: the kind of tables a flight planning
manual prints, for the README's example of `mirovax-tables fit`.

The figures come from the same reference model that fit_airplanes.py fits
the shipped lines to (the Poll-Schumann model, whole trips with climb and
descent), here for the first row of types.csv, rounded to 10 kg (10 kg/h for
holding) as a manual would print them. They are illustrative and not for
operational use.

Usage: python3 data/fit/manual_example.py [OUT.csv]
"""

import csv
import os
import sys

import fit_airplanes as ref

LEVELS = (250, 310, 370)
TRIP_NAM = (200, 500, 1000, 1500, 2000, 2500)
LANDING_KG = (50000, 57000, 64000)
HOLDING_FT = (1500, 15000)
HOLDING_KG = (45000, 52000, 59000)
ALTERNATE_NM = (50, 100, 200, 300)
ALTERNATE_KG = (48000, 60000)
ALTERNATE_LEVEL = 250


def rounded(value):
    return int(round(value / 10.0)) * 10


def main(out_path):
    here = os.path.dirname(os.path.abspath(__file__))
    ps = ref.read_ps(os.path.join(here, ref.PS_FILE))
    with open(os.path.join(here, "types.csv"), encoding="utf-8", newline="") as f:
        a = ref.airplane(next(csv.DictReader(f)), ps)
    climbs = ref.Climbs(a)
    rows = []
    for level in LEVELS:
        for w in LANDING_KG:
            fuels = ref.trip_fuels(a, climbs, w, level, TRIP_NAM)
            for s in TRIP_NAM:
                rows.append(["trip", level, "", s, w, rounded(fuels[s])])
    for altitude in HOLDING_FT:
        for w in HOLDING_KG:
            rows.append(["holding", "", altitude, "", w, rounded(ref.holding_flow(a, w, altitude))])
    for w in ALTERNATE_KG:
        fuels = ref.trip_fuels(a, climbs, w, ALTERNATE_LEVEL, ALTERNATE_NM)
        for d in ALTERNATE_NM:
            rows.append(["alternate", "", "", d, w, rounded(fuels[d])])
    with open(out_path, "w", encoding="utf-8", newline="") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["kind", "flight_level", "altitude", "distance", "weight", "value"])
        out.writerows(rows)


if __name__ == "__main__":
    default = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "docs", "fit-example",
                           "tables.csv")
    main(sys.argv[1] if len(sys.argv) > 1 else default)
