#include "form/payload_range_inputs.h"

#include <gtest/gtest.h>

using namespace mirovax;

namespace {

// The window's entries at start, with an A320's limits.
FieldTexts DefaultTexts()
{
    return {{"KSFO", "KBFI", "594", "12000", "310", "-46", "0", "KSEA", "433", "5", "45", "1500", "0",
        "78000", "66000"}};
}

} // namespace

TEST(PayloadRangeInputs, NamesTheFieldByCaption)
{
    EXPECT_EQ(UnusableFieldMessage(DefaultTexts()), std::nullopt);
    struct Case {
        Field field;
        const char* text;
        const char* message;
    } cases[] = {
        {Field::FlightLevel, "", "The diagram cannot be drawn: Flight Level is empty."},
        {Field::FlightLevel, "   ", "The diagram cannot be drawn: Flight Level is empty."},
        {Field::FlightLevel, "3x0", "The diagram cannot be drawn: Flight Level is not a number."},
        {Field::Distance, "", "The diagram cannot be drawn: Distance is empty."},
        {Field::Payload, "1,5", "The diagram cannot be drawn: Payload is not a number."},
        {Field::Oat, "-", "The diagram cannot be drawn: OAT is not a number."},
        {Field::Wind, "5 ", "The diagram cannot be drawn: Wind is not a number."},
        {Field::Alternate, "", "The diagram cannot be drawn: Alternate is empty."},
        {Field::AlternateElevation, "", "The diagram cannot be drawn: Elevation is empty."},
        {Field::AlternateDistance, "nan", "The diagram cannot be drawn: Alternate Distance is not a number."},
        {Field::HoldingTime, "", "The diagram cannot be drawn: Holding Time is empty."},
        {Field::HoldingAltitude, "1e", "The diagram cannot be drawn: Hold. Altitude is not a number."},
        {Field::Contingency, "", "The diagram cannot be drawn: Cont Fuel is empty."},
        {Field::Matow, "Edit14", "The diagram cannot be drawn: MATOW is not a number."},
        {Field::Malw, "", "The diagram cannot be drawn: MALW is empty."},
    };
    for (const Case& c : cases) {
        FieldTexts texts = DefaultTexts();
        texts[c.field] = c.text;
        EXPECT_EQ(UnusableFieldMessage(texts).value_or("usable"), c.message) << Spec(c.field).control;
    }
}

TEST(PayloadRangeInputs, RefusesExactlyWhenTheRunRefuses)
{
    // Every field in turn with each kind of text, and pairs of bad fields:
    // the message appears exactly when ReadInputs sets ConversionError, and
    // names the field the run converts first.
    const char* texts[] = {"", " ", "12", " 12", "12 ", "1.5e3", ".", "abc", "KSEA"};
    for (const FieldSpec& spec : Fields()) {
        if (spec.field < Field::Distance)
            continue;
        for (const char* text : texts) {
            FieldTexts in = DefaultTexts();
            in[spec.field] = text;
            TMissionData md;
            ReadInputs(in, md);
            EXPECT_EQ(UnusableFieldMessage(in).has_value(), md.ConversionError != 0)
                << spec.control << " = \"" << text << "\"";
        }
    }
    FieldTexts both = DefaultTexts();
    both[Field::AlternateElevation] = "";
    both[Field::Matow] = "x";
    EXPECT_EQ(UnusableFieldMessage(both).value_or(""), "The diagram cannot be drawn: MATOW is not a number.");
    both[Field::Matow] = "78000";
    both[Field::Alternate] = "";
    EXPECT_EQ(UnusableFieldMessage(both).value_or(""), "The diagram cannot be drawn: Elevation is empty.");
}
