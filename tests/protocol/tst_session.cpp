// The window's protocol section against the companion-app simulator over a
// real TCP connection on 127.0.0.1: supervision, home info, requests byte for
// byte, scans in every write mode, erase batches and the peer's faults.

#include <QLabel>
#include <QProgressBar>
#include <QtTest>

#include "companionsimulator.h"
#include "protocol/messages.h"
#include "protocol/records.h"
#include "protocoltest.h"
#include "simphone.h"
#include "ui_mainwindow.h"

using namespace proto;
using WriteMode = CompanionSimulator::WriteMode;
Q_DECLARE_METATYPE(WriteMode)

namespace {

// A connected window and simulator, the home info already exchanged.
struct Session
{
    SimPhone phone; // the device link's probes run the simulated tools
    std::unique_ptr<MainWindow> w = quietWindow();
    CompanionSimulator sim;

    bool connect()
    {
        if (!sim.listen())
            return false;
        w->m_companionPort = sim.port();
        w->newTCPConnected(); // unconnected: connect
        w->m_timerNewTCPConnected->stop();
        if (!QTest::qWaitFor([&] { return w->m_tcpSocket->state() == QAbstractSocket::ConnectedState; }, 5000))
            return false;
        w->newTCPConnected(); // connected: ask for the home info
        return QTest::qWaitFor([&] { return w->m_homeInfoReadable; }, 5000);
    }

    // Every frame the window has written so far has reached the simulator:
    // a marker request is sent after them and waited for (the connection
    // keeps their order).
    bool flush()
    {
        const int before = sim.count(GetMessageCount);
        w->getMessageCount();
        return QTest::qWaitFor([&] { return sim.count(GetMessageCount) > before; }, 5000);
    }
};

} // namespace

class TestSession : public QObject
{
    Q_OBJECT

private slots:
    void connectShowsThePhone();
    void requestBytes_data();
    void requestBytes();
    void leftTimeBySdkLevel_data();
    void leftTimeBySdkLevel();
    void smsAppAndAcknowledgements();
    void scanOverTheWire_data();
    void scanOverTheWire();
    void eraseBatches_data();
    void eraseBatches();
    void eraseGuardAndEmptyList();
    void eraseKeyTooLongIsLeftOutAndCountedFailed();
    void appBackgroundAndForeground();
    void failureReplyAndSilence();
    void httpAnswerHandsBackToTheDeviceLink();
    void droppedConnectionGivesUpOnTheThirdTick();
    void reconnectionToASilentAppGivesUp();
    void connectionLostBeforeHomeInfo_data();
    void connectionLostBeforeHomeInfo();
};

void TestSession::connectShowsThePhone()
{
    Session s;
    s.sim.data().homeInfo = QStringLiteral("Nimbus Z7;11;R58N91XKQ2B;30;x;32 GB;8 GB;64 GB;48 GB");
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    QCOMPARE(w.m_programType, ProgramType::Idle);
    QCOMPARE(w.m_workPhase, None);
    QVERIFY(w.m_homeInfoRequested);
    QVERIFY(!w.ui->A_MP_ConnectedInfomation_5->isHidden());
    QCOMPARE(w.ui->MP_Label_Model->text(), QStringLiteral("Nimbus Z7"));
    QCOMPARE(w.ui->MP_Label_SystemVersion->text(), QStringLiteral("11"));
    QCOMPARE(w.ui->MP_Label_SerialNumber->text(), QStringLiteral("R58N91XKQ2B"));
    QCOMPARE(w.ui->MP_ProgressBar_Phone->value(), 25);
    QCOMPARE(w.ui->MP_ProgressBar_Sdcard->value(), 75);
    QCOMPARE(w.m_sdkLevel, 30);

    // The poll sees the reply and hands over to the keep-alive check.
    w.homeInfoReadable();
    QVERIFY(!w.m_timerHomeInfoReadable->isActive());
    QCOMPARE(w.m_homeInfoReadTimes, 0);
    QVERIFY(w.m_timerNewTCPConnected->isActive());
    QCOMPARE(w.m_timerNewTCPConnected->interval(), 5000);

    // A second connected tick asks nothing again.
    w.newTCPConnected();
    QCOMPARE(w.m_timerNewTCPConnected->interval(), 5000);
    QVERIFY(s.flush());
    QCOMPARE(s.sim.count(GetHomeInfo), 1);
    QCOMPARE(w.m_connectedCount, 2);
}

