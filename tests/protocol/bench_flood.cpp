// Benchmark (not a test): a peer that floods the window with frames as fast
// as the local socket takes them, and the longest stall of the window's event
// loop meanwhile (a heartbeat every 20 ms).
//
//   bench_flood [frames] [--unbounded]
//
// The frames are a mix of what the companion app may send unasked: "sure
// connected" (105), debug numbers (124, appended to a hidden label), repeated
// home-info replies (68) and app-active notices (107); the last frame is a
// cancel-scan acknowledgement that ends the run. --unbounded lets one pass of
// the receive loop decode all it has read, as one pass did before passes were
// bounded.

#include <QApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QThread>
#include <atomic>

#include "mainwindow.h"
#include "protocol/frame.h"
#include "protocol/messages.h"
#include "memorymeter.h"
#include "stallmeter.h"

namespace {

QTextStream out(stdout);

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// The flooding peer, on a thread of its own: it writes whenever the socket
// takes more.
class Peer : public QThread
{
public:
    explicit Peer(qint64 frames) : m_frames(frames) {}
    std::atomic<int> port{0};
    qint64 bytes = 0;

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        port = server.serverPort();
        if (!server.waitForNewConnection(30000))
            return;
        QTcpSocket *s = server.nextPendingConnection();
        const QByteArray mix[] = {
            proto::emptyFrame(proto::SureConnected),
            proto::FrameWriter(proto::DebugNumber).uint16(4321).finish(),
            proto::FrameWriter(proto::HomeInfo)
                .string(QStringLiteral("Nimbus Z7;9;R58N91XKQ2B;28;arm64-v8a;32 GB;10.5 GB;64 GB;40.2 GB"))
                .finish(),
            proto::emptyFrame(proto::AppActive),
            proto::emptyFrame(proto::SureConnected),
        };
        QByteArray block;
        qint64 sent = 0;
        while (sent < m_frames) {
            block.clear();
            for (int i = 0; i < 20000 && sent < m_frames; ++i, ++sent)
                block += mix[sent % 5];
            if (sent == m_frames)
                block += proto::emptyFrame(proto::CancelScanBack);
            bytes += block.size();
            s->write(block);
            while (s->bytesToWrite() > 1024 * 1024)
                s->waitForBytesWritten(1000);
        }
        while (s->bytesToWrite() > 0 && s->waitForBytesWritten(1000)) {
        }
        s->waitForDisconnected(600000);
    }

private:
    qint64 m_frames;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    qint64 frames = 6000000;
    bool unbounded = false;
    for (const QString &a : app.arguments().mid(1)) {
        if (a == QLatin1String("--unbounded"))
            unbounded = true;
        else
            frames = a.toLongLong();
    }

    MainWindow w;
    w.m_stepTimer[MainWindow::StepTestPort]->stop();
    w.show();
    if (unbounded) {
        w.m_receivePassBytes = INT_MAX;
        w.m_receivePassFrames = INT_MAX;
        w.m_receivePassMs = INT_MAX;
        w.m_tcpSocket->setReadBufferSize(0);
    }
    Peer peer(frames);
    peer.start();
    while (peer.port == 0)
        QThread::msleep(5);

    const qint64 rssStart = memorymeter::residentKb();
    StallMeter stalls;
    stalls.start();
    QElapsedTimer t;
    t.start();
    w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, quint16(peer.port));
    while (!w.m_cancelScanBack)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const double s = t.nsecsElapsed() / 1e9;
    stalls.stop();
    w.m_tcpSocket->abort();
    peer.wait();

    out << QString("%1 frames (%2 MiB) in %3 s (%4 frames/s)%5")
               .arg(frames)
               .arg(peer.bytes / 1048576.0, 0, 'f', 1)
               .arg(s, 0, 'f', 2)
               .arg(frames / s, 0, 'f', 0)
               .arg(unbounded ? QStringLiteral(", one pass decodes all it has") : QString())
        << Qt::endl;
    out << "longest event-loop stall: " << stalls.longestStallMs() << " ms over " << stalls.ticks() << " heartbeats"
        << Qt::endl;
    out << "memory: " << rssStart / 1024 << " MB before, peak " << memorymeter::peakKb() / 1024 << " MB" << Qt::endl;
    return 0;
}
