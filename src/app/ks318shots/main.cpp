// ks318-shots [--lang ja|en] FILE OUT_DIR: pictures of the main window with
// FILE open, the about box, the BP threshold dialog, the summary data window
// (its Full, Day and clinical measures pages), the BP data list, the patient
// information dialog, the physician list, the facility name and the language
// dialogs, and the graphics window (trend, trend of one day, correlation,
// histogram and grade pages), the report dialog and the print progress
// dialog, saved as PNG for review.
// Runs in a scratch start directory of its own (with a copy of FILE and its
// companion file) so no settings land elsewhere and the recording is left
// alone.
#include "app/aboutform.h"
#include "app/defaultbpsettingszireform.h"
#include "app/hospitalnameform.h"
#include "app/languageform.h"
#include "app/mainform.h"
#include "app/messageservice.h"
#include "app/myapplication.h"
#include "app/patientinformationform.h"
#include "app/physicianentryform.h"
#include "app/physicianselectionform.h"
#include "records/physicianroster.h"
#include "session/session.h"
#include "reports/printprogressform.h"
#include "reports/reportselection318form.h"
#include "views/bpdatalistform.h"
#include "views/summarydataform.h"
#include "views/viewgraphicsform.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstring>

// The recorder dialogs (recordershots.cpp).
bool saveRecorderShots(ks318::TMainForm& form, const QDir& out);

int main(int argc, char** argv)
{
    // The windows speak the language given (Japanese by default).
    if (argc == 5 && std::strcmp(argv[1], "--lang") == 0) {
        ks318::setLanguage(std::strcmp(argv[2], "en") == 0 ? ks318::Language::English : ks318::Language::Japanese);
        argv[2] = argv[0];
        argv += 2;
        argc -= 2;
    }
    ks318::TMyApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ks318-shots [--lang ja|en] FILE OUT_DIR\n");
        return 2;
    }
    const QString file = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QDir out(QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath());
    QTemporaryDir start;
    if (!start.isValid() || !QDir::setCurrent(start.path()))
        return 1;
    const QString copy = start.filePath(QFileInfo(file).fileName());
    QFile::copy(file, copy);
    const QString companion = QFileInfo(file).path() + QLatin1Char('/') + QFileInfo(file).completeBaseName()
                              + QStringLiteral(".p30");
    if (QFileInfo::exists(companion))
        QFile::copy(companion, start.filePath(QFileInfo(companion).fileName()));

    ks318::Session session;
    ks318::GuiMessageService messages(true);
    ks318::TMainForm form(session, messages);
    form.show();
    form.openFile(copy);
    QTest::qWait(300);
    bool ok = form.grab().save(out.filePath(QStringLiteral("main.png")));
    ok = saveRecorderShots(form, out) && ok;
    form.AboutForm->show();
    QTest::qWait(200);
    ok = form.AboutForm->grab().save(out.filePath(QStringLiteral("about.png"))) && ok;
    form.AboutForm->hide();
    form.DefaultBpSettingsZireForm->show();
    QTest::qWait(200);
    ok = form.DefaultBpSettingsZireForm->grab().save(out.filePath(QStringLiteral("bpsettings.png"))) && ok;
    form.DefaultBpSettingsZireForm->hide();
    form.ViewT2SummaryData->trigger();
    QTest::qWait(300);
    ok = form.SummaryDataForm->grab().save(out.filePath(QStringLiteral("summary.png"))) && ok;
    form.SummaryDataForm->SummaryPageControl->setCurrentIndex(2);
    QTest::qWait(200);
    ok = form.SummaryDataForm->grab().save(out.filePath(QStringLiteral("summary-day.png"))) && ok;
    form.SummaryDataForm->SummaryPageControl->setCurrentIndex(4);
    QTest::qWait(200);
    ok = form.SummaryDataForm->grab().save(out.filePath(QStringLiteral("summary-clinical.png"))) && ok;
    form.SummaryDataForm->hide();
    form.ViewT2BPDataList->trigger();
    QTest::qWait(300);
    ok = form.BPDataListForm->grab().save(out.filePath(QStringLiteral("bpdatalist.png"))) && ok;
    form.BPDataListForm->hide();
    // The patient dialog of the open recording, the physician list with
    // three physicians and the facility name.
    form.PatientInformationForm->fillPending = true;
    form.PatientInformationForm->show();
    QTest::qWait(200);
    ok = form.PatientInformationForm->grab().save(out.filePath(QStringLiteral("patient.png"))) && ok;
    form.PatientInformationForm->hide();
    const QStringList physicians{QStringLiteral("田中"), QStringLiteral("Suzuki"), QStringLiteral("佐藤")};
    for (const QString& name : physicians)
        form.PhysicianSelectionForm->roster().save(true, -1, {name, QStringLiteral("一郎"), QStringLiteral("港区芝公園1-2-3"),
                                                              QStringLiteral("03-1234-5678")});
    form.PhysicianSelectionForm->show();
    QTest::qWait(200);
    ok = form.PhysicianSelectionForm->grab().save(out.filePath(QStringLiteral("physicians.png"))) && ok;
    ks318::TPhysicianEntryForm* entry = form.PhysicianSelectionForm->PhysicianEntryForm;
    entry->isNewEntry = false;
    entry->selectedRow = 1;
    entry->show();
    QTest::qWait(200);
    ok = entry->grab().save(out.filePath(QStringLiteral("physician.png"))) && ok;
    entry->hide();
    form.PhysicianSelectionForm->hide();
    form.HospitalNameForm->show();
    QTest::qWait(200);
    ok = form.HospitalNameForm->grab().save(out.filePath(QStringLiteral("facility.png"))) && ok;
    form.HospitalNameForm->hide();
    form.LanguageForm->show();
    QTest::qWait(200);
    ok = form.LanguageForm->grab().save(out.filePath(QStringLiteral("language.png"))) && ok;
    form.LanguageForm->hide();
    // The graphics window on each of its pages, and the trend zoomed to one day.
    const std::pair<QAction*, const char*> graphs[] = {{form.ViewT2Trends, "trend.png"},
                                                       {form.ViewT2CorrelationPlots, "correlation.png"},
                                                       {form.ViewT2Histograms, "histogram.png"},
                                                       {form.ViewT2GradePlots, "grade.png"}};
    for (const auto& [entry, name] : graphs) {
        entry->trigger();
        QTest::qWait(300);
        ok = form.ViewGraphicsForm->grab().save(out.filePath(QString::fromLatin1(name))) && ok;
    }
    form.ViewT2Trends->trigger();
    form.ViewGraphicsForm->findChild<QAction*>(QStringLiteral("Zoom1day1"))->trigger();
    QTest::qWait(300);
    ok = form.ViewGraphicsForm->grab().save(out.filePath(QStringLiteral("trend-1day.png"))) && ok;
    form.ViewGraphicsForm->hide();
    // The report dialog and the progress dialog of File > Print.
    form.ReportSelection318Form->show();
    QTest::qWait(200);
    ok = form.ReportSelection318Form->grab().save(out.filePath(QStringLiteral("report.png"))) && ok;
    form.ReportSelection318Form->hide();
    form.PrintProgressForm->start();
    form.PrintProgressForm->FileLabel->setText(copy);
    form.PrintProgressForm->ProgressBar->setValue(50);
    QTest::qWait(200);
    ok = form.PrintProgressForm->grab().save(out.filePath(QStringLiteral("printprogress.png"))) && ok;
    form.PrintProgressForm->hide();
    for (const auto& m : messages.shown())
        std::fprintf(stderr, "ks318-shots: message %d while opening\n", m.stringId);
    return ok ? 0 : 1;
}