void TestSession::requestBytes_data()
{
    QTest::addColumn<WindowCheck>("send");
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<WindowCheck>("effect");
    const WindowCheck none = [](MainWindow &) {};

    QTest::newRow("contact") << WindowCheck([](MainWindow &w) { w.getContact(); }) << QByteArray("00000000")
                             << WindowCheck([](MainWindow &w) {
                                    QVERIFY(!w.m_dataReadable[Contact]);
                                    QVERIFY(w.m_etScanContact.isValid());
                                });
    QTest::newRow("history") << WindowCheck([](MainWindow &w) { w.getHistory(); }) << QByteArray("00050000")
                             << WindowCheck([](MainWindow &w) { QCOMPARE(w.m_gotCount[History], quint16(0)); });
    QTest::newRow("message") << WindowCheck([](MainWindow &w) { w.getMessage(); }) << QByteArray("000a0000") << none;
    QTest::newRow("audio") << WindowCheck([](MainWindow &w) { w.getAudioDir(); }) << QByteArray("00170000") << none;
    QTest::newRow("vedio") << WindowCheck([](MainWindow &w) { w.getVedioDir(); }) << QByteArray("001e0000") << none;
    QTest::newRow("whatsapp") << WindowCheck([](MainWindow &w) { w.getWhtatsAppDir(); }) << QByteArray("00250000") << none;
    QTest::newRow("facebook") << WindowCheck([](MainWindow &w) { w.getFacebookDir(); }) << QByteArray("002a0000") << none;
    QTest::newRow("twitter") << WindowCheck([](MainWindow &w) { w.getTwitterDir(); }) << QByteArray("002f0000") << none;
    QTest::newRow("skype") << WindowCheck([](MainWindow &w) { w.getSkypeDir(); }) << QByteArray("00340000") << none;
    QTest::newRow("kik") << WindowCheck([](MainWindow &w) { w.getKikMessengerDir(); }) << QByteArray("00390000")
                         << WindowCheck([](MainWindow &w) { QVERIFY(w.m_etScanKik.isValid()); });
    QTest::newRow("viber") << WindowCheck([](MainWindow &w) { w.getViberDir(); }) << QByteArray("003e0000") << none;
    QTest::newRow("cancel scan") << WindowCheck([](MainWindow &w) { w.sendCancelScan(); }) << QByteArray("00530000") << none;
    QTest::newRow("cancel erase") << WindowCheck([](MainWindow &w) { w.sendCancelErase(); }) << QByteArray("00590000") << none;
    QTest::newRow("check sms") << WindowCheck([](MainWindow &w) { w.checkApkIsDefaultSMSApp(); }) << QByteArray("00620000")
                               << WindowCheck([](MainWindow &w) { QVERIFY(!w.m_isDefaultSmsApp); });
    QTest::newRow("change sms") << WindowCheck([](MainWindow &w) { w.changeDefaultSMSApp(); }) << QByteArray("00640000") << none;
    QTest::newRow("message count") << WindowCheck([](MainWindow &w) { w.getMessageCount(); }) << QByteArray("00660000")
                                   << WindowCheck([](MainWindow &w) { QCOMPARE(w.m_gotCount[Message], quint16(0)); });
    QTest::newRow("private left") << WindowCheck([](MainWindow &w) { w.sendPrivateLeftTime(); }) << QByteArray("00720000") << none;
    QTest::newRow("all left") << WindowCheck([](MainWindow &w) { w.sendAllLeftTime(); }) << QByteArray("00730000") << none;
    QTest::newRow("app left") << WindowCheck([](MainWindow &w) { w.sendAppLeftTime(); }) << QByteArray("00750000") << none;
    QTest::newRow("stop photo") << WindowCheck([](MainWindow &w) { w.sendStopGetPhoto(); }) << QByteArray("00770000") << none;
    QTest::newRow("close program") << WindowCheck([](MainWindow &w) { w.sendCloseProgram(); }) << QByteArray("006f0000") << none;
    QTest::newRow("erase begin") << WindowCheck([](MainWindow &w) { w.sendEraseBegin(); }) << QByteArray("00800000") << none;
    QTest::newRow("photo dir with the reported count")
        << WindowCheck([](MainWindow &w) {
               w.m_photoCount = 258;
               w.getPhotoDir();
           })
        << QByteArray("000f000400020102") << WindowCheck([](MainWindow &w) { QVERIFY(!w.m_dataReadable[Photo]); });
    QTest::newRow("photo by name") << WindowCheck([](MainWindow &w) { w.sendGetPhotoByName("/p"); })
                                   << QByteArray("0011000a" "0008" "00000004" "002f0070") << none;
    QTest::newRow("erase contact abc at level 10")
        << WindowCheck([](MainWindow &w) {
               w.m_eraseSelected[Contact] = true;
               w.m_levelToErase = 10;
               w.m_contactToEraseList = QStringList{"abc"};
               w.sendEraseContact();
           })
        << QByteArray("0002001c" "0008" "00000006" "006100620063" "0002" "000a" "0004" "00000001" "0004" "00000001")
        << WindowCheck([](MainWindow &w) { QCOMPARE(w.m_eraseSentCount[Contact], quint16(1)); });
}

