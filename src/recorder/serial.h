#pragma once
// The serial port the recorder hangs on: 9600 baud, 8 data bits, no parity,
// 2 stop bits, DTR on, no flow control in the driver (the recorder's XON and
// XOFF are ordinary bytes to the link). Opened exclusively.
//
// Ports are named "COM1" to "COM4" as the settings keep them. "COMn" is the
// device named by the environment variable KS318_COMn when it is set, else
// /dev/ttyS(n-1). Any other name is taken as a device path.
#include "linkio.h"
#include "portaccess.h"

#include <QByteArray>
#include <QString>
#include <memory>

namespace ks318 {

// "COM%d" of a port number.
QString portNameFor(int number);

// The device a port name stands for.
QString resolvePortDevice(const QString& portName);

class Serial final : public SerialPortIo {
public:
    // Opens and configures the port; see isOpen().
    explicit Serial(const QString& portName);
    ~Serial() override;
    Serial(const Serial&) = delete;
    Serial& operator=(const Serial&) = delete;

    // True when the device was opened, taken exclusively and configured,
    // and has not gone since.
    bool isOpen() const { return fd_ >= 0; }
    // True when the device went away while open (the USB adapter unplugged,
    // the other end of a pseudo-terminal closed): its handle is closed then,
    // so that the device can come back under its name, and the port reads
    // nothing and refuses every byte from then on.
    bool vanished() const { return vanished_; }
    // Asks the line, without waiting, whether the device is still there;
    // closes the handle when it is not. True while the port is open.
    bool checkLine();
    QString portName() const { return portName_; }
    QString device() const { return device_; }
    // Why opening failed, for diagnostics (the user sees message 198).
    QString errorText() const { return error_; }
    // Why opening failed, as a reason the user can act on.
    PortAccess failure() const;

    void purge() override;
    int bytesAvailable() override;
    int read(char* into, int count) override;
    bool writeByte(char byte) override;

private:
    void fail(const char* what, int err);
    // The device is gone (`err` the error that told so, 0 for a hang-up).
    void lose(int err);

    int fd_ = -1;
    bool vanished_ = false;
    int errno_ = 0;
    QString portName_;
    QString device_;
    QString error_;
    // Bytes taken from the driver but not yet read by the link. The terminal
    // layer reports at most about 4 KB as waiting however much has arrived,
    // while a data block of the recorder may be 8 KB; the bytes are moved
    // here so that the count covers the whole block.
    QByteArray pending_;
};

// The one port of the program; null while none is open.
Serial* currentPort();

struct MessageSink;

// Opens `portName` when no port is open. On failure shows message 198 and
// leaves no port open. Does nothing when a port is already open and its
// device still there; a port whose device has gone is released and its
// device opened afresh (a recorder unplugged and plugged in again). Returns
// true when a port is open afterwards. No link may still use the port
// object that was there before.
bool OpenPort(const QString& portName, MessageSink* messages);

// Checks the open port's line (see Serial::checkLine) without releasing the
// port object, which links may still hold. True when a port is open and its
// device there.
bool checkOpenPort();

// Why the last failed OpenPort failed.
PortAccess lastPortFailure();

// Closes the open port, if any.
void ClosePort();

} // namespace ks318
