#include "engine/checked_math.h"
#include "engine/text_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace mirovax;

TEST(FormatGeneral, FixedAndScientificForms)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {21000, "21000"},
        {0.78, "0.78"},
        {79015.8, "79015.8"},
        {62800, "62800"},
        {1e15, "1E15"},
        {999999999999999, "999999999999999"},
        {1.5e-7, "1.5E-7"},
        {-2.5e-6, "-2.5E-6"},
        {0.00001, "0.00001"},
        {0.000012345, "0.000012345"},
        {-0.5, "-0.5"},
        {0, "0"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"}, // 15 digits hide the binary residue
        {1.0 / 3.0, "0.333333333333333"},
        {123456.789012345678, "123456.789012346"},
        {2.5e20, "2.5E20"},
        {-1e-300, "-1E-300"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatGeneral(c.value), c.text) << c.value;
}

TEST(FormatGeneral, RoundingToFifteenDigitsCanChangeTheForm)
{
    // 999999999999999.9 rounds to 1E15 at fifteen digits.
    EXPECT_EQ(FormatGeneral(999999999999999.9), "1E15");
    EXPECT_EQ(FormatGeneral(0.0000099999999999999999), "0.00001");
}

TEST(Rounding, TiesGoToTheEvenNeighbour)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.5, "0"},
        {1.5, "2"},
        {2.5, "2"},
        {3.5, "4"},
        {-2.5, "-2"},
        {-0.4, "0"},
        {-0.5, "0"},
        {2.5000000000000004, "3"},
        {666.57, "667"},
        {-1234.5, "-1234"},
        {1e20, "100000000000000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatRounded(c.value), c.text) << c.value;
}

TEST(HoursMinutes, TimeOfDayWithTruncatedMinutes)
{
    const struct {
        double hours;
        const char* text;
    } cases[] = {
        {1.75, "01:45"},
        {25.5, "01:30"},
        {0.9999, "00:59"},
        {0.75, "00:45"},
        {0, "00:00"},
        {-1.75, "01:45"},
        {23.999, "23:59"},
        {24, "00:00"},
        // 59.9999 min is 3 599 994 ms: still minute 59.
        {0.99999833, "00:59"},
        // 1/60 h is exactly one minute after millisecond rounding.
        {1.0 / 60.0, "00:01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatHoursMinutes(c.hours), c.text) << c.hours;
}

TEST(HoursMinutes, AnOverflowingTimeIsAnArithmeticError)
{
    EXPECT_THROW(FormatHoursMinutes(1e305), ArithmeticError);
}

TEST(ConvertStrict, AcceptedForms)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"594", 594},
        {"  594", 594},
        {"-46", -46},
        {"+12", 12},
        {"0.78", 0.78},
        {"5.", 5},
        {".5", 0.5},
        {"1E5", 1e5},
        {"1e-5", 1e-5},
        {"2.5E+3", 2500},
        {"-0", 0},
        {"007", 7},
        {"1e-400", 0},
        {"79015.8", 79015.8},
    };
    for (const auto& c : cases) {
        const Conversion r = ConvertStrict(c.text);
        EXPECT_TRUE(r.ok()) << c.text << " failed at " << r.errorPosition;
        EXPECT_EQ(r.value, c.value) << c.text;
    }
}

TEST(ConvertStrict, RejectedFormsReportTheFirstBadCharacter)
{
    const struct {
        const char* text;
        int position;
    } cases[] = {
        {"", 1},
        {" ", 2},
        {"4-5", 2},
        {"594 ", 4},
        {"1,5", 2},
        {"nan", 1},
        {"inf", 1},
        {"-inf", 2},
        {"0x10", 2},
        {"1e", 3},
        {"1e+", 4},
        {"+", 2},
        {".", 2},
        {"-.", 3},
        {"\t5", 1},
        {"12a", 3},
        {"1.2.3", 4},
        {"1e5.0", 4},
        {"1e999", 1},
        {"  -1e999", 3},
        {"E5", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConvertStrict(c.text).errorPosition, c.position) << '"' << c.text << '"';
}

TEST(ConvertStrict, ValuesAreCorrectlyRounded)
{
    EXPECT_EQ(ConvertStrict("0.1").value, 0.1);
    EXPECT_EQ(ConvertStrict("2.2250738585072014e-308").value, std::numeric_limits<double>::min());
    EXPECT_EQ(ConvertStrict("1.7976931348623157e308").value, std::numeric_limits<double>::max());
    EXPECT_EQ(ConvertStrict("1.7976931348623159e308").errorPosition, 1);
}
