#include "language.h"

#include <QCoreApplication>
#include <QDate>
#include <QPointer>
#include <QTranslator>
#include <QtGlobal>
#include <atomic>

namespace ks318 {

namespace {
std::atomic<Language> current{Language::Japanese};
} // namespace

Language language()
{
    return current.load();
}

void setLanguage(Language language)
{
    current.store(language);
}

std::optional<Language> parseLanguage(const QString& code)
{
    if (code == QLatin1String("ja"))
        return Language::Japanese;
    if (code == QLatin1String("en"))
        return Language::English;
    return std::nullopt;
}

QString languageCode(Language language)
{
    return language == Language::Japanese ? QStringLiteral("ja") : QStringLiteral("en");
}

Language languageOfEnvironment()
{
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(name);
        if (value.isEmpty())
            continue;
        const QString first = value.section(QLatin1Char(':'), 0, 0);
        return first.startsWith(QLatin1String("ja")) ? Language::Japanese : Language::English;
    }
    return Language::English;
}

bool applyLanguage(QCoreApplication& app, Language language)
{
    // One catalogue, owned by the application (and gone with it), put in or
    // taken out as the language changes (the tests switch back and forth).
    static QPointer<QTranslator> english;
    setLanguage(language);
    if (english && english->parent() != &app)
        english = nullptr;
    if (language == Language::Japanese) {
        if (english)
            app.removeTranslator(english);
        return true;
    }
    if (!english) {
        auto* loaded = new QTranslator(&app);
        if (!loaded->load(QStringLiteral(":/ks318/i18n/ks318_en.qm"))) {
            delete loaded;
            return false;
        }
        english = loaded;
    }
    return app.installTranslator(english);
}

QString displayDate(const QDate& date)
{
    if (!date.isValid())
        return QString();
    return date.toString(language() == Language::Japanese ? QStringLiteral("yyyy/MM/dd") : QStringLiteral("yyyy-MM-dd"));
}

} // namespace ks318
