// The simulated phone: stand-ins for adb and for the Windows commands
// netstat, tasklist and taskkill. Every run appends its command line to
// calls.log, reads the scenario, answers as the real tool would for that
// state, and writes back what the command changed. Nothing here ends or
// starts a real process.

#include "simtools.h"

#include "scenario.h"
#include "wintools/winformat.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

using simadb::Scenario;
using simadb::ScenarioLock;

namespace {

const char *const kPackage = "org.qtproject.example";

struct Output {
    QStringList chunks;   // standard output, written one after another
    int chunkDelayMs = 0; // pause between chunks
    QString err;
    int exitCode = 0;
};

qint64 nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

QString simDir()
{
    const QString env = qEnvironmentVariable("PURGATEX_SIM_DIR");
    const QString dir = env.isEmpty() ? QDir::tempPath() + QStringLiteral("/purgatex-sim-default") : env;
    QDir().mkpath(dir);
    return dir;
}

// The fault and call-log name of a command: "devices", "install", "pm",
// "am", "battery", "activity", "shell", "netstat", "tasklist", "taskkill"...
QString commandKey(const QString &tool, const QStringList &args)
{
    if (tool != QLatin1String("adb"))
        return tool;
    if (args.isEmpty())
        return QStringLiteral("adb");
    if (args.at(0) != QLatin1String("shell"))
        return args.at(0);
    const QString sub = args.value(1);
    if (sub == QLatin1String("pm"))
        return QStringLiteral("pm");
    if (sub == QLatin1String("am"))
        return QStringLiteral("am");
    if (sub == QLatin1String("dumpsys") && args.value(2) == QLatin1String("battery"))
        return QStringLiteral("battery");
    if (sub == QLatin1String("dumpsys") && args.value(2) == QLatin1String("activity"))
        return QStringLiteral("activity");
    if (sub == QLatin1String("cat") && args.value(2) == QLatin1String("/proc/uptime"))
        return QStringLiteral("uptime");
    return QStringLiteral("shell");
}

bool parentGone(qint64 parentAtStart)
{
#ifdef Q_OS_UNIX
    return qint64(getppid()) != parentAtStart;
#else
    Q_UNUSED(parentAtStart);
    return false;
#endif
}

// A scripted hang lasts until the test clears the key, the caller goes away,
// or two minutes pass; a delay is a plain pause.
void waitForFaults(const QString &dir, const QString &cmd)
{
    const QString prefix = QStringLiteral("fault.") + cmd;
    Scenario s = Scenario::load(dir);
#ifdef Q_OS_UNIX
    const qint64 parent = getppid();
#else
    const qint64 parent = 0;
#endif
    if (s.flag(prefix + QStringLiteral(".hang"))) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 120000 && !parentGone(parent)) {
            QThread::msleep(25);
            if (!Scenario::load(dir).flag(prefix + QStringLiteral(".hang")))
                break;
        }
    }
    const qint64 delay = s.number(prefix + QStringLiteral(".delay_ms"));
    if (delay > 0)
        QThread::msleep(static_cast<unsigned long>(qMin<qint64>(delay, 120000)));
}

// ---- phone state ----

// Brings a reboot that has run its course to its end, so the phone is back.
bool settleReboot(Scenario &s)
{
    if (!s.contains(QStringLiteral("reboot.at")))
        return false;
    const qint64 at = s.number(QStringLiteral("reboot.at"));
    const qint64 listed = s.number(QStringLiteral("reboot.listed_ms"), 3500);
    const qint64 absent = s.number(QStringLiteral("reboot.absent_ms"), 1500);
    if (nowMs() < at + listed + absent)
        return false;
    const QString back = s.value(QStringLiteral("reboot.return_state"));
    if (!back.isEmpty())
        s.set(QStringLiteral("state"), back);
    // Another phone was plugged in while this one restarted.
    const QString serial = s.value(QStringLiteral("reboot.return_serial"));
    if (!serial.isEmpty())
        s.set(QStringLiteral("serial"), serial);
    s.set(QStringLiteral("boot.at"), at + listed); // it started again when it dropped off
    s.remove(QStringLiteral("reboot.at"));
    s.remove(QStringLiteral("reboot.return_state"));
    s.remove(QStringLiteral("reboot.return_serial"));
    return true;
}

