// Numbers of the correlation, histogram and grade pages (golden
// distributions.txt): histogram classes and percentages with the scale
// decision, bar lengths, WHO-ISH grades, the grade axis and the clipped
// regression line.
#include "analysis/distributions.h"
#include "support/readingtext.h"
#include "support/testfiles.h"

#include <QtTest>

using namespace ks318;

namespace {

const QList<QByteArray> kQuantities{"SYS", "DIA", "MAP", "PULSE", "DP"};
const QList<QByteArray> kGrades{"optimal", "normal", "high normal", "mild", "moderate", "severe"};

// One input line of distributions.txt: a function and its arguments.
QByteArray run(const QByteArray& line)
{
    const QList<QByteArray> f = line.simplified().split(' ');
    const QByteArray what = f[0];
    const double a = f.value(1).toDouble();
    const double b = f.value(2).toDouble();
    if (what == "class")
        return QByteArray::number(histogramClass(int(b), histogramClassWidth(int(kQuantities.indexOf(f[1])))));
    if (what == "bar")
        return QByteArray::number(histogramBarLength(int(a), int(b), f[3] == "0-100", f[4].toInt()));
    if (what == "grade")
        return kGrades.value(int(whoIshGrade(int(a), int(b))));
    if (what == "axis") {
        const int range = gradeAxisRange(a, b);
        return QByteArray::number(range) + " with " + QByteArray::number(gradeAxisTicks(range)) + " ticks";
    }
    if (what == "line") {
        const LineEnds l = regressionLineEnds(a, b);
        return QString::asprintf("%d,%d %d,%d", l.first.x, l.first.y, l.second.x, l.second.y).toUtf8();
    }
    // histograms READINGS: n, the scale, and per quantity its classes "class:count (percent %)".
    const Histograms h = computeHistograms(*test::makeBlock(QString::fromUtf8(line.mid(11))));
    QByteArray out = "n " + QByteArray::number(h.n) + ", scale " + (h.hundredPercentScale ? "0-100" : "0-50")
                     + (h.hundredPercentScale == needsHundredPercentScale(h) ? "" : " (needs the other)");
    for (int q = 0; q < kQuantities.size(); ++q) {
        out += '\n' + kQuantities[q];
        for (std::size_t c = 0; c < h.counts[std::size_t(q)].size(); ++c)
            if (h.counts[std::size_t(q)][c] != 0)
                out += QString::asprintf(" %zu:%d (%d %%)", c, h.counts[std::size_t(q)][c], h.percents[std::size_t(q)][c])
                           .toUtf8();
    }
    return out;
}

} // namespace

class TestDistributions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void table() { KS318_COMPARE_GOLDEN_TABLE("distributions.txt", run); }
};

QTEST_GUILESS_MAIN(TestDistributions)
#include "tst_distributions.moc"
