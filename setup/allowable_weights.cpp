#include "setup/allowable_weights.h"

#include "engine/text_format.h"
#include "form/window_captions.h"

namespace mirovax {

namespace {

struct WeightLine {
    Field field;
    const char* limitName;
};

constexpr WeightLine kTakeoff{Field::Matow, "Maximum Structural Takeoff Weight"};
constexpr WeightLine kLanding{Field::Malw, "Maximum Structural Landing Weight"};

// The file's text when it may stand, otherwise the loaded text and a note.
std::string Restore(const WeightLine& line, const std::string& fileText, const std::string& loadedText,
    double limitKg, MassUnit unit, std::vector<std::string>& notes)
{
    const std::string unitText(MassUnitText(unit));
    const std::string limit
        = std::string(line.limitName) + " of " + FormatMassExact(limitKg, unit) + " " + unitText;
    const std::string lineName
        = "Line " + std::to_string(Spec(line.field).setupLine) + " (" + FieldCaption(line.field) + ")";
    if (fileText.empty()) {
        notes.push_back(lineName + " of the setup file is empty: the " + limit + " stays.");
        return loadedText;
    }
    const Conversion c = ConvertStrict(fileText);
    if (!c.ok()) {
        notes.push_back(
            lineName + " of the setup file, \"" + fileText + "\", is not a number: the " + limit + " stays.");
        return loadedText;
    }
    if (c.value > limitKg) {
        notes.push_back(lineName + " of the setup file, "
            + (unit == MassUnit::Kilograms ? fileText : FormatMass(c.value, unit)) + " " + unitText
            + ", exceeds the " + limit + ", which stays.");
        return loadedText;
    }
    return fileText;
}

} // namespace

AllowableWeights RestoreAllowableWeights(const SetupTexts& file, const std::string& loadedMatow,
    const std::string& loadedMalw, double mtowKg, double mlawKg, MassUnit unit)
{
    AllowableWeights weights;
    weights.matow
        = Restore(kTakeoff, file[SetupIndex(kTakeoff.field)], loadedMatow, mtowKg, unit, weights.notes);
    weights.malw
        = Restore(kLanding, file[SetupIndex(kLanding.field)], loadedMalw, mlawKg, unit, weights.notes);
    return weights;
}

} // namespace mirovax