QString phoneState(const Scenario &s)
{
    const QString state = s.value(QStringLiteral("state"), QStringLiteral("device")).trimmed();
    if (s.contains(QStringLiteral("reboot.at"))) {
        const qint64 since = nowMs() - s.number(QStringLiteral("reboot.at"));
        if (since >= s.number(QStringLiteral("reboot.listed_ms"), 3500))
            return QStringLiteral("absent");
    }
    return state.isEmpty() ? QStringLiteral("absent") : state;
}

QString serialOf(const Scenario &s)
{
    return s.value(QStringLiteral("serial"), QStringLiteral("R58N91XKQ2B"));
}

struct Listed {
    QString serial;
    QString state;
};

QList<Listed> listedPhones(const Scenario &s)
{
    QList<Listed> out;
    const QString state = phoneState(s);
    if (state != QLatin1String("absent"))
        out.append({serialOf(s), state});
    const QString second = s.value(QStringLiteral("second.state")).trimmed();
    if (!second.isEmpty() && second != QLatin1String("absent"))
        out.append({s.value(QStringLiteral("second.serial"), QStringLiteral("emulator-5554")), second});
    return out;
}

// Any adb command but kill-server starts the server first when it is down.
void ensureServer(Scenario &s, Output &o, bool *changed)
{
    if (s.flag(QStringLiteral("server.running")))
        return;
    o.err += QStringLiteral("* daemon not running; starting now at tcp:5037\n* daemon started successfully\n");
    s.set(QStringLiteral("server.running"), QStringLiteral("1"));
    *changed = true;
}

// Picks the one phone a device command acts on; false with the real error
// text when there is none, several, or it cannot be used.
bool targetPhone(const Scenario &s, const QString &wanted, const QString &errPrefix, Output &o)
{
    const QList<Listed> phones = listedPhones(s);
    const Listed *target = nullptr;
    QString error;
    if (!wanted.isEmpty()) {
        for (const Listed &p : phones)
            if (p.serial == wanted)
                target = &p;
        if (!target)
            error = QStringLiteral("device '%1' not found").arg(wanted);
    } else if (phones.isEmpty()) {
        error = QStringLiteral("no devices/emulators found");
    } else if (phones.size() > 1) {
        error = QStringLiteral("more than one device/emulator");
    } else {
        target = &phones.first();
    }
    if (target && target->state == QLatin1String("unauthorized"))
        error = QStringLiteral("device unauthorized.\n"
                               "This adb server's $ADB_VENDOR_KEYS is not set\n"
                               "Try 'adb kill-server' if that seems wrong.\n"
                               "Otherwise check for a confirmation dialog on your device.");
    else if (target && target->state != QLatin1String("device"))
        error = QStringLiteral("device offline");
    if (error.isEmpty())
        return true;
    o.err += errPrefix + error + QLatin1Char('\n');
    o.exitCode = 1;
    return false;
}

QString batteryText(const Scenario &s)
{
    return QStringLiteral("Current Battery Service state:\n"
                          "  AC powered: false\n"
                          "  USB powered: true\n"
                          "  Wireless powered: false\n"
                          "  Max charging current: 500000\n"
                          "  Max charging voltage: 5000000\n"
                          "  Charge counter: 3270000\n"
                          "  status: 2\n"
                          "  health: 2\n"
                          "  present: true\n"
                          "  level: %1\n"
                          "  scale: 100\n"
                          "  voltage: 4352\n"
                          "  temperature: 274\n"
                          "  technology: Li-ion\n")
        .arg(s.value(QStringLiteral("battery.level"), QStringLiteral("85")));
}

