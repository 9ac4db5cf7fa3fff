#pragma once
// Why a serial device can or cannot be used by this user on Linux: whether it
// exists, whether its permissions let this user read and write it (and, when
// not, the group that owns it, usually dialout), and after a failed open what
// stood in the way. Message 198 stays the user's message; this explains it.
#include <QString>

namespace ks318 {

struct PortAccess {
    enum Verdict {
        Usable,       // exists and may be opened by this user
        Missing,      // no such device (nothing plugged in, no such port)
        Denied,       // this user may not open it; `group` owns it
        Busy,         // another program holds it
        NotSerial,    // opens, but is not a terminal device
        Failed,       // any other reason; `detail` names it
    };
    QString device;
    Verdict verdict = Failed;
    QString group;   // the group owning the device, when Denied
    QString detail;  // the system's error text, when Failed
};

// Looks at the device without opening it (opening a serial line raises its
// modem lines): stat and access for reading and writing.
PortAccess checkPortAccess(const QString& device);

// The reason an open of `device` failed with the error number `err`.
PortAccess portOpenFailure(const QString& device, int err);

// The reason in a few Japanese words, for the serial port dialog.
QString portAccessShortText(const PortAccess& access);

// One line naming the device and the reason, with the remedy where there is
// one, for the command line after message 198.
QString portAccessLine(const PortAccess& access);

} // namespace ks318
