#include "myapplication.h"

#include "artwork.h"

#include <QIcon>
#include <QPixmap>

namespace ks318 {

TMyApplication::TMyApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("ks318"));
    setApplicationVersion(QStringLiteral("2.2.0"));
    setDesktopFileName(QStringLiteral("ks318"));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(programIcon(size)));
    setWindowIcon(icon);
}

} // namespace ks318