// /proc/uptime: seconds since the phone started, and its idle seconds.
QString uptimeText(const Scenario &s)
{
    const double up = s.contains(QStringLiteral("boot.at"))
                          ? double(nowMs() - s.number(QStringLiteral("boot.at"))) / 1000.0
                          : s.value(QStringLiteral("uptime"), QStringLiteral("352811.42")).toDouble();
    return QStringLiteral("%1 %2\n").arg(up, 0, 'f', 2).arg(up * 3.6, 0, 'f', 2);
}

QString processesText(bool running)
{
    QString out = QStringLiteral("ACTIVITY MANAGER RUNNING PROCESSES (dumpsys activity processes)\n");
    if (running) {
        const QString p = QLatin1String(kPackage);
        out += QStringLiteral("  All known processes:\n"
                              "  *APP* UID 10123 ProcessRecord{8f3a2c1 12345:%1/u0a123}\n"
                              "    user #0 uid=10123 gids={50123, 20123, 9997, 3003}\n"
                              "    mRequiredAbi=arm64-v8a instructionSet=null\n"
                              "    dir=/data/app/%1-1/base.apk publicDir=/data/app/%1-1/base.apk data=/data/user/0/%1\n"
                              "    packageList={%1}\n"
                              "    compat={420dpi}\n"
                              "    thread=ApplicationThreadProxy@2d1e0b6\n"
                              "    pid=12345 starting=false\n"
                              "    lastActivityTime=-12s310ms lastPssTime=-9s54ms nextPssTime=+50s945ms\n"
                              "    adjSeq=1406 lruSeq=0 lastPss=48MB lastSwapPss=0.00 lastCachedPss=0.00\n"
                              "    cached=false empty=false\n"
                              "    curSchedGroup=2 setSchedGroup=2 systemNoUi=false trimMemoryLevel=0\n"
                              "    curProcState=2 repProcState=2 pssProcState=2 setProcState=2\n"
                              "    hasShownUi=true pendingUiClean=true hasAboveClient=false treatLikeActivity=false\n"
                              "    Activities:\n"
                              "      - ActivityRecord{5c0b7a u0 %1/.Purgatex t311}\n"
                              "\n"
                              "  PID mappings:\n"
                              "    PID #12345: ProcessRecord{8f3a2c1 12345:%1/u0a123}\n")
                   .arg(p);
    }
    out += QStringLiteral("  mForceBackgroundCheck=false\n");
    return out;
}

void installCommand(Scenario &s, const QStringList &args, bool *changed, Output &o)
{
    // adb install [-r] [-d] [-g] PATH
    QString path;
    for (int i = 1; i < args.size(); ++i)
        if (!args.at(i).startsWith(QLatin1Char('-')))
            path = args.at(i);
    if (path.isEmpty()) {
        o.err += QStringLiteral("adb: usage: install requires an argument\n");
        o.exitCode = 1;
        return;
    }
    if (s.flag(QStringLiteral("install.check_file")) && !QFileInfo::exists(path)) {
        o.err += QStringLiteral("adb: failed to stat %1: No such file or directory\n").arg(path);
        o.exitCode = 1;
        return;
    }
    const QString remote = QStringLiteral("/data/local/tmp/") + QFileInfo(path).fileName();
    const int chunks = int(qBound<qint64>(2, s.number(QStringLiteral("install.chunks"), 60), 1000));
    o.chunkDelayMs = int(qBound<qint64>(0, s.number(QStringLiteral("install.chunk_ms"), 10), 1000));
    o.chunks << QStringLiteral("Performing Push Install\n");
    const int steps = chunks - 2;
    for (int i = 1; i <= steps; ++i)
        o.chunks << QStringLiteral("[%1%] %2\n").arg(i * 100 / steps, 3).arg(remote);
    QString last = QStringLiteral("\tpkg: %1\n").arg(remote);
    const QString failure = s.value(QStringLiteral("install.fail")).trimmed();
    if (failure.isEmpty()) {
        last += QStringLiteral("Success\n");
        s.set(QStringLiteral("installed"), QStringLiteral("1"));
        *changed = true;
    } else if (s.flag(QStringLiteral("install.fail_exit0"))) {
        last += failure + QLatin1Char('\n'); // old Android: failure on stdout, exit 0
    } else {
        o.err += QStringLiteral("adb: failed to install %1: %2\n").arg(path, failure);
        o.exitCode = 1;
    }
    o.chunks << last;
}

