#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "companionsimulator.h"
#include "support/windowrig.h"
#include "protocol/frame.h"
#include "protocol/messages.h"
#include "devicelink/stepdef.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include <functional>

// Scans and erases of the real window against the in-process companion-app
// simulator, driven through the widgets.
namespace {

using namespace rig;

// Every timer of a scan or an erase: the polls, the countdowns and the
// thumbnail fetch.
QList<QTimer *> workflowTimers(MainWindow &w)
{
    return pollTimers(w) + QList<QTimer *>{w.m_timerCheckStopGetPhotoBeforeErase, w.m_timerDecreaseScanTime,
                                           w.m_timerDecreaseEraseTime, w.m_timerGetPhotoByTime,
                                           w.m_timerUpdateTablePhoto};
}

QList<quint16> withoutMarkers(QList<quint16> types)
{
    types.removeAll(quint16(proto::GetMessageCount));
    return types;
}

// The keys a ticked row stands for, worked out from the records the
// simulator sent (not from the window's own row-to-id rules): every record
// of a contact, call or message row whose Number field is the row's Number
// cell; the entry of a file row.
QSet<QString> keysOfRow(const SimDataSet &data, Category c, QTableWidget *table, int row)
{
    QSet<QString> keys;
    if (c == Contact || c == History || c == Message) {
        const QString number = table->item(row, 2)->text();
        for (const QString &rec : data.lists[c])
            if (rec.section(';', 2, 2) == number)
                keys << SimDataSet::eraseKey(c, rec);
    } else {
        keys << SimDataSet::eraseKey(c, data.lists[c].at(row - 1));
    }
    return keys;
}

// What the simulator was asked to erase, per category, and whether a key
// came twice or at another level.
struct Erased
{
    QMap<int, QSet<QString>> keys;
    int repeats = 0;
    QSet<quint16> levels;
};

Erased erasedBy(const CompanionSimulator &sim)
{
    Erased e;
    for (const auto &r : sim.eraseRequests()) {
        if (e.keys[r.category].contains(r.key))
            ++e.repeats;
        e.keys[r.category] << r.key;
        e.levels << r.level;
    }
    return e;
}

} // namespace

class TestWorkflowScenario : public QObject
{
    Q_OBJECT

    // The scope, then Scan; does not wait for the scan.
    static bool scan(Rig &r, QAbstractButton *scope) { return rig::startScan(r.w, scope); }

    static bool scanned(Rig &r) { return r.waitFor([&] { return r.w.m_workPhase == Scanned; }); }

    static void typeWord(Rig &r, const QString &word)
    {
        QLineEdit *edit = r.w.ui->M_ConformErase_LineEdit_InputErase;
        edit->clear();
        QTest::keyClicks(edit, word);
    }

    // The polls of the scan and the erase (those a lost connection stops)
    // still running, by their place in the window's table of polls.
    static QList<int> workflowPollsRunning(MainWindow &w)
    {
        QList<int> running;
        const auto &polls = MainWindow::polls();
        for (int i = 0; i < polls.size(); ++i) {
            if ((polls[i].stops & MainWindow::StopsWithConnection) && (w.*polls[i].timer)->isActive())
                running << i;
        }
        return running;
    }

    // Stop and OK on the erasing page; the companion app (silent by now)
    // is made to acknowledge, and the confirm page comes back.
    static bool cancelErase(Rig &r)
    {
        if (!click(r.w.ui->M_IsErasing_PubuButton_Stop) || !click(r.w.ui->T_D_IsErasing_Stop_PushButton_Ok))
            return false;
        if (!waitFor(r.w, [&] { return r.sim.count(proto::CancelErase) == 1; }))
            return false;
        r.sim.sendFrame(proto::FrameWriter(proto::CancelEraseBack).finish());
        return waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); });
    }

    // Erase Now on a confirm page shown again (after a cancel): the word
    // typed for the last run is gone and must be typed anew.
    static bool confirmAgain(Rig &r)
    {
        if (r.w.ui->M_ConformErase_1->isHidden() || !r.w.ui->M_ConformErase_LineEdit_InputErase->text().isEmpty())
            return false;
        QTest::keyClicks(r.w.ui->M_ConformErase_LineEdit_InputErase, "Erase");
        return click(r.w.ui->M_ConformErase_PushButton_EraseNow);
    }

private slots:
    void privateScanEndsOnContactTable();
    void appScanEndsOnAppPage_data();
    void appScanEndsOnAppPage();
    void allScanEndsOnConfirmPage();
    void closedGateAndEmptyCategoriesAreNotAsked_data();
    void closedGateAndEmptyCategoriesAreNotAsked();

    void wrongWordOrNothingSelectedSendsNothing_data();
    void wrongWordOrNothingSelectedSendsNothing();
    void privateEraseSendsExactlyTheChosenKeys();
    void appRunSendsOneBatchPerCheckedApp();
    void allRunWithoutMessagesSkipsSmsSteps();
    void refusedSmsChangeErasesTheRest();
    void refusedSmsChangeWithOnlyMessagesRunsNothing();
    void messagesLeftOutAreChosenAgainAfterCancel();
    void failedItemsAreReportedOnCompletion();
    void failuresBeforeCancelAreReportedByTheNextRun();
    void leavingWhileSmsAnswerPendingErasesNothing_data();
    void leavingWhileSmsAnswerPendingErasesNothing();

    void leavingPrivateResultsWaitsForPhotoStop();
    void photoStopAnswersTheLatestClick_data();
    void photoStopAnswersTheLatestClick();
    void factoryResetNoticeAfterAllErase_data();
    void factoryResetNoticeAfterAllErase();
    void cancelScanBeforeEstimate();
    void cancelEraseKeepsErasedCategories();
    void messagesErasedBeforeCancelNeedNoSmsChange();
    void cancelAtHundredOnlyClosesNotice();
    void backgroundPausesEraseCountdown();
    void keysTickedAfterCancelAreSent();
    void scopeSwitchOnConfirmPageErasesWhatItNames();
    void typedWordDoesNotCarryToAnotherConfirmPage();
    void levelIsFixedByEraseNow_data();
    void levelIsFixedByEraseNow();
    void lostConnectionDropsEveryWait_data();
    void lostConnectionDropsEveryWait();
    void scanCancelDropsPhotoStopWait();
    void unansweredCancelGivesUp_data();
    void unansweredCancelGivesUp();
    void lostConnectionStopsTimersOfState_data();
    void lostConnectionStopsTimersOfState();
    void closeSendsCloseRequestWhenConnected_data();
    void closeSendsCloseRequestWhenConnected();
};

void TestWorkflowScenario::privateScanEndsOnContactTable()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    QCOMPARE(r.w.m_privateProgress, 100);
    QCOMPARE(r.w.ui->M_All_Private_IsScanning_ProgressBar->value(), 100);
    QVERIFY(!r.w.ui->C_EPrivate_IsScanning_2->isHidden());
    QVERIFY(r.w.ui->M_All_Private_IsScanning->isHidden());
    QVERIFY(!r.w.ui->EP_IsScanning_Label_ContactButton_Selected->isHidden());
    QVERIFY(r.w.ui->EP_IsScanning_Label_ContactButton_NotSelected->isHidden());
    auto *table = r.w.findChild<QTableWidget *>("tableContactWidget");
    QVERIFY(table && !table->isHidden());
    QVERIFY(r.w.ui->S_All_Button->isEnabled());
    QVERIFY(r.w.ui->EP_IsScanning_PushButton_Erase->isEnabled());
    // Every private category was asked for once, in the chain order.
    const QList<quint16> gets{proto::GetContact, proto::GetHistory, proto::GetMessage,
                              proto::GetPhotoDir, proto::GetAudioDir, proto::GetVedioDir};
    QList<quint16> asked;
    for (quint16 t : r.sim.receivedTypes())
        if (gets.contains(t))
            asked << t;
    QCOMPARE(asked, gets);
    QVERIFY(r.w.ui->testLabel_3->text().contains("gC_G:\n"));
    QVERIFY(r.w.ui->testLabel_3->text().endsWith("F_100percent:\nL_100percent:\n"));
}

