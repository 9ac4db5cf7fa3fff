// The BP data file: decoding of record lines for every recorder type and BP
// mode, the sections of the file, the reading cap, analysis windows and
// day/night classes, and the rewrite.
#include "records/bpdatafile.h"
#include "records/filenames.h"
#include "support/synthetic.h"
#include "session/session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <random>

using namespace ks318;

namespace {

// The example line of the file format: 31 Dec 2009 23:59, oscillometric pulse
// pressure 90, DIA 80, pulse 70, error byte XX, status 0x12, recorder id 1.
QByteArray line70(const char* errorByte = "00", const char* year = "6D")
{
    return QByteArray("KS-318  700000000100") + year + "0C1F173B5A5046" + errorByte + "1201";
}

// Korotkoff: pp 50, DIA 80, pulse 64, status 0x10; 2026-11-02 08:30;
// oscillometric: pp 60, DIA 75, pulse 65, status 0; recorder id 2.
QByteArray line21(const char* korError, const char* oscError)
{
    return QByteArray("RV5721  40325040") + korError + "107E0B02081E3C4B41" + oscError + "0002";
}

QByteArray readFileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray hexBytes(const char* format, int a, int b = 0, int c = 0, int d = 0, int e = 0)
{
    return QString::asprintf(format, a, b, c, d, e).toLatin1();
}

// `count` valid record lines seven minutes apart from 2026-11-02 00:00.
QByteArray records(int count)
{
    QByteArray out;
    const std::int64_t start = minuteNumber(2026, 11, 2, 0, 0);
    for (int i = 0; i < count; ++i) {
        const std::int64_t t = start + i * 7;
        const CivilDate date = civilFromDayNumber(t / 1440);
        out += "KS-318  700000000100" +
               hexBytes("%02X%02X%02X%02X%02X", date.year - 1900, date.month, date.day, int(t % 1440 / 60),
                        int(t % 60)) +
               "3C5A46000001\n";
    }
    return out;
}

const QByteArray kPatient = "#PATIENT\nName:PATIENT\nIDNumber:\nAddress:\nPhone:\nSSNumber:\nMedicare:\nInsurance:\n"
                            "Age:\nSex:\nHeight:\nWeight:\nComment1:\n       2:\n       3:\n#END\n#COMMENTS\n1:first\n#END\n";

} // namespace

class TstBpDataFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Session session_;

    const SessionData& read(const QByteArray& bytes, BpMode mode = BpMode::OscillometricOnly,
                            const QString& name = QStringLiteral("T.DAT"))
    {
        const QString path = dir_.filePath(name);
        writeBytes(path, bytes);
        session_ = Session();
        session_.allocateData();
        session_.state.preparedFilePath = path;
        readBpDataFile(session_, path, mode);
        return *session_.data();
    }