void amCommand(Scenario &s, const QStringList &args, bool *changed, Output &o)
{
    // adb shell am start -W -S -n PKG/CLASS
    const int n = args.indexOf(QStringLiteral("-n"));
    const QString component = n >= 0 ? args.value(n + 1) : QString();
    if (args.value(2) != QLatin1String("start") || component.isEmpty()) {
        o.chunks << QStringLiteral("Error: no component given\n");
        return;
    }
    const QString pkg = component.section(QLatin1Char('/'), 0, 0);
    QString cls = component.section(QLatin1Char('/'), 1);
    const QString shortCls = cls.startsWith(pkg + QLatin1Char('.')) ? cls.mid(pkg.size()) : cls;
    const bool installed = pkg == QLatin1String(kPackage) && s.flag(QStringLiteral("installed"), true);
    const bool wait = args.contains(QStringLiteral("-W"));
    QString out;
    if (args.contains(QStringLiteral("-S")))
        out += QStringLiteral("Stopping: %1\n").arg(pkg);
    out += QStringLiteral("Starting: Intent { cmp=%1/%2 }\n").arg(pkg, shortCls);
    const QString mode = s.value(QStringLiteral("activity"), QStringLiteral("normal")).trimmed();
    if (!installed || mode == QLatin1String("missing")) {
        out += QStringLiteral("Error type 3\nError: Activity class {%1} does not exist.\n").arg(component);
        o.chunks << out;
        return; // still exit code 0, as am does
    }
    if (mode == QLatin1String("front"))
        out += QStringLiteral("Warning: Activity not started, its current task has been brought to the front\n");
    if (wait)
        out += QStringLiteral("Status: ok\n"
                              "LaunchState: COLD\n"
                              "Activity: %1/%2\n"
                              "TotalTime: 288\n"
                              "WaitTime: 294\n"
                              "Complete\n")
                   .arg(pkg, shortCls);
    o.chunks << out;
    s.set(QStringLiteral("app.running"), QStringLiteral("1"));
    *changed = true;
}