void TestWorkflowScenario::appScanEndsOnAppPage_data()
{
    QTest::addColumn<bool>("withAppData");
    QTest::newRow("apps hold data") << true;
    QTest::newRow("no app data") << false;
}

void TestWorkflowScenario::appScanEndsOnAppPage()
{
    QFETCH(bool, withAppData);
    SimDataSet data = SimDataSet::generate();
    if (!withAppData)
        for (int c = FirstAppCategory; c < CategoryCount; ++c)
            data.lists[c].clear();
    Rig r(data);
    QVERIFY(r.connectAndScan(r.w.ui->S_App_Button));
    QCOMPARE(r.w.m_appProgress, 100);
    QVERIFY(!r.w.ui->D_EApp_ToScanAndIsScanning->isHidden());
    QVERIFY(r.w.ui->EApp_PushButton_Erase->isEnabled());
    QCOMPARE(r.w.ui->EApp_RatioButton_SelectAll->isEnabled(), withAppData);
    // An app's box can be checked exactly when the app has data.
    QCOMPARE(r.w.ui->EApp_RatioButton_Twitter->isEnabled(), withAppData && !data.lists[Twitter].isEmpty());
}

void TestWorkflowScenario::allScanEndsOnConfirmPage()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_All_Button));
    QCOMPARE(r.w.m_allProgress, 100);
    QVERIFY(!r.w.ui->M_ConformErase_1->isHidden());
    QCOMPARE(r.w.ui->M_ConformErase_label_Name->text(), QString("Erase All Data"));
    // The level label agrees with the level the program starts with.
    QCOMPARE(r.w.m_levelToErase, quint16(3));
    QCOMPARE(r.w.ui->M_ConformErase_Label_SecurityLevel->text(), QString("Low"));
    QVERIFY(r.w.ui->T_M_SelectLevel_RatioButton_LowLevel->isChecked());
}

void TestWorkflowScenario::closedGateAndEmptyCategoriesAreNotAsked_data()
{
    QTest::addColumn<int>("sdk");
    QTest::addColumn<int>("scope"); // 0 All, 1 Private
    QTest::addColumn<int>("emptied");
    QTest::addColumn<quint16>("neverAsked");
    QTest::newRow("sdk 23, gate 1 closed, private") << 23 << 1 << -1 << quint16(proto::GetHistory);
    QTest::newRow("sdk 23, gate 1 closed, all") << 23 << 0 << -1 << quint16(proto::GetHistory);
    QTest::newRow("old phone, no skype data") << 22 << 0 << int(Skype) << quint16(proto::GetSkypeDir);
    QTest::newRow("old phone, no audio") << 22 << 0 << int(Audio) << quint16(proto::GetAudioDir);
}

void TestWorkflowScenario::closedGateAndEmptyCategoriesAreNotAsked()
{
    QFETCH(int, sdk);
    QFETCH(int, scope);
    QFETCH(int, emptied);
    QFETCH(quint16, neverAsked);
    SimDataSet data = SimDataSet::generate();
    if (emptied >= 0)
        data.lists[emptied].clear();
    Rig r(data);
    if (emptied < 0)
        r.sim.setGates(true, false, true, true);
    QVERIFY(r.connect(sdk));
    QVERIFY(r.scan(scope == 0 ? r.w.ui->S_All_Button : r.w.ui->S_Private_Button));
    QCOMPARE(scope == 0 ? r.w.m_allProgress : r.w.m_privateProgress, 100);
    QCOMPARE(r.sim.count(neverAsked), 0);
    if (scope == 1)
        QVERIFY(r.w.ui->testLabel_3->text().contains("ngH_G_W:\n"));
}

void TestWorkflowScenario::wrongWordOrNothingSelectedSendsNothing_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("selectSomething");
    QTest::addColumn<QString>("notice");
    QTest::newRow("lower case") << "erase" << true << "T_D_ConformEraseLineEditIsImpty";
    QTest::newRow("leading blank") << " Erase" << true << "T_D_ConformEraseLineEditIsImpty";
    QTest::newRow("empty") << "" << true << "T_D_ConformEraseLineEditIsImpty";
    QTest::newRow("nothing selected") << "Erase" << false << "T_D_SelectedItemLessOne";
}

void TestWorkflowScenario::wrongWordOrNothingSelectedSendsNothing()
{
    QFETCH(QString, word);
    QFETCH(bool, selectSomething);
    QFETCH(QString, notice);
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_App_Button));
    if (selectSomething)
        QVERIFY(click(r.w.ui->EApp_RatioButton_Twitter));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    QVERIFY(!r.w.ui->M_ConformErase_1->isHidden());
    QCOMPARE(r.w.ui->M_ConformErase_label_Name->text(), QString("Erase App Data"));
    r.sim.clearReceived();
    typeWord(r, word);
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QWidget *shown = r.w.findChild<QWidget *>(notice);
    QVERIFY(shown && !shown->isHidden());
    QVERIFY(!r.w.ui->M_ConformErase_1->isHidden());
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(withoutMarkers(r.sim.receivedTypes()), QList<quint16>());
    QCOMPARE(r.w.m_workPhase, Scanned);
}

void TestWorkflowScenario::privateEraseSendsExactlyTheChosenKeys()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));

    // Two contact rows: every contact under each row's number is chosen.
    auto *contacts = r.w.findChild<QTableWidget *>("tableContactWidget");
    QVERIFY(clickRow(contacts, 1));
    QVERIFY(clickRow(contacts, 2));
    QSet<QString> expectedContacts;
    for (int row : {1, 2}) {
        const QString number = contacts->item(row, 2)->text();
        for (const QString &rec : r.sim.data().lists[Contact])
            if (rec.section(';', 2, 2) == number)
                expectedContacts << rec.section(';', 0, 0);
    }
    QVERIFY(!expectedContacts.isEmpty());

    // The first photo.
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Photo));
    auto *photos = r.w.findChild<QTableWidget *>("tablePhotoWidget");
    QVERIFY(clickRow(photos, 1));
    const QString photoLocation = r.sim.data().lists[Photo].first().section(';', 3, 3);

    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    QCOMPARE(r.w.ui->M_ConformErase_label_Name->text(), QString("Erase Private Data"));
    QCOMPARE(r.w.ui->M_ConformErase_Label_SecurityLevel->text(), QString("Low"));
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Setting));
    QVERIFY(click(r.w.ui->T_M_SelectLevel_RatioButton_MediumLevel));
    QVERIFY(click(r.w.ui->T_M_SelectLevel_PusuButton_OK));
    typeWord(r, "Erase");
    r.sim.clearReceived();
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    QStringList contactKeys;
    QStringList photoKeys;
    for (const auto &e : r.sim.eraseRequests()) {
        QCOMPARE(e.level, quint16(7));
        QVERIFY2(e.category == Contact || e.category == Photo, qPrintable(QString::number(e.category)));
        (e.category == Contact ? contactKeys : photoKeys) << e.key;
    }
    QCOMPARE(contactKeys.size(), expectedContacts.size()); // each once
    QCOMPARE(QSet<QString>(contactKeys.begin(), contactKeys.end()), expectedContacts);
    QCOMPARE(photoKeys, QStringList{photoLocation});
    QCOMPARE(r.sim.count(proto::CheckDefaultSmsApp), 0);
    QCOMPARE(r.w.ui->M_IsErasing_ProgressBar_Erasing->value(), 100);
    // A private run says what it erased, never that all data was erased.
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             QString("%1 items erased permanently.").arg(contactKeys.size() + photoKeys.size()));

    // The phone is rebooted and the link is brought up again.
    QCOMPARE(r.w.m_programType, ProgramType::ConnectingDevice);
    QVERIFY(r.w.m_rebootDone);
    // Nothing waits for `adb reboot`; its end arms the presence poll.
    QVERIFY(waitFor(r.w, [&] { return r.phone.calls().contains("adb reboot"); }));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_stepTimer[MainWindow::StepSlotDeviceIn]->isActive(); }));
    QCOMPARE(r.w.m_eraseLeftPrivate, 0.0f);
}

