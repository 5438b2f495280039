// netstat for Linux in the layout of the Windows command: "netstat -anop tcp"
// lists the TCP sockets of /proc/net/tcp and /proc/net/tcp6 with the Windows
// state words and the owning PID (0 when the owner cannot be read).

#include "procinfo.h"
#include "winformat.h"

#include <QStringList>

#include <algorithm>
#include <cstdio>

using namespace wintools;

static int usage(const QString &bad)
{
    const QString text = QStringLiteral("\r\nInvalid option: %1\r\n\r\n"
                                        "Displays protocol statistics and current TCP/IP network connections.\r\n\r\n"
                                        "NETSTAT [-a] [-n] [-o] [-p proto]\r\n").arg(bad);
    fputs(text.toLocal8Bit().constData(), stdout);
    return 1;
}

int main(int argc, char **argv)
{
    bool all = false, withPid = false;
    QString proto;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a.size() < 2 || (a.at(0) != QLatin1Char('-') && a.at(0) != QLatin1Char('/')))
            return usage(a);
        for (int k = 1; k < a.size(); ++k) {
            const QChar c = a.at(k).toLower();
            if (c == QLatin1Char('a')) {
                all = true;
            } else if (c == QLatin1Char('n')) {
                // addresses are always numeric here
            } else if (c == QLatin1Char('o')) {
                withPid = true;
            } else if (c == QLatin1Char('p') && k == a.size() - 1 && i + 1 < argc) {
                proto = QString::fromLocal8Bit(argv[++i]).toLower();
            } else {
                return usage(a);
            }
        }
    }
    // "tcp" also takes the IPv6 table: on Linux a socket bound to [::] holds the
    // IPv4 port as well, and a port check must see it.
    const bool v4 = proto.isEmpty() || proto == QLatin1String("tcp");
    const bool v6 = v4 || proto == QLatin1String("tcpv6");

    QList<TcpSocket> sockets = readTcpSockets(v4, v6);
    std::stable_sort(sockets.begin(), sockets.end(), [](const TcpSocket &x, const TcpSocket &y) {
        if (x.v6 != y.v6)
            return !x.v6;
        if (x.localAddr != y.localAddr)
            return x.localAddr < y.localAddr;
        if (x.localPort != y.localPort)
            return x.localPort < y.localPort;
        if (x.remoteAddr != y.remoteAddr)
            return x.remoteAddr < y.remoteAddr;
        return x.remotePort < y.remotePort;
    });
    const QHash<quint64, qint64> owners = withPid ? socketOwners() : QHash<quint64, qint64>();

    QString out = netstatHeader(withPid);
    for (const TcpSocket &s : sockets) {
        if (!all && s.state == 0x0A)
            continue;
        const QString pid = withPid ? QString::number(owners.value(s.inode, 0)) : QString();
        out += netstatLine(QStringLiteral("TCP"), endpointText(s.localAddr, s.localPort, s.v6),
                           endpointText(s.remoteAddr, s.remotePort, s.v6), tcpStateWord(s.state), pid);
    }
    const QByteArray bytes = out.toLocal8Bit();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return 0;
}
