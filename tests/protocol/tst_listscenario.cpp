// Lists and erase batches far beyond the usual sizes, between the real window
// and the companion-app simulator: a list over the bound of a scan is stored
// up to the bound and reported incomplete, never erased; a list that never
// ends keeps memory bounded; a batch of 70,000 keys is counted whole.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "support/windowrig.h"

#include <QHostAddress>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QtTest>

namespace {

constexpr int kWait = 60000;

// Large lists take longer than the rig's usual wait.
struct Rig : rig::Rig
{
    using rig::Rig::Rig;
    bool scan(QAbstractButton *scope) { return rig::Rig::scan(scope, kWait); }
    bool eraseNow() { return rig::Rig::eraseNow(kWait); }

    QString report() const { return w.ui->M_EraseCompleted_Label_Text->text(); }

    int erased(Category c) const { return erasedKeys(c).size(); }
};

const QString kAllErased = QStringLiteral("All data on your device has been erased permanently!");

} // namespace

class TestListScenario : public QObject
{
    Q_OBJECT

private slots:
    void listOverTheBoundIsReportedIncomplete_data();
    void listOverTheBoundIsReportedIncomplete();
    void endlessListStopsAtTheBound();
    void wideBatchIsCountedWhole_data();
    void wideBatchIsCountedWhole();
};

void TestListScenario::listOverTheBoundIsReportedIncomplete_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("bound");
    QTest::newRow("all, messages") << int(EraseType::All) << int(Message) << 20;
    QTest::newRow("all, photos") << int(EraseType::All) << int(Photo) << 5;
    QTest::newRow("app, facebook") << int(EraseType::App) << int(Facebook) << 2;
    QTest::newRow("private, messages, all ticked") << int(EraseType::Private) << int(Message) << 20;
}

void TestListScenario::listOverTheBoundIsReportedIncomplete()
{
    QFETCH(int, scope);
    QFETCH(int, category);
    QFETCH(int, bound);
    Rig r(SimDataSet::generate(6));
    r.sim.setDefaultSmsApp(true);
    QVERIFY(r.sim.data().lists[category].size() > bound);
    r.w.m_maxListRecords = bound;
    QVERIFY(r.connect());

    QAbstractButton *scopeButton = scope == int(EraseType::All) ? r.w.ui->S_All_Button
        : scope == int(EraseType::App)                          ? r.w.ui->S_App_Button
                                                                : r.w.ui->S_Private_Button;
    QVERIFY(r.scan(scopeButton));
    QVERIFY(r.w.m_listIncomplete[category]);
    if (scope == int(EraseType::App)) {
        QTest::mouseClick(r.w.ui->EApp_RatioButton_Facebook, Qt::LeftButton);
        QTest::mouseClick(r.w.ui->EApp_PushButton_Erase, Qt::LeftButton);
    } else if (scope == int(EraseType::Private)) {
        QTest::mouseClick(r.w.ui->EP_IsScanning_PushButton_Message, Qt::LeftButton);
        QTableWidget *t = r.w.categoryTable(Message);
        QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, t->visualItemRect(t->item(0, 2)).center());
        QTest::mouseClick(r.w.ui->EP_IsScanning_PushButton_Erase, Qt::LeftButton);
    }
    QVERIFY(rig::waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }, kWait));
    QVERIFY(r.eraseNow());

    // What was read is erased; the category is never claimed erased.
    QCOMPARE(r.erased(Category(category)), bound);
    QVERIFY2(r.report() != kAllErased, qPrintable(r.report()));
    const QString name = category == Facebook ? "Facebook" : category == Photo ? "Photo" : "Message";
    const QRegularExpression unread("could not be read whole from the phone \\(([^)]*)\\)");
    const QStringList listed = unread.match(r.report()).captured(1).split(", ");
    QVERIFY2(listed.contains(name), qPrintable(r.report()));
    QVERIFY(r.w.m_eraseAccount.listIncomplete(category));
    QCOMPARE(r.w.m_eraseAccount.outcome(), workflow::EraseAccount::Outcome::CompletedWithFailures);

}

// A peer whose list never ends: the window stores up to the bound and no
// more, its accumulator holds no more than one record, and the category is
// incomplete, while the peer goes on sending.
void TestListScenario::endlessListStopsAtTheBound()
{
    Rig r(SimDataSet::generate(6));
    r.sim.setEndlessList(Contact, 500);
    r.w.m_maxListRecords = 3000;
    QVERIFY(r.connect());
    QVERIFY(rig::startScan(r.w, r.w.ui->S_Private_Button));
    QVERIFY(rig::waitFor(r.w, [&] { return r.sim.endlessRecordsSent() >= 12000; }, kWait));
    QTRY_VERIFY_WITH_TIMEOUT(r.w.m_listIncomplete[Contact], kWait);
    const int sent = r.sim.endlessRecordsSent();
    QVERIFY(rig::waitFor(r.w, [&] { return r.sim.endlessRecordsSent() >= sent + 3000; }, kWait));
    QCOMPARE(r.w.m_contactMapIdData.size(), 3000);
    QCOMPARE(r.w.m_contactMapNumberId.size(), 3000);
    QVERIFY(r.w.m_chunkText[Contact].size() <= r.w.m_maxRecordChars);
    QCOMPARE(r.w.m_workPhase, Scanning);
    r.sim.setEndlessList(CategoryCount);
}

void TestListScenario::wideBatchIsCountedWhole_data()
{
    QTest::addColumn<bool>("phoneFails");
    QTest::newRow("every key fails") << true;
    QTest::newRow("every key erased") << false;
}

// 70,000 contacts in one batch: sent and failed counters go past 65,535, so
// the batch ends with its last answer and the report counts every failure.
void TestListScenario::wideBatchIsCountedWhole()
{
    QFETCH(bool, phoneFails);
    constexpr int kContacts = 70000;
    SimDataSet data = SimDataSet::generate(0);
    data.lists[Contact] = SimDataSet::generateContacts(kContacts);
    for (int c = History; c < CategoryCount; ++c)
        data.lists[c].clear();
    data.photoData.clear();
    Rig r(data);
    if (phoneFails) {
        QSet<QString> keys;
        for (const QString &contact : qAsConst(data.lists[Contact]))
            keys << contact.section(';', 0, 0);
        r.sim.setUnerasableKeys(keys);
    }
    QVERIFY(r.connect());
    QVERIFY(r.scan(r.w.ui->S_All_Button));
    QCOMPARE(r.w.m_contactMapIdData.size(), kContacts);
    QVERIFY(r.eraseNow());
    QCOMPARE(r.erased(Contact), kContacts);
    QCOMPARE(r.sim.eraseRequests().last().batchSize, quint32(kContacts));
    QCOMPARE(r.w.m_eraseSentCount[Contact], quint32(kContacts));
    if (phoneFails) {
        QCOMPARE(r.w.m_eraseFailCount[Contact], quint32(kContacts));
        QCOMPARE(r.report(), QString("Nothing was erased. 70000 items could not be erased (Contact: 70000)."));
    } else {
        QCOMPARE(r.report(), kAllErased);
    }
}

QTEST_MAIN(TestListScenario)
#include "tst_listscenario.moc"
