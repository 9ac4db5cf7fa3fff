#pragma once
// Files, golden files, bytes, BP data file texts and ks318-cli runs shared
// by the tests.
#include "records/cp932.h"

#include <QtTest>
#include <algorithm>
#include <functional>

namespace ks318::test {

// A temporary folder that tests empty before each case; clear() says
// whether the folder is there.
class ScratchDir {
public:
    bool isValid() const { return dir_.isValid(); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString path() const { return dir_.path(); }
    bool clear() const
    {
        for (const QString& f : QDir(dir_.path()).entryList(QDir::Files))
            QFile::remove(dir_.filePath(f));
        return dir_.isValid();
    }

private:
    QTemporaryDir dir_;
};

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Every file of a folder, hidden ones included, by name with its bytes.
inline QMap<QString, QByteArray> filesOf(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System))
        files.insert(name, readFile(QDir(dir).filePath(name)));
    return files;
}

// tests/golden/NAME: a small input, or the exact output expected of one.
inline QString goldenPath(const QString& name) { return qEnvironmentVariable("KS318_GOLDEN") + '/' + name; }
inline QByteArray golden(const QString& name) { return readFile(goldenPath(name)); }

// Empty when `actual` equals tests/golden/NAME; else a unified diff of the
// two without context, cut after 40 lines, each hunk headed by the table row
// it lies in (the last unindented line before it). Only KS318_UPDATE_GOLDEN=1 writes the
// file instead, and says so: review its diff before committing it.
inline QString goldenDiff(const QByteArray& actual, const QString& name)
{
    if (qEnvironmentVariable("KS318_UPDATE_GOLDEN") == QLatin1String("1")) {
        writeFile(goldenPath(name), actual);
        qInfo("rewrote tests/golden/%s", qPrintable(name));
    }
    if (golden(name) == actual)
        return {};
    QString report = name + QStringLiteral(" differs");
    QTemporaryDir dir;
    QProcess diff;
    if (dir.isValid() && writeFile(dir.filePath("actual"), actual)) {
        diff.start(QStringLiteral("diff"), {QStringLiteral("-U0"), QStringLiteral("--show-function-line=^[^ ]"),
                                            QStringLiteral("--label"), QStringLiteral("expected"),
                                            QStringLiteral("--label"), QStringLiteral("actual"), goldenPath(name),
                                            dir.filePath("actual")});
        diff.waitForFinished(10000);
        const QStringList lines = QString::fromUtf8(diff.readAllStandardOutput()).split('\n');
        report += '\n' + lines.mid(0, 40).join('\n');
        if (lines.size() > 40)
            report += QStringLiteral("\n... (%1 more lines)").arg(lines.size() - 40);
    }
    return report;
}
#define KS318_COMPARE_GOLDEN(actual, name)                                      \
    do {                                                                        \
        const QString diff_ = ks318::test::goldenDiff((actual), (name));        \
        QVERIFY2(diff_.isEmpty(), qPrintable(diff_));                           \
    } while (false)

// A golden table: each line of tests/golden/NAME that is neither empty, a
// "#" comment nor indented is an input; `run` makes from it the lines that
// follow it, indented by two blanks. The whole is then compared with the file.
inline QByteArray goldenTable(const QString& name, const std::function<QByteArray(const QByteArray&)>& run)
{
    QByteArray out;
    for (const QByteArray& line : golden(name).split('\n')) {
        if (line.isEmpty() || line.startsWith(' '))
            continue;
        out += line + '\n';
        if (!line.startsWith('#'))
            for (const QByteArray& result : run(line).split('\n'))
                out += result.isEmpty() ? QByteArray() : "  " + result + '\n';
    }
    return out;
}
#define KS318_COMPARE_GOLDEN_TABLE(name, ...) KS318_COMPARE_GOLDEN(ks318::test::goldenTable((name), __VA_ARGS__), (name))

// QTest data rows from the hand-worked table tests/golden/NAME: each line
// neither empty nor a "#" comment is "ROW NAME | VALUE | ...", one QString
// column per value; cell(COLUMN) is the current row's value.
inline void dataRows(const QString& name, const QList<const char*>& columns)
{
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    const QByteArray table = golden(name);
    QVERIFY2(table != "<missing>", qPrintable(name));
    for (const QByteArray& line : table.split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> f = line.split('|');
        QTestData& row = QTest::newRow(f[0].trimmed().constData());
        for (qsizetype i = 1; i <= columns.size(); ++i)
            row << QString::fromUtf8(f.value(i).trimmed());
    }
}
inline QString cell(const char* column) { return *static_cast<QString*>(QTest::qData(column, QMetaType::QString)); }

// `bytes` in rows of 16 ("0020  41 42 ...  AB.."); a run of zero rows after
// the first shows as one "*", the last row always shows.
inline QByteArray hexDump(const QByteArray& bytes)
{
    QByteArray out;
    const QByteArray zeros(16, '\0');
    for (qsizetype at = 0; at < bytes.size(); at += 16) {
        const QByteArray row = bytes.mid(at, 16);
        if (row == zeros && at > 0 && at + 16 < bytes.size() && bytes.mid(at - 16, 16) == zeros) {
            if (!out.endsWith("*\n"))  // the row before is a zero row, its text all dots, or this "*"
                out += "*\n";
            continue;
        }
        QByteArray text = row;
        for (char& c : text)
            c = c >= 0x20 && c < 0x7f ? c : '.';
        out += QByteArray::number(at, 16).rightJustified(4, '0') + "  " + row.toHex(' ').leftJustified(49) + text + '\n';
    }
    return out;
}

