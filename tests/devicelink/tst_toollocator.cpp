// Where the device link finds adb and the Windows commands, with real files
// in folders whose names hold blanks (as "Program Files" and user names do):
// the program's folder before the search path before the Android SDK places,
// Windows file names with ".exe", Windows' own commands from the system
// folder, and what the user is told when adb is nowhere. Runs on Linux and,
// cross-built, under Wine.

#include "devicelink/linkhelp.h"
#include "devicelink/toollocator.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

using namespace devicelink;

namespace {

#ifdef Q_OS_WIN
const bool kWindows = true;
#else
const bool kWindows = false;
#endif

QString exe(const QString &name) { return kWindows ? name + QStringLiteral(".exe") : name; }

// A program file as the lookup accepts it.
bool putProgram(const QString &path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\nexit 0\n") < 0)
        return false;
    file.close();
    return file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// Both sides with forward slashes: Windows folders are compared whatever
// separators they were built with.
QString slashes(QString path) { return path.replace(QLatin1Char('\\'), QLatin1Char('/')); }

QStringList slashes(const QStringList &paths)
{
    QStringList out;
    for (const QString &p : paths)
        out << slashes(p);
    return out;
}

// PATH for the length of a test.
class SearchPath
{
public:
    explicit SearchPath(const QString &value)
        : m_old(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(QDir::toNativeSeparators(value)));
    }
    ~SearchPath() { qputenv("PATH", m_old); }

private:
    QByteArray m_old;
};

} // namespace

class TestToolLocator : public QObject
{
    Q_OBJECT

private slots:
    // The usual places of Android's platform tools on Windows, from the
    // environment, each once, in the order they are looked in.
    void sdkPlaces_data()
    {
        QTest::addColumn<QStringList>("variables"); // NAME=VALUE
        QTest::addColumn<QStringList>("folders");
        QTest::newRow("nothing set")
            << QStringList{} << QStringList{QStringLiteral("C:/platform-tools")};
        QTest::newRow("Android Studio of a user with a blank in the name")
            << QStringList{QStringLiteral("LOCALAPPDATA=C:\\Users\\Ana Lu\\AppData\\Local"),
                           QStringLiteral("USERPROFILE=C:\\Users\\Ana Lu"), QStringLiteral("SystemDrive=D:")}
            << QStringList{QStringLiteral("C:/Users/Ana Lu/AppData/Local/Android/Sdk/platform-tools"),
                           QStringLiteral("D:/platform-tools")};
        QTest::newRow("SDK variables first, the same folder once")
            << QStringList{QStringLiteral("ANDROID_HOME=E:\\sdk\\"), QStringLiteral("ANDROID_SDK_ROOT=E:\\sdk"),
                           QStringLiteral("LOCALAPPDATA= ")}
            << QStringList{QStringLiteral("E:/sdk/platform-tools"), QStringLiteral("C:/platform-tools")};
    }
    void sdkPlaces()
    {
        QFETCH(QStringList, variables);
        QFETCH(QStringList, folders);
        QProcessEnvironment env;
        for (const QString &v : variables)
            env.insert(v.section(QLatin1Char('='), 0, 0), v.section(QLatin1Char('='), 1));
        QCOMPARE(slashes(sdkPlatformToolsFolders(env)), folders);
    }

