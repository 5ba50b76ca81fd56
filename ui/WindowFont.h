#pragma once

#include <QFont>

namespace mirovax {

// The font of the main window and the About box: "MS Sans Serif" at 11
// pixels where it exists, otherwise Liberation Sans, which keeps Arial's
// widths, at the same size.
QFont WindowFont();

} // namespace mirovax
