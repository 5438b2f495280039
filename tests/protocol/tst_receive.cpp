// The receive loop: cutting chunks into frames, skipping unknown types, the
// "HTTP" test and the discarding of stale bytes.

#include <QTcpServer>
#include <QtTest>

#include "protocol/messages.h"
#include "protocoltest.h"

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
    QCOMPARE(w->m_cancelScanBack, cancelScanBack);
    QCOMPARE(w->m_cancelEraseBack, cancelEraseBack);
    QCOMPARE(w->m_receiveBuffer.size(), leftInBuffer);
    QVERIFY(!w->m_receivedHttp);
}

void TestReceive::httpAfterAValidFrameAborts()
{
    auto w = quietWindow();
    w->receiveChunk(emptyFrame(CancelEraseBack) + "HTTP/1.1 400 Bad Request\r\n\r\n");
    QVERIFY(w->m_receivedHttp);
    QVERIFY(!w->m_cancelEraseBack); // the frame before it is not decoded
    QVERIFY(w->m_receiveBuffer.isEmpty());
    QVERIFY(w->m_timerTestPort->isActive());
    QCOMPARE(w->m_timerTestPort->interval(), 100);

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
            QTRY_COMPARE(w->m_receiveBuffer.size(), 7);
            QVERIFY(!w->m_chunkText[Contact].isEmpty());
            peer->abort();
            QTRY_COMPARE(w->m_tcpSocket->state(), QAbstractSocket::UnconnectedState);
            QVERIFY(w->m_receiveBuffer.isEmpty());
            QVERIFY(w->m_chunkText[Contact].isEmpty());
        } else {
            peer->write(emptyFrame(CancelScanBack) + listFrame(ContactList, "55;Bo;6", 2, 2, 1));
            peer->flush();
            QTRY_VERIFY(w->m_cancelScanBack);
            QTRY_VERIFY(w->m_dataReadable[Contact]);
            QCOMPARE(w->m_contactMapIdData.keys(), QStringList{"55"});
            QVERIFY(w->m_receiveBuffer.isEmpty());
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
    QVERIFY(!w->m_timerTestPort->isActive());
    QCOMPARE(w->m_homeInfoReadTimes, 100);
    w->homeInfoReadable();
    QVERIFY(w->m_timerTestPort->isActive());
    QCOMPARE(w->m_homeInfoReadTimes, 0);
}

QTEST_MAIN(TestReceive)
#include "tst_receive.moc"
