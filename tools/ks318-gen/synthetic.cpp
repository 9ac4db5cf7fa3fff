#include "synthetic.h"

#include "records/companionfile.h"

#include <QFile>
#include <QString>
#include <algorithm>

namespace ks318::synth {

namespace {

// A small, fully specified generator, so the recordings never change with
// the standard library.
class Rng {
public:
    explicit Rng(unsigned seed) : state_(seed * 2654435761u + 0x9E3779B9u) {}
    unsigned next()
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int range(int lo, int hi) { return lo + int(next() % unsigned(hi - lo + 1)); }

private:
    unsigned state_;
};

void setTime(BpReading& r, std::int64_t minute)
{
    const CivilDate date = civilFromDayNumber(minute / 1440);
    r.year = std::uint32_t(date.year);
    r.month = std::uint8_t(date.month);
    r.day = std::uint8_t(date.day);
    r.hour = std::uint8_t(minute % 1440 / 60);
    r.minute = std::uint8_t(minute % 60);
}

constexpr int kErrorCodes[] = {1, 2, 5, 6, 10, 20, 30, 91, 0x41};

void setPatient(SessionData& d)
{
    d.name.setQString(QStringLiteral("山田 太郎"));
    d.idNumber = "A-102938";
    d.address.setQString(QStringLiteral("東京都港区芝公園1-2-3"));
    d.phone = "03-1234-5678";
    d.insurance = "12345678";
    d.age = "58";
    d.sex.setQString(QStringLiteral("男"));
    d.height = "171";
    d.weight = "74";
    d.comment1.setQString(QStringLiteral("家庭血圧測定 2週間"));
    d.comment2.setQString(QStringLiteral("降圧薬なし"));
}

} // namespace

std::unique_ptr<SessionData> makeRecording(const Options& o)
{
    auto d = std::make_unique<SessionData>();
    Rng rng(o.seed);
    const int count = std::clamp(o.count, 0, kMaxReadings);
    std::int64_t minute = minuteNumber(o.year, o.month, o.day, o.firstHour, 0) + rng.range(0, 20);
    int validSeen = 0;
    for (int i = 0; i < count; ++i) {
        BpReading& r = d->readings[std::size_t(i)];
        setTime(r, minute);
        const int tod = int(minute % 1440);

        const bool night = tod < 6 * 60 || tod >= 22 * 60;
        const int sys = (night ? 124 : 146) + rng.range(-14, 14);
        const int dia = (night ? 74 : 91) + rng.range(-9, 9);
        const int pulse = (night ? 60 : 72) + rng.range(-8, 10);
        const bool isError = o.errorEvery > 0 && (i + 1) % o.errorEvery == 0;

        auto fill = [&](std::uint8_t& pp, std::uint8_t& d8, std::uint8_t& p8, std::uint8_t& status, std::uint8_t& err) {
            pp = std::uint8_t(sys - dia);
            d8 = std::uint8_t(dia);
            p8 = std::uint8_t(pulse);
            status = std::uint8_t(rng.range(0, 9) == 0 ? 0x10 : 0x00);
            err = isError ? std::uint8_t(kErrorCodes[(i / std::max(1, o.errorEvery)) % std::size(kErrorCodes)]) : 0;
            if (isError)
                pp = d8 = p8 = 0;
        };
        if (o.type == RecorderType::Ks318 || o.type == RecorderType::Rv5730) {
            r.korError = 1;
            fill(r.oscPulsePressure, r.oscDia, r.oscPulse, r.oscStatus, r.oscError);
            r.method = 0;
        } else {
            fill(r.korPulsePressure, r.korDia, r.korPulse, r.korStatus, r.korError);
            r.method = 1;
            if (o.type == RecorderType::Rv5721) {
                r.oscPulsePressure = std::uint8_t(sys - dia + rng.range(-4, 4));
                r.oscDia = std::uint8_t(dia + rng.range(-3, 3));
                r.oscPulse = std::uint8_t(pulse);
            }
        }
        if (isError) {
            r.errorCode = r.method == 0 ? r.oscError : r.korError;
            r.errorText = "x";  // anything but "--": no comment is written for it
        } else {
            r.errorText = "--";
            ++validSeen;
            if (o.excludedEvery > 0 && validSeen % o.excludedEvery == 0)
                r.excluded = 1;
            if (o.commentEvery > 0 && validSeen % o.commentEvery == 0)
                r.comment.setQString(QStringLiteral("服薬後 %1").arg(validSeen));
        }
        minute += o.minutesApart / 2 + rng.range(0, o.minutesApart);
    }
    d->counters.readingCount = std::uint32_t(count);
    if (o.patient)
        setPatient(*d);
    d->loaded = 1;
    return d;
}

QByteArray makeFile(const Options& options)
{
    return formatBpDataFile(*makeRecording(options), options.type);
}

QByteArray demoFile()
{
    QFile file(QStringLiteral(KS318_SAMPLES_DIR "/DEMO.DAT"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray demoCompanionFile(const QString& datPath)
{
    PatientRecord patient;
    AnalysisIntervals intervals;
    RecordingSpan span;
    if (!companionRecordsFromDataFile(datPath, QString(), patient, intervals, span))
        return QByteArray();
    patient.patientAddress.setQString(QStringLiteral("東京都港区芝公園1-2-3"));
    patient.patientPhone = "03-1234-5678";
    patient.physicianName.setQString(QStringLiteral("佐藤 花子"));
    patient.physicianAddress.setQString(QStringLiteral("港区芝公園クリニック"));
    patient.physicianPhone = "03-9876-5432";
    patient.insurance = "12345678";
    patient.height = "171";
    patient.weight = "74";
    patient.medications.setQString(QStringLiteral("なし"));
    patient.comments.setQString(QStringLiteral("家庭血圧測定 2週間。就寝 22:00、起床 06:00。"));
    patient.day1SleepTime = "22:00";
    patient.day1WakeTime = "06:00";
    patient.day2SleepTime = "22:00";
    patient.day2WakeTime = "06:00";
    return formatCompanionFile(patient, intervals, span);
}

} // namespace ks318::synth
