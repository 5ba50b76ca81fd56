// libFuzzer target for one flight-plan reader, the format chosen by the build
// (MIROVAX_PLAN_FORMAT, a PlanFormat enumerator).
#include "plan_reader_check.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string fault = mirovax::CheckPlanReader(mirovax::PlanFormat::MIROVAX_PLAN_FORMAT, data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "%s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
