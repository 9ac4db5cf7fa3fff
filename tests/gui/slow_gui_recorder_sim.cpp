// The recorder menu and its dialogs against ks318-sim on a pseudo-terminal,
// in real time, as a clinic uses them: a retrieval into a new recording, a
// setup that changes one slot and sets the clock, a clear, and a recorder
// unplugged and plugged in again. What reached the recorder is read from the
// simulator's own log of frames.
#include "app/beepservice.h"
#include "app/patientinformationform.h"
#include "app/recordercleardataform.h"
#include "app/recorderretrieveform.h"
#include "app/recordersetup_318form.h"
#include "guisupport.h"
#include "recorder/serial.h"
#include "support/simulator.h"
#include "views/cp932edit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;
using ks318::test::Simulator;

namespace {

// Generous: the machine may be busy, and every wait of the link is real.
constexpr int kPatienceMs = 60000;

// Lines of the simulator's log that contain `what`, without their times.
QStringList logLines(const QString& log, const QString& what)
{
    QStringList out;
    for (const QString& line : log.split('\n'))
        if (line.contains(what))
            out << line.section(' ', 2, -1, QString::SectionSkipEmpty);
    return out;
}

} // namespace

class SlowGuiRecorderSim : public QObject {
    Q_OBJECT

    QTemporaryDir links_;
    std::unique_ptr<MainWindow> w_;
    TMainForm* form() const { return w_->form.get(); }
    // The path the simulator keeps linked to its terminal: COM1.
    QString line() const { return links_.filePath(QStringLiteral("ttyKS318")); }

