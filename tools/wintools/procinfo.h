#pragma once

// What the Linux stand-ins of the Windows commands read from /proc: TCP
// sockets with their owning processes, and process names, owners and
// parents. A process or file that cannot be read simply yields nothing.

#include <QHash>
#include <QList>
#include <QString>

namespace wintools {

struct TcpSocket {
    bool v6 = false;
    QByteArray localAddr;  // 4 or 16 address bytes in network order
    quint16 localPort = 0;
    QByteArray remoteAddr;
    quint16 remotePort = 0;
    int state = 0;         // Linux TCP state number
    quint64 inode = 0;
};

// Parses the text of /proc/net/tcp (v6 false) or /proc/net/tcp6 (v6 true).
QList<TcpSocket> parseTcpTable(const QByteArray &text, bool v6);
QList<TcpSocket> readTcpSockets(bool v4, bool v6);
// "127.0.0.1:5037", "[::1]:5037"
QString endpointText(const QByteArray &addr, quint16 port, bool v6);
// Socket inode -> PID of a process holding it, from /proc/<pid>/fd.
QHash<quint64, qint64> socketOwners();

QList<qint64> allPids();
bool processExists(qint64 pid);
// The process's image name: the file name of its executable (or of the first
// word of its command line when the executable cannot be read).
QString processName(qint64 pid);
// Kernel threads have no command line and are never listed by name.
bool isKernelThread(qint64 pid);
qint64 parentPid(qint64 pid); // -1 when unknown
qint64 processUid(qint64 pid); // -1 when unknown
qint64 residentKb(qint64 pid);

} // namespace wintools
