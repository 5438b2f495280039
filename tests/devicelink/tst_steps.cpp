// Each command step run once against the simulated phone: the command line
// it ran, the line it logged, the value its output rule set and the step it
// armed next. Also start-up, and a machine without any of the tools.
#include "devicelinktest.h"
#include "devicelink/stepdef.h"
#include "support/simphone.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QtTest>

#include <functional>

namespace {

QString member(MainWindow &w, const QString &name)
{
    const QMap<QString, std::function<QString()>> members = {
        {"port5037Used", [&] { return QVariant(w.m_port5037Used).toString(); }},
        {"otherSoftPid5037", [&] { return w.m_otherSoftPid5037; }},
        {"portUsedLabel", [&] { return w.findChild<QLabel *>("A_MP_D_PortUsed_Label_Info")->text(); }},
        {"adbStarted", [&] { return QVariant(w.m_adbStarted).toString(); }},
        {"usbOpened", [&] { return QVariant(w.m_usbOpened).toString(); }},
        {"isAuthorized", [&] { return QVariant(w.m_isAuthorized).toString(); }},
        {"hasApk", [&] { return QVariant(w.m_hasApk).toString(); }},
        {"apkInstalled", [&] { return QVariant(w.m_apkInstalled).toString(); }},
        {"activityStarted", [&] { return QVariant(w.m_activityStarted).toString(); }},
        {"portForwarded", [&] { return QVariant(w.m_portForwarded).toString(); }},
        {"otherSoftPid10000", [&] { return w.m_otherSoftPid10000; }},
        {"otherSoftName10000", [&] { return w.m_otherSoftName10000; }},
        {"powerLevel", [&] { return w.m_powerLevel; }},
        {"serialNo", [&] { return w.m_serialNo; }},
        {"hasDevice+isOffline",
         [&] { return QVariant(w.m_hasDevice).toString() + "+" + QVariant(w.m_isOffline).toString(); }},
    };
    return members.value(name, [] { return QStringLiteral("?"); })();
}

// The step a step arms next, or the session's supervision it hands over to.
const int kHandOver = -1;
const int kNothing = -2;

QTimer *timerOf(MainWindow &w, int armed)
{
    return armed == kHandOver ? w.m_timerNewTCPConnected : w.m_stepTimer[armed];
}

const char *kNetstat5037 = "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       4321";
const char *kNetstat10000 = "  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       6120";

} // namespace

