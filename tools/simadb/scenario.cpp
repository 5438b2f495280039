#include "scenario.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QTextStream>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace simadb {

QString Scenario::fileName(const QString &dir) { return dir + QStringLiteral("/scenario"); }
QString Scenario::callLogName(const QString &dir) { return dir + QStringLiteral("/calls.log"); }
QString Scenario::lockName(const QString &dir) { return dir + QStringLiteral("/scenario.lock"); }

QString Scenario::escape(const QString &value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        case '"': out += QLatin1String("\\\""); break;
        default: out += c;
        }
    }
    return out;
}

QString Scenario::unescape(const QString &raw)
{
    QString out;
    out.reserve(raw.size());
    for (int i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= raw.size()) {
            out += c;
            continue;
        }
        const QChar n = raw.at(++i);
        switch (n.unicode()) {
        case 'n': out += QLatin1Char('\n'); break;
        case 'r': out += QLatin1Char('\r'); break;
        case 't': out += QLatin1Char('\t'); break;
        case 's': out += QLatin1Char(' '); break;
        default: out += n; // \\ and \" and anything else: the character itself
        }
    }
    return out;
}

Scenario Scenario::parse(const QString &text)
{
    Scenario s;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (i == lines.size() - 1 && line.isEmpty())
            break; // the final line end
        const QString trimmed = line.trimmed();
        const int eq = line.indexOf(QLatin1Char('='));
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) || eq <= 0
            || line.left(eq).trimmed().isEmpty()) {
            s.m_lines.append({QString(), QString(), line});
            continue;
        }
        const QString key = line.left(eq).trimmed();
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))
            && !value.endsWith(QLatin1String("\\\"")))
            value = value.mid(1, value.size() - 2);
        const int existing = s.indexOf(key);
        if (existing >= 0)
            s.m_lines[existing].value = unescape(value); // the last one wins
        else
            s.m_lines.append({key, unescape(value), QString()});
    }
    return s;
}

QString Scenario::toText() const
{
    QString out;
    for (const Line &l : m_lines) {
        if (l.key.isEmpty()) {
            out += l.raw;
        } else {
            const QString esc = escape(l.value);
            const bool quote = esc != l.value || l.value != l.value.trimmed() || l.value.contains(QLatin1Char('#'));
            out += l.key + QLatin1String(" = ")
                + (quote ? QLatin1Char('"') + esc + QLatin1Char('"') : l.value);
        }
        out += QLatin1Char('\n');
    }
    return out;
}

// Windows lets no file be replaced while another process has it open, and
// no file be opened while it is being replaced: the tools and the test read
// and rewrite the scenario all the time, so a read or a rewrite that meets
// the other is tried again for a while rather than taken for an empty
// scenario or dropped. (On Linux the first try always does.)
namespace {
const int kFileTries = 200;
const unsigned long kFileRetryMs = 5;
} // namespace

Scenario Scenario::load(const QString &dir)
{
    QFile f(fileName(dir));
    for (int tries = 1; !f.open(QIODevice::ReadOnly); ++tries) {
        if (!f.exists() || tries >= kFileTries)
            return Scenario();
        QThread::msleep(kFileRetryMs);
    }
    return parse(QString::fromUtf8(f.readAll()));
}

bool Scenario::save(const QString &dir) const
{
    const QByteArray text = toText().toUtf8();
    for (int tries = 1;; ++tries) {
        QSaveFile f(fileName(dir));
        if (f.open(QIODevice::WriteOnly)) {
            f.write(text);
            if (f.commit())
                return true;
        }
        if (tries >= kFileTries)
            return false;
        QThread::msleep(kFileRetryMs);
    }
}

int Scenario::indexOf(const QString &key) const
{
    for (int i = 0; i < m_lines.size(); ++i)
        if (m_lines.at(i).key == key)
            return i;
    return -1;
}

bool Scenario::contains(const QString &key) const { return indexOf(key) >= 0; }

QString Scenario::value(const QString &key, const QString &fallback) const
{
    const int i = indexOf(key);
    return i >= 0 ? m_lines.at(i).value : fallback;
}

qint64 Scenario::number(const QString &key, qint64 fallback) const
{
    bool ok = false;
    const qint64 n = value(key).trimmed().toLongLong(&ok);
    return ok ? n : fallback;
}

bool Scenario::flag(const QString &key, bool fallback) const
{
    const QString v = value(key).trimmed().toLower();
    if (v.isEmpty())
        return fallback;
    return v == QLatin1String("1") || v == QLatin1String("yes") || v == QLatin1String("true")
        || v == QLatin1String("on");
}

void Scenario::set(const QString &key, const QString &value)
{
    const int i = indexOf(key);
    if (i >= 0)
        m_lines[i].value = value;
    else
        m_lines.append({key, value, QString()});
}

void Scenario::remove(const QString &key)
{
    const int i = indexOf(key);
    if (i >= 0)
        m_lines.removeAt(i);
}

QStringList Scenario::keys(const QString &prefix) const
{
    QStringList out;
    for (const Line &l : m_lines)
        if (!l.key.isEmpty() && l.key.startsWith(prefix))
            out << l.key;
    return out;
}

#ifdef Q_OS_UNIX
// flock: waiters wake as soon as the holder is done, and a holder that dies
// releases the lock with its descriptor.
struct ScenarioLock::Private {
    int fd = -1;
    bool locked = false;
};

ScenarioLock::ScenarioLock(const QString &dir) : d(new Private)
{
    d->fd = ::open(QFile::encodeName(Scenario::lockName(dir)).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (d->fd < 0)
        return;
    int rc;
    do {
        rc = ::flock(d->fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    d->locked = rc == 0;
}

ScenarioLock::~ScenarioLock()
{
    if (d->fd >= 0)
        ::close(d->fd); // releases the lock
    delete d;
}
#else
struct ScenarioLock::Private {
    explicit Private(const QString &dir) : lock(Scenario::lockName(dir)) {}
    QLockFile lock;
    bool locked = false;
};

ScenarioLock::ScenarioLock(const QString &dir) : d(new Private(dir))
{
    d->lock.setStaleLockTime(10000);
    d->locked = d->lock.tryLock(10000);
}

ScenarioLock::~ScenarioLock()
{
    if (d->locked)
        d->lock.unlock();
    delete d;
}
#endif

bool ScenarioLock::isLocked() const { return d->locked; }

bool appendCall(const QString &dir, const QString &line)
{
    QFile f(Scenario::callLogName(dir));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    return f.write(bytes) == bytes.size();
}

QString callLine(const QString &tool, const QStringList &args)
{
    QString out = tool;
    for (const QString &a : args) {
        out += QLatin1Char(' ');
        if (a.isEmpty() || a.contains(QLatin1Char(' ')) || a.contains(QLatin1Char('\t'))
            || a.contains(QLatin1Char('"'))) {
            QString q = a;
            q.replace(QLatin1Char('"'), QLatin1String("\\\""));
            out += QLatin1Char('"') + q + QLatin1Char('"');
        } else {
            out += a;
        }
    }
    return out;
}

} // namespace simadb
