#include "clinicallines.h"

#include <algorithm>

namespace ks318 {

namespace {

const QString kMissing = QStringLiteral("---");

QString num(const Measure& v, int decimals)
{
    return v ? QString::number(*v, 'f', decimals) : kMissing;
}

QString count(const std::optional<int>& n)
{
    return n ? QStringLiteral("n=%1").arg(*n) : kMissing;
}

ClinicalRow means(const char* caption, const ClinicalMeans& m)
{
    return {QString::fromUtf8(caption), {num(m.sys, 1), num(m.dia, 1), num(m.pulse, 1), num(m.pp, 1)}};
}

ClinicalRow pair(const char* caption, const Measure& sys, const Measure& dia, int decimals,
                 const QString& third = QString())
{
    return {QString::fromUtf8(caption), {num(sys, decimals), num(dia, decimals), third, QString()}};
}

ClinicalRow single(const char* caption, const Measure& v, int decimals)
{
    return {QString::fromUtf8(caption), {num(v, decimals), QString(), QString(), QString()}};
}

QString flag(const std::optional<bool>& f)
{
    return f ? (*f ? QStringLiteral("該当") : QStringLiteral("非該当")) : kMissing;
}

QString threshold(const char* name, const GuidelineThreshold& t)
{
    return QString::fromUtf8(name) + QStringLiteral(" %1/%2 mmHg以上: ").arg(t.sys).arg(t.dia);
}

QString padRight(const QString& text, int width)
{
    return text + QString(std::max(0, width - displayWidth(text)), QLatin1Char(' '));
}

QString padLeft(const QString& text, int width)
{
    return QString(std::max(0, width - displayWidth(text)), QLatin1Char(' ')) + text;
}

constexpr int kCaptionWidth = 26;
constexpr int kCellWidth = 9;

} // namespace

int displayWidth(const QString& text)
{
    int w = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        // Half-width katakana and ASCII take one column, the rest of the
        // Japanese range two.
        w += (u >= 0x1100 && !(u >= 0xFF61 && u <= 0xFF9F)) ? 2 : 1;
    }
    return w;
}

QStringList clinicalColumnHeads()
{
    return {QStringLiteral("SYS"), QStringLiteral("DIA"), QStringLiteral("脈拍"), QStringLiteral("脈圧")};
}

QString clinicalTitle() { return QStringLiteral("臨床指標"); }

std::vector<ClinicalRow> clinicalTableRows(const ClinicalMeasures& m)
{
    return {
        means("全体平均 (mmHg, BPM)", m.whole),
        means("昼間平均 (mmHg, BPM)", m.day),
        means("夜間平均 (mmHg, BPM)", m.night),
        pair("夜間降圧率 (%)", m.dipSysPercent, m.dipDiaPercent, 1),
        pair("早朝平均 (mmHg)", m.morningSys, m.morningDia, 1, count(m.morningCount)),
        pair("就寝前平均 (mmHg)", m.eveningSys, m.eveningDia, 1, count(m.eveningCount)),
        single("朝夕平均 ME (mmHg)", m.meAverage, 1),
        single("朝夕差 ME (mmHg)", m.meDifference, 1),
        single("起床前サージ (mmHg)", m.prewakingSurge, 1),
        single("夜間最低値サージ (mmHg)", m.sleepTroughSurge, 1),
        pair("ARV (mmHg)", m.arvSys, m.arvDia, 2),
        pair("加重SD (mmHg)", m.weightedSdSys, m.weightedSdDia, 2),
        single("CV (%)", m.cvSys, 2),
        single("AASI", m.aasi, 2),
    };
}

QStringList clinicalFlagLines(const ClinicalMeasures& m)
{
    return {
        QStringLiteral("夜間降圧パターン: ")
            + (m.dipping ? QString::fromLatin1(dippingClassName(*m.dipping)) : kMissing),
        threshold("全体平均", kWholeThreshold) + flag(m.highWhole),
        threshold("昼間平均", kDayThreshold) + flag(m.highDay),
        threshold("夜間平均", kNightThreshold) + flag(m.highNight),
        threshold("早朝平均", kMorningThreshold) + flag(m.highMorning),
        QStringLiteral("夜間単独高血圧: ") + flag(m.isolatedNocturnal),
    };
}

QStringList clinicalAdequacyLines(const ClinicalMeasures& m)
{
    QStringList lines{QStringLiteral("有効データ率: %1%  昼間: %2件  夜間: %3件  日数: %4日")
                          .arg(num(m.validPercent, 1))
                          .arg(m.dayCount)
                          .arg(m.nightCount)
                          .arg(m.days)};
    if (!m.enough)
        lines << QStringLiteral("測定数が少なく、各指標は参考値です")
              << QStringLiteral("（目安: 有効率70%以上、昼間20件以上、夜間7件以上）");
    return lines;
}

QString clinicalSourcesLine()
{
    return QStringLiteral("基準値: ESH 2023 / ISH 2020 / JSH 2019 (家庭血圧・ABPM)");
}

QStringList clinicalTextLines(const ClinicalMeasures& m)
{
    QStringList lines{clinicalTitle(), QString()};
    QString head = padRight(QString(), kCaptionWidth);
    for (const QString& h : clinicalColumnHeads())
        head += padLeft(h, kCellWidth);
    lines << head;
    for (const ClinicalRow& row : clinicalTableRows(m)) {
        QString line = padRight(row.caption, kCaptionWidth);
        for (const QString& cell : row.cells)
            line += padLeft(cell, kCellWidth);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        lines << line;
    }
    lines << QString();
    lines << clinicalFlagLines(m);
    lines << QString();
    lines << clinicalAdequacyLines(m);
    lines << clinicalSourcesLine();
    return lines;
}

} // namespace ks318
