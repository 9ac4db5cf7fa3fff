// The recorder menu against ks318-sim on a pseudo-terminal, in real time:
// clears with the recorder unplugged and plugged in again, read from the
// simulator's own log. (The dialogs on a simulated clock: tst_gui_recorder;
// a retrieval against ks318-sim in real time: slow_recorder_sim.)
#include "app/beepservice.h"
#include "app/recordercleardataform.h"
#include "guisupport.h"
#include "recorder/serial.h"
#include "support/simulator.h"

#include <QPushButton>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;
using ks318::test::Simulator;

// Generous: the machine may be busy, and every wait of the link is real.
constexpr int kPatienceMs = 60000;

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
        w_ = std::make_unique<MainWindow>();
        QVERIFY(w_->form);
        QCOMPARE(w_->session.settings.analysis.serialPortName.toQString(), QStringLiteral("COM1"));
        form()->Beeps->setAudible(false);
    }

    void cleanupTestCase()
    {
        w_.reset();
        ClosePort();
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
