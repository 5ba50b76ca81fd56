#include "setup/allowable_weights.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirovax {
namespace {

SetupTexts FileWith(const std::string& line14, const std::string& line15)
{
    SetupTexts texts;
    texts[13] = line14;
    texts[14] = line15;
    return texts;
}

// Each line is taken or refused on its own, against its own limit: the
// airplane load wrote "78000" and "66000" (MTOW and MLAW).
TEST(RestoreAllowableWeights, TakesFileTextsWithinTheStructuralLimits)
{
    struct Case {
        const char* line14;
        const char* line15;
        const char* matow;
        const char* malw;
        std::vector<std::string> notes;
    };
    const std::vector<Case> cases = {
        {"60000", "55000", "60000", "55000", {}},
        // Equal to the limit passes; 1 kg more keeps the limit.
        {"78000", "66001", "78000", "66000",
            {"Line 15 (MALW) of the setup file, 66001 kg, exceeds the Maximum Structural Landing Weight of "
             "66000 kg, which stays."}},
        {"78001", "66000", "78000", "66000",
            {"Line 14 (MATOW) of the setup file, 78001 kg, exceeds the Maximum Structural Takeoff Weight "
             "of 78000 kg, which stays."}},
        // The text stands as the file holds it, in any form the run reads.
        {" 6E4", "+55000.5", " 6E4", "+55000.5", {}},
        {"", "abc", "78000", "66000",
            {"Line 14 (MATOW) of the setup file is empty: the Maximum Structural Takeoff Weight of 78000 kg "
             "stays.",
                "Line 15 (MALW) of the setup file, \"abc\", is not a number: the Maximum Structural Landing "
                "Weight of 66000 kg stays."}},
        {"60000 ", "1e999", "78000", "66000",
            {"Line 14 (MATOW) of the setup file, \"60000 \", is not a number: the Maximum Structural "
             "Takeoff Weight of 78000 kg stays.",
                "Line 15 (MALW) of the setup file, \"1e999\", is not a number: the Maximum Structural "
                "Landing Weight of 66000 kg stays."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.line14) + " / " + c.line15);
        const AllowableWeights w
            = RestoreAllowableWeights(FileWith(c.line14, c.line15), "78000", "66000", 78000, 66000);
        EXPECT_EQ(w.matow, c.matow);
        EXPECT_EQ(w.malw, c.malw);
        EXPECT_EQ(w.notes, c.notes);
    }
}

} // namespace
} // namespace mirovax
