#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What the device link reads from the outside commands. Every function here
// takes the collected standard output of one command and returns what it
// means; the step slots of MainWindow do the logging, waiting and arming.
//
// Tools print lines ending in "\r\n" (Windows), "\n" (adb on Linux) or
// "\r\r\n" (adb shell through a terminal on old phones). Every rule first
// brings the text to "\r\n" lines so that all three read the same.
namespace devicelink {

// The companion app's package name, as pm lists it and am starts it.
inline QString companionPackage() { return QStringLiteral("org.qtproject.example"); }

// "\r\r\n" and a lone "\n" become "\r\n"; other text is left alone.
QString normaliseLineEnds(const QString &text);
// The normalised text split at "\r\n", empty parts kept (line k = index k).
QStringList outputLines(const QString &text);
// The normalised text split at "\r\n", empty parts skipped.
QStringList nonEmptyOutputLines(const QString &text);

// The state word of a line of `adb devices` (the text after the serial and
// its tab). Only these exact words count: a serial or a remark that merely
// holds "device" (as the "no permissions (...); see [.../device.html]" line
// of adb on Linux does) says nothing about the phone.
enum class DeviceState { None, Device, Unauthorized, Offline, NoPermissions, Other };
DeviceState deviceState(const QString &line);

// D1: device probe over `adb devices`. Walks from line 1 (line 0 is the
// header) to the first listed phone (authorised, unauthorised, offline, or
// one this user may not reach) or empty line.
struct DeviceProbeResult
{
    bool hasDevice = false;
    bool isOffline = false;
    QStringList walked; // the lines looked at, for the log
};
DeviceProbeResult probeDeviceList(const QString &output);

// D2: USB state over `adb devices`. Later lines override earlier ones; a
// flag that no line touches keeps the value it came in with. `listed`
// counts the devices listed, `noPermissions` tells a phone this user may
// not reach (both set afresh on every run).
struct UsbState
{
    bool usbOpened = false;
    bool adbEmpty = false;
    bool error = false;
    bool isOffline = false;
    int listed = 0;
    bool noPermissions = false;
};
void applyUsbRule(const QString &output, UsbState &state, QStringList *log = nullptr);
// The serial and state of every device `adb devices` lists, one per line.
QStringList listedDevices(const QString &output);

// `adb track-devices` prints the device list again whenever it changes: each
// time four hexadecimal digits giving the list's length in bytes, then the
// list (the lines of `adb devices` without their header; "0000" is no
// device). The reader takes the output as it comes, in pieces of any size,
// and gives back every whole list. Carriage returns are passed over: a pipe
// that widens line ends does so after the length was counted. Output that is
// not such a stream breaks the reader for good.
class TrackedDeviceLists
{
public:
    void feed(const QByteArray &bytes);
    // The next whole list that has come, oldest first.
    bool next(QString *list);
    bool broken() const { return m_broken; }

private:
    QByteArray m_buffer;
    bool m_broken = false;
};

// D3: authorisation over `adb devices`; only line 1 is judged. Returns false
// (state untouched) when the output has fewer than two lines.
struct AuthState
{
    bool authorized = false;
    bool error = false;
    bool isOffline = false;
};
bool applyAuthRule(const QString &output, AuthState &state, QString *judgedLine = nullptr);

// K: `adb kill-server` succeeded.
bool killServerSucceeded(const QString &output);
// A: `adb start-server` succeeded.
bool startServerSucceeded(const QString &output);
// H: the companion package is installed: a line that is exactly
// "package:org.qtproject.example" (pm lists every package whose name holds
// the filter, "package:org.qtproject.example.gallery" among them).
bool hasCompanionPackage(const QString &output);
// I: `adb install` succeeded.
bool installSucceeded(const QString &output);
// S: the companion activity runs.
bool activityStarted(const QString &output);
// F: `adb forward tcp:10000 ...` succeeded: it prints nothing, or (newer adb)
// only the local port it bound.
bool forwardSucceeded(const QString &output);

// P: battery level from `dumpsys battery`. `level` keeps the blank that
// follows the colon (" 85").
struct BatteryLevel
{
    bool found = false;
    QString level;
};
BatteryLevel batteryLevel(const QString &output);

// Q: serial number from `adb get-serialno`: the first non-empty trimmed line.
struct SerialNumber
{
    bool found = false;
    QString serial;
};
SerialNumber serialNumber(const QString &output);

// W: the companion app's process is gone from `dumpsys activity processes`.
bool companionQuit(const QString &output);

// R: the phone's uptime from `adb shell cat /proc/uptime` ("352811.42
// 1270121.11": seconds since it started, then its idle seconds), in ms; -1
// when the first line does not begin with such a number.
qint64 phoneUptimeMs(const QString &output);
// After a reboot command: a phone up for less time than has passed since the
// command was started has started again since (an unreadable uptime, -1,
// tells nothing).
bool restartedSince(qint64 uptimeMs, qint64 sinceRebootCommandMs);

// Netstat: a line split at runs of two blanks, as the column layout of
// `netstat -anop tcp` gives protocol, local, foreign, state and PID.
QStringList netstatParts(const QString &line);
// N1: port 5037 is held: a line whose local end is port 5037, LISTENING.
bool port5037Used(const QString &output);
// N2: PID of the listener on port 5037 (digits only, never 0); empty if none.
// A PID column that is not a decimal number names no holder (N2 and N3).
QString holderPid5037(const QString &output);
// N3: PID of the first line whose local end is port 10000 and that has a
// state and a PID other than 0 (digits only); empty if none.
QString holderPid10000(const QString &output);
// T: image name from `tasklist /fi "pid eq PID"`: the first word of the first
// line whose PID column is the PID; empty if none.
QString imageNameForPid(const QString &output, const QString &pid);

// Arguments of the Windows commands for a PID (digits only, as the netstat
// rules give it).
QStringList tasklistArguments(const QString &pid);
QStringList taskkillArguments(const QString &pid);

} // namespace devicelink
