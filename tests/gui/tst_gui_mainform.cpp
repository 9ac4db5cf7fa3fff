// The main window: its menu tree before and after an open, the open sequence
// with the files it refuses, the caption, and the settings written at exit.
#include "app/mainform.h"
#include "app/messageservice.h"
#include "records/bpdatafile.h"
#include "records/session.h"
#include "records/settings.h"
#include "records/stringtable.h"
#include "support/synthetic.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

using namespace ks318;

namespace {

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void setDate(BpReading& r, int year, int month, int day, int hour, int minute)
{
    r.year = static_cast<std::uint32_t>(year);
    r.month = static_cast<std::uint8_t>(month);
    r.day = static_cast<std::uint8_t>(day);
    r.hour = static_cast<std::uint8_t>(hour);
    r.minute = static_cast<std::uint8_t>(minute);
}

// A recording of two readings at the given times.
bool writeTwoReadings(const QString& path, const QDateTime& first, const QDateTime& second)
{
    synth::Options o;
    o.count = 2;
    auto data = synth::makeRecording(o);
    setDate(data->readings[0], first.date().year(), first.date().month(), first.date().day(), first.time().hour(),
            first.time().minute());
    setDate(data->readings[1], second.date().year(), second.date().month(), second.date().day(),
            second.time().hour(), second.time().minute());
    return writeBpDataFile(path, *data, RecorderType::Ks318);
}

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> start_;
    std::unique_ptr<QTemporaryDir> files_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<GuiMessageService> messages_;
    std::unique_ptr<TMainForm> form_;
    QString chosen_;

    QString demoPath() const { return files_->filePath(QStringLiteral("DEMO.DAT")); }
    QString type30Path() const { return files_->filePath(QStringLiteral("OTHER.DAT")); }

    QAction* action(const char* name) const
    {
        return form_->findChild<QAction*>(QString::fromLatin1(name));
    }

    bool analysisMenusEnabled() const
    {
        return form_->ViewMenuT2AbpmStd->menuAction()->isEnabled() && form_->ReportMenu->isEnabled()
               && form_->FileSaveAs->isEnabled();
    }
    bool analysisMenusDisabled() const
    {
        return !form_->ViewMenuT2AbpmStd->menuAction()->isEnabled() && !form_->ReportMenu->isEnabled()
               && !form_->FileSaveAs->isEnabled();
    }

private Q_SLOTS:
    void init()
    {
        start_ = std::make_unique<QTemporaryDir>();
        files_ = std::make_unique<QTemporaryDir>();
        QVERIFY(start_->isValid() && files_->isValid());
        QVERIFY(QDir::setCurrent(start_->path()));
        QVERIFY(writeBytes(demoPath(), synth::demoFile()));
        synth::Options other;
        other.type = RecorderType::Rv5730;
        other.count = 20;
        QVERIFY(writeBytes(type30Path(), synth::makeFile(other)));
        session_ = std::make_unique<Session>();
        messages_ = std::make_unique<GuiMessageService>(true);
        form_ = std::make_unique<TMainForm>(*session_, *messages_);
        form_->setFileChooser([this](const QString&, const QString&) { return chosen_; });
        chosen_.clear();
    }

