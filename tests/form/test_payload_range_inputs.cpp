#include "form/payload_range_inputs.h"

#include <gtest/gtest.h>

using namespace mirovax;

namespace {

// The window's entries at start, with an A320's limits.
InputTexts DefaultTexts()
{
    InputTexts texts;
    texts.edits
        = {"594", "12000", "310", "-46", "0", "KSEA", "433", "5", "45", "1500", "0", "78000", "66000"};
    return texts;
}

} // namespace

TEST(PayloadRangeInputs, NamesTheFieldByCaption)
{
    EXPECT_EQ(UnusableFieldMessage(DefaultTexts()), std::nullopt);
    struct Case {
        int edit;
        const char* text;
        const char* message;
    } cases[] = {
        {5, "", "The diagram cannot be drawn: Flight Level is empty."},
        {5, "   ", "The diagram cannot be drawn: Flight Level is empty."},
        {5, "3x0", "The diagram cannot be drawn: Flight Level is not a number."},
        {3, "", "The diagram cannot be drawn: Distance is empty."},
        {4, "1,5", "The diagram cannot be drawn: Payload is not a number."},
        {6, "-", "The diagram cannot be drawn: OAT is not a number."},
        {7, "5 ", "The diagram cannot be drawn: Wind is not a number."},
        {8, "", "The diagram cannot be drawn: Alternate is empty."},
        {9, "", "The diagram cannot be drawn: Elevation is empty."},
        {10, "nan", "The diagram cannot be drawn: Alternate Distance is not a number."},
        {11, "", "The diagram cannot be drawn: Holding Time is empty."},
        {12, "1e", "The diagram cannot be drawn: Hold. Altitude is not a number."},
        {13, "", "The diagram cannot be drawn: Cont Fuel is empty."},
        {14, "Edit14", "The diagram cannot be drawn: MATOW is not a number."},
        {15, "", "The diagram cannot be drawn: MALW is empty."},
    };
    for (const Case& c : cases) {
        InputTexts texts = DefaultTexts();
        texts.edit(c.edit) = c.text;
        EXPECT_EQ(UnusableFieldMessage(texts).value_or("usable"), c.message) << "Edit" << c.edit;
    }
}

TEST(PayloadRangeInputs, RefusesExactlyWhenTheRunRefuses)
{
    // Every field in turn with each kind of text, and pairs of bad fields:
    // the message appears exactly when ReadInputs sets ConversionError, and
    // names the field the run converts first.
    const char* texts[] = {"", " ", "12", " 12", "12 ", "1.5e3", ".", "abc", "KSEA"};
    for (int edit = 3; edit <= 15; ++edit) {
        for (const char* text : texts) {
            InputTexts in = DefaultTexts();
            in.edit(edit) = text;
            TMissionData md;
            ReadInputs(in, md);
            EXPECT_EQ(UnusableFieldMessage(in).has_value(), md.ConversionError != 0)
                << "Edit" << edit << " = \"" << text << "\"";
        }
    }
    InputTexts both = DefaultTexts();
    both.edit(9) = "";
    both.edit(14) = "x";
    EXPECT_EQ(UnusableFieldMessage(both).value_or(""), "The diagram cannot be drawn: MATOW is not a number.");
    both.edit(14) = "78000";
    both.edit(8) = "";
    EXPECT_EQ(UnusableFieldMessage(both).value_or(""), "The diagram cannot be drawn: Elevation is empty.");
}
