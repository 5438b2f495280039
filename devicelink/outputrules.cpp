#include "devicelink/outputrules.h"

namespace devicelink {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kPackage = QStringLiteral("org.qtproject.example");

bool isDeviceLine(const QString &line)
{
    return line.contains(QLatin1String("unauthorized")) || line.contains(QLatin1String("device"))
        || line.contains(QLatin1String("offline"));
}

bool isHoldingState(const QString &state)
{
    return state.contains(QLatin1String("ESTABLISHED")) || state.contains(QLatin1String("LISTENING"));
}

// A process id goes into the tasklist and taskkill command lines: only a
// decimal number is taken for one, so no text of netstat's output ever adds
// an argument of its own ("123 /im x.exe") to a command.
bool isProcessId(const QString &pid)
{
    const QString digits = pid.trimmed();
    if (digits.isEmpty() || digits.size() > 10)
        return false;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// A program path with blanks is quoted so that the command line splits back
// into the same program.
QString quotedProgram(const QString &program)
{
    if (program.contains(QLatin1Char(' ')))
        return QLatin1Char('"') + program + QLatin1Char('"');
    return program;
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

DeviceProbeResult probeDeviceList(const QString &output)
{
    DeviceProbeResult result;
    const QStringList lines = outputLines(output);
    for (int i = 1; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        result.walked << line;
        if (line.isEmpty()) {
            result.hasDevice = false;
            break;
        }
        if (isDeviceLine(line)) {
            if (line.contains(QLatin1String("offline")))
                result.isOffline = true;
            result.hasDevice = true;
            break;
        }
    }
    return result;
}

void applyUsbRule(const QString &output, UsbState &state, QStringList *log)
{
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
        if (!isDeviceLine(line))
            continue;
        if (line.contains(QLatin1String("offline"))) {
            state.usbOpened = false;
            state.adbEmpty = false;
            state.error = true;
            state.isOffline = true;
            if (log)
                *log << QStringLiteral("in test usb offline,offline state: true");
        }
        if (line.contains(QLatin1String("device")) || line.contains(QLatin1String("unauthorized"))) {
            state.usbOpened = true;
            state.error = false;
            state.isOffline = false;
            state.adbEmpty = false;
            if (log)
                *log << QStringLiteral("usb open state changed: true");
        }
    }
}

bool applyAuthRule(const QString &output, AuthState &state, QString *judgedLine)
{
    const QStringList lines = outputLines(output);
    if (lines.size() < 2)
        return false;
    const QString &line = lines.at(1);
    if (judgedLine)
        *judgedLine = line;
    if (line.contains(QLatin1String("device"))) {
        state.authorized = true;
    } else if (line.contains(QLatin1String("offline"))) {
        state.authorized = false;
        state.error = true;
        state.isOffline = true;
    } else if (line.isEmpty()) {
        state.authorized = false;
        state.isOffline = false;
        state.error = true;
    } else {
        state.authorized = false;
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
    return output.contains(QLatin1String("package:org.qtproject.example"));
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

QStringList netstatParts(const QString &line)
{
    return line.split(QStringLiteral("  "), Qt::SkipEmptyParts);
}

bool port5037Used(const QString &output)
{
    const QStringList lines = nonEmptyOutputLines(output);
    for (const QString &line : lines) {
        if (!line.contains(QLatin1String("5037")))
            continue;
        const QStringList parts = netstatParts(line);
        if (parts.size() > 3 && isHoldingState(parts.at(3)))
            return true;
    }
    return false;
}

QString holderPid5037(const QString &output)
{
    const QStringList lines = nonEmptyOutputLines(output);
    for (const QString &line : lines) {
        if (!line.contains(QLatin1String("5037")))
            continue;
        const QStringList parts = netstatParts(line);
        if (parts.size() > 4 && isHoldingState(parts.at(3)) && isProcessId(parts.at(4)))
            return parts.at(4);
    }
    return QString();
}

QString holderPid10000(const QString &output)
{
    const QStringList lines = nonEmptyOutputLines(output);
    for (const QString &line : lines) {
        if (!line.contains(QLatin1String("10000")))
            continue;
        const QStringList parts = netstatParts(line);
        // The holder is the program whose own (local) end is port 10000. A
        // line that has "10000" only in its PID, or in the far end of a
        // connection (a client of some server on port 10000, this program's
        // own session included), names a program that does not hold the
        // port, and that program would be ended for nothing.
        if (parts.size() < 5 || !parts.at(1).trimmed().endsWith(QLatin1String(":10000")))
            continue;
        // PID 0 owns closed connections (TIME_WAIT); it never holds a port
        // and cannot be ended, so it is not the holder looked for.
        if (!parts.at(3).isEmpty() && isProcessId(parts.at(4)) && parts.at(4).trimmed() != QLatin1String("0"))
            return parts.at(4);
    }
    return QString();
}

QString imageNameForPid(const QString &output, const QString &pid)
{
    const QStringList lines = nonEmptyOutputLines(output);
    for (const QString &line : lines) {
        if (!line.contains(pid))
            continue;
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        return words.isEmpty() ? QString() : words.at(0);
    }
    return QString();
}

bool taskkillSucceeded(int exitCode)
{
    return exitCode == 0;
}

QString tasklistCommandLine(const QString &program, const QString &pid)
{
    return quotedProgram(program) + QStringLiteral(" /fi \"pid eq ") + pid + QLatin1Char('"');
}

QString taskkillByPidCommandLine(const QString &program, const QString &pid)
{
    return quotedProgram(program) + QStringLiteral(" /f /pid ") + pid.trimmed();
}

} // namespace devicelink
