// The string table as loaded from resources/strings.tsv: "\n" becomes a line
// break, blanks inside and at the end of a text stay, an unknown id has no
// text; every entry has an English text with no Japanese in it, and the
// files' CP932 form stays Japanese. The language the environment asks for.
// (The texts themselves are checked where they show, in the golden files of
// the windows and the command line.)
#include "records/cp932.h"
#include "records/language.h"
#include "records/stringtable.h"
#include "support/testfiles.h"

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

    void englishColumn()
    {
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
        QFETCH(QString, chosen);
        QByteArray saved[4];
        const char* const names[4] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
        for (int i = 0; i < 4; ++i) {
            saved[i] = qgetenv(names[i]);
            qputenv(names[i], static_cast<QString*>(QTest::qData(names[i], QMetaType::QString))->toUtf8());
        }
        const Language language = languageOfEnvironment();
        for (int i = 0; i < 4; ++i)
            qputenv(names[i], saved[i]);
        QCOMPARE(language == Language::Japanese ? "ja" : "other", chosen);
    }
};

QTEST_GUILESS_MAIN(TestStringTable)
#include "tst_stringtable.moc"
