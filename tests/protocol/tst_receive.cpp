// The receive loop: cutting chunks into frames, skipping unknown types, the
// "HTTP" test, the discarding of stale bytes, bounded passes and the home
// info.

#include <climits>

#include <QLabel>
#include <QTcpServer>
#include <QtTest>

#include "app/tracetail.h"
#include "protocol/messages.h"
#include "protocoltest.h"
#include "ui_mainwindow.h"

using namespace proto;

class TestReceive : public QObject
{
    Q_OBJECT

private slots:
    void chunks_data();
    void chunks();
    void httpAfterAValidFrameAborts();
    void staleBytesOfAnEndedConnectionAreNotParsed();
    void homeInfoPollGivesUpAfterMoreThan100();
    void passesAreBounded_data();
    void passesAreBounded();
    void floodIsReadInBoundedPasses();
    void repeatedHomeInfoLeavesThePageAlone();
    void traceTailKeepsTheLatestPart_data();
    void traceTailKeepsTheLatestPart();
    void debugFloodLeavesTheLatestTrace();
};

void TestReceive::chunks_data()
{
    QTest::addColumn<ByteChunks>("chunks");
    QTest::addColumn<bool>("cancelScanBack");
    QTest::addColumn<bool>("cancelEraseBack");
    QTest::addColumn<int>("leftInBuffer");

    const QByteArray scan = emptyFrame(CancelScanBack);
    const QByteArray erase = emptyFrame(CancelEraseBack);
    const QByteArray sms = FrameWriter(CheckDefaultSmsAppBack).int16(1).finish();

    QTest::newRow("two frames in one chunk") << ByteChunks{scan + erase} << true << true << 0;
    QTest::newRow("frame split inside the header") << ByteChunks{sms.left(1), sms.mid(1, 2), sms.mid(3) + scan}
                                                   << true << false << 0;
    QTest::newRow("partial frame waits") << ByteChunks{scan + sms.left(6)} << true << false << 6;
    QTest::newRow("one byte waits") << ByteChunks{erase + sms.left(1)} << false << true << 1;
    QTest::newRow("4-byte frame") << ByteChunks{scan} << true << false << 0;
    QTest::newRow("type 0 with body skipped")
        << ByteChunks{FrameWriter(0).string("x").finish() + erase} << false << true << 0;
    QTest::newRow("type above 127 skipped")
        << ByteChunks{FrameWriter(200).int32(7).finish() + FrameWriter(0xFFFF).finish() + scan} << true << false << 0;
    QTest::newRow("unknown type in range skipped by its length")
        << ByteChunks{FrameWriter(95).string("whatever").finish() + scan} << true << false << 0;
    QTest::newRow("body longer than its fields: rest skipped")
        << ByteChunks{FrameWriter(CancelScanBack).int32(1).int32(2).finish() + erase} << true << true << 0;
    QTest::newRow("lowercase http is data")
        << ByteChunks{FrameWriter(124).string("http").finish() + scan} << true << false << 0;
    // "HTTP" only counts where a frame starts: inside a frame it is data.
    QTest::newRow("HTTP inside a photo chunk")
        << ByteChunks{FrameWriter(PhotoImage).string("IMG_1.jpg").bytes("\xFF\xD8 HTTP/1.1 200 OK").string("jpg")
                          .int16(0).int16(2).finish() + scan}
        << true << false << 0;
    // U+6148 U+5454 U+5011 are the bytes 61 48 54 54 50 11 in UTF-16
    QTest::newRow("HTTP inside a message text")
        << ByteChunks{listFrame(MessageList, QString::fromUtf8("m1;Ann;555;\u6148\u5454\u5011;2026-11-01 10:00:00"), 1,
                                1, 1, true) + erase}
        << false << true << 0;
    QTest::newRow("HTTP across a frame boundary")
        << ByteChunks{FrameWriter(124).string("xHT").finish() + FrameWriter(124).string("TPx").finish() + scan}
        << true << false << 0;

    QByteArray many;
    for (int i = 0; i < 5000; ++i)
        many += FrameWriter(124).uint16(quint16(i)).finish();
    QTest::newRow("thousands of frames in one chunk") << ByteChunks{many + scan + erase.left(2), erase.mid(2)}
                                                      << true << true << 0;
}

