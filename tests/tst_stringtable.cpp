// The string table as loaded from resources/strings.tsv: "\n" becomes a line
// break, blanks inside and at the end of a text stay, an unknown id has no
// text. (The texts themselves are checked where they show, in the golden
// files of the windows and the command line.)
#include "records/stringtable.h"

#include <QtTest>

using namespace ks318;

class TestStringTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadingRules()
    {
        QCOMPARE(StringTable::text(223).count(QLatin1Char('\n')), 1);
        QVERIFY(!StringTable::text(223).contains(QLatin1Char('\\')));
        QVERIFY(StringTable::text(300).endsWith(QLatin1Char(' ')));
        QVERIFY(StringTable::text(114).contains(QLatin1String("       :")));
        QVERIFY(StringTable::contains(3) && !StringTable::text(3).isEmpty());
        QVERIFY(!StringTable::contains(9999) && StringTable::text(9999).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestStringTable)
#include "tst_stringtable.moc"
