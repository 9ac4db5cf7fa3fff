// Every graph page, exported page and report sheet at every window size,
// export size, paper, length of recording and language: a canvas between
// the page and the real one keeps the box of every text; no text may leave
// its page, lie on another text or across an axis line.
#include "analysis/clinicalmeasures.h"
#include "plots/clinicalprofile.h"
#include "plots/graphpages.h"
#include "records/dataset.h"
#include "records/language.h"
#include "reports/reportbody.h"
#include "session/session.h"
#include "support/testfiles.h"
#include "synthetic.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QtTest>
#include <functional>
#include <optional>
#include <vector>

using namespace ks318;
using namespace ks318::test;

Q_DECLARE_METATYPE(ks318::Language)

namespace {

enum class Surface { Window, Export, Report };

struct Target {
    QString name;
    Surface device;
    int kind;           // GraphKind, or ReportKind for a report
    int zoomMinutes;    // trend: 0 the whole window, else this span
};

// The 24-hour profile of the summary window's clinical page.
constexpr int kClinicalProfile = -1;

QList<Target> targets()
{
    const Target graphs[] = {{"trend", Surface::Window, Session::GraphTrend, 0},
                             {"trend-1day", Surface::Window, Session::GraphTrend, 1440},
                             {"correlation", Surface::Window, Session::GraphCorrelation, 0},
                             {"histogram", Surface::Window, Session::GraphHistogram, 0},
                             {"grade", Surface::Window, Session::GraphGrade, 0}};
    QList<Target> out{{"clinical-profile", Surface::Window, kClinicalProfile, 0}};
    for (const Target& g : graphs)
        out << g << Target{"plot-" + g.name, Surface::Export, g.kind, g.zoomMinutes};
    const char* const reports[] = {"full", "mini", "patient", "clinical"};   // in ReportKind's order
    for (int k = 0; k < 4; ++k)
        out << Target{QStringLiteral("report-") + reports[k], Surface::Report, k, 0};
    return out;
}

const QList<QSize> kWindowSizes = {{600, 400}, {800, 600}, {1024, 768}, {1280, 800}, {1920, 1080}};
const QList<QSize> kPlotSizes = {{640, 480}, {1000, 1000}, {800, 1200}, {1200, 800}};
const QStringList kPapers = {"A4", "Letter", "A4-landscape", "Letter-landscape"};

// English labels are longer.
const Language kLanguages[] = {Language::Japanese, Language::English};

// Readings and their average spacing in minutes.
const struct {
    const char* name;
    int count;
    int minutesApart;
} kRecordings[] = {{"1day", 6, 240}, {"7days", 42, 240}, {"30days", 180, 240}, {"largest", 1828, 1300}};

// The labels the legend samples stand beside, clear of their circle.
const QRegularExpression kClearOfMarks(QStringLiteral("^(DAY|NIGHT) :$"));

// Whether golden layout-allowed.txt lets the two texts (or a text and "<line>"
// or "<box>") overlap by `overlap` on the page named `pageName`.
bool allowedPair(const QString& pageName, const QString& a, const QString& b, const QRect& overlap)
{
    for (const QByteArray& line : golden(QStringLiteral("layout-allowed.txt")).split('\n')) {
        const QStringList f = QString::fromUtf8(line).split(QStringLiteral(" | "));
        if (line.startsWith('#') || f.size() != 5)
            continue;
        const QRegularExpression first(f[1]);
        const QRegularExpression second(f[2]);
        if (QRegularExpression(f[0]).match(pageName).hasMatch() && (f[3] == "0" || overlap.height() <= f[3].toInt())
            && ((first.match(a).hasMatch() && second.match(b).hasMatch())
                || (first.match(b).hasMatch() && second.match(a).hasMatch())))
            return true;
    }
    return false;
}

struct Drawn {
    int sheet;
    QRect box;      // of a text, its ink: leading and trailing blanks left out
    QString text;
};

QString boxText(const QRect& r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// A shape from corner (x1, y1) to corner (x2, y2), the latter left out.
QRect spanned(int x1, int y1, int x2, int y2)
{
    return QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2) - 1, std::max(y1, y2) - 1));
}

class LayoutProbe : public Canvas {
public:
    explicit LayoutProbe(Canvas& inner, std::function<int()> sheet = {}) : inner_(inner), sheet_(std::move(sheet)) {}

    std::vector<Drawn> texts;
    std::vector<Drawn> lines;   // axis lines, frames and separators
    std::vector<Drawn> marks;   // circles: points and legend samples
    std::vector<Drawn> areas;   // filled boxes: zones, bars, swatches, cleared pages

