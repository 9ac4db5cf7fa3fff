// fileconv: converts a legacy patient file NAME.pat into NAME.tmp, which the
// program turns into the companion file NAME.p30 when a recording is opened
// for the first time. NAME.pat is text of "key: value" lines (README, "Legacy
// patient files"); NAME.tmp takes the legacy record layouts.
//
//   fileconv PATH/NAME.pat
//
// Exit 0 when NAME.tmp was written, 1 on a bad or unreadable NAME.pat (one
// line on stderr, nothing written), 2 on wrong usage.
#include "patfile.h"

#include "records/filenames.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <cstdio>

using namespace ks318;

namespace {

void printError(const QString& line)
{
    std::fprintf(stderr, "fileconv: %s\n", line.toUtf8().constData());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1 || args[0].isEmpty() || args[0].startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "usage: fileconv PATH/NAME.pat\n"
                             "  writes PATH/NAME.tmp in the legacy patient layout\n");
        return 2;
    }
    const QString patPath = args[0];
    QFile in(patPath);
    if (!in.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1").arg(patPath));
        return 1;
    }
    QString error;
    const QByteArray tmp = convertPatientFile(in.readAll(), error);
    if (!error.isEmpty()) {
        printError(QStringLiteral("%1: %2").arg(patPath, error));
        return 1;
    }
    // Written whole or not at all: the program polls for the file's existence.
    const QString tmpPath = replaceExtension(patPath, QStringLiteral(".tmp"));
    if (!writeFileAtomically(tmpPath, tmp)) {
        printError(QStringLiteral("cannot write %1").arg(tmpPath));
        return 1;
    }
    return 0;
}
