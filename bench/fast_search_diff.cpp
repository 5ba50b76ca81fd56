// Differential check of the fast maximum searches: random missions, each
// solved by the per-pass and the fast search in both maximum modes, every
// field of the record compared bit for bit with the messages and the
// exceptions. Reports the first mission that differs, with its data.
//
//   fast_search_diff [--missions N] [--seed S]     (defaults 1000000, 1)
#include "fast_search_missions.h"

#include "engine/text_format.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

using namespace mirovax;

namespace {

bool ParseCount(const char* text, std::uint64_t& value)
{
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (end == text || *end != '\0')
        return false;
    value = parsed;
    return true;
}

void PrintMission(const TMissionData& md)
{
    for (const auto* fields : {&kAirplaneNumbers[0], &kInputFields[0]}) {
        const std::size_t count
            = fields == &kAirplaneNumbers[0] ? kAirplaneNumbers.size() : kInputFields.size();
        for (std::size_t i = 0; i < count; ++i)
            std::cout << "  md." << fields[i].name << " = " << FormatRoundTrip(md.*fields[i].member) << ";\n";
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::uint64_t missions = 1'000'000;
    std::uint64_t seed = 1;
    for (int i = 1; i < argc; i += 2) {
        const std::string_view option = argv[i];
        std::uint64_t* value = nullptr;
        if (option == "--missions")
            value = &missions;
        if (option == "--seed")
            value = &seed;
        if (value == nullptr || i + 1 >= argc || !ParseCount(argv[i + 1], *value)) {
            std::cerr << "usage: fast_search_diff [--missions N] [--seed S]\n";
            return 2;
        }
    }

    const auto began = std::chrono::steady_clock::now();
    std::uint64_t leftOut = 0;
    for (std::uint64_t n = 0; n < missions; ++n) {
        const TMissionData md = fast_search_check::RandomMission(seed + n);
        const fast_search_check::Comparison result = fast_search_check::CompareSearches(md);
        if (!result.compared)
            ++leftOut;
        if (!result.difference.empty()) {
            std::cout << "Mission " << n << " (seed " << seed + n << ") differs:\n"
                      << result.difference << "Mission data:\n";
            PrintMission(md);
            return 1;
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    std::cout << missions << " missions from seed " << seed
              << ": fast and per-pass searches agree bit for bit (" << leftOut
              << " left out, their per-pass Maximum Range passing " << fast_search_check::kPassBound
              << " NAM) in " << took.count() << " s\n";
    return 0;
}
