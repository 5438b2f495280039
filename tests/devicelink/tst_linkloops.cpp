// Loops of the device link that waiting cannot end, and commands that hang:
// the real window, headless, against the simulated phone and PC. A loop
// tells the user what to do and keeps retrying behind its notice, so that
// removing the cause lets the sequence reach the phone page; a hung command
// is ended at its time-out and its step takes the failure path; the window
// can be closed while any command hangs.
#include "devicelinktest.h"
#include "support/simphone.h"

#include <QAbstractButton>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

const int kTimeout = 30000;
const char *kHolder10000 = "  TCP    127.0.0.1:10000        0.0.0.0:0              LISTENING       6120";
const char *kHolder5037 = "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       4321";
const char *kCannotBind = "adb: error: cannot bind listener: Address already in use\n";

// Keys written to the scenario; a null value removes the key.
void apply(SimPhone &phone, const QVariantMap &keys)
{
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        if (it.value().isNull())
            phone.remove(it.key());
        else
            phone.set(it.key(), it.value().toString());
    }
}

QString labelText(MainWindow &w, const char *name)
{
    return widget(w, name)->property("text").toString();
}

// The companion package in the working folder, where it is installed from
// (removed again unless it was there before).
struct PackageFile
{
    QString path = QDir::current().filePath(QStringLiteral("Purgatex.apk"));
    bool made = false;
    bool make()
    {
        if (QFile::exists(path))
            return true;
        QFile file(path);
        made = file.open(QIODevice::WriteOnly);
        return made;
    }
    ~PackageFile()
    {
        if (made)
            QFile::remove(path);
    }
};

// Counts how often a widget is shown.
struct ShowCounter : QObject
{
    int shows = 0;
    explicit ShowCounter(QWidget *w) { w->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::ShowToParent)
            ++shows;
        return false;
    }
};

// A folder with the simulated netstat, tasklist and taskkill but no adb.
struct ToolsWithoutAdb
{
    QTemporaryDir dir;
    bool make()
    {
        for (const char *tool : {"netstat", "tasklist", "taskkill"}) {
            if (!QFile::link(SimPhone::toolPath(tool), dir.filePath(tool)))
                return false;
        }
        qputenv("PURGATEX_TOOLS_DIR", QFile::encodeName(dir.path()));
        return true;
    }
    bool addAdb() { return QFile::link(SimPhone::toolPath("adb"), dir.filePath("adb")); }
};

// The real window against the simulated phone with a cause applied; its
// hand-over to the session is watched.
struct LinkRun
{
    SimPhone phone;
    LogCapture log;
    std::unique_ptr<MainWindow> w;
    HandOver handOver;
    bool start(const QVariantMap &cause)
    {
        if (!phone.isValid())
            return false;
        apply(phone, cause);
        w = std::make_unique<MainWindow>();
        handOver.watch(log, *w);
        return true;
    }
};

// The command lines run so far that start with the text.
int callsStartingWith(const SimPhone &phone, const QString &start)
{
    int n = 0;
    for (const QString &call : phone.calls())
        n += call.startsWith(start) ? 1 : 0;
    return n;
}

// Behind its notice a loop retries calmly, about one round a second, so the
// tools are not run hundreds of times behind the user's back; and it does go
// on. The test waits until four more rounds have run (perRound of what
// `count` counts each): they must not come sooner than the pause between
// rounds allows. Whatever was counted lies in at least four rounds, each
// after the first armed no sooner than a second after the one before, so at
// least three such pauses (900 ms each, leaving room for timer slack) have
// passed. A busy machine only makes the rounds slower, never faster.
bool retriesCalmly(const std::function<int()> &count, int perRound, QString *why)
{
    const int rounds = 4;
    const int before = count();
    QElapsedTimer clock;
    clock.start();
    if (!QTest::qWaitFor([&] { return count() - before >= rounds * perRound; }, kTimeout)) {
        *why = QStringLiteral("the loop stopped: %1 commands in %2 ms").arg(count() - before).arg(clock.elapsed());
        return false;
    }
    const qint64 least = (rounds - 1) * 900;
    *why = QStringLiteral("%1 commands in %2 ms, no sooner than %3 ms allowed")
               .arg(count() - before)
               .arg(clock.elapsed())
               .arg(least);
    return clock.elapsed() >= least;
}

} // namespace

