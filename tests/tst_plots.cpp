// The drawing layer and the graph pages against a canvas that logs its
// calls, the axis table by span, and a few pixels drawn into an image.
#include "plots/axistable.h"
#include "plots/distributionpages.h"
#include "plots/trendpage.h"
#include "records/daycount.h"
#include "session/session.h"
#include "support/readingtext.h"
#include "support/testfiles.h"

#include <QImage>
#include <QPainter>
#include <QtTest>
#include <functional>

using namespace ks318;

namespace {

// Every drawing call as a line of text; text is 6 pixels a character, 10 high.
class RecordingCanvas : public Canvas {
public:
    QStringList log;
    int verticalDpiValue = 96;

    void setPen(Colour c, int width, bool x) override { pen_ = QStringLiteral("c=%1 w=%2%3").arg(hex(c)).arg(width).arg(x ? " xor" : ""); }
    void setBrush(Colour c, BrushStyle style) override
    {
        brush_ = style == BrushStyle::None ? QStringLiteral("none") : (style == BrushStyle::Solid ? "solid:" : "hatch:") + hex(c);
    }
    void setFont(const FontSpec& f) override { font_ = f; }
    FontSpec font() const override { return font_; }
    void line(int x1, int y1, int x2, int y2) override { log << shape("line", x1, y1, x2, y2); }
    void ellipse(int x1, int y1, int x2, int y2) override { log << shape("ellipse", x1, y1, x2, y2) + " fill=" + brush_; }
    void rectangle(int x1, int y1, int x2, int y2) override { log << shape("box", x1, y1, x2, y2) + " fill=" + brush_; }
    void textOut(int x, int y, const QString& text, Colour c, Colour bg) override
    {
        log << QStringLiteral("text %1,%2 '%3' c=%4 bg=%5").arg(x).arg(y).arg(text, hex(c), hex(bg));
    }
    int textWidth(const QString& text) override { return 6 * int(text.size()); }
    int textHeight(const QString&) override { return 10; }
    int verticalDpi() const override { return verticalDpiValue; }
    int fontDpi() const override { return 96; }

    QStringList starting(const QString& prefix) const { return log.filter(QRegularExpression(QLatin1Char('^') + prefix)); }

private:
    static QString hex(Colour c) { return QStringLiteral("%1").arg(c, 6, 16, QLatin1Char('0')); }
    QString shape(const char* kind, int x1, int y1, int x2, int y2) const
    {
        return QStringLiteral("%1 %2,%3 %4,%5 ").arg(QLatin1String(kind)).arg(x1).arg(y1).arg(x2).arg(y2) + pen_;
    }
    QString pen_;
    QString brush_;
    FontSpec font_;
};

// A session with window 1 from 2 November 2026 at `hour` for `hours`, and a
// recording canvas under the screen layer, row height 10 and margin 2.
struct Rig {
    Session s;
    RecordingCanvas c;
    UtilityService u{ScreenDevice, &c, &c};
    PlotJob job{u, s, PlotLayout{10, 2, false}};

