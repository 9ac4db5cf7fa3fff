// The default BP settings dialog: what is stored, what is refused with
// message 197, and how the stored values come back at the next start.
#include "app/defaultbpsettingszireform.h"
#include "app/messageservice.h"
#include "session/session.h"
#include "records/settings.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace ks318;

class TestBpSettings : public QObject {
    Q_OBJECT

private:
    static void type(TDefaultBpSettingsZireForm& form, const QString& awakeSys, const QString& awakeDia,
                     const QString& sleepSys, const QString& sleepDia)
    {
        form.HyperAwakeSysLimitMaskEdit->setText(awakeSys);
        form.HyperAwakeDiaLimitMaskEdit->setText(awakeDia);
        form.HyperSleepSysLimitMaskEdit->setText(sleepSys);
        form.HyperSleepDiaLimitMaskEdit->setText(sleepDia);
    }

private Q_SLOTS:
    void decimalConversion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("blanks around") << "  90 " << 90;
        QTest::newRow("stops at non-digit") << "12a3" << 12;
        QTest::newRow("sign") << "-5" << -5;
        QTest::newRow("no digits") << "   " << 0;
    }

    void decimalConversion()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(decimalValue(text), value);
    }

    // Save stores the four texts unless a systolic threshold is not above
    // its diastolic one (message 197); cancel stores nothing.
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
        a.sysThreshold1 = 135;
        a.diaThreshold1 = 85;
        a.sysThreshold2 = 115;
        a.diaThreshold2 = 65;
        GuiMessageService messages(true);
        TDefaultBpSettingsZireForm form(session, &messages);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        type(form, typed[0], typed[1], typed[2], typed[3]);
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
        if (stored)
            QCOMPARE(thresholds, (QList<int>{typed[0].toInt(), typed[1].toInt(), typed[2].toInt(), typed[3].toInt()}));
        else
            QCOMPARE(thresholds, (QList<int>{135, 85, 115, 65}));
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

    void outOfRangeFallsBackAtNextStart()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Session session;
        GuiMessageService messages(true);
        QVERIFY(loadSettings(session, dir.path(), &messages));
        TDefaultBpSettingsZireForm form(session, &messages);
        form.show();
        type(form, "140", "90", "500", "70");
        form.DefaultBpSaveButton->click();
        QVERIFY(saveSettings(session, &messages));

        Session next;
        QVERIFY(loadSettings(next, dir.path(), &messages));
        QCOMPARE(QList<int>({next.settings.analysis.sysThreshold1, next.settings.analysis.sysThreshold2,
                             next.settings.analysis.diaThreshold2}), QList<int>({140, 120, 70}));
        QVERIFY(messages.shown().isEmpty());
    }
};

QTEST_MAIN(TestBpSettings)
#include "tst_gui_bpsettings.moc"