private Q_SLOTS:
    void parseHexDigits_data()
    {
        QTest::addColumn<QByteArray>("chars");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("value");
        QTest::newRow("upper") << QByteArray("FF") << 2 << 255;
        QTest::newRow("lower") << QByteArray("ff") << 2 << 255;
        QTest::newRow("mixed") << QByteArray("aB") << 2 << 0xAB;
        QTest::newRow("zero") << QByteArray("00") << 2 << 0;
        QTest::newRow("garbage counts 0") << QByteArray("G1") << 2 << 1;
        QTest::newRow("blanks") << QByteArray("  ") << 2 << 0;
        QTest::newRow("one digit") << QByteArray("9Z") << 1 << 9;
        QTest::newRow("four digits") << QByteArray("1f2E") << 4 << 0x1F2E;
        QTest::newRow("high bit bytes") << QByteArray("\xff\x80") << 2 << 0;
    }

    void parseHexDigits()
    {
        QFETCH(QByteArray, chars);
        QFETCH(int, count);
        QFETCH(int, value);
        QCOMPARE(int(parseHex(chars.constData(), count)), value);
    }

    void recorderTypeFromModelId_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("type");
        QTest::newRow("KS-318P") << QByteArray("KS-318  700000") << 70;
        QTest::newRow("RV5730") << QByteArray("RV5730  300000") << 30;
        QTest::newRow("RV5721 carries 40") << QByteArray("RV5721  400000") << 21;
        QTest::newRow("RV5720") << QByteArray("RV5720  200000") << 20;
        QTest::newRow("RV5725 is 20") << QByteArray("RV5725  250000") << 20;
        QTest::newRow("other code") << QByteArray("KS-318  710000") << 20;
        QTest::newRow("short") << QByteArray("KS-318") << 20;
    }

    void recorderTypeFromModelId()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, type);
        QCOMPARE(code(recorderTypeOfLine(std::string_view(line.constData(), std::size_t(line.size())))), type);
    }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("values");   // sys dia map pulse dp
        QTest::addColumn<QString>("texts");    // five value texts
        QTest::addColumn<QString>("status");   // method methodText eFlag errorCode errorText excluded excludedText
        QTest::addColumn<QString>("comment");

        QTest::newRow("70 valid E flag") << line70() << 70 << 0 << "170 80 110 70 119" << "170 80 110 70 119"
                                         << "0 O E 0 -- 0 -" << "";
        QTest::newRow("70 error 86") << line70("86") << 70 << 0 << "0 0 0 0 0" << "*** *** *** *** ***"
                                     << "0 O - 6 6 0 x" << "Inflation > 320 mmHg";
        QTest::newRow("70 excluded 80") << line70("80") << 70 << 0 << "170 80 110 70 119" << "170 80 110 70 119"
                                        << "0 O E 0 -- 1 X" << "";
        QTest::newRow("70 error 5b hex") << line70("5B") << 70 << 0 << "0 0 0 0 0" << "*** *** *** *** ***"
                                         << "0 O - 91 5b 0 x" << "安全回路作動";
        QTest::newRow("30 error 91 decimal")
            << QByteArray("RV5730  300000000100") + "6D0C1F173B5A50465B1201" << 30 << 0 << "0 0 0 0 0"
            << "*** *** *** *** ***" << "0 O - 91 91 0 x" << "安全回路作動";

        QTest::newRow("21 mode 0") << line21("00", "00") << 21 << 0 << "135 75 95 65 87" << "135 75 95 65 87"
                                   << "0 O - 0 -- 0 -" << "";
        QTest::newRow("21 mode 1") << line21("00", "00") << 21 << 1 << "135 75 95 65 87" << "135 75 95 65 87"
                                   << "0 O - 0 -- 0 -" << "";
        QTest::newRow("21 mode 2") << line21("00", "00") << 21 << 2 << "130 80 96 64 83" << "130 80 96 64 83"
                                   << "1 K E 0 -- 0 -" << "";
        QTest::newRow("21 mode 3") << line21("00", "00") << 21 << 3 << "130 80 96 64 83" << "130 80 96 64 83"
                                   << "1 K E 0 -- 0 -" << "";

        QTest::newRow("21 osc failed mode 0") << line21("00", "0A") << 21 << 0 << "0 0 0 0 0"
                                              << "*** *** *** *** ***" << "0 O - 10 a 0 x" << "体動が大きすぎます";
        QTest::newRow("21 osc failed mode 1 substitutes K")
            << line21("00", "0A") << 21 << 1 << "130 80 96 64 83" << "130 80 96 64 83" << "1 *K E 0 -- 0 -" << "";
        QTest::newRow("21 osc failed mode 2") << line21("00", "0A") << 21 << 2 << "130 80 96 64 83"
                                              << "130 80 96 64 83" << "1 K E 0 -- 0 -" << "";

        QTest::newRow("21 kor failed mode 0") << line21("14", "00") << 21 << 0 << "135 75 95 65 87"
                                              << "135 75 95 65 87" << "0 O - 0 -- 0 -" << "";
        QTest::newRow("21 kor failed mode 2") << line21("14", "00") << 21 << 2 << "0 0 0 0 0"
                                              << "*** *** *** *** ***" << "1 K - 20 14 0 x"
                                              << "Pulse<30 or >200 BPM";
        QTest::newRow("21 kor failed mode 3 substitutes O")
            << line21("14", "00") << 21 << 3 << "135 75 95 65 87" << "135 75 95 65 87" << "0 *O - 0 -- 0 -" << "";

        QTest::newRow("21 both failed mode 1") << line21("14", "0A") << 21 << 1 << "0 0 0 0 0"
                                               << "*** *** *** *** ***" << "0 O - 10 a 0 x" << "体動が大きすぎます";
        QTest::newRow("21 both failed mode 3") << line21("14", "0A") << 21 << 3 << "0 0 0 0 0"
                                               << "*** *** *** *** ***" << "1 K - 20 14 0 x"
                                               << "Pulse<30 or >200 BPM";

        QTest::newRow("21 kor excluded mode 2") << line21("80", "00") << 21 << 2 << "130 80 96 64 83"
                                                << "130 80 96 64 83" << "1 K E 0 -- 1 X" << "";
        QTest::newRow("21 kor excluded mode 0") << line21("80", "00") << 21 << 0 << "135 75 95 65 87"
                                                << "135 75 95 65 87" << "0 O - 0 -- 0 -" << "";
        QTest::newRow("21 kor excluded substituted mode 1")
            << line21("80", "0A") << 21 << 1 << "130 80 96 64 83" << "130 80 96 64 83" << "1 *K E 0 -- 1 X" << "";
        QTest::newRow("21 osc excluded substituted mode 3")
            << line21("14", "80") << 21 << 3 << "135 75 95 65 87" << "135 75 95 65 87" << "0 *O - 0 -- 1 X" << "";

        QTest::newRow("20 mode 2") << QByteArray("RV5720  203250400010") + "7E0B02081E" << 20 << 2
                                   << "130 80 96 64 83" << "130 80 96 64 83" << "1 K E 0 -- 0 -" << "";
        QTest::newRow("double product") << QByteArray("KS-318  7000000001007E0B02081E4B7D96000001") << 70 << 0
                                        << "200 125 150 150 300" << "200 125 150 150 300" << "0 O - 0 -- 0 -" << "";
        QTest::newRow("wide values are not truncated")
            << QByteArray("KS-318  7000000001007E0B02081EFFFFFF000001") << 70 << 0 << "510 255 340 255 1300"
            << "510 255 340 255 1300" << "0 O - 0 -- 0 -" << "";
    }

    void decode()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, type);
        QFETCH(int, mode);
        QFETCH(QString, values);
        QFETCH(QString, texts);
        QFETCH(QString, status);
        QFETCH(QString, comment);

        BpReading r;
        std::uint8_t id = 0;
        decodeRecordLine(std::string_view(line.constData(), std::size_t(line.size())), BpMode(mode),
                         RecorderType(type), r, id);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5").arg(r.sys).arg(r.dia).arg(r.map).arg(r.pulse).arg(r.doubleProduct),
                 values);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(r.sysText.toQString(), r.diaText.toQString(), r.mapText.toQString(),
                          r.pulseText.toQString(), r.dpText.toQString()),
                 texts);
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                     .arg(r.method)
                     .arg(r.methodText.toQString(), r.eFlagText.toQString())
                     .arg(r.errorCode)
                     .arg(r.errorText.toQString())
                     .arg(r.excluded)
                     .arg(r.excludedText.toQString()),
                 status);
        QCOMPARE(r.comment.toQString(), comment);
        QVERIFY(r.errorCode != 0 ? r.excluded == 0 && r.excludedText == "x" : true);
    }

    void exampleLineFields()
    {
        BpReading r;
        std::uint8_t id = 0;
        const QByteArray line = line70();
        decodeRecordLine(line.constData(), BpMode::OscillometricOnly, RecorderType::Ks318, r, id);
        QCOMPARE(int(r.year), 2009);
        QCOMPARE(int(r.month), 12);
        QCOMPARE(int(r.day), 31);
        QCOMPARE(int(r.hour), 23);
        QCOMPARE(int(r.minute), 59);
        QCOMPARE(int(r.oscPulsePressure), 90);
        QCOMPARE(int(r.oscDia), 80);
        QCOMPARE(int(r.oscPulse), 70);
        QCOMPARE(int(r.oscStatus), 0x12);
        QCOMPARE(int(r.korError), 1);
        QCOMPARE(int(id), 1);

        const QByteArray twenty = "RV5720  203250400010" "7E0B02081E" "FFFF";
        decodeRecordLine(twenty.constData(), BpMode::KorotkoffOnly, RecorderType::Rv5720, r, id);
        QCOMPARE(int(id), 1);  // the short line carries no recorder id
        QCOMPARE(int(r.oscDia), 0);
    }

    void yearRule_data()
    {
        QTest::addColumn<QByteArray>("yearByte");
        QTest::addColumn<int>("year");
        QTest::newRow("09") << QByteArray("09") << 2009;
        QTest::newRow("00") << QByteArray("00") << 2000;
        QTest::newRow("4F") << QByteArray("4F") << 2079;
        QTest::newRow("50") << QByteArray("50") << 1980;
        QTest::newRow("6D") << QByteArray("6D") << 2009;
        QTest::newRow("7E") << QByteArray("7E") << 2026;
        QTest::newRow("FF") << QByteArray("FF") << 2155;
    }

    void yearRule()
    {
        QFETCH(QByteArray, yearByte);
        QFETCH(int, year);
        BpReading r;
        std::uint8_t id = 0;
        decodeRecordLine(line70("00", yearByte.constData()).constData(), BpMode::OscillometricOnly,
                         RecorderType::Ks318, r, id);
        QCOMPARE(int(r.year), year);
    }

    void errorTexts_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("errorText");
        QTest::addColumn<QString>("comment");
        QTest::newRow("1") << 1 << "1" << "ﾏｲｸ破損が考えられます";
        QTest::newRow("2") << 2 << "2" << "ｴｱｰが漏れています";
        QTest::newRow("3 has none") << 3 << "3" << "";
        QTest::newRow("4") << 4 << "4" << "減電圧状態";
        QTest::newRow("5") << 5 << "5" << "排気が異常です";
        QTest::newRow("6") << 6 << "6" << "Inflation > 320 mmHg";
        QTest::newRow("7") << 7 << "7" << "STOP ｷｰが押されました";
        QTest::newRow("8") << 8 << "8" << "血圧判定不能";
        QTest::newRow("9 other") << 9 << "9" << "血圧測定エラー";
        QTest::newRow("10") << 10 << "a" << "体動が大きすぎます";
        QTest::newRow("20") << 20 << "14" << "Pulse<30 or >200 BPM";
        QTest::newRow("21") << 21 << "15" << "DIA<40 or >160 mmHg";
        QTest::newRow("33") << 33 << "21" << "DIA<40 or >160 mmHg";
        QTest::newRow("22") << 22 << "16" << "SYS<60 or >280 mmHg";
        QTest::newRow("34") << 34 << "22" << "SYS<60 or >280 mmHg";
        QTest::newRow("23") << 23 << "17" << "SYS-DIA < 10 or >150 mmHg";
        QTest::newRow("30") << 30 << "1e" << "測定時間超過";
        QTest::newRow("32") << 32 << "20" << "Pulse<35 or >200 BPM";
        QTest::newRow("35") << 35 << "23" << "SYS-DIA < 10 mmHg";
        QTest::newRow("36") << 36 << "24" << "SYS-DIA > 150 mmHg";
        QTest::newRow("91") << 91 << "5b" << "安全回路作動";
        QTest::newRow("127") << 127 << "7f" << "血圧測定エラー";
    }

    void errorTexts()
    {
        QFETCH(int, code);
        QFETCH(QString, errorText);
        QFETCH(QString, comment);
        BpReading r;
        std::uint8_t id = 0;
        const QByteArray hex = hexBytes("%02X", code);
        decodeRecordLine(line70(hex.constData()).constData(), BpMode::OscillometricOnly, RecorderType::Ks318, r, id);
        QCOMPARE(int(r.errorCode), code);
        QCOMPARE(r.errorText.toQString(), errorText);
        QCOMPARE(r.comment.toQString(), comment);
        QCOMPARE(r.sysText.toQString(), QStringLiteral("***"));
    }

    void shortLinesReadMissingColumnsAsZero()
    {
        // A code-20 file whose later lines are short: what is missing reads as 0.
        BpReading r;
        std::uint8_t id = 9;
        decodeRecordLine("KS-318  70000000010", BpMode::OscillometricOnly, RecorderType::Ks318, r, id);
        QCOMPARE(int(r.year), 2000);
        QCOMPARE(int(r.oscDia), 0);
        QCOMPARE(int(id), 0);
        QCOMPARE(r.errorText.toQString(), QStringLiteral("--"));
    }

    void sections()
    {
        const QByteArray file = line70() + "\n" + line70("80") + "\n" + line70("06") + "\n" +
                                "#PATIENT\nName:" + QByteArray("\x8e\x52\x93\x63") +
                                "\nAddress:Tokyo\nComment1:one\n       2:two\n       3:\nAge:58\nUnknown:x\n#END\n"
                                "#COMMENTS\n0:zero\n3:third\n2:\n4:beyond\nx:bad\n 1:first\n#END\n9:after end\n";
        const SessionData& d = read(file);
        QCOMPARE(int(d.loaded), 1);
        QCOMPARE(int(d.readingCount()), 3);
        QCOMPARE(d.name.toQString(), QStringLiteral("山田"));
        QCOMPARE(d.address.view(), std::string_view("Tokyo"));
        QCOMPARE(d.age.view(), std::string_view("58"));
        QCOMPARE(d.allComments.view(), std::string_view("one  two"));
        QCOMPARE(d.readings[0].comment.view(), std::string_view("first"));
        QCOMPARE(d.readings[1].comment.view(), std::string_view(""));
        QCOMPARE(d.readings[2].comment.view(), std::string_view("third"));  // replaces the error text
        QCOMPARE(d.bpModeName.view(), std::string_view("Oscillometric only"));
        QCOMPARE(int(d.recordingHours), 24);
    }

    void fileText_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("comment");  // of the first reading
        const QByteArray two = line70() + "\n" + line70() + "\n";
        const std::string longComment = toCp932(QStringLiteral("服薬後頭痛ありめまいあり測定前に運動した"));
        QByteArray padded = line70();
        padded += QByteArray(81 - padded.size(), 'Z');

        QTest::newRow("no patient section") << two << 2 << "" << "";
        QTest::newRow("foreign lines skipped") << "header\n\n" + line70() + "\n;note\n" + line70() + "\n#PATIENT\n" << 2
                                               << "" << "";
        QTest::newRow("comment cut on a character boundary")
            << line70() + "\n#PATIENT\n#END\n#COMMENTS\n1:" + QByteArray::fromStdString(longComment) + "\n#END\n" << 1
            << "" << "服薬後頭痛ありめまいあり測定";
        QTest::newRow("patient value cut to its field")
            << line70() + "\n#PATIENT\nName:ABCDEFGHIJKLMNOPQRSTUVWXYZ\n#END\n" << 1 << "ABCDEFGHIJKLMNOPQRST" << "";
        // Past 79 characters the rest of a line arrives as a line of its own.
        for (const int length : {79, 80, 81, 158}) {
            QByteArray first = line70();
            first += QByteArray(length - first.size(), 'Z');
            QTest::addRow("%d-character line", length) << first + "\n" + line70() + "\n#PATIENT\nName:n\n" << 2 << "n"
                                                        << "";
        }
        QTest::newRow("record continuing a long line") << QByteArray(79, '-') + line70() + "\n" << 1 << "" << "";
        QTest::newRow("#COMMENTS must be a whole line")
            << line70() + "\n#PATIENT\n#COMMENTSX\n1:no\n#COMMENTS\n1:yes\n#END\n" << 1 << "" << "yes";
    }

    void fileText()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, count);
        QFETCH(QString, name);
        QFETCH(QString, comment);
        const SessionData& d = read(file);
        QCOMPARE(int(d.readingCount()), count);
        QCOMPARE(d.name.toQString(), name);
        QCOMPARE(d.readings[0].comment.toQString(), comment);
        // Without a companion file window 1 opens at the first reading.
        QCOMPARE(int(d.counters.inWindow1), count);
        QCOMPARE(int(d.readings[0].windowMembership), 2);
        QVERIFY(!d.unreadTail);
    }

    void firstLineDecidesTheType()
    {
        const QByteArray file = "RV5725  25325040001009000000000000000000\n" + line70() + "\n";
        const SessionData& d = read(file, BpMode::KorotkoffOnly);
        QCOMPARE(code(session_.state.recorderType), 20);
        QCOMPARE(int(d.readingCount()), 2);
        // The KS-318 line is decoded as a Korotkoff-only line: no oscillometric values.
        QCOMPARE(int(d.readings[1].oscDia), 0);
        QCOMPARE(session_.state.firstRecordLine, std::string("RV5725  25325040001009000000000000000000"));
    }

    void crLfFilesReadAlike()
    {
        QByteArray file = line70() + "\n" + line70("80") + "\n#PATIENT\nName:Hanako\nComment1:c\n#END\n"
                                                           "#COMMENTS\n1:crlf\n#END\n";
        const SessionData& lf = read(file);
        const QByteArray lfText = formatBpDataFile(lf, RecorderType::Ks318);
        file.replace("\n", "\r\n");
        const SessionData& crlf = read(file);
        QCOMPARE(crlf.name.view(), std::string_view("Hanako"));
        QCOMPARE(crlf.readings[0].comment.view(), std::string_view("crlf"));
        QCOMPARE(formatBpDataFile(crlf, RecorderType::Ks318), lfText);
    }

    void readingCap_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("withSections");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("unreadTail");
        QTest::newRow("1827 with sections") << 1827 << true << 1827 << false;
        QTest::newRow("1828 alone") << 1828 << false << 1828 << false;
        QTest::newRow("1828 with sections") << 1828 << true << 1828 << true;
        QTest::newRow("1828 with empty sections") << 1828 << false << 1828 << false;
        QTest::newRow("1830") << 1830 << false << 1828 << true;
    }

    void readingCap()
    {
        QFETCH(int, lines);
        QFETCH(bool, withSections);
        QFETCH(int, count);
        QFETCH(bool, unreadTail);
        const SessionData& d = read(records(lines) + (withSections ? kPatient : QByteArray()));
        QCOMPARE(int(d.readingCount()), count);
        QCOMPARE(d.unreadTail, unreadTail);
        // At the cap the patient and comment sections are not read.
        QCOMPARE(d.name.empty(), count == 1828 || !withSections);
        QCOMPARE(d.readings[0].comment.view() == "first", withSections && count < 1828);
    }

    void rewriteRefusesAPartlyReadFile()
    {
        const QByteArray original = records(1830) + kPatient;
        read(original);
        session_.data()->readings[0].excluded = 1;
        QVERIFY(!rewriteBpDataFile(session_));
        QCOMPARE(readFileBytes(session_.state.preparedFilePath), original);
    }

    void timeOrder_data()
    {
        QTest::addColumn<QByteArray>("secondTime");  // hour and minute bytes of the second reading
        QTest::addColumn<bool>("error");
        QTest::newRow("same minute") << QByteArray("173B") << false;
        QTest::newRow("one minute earlier") << QByteArray("173A") << true;
        QTest::newRow("later") << QByteArray("1800") << false;
    }

    void timeOrder()
    {
        QFETCH(QByteArray, secondTime);
        QFETCH(bool, error);
        QByteArray second = line70();
        second.replace(26, 4, secondTime);
        read(line70() + "\n" + second + "\n");
        QCOMPARE(session_.state.timeOrderError, error);
    }

    void periodClass_data()
    {
        QTest::addColumn<int>("sleep");
        QTest::addColumn<int>("wake");
        QTest::addColumn<int>("time");
        QTest::addColumn<int>("periodClass");
        QTest::newRow("22-06 at 23:30") << 22 * 60 << 6 * 60 << 23 * 60 + 30 << 4;
        QTest::newRow("22-06 at 05:59") << 22 * 60 << 6 * 60 << 5 * 60 + 59 << 4;
        QTest::newRow("22-06 at 06:00") << 22 * 60 << 6 * 60 << 6 * 60 << 3;
        QTest::newRow("22-06 at 22:00") << 22 * 60 << 6 * 60 << 22 * 60 << 4;
        QTest::newRow("22-06 at 21:59") << 22 * 60 << 6 * 60 << 21 * 60 + 59 << 3;
        QTest::newRow("01-05 at 00:30") << 60 << 5 * 60 << 30 << 3;
        QTest::newRow("01-05 at 01:00") << 60 << 5 * 60 << 60 << 4;
        QTest::newRow("01-05 at 05:00") << 60 << 5 * 60 << 5 * 60 << 3;
        QTest::newRow("unset") << -1 << -1 << 3 * 60 << 3;
    }

    void periodClass()
    {
        QFETCH(int, sleep);
        QFETCH(int, wake);
        QFETCH(int, time);
        QFETCH(int, periodClass);
        QByteArray line = line70();
        line.replace(26, 4, hexBytes("%02X%02X", time / 60, time % 60));
        const QString path = dir_.filePath(QStringLiteral("P.DAT"));
        writeBytes(path, line + "\n");
        Session s;
        s.allocateData();
        s.state.sleepHour = sleep < 0 ? -1 : sleep / 60;
        s.state.sleepMinute = sleep < 0 ? -1 : sleep % 60;
        s.state.wakeHour = wake < 0 ? -1 : wake / 60;
        s.state.wakeMinute = wake < 0 ? -1 : wake % 60;
        QVERIFY(readBpDataFile(s, path, BpMode::OscillometricOnly));
        const SessionData& d = *s.data();
        QCOMPARE(int(d.readings[0].periodClass), periodClass);
        QCOMPARE(int(d.counters.awakeInWindow1), periodClass == 3 ? 1 : 0);
        QCOMPARE(int(d.counters.asleepInWindow1), periodClass == 4 ? 1 : 0);
        QCOMPARE(int(d.counters.validAsleep), periodClass == 4 ? 1 : 0);
    }

    void windowsFromAnalysisIntervals()
    {
        // Window 1: 2026-11-02 08:00 for 10 hours. Readings at 07:59, 08:00,
        // an error reading at 12:00, 17:59 (excluded) and 18:00.
        const QByteArray file("KS-318  7000000001007E0B02073B3C5A46000001\n"
                          "KS-318  7000000001007E0B0208003C5A46000001\n"
                          "KS-318  7000000001007E0B020C003C5A460A0001\n"
                          "KS-318  7000000001007E0B02113B3C5A46800001\n"
                          "KS-318  7000000001007E0B0212003C5A46000001\n");
        const QString path = dir_.filePath(QStringLiteral("W.DAT"));
        writeBytes(path, file);
        Session s;
        s.allocateData();
        s.intervals = AnalysisIntervals::defaults(2026, 11, 2, 8, 10);
        s.intervals.valid = 1;
        QVERIFY(readBpDataFile(s, path, BpMode::OscillometricOnly));
        const SessionData& d = *s.data();
        const int membership[] = {0, 2, 2, 2, 0};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(int(d.readings[std::size_t(i)].windowMembership), membership[i]);
            QCOMPARE(int(d.readings[std::size_t(i)].periodClass), membership[i] ? 3 : 0);
        }
        const PeriodCounters& c = d.counters;
        QCOMPARE(int(c.readingCount), 5);
        QCOMPARE(int(c.inWindow1), 3);
        QCOMPARE(int(c.inWindow2), 3);
        QCOMPARE(int(c.awakeInWindow1), 3);
        QCOMPARE(int(c.asleepInWindow1), 0);
        QCOMPARE(int(c.validTotal), 3);
        QCOMPARE(int(c.validInWindow1), 1);
        QCOMPARE(int(c.validInWindow2), 1);
        QCOMPARE(int(c.validAwake), 1);
    }

    void missingFile()
    {
        Session s;
        s.allocateData();
        QVERIFY(!readBpDataFile(s, dir_.filePath(QStringLiteral("NONE.DAT")), BpMode::OscillometricOnly));
        QCOMPARE(int(s.data()->loaded), 0);
        QCOMPARE(int(s.data()->readingCount()), 0);
        Session none;
        QVERIFY(!readBpDataFile(none, dir_.filePath(QStringLiteral("NONE.DAT")), BpMode::OscillometricOnly));
    }

    void memberNamesFollowTheBaseName()
    {
        QCOMPARE(replaceExtension(QStringLiteral("/a.b/NAME.p30"), QStringLiteral(".DAT")),
                 QStringLiteral("/a.b/NAME.DAT"));
        QCOMPARE(replaceExtension(QStringLiteral("/a.b/NAME"), QStringLiteral(".DAT")),
                 QStringLiteral("/a.b/NAME.DAT"));
        QCOMPARE(replaceExtension(QStringLiteral("x.y.csv"), QStringLiteral(".DAT")), QStringLiteral("x.y.DAT"));
        // The reader finds a lower-case .dat when it is asked for NAME.p30.
        writeBytes(dir_.filePath(QStringLiteral("lower.dat")), line70() + "\n");
        Session s;
        s.allocateData();
        QVERIFY(readBpDataFile(s, dir_.filePath(QStringLiteral("lower.p30")), BpMode::OscillometricOnly));
        QCOMPARE(int(s.data()->readingCount()), 1);
    }

    void roundTrip_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("count");
        QTest::newRow("70 small") << 70 << 0 << 5;
        QTest::newRow("70 large") << 70 << 0 << 1500;
        QTest::newRow("70 full") << 70 << 0 << 1828;
        QTest::newRow("30") << 30 << 0 << 300;
        QTest::newRow("21") << 21 << 2 << 300;
        QTest::newRow("20") << 20 << 2 << 300;
    }

    void roundTrip()
    {
        QFETCH(int, type);
        QFETCH(int, mode);
        QFETCH(int, count);
        synth::Options o;
        o.type = RecorderType(type);
        o.count = count;
        o.errorEvery = 13;
        o.excludedEvery = 7;
        // A full file's sections are never read, so it holds none to lose.
        o.commentEvery = count < kMaxReadings ? 5 : 0;
        o.patient = count < kMaxReadings;
        const QByteArray file = synth::makeFile(o);
        const SessionData& d = read(file, BpMode(mode));
        QCOMPARE(int(d.readingCount()), count);
        QCOMPARE(code(session_.state.recorderType), type);
        QVERIFY(rewriteBpDataFile(session_));
        QCOMPARE(readFileBytes(session_.state.preparedFilePath), file);
    }

    void demoRoundTrip()
    {
        const QByteArray demo = synth::demoFile();
        read(demo);
        QCOMPARE(formatBpDataFile(*session_.data(), session_.state.recorderType), demo);
        const QString bundled = qEnvironmentVariable("KS318_SAMPLES") + QStringLiteral("/DEMO.DAT");
        if (QFile::exists(bundled))
            QCOMPARE(readFileBytes(bundled), demo);
    }

    void exclusionLandsOnTheDisplayedMethod_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("70 valid") << line70() << 0 << QByteArray("KS-318  7000000001006D0C1F173B5A5046801201");
        QTest::newRow("70 taken back") << line70("80") << 0 << line70();
        QTest::newRow("70 error stays error")
            << line70("86") << 0 << QByteArray("KS-318  7000000001006D0C1F173B5A5046061201");
        QTest::newRow("21 Korotkoff") << line21("00", "00") << 2
                                      << QByteArray("RV5721  4032504080107E0B02081E3C4B41000002");
        QTest::newRow("21 oscillometric") << line21("00", "00") << 0
                                          << QByteArray("RV5721  4032504000107E0B02081E3C4B41800002");
        QTest::newRow("21 substituted Korotkoff")
            << line21("00", "0A") << 1 << QByteArray("RV5721  4032504080107E0B02081E3C4B410A0002");
    }

    void exclusionLandsOnTheDisplayedMethod()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, mode);
        QFETCH(QByteArray, written);
        read(line + "\n", BpMode(mode));
        BpReading& r = session_.data()->readings[0];
        if (r.errorCode == 0)
            r.excluded = r.excluded ? 0 : 1;  // exclude, or take an exclusion back
        QVERIFY(rewriteBpDataFile(session_));
        const QByteArray out = readFileBytes(session_.state.preparedFilePath);
        QCOMPARE(out.left(out.indexOf('\n')), written);
    }

    void rewriteWritesSectionsAndOnlyValidComments()
    {
        read(line70() + "\n" + line70("06") + "\n");
        SessionData& d = *session_.data();
        d.readings[0].comment = "line\nbreak";
        d.readings[1].comment = "typed on an error";
        d.name.setQString(QStringLiteral("山田"));
        QVERIFY(rewriteBpDataFile(session_));
        const QByteArray expected = line70() + "\n" + line70("06") + "\n" +
                                    "#PATIENT\nName:\x8e\x52\x93\x63\nIDNumber:\nAddress:\nPhone:\nSSNumber:\n"
                                    "Medicare:\nInsurance:\nAge:\nSex:\nHeight:\nWeight:\nComment1:\n       2:\n"
                                    "       3:\n#END\n#COMMENTS\n1:line break\n#END\n";
        QCOMPARE(readFileBytes(session_.state.preparedFilePath), expected);
    }

    void failedRewriteLeavesNothingBehind()
    {
        read(line70() + "\n");
        session_.state.preparedFilePath = dir_.filePath(QStringLiteral("missing/dir/T.DAT"));
        QVERIFY(!rewriteBpDataFile(session_));
        QVERIFY(!QFile::exists(session_.state.preparedFilePath));
        Session empty;
        QVERIFY(!rewriteBpDataFile(empty));
    }

    void robustAgainstDamagedFiles()
    {
        // Mutations of a real file: truncation, random bytes, NULs, long and
        // short lines. Nothing may crash or read out of bounds, and the
        // counters must stay consistent.
        const QByteArray base = synth::makeFile(synth::Options{});
        std::mt19937 rng(20261206);
        for (int round = 0; round < 150; ++round) {
            QByteArray file = base;
            const int mutations = 1 + int(rng() % 40);
            for (int m = 0; m < mutations && !file.isEmpty(); ++m) {
                const int pos = int(rng() % unsigned(std::max<qsizetype>(1, file.size())));
                switch (rng() % 5) {
                case 0: file[pos] = char(rng() % 256); break;
                case 1: file.insert(pos, QByteArray(int(rng() % 120), char(rng() % 256))); break;
                case 2: file.remove(pos, int(rng() % 60)); break;
                case 3: file[pos] = '\n'; break;
                case 4: file.truncate(pos); break;
                }
            }
            if (round % 7 == 0) {
                file.clear();
                for (int i = 0; i < 64; ++i)
                    file.append(char(rng() % 256));
            }
            for (int mode = 0; mode < 4; ++mode) {
                const SessionData& d = read(file, BpMode(mode));
                const PeriodCounters& c = d.counters;
                QVERIFY(c.readingCount <= std::uint32_t(kMaxReadings));
                QVERIFY(c.validTotal <= c.readingCount);
                QVERIFY(c.inWindow2 <= c.inWindow1 && c.inWindow1 <= c.readingCount);
                QCOMPARE(c.awakeInWindow1 + c.asleepInWindow1, c.inWindow1);
                QVERIFY(c.validInWindow1 <= c.inWindow1);
                for (std::uint32_t i = 0; i < c.readingCount; ++i) {
                    const BpReading& r = d.readings[i];
                    QVERIFY(r.comment.size() <= std::size_t(kMaxCommentBytes));
                    QVERIFY(r.errorCode == 0 || r.excluded == 0);
                }
                formatBpDataFile(d, session_.state.recorderType);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TstBpDataFile)
#include "tst_bpdatafile.moc"
