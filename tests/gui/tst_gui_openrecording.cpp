// One recording, one verdict (golden open-verdicts.txt): each recording is
// opened through the window's File > Open and through every command of
// ks318-cli that reads one. Then the views across a retrieval: they show the
// open recording only.
#include "app/beepservice.h"
#include "app/patientinformationform.h"
#include "app/recorderretrieveform.h"
#include "guisupport.h"
#include "linksupport.h"
#include "records/stringtable.h"
#include "views/cp932edit.h"
#include "views/summarydataform.h"
#include "views/viewgraphicsform.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;
using namespace ks318::test;

namespace {

// A legacy patient file, as the converter reads it.
const char kPat[] =
    "patientName: 鈴木 一郎\n"
    "startDate: 2026-11-02\n"
    "startHour: 7\n"
    "recordingHours: 24\n"
    "recorderId: 4\n"
    "day1Sleep: 2230\n"
    "day1Wake: 0615\n"
    "interval1Hours: 30\n"
    "interval2Date: 2026-11-02\n"
    "interval2Hour: 7\n"
    "interval2Hours: 30\n"
    "firstReading: 2026-11-02 07:10\n"
    "lastReading: 2026-11-03 12:50\n";

// The files of the recording `kind` (a line of open-verdicts.txt) in `dir`,
// made here; the path of its data file.
QString makeRow(const QString& dir, const QString& kind)
{
    QDir().mkpath(dir);
    const QString dat = dir + QStringLiteral("/REC.DAT");
    const QByteArray sections = patientSections("X");
    synth::Options o;
    o.count = 40;
    o.type = kind == QLatin1String("other recorder") ? RecorderType::Rv5730 : RecorderType::Ks318;
    QByteArray bytes = synth::makeFile(o);
    if (kind == QLatin1String("garbage bytes"))
        bytes = QByteArray("\x00\x9f\xfe garbage\n\x01KS-31", 17);
    else if (kind == QLatin1String("empty"))
        bytes.clear();
    else if (kind == QLatin1String("sections without readings"))
        bytes = sections;
    else if (kind == QLatin1String("out of time order"))
        bytes = recordLine(2026, 3, 2, 10, 0) + recordLine(2026, 3, 2, 9, 59) + sections;
    else if (kind == QLatin1String("window too long"))
        bytes = recordLine(2021, 3, 1, 0, 0) + recordLine(2026, 3, 3, 0, 0) + sections;
    const bool otherCase = kind == QLatin1String("members in another case");
    writeFile(otherCase ? dir + QStringLiteral("/REC.dat") : dat, bytes);
    if (otherCase)
        QDir(dir).mkdir(QStringLiteral("REC.P30"));
    if (kind == QLatin1String("NAME.p30 a directory"))
        QDir(dir).mkdir(QStringLiteral("REC.p30"));
    if (kind == QLatin1String("legacy .pat only"))
        writeFile(dir + QStringLiteral("/REC.pat"), kPat);
    return dat;
}

// "opened" or "refused", then the message ids in order.
QString verdict(bool opened, const QList<int>& ids)
{
    QStringList parts{QString::fromLatin1(opened ? "opened" : "refused")};
    for (int id : ids)
        parts << QString::number(id);
    return parts.join(QLatin1Char(' '));
}

// The string-table messages among a command's stderr lines, by id.
QList<int> messageIds(const QByteArray& err)
{
    QList<int> ids;
    for (const QString& line : QString::fromUtf8(err).split(QLatin1Char('\n')))
        for (int id : {202, 220, 223, 262, 271})
            if (line.endsWith(QStringLiteral(": ") + StringTable::text(id).replace(QLatin1Char('\n'), QLatin1Char(' '))))
                ids << id;
    return ids;
}

// Every command that reads a recording, as run in a folder of its own
// holding the row's REC.DAT, and the file it writes ("": none).
const std::pair<const char*, const char*> kCommands[] = {
    {"list REC.DAT", ""},
    {"info REC.DAT", ""},
    {"summary REC.DAT", ""},
    {"csv REC.DAT", "REC.csv"},
    {"plot REC.DAT --page trend -o plot.png", "plot.png"},
    {"report REC.DAT --kind mini -o report.pdf", "report.pdf"},
    {"merge MERGED.DAT REC.DAT ../LATER.DAT", "MERGED.DAT"},  // with a recording a year later
};

// What the summary window shows: the visible pages and every label.
QStringList summaryShown(const TSummaryDataForm& form)
{
    QStringList lines;
    for (int i = 0; i < form.SummaryPageControl->count(); ++i)
        if (form.SummaryPageControl->isTabVisible(i))
            lines << form.SummaryPageControl->tabText(i);
    for (const QLabel* label : form.findChildren<QLabel*>())
        lines << label->objectName() + QLatin1Char('=') + label->text();
    return lines;
}

} // namespace

class TestOpenRecording : public QObject {
    Q_OBJECT

    QTemporaryDir root_;

private Q_SLOTS:
    void initTestCase()
    {
        // The converter is built beside ks318-cli; the program finds it on PATH.
        const QString tools = QFileInfo(qEnvironmentVariable("KS318_CLI")).absolutePath();
        QVERIFY2(QFile::exists(tools + QStringLiteral("/fileconv")), qPrintable(tools));
        qputenv("PATH", QFile::encodeName(tools) + ':' + qgetenv("PATH"));
    }