    void clearThroughTheMenu()
    {
        TRecorderClearDataForm* dialog = form()->RecorderClearDataForm;
        when(form(), [dialog] { return dialog->isVisible(); }, [dialog] { dialog->RecorderClearOkButton->click(); });
        form()->RecorderZireCleardata->trigger();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!qEnvironmentVariable("KS318_SIM").isEmpty(), "KS318_SIM names the simulator");
        QVERIFY(links_.isValid());
        qputenv("KS318_COM1", line().toLocal8Bit());
    }

    void init()
    {
        w_ = std::make_unique<MainWindow>();
        QVERIFY(w_->form);
        QCOMPARE(w_->session.settings.analysis.serialPortName.toQString(), QStringLiteral("COM1"));
        form()->Beeps->setAudible(false);
    }

    void cleanup()
    {
        w_.reset();
        ClosePort();
    }

    void retrievalIntoANewRecording()
    {
        Simulator sim({"--link", line(), "--generate", "5"});
        QVERIFY(!sim.device().isEmpty());
        TRecorderRetrieveForm* dialog = form()->RecorderRetrieveForm;
        QString start;
        when(form(), [dialog] { return dialog->isVisible() && dialog->hasData; }, [&] {
            start = dialog->StartTime->text();
            dialog->PatientNameEdit->setText(QStringLiteral("佐藤 花子"));
            w_->saved = w_->file("RT.x");
            when(form(), [this] { return form()->PatientInformationForm->isVisible(); },
                 [this] { form()->PatientInformationForm->PtSaveButton->click(); });
            dialog->RetrievedataButton->click();
        });
        form()->RecorderZireRetrievedata->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kPatienceMs);

        QCOMPARE(start, QStringLiteral("07:00"));
        QVERIFY(w_->messages.shownIds().isEmpty());
        // The simulator's first reading (2 November 2026, 07:00; pulse
        // pressure 45, DIA 78, pulse 62; recorder 1) and four more.
        const QByteArray file = readBytes(w_->file("RT.dat"));
        QCOMPARE(file.split('\n').value(0), QByteArray("KS-318  700000000100" "7E0B020700" "2D4E3E0000" "01"));
        QCOMPARE(int(file.count("KS-318  70")), 5);
        const QString log = sim.log();
        QCOMPARE(logLines(log, "recv command").join('|'),
                 QStringLiteral("recv command 05 [02 43 50 43 30 35 3B]|recv command 05 [02 43 50 43 30 35 3B]|"
                                "recv command 05 [02 43 50 43 30 35 3B]|recv command 10 [02 43 50 43 31 30 37]"));
        QCOMPARE(logLines(log, "recv ACK"), QStringList{"recv ACK [01 50 43 37 30 06]"});
    }

    // Slot 3 from off to 9:15, the clock set, no clear: the schedule goes
    // back with the block's last two characters, after the clock.
    void setupChangesOneSlotAndTheClock()
    {
        Simulator sim({"--link", line(), "--settings", "00000000" "07000C1EFFFF1500FFFFFFFF" "4B"});
        TRecorderSetup_318Form* dialog = form()->RecorderSetup_318Form;
        QStringList shown;
        when(form(), [dialog] { return dialog->isVisible() && dialog->RecorderSetupOkButton->isEnabled(); }, [&] {
            for (int n = 0; n < 6; ++n)
                shown << dialog->slotTexts(n).hour + '/' + dialog->slotTexts(n).minute;
            dialog->IntervalHourComboBox[2]->setEditText("9");
            dialog->IntervalHourComboBoxExit(2);
            dialog->IntervalMinuteEdit[2]->setText("15");
            w_->messages.answers = {false, true};
            dialog->RecorderSetupOkButtonClick();
        });
        form()->RecorderZireSetup->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kPatienceMs);

        QCOMPARE(shown, (QStringList{"7/00", "12/30", "off/", "21/00", "off/", "off/"}));
        QCOMPARE(w_->messages.shownIds(), (QList<int>{99, 258}));
        // The clock as the dialog showed it when asked (year/month/day here).
        const QString clock = QStringLiteral("clock set to %1 %2")
                                  .arg(dialog->DateMaskEdit->text().replace('/', '-'), dialog->TimeMaskEdit->text());
        const QString log = sim.log();
        QCOMPARE(logLines(log, "clock set to"), QStringList{clock});
        QCOMPARE(logLines(log, "schedule now"), QStringList{"schedule now 07000C1E090F1500FFFFFFFF"});
        QVERIFY(log.indexOf("clock set to") < log.indexOf("schedule now"));
        QVERIFY(log.contains("recv data \"0000000007000C1E090F1500FFFFFFFF4B\" checksum ok"));
        QVERIFY(!log.contains("recv command 12"));
    }

    // A clear empties the recorder: the retrieval afterwards finds nothing
    // (208, not the link's 224).
    void clearThenNothingToRetrieve()
    {
        Simulator sim({"--link", line()});
        clearThroughTheMenu();
        QTRY_VERIFY_WITH_TIMEOUT(!form()->RecorderClearDataForm->isVisible(), kPatienceMs);
        QCOMPARE(logLines(sim.log(), "data cleared").size(), 1);
        QVERIFY(w_->messages.shownIds().isEmpty());

        form()->RecorderZireRetrievedata->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!form()->RecorderRetrieveForm->isVisible(), kPatienceMs);
        QCOMPARE(w_->messages.shownIds(), QList<int>{208});
        QVERIFY(sim.log().contains("sent readings (10 bytes)"));
    }

    // The recorder goes away in the middle of a command (224 for that
    // command) and comes back on the same path; later it is unplugged while
    // idle and another one is plugged in. Each next command works, without
    // the serial port dialog.
    void unpluggedAndPluggedInAgain()
    {
        {
            Simulator sim({"--link", line(), "--vanish-after", "2", "--back-after", "1000"});
            clearThroughTheMenu();   // "05" twice opens the session; then the line is gone
            QTRY_VERIFY_WITH_TIMEOUT(!form()->RecorderClearDataForm->isVisible(), kPatienceMs);
            QCOMPARE(w_->messages.shownIds(), QList<int>{224});
            QTRY_VERIFY_WITH_TIMEOUT(sim.log().contains("back on"), kPatienceMs);
            clearThroughTheMenu();
            QTRY_VERIFY_WITH_TIMEOUT(!form()->RecorderClearDataForm->isVisible(), kPatienceMs);
            QCOMPARE(w_->messages.shownIds(), QList<int>{224});
            QCOMPARE(logLines(sim.log(), "data cleared").size(), 1);
        }
        Simulator other({"--link", line(), "--generate", "2"});
        clearThroughTheMenu();
        QTRY_VERIFY_WITH_TIMEOUT(!form()->RecorderClearDataForm->isVisible(), kPatienceMs);
        QCOMPARE(w_->messages.shownIds(), QList<int>{224});
        QCOMPARE(logLines(other.log(), "data cleared").size(), 1);
    }
};

QTEST_MAIN(SlowGuiRecorderSim)
#include "slow_gui_recorder_sim.moc"
