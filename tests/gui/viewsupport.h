#pragma once
// Recordings written reading by reading for the tests of the view windows,
// and a session made current on them as the open sequence does it.
#include "records/bpdatafile.h"
#include "records/daycount.h"
#include "records/dataset.h"
#include "session/session.h"

#include <QDate>
#include <QList>
#include <QString>
#include <memory>

namespace ks318::viewtest {

struct Reading {
    int day = 0;        // days after the first date
    int hour = 0;
    int minute = 0;
    int sys = 130;
    int dia = 80;
    int pulse = 70;
    int error = 0;      // oscillometric error code, 0 = valid
    bool excluded = false;
    const char* comment = "";
};

inline const QDate kFirstDate(2026, 3, 2);

// The readings (patient TEST) as a data file of `type`.
inline bool writeRecording(const QString& path, const QList<Reading>& readings, const QDate& first = kFirstDate,
                           RecorderType type = RecorderType::Ks318)
{
    auto d = std::make_unique<SessionData>();
    d->loaded = 1;
    d->name = "TEST";
    int i = 0;
    for (const Reading& in : readings) {
        BpReading& r = d->readings[std::size_t(i++)];
        const QDate date = first.addDays(in.day);
        r.year = std::uint32_t(date.year());
        r.month = std::uint8_t(date.month());
        r.day = std::uint8_t(date.day());
        r.hour = std::uint8_t(in.hour);
        r.minute = std::uint8_t(in.minute);
        r.oscPulsePressure = std::uint8_t(in.sys - in.dia);
        r.oscDia = std::uint8_t(in.dia);
        r.oscPulse = std::uint8_t(in.pulse);
        r.oscError = std::uint8_t(in.error);
        r.excluded = in.excluded ? 1 : 0;
        r.errorText = in.error ? "1" : "--";
        r.comment = in.comment;
    }
    d->counters.readingCount = std::uint32_t(i);
    return writeBpDataFile(path, *d, type);
}

// Makes `path` current: companion file created from the data, then the
// optional sleep and wake texts ("hh:nn") and window 1 from the first date
// at the time given (start hour -1 keeps the default window).
struct Current {
    QString sleep;
    QString wake;
    int startHour = -1;
    int startMinute = 0;
    int hours = 0;
};

inline Current window1(int startHour, int startMinute, int hours)
{
    return Current{QString(), QString(), startHour, startMinute, hours};
}

inline Current sleepWake(const QString& sleep = QStringLiteral("23:00"), const QString& wake = QStringLiteral("06:00"))
{
    return Current{sleep, wake};
}

inline bool makeCurrent(Session& session, const QString& path, const Current& c = Current())
{
    session.state.currentFilePath = path;
    if (!prepareDataSet(session, path))
        return false;
    session.patient.day1SleepTime.setQString(c.sleep);
    session.patient.day1WakeTime.setQString(c.wake);
    if (c.startHour >= 0) {
        session.intervals.interval1StartDate = encodeDate(kFirstDate.year(), kFirstDate.month(), kFirstDate.day());
        session.intervals.interval1StartTime = encodeTime(c.startHour, c.startMinute);
        session.intervals.interval1Hours = std::uint32_t(c.hours);
        session.intervals.valid = 1;
    }
    applyDataSetRecords(session);
    return true;
}

} // namespace ks318::viewtest
