// The default BP settings dialog: what is stored, what is refused with
// message 197, and what it shows. (Stored values out of range fall back at
// the next start: tst_settings, readBack.)
#include "app/defaultbpsettingszireform.h"
#include "app/messageservice.h"
#include "session/session.h"
#include "records/settings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace ks318;

class TestBpSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Save stores the four numbers typed unless a systolic
    // threshold is not above its diastolic one (message 197); cancel stores
    // nothing.
    void save_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("stored");
        QTest::newRow("awake equal") << QStringList{"120", "120", "120", "70"} << false;
        QTest::newRow("asleep equal") << QStringList{"140", "90", "70", "70"} << false;
        QTest::newRow("asleep out of range is not the dialog's business") << QStringList{"140", "90", "500", "70"}
                                                                          << true;
        QTest::newRow("two digits") << QStringList{"99", "60", "95", "55"} << true;
        QTest::newRow("cancel") << QStringList{"160", "100", "130", "80"} << false;
    }

    void save()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, stored);
        Session session;
        AnalysisSettings& a = session.settings.analysis;
        a.valid = 1;
        std::tie(a.sysThreshold1, a.diaThreshold1, a.sysThreshold2, a.diaThreshold2) = std::tuple(135, 85, 115, 65);
        GuiMessageService messages(true);
        TDefaultBpSettingsZireForm form(session, &messages);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.HyperAwakeSysLimitMaskEdit->setText(typed[0]);
        form.HyperAwakeDiaLimitMaskEdit->setText(typed[1]);
        form.HyperSleepSysLimitMaskEdit->setText(typed[2]);
        form.HyperSleepDiaLimitMaskEdit->setText(typed[3]);
        const bool cancel = QString::fromLatin1(QTest::currentDataTag()) == QLatin1String("cancel");
        (cancel ? form.DefaultBpCancelButton : form.DefaultBpSaveButton)->click();
        const QList<int> thresholds{a.sysThreshold1, a.diaThreshold1, a.sysThreshold2, a.diaThreshold2};
        if (stored || cancel) {
            QVERIFY(messages.shown().isEmpty());
            QCOMPARE(form.result(), int(cancel ? QDialog::Rejected : QDialog::Accepted));
            QVERIFY(!form.isVisible());
        } else {
            QCOMPARE(messages.shownIds(), QList<int>{197});
            QVERIFY(form.isVisible());
        }
        QList<int> expected{135, 85, 115, 65};
        for (int i = 0; stored && i < 4; ++i)
            expected[i] = typed[i].toInt();
        QCOMPARE(thresholds, expected);
    }

    // Showing refills the edits from settings that were read (not from
    // design texts); the edits take three digits.
    void showingRefillsFromTheSettings()
    {
        for (const int valid : {0, 1}) {
            Session session;
            session.settings.analysis.valid = valid;
            session.settings.analysis.sysThreshold1 = 150;
            session.settings.analysis.diaThreshold2 = 75;
            TDefaultBpSettingsZireForm form(session, nullptr);
            form.HyperAwakeSysLimitMaskEdit->setText("99");
            form.show();
            QCOMPARE(form.HyperAwakeSysLimitMaskEdit->text() + form.HyperSleepDiaLimitMaskEdit->text(),
                     QLatin1String(valid ? "15075" : "9970"));
            form.HyperAwakeSysLimitMaskEdit->clear();
            QTest::keyClicks(form.HyperAwakeSysLimitMaskEdit, "12a345");
            QCOMPARE(form.HyperAwakeSysLimitMaskEdit->text(), QStringLiteral("123"));
        }
    }
};

QTEST_MAIN(TestBpSettings)
#include "tst_gui_bpsettings.moc"