// The bytes of such a dump.
inline QByteArray fromHexDump(const QByteArray& dump)
{
    QByteArray out;
    for (const QByteArray& line : dump.split('\n')) {
        const qsizetype gap = line.indexOf("  ");
        if (gap < 0)
            continue;
        out.resize(line.left(gap).toLongLong(nullptr, 16), '\0');  // the zero rows of a "*"
        out += QByteArray::fromHex(line.mid(gap + 2, 47));
    }
    return out;
}

// Bytes written in a golden file: "\n", "\r" and "\xHH" escapes.
inline QByteArray unescaped(const QByteArray& text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
        } else if (text[++i] == 'x') {
            out += QByteArray::fromHex(text.mid(i + 1, 2));
            i += 2;
        } else {
            out += text[i] == 'n' ? '\n' : text[i] == 'r' ? '\r' : text[i];
        }
    }
    return out;
}

// The rows "WHAT | BLOCK OFFSET | BYTES" of the hand-worked table
// tests/golden/NAME whose BYTES (hex, "quoted" text with the escapes of
// unescaped()) do not lie at OFFSET of blocks[BLOCK], with what lies there.
inline QStringList layoutMismatches(const QString& name, const QMap<QString, QByteArray>& blocks)
{
    QStringList wrong{name + " has no rows"};
    for (const QByteArray& line : golden(name).split('\n')) {
        const QList<QByteArray> f = line.split('|');
        if (line.startsWith('#') || f.size() != 3)
            continue;
        wrong.removeAll(name + " has no rows");
        const QByteArray at = f[1].trimmed();
        const qsizetype space = at.lastIndexOf(' ');
        const QList<QByteArray> parts = f[2].trimmed().split('"');
        QByteArray want;
        for (qsizetype i = 0; i < parts.size(); ++i)
            want += i % 2 ? unescaped(parts[i]) : QByteArray::fromHex(parts[i]);
        const QByteArray got = blocks.value(at.left(space)).mid(at.mid(space + 1).toInt(), want.size());
        if (got != want)
            wrong << QString::fromUtf8(f[0].trimmed() + ": expected " + want.toHex(' ') + ", got " + got.toHex(' '));
    }
    return wrong;
}

// One "KS-318  70" record line with its line feed (oscillometric values;
// bit 7 of the error byte marks the reading excluded).
inline QByteArray recordLine(int year, int month, int day, int hour, int minute, int sys = 120, int dia = 80,
                             int pulse = 70, int errorByte = 0)
{
    return QByteArray("KS-318  700000000100")
           + QString::asprintf("%02X%02X%02X%02X%02X%02X%02X%02X%02X0001\n", year - 1900, month, day, hour, minute,
                               sys - dia, dia, pulse, errorByte)
                 .toLatin1();
}

// The patient and comment sections of a BP data file.
inline QByteArray patientSections(const QByteArray& name, const QByteArray& comments = {},
                                  const QByteArray& sex = {}, const QByteArray& age = {})
{
    return "#PATIENT\nName:" + name + "\nIDNumber:0\nAddress:\nPhone:\nSSNumber:\nMedicare:\nInsurance:\nAge:" + age
           + "\nSex:" + sex + "\nHeight:\nWeight:\nComment1:\n       2:\n       3:\n#END\n#COMMENTS\n" + comments
           + "#END\n";
}

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString text() const { return QString::fromUtf8(out); }
    QString error() const { return QString::fromUtf8(err); }
};

// ks318-cli (the program named by KS318_CLI) with `args`.
inline CliRun runCli(const QStringList& args, const QString& workingDirectory = {}, int timeoutMs = 30000,
                     const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setWorkingDirectory(workingDirectory);
    p.setProcessEnvironment(env);
    p.start(qEnvironmentVariable("KS318_CLI"), args);
    if (!p.waitForFinished(timeoutMs))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// ks318-cli runs in `dir` as a transcript: "$ ks318-cli ARGS", what the run
// printed on standard output, the first line of its own complaints (Qt's
// warnings left out), and "(exit N)" when N is not 0; `dir` reads "DIR".
inline QByteArray cliTranscript(const QList<QStringList>& runs, const QString& dir)
{
    QByteArray out;
    for (const QStringList& args : runs) {
        const CliRun r = runCli(args, dir);
        out += "$ ks318-cli " + args.join(QLatin1Char(' ')).toUtf8() + '\n' + r.out;
        for (const QByteArray& line : r.err.split('\n')) {
            if (line.startsWith("ks318-cli") || line.startsWith("usage:")) {
                out += line + '\n';
                break;
            }
        }
        if (r.exitCode != 0)
            out += "(exit " + QByteArray::number(r.exitCode) + ")\n";
    }
    return out.replace(dir.toUtf8(), "DIR");
}

} // namespace ks318::test
