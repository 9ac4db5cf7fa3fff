// Save as and delete on a recording's file set (golden file-operations.txt):
// what is copied, what is refused with message 268, that no copy replaces a
// file, and what is left current afterwards.
#include "records/dataset.h"
#include "records/fileoperations.h"
#include "session/session.h"
#include "recordingsink.h"
#include "synthetic.h"
#include "support/testfiles.h"

#include <QtTest>

using namespace ks318;

class TstFileOperations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each "save NAME | FILES" or "delete NAME | FILES" of the golden file:
    // DEMO.DAT open with its companion file, FILES there beside it ("DEMO.csv"
    // a CSV export, other names old files), then the operation; below it the
    // outcome, the messages, the files afterwards (a copy shown as the member
    // it copies, "=DEMO.p30"), and what stays current.
    void operations()
    {
        KS318_COMPARE_GOLDEN_TABLE("file-operations.txt", [](const QByteArray& line) {
            QTemporaryDir dir;
            const auto path = [&dir](const QString& name) { return dir.filePath(name); };
            Session session;
            session.state.defaultBpMode = BpMode::KorotkoffOnly;
            test::writeFile(path("DEMO.DAT"), synth::demoFile());
            session.state.currentFilePath = path("DEMO.DAT");
            prepareDataSet(session, path("DEMO.DAT"));
            session.allocateData();
            const QString title = session.state.windowTitleText;
            const QList<QByteArray> f = line.split(' ');
            for (const QByteArray& name : f.mid(3))
                if (!QFile::exists(path(name)))
                    test::writeFile(path(name), name == "DEMO.csv" ? "csv text\r\n" : "old " + name);
            QMap<QByteArray, QString> sources;
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
                sources[test::readFile(path(name))] = name;

            test::MessageLog log;
            const bool ok = f[0] == "save" ? saveRecordingAs(session, path(f[1]), &log)
                                           : deleteRecording(session, path(f[1]), &log);
            QByteArray out = ok ? "done" : "not done";
            for (const test::ShownMessage& m : log.shown)
                out += QStringLiteral(", message %1 caption %2 icon %3").arg(m.stringId).arg(m.captionId).arg(int(m.icon)).toUtf8();
            out += "\nfiles:";
            for (const QString& name : QDir(dir.path()).entryList(QDir::Files, QDir::Name)) {
                const QString source = sources.value(test::readFile(path(name)));
                out += ' ' + name.toUtf8() + (source == name ? "" : '=' + source.toUtf8());
            }
            const SessionState& st = session.state;
            out += "\ncurrent '" + QFileInfo(st.currentFilePath).fileName().toUtf8() + "', title "
                   + (st.windowTitleText == title ? "kept" : "'" + st.windowTitleText.toUtf8() + "'")
                   + QString::asprintf(", records valid %d %d %d, data %d, mode %d", session.patient.valid,
                                       session.intervals.valid, session.span.valid, session.data() != nullptr,
                                       int(st.defaultBpMode))
                         .toUtf8();
            return out;
        });
    }
};

QTEST_GUILESS_MAIN(TstFileOperations)
#include "tst_fileoperations.moc"
