#!/usr/bin/env python3
"""Fits the straight-line fuel models of data/airplanes.csv from open data.

Inputs (data/fit/types.csv, one row per type):
- OpenAP (github.com/junzis/openap, data files GPL-3.0) at the commit named in
  the row: operating empty weight, fuel capacity in litres, ceiling, cruise
  Mach, wing area, drag polar (cd0, k), default engine, its maximum static
  thrust (engine/engines.csv, from the ICAO engine emissions databank) and
  the type's fuel-flow coefficients c1, c2, c3 (fuel/fuel_models.csv);
  "fuel_model" says whether OpenAP has a model of the type's own ("own") or
  scales its default one ("default").
- Maximum takeoff, landing and zero fuel weights as the manufacturers publish
  them for one weight variant of the type; max_trip_nam, the longest trip the
  type is fitted and checked for (its range).

The reference profile is deliberately simple: the ISA atmosphere, a
parabolic drag polar without wave drag, and OpenAP's fuel-flow law per
engine,

    ff(x) = s x (c1 - exp(-c2 * (x * exp(c3 * x) - ln(c1) / c2)))   [kg/s],

with x the thrust per engine over its maximum static thrust. Where OpenAP
has a model of the type's own, the row names the engine that model was made
for and s ("fuel_scale") is 1; otherwise OpenAP scales its default model,
made per unit of take-off fuel flow, by the engine's take-off fuel flow
(engines.csv "ff_to", kg/s), and so does the row. A trip is flown
level at the cruise Mach, integrated backwards from the landing weight so
that fuel burns off, plus a climb allowance of m g h / (0.3 x 43.2 MJ/kg) for
lifting the top of climb weight to the flight level.

How the program uses the lines (and so what the fit must hold):

    holding fuel   = (aH x W + bH) x minutes / 60, W = zero fuel weight
    alternate fuel = aC3 x W + bC3 + aC1 x D + bC1, W = zero fuel weight + holding
    trip fuel      = aC3 x W + bC3 + cruise line at the flight level x S,
                     W = landing weight, the cruise line interpolated between
                     aC1, bC1 at MinCruise and aC2, bC2 at MaxCruise.

The weight term aC3 x W + bC3 is added to every trip and alternate fuel, short
legs and light weights included. It is fitted as aC3 x (W - DOW), so bC3 =
-aC3 x DOW: the term is zero at the dry operating weight and grows with the
weight above it. Every weight the program passes is at least DOW, so with
aC3, aC1, aC2, bC1 and bC2 above zero every trip and alternate fuel over the
whole envelope (zero fuel weights DOW to MZFW, trips 0 to the range,
alternates 0 to 500 NM, holding 0 to 60 min) is at least min(bC1, bC2) > 0.
The script checks this, and the holding flows, and stops if it fails.

Holding lines (aH1, bH1 at 1500 ft; aH2, bH2 at MaxHold): level flight at the
type's holding speed (calibrated airspeed, taken as equivalent airspeed) at
six zero fuel weights from DOW to MZFW; least-squares line of fuel flow
(kg/h) against weight (kg).

Cruise lines and weight term: reference trips from 50 NAM to max_trip_nam
every 50 NAM, at seven landing weights from DOW to MLAW and at seven flight
levels from MinCruise to MaxCruise (the model interpolates between its two
lines, so the levels between are fitted too); trips beyond the maximum
takeoff weight or the tank capacity cannot be flown and are left out. The
misfit is relative, (model - reference) / reference. A straight weight term
cannot follow the weight effect, which grows with the distance, so some
misfit is unavoidable, largest on the shortest and the longest trips. The fit
first finds the smallest largest misfit the form allows (a minimax fit by
Lawson's iteratively reweighted least squares), then minimises the RMS
misfit while holding every point within 14 %, or within a quarter point of
that smallest largest misfit where 14 % cannot be reached (penalised least
squares).

The coefficients are rounded to six significant digits, and the misfit table
printed to standard output (Markdown, for data/README.md) is computed with the
rounded figures on a finer grid: trips every 10 NAM from 50 NAM to the range,
eleven landing weights, every tenth flight level from MinCruise to MaxCruise.

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
STEP_NAM = 5.0  # integration step; every grid distance is a multiple of it
SHORTEST_TRIP_NAM = 50
MAX_ALTERNATE_NM = 500
MAX_HOLDING_MIN = 60
CAP = 0.14  # largest relative misfit the fit holds to, where the form allows it
SLACK = 0.0025  # over the smallest largest misfit, where that is above CAP

FIELDS = ["Type", "Airframe", "Engine", "DOW", "MTOW", "MLAW", "MZFW", "TCAP", "MaxAlt", "Mach",
          "aH1", "bH1", "aH2", "bH2", "MaxHold", "aC1", "bC1", "aC2", "bC2", "MinCruise", "MaxCruise",
          "aC3", "bC3", "Reference"]
TEXT_INPUTS = ("Type", "Airframe", "Engine", "openap_type", "openap_commit", "engine_model", "fuel_model")


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
    per_engine = a["fuel_scale"] * (c1 - math.exp(-c2 * (x * math.exp(c3 * x) - math.log(c1) / c2)))
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


def trip_fuels(a, landing_kg, flight_level, longest_nam):
    """Reference fuel of every trip of a multiple of STEP_NAM up to longest_nam
    that ends at landing_kg: {distance: fuel}. One backward integration (RK2)
    serves them all, since a longer trip passes through the shorter ones."""
    fuels = {}
    mass = landing_kg
    steps = int(round(longest_nam / STEP_NAM))
    for i in range(1, steps + 1):
        k1 = cruise_kg_per_nam(a, mass, flight_level)
        k2 = cruise_kg_per_nam(a, mass + STEP_NAM * k1, flight_level)
        mass += STEP_NAM * 0.5 * (k1 + k2)
        climb = mass * G * flight_level * 100 * FT / (CLIMB_EFFICIENCY * FUEL_ENERGY)
        fuels[i * STEP_NAM] = mass - landing_kg + climb
    return fuels


def spread(low, high, count):
    return [low + (high - low) * i / (count - 1) for i in range(count)]


def reference_trips(a, weight_count, level_count, every_nam):
    """Flyable reference trips: (ratio, distance, landing weight, fuel), the
    ratio placing the flight level between MinCruise (0) and MaxCruise (1)."""
    trips = []
    for level in spread(a["MinCruise"], a["MaxCruise"], level_count):
        ratio = (level - a["MinCruise"]) / (a["MaxCruise"] - a["MinCruise"])
        for w in spread(a["OEW"], a["MLAW"], weight_count):
            fuels = trip_fuels(a, w, level, a["max_trip_nam"])
            for s in range(SHORTEST_TRIP_NAM, int(a["max_trip_nam"]) + 1, every_nam):
                fuel = fuels[s]
                if w + fuel <= a["MTOW"] and fuel <= a["fuel_litres"] * LITRE_KG:
                    trips.append((ratio, s, w, fuel))
    return trips


def design_row(a, trip):
    """The model's trip fuel is this row times (aC1, bC1, aC2, bC2, aC3)."""
    ratio, s, w, _ = trip
    return [(1 - ratio) * s, 1 - ratio, ratio * s, ratio, w - a["OEW"]]


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


