#pragma once

#include <QIcon>

namespace mirovax {

// The pictures of the tool bar and the menu, drawn on a 16 x 16 grid, in the
// order of the image list: 0 load setup, 1 save setup, 2 print report,
// 3 help, 4 payload-range diagram, 5 limits and margins, 6 compare.
enum class TPicture { LoadSetup, SaveSetup, PrintReport, Help, PayloadRange, Limits, Compare };

// Both icons are drawn from their vectors for each size and device pixel
// ratio asked of them, so they stay sharp at any scale. The lines of a
// picture that stand on the window's background take the palette's text
// colour, so they stay visible on a dark background as on a light one.
QIcon PictureIcon(TPicture picture);

// The program's icon, offering the ten sizes from 16 to 256 pixels.
QIcon ProgramIcon();

} // namespace mirovax
