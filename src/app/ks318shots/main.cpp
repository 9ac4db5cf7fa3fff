// ks318-shots [--lang ja|en] FILE OUT_DIR: PNG pictures of the main window
// with FILE open and of its windows and dialogs, for review; the recorder
// dialogs read from the settings' port (ks318-sim in tools/screenshot.sh).
// Runs in a scratch start directory holding copies of FILE and its companion
// file, so no settings land elsewhere and the recording is left alone.
#include "app/aboutform.h"
#include "app/defaultbpsettingszireform.h"
#include "app/defaultserialportform.h"
#include "app/hospitalnameform.h"
#include "app/languageform.h"
#include "app/mainform.h"
#include "app/messageservice.h"
#include "app/myapplication.h"
#include "app/patientinformationform.h"
#include "app/physicianentryform.h"
#include "app/physicianselectionform.h"
#include "app/recordercleardataform.h"
#include "app/recorderretrieveform.h"
#include "app/recordersetup_318form.h"
#include "records/filenames.h"
#include "records/physicianroster.h"
#include "session/session.h"
#include "reports/printprogressform.h"
#include "reports/reportselection318form.h"
#include "views/bpdatalistform.h"
#include "views/cp932edit.h"
#include "views/summarydataform.h"
#include "views/viewgraphicsform.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

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

int main(int argc, char** argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    ks318::setLanguage(ks318::startLanguage(args));
    ks318::TMyApplication app(argc, argv);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: ks318-shots [--lang ja|en] FILE OUT_DIR\n");
        return 2;
    }
    const QString file = QFileInfo(args[0]).absoluteFilePath();
    const QDir out(QFileInfo(args[1]).absoluteFilePath());
    QTemporaryDir start;
    if (!start.isValid() || !QDir::setCurrent(start.path()))
        return 1;
    const QString copy = start.filePath(QFileInfo(file).fileName());
    QFile::copy(file, copy);
    const QString companion = ks318::resolveMemberPath(file, QStringLiteral(".p30"));
    QFile::copy(companion, start.filePath(QFileInfo(companion).fileName()));

    ks318::Session session;
    ks318::GuiMessageService messages(true);
    ks318::TMainForm form(session, messages);
    bool ok = true;
    const auto save = [&out, &ok](QWidget* widget, const char* name, int settleMs) {
        QTest::qWait(settleMs);
        ok = widget->grab().save(out.filePath(QString::fromLatin1(name))) && ok;
    };
    const auto shoot = [&save](QWidget* widget, const char* name) {
        widget->show();
        save(widget, name, 200);
        widget->hide();
    };
    form.show();
    form.openFile(copy);
    save(&form, "main.png", 300);
    // The retrieval dialog once the readings arrived, the setup dialog with the recorder's schedule.
    ks318::TRecorderRetrieveForm* retrieve = form.RecorderRetrieveForm;
    shootWhen(retrieve, [retrieve] {
        retrieve->PatientNameEdit->setText(QStringLiteral("山田 太郎"));
        return retrieve->hasData;
    }, out.filePath(QStringLiteral("retrieve.png")), ok);
    form.RecorderZireRetrievedata->trigger();
    ks318::TRecorderSetup_318Form* setup = form.RecorderSetup_318Form;
    shootWhen(setup, [setup] { return setup->slotTexts(0).hour != QLatin1String("off"); },
              out.filePath(QStringLiteral("setup.png")), ok);
    form.RecorderZireSetup->trigger();
    shoot(form.RecorderClearDataForm, "cleardata.png");
    shoot(form.DefaultSerialPortForm, "serialport.png");
    shoot(form.AboutForm, "about.png");
    shoot(form.DefaultBpSettingsZireForm, "bpsettings.png");
    form.ViewT2SummaryData->trigger();
    const std::pair<int, const char*> summaryPages[] = {{0, "summary.png"}, {2, "summary-day.png"},
                                                        {4, "summary-clinical.png"}};
    for (const auto& [page, name] : summaryPages) {
        form.SummaryDataForm->SummaryPageControl->setCurrentIndex(page);
        save(form.SummaryDataForm, name, 300);
    }
    form.SummaryDataForm->hide();
    form.ViewT2BPDataList->trigger();
    save(form.BPDataListForm, "bpdatalist.png", 300);
    form.BPDataListForm->hide();
    // The patient dialog of the open recording, the physician list with three physicians.
    form.PatientInformationForm->fillPending = true;
    shoot(form.PatientInformationForm, "patient.png");
    const QStringList physicians{QStringLiteral("田中"), QStringLiteral("Suzuki"), QStringLiteral("佐藤")};
    for (const QString& name : physicians)
        form.PhysicianSelectionForm->roster().save(true, -1, {name, QStringLiteral("一郎"), QStringLiteral("港区芝公園1-2-3"),
                                                              QStringLiteral("03-1234-5678")});
    form.PhysicianSelectionForm->show();
    save(form.PhysicianSelectionForm, "physicians.png", 200);
    ks318::TPhysicianEntryForm* entry = form.PhysicianSelectionForm->PhysicianEntryForm;
    entry->isNewEntry = false;
    entry->selectedRow = 1;
    shoot(entry, "physician.png");
    form.PhysicianSelectionForm->hide();
    shoot(form.HospitalNameForm, "facility.png");
    shoot(form.LanguageForm, "language.png");
    const std::pair<QAction*, const char*> graphs[] = {{form.ViewT2Trends, "trend.png"},
                                                       {form.ViewT2CorrelationPlots, "correlation.png"},
                                                       {form.ViewT2Histograms, "histogram.png"},
                                                       {form.ViewT2GradePlots, "grade.png"}};
    for (const auto& [action, name] : graphs) {
        action->trigger();
        save(form.ViewGraphicsForm, name, 300);
    }
    form.ViewT2Trends->trigger();
    form.ViewGraphicsForm->findChild<QAction*>(QStringLiteral("Zoom1day1"))->trigger();
    save(form.ViewGraphicsForm, "trend-1day.png", 300);
    form.ViewGraphicsForm->hide();
    shoot(form.ReportSelection318Form, "report.png");
    form.PrintProgressForm->start();
    form.PrintProgressForm->FileLabel->setText(copy);
    form.PrintProgressForm->ProgressBar->setValue(50);
    save(form.PrintProgressForm, "printprogress.png", 200);
    form.PrintProgressForm->hide();
    for (const auto& m : messages.shown())
        std::fprintf(stderr, "ks318-shots: message %d while opening\n", m.stringId);
    return ok ? 0 : 1;
}
