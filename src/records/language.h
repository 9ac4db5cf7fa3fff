#pragma once
// The interface language: Japanese (the texts as written in the sources and
// the first column of the string table) or English (resources/i18n/ks318_en.ts
// and the string table's English column). One process-wide choice, made at
// start before any window or text is built; Japanese until then. Files the
// program writes never depend on it.
#include <QString>
#include <optional>

class QCoreApplication;
class QDate;

namespace ks318 {

enum class Language {
    Japanese,
    English,
};

Language language();
void setLanguage(Language language);

// "ja" or "en" (as given to --lang and kept in the program's settings);
// nothing for any other text.
std::optional<Language> parseLanguage(const QString& code);
QString languageCode(Language language);

// The user's language from the environment as gettext reads it: the first
// non-empty of LANGUAGE (its first entry), LC_ALL, LC_MESSAGES and LANG;
// Japanese when that begins with "ja", English otherwise.
Language languageOfEnvironment();

// Chooses `language` and puts the program's own catalogue for it into `app`
// (for Japanese it takes the English one out again). Returns false when the
// catalogue is missing from the program's resources.
bool applyLanguage(QCoreApplication& app, Language language);

// A date as the interface shows it: "yyyy/MM/dd" in Japanese, ISO
// "yyyy-MM-dd" in English; empty for an invalid date.
QString displayDate(const QDate& date);

} // namespace ks318
