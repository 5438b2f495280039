// The connection sequence end to end: the real window, headless, against the
// simulated phone.
#include "devicelinktest.h"
#include "support/simphone.h"

#include <QDir>
#include <QProgressBar>
#include <QRegularExpression>
#include <QtTest>

namespace {

const int kTimeout = 20000;

const QStringList kHappyCalls = {
    QStringLiteral("netstat -anop tcp"),
    QStringLiteral("adb start-server"),
    QStringLiteral("adb devices"), // USB state
    QStringLiteral("adb devices"), // authorisation
    QStringLiteral("adb shell pm list packages org.qtproject.example"),
    QStringLiteral("adb devices"),
    QStringLiteral("adb shell am start -W -S -n org.qtproject.example/org.qtproject.example.Purgatex"),
    QStringLiteral("adb devices"),
    QStringLiteral("adb forward tcp:10000 tcp:5577"),
    QStringLiteral("adb devices"),
    QStringLiteral("adb shell dumpsys battery"),
    QStringLiteral("adb devices"),
    QStringLiteral("adb get-serialno"),
    QStringLiteral("adb devices"),
};

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT
private slots:
    // Both line-ending styles of adb reach the hand-over the same way, and so
    // does a newer adb that prints the port of every forward it binds.
    void authorisedPhoneReachesHandOver_data()
    {
        QTest::addColumn<QString>("lineEndings");
        QTest::addColumn<QString>("forwardOutput"); // empty: adb's own (nothing)
        QTest::newRow("adb on Linux") << QStringLiteral("lf") << QString();
        QTest::newRow("adb on Windows") << QStringLiteral("crlf") << QString();
        QTest::newRow("newer adb on Windows") << QStringLiteral("crlf") << QStringLiteral("10000\n");
    }
    void authorisedPhoneReachesHandOver()
    {
        QFETCH(QString, lineEndings);
        QFETCH(QString, forwardOutput);
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set(QStringLiteral("line_endings"), lineEndings);
        if (!forwardOutput.isEmpty())
            phone.set(QStringLiteral("fault.forward.stdout"), forwardOutput);
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);
        bool installPageSeen = false;
        bool phonePageAtActivity = false;
        log.onLine(QStringLiteral("start has apk;no e,apk,hd;start activity"), [&] {
            phonePageAtActivity = shown(w, "A_MP_ConnectedInfomation_5");
        });
        log.onLine(QStringLiteral("start install apk"), [&] { installPageSeen = true; });

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(handOver.armed);
        QVERIFY(handOver.phonePageShown);
        QVERIFY(phonePageAtActivity);
        QVERIFY(!installPageSeen);
        QVERIFY(!shown(w, "A_MP_IsInstalling_4"));
        QCOMPARE(phone.calls(), kHappyCalls);
        QCOMPARE(w.m_powerLevel, QStringLiteral(" 85"));
        QCOMPARE(w.m_serialNo, QStringLiteral("R58N91XKQ2B"));
        QVERIFY(log.inOrder({"start test port", "port,no e,no use", "start adb,no e,started",
                             "start usb,no e,opend,start rsa", "start rsa,no e,authorized",
                             "start has apk;no e,apk,hd;start activity", "after start activity,has devices,start forward",
                             "after forward adb check", "after get power check", "after get serial check"}));
        QVERIFY(widget(w, "testLabel_2")->property("text").toString().endsWith(
            QStringLiteral("port ,sadb ,rsa ,has A,sActivity ,for ,gp ,gs ,")));
    }

    void missingCompanionIsInstalled()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set({{"installed", "0"}, {"install.chunks", "60"}, {"install.chunk_ms", "15"}});
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);
        auto *bar = w.findChild<QProgressBar *>(QStringLiteral("MP_InstallApk_ProgressBar"));
        QVERIFY(bar);
        QList<int> barValues;
        connect(bar, &QProgressBar::valueChanged, this, [&](int v) { barValues << v; });
        bool installPageShown = false;
        log.onLine(QStringLiteral("start has apk;no e,no apk,hd;start install"),
                   [&] { installPageShown = shown(w, "A_MP_IsInstalling_4"); });

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(installPageShown);
        QVERIFY(handOver.armed);
        QVERIFY(!shown(w, "A_MP_IsInstalling_4"));
        QVERIFY(shown(w, "A_MP_ConnectedInfomation_5"));
        // The bar counted the output chunks and, after more than 50 of them,
        // jumped to 100 at the end.
        QVERIFY2(barValues.size() > 10, qPrintable(QString::number(barValues.size())));
        for (int i = 1; i < barValues.size() - 1; ++i)
            QCOMPARE(barValues.at(i), barValues.at(i - 1) + 1);
        if (barValues.at(barValues.size() - 2) > 50)
            QCOMPARE(barValues.last(), 100);
        const QStringList calls = phone.calls();
        const int install = calls.indexOf(
            QStringLiteral("adb install -r ") + QDir::currentPath() + QStringLiteral("/Purgatex.apk"));
        QVERIFY2(install > 0, qPrintable(calls.join('\n')));
        QVERIFY(calls.indexOf(QRegularExpression(QStringLiteral("adb shell am start .*"))) > install);
        QVERIFY(log.inOrder({"start install apk", "after install while", "install return right", "installed",
                             "after install apk check", "start test start activity"}));
    }

    // Unauthorised: kill-server and the port check again and again, until the
    // user allows the PC on the phone.
    void unauthorisedPhoneLoopsUntilAllowed()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.setState(QStringLiteral("unauthorized"));
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);

        QTRY_VERIFY_WITH_TIMEOUT(log.count(QStringLiteral("after kill adb for rsa check")) >= 3, kTimeout);
        QVERIFY(!log.contains(QStringLiteral("start has apk")));
        QVERIFY(log.inOrder({"start rsa,no e,no authorized", "start kill adb for rsa", "kill adb for rsa right",
                             "after kill adb for rsa check", "start test port", "start adb server"}));
        QVERIFY(phone.calls().count(QStringLiteral("adb kill-server")) >= 3);
        QVERIFY(shown(w, "A_MP_USBDebugTourial_2"));

        phone.setState(QStringLiteral("device"));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(handOver.armed);
    }

    void offlinePhoneWaitsOnUsb()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.setState(QStringLiteral("offline"));
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);

        QTRY_VERIFY_WITH_TIMEOUT(log.count(QStringLiteral("start usb,e,offline,start usb")) >= 2, kTimeout);
        QVERIFY(shown(w, "A_MP_D_ReconnectDevice"));
        QVERIFY(!shown(w, "A_MP_D_DirverError_1_1"));
        QVERIFY(!log.contains(QStringLiteral("start rsa")));

        phone.setState(QStringLiteral("device"));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(!shown(w, "A_MP_D_ReconnectDevice"));
    }

    // adb runs but lists nothing: the driver-error notice, and the USB step
    // keeps polling until the phone shows up.
    void emptyDeviceListShowsDriverError()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.setState(QStringLiteral("absent"));
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);

        QTRY_VERIFY_WITH_TIMEOUT(log.count(QStringLiteral("start usb,no e,no opend,adb empty,start usb")) >= 2,
                                 kTimeout);
        QVERIFY(shown(w, "A_MP_D_DirverError_1_1"));
        QVERIFY(shown(w, "A_MP_USBDebugTourial_2"));
        QVERIFY(w.m_stepTimer[MainWindow::StepTestUsb]->isActive());

        phone.setState(QStringLiteral("device"));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start rsa,no e,authorized")), kTimeout);
        QVERIFY(!shown(w, "A_MP_D_DirverError_1_1"));
    }

    // A loop that finds no phone waits on adb's own device tracking: it
    // asks `adb devices` only on the long tracked interval (a minute here),
    // and a phone plugged in wakes it at once. An adb without tracking
    // leaves the loop polling every 100 ms as before. The pages are those of
    // the plain poll.
    void noPhoneWaitsOnDeviceTracking_data()
    {
        QTest::addColumn<bool>("presencePoll"); // else the USB step with nothing listed
        QTest::addColumn<bool>("tracking");
        QTest::newRow("USB step, tracked") << false << true;
        QTest::newRow("USB step, adb without tracking") << false << false;
        QTest::newRow("presence poll, tracked") << true << true;
    }
    void noPhoneWaitsOnDeviceTracking()
    {
        QFETCH(bool, presencePoll);
        QFETCH(bool, tracking);
        SimPhone phone;
        QVERIFY(phone.isValid());
        if (!tracking)
            phone.set({{"fault.track-devices.exit", "1"},
                       {"fault.track-devices.stderr", "error: unknown host service\n"}});
        LogCapture log;
        MainWindow w;
        w.m_trackedWaitMs = 60000;
        HandOver handOver;
        handOver.watch(log, w);
        QTimer *wait = presencePoll ? w.m_stepTimer[MainWindow::StepSlotDeviceIn] : w.m_stepTimer[MainWindow::StepTestUsb];
        const QString round = presencePoll ? QStringLiteral("start check in;no in,no hd;start check in")
                                           : QStringLiteral("start usb,no e,no opend,adb empty,start usb");
        if (presencePoll)
            log.onLine(QStringLiteral("start test get power"), [&] { phone.setState(QStringLiteral("absent")); });
        else
            phone.setState(QStringLiteral("absent"));

        if (tracking) {
            QTRY_VERIFY_WITH_TIMEOUT(wait->isActive() && wait->interval() == 60000, kTimeout);
            QVERIFY(log.contains(QStringLiteral("device tracking on")));
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("device tracking over:")), kTimeout);
            const int rounds = log.count(round);
            QTRY_VERIFY_WITH_TIMEOUT(log.count(round) >= rounds + 5, kTimeout); // polling on
            QVERIFY(wait->interval() < 60000);
        }
        QVERIFY(shown(w, presencePoll ? "A_MP_PleaseConnect_1" : "A_MP_USBDebugTourial_2"));
        QVERIFY(shown(w, presencePoll ? "A_MP_D_ReconnectDevice" : "A_MP_D_DirverError_1_1"));

        log.clear();
        phone.setState(QStringLiteral("device"));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        if (tracking) // one tracker for the whole wait
            QCOMPARE(phone.calls().count(QStringLiteral("adb track-devices")), 1);
    }

    // The phone goes while the battery is read: back to the presence poll
    // with the please-connect page, and on again once it returns.
    void unpluggedPhoneFallsBackToPresencePoll()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);
        log.onLine(QStringLiteral("start test get power"), [&] { phone.setState(QStringLiteral("absent")); });

        QTRY_VERIFY_WITH_TIMEOUT(log.count(QStringLiteral("start check in;no in,no hd;start check in")) >= 3,
                                 kTimeout);
        QVERIFY(log.contains(QStringLiteral("get power result error:")));
        QVERIFY(shown(w, "A_MP_PleaseConnect_1"));
        QVERIFY(!shown(w, "A_MP_ConnectedInfomation_5"));
        QVERIFY(shown(w, "A_MP_D_ReconnectDevice"));
        QVERIFY(w.m_deviceWatcher->isWatching());
        QVERIFY(!log.contains(QStringLiteral("after get serial check")));

        log.clear();
        phone.setState(QStringLiteral("device"));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(log.inOrder({"start check in;no in,hd;start port", "start test port"}));
        QVERIFY(!w.m_deviceWatcher->isWatching());
        QVERIFY(!shown(w, "A_MP_D_ReconnectDevice"));
        QVERIFY(handOver.armed);
    }

    // The forward prints an error while another program listens on 10000:
    // that program is looked up by PID, ended by PID, and the forward is
    // tried again.
    void holderOfPort10000IsEndedByPid()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set({{"fault.forward.stdout", "adb: error: cannot bind listener: Address already in use\\n"},
                   {"fault.forward.times", "1"}});
        phone.setNetstatLines({QStringLiteral(
            "  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       6120")});
        phone.setTask(6120, QStringLiteral("browser.exe"));
        phone.setTask(6121, QStringLiteral("browser.exe"));
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        const QStringList calls = phone.calls();
        const int forward = calls.indexOf(QStringLiteral("adb forward tcp:10000 tcp:5577"));
        QVERIFY(forward > 0);
        const QStringList after = calls.mid(forward + 1, 8);
        QCOMPARE(after, (QStringList{
                            QStringLiteral("adb devices"),
                            QStringLiteral("netstat -anop tcp"),
                            QStringLiteral("adb devices"),
                            QStringLiteral("tasklist /fi \"pid eq 6120\""),
                            QStringLiteral("adb devices"),
                            QStringLiteral("taskkill /f /pid 6120"),
                            QStringLiteral("adb devices"),
                            QStringLiteral("adb forward tcp:10000 tcp:5577"),
                        }));
        // The other process of the same image name lives on.
        QCOMPARE(phone.value(QStringLiteral("tasklist.6121")), QStringLiteral("browser.exe"));
        QVERIFY(phone.value(QStringLiteral("tasklist.6120")).isEmpty());
        QVERIFY(log.inOrder({"forward adb fail", "start test read soft pid use 10000", "find soft pid,is:",
                             "start test get pid's Name", "readGetOtherSoftNameBy10000 result right",
                             "after get pid's name while", "start kill other soft use 10000",
                             " readKillOtherSoftBy10000 right", "start test forward adb", "after forward adb check"}));
        QVERIFY(handOver.armed);
    }
};

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
