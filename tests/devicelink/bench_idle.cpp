// Benchmark (not a test): what the program costs while it waits for a phone.
// Starts the real program (offscreen, log output discarded) against the
// simulated tools with no phone plugged in, lets it settle into its wait, then
// measures over a stretch of time the processor time of the program and of
// every process it started (reaped commands and the ones still running), and
// counts the tool commands it ran.
//
//   bench_idle [seconds] [--settle SECONDS] [--state STATE]
//
// Linux only (it reads /proc).

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <QThread>

#include <unistd.h>

#include "simphone.h"

namespace {

QTextStream out(stdout);

struct ProcTimes
{
    qint64 own = 0;      // utime + stime, clock ticks
    qint64 reaped = 0;   // cutime + cstime: children that have ended and been waited for
    qint64 ppid = 0;
};

bool readStat(qint64 pid, ProcTimes *t)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = f.readAll();
    // The command name (field 2) is in parentheses and may hold blanks.
    const int close = text.lastIndexOf(')');
    if (close < 0)
        return false;
    const QList<QByteArray> fields = text.mid(close + 2).split(' ');
    // fields[0] is field 3 (state): field N is fields[N - 3]
    if (fields.size() < 15)
        return false;
    t->ppid = fields.at(4 - 3).toLongLong();
    t->own = fields.at(14 - 3).toLongLong() + fields.at(15 - 3).toLongLong();
    t->reaped = fields.at(16 - 3).toLongLong() + fields.at(17 - 3).toLongLong();
    return true;
}

// Processor ticks of the program: its own, its ended children's, and those
// of its descendants still running.
struct Sample
{
    qint64 program = 0;
    qint64 children = 0;
    int running = 0; // descendants running at the moment
};

Sample sample(qint64 pid)
{
    Sample s;
    ProcTimes p;
    if (!readStat(pid, &p))
        return s;
    s.program = p.own;
    s.children = p.reaped;
    // Descendants still running (a command in flight, a long-lived watcher).
    QList<qint64> parents{pid};
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QMap<qint64, ProcTimes> all;
    for (const QString &e : entries) {
        bool ok = false;
        const qint64 child = e.toLongLong(&ok);
        ProcTimes t;
        if (ok && readStat(child, &t))
            all.insert(child, t);
    }
    for (int i = 0; i < parents.size(); ++i) {
        for (auto it = all.constBegin(); it != all.constEnd(); ++it) {
            if (it.value().ppid != parents.at(i))
                continue;
            parents << it.key();
            // a running descendant's own time, and what its own ended children took
            s.children += it.value().own + it.value().reaped;
            ++s.running;
        }
    }
    return s;
}

QString percent(qint64 ticks, double seconds)
{
    const double hz = double(sysconf(_SC_CLK_TCK));
    return QString::number(100.0 * ticks / hz / seconds, 'f', 2) + QStringLiteral(" %");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    double seconds = 60;
    double settle = 8;
    QString state = QStringLiteral("absent");
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--settle") && i + 1 < args.size())
            settle = args.at(++i).toDouble();
        else if (args.at(i) == QLatin1String("--state") && i + 1 < args.size())
            state = args.at(++i);
        else
            seconds = args.at(i).toDouble();
    }
    if (qEnvironmentVariableIsEmpty("PURGATEX_BUILD_DIR"))
        qputenv("PURGATEX_BUILD_DIR", QDir(app.applicationDirPath() + QStringLiteral("/../..")).absolutePath().toLocal8Bit());

    SimPhone phone; // sets PURGATEX_TOOLS_DIR and PURGATEX_SIM_DIR for the program
    if (!phone.isValid()) {
        out << "the simulated tools are not built" << Qt::endl;
        return 1;
    }
    phone.setState(state);

    const QString program = QDir(QString::fromLocal8Bit(qgetenv("PURGATEX_BUILD_DIR"))).filePath(QStringLiteral("Purgatex"));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(phone.dir());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(program, QStringList());
    if (!p.waitForStarted(10000)) {
        out << "cannot start " << program << Qt::endl;
        return 1;
    }
    const qint64 pid = p.processId();
    out << "no phone (state " << state << "): settling " << settle << " s, then measuring " << seconds << " s"
        << Qt::endl;
    QThread::msleep(ulong(settle * 1000));

    const int callsBefore = phone.calls().size();
    const Sample a = sample(pid);
    QElapsedTimer t;
    t.start();
    QThread::msleep(ulong(seconds * 1000));
    const Sample b = sample(pid);
    const double wall = t.nsecsElapsed() / 1e9;
    const QStringList calls = phone.calls().mid(callsBefore);
    p.kill();
    p.waitForFinished(5000);

    int devices = 0;
    for (const QString &c : calls)
        devices += c == QLatin1String("adb devices") ? 1 : 0;
    const qint64 programTicks = b.program - a.program;
    const qint64 childTicks = b.children - a.children;
    out << "program: " << percent(programTicks, wall) << " of a core" << Qt::endl;
    out << "processes it started: " << percent(childTicks, wall) << " (" << b.running << " running at the end)"
        << Qt::endl;
    out << "in all: " << percent(programTicks + childTicks, wall) << Qt::endl;
    out << "commands: " << calls.size() << " in " << QString::number(wall, 'f', 1) << " s ("
        << QString::number(calls.size() / wall, 'f', 2) << " a second; " << devices << " adb devices)" << Qt::endl;
    QMap<QString, int> kinds;
    for (const QString &c : calls)
        ++kinds[c];
    for (auto it = kinds.constBegin(); it != kinds.constEnd(); ++it)
        out << "  " << it.value() << " x " << it.key() << Qt::endl;
    return 0;
}
