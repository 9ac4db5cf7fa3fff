// Day-count dates, the first-opening scroll groups and window length
// (golden records.txt), the terminators forced into the patient record (its
// byte layout is the golden companion file of tst_companion), and CP932 text
// fields (golden cp932.txt): cutting to a capacity never splits a
// double-byte character, a field keeps its capacity and its terminator, and
// conversion to and from Unicode is lossless for Japanese text.
#include "records/daycount.h"
#include "records/records.h"
#include "records/textfield.h"
#include "support/testfiles.h"

#include <QtTest>

using namespace ks318;

class TstRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // "day Y M D": the day count, the date back, and the minutes of 23:59
    // that day; "scroll HOURS": the scroll groups of a first opening's window;
    // "hours DATE HOUR DATE HOUR": the window length from the first to the
    // last reading (golden records.txt).
    void table()
    {
        KS318_COMPARE_GOLDEN_TABLE("records.txt", [](const QByteArray& line) {
            const QList<QByteArray> f = line.split(' ');
            if (f[0] == "day") {
                const std::int64_t n = dayNumber(f[1].toInt(), f[2].toInt(), f[3].toInt());
                const CivilDate back = civilFromDayNumber(n);
                return QString::asprintf("%lld, back %d-%02d-%02d, 23:59 at minute %lld", qint64(n), back.year,
                                         back.month, back.day, qint64(minutesFromDayCount(double(n) + encodeTime(23, 59))))
                    .toUtf8();
            }
            if (f[0] == "scroll") {
                const AnalysisIntervals a = AnalysisIntervals::defaults(2026, 1, 1, 0, f[1].toUInt());
                return QString::asprintf("offset maximum %d, large step %d; length at %d, large step %d",
                                         int(a.scroll[0].maximum), int(a.scroll[0].largeStep), int(a.scroll[1].position),
                                         int(a.scroll[1].largeStep))
                    .toUtf8();
            }
            return QByteArray::number(int(defaultIntervalHours(f[1].toDouble(), f[2].toInt(), f[3].toDouble(), f[4].toInt())));
        });
    }

    void civilRoundTripOverCenturies()
    {
        for (std::int64_t n = 0; n < 80000; n += 7) {
            const CivilDate d = civilFromDayNumber(n);
            QCOMPARE(dayNumber(d.year, d.month, d.day), n);
        }
    }

    // A raw record without a NUL reads each text to its last byte, and packs
    // with the terminators forced; the binary fields keep their bytes.
    void patientRecordForcesTerminators()
    {
        std::array<std::uint8_t, 900> raw;
        raw.fill('A');
        const PatientRecord r = PatientRecord::unpack(raw.data());
        QCOMPARE((QList<std::size_t>{r.patientName.size(), r.physicianName.size(), r.medications.size(),
                                     r.comments.size()}),
                 (QList<std::size_t>{20, 62, 60, 400}));
        const auto packed = r.pack();
        for (std::size_t i = 6; i < packed.size(); ++i) {
            const bool forced = i == 59 || i == 194 || i == 454 || i == 855;
            QCOMPARE(int(packed[i]), forced ? 0 : int('A'));
        }
    }

    // "cut N TEXT": TEXT cut to N bytes; "field TEXT": TEXT in a field of 6
    // bytes (five of text); "bytes TEXT": its CP932 bytes and back.
    void textFields()
    {
        KS318_COMPARE_GOLDEN_TABLE("cp932.txt", [](const QByteArray& line) {
            const QList<QByteArray> f = line.split(' ');
            const qsizetype at = f[0] == "cut" ? f[0].size() + f[1].size() + 2 : f[0].size() + 1;
            const std::string bytes = toCp932(QString::fromUtf8(line.mid(at)));
            if (f[0] == "cut") {
                const std::string_view cut = cp932Cut(bytes, f[1].toULong());
                return QByteArray::number(qulonglong(cut.size())) + " bytes: " + fromCp932(cut).toUtf8();
            }
            if (f[0] == "field") {
                TextField<6> field;
                field.setQString(fromCp932(bytes));
                return QByteArray::number(qulonglong(field.size())) + " bytes, then " +
                       QByteArray::number(field.rawByte(5)) + ": " + field.toQString().toUtf8();
            }
            return QByteArray::fromStdString(bytes).toHex(' ') + ": " + fromCp932(bytes).toUtf8();
        });
    }

    void lonelyLeadByteIsOneCharacter()
    {
        // A lead byte at the very end (a truncated character) counts alone.
        const std::string bytes = std::string("ab") + char(0x82);
        QCOMPARE(cp932FitLength(bytes, 10), std::size_t(3));
        QCOMPARE(cp932CharCount(bytes), std::size_t(3));
    }
};

QTEST_GUILESS_MAIN(TstRecords)
#include "tst_records.moc"
