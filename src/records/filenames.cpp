#include "filenames.h"

#include <QDir>
#include <QFileInfo>

namespace ks318 {

QString replaceExtension(const QString& path, const QString& extension)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot > slash)
        return path.left(dot) + extension;
    return path + extension;
}

QString resolveMemberPath(const QString& path, const QString& extension)
{
    const QString exact = replaceExtension(path, extension);
    if (QFileInfo::exists(exact))
        return exact;
    const QString lower = replaceExtension(path, extension.toLower());
    if (QFileInfo::exists(lower))
        return lower;
    const QString upper = replaceExtension(path, extension.toUpper());
    if (QFileInfo::exists(upper))
        return upper;
    return exact;
}

QStringList memberSpellings(const QString& path, const QString& extension)
{
    QStringList names{replaceExtension(path, extension), replaceExtension(path, extension.toLower()),
                      replaceExtension(path, extension.toUpper())};
    names.removeDuplicates();
    return names;
}

RecordingFiles RecordingFiles::resolve(const QString& path)
{
    RecordingFiles files;
    files.path = path;
    files.data = resolveMemberPath(path, QStringLiteral(".DAT"));
    files.companion = resolveMemberPath(path, QStringLiteral(".p30"));
    files.csv = resolveMemberPath(path, QStringLiteral(".csv"));
    files.legacy = resolveMemberPath(path, QStringLiteral(".pat"));
    files.converterOutput = replaceExtension(QFileInfo(files.legacy).absoluteFilePath(), QStringLiteral(".tmp"));
    return files;
}

} // namespace ks318