    void setPen(Colour colour, int width, bool xorMode) override
    {
        penWidth_ = width;
        inner_.setPen(colour, width, xorMode);
    }
    void setBrush(Colour colour, BrushStyle style) override
    {
        brush_ = style;
        inner_.setBrush(colour, style);
    }
    void setFont(const FontSpec& font) override { inner_.setFont(font); }
    FontSpec font() const override { return inner_.font(); }
    void line(int x1, int y1, int x2, int y2) override
    {
        keepLine(x1, y1, x2, y2);
        inner_.line(x1, y1, x2, y2);
    }
    void ellipse(int x1, int y1, int x2, int y2) override
    {
        marks.push_back({sheet(), spanned(x1, y1, x2, y2), {}});
        inner_.ellipse(x1, y1, x2, y2);
    }
    void rectangle(int x1, int y1, int x2, int y2) override
    {
        if (brush_ != BrushStyle::None) {
            areas.push_back({sheet(), spanned(x1, y1, x2, y2), {}});
        } else {   // an outline (a frame, the notes box) is four lines
            keepLine(x1, y1, x2, y1);
            keepLine(x1, y2 - 1, x2, y2 - 1);
            keepLine(x1, y1, x1, y2);
            keepLine(x2 - 1, y1, x2 - 1, y2);
        }
        inner_.rectangle(x1, y1, x2, y2);
    }
    void textOut(int x, int y, const QString& text, Colour colour, Colour background) override
    {
        static const QRegularExpression leading(QStringLiteral("^\\s*"));
        const QString ink = text.trimmed();
        if (!ink.isEmpty()) {
            const int lead = inner_.textWidth(leading.match(text).captured(0));
            texts.push_back({sheet(), QRect(x + lead, y, inner_.textWidth(ink), inner_.textHeight(ink)), ink});
        }
        inner_.textOut(x, y, text, colour, background);
    }
    int textWidth(const QString& text) override { return inner_.textWidth(text); }
    int textHeight(const QString& text) override { return inner_.textHeight(text); }
    int verticalDpi() const override { return inner_.verticalDpi(); }
    int fontDpi() const override { return inner_.fontDpi(); }

    // What is wrong with the layout of `page` (its printable area in device
    // pixels), one line per fault, unless layout-allowed.txt lets the pair be.
    QStringList faults(const QString& pageName, const QRect& page) const
    {
        QStringList out;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const Drawn& a = texts[i];
            const QString what = QStringLiteral("'%1' (sheet %2, %3)").arg(a.text).arg(a.sheet).arg(boxText(a.box));
            if (!page.contains(a.box))
                out << QStringLiteral("%1 leaves the page %2x%3").arg(what).arg(page.width()).arg(page.height());
            const auto against = [&](const std::vector<Drawn>& shapes, std::size_t from, const QString& kind,
                                     auto touches) {
                for (std::size_t j = from; j < shapes.size(); ++j) {
                    const Drawn& k = shapes[j];
                    if (k.sheet == a.sheet && a.box.intersects(k.box) && touches(k)
                        && !allowedPair(pageName, a.text, kind.isEmpty() ? k.text : kind, a.box & k.box))
                        out << QStringLiteral("%1 overlaps %2 at %3")
                                   .arg(what, kind.isEmpty() ? "'" + k.text + "'" : kind, boxText(k.box));
                }
            };
            // A text drawn again where it stood (an axis redrawn over the
            // points) is no collision.
            against(texts, i + 1, QString(), [&a](const Drawn& b) { return !(a.box == b.box && a.text == b.text); });
            against(lines, 0, QStringLiteral("<line>"), [](const Drawn&) { return true; });
            // A text stands wholly inside a filled box (a label in its bar,
            // anything on a cleared page) or wholly outside it (beside a
            // zone), never half over its edge.
            against(areas, 0, QStringLiteral("<box>"), [&a](const Drawn& k) { return !k.box.contains(a.box); });
            if (kClearOfMarks.match(a.text).hasMatch())
                against(marks, 0, QStringLiteral("<circle>"), [](const Drawn&) { return true; });
        }
        return out;
    }

