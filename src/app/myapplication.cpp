#include "myapplication.h"

#include "artwork.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QPixmap>
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
    installQtTranslation(*this, QStringLiteral("ja"));
}

bool installQtTranslation(QCoreApplication& app, const QString& language)
{
    // qt_LANG.qm gathers the catalogues of Qt's modules (qtbase_LANG.qm
    // holds the widgets' and the print dialog's texts).
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

} // namespace ks318
