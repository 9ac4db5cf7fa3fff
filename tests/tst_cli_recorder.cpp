// ks318-cli recorder: what is refused before the recorder is spoken to, and
// a port that cannot be opened (golden recorder-refusals.txt); nothing is
// written in the current directory.
#include "support/testfiles.h"

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
        const QStringList port{"recorder", "--port", "/nonexistent/ttyS9"};
        const QList<QStringList> runs{{"recorder"},
                                      port + QStringList{"rewind"},
                                      port + QStringList{"retrieve", "OUT.DAT", "--patient", "a", "--csv"},
                                      port + QStringList{"retrieve", "OUT.DAT"},
                                      port + QStringList{"retrieve", "OUT.DAT", "--patient", ""},
                                      port + QStringList{"retrieve", "THERE.DAT", "--patient", "a"},
                                      port + QStringList{"setup", "--slots", "08:00,off,off,off,off"},
                                      port + QStringList{"setup", "--slots", "24:00,off,off,off,off,off"},
                                      port + QStringList{"setup", "--slots", "08:00,off,8:00,off,off,off"},
                                      port + QStringList{"read-setup"},
                                      {"recorder", "--port", "COM9", "clear"}};
        KS318_COMPARE_GOLDEN(ks318::test::cliTranscript(runs, dir.path()), "recorder-refusals.txt");
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"THERE.dat"});
    }
};

QTEST_GUILESS_MAIN(TstCliRecorder)
#include "tst_cli_recorder.moc"
