#include "stringtable.h"

#include "cp932.h"

#include <QFile>
#include <QHash>
#include <QMutex>

namespace ks318 {

namespace {

QHash<int, QString> loadTable()
{
    QHash<int, QString> table;
    QFile file(QStringLiteral(":/ks318/strings.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QString all = QString::fromUtf8(file.readAll());
    for (const QString& line : all.split(QLatin1Char('\n'))) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            continue;
        bool ok = false;
        const int id = line.left(tab).toInt(&ok);
        if (!ok)
            continue;
        QString text = line.mid(tab + 1);
        text.replace(QLatin1String("\\n"), QLatin1String("\n"));
        table.insert(id, text);
    }
    return table;
}

const QHash<int, QString>& table()
{
    static const QHash<int, QString> t = loadTable();
    return t;
}

} // namespace

QString StringTable::text(int id)
{
    return table().value(id);
}

std::string StringTable::cp932(int id)
{
    // Readers ask for the same few texts once per reading: each is converted once.
    static QMutex mutex;
    static QHash<int, std::string> converted;
    const QMutexLocker lock(&mutex);
    auto it = converted.constFind(id);
    if (it == converted.constEnd())
        it = converted.insert(id, toCp932(text(id)));
    return *it;
}

bool StringTable::contains(int id)
{
    return table().contains(id);
}

} // namespace ks318
