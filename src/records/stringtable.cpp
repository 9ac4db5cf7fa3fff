#include "stringtable.h"

#include "cp932.h"
#include "language.h"

#include <QFile>
#include <QHash>
#include <QMutex>

namespace ks318 {

namespace {

// Each entry: the Japanese text and the English one (the Japanese text
// again when the table gives none, as for texts that are English already).
struct Entry {
    QString japanese;
    QString english;
};

QString unescape(QString text)
{
    text.replace(QLatin1String("\\n"), QLatin1String("\n"));
    return text;
}

QHash<int, Entry> loadTable()
{
    QHash<int, Entry> table;
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
        const QString rest = line.mid(tab + 1);
        const qsizetype second = rest.indexOf(QLatin1Char('\t'));
        Entry entry;
        entry.japanese = unescape(second < 0 ? rest : rest.left(second));
        entry.english = second < 0 ? entry.japanese : unescape(rest.mid(second + 1));
        table.insert(id, entry);
    }
    return table;
}

const QHash<int, Entry>& table()
{
    static const QHash<int, Entry> t = loadTable();
    return t;
}

} // namespace

QString StringTable::text(int id)
{
    return text(id, language());
}

QString StringTable::text(int id, Language language)
{
    const auto it = table().constFind(id);
    if (it == table().constEnd())
        return QString();
    return language == Language::Japanese ? it->japanese : it->english;
}

std::string StringTable::cp932(int id)
{
    // Readers ask for the same few texts once per reading: each is converted once.
    static QMutex mutex;
    static QHash<int, std::string> converted;
    const QMutexLocker lock(&mutex);
    auto it = converted.constFind(id);
    if (it == converted.constEnd())
        it = converted.insert(id, toCp932(text(id, Language::Japanese)));
    return *it;
}

bool StringTable::contains(int id)
{
    return table().contains(id);
}

} // namespace ks318
