#pragma once
// The text of a PDF file page by page, as pdftotext (poppler-utils) reads
// it back: the tests check what a report prints, not how it is drawn.
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace ks318::test {

// A line with its runs of blanks (ideographic ones too) made one.
inline QString squeezed(QString line)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t\\x{3000}]+"));
    return line.replace(blanks, QStringLiteral(" ")).trimmed();
}

// Each page's non-empty lines, squeezed; empty when the file cannot be read.
inline QStringList pdfPages(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    for (QString& page : pages) {
        QStringList lines = page.split(QLatin1Char('\n'));
        for (QString& line : lines)
            line = squeezed(line);
        lines.removeAll(QString());
        page = lines.join(QLatin1Char('\n'));
    }
    return pages;
}

// The start of the measuring period ("測定期間：") of each patient report in
// a PDF, in order.
inline QStringList patientReportStarts(const QString& path)
{
    QStringList starts;
    for (const QString& page : pdfPages(path))
        if (page.contains(QStringLiteral("・トレンドグラフ")))
            starts << page.section(QStringLiteral("測定期間："), 1).section(QLatin1Char(' '), 0, 0);
    return starts;
}

} // namespace ks318::test
