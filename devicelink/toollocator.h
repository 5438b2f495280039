#pragma once

#include <QString>

// Where the device link finds the outside programs it runs.
//
// PURGATEX_TOOLS_DIR, when it names a folder, holds all four (this is how the
// simulated phone and users with their own adb put them in place). Otherwise
// Windows runs the bare names, with adb.exe preferred from the install folder
// or the application folder; elsewhere adb comes from the application folder
// or PATH, and the Windows-format netstat, tasklist and taskkill from the
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

// toolsDir: the value of PURGATEX_TOOLS_DIR (may be empty); appDir: the
// application's folder; installDir: the fixed install folder.
ToolPaths locateTools(const QString &toolsDir, const QString &appDir, const QString &installDir);

// The same with the environment, application folder and install folder of
// this process.
ToolPaths locateToolsForThisProcess();

} // namespace devicelink
