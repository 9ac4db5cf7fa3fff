// The main window: its menu tree before and after an open, the open sequence
// with the files it refuses, the caption, the facility dialog's radio buttons
// under the arrow keys, and the settings written at exit. One recording, one
// verdict (golden open-verdicts.txt): each recording is opened through
// File > Open and through every command of ks318-cli that reads one. The
// views across a retrieval show the open recording only.
#include "app/beepservice.h"
#include "app/hospitalnameform.h"
#include "app/patientinformationform.h"
#include "app/recorderretrieveform.h"
#include "guisupport.h"
#include "linksupport.h"
#include "records/settings.h"
#include "records/stringtable.h"
#include "session/session.h"
#include "views/cp932edit.h"
#include "views/summarydataform.h"
#include "views/viewgraphicsform.h"
#include "viewsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;
using namespace ks318::test;
using viewtest::Reading;

namespace {

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
        writeFile(dir + QStringLiteral("/REC.pat"), golden("legacy.pat"));
    return dat;
}

// "opened" or "refused", then the message ids in order.
QString verdict(bool opened, const QList<int>& ids)
{
    return QLatin1String(opened ? "opened" : "refused") + (ids.isEmpty() ? QString() : ' ' + idsText(ids));
}

// The string-table messages among a command's stderr lines, by id.
QList<int> messageIds(const QByteArray& err)
{
    QList<int> ids;
    for (const QString& line : QString::fromUtf8(err).split(QLatin1Char('\n')))
        for (int id : {202, 220, 223, 262, 271}) {
            const QString text = StringTable::text(id).replace(QLatin1Char('\n'), QLatin1Char(' '));
            if (line.endsWith(QStringLiteral(": ") + text))
                ids << id;
        }
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

class TestMainForm : public QObject {
    Q_OBJECT

private:
    QTemporaryDir root_;
    std::unique_ptr<MainWindow> w_;
    TMainForm* form() const { return w_->form.get(); }
    Session& session() const { return w_->session; }

private Q_SLOTS:
    void initTestCase()
    {
        // The converter is built beside ks318-cli; the program finds it on PATH.
        const QString tools = QFileInfo(qEnvironmentVariable("KS318_CLI")).absolutePath();
        QVERIFY2(QFile::exists(tools + QStringLiteral("/fileconv")), qPrintable(tools));
        qputenv("PATH", QFile::encodeName(tools) + ':' + qgetenv("PATH"));
    }

    void init()
    {
        w_ = std::make_unique<MainWindow>();
        QVERIFY(w_->form);
    }

    void cleanup() { w_.reset(); }

    // The menu tree, each entry hidden, disabled or enabled without a file
    // and with one open, and the hidden toolbar's state, against
    // golden/main-menu.txt.
    void menusAndToolbar()
    {
        const auto state = [](const QAction* a) {
            return QString::fromLatin1(!a->isVisible() ? "hidden" : a->isEnabled() ? "enabled" : "disabled");
        };
        const auto toolbar = [this] {
            const TMainForm& f = *form();
            return QStringLiteral("toolbar hidden %1, intervals '%2' %3, BP mode %4 of %5 %6, session mode %7\n")
                .arg(f.Toolbar->isHidden()).arg(f.AnalysisIntervalsStatusLabel->text())
                .arg(f.AnalysisIntervalsButton->isEnabled()).arg(f.BPModeCombo->currentIndex())
                .arg(f.BPModeCombo->count()).arg(f.BPModeCombo->isEnabled()).arg(int(session().state.bpMode));
        };
        form()->BPModeCombo->setCurrentIndex(2);
        QList<std::tuple<QAction*, int, QString>> entries;  // with their depth and their state without a file
        std::function<void(const QList<QAction*>&, int)> walk = [&](const QList<QAction*>& actions, int depth) {
            for (QAction* a : actions) {
                entries << std::tuple(a, depth, state(a));
                if (a->menu())
                    walk(a->menu()->actions(), depth + 1);
            }
        };
        walk(form()->menuBar()->actions(), 0);
        QString text = toolbar();
        QVERIFY(form()->openFile(w_->demoPath()));
        text += QStringLiteral("with a file: ") + toolbar();
        for (const auto& [a, depth, before] : entries)
            text += QString(depth * 2, ' ')
                    + (a->isSeparator()
                           ? QStringLiteral("----")
                           : QStringLiteral("%1 \"%2\" %3 / %4").arg(a->objectName(), a->text(), before, state(a)))
                    + '\n';
        KS318_COMPARE_GOLDEN(text.toUtf8(), "main-menu.txt");
    }

    // Opening a file with or without a recording open before (golden
    // open-sequence.txt), each line on a fresh window: a refused file leaves
    // the previous recording current (or none), with its caption and menus,
    // and no block behind.
    void openSequence()
    {
        const QMap<QString, QList<Reading>> readings{
            {"other recorder", {{0, 8, 0}, {0, 9, 0}}},     {"43848 hours", {{0, 0, 0}, {1826, 23, 0}}},
            {"43849 hours", {{0, 0, 0}, {1827, 0, 0}}},      {"out of order", {{0, 10, 0}, {0, 9, 59}}},
            {"two at the same time", {{0, 10, 0}, {0, 10, 0}}},
        };
        KS318_COMPARE_GOLDEN_TABLE("open-sequence.txt", [&](const QByteArray& line) {
            const QStringList words = QString::fromUtf8(line).split(QStringLiteral(", "));
            init();
            const QString path = w_->file(QStringLiteral("REC.DAT"));
            const RecorderType type = words[0] == "other recorder" ? RecorderType::Rv5730 : RecorderType::Ks318;
            if (readings.contains(words[0]))
                viewtest::writeRecording(path, readings[words[0]], viewtest::kFirstDate, type);
            if (words[1] == QLatin1String("after DEMO"))
                form()->openFile(w_->demoPath());
            const bool opened = form()->openFile(path);
            const SessionState& st = session().state;
            QString text = QStringLiteral("opened %1, file '%2', caption '%3'\n")
                               .arg(opened)
                               .arg(QFileInfo(st.currentFilePath).fileName(), form()->windowTitle());
            text += QStringLiteral("menus %1, patient %2, type %3, block %4, hours %5, order error %6")
                        .arg(w_->analysisMenus(true))
                        .arg(session().patient.valid)
                        .arg(int(st.recorderType))
                        .arg(session().data() != nullptr)
                        .arg(session().intervals.interval1Hours)
                        .arg(st.timeOrderError);
            for (const auto& m : w_->messages.shown())
                text += QStringLiteral("\nmessage %1, caption %2, icon %3")
                            .arg(m.stringId)
                            .arg(m.captionId)
                            .arg(int(m.icon));
            return text.toUtf8();
        });
    }

    // On the facility dialog an arrow key moves the check with the focus
    // between あり and なし, and the choice is what 保存 keeps (shown again:
    // what the dialog starts from) and what data.o holds after the exit.
    void facilityRadioButtonsFollowTheArrows()
    {
        session().settings.facility.facilityName.setQString(QStringLiteral("北町診療所"));
        session().settings.facility.printFacilityName = 0;
        THospitalNameForm* dialog = form()->HospitalNameForm;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QVERIFY(dialog->HospitalNameOffRadioButton->isChecked());
        dialog->HospitalNameOffRadioButton->setFocus();
        for (const auto& [key, on] : {std::pair(Qt::Key_Up, true), {Qt::Key_Down, false}, {Qt::Key_Up, true},
                                      {Qt::Key_Right, false}}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QRadioButton* moved = on ? dialog->HospitalNameOnRadioButton : dialog->HospitalNameOffRadioButton;
            QCOMPARE(QApplication::focusWidget(), moved);
            QVERIFY(moved->isChecked());
        }
        QTest::mouseClick(dialog->HospitalNameSaveButton, Qt::LeftButton);
        QCOMPARE(session().settings.facility.printFacilityName, 0);
        dialog->show();
        QVERIFY(dialog->HospitalNameOffRadioButton->isChecked());
        dialog->HospitalNameOnRadioButton->click();
        QTest::mouseClick(dialog->HospitalNameSaveButton, Qt::LeftButton);
        w_->form.reset();
        const QByteArray facility = QByteArray::fromStdString(toCp932(QStringLiteral("北町診療所")));
        QCOMPARE(readBytes(QDir(w_->start.path()).filePath("data.o")), facility + "\n1\n");
    }

    void settingsWrittenAtExit()
    {
        const QString startDir = w_->start.path();
        session().settings.analysis.sysThreshold1 = 150;
        QVERIFY(form()->openFile(w_->demoPath()));
        // Working elsewhere in the meantime does not move the settings.
        QVERIFY(QDir::setCurrent(w_->files.path()));
        const AnalysisSettings analysis = session().settings.analysis;
        const PhysicianList physicians = session().settings.physicians;
        w_->form.reset();
        QCOMPARE(QDir::currentPath(), QDir(startDir).canonicalPath());
        QCOMPARE(readBytes(QDir(startDir).filePath("data.d")), formatDataD(analysis));
        QCOMPARE(readBytes(QDir(startDir).filePath("data.m")), formatDataM(physicians));

        // The next start reads them back from the start directory.
        Session next;
        GuiMessageService quiet(true);
        TMainForm again(next, quiet);
        QCOMPARE(next.settings.analysis.sysThreshold1, 150);
        QVERIFY(quiet.shown().isEmpty());
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

QTEST_MAIN(TestMainForm)
#include "tst_gui_mainform.moc"
