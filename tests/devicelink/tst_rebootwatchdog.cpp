// Reboot, companion watchdog, presence poll and exit command: the real
// window against the simulated phone. Each test stops the start-up port
// check and drives the slot under test directly, as its caller would.
#include "devicelinktest.h"
#include "support/simphone.h"
#include "widgetvisibility.h"

#include <QtTest>

namespace {
const int kTimeout = 20000;
}

class TestRebootWatchdog : public QObject
{
    Q_OBJECT
private slots:
    // The phone stays listed for a while after `adb reboot`, disappears, and
    // comes back; only then does the sequence go on to the package check.
    void rebootWaitsForThePhoneToGoAndReturn()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set({{"reboot.listed_ms", "5000"}, {"reboot.absent_ms", "1500"}});
        LogCapture log;
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        ensureHandOverTimer(w);
        app::showWidget(widget(w, "M_EraseCompleted_3"));
        w.m_timerNewTCPConnected->start(5000); // the session's keep-alive tick

        w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->start(1000); // the companion app was in the background

        w.testReboot();
        // The session and the companion watchdog end with the phone; only the
        // device link runs on. Nothing waits for the command.
        QVERIFY(!w.m_timerNewTCPConnected->isActive());
        QVERIFY(!w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->isActive());
        QCOMPARE(w.m_tcpSocket->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(log.inOrder({"reboot start", "reboot midle"}));
        QVERIFY(!log.contains(QStringLiteral("reboot end")));
        QVERIFY(w.m_rebootDone);
        QVERIFY(w.m_isAfterReboot);
        QVERIFY(!shown(w, "M_EraseCompleted_3"));
        QVERIFY(shown(w, "A_MP_PleaseConnect_1"));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("reboot end")), kTimeout);
        QCOMPARE(phone.calls(), QStringList{QStringLiteral("adb reboot")});
        QVERIFY(w.m_stepTimer[MainWindow::StepSlotDeviceIn]->isActive());
        QCOMPARE(w.m_stepTimer[MainWindow::StepSlotDeviceIn]->interval(), 3000);

        bool reconnectWhileListed = false;
        bool driverErrorWhenGone = false;
        bool afterRebootClearedWhenGone = false;
        log.onLine(QStringLiteral("start usb,no e,opend,start usb,because m_isAfterReboot is true"),
                   [&] { reconnectWhileListed = shown(w, "A_MP_D_ReconnectDevice"); });
        log.onLine(QStringLiteral("start usb,no e,no opend,adb empty,start usb,m_isAfterReboot change to false"), [&] {
            driverErrorWhenGone = shown(w, "A_MP_D_DirverError_1_1");
            afterRebootClearedWhenGone = !w.m_isAfterReboot;
        });
        log.onLine(QStringLiteral("after get serial check"), [&] { w.m_timerNewTCPConnected->stop(); });

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start has apk;no e,apk,hd;start activity")), kTimeout);
        QVERIFY(reconnectWhileListed);
        QVERIFY(driverErrorWhenGone);
        QVERIFY(afterRebootClearedWhenGone);
        // Still the phone from before the reboot: up far longer than since the command.
        QVERIFY(!log.contains(QStringLiteral("boot check,restarted")));
        QVERIFY(log.inOrder({"start check in;no in,hd;start port", "start boot check", "boot check: phone up for",
                             "start usb,no e,opend,start usb,because",
                             "start usb,no e,no opend,adb empty,start usb,m_isAfterReboot change to false",
                             "start usb,no e,opend,start rsa",
                             "start rsa,no e,authorized"}));
    }

    // A report held in front stays while the link goes on behind it; its
    // release shows what the link wants by then, page and notices.
    void reportHeldWhileTheLinkGoesOn_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("untilLine");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("notice"); // empty: none
        QTest::newRow("phone back") << "device" << "after get serial check" << "A_MP_ConnectedInfomation_5" << "";
        QTest::newRow("nothing listed") << "absent" << "start usb,no e,no opend,adb empty,start usb"
                                        << "A_MP_USBDebugTourial_2" << "A_MP_D_DirverError_1_1";
    }
    void reportHeldWhileTheLinkGoesOn()
    {
        QFETCH(QString, state);
        QFETCH(QString, untilLine);
        QFETCH(QString, page);
        QFETCH(QString, notice);
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.setState(state);
        LogCapture log;
        MainWindow w;
        ensureHandOverTimer(w);
        log.onLine(QStringLiteral("after get serial check"), [&] { w.m_timerNewTCPConnected->stop(); });
        w.hidePages();
        app::showWidget(widget(w, "M_EraseCompleted_3"));
        w.m_reportHeld = true;

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(untilLine), kTimeout);
        QVERIFY(shown(w, "M_EraseCompleted_3"));
        for (QWidget *other : qAsConst(w.m_pageList))
            QVERIFY2(other == widget(w, "M_EraseCompleted_3") || other->isHidden(), qPrintable(other->objectName()));
        for (const auto &n : qAsConst(w.m_noticeList))
            QVERIFY2(n.first->isHidden(), qPrintable(n.first->objectName()));

        w.releaseReport();
        QVERIFY(!w.m_reportHeld);
        QVERIFY(!shown(w, "M_EraseCompleted_3"));
        QVERIFY(shown(w, page.toLatin1().constData()));
        if (!notice.isEmpty())
            QVERIFY(shown(w, notice.toLatin1().constData()));
    }

    // However quickly the phone restarts, the link comes back: a phone gone
    // before the presence poll first looks is let through when it returns; one
    // already back by then has been up for less time than has passed since the
    // reboot command; one whose uptime cannot be read is taken as it is once
    // the settle time is over.
    void rebootComesBack_data()
    {
        QTest::addColumn<QVariantMap>("scenario");
        QTest::addColumn<int>("settleMs");
        QTest::addColumn<QStringList>("lines"); // in this order
        QTest::addColumn<QString>("never");     // a line that must not be logged
        QTest::newRow("gone before the poll looks")
            << QVariantMap{{"reboot.listed_ms", "300"}, {"reboot.absent_ms", "3500"}} << 90000
            << QStringList{"check in,no hd,m_isAfterReboot change to false", "start check in;no in,no hd;start check in",
                           "start check in;no in,hd;start port", "start usb,no e,opend,start rsa"}
            << "start boot check";
        QTest::newRow("back before the poll looks")
            << QVariantMap{{"reboot.listed_ms", "300"}, {"reboot.absent_ms", "1000"}} << 90000
            << QStringList{"start check in;no in,hd;start port",
                           "start usb,no e,opend,m_isAfterReboot is true,start boot check", "start boot check",
                           "boot check,restarted,m_isAfterReboot change to false", "start usb,no e,opend,start rsa"}
            << "start usb,no e,opend,start usb,because m_isAfterReboot is true";
        QTest::newRow("back before the poll looks, uptime unreadable")
            << QVariantMap{{"reboot.listed_ms", "300"},
                           {"reboot.absent_ms", "1000"},
                           {"fault.uptime.exit", "1"},
                           {"fault.uptime.stderr", "/system/bin/sh: cat: /proc/uptime: Permission denied\n"}}
            << 5000
            << QStringList{"start boot check", "boot check result error:",
                           "start usb,no e,opend,start usb,because m_isAfterReboot is true",
                           "boot check,no restart seen in time,m_isAfterReboot change to false",
                           "start usb,no e,opend,start rsa"}
            << "boot check,restarted";
    }
    void rebootComesBack()
    {
        QFETCH(QVariantMap, scenario);
        QFETCH(int, settleMs);
        QFETCH(QStringList, lines);
        QFETCH(QString, never);
        SimPhone phone;
        QVERIFY(phone.isValid());
        for (auto it = scenario.cbegin(); it != scenario.cend(); ++it)
            phone.set(it.key(), it.value().toString());
        LogCapture log;
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        w.m_rebootSettleMs = settleMs;
        w.testReboot();
        QVERIFY(w.m_isAfterReboot);

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start has apk;no e,apk,hd;start activity")), kTimeout);
        QVERIFY2(log.inOrder(lines), qPrintable(log.lines().join('\n').right(3000)));
        QVERIFY(!log.contains(never));
        QVERIFY(!w.m_isAfterReboot);
        QVERIFY(w.m_rebootDone); // kept for the session's factory-reset notice
    }

    // The companion app is in the background: checked every second while it
    // runs; once it has ended with the phone still there, the session is
    // dropped and a new attempt starts at the port check.
    void watchdogRestartsAtPortCheckWhenAppEnds()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set(QStringLiteral("app.running"), QStringLiteral("1"));
        LogCapture log;
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        w.m_programType = ProgramType::Idle;

        w.testCheckAppQuited();
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("app not quit")), kTimeout);
        QVERIFY(log.inOrder({"start check app quit", "after check app quit while", "app not quit"}));
        QVERIFY(w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->isActive());
        QCOMPARE(w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->interval(), 1000);
        QVERIFY(phone.calls().contains(
            QStringLiteral("adb shell dumpsys activity -p org.qtproject.example processes")));

        bool portCheckArmed = false;
        bool watchdogStopped = false;
        bool pleaseConnect = false;
        log.onLine(QStringLiteral("app quited"), [&] {
            portCheckArmed = w.m_stepTimer[MainWindow::StepTestPort]->isActive() && w.m_stepTimer[MainWindow::StepTestPort]->interval() == 100;
            watchdogStopped = !w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->isActive();
            pleaseConnect = shown(w, "A_MP_PleaseConnect_1");
            w.m_stepTimer[MainWindow::StepTestPort]->stop();
        });
        phone.set(QStringLiteral("app.running"), QStringLiteral("0"));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("app quited")), kTimeout);
        QVERIFY(log.inOrder({"app quit right", "quited", "quited,has devices", "app quited"}));
        QVERIFY(portCheckArmed);
        QVERIFY(watchdogStopped);
        QVERIFY(pleaseConnect);
        QCOMPARE(w.m_tcpSocket->state(), QAbstractSocket::UnconnectedState);
    }

    // The phone is unplugged while the watchdog runs: the app-state notice
    // goes and the presence poll takes over.
    void watchdogFallsBackWhenPhoneGoes_data()
    {
        QTest::addColumn<QString>("appRunning");
        QTest::addColumn<bool>("goneBeforeCheck"); // else gone between the check and the probe
        QTest::addColumn<QString>("decision");
        QTest::newRow("dumpsys fails without a phone") << "1" << true << "";
        QTest::newRow("app running, phone gone") << "1" << false << "app not quit";
        QTest::newRow("app ended, phone gone") << "0" << false << "app quited";
    }
    void watchdogFallsBackWhenPhoneGoes()
    {
        QFETCH(QString, appRunning);
        QFETCH(bool, goneBeforeCheck);
        QFETCH(QString, decision);
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set(QStringLiteral("app.running"), appRunning);
        LogCapture log;
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        w.m_programType = ProgramType::Idle;
        app::showWidget(widget(w, "T_AppState"));
        if (goneBeforeCheck)
            phone.setState(QStringLiteral("absent"));
        else
            log.onLine(QStringLiteral("after check app quit while"),
                       [&] { phone.setState(QStringLiteral("absent")); });

        for (QTimer *t : linkTimers(w))
            t->blockSignals(true); // what the watchdog arms is looked at, not run
        w.testCheckAppQuited();
        QTRY_VERIFY_WITH_TIMEOUT(!w.m_runningStep, kTimeout);
        if (!decision.isEmpty()) {
            QVERIFY(log.contains(decision));
            QCOMPARE(widget(w, "T_AppState_TopTitle")->property("text").toString(), QStringLiteral("App InActive"));
        } else {
            QVERIFY(log.contains(QStringLiteral("read app quit result error:")));
        }
        QVERIFY(!shown(w, "T_AppState"));
        QVERIFY(shown(w, "A_MP_PleaseConnect_1"));
        QVERIFY(w.m_stepTimer[MainWindow::StepSlotDeviceIn]->isActive());
        QCOMPARE(w.m_stepTimer[MainWindow::StepSlotDeviceIn]->interval(), 100);
        QVERIFY(!w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->isActive());
        QVERIFY(!w.m_stepTimer[MainWindow::StepTestPort]->isActive());
    }

    // No phone, and an adb without device tracking: the presence poll keeps
    // the reconnect notice up and asks `adb devices` about every 100 ms; a
    // phone that appears restarts the sequence at the port check and stops
    // the watcher. (With tracking, tst_connection.)
    void presencePollWaitsForAPhone()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.setState(QStringLiteral("absent"));
        phone.setFault(QStringLiteral("track-devices"), QStringLiteral("exit"), QStringLiteral("1"));
        LogCapture log;
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();

        w.slotDeviceIn();
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start check in;no in,no hd;start check in")), kTimeout);
        QVERIFY(log.inOrder({"start watcher done", "test adb devices", "has devices state:",
                             "start check in;no in,no hd;start check in"}));
        QTRY_VERIFY_WITH_TIMEOUT(phone.calls().count(QStringLiteral("adb devices")) >= 5, kTimeout);
        QVERIFY(shown(w, "A_MP_D_ReconnectDevice"));
        QTRY_VERIFY_WITH_TIMEOUT(w.m_stepTimer[MainWindow::StepSlotDeviceIn]->isActive(), kTimeout); // between two probes
        QCOMPARE(w.m_stepTimer[MainWindow::StepSlotDeviceIn]->interval(), 100);
        QVERIFY(w.m_deviceWatcher->isWatching());
        QCOMPARE(log.count(QStringLiteral("start watcher done")), 1);

        bool portArmed = false;
        log.onLine(QStringLiteral("start check in;no in,hd;start port"), [&] {
            portArmed = w.m_stepTimer[MainWindow::StepTestPort]->isActive() && w.m_stepTimer[MainWindow::StepTestPort]->interval() == 100;
            w.m_stepTimer[MainWindow::StepTestPort]->stop();
        });
        phone.setState(QStringLiteral("device"));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start check in;no in,hd;start port")), kTimeout);
        QVERIFY(portArmed);
        QVERIFY(!w.m_deviceWatcher->isWatching());
        QVERIFY(!w.m_stepTimer[MainWindow::StepSlotDeviceIn]->isActive());
        QVERIFY(!shown(w, "A_MP_D_ReconnectDevice"));
    }

    // A reboot or a watchdog check that hangs is ended at its time-out: the
    // reboot goes on as if it had ended, the watchdog tries again.
    void hungCommandTimesOut_data()
    {
        QTest::addColumn<QString>("hang");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("armed");
        QTest::addColumn<int>("interval");
        QTest::newRow("adb reboot") << "reboot" << QStringList{"reboot start", "reboot midle", "command timed out:",
                                                               "reboot end"}
                                    << "slotDeviceIn" << 3000;
        QTest::newRow("dumpsys of the watchdog")
            << "activity"
            << QStringList{"start check app quit", "command timed out:", "read app quit result error:",
                           "after check app quit while", "has devices state:"}
            << "testCheckAppQuited" << 1000;
    }
    void hungCommandTimesOut()
    {
        QFETCH(QString, hang);
        QFETCH(QStringList, lines);
        QFETCH(QString, armed);
        QFETCH(int, interval);
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set({{"app.running", "1"}, {"fault." + hang + ".hang", "1"}});
        LogCapture log;
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        w.m_adbCommandMs = 800;
        for (QTimer *t : linkTimers(w))
            t->blockSignals(true); // what the step arms is looked at, not run
        if (hang == QLatin1String("reboot"))
            w.testReboot();
        else
            w.testCheckAppQuited();
        QTRY_VERIFY_WITH_TIMEOUT(!w.m_runningStep, kTimeout);
        QVERIFY2(log.inOrder(lines), qPrintable(log.lines().join('\n').right(1500)));
        QTimer *next = armed == QLatin1String("slotDeviceIn") ? w.m_stepTimer[MainWindow::StepSlotDeviceIn] : w.m_stepTimer[MainWindow::StepTestCheckAppQuited];
        QVERIFY(next->isActive());
        QCOMPARE(next->interval(), interval);
    }

    // A slow tasklist keeps the window going: its answer names the holder,
    // and the program can be closed afterwards.
    void slowTasklistThenClose()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.setNetstatLines({QStringLiteral(
            "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       4321")});
        phone.setTask(4321, QStringLiteral("foreign.exe"));
        phone.setTask(9999, QStringLiteral("Purgatex.exe"));
        phone.set({{"fault.tasklist.delay_ms", "1500"}, {"fault.tasklist.times", "1"}});
        LogCapture log;
        MainWindow w;

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get pid's name of 5037 while")), kTimeout);
        QVERIFY(log.inOrder({"start test get pid's Name", "readGetOtherSoftNameBy5037 result right,is:",
                             "after get pid's name of 5037 while"}));
        QVERIFY(shown(w, "A_MP_D_PortUsed"));

        w.closeProgram();
        QTRY_VERIFY_WITH_TIMEOUT(phone.calls().contains(QStringLiteral("taskkill /f /im Purgatex.exe")), kTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(phone.value(QStringLiteral("tasklist.9999")).isEmpty(), kTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("close command over, quitting")), kTimeout);
    }
};

QTEST_MAIN(TestRebootWatchdog)
#include "tst_rebootwatchdog.moc"
