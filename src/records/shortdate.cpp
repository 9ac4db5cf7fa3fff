#include "shortdate.h"

#include "cp932.h"
#include "daycount.h"
#include "language.h"

#include <QLocale>
#include <cmath>

namespace ks318 {

QString formatShortDate(const QDate& date)
{
    return displayDate(date);
}

std::string shortDateCp932(const QDate& date)
{
    if (!date.isValid())
        return std::string();
    // A short format with month names (the C locale's "d MMM yyyy") would put
    // the locale's words into the file: those locales get yyyy/MM/dd.
    const QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    if (format.contains(QLatin1String("MMM")))
        return toCp932(date.toString(QStringLiteral("yyyy/MM/dd")));
    return toCp932(QLocale::system().toString(date, QLocale::ShortFormat));
}

QString displayStoredDate(const QString& stored)
{
    const QDate date = parseShortDate(stored);
    return date.isValid() ? displayDate(date) : stored;
}

QDate dateOfDayCount(double dayCount)
{
    if (!std::isfinite(dayCount) || std::fabs(dayCount) > 1e7)
        return QDate();
    const CivilDate c = civilFromDayNumber(static_cast<std::int64_t>(std::floor(dayCount)));
    return QDate(c.year, c.month, c.day);
}

QDate parseShortDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QDate();
    const QLocale locale = QLocale::system();
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QDate date = locale.toDate(trimmed, format);
    if (date.isValid()) {
        // A two-digit year reads as 19yy; the usual cut-off puts 00..29 in 20yy.
        if (!format.contains(QLatin1String("yyyy")) && format.contains(QLatin1String("yy")) && date.year() < 1930)
            date = date.addYears(100);
        return date;
    }
    date = QDate::fromString(trimmed, QStringLiteral("yyyy/MM/dd"));
    return date.isValid() ? date : QDate::fromString(trimmed, Qt::ISODate);
}

} // namespace ks318
