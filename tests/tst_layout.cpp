// Every page at every size, paper and length of recording: the graphics
// window's pages at the window sizes users have, the pages ks318-cli plot
// exports at its sizes, and every sheet of each report kind on A4 and
// Letter. Each text's box comes from the real canvas's metrics; no text may
// leave its page, lie on another text or across an axis line. One table:
// a page, a size, a recording or a language is one more entry in a list
// below.
#include "analysis/clinicalmeasures.h"
#include "plots/clinicalprofile.h"
#include "plots/graphpages.h"
#include "records/dataset.h"
#include "records/language.h"
#include "reports/reportbody.h"
#include "session/session.h"
#include "support/layoutprobe.h"
#include "support/testfiles.h"
#include "synthetic.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QtTest>
#include <optional>

using namespace ks318;
using namespace ks318::test;

Q_DECLARE_METATYPE(ks318::Language)

namespace {

enum class Surface { Window, Export, Report };

struct Target {
    const char* name;
    Surface device;
    int kind;           // GraphKind, or ReportKind for a report
    int zoomMinutes;    // trend: 0 the whole window, else this span
};

// The 24-hour profile of the summary window's clinical page.
constexpr int kClinicalProfile = -1;

const Target kTargets[] = {
    {"trend", Surface::Window, Session::GraphTrend, 0},
    {"trend-1day", Surface::Window, Session::GraphTrend, 1440},
    {"correlation", Surface::Window, Session::GraphCorrelation, 0},
    {"histogram", Surface::Window, Session::GraphHistogram, 0},
    {"grade", Surface::Window, Session::GraphGrade, 0},
    {"clinical-profile", Surface::Window, kClinicalProfile, 0},
    {"plot-trend", Surface::Export, Session::GraphTrend, 0},
    {"plot-trend-1day", Surface::Export, Session::GraphTrend, 1440},
    {"plot-correlation", Surface::Export, Session::GraphCorrelation, 0},
    {"plot-histogram", Surface::Export, Session::GraphHistogram, 0},
    {"plot-grade", Surface::Export, Session::GraphGrade, 0},
    {"report-full", Surface::Report, int(ReportKind::Full), 0},
    {"report-mini", Surface::Report, int(ReportKind::Mini), 0},
    {"report-patient", Surface::Report, int(ReportKind::Patient), 0},
    {"report-clinical", Surface::Report, int(ReportKind::Clinical), 0},
};

const QSize kWindowSizes[] = {{600, 400}, {800, 600}, {1024, 768}, {1280, 800}, {1920, 1080}};
const QSize kPlotSizes[] = {{640, 480}, {1000, 1000}, {800, 1200}, {1200, 800}};
const struct {
    const char* name;
    QPageSize::PageSizeId id;
    QPageLayout::Orientation orientation;
} kPapers[] = {{"A4", QPageSize::A4, QPageLayout::Portrait},
               {"Letter", QPageSize::Letter, QPageLayout::Portrait},
               {"A4-landscape", QPageSize::A4, QPageLayout::Landscape},
               {"Letter-landscape", QPageSize::Letter, QPageLayout::Landscape}};

// The interface languages: English labels are longer.
const Language kLanguages[] = {Language::Japanese, Language::English};

// Recordings by length: readings and their average spacing in minutes.
const struct {
    const char* name;
    int count;
    int minutesApart;
} kRecordings[] = {{"1day", 6, 240}, {"7days", 42, 240}, {"30days", 180, 240}, {"largest", 1828, 1300}};

// Texts that touch by the pages' own geometry, each with its reason.
const std::vector<LayoutAllowance> kAllowed = {
    {"trend|report", "^\\d+$", "^(Time|Date) \\(", 1,
     "the time axis's title stands at 2t + h - 1 under the axis, one pixel into the tick labels' row"},
    {"trend|report", "^(NIGHT|SLEEP)$", "<line>", 0,
     "the sleep bar is one row high and its label fills that row, over the bar's frame"},
};

// The labels the legend samples stand beside, clear of their circle.
const QString kClearOfMarks = QStringLiteral("^(DAY|NIGHT) :$");

// The patient's name fills its field; the comment is long enough to wrap.
void longPatientTexts(Session& s)
{
    s.patient.patientName.setQString(QStringLiteral("山田太郎右衛門Ｘ"));
    QString comment;
    for (int i = 0; comment.size() < 182; ++i)
        comment += QStringLiteral("服薬%1回目: 朝の測定前に降圧薬を服用。 ").arg(i + 1);
    s.patient.comments.setQString(comment);
    applyDataSetRecords(s);
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

    ScratchDir dir_;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        for (const auto& r : kRecordings) {
            synth::Options o;
            o.count = r.count;
            o.minutesApart = r.minutesApart;
            o.seed = unsigned(r.count);
            // Comments, error and excluded readings fill the lists' widest columns.
            o.commentEvery = 3;
            o.errorEvery = 7;
            o.excludedEvery = 11;
            const QString dat = dir_.path(QStringLiteral("%1.DAT").arg(QLatin1String(r.name)));
            QVERIFY(writeFile(dat, synth::makeFile(o)));
            const QByteArray companion = synth::demoCompanionFile(dat);
            QVERIFY(!companion.isEmpty());
            QVERIFY(writeFile(dir_.path(QStringLiteral("%1.p30").arg(QLatin1String(r.name))), companion));
        }
    }

