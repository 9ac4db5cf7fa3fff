// dialog-placement-probe OUT_DIR [wm]: opens dialogs of the main window three
// times each on a real X display and prints, per opening, where the window
// system put the frame and whether the screen looked as at the first
// opening; the screens are saved as OUT_DIR/NAME-N.png. Run by
// tst_gui_shell under xvfb-run (with a window manager when there is one).
#include "app/aboutform.h"
#include "app/defaultbpsettingszireform.h"
#include "app/defaultserialportform.h"
#include "app/hospitalnameform.h"
#include "app/mainform.h"
#include "app/messageservice.h"
#include "app/myapplication.h"
#include "session/session.h"

#include <QDialog>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv)
{
    ks318::TMyApplication app(argc, argv);
    if (argc != 2 && argc != 3)
        return 2;
    // "wm": a window manager runs, and frames every window it is handed.
    const bool managed = argc == 3 && qstrcmp(argv[2], "wm") == 0;
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir start;  // the settings files
    if (!start.isValid() || !QDir::setCurrent(start.path()))
        return 1;
    QApplication::setCursorFlashTime(0);  // a caret that blinks would differ between screens
    ks318::Session session;
    ks318::GuiMessageService messages(true);
    ks318::TMainForm form(session, messages);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    QTest::qWait(300);
    if (managed && !QTest::qWaitFor([&] { return form.frameGeometry() != form.geometry(); }, 10000))
        return 1;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    std::printf("screen %d %d %d %d\n", screen.x(), screen.y(), screen.width(), screen.height());
    const QList<QDialog*> dialogs{static_cast<QDialog*>(form.DefaultSerialPortForm),
                                  static_cast<QDialog*>(form.HospitalNameForm),
                                  static_cast<QDialog*>(form.DefaultBpSettingsZireForm),
                                  static_cast<QDialog*>(form.AboutForm)};
    for (QDialog* dialog : dialogs) {
        QImage first;
        for (int n = 1; n <= 3; ++n) {
            // Taken once the window manager has framed the dialog, a moment
            // later, when it has settled.
            auto* poll = new QTimer(dialog);
            int waited = 0;
            QObject::connect(poll, &QTimer::timeout, dialog, [&, dialog, n, poll] {
                waited += 100;
                const bool framed = dialog->frameGeometry() != dialog->geometry();
                if (waited < 400 || (managed && !framed && waited < 5000))
                    return;
                poll->deleteLater();
                const QRect f = dialog->frameGeometry();
                const QImage shot = dialog->screen()->grabWindow(0).toImage();
                shot.save(out.filePath(QStringLiteral("%1-%2.png").arg(dialog->objectName()).arg(n)));
                if (n == 1)
                    first = shot;
                std::printf("%s %d frame %d %d %d %d same %d\n", qPrintable(dialog->objectName()), n, f.x(), f.y(),
                            f.width(), f.height(), int(shot == first));
                std::fflush(stdout);
                dialog->reject();
            });
            poll->start(100);
            dialog->exec();
        }
    }
    return 0;
}
