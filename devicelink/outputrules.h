#pragma once

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

// "\r\r\n" and a lone "\n" become "\r\n"; other text is left alone.
QString normaliseLineEnds(const QString &text);
// The normalised text split at "\r\n", empty parts kept (line k = index k).
QStringList outputLines(const QString &text);
// The normalised text split at "\r\n", empty parts skipped.
QStringList nonEmptyOutputLines(const QString &text);

// D1: device probe over `adb devices`. Walks from line 1 (line 0 is the
// header) to the first device line or empty line.
struct DeviceProbeResult
{
    bool hasDevice = false;
    bool isOffline = false;
    QStringList walked; // the lines looked at, for the log
};
DeviceProbeResult probeDeviceList(const QString &output);

// D2: USB state over `adb devices`. Later lines override earlier ones; a
// flag that no line touches keeps the value it came in with.
struct UsbState
{
    bool usbOpened = false;
    bool adbEmpty = false;
    bool error = false;
    bool isOffline = false;
};
void applyUsbRule(const QString &output, UsbState &state, QStringList *log = nullptr);

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
// H: the companion package is installed.
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

// Netstat: a line split at runs of two blanks, as the column layout of
// `netstat -anop tcp` gives protocol, local, foreign, state and PID.
QStringList netstatParts(const QString &line);
// N1: port 5037 is held (ESTABLISHED or LISTENING).
bool port5037Used(const QString &output);
// N2: PID of the holder of port 5037 (ESTABLISHED or LISTENING); empty if none.
// A PID column that is not a decimal number names no holder (N2 and N3).
QString holderPid5037(const QString &output);
// N3: PID of the first line whose local address is on port 10000 and that
// has a state and a PID column other than 0; empty if none.
QString holderPid10000(const QString &output);
// T: image name from `tasklist /fi "pid eq PID"`: the first word of the first
// line that contains the PID text; empty if none.
QString imageNameForPid(const QString &output, const QString &pid);
// X: `taskkill` ended the process.
bool taskkillSucceeded(int exitCode);

// Command lines built from looked-up values.
QString tasklistCommandLine(const QString &program, const QString &pid);
QString taskkillByPidCommandLine(const QString &program, const QString &pid);

} // namespace devicelink
