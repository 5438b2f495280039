#include "procinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <arpa/inet.h>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace wintools {

static QByteArray readSmallFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll(); // /proc files report size 0: read to the end
}

// /proc/net/tcp prints each 32-bit word of the address in host byte order.
static QByteArray addressBytes(const QByteArray &hex)
{
    QByteArray out;
    for (int w = 0; w + 8 <= hex.size(); w += 8) {
        bool ok = false;
        const quint32 word = hex.mid(w, 8).toUInt(&ok, 16);
        if (!ok)
            return QByteArray();
        char bytes[4];
        std::memcpy(bytes, &word, 4);
        out.append(bytes, 4);
    }
    return out;
}

QList<TcpSocket> parseTcpTable(const QByteArray &text, bool v6)
{
    QList<TcpSocket> out;
    const QList<QByteArray> lines = text.split('\n');
    for (int i = 1; i < lines.size(); ++i) { // line 0 holds the column titles
        const QList<QByteArray> f = lines.at(i).simplified().split(' ');
        if (f.size() < 10)
            continue;
        const QList<QByteArray> local = f.at(1).split(':');
        const QList<QByteArray> remote = f.at(2).split(':');
        if (local.size() != 2 || remote.size() != 2)
            continue;
        TcpSocket s;
        s.v6 = v6;
        s.localAddr = addressBytes(local.at(0));
        s.remoteAddr = addressBytes(remote.at(0));
        const int addrSize = v6 ? 16 : 4;
        if (s.localAddr.size() != addrSize || s.remoteAddr.size() != addrSize)
            continue;
        bool ok1 = false, ok2 = false, ok3 = false, ok4 = false;
        s.localPort = quint16(local.at(1).toUInt(&ok1, 16));
        s.remotePort = quint16(remote.at(1).toUInt(&ok2, 16));
        s.state = f.at(3).toInt(&ok3, 16);
        s.inode = f.at(9).toULongLong(&ok4);
        if (ok1 && ok2 && ok3 && ok4)
            out.append(s);
    }
    return out;
}

QList<TcpSocket> readTcpSockets(bool v4, bool v6)
{
    QList<TcpSocket> out;
    if (v4)
        out += parseTcpTable(readSmallFile(QStringLiteral("/proc/net/tcp")), false);
    if (v6)
        out += parseTcpTable(readSmallFile(QStringLiteral("/proc/net/tcp6")), true);
    return out;
}

QString endpointText(const QByteArray &addr, quint16 port, bool v6)
{
    char buf[INET6_ADDRSTRLEN] = {};
    if (!inet_ntop(v6 ? AF_INET6 : AF_INET, addr.constData(), buf, sizeof buf))
        return QString();
    const QString host = QString::fromLatin1(buf);
    return (v6 ? QLatin1Char('[') + host + QLatin1Char(']') : host) + QLatin1Char(':') + QString::number(port);
}

QList<qint64> allPids()
{
    QList<qint64> out;
    DIR *d = opendir("/proc");
    if (!d)
        return out;
    while (dirent *e = readdir(d)) {
        char *end = nullptr;
        const long long pid = strtoll(e->d_name, &end, 10);
        if (end && *end == '\0' && pid > 0)
            out.append(pid);
    }
    closedir(d);
    std::sort(out.begin(), out.end());
    return out;
}

QHash<quint64, qint64> socketOwners()
{
    QHash<quint64, qint64> owners;
    static const char prefix[] = "socket:[";
    for (const qint64 pid : allPids()) {
        const QByteArray fdDir = "/proc/" + QByteArray::number(pid) + "/fd";
        DIR *d = opendir(fdDir.constData());
        if (!d)
            continue; // another user's process: its sockets keep PID 0
        while (dirent *e = readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            char target[64];
            QByteArray link = fdDir;
            link += '/';
            link += e->d_name;
            const ssize_t n = readlink(link.constData(), target, sizeof target - 1);
            if (n <= 0)
                continue;
            target[n] = '\0';
            if (std::strncmp(target, prefix, sizeof prefix - 1) != 0)
                continue;
            const quint64 inode = strtoull(target + sizeof prefix - 1, nullptr, 10);
            if (inode && !owners.contains(inode))
                owners.insert(inode, pid);
        }
        closedir(d);
    }
    return owners;
}

static QString procPath(qint64 pid, const char *file)
{
    return QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(file));
}

bool processExists(qint64 pid)
{
    struct stat st;
    return pid > 0 && stat(QFile::encodeName(QStringLiteral("/proc/%1").arg(pid)).constData(), &st) == 0;
}

bool isKernelThread(qint64 pid)
{
    return readSmallFile(procPath(pid, "cmdline")).isEmpty();
}

QString processName(qint64 pid)
{
    QString exe = QFile::symLinkTarget(procPath(pid, "exe"));
    if (exe.endsWith(QLatin1String(" (deleted)")))
        exe.chop(10);
    if (!exe.isEmpty())
        return QFileInfo(exe).fileName();
    const QByteArray cmdline = readSmallFile(procPath(pid, "cmdline"));
    const QByteArray first = cmdline.left(cmdline.indexOf('\0'));
    if (!first.isEmpty())
        return QFileInfo(QFile::decodeName(first)).fileName();
    return QString::fromLocal8Bit(readSmallFile(procPath(pid, "comm"))).trimmed();
}

static QByteArray statusField(qint64 pid, const char *name)
{
    const QByteArray text = readSmallFile(procPath(pid, "status"));
    for (const QByteArray &line : text.split('\n'))
        if (line.startsWith(name) && line.size() > int(std::strlen(name)) && line.at(int(std::strlen(name))) == ':')
            return line.mid(int(std::strlen(name)) + 1).trimmed();
    return QByteArray();
}

qint64 parentPid(qint64 pid)
{
    bool ok = false;
    const qint64 p = statusField(pid, "PPid").toLongLong(&ok);
    return ok ? p : -1;
}

qint64 processUid(qint64 pid)
{
    bool ok = false;
    const qint64 uid = statusField(pid, "Uid").simplified().split(' ').value(0).toLongLong(&ok);
    return ok ? uid : -1;
}

qint64 residentKb(qint64 pid)
{
    return statusField(pid, "VmRSS").split(' ').value(0).toLongLong();
}

} // namespace wintools