    void pageFits_data()
    {
        QTest::addColumn<int>("target");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("paper");
        QTest::addColumn<QString>("recording");
        QTest::addColumn<Language>("language");
        for (int t = 0; t < int(std::size(kTargets)); ++t) {
            const Target& target = kTargets[t];
            for (const auto& r : kRecordings) {
                auto row = [&](const QString& where, const QSize& size, int paper) {
                    for (const Language language : kLanguages)
                        QTest::addRow("%s %s %s %s", qPrintable(languageCode(language)), target.name,
                                      qPrintable(where), r.name)
                            << t << size << paper << QString::fromLatin1(r.name) << language;
                };
                if (target.device == Surface::Window)
                    for (const QSize& s : kWindowSizes)
                        row(QStringLiteral("%1x%2").arg(s.width()).arg(s.height()), s, -1);
                else if (target.device == Surface::Export)
                    for (const QSize& s : kPlotSizes)
                        row(QStringLiteral("%1x%2").arg(s.width()).arg(s.height()), s, -1);
                else
                    for (int p = 0; p < int(std::size(kPapers)); ++p)
                        row(QString::fromLatin1(kPapers[p].name), QSize(), p);
            }
        }
    }

    void pageFits()
    {
        QFETCH(int, target);
        QFETCH(QSize, size);
        QFETCH(int, paper);
        QFETCH(QString, recording);
        QFETCH(Language, language);
        QVERIFY(applyLanguage(*qApp, language));
        const Target& t = kTargets[target];
        const QString path = dir_.path(recording + QStringLiteral(".DAT"));

        Session s;
        QVERIFY(prepareDataSet(s, path));
        s.state.currentFilePath = path;
        QVERIFY(s.state.sleepTimesSet());
        longPatientTexts(s);
        const int hours = int(s.intervals.interval1Hours);
        s.graphView.visibleMinutes = t.zoomMinutes > 0 ? std::min(t.zoomMinutes, hours * 60) : hours * 60;
        s.graphView.scrollHours = 0;
        s.GraphKind = t.kind;
        const TrendPage trend = TrendPage::builtIn();

        std::optional<LayoutProbe> probe;
        QRect page;
        if (t.device == Surface::Window) {
            QImage image(size, QImage::Format_RGB32);
            image.setDotsPerMeterX(3780);
            image.setDotsPerMeterY(3780);
            QPainter painter(&image);
            PainterCanvas canvas(painter);
            probe.emplace(canvas);
            UtilityService u(ScreenDevice, &*probe, nullptr);
            PlotJob job(u, s, windowLayout(u));
            page = QRect(QPoint(0, 0), size);
            if (t.kind == kClinicalProfile) {
                BlockAtHand block(s, nullptr);
                drawClinicalProfile(u, page, computeClinicalMeasures(block.get(), s.state.sleepHour, s.state.sleepMinute,
                                                                     s.state.wakeHour, s.state.wakeMinute));
            } else {
                drawGraphPage(job, t.kind, trend, page, nullptr);
            }
        } else if (t.device == Surface::Export) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setPageLayout(exportPageLayout());
            writer.setResolution(pdfPageDpi(size, exportPageLayout()));
            // The plot area lies within the printable part of the sheet.
            QVERIFY2(size.width() <= writer.width() && size.height() <= writer.height(),
                     qPrintable(QStringLiteral("%1x%2 on %3x%4").arg(size.width()).arg(size.height())
                                    .arg(writer.width()).arg(writer.height())));
            QPainter painter(&writer);
            PainterCanvas canvas(painter);
            probe.emplace(canvas);
            page = QRect(QPoint(0, 0), size);
            drawExportedPage(s, t.kind, trend, size, *probe);
        } else {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            QPdfWriter writer(&buffer);
            writer.setResolution(kReportDpi);
            writer.setPageLayout(QPageLayout(QPageSize(kPapers[paper].id), kPapers[paper].orientation,
                                             QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
            ReportDocument document(writer);
            document.setCanvasWrapper([&](Canvas& inner) -> Canvas& {
                probe.emplace(inner, [&document] { return document.sheets(); });
                return *probe;
            });
            QCOMPARE(printReportBody(document, s, reportFormatFor(ReportKind(t.kind)), ReportKind(t.kind), nullptr),
                     ReportResult::Printed);
            QVERIFY(document.finish());
            page = QRect(0, 0, writer.width(), writer.height());
        }
        QVERIFY(probe.has_value());
        QVERIFY2(probe->texts.size() > 10, "the page drew its texts");
        const QStringList faults = probe->faults(QString::fromLatin1(t.name), page, kAllowed, kClearOfMarks);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 8).join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
