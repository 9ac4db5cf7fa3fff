#pragma once
// The application object: the program's name and icon. Its title
// "KS318P-15 V2.2" is what the desktop shows for the program, from the
// desktop entry; it is not given to Qt as the display name, which Qt on
// Linux would append to every window's caption.
#include "records/language.h"

#include <QApplication>
#include <QStringList>

namespace ks318 {

// The application object speaks the language chosen before it is made
// (ks318::language(); Japanese unless main chose otherwise): the program's
// own catalogue and Qt's.
class TMyApplication : public QApplication {
    Q_OBJECT
public:
    TMyApplication(int& argc, char** argv);
};

// Qt's own dialogs (file dialogs, the print dialog, the Yes/No buttons of a
// question) in the interface's language: installs Qt's translation for
// `language` ("ja", "en") from the system's Qt translations. Returns false
// when it is not installed there; the dialogs then stay in English, which
// is all English needs.
bool installQtTranslation(QCoreApplication& app, const QString& language);

// The language fixed in オプション > 初期設定 > 言語 / Language, kept in the
// program's own QSettings (not in the settings files of the start
// directory); nothing while it follows the user's locale.
std::optional<Language> savedLanguage();
void saveLanguage(std::optional<Language> language);

// The language of a run: `--lang ja|en` among `args` (taken out of them),
// else the saved one, else the locale's. A --lang without ja or en sets
// `error` and gives the locale's.
Language startLanguage(QStringList& args, QString* error = nullptr);

} // namespace ks318
