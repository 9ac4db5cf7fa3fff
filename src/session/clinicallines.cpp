#include "clinicallines.h"

#include <QCoreApplication>
#include <algorithm>

namespace ks318 {

namespace {

const QString kMissing = QStringLiteral("---");

// A text of this page in the interface's language; the texts themselves are
// marked where they stand for the translation catalogue.
QString tx(const char* japanese) { return QCoreApplication::translate("ks318::ClinicalLines", japanese); }

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
    return {tx(caption), {num(m.sys, 1), num(m.dia, 1), num(m.pulse, 1), num(m.pp, 1)}};
}

ClinicalRow pair(const char* caption, const Measure& sys, const Measure& dia, int decimals,
                 const QString& third = QString())
{
    return {tx(caption), {num(sys, decimals), num(dia, decimals), third, QString()}};
}

ClinicalRow single(const char* caption, const Measure& v, int decimals)
{
    return {tx(caption), {num(v, decimals), QString(), QString(), QString()}};
}

QString flag(const std::optional<bool>& f)
{
    return f ? (*f ? tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "該当")) : tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "非該当"))) : kMissing;
}

QString threshold(const char* name, const GuidelineThreshold& t)
{
    return tx(name) + tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", " %1/%2 mmHg以上: ")).arg(t.sys).arg(t.dia);
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
    return {QStringLiteral("SYS"), QStringLiteral("DIA"), tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "脈拍")), tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "脈圧"))};
}

QString clinicalTitle() { return tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "臨床指標")); }

std::vector<ClinicalRow> clinicalTableRows(const ClinicalMeasures& m)
{
    return {
        means(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "全体平均 (mmHg, BPM)"), m.whole),
        means(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "昼間平均 (mmHg, BPM)"), m.day),
        means(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "夜間平均 (mmHg, BPM)"), m.night),
        pair(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "夜間降圧率 (%)"), m.dipSysPercent, m.dipDiaPercent, 1),
        pair(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "早朝平均 (mmHg)"), m.morningSys, m.morningDia, 1, count(m.morningCount)),
        pair(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "就寝前平均 (mmHg)"), m.eveningSys, m.eveningDia, 1, count(m.eveningCount)),
        single(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "朝夕平均 ME (mmHg)"), m.meAverage, 1),
        single(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "朝夕差 ME (mmHg)"), m.meDifference, 1),
        single(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "起床前サージ (mmHg)"), m.prewakingSurge, 1),
        single(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "夜間最低値サージ (mmHg)"), m.sleepTroughSurge, 1),
        pair("ARV (mmHg)", m.arvSys, m.arvDia, 2),
        pair(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "加重SD (mmHg)"), m.weightedSdSys, m.weightedSdDia, 2),
        single("CV (%)", m.cvSys, 2),
        single("AASI", m.aasi, 2),
    };
}

QStringList clinicalFlagLines(const ClinicalMeasures& m)
{
    return {
        tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "夜間降圧パターン: "))
            + (m.dipping ? QString::fromLatin1(dippingClassName(*m.dipping)) : kMissing),
        threshold(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "全体平均"), kWholeThreshold) + flag(m.highWhole),
        threshold(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "昼間平均"), kDayThreshold) + flag(m.highDay),
        threshold(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "夜間平均"), kNightThreshold) + flag(m.highNight),
        threshold(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "早朝平均"), kMorningThreshold) + flag(m.highMorning),
        tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "夜間単独高血圧: ")) + flag(m.isolatedNocturnal),
    };
}

QStringList clinicalAdequacyLines(const ClinicalMeasures& m)
{
    QStringList lines{tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "有効データ率: %1%  昼間: %2件  夜間: %3件  日数: %4日"))
                          .arg(num(m.validPercent, 1))
                          .arg(m.dayCount)
                          .arg(m.nightCount)
                          .arg(m.days)};
    if (!m.enough)
        lines << tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "測定数が少なく、各指標は参考値です"))
              << tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "（目安: 有効率70%以上、昼間20件以上、夜間7件以上）"));
    return lines;
}

QString clinicalSourcesLine()
{
    return tx(QT_TRANSLATE_NOOP("ks318::ClinicalLines", "基準値: ESH 2023 / ISH 2020 / JSH 2019 (家庭血圧・ABPM)"));
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
