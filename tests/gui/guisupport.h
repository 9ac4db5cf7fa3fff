#pragma once
// The main window over a fresh start directory (where the settings go) and a
// folder holding the demo recording; the file dialogs answer from fields.
#include "app/mainform.h"
#include "app/messageservice.h"
#include "session/session.h"
#include "support/testfiles.h"
#include "synthetic.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

namespace ks318::guitest {

using test::writeFile;

// Runs `act` from the event loop (also inside a modal dialog) once `ready`
// holds; given up when `owner` goes.
inline void when(QObject* owner, std::function<bool()> ready, std::function<void()> act)
{
    auto* timer = new QTimer(owner);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, act] {
        if (!ready())
            return;
        timer->stop();
        timer->deleteLater();
        act();
    });
    timer->start();
}

inline QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Message ids as a table shows them: separated by blanks, "none" for none.
inline QString idsText(const QList<int>& ids)
{
    QStringList words;
    for (int id : ids)
        words << QString::number(id);
    return words.isEmpty() ? QStringLiteral("none") : words.join(QLatin1Char(' '));
}

struct MainWindow {
    QTemporaryDir start;
    QTemporaryDir files;
    Session session;
    GuiMessageService messages{true};
    std::unique_ptr<TMainForm> form;
    QString chosen;         // what the open dialog returns
    QString saved;          // what the save dialog returns
    QStringList presets;    // presets of the open and save dialogs
    int saveDialogs = 0;

    MainWindow()
    {
        if (!start.isValid() || !files.isValid() || !QDir::setCurrent(start.path())
            || !writeFile(demoPath(), synth::demoFile()))
            return;
        form = std::make_unique<TMainForm>(session, messages);
        form->setFileChooser([this](const QString&, const QString& preset) {
            presets << preset;
            return chosen;
        });
        form->setSaveChooser([this](const QString&, const QString& preset) {
            ++saveDialogs;
            presets << preset;
            return saved;
        });
    }
    ~MainWindow()
    {
        form.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    QString file(const QString& name) const { return files.filePath(name); }
    QString demoPath() const { return file(QStringLiteral("DEMO.DAT")); }

    // The entries that need an open recording: all enabled or all disabled.
    bool analysisMenus(bool enabled) const
    {
        return form->ViewMenuT2AbpmStd->menuAction()->isEnabled() == enabled
               && form->ReportMenu->isEnabled() == enabled && form->FileSaveAs->isEnabled() == enabled;
    }
};

} // namespace ks318::guitest