void TestReceive::chunks()
{
    QFETCH(ByteChunks, chunks);
    QFETCH(bool, cancelScanBack);
    QFETCH(bool, cancelEraseBack);
    QFETCH(int, leftInBuffer);

    auto w = quietWindow();
    for (const QByteArray &c : chunks)
        w->receiveChunk(c);
    QTRY_VERIFY(!w->m_timerReceiveData->isActive()); // every pass has run
    QCOMPARE(w->m_cancelScanBack, cancelScanBack);
    QCOMPARE(w->m_cancelEraseBack, cancelEraseBack);
    QCOMPARE(w->m_receiveFrames.buffered(), leftInBuffer);
    QVERIFY(!w->m_receivedHttp);
}

void TestReceive::httpAfterAValidFrameAborts()
{
    auto w = quietWindow();
    w->receiveChunk(emptyFrame(CancelEraseBack) + "HTTP/1.1 400 Bad Request\r\n\r\n");
    QVERIFY(w->m_receivedHttp);
    QVERIFY(w->m_cancelEraseBack); // the frame before it was a frame
    QVERIFY(w->m_receiveFrames.buffered() == 0);
    QVERIFY(w->m_stepTimer[MainWindow::StepTestPort]->isActive());
    QCOMPARE(w->m_stepTimer[MainWindow::StepTestPort]->interval(), 100);

    // The next home-info poll stops and clears the flag.
    w->m_timerHomeInfoReadable->start(100);
    w->homeInfoReadable();
    QVERIFY(!w->m_receivedHttp);
    QVERIFY(!w->m_timerHomeInfoReadable->isActive());
}

// A frame cut off by the end of a connection must not swallow the first
// frame of the next one.
void TestReceive::staleBytesOfAnEndedConnectionAreNotParsed()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    auto w = quietWindow();
    w->m_companionPort = server.serverPort();

    for (int round = 0; round < 2; ++round) {
        w->m_connectFailTimes = 0;
        w->newTCPConnected(); // unconnected tick: connect
        w->m_timerNewTCPConnected->stop(); // the test makes the ticks
        QTRY_COMPARE(w->m_tcpSocket->state(), QAbstractSocket::ConnectedState);
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *peer = server.nextPendingConnection();
        if (round == 0) {
            // the first piece of a list, then a header announcing 40 body
            // bytes and only 3 of them
            peer->write(listFrame(ContactList, "1;Ada;5", 1, 2, 0) + QByteArray::fromHex("00120028") + "abc");
            peer->flush();
            QTRY_COMPARE(w->m_receiveFrames.buffered(), 7);
            QVERIFY(!w->m_chunkText[Contact].isEmpty());
            peer->abort();
            QTRY_COMPARE(w->m_tcpSocket->state(), QAbstractSocket::UnconnectedState);
            QVERIFY(w->m_receiveFrames.buffered() == 0);
            QVERIFY(w->m_chunkText[Contact].isEmpty());
        } else {
            peer->write(emptyFrame(CancelScanBack) + listFrame(ContactList, "55;Bo;6", 2, 2, 1));
            peer->flush();
            QTRY_VERIFY(w->m_cancelScanBack);
            QTRY_VERIFY(w->m_dataReadable[Contact]);
            QCOMPARE(w->m_contactMapIdData.keys(), QStringList{"55"});
            QVERIFY(w->m_receiveFrames.buffered() == 0);
        }
        delete peer;
    }
}

void TestReceive::homeInfoPollGivesUpAfterMoreThan100()
{
    auto w = quietWindow();
    w->m_timerHomeInfoReadable->start(100);
    for (int i = 0; i < 100; ++i)
        w->homeInfoReadable();
    QVERIFY(!w->m_stepTimer[MainWindow::StepTestPort]->isActive());
    QCOMPARE(w->m_homeInfoReadTimes, 100);
    w->homeInfoReadable();
    QVERIFY(w->m_stepTimer[MainWindow::StepTestPort]->isActive());
    QCOMPARE(w->m_homeInfoReadTimes, 0);
}

