#pragma once

// Texts and column layouts of the Windows commands netstat, tasklist and
// taskkill, as the program reads them: CRLF line ends, columns separated by
// runs of blanks. Shared by the Linux stand-ins and the simulated phone.

#include <QString>
#include <QStringList>

namespace wintools {

extern const char *const CRLF;

// Header block of "netstat -ano": empty line, title, empty line, column titles.
QString netstatHeader(bool withPid = true);
// One connection line. Columns are padded as Windows pads them; a value too
// long for its column is still followed by at least two blanks, so a split at
// two blanks always finds the columns.
QString netstatLine(const QString &proto, const QString &local, const QString &foreign,
                    const QString &state, const QString &pid = QString());
// Windows state word for a Linux TCP state number (/proc/net/tcp "st").
QString tcpStateWord(int linuxState);

// The table of "tasklist": empty line, column titles, rule line.
QString tasklistHeader();
QString tasklistLine(const QString &image, qint64 pid, const QString &sessionName, int session,
                     qint64 memKb);
QString tasklistNoMatch();
// "12,344 K"
QString memUsage(qint64 kb);

// A "/fi" filter of tasklist: "pid eq 1234", "imagename eq adb.exe".
struct TaskFilter {
    enum Field { Pid, ImageName } field = Pid;
    bool equal = true; // eq or ne
    QString value;
};
bool parseTaskFilter(const QString &text, TaskFilter *filter);
bool filterMatches(const TaskFilter &f, qint64 pid, const QString &image);

// Arguments of "taskkill": /f, /t, /im NAME, /pid N (both may repeat).
struct KillRequest {
    bool force = false;
    bool tree = false;
    QStringList images;
    QList<qint64> pids;
    QString error; // set when the command line is not understood
};
KillRequest parseKillRequest(const QStringList &args);

QString killSuccess(const QString &image, qint64 pid, bool byName, bool forced);
QString killNotFound(const QString &what);
QString killDenied(const QString &image, qint64 pid, const QString &reason);

// An image name given to taskkill matches a process name when it equals it,
// or when it ends in ".exe" (any case) and the rest equals it.
bool imageNameMatches(const QString &requested, const QString &processName);

} // namespace wintools
