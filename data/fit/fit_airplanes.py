#!/usr/bin/env python3
"""Fits the straight-line fuel models of data/airplanes.csv from one physical model.

Inputs:
- data/fit/types.csv, one row per type: the manufacturer's published maximum
  takeoff, landing and zero fuel weights of one weight variant (in kg or lb,
  "weights_unit"), its usable fuel capacity as published ("fuel" in litres,
  US gallons or kilograms, "fuel_unit"), its certified maximum operating
  altitude ("ceiling_ft") and typical cruise Mach, and this project's choice
  of holding speed and of the flight levels the cruise lines span; "ps_type"
  names the row of the parameter file the type is flown with; "DOW" is left
  empty where the dry operating weight is that row's operating empty mass.
- The per-type parameters of the Poll-Schumann aircraft performance model
  (D.I.A. Poll and U. Schumann, "An estimation method for the fuel burn and
  other performance characteristics of civil transport aircraft in the
  cruise", Part 1, The Aeronautical Journal 125 (2021) 257-295,
  doi 10.1017/aer.2020.62; Part 2, 125 (2021) 296-340,
  doi 10.1017/aer.2020.124), as published with pycontrails
  (pycontrails/models/ps_model/static/ps-aircraft-params-20250328.csv,
  Copyright 2023 Breakthrough Energy, Apache License 2.0). The file is read
  from data/fit/ps-aircraft-params-20250328.csv.

Fuel capacities: the usable volume the manufacturer publishes times 6.7 lb
per US gallon (0.80284 kg/L), the density Boeing, Embraer and Bombardier
give their fuel masses at; Embraer and Bombardier publish the mass, which is
taken as published.

The reference model (all in the ISA atmosphere, still air)
---------------------------------------------------------
Aerodynamics and engine, per the papers, at pressure p, temperature T, Mach
M, mass m, flight-path angle gamma and acceleration dv/dt (kappa = 1.4,
R = 287.05287 J/(kg K), g = 9.80665 m/s2, Q = 43.13 MJ/kg fuel):

    q S      = kappa/2 p M^2 S                       (S: wing area "Sref_m2")
    C_L      = m g cos(gamma) / (q S)
    Re       = sqrt(S) M p / mu(T) sqrt(kappa / (R T)),
               mu(T) = 1.458e-6 T^1.5 / (110.4 + T)  (Sutherland)
    C_f      = 0.0269 / Re^0.14
    C_D0     = psi_0 C_f
    k_1      = 0.8 (1 - 0.53 cos(sweep)) C_D0
    e        = w / (1.03 + delta_2 + pi AR k_1), w = 1.075 with winglets, else 1
    M_cc     = wing_constant - 0.10 C_L / cos(sweep)^2
    X        = M cos(sweep) / M_cc
    C_Dw     = 0 below X = j_2, cos(sweep)^3 j_1 (X - j_2)^2 above it,
               plus j_3 (X - X_o)^4 above X = X_o (j_3 = 70)
    C_D      = C_D0 + C_L^2 / (pi AR e) + C_Dw
    F        = m g cos(gamma) C_D / C_L + m g sin(gamma) + m dv/dt  (not below 0)
    C_T      = F / (q S)
    C_T*     = C_T_des ((1 + 0.55 M) / (1 + 0.55 M_des)) / (M / M_des)^2
    eta_b    = eta_1 M^eta_2
    eta      = eta_b x max(r(C_T / C_T*, M), 0.5), the papers' polynomial in
               C_T / C_T* (cubic below 0.3, quartic above, with
               sigma = 1.3 (0.4 - M) below Mach 0.4), held at 0.5 and above
               as pycontrails holds it (the polynomial falls through zero
               where a heavy airplane is asked to cruise above its ceiling)
    fuel     = kappa/2 C_T M^3 sqrt(kappa R T) p S / (eta Q)   [kg/s]

held between the idle flow, ff_idle_SLS (1 - 0.178 x + 0.0085 x^2) with x
the altitude in 10,000 ft, and the maximum, ff_TO_SLS / ((T/T0)^3.8 / (p/p0)
exp(0.2 M^2)), both from the parameter file's sea-level static flows.

A trip (the climb, descent and holding follow the simple rules below, a
documented allowance in place of the method's own climb and descent model):
- take-off: 0.7 min at the take-off fuel flow (ICAO's take-off mode);
- climb from the runway (taken at sea level) at 250 kt CAS to 10,000 ft,
  accelerating to 300 kt CAS by 12,000 ft, then at 300 kt CAS until the
  cruise Mach and at the cruise Mach above; rate of climb 2,500 ft/min to
  10,000 ft, 2,000 to FL200, 1,500 to FL300 and 1,000 above; thrust and
  fuel flow from the model above with the climb angle and the acceleration;
- cruise level at the flight level at the cruise Mach;
- descent at 3 NM per 1,000 ft, at the cruise Mach until 280 kt CAS, at
  280 kt CAS down to 12,000 ft, slowing to 250 kt CAS by 10,000 ft, down to
  the runway; the model's flow, which is the idle flow for most of it;
- fuel burning off along the way: the descent is integrated backwards from
  the landing weight, then the cruise (RK2, 5 NAM steps), then the climb;
  the climb and descent cover part of the still-air distance, and a trip
  too short for the flight level turns at the highest level it can reach.
Holding: level flight at the type's holding speed (CAS) at the altitude.
Taxi fuel, the approach configuration's drag, step climbs and winds are not
in the reference.

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

Holding lines (aH1, bH1 at 1500 ft; aH2, bH2 at MaxHold, 15,000 ft): the
holding flow at six zero fuel weights from DOW to MZFW; least-squares line of
fuel flow (kg/h) against weight (kg).

Cruise lines and weight term: reference trips from 50 NAM to the range
every 50 NAM, at seven landing weights from DOW to MLAW and at seven flight
levels from MinCruise to MaxCruise (the program interpolates between its two
lines, so the levels between are fitted too); the alternate legs are the
trips at MinCruise, the line the program gives them. The range is the
farthest trip at MaxCruise with full tanks at the maximum takeoff weight,
rounded up to 100 NAM (the knee of the payload-range diagram); trips beyond the maximum takeoff weight or the tank
capacity cannot be flown and are left out. The misfit is relative,
(model - reference) / reference. A straight weight term cannot follow the
weight effect, which grows with the distance, so some misfit is
unavoidable, largest on the shortest and the longest trips. The fit first
finds the smallest largest misfit the form allows (a minimax fit by Lawson's
iteratively reweighted least squares), then minimises the RMS misfit while
holding every point within 14 %, or within a quarter point of that smallest
largest misfit where 14 % cannot be reached (penalised least squares).

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
from multiprocessing import Pool

G = 9.80665
R = 287.05287
KAPPA = 1.4
Q_FUEL = 43.13e6  # J/kg
P0 = 101325.0
T0 = 288.15
A0 = math.sqrt(KAPPA * R * T0)
KT = 1852.0 / 3600.0  # m/s per knot
NM = 1852.0
FT = 0.3048
LB = 0.45359237
US_GALLON = 3.785411784  # litres
FUEL_KG_PER_L = 6.7 * LB / US_GALLON
WAVE_J3 = 70.0
ETA_RATIO_FLOOR = 0.5
TAKEOFF_MIN = 0.7
CLIMB_KCAS = 300.0
DESCENT_KCAS = 280.0
LOW_KCAS = 250.0
DESCENT_NM_PER_1000FT = 3.0
ALT_STEP_FT = 500.0
MAX_HOLD_FT = 15000
STEP_NAM = 5.0  # cruise integration step; every grid distance is a multiple of it
SHORTEST_TRIP_NAM = 50
MAX_ALTERNATE_NM = 500
MAX_HOLDING_MIN = 60
CAP = 0.14  # largest relative misfit the fit holds to, where the form allows it
SLACK = 0.0025  # over the smallest largest misfit, where that is above CAP
PS_FILE = "ps-aircraft-params-20250328.csv"

FIELDS = ["Type", "Airframe", "Engine", "DOW", "MTOW", "MLAW", "MZFW", "TCAP", "MaxAlt", "Mach",
          "aH1", "bH1", "aH2", "bH2", "MaxHold", "aC1", "bC1", "aC2", "bC2", "MinCruise", "MaxCruise",
          "aC3", "bC3", "Reference"]
TEXT_INPUTS = ("Type", "Airframe", "Engine", "ps_type", "weights_unit", "fuel_unit", "DOW")
PS_NUMBERS = ("Sref_m2", "delta_2", "cos_sweep", "AR", "psi_0", "Xo", "wing_constant", "j_2", "j_1",
              "mf_max_T_O_SLS_kg_s", "mf_idle_SLS_kg_s", "M_des", "CT_des", "eta_1", "eta_2", "OEM_i_kg")


def isa(altitude_ft):
    """Temperature (K) and pressure (Pa) of the standard atmosphere."""
    h = altitude_ft * FT
    if h <= 11000:
        t = T0 - 0.0065 * h
        return t, P0 * (t / T0) ** (G / (0.0065 * R))
    t = 216.65
    return t, 22632.06 * math.exp(-G * (h - 11000) / (R * t))


def mach_of_cas(kcas, altitude_ft):
    """Mach number of a calibrated airspeed (kt) at an altitude."""
    _, p = isa(altitude_ft)
    impact = P0 * ((1 + 0.2 * (kcas * KT / A0) ** 2) ** 3.5 - 1)
    return math.sqrt(5 * ((impact / p + 1) ** (2 / 7) - 1))


def efficiency_ratio(r, mach):
    """eta / eta_b at C_T / C_T* = r."""
    s = 1.3 * (0.4 - mach) if mach < 0.4 else 0.0
    if r < 0.3:
        return (10.0 * (1.0 + 0.8 * (s - 0.43) - 0.6027 * s * 0.43) * r
                + 33.3333 * (-1.0 - 0.97 * (s - 0.43) + 0.8281 * s * 0.43) * r * r
                + 37.037 * (1.0 + (s - 0.43) - 0.9163 * s * 0.43) * r ** 3)
    return ((1.0 + (s - 0.43) - s * 0.43) + (4.0 * s * 0.43 - 2.0 * (s - 0.43)) * r
            + ((s - 0.43) - 6 * s * 0.43) * r * r + 4.0 * s * 0.43 * r ** 3 - s * 0.43 * r ** 4)


def fuel_flow(a, mass, altitude_ft, mach, sin_gamma=0.0, accel=0.0):
    """Fuel flow of the airplane (kg/s), within the idle and maximum flows."""
    t, p = isa(altitude_ft)
    qs = 0.5 * KAPPA * p * mach * mach * a["Sref_m2"]
    cos_gamma = math.sqrt(1 - sin_gamma * sin_gamma)
    cl = mass * G * cos_gamma / qs
    mu = 1.458e-6 * t ** 1.5 / (110.4 + t)
    re = math.sqrt(a["Sref_m2"]) * mach * p / mu * math.sqrt(KAPPA / (R * t))
    cd0 = a["psi_0"] * 0.0269 / re ** 0.14
    cos_sweep = a["cos_sweep"]
    k1 = 0.8 * (1 - 0.53 * cos_sweep) * cd0
    e = (1.075 if a["winglets"] else 1.0) / (1.03 + a["delta_2"] + math.pi * a["AR"] * k1)
    x = mach * cos_sweep / (a["wing_constant"] - 0.10 * cl / cos_sweep ** 2)
    cdw = 0.0 if x < a["j_2"] else cos_sweep ** 3 * a["j_1"] * (x - a["j_2"]) ** 2
    if x >= a["Xo"]:
        cdw += WAVE_J3 * (x - a["Xo"]) ** 4
    cd = cd0 + cl * cl / (math.pi * a["AR"] * e) + cdw
    thrust = max(0.0, mass * G * cos_gamma * cd / cl + mass * G * sin_gamma + mass * accel)
    ct = thrust / qs
    ct_best = a["CT_des"] * ((1 + 0.55 * mach) / (1 + 0.55 * a["M_des"])) / (mach / a["M_des"]) ** 2
    eta = a["eta_1"] * mach ** a["eta_2"] * max(efficiency_ratio(ct / ct_best, mach), ETA_RATIO_FLOOR)
    if ct > 0 and eta > 0:
        flow = 0.5 * KAPPA * ct * mach ** 3 * math.sqrt(KAPPA * R * t) * p * a["Sref_m2"] / (eta * Q_FUEL)
    else:
        flow = 0.0
    h = altitude_ft / 10000.0
    idle = a["mf_idle_SLS_kg_s"] * (1 - 0.178 * h + 0.0085 * h * h)
    most = a["mf_max_T_O_SLS_kg_s"] / ((t / T0) ** 3.8 / (p / P0) * math.exp(0.2 * mach * mach))
    return min(max(flow, idle), most)


def tas(mach, altitude_ft):
    t, _ = isa(altitude_ft)
    return mach * math.sqrt(KAPPA * R * t)


def scheduled_mach(a, altitude_ft, high_kcas):
    """LOW_KCAS up to 10,000 ft, high_kcas from 12,000 ft (a straight
    change between), never faster than the cruise Mach."""
    if altitude_ft <= 10000:
        kcas = LOW_KCAS
    elif altitude_ft < 12000:
        kcas = LOW_KCAS + (high_kcas - LOW_KCAS) * (altitude_ft - 10000) / 2000
    else:
        kcas = high_kcas
    return min(mach_of_cas(kcas, altitude_ft), a["Mach"])


def climb_mach(a, altitude_ft):
    return scheduled_mach(a, altitude_ft, CLIMB_KCAS)


def descent_mach(a, altitude_ft):
    return scheduled_mach(a, altitude_ft, DESCENT_KCAS)


def rate_of_climb_fpm(altitude_ft):
    if altitude_ft < 10000:
        return 2500.0
    if altitude_ft < 20000:
        return 2000.0
    if altitude_ft < 30000:
        return 1500.0
    return 1000.0


def altitude_steps(a):
    top = a["ceiling_ft"]
    return [i * ALT_STEP_FT for i in range(int(math.ceil(top / ALT_STEP_FT)) + 1)]


def climb_profile(a, takeoff_kg):
    """Cumulative (fuel kg, distance NAM) at every ALT_STEP_FT from the runway,
    take-off included, for a climb that starts at takeoff_kg."""
    fuel = a["mf_max_T_O_SLS_kg_s"] * TAKEOFF_MIN * 60
    dist = 0.0
    out = [(fuel, dist)]
    alts = altitude_steps(a)
    for h1, h2 in zip(alts, alts[1:]):
        v1, v2 = tas(climb_mach(a, h1), h1), tas(climb_mach(a, h2), h2)
        mid = 0.5 * (h1 + h2)
        roc = rate_of_climb_fpm(mid) * FT / 60
        dt = (h2 - h1) * FT / roc
        v = 0.5 * (v1 + v2)
        mach = v / math.sqrt(KAPPA * R * isa(mid)[0])
        mass = takeoff_kg - fuel
        flow = fuel_flow(a, mass, mid, mach, roc / v, (v2 - v1) / dt)
        flow = fuel_flow(a, mass - 0.5 * flow * dt, mid, mach, roc / v, (v2 - v1) / dt)
        fuel += flow * dt
        dist += math.sqrt(max(v * v - roc * roc, 0.0)) * dt / NM
        out.append((fuel, dist))
    return out


def descent_profile(a, landing_kg):
    """Cumulative (fuel kg, distance NAM) from every ALT_STEP_FT down to the
    runway, for a descent that ends at landing_kg (integrated backwards)."""
    fuel = dist = 0.0
    out = [(fuel, dist)]
    alts = altitude_steps(a)
    for h1, h2 in zip(alts, alts[1:]):
        v1, v2 = tas(descent_mach(a, h1), h1), tas(descent_mach(a, h2), h2)
        mid = 0.5 * (h1 + h2)
        v = 0.5 * (v1 + v2)
        run = DESCENT_NM_PER_1000FT * (h2 - h1) / 1000 * NM
        dt = math.hypot(run, (h2 - h1) * FT) / v
        sin_gamma = -(h2 - h1) * FT / (v * dt)
        mach = v / math.sqrt(KAPPA * R * isa(mid)[0])
        mass = landing_kg + fuel
        # Flying downwards the speed falls from v2 to v1.
        flow = fuel_flow(a, mass, mid, mach, sin_gamma, (v1 - v2) / dt)
        flow = fuel_flow(a, mass + 0.5 * flow * dt, mid, mach, sin_gamma, (v1 - v2) / dt)
        fuel += flow * dt
        dist += run / NM
        out.append((fuel, dist))
    return out


def at_altitude(profile, altitude_ft):
    """A profile's (fuel, distance) at an altitude, linear between steps."""
    i = min(int(altitude_ft // ALT_STEP_FT), len(profile) - 2)
    f = altitude_ft / ALT_STEP_FT - i
    (f1, d1), (f2, d2) = profile[i], profile[i + 1]
    return f1 + f * (f2 - f1), d1 + f * (d2 - d1)


class Climbs:
    """Climbs from a grid of takeoff weights, read by the weight at the top."""

    def __init__(self, a):
        self.takeoff = spread(0.85 * a["OEW"], 1.1 * a["MTOW"], 12)
        self.profiles = [climb_profile(a, m) for m in self.takeoff]

    def at(self, altitude_ft, top_kg):
        points = []
        for m, profile in zip(self.takeoff, self.profiles):
            fuel, dist = at_altitude(profile, altitude_ft)
            points.append((m - fuel, fuel, dist))
        i = 0
        while i < len(points) - 2 and points[i + 1][0] < top_kg:
            i += 1
        (m1, f1, d1), (m2, f2, d2) = points[i], points[i + 1]
        f = (top_kg - m1) / (m2 - m1)
        return f1 + f * (f2 - f1), d1 + f * (d2 - d1)


def cruise_masses(a, start_kg, flight_level, longest_nam):
    """Weights at every STEP_NAM back from the end of a level cruise that ends
    at start_kg (RK2, backwards)."""
    altitude = flight_level * 100
    v_knots = tas(a["Mach"], altitude) / KT

    def per_nam(mass):
        return fuel_flow(a, mass, altitude, a["Mach"]) * 3600 / v_knots

    masses = [start_kg]
    mass = start_kg
    for _ in range(int(math.ceil(longest_nam / STEP_NAM)) + 1):
        k1 = per_nam(mass)
        k2 = per_nam(mass + STEP_NAM * k1)
        mass += STEP_NAM * 0.5 * (k1 + k2)
        masses.append(mass)
    return masses


def trip_fuels(a, climbs, landing_kg, flight_level, distances):
    """Reference trip fuel for each still-air distance (NAM) of a trip at the
    flight level that lands at landing_kg: {distance: fuel}."""
    descent = descent_profile(a, landing_kg)
    top = flight_level * 100
    fuel_down, dist_down = at_altitude(descent, top)
    longest = max(distances)
    masses = cruise_masses(a, landing_kg + fuel_down, flight_level, longest)

    def cruise_mass(x):
        i = min(int(x // STEP_NAM), len(masses) - 2)
        f = x / STEP_NAM - i
        return masses[i] + f * (masses[i + 1] - masses[i])

    def turning_trip(altitude):
        f_down, d_down = at_altitude(descent, altitude)
        f_up, d_up = climbs.at(altitude, landing_kg + f_down)
        return f_down + f_up, d_down + d_up

    fuels = {}
    for s in distances:
        cruise = s - dist_down - climbs.at(top, landing_kg + fuel_down)[1]
        for _ in range(4):
            if cruise < 0:
                break
            cruise = s - dist_down - climbs.at(top, cruise_mass(cruise))[1]
        if cruise >= 0:
            m = cruise_mass(cruise)
            fuels[s] = m - landing_kg + climbs.at(top, m)[0]
            continue
        low, high = 0.0, top
        for _ in range(40):
            mid = 0.5 * (low + high)
            if turning_trip(mid)[1] > s:
                high = mid
            else:
                low = mid
        fuels[s] = turning_trip(low)[0]
    return fuels


def holding_flow(a, mass_kg, altitude_ft):
    """Holding fuel flow (kg/h)."""
    return fuel_flow(a, mass_kg, altitude_ft, mach_of_cas(a["holding_kcas"], altitude_ft)) * 3600


def longest_trip(a, climbs):
    """The range the lines are fitted over: the farthest still-air distance
    (NAM) at MaxCruise with full tanks at the maximum takeoff weight (landing
    at MTOW - TCAP, or at DOW where that is lighter), rounded up to 100 NAM.
    Longer trips are lighter ones, ferry flights the lines extrapolate to."""
    landing = max(a["OEW"], a["MTOW"] - a["TCAP"])
    distances = list(range(100, 20001, 100))
    fuels = trip_fuels(a, climbs, landing, a["MaxCruise"], distances)
    for s in distances:
        if fuels[s] > a["TCAP"]:
            return s
    return distances[-1]


def spread(low, high, count):
    return [low + (high - low) * i / (count - 1) for i in range(count)]


def reference_trips(a, climbs, weight_count, level_count, every_nam):
    """Flyable reference trips: (ratio, distance, landing weight, fuel), the
    ratio placing the flight level between MinCruise (0) and MaxCruise (1)."""
    trips = []
    distances = list(range(SHORTEST_TRIP_NAM, int(a["max_trip_nam"]) + 1, every_nam))
    for level in spread(a["MinCruise"], a["MaxCruise"], level_count):
        ratio = (level - a["MinCruise"]) / (a["MaxCruise"] - a["MinCruise"])
        for w in spread(a["OEW"], a["MLAW"], weight_count):
            fuels = trip_fuels(a, climbs, w, level, distances)
            for s in distances:
                fuel = fuels[s]
                if w + fuel <= a["MTOW"] and fuel <= a["TCAP"]:
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


def fit(a, climbs):
    hold_weights = spread(a["OEW"], a["MZFW"], 6)
    ah1, bh1 = line_fit(hold_weights, [holding_flow(a, w, 1500) for w in hold_weights])
    ah2, bh2 = line_fit(hold_weights, [holding_flow(a, w, MAX_HOLD_FT) for w in hold_weights])

    trips = reference_trips(a, climbs, 7, 7, 50)
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


def misfit(a, climbs, m):
    """RMS and largest relative misfit of the shipped (rounded) lines over a
    fine grid, and the largest on the shortest trips."""
    trips = reference_trips(a, climbs, 11, int(round((a["MaxCruise"] - a["MinCruise"]) / 10)) + 1, 10)
    coefficients = [m["aC1"], m["bC1"], m["aC2"], m["bC2"], m["aC3"]]
    # The weight term as shipped, aC3 x W + bC3, not as fitted.
    e = [(sum(c * x for c, x in zip(coefficients, design_row(a, t))) + m["aC3"] * a["OEW"] + m["bC3"] - t[3])
         / t[3] for t in trips]
    rms = math.sqrt(sum(x * x for x in e) / len(e))
    shortest = max(abs(x) for x, t in zip(e, trips) if t[1] == SHORTEST_TRIP_NAM)
    return rms, max(map(abs, e)), shortest


def read_ps(path):
    with open(path, encoding="utf-8", newline="") as f:
        return {r["ICAO"]: r for r in csv.DictReader(f)}


def airplane(t, ps):
    """The inputs of one row of types.csv with its model parameters, all
    masses in kg and the fuel capacity in kg."""
    a = {k: (v if k in TEXT_INPUTS else float(v)) for k, v in t.items()}
    row = ps[a["ps_type"]]
    a.update({k: float(row[k]) for k in PS_NUMBERS})
    a["winglets"] = row["winglets"] == "yes"
    scale = LB if a["weights_unit"] == "lb" else 1.0
    for k in ("MTOW", "MLAW", "MZFW"):
        a[k] = round(a[k] * scale, 1)
    a["OEW"] = round(float(a["DOW"]) * scale, 1) if a["DOW"] else round(a["OEM_i_kg"], 1)
    litres = {"L": 1.0, "USgal": US_GALLON, "kg": 1 / FUEL_KG_PER_L}[a["fuel_unit"]]
    a["TCAP"] = round(a["fuel"] * litres * FUEL_KG_PER_L)
    return a


def fit_type(a):
    climbs = Climbs(a)
    a["max_trip_nam"] = longest_trip(a, climbs)
    model = fit(a, climbs)
    check_positive(a, model)
    return a, model, misfit(a, climbs, model)


def main(types_path, out_path):
    here = os.path.dirname(os.path.abspath(__file__))
    ps = read_ps(os.path.join(here, PS_FILE))
    with open(types_path, encoding="utf-8", newline="") as f:
        types = [airplane(t, ps) for t in csv.DictReader(f)]
    with Pool(int(os.environ.get("FIT_JOBS", "1"))) as pool:
        results = pool.map(fit_type, types, chunksize=1)
    out_rows = []
    print("| Type | Parameters | Range (NAM) | RMS misfit | Largest misfit | Largest at 50 NAM |")
    print("|---|---|---|---|---|---|")
    for a, model, (rms, largest, shortest) in results:
        print(f"| {a['Type']} | {a['ps_type']} | {a['max_trip_nam']:.0f} "
              f"| {100 * rms:.1f} % | {100 * largest:.1f} % | {100 * shortest:.1f} % |")
        row = {
            "Type": a["Type"], "Airframe": a["Airframe"], "Engine": a["Engine"],
            "DOW": a["OEW"], "MTOW": a["MTOW"], "MLAW": a["MLAW"], "MZFW": a["MZFW"],
            "TCAP": a["TCAP"], "MaxAlt": a["ceiling_ft"], "Mach": a["Mach"],
            "MinCruise": a["MinCruise"], "MaxCruise": a["MaxCruise"],
            "Reference": f"Illustrative fit of the Poll-Schumann model ({a['ps_type']}), not for operational use",
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
