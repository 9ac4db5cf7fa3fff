// The interface in English: every window and dialog of the program, opened
// over a recording whose own texts are plain ASCII, shows no Japanese text;
// the catalogue resources/i18n/ks318_en.ts gives every text an English form
// (that it is up to date with the sources: the test "translations").
#include "app/defaultbpsettingszireform.h"
#include "app/helpservice.h"
#include "app/hospitalnameform.h"
#include "app/languageform.h"
#include "app/myapplication.h"
#include "app/patientinformationform.h"
#include "gui/guisupport.h"
#include "records/language.h"
#include "views/bpdatalistform.h"

#include <QAbstractItemView>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QtTest>

using namespace ks318;
using namespace ks318::guitest;

namespace {

const QRegularExpression kJapanese(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

// Every text a user reads in `window` and its children, each prefixed with
// where it stands: captions, labels, buttons and edits, group titles, hints,
// help pages, tabs, the entries of lists, grids and drop-down lists.
QStringList textsOf(QWidget* window)
{
    QStringList texts;
    auto add = [&texts](const QObject* where, const QString& text) {
        if (!text.isEmpty())
            texts << where->objectName() + QStringLiteral(": ") + text;
    };
    add(window, window->windowTitle());
    for (QWidget* w : window->findChildren<QWidget*>()) {
        for (const char* property : {"text", "title", "placeholderText", "plainText"})
            add(w, w->property(property).toString());
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                add(w, tabs->tabText(i));
        const auto* view = qobject_cast<QAbstractItemView*>(w);
        const QAbstractItemModel* model = view ? view->model() : nullptr;
        for (int r = 0; model && r < model->rowCount(); ++r)
            for (int c = 0; c < model->columnCount(); ++c)
                add(w, model->index(r, c).data().toString());
        for (const QAction* action : w->actions())
            add(action, action->text());
    }
    return texts;
}

} // namespace

class TstGuiLanguage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(applyLanguage(*qApp, Language::English));
        QVERIFY(installQtTranslation(*qApp, QStringLiteral("en")));
    }

    void cleanupTestCase() { applyLanguage(*qApp, Language::Japanese); }

    void everyWindowInEnglish()
    {
        MainWindow w;
        QVERIFY(w.form);
        synth::Options o;
        o.count = 30;
        o.patient = false;
        o.excludedEvery = 4;
        o.errorEvery = 6;  // the reader describes each error: shown in English
        const QString plain = w.file(QStringLiteral("PLAIN.DAT"));
        QVERIFY(writeFile(plain, synth::makeFile(o)));
        w.form->show();
        QVERIFY(w.form->openFile(plain));
        QVERIFY(w.analysisMenus(true));

        TMainForm& f = *w.form;
        // Menus and lists are read with the windows that own them.
        QList<QWidget*> windows{&f};
        for (QWidget* child : f.findChildren<QWidget*>())
            if (child->windowType() == Qt::Dialog || child->windowType() == Qt::Window)
                windows << child;
        QVERIFY(windows.size() >= 20);
        // The views and the dialogs that fill their texts as they show.
        f.ViewT2SummaryData->trigger();
        f.ViewT2BPDataList->trigger();
        f.ViewT2Trends->trigger();
        f.Help->showContents();
        for (QWidget* dialog : QList<QWidget*>{f.PatientInformationForm, f.LanguageForm, f.DefaultBpSettingsZireForm,
                                               f.HospitalNameForm})
            dialog->show();
        QCoreApplication::processEvents();

        int seen = 0;
        for (QWidget* window : windows) {
            const QStringList texts = textsOf(window);
            QVERIFY2(!texts.isEmpty(), qPrintable(window->objectName()));
            seen += int(texts.size());
            for (const QString& text : texts)
                QVERIFY2(!kJapanese.match(text).hasMatch(), qPrintable(text));
        }
        QVERIFY(seen > 200);
        // A few texts as the English user reads them.
        QCOMPARE(f.FileMenu->title(), QStringLiteral("&File"));
        QCOMPARE(f.DefaultLanguage->text(), QStringLiteral("&Language..."));
        QVERIFY(f.windowTitle().contains(QStringLiteral("2026-11-02")));
        // Saving the list in English records the error descriptions as the
        // Japanese program does: the data file does not change.
        const QByteArray before = readBytes(plain);
        QVERIFY(f.BPDataListForm->SaveButtonClick());
        QCOMPARE(readBytes(plain), before);
    }

    // The catalogue: every message has a finished English text, none of it Japanese.
    void catalogueComplete()
    {
        const QString ts = QString::fromUtf8(readBytes(test::goldenPath("../../resources/i18n/ks318_en.ts")));
        const qsizetype messages = ts.count(QStringLiteral("<message>"));
        QVERIFY(messages > 200);
        QRegularExpressionMatchIterator finished =
            QRegularExpression(QStringLiteral("<source>(.*)</source>\\s*<translation>([^<]+)</translation>"))
                .globalMatch(ts);
        qsizetype translated = 0;
        for (; finished.hasNext(); ++translated) {
            const QRegularExpressionMatch m = finished.next();
            QVERIFY2(!kJapanese.match(m.captured(2)).hasMatch(), qPrintable(m.captured(1)));
        }
        QCOMPARE(translated, messages);
    }

    // The language dialog keeps its choice in the program's own settings
    // and can let it follow the desktop again.
    void languageChoiceKept()
    {
        TLanguageForm form;
        for (const auto& [button, expected] :
             {std::pair<QRadioButton*, std::optional<Language>>{form.LanguageEnglishRadioButton, Language::English},
              {form.LanguageJapaneseRadioButton, Language::Japanese},
              {form.LanguageAutoRadioButton, std::nullopt}}) {
            form.show();
            button->setChecked(true);
            form.LanguageOkButton->click();
            QCOMPARE(savedLanguage(), expected);
            QStringList args{QStringLiteral("--lang"), QStringLiteral("ja"), QStringLiteral("X.DAT")};
            QCOMPARE(startLanguage(args), Language::Japanese);
            QCOMPARE(args, QStringList{QStringLiteral("X.DAT")});
            QStringList none;
            QCOMPARE(startLanguage(none), expected.value_or(languageOfEnvironment()));
        }
    }
};

QTEST_MAIN(TstGuiLanguage)
#include "tst_gui_language.moc"
