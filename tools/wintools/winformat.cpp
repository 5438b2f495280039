#include "winformat.h"

namespace wintools {

const char *const CRLF = "\r\n";

static QString padded(const QString &text, int width)
{
    // at least two blanks after every column but the last
    const int blanks = qMax(2, width - text.size());
    return text + QString(blanks, QLatin1Char(' '));
}

QString netstatHeader(bool withPid)
{
    QString out = QStringLiteral("\r\nActive Connections\r\n\r\n  Proto  Local Address          Foreign Address        State");
    if (withPid)
        out += QStringLiteral("           PID");
    return out + QLatin1String(CRLF);
}

QString netstatLine(const QString &proto, const QString &local, const QString &foreign,
                    const QString &state, const QString &pid)
{
    QString out = QStringLiteral("  ") + padded(proto, 7) + padded(local, 23) + padded(foreign, 23);
    if (pid.isEmpty())
        out += state;
    else
        out += padded(state, 16) + pid;
    return out + QLatin1String(CRLF);
}

QString tcpStateWord(int s)
{
    switch (s) {
    case 0x01: return QStringLiteral("ESTABLISHED");
    case 0x02: return QStringLiteral("SYN_SENT");
    case 0x03: return QStringLiteral("SYN_RECEIVED");
    case 0x04: return QStringLiteral("FIN_WAIT_1");
    case 0x05: return QStringLiteral("FIN_WAIT_2");
    case 0x06: return QStringLiteral("TIME_WAIT");
    case 0x07: return QStringLiteral("CLOSED");
    case 0x08: return QStringLiteral("CLOSE_WAIT");
    case 0x09: return QStringLiteral("LAST_ACK");
    case 0x0A: return QStringLiteral("LISTENING");
    case 0x0B: return QStringLiteral("CLOSING");
    case 0x0C: return QStringLiteral("SYN_RECEIVED");
    default: return QStringLiteral("UNKNOWN");
    }
}

QString tasklistHeader()
{
    return QStringLiteral("\r\nImage Name                     PID Session Name        Session#    Mem Usage\r\n"
                          "========================= ======== ================ =========== ============\r\n");
}

QString memUsage(qint64 kb)
{
    QString digits = QString::number(qMax<qint64>(0, kb));
    for (int i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return digits + QStringLiteral(" K");
}

QString tasklistLine(const QString &image, qint64 pid, const QString &sessionName, int session,
                     qint64 memKb)
{
    // Windows cuts image names to the column; the line must still begin with
    // the whole name followed by a blank, so a long name pushes the rest right.
    return image.leftJustified(25) + QLatin1Char(' ') + QString::number(pid).rightJustified(8)
        + QLatin1Char(' ') + sessionName.leftJustified(16) + QLatin1Char(' ')
        + QString::number(session).rightJustified(11) + QLatin1Char(' ')
        + memUsage(memKb).rightJustified(12) + QLatin1String(CRLF);
}

QString tasklistNoMatch()
{
    return QStringLiteral("INFO: No tasks are running which match the specified criteria.\r\n");
}

bool parseTaskFilter(const QString &text, TaskFilter *filter)
{
    const QStringList parts = text.simplified().split(QLatin1Char(' '));
    if (parts.size() != 3)
        return false;
    TaskFilter f;
    const QString field = parts.at(0).toLower();
    if (field == QLatin1String("pid"))
        f.field = TaskFilter::Pid;
    else if (field == QLatin1String("imagename"))
        f.field = TaskFilter::ImageName;
    else
        return false;
    const QString op = parts.at(1).toLower();
    if (op == QLatin1String("eq"))
        f.equal = true;
    else if (op == QLatin1String("ne"))
        f.equal = false;
    else
        return false;
    f.value = parts.at(2);
    if (f.field == TaskFilter::Pid) {
        bool ok = false;
        f.value.toLongLong(&ok);
        if (!ok)
            return false;
    }
    *filter = f;
    return true;
}

bool filterMatches(const TaskFilter &f, qint64 pid, const QString &image)
{
    bool same;
    if (f.field == TaskFilter::Pid)
        same = f.value.toLongLong() == pid;
    else
        same = image.compare(f.value, Qt::CaseInsensitive) == 0;
    return same == f.equal;
}

KillRequest parseKillRequest(const QStringList &args)
{
    KillRequest r;
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args.at(i).toLower();
        if (a == QLatin1String("/f") || a == QLatin1String("-f")) {
            r.force = true;
        } else if (a == QLatin1String("/t") || a == QLatin1String("-t")) {
            r.tree = true;
        } else if ((a == QLatin1String("/im") || a == QLatin1String("-im")) && i + 1 < args.size()) {
            r.images << args.at(++i);
        } else if ((a == QLatin1String("/pid") || a == QLatin1String("-pid")) && i + 1 < args.size()) {
            bool ok = false;
            const qint64 pid = args.at(++i).toLongLong(&ok);
            if (!ok || pid < 0) {
                r.error = QStringLiteral("ERROR: Invalid syntax. Value expected for '/pid'.\r\n");
                return r;
            }
            r.pids << pid;
        } else {
            r.error = QStringLiteral("ERROR: Invalid argument/option - '%1'.\r\n"
                                     "Type \"TASKKILL /?\" for usage.\r\n").arg(args.at(i));
            return r;
        }
    }
    if (r.images.isEmpty() && r.pids.isEmpty())
        r.error = QStringLiteral("ERROR: Invalid syntax. Neither /FI nor /PID nor /IM were specified.\r\n"
                                 "Type \"TASKKILL /?\" for usage.\r\n");
    return r;
}

QString killSuccess(const QString &image, qint64 pid, bool byName, bool forced)
{
    if (!forced)
        return QStringLiteral("SUCCESS: Sent termination signal to the process \"%1\" with PID %2.\r\n")
            .arg(image).arg(pid);
    if (byName)
        return QStringLiteral("SUCCESS: The process \"%1\" with PID %2 has been terminated.\r\n")
            .arg(image).arg(pid);
    return QStringLiteral("SUCCESS: The process with PID %1 has been terminated.\r\n").arg(pid);
}

QString killNotFound(const QString &what)
{
    return QStringLiteral("ERROR: The process \"%1\" not found.\r\n").arg(what);
}

QString killDenied(const QString &image, qint64 pid, const QString &reason)
{
    return QStringLiteral("ERROR: The process \"%1\" with PID %2 could not be terminated.\r\nReason: %3\r\n")
        .arg(image).arg(pid).arg(reason);
}

bool imageNameMatches(const QString &requested, const QString &processName)
{
    if (processName.isEmpty())
        return false;
    if (requested == processName)
        return true;
    if (requested.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        return requested.left(requested.size() - 4) == processName;
    return false;
}

} // namespace wintools
