#include "devicelink/toollocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace devicelink {

namespace {

#ifdef Q_OS_WIN
const bool kWindows = true;
#else
const bool kWindows = false;
#endif

// A program's file name: Windows runs NAME.exe.
QString programFile(const QString &name)
{
    return kWindows ? name + QStringLiteral(".exe") : name;
}

QString inFolder(const QString &folder, const QString &name)
{
    return QDir::cleanPath(QDir(folder).filePath(name));
}

bool usableToolsDir(const QString &toolsDir)
{
    return !toolsDir.isEmpty() && QFileInfo(toolsDir).isDir();
}

bool isProgramFile(const QString &path)
{
    const QFileInfo info(path);
    return kWindows ? info.isFile() : info.isFile() && info.isExecutable();
}

// The folders searched before the search path.
QStringList adbFolders(const ToolPlaces &places)
{
    if (usableToolsDir(places.toolsDir))
        return {places.toolsDir};
    return places.appDir.isEmpty() ? QStringList() : QStringList{places.appDir};
}

} // namespace

QStringList sdkPlatformToolsFolders(const QProcessEnvironment &env)
{
    QStringList folders;
    auto add = [&folders](const QString &base, const QString &below) {
        if (base.trimmed().isEmpty())
            return;
        // Windows folders, whatever system reads them: "\" separates too.
        QString path = base.trimmed() + QLatin1Char('/') + below;
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QString folder = QDir::toNativeSeparators(QDir::cleanPath(path));
        if (!folders.contains(folder, Qt::CaseInsensitive))
            folders << folder;
    };
    const QString tools = QStringLiteral("platform-tools");
    add(env.value(QStringLiteral("ANDROID_SDK_ROOT")), tools);
    add(env.value(QStringLiteral("ANDROID_HOME")), tools);
    add(env.value(QStringLiteral("LOCALAPPDATA")), QStringLiteral("Android/Sdk/") + tools);
    QString drive = env.value(QStringLiteral("SystemDrive"));
    if (drive.isEmpty())
        drive = QStringLiteral("C:");
    add(drive + QLatin1Char('/'), tools);
    return folders;
}

QStringList adbSearchPlaces(const ToolPlaces &places)
{
    QStringList shown;
    for (const QString &folder : adbFolders(places))
        shown << QDir::toNativeSeparators(folder);
    if (usableToolsDir(places.toolsDir))
        return shown;
    shown << QStringLiteral("the folders of the search path (PATH)");
    for (const QString &folder : places.sdkFolders)
        shown << QDir::toNativeSeparators(folder);
    return shown;
}

ToolPaths locateTools(const ToolPlaces &places)
{
    ToolPaths paths;
    if (usableToolsDir(places.toolsDir)) {
        paths.adb = inFolder(places.toolsDir, programFile(QStringLiteral("adb")));
        paths.netstat = inFolder(places.toolsDir, programFile(QStringLiteral("netstat")));
        paths.tasklist = inFolder(places.toolsDir, programFile(QStringLiteral("tasklist")));
        paths.taskkill = inFolder(places.toolsDir, programFile(QStringLiteral("taskkill")));
        return paths;
    }
    const QString adbFile = programFile(QStringLiteral("adb"));
    for (const QString &folder : adbFolders(places)) {
        if (isProgramFile(inFolder(folder, adbFile))) {
            paths.adb = inFolder(folder, adbFile);
            break;
        }
    }
    if (paths.adb.isEmpty())
        paths.adb = QStandardPaths::findExecutable(QStringLiteral("adb"));
    for (int i = 0; paths.adb.isEmpty() && i < places.sdkFolders.size(); ++i) {
        if (isProgramFile(inFolder(places.sdkFolders.at(i), adbFile)))
            paths.adb = inFolder(places.sdkFolders.at(i), adbFile);
    }
    if (paths.adb.isEmpty()) {
        // Not found: Windows names the file beside the program, so that it
        // fails to start there (and starts once the user puts it there) rather
        // than being looked for in whatever folder the program was started
        // from; elsewhere the bare name.
        paths.adb = kWindows && !places.appDir.isEmpty() ? inFolder(places.appDir, adbFile) : QStringLiteral("adb");
    }
    if (kWindows) {
        // Windows' own commands, by their full path in the system folder: a
        // bare name would also be looked for in the program's and the
        // current folder first.
        auto system = [&places](const char *name) {
            const QString file = programFile(QLatin1String(name));
            return places.systemDir.isEmpty() ? QString::fromLatin1(name) : inFolder(places.systemDir, file);
        };
        paths.netstat = system("netstat");
        paths.tasklist = system("tasklist");
        paths.taskkill = system("taskkill");
        return paths;
    }
    QString helpers = inFolder(places.appDir, QStringLiteral("helpers"));
#ifdef PURGATEX_HELPERS_FROM_BIN
    // Installed: the private helper folder (<prefix>/libexec/purgatex).
    const QString installed = inFolder(places.appDir, QStringLiteral(PURGATEX_HELPERS_FROM_BIN));
    if (!isProgramFile(inFolder(helpers, QStringLiteral("netstat")))
        && isProgramFile(inFolder(installed, QStringLiteral("netstat"))))
        helpers = installed;
#endif
    paths.netstat = inFolder(helpers, QStringLiteral("netstat"));
    paths.tasklist = inFolder(helpers, QStringLiteral("tasklist"));
    paths.taskkill = inFolder(helpers, QStringLiteral("taskkill"));
    return paths;
}

ToolPlaces toolPlacesForThisProcess()
{
    ToolPlaces places;
    places.toolsDir = qEnvironmentVariable("PURGATEX_TOOLS_DIR");
    places.appDir = QCoreApplication::applicationDirPath();
#ifdef Q_OS_WIN
    places.sdkFolders = sdkPlatformToolsFolders(QProcessEnvironment::systemEnvironment());
    wchar_t system[MAX_PATH];
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        places.systemDir = QDir::fromNativeSeparators(QString::fromWCharArray(system, int(length)));
#endif
    return places;
}

ToolPaths locateToolsForThisProcess() { return locateTools(toolPlacesForThisProcess()); }

QStringList adbSearchPlacesForThisProcess() { return adbSearchPlaces(toolPlacesForThisProcess()); }

} // namespace devicelink