void TestSession::requestBytes()
{
    QFETCH(WindowCheck, send);
    QFETCH(QByteArray, hex);
    QFETCH(WindowCheck, effect);
    Session s;
    QVERIFY(s.connect());
    s.sim.setSilent(true);
    s.w->m_dataReadable[Contact] = s.w->m_dataReadable[Photo] = true;
    s.w->m_isDefaultSmsApp = true;
    s.sim.clearReceived();
    send(*s.w);
    QTRY_COMPARE(s.sim.receivedFrames().size(), 1);
    QCOMPARE(s.sim.receivedFrames().first().toHex(), hex);
    effect(*s.w);
}

void TestSession::leftTimeBySdkLevel_data()
{
    QTest::addColumn<int>("sdk");
    QTest::addColumn<bool>("appData");
    QTest::newRow("SDK 22, no gates") << 22 << true;
    QTest::newRow("SDK 23, with gates") << 23 << true;
    QTest::newRow("SDK 30, no app data") << 30 << false;
}

void TestSession::leftTimeBySdkLevel()
{
    QFETCH(int, sdk);
    QFETCH(bool, appData);
    Session s;
    s.sim.setSdkLevel(sdk);
    s.sim.setGates(true, false, true, true);
    if (!appData) {
        for (int c = FirstAppCategory; c < CategoryCount; ++c)
            s.sim.data().lists[c].clear();
    }
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    QCOMPARE(w.m_sdkLevel, sdk);
    const int contacts = s.sim.data().lists[Contact].size();
    const int photos = s.sim.data().lists[Photo].size();

    w.sendPrivateLeftTime();
    QTRY_VERIFY(w.m_leftTimeReadable);
    QCOMPARE(int(w.m_photoCount), photos);
    QVERIFY(qAbs(w.m_expectedScanTime[Contact] - contacts * 0.014f) < 1e-3f);
    // Gates only come with SDK 23 and up; below that they stay open as they
    // start, and the skip rule does not consult them.
    QVERIFY(w.m_sdkGate[0]);
    QCOMPARE(w.m_sdkGate[1], sdk < 23);
    w.m_leftTimeReadable = false;

    w.sendAllLeftTime();
    QTRY_VERIFY(w.m_leftTimeReadable);
    QVERIFY(w.m_scanLeftAll > 0);
    w.m_leftTimeReadable = false;

    w.m_sdkGate[3] = true;
    w.sendAppLeftTime();
    QTRY_VERIFY(w.m_leftTimeReadable);
    QCOMPARE(w.m_sdkGate[3], appData);
    QCOMPARE(w.m_scanLeftApp > 0, appData);
}