    Rig(int hour, int hours, int span)
    {
        s.intervals.valid = 1;
        s.intervals.interval1Hours = std::uint32_t(hours);
        s.state.window1 = SessionState::Window{2026, 11, 2, hour, 0, hours, 0};
        job.spanMinutes = span;
    }
};

// Readings as tests/support/readingtext.h writes them, measured by the
// oscillometric method.
std::unique_ptr<SessionData> blockOf(const QString& readings)
{
    auto d = test::makeBlock(readings);
    d->bpModeName = "Oscillometric only";
    for (std::uint32_t i = 0; i < d->counters.readingCount; ++i)
        d->readings[i].methodText = "O";
    return d;
}

using Observe = std::function<QStringList(UtilityService& u, RecordingCanvas& c)>;
struct LayerCase {
    const char* name;
    int device;
    Observe observe;
};

QStringList drawnTicks(UtilityService& u, RecordingCanvas& c, int type, int ticks, int step)
{
    u.recorderType = RecorderType(type);
    std::vector<AxisLabel> labels;
    for (int i = 0; i < ticks; ++i)
        labels.push_back(axisLabel(QByteArray::number(i).constData()));
    u.DrawValueAxis(0, 600, 0, 0, 0, 0, -3, ticks, labels.data(), 1, true, step);
    return {QString::number(c.starting("text").size()) + " labels"};
}

QList<LayerCase> layerCases()
{
    static const AxisLabel letters[8] = {axisLabel("a"), axisLabel("b"), axisLabel("c"), axisLabel("d"),
                                         axisLabel("e"), axisLabel("f"), axisLabel("g"), axisLabel("h")};
    return {
        {"a diagonal axis draws nothing", 0,
         [](auto& u, auto& c) { u.DrawValueAxis(0, 0, 50, 40, 0, 0, -3, 8, letters, 1, true, 1); return c.log; }},
        {"tick count 2 without its end: the axis line only", 0,
         [](auto& u, auto& c) { u.DrawValueAxis(5, 100, 5, 0, 0, 0, -3, 2, nullptr, 1, false, 1); return c.log; }},
        {"the last position is labelled off the step", 0,
         [](auto& u, auto& c) { u.DrawValueAxis(20, 70, 20, 0, 0, 0, -3, 8, letters, 1, true, 3); return c.starting("text"); }},
        {"type 30, 25 ticks: step 1 stays", 0, [](auto& u, auto& c) { return drawnTicks(u, c, 30, 25, 1); }},
        {"type 30, 61 ticks: step 3", 0, [](auto& u, auto& c) { return drawnTicks(u, c, 30, 61, 1); }},
        {"type 30, step 5 becomes 6", 0, [](auto& u, auto& c) { return drawnTicks(u, c, 30, 25, 5); }},
        {"type 70 keeps the step", 0, [](auto& u, auto& c) { return drawnTicks(u, c, 70, 61, 1); }},
        {"printer text asked in red is black on white", 1,
         [](auto& u, auto& c) { u.DrawText(10, 20, QStringLiteral("X"), 0x0000FF, AlignLeft, AlignTop); return c.log; }},
        {"screen text aligned by the width and the Gg height", 0,
         [](auto& u, auto& c) {
             u.DrawText(100, 50, QStringLiteral("ab"), 0x0000FF, AlignRight, AlignBottom);
             u.DrawText(100, 50, QStringLiteral("ab"), 0x0000FF, AlignCentre, AlignMiddle);
             return c.log;
         }},
        {"an unknown device draws nothing", 2,
         [](auto& u, auto& c) {
             u.DrawText(1, 1, QStringLiteral("x"), 0, AlignLeft, AlignTop);
             u.DrawBox(0, 0, 5, 5, 0, 1, true, false, false);
             u.DrawMarker(3, 3, 2, 0, 0, false);
             return c.log;
         }},
        {"printer boxes are widened, silver fills print white", 1,
         [](auto& u, auto& c) {
             u.DrawBox(0, 0, 10, 10, 0x800000, 1, false, false, false);
             u.DrawBox(0, 0, 10, 10, 0x800000, 1, true, false, true);
             u.DrawBox(0, 0, 10, 10, kPlotBackground, 1, true, false, false);
             u.DrawMarker(20, 20, 5, kPlotBackground, 0, true);
             u.DrawDot(7, 8, 1, 0, false);
             return c.log;
         }},
        {"a screen box may be hatched; dots every step", 0,
         [](auto& u, auto& c) {
             u.DrawBox(0, 0, 10, 10, 0x800000, 2, true, true, true);
             u.DrawDottedLine(0, 3, 9, 3, 0, 1, false, 4);
             return c.log;
         }},
        {"one horizontal grid line lies at the bottom", 0,
         [](auto& u, auto& c) { u.DrawTimeGrid(0, 100, 9, 0, 0, 0, 1, 1); return c.log; }},
        {"printer text heights scale by the integer quotient of the resolutions (600 / 96 taken as 6)", 1,
         [](auto& u, auto& c) {
             c.verticalDpiValue = 600;
             return QStringList{QString::number(u.TextHeightOf(QStringLiteral("Gg")))};
         }},
        {"8 days viewed whole: 24 ticks of 8 hours, and the right end labelled too", 0,
         [](auto& u, auto& c) {
             applyAxisSettings(u, 11520);
             u.BuildTimeAxis(0, 100, 960, encodeDate(2026, 3, 2) + encodeTime(8, 0), 11520, 3, 1);
             return c.starting("text").mid(23, 2);
         }},
        {"a day axis starting at 23:59 ticks one minute later", 0,
         [](auto& u, auto& c) {
             applyAxisSettings(u, 43200);
             u.BuildTimeAxis(0, 100, 720, encodeDate(2026, 3, 2) + encodeTime(23, 59), 43200, 3, 1);
             return QStringList{QString::number(u.tickMinutes.at(0)), c.starting("text").at(0)};
         }},
    };
}

QRgb colourAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

} // namespace