    void cleanup()
    {
        form_.reset();
        messages_.reset();
        session_.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    void menuEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("enabledWithoutFile");
        QTest::addColumn<bool>("enabledWithFile");
        struct Row {
            const char* name;
            const char* caption;
            bool shown, before, after;
        };
        const Row rows[] = {
            {"FileMenu", "ファイル(&F)", true, true, true},
            {"FileOpen", "開く(&O)...", true, true, true},
            {"FileSaveAs", "保存(&A)...", true, false, true},
            {"FileDelete", "削除(&D)...", true, true, true},
            {"FileConvert", "CSV変換(&V)...", true, true, true},
            {"FileMerge", "ファイル結合", true, true, true},
            {"FilePrint", "印刷(&P)...", true, true, true},
            {"FileExit", "終了(&x)", true, true, true},
            {"ViewMenuT2AbpmStd", "解析(&V)", true, false, true},
            {"ViewT2SummaryData", "サマリーデータ(&S)", true, true, true},
            {"ViewT2BPDataList", "血圧データリスト(&B)", true, true, true},
            {"ViewT2Trends", "トレンド(&T)", true, true, true},
            {"ViewT2CorrelationPlots", "相関図(&C)", true, true, true},
            {"ViewT2GradePlots", "グレード(&G)", true, true, true},
            {"ViewT2Histograms", "ヒストグラム(&H)", true, true, true},
            {"ViewT2PatientInformation", "患者情報(&P)", true, true, true},
            {"RecorderMenuZire", "レコーダ(&c)", true, true, true},
            {"RecorderZireStartmeasurement", "血圧測定( &m)", true, true, true},
            {"RecorderZireRetrievedata", "データ読み込み(&R)...", true, true, true},
            {"RecorderZireCleardata", "データクリア(&C)", true, true, true},
            {"RecorderZireSetup", "設定(&S)...", true, true, true},
            {"ReportMenu", "レポート(&R)", true, false, true},
            {"OptionsMenu", "オプション(&O)", true, true, true},
            {"OptionsPhysicianlist", "登録医リスト(&P)...", true, true, true},
            {"OptionsDefaultsettings", "初期設定(&D)", true, true, true},
            {"DefaultBPsettings", "血圧設定(&B)...", true, true, true},
            {"DefaultSerialport", "シリアルポート(&S)...", true, true, true},
            {"OptionsHospitalName", "施設名", true, true, true},
            {"HelpMenu", "ヘルプ(&H)", true, true, true},
            {"HelpContentsItem", "目次(&C)", true, true, true},
            {"HelpSearchItem", "検索(&S)...", true, true, true},
            {"HelpHowToUseItem", "使い方(&H)", true, true, true},
            {"HelpAboutItem", "情報(&A)...", true, true, true},
        };
        for (const Row& r : rows)
            QTest::newRow(r.name) << QString::fromLatin1(r.name) << QString::fromUtf8(r.caption) << r.shown
                                  << r.before << r.after;
        // Entries of the other recorder families and the unused options: a
        // hidden entry cannot be triggered either.
        for (const char* hidden : {"ViewMenuT1", "ViewMenuT2AbpmPro", "RecorderMenuAbpm", "OptionsReportformats",
                                   "OptionsTrenddisplay", "DefaultRRanalysissettings", "Recordertype"})
            QTest::newRow(hidden) << QString::fromLatin1(hidden) << QString() << false << false << false;
    }

