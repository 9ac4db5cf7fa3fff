// ks318-shots FILE OUT_DIR: pictures of the main window with FILE open, the
// about box and the BP threshold dialog, saved as PNG for review. Runs in a
// scratch start directory of its own so no settings land elsewhere.
#include "app/aboutform.h"
#include "app/defaultbpsettingszireform.h"
#include "app/mainform.h"
#include "app/messageservice.h"
#include "app/myapplication.h"
#include "records/session.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv)
{
    ks318::TMyApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ks318-shots FILE OUT_DIR\n");
        return 2;
    }
    const QString file = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QDir out(QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath());
    QTemporaryDir start;
    if (!start.isValid() || !QDir::setCurrent(start.path()))
        return 1;
    const QString copy = start.filePath(QFileInfo(file).fileName());
    QFile::copy(file, copy);

    ks318::Session session;
    ks318::GuiMessageService messages(true);
    ks318::TMainForm form(session, messages);
    form.show();
    form.openFile(copy);
    QTest::qWait(300);
    bool ok = form.grab().save(out.filePath(QStringLiteral("main.png")));
    form.AboutForm->show();
    QTest::qWait(200);
    ok = form.AboutForm->grab().save(out.filePath(QStringLiteral("about.png"))) && ok;
    form.AboutForm->hide();
    form.DefaultBpSettingsZireForm->show();
    QTest::qWait(200);
    ok = form.DefaultBpSettingsZireForm->grab().save(out.filePath(QStringLiteral("bpsettings.png"))) && ok;
    form.DefaultBpSettingsZireForm->hide();
    for (const auto& m : messages.shown())
        std::fprintf(stderr, "ks318-shots: message %d while opening\n", m.stringId);
    return ok ? 0 : 1;
}
