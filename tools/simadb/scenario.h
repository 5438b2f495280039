#pragma once

// The simulated phone's state: a small "key = value" text file in the folder
// named by PURGATEX_SIM_DIR. Tests write it, the stand-in tools read and
// update it. Comments (#) and blank lines survive rewrites; values may be
// quoted and may hold the escapes \n \r \t \" \\ so that one line can carry
// several output lines.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace simadb {

class Scenario
{
public:
    static QString fileName(const QString &dir);   // <dir>/scenario
    static QString callLogName(const QString &dir); // <dir>/calls.log
    static QString lockName(const QString &dir);    // <dir>/scenario.lock

    // Parses the text of a scenario file.
    static Scenario parse(const QString &text);
    // The file text; values that need it are quoted and escaped.
    QString toText() const;

    // Reads <dir>/scenario (an absent file is an empty scenario).
    static Scenario load(const QString &dir);
    // Writes <dir>/scenario atomically (temporary file, then rename).
    bool save(const QString &dir) const;

    bool contains(const QString &key) const;
    QString value(const QString &key, const QString &fallback = QString()) const;
    qint64 number(const QString &key, qint64 fallback = 0) const;
    bool flag(const QString &key, bool fallback = false) const;
    // Replaces the value in place, or appends the key at the end.
    void set(const QString &key, const QString &value);
    void set(const QString &key, qint64 value) { set(key, QString::number(value)); }
    void remove(const QString &key);
    // Keys that start with the given prefix, in file order.
    QStringList keys(const QString &prefix = QString()) const;

    static QString escape(const QString &value);
    static QString unescape(const QString &raw);

private:
    struct Line {
        QString key;   // empty for comments and blank lines
        QString value;
        QString raw;   // original text of comments and blank lines
    };
    int indexOf(const QString &key) const;
    QList<Line> m_lines;
};

// Holds the scenario folder's lock for its lifetime, so that the
// read-modify-write of concurrent tool runs and tests do not interleave.
class ScenarioLock
{
public:
    explicit ScenarioLock(const QString &dir);
    ~ScenarioLock();
    bool isLocked() const;
    ScenarioLock(const ScenarioLock &) = delete;
    ScenarioLock &operator=(const ScenarioLock &) = delete;

private:
    struct Private;
    Private *d;
};

// Appends one line to <dir>/calls.log under the caller's lock.
bool appendCall(const QString &dir, const QString &line);
// "tool arg1 arg2": arguments that are empty or contain blanks or double
// quotes are written in double quotes, so the line reads like the command line.
QString callLine(const QString &tool, const QStringList &args);

} // namespace simadb
