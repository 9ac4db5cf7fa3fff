// The main window's recorder menu: every entry opens a recorder session (the
// port, then "05" answered), runs its command or shows its dialog, and leaves
// the session as the current one until the next command.
#include "beepservice.h"
#include "busycursor.h"
#include "defaultserialportform.h"
#include "helpservice.h"
#include "linkwaiter.h"
#include "mainform.h"
#include "messageservice.h"
#include "recorder/serial.h"
#include "recordercleardataform.h"
#include "recorderretrieveform.h"
#include "recordersetup_318form.h"
#include "session/session.h"

#include <QTimer>

namespace ks318 {

void TMainForm::buildRecorderDialogs()
{
    beeps_ = std::make_unique<BeepService>();
    Beeps = beeps_.get();
    RecorderWaits = new LinkWaiter(nullptr, this);
    RecorderRetrieveForm = new TRecorderRetrieveForm(this, &messages_, Beeps);
    RecorderSetup_318Form = new TRecorderSetup_318Form(this, setupFirstPaintDone, &messages_, Beeps);
    RecorderSetup_318Form->setHelpHandler([this](int context) { Help->showTopic(context); });
    RecorderClearDataForm = new TRecorderClearDataForm(this, &messages_, Beeps);
    // A session holds on to the port it was opened on: it goes before that
    // port closes.
    connect(DefaultSerialPortForm, &TDefaultSerialPortForm::portChanging, this, [this] { recorderSession.reset(); });
    // A USB adapter unplugged while the port is open keeps its device name
    // for as long as the handle stays open, and comes back under another
    // name. The line is looked at now and then, so that the handle of a
    // device that went is let go at once; the next recorder command opens
    // the port again.
    auto* portWatch = new QTimer(this);
    portWatch->setObjectName(QStringLiteral("PortWatch"));
    connect(portWatch, &QTimer::timeout, this, [] { checkOpenPort(); });
    portWatch->start(2000);
}

void TMainForm::setRecorderLine(SerialPortIo* port, Clock* time)
{
    recorderSession.reset();
    recorderPort_ = port;
    RecorderWaits->setTimeSource(time);
}

QString TMainForm::chooseSaveFile(const QString& preset) const
{
    return chooseSaveFile_ ? chooseSaveFile_(QString(), preset) : QString();
}

bool TMainForm::openRecorderSession(BusyCursor& busy)
{
    BusyCursorMessages messages(&messages_, busy);
    // The new session takes the place of the previous one.
    recorderSession.reset();
    RecorderWaits->forgetEscape();
    auto beep = [this] { Beeps->beep(); };
    if (recorderPort_)
        recorderSession = OpenSession(*recorderPort_, *RecorderWaits, *RecorderWaits, beep, &messages);
    else
        recorderSession = OpenSession(session_.settings.analysis.serialPortName.toQString(), *RecorderWaits,
                                      *RecorderWaits, beep, &messages);
    return recorderSession != nullptr;
}

void TMainForm::runRecorderCommand(const std::function<void()>& action, bool busyMeanwhile)
{
    activeView = 0;
    BusyCursor busy;
    if (!openRecorderSession(busy))
        return;
    // A dialog shows the normal cursor while the user works in it; its link
    // work shows the busy one.
    if (!busyMeanwhile)
        busy.release();
    action();
    if (recorderSession)
        recorderSession->recordCount = 0;
}

void TMainForm::RecorderZireStartmeasurementClick()
{
    // "40" for as long as the recorder answers; silence is the normal end.
    runRecorderCommand([this] { recorderSession->StartMeasurement(); }, true);
}

void TMainForm::RecorderZireRetrievedataClick()
{
    runRecorderCommand([this] { RecorderRetrieveForm->exec(); }, false);
}

void TMainForm::RecorderZireCleardataClick()
{
    runRecorderCommand([this] { RecorderClearDataForm->exec(); }, false);
}

void TMainForm::RecorderZireSetupClick()
{
    runRecorderCommand(
        [this] {
            RecorderSetup_318Form->exec();
            setupFirstPaintDone = false;
        },
        false);
}

void TMainForm::shutDownRecorder()
{
    // At exit: the session goes, the recorder gets a moment, the port closes.
    if (recorderSession) {
        recorderSession.reset();
        RecorderWaits->pauseMs(350);
    }
    ClosePort();
}

} // namespace ks318