class TestPlots : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The drawing layer's cases, then the axis settings by span.
    void layer()
    {
        QString t;
        for (const LayerCase& test : layerCases()) {
            RecordingCanvas canvas;
            UtilityService u(test.device, &canvas, &canvas);
            t += QStringLiteral("== %1\n").arg(QLatin1String(test.name));
            for (const QString& line : test.observe(u, canvas))
                t += line + QLatin1Char('\n');
        }
        for (int span : {600, 1500, 2880, 7200, 10080, 11520, 43200, 43201, 259200, 259201, 525600, 525601}) {
            const AxisSettings a = axisSettingsForSpan(span);
            t += QString::asprintf("span %d: %d ticks, unit %d, %g h, %g d, %g m\n", span, a.ticks, a.unit,
                                   a.hoursPerTick, a.daysPerTick, a.monthsPerTick);
        }
        KS318_COMPARE_GOLDEN(t.toUtf8(), "plot-layer.txt");
    }

    // 22:00-06:00 on a view from 00:00 of day 0, one pixel a minute.
    void sleepBarFromMidnight()
    {
        Rig r(0, 48, 1440);
        r.s.state.sleepHour = 22;
        r.s.state.sleepMinute = r.s.state.wakeMinute = 0;
        r.s.state.wakeHour = 6;
        drawSleepBar(r.job, trendViewOf(r.job, nullptr), 100, 1540, 500, 10);
        QCOMPARE(r.c.log.filter(QStringLiteral("fill=solid:000000")),
                 (QStringList{"box 100,500 460,510 c=000000 w=1 fill=solid:000000",
                              "box 1420,500 1540,510 c=000000 w=1 fill=solid:000000"}));
        // Dotted edges where a period starts or ends inside the view.
        QCOMPARE(r.c.starting("line 460,").size(), 164);
        QCOMPARE(r.c.starting("line 1420,").size(), 164);
        QVERIFY(r.c.starting("line 100,").isEmpty());
    }

    // Bars of a measured and a substituted reading; without sleep times the
    // threshold values stand on their stubs only.
    void bpPanel()
    {
        Rig r(0, 24, 1440);
        const auto block = blockOf(QStringLiteral("06:00 140/70/70; 12:00 140/70/70"));
        block->readings[1].methodText = "*O";
        // Plot from y 298 (0 mmHg) up to 18 (280 mmHg): one pixel a mmHg.
        drawBpPanel(r.job, *block, trendViewOf(r.job, block.get()), TrendPage::builtIn().panels[0], 100, 8, 1540, 300);
        QVERIFY(r.c.log.contains(QStringLiteral("line 460,158 460,228 c=800000 w=2")));
        const QStringList dotted = r.c.starting("line 820,").filter(QStringLiteral("c=800000"));
        QCOMPARE(dotted.size(), 35);
        QVERIFY(dotted.filter(QStringLiteral("w=2")).isEmpty());
        QVERIFY(dotted.contains(QStringLiteral("line 820,158 821,159 c=800000 w=1")));
        QVERIFY(r.c.log.contains(QStringLiteral("ellipse 818,226 822,230 c=000000 w=1 fill=solid:00ffff")));
        const QRegularExpression horizontal(QStringLiteral("^line (\\d+),(\\d+) (\\d+),(\\d+) "));
        for (int value : {140, 90, 120, 70}) {
            const int y = 298 - value;
            QVERIFY(r.c.log.contains(QStringLiteral("line 1540,%1 1546,%1 c=000000 w=1").arg(y)));
            for (const QString& line : r.c.starting("line")) {
                const auto m = horizontal.match(line);
                if (m.captured(2).toInt() == y && m.captured(4).toInt() == y && m.captured(1) != QLatin1String("1540"))
                    QVERIFY2(std::abs(m.captured(3).toInt() - m.captured(1).toInt()) <= 2, qPrintable(line));  // ticks
            }
        }
    }

    // The values the distribution pages show, worked out by hand from the
    // three valid readings (the excluded fourth counts nowhere): means 159.3,
    // 99.7, 75.3 and sample SDs 36.9, 18.4, 12.9; SYS on DIA exactly 2 x - 40,
    // on pulse 2.84 x - 54.52; the grade axis up to 250 for a highest SYS of
    // 200. Where the texts stand: tst_layout.
    void distributionTexts()
    {
        const auto block = blockOf(QStringLiteral("06:00 150/95/70; 12:00 128/84/66; 18:00 200/120/90; 20:00 90/60/50 x"));
        const std::pair<void (*)(PlotJob&, const QRect&, const SessionData*), QStringList> pages[] = {
            {drawCorrelationPage, {"   n =    3 ", "SYS = 2.00 * DIA + -40.00", "SYS = 2.84 * PULSE + -54.52", "159.3",
                                   "99.7", "75.3", "36.9", "18.4", "12.9"}},
            {drawHistogramPage, {"平均=159.3 SD=36.9", "平均=99.7 SD=18.4", "平均=75.3 SD=12.9"}},
            {drawGradePage, {"  (n = 3)", "250"}},
        };
        for (const auto& [draw, shown] : pages) {
            Rig r(0, 24, 1440);
            draw(r.job, QRect(0, 0, 1200, 800), block.get());
            const QString texts = r.c.starting("text").join(QLatin1Char('\n'));
            for (const QString& want : shown)
                QVERIFY2(texts.contains(QLatin1Char('\'') + want + QLatin1Char('\'')), qPrintable(want + "\n" + texts));
        }
    }

    void renderedPixels()
    {
        QImage image(800, 320, QImage::Format_RGB32);
        image.fill(QColor(0xC0, 0xC0, 0xC0));
        QPainter painter(&image);
        PainterCanvas canvas(painter);
        UtilityService u(ScreenDevice, &canvas, nullptr);
        u.DrawBox(700, 10, 720, 30, kZoneColours[0], 1, true, false, false);
        u.DrawLine(730, 10, 730, 30, 0x123456, 1, true);
        u.DrawLine(730, 10, 730, 30, 0x123456, 1, true);
        u.DrawDot(750, 20, 1, 0, false);
        u.DrawLine(760, 20, 770, 20, 0, 1, false);
        painter.end();
        const QRgb silver = 0xC0C0C0;
        QCOMPARE(colourAt(image, 710, 20), 0xE44545u);  // 0x4545E4 is red
        QCOMPARE(colourAt(image, 730, 20), silver);      // exclusive-or twice undoes itself
        // A dot is one pixel; a line leaves its end point undrawn.
        QCOMPARE(colourAt(image, 750, 20), 0u);
        QCOMPARE(colourAt(image, 751, 21), silver);
        QCOMPARE(colourAt(image, 769, 20), 0u);
        QCOMPARE(colourAt(image, 770, 20), silver);
    }
};

QTEST_MAIN(TestPlots)
#include "tst_plots.moc"
