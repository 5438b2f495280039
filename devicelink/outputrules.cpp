#include "devicelink/outputrules.h"

#include <cctype>

#include <QRegularExpression>

namespace devicelink {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPackage = companionPackage();

bool isListed(DeviceState state)
{
    return state == DeviceState::Device || state == DeviceState::Unauthorized || state == DeviceState::Offline
        || state == DeviceState::NoPermissions;
}

// A PID that can go on a command line and names a process that can hold a
// port: digits only, so that no text of netstat's output ever adds an
// argument of its own ("123 /im x.exe") to a command; and not 0 (closed
// connections, or a holder this user may not see).
bool usablePid(const QString &pid)
{
    if (pid.isEmpty() || pid.size() > 10)
        return false;
    for (const QChar c : pid) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return pid.toLongLong() != 0;
}

// The columns of a netstat line that the rules read.
struct NetstatRow
{
    QString local;
    QString state;
    QString pid;
};

// The first netstat line whose local end is the port and that the test
// accepts. Lines with fewer than five columns are passed over.
bool firstOnLocalPort(const QString &output, const QString &port, bool (*accept)(const NetstatRow &),
                      NetstatRow *found)
{
    const QString suffix = QLatin1Char(':') + port;
    for (const QString &line : nonEmptyOutputLines(output)) {
        if (!line.contains(port))
            continue;
        const QStringList parts = netstatParts(line);
        if (parts.size() < 5)
            continue;
        const NetstatRow row{parts.at(1).trimmed(), parts.at(3).trimmed(), parts.at(4).trimmed()};
        if (row.local.endsWith(suffix) && accept(row)) {
            *found = row;
            return true;
        }
    }
    return false;
}

bool listening(const NetstatRow &row)
{
    return row.state == QLatin1String("LISTENING");
}

bool listeningWithPid(const NetstatRow &row)
{
    return listening(row) && usablePid(row.pid);
}

bool heldWithPid(const NetstatRow &row)
{
    return !row.state.isEmpty() && usablePid(row.pid);
}

} // namespace

QString normaliseLineEnds(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 2 < n && text.at(i + 1) == QLatin1Char('\r') && text.at(i + 2) == QLatin1Char('\n')) {
                out += kCrLf;
                i += 2;
            } else if (i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) {
                out += kCrLf;
                i += 1;
            } else {
                out += c;
            }
        } else if (c == QLatin1Char('\n')) {
            out += kCrLf;
        } else {
            out += c;
        }
    }
    return out;
}

QStringList outputLines(const QString &text)
{
    return normaliseLineEnds(text).split(kCrLf, Qt::KeepEmptyParts);
}

QStringList nonEmptyOutputLines(const QString &text)
{
    return normaliseLineEnds(text).split(kCrLf, Qt::SkipEmptyParts);
}

DeviceState deviceState(const QString &line)
{
    if (line.trimmed().isEmpty())
        return DeviceState::None;
    const int tab = line.indexOf(QLatin1Char('\t'));
    const QString state = tab >= 0 ? line.mid(tab + 1).trimmed()
                                   : line.trimmed().section(QLatin1Char(' '), 1, -1, QString::SectionSkipEmpty);
    if (state == QLatin1String("device"))
        return DeviceState::Device;
    if (state == QLatin1String("unauthorized"))
        return DeviceState::Unauthorized;
    if (state == QLatin1String("offline"))
        return DeviceState::Offline;
    if (state.startsWith(QLatin1String("no permissions")))
        return DeviceState::NoPermissions;
    return DeviceState::Other;
}

DeviceProbeResult probeDeviceList(const QString &output)
{
    DeviceProbeResult result;
    const QStringList lines = outputLines(output);
    for (int i = 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        result.walked << line;
        if (line.isEmpty())
            break;
        const DeviceState state = deviceState(line);
        if (isListed(state)) {
            result.isOffline = state == DeviceState::Offline;
            result.hasDevice = true;
            break;
        }
    }
    return result;
}

void applyUsbRule(const QString &output, UsbState &state, QStringList *log)
{
    state.listed = 0;
    state.noPermissions = false;
    const QStringList lines = outputLines(output);
    for (int i = 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (log)
            *log << QStringLiteral("s%1:%2").arg(i).arg(line);
        if (i == 1 && line.isEmpty()) {
            if (log)
                *log << QStringLiteral("adb empty");
            state.adbEmpty = true;
            state.usbOpened = false;
            state.error = false;
        }
        const DeviceState ds = deviceState(line);
        if (ds != DeviceState::None)
            ++state.listed;
        if (ds == DeviceState::Offline) {
            state.usbOpened = false;
            state.adbEmpty = false;
            state.error = true;
            state.isOffline = true;
            if (log)
                *log << QStringLiteral("in test usb offline,offline state: true");
        } else if (ds == DeviceState::Device || ds == DeviceState::Unauthorized) {
            state.usbOpened = true;
            state.error = false;
            state.isOffline = false;
            state.adbEmpty = false;
            if (log)
                *log << QStringLiteral("usb open state changed: true");
        } else if (ds == DeviceState::NoPermissions) {
            state.noPermissions = true;
        }
    }
}

QStringList listedDevices(const QString &output)
{
    QStringList devices;
    const QStringList lines = outputLines(output);
    for (int i = 1; i < lines.size(); ++i) {
        if (deviceState(lines.at(i)) != DeviceState::None)
            devices << lines.at(i).simplified();
    }
    return devices;
}

void TrackedDeviceLists::feed(const QByteArray &bytes)
{
    if (m_broken)
        return;
    m_buffer.reserve(m_buffer.size() + bytes.size());
    for (const char c : bytes) {
        if (c != '\r')
            m_buffer.append(c);
    }
}

