// ks318-gen: writes a synthetic BP data file for tests, benchmarks and demos
// (the demo recording is bundled: samples/DEMO.DAT and DEMO.p30); its usage
// is printed below.
#include "synthetic.h"

#include "records/filenames.h"

#include <QCoreApplication>
#include <QMap>
#include <QStringList>
#include <cstdio>

using namespace ks318;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    synth::Options o;
    int seed = int(o.seed), type = code(o.type);
    const QMap<QString, int*> flags{{"--count", &o.count},          {"--seed", &seed},
                                    {"--type", &type},              {"--errors", &o.errorEvery},
                                    {"--excluded", &o.excludedEvery}, {"--comments", &o.commentEvery}};
    bool usage = args.size() < 2 || args.size() % 2 != 0 || args[0] != QLatin1String("synth");
    for (int i = 2; !usage && i < args.size(); i += 2) {
        usage = !flags.contains(args[i]);
        if (!usage)
            *flags[args[i]] = args[i + 1].toInt();
    }
    if (usage) {
        std::fprintf(stderr, "usage: ks318-gen synth OUT.DAT [--count N] [--seed S] [--type 70|30|21|20]\n"
                             "                               [--errors N] [--excluded N] [--comments N]\n");
        return 2;
    }
    o.seed = unsigned(seed);
    o.type = RecorderType(type);
    if (!writeFileAtomically(args[1], synth::makeFile(o))) {
        std::fprintf(stderr, "ks318-gen: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
