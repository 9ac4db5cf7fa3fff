#pragma once
// Dates shown to the user follow the interface language ("yyyy/MM/dd" in
// Japanese, ISO in English); dates stored in record texts and files use the
// system's short date format (QLocale::system(); "yyyy/MM/dd" in a Japanese
// locale), whatever the language.
#include <QDate>
#include <QString>
#include <string>

namespace ks318 {

// `date` as the interface shows it (displayDate); empty for an invalid date.
QString formatShortDate(const QDate& date);
// `date` in the system's short date format in CP932, as record fields and
// files hold it; yyyy/MM/dd where that format spells the month as a word.
std::string shortDateCp932(const QDate& date);
// A date text as stored (shortDateCp932) in the form the interface shows;
// a text that is no date stays as it is.
QString displayStoredDate(const QString& stored);
// The date of a day count (days from 1899-12-30, any fraction ignored).
QDate dateOfDayCount(double dayCount);

// Reads a text written by shortDateCp932 or formatShortDate. Two-digit years
// (formats such as "M/d/yy") are taken as 1930..2029. Also accepts
// yyyy/MM/dd and ISO dates (yyyy-MM-dd).
// Returns an invalid date when the text is neither.
QDate parseShortDate(const QString& text);

} // namespace ks318
