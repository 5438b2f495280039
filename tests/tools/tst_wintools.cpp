#include "devicelink/outputrules.h"
#include "wintools/procinfo.h"
#include "wintools/winformat.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

// The Windows-format netstat, tasklist and taskkill for Linux, run for real
// on this machine, read with the separators the device link uses.
class TestWinTools : public QObject
{
    Q_OBJECT

private:
    struct Run {
        int exitCode = -1;
        QString out;
        QString err;
    };
    static QString helper(const QString &name)
    {
        return qEnvironmentVariable("PURGATEX_BUILD_DIR") + QStringLiteral("/helpers/") + name;
    }
    static Run run(const QString &tool, const QStringList &args)
    {
        QProcess p;
        p.start(helper(tool), args);
        Run r;
        if (!p.waitForFinished(20000))
            return r;
        r.exitCode = p.exitCode();
        r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
        r.err = QString::fromLocal8Bit(p.readAllStandardError());
        return r;
    }
    // The device link's reading: lines at CRLF, columns at two blanks.
    static QStringList columnsOf(const QString &netstat, const QString &local)
    {
        for (const QString &line : netstat.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            const QStringList parts = line.split(QStringLiteral("  "), Qt::SkipEmptyParts);
            if (parts.size() >= 5 && parts.at(1).trimmed() == local)
                return parts;
        }
        return {};
    }
    // A copy of sleep under a name no other process on the machine has.
    QString uniqueSleeper(const QString &suffix)
    {
        const QString path = m_bin.path() + QStringLiteral("/pgx%1%2").arg(getpid()).arg(suffix);
        if (!QFile::exists(path))
            QFile::copy(QStringLiteral("/bin/sleep"), path);
        return path;
    }

