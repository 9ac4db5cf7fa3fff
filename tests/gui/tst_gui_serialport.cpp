// The serial port dialog: the stored port is selected when it opens, a change
// is stored as "COM%d" and moves an open port at once (saving the same port
// opens it afresh), settings that were never loaded are reported once per
// opening.
#include "app/defaultserialportform.h"
#include "app/messageservice.h"
#include "session/session.h"
#include "records/settings.h"
#include "recorder/serial.h"

#include <QLabel>
#include <QRadioButton>
#include <QtTest>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace ks318;

namespace {

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

class TestSerialPortForm : public QObject {
    Q_OBJECT

    Session session_;
    GuiMessageService messages_{true};

    void openAndClose(TDefaultSerialPortForm& form)
    {
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.hide();
    }

private Q_SLOTS:
    void init()
    {
        session_ = Session();
        session_.settings.analysis.valid = 1;
        messages_.clear();
        ClosePort();
    }

    void cleanup() { ClosePort(); }

    // The stored port is selected; one out of range keeps the design state,
    // COM1, and so do settings never loaded, reported (220) at each opening.
    // Each entry names its device: /dev/ttyS(n-1) unless KS318_COMn says
    // otherwise.
    void opening()
    {
        qputenv("KS318_COM2", "/dev/ttyUSB0");
        for (const auto& [valid, stored, checked] : {std::tuple(1, 3, 3), std::tuple(1, 7, 1), std::tuple(0, 3, 1)}) {
            messages_.clear();
            session_.settings.analysis.valid = valid;
            session_.settings.analysis.serialPortNumber = stored;
            TDefaultSerialPortForm form(session_, &messages_);
            openAndClose(form);
            QVERIFY(form.radioButton(checked)->isChecked());
            QCOMPARE(form.deviceLabel(2)->text() + ' ' + form.deviceLabel(3)->text(), "/dev/ttyUSB0 /dev/ttyS2");
            openAndClose(form);
            QCOMPARE(messages_.shownIds(), valid ? QList<int>{} : (QList<int>{220, 220}));
        }
        qunsetenv("KS318_COM2");
    }

    // Cancel keeps COM1; save stores the choice as "COMn" and moves an open
    // port at once (198 and no port when the new one cannot be opened).
    void cancelAndSave()
    {
        Pty first, second;
        QVERIFY(!first.device.isEmpty() && !second.device.isEmpty());
        qputenv("KS318_COM1", first.device.toLocal8Bit());
        qputenv("KS318_COM2", second.device.toLocal8Bit());
        TDefaultSerialPortForm form(session_, &messages_);
        openAndClose(form);
        form.Com2RadioButton->setChecked(true);
        form.SerialPortCancelButtonClick();
        QCOMPARE(session_.settings.analysis.serialPortName.toQString(), QStringLiteral("COM1"));
        QVERIFY(OpenPort(QStringLiteral("COM1"), &messages_));
        openAndClose(form);
        form.Com2RadioButton->setChecked(true);
        form.SerialPortSaveButtonClick();
        QVERIFY(currentPort() != nullptr);
        QCOMPARE(currentPort()->device(), second.device);
        QCOMPARE(session_.settings.analysis.serialPortName.toQString(), QStringLiteral("COM2"));
        QVERIFY(messages_.shown().isEmpty());

        // Saving the same port again opens it afresh: the device behind the
        // name now is the one taken (an adapter plugged in again).
        Pty replugged;
        qputenv("KS318_COM2", replugged.device.toLocal8Bit());
        openAndClose(form);
        form.SerialPortSaveButtonClick();
        QVERIFY(currentPort() != nullptr);
        QCOMPARE(currentPort()->device(), replugged.device);
        QVERIFY(messages_.shown().isEmpty());

        // A port that cannot be opened: message 198, no port left open.
        qputenv("KS318_COM3", "/nonexistent/ttyX");
        openAndClose(form);
        form.Com3RadioButton->setChecked(true);
        form.SerialPortSaveButtonClick();
        QVERIFY(currentPort() == nullptr);
        QCOMPARE(messages_.shownIds(), QList<int>{198});
        QCOMPARE(session_.settings.analysis.serialPortNumber, 3);
        for (const char* name : {"KS318_COM1", "KS318_COM2", "KS318_COM3"})
            qunsetenv(name);
    }
};

QTEST_MAIN(TestSerialPortForm)
#include "tst_gui_serialport.moc"