void TestWorkflowScenario::appRunSendsOneBatchPerCheckedApp()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_Twitter));
    QVERIFY(click(r.w.ui->EApp_RatioButton_Viber));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Setting));
    QVERIFY(click(r.w.ui->T_M_SelectLevel_RatioButton_HighLevel));
    QVERIFY(click(r.w.ui->T_M_SelectLevel_PusuButton_Cancel)); // the level stays
    QCOMPARE(r.w.ui->M_ConformErase_Label_SecurityLevel->text(), QString("High"));
    const QStringList twitter = r.sim.data().lists[Twitter];
    const QStringList viber = r.sim.data().lists[Viber];
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    QSet<int> batches;
    QStringList keys;
    for (const auto &e : r.sim.eraseRequests()) {
        QCOMPARE(e.level, quint16(10));
        if (e.sequence == 1)
            batches << e.category;
        keys << e.key;
    }
    QCOMPARE(batches, (QSet<int>{Twitter, Viber}));
    QCOMPARE(keys, twitter + viber);
    QCOMPARE(r.sim.count(proto::EraseBegin), 1);
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             QString("%1 items erased permanently.").arg(twitter.size() + viber.size()));
    QVERIFY(!r.w.ui->EApp_RatioButton_Twitter->isChecked());
    QCOMPARE(r.w.m_programType, ProgramType::ConnectingDevice);
}

void TestWorkflowScenario::allRunWithoutMessagesSkipsSmsSteps()
{
    SimDataSet data = SimDataSet::generate();
    data.lists[Message].clear();
    Rig r(data);
    QVERIFY(r.connectAndScan(r.w.ui->S_All_Button));
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QCOMPARE(r.sim.count(proto::CheckDefaultSmsApp), 0);
    QCOMPARE(r.sim.count(proto::ChangeDefaultSmsApp), 0);
    // Everything scanned was erased.
    for (int c = 0; c < CategoryCount; ++c)
        QVERIFY2(r.sim.data().lists[c].isEmpty(), qPrintable(QString::number(c)));
}

void TestWorkflowScenario::refusedSmsChangeErasesTheRest()
{
    Rig r;
    r.sim.setDefaultSmsApp(false);
    r.sim.setChangeSmsAnswer(0);
    QVERIFY(r.connectAndScan(r.w.ui->S_All_Button));
    const int messages = r.sim.data().lists[Message].size();
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QCOMPARE(r.sim.count(proto::CheckDefaultSmsApp), 1);
    QCOMPARE(r.sim.count(proto::ChangeDefaultSmsApp), 1);
    QCOMPARE(r.sim.data().lists[Message].size(), messages);
    for (const auto &e : r.sim.eraseRequests())
        QVERIFY(e.category != Message);
    QVERIFY(r.sim.data().lists[Contact].isEmpty());
    QVERIFY(r.sim.data().lists[Photo].isEmpty());
    // The completion does not claim the messages were erased.
    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QVERIFY2(text.contains(QStringLiteral("Message: %1").arg(messages)), qPrintable(text));
}

void TestWorkflowScenario::refusedSmsChangeWithOnlyMessagesRunsNothing()
{
    Rig r;
    r.sim.setDefaultSmsApp(false);
    r.sim.setChangeSmsAnswer(0);
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Message));
    QVERIFY(clickRow(r.w.findChild<QTableWidget *>("tableMessageWidget"), 1));
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::ChangeDefaultSmsApp) == 1; }));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->T_D_SelectedItemLessOne->isHidden(); }));
    QVERIFY(!r.w.ui->M_ConformErase_1->isHidden());
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(r.sim.count(proto::EraseBegin), 0);
    QVERIFY(r.sim.eraseRequests().isEmpty());
    QCOMPARE(r.w.m_workPhase, Scanned);
    QVERIFY(!r.phone.calls().contains("adb reboot"));
}

