#include "recordfile.h"

#include <QFile>

namespace ks318::sim {

QByteArray recordsOfText(const QByteArray& text)
{
    QByteArray out;
    for (QByteArray line : text.split('\n')) {
        line = line.trimmed();
        if (line.startsWith("KS-318  70") && line.size() >= 42)
            out.append(line.mid(30, 10) + line.mid(20, 10) + line.mid(40, 2));
        else if (line.size() >= kRecordLength && !line.startsWith('#'))
            out.append(line.left(kRecordLength));
    }
    return out;
}

bool loadRecords(const QString& path, QByteArray& out)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    out.append(recordsOfText(file.readAll()));
    return true;
}

} // namespace ks318::sim