void runAdb(Scenario &s, QStringList args, bool *changed, Output &o)
{
    QString wanted;
    while (args.size() >= 2 && args.at(0) == QLatin1String("-s")) {
        wanted = args.at(1);
        args = args.mid(2);
    }
    const QString cmd = args.value(0);
    if (cmd.isEmpty()) {
        o.err += QStringLiteral("Android Debug Bridge version 1.0.41\nVersion 29.0.6-debian\n");
        o.exitCode = 1;
        return;
    }
    if (cmd == QLatin1String("kill-server")) {
        if (s.flag(QStringLiteral("server.running"))) {
            s.set(QStringLiteral("server.running"), QStringLiteral("0"));
            s.remove(QStringLiteral("forward"));
            *changed = true;
        } else {
            o.err += QStringLiteral("cannot connect to daemon at tcp:5037: Connection refused\n");
        }
        return;
    }
    if (cmd == QLatin1String("version")) {
        o.chunks << QStringLiteral("Android Debug Bridge version 1.0.41\nVersion 29.0.6-debian\n");
        return;
    }
    ensureServer(s, o, changed);
    if (cmd == QLatin1String("start-server"))
        return;
    if (cmd == QLatin1String("devices")) {
        QString out = QStringLiteral("List of devices attached\n");
        for (const Listed &p : listedPhones(s))
            out += p.serial + QLatin1Char('\t') + p.state + QLatin1Char('\n');
        o.chunks << out + QLatin1Char('\n');
        return;
    }
    if (cmd == QLatin1String("get-serialno")) {
        if (targetPhone(s, wanted, QStringLiteral("error: "), o))
            o.chunks << serialOf(s) + QLatin1Char('\n');
        return;
    }
    if (cmd == QLatin1String("forward")) {
        if (args.size() < 3) {
            o.err += QStringLiteral("adb: usage: forward requires an argument\n");
            o.exitCode = 1;
            return;
        }
        if (targetPhone(s, wanted, QStringLiteral("adb: error: "), o)) {
            s.set(QStringLiteral("forward"), args.mid(1).join(QLatin1Char(' ')));
            *changed = true;
        }
        return;
    }
    if (cmd == QLatin1String("install")) {
        if (targetPhone(s, wanted, QStringLiteral("adb: error: failed to get feature set: "), o))
            installCommand(s, args, changed, o);
        return;
    }
    if (cmd == QLatin1String("reboot")) {
        if (targetPhone(s, wanted, QStringLiteral("error: "), o)) {
            s.set(QStringLiteral("reboot.at"), nowMs());
            s.set(QStringLiteral("app.running"), QStringLiteral("0"));
            s.remove(QStringLiteral("forward"));
            *changed = true;
        }
        return;
    }
    if (cmd == QLatin1String("shell")) {
        if (!targetPhone(s, wanted, QStringLiteral("error: "), o))
            return;
        const QString key = commandKey(QStringLiteral("adb"), args);
        if (key == QLatin1String("pm")) {
            // pm list packages FILTER: every installed package whose name contains FILTER
            const QString filter = args.value(4);
            if (s.flag(QStringLiteral("installed"), true) && QLatin1String(kPackage).contains(filter))
                o.chunks << QStringLiteral("package:%1\n").arg(QLatin1String(kPackage));
        } else if (key == QLatin1String("am")) {
            amCommand(s, args, changed, o);
        } else if (key == QLatin1String("battery")) {
            o.chunks << batteryText(s);
        } else if (key == QLatin1String("activity")) {
            o.chunks << processesText(s.flag(QStringLiteral("app.running")));
        } else if (key == QLatin1String("uptime")) {
            o.chunks << uptimeText(s);
        } else if (args.size() > 1) {
            o.err += QStringLiteral("/system/bin/sh: %1: inaccessible or not found\n").arg(args.at(1));
            o.exitCode = 127;
        }
        return;
    }
    o.err += QStringLiteral("adb: unknown command %1\n").arg(cmd);
    o.exitCode = 1;
}

// ---- the Windows commands of the simulated PC ----

// Scripted processes: "tasklist.<pid> = image name"; the adb server appears
// as adb.exe with adb.pid while netstat.adb_server is on and it runs.
QList<QPair<qint64, QString>> scriptedTasks(const Scenario &s)
{
    QList<QPair<qint64, QString>> out;
    for (const QString &key : s.keys(QStringLiteral("tasklist."))) {
        bool ok = false;
        const qint64 pid = key.mid(9).toLongLong(&ok);
        if (ok)
            out.append({pid, s.value(key).trimmed()});
    }
    if (s.flag(QStringLiteral("netstat.adb_server")) && s.flag(QStringLiteral("server.running")))
        out.append({s.number(QStringLiteral("adb.pid"), 23188), QStringLiteral("adb.exe")});
    return out;
}

QStringList scriptedNetstatLines(const Scenario &s)
{
    QStringList lines;
    const QString text = s.value(QStringLiteral("netstat.lines"));
    for (QString l : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
        lines << l;
    }
    return lines;
}

void runNetstat(const Scenario &s, Output &o)
{
    QString out = wintools::netstatHeader();
    for (const QString &l : scriptedNetstatLines(s))
        out += l + QLatin1String(wintools::CRLF);
    if (s.flag(QStringLiteral("netstat.adb_server")) && s.flag(QStringLiteral("server.running"))) {
        const QString pid = QString::number(s.number(QStringLiteral("adb.pid"), 23188));
        out += wintools::netstatLine(QStringLiteral("TCP"), QStringLiteral("127.0.0.1:5037"),
                                     QStringLiteral("0.0.0.0:0"), QStringLiteral("LISTENING"), pid);
        if (s.value(QStringLiteral("forward")).startsWith(QLatin1String("tcp:10000")))
            out += wintools::netstatLine(QStringLiteral("TCP"), QStringLiteral("127.0.0.1:10000"),
                                         QStringLiteral("0.0.0.0:0"), QStringLiteral("LISTENING"), pid);
    }
    o.chunks << out;
}

