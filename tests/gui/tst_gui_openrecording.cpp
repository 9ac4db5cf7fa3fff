// One recording, one verdict: each row is opened through the window's
// File > Open and through every command of ks318-cli that reads a recording,
// each on a fresh copy; all report the same outcome and message ids (files
// of the other recorders excepted: list, info, summary and csv read them;
// merge, which only reads its inputs, has nothing to tell about NAME.p30).
// Then the views across a retrieval: they show the open recording only.
#include "app/beepservice.h"
#include "app/patientinformationform.h"
#include "app/recorderretrieveform.h"
#include "guisupport.h"
#include "linksupport.h"
#include "records/filenames.h"
#include "records/stringtable.h"
#include "views/cp932edit.h"
#include "views/summarydataform.h"
#include "views/viewgraphicsform.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <unistd.h>

using namespace ks318;
using namespace ks318::guitest;
using namespace ks318::test;

namespace {

constexpr uid_t kNobody = 65534;

enum class Kind { Good, Garbage, Empty, SectionsOnly, OtherRecorder, OutOfOrder, TooLong, P30IsDirectory,
                  FolderReadOnly, LegacyPatOnly, OtherCase };

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

QByteArray goodFile(RecorderType type = RecorderType::Ks318)
{
    synth::Options o;
    o.count = 40;
    o.type = type;
    return synth::makeFile(o);
}

// The row's files in `dir` (made here); the path of its data file.
QString makeRow(const QString& dir, Kind kind)
{
    QDir().mkpath(dir);
    const QString dat = dir + QStringLiteral("/REC.DAT");
    const QByteArray sections = patientSections("X");
    QByteArray bytes;
    switch (kind) {
    case Kind::Good:
    case Kind::P30IsDirectory:
    case Kind::FolderReadOnly:
    case Kind::LegacyPatOnly:
    case Kind::OtherCase: bytes = goodFile(); break;
    case Kind::Garbage: bytes = QByteArray("\x00\x9f\xfe garbage\n\x01KS-31", 17); break;
    case Kind::Empty: break;
    case Kind::SectionsOnly: bytes = sections; break;
    case Kind::OtherRecorder: bytes = goodFile(RecorderType::Rv5730); break;
    case Kind::OutOfOrder: bytes = recordLine(2026, 3, 2, 10, 0) + recordLine(2026, 3, 2, 9, 59) + sections; break;
    case Kind::TooLong: bytes = recordLine(2021, 3, 1, 0, 0) + recordLine(2026, 3, 3, 0, 0) + sections; break;
    }
    // Named "REC.DAT", found as "REC.dat"; its companion "REC.P30" is found
    // too (a directory: message 202 tells it was).
    writeFile(kind == Kind::OtherCase ? dir + QStringLiteral("/REC.dat") : dat, bytes);
    if (kind == Kind::OtherCase)
        QDir(dir).mkdir(QStringLiteral("REC.P30"));
    if (kind == Kind::P30IsDirectory)
        QDir(dir).mkdir(QStringLiteral("REC.p30"));
    if (kind == Kind::LegacyPatOnly)
        writeFile(dir + QStringLiteral("/REC.pat"), kPat);
    if (kind == Kind::FolderReadOnly)
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                       | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
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

// A run as an unprivileged user when this test runs as root.
bool asNobody(Kind kind) { return kind == Kind::FolderReadOnly && geteuid() == 0; }

CliRun runCommand(const QStringList& args, const QString& dir, Kind kind)
{
    if (!asNobody(kind))
        return runCli(args, dir);
    QProcess p;
    p.setWorkingDirectory(dir);
    p.start(QStringLiteral("setpriv"), QStringList{"--reuid=65534", "--regid=65534", "--clear-groups",
                                                   qEnvironmentVariable("KS318_CLI")} + args);
    p.waitForFinished(30000);
    CliRun r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

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
        // Reachable by the unprivileged user of the read-only folder row.
        QVERIFY(QFile::setPermissions(root_.path(), QFileDevice::Permissions(0x7777)));
    }

    void sameVerdictEverywhere_data()
    {
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("olderRecorder");  // list, info, summary and csv read it
        QTest::newRow("good") << Kind::Good << "opened" << false;
        QTest::newRow("garbage bytes") << Kind::Garbage << "refused 262" << false;
        QTest::newRow("empty") << Kind::Empty << "refused 262" << false;
        QTest::newRow("sections without readings") << Kind::SectionsOnly << "refused 262" << false;
        QTest::newRow("other recorder") << Kind::OtherRecorder << "refused 262" << true;
        QTest::newRow("out of time order") << Kind::OutOfOrder << "refused 271" << false;
        QTest::newRow("window too long") << Kind::TooLong << "refused 223" << false;
        QTest::newRow("NAME.p30 a directory") << Kind::P30IsDirectory << "opened 202" << false;
        QTest::newRow("folder read-only") << Kind::FolderReadOnly << "opened 202" << false;
        QTest::newRow("legacy .pat only") << Kind::LegacyPatOnly << "opened" << false;
        QTest::newRow("members in another case") << Kind::OtherCase << "opened 202" << false;
    }

    void sameVerdictEverywhere()
    {
        QFETCH(Kind, kind);
        QFETCH(QString, expected);
        QFETCH(bool, olderRecorder);
        const QString rowDir = root_.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_'));
        const QString outDir = rowDir + QStringLiteral("/out");
        QVERIFY(QDir().mkpath(outDir) && QFile::setPermissions(outDir, QFileDevice::Permissions(0x7777)));
        QStringList verdicts;
        // The second input of merge: a recording a year after the row's.
        const QString later = outDir + QStringLiteral("/LATER.DAT");
        synth::Options o;
        o.year = 2027;
        QVERIFY(writeFile(later, synth::makeFile(o)));

        // The window: File > Open with nothing open before; every message box
        // lets the window repaint meanwhile.
        {
            MainWindow w;
            QVERIFY(w.form);
            w.chosen = makeRow(rowDir + QStringLiteral("/window"), kind);
            w.messages.whileShown = [&w] { w.form->FormPaint(); };
            if (asNobody(kind)) {
                QVERIFY(setegid(kNobody) == 0 && seteuid(kNobody) == 0);
                w.form->FileOpenClick();
                QVERIFY(seteuid(0) == 0 && setegid(0) == 0);
            } else {
                w.form->FileOpenClick();
            }
            const bool opened = w.session.state.currentFilePath == w.chosen;
            QVERIFY(w.analysisMenus(opened));
            QCOMPARE(opened, w.session.data() != nullptr);
            verdicts << QStringLiteral("window: ") + verdict(opened, w.messages.shownIds());
        }

        // Every command on its own copy.
        for (const char* command : {"list", "info", "summary", "csv", "plot", "report", "merge"}) {
            const QString name = QString::fromLatin1(command);
            const QString dat = makeRow(rowDir + '/' + name, kind);
            const QString output =
                outDir + '/' + name + (name == QLatin1String("plot") ? ".png" : name == QLatin1String("merge") ? ".DAT" : ".pdf");
            QStringList args{name, dat};
            if (name == QLatin1String("plot"))
                args << "--page" << "trend" << "-o" << output;
            else if (name == QLatin1String("report"))
                args << "--kind" << "mini" << "-o" << output;
            else if (name == QLatin1String("merge"))
                args = QStringList{name, output, dat, later};
            const CliRun r = runCommand(args, rowDir, kind);
            // csv passes the open and then cannot write NAME.csv into a
            // read-only folder: the open itself went through.
            const bool opened = r.exitCode == 0
                                || (name == QLatin1String("csv") && r.err.contains("cannot be written"));
            QVERIFY2(r.exitCode == 0 || r.exitCode == 1, r.err.constData());
            const QString csv = replaceExtension(dat, QStringLiteral(".csv"));
            if (name == QLatin1String("plot") || name == QLatin1String("report") || name == QLatin1String("merge"))
                QCOMPARE(QFile::exists(output), opened);
            else if (name == QLatin1String("csv") && !opened)
                QVERIFY(!QFile::exists(csv));
            verdicts << name + QStringLiteral(": ") + verdict(opened, messageIds(r.err));
        }
        if (kind == Kind::FolderReadOnly) {
            for (const QString& sub : QDir(rowDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                QFile::setPermissions(rowDir + '/' + sub, QFileDevice::Permissions(0x7777));
        }

        QStringList wanted;
        for (const char* name : {"window", "list", "info", "summary", "csv", "plot", "report", "merge"}) {
            const QString runner = QString::fromLatin1(name);
            const bool older = olderRecorder && runner != QLatin1String("window") && runner != QLatin1String("plot")
                               && runner != QLatin1String("report") && runner != QLatin1String("merge");
            // merge only reads its inputs: nothing about NAME.p30 to tell.
            const bool readOnly = runner == QLatin1String("merge") && expected == QLatin1String("opened 202");
            wanted << runner + QStringLiteral(": ") + (older || readOnly ? QStringLiteral("opened") : expected);
        }
        QCOMPARE(verdicts, wanted);
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
