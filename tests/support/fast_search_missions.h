#pragma once

#include "engine/mission_data.h"

#include <cstdint>
#include <random>
#include <string>

// Random missions for comparing the fast maximum searches with the per-pass
// ones, shared by the differential tool and the engine tests.
namespace mirovax::fast_search_check {

// The per-pass Maximum Range search gives up after this many passes: a
// mission whose limits bind farther away, or never, is left out.
inline constexpr long kPassBound = 200'000;

// A mission drawn from seed: airplanes and entries of every plausible size,
// and on purpose data that test the shortcuts' edges: flat and negative fuel
// slopes, totals landing exactly on TCAP, MATOW or MALW, ranges above 10,000
// NAM, huge and tiny limits, zero denominators and a wind the airplane cannot
// fly against.
TMissionData RandomMission(std::uint64_t seed);

struct Comparison {
    bool compared = false; // false: left out (kPassBound)
    std::string difference; // empty when both searches agree
};

// Runs Maximum Range and Maximum Payload on the mission with the per-pass
// and the fast search and compares every field of the record bit for bit,
// the limit messages and the exceptions.
Comparison CompareSearches(const TMissionData& md);

} // namespace mirovax::fast_search_check
