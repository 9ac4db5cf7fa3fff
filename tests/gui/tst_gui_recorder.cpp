// The recorder menu and its dialogs against a scripted recorder on a
// simulated clock, the waits that repaint and take only ESC; the port dialog.
#include "app/beepservice.h"
#include "app/defaultserialportform.h"
#include "app/linkwaiter.h"
#include "app/patientinformationform.h"
#include "app/recordercleardataform.h"
#include "app/recorderretrieveform.h"
#include "app/recordersetup_318form.h"
#include "guisupport.h"
#include "linksupport.h"
#include "records/companionfile.h"
#include "records/shortdate.h"
#include "recorder/serial.h"
#include "views/cp932edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace ks318;
using namespace ks318::guitest;
using namespace ks318::test;

namespace {

// The recorder's replies written as in golden recorder-menu.txt.
QList<Reply> scripted(const QString& replies)
{
    QByteArray records;   // block: five readings from 2 November 2026, 07:00, hourly
    for (int i = 0; i < 5; ++i)
        records += QString::asprintf("2D4E3E00007E0B02%02X0001", 7 + i).toLatin1();
    const QByteArray block = dataFrame(records, "KS");
    const QByteArray settings = settingsFrame("00000000" "07000C1EFFFF1500FFFFFFFF" "4B");
    QByteArray badSum = settings;
    badSum.back() = char(badSum.back() + 1);
    const QMap<QString, QByteArray> frames{{"empty", dataFrame("", "KS")},
                                          {"fragment", dataFrame("2D4E3E00007E0B02", "KS")},
                                          {"block", block},
                                          {"cut", block.left(60)},
                                          {"settings", settings},
                                          {"badsum", badSum}};
    QList<Reply> script;
    for (const QString& reply : replies.split(' ', Qt::SkipEmptyParts)) {
        const QString control = reply.section('+', 0, 0);
        const Reply r = control == "A" ? Reply::ack() : control == "N" ? Reply::nak() : Reply::silence();
        script << (reply.contains('+') ? r.then(frames.value(reply.section('+', 1)), 50) : r);
    }
    return script;
}

// A window that counts its paints (asking for the next one each time).
class PaintCounter : public QPushButton {
public:
    std::function<void()> onPaint;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        ++paints;
        QPushButton::paintEvent(e);
        update();
        onPaint();
    }
};

// The device end of a pseudo-terminal pair, standing in for a serial port.
struct Pty {
    int master = -1;
    QString device;
    Pty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            device = QString::fromLocal8Bit(::ptsname(master));
    }
    ~Pty()
    {
        if (master >= 0)
            ::close(master);
    }
};

} // namespace

class TestRecorder : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> w_;
    std::unique_ptr<Rig> rig_;
    TMainForm* form() const { return w_->form.get(); }

    TDefaultSerialPortForm* openAndCloseSerialPortDialog()
    {
        TDefaultSerialPortForm* dialog = form()->DefaultSerialPortForm;
        dialog->show();
        dialog->hide();
        return dialog;
    }

