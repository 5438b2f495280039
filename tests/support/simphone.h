#pragma once

// A simulated phone for tests: a fresh scenario folder (authorised phone,
// companion package installed, app not running, adb server down) and the
// environment that makes the program run the simulated adb, netstat,
// tasklist and taskkill against it. Keys are listed in tools/simadb/README.md.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class SimPhone
{
public:
    // Creates the scenario and sets PURGATEX_TOOLS_DIR and PURGATEX_SIM_DIR;
    // the destructor puts both variables back as they were.
    SimPhone();
    ~SimPhone();
    SimPhone(const SimPhone &) = delete;
    SimPhone &operator=(const SimPhone &) = delete;

    // The scenario folder exists and the simulated tools are built.
    bool isValid() const;
    QString dir() const;
    // <build>/tools/simadb, the build folder taken from PURGATEX_BUILD_DIR.
    static QString toolsDir();
    static QString toolPath(const QString &tool);

    // Scenario keys; every change is written at once, so a running program
    // sees it on its next command. Values are taken literally: a line feed is
    // "\n" in C++ (SimPhone escapes it for the file), not "\\n".
    void set(const QString &key, const QString &value);
    void set(const QString &key, qint64 value);
    void set(const QMap<QString, QString> &values); // several keys in one write
    void remove(const QString &key);
    QString value(const QString &key) const;
    QString scenarioText() const;

    // Shorthands for frequent keys.
    void setState(const QString &state) { set(QStringLiteral("state"), state); }
    // "fault.<command>.<what>", e.g. setFault("forward", "stdout", "...").
    void setFault(const QString &command, const QString &what, const QString &value);
    void clearFaults(const QString &command = QString());
    // Lines the simulated netstat prints after its header (without line ends).
    void setNetstatLines(const QStringList &lines);
    // A process the simulated tasklist and taskkill know.
    void setTask(qint64 pid, const QString &image);

    // The command lines run so far, one per call, e.g. "adb devices",
    // "tasklist /fi \"pid eq 4321\"", "taskkill /f /im foo.exe".
    QStringList calls() const;
    void clearCalls();

    // Runs one simulated tool directly and waits for it.
    struct Result {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Result run(const QString &tool, const QStringList &args, int timeoutMs = 10000) const;

    static QString defaultScenario();

private:
    QTemporaryDir m_dir;
    QByteArray m_oldToolsDir;
    QByteArray m_oldSimDir;
    bool m_hadToolsDir = false;
    bool m_hadSimDir = false;
};