class TestLinkLoops : public QObject
{
    Q_OBJECT
private slots:
    void loopTellsWhatToDo_data()
    {
        QTest::addColumn<QVariantMap>("cause");
        QTest::addColumn<QVariantMap>("remedy");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("label"); // a label of the notice
        QTest::addColumn<QString>("says");  // what that label says, in part
        QTest::addColumn<QString>("page");  // the page behind the notice
        QTest::addColumn<bool>("packageFile"); // Purgatex.apk lies in the working folder
        QTest::addColumn<QString>("round");    // a command line of the loop, in part
        QTest::addColumn<int>("perRound");     // how often it runs in one round

        QTest::newRow("more than one phone")
            << QVariantMap{{"second.state", "device"}} << QVariantMap{{"second.state", QVariant()}}
            << "A_MP_D_LinkHelp" << "A_MP_D_LinkHelp_Label_Heading"
            << "Unplug all Android devices but the one to erase" << "A_MP_PleaseConnect_1" << false
            << "adb shell pm list packages" << 1;
        QTest::newRow("install fails")
            << QVariantMap{{"installed", "0"}, {"install.fail", "Failure [INSTALL_FAILED_VERSION_DOWNGRADE]"}}
            << QVariantMap{{"install.fail", QVariant()}} << "A_MP_D_LinkHelp" << "A_MP_D_LinkHelp_Label_Text"
            << "Failure [INSTALL_FAILED_VERSION_DOWNGRADE]" << "A_MP_IsInstalling_4" << true
            << "adb install" << 1;
        QTest::newRow("activity missing")
            << QVariantMap{{"activity", "missing"}} << QVariantMap{{"activity", "normal"}} << "A_MP_D_LinkHelp"
            << "A_MP_D_LinkHelp_Label_Text"
            << "Error: Activity class {org.qtproject.example/org.qtproject.example.Purgatex} does not exist."
            << "A_MP_PleaseConnect_1" << false
            << "adb shell am start" << 1;
        QTest::newRow("forward fails, nothing on 10000")
            << QVariantMap{{"fault.forward.stdout", kCannotBind}} << QVariantMap{{"fault.forward.stdout", QVariant()}}
            << "A_MP_D_LinkHelp" << "A_MP_D_LinkHelp_Label_Text" << "cannot bind listener"
            << "A_MP_PleaseConnect_1" << false
            << "adb forward" << 1;
        QTest::newRow("holder of 10000 cannot be ended")
            << QVariantMap{{"fault.forward.stdout", kCannotBind},
                           {"netstat.lines", kHolder10000},
                           {"tasklist.6120", "guard.exe"},
                           {"fault.taskkill.exit", "1"},
                           {"fault.taskkill.stderr", "ERROR: The process with PID 6120 could not be terminated.\r\n"
                                                     "Reason: Access is denied.\r\n"}}
            << QVariantMap{{"fault.forward.stdout", QVariant()},
                           {"netstat.lines", QVariant()},
                           {"fault.taskkill.exit", QVariant()},
                           {"fault.taskkill.stderr", QVariant()}}
            << "A_MP_D_PortUsed" << "A_MP_D_PortUsed_Label_Info" << "guard.exe" << "A_MP_PleaseConnect_1" << false
            << "taskkill" << 1;
        QTest::newRow("no permissions on Linux")
            << QVariantMap{{"state", "no permissions (user in plugdev group; are your udev rules wrong?); see "
                                     "[http://developer.android.com/tools/device.html]"}}
            << QVariantMap{{"state", "device"}} << "A_MP_D_DirverError_1_1" << "MP_D_ConnectedError_Label_Text3"
#ifdef Q_OS_WIN
            << "Windows"
#else
            << "plugdev"
#endif
            << "A_MP_USBDebugTourial_2" << false
            << "adb devices" << 1;
        QTest::newRow("adb server of another user on 5037")
            << QVariantMap{{"netstat.lines", "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       0"}}
            << QVariantMap{{"netstat.lines", QVariant()}} << "A_MP_D_LinkHelp" << "A_MP_D_LinkHelp_Label_Heading"
            << "Another adb server is in the way" << "A_MP_PleaseConnect_1" << false
            << "netstat" << 2;
        QTest::newRow("holder of 5037 that tasklist does not know")
            << QVariantMap{{"netstat.lines", kHolder5037}} << QVariantMap{{"netstat.lines", QVariant()}}
            << "A_MP_D_LinkHelp" << "A_MP_D_LinkHelp_Label_Heading" << "Another adb server is in the way"
            << "A_MP_PleaseConnect_1" << false << "tasklist" << 1;
        QTest::newRow("adb server on 5037 that does not quit")
            << QVariantMap{{"netstat.lines", kHolder5037},
                           {"tasklist.4321", "adb.exe"},
                           {"fault.kill-server.exit", "1"},
                           {"fault.kill-server.stderr", "error: cannot connect to daemon\n"}}
            << QVariantMap{{"netstat.lines", QVariant()}, {"fault.kill-server.exit", QVariant()},
                           {"fault.kill-server.stderr", QVariant()}}
            << "A_MP_D_LinkHelp" << "A_MP_D_LinkHelp_Label_Heading" << "Another adb server is in the way"
            << "A_MP_PleaseConnect_1" << false << "adb kill-server" << 1;
    }
    void loopTellsWhatToDo()
    {
        QFETCH(QVariantMap, cause);
        QFETCH(QVariantMap, remedy);
        QFETCH(QString, notice);
        QFETCH(QString, label);
        QFETCH(QString, says);
        QFETCH(QString, page);
        QFETCH(bool, packageFile);
        QFETCH(QString, round);
        QFETCH(int, perRound);
        PackageFile apk;
        if (packageFile)
            QVERIFY(apk.make());
        LinkRun run;
        QVERIFY(run.start(cause));
        SimPhone &phone = run.phone;
        LogCapture &log = run.log;
        MainWindow &w = *run.w;
        HandOver &handOver = run.handOver;

        QTRY_VERIFY_WITH_TIMEOUT(shown(w, notice.toLatin1().constData()), kTimeout);
        QVERIFY2(labelText(w, label.toLatin1().constData()).contains(says),
                 qPrintable(labelText(w, label.toLatin1().constData())));
        QVERIFY(log.contains(QStringLiteral("link problem told:")));
        // No phone is usable: the phone page does not show.
        QTRY_VERIFY_WITH_TIMEOUT(shown(w, page.toLatin1().constData()), kTimeout);
        QVERIFY(!shown(w, "A_MP_ConnectedInfomation_5"));
        // The loop goes on behind the notice, and never turns to the phone page.
        ShowCounter phonePage(widget(w, "A_MP_ConnectedInfomation_5"));
        const int calls = phone.calls().size();
        QTRY_VERIFY_WITH_TIMEOUT(phone.calls().size() > calls + 3, kTimeout);
        QVERIFY(!log.contains(QStringLiteral("after get serial check")));
        QCOMPARE(phonePage.shows, 0);
        QString why;
        QVERIFY2(retriesCalmly([&] { return callsStartingWith(phone, round); }, perRound, &why), qPrintable(why));

        apply(phone, remedy);
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(handOver.armed);
        QVERIFY(handOver.phonePageShown);
        QVERIFY(!shown(w, notice.toLatin1().constData()));
        QVERIFY(log.contains(QStringLiteral("link problem over:")));
    }