// One pass decodes at most so many frames or bytes; the rest follows on the
// next passes of the event loop, in order.
void TestReceive::passesAreBounded_data()
{
    QTest::addColumn<int>("passFrames");
    QTest::addColumn<int>("passBytes");
    QTest::addColumn<int>("firstPass");
    QTest::newRow("by frames") << 3 << 4 * 1024 * 1024 << 3;
    QTest::newRow("by bytes") << 2000 << 20 << 3; // a debug frame is 8 bytes
}

void TestReceive::passesAreBounded()
{
    QFETCH(int, passFrames);
    QFETCH(int, passBytes);
    QFETCH(int, firstPass);
    auto w = quietWindow();
    w->m_receivePassFrames = passFrames;
    w->m_receivePassBytes = passBytes;
    w->m_receivePassMs = INT_MAX; // a loaded machine must not end a pass early
    QByteArray frames;
    QString all;
    for (int i = 1; i <= 10; ++i) {
        frames += FrameWriter(124).uint16(quint16(i)).finish();
        all += QString::number(i) + ",\n";
    }
    w->receiveChunk(frames + emptyFrame(CancelScanBack));
    QCOMPARE(w->ui->label_test_debug->text().count(','), firstPass);
    QVERIFY(w->m_timerReceiveData->isActive());
    QTRY_VERIFY(w->m_cancelScanBack);
    QVERIFY(w->ui->label_test_debug->text().endsWith(all));
    QVERIFY(w->m_receiveFrames.buffered() == 0);
}

// A peer that sends without pause: the frames are all decoded, in order,
// while neither the socket nor the receive buffer holds more than about one
// pass.
void TestReceive::floodIsReadInBoundedPasses()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    auto w = quietWindow();
    w->m_receivePassBytes = 64 * 1024;
    w->m_tcpSocket->setReadBufferSize(w->m_receivePassBytes);
    w->m_tcpSocket->connectToHost(QHostAddress::LocalHost, server.serverPort());
    QTRY_VERIFY(server.hasPendingConnections());
    std::unique_ptr<QTcpSocket> peer(server.nextPendingConnection());

    QByteArray flood;
    for (int i = 0; i < 200000; ++i)
        flood += FrameWriter(CheckDefaultSmsAppBack).int16(qint16(i & 1)).finish();
    peer->write(flood + emptyFrame(CancelScanBack));
    qint64 mostBuffered = 0;
    qint64 mostInSocket = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        mostBuffered = qMax<qint64>(mostBuffered, w->m_receiveFrames.buffered());
        mostInSocket = qMax(mostInSocket, w->m_tcpSocket->bytesAvailable());
    });
    watch.start(0);
    QTRY_VERIFY_WITH_TIMEOUT(w->m_cancelScanBack, 60000);
    QVERIFY(w->m_isDefaultSmsApp);
    QVERIFY(w->m_receiveFrames.buffered() == 0);
    QVERIFY2(mostBuffered <= w->m_receivePassBytes + proto::MaxFrameSize, qPrintable(QString::number(mostBuffered)));
    QVERIFY2(mostInSocket <= w->m_receivePassBytes, qPrintable(QString::number(mostInSocket)));
}

