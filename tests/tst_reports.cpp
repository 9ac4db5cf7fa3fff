// The report body, read back from the PDF it prints. The clinical sheet:
// tst_cli_report; the long comment's wrapping: tst_layout.
#include "gui/viewsupport.h"
#include "recordingsink.h"
#include "records/language.h"
#include "reports/reportbody.h"
#include "support/pdftext.h"
#include "support/testfiles.h"
#include "session/session.h"

#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <numeric>

using namespace ks318;
using namespace ks318::viewtest;

namespace {

const QList<Reading> kOneDay{{0, 8, 0, 128, 82}, {0, 12, 0, 136, 88}, {0, 23, 30, 118, 72}, {1, 2, 0, 112, 68},
                             {1, 7, 0, 142, 91}};

// "built-in", "of the kind" (slot 0 as the mini and patient reports rewrite
// it), or the page flags named in `pages`.
ReportFormat formatOf(const QString& pages, ReportKind kind)
{
    if (pages == QLatin1String("built-in"))
        return ReportFormat::builtIn();
    if (pages == QLatin1String("of the kind"))
        return reportFormatFor(kind);
    const std::pair<const char*, std::uint8_t ReportFormat::*> flags[] = {
        {"patient", &ReportFormat::patientPage}, {"summary", &ReportFormat::summaryPage},
        {"readings", &ReportFormat::readingsPage}, {"bp", &ReportFormat::bpTrend}, {"dp", &ReportFormat::dpTrend},
        {"correlation", &ReportFormat::correlation}, {"histogram", &ReportFormat::histogram}};
    ReportFormat f;
    for (const auto& [name, flag] : flags)
        f.*flag = pages.split(QLatin1Char(' ')).contains(QLatin1String(name));
    return f;
}

ReportKind kindOf(const QString& name)
{
    return ReportKind(QStringList{"full", "mini", "patient"}.indexOf(name));
}

} // namespace

class TestReports : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<Session> session_;
    test::MessageLog log_;
    int sheets_ = 0;
    ReportResult result_ = ReportResult::Printed;

    bool current(const QList<Reading>& readings, const Current& c = Current(), RecorderType type = RecorderType::Ks318)
    {
        const QString path = dir_->filePath(QStringLiteral("REC.DAT"));
        return writeRecording(path, readings, kFirstDate, type) && makeCurrent(*session_, path, c);
    }

    QStringList print(const ReportFormat& format, ReportKind kind)
    {
        const QString pdf = dir_->filePath(QStringLiteral("out.pdf"));
        {
            QPdfWriter writer(pdf);
            writer.setResolution(kReportDpi);
            ReportDocument document(writer);
            result_ = printReportBody(document, *session_, format, kind, &log_);
            sheets_ = document.sheets();
        }
        return QFile::exists(pdf) ? test::pdfPages(pdf) : QStringList();
    }

