// Day counts, scroll groups, window lengths and CP932 text fields (golden
// records.txt, cp932.txt), the patient record's terminators, the string table
// and the language the environment asks for. (The texts themselves are
// checked where they show, in the golden files of the windows and the CLI.)
#include "records/daycount.h"
#include "records/language.h"
#include "records/records.h"
#include "records/shortdate.h"
#include "records/stringtable.h"
#include "records/textfield.h"
#include "support/testfiles.h"

using namespace ks318;

class TstRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tables()
    {
        const auto run = [](const QByteArray& line) {
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
            if (f[0] == "shown") {
                setLanguage(f[1] == "en" ? Language::English : Language::Japanese);
                const QString date = formatShortDate(QDate::fromString(QString::fromUtf8(f[2]), Qt::ISODate));
                setLanguage(Language::Japanese);
                return '"' + date.toUtf8() + '"';
            }
            if (f[0] == "hours")
                return QByteArray::number(
                    int(defaultIntervalHours(f[1].toDouble(), f[2].toInt(), f[3].toDouble(), f[4].toInt())));
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
        };
        KS318_COMPARE_GOLDEN_TABLE("records.txt", run);
        KS318_COMPARE_GOLDEN_TABLE("cp932.txt", run);
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
        for (std::size_t i = 6; i < packed.size(); ++i)  // forced: the last byte of the four texts
            QCOMPARE(int(packed[i]), i == 59 || i == 194 || i == 454 || i == 855 ? 0 : int('A'));
    }

    void lonelyLeadByteIsOneCharacter()
    {
        // A lead byte at the very end (a truncated character) counts alone.
        const std::string bytes = std::string("ab") + char(0x82);
        QCOMPARE(cp932FitLength(bytes, 10), std::size_t(3));
        QCOMPARE(cp932CharCount(bytes), std::size_t(3));
    }

    // Every entry has an English text with no Japanese in it, and the
    // files' CP932 form stays Japanese. "\n" becomes a line break, blanks
    // inside and at the end of a text stay, an unknown id has no text.
    void stringTable()
    {
        QVERIFY(!StringTable::text(223).contains(QLatin1Char('\\')));
        QVERIFY(StringTable::text(300).endsWith(QLatin1Char(' ')));
        QVERIFY(StringTable::text(114).contains(QLatin1String("       :")));
        QVERIFY(!StringTable::contains(9999) && StringTable::text(9999).isEmpty());
        QFile file(QStringLiteral(":/ks318/strings.tsv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QRegularExpression japanese(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        int entries = 0;
        for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            const int id = line.section(QLatin1Char('\t'), 0, 0).toInt();
            if (id <= 0)
                continue;
            ++entries;
            QVERIFY2(!japanese.match(StringTable::text(id, Language::English)).hasMatch(), qPrintable(line));
            QCOMPARE(StringTable::cp932(id), toCp932(StringTable::text(id, Language::Japanese)));
        }
        QVERIFY(entries > 150);
        QCOMPARE(StringTable::text(223, Language::English).count(QLatin1Char('\n')), 1);
        QCOMPARE(StringTable::text(223, Language::Japanese).count(QLatin1Char('\n')), 1);
        setLanguage(Language::English);
        QCOMPARE(StringTable::text(14), QStringLiteral("Error"));
        QCOMPARE(StringTable::cp932(14), toCp932(QStringLiteral("エラー")));
        setLanguage(Language::Japanese);
        QCOMPARE(StringTable::text(14), QStringLiteral("エラー"));
    }

    void languageOfTheEnvironment_data()
    {
        test::dataRows("environment-language.txt", {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG", "chosen"});
    }

    void languageOfTheEnvironment()
    {
        QByteArray saved[4];
        const char* const names[4] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
        for (int i = 0; i < 4; ++i) {
            saved[i] = qgetenv(names[i]);
            qputenv(names[i], test::cell(names[i]).toUtf8());
        }
        const Language language = languageOfEnvironment();
        for (int i = 0; i < 4; ++i)
            qputenv(names[i], saved[i]);
        QCOMPARE(language == Language::Japanese ? "ja" : "other", test::cell("chosen"));
    }
};

QTEST_GUILESS_MAIN(TstRecords)
#include "tst_records.moc"
