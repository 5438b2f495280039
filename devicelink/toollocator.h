#pragma once

#include <QString>
#include <QStringList>

// Where the device link finds the outside programs it runs.
//
// PURGATEX_TOOLS_DIR, when it names a folder, holds all four (this is how the
// simulated phone and users with their own adb put them in place). Otherwise
// adb is looked for in the folders of adbFolders() and then on the search
// path; Windows runs the bare names of its own commands, elsewhere the
// Windows-format netstat, tasklist and taskkill come from the program's own
// "helpers" folder or, installed, its private helper folder
// (<prefix>/libexec/purgatex beside <prefix>/bin).
namespace devicelink {

struct ToolPaths
{
    QString adb;
    QString netstat;
    QString tasklist;
    QString taskkill;
};

// toolsDir: the value of PURGATEX_TOOLS_DIR (may be empty); appDir: the
// application's folder; installDir: the fixed install folder.
ToolPaths locateTools(const QString &toolsDir, const QString &appDir, const QString &installDir);

// The folders adb is looked for in, in order (the search path comes after
// them unless a tools folder is given).
QStringList adbFolders(const QString &toolsDir, const QString &appDir, const QString &installDir);

// Where adb was looked for, as the user is told when it is not found.
QStringList adbSearchPlaces(const QString &toolsDir, const QString &appDir, const QString &installDir);

// The same with the environment, application folder and install folder of
// this process.
ToolPaths locateToolsForThisProcess();
QStringList adbSearchPlacesForThisProcess();

} // namespace devicelink