void runTasklist(const Scenario &s, const QStringList &args, Output &o)
{
    QList<wintools::TaskFilter> filters;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i).compare(QLatin1String("/fi"), Qt::CaseInsensitive) == 0 && i + 1 < args.size()) {
            wintools::TaskFilter f;
            if (!wintools::parseTaskFilter(args.at(++i), &f)) {
                o.err += QStringLiteral("ERROR: The search filter cannot be recognized.\r\n");
                o.exitCode = 1;
                return;
            }
            filters << f;
        } else {
            o.err += QStringLiteral("ERROR: Invalid argument/option - '%1'.\r\nType \"TASKLIST /?\" for usage.\r\n")
                         .arg(args.at(i));
            o.exitCode = 1;
            return;
        }
    }
    QString rows;
    for (const auto &task : scriptedTasks(s)) {
        bool all = true;
        for (const auto &f : filters)
            all = all && wintools::filterMatches(f, task.first, task.second);
        if (all)
            rows += wintools::tasklistLine(task.second, task.first, QStringLiteral("Console"), 1, 12344);
    }
    o.chunks << (rows.isEmpty() ? wintools::tasklistNoMatch() : wintools::tasklistHeader() + rows);
}

// Ends scripted processes only: their tasklist entry and netstat lines go.
void endScripted(Scenario &s, qint64 pid, bool *changed)
{
    s.remove(QStringLiteral("tasklist.") + QString::number(pid));
    QStringList kept;
    const QString pidText = QString::number(pid);
    for (const QString &l : scriptedNetstatLines(s)) {
        const QStringList parts = l.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.isEmpty() || parts.last() != pidText)
            kept << l;
    }
    if (s.contains(QStringLiteral("netstat.lines")))
        s.set(QStringLiteral("netstat.lines"), kept.join(QLatin1Char('\n')));
    if (s.flag(QStringLiteral("netstat.adb_server")) && pid == s.number(QStringLiteral("adb.pid"), 23188)) {
        s.set(QStringLiteral("server.running"), QStringLiteral("0"));
        s.remove(QStringLiteral("forward"));
    }
    *changed = true;
}

void runTaskkill(Scenario &s, const QStringList &args, bool *changed, Output &o)
{
    const wintools::KillRequest r = wintools::parseKillRequest(args);
    if (!r.error.isEmpty()) {
        o.err += r.error;
        o.exitCode = 1;
        return;
    }
    int ended = 0;
    int failed = 0;
    QString out;
    const auto tasks = scriptedTasks(s);
    for (const QString &image : r.images) {
        bool found = false;
        for (const auto &task : tasks) {
            if (task.second.compare(image, Qt::CaseInsensitive) != 0)
                continue;
            found = true;
            out += wintools::killSuccess(task.second, task.first, true, r.force);
            endScripted(s, task.first, changed);
            ++ended;
        }
        if (!found) {
            o.err += wintools::killNotFound(image);
            ++failed;
        }
    }
    for (const qint64 pid : r.pids) {
        bool found = false;
        for (const auto &task : tasks) {
            if (task.first != pid)
                continue;
            found = true;
            out += wintools::killSuccess(task.second, task.first, false, r.force);
            endScripted(s, task.first, changed);
            ++ended;
        }
        if (!found) {
            o.err += wintools::killNotFound(QString::number(pid));
            ++failed;
        }
    }
    if (!out.isEmpty())
        o.chunks << out;
    o.exitCode = (ended > 0 && failed == 0) ? 0 : 128;
}

