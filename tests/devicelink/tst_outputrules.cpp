#include "devicelink/outputrules.h"
#include "devicelink/linkhelp.h"
#include "devicelink/toollocator.h"

#include <QtTest>

using namespace devicelink;

// Output texts as the tools print them, written with "\n". Every case runs
// once as "\n" (adb on Linux), once as "\r\n" (Windows pipes) and, for adb
// shell output, once as "\r\r\n" (terminal on old phones).
namespace {

const char *kDevicesNone = "List of devices attached\n\n";
const char *kDevicesOne = "List of devices attached\n0123456789ABCDEF\tdevice\n\n";
const char *kDevicesUnauthorized = "List of devices attached\n0123456789ABCDEF\tunauthorized\n\n";
const char *kDevicesOffline = "List of devices attached\n0123456789ABCDEF\toffline\n\n";
const char *kDevicesTwo = "List of devices attached\nR58M123ABC\tunauthorized\nemulator-5554\tdevice\n\n";
const char *kDevicesOfflineThenDevice = "List of devices attached\nR58M123ABC\toffline\nemulator-5554\tdevice\n\n";
const char *kDevicesNoPermissions =
    "List of devices attached\n0123456789ABCDEF\tno permissions (user in plugdev group; are your udev rules "
    "wrong?); see [http://developer.android.com/tools/device.html]\n\n";

const char *kBattery = "Current Battery Service state:\n"
                       "  AC powered: false\n"
                       "  USB powered: true\n"
                       "  Wireless powered: false\n"
                       "  Max charging current: 500000\n"
                       "  Max charging voltage: 5000000\n"
                       "  Charge counter: 3270000\n"
                       "  status: 2\n"
                       "  health: 2\n"
                       "  present: true\n"
                       "  level: 85\n"
                       "  scale: 100\n"
                       "  voltage: 4352\n"
                       "  temperature: 274\n"
                       "  technology: Li-ion\n";

const char *kNetstatHeader = "\n"
                             "Active Connections\n"
                             "\n"
                             "  Proto  Local Address          Foreign Address        State           PID\n";
const char *kNetstat5037 = "  TCP    0.0.0.0:135            0.0.0.0:0              LISTENING       1084\n"
                           "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       23188\n"
                           "  TCP    127.0.0.1:5037         127.0.0.1:52394        ESTABLISHED     23188\n"
                           "  TCP    192.168.1.20:3071      12.120.5.14:80         TIME_WAIT       0\n";
const char *kNetstat5037TimeWait = "  TCP    0.0.0.0:135            0.0.0.0:0              LISTENING       1084\n"
                                   "  TCP    127.0.0.1:5037         127.0.0.1:52394        TIME_WAIT       0\n";
const char *kNetstat50370 = "  TCP    0.0.0.0:50370          0.0.0.0:0              LISTENING       4410\n";
// A browser's connection from local port 50371, and a process whose id is
// 15037: neither holds port 5037.
const char *kNetstat5037Bystanders =
    "  TCP    192.168.1.20:50371     142.250.185.78:443     ESTABLISHED     9120\n"
    "  TCP    0.0.0.0:445            0.0.0.0:0              LISTENING       15037\n"
    "  TCP    127.0.0.1:50372        127.0.0.1:5037         TIME_WAIT       0\n";
// A server netstat cannot name: another user's (the Windows-format helper on
// Linux shows PID 0 for it).
const char *kNetstat5037OtherUser = "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       0\n";
const char *kNetstatEstablishedOnly = "  TCP    127.0.0.1:5037         127.0.0.1:52394        ESTABLISHED     777\n";
const char *kNetstat10000 = "  TCP    0.0.0.0:135            0.0.0.0:0              LISTENING       1084\n"
                            "  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       6120\n";
const char *kNetstat10000AfterTimeWait =
    "  TCP    127.0.0.1:9999         127.0.0.1:10000        TIME_WAIT       0\n"
    "  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       6120\n";
const char *kNetstat10000Short = "  TCP    127.0.0.1:10000        0.0.0.0:0\n";
// Lines that mention 10000 without holding it: a process whose PID holds the
// digits, this program's own session to the forward, and a browser talking
// to a remote server on port 10000; the holder comes last.
const char *kNetstat10000Bystanders =
    "  TCP    0.0.0.0:445            0.0.0.0:0              LISTENING       110000\n"
    "  TCP    127.0.0.1:49822        127.0.0.1:10000        ESTABLISHED     7344\n"
    "  TCP    192.168.1.20:50112     203.0.113.9:10000      ESTABLISHED     9120\n"
    "  TCP    192.168.1.20:50999     0.0.0.0:0              LISTENING       10000\n"
    "  TCP    192.168.1.30:10000     0.0.0.0:0              LISTENING       6120\n";
const char *kNetstat10000ClientsOnly =
    "  TCP    127.0.0.1:49822        127.0.0.1:10000        ESTABLISHED     7344\n"
    "  TCP    0.0.0.0:445            0.0.0.0:0              LISTENING       110000\n";

const char *kTasklistAdb = "\n"
                           "Image Name                     PID Session Name        Session#    Mem Usage\n"
                           "========================= ======== ================ =========== ============\n"
                           "adb.exe                      23188 Console                    1     12,344 K\n";
const char *kTasklistBrowser = "\n"
                               "Image Name                     PID Session Name        Session#    Mem Usage\n"
                               "========================= ======== ================ =========== ============\n"
                               "browser.exe                   6120 Console                    1    212,344 K\n";
const char *kTasklistNone = "INFO: No tasks are running which match the specified criteria.\n";

QString ending(const char *text, const QString &lineEnd)
{
    return QString::fromLatin1(text).replace(QLatin1Char('\n'), lineEnd);
}

// Adds one row per line-ending style; `columns` fills the remaining columns.
template<typename Fill>
void rowsInAllEndings(const char *name, const char *text, Fill columns, bool shellOutput = false)
{
    QList<QPair<QString, QString>> styles = {{QStringLiteral("lf"), QStringLiteral("\n")},
                                             {QStringLiteral("crlf"), QStringLiteral("\r\n")}};
    if (shellOutput)
        styles << qMakePair(QStringLiteral("crcrlf"), QStringLiteral("\r\r\n"));
    for (const auto &style : styles) {
        const QByteArray rowName = QByteArray(name) + '/' + style.first.toLatin1();
        auto &row = QTest::newRow(rowName.constData()) << ending(text, style.second);
        columns(row);
    }
}

} // namespace

