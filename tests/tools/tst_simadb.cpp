#include "devicelink/outputrules.h"
#include "support/simphone.h"

#include <QProcess>
#include <QtTest>

using Keys = QMap<QString, QString>;

// The simulated phone's tools: the outputs the device link's rules read,
// the scenario they keep, and the call log the scenario tests assert on.
class TestSimAdb : public QObject
{
    Q_OBJECT

private:
    static QString out(const SimPhone::Result &r) { return QString::fromLocal8Bit(r.out); }
    static QString err(const SimPhone::Result &r) { return QString::fromLocal8Bit(r.err); }
    static bool listed(const SimPhone &phone)
    {
        return out(phone.run(QStringLiteral("adb"), {QStringLiteral("devices")})).contains(QLatin1Char('\t'));
    }

private slots:
    void initTestCase()
    {
        SimPhone phone;
        QVERIFY2(phone.isValid(), qPrintable(SimPhone::toolsDir()));
    }

    void devicesLayout_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("authorised") << Keys{} << QByteArray("List of devices attached\nR58N91XKQ2B\tdevice\n\n");
        QTest::newRow("unauthorized") << Keys{{"state", "unauthorized"}}
                                      << QByteArray("List of devices attached\nR58N91XKQ2B\tunauthorized\n\n");
        QTest::newRow("offline") << Keys{{"state", "offline"}}
                                 << QByteArray("List of devices attached\nR58N91XKQ2B\toffline\n\n");
        QTest::newRow("absent") << Keys{{"state", "absent"}} << QByteArray("List of devices attached\n\n");
        QTest::newRow("crlf") << Keys{{"line_endings", "crlf"}}
                              << QByteArray("List of devices attached\r\nR58N91XKQ2B\tdevice\r\n\r\n");
        QTest::newRow("second phone")
            << Keys{{"second.serial", "emulator-5554"}, {"second.state", "device"}}
            << QByteArray("List of devices attached\nR58N91XKQ2B\tdevice\nemulator-5554\tdevice\n\n");
        QTest::newRow("other serial") << Keys{{"serial", "0123456789ABCDEF"}}
                                      << QByteArray("List of devices attached\n0123456789ABCDEF\tdevice\n\n");
    }

    void devicesLayout()
    {
        QFETCH(Keys, keys);
        QFETCH(QByteArray, expected);
        SimPhone phone;
        phone.set(keys);
        const SimPhone::Result first = phone.run(QStringLiteral("adb"), {QStringLiteral("devices")});
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(first.out, expected);
        // the first command starts the server and says so on standard error only
        QVERIFY(err(first).contains(QStringLiteral("* daemon not running; starting now at tcp:5037")));
        QVERIFY(err(first).contains(QStringLiteral("* daemon started successfully")));
        const SimPhone::Result second = phone.run(QStringLiteral("adb"), {QStringLiteral("devices")});
        QCOMPARE(second.out, expected);
        QVERIFY(second.err.isEmpty());
    }

    void deviceCommands_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stdoutHas"); // empty: standard output must be empty
        QTest::addColumn<QString>("stderrHas");
        const QStringList pm{"shell", "pm", "list", "packages", "org.qtproject.example"};
        const QStringList am{"shell", "am", "start", "-W", "-S", "-n",
                             "org.qtproject.example/org.qtproject.example.Purgatex"};
        const QStringList battery{"shell", "dumpsys", "battery"};
        const QStringList forward{"forward", "tcp:10000", "tcp:5577"};
        QTest::newRow("package listed") << Keys{} << pm << 0 << "package:org.qtproject.example\n" << "";
        QTest::newRow("package missing") << Keys{{"installed", "0"}} << pm << 0 << "" << "";
        QTest::newRow("unauthorized shell") << Keys{{"state", "unauthorized"}} << pm << 1 << ""
                                            << "error: device unauthorized.";
        QTest::newRow("offline shell") << Keys{{"state", "offline"}} << pm << 1 << "" << "error: device offline";
        QTest::newRow("no phone") << Keys{{"state", "absent"}} << pm << 1 << ""
                                  << "error: no devices/emulators found";
        QTest::newRow("two phones") << Keys{{"second.state", "device"}} << QStringList{"get-serialno"} << 1 << ""
                                    << "error: more than one device/emulator";
        QTest::newRow("serial") << Keys{} << QStringList{"get-serialno"} << 0 << "R58N91XKQ2B\n" << "";
        QTest::newRow("forward") << Keys{} << forward << 0 << "" << "";
        QTest::newRow("battery") << Keys{{"battery.level", "42"}} << battery << 0 << "\n  level: 42\n  scale: 100\n"
                                 << "";
        QTest::newRow("activity started") << Keys{} << am << 0 << "Status: ok\n" << "";
        QTest::newRow("activity complete") << Keys{} << am << 0 << "\nComplete\n" << "";
        QTest::newRow("brought to front")
            << Keys{{"activity", "front"}} << am << 0
            << "Warning: Activity not started, its current task has been brought to the front\n" << "";
        QTest::newRow("activity of a missing package")
            << Keys{{"installed", "0"}} << am << 0
            << "Error: Activity class {org.qtproject.example/org.qtproject.example.Purgatex} does not exist." << "";
        QTest::newRow("kill without server") << Keys{} << QStringList{"kill-server"} << 0 << ""
                                             << "cannot connect to daemon at tcp:5037";
        QTest::newRow("kill running server") << Keys{{"server.running", "1"}} << QStringList{"kill-server"} << 0
                                             << "" << "";
        QTest::newRow("start running server") << Keys{{"server.running", "1"}} << QStringList{"start-server"} << 0
                                              << "" << "";
        QTest::newRow("unknown shell command") << Keys{} << QStringList{"shell", "frobnicate"} << 127 << ""
                                               << "frobnicate: inaccessible or not found";
    }

    void deviceCommands()
    {
        QFETCH(Keys, keys);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, stdoutHas);
        QFETCH(QString, stderrHas);
        SimPhone phone;
        phone.set(keys);
        const SimPhone::Result r = phone.run(QStringLiteral("adb"), args);
        QCOMPARE(r.exitCode, exitCode);
        if (stdoutHas.isEmpty())
            QCOMPARE(out(r), QString());
        else
            QVERIFY2(out(r).contains(stdoutHas), r.out.constData());
        if (stderrHas.isEmpty())
            QVERIFY2(!err(r).contains(QStringLiteral("error")), r.err.constData());
        else
            QVERIFY2(err(r).contains(stderrHas), r.err.constData());
    }

    // The device link's output rules read the simulated phone as they read a
    // real one, whatever line ends adb delivers.
    void rulesReadTheSimulatedPhone_data()
    {
        QTest::addColumn<QString>("lineEnds");
        QTest::newRow("Linux adb") << "lf";
        QTest::newRow("Windows pipe") << "crlf";
        QTest::newRow("old phone terminal") << "crcrlf";
    }

    void rulesReadTheSimulatedPhone()
    {
        QFETCH(QString, lineEnds);
        SimPhone phone;
        phone.set({{"line_endings", lineEnds}, {"installed", "0"}, {"install.chunks", "4"}, {"install.chunk_ms", "0"}});
        auto adb = [&](const QStringList &args) { return out(phone.run("adb", args)); };
        const QStringList pm{"shell", "pm", "list", "packages", "org.qtproject.example"};
        const QStringList processes{"shell", "dumpsys", "activity", "-p", "org.qtproject.example", "processes"};

        QVERIFY(devicelink::startServerSucceeded(adb({"start-server"})));
        const QString devices = adb({"devices"});
        QVERIFY(devicelink::probeDeviceList(devices).hasDevice);
        devicelink::AuthState auth;
        QVERIFY(devicelink::applyAuthRule(devices, auth));
        QVERIFY(auth.authorized);
        QVERIFY(!devicelink::hasCompanionPackage(adb(pm)));
        QVERIFY(devicelink::installSucceeded(adb({"install", "-r", "/tmp/Purgatex.apk"})));
        QVERIFY(devicelink::hasCompanionPackage(adb(pm)));
        QVERIFY(devicelink::activityStarted(
            adb({"shell", "am", "start", "-W", "-S", "-n", "org.qtproject.example/org.qtproject.example.Purgatex"})));
        QVERIFY(devicelink::forwardSucceeded(adb({"forward", "tcp:10000", "tcp:5577"})));
        const devicelink::BatteryLevel battery = devicelink::batteryLevel(adb({"shell", "dumpsys", "battery"}));
        QVERIFY(battery.found);
        QCOMPARE(battery.level, QStringLiteral(" 85"));
        QCOMPARE(devicelink::serialNumber(adb({"get-serialno"})).serial, QStringLiteral("R58N91XKQ2B"));
        QVERIFY(!devicelink::companionQuit(adb(processes)));
        phone.set("app.running", "0");
        QVERIFY(devicelink::companionQuit(adb(processes)));
        QVERIFY(devicelink::killServerSucceeded(adb({"kill-server"})));
        QVERIFY(devicelink::killServerSucceeded(adb({"kill-server"}))); // also when none runs
    }

    void deviceListRules_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("hasDevice");
        QTest::addColumn<bool>("usbOpened");
        QTest::addColumn<bool>("adbEmpty");
        QTest::addColumn<bool>("authorized");
        QTest::addColumn<bool>("authError");
        QTest::addColumn<bool>("offline");
        QTest::newRow("absent") << "absent" << false << false << true << false << true << false;
        QTest::newRow("authorised") << "device" << true << true << false << true << false << false;
        QTest::newRow("unauthorized") << "unauthorized" << true << true << false << false << false << false;
        QTest::newRow("offline") << "offline" << true << false << false << false << true << true;
    }

    void deviceListRules()
    {
        QFETCH(QString, state);
        QFETCH(bool, hasDevice);
        QFETCH(bool, usbOpened);
        QFETCH(bool, adbEmpty);
        QFETCH(bool, authorized);
        QFETCH(bool, authError);
        QFETCH(bool, offline);
        SimPhone phone;
        phone.setState(state);
        const QString devices = out(phone.run("adb", {"devices"}));
        const devicelink::DeviceProbeResult probe = devicelink::probeDeviceList(devices);
        QCOMPARE(probe.hasDevice, hasDevice);
        QCOMPARE(probe.isOffline, offline);
        devicelink::UsbState usb;
        devicelink::applyUsbRule(devices, usb);
        QCOMPARE(usb.usbOpened, usbOpened);
        QCOMPARE(usb.adbEmpty, adbEmpty);
        devicelink::AuthState auth;
        QVERIFY(devicelink::applyAuthRule(devices, auth));
        QCOMPARE(auth.authorized, authorized);
        QCOMPARE(auth.error, authError);
        QCOMPARE(auth.isOffline, offline);
    }

    void portConflictThroughTheSimulatedPc()
    {
        // an adb server of another installation holds 5037
        SimPhone phone;
        phone.set({{"netstat.adb_server", "1"}, {"adb.pid", "23188"}, {"server.running", "1"}});
        const QString netstat = out(phone.run("netstat", {"-anop", "tcp"}));
        QVERIFY(devicelink::port5037Used(netstat));
        const QString pid = devicelink::holderPid5037(netstat);
        QCOMPARE(pid, QStringLiteral("23188"));
        QProcess tasklist;
        tasklist.start(SimPhone::toolPath("tasklist"), devicelink::tasklistArguments(pid));
        QVERIFY(tasklist.waitForFinished(10000));
        QCOMPARE(devicelink::imageNameForPid(QString::fromLocal8Bit(tasklist.readAllStandardOutput()), pid),
                 QStringLiteral("adb.exe"));
        QCOMPARE(phone.calls().last(), QStringLiteral("tasklist /fi \"pid eq %1\"").arg(pid));

        // a foreign program holds 10000 and is ended by its process id
        phone.setNetstatLines({"  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       4321"});
        phone.setTask(4321, "foreign.exe");
        const QString pid10000 = devicelink::holderPid10000(out(phone.run("netstat", {"-anop", "tcp"})));
        QCOMPARE(pid10000, QStringLiteral("4321"));
        QCOMPARE(phone.run("taskkill", devicelink::taskkillArguments(pid10000)).exitCode, 0);
        QVERIFY(devicelink::holderPid10000(out(phone.run("netstat", {"-anop", "tcp"}))).isEmpty());
        QCOMPARE(phone.run("taskkill", devicelink::taskkillArguments(pid10000)).exitCode, 128);
    }

    void installPrintsProgressInChunks()
    {
        SimPhone phone;
#ifdef Q_OS_WIN
        const QString chunkMs = QStringLiteral("150"); // Wine's pipes join what comes close together
#else
        const QString chunkMs = QStringLiteral("30");
#endif
        phone.set({{"installed", "0"}, {"install.chunks", "12"}, {"install.chunk_ms", chunkMs}});
        QProcess p;
        int chunks = 0;
        QByteArray all;
        connect(&p, &QProcess::readyReadStandardOutput, this, [&] {
            ++chunks;
            all += p.readAllStandardOutput();
        });
        p.start(SimPhone::toolPath("adb"), {"install", "-r", "/home/user/Purgatex.apk"});
        QVERIFY(p.waitForFinished(10000));
        all += p.readAllStandardOutput();
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(chunks >= 6, qPrintable(QString::number(chunks))); // 12 written apart
        QVERIFY(all.startsWith("Performing Push Install\n"));
        QVERIFY(all.contains("[100%] /data/local/tmp/Purgatex.apk\n"));
        QVERIFY(all.endsWith("\tpkg: /data/local/tmp/Purgatex.apk\nSuccess\n"));
        QCOMPARE(all.count('\n'), 12 + 1);
        QCOMPARE(phone.value("installed"), QStringLiteral("1"));
    }

    void installFailure_data()
    {
        QTest::addColumn<bool>("exitZero");
        QTest::newRow("exit 1, text on standard error") << false;
        QTest::newRow("old Android: exit 0, text on standard output") << true;
    }

    void installFailure()
    {
        QFETCH(bool, exitZero);
        SimPhone phone;
        phone.set({{"installed", "0"}, {"install.chunks", "3"}, {"install.chunk_ms", "0"},
                   {"install.fail", "Failure [INSTALL_FAILED_VERSION_DOWNGRADE]"},
                   {"install.fail_exit0", exitZero ? "1" : "0"}});
        const SimPhone::Result r = phone.run("adb", {"install", "-r", "/x/Purgatex.apk"});
        QVERIFY(!out(r).contains("Success"));
        if (exitZero) {
            QCOMPARE(r.exitCode, 0);
            QVERIFY(out(r).endsWith("Failure [INSTALL_FAILED_VERSION_DOWNGRADE]\n"));
        } else {
            QCOMPARE(r.exitCode, 1);
            QVERIFY(err(r).contains(
                "adb: failed to install /x/Purgatex.apk: Failure [INSTALL_FAILED_VERSION_DOWNGRADE]\n"));
        }
        QCOMPARE(phone.run("adb", {"shell", "pm", "list", "packages", "org.qtproject.example"}).out, QByteArray());
    }

    void rebootDisappearsAndReturns()
    {
        SimPhone phone;
#ifdef Q_OS_WIN
        // Under Wine a loaded machine takes up to a second to start each
        // command: the phone stays away long enough to be seen away.
        const QString absentMs = QStringLiteral("4000");
#else
        const QString absentMs = QStringLiteral("800");
#endif
        phone.set({{"reboot.listed_ms", "300"}, {"reboot.absent_ms", absentMs}, {"reboot.return_state", "unauthorized"},
                   {"app.running", "1"}});
        const QStringList uptime = {"shell", "cat", "/proc/uptime"};
        QCOMPARE(out(phone.run("adb", uptime)), QStringLiteral("352811.42 1270121.11\n"));
        QCOMPARE(phone.run("adb", {"reboot"}).out, QByteArray());
        QCOMPARE(phone.value("app.running"), QStringLiteral("0")); // the companion app ends with the reboot
        QVERIFY(!phone.value("reboot.at").isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!listed(phone), 5000);
        QCOMPARE(phone.run("adb", {"get-serialno"}).exitCode, 1);
        QTRY_VERIFY_WITH_TIMEOUT(listed(phone), 10000);
        QVERIFY(out(phone.run("adb", {"devices"})).contains("R58N91XKQ2B\tunauthorized\n"));
        QVERIFY(phone.value("reboot.at").isEmpty());
        // Started afresh when it dropped off: up for about the time it was away.
        phone.setState("device");
        const double up = out(phone.run("adb", uptime)).section(' ', 0, 0).toDouble();
        QVERIFY2(up >= 0.8 && up < 60, qPrintable(QString::number(up)));
    }

    // adb track-devices: the list at once, again on every change of the
    // phones (a rewrite of the scenario, a reboot's course) and never
    // otherwise; it ends when the server is stopped, as adb's client does.
    void trackDevicesFollowsThePhone_data()
    {
        QTest::addColumn<QString>("lineEndings");
        QTest::newRow("adb on Linux") << "lf";
        QTest::newRow("adb on Windows") << "crlf";
    }
    void trackDevicesFollowsThePhone()
    {
        QFETCH(QString, lineEndings);
        SimPhone phone;
        phone.set({{"state", "absent"}, {"line_endings", lineEndings}, {"reboot.listed_ms", "300"},
                   {"reboot.absent_ms", "600"}});
        QProcess tracker;
        tracker.start(SimPhone::toolPath("adb"), {"track-devices"});
        QByteArray raw;
        devicelink::TrackedDeviceLists reader;
        QStringList lists;
        auto listsAre = [&](const QStringList &want) {
            return QTest::qWaitFor(
                [&] {
                    const QByteArray bytes = tracker.readAllStandardOutput();
                    raw += bytes;
                    reader.feed(bytes);
                    QString l;
                    while (reader.next(&l))
                        lists << l;
                    return lists.size() >= want.size();
                },
                10000)
                && lists == want;
        };
        const QString device = "R58N91XKQ2B\tdevice\n";
        QVERIFY2(listsAre({""}), qPrintable(lists.join('|')));
        QVERIFY(QString::fromLocal8Bit(tracker.readAllStandardError()).contains("* daemon started successfully"));
        QCOMPARE(phone.value("server.running"), QStringLiteral("1"));

        phone.setState("unauthorized");
        QVERIFY2(listsAre({"", "R58N91XKQ2B\tunauthorized\n"}), qPrintable(lists.join('|')));
        phone.set("battery.level", "40"); // no change of the list
        phone.setState("device");
        QVERIFY2(listsAre({"", "R58N91XKQ2B\tunauthorized\n", device}), qPrintable(lists.join('|')));
        lists.clear();
        phone.set({{"second.state", "offline"}});
        QVERIFY2(listsAre({device + "emulator-5554\toffline\n"}), qPrintable(lists.join('|')));
        phone.remove("second.state");
        QVERIFY(listsAre({device + "emulator-5554\toffline\n", device}));

        // a reboot: listed a while, gone, back
        lists.clear();
        QCOMPARE(phone.run("adb", {"reboot"}).exitCode, 0);
        QVERIFY2(listsAre({"", device}), qPrintable(lists.join('|')));
        QVERIFY(!reader.broken());
        QCOMPARE(raw.contains("\r\n"), lineEndings == "crlf");

        QCOMPARE(phone.run("adb", {"kill-server"}).exitCode, 0);
        QVERIFY(tracker.waitForFinished(10000));
        QCOMPARE(tracker.exitCode(), 0);
        QCOMPARE(phone.calls().count("adb track-devices"), 1);
    }

    // An adb (or server) without device tracking refuses it at once.
    void trackDevicesRefused()
    {
        SimPhone phone;
        phone.set({{"fault.track-devices.exit", "1"}, {"fault.track-devices.stderr", "error: unknown host service\n"}});
        const SimPhone::Result r = phone.run("adb", {"track-devices"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(err(r).contains("error: unknown host service"));
    }

    // Another phone is plugged in while the first restarts: it comes back
    // with its own serial number.
    void anotherPhoneReturnsFromTheReboot()
    {
        SimPhone phone;
#ifdef Q_OS_WIN
        const QString absentMs = QStringLiteral("4000"); // commands start slowly under Wine
#else
        const QString absentMs = QStringLiteral("300");
#endif
        phone.set({{"reboot.listed_ms", "100"}, {"reboot.absent_ms", absentMs}, {"reboot.return_serial", "ZX81OTHER77"}});
        QCOMPARE(out(phone.run("adb", {"get-serialno"})), QStringLiteral("R58N91XKQ2B\n"));
        QCOMPARE(phone.run("adb", {"reboot"}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!listed(phone), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(listed(phone), 10000);
        QCOMPARE(out(phone.run("adb", {"get-serialno"})), QStringLiteral("ZX81OTHER77\n"));
        QVERIFY(out(phone.run("adb", {"devices"})).contains("ZX81OTHER77\tdevice\n"));
        QVERIFY(phone.value("reboot.return_serial").isEmpty());
    }

    void faults_data()
    {
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("stdoutIs");
        QTest::addColumn<QString>("stderrHas");
        QTest::newRow("forward refused on standard output, exit 0")
            << Keys{{"fault.forward.stdout", "adb: error: cannot bind listener: Address already in use\n"}}
            << QStringList{"forward", "tcp:10000", "tcp:5577"} << 0
            << QByteArray("adb: error: cannot bind listener: Address already in use\n") << "";
        QTest::newRow("server fails to start")
            << Keys{{"fault.start-server.exit", "1"},
                    {"fault.start-server.stderr", "* failed to start daemon\nerror: cannot connect to daemon\n"}}
            << QStringList{"start-server"} << 1 << QByteArray() << "error: cannot connect to daemon";
        QTest::newRow("extra output after the list")
            << Keys{{"fault.devices.extra", "adb server version (40) doesn't match this client (41)\n"}}
            << QStringList{"devices"} << 0
            << QByteArray("List of devices attached\nR58N91XKQ2B\tdevice\n\n"
                          "adb server version (40) doesn't match this client (41)\n")
            << "";
        QTest::newRow("battery fails, nothing printed")
            << Keys{{"fault.battery.exit", "255"}} << QStringList{"shell", "dumpsys", "battery"} << 255
            << QByteArray() << "";
    }

    void faults()
    {
        QFETCH(Keys, keys);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, stdoutIs);
        QFETCH(QString, stderrHas);
        SimPhone phone;
        phone.set(keys);
        const SimPhone::Result r = phone.run("adb", args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, stdoutIs);
        QVERIFY2(err(r).contains(stderrHas), r.err.constData());
    }

    void faultForLimitedTimes()
    {
        SimPhone phone;
        phone.set({{"fault.get-serialno.exit", "1"}, {"fault.get-serialno.times", "2"}});
        QCOMPARE(phone.run("adb", {"get-serialno"}).exitCode, 1);
        QCOMPARE(phone.run("adb", {"get-serialno"}).exitCode, 1);
        QCOMPARE(phone.run("adb", {"get-serialno"}).out, QByteArray("R58N91XKQ2B\n"));
        QVERIFY(!phone.scenarioText().contains("fault."));
    }

    void hangLastsUntilCleared()
    {
        SimPhone phone;
        phone.setFault("devices", "hang", "1");
        QProcess p;
        p.start(SimPhone::toolPath("adb"), {"devices"});
        QVERIFY(p.waitForStarted());
        QVERIFY(!p.waitForFinished(300));
        phone.clearFaults("devices");
        QVERIFY(p.waitForFinished(5000));
        QVERIFY(p.readAllStandardOutput().startsWith("List of devices attached\n"));
    }

    void concurrentRunsShareTheScenario()
    {
        // a fault for exactly four calls, eight runs at once: four fail
        SimPhone phone;
        phone.set({{"fault.get-serialno.exit", "1"}, {"fault.get-serialno.times", "4"}});
        QList<QProcess *> runs;
        for (int i = 0; i < 8; ++i) {
            auto *p = new QProcess(this);
            p->start(SimPhone::toolPath("adb"), {"get-serialno"});
            runs << p;
        }
        int failed = 0;
        for (QProcess *p : runs) {
            QVERIFY(p->waitForFinished(10000));
            failed += p->exitCode() != 0;
            delete p;
        }
        QCOMPARE(failed, 4);
        QCOMPARE(phone.calls().size(), 8);
        QCOMPARE(phone.value("server.running"), QStringLiteral("1"));
    }

    void callLogKeepsCommandLinesInOrder()
    {
        SimPhone phone;
        phone.run("adb", {"start-server"});
        phone.run("adb", {"shell", "am", "start", "-W", "-S", "-n", "org.qtproject.example/org.qtproject.example.Purgatex"});
        // the program starts these two as one command line string
        QProcess tasklist;
        const QStringList line = QProcess::splitCommand(SimPhone::toolPath("tasklist") + " /fi \"pid eq 4321\"");
        tasklist.start(line.first(), line.mid(1));
        QVERIFY(tasklist.waitForFinished(10000));
        phone.run("taskkill", {"/f", "/im", "Purgatex.exe"});
        QCOMPARE(phone.calls(),
                 QStringList({"adb start-server",
                              "adb shell am start -W -S -n org.qtproject.example/org.qtproject.example.Purgatex",
                              "tasklist /fi \"pid eq 4321\"", "taskkill /f /im Purgatex.exe"}));
        phone.clearCalls();
        QVERIFY(phone.calls().isEmpty());
    }

    void scenarioValuesSurviveTheFile_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << "device";
        QTest::newRow("leading blanks") << "  TCP    127.0.0.1:5037";
        QTest::newRow("several lines") << "one\ntwo\r\nthree";
        QTest::newRow("quotes and backslashes") << "say \"C:\\Program Files\"";
        QTest::newRow("hash and equals") << "a = b # not a comment";
        QTest::newRow("empty") << "";
    }

    void scenarioValuesSurviveTheFile()
    {
        QFETCH(QString, value);
        SimPhone phone;
        phone.set("probe", value);
        phone.set("serial", "X1"); // a rewrite of another key keeps it
        QCOMPARE(phone.value("probe"), value);
        QVERIFY(phone.scenarioText().startsWith("# simulated phone"));
    }

    void windowsCommandsOfThePc()
    {
        SimPhone phone;
        phone.setNetstatLines({"  TCP    0.0.0.0:135            0.0.0.0:0              LISTENING       1084",
                               "  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       1234"});
        phone.setTask(1234, "adb.exe");
        const SimPhone::Result netstat = phone.run("netstat", {"-anop", "tcp"});
        QCOMPARE(netstat.exitCode, 0);
        QCOMPARE(netstat.out,
                 QByteArray("\r\nActive Connections\r\n\r\n"
                            "  Proto  Local Address          Foreign Address        State           PID\r\n"
                            "  TCP    0.0.0.0:135            0.0.0.0:0              LISTENING       1084\r\n"
                            "  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       1234\r\n"));

        const SimPhone::Result tasklist = phone.run("tasklist", {"/fi", "pid eq 1234"});
        QCOMPARE(tasklist.out,
                 QByteArray("\r\n"
                            "Image Name                     PID Session Name        Session#    Mem Usage\r\n"
                            "========================= ======== ================ =========== ============\r\n"
                            "adb.exe                       1234 Console                    1     12,344 K\r\n"));
        QCOMPARE(phone.run("tasklist", {"/fi", "pid eq 999"}).out,
                 QByteArray("INFO: No tasks are running which match the specified criteria.\r\n"));

        const SimPhone::Result kill = phone.run("taskkill", {"/f", "/im", "adb.exe"});
        QCOMPARE(kill.exitCode, 0);
        QCOMPARE(kill.out, QByteArray("SUCCESS: The process \"adb.exe\" with PID 1234 has been terminated.\r\n"));
        // the ended holder is gone from both tables
        QVERIFY(!phone.run("netstat", {"-anop", "tcp"}).out.contains("1234"));
        QVERIFY(phone.run("tasklist", {"/fi", "pid eq 1234"}).out.startsWith("INFO:"));
        const SimPhone::Result again = phone.run("taskkill", {"/f", "/im", "adb.exe"});
        QCOMPARE(again.exitCode, 128);
        QCOMPARE(again.err, QByteArray("ERROR: The process \"adb.exe\" not found.\r\n"));
        QVERIFY(again.out.isEmpty());
    }

    void adbServerShowsInNetstatWhenAsked()
    {
        SimPhone phone;
        phone.set({{"netstat.adb_server", "1"}, {"adb.pid", "23188"}});
        QVERIFY(!phone.run("netstat", {"-anop", "tcp"}).out.contains("5037"));
        phone.run("adb", {"start-server"});
        QVERIFY(phone.run("netstat", {"-anop", "tcp"}).out.contains(
            "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       23188\r\n"));
        QVERIFY(phone.run("tasklist", {"/fi", "pid eq 23188"}).out.contains("\r\nadb.exe "));
        phone.run("adb", {"kill-server"});
        QVERIFY(!phone.run("netstat", {"-anop", "tcp"}).out.contains("5037"));
    }
};

QTEST_GUILESS_MAIN(TestSimAdb)
#include "tst_simadb.moc"