void applyFault(Scenario &s, const QString &cmd, bool *changed, bool *skipNormal, Output &o)
{
    const QString prefix = QStringLiteral("fault.") + cmd + QLatin1Char('.');
    const QStringList keys = s.keys(prefix);
    if (keys.isEmpty())
        return;
    const qint64 exitCode = s.number(prefix + QStringLiteral("exit"), 0);
    *skipNormal = exitCode != 0;
    o.exitCode = int(exitCode);
    if (s.contains(prefix + QStringLiteral("times"))) {
        const qint64 left = s.number(prefix + QStringLiteral("times")) - 1;
        if (left <= 0) {
            for (const QString &k : keys)
                s.remove(k);
        } else {
            s.set(prefix + QStringLiteral("times"), left);
        }
        *changed = true;
    }
}

void writeAll(FILE *f, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
    fflush(f);
}

QString withLineEnds(QString text, const QString &lineEnd)
{
    if (lineEnd != QLatin1String("\n")) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\n'), lineEnd);
    }
    return text;
}

// ---- adb track-devices ----

// The device list as the server sends it to a tracking client: the lines of
// `adb devices` without the header, after four hexadecimal digits giving
// their length.
QByteArray trackedList(const Scenario &s)
{
    QString lines;
    for (const Listed &p : listedPhones(s))
        lines += p.serial + QLatin1Char('\t') + p.state + QLatin1Char('\n');
    const QByteArray bytes = lines.toLocal8Bit();
    return QByteArray::number(bytes.size(), 16).rightJustified(4, '0') + bytes;
}

// When the listed state changes by itself next (a reboot's course), or -1.
qint64 nextTimedChange(const Scenario &s)
{
    if (!s.contains(QStringLiteral("reboot.at")))
        return -1;
    const qint64 dropped = s.number(QStringLiteral("reboot.at")) + s.number(QStringLiteral("reboot.listed_ms"), 3500);
    const qint64 back = dropped + s.number(QStringLiteral("reboot.absent_ms"), 1500);
    const qint64 now = nowMs();
    return now < dropped ? dropped : now < back ? back : -1;
}

// The scenario file as last seen; a rewrite (always a rename) changes it.
QPair<qint64, qint64> fileMark(const QString &file)
{
    const QFileInfo info(file);
    return {info.exists() ? info.lastModified().toMSecsSinceEpoch() : -1, info.size()};
}

// After the first list, a new one whenever the phones or their states change
// (a test's rewrite of the scenario, a reboot's course). Like adb's client it
// ends, with exit code 0, when the server stops (kill-server); like every
// simulated tool, when its caller has gone. It looks at the scenario file
// every 50 ms and reads it only when it has changed (and once a second), so
// waiting costs next to nothing.
int trackDevices(const QString &dir, const QString &lineEnd, qint64 parent)
{
    const QString file = Scenario::fileName(dir);
    QByteArray last;
    QPair<qint64, qint64> mark(-2, -2);
    QElapsedTimer sinceRead;
    qint64 timedChange = -1;
    while (!parentGone(parent)) {
        const QPair<qint64, qint64> now = fileMark(file);
        const bool due = now != mark || !sinceRead.isValid() || sinceRead.elapsed() >= 1000
                         || (timedChange >= 0 && nowMs() >= timedChange);
        if (due) {
            mark = now;
            sinceRead.start();
            Scenario s = Scenario::load(dir);
            if (!s.flag(QStringLiteral("server.running")))
                return 0; // the server has gone: so has the connection
            timedChange = nextTimedChange(s);
            settleReboot(s); // a phone back from its reboot is listed, whether or not a command has run since
            const QByteArray list = trackedList(s);
            if (list != last) {
                last = list;
                const QByteArray out = lineEnd == QLatin1String("\n")
                                           ? list
                                           : QByteArray(list).replace("\n", lineEnd.toLatin1());
                if (fwrite(out.constData(), 1, size_t(out.size()), stdout) != size_t(out.size())
                    || fflush(stdout) != 0)
                    return 1; // nobody reads any more
            }
        }
        QThread::msleep(50);
    }
    return 0;
}

} // namespace

