#include "simphone.h"

#include "scenario.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

using simadb::Scenario;
using simadb::ScenarioLock;

SimPhone::SimPhone()
    : m_oldToolsDir(qgetenv("PURGATEX_TOOLS_DIR")),
      m_oldSimDir(qgetenv("PURGATEX_SIM_DIR")),
      m_hadToolsDir(qEnvironmentVariableIsSet("PURGATEX_TOOLS_DIR")),
      m_hadSimDir(qEnvironmentVariableIsSet("PURGATEX_SIM_DIR"))
{
    if (m_dir.isValid()) {
        QFile f(Scenario::fileName(m_dir.path()));
        if (f.open(QIODevice::WriteOnly))
            f.write(defaultScenario().toUtf8());
    }
    qputenv("PURGATEX_TOOLS_DIR", QFile::encodeName(toolsDir()));
    qputenv("PURGATEX_SIM_DIR", QFile::encodeName(m_dir.path()));
}

SimPhone::~SimPhone()
{
    if (m_hadToolsDir)
        qputenv("PURGATEX_TOOLS_DIR", m_oldToolsDir);
    else
        qunsetenv("PURGATEX_TOOLS_DIR");
    if (m_hadSimDir)
        qputenv("PURGATEX_SIM_DIR", m_oldSimDir);
    else
        qunsetenv("PURGATEX_SIM_DIR");
}

QString SimPhone::defaultScenario()
{
    return QStringLiteral("# simulated phone (keys: tools/simadb/README.md)\n"
                          "state = device\n"
                          "serial = R58N91XKQ2B\n"
                          "installed = 1\n"
                          "app.running = 0\n"
                          "activity = normal\n"
                          "battery.level = 85\n"
                          "line_endings = lf\n"
                          "server.running = 0\n"
                          "reboot.listed_ms = 3500\n"
                          "reboot.absent_ms = 1500\n"
                          "install.chunks = 60\n"
                          "install.chunk_ms = 10\n");
}

bool SimPhone::isValid() const
{
    return m_dir.isValid() && QFileInfo(toolPath(QStringLiteral("adb"))).isExecutable();
}

QString SimPhone::dir() const { return m_dir.path(); }

QString SimPhone::toolsDir()
{
    QString build = qEnvironmentVariable("PURGATEX_BUILD_DIR");
    if (build.isEmpty())
        build = QStringLiteral(PURGATEX_TESTSUPPORT_BUILD_DIR);
    return build + QStringLiteral("/tools/simadb");
}

QString SimPhone::toolPath(const QString &tool)
{
#ifdef Q_OS_WIN
    return toolsDir() + QLatin1Char('/') + tool + QStringLiteral(".exe");
#else
    return toolsDir() + QLatin1Char('/') + tool;
#endif
}

void SimPhone::set(const QMap<QString, QString> &values)
{
    ScenarioLock lock(dir());
    Scenario s = Scenario::load(dir());
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        s.set(it.key(), it.value());
    s.save(dir());
}

void SimPhone::set(const QString &key, const QString &value) { set(QMap<QString, QString>{{key, value}}); }

void SimPhone::set(const QString &key, qint64 value) { set(key, QString::number(value)); }

void SimPhone::remove(const QString &key)
{
    ScenarioLock lock(dir());
    Scenario s = Scenario::load(dir());
    s.remove(key);
    s.save(dir());
}

QString SimPhone::value(const QString &key) const { return Scenario::load(dir()).value(key); }

QString SimPhone::scenarioText() const
{
    QFile f(Scenario::fileName(dir()));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void SimPhone::setFault(const QString &command, const QString &what, const QString &value)
{
    set(QStringLiteral("fault.%1.%2").arg(command, what), value);
}

void SimPhone::clearFaults(const QString &command)
{
    ScenarioLock lock(dir());
    Scenario s = Scenario::load(dir());
    const QString prefix = command.isEmpty() ? QStringLiteral("fault.") : QStringLiteral("fault.%1.").arg(command);
    for (const QString &k : s.keys(prefix))
        s.remove(k);
    s.save(dir());
}

void SimPhone::setNetstatLines(const QStringList &lines)
{
    set(QStringLiteral("netstat.lines"), lines.join(QLatin1Char('\n')));
}

void SimPhone::setTask(qint64 pid, const QString &image)
{
    set(QStringLiteral("tasklist.%1").arg(pid), image);
}

QStringList SimPhone::calls() const
{
    ScenarioLock lock(dir());
    QFile f(Scenario::callLogName(dir()));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void SimPhone::clearCalls()
{
    ScenarioLock lock(dir());
    QFile::remove(Scenario::callLogName(dir()));
}

SimPhone::Result SimPhone::run(const QString &tool, const QStringList &args, int timeoutMs) const
{
    Result r;
    QProcess p;
    p.start(toolPath(tool), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}