    QTemporaryDir m_bin;

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo(helper("netstat")).isExecutable());
        QVERIFY(m_bin.isValid());
    }

    void netstatListsOurSockets_data()
    {
        QTest::addColumn<quint16>("port");
        QTest::newRow("free port") << quint16(0);
        QTest::newRow("adb port 5037") << quint16(5037);
    }

    void netstatListsOurSockets()
    {
        QFETCH(quint16, port);
        QTcpServer server;
        if (!server.listen(QHostAddress(QStringLiteral("127.0.0.1")), port))
            QSKIP("port in use by another program");
        QTcpSocket client;
        client.connectToHost(QStringLiteral("127.0.0.1"), server.serverPort());
        QVERIFY(client.waitForConnected(5000));
        QTRY_VERIFY(server.hasPendingConnections());
        const QString listenAt = QStringLiteral("127.0.0.1:%1").arg(server.serverPort());
        const QString clientAt = QStringLiteral("127.0.0.1:%1").arg(client.localPort());

        const Run r = run("netstat", {"-anop", "tcp"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.startsWith(QStringLiteral(
            "\r\nActive Connections\r\n\r\n  Proto  Local Address          Foreign Address        State           PID\r\n")));
        const QString pid = QString::number(QCoreApplication::applicationPid());

        const QStringList listening = columnsOf(r.out, listenAt);
        QCOMPARE(listening.value(0).trimmed(), QStringLiteral("TCP"));
        QCOMPARE(listening.value(2).trimmed(), QStringLiteral("0.0.0.0:0"));
        QVERIFY2(listening.value(3).contains(QStringLiteral("LISTENING")), qPrintable(listening.join('|')));
        QCOMPARE(listening.value(4).trimmed(), pid);

        const QStringList established = columnsOf(r.out, clientAt);
        QCOMPARE(established.value(2).trimmed(), listenAt);
        QVERIFY(established.value(3).contains(QStringLiteral("ESTABLISHED")));
        QCOMPARE(established.value(4).trimmed(), pid);
    }

    // The device link's port rules find a holder through this netstat, and its
    // name through this tasklist, as they would on Windows.
    // (Port 10000 is left alone: the companion simulator's tests listen there.)
    void portRulesFindTheHolder()
    {
        QTcpServer server;
        if (!server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 5037))
            QSKIP("port in use by another program");
        const Run r = run("netstat", {"-anop", "tcp"});
        QCOMPARE(r.exitCode, 0);
        const QString ownPid = QString::number(QCoreApplication::applicationPid());
        QVERIFY(devicelink::port5037Used(r.out));
        const QString pid = devicelink::holderPid5037(r.out);
        QCOMPARE(pid, ownPid);

        QProcess tasklist;
        tasklist.start(helper("tasklist"), devicelink::tasklistArguments(pid));
        QVERIFY(tasklist.waitForFinished(20000));
        QCOMPARE(devicelink::imageNameForPid(QString::fromLocal8Bit(tasklist.readAllStandardOutput()), pid),
                 QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    }

    void tcpTableParsing_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<bool>("v6");
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("remote");
        QTest::addColumn<QString>("state");
        const QByteArray head4 = "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n";
        const QByteArray head6 = "  sl  local_address                         remote_address                        st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode\n";
        QTest::newRow("adb server") << head4 + "   0: 0100007F:13AD 00000000:0000 0A 00000000:00000000 00:00000000 00000000     0        0 318854 1 0000000000000000 100 0 0 10 0\n"
                                    << false << "127.0.0.1:5037" << "0.0.0.0:0" << "LISTENING";
        QTest::newRow("time wait") << head4 + "   3: 1401A8C0:0BFF 0E05780C:0050 06 00000000:00000000 03:00000D2E 00000000     0        0 0 3 0000000000000000\n"
                                   << false << "192.168.1.20:3071" << "12.120.5.14:80" << "TIME_WAIT";
        QTest::newRow("v6 loopback") << head6 + "   0: 00000000000000000000000001000000:13AD 00000000000000000000000000000000:0000 0A 00000000:00000000 00:00000000 00000000  1000        0 41261 1 0000000000000000 100 0 0 10 0\n"
                                     << true << "[::1]:5037" << "[::]:0" << "LISTENING";
        QTest::newRow("v4 mapped") << head6 + "   1: 0000000000000000FFFF00000100007F:2710 0000000000000000FFFF00000100007F:C3A2 01 00000000:00000000 00:00000000 00000000  1000        0 41262 1 0000000000000000 20 4 30 10 -1\n"
                                   << true << "[::ffff:127.0.0.1]:10000" << "[::ffff:127.0.0.1]:50082" << "ESTABLISHED";
    }

    void tcpTableParsing()
    {
        QFETCH(QByteArray, table);
        QFETCH(bool, v6);
        QFETCH(QString, local);
        QFETCH(QString, remote);
        QFETCH(QString, state);
        const QList<wintools::TcpSocket> sockets = wintools::parseTcpTable(table, v6);
        QCOMPARE(sockets.size(), 1);
        const wintools::TcpSocket &s = sockets.first();
        QCOMPARE(wintools::endpointText(s.localAddr, s.localPort, v6), local);
        QCOMPARE(wintools::endpointText(s.remoteAddr, s.remotePort, v6), remote);
        QCOMPARE(wintools::tcpStateWord(s.state), state);
    }

    void longAddressesKeepTwoBlanks()
    {
        const QString line = wintools::netstatLine("TCP", "[fe80::1c2d:3e4f:5a6b:7c8d%3]:49731",
                                                   "[2001:db8:85a3::8a2e:370:7334]:443", "ESTABLISHED", "4242");
        const QStringList parts = line.trimmed().split("  ", Qt::SkipEmptyParts);
        QCOMPARE(parts.size(), 5);
        QCOMPARE(parts.at(3).trimmed(), QStringLiteral("ESTABLISHED"));
        QCOMPARE(parts.at(4).trimmed(), QStringLiteral("4242")); // an odd run of blanks leaves one in front
    }

    void tasklistNamesOurProcess()
    {
        const QString pid = QString::number(QCoreApplication::applicationPid());
        // the program runs it as one command line string
        const QStringList line = QProcess::splitCommand(helper("tasklist") + " /fi \"pid eq " + pid + "\"");
        QProcess p;
        p.start(line.first(), line.mid(1));
        QVERIFY(p.waitForFinished(20000));
        QCOMPARE(p.exitCode(), 0);
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
        QString name;
        for (const QString &l : out.split("\r\n", Qt::SkipEmptyParts)) {
            if (l.contains(pid)) {
                name = l.split(' ', Qt::SkipEmptyParts).value(0);
                break;
            }
        }
        QCOMPARE(name, QFileInfo(QCoreApplication::applicationFilePath()).fileName());

        QCOMPARE(run("tasklist", {"/fi", "pid eq 0"}).out,
                 QStringLiteral("INFO: No tasks are running which match the specified criteria.\r\n"));
    }

    void taskkillEndsNamedChild_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("by name") << "name";
        QTest::newRow("by name with .exe") << "exe";
        QTest::newRow("by pid") << "pid";
    }

    void taskkillEndsNamedChild()
    {
        QFETCH(QString, how);
        const QString path = uniqueSleeper(how);
        const QString name = QFileInfo(path).fileName();
        QProcess child;
        child.start(path, {"30"});
        QVERIFY(child.waitForStarted());
        const QString pid = QString::number(child.processId());
        const QStringList args = how == "pid" ? QStringList{"/f", "/pid", pid}
                                              : QStringList{"/f", "/im", how == "exe" ? name + ".exe" : name};
        const Run r = run("taskkill", args);
        QCOMPARE(r.exitCode, 0);
        if (how == "pid")
            QCOMPARE(r.out, QStringLiteral("SUCCESS: The process with PID %1 has been terminated.\r\n").arg(pid));
        else
            QCOMPARE(r.out, QStringLiteral("SUCCESS: The process \"%1\" with PID %2 has been terminated.\r\n")
                                .arg(name, pid));
        QVERIFY(child.waitForFinished(5000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    }

    void taskkillRefuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stderrText");
        QTest::newRow("unknown name") << QStringList{"/f", "/im", "no-such-program.exe"} << 128
                                      << "ERROR: The process \"no-such-program.exe\" not found.\r\n";
        QTest::newRow("unknown pid") << QStringList{"/f", "/pid", "999999999"} << 128
                                     << "ERROR: The process \"999999999\" not found.\r\n";
        QTest::newRow("init") << QStringList{"/f", "/pid", "1"} << 1
                              << "could not be terminated.\r\nReason: This is critical system process.";
        QTest::newRow("no target") << QStringList{"/f"} << 1 << "ERROR: Invalid syntax.";
    }

    void taskkillRefuses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, stderrText);
        const Run r = run("taskkill", args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(stderrText), qPrintable(r.err));
        QVERIFY(r.out.isEmpty());
    }

    void taskkillSparesNearNamesAndCallersAbove()
    {
        const QString path = uniqueSleeper("near");
        QProcess child;
        child.start(path, {"30"});
        QVERIFY(child.waitForStarted());
        // a prefix of the name is another name
        QCOMPARE(run("taskkill", {"/f", "/im", QFileInfo(path).fileName().chopped(1)}).exitCode, 128);
        // this test is above the shell that runs taskkill: it is not ended
        QProcess sh;
        sh.start("/bin/sh", {"-c", "\"$0\" /f /pid $PPID; echo \"exit $?\"", helper("taskkill")});
        QVERIFY(sh.waitForFinished(20000));
        QVERIFY(sh.readAllStandardOutput().contains("exit 1"));
        QCOMPARE(child.state(), QProcess::Running);
        child.kill();
        child.waitForFinished(5000);
    }

    void imageNames_data()
    {
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("process");
        QTest::addColumn<bool>("matches");
        QTest::newRow("same") << "adb" << "adb" << true;
        QTest::newRow("exe suffix") << "Purgatex.exe" << "Purgatex" << true;
        QTest::newRow("upper-case suffix") << "Purgatex.EXE" << "Purgatex" << true;
        QTest::newRow("real exe name") << "tool.exe" << "tool.exe" << true;
        QTest::newRow("other case") << "purgatex.exe" << "Purgatex" << false;
        QTest::newRow("prefix") << "Purga" << "Purgatex" << false;
        QTest::newRow("empty process name") << "" << "" << false;
    }

    void imageNames()
    {
        QFETCH(QString, requested);
        QFETCH(QString, process);
        QFETCH(bool, matches);
        QCOMPARE(wintools::imageNameMatches(requested, process), matches);
    }
};

QTEST_GUILESS_MAIN(TestWinTools)
#include "tst_wintools.moc"
