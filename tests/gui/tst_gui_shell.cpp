// The pieces around the main window: the splash closing after the first
// repaint, the help topics of the windows and the title the window system
// shows.
#include "app/helpservice.h"
#include "app/splashform.h"
#include "guisupport.h"
#include "records/stringtable.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QtTest>

using namespace ks318;

class TestShell : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splashClosesAfterTheFirstRepaint()
    {
        TSplashForm splash;
        splash.show();
        guitest::MainWindow w;
        QVERIFY(w.form);
        w.form->setSplash(&splash);
        QVERIFY(splash.isVisible());
        w.form->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.form.get()));
        // The main window's event loop keeps running while the splash waits.
        QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 5000);
    }

    // Each window's help context leads to its own topic on the page shown;
    // an unknown one to the contents.
    void helpTopics()
    {
        HelpService help;
        auto* browser = help.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
        QVERIFY(browser);
        QStringList anchors;
        for (const int context : {5, 15, 24, 33, 35, 37, 38, 46}) {
            help.showTopic(context);
            anchors << help.currentAnchor();
            QVERIFY2(browser->toHtml().contains("name=\"" + anchors.last() + '"'), qPrintable(anchors.last()));
        }
        QCOMPARE(QSet<QString>(anchors.begin(), anchors.end()).size(), anchors.size());
        help.showTopic(999);
        QCOMPARE(help.currentAnchor(), QStringLiteral("contents"));
    }

    // Under X11 the program's caption reaches the window system exactly as
    // the program sets it: Qt appends nothing to it.
    void titleAsTheWindowSystemShowsIt()
    {
        const QString xvfbRun = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (xvfbRun.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
            QSKIP("xvfb-run and xwininfo are needed");
        QTemporaryDir start;  // for the settings files
        QProcess run;
        run.setWorkingDirectory(start.path());
        // The window names once the main window is there.
        const QString script = QStringLiteral(
            "QT_QPA_PLATFORM=xcb \"$0\" & app=$!; for i in $(seq 200); do xwininfo -root -tree | grep -q KS-318P "
            "&& break; sleep 0.1; done; xwininfo -root -tree; kill $app");
        run.start(xvfbRun, {QStringLiteral("-a"), QStringLiteral("sh"), QStringLiteral("-c"), script,
                            qEnvironmentVariable("KS318_APP")});
        QVERIFY(run.waitForFinished(60000));
        const QString windows = QString::fromUtf8(run.readAllStandardOutput());
        QVERIFY2(windows.contains(QLatin1Char('"') + StringTable::text(3) + QLatin1Char('"')), qPrintable(windows));
    }
};

QTEST_MAIN(TestShell)
#include "tst_gui_shell.moc"
