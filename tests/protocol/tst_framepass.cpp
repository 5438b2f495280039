// Bounded passes over the frames an assembler holds, as the window's receive
// loop reads them: the bounds, "HTTP" at a frame start only, frames cut off
// by the end of their connection, and what stays buffered between passes.

#include <QtTest>

#include "protocol/frame.h"
#include "protocoltest.h"

using namespace proto;

namespace {

// A frame with a raw body, so the traces below read plainly.
QByteArray frame(quint16 type, const QByteArray &body)
{
    QByteArray f = emptyFrame(type);
    f[2] = char(body.size() >> 8);
    f[3] = char(body.size() & 0xFF);
    return f + body;
}

// What a pass handed out, one word a step: "7:ab" a frame of type 7 with the
// body "ab"; "partial:7" a frame of type 7 still incomplete; "bounded",
// "http", "end".
QString runPass(FrameAssembler &a, const PassBounds &bounds, FramePass::Step *last)
{
    static const char *const ends[] = {"", "partial:", "http", "bounded", "end", "discarded"};
    QStringList words;
    FramePass pass(a, bounds);
    while ((*last = pass.next()) == FramePass::Frame)
        words << QString::number(pass.header().typeId) + ':'
                     + QString::fromLatin1(QByteArray(pass.body(), pass.header().bodyLength));
    QString end = QString::fromLatin1(ends[*last]);
    if (*last == FramePass::Partial)
        end += QString::number(pass.header().typeId);
    return (words << end).join(' ');
}

} // namespace

class TestFramePass : public QObject
{
    Q_OBJECT

private slots:
    void passes_data();
    void passes();
    void clearedWhileAFrameIsHandled_data();
    void clearedWhileAFrameIsHandled();
};

void TestFramePass::passes_data()
{
    QTest::addColumn<ByteChunks>("chunks");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("bytes");
    QTest::addColumn<int>("ms");
    QTest::addColumn<QStringList>("passes");
    QTest::addColumn<int>("left");

    const int all = INT_MAX;
    const QByteArray xyz = frame(9, "xyz");
    const QByteArray five = frame(1, "ab") + frame(2, "ab") + frame(3, "ab") + frame(4, "ab") + frame(5, "ab");

    QTest::newRow("whole frames") << ByteChunks{frame(7, "ab") + frame(9, "")} << all << all << all
                                  << QStringList{"7:ab 9: end"} << 0;
    QTest::newRow("a partial frame waits for its rest")
        << ByteChunks{frame(7, "ab") + xyz.left(5), xyz.mid(5)} << all << all << all
        << QStringList{"7:ab partial:9", "9:xyz end"} << 0;
    QTest::newRow("split inside the header") << ByteChunks{xyz.left(1), xyz.mid(1, 2), xyz.mid(3)} << all << all << all
                                             << QStringList{"end", "partial:9", "9:xyz end"} << 0;
    QTest::newRow("left incomplete") << ByteChunks{frame(7, "ab") + xyz.left(6)} << all << all << all
                                     << QStringList{"7:ab partial:9"} << 6;
    QTest::newRow("bounded by frames") << ByteChunks{five} << 2 << all << all
                                       << QStringList{"1:ab 2:ab bounded", "3:ab 4:ab bounded", "5:ab end"} << 0;
    // 6 bytes a frame: the frame that reaches the bound is the pass's last
    QTest::newRow("bounded by bytes") << ByteChunks{five} << all << 10 << all
                                      << QStringList{"1:ab 2:ab bounded", "3:ab 4:ab bounded", "5:ab end"} << 0;
    QTest::newRow("a frame beyond the byte bound still goes")
        << ByteChunks{frame(1, "abcdefgh") + frame(2, "ab")} << all << 3 << all
        << QStringList{"1:abcdefgh bounded", "2:ab end"} << 0;
    QTest::newRow("no time left: one frame a pass")
        << ByteChunks{frame(1, "ab") + frame(2, "ab") + frame(3, "ab")} << all << all << 0
        << QStringList{"1:ab bounded", "2:ab bounded", "3:ab end"} << 0;
    // the bound is looked at before the next frame is: a pass may take none
    QTest::newRow("a bound before a partial frame")
        << ByteChunks{frame(1, "") + frame(2, "") + xyz.left(3)} << 1 << all << all
        << QStringList{"1: bounded", "2: bounded", "partial:9"} << 3;
    QTest::newRow("chunks that end on frame bounds, bounded")
        << ByteChunks{frame(1, "ab") + frame(2, "ab") + frame(3, "ab"), frame(4, "ab")} << 2 << all << all
        << QStringList{"1:ab 2:ab bounded", "3:ab end", "4:ab end"} << 0;

    QTest::newRow("HTTP where the stream starts") << ByteChunks{"HTTP/1.1 400 Bad Request\r\n\r\n"} << all << all
                                                  << all << QStringList{"http"} << 28;
    QTest::newRow("HTTP after a frame") << ByteChunks{frame(7, "ab") + "HTTP/1.1 200 OK\r\n"} << all << all << all
                                        << QStringList{"7:ab http"} << 17;
    QTest::newRow("HTTP across chunks at a frame start") << ByteChunks{"HT", "TP/1.1"} << all << all << all
                                                         << QStringList{"partial:18516", "http"} << 8;
    QTest::newRow("HTTP inside a body is data") << ByteChunks{frame(7, "xHTTPx") + frame(9, "")} << all << all << all
                                                << QStringList{"7:xHTTPx 9: end"} << 0;
    QTest::newRow("a body that ends in HT before a frame")
        << ByteChunks{frame(7, "xHT") + frame(9, "TPx")} << all << all << all << QStringList{"7:xHT 9:TPx end"} << 0;
    // 'H' 'T' as a type id with a length of 2 is a frame
    QTest::newRow("a type id that reads HT") << ByteChunks{frame(0x4854, "TP")} << all << all << all
                                             << QStringList{"18516:TP end"} << 0;
}

