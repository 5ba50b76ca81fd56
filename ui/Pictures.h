#pragma once

#include <QIcon>
#include <QPixmap>

namespace mirovax {

// The pictures of the tool bar and the menu, 16 x 16 pixels, in the order of
// the image list: 0 load setup, 1 save setup, 2 print report, 3 help,
// 4 payload-range diagram, 5 limits and margins, 6 compare.
enum class TPicture { LoadSetup, SaveSetup, PrintReport, Help, PayloadRange, Limits, Compare };

QPixmap DrawPicture(TPicture picture);

// The program's icon: an airplane over a fuel gauge, drawn at the ten sizes
// from 16 to 256 pixels.
QIcon ProgramIcon();

} // namespace mirovax
