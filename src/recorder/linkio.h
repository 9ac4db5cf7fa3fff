#pragma once
// What the recorder link needs of the world: a serial port, a clock to wait
// on, and the ESC key. The program plugs in the real port, a monotonic clock
// that sleeps and the window's ESC probe; tests plug in a scripted port and a
// simulated clock.
#include <cstdint>

namespace ks318 {

class SerialPortIo {
public:
    virtual ~SerialPortIo() = default;
    // Drops whatever waits in the output and the input queue.
    virtual void purge() = 0;
    // Number of received bytes waiting to be read.
    virtual int bytesAvailable() = 0;
    // Reads up to `count` waiting bytes into `into`; never waits. Returns the
    // number read.
    virtual int read(char* into, int count) = 0;
    // Sends one byte. Returns false when the port refused it.
    virtual bool writeByte(char byte) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds from an arbitrary fixed origin; never goes back.
    virtual std::int64_t nowMs() = 0;
    // Gives up the processor for about `ms` milliseconds.
    virtual void sleepMs(std::int64_t ms) = 0;
};

class EscapeProbe {
public:
    virtual ~EscapeProbe() = default;
    // True when ESC is down or was pressed since the previous question.
    virtual bool escapePressed() = 0;
};

// The program's clock: steady, and waiting by sleeping rather than spinning.
class SteadyClock final : public Clock {
public:
    std::int64_t nowMs() override;
    void sleepMs(std::int64_t ms) override;
};

// The probe used until a window provides one: ESC is never pressed.
class NoEscape final : public EscapeProbe {
public:
    bool escapePressed() override { return false; }
};

} // namespace ks318
