#include "patfile.h"

#include "records/blockframing.h"
#include "records/cp932.h"
#include "records/legacyrecords.h"

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>

namespace ks318 {

namespace {

// The first problem found in the file being converted; later ones are not
// reported.
QString firstError;

void fail(const QString& message)
{
    if (firstError.isEmpty())
        firstError = message;
}

// The recognised keys; each may appear once.
const QStringList kTextKeys = {
    QStringLiteral("patientName"),      QStringLiteral("patientAddress"), QStringLiteral("patientPhone"),
    QStringLiteral("physicianName"),    QStringLiteral("physicianAddress"), QStringLiteral("physicianPhone"),
    QStringLiteral("socialSecurityNumber"), QStringLiteral("insurance"), QStringLiteral("medicareNumber"),
    QStringLiteral("age"),              QStringLiteral("sex"),            QStringLiteral("height"),
    QStringLiteral("weight"),           QStringLiteral("medications"),    QStringLiteral("comments"),
    QStringLiteral("day1Sleep"),        QStringLiteral("day1Wake"),       QStringLiteral("day2Sleep"),
    QStringLiteral("day2Wake"),
};
const QStringList kValueKeys = {
    QStringLiteral("startDate"),      QStringLiteral("startHour"),     QStringLiteral("recordingHours"),
    QStringLiteral("recorderType"),   QStringLiteral("recorderId"),    QStringLiteral("interval1Date"),
    QStringLiteral("interval1Hour"),  QStringLiteral("interval1Hours"), QStringLiteral("interval1DayOffset"),
    QStringLiteral("interval2Date"),  QStringLiteral("interval2Hour"), QStringLiteral("interval2Hours"),
    QStringLiteral("interval2DayOffset"), QStringLiteral("scroll"),    QStringLiteral("firstReading"),
    QStringLiteral("lastReading"),
};

QString decode(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Not UTF-8: a file written on a Japanese Windows system.
    return fromCp932(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

QMap<QString, QString> parse(const QString& text)
{
    QMap<QString, QString> values;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(QLatin1Char('#')))
            continue;
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon <= 0) {
            fail(QStringLiteral("line %1: expected \"key: value\"").arg(i + 1));
            continue;
        }
        const QString key = line.left(colon).trimmed();
        if (!kTextKeys.contains(key) && !kValueKeys.contains(key))
            fail(QStringLiteral("line %1: unknown key %2").arg(i + 1).arg(key));
        else if (values.contains(key))
            fail(QStringLiteral("line %1: %2 given twice").arg(i + 1).arg(key));
        else
            values.insert(key, line.mid(colon + 1).trimmed());
    }
    return values;
}

int number(const QMap<QString, QString>& v, const QString& key, int fallback, int low, int high)
{
    if (!v.contains(key) || v[key].isEmpty())
        return fallback;
    bool ok = false;
    const int n = v[key].toInt(&ok);
    if (!ok || n < low || n > high) {
        fail(QStringLiteral("%1: expected a number from %2 to %3").arg(key).arg(low).arg(high));
        return fallback;
    }
    return n;
}

QDate date(const QMap<QString, QString>& v, const QString& key, const QDate& fallback)
{
    if (!v.contains(key) || v[key].isEmpty()) {
        if (!fallback.isValid())
            fail(QStringLiteral("%1 is missing").arg(key));
        return fallback;
    }
    const QDate d = QDate::fromString(v[key], QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid() || d.year() < 1) {
        fail(QStringLiteral("%1: expected a date as yyyy-MM-dd").arg(key));
        return fallback;
    }
    return d;
}

QDateTime dateTime(const QMap<QString, QString>& v, const QString& key, const QDateTime& fallback)
{
    if (!v.contains(key) || v[key].isEmpty())
        return fallback;
    const QDateTime t = QDateTime::fromString(v[key], QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!t.isValid() || t.date().year() < 1) {
        fail(QStringLiteral("%1: expected a date and time as yyyy-MM-dd hh:mm").arg(key));
        return fallback;
    }
    return t;
}

template <std::size_t N>
void setText(TextField<N>& field, const QMap<QString, QString>& v, const QString& key)
{
    field.assign(toCp932(v.value(key)));
}

LegacyDate legacyDate(const QDate& d)
{
    return LegacyDate{std::uint16_t(d.year()), std::uint8_t(d.month()), std::uint8_t(d.day())};
}

LegacySpanPoint legacyPoint(const QDateTime& t)
{
    return LegacySpanPoint{std::uint16_t(t.date().year()), std::uint8_t(t.date().month()),
                           std::uint8_t(t.date().day()),   std::uint8_t(t.time().hour()),
                           std::uint8_t(t.time().minute())};
}

// The scroll groups of an interval of `hours`: start offset, then length.
void defaultScroll(std::uint8_t* s, int hours)
{
    const int n = hours;
    const int offset[5] = {0, 0, n - 1, std::max(1, (n - 1) / 4), 1};
    const int length[5] = {n, 1, n, std::max(1, n / 4), 1};
    for (int i = 0; i < 5; ++i) {
        s[i] = std::uint8_t(offset[i]);
        s[5 + i] = std::uint8_t(length[i]);
    }
}

QByteArray convert(const QMap<QString, QString>& v)
{
    const QDate start = date(v, QStringLiteral("startDate"), QDate());
    if (!v.contains(QStringLiteral("startHour")))
        fail(QStringLiteral("startHour is missing"));
    const int startHour = number(v, QStringLiteral("startHour"), 0, 0, 23);
    const int recordingHours = number(v, QStringLiteral("recordingHours"), 24, 1, 255);

    LegacyPatient p;
    p.valid = 1;
    p.recordingHours = std::uint8_t(recordingHours);
    p.recorderType = std::uint8_t(number(v, QStringLiteral("recorderType"), 70, 0, 255));
    p.recorderId = std::uint8_t(number(v, QStringLiteral("recorderId"), 1, 0, 255));
    p.startDateText.assign(start.toString(QStringLiteral("yyyy/MM/dd")).toStdString());
    p.startTimeText.assign(QStringLiteral("%1:00").arg(startHour, 2, 10, QLatin1Char('0')).toStdString());
    setText(p.patientName, v, QStringLiteral("patientName"));
    setText(p.patientAddress, v, QStringLiteral("patientAddress"));
    setText(p.patientPhone, v, QStringLiteral("patientPhone"));
    setText(p.physicianName, v, QStringLiteral("physicianName"));
    setText(p.physicianAddress, v, QStringLiteral("physicianAddress"));
    setText(p.physicianPhone, v, QStringLiteral("physicianPhone"));
    setText(p.socialSecurityNumber, v, QStringLiteral("socialSecurityNumber"));
    setText(p.insurance, v, QStringLiteral("insurance"));
    setText(p.medicareNumber, v, QStringLiteral("medicareNumber"));
    setText(p.age, v, QStringLiteral("age"));
    setText(p.sex, v, QStringLiteral("sex"));
    setText(p.height, v, QStringLiteral("height"));
    setText(p.weight, v, QStringLiteral("weight"));
    setText(p.medications, v, QStringLiteral("medications"));
    setText(p.comments, v, QStringLiteral("comments"));
    setText(p.day1SleepTime, v, QStringLiteral("day1Sleep"));
    setText(p.day1WakeTime, v, QStringLiteral("day1Wake"));
    setText(p.day2SleepTime, v, QStringLiteral("day2Sleep"));
    setText(p.day2WakeTime, v, QStringLiteral("day2Wake"));

    LegacyIntervals a;
    a.valid = 1;
    a.interval1Start = legacyDate(date(v, QStringLiteral("interval1Date"), start));
    a.interval1Hour = std::uint8_t(number(v, QStringLiteral("interval1Hour"), startHour, 0, 23));
    a.interval1Hours = std::uint8_t(number(v, QStringLiteral("interval1Hours"), recordingHours, 1, 255));
    a.interval1DayOffset = std::uint8_t(number(v, QStringLiteral("interval1DayOffset"), 0, 0, 255));
    a.interval2Start = legacyDate(date(v, QStringLiteral("interval2Date"), start));
    a.interval2Hour = std::uint8_t(number(v, QStringLiteral("interval2Hour"), startHour, 0, 23));
    a.interval2Hours = std::uint8_t(number(v, QStringLiteral("interval2Hours"), recordingHours, 1, 255));
    a.interval2DayOffset = std::uint8_t(number(v, QStringLiteral("interval2DayOffset"), 0, 0, 255));
    const QString scroll = v.value(QStringLiteral("scroll"));
    if (scroll.isEmpty()) {
        defaultScroll(a.scroll.data(), a.interval1Hours);
        defaultScroll(a.scroll.data() + 10, a.interval2Hours);
    } else {
        const QStringList items = scroll.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (items.size() != 20)
            fail(QStringLiteral("scroll: expected twenty numbers"));
        for (int i = 0; i < items.size() && i < 20; ++i) {
            bool ok = false;
            const int n = items[i].toInt(&ok);
            if (!ok || n < 0 || n > 255)
                fail(QStringLiteral("scroll: expected numbers from 0 to 255"));
            a.scroll[std::size_t(i)] = std::uint8_t(n);
        }
    }

    LegacySpan s;
    s.valid = 1;
    const QDateTime first = dateTime(v, QStringLiteral("firstReading"), QDateTime(start, QTime(startHour, 0)));
    const QDateTime last =
        dateTime(v, QStringLiteral("lastReading"), first.addSecs(qint64(recordingHours) * 3600 - 60));
    if (last < first)
        fail(QStringLiteral("lastReading is earlier than firstReading"));
    s.first = legacyPoint(first);
    s.last = legacyPoint(last);

    QByteArray out;
    appendNumberLine(out, 0);
    appendNumberLine(out, 0);
    const auto pb = p.pack();
    appendBlock(out, pb.data(), pb.size());
    appendNumberLine(out, 1);
    const auto ab = a.pack();
    appendBlock(out, ab.data(), ab.size());
    appendNumberLine(out, 2);
    const auto sb = s.pack();
    appendBlock(out, sb.data(), sb.size());
    return out;
}

} // namespace

QByteArray convertPatientFile(const QByteArray& patBytes, QString& error)
{
    firstError.clear();
    QByteArray tmp = convert(parse(decode(patBytes)));
    error = firstError;
    firstError.clear();
    return error.isEmpty() ? tmp : QByteArray();
}

} // namespace ks318
