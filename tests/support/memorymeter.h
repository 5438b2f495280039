#pragma once

// Resident memory of this process, as Linux reports it in /proc/self/status
// (elsewhere every figure is -1): the current size (VmRSS) and the peak since
// the last resetPeak() (VmHWM).

#include <QByteArray>
#include <QFile>

namespace memorymeter {

inline qint64 statusKb(const QByteArray &key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

inline qint64 residentKb() { return statusKb("VmRSS"); }
inline qint64 peakKb() { return statusKb("VmHWM"); }

// Starts a new peak at the current size; false when the system cannot.
inline bool resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

} // namespace memorymeter