// A run that left the messages out (declined on the phone) is cancelled; the
// next Erase Now of the same choice asks for the default SMS app again and
// erases them, instead of reporting success without them.
void TestWorkflowScenario::messagesLeftOutAreChosenAgainAfterCancel()
{
    Rig r;
    r.sim.setDefaultSmsApp(false);
    r.sim.setChangeSmsAnswer(0);
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    QVERIFY(clickRow(r.w.findChild<QTableWidget *>("tableContactWidget"), 1));
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Message));
    QVERIFY(clickRow(r.w.findChild<QTableWidget *>("tableMessageWidget"), 1));
    const QStringList chosenMessages = r.w.m_messageToEraseList;
    QVERIFY(!chosenMessages.isEmpty());
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    // The contacts are not answered, so the run can be cancelled.
    const QMetaObject::Connection quiet = connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
            [&](const CompanionSimulator::EraseRecord &) { r.sim.setSilent(true); });
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_workPhase == Erasing && !r.sim.eraseRequests().isEmpty(); }));
    QVERIFY(cancelErase(r));

    disconnect(quiet);
    r.sim.setSilent(false);
    r.sim.setChangeSmsAnswer(1); // this time the user says yes on the phone
    r.sim.clearReceived();
    QVERIFY(confirmAgain(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QCOMPARE(r.sim.count(proto::ChangeDefaultSmsApp), 1);
    QStringList erasedMessages;
    for (const auto &e : r.sim.eraseRequests())
        if (e.category == Message)
            erasedMessages << e.key;
    QCOMPARE(erasedMessages, chosenMessages);
    for (const QString &rec : r.sim.data().lists[Message])
        QVERIFY(!chosenMessages.contains(SimDataSet::eraseKey(Message, rec)));
    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QVERIFY2(!text.contains("Message"), qPrintable(text));
}

void TestWorkflowScenario::failedItemsAreReportedOnCompletion()
{
    Rig r;
    QVERIFY(r.connect());
    const QStringList contacts = r.sim.data().lists[Contact];
    r.sim.setUnerasableKeys({SimDataSet::eraseKey(Contact, contacts[0]), SimDataSet::eraseKey(Contact, contacts[1])});
    r.sim.setFailCategory(Kik, false);
    r.sim.setDefaultSmsApp(true);
    QVERIFY(r.scan(r.w.ui->S_All_Button));
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QVERIFY2(text.contains("Contact: 2"), qPrintable(text));
    QVERIFY(!text.contains("erased permanently!"));
    // The report stays readable while the phone restarts.
    QVERIFY(r.w.m_isAfterReboot);
    QVERIFY(!r.w.ui->M_EraseCompleted_3->isHidden());
}

void TestWorkflowScenario::failuresBeforeCancelAreReportedByTheNextRun()
{
    Rig r;
    r.sim.setDefaultSmsApp(true);
    QVERIFY(r.connectAndScan(r.w.ui->S_All_Button));
    const int facebook = r.sim.data().lists[Facebook].size();
    QVERIFY(facebook > 0);
    r.sim.setFailCategory(Facebook, true); // nothing of Facebook can be erased
    // Facebook is answered; the run is cancelled at Twitter.
    const QMetaObject::Connection quiet = connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
            [&](const CompanionSimulator::EraseRecord &e) {
                if (e.category == Twitter)
                    r.sim.setSilent(true);
            });
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseBack[Facebook] && r.sim.count(proto::EraseTwitter) > 0; }));
    QVERIFY(cancelErase(r));

    disconnect(quiet);
    r.sim.setSilent(false);
    r.sim.clearReceived();
    QVERIFY(confirmAgain(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QCOMPARE(r.sim.count(proto::EraseFacebook), 0); // not sent again
    QCOMPARE(r.sim.data().lists[Facebook].size(), facebook);
    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QVERIFY2(text.contains(QStringLiteral("Facebook: %1").arg(facebook)), qPrintable(text));
}

void TestWorkflowScenario::leavingWhileSmsAnswerPendingErasesNothing_data()
{
    QTest::addColumn<QString>("leave");
    QTest::newRow("another scope on the change page") << "scope";
    QTest::newRow("new scan on the change page") << "rescan";
    QTest::newRow("back while the check is answered") << "back";
    QTest::newRow("my phone while the check is answered") << "phone";
    QTest::newRow("my phone on the change page") << "phone on change page";
}

// Erase Now with messages waits for the companion app's default-SMS-app
// answers. A user who leaves meanwhile never gets a run started behind their
// back, least of all one of another scope erasing everything scanned.
void TestWorkflowScenario::leavingWhileSmsAnswerPendingErasesNothing()
{
    QFETCH(QString, leave);
    Rig r;
    r.sim.setDefaultSmsApp(false);
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    QVERIFY(clickRow(r.w.findChild<QTableWidget *>("tableContactWidget"), 1));
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Message));
    QVERIFY(clickRow(r.w.findChild<QTableWidget *>("tableMessageWidget"), 1));
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    typeWord(r, "Erase");
    r.sim.setSilent(true); // the answers come when the test sends them
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::CheckDefaultSmsApp) == 1; }));

    const auto answer = [&](proto::Reply type, qint16 value) {
        r.sim.sendFrame(proto::FrameWriter(type).int16(value).finish());
    };
    if (leave == "back" || leave == "phone") {
        if (leave == "back") {
            QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Back));
            QVERIFY(!r.w.ui->C_EPrivate_IsScanning_2->isHidden());
        } else {
            QVERIFY(click(r.w.ui->S_MyPhone_Button));
            QVERIFY(!r.w.ui->A_MP_ConnectedInfomation_5->isHidden());
        }
        answer(proto::CheckDefaultSmsAppBack, 1);
        QVERIFY(waitFor(r.w, [&] { return r.w.m_checkSmsAppReadable || r.w.m_workPhase == Erasing; }));
    } else {
        answer(proto::CheckDefaultSmsAppBack, 0);
        QVERIFY(waitFor(r.w, [&] { return !r.w.ui->A_MP_ChangeDefault_SMS_Widget->isHidden(); }));
        if (leave == "scope") {
            QVERIFY(click(r.w.ui->S_All_Button));
        } else if (leave == "rescan") {
            QVERIFY(click(r.w.ui->S_Private_Button));
            QVERIFY(click(r.w.ui->EAll_Label_ToScan));
        } else {
            QVERIFY(click(r.w.ui->S_MyPhone_Button));
            QVERIFY(!r.w.ui->A_MP_ConnectedInfomation_5->isHidden());
        }
        answer(proto::ChangeDefaultSmsAppBack, 1); // the user said yes on the phone
        QVERIFY(waitFor(r.w, [&] { return r.w.m_changeSmsAppReadable || r.w.m_workPhase == Erasing; }));
    }
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(r.sim.count(proto::EraseBegin), 0);
    QVERIFY(r.sim.eraseRequests().isEmpty());
    QVERIFY(r.w.m_workPhase != Erasing);
    QVERIFY(r.w.ui->M_IsErasing_2->isHidden());
    QVERIFY(!r.w.m_timerAllDataErased->isActive());
    QVERIFY(!r.phone.calls().contains("adb reboot"));
}

void TestWorkflowScenario::leavingPrivateResultsWaitsForPhotoStop()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    r.sim.setSilent(true); // the photo stop is acknowledged when the test says so
    r.sim.clearReceived();
    QVERIFY(click(r.w.ui->S_All_Button));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::StopGetPhoto) == 1; }));
    QVERIFY(flushToSimulator(r.w, r.sim));
    QVERIFY(r.w.ui->B_EAll_ToScan->isHidden());
    QVERIFY(!r.w.ui->C_EPrivate_IsScanning_2->isHidden());
    QVERIFY(!r.w.m_timerGetPhotoByTime->isActive());

    r.sim.sendFrame(proto::FrameWriter(proto::StopGetPhotoBack).finish());
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->B_EAll_ToScan->isHidden(); }));
    QCOMPARE(r.w.ui->EAll_Lable_ScanType->text(), QString("Erase All Data"));
    QCOMPARE(r.w.m_pageEraseType, int(EraseType::All));

    // Back to the private scope: no photo stop is needed.
    r.sim.clearReceived();
    QVERIFY(click(r.w.ui->S_Private_Button));
    QCOMPARE(r.w.ui->EAll_Lable_ScanType->text(), QString("Erase Private Data"));
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(r.sim.count(proto::StopGetPhoto), 0);
}

void TestWorkflowScenario::photoStopAnswersTheLatestClick_data()
{
    QTest::addColumn<bool>("rescan");
    QTest::newRow("erase, then another scope") << false;
    QTest::newRow("erase, then a new private scan") << true;
}

// The erase button of the private results waits for the photo stop; a click
// elsewhere before the acknowledgement has come makes that wait obsolete.
void TestWorkflowScenario::photoStopAnswersTheLatestClick()
{
    QFETCH(bool, rescan);
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    r.sim.setSilent(true); // the acknowledgement comes when the test sends it
    r.sim.clearReceived();
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    if (rescan) {
        QVERIFY(r.w.m_timerGetPhotoByTime->isActive());
        QVERIFY(click(r.w.ui->S_Private_Button));
        QVERIFY(click(r.w.ui->EAll_Label_ToScan));
        // The last scan's thumbnails are no longer asked for.
        QVERIFY(!r.w.m_timerGetPhotoByTime->isActive());
        QVERIFY(!r.w.m_timerUpdateTablePhoto->isActive());
    } else {
        QVERIFY(click(r.w.ui->S_All_Button));
    }
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::StopGetPhoto) == 2; }));
    r.sim.sendFrame(proto::FrameWriter(proto::StopGetPhotoBack).finish());
    if (rescan) {
        QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::PrivateLeftTime) == 1; }));
        QVERIFY(!r.w.ui->M_All_Private_IsScanning->isHidden());
    } else {
        QVERIFY(waitFor(r.w, [&] { return !r.w.ui->B_EAll_ToScan->isHidden(); }));
        QCOMPARE(r.w.ui->EAll_Lable_ScanType->text(), QString("Erase All Data"));
    }
    QVERIFY(r.w.ui->M_ConformErase_1->isHidden());
    QVERIFY(!r.w.m_timerCheckStopGetPhotoBeforeErase->isActive());
}

void TestWorkflowScenario::factoryResetNoticeAfterAllErase_data()
{
    QTest::addColumn<bool>("allScope");
    QTest::newRow("all data erased") << true;
    QTest::newRow("app data erased") << false;
}

