// ks318-cli list on the known recording (golden known.DAT): the rows as the
// BP data list shows them and the counters, the refusals (list.txt), and every
// field in JSON (list.json), which must parse: the address has " and \.
#include "support/clirun.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

class TstCliList : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;

private Q_SLOTS:
    void initTestCase() { QVERIFY(ks318::test::writeFile(dir_.filePath("KNOWN.DAT"), ks318::test::golden("known.DAT"))); }

    void rowsAndRefusals()
    {
        KS318_COMPARE_GOLDEN(ks318::test::rerunTranscript("list.txt", dir_.path()), "list.txt");
    }

    void json()
    {
        const ks318::test::CliRun r = ks318::test::runCli({"list", "KNOWN.DAT", "--json"}, dir_.path());
        QCOMPARE(r.exitCode, 0);
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(r.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        KS318_COMPARE_GOLDEN(json.toJson(QJsonDocument::Indented), "list.json");
    }
};

QTEST_GUILESS_MAIN(TstCliList)
#include "tst_cli_list.moc"
