// ks318-cli recorder: what is refused before the recorder is spoken to, and
// a port that cannot be opened (golden recorder-refusals.txt); nothing is
// written in the current directory.
#include "support/clirun.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

class TstCliRecorder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusals()
    {
        QTemporaryDir dir;
        QVERIFY(ks318::test::writeFile(dir.filePath("THERE.dat"), {}));
        qputenv("KS318_COM9", "/nonexistent/ttyUSB9");
        const QByteArray transcript = ks318::test::rerunTranscript("recorder-refusals.txt", dir.path());
        KS318_COMPARE_GOLDEN(transcript, "recorder-refusals.txt");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"THERE.dat"});
    }
};

QTEST_GUILESS_MAIN(TstCliRecorder)
#include "tst_cli_recorder.moc"
