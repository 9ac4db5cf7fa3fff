// dialog-placement-probe: opens dialogs of the main window three times each
// on a real X display and prints, per opening, where the window system put
// the frame and whether the screen looked as at the opening before. Run by
// tst_gui_shell under xvfb-run, without a window manager.
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
    if (argc != 1)
        return 2;
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
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    std::printf("screen %d %d %d %d\n", screen.x(), screen.y(), screen.width(), screen.height());
    for (QDialog* dialog : QList<QDialog*>{form.DefaultSerialPortForm, form.HospitalNameForm,
                                           form.DefaultBpSettingsZireForm, form.AboutForm}) {
        QImage previous;
        for (int n = 1; n <= 3; ++n) {
            // Taken a moment after the dialog shows, when it has settled.
            QTimer::singleShot(400, dialog, [&, dialog, n] {
                const QRect f = dialog->frameGeometry();
                const QImage shot = dialog->screen()->grabWindow(0).toImage();
                std::printf("%s %d frame %d %d %d %d same %d\n", qPrintable(dialog->objectName()), n, f.x(), f.y(),
                            f.width(), f.height(), int(shot == previous));
                previous = shot;
                std::fflush(stdout);
                dialog->reject();
            });
            dialog->exec();
        }
    }
    return 0;
}
