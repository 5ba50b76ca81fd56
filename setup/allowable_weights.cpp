#include "setup/allowable_weights.h"

#include "engine/text_format.h"

namespace mirovax {

namespace {

struct WeightLine {
    int index; // 0-based line of the setup file
    const char* field; // the field's name in the window
    const char* limitName;
};

constexpr WeightLine kTakeoff{13, "MATOW", "Maximum Structural Takeoff Weight"};
constexpr WeightLine kLanding{14, "MALW", "Maximum Structural Landing Weight"};

// The file's text when it may stand, otherwise the loaded text and a note.
std::string Restore(const WeightLine& line, const std::string& fileText, const std::string& loadedText,
    double limitKg, std::vector<std::string>& notes)
{
    const std::string limit = std::string(line.limitName) + " of " + FormatGeneral(limitKg) + " kg";
    const std::string lineName = "Line " + std::to_string(line.index + 1) + " (" + line.field + ")";
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
        notes.push_back(
            lineName + " of the setup file, " + fileText + " kg, exceeds the " + limit + ", which stays.");
        return loadedText;
    }
    return fileText;
}

} // namespace

AllowableWeights RestoreAllowableWeights(const SetupTexts& file, const std::string& loadedEdit14,
    const std::string& loadedEdit15, double mtowKg, double mlawKg)
{
    AllowableWeights weights;
    weights.edit14 = Restore(kTakeoff, file[kTakeoff.index], loadedEdit14, mtowKg, weights.notes);
    weights.edit15 = Restore(kLanding, file[kLanding.index], loadedEdit15, mlawKg, weights.notes);
    return weights;
}

} // namespace mirovax
