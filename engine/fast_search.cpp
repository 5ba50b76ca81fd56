#include "engine/fast_search.h"

namespace mirovax {

void SolveMaximumRangeFast(TMissionData& md, IMissionServices& services)
{
    SolveMaximumRange(md, services);
}

void SolveMaximumPayloadFast(TMissionData& md, IMissionServices& services)
{
    SolveMaximumPayload(md, services);
}

} // namespace mirovax