private:
    int sheet() const { return sheet_ ? sheet_() : 0; }

    // Axis lines, frames and separators: straight and longer than two text
    // rows (ticks and the dots of the grids are left out, and so are the
    // vertical bars of the trend, the one line drawn 2 pixels wide).
    void keepLine(int x1, int y1, int x2, int y2)
    {
        if ((x1 != x2 && y1 != y2) || penWidth_ > 8 || (penWidth_ == 2 && x1 == x2))
            return;
        const int length = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
        if (length < 2 * inner_.textHeight(QStringLiteral("Gg")))
            return;
        const int w = std::max(1, penWidth_);
        lines.push_back({sheet(), x1 == x2 ? QRect(x1 - (w - 1) / 2, std::min(y1, y2), w, length)
                                           : QRect(std::min(x1, x2), y1 - (w - 1) / 2, length, w), {}});
    }

    Canvas& inner_;
    std::function<int()> sheet_;
    int penWidth_ = 1;
    BrushStyle brush_ = BrushStyle::Solid;
};

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
        QTest::addColumn<QString>("paper");
        QTest::addColumn<QString>("recording");
        QTest::addColumn<Language>("language");
        const QList<Target> all = targets();
        for (int t = 0; t < all.size(); ++t) {
            const Target& target = all[t];
            for (const auto& r : kRecordings) {
                auto row = [&](const QString& where, const QSize& size) {
                    for (const Language language : kLanguages)
                        QTest::addRow("%s %s %s %s", qPrintable(languageCode(language)), qPrintable(target.name),
                                      qPrintable(where), r.name)
                            << t << size << where << QString::fromLatin1(r.name) << language;
                };
                if (target.device == Surface::Report)
                    for (const QString& paper : kPapers)
                        row(paper, QSize());
                else
                    for (const QSize& s : target.device == Surface::Window ? kWindowSizes : kPlotSizes)
                        row(QStringLiteral("%1x%2").arg(s.width()).arg(s.height()), s);
            }
        }
    }

    void pageFits()
    {
        QFETCH(int, target);
        QFETCH(QSize, size);
        QFETCH(QString, paper);
        QFETCH(QString, recording);
        QFETCH(Language, language);
        QVERIFY(applyLanguage(*qApp, language));
        const Target t = targets().at(target);
        const QString path = dir_.path(recording + QStringLiteral(".DAT"));

        Session s;
        QVERIFY(prepareDataSet(s, path));
        s.state.currentFilePath = path;
        QVERIFY(s.state.sleepTimesSet());
        // The patient's name fills its field; the comment is long enough to
        // wrap (the full report prints it whole).
        s.patient.patientName.setQString(QStringLiteral("山田太郎右衛門Ｘ"));
        QString comment;
        for (int i = 0; comment.size() < 182; ++i)
            comment += QStringLiteral("服薬%1回目: 朝の測定前に降圧薬を服用。 ").arg(i + 1);
        s.patient.comments.setQString(comment);
        applyDataSetRecords(s);
        const int hours = int(s.intervals.interval1Hours);
        s.graphView.visibleMinutes = t.zoomMinutes > 0 ? std::min(t.zoomMinutes, hours * 60) : hours * 60;
        s.graphView.scrollHours = 0;
        s.GraphKind = t.kind;
        const TrendPage trend = TrendPage::builtIn();

        std::optional<LayoutProbe> probe;
        QRect page(QPoint(0, 0), size);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        if (t.device == Surface::Window) {
            QImage image(size, QImage::Format_RGB32);
            image.setDotsPerMeterX(3780);
            image.setDotsPerMeterY(3780);
            QPainter painter(&image);
            PainterCanvas canvas(painter);
            probe.emplace(canvas);
            UtilityService u(ScreenDevice, &*probe, nullptr);
            PlotJob job(u, s, windowLayout(u));
            if (t.kind == kClinicalProfile) {
                BlockAtHand block(s, nullptr);
                drawClinicalProfile(u, page, computeClinicalMeasures(block.get(), s.state.sleepHour,
                                                                     s.state.sleepMinute, s.state.wakeHour,
                                                                     s.state.wakeMinute));
            } else {
                drawGraphPage(job, t.kind, trend, page, nullptr);
            }
        } else if (t.device == Surface::Export) {
            writer.setPageLayout(exportPageLayout());
            writer.setResolution(pdfPageDpi(size, exportPageLayout()));
            QPainter painter(&writer);
            PainterCanvas canvas(painter);
            probe.emplace(canvas);
            drawExportedPage(s, t.kind, trend, size, *probe);
        } else {
            writer.setResolution(kReportDpi);
            const bool landscape = paper.endsWith(QLatin1String("-landscape"));
            writer.setPageLayout(QPageLayout(QPageSize(paper.startsWith("A4") ? QPageSize::A4 : QPageSize::Letter),
                                             landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
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
        const QStringList faults = probe->faults(t.name, page);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 8).join(QLatin1Char('\n'))));
        // The full report's patient page wraps the comment with every character kept.
        QString printed;
        for (const Drawn& d : probe->texts)
            printed += d.text;
        QCOMPARE(printed.remove(QLatin1Char(' ')).contains(comment.remove(QLatin1Char(' '))),
                 t.name == QLatin1String("report-full"));
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