class TestSteps : public QObject
{
    Q_OBJECT
private slots:
    void eachStepOnce_data()
    {
        QTest::addColumn<QByteArray>("slot");
        QTest::addColumn<QString>("scenario"); // key=value;key=value
        QTest::addColumn<QString>("preset");   // member=value set before the step
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("logLine"); // several in order: "a|b"
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("armed"); // a DeviceStep, kHandOver or kNothing

        const QString apk = QStringLiteral("adb install -r ") + QDir::currentPath() + QStringLiteral("/Purgatex.apk");
        QTest::newRow("port free") << QByteArray("testPort") << "" << "" << "netstat -anop tcp"
                                   << "port,no e,no use" << "port5037Used" << "false" << int(MainWindow::StepTestStartAdb);
        QTest::newRow("port held") << QByteArray("testPort") << QString("netstat.lines=") + kNetstat5037 << ""
                                   << "netstat -anop tcp" << "port,no e,use" << "port5037Used" << "true"
                                   << int(MainWindow::StepTestGetOtherSoftPidBy5037);
        QTest::newRow("pid of 5037") << QByteArray("testGetOtherSoftPidBy5037")
                                     << QString("netstat.lines=") + kNetstat5037 << "" << "netstat -anop tcp"
                                     << "find soft pid,is:" << "otherSoftPid5037" << "4321"
                                     << int(MainWindow::StepTestGetOtherSoftNameByPid);
        QTest::newRow("name of 5037") << QByteArray("testGetOtherSoftNameByPid") << "tasklist.4321=foreign.exe"
                                      << "otherSoftPid5037=4321" << "tasklist /fi \"pid eq 4321\""
                                      << "readGetOtherSoftNameBy5037 result right,is:" << "portUsedLabel"
                                      << "foreign.exe" << int(MainWindow::StepTestPort);
        QTest::newRow("kill adb") << QByteArray("testKillAdb") << "server.running=1" << "" << "adb kill-server"
                                  << "kill adb right" << "" << "" << int(MainWindow::StepTestPort);
        QTest::newRow("start adb") << QByteArray("testStartAdb") << "" << "" << "adb start-server"
                                   << "start adb,no e,started" << "adbStarted" << "true" << int(MainWindow::StepTestUsb);
        QTest::newRow("usb") << QByteArray("testUsb") << "" << "" << "adb devices" << "usb open state: true"
                             << "usbOpened" << "true" << int(MainWindow::StepTestRsa);
        QTest::newRow("rsa") << QByteArray("testRsa") << "" << "" << "adb devices" << "start rsa,no e,authorized"
                             << "isAuthorized" << "true" << int(MainWindow::StepTestCheckHasApk);
        QTest::newRow("kill adb for rsa") << QByteArray("testKillAdbForRsa") << "" << "" << "adb kill-server"
                                          << "kill adb for rsa right" << "" << "" << int(MainWindow::StepTestPort);
        QTest::newRow("has apk") << QByteArray("testCheckHasApk") << "" << ""
                                 << "adb shell pm list packages org.qtproject.example"
                                 << "start has apk;no e,apk,hd;start activity" << "hasApk" << "true"
                                 << int(MainWindow::StepTestStartActivity);
        QTest::newRow("install") << QByteArray("testInstallApk") << "installed=0;install.chunks=3" << "" << apk
                                 << "check install result right" << "apkInstalled" << "true" << int(MainWindow::StepTestStartActivity);
        QTest::newRow("activity brought to front")
            << QByteArray("testStartActivity") << "activity=front" << ""
            << "adb shell am start -W -S -n org.qtproject.example/org.qtproject.example.Purgatex"
            << "after start activity,has devices,start forward" << "activityStarted" << "true" << int(MainWindow::StepTestForwardAdb);
        QTest::newRow("forward") << QByteArray("testForwardAdb") << "" << "" << "adb forward tcp:10000 tcp:5577"
                                 << "after forward adb check" << "portForwarded" << "true" << int(MainWindow::StepTestGetPower);
        QTest::newRow("forward prints text")
            << QByteArray("testForwardAdb")
            << "fault.forward.stdout=adb: error: cannot bind listener: Address already in use\\n" << ""
            << "adb forward tcp:10000 tcp:5577" << "forward adb fail"
                                             << "portForwarded" << "false" << int(MainWindow::StepTestGetOtherSoftPidBy10000);
        QTest::newRow("pid of 10000") << QByteArray("testGetOtherSoftPidBy10000")
                                      << QString("netstat.lines=") + kNetstat10000 << "" << "netstat -anop tcp"
                                      << "find soft pid,is:" << "otherSoftPid10000" << "6120"
                                      << int(MainWindow::StepTestGetOtherSoftNameByPid_10000);
        QTest::newRow("name of 10000") << QByteArray("testGetOtherSoftNameByPid_10000") << "tasklist.6120=browser.exe"
                                       << "otherSoftPid10000=6120" << "tasklist /fi \"pid eq 6120\""
                                       << "readGetOtherSoftNameBy10000 result right" << "otherSoftName10000"
                                       << "browser.exe" << int(MainWindow::StepTestKillOtherSoftBy10000);
        QTest::newRow("end holder of 10000")
            << QByteArray("testKillOtherSoftBy10000") << "tasklist.6120=browser.exe" << "otherSoftPid10000=6120"
            << "taskkill /f /pid 6120" << " readKillOtherSoftBy10000 right" << "" << "" << int(MainWindow::StepTestForwardAdb);
        QTest::newRow("power") << QByteArray("testGetPower") << "battery.level=42;line_endings=crlf" << ""
                               << "adb shell dumpsys battery" << "get power result str:|power is:" << "powerLevel" << " 42"
                               << int(MainWindow::StepTestGetSerial);
        QTest::newRow("serial") << QByteArray("testGetSerial") << "serial=0123456789ABCDEF" << ""
                                << "adb get-serialno" << "get power result str:|serial is:" << "serialNo" << "0123456789ABCDEF"
                                << kHandOver;
        QTest::newRow("probe offline") << QByteArray("testAdbDevices") << "state=offline" << "" << "adb devices"
                                       << "has devices state:" << "hasDevice+isOffline" << "true+true" << kNothing;
        QTest::newRow("watchdog, app ended")
            << QByteArray("testCheckAppQuited") << "app.running=0" << ""
            << "adb shell dumpsys activity -p org.qtproject.example processes" << "app quit right" << "" << ""
            << int(MainWindow::StepTestPort);
    }
    void eachStepOnce()
    {
        QFETCH(QByteArray, slot);
        QFETCH(QString, scenario);
        QFETCH(QString, preset);
        QFETCH(QString, call);
        QFETCH(QString, logLine);
        QFETCH(QString, member);
        QFETCH(QString, value);
        QFETCH(int, armed);

        SimPhone phone;
        QVERIFY(phone.isValid());
        for (const QString &pair : scenario.split(';', Qt::SkipEmptyParts)) {
            const int eq = pair.indexOf('=');
            const QString key = pair.left(eq);
            if (key == QLatin1String("netstat.lines"))
                phone.setNetstatLines({pair.mid(eq + 1)});
            else
                phone.set(key, pair.mid(eq + 1));
        }
        LogCapture log;
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        ensureHandOverTimer(w);
        // The step's successor is armed but does not run: one step is looked at.
        for (QTimer *t : linkTimers(w))
            t->blockSignals(true);
        if (preset.startsWith(QLatin1String("otherSoftPid5037=")))
            w.m_otherSoftPid5037 = preset.mid(17);
        else if (preset.startsWith(QLatin1String("otherSoftPid10000=")))
            w.m_otherSoftPid10000 = preset.mid(18);
        QVERIFY(QMetaObject::invokeMethod(&w, slot.constData(), Qt::DirectConnection));
        // Nothing waits inside the slot: the step runs on after it returned.
        QVERIFY(w.m_runningStep);
        QTRY_VERIFY_WITH_TIMEOUT(!w.m_runningStep, 20000);

        const QStringList calls = phone.calls();
        QVERIFY2(!calls.isEmpty(), "no command run");
        QCOMPARE(calls.first(), call);
        // Several lines, separated by "|", are logged in that order.
        QVERIFY2(log.inOrder(logLine.split(QLatin1Char('|'))), qPrintable(log.lines().join('\n')));
        if (!member.isEmpty())
            QCOMPARE(::member(w, member), value);
        if (armed != kNothing) {
            QTimer *next = timerOf(w, armed);
            QVERIFY(next);
            QVERIFY2(next->isActive(), qPrintable(QString::number(armed)));
        }
        for (const MainWindow::StepIo &io : w.m_step)
            QCOMPARE(io.readTimes, 0);
    }