void TestWorkflowScenario::factoryResetNoticeAfterAllErase()
{
    QFETCH(bool, allScope);
    Rig r;
    r.sim.setDefaultSmsApp(true);
    QVERIFY(r.connectAndScan(allScope ? r.w.ui->S_All_Button : r.w.ui->S_App_Button));
    if (!allScope) {
        QVERIFY(click(r.w.ui->EApp_RatioButton_Twitter));
        QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    }
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QVERIFY(r.w.m_rebootDone);

    // The phone reboots; the link comes up again straight to the companion app.
    r.w.m_stepTimer[MainWindow::StepSlotDeviceIn]->stop();
    r.sim.dropConnection();
    QVERIFY(waitFor(r.w, [&] { return r.w.m_tcpSocket->state() == QAbstractSocket::UnconnectedState; }));
    r.w.m_companionPort = r.sim.port();
    r.w.newTCPConnected();
    QVERIFY(waitFor(r.w, [&] { return r.w.m_tcpSocket->state() == QAbstractSocket::ConnectedState; }));
    r.w.newTCPConnected();
    QCOMPARE(!r.w.ui->T_D_FactoryDataReset->isHidden(), allScope);
    QVERIFY(!r.w.m_rebootDone);
    if (allScope) {
        QVERIFY(click(r.w.ui->T_D_FactoryDataReset_PushButton_Ok));
        QVERIFY(r.w.ui->T_D_FactoryDataReset->isHidden());
        r.w.newTCPConnected(); // shown once only
        QVERIFY(r.w.ui->T_D_FactoryDataReset->isHidden());
    }
    r.w.m_timerNewTCPConnected->stop();
    r.w.m_timerHomeInfoReadable->stop();
}

void TestWorkflowScenario::cancelScanBeforeEstimate()
{
    Rig r;
    QVERIFY(r.connect(22));
    r.sim.setSilent(true); // the estimate and the acknowledgement come when the test sends them
    QVERIFY(scan(r, r.w.ui->S_All_Button));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::AllLeftTime) == 1; }));
    QVERIFY(click(r.w.ui->M_All_Private_IsScanning_pushButton_Stop));
    QVERIFY(!r.w.ui->T_D_IsScanning_Stop->isHidden());
    QVERIFY(click(r.w.ui->T_D_IsScanning_Stop_PushButton_Ok));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::CancelScan) == 1; }));

    proto::FrameWriter estimate(proto::AllLeftTimeBack);
    for (int c = 0; c < CategoryCount; ++c)
        estimate.uint16(10);
    r.sim.sendFrame(estimate.finish());
    QVERIFY(waitFor(r.w, [&] { return !r.w.m_timerLeftTimeReadable->isActive(); }));
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(r.sim.count(proto::GetContact), 0);
    QVERIFY(!r.w.ui->M_All_Private_IsScanning->isHidden()); // no page change yet

    r.sim.sendFrame(proto::FrameWriter(proto::CancelScanBack).finish());
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->B_EAll_ToScan->isHidden(); }));
    QVERIFY(r.w.ui->T_D_IsScanning_Stop->isHidden());
    QVERIFY(r.w.ui->S_Private_Button->isEnabled());
    QVERIFY(r.w.ui->M_All_Private_IsScanning_pushButton_Stop->isEnabled());
    QVERIFY(!r.w.m_timerDecreaseScanTime->isActive());
    QCOMPARE(workflowPollsRunning(r.w), QList<int>()); // the cancelled scan leaves no poll behind
}

void TestWorkflowScenario::cancelEraseKeepsErasedCategories()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_SelectAll));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    // The companion app answers the first batch and then goes quiet.
    bool first = true;
    Category answered = CategoryCount;
    const QMetaObject::Connection quiet = connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
            [&](const CompanionSimulator::EraseRecord &e) {
                if (first && e.sequence == 1) {
                    first = false;
                    answered = e.category;
                } else if (e.category != answered) {
                    r.sim.setSilent(true);
                }
            });
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    const auto estimates = [&] {
        return QVector<float>(std::begin(r.w.m_eraseTimeOfRun), std::end(r.w.m_eraseTimeOfRun));
    };
    const QVector<float> firstEstimates = estimates();
    const float firstTotal = r.w.m_eraseLeftApp;
    QCOMPARE(firstEstimates[Twitter], r.w.m_expectedEraseTime[Twitter] * 3);
    QVERIFY(waitFor(r.w, [&] { return answered != CategoryCount && r.w.m_eraseBack[answered]; }));
    QVERIFY(r.w.m_eraseProgress < 100);
    QVERIFY(click(r.w.ui->M_IsErasing_PubuButton_Stop));
    QVERIFY(click(r.w.ui->T_D_IsErasing_Stop_PushButton_Ok));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::CancelErase) == 1; }));
    QVERIFY(r.w.ui->M_ConformErase_1->isHidden()); // waits for the acknowledgement
    r.sim.sendFrame(proto::FrameWriter(proto::CancelEraseBack).finish());
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    QVERIFY(r.w.ui->T_D_IsErasing_Stop->isHidden());
    QVERIFY(!r.w.m_timerAllDataErased->isActive());
    QCOMPARE(workflowPollsRunning(r.w), QList<int>()); // nor does the cancelled erase
    QVERIFY(r.w.ui->S_All_Button->isEnabled());

    // A new run does not send the category that came back again.
    disconnect(quiet);
    r.sim.setSilent(false);
    r.sim.clearReceived();
    const int before = r.sim.eraseRequests().size();
    QVERIFY(confirmAgain(r));
    // The estimates are scaled from the reply again, not from the last run's.
    QCOMPARE(estimates(), firstEstimates);
    QCOMPARE(r.w.m_eraseLeftApp, firstTotal);
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    const auto requests = r.sim.eraseRequests().mid(before);
    QVERIFY(!requests.isEmpty());
    for (const auto &e : requests)
        QVERIFY(e.category != answered);
}

void TestWorkflowScenario::messagesErasedBeforeCancelNeedNoSmsChange()
{
    Rig r;
    r.sim.setDefaultSmsApp(true);
    QVERIFY(r.connectAndScan(r.w.ui->S_All_Button));
    const int messages = r.sim.data().lists[Message].size();
    QVERIFY(messages > 0);
    // The messages are answered; the photos are not.
    const QMetaObject::Connection quiet = connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
            [&](const CompanionSimulator::EraseRecord &e) {
                if (e.category == Photo)
                    r.sim.setSilent(true);
            });
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseBack[Message] && r.sim.count(proto::ErasePhoto) > 0; }));
    QVERIFY(r.sim.data().lists[Message].isEmpty());
    QVERIFY(cancelErase(r));

    // Meanwhile the companion app has lost its default-SMS-app role, and the
    // user would refuse to give it back: nothing of that matters any more.
    disconnect(quiet);
    r.sim.setSilent(false);
    r.sim.setDefaultSmsApp(false);
    r.sim.setChangeSmsAnswer(0);
    r.sim.clearReceived();
    QVERIFY(confirmAgain(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    QCOMPARE(r.sim.count(proto::CheckDefaultSmsApp), 0);
    QCOMPARE(r.sim.count(proto::ChangeDefaultSmsApp), 0);
    QVERIFY(r.sim.data().lists[Photo].isEmpty());
    // The messages are not reported as left out.
    const QString text = r.w.ui->M_EraseCompleted_Label_Text->text();
    QVERIFY2(!text.contains("Message"), qPrintable(text));
}

void TestWorkflowScenario::cancelAtHundredOnlyClosesNotice()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_Facebook));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    r.w.on_M_IsErasing_PubuButton_Stop_clicked();
    QVERIFY(!r.w.ui->T_D_IsErasing_Stop->isHidden());
    QVERIFY(click(r.w.ui->T_D_IsErasing_Stop_PushButton_Ok));
    QVERIFY(r.w.ui->T_D_IsErasing_Stop->isHidden());
    QVERIFY(!r.w.m_timerCheckCancelErase->isActive());
    QCOMPARE(r.sim.count(proto::CancelErase), 0);
}

