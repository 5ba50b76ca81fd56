#pragma once

#include "setup/setup_file.h"

#include <string>
#include <vector>

namespace mirovax {

// Loading an airplane presets MATOW and MALW to its
// structural limits. After the load that follows reading a setup file, the
// file's own allowable weights come back wherever they are numbers within
// those limits: a runway-limited MATOW kept in a file must not quietly grow
// to the structural maximum. The window and the command line both apply this.
struct AllowableWeights {
    std::string matow;
    std::string malw;
    // One sentence for each of lines 14 and 15 that was not taken, saying why
    // and that the structural limit stays.
    std::vector<std::string> notes;
};

// file: the texts read from the setup file; loadedMatow and loadedMalw:
// the texts the airplane load wrote; mtowKg and mlawKg: the structural limits
// it loaded. A line is taken as it stands when the strict conversion reads it
// and its value is at or below the limit.
AllowableWeights RestoreAllowableWeights(const SetupTexts& file, const std::string& loadedMatow,
    const std::string& loadedMalw, double mtowKg, double mlawKg, MassUnit unit = MassUnit::Kilograms);

} // namespace mirovax
