#include "devicelink/linkhelp.h"

#include "devicelink/outputrules.h"

#include <QCoreApplication>

namespace devicelink {

const char *problemName(LinkProblem problem)
{
    switch (problem) {
    case LinkProblem::SeveralPhones: return "several phones";
    case LinkProblem::AdbMissing: return "adb missing";
    case LinkProblem::InstallFailed: return "install failed";
    case LinkProblem::PackageMissing: return "package missing";
    case LinkProblem::ActivityFailed: return "activity failed";
    case LinkProblem::ForwardFailed: return "forward failed";
    case LinkProblem::Port10000Held: return "port 10000 held";
    case LinkProblem::NoPermissions: return "no permissions";
    case LinkProblem::Port5037Held: return "port 5037 held";
    }
    return "?";
}

bool graceOver(int rounds, qint64 sinceFirstMs, int graceRounds, qint64 graceMs)
{
    return rounds >= graceRounds || (rounds > 1 && sinceFirstMs >= graceMs);
}

ProblemNotice noticeFor(LinkProblem problem)
{
    switch (problem) {
    case LinkProblem::Port10000Held: return ProblemNotice::PortUsed;
    case LinkProblem::NoPermissions: return ProblemNotice::DriverError;
    default: return ProblemNotice::Help;
    }
}

bool leavesPhoneUnusable(LinkProblem problem)
{
    switch (problem) {
    case LinkProblem::InstallFailed:
    case LinkProblem::PackageMissing:
    case LinkProblem::ActivityFailed:
    case LinkProblem::ForwardFailed:
    case LinkProblem::Port10000Held:
        return true;
    default:
        return false;
    }
}

namespace {

// The words of the notices, in the user's language.
class Words
{
    Q_DECLARE_TR_FUNCTIONS(devicelink)
};

QString again()
{
    return Words::tr("The program tries again by itself.");
}

QString quoted(const QString &intro, const QString &detail)
{
    return detail.isEmpty() ? QString() : intro + QLatin1Char('\n') + detail + QStringLiteral("\n\n");
}

} // namespace

HelpText helpText(LinkProblem problem, const QString &detail, bool windows)
{
    switch (problem) {
    case LinkProblem::SeveralPhones:
        return {Words::tr("Unplug all Android devices but the one to erase"),
                quoted(Words::tr("adb lists these devices:"), detail)
                    + Words::tr("The program works with one phone at a time. Unplug the others, or switch off "
                                "USB debugging on them (emulators too); the connection goes on by itself.")};
    case LinkProblem::AdbMissing:
        return {Words::tr("The Android Debug Bridge (adb) was not found"),
                quoted(Words::tr("The program reaches the phone through adb and looked for it in:"), detail)
                    + (windows ? Words::tr("Purgatex for Android does not bring adb: download the SDK "
                                           "Platform-Tools for Windows from "
                                           "developer.android.com/tools/releases/platform-tools and unzip them as "
                                           "C:\\platform-tools, or copy adb.exe, AdbWinApi.dll and "
                                           "AdbWinUsbApi.dll into the program's folder.")
                               : Words::tr("Install it (Debian and Ubuntu package \"adb\": sudo apt install "
                                           "adb) or copy adb into the program's folder."))
                    + QLatin1Char(' ') + again()};
    case LinkProblem::InstallFailed:
        return {Words::tr("The Purgatex for Android app could not be installed"),
                quoted(Words::tr("adb says:"), detail)
                    + Words::tr("Unlock the phone and accept the installation if the phone asks. If an older "
                                "copy of the app is on the phone, uninstall it there. ")
                    + again()};
    case LinkProblem::PackageMissing:
        return {Words::tr("The app package Purgatex.apk is missing"),
                quoted(Words::tr("The program installs its companion app on the phone from:"), detail)
                    + Words::tr("That file is not there. Start the program from its installation folder, or "
                                "copy Purgatex.apk there. ")
                    + again()};
    case LinkProblem::ActivityFailed:
        return {Words::tr("The Purgatex for Android app does not start on the phone"),
                quoted(Words::tr("The phone says:"), detail)
                    + Words::tr("Unlock the phone and keep it unlocked. If the app is disabled (Settings, "
                                "Apps), enable it; or uninstall it so that the program installs it afresh. ")
                    + again()};
    case LinkProblem::ForwardFailed:
        return {Words::tr("The connection to the app cannot be set up"),
                quoted(Words::tr("adb could not forward port 10000 to the phone:"), detail)
                    + Words::tr("Close other Android tools (emulators, phone managers), then unplug the phone "
                                "and plug it in again. ")
                    + again()};
    case LinkProblem::Port5037Held:
        return {Words::tr("Another adb server is in the way"),
                (windows ? Words::tr("Port 5037, which adb needs, is held by a program that this user can "
                                     "neither name nor stop: most likely an adb server started by another "
                                     "user or as administrator. Stop it from there (\"adb kill-server\"), or "
                                     "end adb.exe in the Task Manager as administrator.")
                         : Words::tr("Port 5037, which adb needs, is held by a program that this user can "
                                     "neither name nor stop: most likely an adb server started by another "
                                     "user, for example with sudo. Stop it there (\"sudo adb kill-server\").")
                 )
                    + Words::tr(" The program goes on by itself once the port is free.")};
    case LinkProblem::Port10000Held:
    case LinkProblem::NoPermissions:
        break; // told by the port-used and the driver-error notices
    }
    return {};
}

QString complaintLine(const QString &standardOutput, const QString &standardError)
{
    const QStringList errors = nonEmptyOutputLines(standardError);
    for (int i = errors.size() - 1; i >= 0; --i) {
        const QString line = errors.at(i).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1String("* daemon")))
            return line;
    }
    const QStringList lines = nonEmptyOutputLines(standardOutput);
    for (int i = lines.size() - 1; i >= 0; --i) {
        const QString line = lines.at(i).trimmed();
        if (line.startsWith(QLatin1String("Error")) || line.startsWith(QLatin1String("Failure"))
            || line.startsWith(QLatin1String("adb: ")) || line.startsWith(QLatin1String("error:")))
            return line;
    }
    for (int i = lines.size() - 1; i >= 0; --i) {
        if (!lines.at(i).trimmed().isEmpty())
            return lines.at(i).trimmed();
    }
    return QString();
}

DriverAdvice driverAdvice(bool windows)
{
    if (windows)
        return {Words::tr("2. If Windows failed to install the USB driver, please install it manually. You can "
                          "check them in this page: "),
                Words::tr("User guide: installing the USB driver")};
    return {Words::tr("2. If adb lists the phone with \"no permissions\", your user may not reach it: install "
                      "the udev rules (package android-sdk-platform-tools-common), join the plugdev group and "
                      "log in again. You can read more in this page: "),
            Words::tr("User guide: USB access on Linux")};
}

} // namespace devicelink