void TestWorkflowScenario::backgroundPausesEraseCountdown()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_App_Button));
    QVERIFY(click(r.w.ui->EApp_RatioButton_Twitter));
    QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
    r.sim.setSilent(true); // the run stays open
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QCOMPARE(r.w.m_workPhase, Erasing);
    QVERIFY(r.w.m_timerDecreaseEraseTime->isActive());
    QVERIFY(r.w.m_eraseLeftApp > 0);
    r.sim.sendAppInactive();
    QVERIFY(waitFor(r.w, [&] { return !r.w.m_timerDecreaseEraseTime->isActive(); }));
    const float frozen = r.w.m_eraseLeftApp;
    r.sim.sendAppActive();
    QVERIFY(waitFor(r.w, [&] { return r.w.m_timerDecreaseEraseTime->isActive(); }));
    QCOMPARE(r.w.m_eraseLeftApp, frozen);
}

// The user erases one contact row and a photo; the run is cancelled once the
// contacts have come back. Back on the results the user ticks another
// contact row and erases again: the new row's contacts are sent, nothing is
// sent twice, and the completion tells no lie.
void TestWorkflowScenario::keysTickedAfterCancelAreSent()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    auto *contacts = r.w.findChild<QTableWidget *>("tableContactWidget");
    QVERIFY(clickRow(contacts, 1));
    QSet<QString> chosenContacts = keysOfRow(r.sim.data(), Contact, contacts, 1);
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Photo));
    auto *photos = r.w.findChild<QTableWidget *>("tablePhotoWidget");
    QVERIFY(clickRow(photos, 1));
    const QSet<QString> chosenPhotos = keysOfRow(r.sim.data(), Photo, photos, 1);

    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    // The contacts are answered; the photo is not.
    const QMetaObject::Connection quiet = connect(&r.sim, &CompanionSimulator::eraseRequested, &r.sim,
            [&](const CompanionSimulator::EraseRecord &e) {
                if (e.category == Photo)
                    r.sim.setSilent(true);
            });
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseBack[Contact] && r.sim.count(proto::ErasePhoto) > 0; }));
    QVERIFY(cancelErase(r));
    disconnect(quiet);
    r.sim.setSilent(false);

    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Back));
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Contact));
    QVERIFY(clickRow(contacts, 3));
    chosenContacts += keysOfRow(r.sim.data(), Contact, contacts, 3);
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    QVERIFY(confirmAgain(r));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    const Erased erased = erasedBy(r.sim);
    QCOMPARE(erased.keys.value(Contact), chosenContacts);
    QCOMPARE(erased.keys.value(Photo), chosenPhotos); // the photo cut short is sent again
    QCOMPARE(erased.keys.keys(), (QList<int>{Contact, Photo}));
    QCOMPARE(erased.repeats, 1); // the photo only
    QCOMPARE(erased.levels, QSet<quint16>{3});
    for (const QString &rec : r.sim.data().lists[Contact])
        QVERIFY(!chosenContacts.contains(SimDataSet::eraseKey(Contact, rec)));
    // The photo was erased by the unanswered batch; the phone fails the
    // second request, as it does for what it no longer has. The page does
    // not call the photo erased, nor failed. Nothing else failed.
    for (const QString &rec : r.sim.data().lists[Photo])
        QVERIFY(!chosenPhotos.contains(SimDataSet::eraseKey(Photo, rec)));
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             QString("%1 items erased permanently. 1 item is not confirmed erased (Photo: 1): it may already have "
                     "been erased before the cancel.")
                 .arg(chosenContacts.size()));
}

// All is clicked on the private confirm page; the companion app is slow to
// acknowledge the photo stop, so the page still reads "Erase Private Data"
// when the user confirms. The run erases the ticked private row, nothing
// else, and the late acknowledgement opens no scan page.
void TestWorkflowScenario::scopeSwitchOnConfirmPageErasesWhatItNames()
{
    Rig r;
    r.sim.setDefaultSmsApp(true);
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    auto *contacts = r.w.findChild<QTableWidget *>("tableContactWidget");
    QVERIFY(clickRow(contacts, 2));
    const QSet<QString> chosen = keysOfRow(r.sim.data(), Contact, contacts, 2);
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));

    r.sim.setSilent(true);
    r.sim.clearReceived();
    QVERIFY(click(r.w.ui->S_All_Button));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::StopGetPhoto) == 1; }));
    QVERIFY(!r.w.ui->M_ConformErase_1->isHidden());
    QCOMPARE(r.w.ui->M_ConformErase_label_Name->text(), QString("Erase Private Data"));
    r.sim.setSilent(false);
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    r.sim.sendFrame(proto::FrameWriter(proto::StopGetPhotoBack).finish()); // the late acknowledgement
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));

    const Erased erased = erasedBy(r.sim);
    QCOMPARE(erased.keys.keys(), QList<int>{Contact});
    QCOMPARE(erased.keys.value(Contact), chosen);
    QCOMPARE(erased.repeats, 0);
    QCOMPARE(r.sim.data().lists[Contact].size(), 24 - chosen.size());
    QCOMPARE(r.w.ui->M_EraseCompleted_Label_Text->text(),
             chosen.size() == 1 ? QString("1 item erased permanently.")
                                : QString("%1 items erased permanently.").arg(chosen.size()));
    QVERIFY(r.w.ui->B_EAll_ToScan->isHidden());
    QCOMPARE(r.w.m_eraseType, EraseType::Private);
}

// "Erase" typed on the private confirm page does not confirm the All erase
// that opens after the user went back and scanned everything.
void TestWorkflowScenario::typedWordDoesNotCarryToAnotherConfirmPage()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    QVERIFY(clickRow(r.w.findChild<QTableWidget *>("tableContactWidget"), 1));
    QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Back));
    QVERIFY(r.scan(r.w.ui->S_All_Button));
    QCOMPARE(r.w.ui->M_ConformErase_label_Name->text(), QString("Erase All Data"));
    QCOMPARE(r.w.ui->M_ConformErase_LineEdit_InputErase->text(), QString());
    r.sim.clearReceived();
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(!r.w.ui->T_D_ConformEraseLineEditIsImpty->isHidden());
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(withoutMarkers(r.sim.receivedTypes()), QList<quint16>());
}

void TestWorkflowScenario::levelIsFixedByEraseNow_data()
{
    QTest::addColumn<bool>("smsWait");
    QTest::newRow("while the default-SMS-app answer is awaited") << true;
    QTest::newRow("while the batches are erased") << false;
}

