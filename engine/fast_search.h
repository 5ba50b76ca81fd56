#pragma once

#include "engine/mission_data.h"
#include "engine/solve.h"

// The two maximum searches without a pass per nautical air mile or per 10 kg,
// for the uses that run many missions without a window (sweeps, the compare
// tables, the payload-range diagram, the extras). Each gives the record, the
// limit report and the exceptions of the per-pass search run with services
// whose event yield never asks to abort, field for field and bit for bit;
// where a shortcut cannot prove its answer it runs the per-pass search. The
// window's Execute keeps the per-pass search, with its event yield and
// Abort.
namespace mirovax {

void SolveMaximumRangeFast(TMissionData& md, IMissionServices& services);
void SolveMaximumPayloadFast(TMissionData& md, IMissionServices& services);

// Which searches a calculation run uses.
enum class SearchMethod {
    PerPass, // one pass per nautical air mile or 10 kg, yielding each pass
    Fast, // the searches above
};

} // namespace mirovax
