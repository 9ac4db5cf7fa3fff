// ks318-cli plot FILE --page trend|correlation|histogram|grade -o OUT.png|OUT.pdf
//                     [--size WIDTHxHEIGHT] [--span MINUTES] [--scroll HOURS] [--mode 0..3]
//                     [--sleep HH:MM --wake HH:MM]
#include "commands.h"
#include "recording.h"

#include "plots/axistable.h"
#include "plots/graphpages.h"
#include "records/bpdatafile.h"
#include "records/stringtable.h"
#include "session/session.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace ks318::cli {

const char* const kPlotUsage =
    "  plot FILE --page trend|correlation|histogram|grade -o OUT.png|OUT.pdf\n"
    "       [--size WIDTHxHEIGHT] [--span MINUTES] [--scroll HOURS] [--mode 0..3]\n"
    "       [--sleep HH:MM --wake HH:MM]\n"
    "      Draws a page of the graphics window in a plot area of that size\n"
    "      (default 1200x800): a PNG as on the screen, a PDF as printed, on one\n"
    "      A4 landscape page with the window's title line at its bottom. Without\n"
    "      --span the whole analysis window is shown; --scroll moves the view's\n"
    "      left edge that many hours into the window. Both take what the window\n"
    "      offers: a span (minutes) of its zoom menu for this recording, a scroll\n"
    "      position up to the window's length. --sleep/--wake replace the\n"
    "      recording's sleep and wake times for this run only. Files the window\n"
    "      refuses are refused with its message (exit 1).\n";

namespace {

constexpr int kMaxSide = 10000;

struct Page {
    const char* name;
    int kind;
};
const Page kPages[] = {
    {"trend", Session::GraphTrend},
    {"correlation", Session::GraphCorrelation},
    {"histogram", Session::GraphHistogram},
    {"grade", Session::GraphGrade},
};

int usage(const QString& message)
{
    return usageError(kPlotUsage, message);
}

bool positiveNumber(const QString& text, int& value, int minimum)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= minimum;
}

bool offeredSpan(int span, int windowHours)
{
    for (const ZoomEntry& e : kZoomEntries)
        if (zoomEntryShown(e, windowHours) && zoomSpan(e, windowHours) == span)
            return true;
    return false;
}

QString offeredSpans(int windowHours)
{
    QStringList spans;
    for (const ZoomEntry& e : kZoomEntries)
        if (zoomEntryShown(e, windowHours) && !spans.contains(QString::number(zoomSpan(e, windowHours))))
            spans << QString::number(zoomSpan(e, windowHours));
    return spans.join(QLatin1Char(' '));
}

} // namespace

int runPlot(const QStringList& args)
{
    QString path;
    QString output;
    int kind = 0;
    QSize size(1200, 800);
    int span = 0;
    int scroll = 0;
    int mode = 0;
    std::optional<std::pair<int, int>> sleep;
    std::optional<std::pair<int, int>> wake;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto next = [&]() { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            return printHelp(kPlotUsage);
        } else if (a == QLatin1String("--page")) {
            const QString name = next();
            kind = 0;
            for (const Page& p : kPages)
                if (name == QLatin1String(p.name))
                    kind = p.kind;
            if (kind == 0)
                return usage(QStringLiteral("--page takes trend, correlation, histogram or grade"));
        } else if (a == QLatin1String("-o")) {
            output = next();
        } else if (a == QLatin1String("--size")) {
            static const QRegularExpression re(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
            const auto m = re.match(next());
            const int w = m.hasMatch() ? m.captured(1).toInt() : 0;
            const int h = m.hasMatch() ? m.captured(2).toInt() : 0;
            if (w < 100 || h < 100 || w > kMaxSide || h > kMaxSide)
                return usage(QStringLiteral("--size takes WIDTHxHEIGHT, each 100..%1").arg(kMaxSide));
            size = QSize(w, h);
        } else if (a == QLatin1String("--span")) {
            if (!positiveNumber(next(), span, 60))
                return usage(QStringLiteral("--span takes a number of minutes, at least 60"));
        } else if (a == QLatin1String("--scroll")) {
            if (!positiveNumber(next(), scroll, 0))
                return usage(QStringLiteral("--scroll takes a number of hours, 0 or more"));
        } else if (a == QLatin1String("--sleep") || a == QLatin1String("--wake")) {
            const auto t = parseClockTime(next());
            if (!t)
                return usage(QStringLiteral("%1 takes a time HH:MM").arg(a));
            (a == QLatin1String("--sleep") ? sleep : wake) = t;
        } else if (a == QLatin1String("--mode")) {
            bool ok = false;
            mode = next().toInt(&ok);
            if (!ok || !isValidBpMode(mode))
                return usage(QStringLiteral("--mode takes 0, 1, 2 or 3"));
        } else if (a.startsWith(QLatin1Char('-')) || !path.isEmpty()) {
            return usage(QStringLiteral("plot: unexpected argument %1").arg(a));
        } else {
            path = a;
        }
    }
    if (path.isEmpty() || kind == 0 || output.isEmpty())
        return usage(QStringLiteral("plot needs FILE, --page and -o"));
    if (sleep.has_value() != wake.has_value())
        return usage(QStringLiteral("--sleep and --wake go together"));
    const QString suffix = QFileInfo(output).suffix().toLower();
    if (suffix != QLatin1String("png") && suffix != QLatin1String("pdf"))
        return usage(QStringLiteral("-o takes a file ending in .png or .pdf"));

    Session session;
    storedThresholds(session);
    OpenOptions options;
    options.mode = BpMode(mode);
    if (!openForCommand(session, path, options))
        return ExitFailure;
    if (sleep && !setSleepTimes(session, *sleep, *wake))
        return ExitFailure;
    // Only a view the graphics window can show: a span of its zoom menu as
    // offered for this recording, a scroll position within window 1.
    const int hours = int(session.intervals.interval1Hours);
    if (span > 0 && !offeredSpan(span, hours))
        return usage(QStringLiteral("--span takes a span the zoom menu offers for this recording: %1")
                         .arg(offeredSpans(hours)));
    if (scroll > hours)
        return usage(QStringLiteral("--scroll takes 0..%1 hours for this recording").arg(hours));
    // The view File > Open leaves, unless asked otherwise.
    if (span > 0) {
        session.graphView.visibleMinutes = span;
        session.graphView.zoomAllData = span == hours * 60;
    }
    session.graphView.scrollHours = scroll;
    session.GraphKind = kind;

    const TrendPage trend = TrendPage::builtIn();
    bool written = false;
    QString reason;
    if (suffix == QLatin1String("png")) {
        const QImage image = renderScreenPage(session, kind, trend, size, session.data());
        QSaveFile file(output);
        written = file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
        reason = file.errorString();
    } else {
        written = writePdfPage(session, kind, trend, size, output, session.data());
    }
    if (!written) {
        err(reason.isEmpty() ? QStringLiteral("cannot write %1").arg(output)
                             : QStringLiteral("cannot write %1: %2").arg(output, reason));
        return ExitFailure;
    }
    return ExitOk;
}

} // namespace ks318::cli