def relative_misfits(rows, fuels, coefficients):
    return [(sum(c * x for c, x in zip(coefficients, r)) - f) / f for r, f in zip(rows, fuels)]


def minimax_fit(rows, fuels, iterations=300):
    """Lawson's algorithm: weighted least squares whose weights grow where
    the relative misfit is largest; tends to the minimax fit."""
    # Relative misfit: each row divided by its reference fuel.
    scaled = [[x / f for x in r] for r, f in zip(rows, fuels)]
    u = [1.0 / len(rows)] * len(rows)
    best = None
    for _ in range(iterations):
        root = [math.sqrt(ui) for ui in u]
        c = least_squares([[x * w for x in r] for r, w in zip(scaled, root)], root)
        e = relative_misfits(rows, fuels, c)
        largest = max(map(abs, e))
        if best is None or largest < best[1]:
            best = (c, largest)
        total = sum(ui * abs(x) for ui, x in zip(u, e))
        u = [max(ui * abs(x) / total, 1e-12) for ui, x in zip(u, e)]
    return best


def capped_fit(rows, fuels, cap, penalty=1e4, iterations=60):
    """Least squares of the relative misfit, with a steep quadratic penalty
    on the part of any misfit beyond cap."""
    scaled = [[x / f for x in r] for r, f in zip(rows, fuels)]
    c = least_squares(scaled, [1.0] * len(rows))
    root = math.sqrt(penalty)
    for _ in range(iterations):
        e = relative_misfits(rows, fuels, c)
        extra_rows = [[root * x for x in r] for r, x in zip(scaled, e) if abs(x) > cap]
        extra_values = [root * (1 + math.copysign(cap, x)) for x in e if abs(x) > cap]
        c = least_squares(scaled + extra_rows, [1.0] * len(rows) + extra_values)
    return c


def significant(value, digits=6):
    return float(f"{value:.{digits}g}")


