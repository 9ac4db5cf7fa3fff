// The main window: its menu tree before and after an open, the open sequence
// with the files it refuses, the caption, and the settings written at exit.
#include "guisupport.h"
#include "records/settings.h"
#include "records/stringtable.h"
#include "viewsupport.h"
#include "session/session.h"

#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;
using viewtest::Reading;

class TestMainForm : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> w_;
    TMainForm* form() const { return w_->form.get(); }
    Session& session() const { return w_->session; }

private Q_SLOTS:
    void init()
    {
        w_ = std::make_unique<MainWindow>();
        QVERIFY(w_->form);
    }

    void cleanup() { w_.reset(); }

    void menuEntry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");   // empty: a hidden entry
        QTest::addColumn<bool>("enabledWithoutFile");
        const std::pair<const char*, const char*> rows[] = {
            {"FileMenu", "ファイル(&F)"},
            {"FileOpen", "開く(&O)..."},
            {"FileSaveAs", "保存(&A)..."},
            {"FileDelete", "削除(&D)..."},
            {"FileConvert", "CSV変換(&V)..."},
            {"FileMerge", "ファイル結合"},
            {"FilePrint", "印刷(&P)..."},
            {"FileExit", "終了(&x)"},
            {"ViewMenuT2AbpmStd", "解析(&V)"},
            {"ViewT2SummaryData", "サマリーデータ(&S)"},
            {"ViewT2BPDataList", "血圧データリスト(&B)"},
            {"ViewT2Trends", "トレンド(&T)"},
            {"ViewT2CorrelationPlots", "相関図(&C)"},
            {"ViewT2GradePlots", "グレード(&G)"},
            {"ViewT2Histograms", "ヒストグラム(&H)"},
            {"ViewT2PatientInformation", "患者情報(&P)"},
            {"RecorderMenuZire", "レコーダ(&c)"},
            {"RecorderZireStartmeasurement", "血圧測定( &m)"},
            {"RecorderZireRetrievedata", "データ読み込み(&R)..."},
            {"RecorderZireCleardata", "データクリア(&C)"},
            {"RecorderZireSetup", "設定(&S)..."},
            {"ReportMenu", "レポート(&R)"},
            {"OptionsMenu", "オプション(&O)"},
            {"OptionsPhysicianlist", "登録医リスト(&P)..."},
            {"OptionsDefaultsettings", "初期設定(&D)"},
            {"DefaultBPsettings", "血圧設定(&B)..."},
            {"DefaultSerialport", "シリアルポート(&S)..."},
            {"OptionsHospitalName", "施設名"},
            {"HelpMenu", "ヘルプ(&H)"},
            {"HelpContentsItem", "目次(&C)"},
            {"HelpSearchItem", "検索(&S)..."},
            {"HelpHowToUseItem", "使い方(&H)"},
            {"HelpAboutItem", "情報(&A)..."},
        };
        const QStringList needFile{"FileSaveAs", "ViewMenuT2AbpmStd", "ReportMenu"};
        for (const auto& [name, caption] : rows)
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromUtf8(caption)
                                << !needFile.contains(QLatin1String(name));
        // Entries of the other recorder families and the unused options: a
        // hidden entry cannot be triggered either.
        for (const char* hidden : {"ViewMenuT1", "ViewMenuT2AbpmPro", "RecorderMenuAbpm", "OptionsReportformats",
                                   "OptionsTrenddisplay", "DefaultRRanalysissettings", "Recordertype"})
            QTest::newRow(hidden) << QString::fromLatin1(hidden) << QString() << false;
    }

    void menuEntry()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, enabledWithoutFile);
        QAction* a = form()->findChild<QAction*>(name);
        QVERIFY2(a, qPrintable(name));
        const bool shown = !caption.isEmpty();
        if (shown)
            QCOMPARE(a->text(), caption);
        QCOMPARE(a->isVisible(), shown);
        QCOMPARE(a->isEnabled(), enabledWithoutFile);
        QVERIFY(form()->openFile(w_->demoPath()));
        QCOMPARE(a->isVisible(), shown);
        QCOMPARE(a->isEnabled(), shown);
    }

    void menuOrder()
    {
        QStringList top;
        for (QAction* a : form()->menuBar()->actions())
            if (a->isVisible())
                top << a->objectName();
        QCOMPARE(top, (QStringList{"FileMenu", "ViewMenuT2AbpmStd", "RecorderMenuZire", "ReportMenu", "OptionsMenu",
                                    "HelpMenu"}));
    }

    void toolbarStaysHiddenAndHoldsState()
    {
        QVERIFY(form()->Toolbar->isHidden());
        QCOMPARE(form()->AnalysisIntervalsStatusLabel->text(), QStringLiteral("不可"));
        QVERIFY(!form()->AnalysisIntervalsButton->isEnabled());
        QCOMPARE(form()->BPModeCombo->count(), 4);
        form()->BPModeCombo->setCurrentIndex(2);
        QVERIFY(form()->openFile(w_->demoPath()));
        QVERIFY(form()->Toolbar->isHidden());
        QCOMPARE(form()->AnalysisIntervalsStatusLabel->text(), QStringLiteral("DISABLED"));
        QCOMPARE(form()->BPModeCombo->currentIndex(), 0);
        QVERIFY(!form()->BPModeCombo->isEnabled());
        QCOMPARE(session().state.bpMode, BpMode::OscillometricOnly);
    }

    void captionFollowsTheOpenFile()
    {
        const QString title = StringTable::text(3);
        QCOMPARE(form()->windowTitle(), title);
        w_->chosen = w_->demoPath();
        form()->FileOpenClick();
        const SessionState& st = session().state;
        QCOMPARE(st.currentFilePath, w_->demoPath());
        QVERIFY(st.windowTitleText.startsWith(QStringLiteral("DEMO : ")));
        QVERIFY(st.windowTitleText.endsWith(QStringLiteral("  ") + st.startDateText.toQString()));
        QCOMPARE(form()->windowTitle(), title + QStringLiteral(" - [ ") + st.windowTitleText + QStringLiteral(" ]"));
        QVERIFY(w_->messages.shown().isEmpty());
        // The graphics window starts on the whole analysis interval.
        QCOMPARE(session().graphView.visibleMinutes, int(session().intervals.interval1Hours) * 60);
        QVERIFY(session().graphView.zoomAllData);
        QVERIFY(session().data() && session().data()->readingCount() > 0);
        QVERIFY(!form()->openInProgress);

        // Cancelling the next open changes nothing.
        w_->chosen.clear();
        const QString caption = form()->windowTitle();
        form()->FileOpenClick();
        QCOMPARE(st.currentFilePath, w_->demoPath());
        QCOMPARE(form()->windowTitle(), caption);
        QVERIFY(w_->messages.shown().isEmpty());
        QVERIFY(w_->analysisMenus(true));
    }

    // Opening a file with or without a recording open before: a refused file
    // (message id given) leaves the previous recording current, or none.
    void openSequence_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("withPrevious");
        QTest::addColumn<int>("message");               // 0: opened, -1: any one message
        QTest::newRow("other recorder, no previous file") << "other" << false << 262;
        QTest::newRow("other recorder, previous file") << "other" << true << 262;
        QTest::newRow("43848 hours") << "longest" << true << 0;
        QTest::newRow("43849 hours") << "too long" << true << 223;
        QTest::newRow("out of order, previous file") << "backwards" << true << 271;
        QTest::newRow("out of order, no previous file") << "backwards" << false << 271;
        QTest::newRow("two readings at the same time") << "same time" << false << 0;
        QTest::newRow("missing file") << "missing" << true << -1;
    }

    void openSequence()
    {
        QFETCH(QString, kind);
        QFETCH(bool, withPrevious);
        QFETCH(int, message);
        const QMap<QString, QList<Reading>> readings{
            {"other", {{0, 8, 0}, {0, 9, 0}}},          {"longest", {{0, 0, 0}, {1826, 23, 0}}},
            {"too long", {{0, 0, 0}, {1827, 0, 0}}},    {"backwards", {{0, 10, 0}, {0, 9, 59}}},
            {"same time", {{0, 10, 0}, {0, 10, 0}}},
        };
        const QString path = w_->file(QStringLiteral("REC.DAT"));
        const RecorderType type = kind == QLatin1String("other") ? RecorderType::Rv5730 : RecorderType::Ks318;
        if (readings.contains(kind))
            QVERIFY(viewtest::writeRecording(path, readings[kind], viewtest::kFirstDate, type));
        if (withPrevious)
            QVERIFY(form()->openFile(w_->demoPath()));
        const SessionState& st = session().state;
        const QString caption = form()->windowTitle();
        const QString title = st.windowTitleText;
        QCOMPARE(form()->openFile(path), message == 0);
        if (message == 0) {
            QVERIFY(w_->messages.shown().isEmpty());
            QCOMPARE(st.currentFilePath, path);
            QVERIFY(w_->analysisMenus(true));
            if (kind == QLatin1String("longest"))
                QCOMPARE(session().intervals.interval1Hours, 43848u);
            return;
        }
        QCOMPARE(w_->messages.shown().size(), 1);
        if (message > 0) {
            QCOMPARE(w_->messages.shownIds(), QList<int>{message});
            QCOMPARE(w_->messages.shown().first().captionId, 14);
            QCOMPARE(w_->messages.shown().first().icon, MessageIcon::Warning);
        }
        QVERIFY(!st.timeOrderError);
        QCOMPARE(st.currentFilePath, withPrevious ? w_->demoPath() : QString());
        QCOMPARE(st.windowTitleText, title);
        QCOMPARE(form()->windowTitle(), caption);
        QVERIFY(w_->analysisMenus(withPrevious));
        QCOMPARE(session().patient.valid != 0, withPrevious);
        if (withPrevious)
            QCOMPARE(st.recorderType, RecorderType::Ks318);
        // The refused file's readings are not left behind as the current block.
        QVERIFY(!session().data());
    }

    void interruptedOpenIsUndoneAtRepaint()
    {
        QVERIFY(form()->openFile(w_->demoPath()));
        const QString title = session().state.windowTitleText;
        // As if an open had stopped half-way through another file.
        form()->openInProgress = true;
        form()->previousFilePath = w_->demoPath();
        session().state.currentFilePath = w_->file(QStringLiteral("OTHER.DAT"));
        form()->FormPaint();
        QVERIFY(!form()->openInProgress);
        QCOMPARE(session().state.currentFilePath, w_->demoPath());
        QCOMPARE(session().state.windowTitleText, title);
    }

    void menusResetActiveView()
    {
        form()->activeView = 4;
        Q_EMIT form()->HelpMenu->aboutToShow();
        QCOMPARE(form()->activeView, 0);
        form()->ViewT2BPDataList->trigger();
        QCOMPARE(form()->activeView, 2);
        Q_EMIT form()->FileMenu->aboutToShow();
        QCOMPARE(form()->activeView, 0);
    }

    void settingsWrittenAtExit()
    {
        const QString startDir = w_->start.path();
        session().settings.analysis.sysThreshold1 = 150;
        session().settings.facility.facilityName.assign(std::string("Clinic"));
        session().settings.facility.printFacilityName = 1;
        QVERIFY(form()->openFile(w_->demoPath()));
        // Working elsewhere in the meantime does not move the settings.
        QVERIFY(QDir::setCurrent(w_->files.path()));
        const AnalysisSettings analysis = session().settings.analysis;
        const PhysicianList physicians = session().settings.physicians;
        w_->form.reset();
        QCOMPARE(QDir::currentPath(), QDir(startDir).canonicalPath());
        QCOMPARE(QDir(startDir).entryList(QDir::Files, QDir::Name), (QStringList{"data.d", "data.m", "data.o"}));
        QCOMPARE(readBytes(QDir(startDir).filePath("data.d")), formatDataD(analysis));
        QCOMPARE(readBytes(QDir(startDir).filePath("data.m")), formatDataM(physicians));
        QCOMPARE(readBytes(QDir(startDir).filePath("data.o")), QByteArray("Clinic\n1\n"));

        // The next start reads them back from the start directory.
        Session next;
        GuiMessageService quiet(true);
        TMainForm again(next, quiet);
        QCOMPARE(again.startupDirectory, QDir::currentPath());
        QCOMPARE(next.settings.analysis.valid, 1);
        QCOMPARE(next.settings.analysis.sysThreshold1, 150);
        QVERIFY(quiet.shown().isEmpty());
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_gui_mainform.moc"