private Q_SLOTS:
    void init()
    {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        session_ = std::make_unique<Session>();
        log_.shown.clear();
    }

    void refusals_data() { test::dataRows("report-body-refusals.txt", {"type", "hours", "backwards", "message"}); }

    void refusals()
    {
        const QList<Reading> late = test::cell("backwards") == "yes" ? QList<Reading>{{0, 9, 0}} : QList<Reading>{};
        QVERIFY(current(kOneDay + late, window1(8, 0, test::cell("hours").toInt()),
                        RecorderType(test::cell("type").toInt())));
        const QStringList pages = print(ReportFormat::builtIn(), ReportKind::Full);
        const int message = test::cell("message").toInt();
        const bool printed = message == 0;
        QCOMPARE(log_.ids(), printed ? QList<int>{} : QList<int>{message});
        QCOMPARE(result_, printed ? ReportResult::Printed : ReportResult::Refused);
        QCOMPARE(sheets_ > 0, printed);
        QCOMPARE(!pages.isEmpty() && pages.last().contains(QStringLiteral("HISTOGRAM PLOTS")), printed);
        QVERIFY(!session_->data());   // the report's block is freed
    }

    // Each page of the report by a text it must hold, in order (golden
    // report-pages.txt). In English dates are ISO, and no sheet holds a
    // Japanese character.
    void pages_data() { test::dataRows("report-pages.txt", {"language", "format", "kind", "pages"}); }

    void pages()
    {
        const ReportKind kind = kindOf(test::cell("kind"));
        const ReportFormat f = formatOf(test::cell("format"), kind);
        const QStringList heads = test::cell("pages").split(QLatin1Char(';'));
        QVERIFY(current(kOneDay, sleepWake()));
        QVERIFY(applyLanguage(*qApp, *parseLanguage(test::cell("language"))));
        const QStringList printed = print(f, kind);
        applyLanguage(*qApp, Language::Japanese);
        QCOMPARE(printed.size(), heads.size());
        const bool english = test::cell("language") == "en";
        static const QRegularExpression japanese(
            QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        for (int i = 0; i < heads.size(); ++i) {
            const QString where = QStringLiteral("page %1: ").arg(i + 1);
            QVERIFY2(printed[i].contains(heads[i]), qPrintable(where + printed[i]));
            const auto found = japanese.match(printed[i]);
            QVERIFY2(!english || !found.hasMatch(), qPrintable(where + found.captured()));
        }
        const QString all = printed.join(QLatin1Char('\n'));
        QCOMPARE(all.contains(QStringLiteral("BP PULSE")), bool(f.bpTrend));
        QCOMPARE(all.contains(QStringLiteral("DOUBLE PRODUCT")), bool(f.dpTrend));
        QCOMPARE(all.contains(QStringLiteral("HISTOGRAM PLOTS")), bool(f.histogram));
        QCOMPARE(all.contains(QStringLiteral("2026-")), english);
    }

    void patientSummary_data()
    {
        test::dataRows("report-patient-summary.txt", {"sleep", "wake", "night", "sections"});
    }

    void patientSummary()
    {
        QVERIFY(current(kOneDay, sleepWake(test::cell("sleep"), test::cell("wake"))));
        const QStringList pages = print(reportFormatFor(ReportKind::Patient), ReportKind::Patient);
        QVERIFY(!pages.isEmpty());
        QVERIFY2(pages[0].contains(QStringLiteral("夜間時間帯 ＝ ") + test::cell("night")), qPrintable(pages[0]));
        static const QRegularExpression section(QStringLiteral("^(\\S+(?: \\S)?) -{20,}$"),
                                                QRegularExpression::MultilineOption);
        QStringList found;
        for (auto it = section.globalMatch(pages[0]); it.hasNext();)
            found << it.next().captured(1);
        QCOMPARE(found, test::cell("sections").split(QLatin1Char(';')));
    }

    // Every reading once, in order, over several sheets, the heading on each.
    void readingsBreakSheets_data()
    {
        test::dataRows("report-readings.txt", {"kind", "format", "heading", "second"});
    }

    void readingsBreakSheets()
    {
        QList<Reading> readings;
        for (int i = 0; i < 150; ++i)
            readings << Reading{i / 24, i % 24, 10, 120 + i % 30, 80, 70};
        QVERIFY(current(readings, window1(0, 0, 168)));
        const ReportKind kind = kindOf(test::cell("kind"));
        const QStringList pages = print(formatOf(test::cell("format"), kind), kind);
        static const QRegularExpression line(QStringLiteral("^(\\d+) \\d+/\\d\\d \\d+:\\d\\d "),
                                             QRegularExpression::MultilineOption);
        static const QRegularExpression footer(QStringLiteral("^REC (.+) (\\d+) / (\\d+)$"),
                                               QRegularExpression::MultilineOption);
        QList<int> numbers;
        QStringList footers;
        for (const QString& page : pages) {
            auto it = line.globalMatch(page);
            if (!it.hasNext())
                continue;
            QVERIFY(page.contains(test::cell("heading")));
            // Every sheet of the list names its file, patient and place.
            const auto f = footer.match(page);
            QVERIFY2(f.hasMatch(), qPrintable(page.right(200)));
            footers << QStringLiteral("%1 %2/%3").arg(f.captured(1), f.captured(2), f.captured(3));
            while (it.hasNext())
                numbers << it.next().captured(1).toInt();
        }
        QVERIFY(footers.size() >= 2);
        QVERIFY(pages.join(QLatin1Char('\n')).contains(QRegularExpression(
            QStringLiteral("^2 \\d+/\\d\\d 1:10 %1 ").arg(test::cell("second")), QRegularExpression::MultilineOption)));
        QStringList expected;
        for (int i = 1; i <= footers.size(); ++i)
            expected << session_->patient.patientName.toQString() + QStringLiteral(" %1/%2").arg(i).arg(footers.size());
        QCOMPARE(footers, expected);
        QList<int> all(150);
        std::iota(all.begin(), all.end(), 1);
        QCOMPARE(numbers, all);
    }
};

QTEST_MAIN(TestReports)
#include "tst_reports.moc"
