// tasklist for Linux in the layout of the Windows command:
// tasklist [/nh] [/fi "pid eq N"] [/fi "imagename eq NAME"]

#include "procinfo.h"
#include "winformat.h"

#include <QStringList>

#include <cstdio>

using namespace wintools;

static int fail(const QString &text)
{
    fputs(text.toLocal8Bit().constData(), stderr);
    return 1;
}

int main(int argc, char **argv)
{
    QList<TaskFilter> filters;
    bool header = true;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a.compare(QLatin1String("/fi"), Qt::CaseInsensitive) == 0 && i + 1 < argc) {
            TaskFilter f;
            if (!parseTaskFilter(QString::fromLocal8Bit(argv[++i]), &f))
                return fail(QStringLiteral("ERROR: The search filter cannot be recognized.\r\n"));
            filters << f;
        } else if (a.compare(QLatin1String("/nh"), Qt::CaseInsensitive) == 0) {
            header = false;
        } else {
            return fail(QStringLiteral("ERROR: Invalid argument/option - '%1'.\r\n"
                                       "Type \"TASKLIST /?\" for usage.\r\n").arg(a));
        }
    }

    // A pid filter needs only that one process.
    QList<qint64> pids;
    bool onePid = false;
    for (const TaskFilter &f : filters) {
        if (f.field == TaskFilter::Pid && f.equal) {
            pids = {f.value.toLongLong()};
            onePid = true;
        }
    }
    if (!onePid)
        pids = allPids();

    QString rows;
    for (const qint64 pid : pids) {
        if (!processExists(pid))
            continue;
        const QString name = processName(pid);
        if (name.isEmpty())
            continue;
        bool match = true;
        for (const TaskFilter &f : filters)
            match = match && filterMatches(f, pid, name);
        if (!match)
            continue;
        // Linux has no sessions; system processes go in "Services" 0 as on Windows
        const bool system = processUid(pid) == 0 && isKernelThread(pid);
        rows += tasklistLine(name, pid, system ? QStringLiteral("Services") : QStringLiteral("Console"),
                             system ? 0 : 1, residentKb(pid));
    }
    const QString out = rows.isEmpty() ? tasklistNoMatch() : (header ? tasklistHeader() : QString()) + rows;
    const QByteArray bytes = out.toLocal8Bit();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return 0;
}
