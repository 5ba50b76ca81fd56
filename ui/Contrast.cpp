#include "ui/Contrast.h"

#include <algorithm>
#include <cmath>

namespace mirovax {

namespace {

double Linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor& c)
{
    return 0.2126 * Linear(c.redF()) + 0.7152 * Linear(c.greenF()) + 0.0722 * Linear(c.blueF());
}

QColor Mix(const QColor& from, const QColor& to, double share)
{
    auto channel = [share](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * share)); };
    return {
        channel(from.red(), to.red()), channel(from.green(), to.green()), channel(from.blue(), to.blue())};
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor ReadableOn(const QColor& colour, const QColor& background, double minimum)
{
    if (ContrastRatio(colour, background) >= minimum)
        return colour;
    const QColor towards = ContrastRatio(Qt::black, background) >= ContrastRatio(Qt::white, background)
        ? QColor(Qt::black)
        : QColor(Qt::white);
    // Twenty steps of five per cent: black or white itself reads on any
    // background where the other does not.
    for (int step = 1; step <= 20; ++step) {
        const QColor mixed = Mix(colour, towards, step / 20.0);
        if (ContrastRatio(mixed, background) >= minimum)
            return mixed;
    }
    return towards;
}

} // namespace mirovax
