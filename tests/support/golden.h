#pragma once
// Golden files: text a test produces, compared line by line with a file
// under tests/golden/. With KS318_UPDATE_GOLDEN=1 in the environment the file
// is written instead; read it through before committing it.
#include <QFile>
#include <QString>
#include <QStringList>
#include <QtTest>

namespace ks318::test {

// Empty when `text` is what the golden file `name` holds; else the first
// line that differs, with the "== " heading above it.
inline QString goldenDifference(const QString& name, const QString& text)
{
    QFile f(QStringLiteral(QT_TESTCASE_SOURCEDIR "/golden/") + name);
    if (qEnvironmentVariableIntValue("KS318_UPDATE_GOLDEN") == 1)
        return f.open(QIODevice::WriteOnly) && f.write(text.toUtf8()) >= 0 ? QString() : f.fileName() + ": not written";
    if (!f.open(QIODevice::ReadOnly))
        return f.fileName() + ": cannot be read";
    const QStringList want = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    const QStringList got = text.split(QLatin1Char('\n'));
    QString heading;
    for (qsizetype i = 0; i < std::max(want.size(), got.size()); ++i) {
        const QString w = want.value(i, QStringLiteral("(end)")), g = got.value(i, QStringLiteral("(end)"));
        heading = w.startsWith(QLatin1String("== ")) ? w : heading;
        if (w != g)
            return QStringLiteral("%1:%2 %3\n   golden: %4\n   actual: %5").arg(f.fileName()).arg(i + 1).arg(heading, w, g);
    }
    return {};
}

} // namespace ks318::test

// Compares `text` with the golden file `name` from a test function.
#define KS318_COMPARE_GOLDEN(name, text)                                                      \
    do {                                                                                      \
        const QString difference_ = ks318::test::goldenDifference(QStringLiteral(name), text); \
        QVERIFY2(difference_.isEmpty(), qPrintable(difference_));                            \
    } while (false)
