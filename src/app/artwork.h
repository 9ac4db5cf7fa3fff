#pragma once
// The program's pictures, drawn by our own code: the tile that covers the
// main window, the splash picture and the program icon.
#include <QImage>

namespace ks318 {

QImage wallpaperTile();
QImage splashPicture();
QImage programIcon(int size = 256);

} // namespace ks318
