#!/usr/bin/env python3
"""Fits the straight-line fuel models of data/airplanes.csv from open data.

Inputs (data/fit/types.csv, one row per type):
- OpenAP (github.com/junzis/openap, data files GPL-3.0) at the commit named in
  the row: operating empty weight, fuel capacity in litres, ceiling, cruise
  Mach, wing area, drag polar (cd0, k), default engine, its maximum static
  thrust (engine/engines.csv, from the ICAO engine emissions databank) and
  the type's fuel-flow coefficients c1, c2, c3 (fuel/fuel_models.csv).
- Maximum takeoff, landing and zero fuel weights as the manufacturers publish
  them for one weight variant of the type.

The physics is deliberately simple: the ISA atmosphere, a parabolic drag
polar without wave drag, and OpenAP's fuel-flow law per engine,

    ff(x) = c1 - exp(-c2 * (x * exp(c3 * x) - ln(c1) / c2))   [kg/s],

with x the thrust per engine over its maximum static thrust.

Holding lines (aH1, bH1 at 1500 ft; aH2, bH2 at MaxHold): level flight at
the type's holding speed (calibrated airspeed, taken as equivalent airspeed)
at six weights from 1.1 x OEW to the maximum landing weight; least-squares
line of fuel flow (kg/h) against weight (kg).

Cruise lines (aC1, bC1 at MinCruise; aC2, bC2 at MaxCruise) and weight term
(aC3, bC3): trips of 100 NAM up to max_trip_nam flown level at the cruise
Mach, integrated backwards from the landing weight so that fuel burns off,
plus a climb allowance of m g h / (0.3 x 43.2 MJ/kg) for lifting the top of
climb weight to the flight level. Trips are repeated at five landing weights
from 1.1 x OEW to the maximum landing weight; trips beyond the maximum takeoff
weight or the tank capacity are left out. One least-squares fit over both
flight levels gives

    fuel = aC(level) * distance + bC(level) + aC3 * landing weight + bC3,

with bC3 = -aC3 x (mean landing weight), so that the weight term is zero at
the middle of the weight range and the offsets bC1 and bC2 hold the rest.

The figures are illustrative and not for operational use.

Usage: python3 data/fit/fit_airplanes.py [types.csv] [airplanes.csv]
"""

import csv
import math
import os
import sys

G = 9.80665
R = 287.05287
KT = 0.514444  # m/s per knot
FT = 0.3048
LITRE_KG = 0.8025  # OpenAP's fuel density
FUEL_ENERGY = 43.2e6  # J/kg
CLIMB_EFFICIENCY = 0.3
MAX_HOLD_FT = 15000

FIELDS = ["Type", "Airframe", "Engine", "DOW", "MTOW", "MLAW", "MZFW", "TCAP", "MaxAlt", "Mach",
          "aH1", "bH1", "aH2", "bH2", "MaxHold", "aC1", "bC1", "aC2", "bC2", "MinCruise", "MaxCruise",
          "aC3", "bC3", "Reference"]


def isa(altitude_ft):
    """Temperature (K), density (kg/m3) and speed of sound (m/s)."""
    h = altitude_ft * FT
    if h <= 11000:
        t = 288.15 - 0.0065 * h
        p = 101325 * (t / 288.15) ** (G / (0.0065 * R))
    else:
        t = 216.65
        p = 22632.06 * math.exp(-G * (h - 11000) / (R * t))
    return t, p / (R * t), math.sqrt(1.4 * R * t)


def fuel_flow_kg_h(a, drag_n):
    """Fuel flow of the airplane in kg/h for a total thrust equal to drag."""
    x = drag_n / a["engines"] / a["max_thrust_N"]
    c1, c2, c3 = a["c1"], a["c2"], a["c3"]
    per_engine = c1 - math.exp(-c2 * (x * math.exp(c3 * x) - math.log(c1) / c2))
    return per_engine * a["engines"] * 3600


def drag(a, mass_kg, q_pa):
    cl = mass_kg * G / (q_pa * a["wing_area_m2"])
    return q_pa * a["wing_area_m2"] * (a["cd0"] + a["k"] * cl * cl)


def holding_flow(a, mass_kg, altitude_ft):
    v = a["holding_kcas"] * KT
    q = 0.5 * 1.225 * v * v  # equivalent airspeed: dynamic pressure at sea-level density
    return fuel_flow_kg_h(a, drag(a, mass_kg, q))


def cruise_kg_per_nam(a, mass_kg, flight_level):
    _, rho, sound = isa(flight_level * 100)
    v = a["Mach"] * sound
    flow = fuel_flow_kg_h(a, drag(a, mass_kg, 0.5 * rho * v * v))
    return flow / (v / KT)


