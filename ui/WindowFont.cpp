#include "ui/WindowFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace mirovax {

namespace {

constexpr int kFontPixels = 11; // 8 point at 96 dots per inch

} // namespace

QFont WindowFont()
{
    const QString wanted = QStringLiteral("MS Sans Serif");
    const QStringList families = QFontDatabase::families();
    QString family = QStringLiteral("Liberation Sans");
    if (families.contains(wanted))
        family = wanted;
    else if (!families.contains(family))
        family = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont font(family);
    font.setPixelSize(kFontPixels);
    // The stand-in runs a little wider than the face the layout was drawn
    // for; narrowed slightly, the longest captions end before their values.
    if (family != wanted)
        font.setStretch(95);
    return font;
}

} // namespace mirovax
