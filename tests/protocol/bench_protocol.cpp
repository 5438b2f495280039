// Benchmark (not a test): the receive path and the record parsing of the
// window's protocol section, next to the raw cost of copying the same bytes.
//
//   bench_protocol [megabytes]     (default 24)

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <cstring>

#include "companionsimulator.h"
#include "mainwindow.h"
#include "protocol/messages.h"
#include "protocol/records.h"

namespace {

QTextStream out(stdout);

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

double ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

std::unique_ptr<MainWindow> window()
{
    auto w = std::make_unique<MainWindow>();
    w->m_stepTimer[MainWindow::StepTestPort]->stop();
    return w;
}

// Photo-directory list frames of about `bytes` in total, each body close to
// the 65535-byte limit: one list, one stretch.
QByteArray directoryBurst(qint64 bytes, int *frames, int *records)
{
    QStringList entries;
    qint64 textBytes = 0;
    for (int i = 0; textBytes < bytes; ++i) {
        const QString e = QStringLiteral("IMG_%1.jpg;%2;jpg;/sdcard/DCIM/Camera/IMG_%1.jpg").arg(i, 8, 10, QLatin1Char('0')).arg(1000 + i);
        entries << e;
        textBytes += 2 * (e.size() + 5);
    }
    *records = entries.size();
    const QList<QByteArray> list = CompanionSimulator::listFrames(Photo, proto::joinRecords(entries), 32000);
    *frames = list.size();
    QByteArray burst;
    for (const QByteArray &f : list)
        burst += f;
    return burst;
}

double rawCopy(const QByteArray &burst, int chunk)
{
    QElapsedTimer t;
    t.start();
    QByteArray sink;
    for (int pos = 0; pos < burst.size(); pos += chunk)
        sink.append(burst.constData() + pos, qMin(chunk, burst.size() - pos));
    volatile char keep = sink.isEmpty() ? 0 : sink.at(sink.size() / 2);
    (void)keep;
    return ms(t);
}

// One chunk through the receive loop, every pass at once (the window would
// run the later passes from its event loop).
void receiveAll(MainWindow *w, const QByteArray &chunk)
{
    w->receiveChunk(chunk);
    while (w->decodeReceivedFrames()) {
    }
}

double throughReceiveChunk(const QByteArray &burst, int chunk, int expectRecords)
{
    auto w = window();
    QElapsedTimer t;
    t.start();
    for (int pos = 0; pos < burst.size(); pos += chunk)
        receiveAll(w.get(), burst.mid(pos, chunk));
    const double elapsed = ms(t);
    if (w->m_photoDir.size() != expectRecords || !w->m_dataReadable[Photo])
        out << "  !! decoded " << w->m_photoDir.size() << " of " << expectRecords << " records\n";
    return elapsed;
}

// Through a real socket: a local server writes the burst, the window's
// receiveData reads and decodes it.
double throughSocket(const QByteArray &burst, int expectRecords)
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    auto w = window();
    w->m_tcpSocket->connectToHost(QHostAddress::LocalHost, server.serverPort());
    w->m_tcpSocket->waitForConnected(5000);
    server.waitForNewConnection(5000);
    QTcpSocket *peer = server.nextPendingConnection();
    QElapsedTimer t;
    t.start();
    peer->write(burst);
    while (!w->m_dataReadable[Photo] && t.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double elapsed = ms(t);
    if (w->m_photoDir.size() != expectRecords)
        out << "  !! decoded " << w->m_photoDir.size() << " of " << expectRecords << " records\n";
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    const qint64 mb = argc > 1 ? QByteArray(argv[1]).toLongLong() : 24;

    int frames = 0;
    int records = 0;
    const QByteArray burst = directoryBurst(mb * 1024 * 1024, &frames, &records);
    const double size = double(burst.size()) / (1024 * 1024);
    out << "receive path: " << QString::number(size, 'f', 1) << " MiB in " << frames << " list frames, "
        << records << " directory records\n";
    for (int chunk : {65536, 1 << 20, int(burst.size())}) {
        const double copy = rawCopy(burst, chunk);
        const double decode = throughReceiveChunk(burst, chunk, records);
        out << "  chunks of " << chunk << " bytes: raw copy " << QString::number(copy, 'f', 1) << " ms, receive loop "
            << QString::number(decode, 'f', 1) << " ms (" << QString::number(size / (decode / 1000), 'f', 0)
            << " MiB/s)\n";
    }
    out << "  over a local socket (receiveData): " << QString::number(throughSocket(burst, records), 'f', 1)
        << " ms\n";

    // Many tiny frames in one chunk: the loop must stay linear.
    for (int n : {50000, 200000}) {
        QByteArray tiny;
        for (int i = 0; i < n; ++i)
            tiny += proto::emptyFrame(proto::CancelEraseBack);
        tiny += proto::emptyFrame(proto::CancelScanBack);
        auto w = window();
        QElapsedTimer t;
        t.start();
        receiveAll(w.get(), tiny);
        out << "  " << n << " tiny frames in one chunk: " << QString::number(ms(t), 'f', 1) << " ms"
            << (w->m_cancelScanBack ? "" : " !! last frame lost") << "\n";
    }

    // Debug-number frames append to a hidden trace label, which stays bounded.
    for (int n : {50000, 200000}) {
        QByteArray debug;
        for (int i = 0; i < n; ++i)
            debug += proto::FrameWriter(proto::DebugNumber).uint16(quint16(i)).finish();
        auto w = window();
        QElapsedTimer t;
        t.start();
        receiveAll(w.get(), debug);
        out << "  " << n << " debug-number frames in one chunk: " << QString::number(ms(t), 'f', 1) << " ms\n";
    }

    // 50,000 contacts: the list frames decoded and parsed into the three maps.
    const QStringList contacts = SimDataSet::generateContacts(50000);
    const QString text = proto::joinRecords(contacts);
    QByteArray contactBurst;
    for (const QByteArray &f : CompanionSimulator::listFrames(Contact, text, 32000))
        contactBurst += f;
    {
        const double copy = rawCopy(contactBurst, 65536);
        auto w = window();
        QElapsedTimer t;
        t.start();
        for (int pos = 0; pos < contactBurst.size(); pos += 65536)
            receiveAll(w.get(), contactBurst.mid(pos, 65536));
        const double all = ms(t);
        proto::RecordStore id;
        QMultiMap<QString, QString> name;
        proto::NumberIndex number;
        QElapsedTimer p;
        p.start();
        proto::addTextRecords(text, {&id, &name, &number});
        const double parseOnly = ms(p);
        out << "50,000 contacts: " << QString::number(double(contactBurst.size()) / (1024 * 1024), 'f', 1)
            << " MiB of frames; raw copy " << QString::number(copy, 'f', 1) << " ms, received and parsed "
            << QString::number(all, 'f', 1) << " ms (parsing into the maps alone "
            << QString::number(parseOnly, 'f', 1) << " ms); " << w->m_contactMapIdData.size() << " ids, "
            << w->m_contactMapNumberId.size() << " numbers\n";
    }
    out.flush();
    return 0;
}