    // The port-used notice names a foreign holder of port 5037, or tells that
    // netstat fails, from the first round; the port check behind it repeats
    // calmly until the port is free.
    void portUsedNoticeRetriesCalmly_data()
    {
        QTest::addColumn<QVariantMap>("cause");
        QTest::addColumn<QVariantMap>("remedy");
        QTest::addColumn<QString>("holder"); // the name on the notice
        QTest::addColumn<int>("perRound");   // netstat runs in one round
        QTest::newRow("foreign program on 5037")
            << QVariantMap{{"netstat.lines", kHolder5037}, {"tasklist.4321", "foreign.exe"}}
            << QVariantMap{{"netstat.lines", QVariant()}} << "foreign.exe" << 2;
        QTest::newRow("netstat fails")
            << QVariantMap{{"fault.netstat.exit", "1"}} << QVariantMap{{"fault.netstat.exit", QVariant()}} << "" << 1;
    }
    void portUsedNoticeRetriesCalmly()
    {
        QFETCH(QVariantMap, cause);
        QFETCH(QVariantMap, remedy);
        QFETCH(QString, holder);
        QFETCH(int, perRound);
        LinkRun run;
        QVERIFY(run.start(cause));

        QTRY_VERIFY_WITH_TIMEOUT(shown(*run.w, "A_MP_D_PortUsed"), kTimeout);
        QCOMPARE(labelText(*run.w, "A_MP_D_PortUsed_Label_Info"), holder);
        QString why;
        QVERIFY2(retriesCalmly([&] { return callsStartingWith(run.phone, QStringLiteral("netstat")); }, perRound,
                               &why),
                 qPrintable(why));
        QVERIFY(shown(*run.w, "A_MP_D_PortUsed"));

        apply(run.phone, remedy);
        QTRY_VERIFY_WITH_TIMEOUT(run.log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(run.handOver.phonePageShown);
        QVERIFY(!shown(*run.w, "A_MP_D_PortUsed"));
    }

    // adb cannot be started: the notice says where it was looked for; once
    // it is there, the sequence goes on by itself.
    void adbNotFound()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        ToolsWithoutAdb tools;
        QVERIFY(tools.make());
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);

