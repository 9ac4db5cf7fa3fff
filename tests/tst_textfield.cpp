// CP932 text fields: cutting to a capacity never splits a double-byte
// character, and conversion to and from Unicode is lossless for Japanese text.
#include "records/textfield.h"

#include <QtTest>

using namespace ks318;

class TstTextField : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cutKeepsCharactersWhole_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxBytes");
        QTest::addColumn<QString>("expected");

        QTest::newRow("ascii cut") << "abcdef" << 4 << "abcd";
        QTest::newRow("kanji odd drops half") << "山田太郎" << 5 << "山田";
        QTest::newRow("mixed ends on single") << "a山b田" << 4 << "a山b";
        QTest::newRow("mixed would split") << "a山田" << 4 << "a山";
        QTest::newRow("half-width kana single byte") << "ﾏｲｸ破損" << 4 << "ﾏｲｸ";
        QTest::newRow("29-byte comment of kanji") << "服薬後頭痛ありめまいあり測定前に運動した" << 29
                                                  << "服薬後頭痛ありめまいあり測定";
        QTest::newRow("one") << "山" << 1 << "";
    }

    void cutKeepsCharactersWhole()
    {
        QFETCH(QString, text);
        QFETCH(int, maxBytes);
        QFETCH(QString, expected);
        const std::string bytes = toCp932(text);
        const std::string_view cut = cp932Cut(bytes, std::size_t(maxBytes));
        QVERIFY(cut.size() <= std::size_t(maxBytes));
        QCOMPARE(fromCp932(cut), expected);
    }

    void fieldAssignRespectsCapacity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // TextField<6> holds five bytes of text.
        QTest::newRow("too long") << "abcdefgh" << "abcde";
        QTest::newRow("kanji") << "あいう" << "あい";
        QTest::newRow("kanji after one byte") << "xあいう" << "xあい";
    }

    void fieldAssignRespectsCapacity()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        TextField<6> field;
        field.setQString(text);
        QCOMPARE(field.toQString(), expected);
        QVERIFY(field.size() <= 5);
        QCOMPARE(field.rawByte(5), std::uint8_t(0));
    }

    void lonelyLeadByteIsOneCharacter()
    {
        // A lead byte at the very end (a truncated character) counts alone.
        const std::string bytes = std::string("ab") + char(0x82);
        QCOMPARE(cp932FitLength(bytes, 10), std::size_t(3));
        QCOMPARE(cp932CharCount(bytes), std::size_t(3));
    }

    void unicodeRoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("name") << "山田" << QByteArray("\x8e\x52\x93\x63");
        QTest::newRow("half-width katakana") << "ﾏｲｸ" << QByteArray("\xcf\xb2\xb8");
        QTest::newRow("circled one (NEC)") << "①" << QByteArray("\x87\x40");
        QTest::newRow("full-width tilde") << "～" << QByteArray("\x81\x60");
    }

    void unicodeRoundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const std::string encoded = toCp932(text);
        QCOMPARE(QByteArray(encoded.data(), qsizetype(encoded.size())), bytes);
        QCOMPARE(fromCp932(encoded), text);
    }

    void viewNeverPassesTheField()
    {
        // A field read raw without any NUL stops at its capacity.
        TextField<4> field;
        const std::uint8_t raw[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
        field.loadRaw(raw);
        QCOMPARE(field.view(), std::string_view("abcd"));
    }
};

QTEST_GUILESS_MAIN(TstTextField)
#include "tst_textfield.moc"
