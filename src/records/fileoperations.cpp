#include "fileoperations.h"

#include "companionfile.h"
#include "dataset.h"
#include "filenames.h"
#include "messages.h"
#include "recording.h"

#include <QFile>
#include <QFileInfo>

namespace ks318 {

namespace {

// The member of `path` with `extension`, both spellings of the extension.
QStringList spellings(const QString& path, const QString& extension)
{
    return memberSpellings(path, extension.toLower());
}

bool anyExists(const QStringList& paths)
{
    for (const QString& p : paths)
        if (QFileInfo::exists(p))
            return true;
    return false;
}

void removeAll(const QStringList& paths)
{
    for (const QString& p : paths)
        if (QFileInfo(p).isFile())
            QFile::remove(p);
}

// Copies `from` to `to` when `from` is a file, never replacing a file at
// `to`. True when there was nothing to copy or the copy is there whole;
// `made` collects the files written.
bool copyIfPresent(const QString& from, const QString& to, QStringList& made)
{
    if (!QFileInfo(from).isFile())
        return true;
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError || !writeNewFileAtomically(to, bytes))
        return false;
    made << to;
    return true;
}

// The data file written for a chosen name: the name itself when it already
// ends in ".dat" (any case), else the name with ".dat".
QString destinationDataPath(const QString& destination)
{
    if (QFileInfo(destination).suffix().compare(QLatin1String("dat"), Qt::CaseInsensitive) == 0)
        return destination;
    return replaceExtension(destination, QStringLiteral(".dat"));
}

bool currentFileExists(const Recording& session)
{
    const QString& current = session.state.currentFilePath;
    return !current.isEmpty() && QFileInfo::exists(resolveMemberPath(current, QStringLiteral(".DAT")));
}

void prepareCurrent(Recording& session, MessageSink* messages)
{
    if (currentFileExists(session))
        prepareDataSet(session, session.state.currentFilePath, QString(), messages);
}

} // namespace

bool saveRecordingAs(Recording& session, const QString& destination, MessageSink* messages)
{
    const QString source = session.state.currentFilePath;
    const QString dataTo = destinationDataPath(destination);
    if (QFileInfo::exists(destination) || anyExists(spellings(destination, QStringLiteral(".dat")))) {
        showMessage(messages, kCannotOverwriteId, kErrorCaptionId, MessageIcon::Warning);
        prepareCurrent(session, messages);
        return false;
    }

    bool copied = true;
    if (!source.isEmpty()) {
        QStringList made;
        copied = copyIfPresent(resolveMemberPath(source, QStringLiteral(".dat")), dataTo, made);
        // Members left behind by an earlier recording of that name would
        // otherwise describe the copy.
        removeAll(spellings(destination, QStringLiteral(".p30")));
        removeAll(spellings(destination, QStringLiteral(".csv")));
        copied = copied &&
                 copyIfPresent(companionFilePath(source), replaceExtension(destination, QStringLiteral(".p30")), made) &&
                 copyIfPresent(resolveMemberPath(source, QStringLiteral(".csv")),
                               replaceExtension(destination, QStringLiteral(".csv")), made);
        if (!copied) {
            // Half a file set would open as another recording: none is left.
            removeAll(made);
            showMessage(messages, kWriteFailedId, kErrorCaptionId, MessageIcon::Warning);
        }
    }
    prepareCurrent(session, messages);
    return copied;
}

bool deleteRecording(Recording& session, const QString& path, MessageSink* messages)
{
    if (!path.isEmpty()) {
        if (destinationDataPath(path) == path)
            removeAll({path});
        removeAll(spellings(path, QStringLiteral(".DAT")));
        removeAll(spellings(path, QStringLiteral(".P30")));
        removeAll(spellings(path, QStringLiteral(".CSV")));
    }

    if (!currentFileExists(session)) {
        session.clearRecording();
        return false;
    }
    prepareDataSet(session, session.state.currentFilePath, QString(), messages);
    return true;
}

} // namespace ks318
