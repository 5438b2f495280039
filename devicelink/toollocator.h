#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Where the device link finds the outside programs it runs.
//
// PURGATEX_TOOLS_DIR, when it names a folder, holds all four (this is how the
// simulated phone and users with their own adb put them in place). Otherwise
// adb is looked for in the program's folder, then on the search path, then
// (Windows) in the platform-tools folders of the usual Android SDK places.
// Windows runs its own netstat, tasklist and taskkill from the system folder;
// elsewhere the Windows-format netstat, tasklist and taskkill come from the
// program's own "helpers" folder or, installed, its private helper folder
// (<prefix>/libexec/purgatex beside <prefix>/bin).
namespace devicelink {

struct ToolPaths
{
    QString adb;
    QString netstat;
    QString tasklist;
    QString taskkill;
};

// What the lookup depends on.
struct ToolPlaces
{
    QString toolsDir;       // the value of PURGATEX_TOOLS_DIR (may be empty)
    QString appDir;         // the program's folder
    QStringList sdkFolders; // Windows: platform-tools folders of Android SDK installs
    QString systemDir;      // Windows: the system folder (System32); empty: bare command names
};

ToolPaths locateTools(const ToolPlaces &places);

// Where adb was looked for, as the user is told when it is not found.
QStringList adbSearchPlaces(const ToolPlaces &places);

// The platform-tools folders of the places where Android SDKs and the
// separately unpacked platform tools usually lie on Windows, from the
// variables of `env`: %ANDROID_SDK_ROOT% and %ANDROID_HOME% (set by SDK
// installs), Android Studio's %LOCALAPPDATA%\Android\Sdk, and the
// platform-tools zip unpacked at the root of the system drive
// (C:\platform-tools). Without duplicates; unset variables give nothing.
QStringList sdkPlatformToolsFolders(const QProcessEnvironment &env);

// The same with the environment, application folder and system folder of
// this process.
ToolPlaces toolPlacesForThisProcess();
ToolPaths locateToolsForThisProcess();
QStringList adbSearchPlacesForThisProcess();

} // namespace devicelink