    // Each timer of the step table runs its own step, and the stops that
    // own it end both the timer and the command it started: a row wired to
    // another step's slot, or a step left out of a stop list, would run a
    // second chain of steps beside the first.
    void everyStepTimerRunsItsStepAndStops_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("watchdog");
        for (const MainWindow::TimedStep &t : MainWindow::timedSteps())
            QTest::newRow(QByteArray("step ").append(QByteArray::number(t.step)).constData())
                << int(t.step) << (t.kind == MainWindow::Watchdog);
    }
    void everyStepTimerRunsItsStepAndStops()
    {
        QFETCH(int, step);
        QFETCH(bool, watchdog);
        SimPhone phone;
        QVERIFY(phone.isValid());
        MainWindow w;
        w.stopDeviceLink(); // the port check armed at start-up
        QTimer *timer = w.m_stepTimer[step];
        QVERIFY(timer);
        int ran = -1;
        // Connected after the window's own slot, so it sees what that slot started.
        connect(timer, &QTimer::timeout, &w, [&] { ran = w.m_runningStep ? int(w.m_runningStep->step) : -2; });
        timer->start(0);
        QTRY_VERIFY_WITH_TIMEOUT(ran != -1, 5000);
        QCOMPARE(ran, step);

        // The connection to the companion app is lost in the state the step
        // runs in: the link's steps while connecting, the watchdog while idle.
        w.m_programType = watchdog ? ProgramType::Idle : ProgramType::ConnectingDevice;
        timer->start(60000);
        w.stopActivityTimers();
        QVERIFY(!timer->isActive());
        QVERIFY(!w.m_runningStep);

        // Stopping the device link stops every step timer.
        for (QTimer *t : w.m_stepTimer) {
            if (t)
                t->start(60000);
        }
        w.stopDeviceLink();
        for (const MainWindow::TimedStep &t : MainWindow::timedSteps())
            QVERIFY2(!w.m_stepTimer[t.step]->isActive(), qPrintable(QString::number(t.step)));
    }

    void startUpOrder()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        LogCapture log;
        MainWindow w;
        QVERIFY(log.inOrder({"before init first data", "adb used:", "after init first data", "after init ui"}));
        QVERIFY(!log.contains(QStringLiteral("start test port")));
        QVERIFY(phone.calls().isEmpty());
        QCOMPARE(qgetenv("Purgatex"), QDir::currentPath().toLocal8Bit());
        const QString install = QStringLiteral("C:\\Program Files (x86)\\Purgatex");
        const QStringList five = {install, install + "\\platforms", install + "\\bearer", install + "\\iconengines",
                                  install + "\\translations"};
        QCOMPARE(QCoreApplication::libraryPaths().mid(0, 5), five);