    void sameVerdictEverywhere()
    {
        KS318_COMPARE_GOLDEN_TABLE("open-verdicts.txt", [this](const QByteArray& line) {
            const QString kind = QString::fromUtf8(line);
            const QString rowDir = root_.filePath(QString(kind).replace(' ', '_'));
            synth::Options later;
            later.year = 2027;
            QDir().mkpath(rowDir);
            writeFile(rowDir + QStringLiteral("/LATER.DAT"), synth::makeFile(later));

            // The window, every message box letting it repaint meanwhile;
            // its menus and the block follow the verdict.
            MainWindow w;
            w.chosen = makeRow(rowDir + QStringLiteral("/window"), kind);
            w.messages.whileShown = [&w] { w.form->FormPaint(); };
            w.form->FileOpenClick();
            const bool opened = w.session.state.currentFilePath == w.chosen;
            QString out = QStringLiteral("window: ") + verdict(opened, w.messages.shownIds());
            if (!w.analysisMenus(opened) || opened != (w.session.data() != nullptr))
                out += QStringLiteral(" (menus or block disagree)");

            // Every command on its own copy; one that writes a file writes
            // it exactly when the recording opened.
            for (const auto& [command, written] : kCommands) {
                const QStringList args = QString::fromLatin1(command).split(QLatin1Char(' '));
                const QString name = args.first();
                const QString dir = QFileInfo(makeRow(rowDir + '/' + name, kind)).absolutePath();
                const QString output = *written ? dir + '/' + QString::fromLatin1(written) : QString();
                const CliRun r = runCli(args, dir);
                out += '\n' + name + QStringLiteral(": ") + verdict(r.exitCode == 0, messageIds(r.err));
                if (r.exitCode != 0 && r.exitCode != 1)
                    out += QStringLiteral(" (exit %1) ").arg(r.exitCode) + QString::fromUtf8(r.err);
                if (!output.isEmpty() && QFile::exists(output) != (r.exitCode == 0))
                    out += QStringLiteral(" (its output file disagrees)");
            }
            return out.toUtf8();
        });
    }

    // A summary and a graphics window open on DEMO during a retrieval whose
    // patient information is saved with other sleep times: afterwards both
    // show DEMO as a fresh opening shows it.
    void viewsAcrossARetrieval()
    {
        Rig rig;  // outlives the window, which closes the line on leaving
        MainWindow w;
        QVERIFY(w.form);
        TMainForm* form = w.form.get();
        form->setRecorderLine(&rig.port, &rig.clock);
        form->Beeps->setAudible(false);
        QVERIFY(writeFile(w.file("DEMO.p30"), synth::demoCompanionFile(w.demoPath())));

        const auto shown = [form] {
            QCoreApplication::processEvents();
            return summaryShown(*form->SummaryDataForm) << form->ViewGraphicsForm->windowTitle();
        };
        const auto fresh = [&] {
            QVERIFY(form->openFile(w.demoPath()));
            form->ViewT2SummaryData->trigger();
            form->ViewT2Trends->trigger();
        };
        fresh();
        QTRY_VERIFY(form->ViewGraphicsForm->paintCount() > 0);
        const QStringList demo = shown();
        const QImage demoImage = form->ViewGraphicsForm->image();
        const QString demoTitle = w.session.state.windowTitleText;
        const QString demoPatient = w.session.patient.patientName.toQString();

        // Five hourly readings from 2 November 2026, 07:00.
        QByteArray records;
        for (int i = 0; i < 5; ++i)
            records += QString::asprintf("2D4E3E00007E0B02%02X0001", 7 + i).toLatin1();
        rig.script(QList<Reply>(3, Reply::ack()) << Reply::ack().then(dataFrame(records, "KS"), 50));
        TRecorderRetrieveForm* dialog = form->RecorderRetrieveForm;
        TPatientInformationForm* patient = form->PatientInformationForm;
        when(form, [dialog] { return dialog->isVisible() && dialog->hasData; }, [&] {
            dialog->PatientNameEdit->setText(QStringLiteral("RETR"));
            w.saved = w.file("RETR.DAT");
            when(form, [patient] { return patient->isVisible(); }, [patient] {
                patient->Day1BeginMaskEdit->setText(QStringLiteral("20:00"));
                patient->Day1EndMaskEdit->setText(QStringLiteral("09:00"));
                patient->PtSaveButton->click();
            });
            dialog->RetrievedataButton->click();
        });
        form->RecorderZireRetrievedata->trigger();
        QVERIFY(QFile::exists(w.file("RETR.p30")));

        QCOMPARE(w.session.state.currentFilePath, w.demoPath());
        QTRY_COMPARE(shown(), demo);
        QTRY_COMPARE(form->ViewGraphicsForm->image(), demoImage);
        // What the caption, the patient dialog and the reports take their
        // texts from describes DEMO again, not the recording just read.
        QCOMPARE(w.session.state.windowTitleText, demoTitle);
        QCOMPARE(w.session.patient.patientName.toQString(), demoPatient);
        fresh();
        QTRY_COMPARE(shown(), demo);
        QTRY_COMPARE(form->ViewGraphicsForm->image(), demoImage);
    }
};

QTEST_MAIN(TestOpenRecording)
#include "tst_gui_openrecording.moc"
