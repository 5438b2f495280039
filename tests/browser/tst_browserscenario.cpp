#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "browserfixture.h"
#include "companionsimulator.h"
#include "protocol/messages.h"

#include <QHostAddress>
#include <QtTest>

// The result browser after a real private scan of the simulated phone:
// thumbnails fetched one per tick, and an erase of what the tables show.
namespace {

constexpr int kWait = 20000;

struct Rig
{
    CompanionSimulator sim;
    MainWindow w;
    explicit Rig(const SimDataSet &data) : sim(data) { w.m_timerTestPort->stop(); }

    bool connectAndScan()
    {
        if (!sim.listen())
            return false;
        w.show();
        w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, sim.port());
        if (!QTest::qWaitFor([&] { return sim.hasClient(); }, kWait))
            return false;
        w.m_programType = ProgramType::Idle;
        w.m_workPhase = None;
        w.m_sdkLevel = 28;
        w.setScopeButtonsEnabled(true);
        QTest::mouseClick(w.ui->S_Private_Button, Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return !w.ui->B_EAll_ToScan->isHidden(); }, kWait))
            return false;
        QTest::mouseClick(w.ui->EAll_Label_ToScan, Qt::LeftButton);
        return QTest::qWaitFor([&] { return w.m_workPhase == Scanned; }, kWait);
    }
};

// Two photos with a broken entry (no location) between them.
SimDataSet phoneWithThreePhotoEntries()
{
    SimDataSet d = SimDataSet::generate(5);
    QStringList &photos = d.lists[Photo];
    photos = QStringList{photos.at(0), QStringLiteral("lost.jpg;1200;jpg;"), photos.at(2)};
    return d;
}

QStringList photoRequests(const CompanionSimulator &sim)
{
    QStringList order;
    for (const QByteArray &frame : sim.receivedFrames()) {
        const quint16 type = quint16((quint8(frame[0]) << 8) | quint8(frame[1]));
        if (type == proto::GetPhotoByName)
            order << QStringLiteral("get");
        else if (type == proto::StopGetPhoto)
            order << QStringLiteral("stop");
    }
    return order;
}

} // namespace