// The level notice is open when the user presses Erase Now at Low; High is
// clicked while the run is on. Every erase request of the run carries Low.
void TestWorkflowScenario::levelIsFixedByEraseNow()
{
    QFETCH(bool, smsWait);
    Rig r;
    QVERIFY(r.connectAndScan(smsWait ? r.w.ui->S_Private_Button : r.w.ui->S_App_Button));
    QSet<QString> chosen;
    if (smsWait) {
        // A private run with a message waits for the default-SMS-app answer
        // on the confirm page.
        QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Message));
        auto *messages = r.w.findChild<QTableWidget *>("tableMessageWidget");
        QVERIFY(clickRow(messages, 1));
        chosen = keysOfRow(r.sim.data(), Message, messages, 1);
        QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
        QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
    } else {
        QVERIFY(click(r.w.ui->EApp_RatioButton_Twitter));
        QVERIFY(click(r.w.ui->EApp_RatioButton_Viber));
        QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
        // The first batch (Twitter) goes out and stays unanswered.
        chosen = QSet<QString>(r.sim.data().lists[Twitter].begin(), r.sim.data().lists[Twitter].end());
    }
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Setting));
    QVERIFY(click(r.w.ui->T_M_SelectLevel_RatioButton_LowLevel));
    r.sim.setSilent(true); // the run stays open until the test lets it go on
    r.sim.clearReceived();
    typeWord(r, "Erase");
    QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
    QVERIFY(r.w.ui->T_M_SelectLevel_1_1->isHidden());
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(smsWait ? proto::CheckDefaultSmsApp : proto::EraseTwitter) > 0; }));

    // The notice cannot be opened again, and a level button reached anyhow
    // (a keyboard, an accessibility tool) changes nothing.
    if (smsWait)
        QVERIFY(click(r.w.ui->M_ConformErase_PushButton_Setting));
    QVERIFY(r.w.ui->T_M_SelectLevel_1_1->isHidden());
    r.w.ui->T_M_SelectLevel_RatioButton_HighLevel->click();
    QCOMPARE(r.w.m_levelToErase, quint16(3));
    QCOMPARE(r.w.ui->M_ConformErase_Label_SecurityLevel->text(), QString("Low"));
    QVERIFY(r.w.ui->T_M_SelectLevel_RatioButton_LowLevel->isChecked());

    if (smsWait) {
        r.sim.setSilent(false);
        r.sim.sendFrame(proto::FrameWriter(proto::CheckDefaultSmsAppBack).int16(1).finish());
        QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100; }));
    } else {
        QVERIFY(waitFor(r.w, [&] { return r.sim.eraseRequests().size() == chosen.size(); }));
    }
    const Erased erased = erasedBy(r.sim);
    QCOMPARE(erased.keys.keys(), QList<int>{smsWait ? Message : Twitter});
    QCOMPARE(erased.keys.first(), chosen);
    QCOMPARE(erased.repeats, 0);
    QCOMPARE(erased.levels, QSet<quint16>{3});
}

void TestWorkflowScenario::lostConnectionDropsEveryWait_data()
{
    QTest::addColumn<QString>("wait");
    QTest::newRow("photo stop before a private scan") << "scan";
    QTest::newRow("photo stop before the confirm page") << "confirm";
    QTest::newRow("photo stop before another scope") << "scope";
    QTest::newRow("default-SMS-app answer") << "sms";
    QTest::newRow("scan-cancel acknowledgement") << "cancel";
}

// The connection ends while the program waits for an answer of the companion
// app. When the phone is back and the answer comes after all, nothing starts:
// no scan, no run, no page of its own. Meanwhile the top bar is disabled.
void TestWorkflowScenario::lostConnectionDropsEveryWait()
{
    QFETCH(QString, wait);
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    r.sim.setSilent(true);
    quint16 lateAnswer = proto::StopGetPhotoBack;
    if (wait == "scan") {
        QVERIFY(scan(r, r.w.ui->S_Private_Button));
        QVERIFY(r.w.m_timerCheckStopGetPhotoBeforeScan->isActive());
    } else if (wait == "confirm") {
        QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
    } else if (wait == "scope") {
        QVERIFY(click(r.w.ui->S_App_Button));
    } else if (wait == "sms") {
        r.sim.setSilent(false);
        QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Message));
        QVERIFY(clickRow(r.w.findChild<QTableWidget *>("tableMessageWidget"), 1));
        QVERIFY(click(r.w.ui->EP_IsScanning_PushButton_Erase));
        QVERIFY(waitFor(r.w, [&] { return !r.w.ui->M_ConformErase_1->isHidden(); }));
        r.sim.setSilent(true);
        typeWord(r, "Erase");
        QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
        QVERIFY(r.w.m_timerCheckApkIsDefaultSMSAppReadable->isActive());
        lateAnswer = proto::CheckDefaultSmsAppBack;
    } else {
        QVERIFY(scan(r, r.w.ui->S_Private_Button));
        QVERIFY(click(r.w.ui->M_All_Private_IsScanning_pushButton_Stop));
        QVERIFY(click(r.w.ui->T_D_IsScanning_Stop_PushButton_Ok));
        QVERIFY(r.w.m_timerCheckCancelScan->isActive());
        lateAnswer = proto::CancelScanBack;
    }

    r.sim.dropConnection();
    QVERIFY(waitFor(r.w, [&] { return r.w.m_tcpSocket->state() == QAbstractSocket::UnconnectedState; }));
    for (QTimer *t : workflowTimers(r.w))
        QVERIFY(!t->isActive());
    for (QAbstractButton *b : {static_cast<QAbstractButton *>(r.w.ui->S_MyPhone_Button),
                               static_cast<QAbstractButton *>(r.w.ui->S_All_Button),
                               static_cast<QAbstractButton *>(r.w.ui->S_Private_Button),
                               static_cast<QAbstractButton *>(r.w.ui->S_App_Button)})
        QVERIFY(!b->isEnabled());
    QVERIFY(r.w.ui->T_D_IsScanning_Stop->isHidden());

    // The phone is back (the supervision reconnects) and the old answer comes.
    r.w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, r.sim.port());
    QVERIFY(QTest::qWaitFor([&] { return r.sim.hasClient(); }, kWait));
    r.sim.clearReceived();
    r.sim.setSilent(false);
    const WorkPhase phase = r.w.m_workPhase;
    QWidget *const visible = [&]() -> QWidget * {
        for (QWidget *page : r.w.m_pageList)
            if (!page->isHidden())
                return page;
        return nullptr;
    }();
    proto::FrameWriter answer(lateAnswer);
    if (lateAnswer == proto::CheckDefaultSmsAppBack)
        answer.int16(1);
    r.sim.sendFrame(answer.finish());
    QVERIFY(waitFor(r.w, [&] {
        return r.w.m_stopGetPhotoBack || r.w.m_checkSmsAppReadable || r.w.m_cancelScanBack;
    }));
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(withoutMarkers(r.sim.receivedTypes()), QList<quint16>());
    QCOMPARE(r.w.m_workPhase, phase);
    for (QWidget *page : r.w.m_pageList)
        QCOMPARE(!page->isHidden(), page == visible);
}

// A private scan is cancelled before the companion app has acknowledged the
// photo stop that precedes it; that acknowledgement comes after the cancel's.
// The scan is never started.
void TestWorkflowScenario::scanCancelDropsPhotoStopWait()
{
    Rig r;
    QVERIFY(r.connectAndScan(r.w.ui->S_Private_Button));
    r.sim.setSilent(true);
    r.sim.clearReceived();
    QVERIFY(scan(r, r.w.ui->S_Private_Button));
    QVERIFY(click(r.w.ui->M_All_Private_IsScanning_pushButton_Stop));
    QVERIFY(click(r.w.ui->T_D_IsScanning_Stop_PushButton_Ok));
    QVERIFY(waitFor(r.w, [&] { return r.sim.count(proto::CancelScan) == 1; }));
    r.sim.sendFrame(proto::FrameWriter(proto::CancelScanBack).finish());
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->B_EAll_ToScan->isHidden(); }));
    r.sim.sendFrame(proto::FrameWriter(proto::StopGetPhotoBack).finish());
    QVERIFY(waitFor(r.w, [&] { return r.w.m_stopGetPhotoBack; }));
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(r.sim.count(proto::PrivateLeftTime), 0);
    QVERIFY(r.w.m_workPhase != Scanning);
    QVERIFY(!r.w.ui->B_EAll_ToScan->isHidden());
    QVERIFY(r.w.ui->S_All_Button->isEnabled());
}

void TestWorkflowScenario::unansweredCancelGivesUp_data()
{
    QTest::addColumn<bool>("erase");
    QTest::newRow("scan") << false;
    QTest::newRow("erase") << true;
}

