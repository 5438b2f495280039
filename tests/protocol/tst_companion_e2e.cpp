// The whole way to the phone page, headless: the program runs its device
// link against the simulated adb and talks to the companion-app simulator;
// a companion app that goes away or answers like a web server sends the
// program back to the device link.

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QtTest>

#include "companionsimulator.h"
#include "protocol/messages.h"
#include "protocoltest.h"
#include "simphone.h"
#include "ui_mainwindow.h"

class TestCompanionEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void reachesThePhonePage_data();
    void reachesThePhonePage();
};

void TestCompanionEndToEnd::reachesThePhonePage_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("all data scanned and erased") << QStringLiteral("erase all");
    QTest::newRow("companion app goes away") << QStringLiteral("drop");
    QTest::newRow("a web server answers") << QStringLiteral("http");
}

void TestCompanionEndToEnd::reachesThePhonePage()
{
    QFETCH(QString, fault);
    SimPhone phone;
    QVERIFY(phone.isValid());
    phone.set(QStringLiteral("battery.level"), 67);

    CompanionSimulator sim;
    sim.data().homeInfo = QStringLiteral("Nimbus Z7;11;R58N91XKQ2B;30;arm64;64 GB;16 GB;128 GB;96 GB");
    QVERIFY(sim.listen());

    MainWindow w; // arms the port check: the device link runs by itself
    w.m_companionPort = sim.port();

    QTRY_VERIFY_WITH_TIMEOUT(w.m_homeInfoReadable, 30000);
    QVERIFY(!w.ui->A_MP_ConnectedInfomation_5->isHidden());
    QCOMPARE(w.m_programType, ProgramType::Idle);
    QCOMPARE(w.ui->MP_Label_Model->text(), QStringLiteral("Nimbus Z7"));
    QCOMPARE(w.ui->MP_Label_SystemVersion->text(), QStringLiteral("11"));
    QCOMPARE(w.ui->MP_Label_SerialNumber->text(), QStringLiteral("R58N91XKQ2B"));
    QTRY_VERIFY(w.ui->MP_Label_Power->text().contains(QStringLiteral("67")));
    QCOMPARE(w.ui->MP_ProgressBar_Phone->value(), 25);
    QCOMPARE(w.ui->MP_ProgressBar_Sdcard->value(), 75);
    QCOMPARE(sim.count(proto::GetHomeInfo), 1);

    if (fault == QLatin1String("erase all")) {
        // The workflow scans every category through the protocol section and
        // erases what the simulator listed.
        const int contacts = sim.data().lists[Contact].size();
        w.on_S_All_Button_clicked();
        w.on_EAll_Label_ToScan_clicked();
        QTRY_COMPARE_WITH_TIMEOUT(w.m_workPhase, Scanned, 60000);
        QCOMPARE(w.m_contactMapIdData.size(), contacts);
        QCOMPARE(w.m_photoDir.size(), sim.data().lists[Photo].size());
        QVERIFY(!w.ui->M_ConformErase_1->isHidden());
        w.ui->M_ConformErase_LineEdit_InputErase->setText(QStringLiteral("Erase"));
        w.on_M_ConformErase_PushButton_EraseNow_clicked();
        QTRY_COMPARE_WITH_TIMEOUT(w.m_eraseProgress, 100, 60000);
        for (int c = 0; c < CategoryCount; ++c)
            QVERIFY2(sim.data().lists[c].isEmpty(), proto::categoryName(Category(c)));
        QCOMPARE(sim.eraseRequests().first().key, w.m_contactMapIdData.firstKey());
        return;
    }

    const int callsBefore = phone.calls().size();
    if (fault == QLatin1String("drop")) {
        sim.stopListening();
        // Three unconnected supervision ticks, two seconds apart, then the
        // device link checks the phone again.
        QTRY_COMPARE_WITH_TIMEOUT(w.m_programType, ProgramType::ConnectingDevice, 15000);
    } else {
        sim.setHttpMode(true);
        w.getContact();
        QTRY_VERIFY_WITH_TIMEOUT(w.m_receivedHttp, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(w.m_tcpSocket->state(), QAbstractSocket::UnconnectedState, 5000);
    }
    QTRY_VERIFY_WITH_TIMEOUT(phone.calls().size() > callsBefore, 20000);
    QVERIFY(w.m_receiveFrames.buffered() == 0);
}

QTEST_MAIN(TestCompanionEndToEnd)
#include "tst_companion_e2e.moc"
