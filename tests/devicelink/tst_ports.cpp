// Port 5037 conflicts end to end: the real window against the simulated PC.
#include "devicelinktest.h"
#include "support/simphone.h"

#include <QLabel>
#include <QtTest>

namespace {
const int kTimeout = 20000;
}

class TestPorts : public QObject
{
    Q_OBJECT
private slots:
    void port5037_data()
    {
        QTest::addColumn<QString>("netstatLine");
        QTest::addColumn<int>("pid");
        QTest::addColumn<QString>("image");
        QTest::addColumn<bool>("foreign"); // a foreign holder is reported and left alone

        QTest::newRow("foreign program listening")
            << "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       4321" << 4321
            << "foreign.exe" << true;

        QTest::newRow("upper-case ADB is not an adb server")
            << "  TCP    127.0.0.1:5037         0.0.0.0:0              LISTENING       4321" << 4321 << "ADB.EXE"
            << true;
        // Ports 50370-50379 are in Windows' ephemeral range: a browser's
        // connection, or a process whose id holds the digits, is no holder.
        QTest::newRow("port 50370 listening: free")
            << "  TCP    0.0.0.0:50370          0.0.0.0:0              LISTENING       4410" << 4410
            << "foreign.exe" << false;
        QTest::newRow("browser from local port 50371: free")
            << "  TCP    192.168.1.20:50371     142.250.185.78:443     ESTABLISHED     4410" << 4410
            << "chrome.exe" << false;
        QTest::newRow("process 15037: free")
            << "  TCP    0.0.0.0:445            0.0.0.0:0              LISTENING       15037" << 15037
            << "chrome.exe" << false;
        QTest::newRow("only TIME_WAIT: free")
            << "  TCP    127.0.0.1:5037         127.0.0.1:52394        TIME_WAIT       0" << 0 << "" << false;
        QTest::newRow("nothing on 5037: free") << "" << 0 << "" << false;
    }
    void port5037()
    {
        QFETCH(QString, netstatLine);
        QFETCH(int, pid);
        QFETCH(QString, image);
        QFETCH(bool, foreign);
        SimPhone phone;
        QVERIFY(phone.isValid());
        if (!netstatLine.isEmpty())
            phone.setNetstatLines({netstatLine});
        if (pid)
            phone.setTask(pid, image);
        LogCapture log;
        MainWindow w;

        if (!foreign) {
            QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start adb,no e,started")), kTimeout);
            QCOMPARE(phone.calls().mid(0, 2),
                     (QStringList{QStringLiteral("netstat -anop tcp"), QStringLiteral("adb start-server")}));
            QVERIFY(!shown(w, "A_MP_D_PortUsed"));
            return;
        }

        // The check repeats while the program holds the port; nothing is ended.
        QTRY_VERIFY_WITH_TIMEOUT(log.count(QStringLiteral("port,no e,use")) >= 3, kTimeout);
        QVERIFY(shown(w, "A_MP_D_PortUsed"));
        QVERIFY(shown(w, "A_MP_PleaseConnect_1"));
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("A_MP_D_PortUsed_Label_Info"))->text(), image);
        const QStringList calls = phone.calls();
        QCOMPARE(calls.at(2), QStringLiteral("tasklist /fi \"pid eq %1\"").arg(pid));
        for (const QString &call : calls) {
            QVERIFY2(!call.startsWith(QLatin1String("taskkill")) && !call.startsWith(QLatin1String("adb")),
                     qPrintable(call));
        }
        QVERIFY(log.inOrder({"start test port", "port,no e,use", "start test read soft pid use 5037",
                             "find soft pid,is:", "start test get pid's Name", "after get pid's name of 5037 while",
                             "start test port"}));

        // Once the program lets go of the port, the sequence goes on.
        phone.setNetstatLines({});
        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start adb,no e,started")), kTimeout);
        QVERIFY(!shown(w, "A_MP_D_PortUsed"));
    }

    // An adb server of another installation holds 5037: it is asked to quit,
    // and the port check starts over.
    void adbServerOn5037IsStopped()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set({{"netstat.adb_server", "1"}, {"server.running", "1"}});
        LogCapture log;
        MainWindow w;

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start adb,no e,started")), kTimeout);
        QCOMPARE(phone.calls().mid(0, 6), (QStringList{
                                              QStringLiteral("netstat -anop tcp"),
                                              QStringLiteral("netstat -anop tcp"),
                                              QStringLiteral("tasklist /fi \"pid eq 23188\""),
                                              QStringLiteral("adb kill-server"),
                                              QStringLiteral("netstat -anop tcp"),
                                              QStringLiteral("adb start-server"),
                                          }));
        QVERIFY(log.inOrder({"port,no e,use", "start kill adb", "kill adb right", "after kill adb check",
                             "start test port", "port,no e,no use"}));
        QVERIFY(!shown(w, "A_MP_D_PortUsed"));
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("A_MP_D_PortUsed_Label_Info"))->text(),
                 QStringLiteral("adb.exe"));
    }

    // netstat itself fails: the port-used notice, and the check again.
    void netstatFailureRetries()
    {
        SimPhone phone;
        QVERIFY(phone.isValid());
        phone.set({{"fault.netstat.exit", "1"}, {"fault.netstat.stderr", "The requested operation failed.\\n"},
                   {"fault.netstat.times", "2"}});
        LogCapture log;
        MainWindow w;
        bool noticeShownOnError = false;
        log.onLine(QStringLiteral("port,e"), [&] { noticeShownOnError = shown(w, "A_MP_D_PortUsed"); });

        QTRY_VERIFY_WITH_TIMEOUT(log.contains(QStringLiteral("start adb,no e,started")), kTimeout);
        QVERIFY(noticeShownOnError);
        QCOMPARE(log.count(QStringLiteral("port,e")), 2);
        QVERIFY(log.inOrder({"result error:", "The requested operation failed.", "port,e"}));
        QVERIFY(!shown(w, "A_MP_D_PortUsed"));
    }
};

QTEST_MAIN(TestPorts)
#include "tst_ports.moc"
