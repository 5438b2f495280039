#include "devicelink/toollocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace devicelink {

namespace {

QString inFolder(const QString &folder, const QString &name)
{
    return QDir(folder).filePath(name);
}

#ifndef Q_OS_WIN
bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}
#endif

} // namespace

ToolPaths locateTools(const QString &toolsDir, const QString &appDir, const QString &installDir)
{
    ToolPaths paths;
    if (!toolsDir.isEmpty() && QFileInfo(toolsDir).isDir()) {
        paths.adb = inFolder(toolsDir, QStringLiteral("adb"));
        paths.netstat = inFolder(toolsDir, QStringLiteral("netstat"));
        paths.tasklist = inFolder(toolsDir, QStringLiteral("tasklist"));
        paths.taskkill = inFolder(toolsDir, QStringLiteral("taskkill"));
        return paths;
    }
#ifdef Q_OS_WIN
    paths.adb = QStringLiteral("adb");
    for (const QString &folder : {installDir, appDir}) {
        const QString candidate = inFolder(folder, QStringLiteral("adb.exe"));
        if (!folder.isEmpty() && QFileInfo(candidate).isFile()) {
            paths.adb = candidate;
            break;
        }
    }
    paths.netstat = QStringLiteral("netstat");
    paths.tasklist = QStringLiteral("tasklist");
    paths.taskkill = QStringLiteral("taskkill");
#else
    Q_UNUSED(installDir)
    const QString besideProgram = inFolder(appDir, QStringLiteral("adb"));
    if (!appDir.isEmpty() && isExecutableFile(besideProgram)) {
        paths.adb = besideProgram;
    } else {
        const QString onPath = QStandardPaths::findExecutable(QStringLiteral("adb"));
        paths.adb = onPath.isEmpty() ? QStringLiteral("adb") : onPath;
    }
    QString helpers = inFolder(appDir, QStringLiteral("helpers"));
#ifdef PURGATEX_HELPERS_FROM_BIN
    // Installed: the private helper folder (<prefix>/libexec/purgatex).
    const QString installed = QDir::cleanPath(inFolder(appDir, QStringLiteral(PURGATEX_HELPERS_FROM_BIN)));
    if (!isExecutableFile(inFolder(helpers, QStringLiteral("netstat")))
        && isExecutableFile(inFolder(installed, QStringLiteral("netstat"))))
        helpers = installed;
#endif
    paths.netstat = inFolder(helpers, QStringLiteral("netstat"));
    paths.tasklist = inFolder(helpers, QStringLiteral("tasklist"));
    paths.taskkill = inFolder(helpers, QStringLiteral("taskkill"));
#endif
    return paths;
}

ToolPaths locateToolsForThisProcess()
{
    return locateTools(qEnvironmentVariable("PURGATEX_TOOLS_DIR"), QCoreApplication::applicationDirPath(),
                       QStringLiteral("C:\\Program Files (x86)\\Purgatex"));
}

} // namespace devicelink
