// The string table: every id the program's windows, messages and reports
// use is present, and the texts the application shell shows are exact.
#include "records/stringtable.h"

#include <QtTest>

using namespace ks318;

class TestStringTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyUsedIdIsPresent()
    {
        const int used[] = {
            3,   4,   5,   6,   7,   8,   10,  11,  13,  14,  16,  17,  18,  19,  20,  21,  22,  23,  24,  25,
            27,  28,  29,  38,  39,  40,  51,  52,  55,  61,  62,  63,  64,  67,  99,  100, 101, 106, 109, 110,
            111, 112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 129, 130, 131, 132,
            133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151, 152,
            153, 154, 155, 156, 157, 158, 159, 163, 164, 186, 191, 193, 194, 197, 198, 201, 202, 207, 208, 220,
            223, 224, 225, 226, 227, 228, 229, 230, 232, 233, 234, 235, 236, 237, 240, 252, 253, 254, 255, 256,
            257, 258, 259, 262, 266, 267, 268, 271, 272, 273, 274, 275, 276, 277, 278, 279, 280, 281, 282, 283, 284,
            285, 286, 287, 288, 289, 290, 291, 292, 293, 294, 295, 296, 297, 298, 299, 300, 301, 302, 305, 306,
            307, 308, 309, 310, 311, 312, 313, 314, 315, 316, 317, 318, 1000,
        };
        QStringList missing;
        for (int id : used)
            if (!StringTable::contains(id) || StringTable::text(id).isEmpty())
                missing << QString::number(id);
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char(' '))));
    }

    void exactText_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::newRow("title") << 3 << QStringLiteral("Vorelle ZIRE 解析ソフト (KS-318P-15)");
        QTest::newRow("caption") << 14 << QStringLiteral("エラー");
        QTest::newRow("thresholds")
            << 197 << QStringLiteral("収縮期血圧の閾値は拡張期血圧の閾値より大きくなければなりません。");
        QTest::newRow("too long, two lines")
            << 223 << QStringLiteral("測定期間が制限を越えています。\n指定されたデータは処理できません。");
        QTest::newRow("other recorder") << 262 << QStringLiteral("KS318Pで測定されたデータではありません。");
        QTest::newRow("bad times, two lines")
            << 271 << QStringLiteral("測定された時刻が不正です。\n指定されたデータは処理できません。");
        QTest::newRow("trailing blank kept") << 300 << QStringLiteral("夜間時間帯 ＝ ");
        QTest::newRow("inner blanks kept") << 114 << QStringLiteral("名前       :");
        QTest::newRow("unknown id") << 9999 << QString();
    }

    void exactText()
    {
        QFETCH(int, id);
        QFETCH(QString, text);
        QCOMPARE(StringTable::text(id), text);
        QCOMPARE(StringTable::contains(id), !text.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStringTable)
#include "tst_stringtable.moc"
