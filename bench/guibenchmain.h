#pragma once
// main() of a benchmark that draws: fonts need a GUI application, and the
// off-screen platform needs no display.
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <vector>

inline int runGuiBenchmarks(int argc, char** argv)
{
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    std::vector<char*> args(argv, argv + argc);
    args.insert(args.begin() + 1, {platform, offscreen});
    int count = int(args.size());
    args.push_back(nullptr);
    QGuiApplication app(count, args.data());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
