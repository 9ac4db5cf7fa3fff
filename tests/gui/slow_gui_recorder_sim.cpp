// The recorder menu and its dialogs against ks318-sim on a pseudo-terminal,
// in real time, as a clinic uses them: a retrieval into a new recording, and
// clears with the recorder unplugged and plugged in again. What reached the
// recorder is read from the simulator's own log of frames. (The setup
// dialog and an empty recorder's 208: tst_gui_recorder on a simulated
// clock; the schedule against ks318-sim in real time: slow_recorder_sim.)
#include "app/beepservice.h"
#include "app/patientinformationform.h"
#include "app/recordercleardataform.h"
#include "app/recorderretrieveform.h"
#include "guisupport.h"
#include "recorder/serial.h"
#include "support/simulator.h"
#include "views/cp932edit.h"

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
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), kPatienceMs);
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
        // The frames themselves: tst_link (golden link.txt).
        QCOMPARE(int(sim.log().count("recv command 10")), 1);
        QCOMPARE(int(sim.log().count("recv ACK")), 1);
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
            QCOMPARE(w_->messages.shownIds(), QList<int>{224});
            QTRY_VERIFY_WITH_TIMEOUT(sim.log().contains("back on"), kPatienceMs);
            clearThroughTheMenu();
            QCOMPARE(w_->messages.shownIds(), QList<int>{224});
            QCOMPARE(int(sim.log().count("data cleared")), 1);
        }
        Simulator other({"--link", line(), "--generate", "2"});
        clearThroughTheMenu();
        QCOMPARE(w_->messages.shownIds(), QList<int>{224});
        QCOMPARE(int(other.log().count("data cleared")), 1);
    }
};

QTEST_MAIN(SlowGuiRecorderSim)
#include "slow_gui_recorder_sim.moc"