bool TrackedDeviceLists::next(QString *list)
{
    if (m_broken || m_buffer.size() < 4)
        return false;
    bool ok = false;
    const int length = m_buffer.left(4).toInt(&ok, 16);
    // four hexadecimal digits, no sign or blank
    for (int i = 0; i < 4; ++i)
        ok = ok && isxdigit(uchar(m_buffer.at(i)));
    if (!ok) {
        m_broken = true;
        m_buffer.clear();
        return false;
    }
    if (m_buffer.size() < 4 + length)
        return false;
    *list = QString::fromLocal8Bit(m_buffer.constData() + 4, length);
    m_buffer.remove(0, 4 + length);
    return true;
}

bool applyAuthRule(const QString &output, AuthState &state, QString *judgedLine)
{
    const QStringList lines = outputLines(output);
    if (lines.size() < 2)
        return false;
    const QString &line = lines.at(1);
    if (judgedLine)
        *judgedLine = line;
    switch (deviceState(line)) {
    case DeviceState::Device:
        state.authorized = true;
        break;
    case DeviceState::Offline:
        state.authorized = false;
        state.error = true;
        state.isOffline = true;
        break;
    case DeviceState::None:
        state.authorized = false;
        state.isOffline = false;
        state.error = true;
        break;
    default:
        state.authorized = false;
        break;
    }
    return true;
}

bool killServerSucceeded(const QString &output)
{
    return output.contains(QLatin1String("server not running")) || output.isEmpty();
}

bool startServerSucceeded(const QString &output)
{
    return output.contains(QLatin1String("daemon started successfully")) || output.isEmpty();
}

bool hasCompanionPackage(const QString &output)
{
    for (const QString &line : nonEmptyOutputLines(output)) {
        if (line.trimmed() == QLatin1String("package:") + kPackage)
            return true;
    }
    return false;
}

bool installSucceeded(const QString &output)
{
    const QString trimmed = output.trimmed();
    return trimmed.contains(QLatin1String("Success")) || trimmed.isEmpty();
}

bool activityStarted(const QString &output)
{
    return output.contains(QLatin1String("Complete")) || output.isEmpty()
        || output.contains(QLatin1String(
            "Warning: Activity not started, its current task has been brought to the front"));
}

// adb from Android 10 on prints the local port of a forward it has newly
// bound ("10000"); taking that for a failure would send the sequence after
// the holder of port 10000, which is then adb's own server, in a loop that
// never connects. Any other output is a failure.
bool forwardSucceeded(const QString &output)
{
    const QString text = output.trimmed();
    return text.isEmpty() || text == QLatin1String("10000");
}

BatteryLevel batteryLevel(const QString &output)
{
    BatteryLevel result;
    const QStringList lines = outputLines(output);
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (!line.contains(QLatin1String("level")))
            continue;
        const QStringList parts = line.split(QLatin1Char(':'), Qt::SkipEmptyParts);
        if (parts.size() > 1)
            result.level = parts.at(1);
        result.found = true;
        break;
    }
    return result;
}

SerialNumber serialNumber(const QString &output)
{
    SerialNumber result;
    const QStringList lines = outputLines(output);
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        result.serial = line;
        result.found = true;
        break;
    }
    return result;
}

bool companionQuit(const QString &output)
{
    return !output.contains(kPackage);
}

qint64 phoneUptimeMs(const QString &output)
{
    const QStringList lines = nonEmptyOutputLines(output);
    if (lines.isEmpty())
        return -1;
    const QString first = lines.first().trimmed().section(QLatin1Char(' '), 0, 0);
    // Digits, at most one point, digits: no sign, exponent, "inf" or "nan".
    static const QRegularExpression number(QStringLiteral("^[0-9]{1,12}(\\.[0-9]{1,9})?$"));
    if (!number.match(first).hasMatch())
        return -1;
    return qRound64(first.toDouble() * 1000.0);
}

bool restartedSince(qint64 uptimeMs, qint64 sinceRebootCommandMs)
{
    return uptimeMs >= 0 && uptimeMs < sinceRebootCommandMs;
}

QStringList netstatParts(const QString &line)
{
    return line.split(QStringLiteral("  "), Qt::SkipEmptyParts);
}

bool port5037Used(const QString &output)
{
    NetstatRow row;
    return firstOnLocalPort(output, QStringLiteral("5037"), listening, &row);
}

// A listener whose PID cannot be used (0: a server of another user) names
// no holder.
QString holderPid5037(const QString &output)
{
    NetstatRow row;
    return firstOnLocalPort(output, QStringLiteral("5037"), listeningWithPid, &row) ? row.pid : QString();
}

// The holder is the program whose own (local) end is port 10000. A line that
// has "10000" only in its PID, or in the far end of a connection (a client of
// some server on port 10000, this program's own session included), names a
// program that does not hold the port, and that program would be ended for
// nothing. PID 0 owns closed connections (TIME_WAIT); it never holds a port
// and cannot be ended.
QString holderPid10000(const QString &output)
{
    NetstatRow row;
    return firstOnLocalPort(output, QStringLiteral("10000"), heldWithPid, &row) ? row.pid : QString();
}

QString imageNameForPid(const QString &output, const QString &pid)
{
    if (pid.isEmpty())
        return QString();
    for (const QString &line : nonEmptyOutputLines(output)) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() > 1 && words.mid(1).contains(pid))
            return words.at(0);
    }
    return QString();
}

QStringList tasklistArguments(const QString &pid)
{
    return {QStringLiteral("/fi"), QStringLiteral("pid eq ") + pid};
}

QStringList taskkillArguments(const QString &pid)
{
    return {QStringLiteral("/f"), QStringLiteral("/pid"), pid};
}

} // namespace devicelink