    // adb: the tools folder alone when given; else the program's folder,
    // the search path, the SDK places, in that order.
    void adbLookupOrder_data()
    {
        QTest::addColumn<QStringList>("present"); // of: app, path, sdk1, sdk2
        QTest::addColumn<QString>("found");
        QTest::newRow("beside the program, also elsewhere") << QStringList{"app", "path", "sdk1"} << "app";
        QTest::newRow("on the search path and in an SDK") << QStringList{"path", "sdk2"} << "path";
        QTest::newRow("in an SDK only") << QStringList{"sdk2"} << "sdk2";
        QTest::newRow("in two SDKs") << QStringList{"sdk2", "sdk1"} << "sdk1";
        QTest::newRow("nowhere") << QStringList{} << "missing";
    }
    void adbLookupOrder()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, found);
        QTemporaryDir root(QDir::tempPath() + QStringLiteral("/Purgatex tools XXXXXX"));
        QVERIFY(root.isValid());
        const QMap<QString, QString> folders = {
            {QStringLiteral("app"), root.filePath(QStringLiteral("Program Files/Purgatex"))},
            {QStringLiteral("path"), root.filePath(QStringLiteral("on path"))},
            {QStringLiteral("sdk1"), root.filePath(QStringLiteral("Ana Lu/AppData/Local/Android/Sdk/platform-tools"))},
            {QStringLiteral("sdk2"), root.filePath(QStringLiteral("platform-tools"))},
        };
        for (const QString &folder : folders)
            QVERIFY(QDir().mkpath(folder));
        for (const QString &where : present)
            QVERIFY(putProgram(QDir(folders[where]).filePath(exe(QStringLiteral("adb")))));
        SearchPath path(folders[QStringLiteral("path")]);

        ToolPlaces places;
        places.appDir = folders[QStringLiteral("app")];
        places.sdkFolders = QStringList{QDir::toNativeSeparators(folders[QStringLiteral("sdk1")]),
                                        QDir::toNativeSeparators(folders[QStringLiteral("sdk2")])};
        const QString adb = locateTools(places).adb;
        if (found == QLatin1String("missing")) {
            // Windows names the file beside the program: it fails to start
            // there until the user puts it there.
            QCOMPARE(adb, kWindows ? QDir(places.appDir).filePath(QStringLiteral("adb.exe")) : QStringLiteral("adb"));
        } else {
            QCOMPARE(slashes(QDir::cleanPath(adb)).toLower(),
                     slashes(QDir(folders[found]).filePath(exe(QStringLiteral("adb")))).toLower());
        }

        // A tools folder supplies all four, whatever lies elsewhere.
        places.toolsDir = root.filePath(QStringLiteral("on path"));
        const ToolPaths tools = locateTools(places);
        QCOMPARE(tools.adb, QDir(places.toolsDir).filePath(exe(QStringLiteral("adb"))));
        QCOMPARE(tools.taskkill, QDir(places.toolsDir).filePath(exe(QStringLiteral("taskkill"))));
    }

    // The user is told every place, in the order looked in, with the
    // system's separators.
    void searchPlacesTold()
    {
        ToolPlaces places;
        places.appDir = QStringLiteral("C:/Program Files/Purgatex");
        places.sdkFolders = QStringList{QStringLiteral("C:\\Users\\Ana Lu\\AppData\\Local\\Android\\Sdk\\platform-tools"),
                                        QStringLiteral("C:\\platform-tools")};
        const QStringList told = adbSearchPlaces(places);
        QCOMPARE(told.size(), 4);
        QCOMPARE(told.at(0), QDir::toNativeSeparators(places.appDir));
        QVERIFY(told.at(1).contains(QLatin1String("(PATH)")));
        QCOMPARE(told.mid(2), places.sdkFolders);
    }

    // Windows runs its own commands from the system folder, never by a bare
    // name that the program's or the current folder could answer.
    void windowsCommandsFromTheSystemFolder()
    {
        if (!kWindows)
            QSKIP("Windows' own commands are run on Windows only");
        ToolPlaces places;
        places.appDir = QDir::tempPath();
        places.systemDir = QStringLiteral("C:/Windows/System32");
        const ToolPaths tools = locateTools(places);
        QCOMPARE(tools.netstat, QStringLiteral("C:/Windows/System32/netstat.exe"));
        QCOMPARE(tools.tasklist, QStringLiteral("C:/Windows/System32/tasklist.exe"));
        QCOMPARE(tools.taskkill, QStringLiteral("C:/Windows/System32/taskkill.exe"));
        // This process's own system folder holds them (Windows and Wine alike).
        const QByteArray toolsDir = qgetenv("PURGATEX_TOOLS_DIR");
        qunsetenv("PURGATEX_TOOLS_DIR");
        const ToolPaths here = locateToolsForThisProcess();
        qputenv("PURGATEX_TOOLS_DIR", toolsDir);
        QVERIFY2(QFileInfo(here.taskkill).isFile(), qPrintable(here.taskkill));
        QVERIFY2(QFileInfo(here.netstat).isFile(), qPrintable(here.netstat));
    }

    // The adb-missing notice says what to do on the system the program runs
    // on: on Windows where platform-tools come from and where they go, since
    // the program does not bring adb.exe.
    void adbMissingAdvice_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QStringList>("says");
        QTest::addColumn<QStringList>("saysNot");
        QTest::newRow("Windows") << true
                                 << QStringList{"C:\\Purgatex", "does not bring adb", "Platform-Tools",
                                                "adb.exe", "AdbWinApi.dll", "program's folder", "C:\\platform-tools",
                                                "tries again by itself"}
                                 << QStringList{"Reinstall", "apt"};
        QTest::newRow("Linux") << false << QStringList{"C:\\Purgatex", "sudo apt install adb", "tries again by itself"}
                               << QStringList{"adb.exe", "Reinstall"};
    }
    void adbMissingAdvice()
    {
        QFETCH(bool, windows);
        QFETCH(QStringList, says);
        QFETCH(QStringList, saysNot);
        const HelpText help = helpText(LinkProblem::AdbMissing, QStringLiteral("C:\\Purgatex"), windows);
        QCOMPARE(help.heading, QStringLiteral("The Android Debug Bridge (adb) was not found"));
        for (const QString &s : says)
            QVERIFY2(help.text.contains(s), qPrintable(s + QStringLiteral(" in: ") + help.text));
        for (const QString &s : saysNot)
            QVERIFY2(!help.text.contains(s), qPrintable(s + QStringLiteral(" in: ") + help.text));
    }
};

QTEST_GUILESS_MAIN(TestToolLocator)
#include "tst_toollocator.moc"
