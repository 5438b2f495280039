// taskkill for Linux with the texts of the Windows command:
//   taskkill [/f] /im NAME   ends every process of the caller's user whose
//                            name is NAME (NAME.exe also matches NAME)
//   taskkill [/f] /pid N     ends process N
// /f sends SIGKILL, otherwise SIGTERM. Exit code 0 only when a process was
// ended. Never ends PID 1, itself or the processes above its caller; the
// caller itself may be named (the program ends itself this way).

#include "procinfo.h"
#include "winformat.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <sys/types.h>
#include <unistd.h>

using namespace wintools;

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const KillRequest r = parseKillRequest(args);
    QString out, err;
    if (!r.error.isEmpty()) {
        fputs(r.error.toLocal8Bit().constData(), stderr);
        return 1;
    }

    const qint64 self = getpid();
    const qint64 caller = getppid();
    QSet<qint64> guarded{1, self};
    for (qint64 p = parentPid(caller); p > 1 && !guarded.contains(p); p = parentPid(p))
        guarded.insert(p);

    struct Target {
        qint64 pid;
        QString name;
        bool byName;
    };
    QList<Target> targets;
    bool notFound = false;
    const qint64 uid = getuid();
    for (const QString &image : r.images) {
        bool found = false;
        for (const qint64 pid : allPids()) {
            if (pid == self || isKernelThread(pid) || processUid(pid) != uid)
                continue;
            const QString name = processName(pid);
            if (!imageNameMatches(image, name))
                continue;
            found = true;
            targets.append({pid, name, true});
        }
        if (!found) {
            err += killNotFound(image);
            notFound = true;
        }
    }
    for (const qint64 pid : r.pids) {
        if (!processExists(pid) || pid == 0) {
            err += killNotFound(QString::number(pid));
            notFound = true;
            continue;
        }
        targets.append({pid, processName(pid), false});
    }
    // the caller last, so the others are ended even when it goes first
    std::stable_partition(targets.begin(), targets.end(), [caller](const Target &t) { return t.pid != caller; });

    int ended = 0, refused = 0;
    QSet<qint64> done;
    for (const Target &t : targets) {
        if (done.contains(t.pid))
            continue;
        done.insert(t.pid);
        if (guarded.contains(t.pid)) {
            err += killDenied(t.name, t.pid, QStringLiteral("This is critical system process. Taskkill cannot end this process."));
            ++refused;
            continue;
        }
        if (kill(pid_t(t.pid), r.force ? SIGKILL : SIGTERM) == 0) {
            ++ended;
            const QByteArray line = killSuccess(t.name, t.pid, t.byName, r.force).toLocal8Bit();
            // flush before ending the caller: our output pipe may close with it
            fputs(line.constData(), stdout);
            fflush(stdout);
        } else if (errno == ESRCH) {
            err += killNotFound(t.byName ? t.name : QString::number(t.pid));
            notFound = true;
        } else {
            err += killDenied(t.name, t.pid, QStringLiteral("Access is denied."));
            ++refused;
        }
    }
    if (!err.isEmpty())
        fputs(err.toLocal8Bit().constData(), stderr);
    if (ended > 0)
        return 0;
    return refused > 0 && !notFound ? 1 : 128;
}
