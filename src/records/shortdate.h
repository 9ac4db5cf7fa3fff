#pragma once
// Dates shown to the user and stored in record texts use the system's short
// date format (QLocale::system(); "yyyy/MM/dd" in a Japanese locale).
#include <QDate>
#include <QString>
#include <string>

namespace ks318 {

// `date` in the system's short date format; empty for an invalid date.
QString formatShortDate(const QDate& date);
// The same text in CP932, as record fields hold it.
std::string shortDateCp932(const QDate& date);
// The date of a day count (days from 1899-12-30, any fraction ignored).
QDate dateOfDayCount(double dayCount);

// Reads a text written by formatShortDate. Two-digit years (formats such as
// "M/d/yy") are taken as 1930..2029. Also accepts ISO dates (yyyy-MM-dd).
// Returns an invalid date when the text is neither.
QDate parseShortDate(const QString& text);

} // namespace ks318