class TestOutputRules : public QObject
{
    Q_OBJECT
private slots:
    void lineEnds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("lf") << "a\nb\n" << QStringList{"a", "b", ""};
        QTest::newRow("crlf") << "a\r\nb\r\n" << QStringList{"a", "b", ""};
        QTest::newRow("crcrlf") << "a\r\r\nb\r\r\n" << QStringList{"a", "b", ""};
        QTest::newRow("mixed") << "a\r\nb\nc\r\r\n\n" << QStringList{"a", "b", "c", "", ""};
        QTest::newRow("lone cr kept") << "a\rb\n" << QStringList{"a\rb", ""};
        QTest::newRow("no line end") << "abc" << QStringList{"abc"};
        QTest::newRow("empty") << "" << QStringList{""};
    }
    void lineEnds()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(outputLines(text), lines);
    }

    // adb track-devices output as it comes, in pieces of any size: every
    // whole list, in order; the line ends a Windows pipe widens after the
    // length was counted read the same; anything else breaks the reader.
    void trackedDeviceLists_data()
    {
        QTest::addColumn<QByteArray>("output");
        QTest::addColumn<QStringList>("lists");
        QTest::addColumn<bool>("broken");
        const QByteArray none = "0000";
        const QByteArray one = "0013R58N91XKQ2B\tdevice\n";
        const QByteArray two = "002eR58N91XKQ2B\tunauthorized\nemulator-5554\tdevice\n";
        const QString oneList = "R58N91XKQ2B\tdevice\n";
        QTest::newRow("no device") << none << QStringList{""} << false;
        QTest::newRow("a phone plugged in, then gone")
            << none + one + none << QStringList{"", oneList, ""} << false;
        QTest::newRow("two devices") << two
                                     << QStringList{"R58N91XKQ2B\tunauthorized\nemulator-5554\tdevice\n"} << false;
        QTest::newRow("line ends widened") << QByteArray(one).replace("\n", "\r\n") + none
                                           << QStringList{oneList, ""} << false;
        QTest::newRow("cut off inside a list") << one.left(10) << QStringList{} << false;
        QTest::newRow("cut off inside the length") << none + "00" << QStringList{""} << false;
        QTest::newRow("lower-case length") << QByteArray("001a") + QByteArray(26, 'x') << QStringList{QString(26, 'x')}
                                           << false;
        QTest::newRow("not a length") << QByteArray("List of devices attached\n") << QStringList{} << true;
        QTest::newRow("a sign in the length") << QByteArray("+001x") << QStringList{} << true;
        QTest::newRow("good lists, then garbage") << one + "zzzz" + none << QStringList{oneList} << true;
    }
    void trackedDeviceLists()
    {
        QFETCH(QByteArray, output);
        QFETCH(QStringList, lists);
        QFETCH(bool, broken);
        for (const int piece : {1, 3, 7, int(output.size()) + 1}) {
            TrackedDeviceLists reader;
            QStringList got;
            for (int at = 0; at < output.size(); at += piece) {
                reader.feed(output.mid(at, piece));
                QString list;
                while (reader.next(&list))
                    got << list;
            }
            QCOMPARE(got, lists);
            QCOMPARE(reader.broken(), broken);
        }
    }

    void deviceProbe_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("hasDevice");
        QTest::addColumn<bool>("isOffline");
        auto add = [](const char *name, const char *text, bool has, bool offline) {
            rowsInAllEndings(name, text, [&](QTestData &row) { row << has << offline; });
        };
        add("no phone", kDevicesNone, false, false);
        add("authorised", kDevicesOne, true, false);
        add("unauthorised", kDevicesUnauthorized, true, false);
        add("offline", kDevicesOffline, true, true);
        add("first of two", kDevicesTwo, true, false);
        add("no permissions", kDevicesNoPermissions, true, false);
        add("header without blank line", "List of devices attached\n", false, false);
        QTest::newRow("nothing printed") << QString() << false << false;
        QTest::newRow("header, no line end") << QStringLiteral("List of devices attached") << false << false;
    }
    void deviceProbe()
    {
        QFETCH(QString, output);
        QFETCH(bool, hasDevice);
        QFETCH(bool, isOffline);
        const DeviceProbeResult r = probeDeviceList(output);
        QCOMPARE(r.hasDevice, hasDevice);
        QCOMPARE(r.isOffline, isOffline);
    }

    void usbState_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("startOpened"); // flags as an earlier run left them
        QTest::addColumn<bool>("usbOpened");
        QTest::addColumn<bool>("adbEmpty");
        QTest::addColumn<bool>("error");
        QTest::addColumn<bool>("isOffline");
        QTest::addColumn<int>("listed");
        QTest::addColumn<bool>("noPermissions");
        auto add = [](const char *name, const char *text, bool start, bool opened, bool empty, bool error,
                      bool offline, int listed, bool noPermissions) {
            rowsInAllEndings(name, text, [&](QTestData &row) {
                row << start << opened << empty << error << offline << listed << noPermissions;
            });
        };
        add("no phone", kDevicesNone, false, false, true, false, false, 0, false);
        add("no phone after an open phone", kDevicesNone, true, false, true, false, false, 0, false);
        add("authorised", kDevicesOne, false, true, false, false, false, 1, false);
        add("unauthorised opens usb", kDevicesUnauthorized, false, true, false, false, false, 1, false);
        add("offline", kDevicesOffline, true, false, false, true, true, 1, false);
        add("later device line overrides offline", kDevicesOfflineThenDevice, false, true, false, false, false, 2,
            false);
        add("two phones", kDevicesTwo, false, true, false, false, false, 2, false);
        add("unknown line keeps the flags", "List of devices attached\nABC\tbootloader\n\n", true, true, false,
            true, false, 1, false);
        // adb on Linux: the line holds "device" only in its remark.
        add("no permissions does not open usb", kDevicesNoPermissions, false, false, false, false, false, 1, true);
        add("a serial that holds the word", "List of devices attached\nmydevice01\toffline\n\n", false, false,
            false, true, true, 1, false);
    }
    void usbState()
    {
        QFETCH(QString, output);
        QFETCH(bool, startOpened);
        UsbState s;
        s.usbOpened = startOpened;
        s.error = startOpened; // an earlier error must be cleared by the lines that say so
        applyUsbRule(output, s);
        QTEST(s.usbOpened, "usbOpened");
        QTEST(s.adbEmpty, "adbEmpty");
        QTEST(s.error, "error");
        QTEST(s.isOffline, "isOffline");
        QTEST(s.listed, "listed");
        QTEST(s.noPermissions, "noPermissions");
    }

    void authorisation_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("judged");
        QTest::addColumn<bool>("authorized");
        QTest::addColumn<bool>("error");
        QTest::addColumn<bool>("isOffline");
        auto add = [](const char *name, const char *text, bool judged, bool auth, bool error, bool offline) {
            rowsInAllEndings(name, text, [&](QTestData &row) { row << judged << auth << error << offline; });
        };
        // Every case starts with isOffline left set by an earlier offline phone.
        add("authorised", kDevicesOne, true, true, false, true);
        add("unauthorised is no error", kDevicesUnauthorized, true, false, false, true);
        add("offline", kDevicesOffline, true, false, true, true);
        add("empty line 1", kDevicesNone, true, false, true, false);
        add("only the first phone counts", kDevicesTwo, true, false, false, true);
        add("no permissions is no authorisation", kDevicesNoPermissions, true, false, false, true);
        QTest::newRow("one line only") << QStringLiteral("List of devices attached") << false << false << false
                                       << true;
    }
    void authorisation()
    {
        QFETCH(QString, output);
        AuthState s;
        s.isOffline = true; // left from an earlier offline phone
        QTEST(applyAuthRule(output, s), "judged");
        QTEST(s.authorized, "authorized");
        QTEST(s.error, "error");
        QTEST(s.isOffline, "isOffline");
    }

    // Rules that answer yes or no on the whole output.
    void successRules_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("success");
        auto add = [](const char *rule, const char *name, const char *text, bool ok) {
            const QByteArray tag = QByteArray(rule) + ": " + name;
            rowsInAllEndings(tag.constData(), text, [&](QTestData &row) { row << ok; }, true);
        };
        // The rule is the first letter of the row's tag.
        add("K", "nothing printed", "", true);
        add("K", "old adb", "* server not running *\n", true);
        add("K", "anything else", "error: protocol fault\n", false);
        add("A", "nothing on stdout", "", true);
        add("A", "old adb on stdout", "* daemon not running; starting now at tcp:5037\n* daemon started successfully\n",
            true);
        add("A", "failure", "* failed to start daemon\nerror: cannot connect to daemon\n", false);
        add("H", "installed", "package:org.qtproject.example\n", true);
        add("H", "other package only", "package:org.qtproject.examplesuite.other\npackage:com.android.phone\n",
            false);
        add("H", "a name that only starts with the companion's", "package:org.qtproject.example.gallery\n", false);
        add("H", "companion among others",
            "package:org.qtproject.example.gallery\npackage:org.qtproject.example\n", true);
        add("H", "not installed", "", false);
        add("I", "streamed", "Performing Streamed Install\nSuccess\n", true);
        add("I", "push install", "Performing Push Install\n", false);
        add("I", "only blanks", "  \n", true);
        add("I", "failure with exit 0", "Failure [INSTALL_FAILED_VERSION_DOWNGRADE]\n", false);
        add("S", "complete",
            "Stopping: org.qtproject.example\nStarting: Intent { cmp=org.qtproject.example/.Purgatex }\n"
            "Status: ok\nLaunchState: COLD\nActivity: org.qtproject.example/.Purgatex\nTotalTime: 288\n"
            "WaitTime: 294\nComplete\n",
            true);
        add("S", "brought to front",
            "Starting: Intent { cmp=org.qtproject.example/.Purgatex }\n"
            "Warning: Activity not started, its current task has been brought to the front\n",
            true);
        add("S", "nothing", "", true);
        add("S", "missing activity",
            "Starting: Intent { cmp=org.qtproject.example/.Purgatex }\nError type 3\n"
            "Error: Activity class {org.qtproject.example/org.qtproject.example.Purgatex} does not exist.\n",
            false);
        add("F", "nothing", "", true);
        add("F", "newer adb prints the bound port", "10000\n", true);
        add("F", "another port", "10001\n", false);
        add("F", "port inside an error", "adb: error: cannot bind listener: tcp:10000 in use\n", false);
        add("F", "cannot bind", "adb: error: cannot bind listener: Address already in use\n", false);
        add("W", "running",
            "ACTIVITY MANAGER RUNNING PROCESSES (dumpsys activity processes)\n"
            "  *APP* UID 10123 ProcessRecord{abc 999:org.qtproject.example/u0a123}\n"
            "    packageList={org.qtproject.example}\n  mForceBackgroundCheck=false\n",
            false);
        add("W", "quit", "ACTIVITY MANAGER RUNNING PROCESSES (dumpsys activity processes)\n"
                         "  mForceBackgroundCheck=false\n",
            true);
    }
    void successRules()
    {
        QFETCH(QString, output);
        QFETCH(bool, success);
        const QByteArray tag = QTest::currentDataTag();
        bool got = false;
        switch (tag.at(0)) {
        case 'K': got = killServerSucceeded(output); break;
        case 'A': got = startServerSucceeded(output); break;
        case 'H': got = hasCompanionPackage(output); break;
        case 'I': got = installSucceeded(output); break;
        case 'S': got = activityStarted(output); break;
        case 'F': got = forwardSucceeded(output); break;
        case 'W': got = companionQuit(output); break;
        default: QFAIL("unknown rule");
        }
        QCOMPARE(got, success);
    }

    void battery_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("level");
        auto add = [](const char *name, const char *text, bool found, const char *level) {
            rowsInAllEndings(name, text, [&](QTestData &row) { row << found << QString::fromLatin1(level); },
                             true);
        };
        add("dumpsys battery", kBattery, true, " 85");
        add("no level line", "Current Battery Service state:\n  AC powered: false\n", false, "");
        add("level without value", "  level:\n", true, "");
    }
    void battery()
    {
        QFETCH(QString, output);
        const BatteryLevel b = batteryLevel(output);
        QTEST(b.found, "found");
        QTEST(b.level, "level");
    }

    void serial_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("serial");
        auto add = [](const char *name, const char *text, bool found, const char *serial) {
            rowsInAllEndings(name, text, [&](QTestData &row) { row << found << QString::fromLatin1(serial); });
        };
        add("serial", "0123456789ABCDEF\n", true, "0123456789ABCDEF");
        add("blank lines first", "\n  \n R58M123ABC \n", true, "R58M123ABC");
        add("unknown", "unknown\n", true, "unknown");
        add("nothing", "\n", false, "");
    }
    void serial()
    {
        QFETCH(QString, output);
        const SerialNumber s = serialNumber(output);
        QTEST(s.found, "found");
        QTEST(s.serial, "serial");
    }

    void uptime_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<qint64>("ms");
        auto add = [](const char *name, const char *text, qint64 ms) {
            rowsInAllEndings(name, text, [&](QTestData &row) { row << ms; }, true);
        };
        add("up four days", "352811.42 1270121.11\n", 352811420);
        add("just started", "2.07 3.88\n", 2070);
        add("whole seconds", "15 40\n", 15000);
        add("not allowed", "/system/bin/sh: cat: /proc/uptime: Permission denied\n", -1);
        add("nothing", "\n", -1);
        add("negative", "-3.50 1.00\n", -1);
        add("not a number", "inf nan\n", -1);
        add("exponent", "1e9 1.00\n", -1);
    }
    void uptime()
    {
        QFETCH(QString, output);
        QTEST(phoneUptimeMs(output), "ms");
    }

    void netstat_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("used5037");
        QTest::addColumn<QString>("pid5037");
        QTest::addColumn<QString>("pid10000");
        auto add = [](const char *name, const char *body, bool used, const char *pid5037, const char *pid10000) {
            const QByteArray text = QByteArray(kNetstatHeader) + body;
            rowsInAllEndings(name, text.constData(), [&](QTestData &row) {
                row << used << QString::fromLatin1(pid5037) << QString::fromLatin1(pid10000);
            });
        };
        // The PID keeps the blank that an odd run of blanks leaves in front of it.
        // PIDs are digits only, without the blank an odd run of blanks leaves.
        add("adb server on 5037", kNetstat5037, true, "23188", "");
        add("5037 only in TIME_WAIT", kNetstat5037TimeWait, false, "", "");
        add("50370 is another port", kNetstat50370, false, "", "");
        add("established only", kNetstatEstablishedOnly, false, "", "");
        add("digits of 5037 elsewhere", kNetstat5037Bystanders, false, "", "");
        add("5037 listener of another user", kNetstat5037OtherUser, true, "", "");
        add("holder of 10000", kNetstat10000, false, "", "6120");
        add("10000 line without pid", kNetstat10000Short, false, "", "");
        add("closed connection to 10000 first", kNetstat10000AfterTimeWait, false, "", "6120");
        add("only the local end of 10000 holds it", kNetstat10000Bystanders, false, "", "6120");
        add("clients of 10000 and a PID with its digits", kNetstat10000ClientsOnly, false, "", "");
        add("no connections", "", false, "", "");
        // Only a number is a process id: it goes into a command line.
        add("5037 holder without a number", "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING     $ 23188\n",
            true, "", "");
        add("10000 holder with a second word",
            "  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       61 /im x.exe\n"
            "  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       6120\n",
            false, "", "6120");
    }
    void netstat()
    {
        QFETCH(QString, output);
        QTEST(port5037Used(output), "used5037");
        QTEST(holderPid5037(output), "pid5037");
        QTEST(holderPid10000(output), "pid10000");
    }

    void tasklist_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("pid");
        QTest::addColumn<QString>("name");
        auto add = [](const char *name, const char *text, const char *pid, const char *image) {
            rowsInAllEndings(name, text, [&](QTestData &row) {
                row << QString::fromLatin1(pid) << QString::fromLatin1(image);
            });
        };
        add("adb", kTasklistAdb, "23188", "adb.exe");
        add("browser", kTasklistBrowser, "6120", "browser.exe");
        add("no match", kTasklistNone, "4410", "");
        add("digits of the PID in another column", kTasklistAdb, "344", "");
    }
    void tasklist()
    {
        QFETCH(QString, output);
        QFETCH(QString, pid);
        QTEST(imageNameForPid(output, pid), "name");
    }

    void commandArguments()
    {
        QCOMPARE(tasklistArguments("23188"), (QStringList{"/fi", "pid eq 23188"}));
        QCOMPARE(taskkillArguments("6120"), (QStringList{"/f", "/pid", "6120"}));
    }

    // The line a notice quotes from a failed command, as real tools print it.
    void complaints_data()
    {
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("line");
        QTest::newRow("install failure, server started first")
            << "Performing Streamed Install\r\n"
            << "* daemon not running; starting now at tcp:5037\r\n* daemon started successfully\r\n"
               "adb: failed to install C:\\P\\Purgatex.apk: Failure [INSTALL_FAILED_VERSION_DOWNGRADE]\r\n"
            << "adb: failed to install C:\\P\\Purgatex.apk: Failure [INSTALL_FAILED_VERSION_DOWNGRADE]";
        QTest::newRow("old Android, failure on stdout")
            << "\tpkg: /data/local/tmp/Purgatex.apk\r\nFailure [INSTALL_FAILED_INSUFFICIENT_STORAGE]\r\n" << ""
            << "Failure [INSTALL_FAILED_INSUFFICIENT_STORAGE]";
        QTest::newRow("missing activity, exit 0")
            << "Stopping: org.qtproject.example\nStarting: Intent { cmp=org.qtproject.example/.Purgatex }\n"
               "Error type 3\nError: Activity class {org.qtproject.example/org.qtproject.example.Purgatex} does "
               "not exist.\n"
            << "" << "Error: Activity class {org.qtproject.example/org.qtproject.example.Purgatex} does not exist.";
        QTest::newRow("forward refused") << "adb: error: cannot bind listener: Address already in use\n" << ""
                                         << "adb: error: cannot bind listener: Address already in use";
        QTest::newRow("several phones") << "" << "error: more than one device/emulator\n"
                                        << "error: more than one device/emulator";
        QTest::newRow("nothing said") << "" << "" << "";
    }
    void complaints()
    {
        QFETCH(QString, out);
        QFETCH(QString, err);
        QTEST(complaintLine(out, err), "line");
    }

    void grace_data()
    {
        QTest::addColumn<int>("rounds");
        QTest::addColumn<int>("sinceMs");
        QTest::addColumn<bool>("over");
        QTest::newRow("first round") << 1 << 0 << false;
        QTest::newRow("one slow round") << 1 << 60000 << false; // seen once, however long ago
        QTest::newRow("two quick rounds") << 2 << 200 << false;
        QTest::newRow("two slow rounds") << 2 << 3000 << true;
        QTest::newRow("three quick rounds") << 3 << 200 << true;
    }
    void grace()
    {
        QFETCH(int, rounds);
        QFETCH(int, sinceMs);
        QTEST(graceOver(rounds, sinceMs, 3, 3000), "over");
    }

    // Every problem the help notice tells has words, and quotes the tool.
    void helpTexts()
    {
        for (int p = 0; p < LinkProblemCount; ++p) {
            const LinkProblem problem = LinkProblem(p);
            if (noticeFor(problem) != ProblemNotice::Help)
                continue;
            const HelpText help = helpText(problem, QStringLiteral("<b>quoted</b>"), false);
            QVERIFY2(!help.heading.isEmpty() && !help.text.isEmpty(), problemName(problem));
            if (problem != LinkProblem::Port5037Held)
                QVERIFY2(help.text.contains(QLatin1String("<b>quoted</b>")), problemName(problem));
        }
        QCOMPARE(helpText(LinkProblem::SeveralPhones, QString(), true).heading,
                 QStringLiteral("Unplug all Android devices but the one to erase"));
        QVERIFY(driverAdvice(true).suggestion.contains(QLatin1String("Windows")));
        QVERIFY(driverAdvice(false).suggestion.contains(QLatin1String("plugdev")));
    }

    void toolLookup()
    {
        QTemporaryDir tools;
        QTemporaryDir app;
        QVERIFY(tools.isValid() && app.isValid());
        auto places = [](const QString &toolsDir, const QString &appDir) {
            ToolPlaces p;
            p.toolsDir = toolsDir;
            p.appDir = appDir;
            return p;
        };

        ToolPaths p = locateTools(places(tools.path(), app.path()));
#ifdef Q_OS_WIN
        const QString exe = QStringLiteral(".exe");
#else
        const QString exe;
#endif
        QCOMPARE(p.adb, tools.filePath("adb" + exe));
        QCOMPARE(p.netstat, tools.filePath("netstat" + exe));
        QCOMPARE(p.tasklist, tools.filePath("tasklist" + exe));
        QCOMPARE(p.taskkill, tools.filePath("taskkill" + exe));

#ifndef Q_OS_WIN
        // No tools folder: Windows-format helpers beside the program, adb
        // from the program's folder when it is there.
        p = locateTools(places(QString(), app.path()));
        QCOMPARE(p.netstat, app.filePath("helpers/netstat"));
        QCOMPARE(p.taskkill, app.filePath("helpers/taskkill"));
        QVERIFY(p.adb != app.filePath("adb"));
        QFile adb(app.filePath("adb"));
        QVERIFY(adb.open(QIODevice::WriteOnly));
        adb.close();
        adb.setPermissions(adb.permissions() | QFileDevice::ExeOwner);
        QCOMPARE(locateTools(places(QString(), app.path())).adb, app.filePath("adb"));
        // A tools folder that does not exist is ignored.
        QCOMPARE(locateTools(places(tools.filePath("missing"), app.path())).adb, app.filePath("adb"));

        // Installed: <prefix>/bin/Purgatex finds the helpers in its private
        // folder <prefix>/libexec/purgatex, unless helpers/ lies beside it.
        QTemporaryDir prefix;
        QVERIFY(QDir().mkpath(prefix.filePath("bin")) && QDir().mkpath(prefix.filePath("libexec/purgatex")));
        QFile netstat(prefix.filePath("libexec/purgatex/netstat"));
        QVERIFY(netstat.open(QIODevice::WriteOnly));
        netstat.close();
        QVERIFY(netstat.setPermissions(netstat.permissions() | QFileDevice::ExeOwner));
        p = locateTools(places(QString(), prefix.filePath("bin")));
        QCOMPARE(p.netstat, prefix.filePath("libexec/purgatex/netstat"));
        QCOMPARE(p.taskkill, prefix.filePath("libexec/purgatex/taskkill"));
        QVERIFY(QDir().mkpath(prefix.filePath("bin/helpers")));
        QVERIFY(QFile::copy(netstat.fileName(), prefix.filePath("bin/helpers/netstat")));
        QCOMPARE(locateTools(places(QString(), prefix.filePath("bin"))).netstat,
                 prefix.filePath("bin/helpers/netstat"));
#endif
        // What the user is told when adb cannot be started.
        QCOMPARE(adbSearchPlaces(places(tools.path(), app.path())), QStringList{QDir::toNativeSeparators(tools.path())});
        ToolPlaces withSdk = places(QString(), app.path());
        withSdk.sdkFolders = QStringList{QStringLiteral("C:\\platform-tools")};
        const QStringList shown = adbSearchPlaces(withSdk);
        QCOMPARE(shown.value(0), QDir::toNativeSeparators(app.path()));
        QVERIFY(shown.value(1).contains(QLatin1String("PATH")));
        QCOMPARE(shown.value(2), QStringLiteral("C:\\platform-tools"));
    }
};

QTEST_GUILESS_MAIN(TestOutputRules)
#include "tst_outputrules.moc"
