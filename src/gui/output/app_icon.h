// The program's icon, drawn at any size: a tile of interlocking arcs whose
// edges meet, as a tile made in the program does. The window shows it and the
// build writes it out as the installed hicolor pictures.
#pragma once

#include <QIcon>
#include <QImage>

namespace vorq::gui {

// Square, transparent outside the rounded tile.
QImage AppIconImage(int size);
QIcon AppIcon();

// The sizes installed in the hicolor theme.
constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace vorq::gui
