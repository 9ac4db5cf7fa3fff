// ks318-gen: writes synthetic BP data files for tests, benchmarks and demos.
//   ks318-gen demo OUT.DAT          (also writes OUT.p30, the patient's details)
//   ks318-gen synth OUT.DAT [--count N] [--seed S] [--type 70|30|21|20]
//                           [--errors N] [--excluded N] [--comments N]
#include "synthetic.h"

#include "records/filenames.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

using namespace ks318;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2 || (args[0] != QLatin1String("demo") && args[0] != QLatin1String("synth"))) {
        std::fprintf(stderr,
                     "usage: ks318-gen demo OUT.DAT\n"
                     "       ks318-gen synth OUT.DAT [--count N] [--seed S] [--type 70|30|21|20]\n"
                     "                               [--errors N] [--excluded N] [--comments N]\n");
        return 2;
    }
    QByteArray bytes;
    if (args[0] == QLatin1String("demo")) {
        bytes = synth::demoFile();
    } else {
        synth::Options o;
        for (int i = 2; i + 1 < args.size(); i += 2) {
            const QString& flag = args[i];
            const int value = args[i + 1].toInt();
            if (flag == QLatin1String("--count"))
                o.count = value;
            else if (flag == QLatin1String("--seed"))
                o.seed = unsigned(value);
            else if (flag == QLatin1String("--type"))
                o.type = RecorderType(value);
            else if (flag == QLatin1String("--errors"))
                o.errorEvery = value;
            else if (flag == QLatin1String("--excluded"))
                o.excludedEvery = value;
            else if (flag == QLatin1String("--comments"))
                o.commentEvery = value;
            else {
                std::fprintf(stderr, "ks318-gen: unknown option %s\n", qPrintable(flag));
                return 2;
            }
        }
        bytes = synth::makeFile(o);
    }
    if (!writeFileAtomically(args[1], bytes)) {
        std::fprintf(stderr, "ks318-gen: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    if (args[0] == QLatin1String("demo")) {
        const QString companion = replaceExtension(args[1], QStringLiteral(".p30"));
        if (!writeFileAtomically(companion, synth::demoCompanionFile(args[1]))) {
            std::fprintf(stderr, "ks318-gen: cannot write %s\n", qPrintable(companion));
            return 1;
        }
    }
    return 0;
}