def fit(a):
    hold_weights = spread(a["OEW"], a["MZFW"], 6)
    ah1, bh1 = line_fit(hold_weights, [holding_flow(a, w, 1500) for w in hold_weights])
    ah2, bh2 = line_fit(hold_weights, [holding_flow(a, w, MAX_HOLD_FT) for w in hold_weights])

    trips = reference_trips(a, 7, 7, 50)
    rows = [design_row(a, t) for t in trips]
    fuels = [t[3] for t in trips]
    _, smallest_largest = minimax_fit(rows, fuels)
    ac1, bc1, ac2, bc2, ac3 = capped_fit(rows, fuels, max(CAP, smallest_largest + SLACK))
    ac3 = significant(ac3)
    model = {
        "aH1": ah1, "bH1": bh1, "aH2": ah2, "bH2": bh2,
        "aC1": ac1, "bC1": bc1, "aC2": ac2, "bC2": bc2, "aC3": ac3, "bC3": -ac3 * a["OEW"],
    }
    model = {k: significant(v) for k, v in model.items()}
    model["MaxHold"] = MAX_HOLD_FT
    return model


def check_positive(a, m):
    """Fails unless holding, alternate and trip fuel are above zero over the
    envelope. Each is linear in the weight and in the distance (and the trip
    fuel bilinear in distance and the level's place between the two lines),
    so its corners bound it; weights below DOW never occur."""
    faults = []
    # The heaviest weight any model sees: MZFW plus an hour's holding plus
    # the longest alternate (the landing weight check stops heavier runs).
    for w in (a["OEW"], a["MZFW"], a["MTOW"]):
        for line in ("1", "2"):
            if m["aH" + line] * w + m["bH" + line] <= 0:
                faults.append(f"holding flow at {w:.0f} kg")
        weight_term = m["aC3"] * w + m["bC3"]
        for d in (0, MAX_ALTERNATE_NM):
            if weight_term + m["aC1"] * d + m["bC1"] <= 0:
                faults.append(f"alternate fuel at {w:.0f} kg, {d} NM")
        for s in (0, a["max_trip_nam"]):
            for line in ("1", "2"):
                if weight_term + m["aC" + line] * s + m["bC" + line] <= 0:
                    faults.append(f"trip fuel at {w:.0f} kg, {s:.0f} NAM, line {line}")
    if faults:
        sys.exit(f"{a['Type']}: fuel not above zero: " + "; ".join(faults))


def misfit(a, m):
    """RMS and largest relative misfit of the shipped (rounded) lines over a
    fine grid, and the largest on the shortest trips."""
    trips = reference_trips(a, 11, int(round((a["MaxCruise"] - a["MinCruise"]) / 10)) + 1, 10)
    coefficients = [m["aC1"], m["bC1"], m["aC2"], m["bC2"], m["aC3"]]
    # The weight term as shipped, aC3 x W + bC3, not as fitted.
    e = [(sum(c * x for c, x in zip(coefficients, design_row(a, t))) + m["aC3"] * a["OEW"] + m["bC3"] - t[3])
         / t[3] for t in trips]
    rms = math.sqrt(sum(x * x for x in e) / len(e))
    shortest = max(abs(x) for x, t in zip(e, trips) if t[1] == SHORTEST_TRIP_NAM)
    return rms, max(map(abs, e)), shortest


def main(types_path, out_path):
    with open(types_path, encoding="utf-8", newline="") as f:
        types = list(csv.DictReader(f))
    out_rows = []
    print("| Type | OpenAP fuel model | Range (NAM) | RMS misfit | Largest misfit | Largest at 50 NAM |")
    print("|---|---|---|---|---|---|")
    for t in types:
        a = {k: (v if k in TEXT_INPUTS else float(v)) for k, v in t.items()}
        model = fit(a)
        check_positive(a, model)
        rms, largest, shortest = misfit(a, model)
        print(f"| {a['Type']} | {a['fuel_model']} ({a['openap_type'].upper()}) | {a['max_trip_nam']:.0f} "
              f"| {100 * rms:.1f} % | {100 * largest:.1f} % | {100 * shortest:.1f} % |")
        row = {
            "Type": a["Type"], "Airframe": a["Airframe"], "Engine": a["Engine"],
            "DOW": a["OEW"], "MTOW": a["MTOW"], "MLAW": a["MLAW"], "MZFW": a["MZFW"],
            "TCAP": round(a["fuel_litres"] * LITRE_KG), "MaxAlt": a["ceiling_ft"], "Mach": a["Mach"],
            "MinCruise": a["MinCruise"], "MaxCruise": a["MaxCruise"],
            "Reference": f"Illustrative fit of OpenAP {a['openap_type']} data, not for operational use",
        }
        row.update(model)
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
