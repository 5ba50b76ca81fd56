#pragma once

#include "engine/mission_data.h"
#include "engine/mission_limits.h"
#include "form/fields.h"

#include <array>
#include <ctime>
#include <string>
#include <vector>

// The dispatch sheet: one A4 page of HTML to print, sign and hand to the crew.
// Composed from a run as a pure function, so the window and the command line
// write the same sheet. Every text that comes from the user or a file is
// escaped.
namespace mirovax {

struct DispatchSheetInput {
    std::time_t runTime = 0; // when the run was made; shown in UTC
    std::string flight; // flight number, may be empty
    std::string registration; // may be empty
    std::string programTitle; // "Mirovax - Version: 1.0.1.0"
    std::string modeText;
    std::string regulationText;
    // The fields' texts as the run read them.
    FieldTexts fields;
    // The record after the run, with the airplane's constants and texts.
    TMissionData md;
    bool valid = false;
    MissionLimits limits;
    // Every warning of the run: the limit message and any notes, in order.
    std::vector<std::string> warnings;
    // The flight plan the route came from and its waypoints' identifiers;
    // nothing is shown of it when the file name is empty.
    std::string planFile;
    std::vector<std::string> planWaypoints;
    // Where the wind and the temperature came from when a forecast gave them.
    std::string windSource;
    std::string oatSource;
};

// The whole HTML document, UTF-8, sized for one A4 page when printed.
std::string DispatchSheetHtml(const DispatchSheetInput& input);

} // namespace mirovax