void TestFramePass::passes()
{
    QFETCH(ByteChunks, chunks);
    QFETCH(int, frames);
    QFETCH(int, bytes);
    QFETCH(int, ms);
    QFETCH(QStringList, passes);
    QFETCH(int, left);

    PassBounds bounds;
    bounds.frames = frames;
    bounds.bytes = bytes;
    bounds.ms = ms;
    FrameAssembler a;
    QStringList seen;
    for (const QByteArray &chunk : chunks) {
        a.append(chunk);
        // The bytes taken before are dropped once they outnumber the rest.
        QVERIFY(a.buffered() - a.pending() <= a.pending());
        FramePass::Step last = FramePass::Bounded;
        while (last == FramePass::Bounded) {
            const int held = a.buffered();
            seen << runPass(a, bounds, &last);
            if (last == FramePass::Bounded)
                QCOMPARE(a.buffered(), held); // whole frames wait: no byte moved
            else
                QCOMPARE(a.buffered(), a.pending()); // only the unread bytes are held
        }
    }
    QCOMPARE(seen, passes);
    QCOMPARE(a.pending(), left);
}

// The connection ends while a frame is being handled: the pass stops, the
// frame's bytes stay readable to its end, and the next connection's bytes
// are left for the next pass, untouched.
void TestFramePass::clearedWhileAFrameIsHandled_data()
{
    QTest::addColumn<QByteArray>("next");
    QTest::addColumn<QString>("nextPass");
    QTest::newRow("nothing more") << QByteArray() << QString("end");
    QTest::newRow("the next connection's frame") << frame(9, "new") << QString("9:new end");
    QTest::newRow("the next connection's partial frame") << frame(9, "new").left(5) << QString("partial:9");
}

void TestFramePass::clearedWhileAFrameIsHandled()
{
    QFETCH(QByteArray, next);
    QFETCH(QString, nextPass);

    FrameAssembler a;
    a.append(frame(7, "cut") + frame(8, "stale") + frame(1, "cut off").left(6));
    {
        FramePass pass(a, PassBounds());
        QCOMPARE(pass.next(), FramePass::Frame);
        a.clear();
        a.append(next);
        QCOMPARE(QByteArray(pass.body(), pass.header().bodyLength), QByteArray("cut"));
        QCOMPARE(pass.next(), FramePass::Discarded);
        QCOMPARE(pass.frames(), 1);
    }
    QCOMPARE(a.pending(), next.size());
    FramePass::Step last = FramePass::Bounded;
    QCOMPARE(runPass(a, PassBounds(), &last), nextPass);
}

QTEST_GUILESS_MAIN(TestFramePass)
#include "tst_framepass.moc"