    void menuEntry()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, shown);
        QFETCH(bool, enabledWithoutFile);
        QFETCH(bool, enabledWithFile);
        QAction* a = form_->findChild<QAction*>(name);
        QVERIFY2(a, qPrintable(name));
        if (!caption.isEmpty())
            QCOMPARE(a->text(), caption);
        QCOMPARE(a->isVisible(), shown);
        QCOMPARE(a->isEnabled(), enabledWithoutFile);
        QVERIFY(form_->openFile(demoPath()));
        QCOMPARE(a->isVisible(), shown);
        QCOMPARE(a->isEnabled(), enabledWithFile);
    }

    void menuOrder()
    {
        QStringList top;
        for (QAction* a : form_->menuBar()->actions())
            if (a->isVisible())
                top << a->objectName();
        QCOMPARE(top, (QStringList{"FileMenu", "ViewMenuT2AbpmStd", "RecorderMenuZire", "ReportMenu", "OptionsMenu",
                                    "HelpMenu"}));
    }

    void toolbarStaysHiddenAndHoldsState()
    {
        QVERIFY(form_->Toolbar->isHidden());
        QCOMPARE(form_->AnalysisIntervalsStatusLabel->text(), QStringLiteral("不可"));
        QCOMPARE(form_->AnalysisIntervalsButton->text(), QStringLiteral("区間解析"));
        QVERIFY(!form_->AnalysisIntervalsButton->isEnabled());
        QCOMPARE(form_->BPModeCombo->count(), 4);
        QCOMPARE(form_->BPModeCombo->itemText(1), QStringLiteral("1:Oscillometric, 2:Korotkoff"));
        form_->BPModeCombo->setCurrentIndex(2);
        QVERIFY(form_->openFile(demoPath()));
        QVERIFY(form_->Toolbar->isHidden());
        QCOMPARE(form_->AnalysisIntervalsStatusLabel->text(), QStringLiteral("DISABLED"));
        QCOMPARE(form_->BPModeCombo->currentIndex(), 0);
        QVERIFY(!form_->BPModeCombo->isEnabled());
        QCOMPARE(session_->state.bpMode, BpMode::OscillometricOnly);
    }

    void captionFollowsTheOpenFile()
    {
        const QString title = QStringLiteral("Vorelle ZIRE 解析ソフト (KS-318P-15)");
        QCOMPARE(form_->windowTitle(), title);
        chosen_ = demoPath();
        form_->FileOpenClick();
        const SessionState& st = session_->state;
        QCOMPARE(st.currentFilePath, demoPath());
        QVERIFY(st.windowTitleText.startsWith(QStringLiteral("DEMO : ")));
        QVERIFY(st.windowTitleText.endsWith(QStringLiteral("  ") + st.startDateText.toQString()));
        QCOMPARE(form_->windowTitle(), title + QStringLiteral(" - [ ") + st.windowTitleText + QStringLiteral(" ]"));
        QVERIFY(messages_->shown().isEmpty());
        // The graphics window starts on the whole analysis interval.
        QCOMPARE(session_->graphView.visibleMinutes, int(session_->intervals.interval1Hours) * 60);
        QVERIFY(session_->graphView.zoomAllData);
        QVERIFY(session_->data() && session_->data()->readingCount() > 0);
        QVERIFY(!form_->openInProgress);
    }

    void cancelChangesNothing()
    {
        QVERIFY(form_->openFile(demoPath()));
        const QString caption = form_->windowTitle();
        chosen_.clear();
        form_->FileOpenClick();
        QCOMPARE(session_->state.currentFilePath, demoPath());
        QCOMPARE(form_->windowTitle(), caption);
        QVERIFY(messages_->shown().isEmpty());
        QVERIFY(!form_->openInProgress);
        QVERIFY(analysisMenusEnabled());
    }

    void otherRecorderWithoutPreviousFile()
    {
        chosen_ = type30Path();
        form_->FileOpenClick();
        QCOMPARE(messages_->shownIds(), QList<int>{262});
        QCOMPARE(messages_->shown().first().captionId, 14);
        QCOMPARE(messages_->shown().first().icon, MessageIcon::Warning);
        QVERIFY(session_->state.currentFilePath.isEmpty());
        QVERIFY(session_->state.windowTitleText.isEmpty());
        QVERIFY(!session_->patient.valid);
        QCOMPARE(form_->windowTitle(), StringTable::text(3));
        QVERIFY(analysisMenusDisabled());
    }

    void otherRecorderWithPreviousFile()
    {
        QVERIFY(form_->openFile(demoPath()));
        const QString caption = form_->windowTitle();
        const QString title = session_->state.windowTitleText;
        QVERIFY(!form_->openFile(type30Path()));
        QCOMPARE(messages_->shownIds(), QList<int>{262});
        QCOMPARE(session_->state.currentFilePath, demoPath());
        QCOMPARE(session_->state.windowTitleText, title);
        QCOMPARE(session_->state.recorderType, RecorderType::Ks318);
        QCOMPARE(form_->windowTitle(), caption);
        QVERIFY(analysisMenusEnabled());
    }

    void recordingLength_data()
    {
        QTest::addColumn<QDateTime>("last");
        QTest::addColumn<bool>("accepted");
        const QDateTime first(QDate(2020, 1, 1), QTime(0, 0));
        QTest::newRow("43848 hours") << first.addDays(1826).addSecs(23 * 3600) << true;
        QTest::newRow("43849 hours") << first.addDays(1827) << false;
    }

    void recordingLength()
    {
        QFETCH(QDateTime, last);
        QFETCH(bool, accepted);
        const QString path = files_->filePath(QStringLiteral("LONG.DAT"));
        QVERIFY(writeTwoReadings(path, QDateTime(QDate(2020, 1, 1), QTime(0, 0)), last));
        QVERIFY(form_->openFile(demoPath()));
        QCOMPARE(form_->openFile(path), accepted);
        if (accepted) {
            QCOMPARE(session_->intervals.interval1Hours, 43848u);
            QVERIFY(messages_->shown().isEmpty());
            QCOMPARE(session_->state.currentFilePath, path);
        } else {
            QCOMPARE(messages_->shownIds(), QList<int>{223});
            QCOMPARE(session_->state.currentFilePath, demoPath());
            QVERIFY(session_->state.windowTitleText.startsWith(QStringLiteral("DEMO : ")));
        }
    }

    void readingsOutOfOrder_data()
    {
        QTest::addColumn<bool>("withPrevious");
        QTest::newRow("previous file") << true;
        QTest::newRow("no previous file") << false;
    }

    void readingsOutOfOrder()
    {
        QFETCH(bool, withPrevious);
        const QString path = files_->filePath(QStringLiteral("ORDER.DAT"));
        QVERIFY(writeTwoReadings(path, QDateTime(QDate(2026, 11, 2), QTime(10, 0)),
                                 QDateTime(QDate(2026, 11, 2), QTime(9, 59))));
        if (withPrevious)
            QVERIFY(form_->openFile(demoPath()));
        QVERIFY(!form_->openFile(path));
        QCOMPARE(messages_->shownIds(), QList<int>{271});
        QVERIFY(!session_->state.timeOrderError);
        QCOMPARE(session_->state.currentFilePath, withPrevious ? demoPath() : QString());
        QCOMPARE(withPrevious ? analysisMenusEnabled() : analysisMenusDisabled(), true);
        // The refused file's readings are not left behind as the current block.
        QVERIFY(!session_->data());
    }

    void readingsAtTheSameTimeAreInOrder()
    {
        const QString path = files_->filePath(QStringLiteral("SAME.DAT"));
        QVERIFY(writeTwoReadings(path, QDateTime(QDate(2026, 11, 2), QTime(10, 0)),
                                 QDateTime(QDate(2026, 11, 2), QTime(10, 0))));
        QVERIFY(form_->openFile(path));
        QVERIFY(messages_->shown().isEmpty());
    }

    void missingFileIsNotMadeCurrent()
    {
        QVERIFY(form_->openFile(demoPath()));
        QVERIFY(!form_->openFile(files_->filePath(QStringLiteral("NONE.DAT"))));
        QVERIFY(!messages_->shown().isEmpty());
        QCOMPARE(session_->state.currentFilePath, demoPath());
        QVERIFY(analysisMenusEnabled());
    }

    void interruptedOpenIsUndoneAtRepaint()
    {
        QVERIFY(form_->openFile(demoPath()));
        const QString title = session_->state.windowTitleText;
        // As if an open had stopped half-way through another file.
        form_->openInProgress = true;
        form_->previousFilePath = demoPath();
        session_->state.currentFilePath = type30Path();
        form_->FormPaint();
        QVERIFY(!form_->openInProgress);
        QCOMPARE(session_->state.currentFilePath, demoPath());
        QCOMPARE(session_->state.windowTitleText, title);
    }

    void menusResetActiveView()
    {
        form_->activeView = 4;
        Q_EMIT form_->HelpMenu->aboutToShow();
        QCOMPARE(form_->activeView, 0);
        form_->ViewT2BPDataList->trigger();
        QCOMPARE(form_->activeView, 2);
        Q_EMIT form_->FileMenu->aboutToShow();
        QCOMPARE(form_->activeView, 0);
    }

    void settingsWrittenAtExit()
    {
        const QString startDir = start_->path();
        session_->settings.analysis.sysThreshold1 = 150;
        session_->settings.facility.facilityName.assign(std::string("Clinic"));
        session_->settings.facility.printFacilityName = 1;
        QVERIFY(form_->openFile(demoPath()));
        // Working elsewhere in the meantime does not move the settings.
        QVERIFY(QDir::setCurrent(files_->path()));
        const AnalysisSettings analysis = session_->settings.analysis;
        const PhysicianList physicians = session_->settings.physicians;
        const FacilitySettings facility = session_->settings.facility;
        form_.reset();
        QCOMPARE(QDir::currentPath(), QDir(startDir).canonicalPath());
        const QStringList files = QDir(startDir).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files, (QStringList{"data.d", "data.m", "data.o"}));
        QCOMPARE(readBytes(QDir(startDir).filePath("data.d")), formatDataD(analysis));
        QCOMPARE(readBytes(QDir(startDir).filePath("data.m")), formatDataM(physicians));
        QCOMPARE(readBytes(QDir(startDir).filePath("data.o")), QByteArray("Clinic\n1\n"));
        Q_UNUSED(facility);
    }

    void settingsReadAtStart()
    {
        // The settings of the start directory, as a previous run left them.
        form_->session().settings.analysis.sysThreshold2 = 130;
        form_.reset();
        Session next;
        GuiMessageService quiet(true);
        TMainForm again(next, quiet);
        QCOMPARE(again.startupDirectory, QDir::currentPath());
        QCOMPARE(next.settings.analysis.valid, 1);
        QCOMPARE(next.settings.analysis.sysThreshold2, 130);
        QVERIFY(quiet.shown().isEmpty());
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_gui_mainform.moc"
