#include "portaccess.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>

namespace ks318 {

namespace {

// The name of the group owning `device`, or its number when it has no name.
QString owningGroup(const QByteArray& path)
{
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return QString();
    if (const group* g = ::getgrgid(st.st_gid))
        return QString::fromLocal8Bit(g->gr_name);
    return QString::number(st.st_gid);
}

} // namespace

PortAccess checkPortAccess(const QString& device)
{
    const QByteArray path = device.toLocal8Bit();
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return portOpenFailure(device, errno);
    if (::euidaccess(path.constData(), R_OK | W_OK) != 0)
        return portOpenFailure(device, errno);
    PortAccess access{device, S_ISCHR(st.st_mode) ? PortAccess::Usable : PortAccess::NotSerial, {}, {}};
    return access;
}

PortAccess portOpenFailure(const QString& device, int err)
{
    PortAccess access{device, PortAccess::Failed, {}, {}};
    switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENODEV:
    case ENXIO:
    case EIO:  // a serial port whose hardware is not there
        access.verdict = PortAccess::Missing;
        break;
    case EACCES:
    case EPERM:
        access.verdict = PortAccess::Denied;
        access.group = owningGroup(device.toLocal8Bit());
        break;
    case EBUSY:
    case EWOULDBLOCK:  // the lock of another program
        access.verdict = PortAccess::Busy;
        break;
    case ENOTTY:
        access.verdict = PortAccess::NotSerial;
        break;
    default:
        access.detail = QString::fromLocal8Bit(std::strerror(err));
        break;
    }
    return access;
}

QString portAccessShortText(const PortAccess& access)
{
    switch (access.verdict) {
    case PortAccess::Usable: return QCoreApplication::translate("PortAccess", "使用できます");
    case PortAccess::Missing: return QCoreApplication::translate("PortAccess", "デバイスがありません");
    case PortAccess::Denied:
        return access.group.isEmpty() ? QCoreApplication::translate("PortAccess", "使用する権限がありません")
                                      : QCoreApplication::translate("PortAccess", "使用する権限がありません（%1 グループ）").arg(access.group);
    case PortAccess::Busy: return QCoreApplication::translate("PortAccess", "他のプログラムが使用中です");
    case PortAccess::NotSerial: return QCoreApplication::translate("PortAccess", "シリアルポートではありません");
    case PortAccess::Failed: break;
    }
    return access.detail;
}

QString portAccessLine(const PortAccess& access)
{
    QString line = QStringLiteral("%1: %2").arg(access.device, portAccessShortText(access));
    switch (access.verdict) {
    case PortAccess::Missing:
        line += QCoreApplication::translate("PortAccess", "。レコーダのケーブル（USB シリアル変換器）と選んだポートを確かめてください。");
        break;
    case PortAccess::Denied:
        // A device of the superuser's group cannot be given by membership.
        if (!access.group.isEmpty() && access.group != QLatin1String("root"))
            line += QCoreApplication::translate("PortAccess", "。sudo usermod -aG %1 $USER の後、ログインし直してください。").arg(access.group);
        break;
    case PortAccess::Busy:
        line += QCoreApplication::translate("PortAccess", "。使用中のプログラムを終了してください。");
        break;
    default:
        break;
    }
    return line;
}

} // namespace ks318