class TestBrowserScenario : public QObject
{
    Q_OBJECT
private slots:
    void thumbnailsAfterPrivateScan()
    {
        const SimDataSet data = phoneWithThreePhotoEntries();
        Rig r(data);
        QVERIFY(r.connectAndScan());
        r.sim.clearReceived();
        QVERIFY(r.w.m_timerGetPhotoByTime->isActive());

        // two requests (the broken entry passed over), then one stop request
        QVERIFY(QTest::qWaitFor([&] { return r.sim.count(proto::StopGetPhoto) > 0; }, kWait));
        QCOMPARE(photoRequests(r.sim), QStringList({"get", "get", "stop"}));
        const QList<QByteArray> frames = r.sim.receivedFrames();
        QCOMPARE(frames.at(0), proto::photoByNameRequest(data.lists[Photo].at(0).section(';', 3)));
        QCOMPARE(frames.at(1), proto::photoByNameRequest(data.lists[Photo].at(2).section(';', 3)));
        QTRY_VERIFY_WITH_TIMEOUT(!r.w.m_timerGetPhotoByTime->isActive(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!r.w.m_timerUpdateTablePhoto->isActive(), kWait);

        QTableWidget *t = r.w.categoryTable(Photo);
        QCOMPARE(t->rowCount(), 9);
        QCOMPARE(t->item(1, 1)->whatsThis(), data.lists[Photo].at(0));
        QCOMPARE(t->item(3, 1)->whatsThis(), data.lists[Photo].at(2));
        QVERIFY(t->item(2, 1)->whatsThis().isEmpty());
        for (int row = 4; row < t->rowCount(); ++row) {
            QVERIFY(t->item(row, 1)->whatsThis().isEmpty());
            QVERIFY(t->item(row, 1)->icon().isNull());
        }
        // the preview fits 300 x 300
        r.w.selectCategory(Photo);
        emit t->itemClicked(t->item(1, 2));
        QCOMPARE(r.w.ui->EP_IsScanning_ListWidget_InfoShow->count(), 1);
        const QPixmap preview = r.w.ui->EP_IsScanning_ListWidget_InfoShow->item(0)->icon().pixmap(300, 300);
        QCOMPARE(preview.size(), QSize(300, 225)); // a 320 x 240 photo, in its proportions
        QCOMPARE(r.w.ui->EP_IsScanning_Label_PhotoLocation->text(), data.lists[Photo].at(0).section(';', 3));
    }

    // What the tables show checked is what the phone is asked to erase, each
    // key once, also when part of it was chosen through a search.
    void eraseSendsWhatTheTablesShow()
    {
        const SimDataSet data = SimDataSet::generate(14);
        Rig r(data);
        QVERIFY(r.connectAndScan());
        QTableWidget *contacts = r.w.categoryTable(Contact);
        r.w.ui->EP_IsScanning_TextBroswerEditor->setText("Lumen Works");
        QTest::mouseClick(r.w.ui->EP_IsScanning_PusuButton_SearchButton, Qt::LeftButton);
        QCOMPARE(r.w.ui->EP_IsScanning_PushButton_Contact->text(), QString("Contact(5)"));
        fixture::click(contacts, 0); // the five found
        r.w.ui->EP_IsScanning_TextBroswerEditor->clear();
        QTest::mouseClick(r.w.ui->EP_IsScanning_PusuButton_SearchButton, Qt::LeftButton);
        QCOMPARE(contacts->rowCount(), 15);
        QSet<QString> expected;
        for (int row = 1; row < contacts->rowCount(); ++row) {
            const bool lumen = contacts->item(row, 5)->text() == "Lumen Works";
            QCOMPARE(fixture::checked(contacts, row), lumen);
        }
        fixture::click(contacts, 2);
        fixture::click(contacts, 1); // a Lumen row: unchecked again
        for (int row = 1; row < contacts->rowCount(); ++row)
            if (fixture::checked(contacts, row))
                for (const QString &id : r.w.rowIds(Contact, row))
                    expected << id;
        QCOMPARE(expected.size(), 5);

        r.w.selectCategory(Photo);
        fixture::click(r.w.categoryTable(Photo), 3);

        QTest::mouseClick(r.w.ui->EP_IsScanning_PushButton_Erase, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!r.w.ui->M_ConformErase_1->isHidden(), kWait);
        QTest::keyClicks(r.w.ui->M_ConformErase_LineEdit_InputErase, "Erase");
        QTest::mouseClick(r.w.ui->M_ConformErase_PushButton_EraseNow, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(r.w.m_eraseProgress, 100, kWait);

        QStringList contactKeys;
        QStringList photoKeys;
        for (const auto &e : r.sim.eraseRequests()) {
            if (e.category == Contact)
                contactKeys << e.key;
            else if (e.category == Photo)
                photoKeys << e.key;
            else
                QFAIL(qPrintable(QString("unexpected erase of category %1").arg(e.category)));
        }
        QCOMPARE(contactKeys.size(), 5);
        QCOMPARE(QSet<QString>(contactKeys.begin(), contactKeys.end()), expected);
        QCOMPARE(photoKeys, QStringList({data.lists[Photo].at(2).section(';', 3)}));
    }

    // Calls the phone has no cached name for are stored under a later field;
    // checking the row of one such call erases that call and nothing that
    // another row shows.
    void eraseOfAnUnnamedCall()
    {
        SimDataSet data = SimDataSet::generate(6);
        QStringList &calls = data.lists[History];
        QMap<QString, QString> idOfDate;
        for (int i = 0; i < calls.size(); ++i) {
            QStringList f = calls[i].split(';');
            if (i % 4 == 3 || f[1] == "Unknown")
                f[1].clear();
            calls[i] = f.join(';');
            idOfDate.insert(f[5], f[0]);
        }
        Rig r(data);
        QVERIFY(r.connectAndScan());
        r.w.selectCategory(History);
        QTableWidget *t = r.w.categoryTable(History);
        QStringList shown;
        int target = -1;
        const QSet<QString> contactNumbers = [&] {
            QSet<QString> n;
            for (const QString &c : data.lists[Contact])
                n << c.section(';', 2, 2);
            return n;
        }();
        for (int row = 1; row < t->rowCount() && !t->item(row, 5)->text().isEmpty(); ++row) {
            shown << idOfDate.value(t->item(row, 5)->text());
            if (target < 0 && t->item(row, 1)->text().isEmpty()
                && contactNumbers.contains(t->item(row, 2)->text()))
                target = row;
        }
        QVERIFY(target > 0);
        fixture::click(t, target);

        QTest::mouseClick(r.w.ui->EP_IsScanning_PushButton_Erase, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!r.w.ui->M_ConformErase_1->isHidden(), kWait);
        QTest::keyClicks(r.w.ui->M_ConformErase_LineEdit_InputErase, "Erase");
        QTest::mouseClick(r.w.ui->M_ConformErase_PushButton_EraseNow, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(r.w.m_eraseProgress, 100, kWait);

        QSet<QString> erased;
        for (const auto &e : r.sim.eraseRequests()) {
            QCOMPARE(int(e.category), int(History));
            erased << e.key;
        }
        QVERIFY(erased.contains(shown.at(target - 1)));
        for (int row = 1; row <= shown.size(); ++row)
            QVERIFY2(row == target || !erased.contains(shown.at(row - 1)),
                     qPrintable(QString("erased %1 shown in row %2").arg(shown.at(row - 1)).arg(row)));
    }
};

QTEST_MAIN(TestBrowserScenario)
#include "tst_browserscenario.moc"
