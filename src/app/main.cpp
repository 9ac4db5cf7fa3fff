// ks318 [--lang ja|en] [FILE]: the desktop program. FILE, when given, is
// opened at start as File > Open would open it; --lang fixes the interface
// language for the run.
#include "app/mainform.h"
#include "app/messageservice.h"
#include "app/myapplication.h"
#include "app/splashform.h"
#include "session/session.h"

#include <QStringList>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // Answered before the window system is asked for, so they work anywhere.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("ks318 %s\n", KS318_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("usage: ks318 [--lang ja|en] [FILE]\n"
                    "Opens the KS-318P blood-pressure analysis window; FILE (NAME.DAT), when given,\n"
                    "is opened as File > Open would open it. The interface speaks the language\n"
                    "given by --lang, else the one chosen in Options > Default settings > Language,\n"
                    "else the locale's (LANGUAGE, LC_ALL, LC_MESSAGES, LANG: Japanese for ja).\n");
        return 0;
    }
    // The language is chosen before the application object, which installs
    // its catalogues.
    QStringList given;
    for (int i = 1; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    QString languageError;
    ks318::setLanguage(ks318::startLanguage(given, &languageError));
    if (!languageError.isEmpty()) {
        std::fprintf(stderr, "ks318: %s\nusage: ks318 [--lang ja|en] [FILE]\n", qPrintable(languageError));
        return 2;
    }
    ks318::TMyApplication app(argc, argv);
    QStringList args = app.arguments();
    ks318::startLanguage(args);
    if (args.size() > 2) {
        std::fprintf(stderr, "usage: ks318 [--lang ja|en] [FILE]\n");
        return 2;
    }

    ks318::Session session;
    ks318::GuiMessageService messages;
    ks318::TMainForm mainForm(session, messages);
    ks318::TSplashForm splash;
    splash.show();
    splash.repaint();
    mainForm.setSplash(&splash);
    mainForm.show();
    if (args.size() == 2)
        mainForm.openFile(args.at(1));
    return app.exec();
}
