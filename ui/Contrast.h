#pragma once

#include <QColor>

namespace mirovax {

// The contrast ratio of two colours as the Web Content Accessibility
// Guidelines define it: (L1 + 0.05) / (L2 + 0.05) of their relative
// luminances, lighter over darker; from 1 (alike) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// The least contrast that normal-sized text needs to be readable, and the
// least that the parts of a picture need to be made out.
constexpr double kReadableContrast = 4.5;
constexpr double kGraphicContrast = 3.0;

// A colour that says what `colour` says (red for a stop, green for inside)
// and stands out from `background` by `minimum`: the colour itself where it
// already does, otherwise the colour mixed towards black or white, whichever
// stands out more from that background, just far enough.
QColor ReadableOn(const QColor& colour, const QColor& background, double minimum = kReadableContrast);

} // namespace mirovax