        QTRY_VERIFY_WITH_TIMEOUT(shown(w, "A_MP_D_LinkHelp"), kTimeout);
        QVERIFY(labelText(w, "A_MP_D_LinkHelp_Label_Heading").contains(QLatin1String("(adb) was not found")));
        QVERIFY(labelText(w, "A_MP_D_LinkHelp_Label_Text").contains(QDir::toNativeSeparators(tools.dir.path())));
        QVERIFY(log.contains(QStringLiteral("command not started:")));
        QString why;
        QVERIFY2(retriesCalmly([&] { return log.count(QStringLiteral("command not started:")); }, 1, &why),
                 qPrintable(why));

        QVERIFY(tools.addAdb());
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(handOver.phonePageShown);
        QVERIFY(!shown(w, "A_MP_D_LinkHelp"));
    }

    // The package file is not where it is installed from: the notice names
    // the place; a file put there is installed.
    void packageFileMissing()
    {
        const QString apk = QDir::current().filePath(QStringLiteral("Purgatex.apk"));
        if (QFile::exists(apk))
            QSKIP("a Purgatex.apk lies in the working folder");
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set({{"installed", "0"}, {"install.check_file", "1"}});
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);

        QTRY_VERIFY_WITH_TIMEOUT(shown(w, "A_MP_D_LinkHelp"), kTimeout);
        QCOMPARE(labelText(w, "A_MP_D_LinkHelp_Label_Heading"),
                 QStringLiteral("The app package Purgatex.apk is missing"));
        QVERIFY(labelText(w, "A_MP_D_LinkHelp_Label_Text").contains(QDir::toNativeSeparators(apk)));
        QVERIFY(shown(w, "A_MP_IsInstalling_4"));
        QString why;
        QVERIFY2(retriesCalmly([&] { return callsStartingWith(phone, QStringLiteral("adb install")); }, 1, &why),
                 qPrintable(why));

        PackageFile file;
        QVERIFY(file.make());
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(handOver.phonePageShown);
        QVERIFY(!shown(w, "A_MP_D_LinkHelp"));
    }

    // pm lists every package whose name holds the companion's: one that only
    // starts with it is not the companion, which is then installed.
    void packageThatOnlyStartsWithTheCompanionsName()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set({{"installed", "0"},
                   {"fault.pm.stdout", "package:org.qtproject.example.gallery\n"},
                   {"fault.pm.times", "1"}});
        LogCapture log;
        MainWindow w;
        HandOver handOver;
        handOver.watch(log, w);

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(log.inOrder({"start has apk;no e,no apk,hd;start install", "installed", "start test start activity"}));
        QCOMPARE(phone.value(QStringLiteral("installed")), QStringLiteral("1"));
    }

    // A hung command is ended at its time-out and counts as failed: its step
    // takes the failure path; once the command answers again, the sequence
    // reaches the phone page.
    void hungCommandTimesOut_data()
    {
        QTest::addColumn<QVariantMap>("scenario");
        QTest::addColumn<QString>("hang"); // the command of the fault keys
        QTest::addColumn<QStringList>("lines");

        const QVariantMap holder5037{{"netstat.lines", "  TCP    127.0.0.1:5037         0.0.0.0:0              "
                                                       "LISTENING       4321"},
                                     {"tasklist.4321", "foreign.exe"}};
        const QVariantMap holder10000{{"fault.forward.stdout", kCannotBind},
                                      {"fault.forward.times", "1"},
                                      {"netstat.lines", kHolder10000},
                                      {"tasklist.6120", "guard.exe"}};
        QTest::newRow("adb devices") << QVariantMap() << "devices"
                                     << QStringList{"start usb", "command timed out:", "usb result error:",
                                                    "start usb,e,no offline,start killforRsa"};
        QTest::newRow("netstat") << QVariantMap() << "netstat"
                                 << QStringList{"start test port", "command timed out:", "result error:", "port,e"};
        QTest::newRow("tasklist") << holder5037 << "tasklist"
                                  << QStringList{"start test get pid's Name", "command timed out:", "result error:",
                                                 "after get pid's name of 5037 while",
                                                 "start test read soft pid use 5037"};
        QTest::newRow("taskkill") << holder10000 << "taskkill"
                                  << QStringList{"start kill other soft use 10000", "command timed out:",
                                                 "result error:", "after kill other soft use 10000 while",
                                                 "start test get pid's Name"};
        QTest::newRow("adb start-server") << QVariantMap() << "start-server"
                                          << QStringList{"start adb server", "command timed out:",
                                                         "start adb result error:", "start adb,e"};
        QTest::newRow("adb install") << QVariantMap{{"installed", "0"}} << "install"
                                     << QStringList{"start install apk", "command timed out:",
                                                    "install apk result error:", "after install while",
                                                    "install wrong"};
    }
    void hungCommandTimesOut()
    {
        QFETCH(QVariantMap, scenario);
        QFETCH(QString, hang);
        QFETCH(QStringList, lines);
        SimPhone phone;
        QVERIFY(phone.isValid());
        apply(phone, scenario);
        phone.setFault(hang, QStringLiteral("hang"), QStringLiteral("1"));
        LogCapture log;
        MainWindow w;
        // Short enough to keep the suite quick, long enough that a command
        // that is only slow on a loaded machine is not taken for the hung one.
        w.m_shortCommandMs = 2000;
        w.m_adbCommandMs = 2500;
        w.m_installSilenceMs = 2500;
        HandOver handOver;
        handOver.watch(log, w);

        QTRY_VERIFY_WITH_TIMEOUT(log.inOrder(lines), kTimeout);
        QVERIFY(!log.contains(QStringLiteral("after get serial check")));

        phone.clearFaults(hang);
        phone.remove(QStringLiteral("netstat.lines"));
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(handOver.phonePageShown);
    }

    // `adb install` of a large package prints progress for longer than its
    // time-out: while output keeps coming, it is not hung.
    void installThatKeepsPrintingIsNotCutShort()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set({{"installed", "0"}, {"install.chunks", "30"}, {"install.chunk_ms", "100"}});
        LogCapture log;
        MainWindow w;
        w.m_installSilenceMs = 1000;
        HandOver handOver;
        handOver.watch(log, w);

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("after get serial check")), kTimeout);
        QVERIFY(!log.contains(QStringLiteral("command timed out:")));
        QVERIFY(log.inOrder({"start install apk", "check install result right", "installed"}));
    }

    // The close button works while a command hangs: the command is ended,
    // the exit command runs, and the program quits.
    void closeWhileACommandHangs_data()
    {
        QTest::addColumn<QVariantMap>("scenario");
        QTest::addColumn<QString>("hang");
        QTest::addColumn<QString>("startLine");
        QTest::addColumn<QString>("call"); // the hung command line, in part
        QTest::newRow("adb start-server") << QVariantMap() << "start-server" << "start adb server"
                                          << "adb start-server";
        QTest::newRow("netstat") << QVariantMap() << "netstat" << "start test port" << "netstat";
        QTest::newRow("adb install") << QVariantMap{{"installed", "0"}} << "install" << "start install apk"
                                     << "adb install";
    }
    void closeWhileACommandHangs()
    {
        QFETCH(QVariantMap, scenario);
        QFETCH(QString, hang);
        QFETCH(QString, startLine);
        QFETCH(QString, call);
        SimPhone phone;
        QVERIFY(phone.isValid());
        apply(phone, scenario);
        phone.setFault(hang, QStringLiteral("hang"), QStringLiteral("1"));
        LogCapture log;
        MainWindow w;
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(startLine), kTimeout);
        // The command is running and hangs: the simulated tool has noted its
        // call and waits for the fault to be cleared.
        QTRY_VERIFY_WITH_TIMEOUT(callsStartingWith(phone, call) > 0, kTimeout);

        qobject_cast<QAbstractButton *>(widget(w, "S_Close_Button"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(phone.calls().contains(QStringLiteral("taskkill /f /im Purgatex.exe")), kTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("close command over, quitting")), kTimeout);
        QVERIFY(log.contains(QStringLiteral("step abandoned:")));
        QVERIFY(!log.contains(QStringLiteral("command timed out:")));
        for (QTimer *t : linkTimers(w))
            QVERIFY(!t->isActive());
    }
};

QTEST_MAIN(TestLinkLoops)
#include "tst_linkloops.moc"
