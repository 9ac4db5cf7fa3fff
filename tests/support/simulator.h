#pragma once
// ks318-sim (named by KS318_SIM) run for a test: started with its options,
// its log of frames (stderr) kept in a file, stopped when the object goes.
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryFile>

namespace ks318::test {

class Simulator {
public:
    explicit Simulator(const QStringList& options)
    {
        logFile_.open();
        process_.setStandardErrorFile(logFile_.fileName());
        process_.start(qEnvironmentVariable("KS318_SIM"), options);
        if (process_.waitForStarted(5000) && process_.waitForReadyRead(5000))
            device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    // Ends the simulator (its terminal closes) and waits for it.
    ~Simulator()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished(5000);
    }

    // The terminal device the simulator plays on (its first line).
    QString device() const { return device_; }
    QString log()
    {
        QFile f(logFile_.fileName());
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
    }

private:
    QProcess process_;
    QString device_;
    QTemporaryFile logFile_;
};

} // namespace ks318::test
