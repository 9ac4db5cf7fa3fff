#include "myapplication.h"

#include "artwork.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QPixmap>
#include <QSettings>
#include <QTranslator>

namespace ks318 {

namespace {

// Texts of Qt's print dialog that Qt's Japanese catalogue leaves in English.
class QtJapaneseSupplement : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QPrintSettingsOutput") != 0 || !sourceText)
            return QString();
        static const struct {
            const char* english;
            const char* japanese;
        } texts[] = {
            {"Off", "なし"},
            {"Long side binding", "長辺とじ"},
            {"Short side binding", "短辺とじ"},
            {"Pages", "ページ指定"},
        };
        for (const auto& t : texts) {
            if (qstrcmp(sourceText, t.english) == 0)
                return QString::fromUtf8(t.japanese);
        }
        return QString();
    }
    bool isEmpty() const override { return false; }
};

} // namespace

TMyApplication::TMyApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("ks318"));
    setApplicationVersion(QStringLiteral("2.2.0"));
    setDesktopFileName(QStringLiteral("ks318"));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(programIcon(size)));
    setWindowIcon(icon);
    applyLanguage(*this, language());
    installQtTranslation(*this, languageCode(language()));
}

bool installQtTranslation(QCoreApplication& app, const QString& language)
{
    // qt_LANG.qm gathers the catalogues of Qt's modules (qtbase_LANG.qm
    // holds the widgets' and the print dialog's texts). Qt speaks English
    // of itself.
    if (language == QLatin1String("en"))
        return true;
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qt_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    if (!app.installTranslator(translator))
        return false;
    if (language == QLatin1String("ja"))
        app.installTranslator(new QtJapaneseSupplement(&app));
    return true;
}

namespace {
const QString kLanguageKey = QStringLiteral("language");
} // namespace

std::optional<Language> savedLanguage()
{
    return parseLanguage(QSettings(QStringLiteral("ks318"), QStringLiteral("ks318")).value(kLanguageKey).toString());
}

void saveLanguage(std::optional<Language> language)
{
    QSettings settings(QStringLiteral("ks318"), QStringLiteral("ks318"));
    if (language)
        settings.setValue(kLanguageKey, languageCode(*language));
    else
        settings.remove(kLanguageKey);
}

Language startLanguage(QStringList& args, QString* error)
{
    const qsizetype at = args.indexOf(QStringLiteral("--lang"));
    if (at >= 0) {
        const QString code = args.value(at + 1);
        args.remove(at, qMin<qsizetype>(2, args.size() - at));
        if (const auto chosen = parseLanguage(code))
            return *chosen;
        if (error)
            *error = QStringLiteral("--lang takes ja or en");
    }
    if (const auto saved = savedLanguage())
        return *saved;
    return languageOfEnvironment();
}

} // namespace ks318