int simadbMain(const char *toolName, int argc, char **argv)
{
#ifdef Q_OS_WIN
    // The scenario decides the line ends: Windows' text mode must not turn
    // every "\n" into "\r\n".
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const QString tool = QString::fromLatin1(toolName);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString dir = simDir();
    const QString cmd = commandKey(tool, args);
    {
        ScenarioLock lock(dir);
        simadb::appendCall(dir, simadb::callLine(tool, args));
    }

    waitForFaults(dir, cmd);

    Output o;
    QString lineEnd = QStringLiteral("\r\n"); // the Windows commands
    QString outLineEnd = lineEnd;
    QString faultOut, faultExtra, faultErr;
    bool replaceOut = false;
    bool tracking = false; // adb track-devices goes on after the lock is let go
    {
        ScenarioLock lock(dir);
        Scenario s = Scenario::load(dir);
        bool changed = settleReboot(s);
        // read the fault before it may be consumed
        const QString prefix = QStringLiteral("fault.") + cmd + QLatin1Char('.');
        replaceOut = s.contains(prefix + QStringLiteral("stdout"));
        faultOut = s.value(prefix + QStringLiteral("stdout"));
        faultExtra = s.value(prefix + QStringLiteral("extra"));
        faultErr = s.value(prefix + QStringLiteral("stderr"));
        bool skipNormal = false;
        Output faultState;
        applyFault(s, cmd, &changed, &skipNormal, faultState);
        if (skipNormal) {
            o.exitCode = faultState.exitCode;
            // a failing command still starts the server first, unless it is
            // the server's own start or stop that fails
            if (tool == QLatin1String("adb") && cmd != QLatin1String("kill-server")
                && cmd != QLatin1String("start-server"))
                ensureServer(s, o, &changed);
        } else if (tool == QLatin1String("adb") && cmd == QLatin1String("track-devices")) {
            ensureServer(s, o, &changed);
            tracking = true;
        } else if (tool == QLatin1String("adb")) {
            runAdb(s, args, &changed, o);
        } else if (tool == QLatin1String("netstat")) {
            runNetstat(s, o);
        } else if (tool == QLatin1String("tasklist")) {
            runTasklist(s, args, o);
        } else if (tool == QLatin1String("taskkill")) {
            runTaskkill(s, args, &changed, o);
        }
        if (tool == QLatin1String("adb")) {
            // adb on Linux prints LF; through a pipe on Windows CRLF; adb shell
            // through a terminal on old phones CR CR LF
            const QString mode = s.value(QStringLiteral("line_endings")).trimmed().toLower();
            const bool shell = args.value(0) == QLatin1String("shell");
            lineEnd = mode == QLatin1String("crlf") || mode == QLatin1String("crcrlf") ? QStringLiteral("\r\n")
                                                                                       : QStringLiteral("\n");
            outLineEnd = mode == QLatin1String("crcrlf") && shell ? QStringLiteral("\r\r\n") : lineEnd;
        }
        if (changed)
            s.save(dir);
    }
    if (replaceOut)
        o.chunks = faultOut.isEmpty() ? QStringList() : QStringList{faultOut};
    if (!faultExtra.isEmpty())
        o.chunks << faultExtra;
    o.err += faultErr;

    if (!o.err.isEmpty())
        writeAll(stderr, withLineEnds(o.err, lineEnd));
    for (int i = 0; i < o.chunks.size(); ++i) {
        if (i > 0 && o.chunkDelayMs > 0)
            QThread::msleep(unsigned(o.chunkDelayMs));
        writeAll(stdout, withLineEnds(o.chunks.at(i), outLineEnd));
    }
    if (tracking) {
#ifdef Q_OS_UNIX
        const qint64 parent = getppid();
#else
        const qint64 parent = 0;
#endif
        return trackDevices(dir, lineEnd, parent);
    }
    return o.exitCode;
}
