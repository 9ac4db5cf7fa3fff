// The pieces around the main window: the splash closing after the first
// repaint, the help topics of the windows, and on a real X display the title
// the window system shows and where dialogs open; Qt's own dialogs in Japanese.
#include "app/helpservice.h"
#include "app/myapplication.h"
#include "app/splashform.h"
#include "guisupport.h"
#include "records/stringtable.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QProcess>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QtTest>

using namespace ks318;

namespace {

// What `script` prints run under xvfb-run ("$0": the program named by the
// variable `program`) with the server `options`, in `run`'s folder and
// environment. The search for a free display starts from a number of each
// run's own: a display just let go of (by the run before, or by another test
// beside this one) can still refuse the program for a moment, so the scripts
// start it again when it could not connect.
QString underXvfb(QProcess& run, const QStringList& options, const QString& script, const char* program)
{
    static int runs = 0;
    const qint64 from = 100 + (QCoreApplication::applicationPid() + 10 * runs++) % 800;
    run.start(QStandardPaths::findExecutable(QStringLiteral("xvfb-run")),
              QStringList{QStringLiteral("-a"), QStringLiteral("-n"), QString::number(from)} + options
                  + QStringList{QStringLiteral("sh"), QStringLiteral("-c"), "export QT_QPA_PLATFORM=xcb; " + script,
                                qEnvironmentVariable(program)});
    return run.waitForFinished(120000) ? QString::fromUtf8(run.readAllStandardOutput()) : QString();
}

} // namespace

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
    // the program sets it: Qt appends nothing to it. The caption speaks the
    // language of --lang, else the locale's (the user's own settings in a
    // scratch configuration folder keep none).
    void titleAsTheWindowSystemShowsIt_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("english");
        QTest::newRow("--lang ja") << "--lang ja" << "en_US" << false;
        QTest::newRow("locale Japanese") << "" << "" << false;
        QTest::newRow("LANGUAGE English") << "" << "en_US" << true;
        QTest::newRow("--lang en") << "--lang en" << "" << true;
    }

    void titleAsTheWindowSystemShowsIt()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, language);
        QFETCH(bool, english);
        if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty()
            || QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty())
            QSKIP("xvfb-run and xwininfo are needed");
        QTemporaryDir start;  // for the settings files and the user's configuration
        QProcess run;
        run.setWorkingDirectory(start.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANGUAGE"), language);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), start.path());
        run.setProcessEnvironment(env);
        // The window names once the main window is there.
        const QString windows = underXvfb(run, {}, QStringLiteral(
            "start() { \"$0\" %1 2>&1 & app=$!; }; start; for i in $(seq 200); do xwininfo -root -tree | grep -q "
            "KS-318P && break; kill -0 $app 2>/dev/null || start; sleep 0.1; done; xwininfo -root -tree; kill $app")
                                                    .arg(arguments), "KS318_APP");
        const QString caption = StringTable::text(3, english ? Language::English : Language::Japanese);
        QVERIFY2(windows.contains(QLatin1Char('"') + caption + QLatin1Char('"')), qPrintable(windows));
    }

    // Dialogs open in the middle of the screen, the first time as every time
    // after (the serial port dialog's texts, filled in as it shows, once
    // moved it off centre). On a real X display; without a window manager,
    // whose start-up timing would make the run unsteady.
    void dialogsReopenWhereTheyWere()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
            QSKIP("xvfb-run is needed");
        QProcess run;
        // Started again only when it printed nothing (it could not connect).
        const QString script = QStringLiteral("for i in 1 2 3; do out=$(\"$0\" 2>/dev/null); [ -n \"$out\" ] && break; "
                                              "done; echo \"$out\"");
        const QStringList lines = underXvfb(run, {QStringLiteral("-s"), QStringLiteral("-screen 0 1280x800x24")},
                                            script, "KS318_PLACEMENT_PROBE")
                                      .split('\n', Qt::SkipEmptyParts);
        QVERIFY2(lines.size() == 13 && lines.first().startsWith(QStringLiteral("screen ")),
                 qPrintable(lines.join('\n')));
        const QStringList s = lines.first().split(' ');
        const QRect screen(s[1].toInt(), s[2].toInt(), s[3].toInt(), s[4].toInt());
        for (const QString& line : lines.mid(1)) {
            // NAME N frame X Y W H same 0|1 (as the opening before)
            const QStringList f = line.split(' ');
            const QRect frame(f[3].toInt(), f[4].toInt(), f[5].toInt(), f[6].toInt());
            const QPoint offCentre = frame.center() - screen.center();
            QVERIFY2(qAbs(offCentre.x()) <= 3 && qAbs(offCentre.y()) <= 3, qPrintable(line));
            // The second and third openings show the very same screen.
            QVERIFY2(f[1] != QLatin1String("3") || f[8] == QLatin1String("1"), qPrintable(line));
        }
    }

    // Qt's own dialogs speak the interface's language: the Yes/No buttons of
    // a question, the file dialog (open and save) and the print dialog show
    // no English word.
    void qtDialogsInJapanese()
    {
        QVERIFY(installQtTranslation(*qApp, QStringLiteral("ja")));
        QMessageBox question(QMessageBox::Question, QStringLiteral("確認"), QStringLiteral("削除しますか"),
                             QMessageBox::Yes | QMessageBox::No);
        QFileDialog open(nullptr, QStringLiteral("開く"));
        open.setOption(QFileDialog::DontUseNativeDialog);
        QFileDialog save(nullptr, QStringLiteral("保存"));
        save.setOption(QFileDialog::DontUseNativeDialog);
        save.setAcceptMode(QFileDialog::AcceptSave);
        QPrinter printer;
        QPrintDialog print(&printer);
        const QRegularExpression word(QStringLiteral("[A-Za-z]{3,}"));
        for (QWidget* dialog : QList<QWidget*>{&question, &open, &save, &print}) {
            QStringList texts;
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                texts << label->text();
            for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
                texts << button->text();
            texts.removeAll(QString());
            QVERIFY(!texts.isEmpty());
            for (const QString& text : texts)
                QVERIFY2(!word.match(text).hasMatch(), qPrintable(dialog->metaObject()->className() + (": " + text)));
        }
    }
};

QTEST_MAIN(TestShell)
#include "tst_gui_shell.moc"