// The companion app never acknowledges a cancel: the program gives up, says
// so, and lets the user go on.
void TestWorkflowScenario::unansweredCancelGivesUp()
{
    QFETCH(bool, erase);
    Rig r;
    r.w.m_cancelTimeoutMs = 300;
    QVERIFY(r.connect());
    if (erase) {
        QVERIFY(r.scan(r.w.ui->S_App_Button));
        QVERIFY(click(r.w.ui->EApp_RatioButton_Twitter));
        QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
        r.sim.setSilent(true);
        typeWord(r, "Erase");
        QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
        QVERIFY(click(r.w.ui->M_IsErasing_PubuButton_Stop));
        QVERIFY(click(r.w.ui->T_D_IsErasing_Stop_PushButton_Ok));
    } else {
        r.sim.setSilent(true);
        QVERIFY(scan(r, r.w.ui->S_App_Button));
        QVERIFY(click(r.w.ui->M_All_Private_IsScanning_pushButton_Stop));
        QVERIFY(click(r.w.ui->T_D_IsScanning_Stop_PushButton_Ok));
    }
    QVERIFY(!r.w.ui->S_All_Button->isEnabled());
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->T_D_CancelNoAnswer->isHidden(); }));
    QCOMPARE(r.w.ui->T_D_CancelNoAnswer_TopTitle->text(), QString(erase ? "Cancel Erase" : "Cancel Scan"));
    QVERIFY(r.w.ui->T_D_CancelNoAnswer_Label_Message->text().contains("did not confirm"));
    QVERIFY(r.w.ui->T_D_IsScanning_Stop->isHidden());
    QVERIFY(r.w.ui->T_D_IsErasing_Stop->isHidden());
    QVERIFY(!(erase ? r.w.ui->M_ConformErase_1 : r.w.ui->B_EAll_ToScan)->isHidden());
    for (QTimer *t : workflowTimers(r.w))
        QVERIFY(!t->isActive());
    QVERIFY(click(r.w.ui->T_D_CancelNoAnswer_PushButton_Ok));
    QVERIFY(r.w.ui->T_D_CancelNoAnswer->isHidden());

    // Free to go on: another scope's scan runs to its end.
    r.sim.setSilent(false);
    QVERIFY(r.scan(r.w.ui->S_All_Button));
    QVERIFY(!r.w.ui->M_ConformErase_1->isHidden());
    QCOMPARE(r.w.ui->M_ConformErase_label_Name->text(), QString("Erase All Data"));
}

void TestWorkflowScenario::lostConnectionStopsTimersOfState_data()
{
    QTest::addColumn<int>("phase");
    QTest::newRow("scanning") << int(Scanning);
    QTest::newRow("erasing") << int(Erasing);
}

void TestWorkflowScenario::lostConnectionStopsTimersOfState()
{
    QFETCH(int, phase);
    Rig r;
    QVERIFY(r.connect());
    r.sim.setSilent(true);
    if (phase == Scanning) {
        QVERIFY(scan(r, r.w.ui->S_App_Button));
        QCOMPARE(r.w.m_workPhase, Scanning);
        QVERIFY(r.w.m_timerLeftTimeReadable->isActive());
    } else {
        r.sim.setSilent(false);
        QVERIFY(r.scan(r.w.ui->S_App_Button));
        QVERIFY(click(r.w.ui->EApp_RatioButton_Twitter));
        QVERIFY(click(r.w.ui->EApp_PushButton_Erase));
        r.sim.setSilent(true);
        typeWord(r, "Erase");
        QVERIFY(click(r.w.ui->M_ConformErase_PushButton_EraseNow));
        QVERIFY(r.w.m_timerAllDataErased->isActive());
        QVERIFY(r.w.m_timerDecreaseEraseTime->isActive());
    }
    // The phone goes away: the connection drops and nothing listens any more.
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    r.w.m_companionPort = probe.serverPort();
    probe.close();
    r.sim.dropConnection();
    QVERIFY(waitFor(r.w, [&] { return r.w.m_tcpSocket->state() == QAbstractSocket::UnconnectedState; }));
    // Three ticks of the connection supervision find no connection.
    for (QTimer *t : r.w.deviceLinkStepTimers())
        t->blockSignals(true); // the step the device link arms is looked at, not run
    for (int tick = 0; tick < 3; ++tick) {
        r.w.newTCPConnected();
        QVERIFY(waitFor(r.w, [&] { return r.w.m_tcpSocket->state() == QAbstractSocket::UnconnectedState; }));
    }
    QCOMPARE(r.w.m_programType, ProgramType::ConnectingDevice);
    for (QTimer *t : {r.w.m_timerLeftTimeReadable, r.w.m_timerAllDataReadable, r.w.m_timerDecreaseScanTime,
                      r.w.m_timerAllDataErased, r.w.m_timerDecreaseEraseTime})
        QVERIFY(!t->isActive());
    // Back to the device link, once its probe of the phone has answered.
    QVERIFY(waitFor(r.w, [&] { return r.w.m_stepTimer[MainWindow::StepTestPort]->isActive() || r.w.m_stepTimer[MainWindow::StepTestCheckHasApk]->isActive(); }));
    r.w.m_stepTimer[MainWindow::StepTestPort]->stop();
    r.w.m_stepTimer[MainWindow::StepTestCheckHasApk]->stop();
    for (QTimer *t : r.w.deviceLinkStepTimers())
        t->blockSignals(false);
}

void TestWorkflowScenario::closeSendsCloseRequestWhenConnected_data()
{
    QTest::addColumn<bool>("idle");
    QTest::addColumn<bool>("appActive");
    QTest::addColumn<int>("closeRequests");
    QTest::newRow("connecting") << false << true << 0;
    QTest::newRow("idle, app active") << true << true << 1;
    QTest::newRow("idle, app in background") << true << false << 1;
}

void TestWorkflowScenario::closeSendsCloseRequestWhenConnected()
{
    QFETCH(bool, idle);
    QFETCH(bool, appActive);
    QFETCH(int, closeRequests);
    Rig r;
    QVERIFY(r.connect());
    r.w.m_programType = idle ? ProgramType::Idle : ProgramType::ConnectingDevice;
    r.w.m_appState = appActive ? AppStateType::Active : AppStateType::NotActive;
    r.phone.setTask(4242, "Purgatex.exe"); // the stand-in taskkill only records
    r.phone.setFault("taskkill", "delay_ms", "1500"); // still running when the phone answers
    QVERIFY(click(r.w.ui->S_Close_Button));
    QVERIFY(waitFor(r.w, [&] { return r.phone.calls().contains("taskkill /f /im Purgatex.exe"); }));
    QVERIFY(flushToSimulator(r.w, r.sim));
    QCOMPARE(r.sim.count(proto::CloseProgram), closeRequests);
    // Neither the phone's answer to the close nor a session that gives up
    // meanwhile starts anything in the exit command's place.
    r.w.handBackToDeviceLink();
    // The exit command goes on to its end (a hand-back must not abandon it:
    // a taskkill that fails would leave the window open).
    QVERIFY(r.w.m_runningStep && r.w.m_runningStep->step == MainWindow::StepCloseProgram);
    // Once no step runs any more, nothing is left that could start a command
    // after the exit command: no step of the device link is armed either.
    QVERIFY(waitFor(r.w, [&] { return !r.w.m_runningStep; }));
    QVERIFY(r.w.m_closeRequested);
    for (QTimer *t : r.w.deviceLinkStepTimers())
        QVERIFY2(!t->isActive(), qPrintable(t->objectName()));
    QVERIFY(!r.w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->isActive());
    const QStringList calls = r.phone.calls();
    QCOMPARE(calls.count("taskkill /f /im Purgatex.exe"), 1);
    QCOMPARE(calls.last(), QString("taskkill /f /im Purgatex.exe"));
}

QTEST_MAIN(TestWorkflowScenario)
#include "tst_workflowscenario.moc"