private Q_SLOTS:
    void init()
    {
        w_ = std::make_unique<MainWindow>();
        QVERIFY(w_->form);
        rig_ = std::make_unique<Rig>();
        form()->setRecorderLine(&rig_->port, &rig_->clock);
        form()->Beeps->setAudible(false);
    }

    void cleanup()
    {
        w_.reset();
        rig_.reset();
        ClosePort();
    }

    // From the menu: 207 for an empty name, 268 for a taken name, then the
    // new recording with its name and CSV file; the demo is current again.
    void retrievalIntoANewRecording()
    {
        QVERIFY(form()->openFile(w_->demoPath()));
        const QString demoCaption = form()->windowTitle();
        rig_->script(scripted("A A A A+block"));
        TRecorderRetrieveForm* dialog = form()->RecorderRetrieveForm;
        QString seen;
        when(form(), [dialog] { return dialog->isVisible() && dialog->hasData; }, [&] {
            seen = dialog->StartDate->text() + ' ' + dialog->StartTime->text();
            dialog->RetrievedataButton->click();   // no name
            dialog->PatientNameEdit->setText(QStringLiteral("山田 太郎"));
            dialog->CreateCsvFileCheckBox->setChecked(true);
            w_->saved = w_->file("DEMO");           // DEMO.DAT is there
            dialog->RetrievedataButton->click();
            QVERIFY(dialog->isVisible());
            w_->saved = w_->file("NEW.x");
            when(form(), [this] { return form()->PatientInformationForm->isVisible(); }, [this] {
                QCOMPARE(form()->PatientInformationForm->PtNameEdit->text(), QStringLiteral("山田 太郎"));
                form()->PatientInformationForm->PtSaveButton->click();
            });
            dialog->RetrievedataButton->click();
        });
        form()->RecorderZireRetrievedata->trigger();

        QCOMPARE(seen, formatShortDate(QDate(2026, 11, 2)) + QStringLiteral(" 07:00"));
        QCOMPARE(w_->messages.shownIds(), (QList<int>{207, 268}));
        QVERIFY(!dialog->isVisible() && dialog->PatientNameEdit->text().isEmpty());
        QCOMPARE(readBytes(w_->file("NEW.dat")).count("KS-318  7000000001007E0B02"), 5);
        Session fresh;
        QVERIFY(readCompanionFile(fresh, w_->file("NEW.dat"), nullptr));
        QCOMPARE(fresh.patient.patientName.toQString(), QStringLiteral("山田 太郎"));
        QVERIFY(readBytes(w_->file("NEW.csv")).contains("\"07:00\","));
        QCOMPARE(form()->windowTitle(), demoCaption);
        QCOMPARE(form()->recorderSession->recordCount, 0);
    }

    void menuEntries_data()
    {
        test::dataRows(QStringLiteral("recorder-menu.txt"),
                       {"entry", "replies", "answers", "codes", "messages", "beeps", "enabled", "openAfterOk"});
    }

    void menuEntries()
    {
        const QString replies = cell("replies");
        rig_->script(scripted(replies));
        QList<bool> said;
        for (const QString& answer : cell("answers").split(' ', Qt::SkipEmptyParts))
            said << (answer == "yes");
        TRecorderClearDataForm* clear = form()->RecorderClearDataForm;
        when(form(), [clear] { return clear->isVisible(); }, [clear, said] {
            (said.value(0) ? clear->RecorderClearOkButton : clear->RecorderClearCancelButton)->click();
        });
        TRecorderSetup_318Form* setup = form()->RecorderSetup_318Form;
        QString okAndSlots, stillOpen;
        when(form(), [this, setup] {
            return setup->isVisible() && (setup->RecorderSetupOkButton->isEnabled() || !w_->messages.shown().isEmpty());
        }, [&] {
            okAndSlots = QString::number(setup->RecorderSetupOkButton->isEnabled())
                         + QString::number(setup->BPMeasurementTimesGroupBox->isEnabled());
            setup->IntervalHourComboBox[0]->setEditText("6");
            w_->messages.answers = said;
            setup->RecorderSetupOkButtonClick();
            stillOpen = QString::number(setup->isVisible());
            setup->RecorderSetupCancelButton->click();
        });
        form()->findChild<QAction*>(cell("entry"))->trigger();
        QStringList ids;
        for (int id : w_->messages.shownIds())
            ids << QString::number(id);
        QCOMPARE(rig_->port.commandCodes().join(' '), cell("codes"));
        QCOMPARE(ids.join(' '), cell("messages"));
        QCOMPARE(QString::number(form()->Beeps->count()), cell("beeps"));
        QCOMPARE(okAndSlots + '/' + stillOpen, cell("enabled") + '/' + cell("openAfterOk"));
        QVERIFY(!form()->RecorderRetrieveForm->isVisible() && w_->saveDialogs == 0);
        // Only a recorder silent from the start leaves no session.
        QCOMPARE(form()->recorderSession != nullptr, !replies.isEmpty());
    }

    // The schedule read at the first paint, a duplicate refused with 266,
    // then clear, clock and schedule sent.
    void setup()
    {
        rig_->script(scripted("A A A A+settings - A A A A A A A A"));
        TRecorderSetup_318Form* dialog = form()->RecorderSetup_318Form;
        QStringList shown;
        bool refused = false;
        when(form(), [dialog] { return dialog->isVisible() && dialog->slotTexts(0).hour == "7"; }, [&] {
            for (int n = 0; n < 6; ++n)
                shown << dialog->slotTexts(n).hour + '/' + dialog->slotTexts(n).minute;
            shown << QString::number(dialog->IntervalMinuteEdit[2]->isEnabled());
            dialog->IntervalHourComboBox[4]->setEditText("7");
            dialog->IntervalMinuteEdit[4]->setFocus();   // OK by Enter: the field is taken as left
            dialog->IntervalMinuteEdit[4]->setText("0");
            refused = !dialog->RecorderSetupOkButtonClick() && dialog->isVisible() && dialog->slotMarked(4)
                      && !dialog->slotMarked(0) && !dialog->slotMarked(3);
            dialog->IntervalMinuteEdit[4]->setText("75");
            w_->messages.answers = {true, true};
            dialog->RecorderSetupOkButtonClick();
        });
        form()->RecorderZireSetup->trigger();

        QCOMPARE(shown, (QStringList{"7/00", "12/30", "off/", "21/00", "off/", "off/", "0"}));
        QVERIFY(refused);
        QCOMPARE(w_->messages.shownIds(), (QList<int>{266, 99, 258}));
        QCOMPARE(rig_->port.commandCodes(),
                 (QStringList{"05", "05", "05", "11", "05", "12", "05", "31", "05", "30"}));
        QCOMPARE(rig_->port.frames.back().bytes.mid(9, 34),
                 QByteArray("00000000" "07000C1EFFFF1500073BFFFF" "4B"));
        // Before each question, after the acknowledged clear and schedule.
        QCOMPARE(form()->Beeps->count(), 4);

        // A change of port lets go of the session opened on the old one.
        QVERIFY(form()->recorderSession);
        form()->DefaultSerialPortForm->Com2RadioButton->setChecked(true);
        form()->DefaultSerialPortForm->SerialPortSaveButtonClick();
        QVERIFY(!form()->recorderSession);
    }

    // While the recorder holds the line the window repaints, a click goes
    // nowhere, and ESC ends the hold.
    void holdRepaintsAndTakesOnlyEscape()
    {
        LinkWaiter waiter(&rig_->clock);
        RecorderService link(rig_->port, waiter, waiter);
        PaintCounter window;
        int clicks = 0;
        connect(&window, &QPushButton::clicked, [&clicks] { ++clicks; });
        window.onPaint = [&] {
            if (rig_->clock.now == 5000)
                QCoreApplication::postEvent(&window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        };
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.paints = 0;
        const QPointF at(window.width() / 2.0, window.height() / 2.0);
        for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(&window, new QMouseEvent(t, at, window.mapToGlobal(at), Qt::LeftButton,
                                                                 Qt::LeftButton, Qt::NoModifier));
        rig_->port.deliverAt(0, QByteArray(1, ctl::XOFF));
        QCOMPARE(int(link.CheckFlowControl()), int(LinkCancelled));
        QVERIFY(rig_->clock.now > 5000 && rig_->clock.now <= 5200);
        QVERIFY2(window.paints > 10, qPrintable(QString::number(window.paints)));   // all through the hold
        QCoreApplication::processEvents();
        QCOMPARE(clicks, 0);
    }

    // The stored port is selected; one out of range keeps the design state,
    // COM1, and so do settings never loaded, reported (220) at each opening.
    // Each entry names its device: /dev/ttyS(n-1) unless KS318_COMn says
    // otherwise.
    void serialPortOpening()
    {
        qputenv("KS318_COM2", "/dev/ttyUSB0");
        AnalysisSettings& settings = w_->session.settings.analysis;
        for (const auto& [valid, stored, checked] : {std::tuple(1, 7, 1), std::tuple(0, 3, 1), std::tuple(1, 3, 3)}) {
            w_->messages.clear();
            settings.valid = valid;
            settings.serialPortNumber = stored;
            TDefaultSerialPortForm* dialog = openAndCloseSerialPortDialog();
            QVERIFY(dialog->radioButton(checked)->isChecked());
            QCOMPARE(dialog->deviceLabel(2)->text() + ' ' + dialog->deviceLabel(3)->text(), "/dev/ttyUSB0 /dev/ttyS2");
            openAndCloseSerialPortDialog();
            QCOMPARE(w_->messages.shownIds(), valid ? QList<int>{} : (QList<int>{220, 220}));
        }
        qunsetenv("KS318_COM2");
    }

    // Cancel keeps COM1; save stores the choice as "COMn" and moves the open
    // port at once; saving the same port again opens it afresh (the device
    // behind the name now: an adapter plugged in again); a port that cannot
    // be opened gives 198 and leaves none open.
    void serialPortCancelAndSave()
    {
        Pty first, second, replugged;
        QVERIFY(!first.device.isEmpty() && !second.device.isEmpty() && !replugged.device.isEmpty());
        qputenv("KS318_COM1", first.device.toLocal8Bit());
        qputenv("KS318_COM3", "/nonexistent/ttyX");
        QVERIFY(OpenPort(QStringLiteral("COM1"), &w_->messages));
        // KS318_COM2, the port chosen, saved or cancelled; the port stored, the device open.
        const std::tuple<QString, int, bool, const char*, QString> steps[] = {
            {second.device, 2, false, "COM1", first.device},
            {second.device, 2, true, "COM2", second.device},
            {replugged.device, 2, true, "COM2", replugged.device},
            {replugged.device, 3, true, "COM3", QString()},
        };
        for (const auto& [com2, chosen, saved, stored, device] : steps) {
            qputenv("KS318_COM2", com2.toLocal8Bit());
            TDefaultSerialPortForm* dialog = openAndCloseSerialPortDialog();
            dialog->radioButton(chosen)->setChecked(true);
            saved ? dialog->SerialPortSaveButtonClick() : dialog->SerialPortCancelButtonClick();
            QCOMPARE(w_->session.settings.analysis.serialPortName.toQString(), QString::fromLatin1(stored));
            QCOMPARE(currentPort() ? currentPort()->device() : QString(), device);
            QCOMPARE(w_->messages.shownIds(), device.isEmpty() ? QList<int>{198} : QList<int>{});
        }
        for (const char* name : {"KS318_COM1", "KS318_COM2", "KS318_COM3"})
            qunsetenv(name);
    }
};

QTEST_MAIN(TestRecorder)
#include "tst_gui_recorder.moc"