def trip_fuel(a, landing_kg, distance_nam, flight_level):
    """Fuel for a trip ending at landing_kg, integrated backwards (RK2)."""
    step = 5.0
    mass = landing_kg
    flown = 0.0
    while flown < distance_nam - 1e-9:
        h = min(step, distance_nam - flown)
        k1 = cruise_kg_per_nam(a, mass, flight_level)
        k2 = cruise_kg_per_nam(a, mass + h * k1, flight_level)
        mass += h * 0.5 * (k1 + k2)
        flown += h
    climb = mass * G * flight_level * 100 * FT / (CLIMB_EFFICIENCY * FUEL_ENERGY)
    return mass - landing_kg + climb


def line_fit(xs, ys):
    n = len(xs)
    mx, my = sum(xs) / n, sum(ys) / n
    sxx = sum((x - mx) ** 2 for x in xs)
    sxy = sum((x - mx) * (y - my) for x, y in zip(xs, ys))
    slope = sxy / sxx
    return slope, my - slope * mx


def least_squares(rows, values):
    """Solves the normal equations of a small linear least-squares problem."""
    n = len(rows[0])
    m = [[sum(r[i] * r[j] for r in rows) for j in range(n)] + [sum(r[i] * v for r, v in zip(rows, values))]
         for i in range(n)]
    for col in range(n):
        pivot = max(range(col, n), key=lambda r: abs(m[r][col]))
        m[col], m[pivot] = m[pivot], m[col]
        for r in range(n):
            if r != col:
                f = m[r][col] / m[col][col]
                m[r] = [a - f * b for a, b in zip(m[r], m[col])]
    return [m[i][n] / m[i][i] for i in range(n)]


def weights(low, high, count):
    return [low + (high - low) * i / (count - 1) for i in range(count)]


def fit(a):
    hold_weights = weights(1.1 * a["OEW"], a["MLAW"], 6)
    ah1, bh1 = line_fit(hold_weights, [holding_flow(a, w, 1500) for w in hold_weights])
    ah2, bh2 = line_fit(hold_weights, [holding_flow(a, w, MAX_HOLD_FT) for w in hold_weights])

    landing = weights(1.1 * a["OEW"], a["MLAW"], 5)
    w_mean = sum(landing) / len(landing)
    distances = list(range(100, int(a["max_trip_nam"]) + 1, 100))
    rows, values = [], []
    for level_index, level in enumerate((a["MinCruise"], a["MaxCruise"])):
        for w in landing:
            for s in distances:
                fuel = trip_fuel(a, w, s, level)
                # Only trips the airplane can fly: within its maximum takeoff
                # weight and its tanks (reserves aside).
                if w + fuel > a["MTOW"] or fuel > a["fuel_litres"] * LITRE_KG:
                    continue
                low = level_index == 0
                rows.append([s if low else 0, 1 if low else 0, 0 if low else s, 0 if low else 1, w - w_mean])
                values.append(fuel)
    ac1, bc1, ac2, bc2, ac3 = least_squares(rows, values)
    worst = max(abs(sum(c * x for c, x in zip((ac1, bc1, ac2, bc2, ac3), r)) - v) for r, v in zip(rows, values))
    return {
        "aH1": ah1, "bH1": bh1, "aH2": ah2, "bH2": bh2, "MaxHold": MAX_HOLD_FT,
        "aC1": ac1, "bC1": bc1, "aC2": ac2, "bC2": bc2, "aC3": ac3, "bC3": -ac3 * w_mean,
    }, worst


def significant(value, digits=6):
    return float(f"{value:.{digits}g}")


def main(types_path, out_path):
    with open(types_path, encoding="utf-8", newline="") as f:
        types = list(csv.DictReader(f))
    out_rows = []
    for t in types:
        a = {k: (v if k in ("Type", "Airframe", "Engine", "openap_type", "openap_commit", "engine_model")
                 else float(v)) for k, v in t.items()}
        model, worst = fit(a)
        print(f"{a['Type']}: largest trip-fuel misfit {worst:.0f} kg", file=sys.stderr)
        row = {
            "Type": a["Type"], "Airframe": a["Airframe"], "Engine": a["Engine"],
            "DOW": a["OEW"], "MTOW": a["MTOW"], "MLAW": a["MLAW"], "MZFW": a["MZFW"],
            "TCAP": round(a["fuel_litres"] * LITRE_KG), "MaxAlt": a["ceiling_ft"], "Mach": a["Mach"],
            "MinCruise": a["MinCruise"], "MaxCruise": a["MaxCruise"],
            "Reference": (f"Illustrative, not for operational use: OpenAP {a['openap_type']} "
                          f"@{a['openap_commit'][:7]} (GPL-3.0), manufacturer weights; data/README.md"),
        }
        for k, v in model.items():
            row[k] = significant(v) if k != "MaxHold" else v
        out_rows.append(row)
    with open(out_path, "w", encoding="utf-8", newline="") as f:
        w = csv.writer(f, lineterminator="\r\n")
        w.writerow(FIELDS)
        for row in out_rows:
            w.writerow([fmt(row[k]) for k in FIELDS])


def fmt(value):
    if isinstance(value, float):
        return str(int(value)) if value == int(value) else repr(value)
    return str(value)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    types_path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "types.csv")
    out_path = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "airplanes.csv")
    main(types_path, out_path)
