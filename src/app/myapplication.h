#pragma once
// The application object: the program's name and icon. Its title
// "KS318P-15 V2.2" is what the desktop shows for the program, from the
// desktop entry; it is not given to Qt as the display name, which Qt on
// Linux would append to every window's caption.
#include <QApplication>

namespace ks318 {

class TMyApplication : public QApplication {
    Q_OBJECT
public:
    TMyApplication(int& argc, char** argv);
};

// Qt's own dialogs (file dialogs, the print dialog, the Yes/No buttons of a
// question) in the interface's language: installs Qt's translation for
// `language` ("ja") from the system's Qt translations. Returns false when it
// is not installed there; the dialogs then stay in English.
bool installQtTranslation(QCoreApplication& app, const QString& language);

} // namespace ks318