#ifdef Q_OS_WIN
        QCOMPARE(QCoreApplication::libraryPaths(), five + QStringList{QCoreApplication::applicationDirPath()});
#endif
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start test port")), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!phone.calls().isEmpty(), 5000); // the command runs after the slot returned
        QCOMPARE(phone.calls().first(), QStringLiteral("netstat -anop tcp"));
    }

    // No tool anywhere: no step hangs, each logs that its command did not
    // start and decides on flags that nothing set.
    void missingToolsDoNotFreeze()
    {
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        const QByteArray old = qgetenv("PURGATEX_TOOLS_DIR");
        qputenv("PURGATEX_TOOLS_DIR", empty.path().toLocal8Bit());
        LogCapture log;
        {
            MainWindow w;
            w.m_stepTimer[MainWindow::StepTestPort]->stop();
            for (QTimer *t : linkTimers(w))
                t->blockSignals(true);
            // Every step a timer runs, in the order of the table.
            for (const MainWindow::TimedStep &t : MainWindow::timedSteps()) {
                (w.*t.run)();
                QTRY_VERIFY_WITH_TIMEOUT(!w.m_runningStep, 10000);
            }
            w.testReboot();
            QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("reboot end")), 10000);
            for (QTimer *t : linkTimers(w))
                t->blockSignals(false);
            QVERIFY(log.count(QStringLiteral("command not started:")) >= MainWindow::timedSteps().size() + 1);
            QVERIFY(log.contains(QStringLiteral("port,no e,no use")));
            QVERIFY(log.contains(QStringLiteral("start adb,no e,no started")));
            QVERIFY(!w.m_hasDevice);

            // Left to itself the program keeps trying.
            log.clear();
            w.m_stepTimer[MainWindow::StepTestPort]->start(1);
            QTRY_VERIFY_WITH_TIMEOUT(log.count(QStringLiteral("start kill adb for rsa")) >= 3, 10000);
        }
        qputenv("PURGATEX_TOOLS_DIR", old);
    }
};

QTEST_MAIN(TestSteps)
#include "tst_steps.moc"