void TestSession::smsAppAndAcknowledgements()
{
    Session s;
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    w.checkApkIsDefaultSMSApp();
    QTRY_VERIFY(w.m_checkSmsAppReadable);
    QVERIFY(!w.m_isDefaultSmsApp);
    w.changeDefaultSMSApp();
    QTRY_VERIFY(w.m_changeSmsAppReadable);
    QVERIFY(w.m_changeSmsAppOk);
    w.checkApkIsDefaultSMSApp();
    QTRY_VERIFY(w.m_checkSmsAppReadable);
    QVERIFY(w.m_isDefaultSmsApp);

    w.getMessageCount();
    QTRY_VERIFY(w.m_messageCountReadable);
    QCOMPARE(int(w.m_messageCount), s.sim.data().lists[Message].size());

    w.sendCancelScan();
    w.sendCancelErase();
    w.sendStopGetPhoto();
    QTRY_VERIFY(w.m_cancelScanBack && w.m_cancelEraseBack && w.m_stopGetPhotoBack);
}

void TestSession::scanOverTheWire_data()
{
    QTest::addColumn<WriteMode>("mode");
    QTest::addColumn<int>("pieceChars");
    QTest::newRow("one frame per write") << WriteMode::PerFrame << 30000;
    QTest::newRow("small pieces, several frames per write") << WriteMode::Coalesced << 97;
    QTest::newRow("frames split across writes") << WriteMode::Split << 211;
}

