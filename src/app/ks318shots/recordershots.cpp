// Pictures of the recorder dialogs for ks318-shots: the retrieval dialog once
// the readings arrived and the setup dialog with the recorder's schedule, both
// against the recorder on the settings' port (ks318-sim in tools/screenshot.sh),
// and the clear dialog and the serial port dialog.
#include "app/defaultserialportform.h"
#include "app/mainform.h"
#include "app/recordercleardataform.h"
#include "app/recorderretrieveform.h"
#include "app/recordersetup_318form.h"
#include "views/cp932edit.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QTest>
#include <QTimer>

namespace {

// Once `ready` holds (or after a minute), saves `dialog` as `file` and closes it.
void shootWhen(QDialog* dialog, std::function<bool()> ready, const QString& file, bool& ok)
{
    auto* timer = new QTimer(dialog);
    const QDeadlineTimer deadline(60000);
    QObject::connect(timer, &QTimer::timeout, [=, &ok] {
        if (!dialog->isVisible() || (!ready() && !deadline.hasExpired()))
            return;
        timer->stop();
        timer->deleteLater();
        QTest::qWait(200);
        ok = ready() && dialog->grab().save(file) && ok;
        dialog->reject();
    });
    timer->start(50);
}

} // namespace

bool saveRecorderShots(ks318::TMainForm& form, const QDir& out)
{
    bool ok = true;
    ks318::TRecorderRetrieveForm* retrieve = form.RecorderRetrieveForm;
    shootWhen(
        retrieve,
        [retrieve] {
            retrieve->PatientNameEdit->setText(QStringLiteral("山田 太郎"));
            return retrieve->hasData;
        },
        out.filePath(QStringLiteral("retrieve.png")), ok);
    form.RecorderZireRetrievedata->trigger();

    ks318::TRecorderSetup_318Form* setup = form.RecorderSetup_318Form;
    shootWhen(
        setup, [setup] { return setup->slotTexts(0).hour != QLatin1String("off"); },
        out.filePath(QStringLiteral("setup.png")), ok);
    form.RecorderZireSetup->trigger();

    form.RecorderClearDataForm->show();
    QTest::qWait(200);
    ok = form.RecorderClearDataForm->grab().save(out.filePath(QStringLiteral("cleardata.png"))) && ok;
    form.RecorderClearDataForm->hide();

    form.DefaultSerialPortForm->show();
    QTest::qWait(200);
    ok = form.DefaultSerialPortForm->grab().save(out.filePath(QStringLiteral("serialport.png"))) && ok;
    form.DefaultSerialPortForm->hide();
    return ok;
}
