// The main window: its menu tree before and after an open, the open sequence
// with the files it refuses, the caption, the facility dialog's radio buttons
// under the arrow keys, and the settings written at exit.
#include "app/hospitalnameform.h"
#include "guisupport.h"
#include "records/settings.h"
#include "viewsupport.h"
#include "session/session.h"

#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
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

    // The menu tree, each entry hidden, disabled or enabled without a file
    // and with one open, and the hidden toolbar's state, against
    // golden/main-menu.txt.
    void menusAndToolbar()
    {
        QList<std::pair<QAction*, int>> entries;   // with their depth
        std::function<void(const QList<QAction*>&, int)> walk = [&](const QList<QAction*>& actions, int depth) {
            for (QAction* a : actions) {
                entries << std::pair(a, depth);
                if (a->menu())
                    walk(a->menu()->actions(), depth + 1);
            }
        };
        walk(form()->menuBar()->actions(), 0);
        const auto state = [](const QAction* a) {
            return QLatin1String(!a->isVisible() ? "hidden" : a->isEnabled() ? "enabled" : "disabled");
        };
        const auto toolbar = [this] {
            const TMainForm& f = *form();
            return QStringLiteral("toolbar hidden %1, intervals '%2' %3, BP mode %4 of %5 %6, session mode %7\n")
                .arg(f.Toolbar->isHidden()).arg(f.AnalysisIntervalsStatusLabel->text())
                .arg(f.AnalysisIntervalsButton->isEnabled()).arg(f.BPModeCombo->currentIndex())
                .arg(f.BPModeCombo->count()).arg(f.BPModeCombo->isEnabled()).arg(int(session().state.bpMode));
        };
        form()->BPModeCombo->setCurrentIndex(2);
        QStringList before;
        for (const auto& [a, depth] : entries)
            before << state(a);
        QString text = toolbar();
        QVERIFY(form()->openFile(w_->demoPath()));
        text += QStringLiteral("with a file: ") + toolbar();
        for (int i = 0; i < entries.size(); ++i) {
            const auto& [a, depth] = entries[i];
            text += QString(depth * 2, ' ')
                    + (a->isSeparator() ? QStringLiteral("----")
                                        : QStringLiteral("%1 \"%2\" %3 / %4").arg(a->objectName(), a->text(), before[i], state(a)))
                    + '\n';
        }
        KS318_COMPARE_GOLDEN(text.toUtf8(), "main-menu.txt");
    }

    // Opening a file with or without a recording open before, against
    // golden/open-sequence.txt: a refused file leaves the previous recording
    // current (or none), with its caption and menus, and no block behind.
    void openSequence()
    {
        const QMap<QString, QList<Reading>> readings{
            {"other recorder", {{0, 8, 0}, {0, 9, 0}}},     {"43848 hours", {{0, 0, 0}, {1826, 23, 0}}},
            {"43849 hours", {{0, 0, 0}, {1827, 0, 0}}},      {"out of order", {{0, 10, 0}, {0, 9, 59}}},
            {"two at the same time", {{0, 10, 0}, {0, 10, 0}}},
        };
        QString text;
        for (const auto& [kind, previous] : QList<std::pair<QString, bool>>{
                 {"other recorder", false}, {"other recorder", true}, {"43848 hours", true}, {"43849 hours", true},
                 {"out of order", true}, {"out of order", false}, {"two at the same time", false}, {"missing", true}}) {
            w_ = std::make_unique<MainWindow>();
            const QString path = w_->file(QStringLiteral("REC.DAT"));
            const RecorderType type = kind == "other recorder" ? RecorderType::Rv5730 : RecorderType::Ks318;
            if (readings.contains(kind))
                QVERIFY(viewtest::writeRecording(path, readings[kind], viewtest::kFirstDate, type));
            if (previous)
                QVERIFY(form()->openFile(w_->demoPath()));
            const bool opened = form()->openFile(path);
            const SessionState& st = session().state;
            text += QStringLiteral("== %1, %2\nopened %3, file '%4', caption '%5'\n")
                        .arg(kind, previous ? "after DEMO" : "nothing open before")
                        .arg(opened)
                        .arg(QFileInfo(st.currentFilePath).fileName(), form()->windowTitle());
            text += QStringLiteral("menus %1, patient %2, type %3, block %4, hours %5, order error %6\n")
                        .arg(w_->analysisMenus(true))
                        .arg(session().patient.valid)
                        .arg(int(st.recorderType))
                        .arg(session().data() != nullptr)
                        .arg(session().intervals.interval1Hours)
                        .arg(st.timeOrderError);
            for (const auto& m : w_->messages.shown())
                text += QStringLiteral("message %1, caption %2, icon %3\n").arg(m.stringId).arg(m.captionId).arg(int(m.icon));
        }
        KS318_COMPARE_GOLDEN(text.toUtf8(), "open-sequence.txt");
    }

    // On the facility dialog an arrow key moves the check with the focus
    // between あり and なし, and the choice is what 保存 keeps (shown again:
    // what the dialog starts from).
    void facilityRadioButtonsFollowTheArrows()
    {
        session().settings.facility.facilityName.setQString(QStringLiteral("北町診療所"));
        session().settings.facility.printFacilityName = 0;
        THospitalNameForm* dialog = form()->HospitalNameForm;
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QVERIFY(dialog->HospitalNameOffRadioButton->isChecked());
        dialog->HospitalNameOffRadioButton->setFocus();
        for (const auto& [key, on] : {std::pair(Qt::Key_Up, true), {Qt::Key_Down, false}, {Qt::Key_Up, true},
                                      {Qt::Key_Right, false}}) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QRadioButton* moved = on ? dialog->HospitalNameOnRadioButton : dialog->HospitalNameOffRadioButton;
            QCOMPARE(QApplication::focusWidget(), moved);
            QVERIFY(moved->isChecked());
        }
        QTest::mouseClick(dialog->HospitalNameSaveButton, Qt::LeftButton);
        QCOMPARE(session().settings.facility.printFacilityName, 0);
        dialog->show();
        QVERIFY(dialog->HospitalNameOffRadioButton->isChecked());
        dialog->HospitalNameOnRadioButton->click();
        QTest::mouseClick(dialog->HospitalNameSaveButton, Qt::LeftButton);
        QCOMPARE(session().settings.facility.printFacilityName, 1);
        QCOMPARE(session().settings.facility.facilityName.toQString(), QStringLiteral("北町診療所"));
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
        QCOMPARE(readBytes(QDir(startDir).filePath("data.d")), formatDataD(analysis));
        QCOMPARE(readBytes(QDir(startDir).filePath("data.m")), formatDataM(physicians));
        QCOMPARE(readBytes(QDir(startDir).filePath("data.o")), QByteArray("Clinic\n1\n"));

        // The next start reads them back from the start directory.
        Session next;
        GuiMessageService quiet(true);
        TMainForm again(next, quiet);
        QCOMPARE(next.settings.analysis.sysThreshold1, 150);
        QVERIFY(quiet.shown().isEmpty());
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_gui_mainform.moc"