// The phone page opens with a connection's first home-info reply; a reply
// that repeats it changes nothing, a changed one only refreshes the labels.
void TestReceive::repeatedHomeInfoLeavesThePageAlone()
{
    auto w = quietWindow();
    const QString info = "Nimbus Z7;9;R58N91XKQ2B;28;arm64-v8a;32 GB;10.5 GB;64 GB;40.2 GB";
    w->receiveChunk(FrameWriter(HomeInfo).string(info).finish());
    QVERIFY(!w->ui->A_MP_ConnectedInfomation_5->isHidden());
    QVERIFY(w->ui->S_Private_Button->isEnabled());

    // the user has gone on to the results
    w->hidePages();
    w->ui->C_EPrivate_IsScanning_2->show();
    const QString trace = w->ui->testLabel_2->text();
    for (int i = 0; i < 3; ++i) {
        w->receiveChunk(FrameWriter(HomeInfo).string(info).finish());
        w->receiveChunk(emptyFrame(HomeInfoFail));
    }
    QCOMPARE(w->ui->testLabel_2->text(), trace); // no update ran
    QVERIFY(!w->ui->C_EPrivate_IsScanning_2->isHidden());

    w->receiveChunk(FrameWriter(HomeInfo).string(QString(info).replace("10.5 GB", "12.5 GB")).finish());
    QCOMPARE(w->ui->MP_Label_Phone_Total->text(), QString("Free:12.5 GB"));
    QVERIFY(!w->ui->C_EPrivate_IsScanning_2->isHidden());
    QVERIFY(w->ui->A_MP_ConnectedInfomation_5->isHidden());

    // the link was lost and comes back: the first reply opens the phone page
    w->resetHomeInfoDisplay();
    w->receiveChunk(FrameWriter(HomeInfo).string(info).finish());
    QVERIFY(!w->ui->A_MP_ConnectedInfomation_5->isHidden());
    QCOMPARE(w->ui->MP_Label_Phone_Total->text(), QString("Free:10.5 GB"));
}

QTEST_MAIN(TestReceive)
// A trace keeps what the plain concatenation would keep: its last `keep`
// characters, however the tokens fall around the bound.
void TestReceive::traceTailKeepsTheLatestPart_data()
{
    QTest::addColumn<int>("keep");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("tokens");
    QTest::newRow("below the bound") << 16 << "T" << QStringList{"ab", "cd"};
    QTest::newRow("exactly at the bound") << 4 << "T" << QStringList{"abc"};
    QTest::newRow("one past the bound") << 4 << "T" << QStringList{"abcd"};
    QTest::newRow("a token longer than the bound") << 4 << "T" << QStringList{"x", "0123456789", "y"};
    QTest::newRow("nothing kept") << 0 << "T" << QStringList{"a", "b"};
    QStringList many;
    for (int i = 0; i < 3000; ++i)
        many << QString::number(i) + ",\n";
    QTest::newRow("many tokens, several times the bound over") << 1000 << "T" << many;
    QTest::newRow("a start longer than the bound") << 3 << "TTTTT" << QStringList{"a"};
}

void TestReceive::traceTailKeepsTheLatestPart()
{
    QFETCH(int, keep);
    QFETCH(QString, start);
    QFETCH(QStringList, tokens);
    app::TraceTail tail(keep);
    tail.reset(start);
    QString whole = start;
    for (const QString &t : tokens) {
        tail.append(t);
        whole += t;
        QCOMPARE(tail.text(), whole.right(keep));
    }
}

// Debug frames by the thousand, decoded over several passes: the hidden
// label ends with exactly the latest 16 Ki characters of the trace.
void TestReceive::debugFloodLeavesTheLatestTrace()
{
    auto w = quietWindow();
    w->m_receivePassFrames = 700;
    w->m_receivePassMs = INT_MAX; // a loaded machine must not end a pass early
    QByteArray frames;
    QString whole = w->ui->label_test_debug->text();
    for (int i = 0; i < 5000; ++i) {
        frames += FrameWriter(DebugNumber).uint16(quint16(i)).finish();
        whole += QString::number(i) + ",\n";
    }
    w->receiveChunk(frames);
    QVERIFY(w->m_timerReceiveData->isActive()); // more passes follow
    QVERIFY(w->ui->label_test_debug->text().endsWith(QStringLiteral("699,\n")));
    QTRY_VERIFY(w->m_receiveFrames.buffered() == 0);
    QCOMPARE(w->ui->label_test_debug->text(), whole.right(16 * 1024));
}

#include "tst_receive.moc"
