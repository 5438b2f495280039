#pragma once

#include <QString>
#include <QStringList>

// What the device link tells the user when a loop cannot end by waiting:
// which loops those are, when a loop has lasted long enough to be told,
// which notice tells it, and the words. Pure: the window's device-link
// section notes and clears the problems and shows the notices.
namespace devicelink {

enum class LinkProblem {
    SeveralPhones,  // adb lists more than one device
    AdbMissing,     // adb cannot be started
    InstallFailed,  // the companion package does not install
    PackageMissing, // the companion package file is not where it is installed from
    ActivityFailed, // the companion activity does not start
    ForwardFailed,  // the forward fails while nothing holds port 10000
    Port10000Held,  // the holder of port 10000 cannot be ended
    NoPermissions,  // Linux: the user may not reach the phone (udev rule, plugdev)
    Port5037Held,   // a holder of port 5037 that cannot be named or stopped
};
constexpr int LinkProblemCount = 9;

const char *problemName(LinkProblem problem);

// A problem is told once it has been seen on this many rounds, or for this
// long since it was first seen (whichever comes first).
bool graceOver(int rounds, qint64 sinceFirstMs, int graceRounds, qint64 graceMs);

// The notice that tells a problem.
enum class ProblemNotice { Help, PortUsed, DriverError };
ProblemNotice noticeFor(LinkProblem problem);

// While one of these is told, no phone is usable: the phone page gives way
// to the please-connect page.
bool leavesPhoneUnusable(LinkProblem problem);

// Heading and text of the help notice. `detail` is what the tool said (a
// complaint line), the missing file or the places adb was looked for.
struct HelpText
{
    QString heading;
    QString text;
};
HelpText helpText(LinkProblem problem, const QString &detail, bool windows);

// The line of a tool's output that says what went wrong: the last line of
// standard error that is not the adb server's start-up chatter, else the
// last line of standard output that reads as an error, else its last line.
QString complaintLine(const QString &standardOutput, const QString &standardError);

// The second suggestion of the driver-error notice and the text of its guide
// link: the USB driver on Windows, the udev rule and the plugdev group
// elsewhere (the guide's section covers both).
struct DriverAdvice
{
    QString suggestion;
    QString linkText;
};
DriverAdvice driverAdvice(bool windows);

} // namespace devicelink
