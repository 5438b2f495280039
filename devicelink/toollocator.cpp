#include "devicelink/toollocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace devicelink {

namespace {

#ifdef Q_OS_WIN
const QString kAdbFile = QStringLiteral("adb.exe");
#else
const QString kAdbFile = QStringLiteral("adb");
#endif

QString inFolder(const QString &folder, const QString &name)
{
    return QDir(folder).filePath(name);
}

bool usableToolsDir(const QString &toolsDir)
{
    return !toolsDir.isEmpty() && QFileInfo(toolsDir).isDir();
}

bool isProgramFile(const QString &path)
{
    const QFileInfo info(path);
#ifdef Q_OS_WIN
    return info.isFile();
#else
    return info.isFile() && info.isExecutable();
#endif
}

} // namespace

QStringList adbFolders(const QString &toolsDir, const QString &appDir, const QString &installDir)
{
    if (usableToolsDir(toolsDir))
        return {toolsDir};
    QStringList folders;
#ifdef Q_OS_WIN
    folders << installDir;
#else
    Q_UNUSED(installDir)
#endif
    folders << appDir;
    folders.removeAll(QString());
    return folders;
}

QStringList adbSearchPlaces(const QString &toolsDir, const QString &appDir, const QString &installDir)
{
    QStringList places;
    for (const QString &folder : adbFolders(toolsDir, appDir, installDir))
        places << QDir::toNativeSeparators(folder);
    if (!usableToolsDir(toolsDir))
        places << QStringLiteral("the folders of the search path (PATH)");
    return places;
}

ToolPaths locateTools(const QString &toolsDir, const QString &appDir, const QString &installDir)
{
    ToolPaths paths;
    if (usableToolsDir(toolsDir)) {
        paths.adb = inFolder(toolsDir, QStringLiteral("adb"));
        paths.netstat = inFolder(toolsDir, QStringLiteral("netstat"));
        paths.tasklist = inFolder(toolsDir, QStringLiteral("tasklist"));
        paths.taskkill = inFolder(toolsDir, QStringLiteral("taskkill"));
        return paths;
    }
    for (const QString &folder : adbFolders(toolsDir, appDir, installDir)) {
        if (isProgramFile(inFolder(folder, kAdbFile))) {
            paths.adb = inFolder(folder, kAdbFile);
            break;
        }
    }
    if (paths.adb.isEmpty()) {
        const QString onPath = QStandardPaths::findExecutable(QStringLiteral("adb"));
        paths.adb = onPath.isEmpty() ? QStringLiteral("adb") : onPath;
    }
#ifdef Q_OS_WIN
    paths.netstat = QStringLiteral("netstat");
    paths.tasklist = QStringLiteral("tasklist");
    paths.taskkill = QStringLiteral("taskkill");
#else
    QString helpers = inFolder(appDir, QStringLiteral("helpers"));
#ifdef PURGATEX_HELPERS_FROM_BIN
    // Installed: the private helper folder (<prefix>/libexec/purgatex).
    const QString installed = QDir::cleanPath(inFolder(appDir, QStringLiteral(PURGATEX_HELPERS_FROM_BIN)));
    if (!isProgramFile(inFolder(helpers, QStringLiteral("netstat")))
        && isProgramFile(inFolder(installed, QStringLiteral("netstat"))))
        helpers = installed;
#endif
    paths.netstat = inFolder(helpers, QStringLiteral("netstat"));
    paths.tasklist = inFolder(helpers, QStringLiteral("tasklist"));
    paths.taskkill = inFolder(helpers, QStringLiteral("taskkill"));
#endif
    return paths;
}

namespace {
const QString kInstallDir = QStringLiteral("C:\\Program Files (x86)\\Purgatex");
}

ToolPaths locateToolsForThisProcess()
{
    return locateTools(qEnvironmentVariable("PURGATEX_TOOLS_DIR"), QCoreApplication::applicationDirPath(),
                       kInstallDir);
}

QStringList adbSearchPlacesForThisProcess()
{
    return adbSearchPlaces(qEnvironmentVariable("PURGATEX_TOOLS_DIR"), QCoreApplication::applicationDirPath(),
                           kInstallDir);
}

} // namespace devicelink