void TestSession::scanOverTheWire()
{
    QFETCH(WriteMode, mode);
    QFETCH(int, pieceChars);
    Session s;
    QVERIFY(s.connect());
    s.sim.setWriteMode(mode);
    s.sim.setListPieceChars(pieceChars);
    s.sim.setPhotoChunkBytes(1500);
    MainWindow &w = *s.w;
    // "HTTP" inside frames is data: in a message text (U+6148 U+5454 U+5011
    // are the bytes 61 48 54 54 50 11) and in a photo (a JPEG comment).
    s.sim.data().lists[Message] << QString::fromUtf8("m99;Ann;+15550001;\u6148\u5454\u5011;2026-11-01 10:00:00");
    QByteArray &photo = s.sim.data().photoData[entryLocation(s.sim.data().lists[Photo].first())];
    const QByteArray comment = "HTTP/1.1 200 OK\r\n";
    photo.insert(2, QByteArray("\xFF\xFE\x00", 3) + char(comment.size() + 2) + comment);
    const SimDataSet &d = s.sim.data();

    w.getContact();
    w.getHistory();
    w.getMessage();
    w.getPhotoDir();
    w.getAudioDir();
    w.getVedioDir();
    w.getFacebookDir();
    w.getTwitterDir();
    w.getSkypeDir();
    w.getViberDir();
    w.getKikMessengerDir();
    w.getWhtatsAppDir();
    for (int c = 0; c < CategoryCount; ++c)
        QTRY_VERIFY2_WITH_TIMEOUT(w.m_dataReadable[c], categoryName(Category(c)), 10000);

    QCOMPARE(w.m_contactMapIdData.size(), d.lists[Contact].size());
    QCOMPARE(w.m_historyMapIdData.size(), d.lists[History].size());
    QCOMPARE(w.m_messageMapIdData.size(), d.lists[Message].size());
    QVERIFY(w.m_messageMapNumberId.values("72345").size() >= 3); // several messages share a number
    QCOMPARE(w.m_photoDir, d.lists[Photo]);
    QCOMPARE(w.m_audioDir, d.lists[Audio]);
    QCOMPARE(w.m_vedioDir, d.lists[Vedio]);
    QCOMPARE(w.m_whatsappDir, d.lists[Whatsapp]);
    QCOMPARE(w.m_appDirFound[Facebook - FirstAppCategory], true);
    QCOMPARE(w.m_appDirFound[Skype - FirstAppCategory], false);

    // Real JPEG and PNG photos, each in several chunks.
    for (const QString &entry : qAsConst(w.m_photoDir))
        w.sendGetPhotoByName(entryLocation(entry));
    QTRY_COMPARE_WITH_TIMEOUT(w.m_photoGotList.size(), w.m_photoDir.size(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(w.m_photoDecoder->pending(), 0, 10000); // decoded on a worker
    for (const QString &entry : qAsConst(w.m_photoDir)) {
        const QString location = entryLocation(entry);
        QVERIFY2(!w.m_photoThumbs.value(location).preview.isEmpty(), qPrintable(location));
    }
    QVERIFY(w.m_receiveFrames.buffered() == 0);
    QVERIFY(!w.m_receivedHttp);
    QCOMPARE(w.m_tcpSocket->state(), QAbstractSocket::ConnectedState);
    QVERIFY(w.m_messageMapIdData.value("m99").contains(QString::fromUtf8("\u6148\u5454\u5011")));
}

void TestSession::eraseBatches_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<WindowCheck>("send");
    QTest::addColumn<int>("items");

    QTest::newRow("selected contacts")
        << int(Contact) << WindowCheck([](MainWindow &w) {
               w.m_contactToEraseList = QStringList{"c3", "c1"};
               w.sendEraseContact();
           })
        << 2;
    QTest::newRow("all history") << int(History) << WindowCheck([](MainWindow &w) { w.sendEraseAllHistory(); }) << 30;
    QTest::newRow("all messages") << int(Message) << WindowCheck([](MainWindow &w) { w.sendEraseAllMessage(); }) << 30;
    QTest::newRow("all photos") << int(Photo) << WindowCheck([](MainWindow &w) { w.sendEraseAllPhoto(); }) << 8;
    QTest::newRow("selected audio")
        << int(Audio) << WindowCheck([](MainWindow &w) {
               w.m_audioToEraseList = QStringList{entryLocation(w.m_audioDir.at(1))};
               w.sendEraseAudio();
           })
        << 1;
    QTest::newRow("all vedio") << int(Vedio) << WindowCheck([](MainWindow &w) { w.sendEraseAllVedio(); }) << 3;
    QTest::newRow("all facebook") << int(Facebook) << WindowCheck([](MainWindow &w) { w.sendEraseAllFacebook(); }) << 4;
    QTest::newRow("all twitter") << int(Twitter) << WindowCheck([](MainWindow &w) { w.sendEraseAllTwitter(); }) << 3;
    QTest::newRow("all viber") << int(Viber) << WindowCheck([](MainWindow &w) { w.sendEraseAllViber(); }) << 2;
    QTest::newRow("all whatsapp") << int(Whatsapp) << WindowCheck([](MainWindow &w) { w.sendEraseAllWhatsapp(); }) << 5;
}

void TestSession::eraseBatches()
{
    QFETCH(int, category);
    QFETCH(WindowCheck, send);
    QFETCH(int, items);
    const Category c = Category(category);
    Session s;
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    // What a scan would have stored.
    w.receiveChunk(CompanionSimulator::listFrames(c, joinRecords(s.sim.data().lists[c])).first());
    const int before = s.sim.data().lists[c].size();

    w.m_eraseSelected[c] = true;
    w.m_levelToErase = 7;
    send(w);
    QCOMPARE(int(w.m_eraseSentCount[c]), items);
    QTRY_VERIFY(w.m_eraseBack[c] && w.m_eraseDone[c] && w.m_eraseFinished[c]);

    const QList<CompanionSimulator::EraseRecord> got = s.sim.eraseRequests();
    QCOMPARE(got.size(), items);
    for (int i = 0; i < items; ++i) {
        QCOMPARE(got.at(i).typeId, eraseRequestType(c));
        QCOMPARE(got.at(i).level, quint16(7));
        QCOMPARE(got.at(i).sequence, quint32(i + 1));
        QCOMPARE(got.at(i).batchSize, quint32(items));
    }
    QCOMPARE(s.sim.data().lists[c].size(), before - items);
    QCOMPARE(w.m_eraseFailCount[c], quint16(0));

    // Sent once only: the guard holds after the reply.
    send(w);
    QVERIFY(s.flush());
    QCOMPARE(s.sim.eraseRequests().size(), items);
}

void TestSession::eraseGuardAndEmptyList()
{
    Session s;
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    w.m_contactToEraseList = QStringList{"c1"};
    w.sendEraseContact(); // not selected
    w.m_eraseSelected[History] = true;
    w.sendEraseHistory(); // empty list
    QCOMPARE(w.m_eraseSentCount[History], quint16(0));
    w.sendEraseBegin();
    QTRY_COMPARE(s.sim.count(EraseBegin), 1);
    QVERIFY(s.sim.eraseRequests().isEmpty());
}

// Keys that cannot go to the phone (too long for one frame, or empty: a file
// whose location cannot be read) are left out of the batch and reported as
// not erased.
void TestSession::eraseKeyTooLongIsLeftOutAndCountedFailed()
{
    Session s;
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    const QString huge(MaxEraseKeyLength + 1, QLatin1Char('k'));
    s.sim.setUnerasableKeys({"/sdcard/Recordings/voice_note_1.m4a"});
    w.m_eraseSelected[Audio] = true;
    w.m_audioToEraseList = QStringList{huge, "/sdcard/Recordings/voice_note_1.m4a", QString()};
    w.sendEraseAudio();
    QCOMPARE(w.m_eraseSentCount[Audio], 1u);
    QCOMPARE(w.m_eraseAccount.counts(Audio).notSent, 2);
    // The companion app sees a whole batch of one, cannot erase it, and the
    // category completes through the failure count.
    QTRY_VERIFY(w.m_eraseBack[Audio]);
    QCOMPARE(w.m_eraseFailCount[Audio], 1u);
    QCOMPARE(s.sim.eraseRequests().size(), 1);
    QCOMPARE(s.sim.eraseRequests().first().batchSize, quint32(1));

    // Only keys that cannot be sent: nothing is sent and the category is over
    // at once.
    w.m_eraseSelected[Vedio] = true;
    w.m_vedioToEraseList = QStringList{huge, QString()};
    w.sendEraseVedio();
    QVERIFY(w.m_eraseBack[Vedio] && w.m_eraseDone[Vedio]);
    QCOMPARE(w.m_eraseAccount.counts(Vedio).notSent, 2);
    QCOMPARE(s.sim.eraseRequests().size(), 1);
}

void TestSession::appBackgroundAndForeground()
{
    Session s;
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    s.sim.sendAppInactive();
    QTRY_COMPARE(w.m_appState, AppStateType::NotActive);
    QVERIFY(!w.ui->T_AppState->isHidden());
    s.sim.sendAppActive();
    QTRY_COMPARE(w.m_appState, AppStateType::Active);
    QVERIFY(w.ui->T_AppState->isHidden());
}

void TestSession::failureReplyAndSilence()
{
    Session s;
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    s.sim.setFailCategory(Message, true);
    w.getMessage();
    QTRY_VERIFY(w.m_dataReadable[Message] && w.m_scanDone[Message]);
    QVERIFY(w.m_messageMapIdData.isEmpty());

    s.sim.setSilent(true);
    w.sendCancelScan();
    QTRY_COMPARE(s.sim.count(CancelScan), 1);
    // A silent phone sends nothing the test could wait for: that no
    // acknowledgement is made up meanwhile needs a stretch of time to show.
    QTest::qWait(100);
    QVERIFY(!w.m_cancelScanBack);

    // A failing category's erase: every item fails, the batch completes.
    s.sim.setSilent(false);
    w.receiveChunk(CompanionSimulator::listFrames(Kik, "k1,*#*,k2").first());
    w.m_eraseSelected[Kik] = true;
    s.sim.setFailCategory(Kik, true);
    w.sendEraseAllKik();
    QTRY_VERIFY(w.m_eraseBack[Kik]);
    QCOMPARE(w.m_eraseFailCount[Kik], quint16(2));
}

void TestSession::httpAnswerHandsBackToTheDeviceLink()
{
    Session s;
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    s.sim.setHttpMode(true);
    w.getContact();
    QTRY_VERIFY(w.m_receivedHttp);
    QTRY_COMPARE(w.m_tcpSocket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(w.m_receiveFrames.buffered() == 0);
    QVERIFY(w.m_stepTimer[MainWindow::StepTestPort]->isActive());

    // The other program is gone and the device link hands back: the next
    // connection waits for its own home-info reply, not ended by the old
    // connection's HTTP answer.
    w.m_stepTimer[MainWindow::StepTestPort]->stop();
    s.sim.setHttpMode(false);
    s.sim.setSilent(true);
    w.m_connectFailTimes = 0;
    w.newTCPConnected();
    w.m_timerNewTCPConnected->stop();
    QTRY_COMPARE(w.m_tcpSocket->state(), QAbstractSocket::ConnectedState);
    w.newTCPConnected();
    w.homeInfoReadable();
    QVERIFY(w.m_timerHomeInfoReadable->isActive());
    QCOMPARE(w.m_homeInfoReadTimes, 1);
}

void TestSession::droppedConnectionGivesUpOnTheThirdTick()
{
    Session s;
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    w.m_stepTimer[MainWindow::StepTestPort]->stop();
    s.sim.stopListening(); // the app is gone: the connection drops, no new one is taken
    QTRY_COMPARE(w.m_tcpSocket->state(), QAbstractSocket::UnconnectedState);

    // The first connect attempt counted once; connected ticks in between do
    // not reset the count.
    QCOMPARE(w.m_connectFailTimes, 1);
    w.newTCPConnected(); // second unconnected tick: try again
    w.m_timerNewTCPConnected->stop();
    QCOMPARE(w.m_connectFailTimes, 2);
    QCOMPARE(w.m_programType, ProgramType::ConnectingDevice);
    QTRY_COMPARE(w.m_tcpSocket->state(), QAbstractSocket::UnconnectedState);
    for (QTimer *t : w.deviceLinkStepTimers())
        t->blockSignals(true); // the step the device link arms is looked at, not run
    w.newTCPConnected(); // third: give up, back to the device link
    QCOMPARE(w.m_connectFailTimes, 0);
    QVERIFY(!w.m_timerNewTCPConnected->isActive());
    QVERIFY(w.ui->MP_Label_SerialNumber->text().isEmpty());
    // The device link probes the phone (without waiting) and goes on at the
    // package check or the port check.
    QTRY_VERIFY(w.m_stepTimer[MainWindow::StepTestCheckHasApk]->isActive() || w.m_stepTimer[MainWindow::StepTestPort]->isActive());
}

// The app answered the first connection's home-info request and then goes
// silent; the connection drops and the supervision connects again. That
// connection waits for a reply of its own: its poll gives up, ends the
// connection and hands back to the device link, which brings up a new one
// through the simulated phone; the app answers again there.
void TestSession::reconnectionToASilentAppGivesUp()
{
    Session s;
    QVERIFY(s.connect());
    MainWindow &w = *s.w;
    w.homeInfoReadable(); // the reply is seen: the keep-alive tick takes over
    w.m_timerNewTCPConnected->stop();
    w.m_homeInfoPollMs = 5;

    s.sim.setSilent(true);
    s.sim.dropConnection();
    QTRY_COMPARE(w.m_tcpSocket->state(), QAbstractSocket::UnconnectedState);
    w.newTCPConnected(); // unconnected: connect again
    w.m_timerNewTCPConnected->stop();
    QTRY_COMPARE(w.m_tcpSocket->state(), QAbstractSocket::ConnectedState);
    QSignalSpy portCheck(w.m_stepTimer[MainWindow::StepTestPort], &QTimer::timeout);
    w.newTCPConnected(); // connected: ask for the home info, and poll
    QTRY_COMPARE(s.sim.count(GetHomeInfo), 2);
    QVERIFY(w.m_timerHomeInfoReadable->isActive());

    // No reply: after its rounds the poll gives up and the device link runs.
    QTRY_VERIFY_WITH_TIMEOUT(portCheck.count() > 0, 10000);
    QCOMPARE(w.m_tcpSocket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(!w.m_timerHomeInfoReadable->isActive());

    // The device link hands over again; the new connection asks afresh.
    s.sim.setSilent(false);
    QTRY_COMPARE_WITH_TIMEOUT(s.sim.count(GetHomeInfo), 3, 20000);
    QTRY_VERIFY(w.m_homeInfoReadable);
    QTRY_VERIFY(!w.m_timerHomeInfoReadable->isActive());
    QVERIFY(w.m_timerNewTCPConnected->isActive()); // the keep-alive tick
    QVERIFY(!w.ui->A_MP_ConnectedInfomation_5->isHidden());
}

void TestSession::connectionLostBeforeHomeInfo_data()
{
    QTest::addColumn<WindowCheck>("before");
    QTest::addColumn<bool>("supervisionTakesOver");
    const WindowCheck nothing = [](MainWindow &) {};
    QTest::newRow("first connection, no reply yet") << nothing << true;
    QTest::newRow("app in the background, watchdog running")
        << WindowCheck([](MainWindow &w) { w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->start(1000); }) << true;
    QTest::newRow("an HTTP answer handed over to the device link")
        << WindowCheck([](MainWindow &w) {
               w.m_receivedHttp = true;
               w.m_stepTimer[MainWindow::StepTestPort]->start(100);
           })
        << false;
    QTest::newRow("device link already running") << WindowCheck([](MainWindow &w) { w.m_stepTimer[MainWindow::StepTestPort]->start(100); })
                                                 << false;
    QTest::newRow("phone gone, presence poll waiting")
        << WindowCheck([](MainWindow &w) { w.m_stepTimer[MainWindow::StepSlotDeviceIn]->start(100); }) << false;
}

// The companion app drops the connection after the home-info request and
// before its reply: the poll stops, and the supervision must watch the
// socket again, or nothing would ever reconnect.
void TestSession::connectionLostBeforeHomeInfo()
{
    QFETCH(WindowCheck, before);
    QFETCH(bool, supervisionTakesOver);
    Session s;
    QVERIFY(s.sim.listen());
    s.sim.setDropOnRequest(GetHomeInfo);
    MainWindow &w = *s.w;
    w.m_companionPort = s.sim.port();
    w.newTCPConnected();
    w.m_timerNewTCPConnected->stop();
    QTRY_COMPARE(w.m_tcpSocket->state(), QAbstractSocket::ConnectedState);
    w.newTCPConnected(); // sends the home-info request; the app drops the line
    QVERIFY(!w.m_timerNewTCPConnected->isActive());
    QTRY_COMPARE(w.m_tcpSocket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(!w.m_homeInfoReadable);
    w.m_timerHomeInfoReadable->stop();
    before(w);

    w.homeInfoReadable();
    QVERIFY(!w.m_timerHomeInfoReadable->isActive());
    QCOMPARE(w.m_timerNewTCPConnected->isActive(), supervisionTakesOver);
    w.m_stepTimer[MainWindow::StepTestCheckAppQuited]->stop();
    if (!supervisionTakesOver)
        return;

    // The next tick reconnects; the app answers this time.
    s.sim.setDropOnRequest(-1);
    w.m_timerNewTCPConnected->stop();
    w.newTCPConnected();
    w.m_timerNewTCPConnected->stop();
    QTRY_COMPARE(w.m_tcpSocket->state(), QAbstractSocket::ConnectedState);
    w.newTCPConnected();
    QTRY_VERIFY(w.m_homeInfoReadable);
    QCOMPARE(s.sim.count(GetHomeInfo), 2);
}

QTEST_MAIN(TestSession)
#include "tst_session.moc"
