// Writes the program icon as ks318.png into the directory given.
#include "app/artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ks318-art DIRECTORY\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!ks318::programIcon(256).save(dir.filePath(QStringLiteral("ks318.png")))) {
        std::fprintf(stderr, "ks318-art: cannot write the icon\n");
        return 1;
    }
    return 0;
}
