#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "browserfixture.h"
#include "companionsimulator.h"
#include "support/windowrig.h"
#include "protocol/frame.h"
#include "protocol/messages.h"

#include <QtTest>

// While thumbnails are loading, the companion app is told to stop sending
// photos, and what the user asked for happens only after it has said so.
namespace {

constexpr int kWait = 15000;

enum class Start { NewScan, Erase, AllScope, AppScope };

} // namespace
Q_DECLARE_METATYPE(Start)

class TestPhotoStop : public QObject
{
    Q_OBJECT
private slots:
    void followsTheAcknowledgement_data()
    {
        QTest::addColumn<Start>("start");
        QTest::newRow("new private scan") << Start::NewScan;
        QTest::newRow("erase button") << Start::Erase;
        QTest::newRow("all-data scope") << Start::AllScope;
        QTest::newRow("app scope") << Start::AppScope;
    }
    void followsTheAcknowledgement()
    {
        QFETCH(Start, start);
        const SimDataSet data = SimDataSet::generate(5);
        CompanionSimulator sim(data);
        MainWindow w;
        rig::quiet(w);
        QVERIFY(rig::connect(w, sim));

        // the private results are showing and the thumbnails loading
        fixture::load(w, data);
        for (int c = Contact; c <= Vedio; ++c)
            fixture::render(w, Category(c));
        w.setEraseType(EraseType::Private);
        w.m_workPhase = Scanned;
        w.hidePages();
        w.ui->C_EPrivate_IsScanning_2->show();
        w.selectCategory(Contact);
        w.startPhotoFetching();
        QVERIFY(QTest::qWaitFor([&] { return sim.count(proto::GetPhotoByName) > 0; }, kWait));

        sim.setSilent(true);
        sim.clearReceived();
        if (start == Start::NewScan) {
            QTest::mouseClick(w.ui->S_Private_Button, Qt::LeftButton);
            QTest::mouseClick(w.ui->EAll_Label_ToScan, Qt::LeftButton);
        } else if (start == Start::Erase) {
            QTest::mouseClick(w.ui->EP_IsScanning_PushButton_Erase, Qt::LeftButton);
        } else {
            QTest::mouseClick(start == Start::AllScope ? w.ui->S_All_Button : w.ui->S_App_Button,
                              Qt::LeftButton);
            QVERIFY(!w.m_timerGetPhotoByTime->isActive());
            QVERIFY(!w.m_timerUpdateTablePhoto->isActive());
        }
        QVERIFY(QTest::qWaitFor([&] { return sim.count(proto::StopGetPhoto) > 0; }, kWait));
        // a later request has reached the phone too: nothing went on meanwhile
        w.getMessageCount();
        QVERIFY(QTest::qWaitFor([&] { return sim.count(proto::GetMessageCount) > 0; }, kWait));
        QCOMPARE(sim.count(proto::PrivateLeftTime), 0);
        QVERIFY(w.ui->B_EAll_ToScan->isHidden());
        QVERIFY(w.ui->M_ConformErase_1->isHidden());

        sim.setSilent(false);
        sim.sendFrame(proto::emptyFrame(proto::StopGetPhotoBack));
        if (start == Start::NewScan) {
            QVERIFY(QTest::qWaitFor([&] { return sim.count(proto::PrivateLeftTime) == 1; }, kWait));
            QCOMPARE(w.m_workPhase, Scanning);
            QVERIFY(w.m_contactTableItems.isEmpty()); // the old results are gone
        } else if (start == Start::Erase) {
            QTRY_VERIFY_WITH_TIMEOUT(!w.ui->M_ConformErase_1->isHidden(), kWait);
            QCOMPARE(w.ui->M_ConformErase_label_Name->text(), QString("Erase Private Data"));
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!w.ui->B_EAll_ToScan->isHidden(), kWait);
            QCOMPARE(w.ui->EAll_Lable_ScanType->text(),
                     start == Start::AllScope ? QString("Erase All Data") : QString("Erase App Data"));
        }
        QVERIFY(!w.m_timerGetPhotoByTime->isActive());
    }
};

QTEST_MAIN(TestPhotoStop)
#include "tst_photostop.moc"
