// Benchmark (not a test): photo thumbnails at a real phone's scale, through
// the real window and a local socket. The companion-app simulator runs as its
// own process (the phone's side) with N camera photos; the program scans
// privately, opens the photo category as the results show, and takes every
// thumbnail.
//
//   bench_photos [photos] [WxH] [--no-exif-thumbnail] [--photo-chunk BYTES]
//
// Prints the time just to transfer the photos' bytes over the socket (a bare
// client that asks for them one after another and discards them; before the
// window's run and after it, as the load of a shared machine changes), and for
// the window: the time until the first screen of thumbnails shows after the
// results page opens, the time until every thumbnail is in, the peak resident
// memory, its growth per photo over the second half, and the longest stall of
// the event loop.

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QProcess>
#include <QTableWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <QTextStream>
#include <QtEndian>

#include "mainwindow.h"
#include "protocol/frame.h"
#include "protocol/messages.h"
#include "protocol/records.h"
#include "memorymeter.h"
#include "stallmeter.h"
#include "ui_mainwindow.h"

namespace {

QTextStream out(stdout);

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

// Runs the event loop (which sleeps while nothing happens, so the waiting
// costs the measured parts nothing) until done() holds.
bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(1);
    loop.exec();
    return done();
}

quint16 freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort();
}

// The companion-app simulator, in its own process.
struct Phone
{
    QProcess process;
    quint16 port = 0;

    bool start(const QStringList &photoArgs)
    {
        const QString program = QCoreApplication::applicationDirPath()
            + QStringLiteral("/../../tools/companionsim/purgatex-companion-sim");
        port = freePort();
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, QStringList{QStringLiteral("--port"), QString::number(port)} + photoArgs);
        QByteArray said;
        return waitFor(
                   [&] {
                       said += process.readAll();
                       return said.contains("listening") || process.state() == QProcess::NotRunning;
                   },
                   600000)
            && process.state() == QProcess::Running;
    }
    ~Phone()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

// Asks for the photo list, then for every photo in turn (the next as soon as
// the last chunk of the previous is in), and discards the bytes.
struct BareClient
{
    QTcpSocket socket;
    QByteArray buffer;
    QStringList locations;
    int next = 0; // the photo to ask for next
    qint64 photoBytes = 0;
    bool listDone = false;
    QString listText;

    void askNext()
    {
        if (next < locations.size())
            socket.write(proto::photoByNameRequest(locations.at(next)));
        ++next;
    }
    bool allIn() const { return next > locations.size(); }

    void onData()
    {
        buffer += socket.readAll();
        int pos = 0;
        while (buffer.size() - pos >= proto::FrameHeaderSize) {
            const proto::FrameHeader h = proto::readHeader(buffer.constData() + pos, buffer.size() - pos);
            const int size = proto::FrameHeaderSize + h.bodyLength;
            if (buffer.size() - pos < size)
                break;
            const auto *b = reinterpret_cast<const uchar *>(buffer.constData() + pos + proto::FrameHeaderSize);
            if (h.typeId == proto::PhotoImage) {
                // name, bytes, format: tag + length + data each; then index and count
                int at = 0;
                for (int field = 0; field < 3; ++field) {
                    const quint32 n = qFromBigEndian<quint32>(b + at + 2);
                    at += 6 + (n == 0xFFFFFFFFu ? 0 : int(n));
                    if (field == 1)
                        photoBytes += n;
                }
                const int index = qFromBigEndian<qint16>(b + at + 2);
                const int count = qFromBigEndian<qint16>(b + at + 6);
                if (index + 1 == count)
                    askNext();
            } else if (h.typeId == proto::PhotoFail) {
                askNext();
            } else if (h.typeId == proto::listReplyType(Photo)) {
                proto::BodyReader r(buffer.mid(pos + proto::FrameHeaderSize, h.bodyLength));
                listText += r.string();
                r.int16();
                r.int16();
                listDone = r.int16() == 1;
            }
            pos += size;
        }
        buffer.remove(0, pos);
    }
};

// Seconds the bare client takes for every photo, or -1.
double transferOnly(quint16 port, int photos)
{
    BareClient c;
    QObject::connect(&c.socket, &QTcpSocket::readyRead, [&] { c.onData(); });
    c.socket.connectToHost(QHostAddress::LocalHost, port);
    if (!waitFor([&] { return c.socket.state() == QAbstractSocket::ConnectedState; }, 10000))
        return -1;
    c.socket.write(proto::FrameWriter(proto::GetPhotoDir).int16(qint16(qMin(photos, 32767))).finish());
    if (!waitFor([&] { return c.listDone; }, 60000))
        return -1;
    for (const QString &entry : proto::splitRecords(c.listText))
        if (!entry.isEmpty())
            c.locations << proto::entryLocation(entry);
    QElapsedTimer t;
    t.start();
    c.askNext();
    if (!waitFor([&] { return c.allIn(); }, 3600000))
        return -1;
    const double s = t.nsecsElapsed() / 1e9;
    out << QString("transfer only: %1 photos, %2 MiB in %3 s (%4 MiB/s)")
               .arg(c.locations.size())
               .arg(c.photoBytes / 1048576.0, 0, 'f', 0)
               .arg(s, 0, 'f', 2)
               .arg(c.photoBytes / 1048576.0 / s, 0, 'f', 0)
        << Qt::endl;
    c.socket.disconnectFromHost();
    waitFor([&] { return c.socket.state() == QAbstractSocket::UnconnectedState; }, 5000);
    return s;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qInstallMessageHandler(quiet);
    const QStringList args = app.arguments().mid(1);
    int photos = 2000;
    QString size = QStringLiteral("4000x3000");
    QStringList extra;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == QLatin1String("--no-exif-thumbnail"))
            extra << a;
        else if (a == QLatin1String("--photo-chunk") && i + 1 < args.size())
            extra << a << args.at(++i);
        else if (a.contains(QLatin1Char('x')))
            size = a;
        else
            photos = a.toInt();
    }
    Phone phone;
    out << "simulated phone: " << photos << " photos of " << size << " " << extra.join(' ') << Qt::endl;
    if (!phone.start(QStringList{QStringLiteral("--photos"), QString::number(photos), QStringLiteral("--photo-size"),
                                 size} + extra)) {
        out << "the companion-app simulator did not start" << Qt::endl;
        return 1;
    }

    // ----- the bytes alone, before the window and after it -----
    const double transferBefore = transferOnly(phone.port, photos);
    if (transferBefore < 0)
        return 1;

    // ----- the window -----
    memorymeter::resetPeak();
    const qint64 rssStart = memorymeter::residentKb();
    MainWindow w;
    w.m_stepTimer[MainWindow::StepTestPort]->stop();
    w.show();
    w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, phone.port);
    if (!waitFor([&] { return w.m_tcpSocket->state() == QAbstractSocket::ConnectedState; }, 10000))
        return 1;
    w.m_programType = ProgramType::Idle;
    w.m_workPhase = None;
    w.m_sdkLevel = 28;
    w.setScopeButtonsEnabled(true);
    QTest::mouseClick(w.ui->S_Private_Button, Qt::LeftButton);
    waitFor([&] { return !w.ui->B_EAll_ToScan->isHidden(); }, 10000);
    QTest::mouseClick(w.ui->EAll_Label_ToScan, Qt::LeftButton);
    if (!waitFor([&] { return w.m_workPhase == Scanned; }, 600000)) {
        out << "the scan did not end" << Qt::endl;
        return 1;
    }
    QElapsedTimer t;
    t.start();
    StallMeter stalls;
    stalls.start();
    // The user opens the photo category as the results show.
    w.selectCategory(Photo);
    QTableWidget *table = w.categoryTable(Photo);
    const int n = w.m_photoDir.size();
    auto firstScreenShown = [&] {
        const int first = qMax(1, table->rowAt(0));
        int last = table->rowAt(table->viewport()->height() - 1);
        if (last < 0)
            last = table->rowCount() - 1;
        for (int r = first; r <= last && r <= n; ++r)
            if (table->item(r, 1)->whatsThis().isEmpty())
                return false;
        return true;
    };
    waitFor(firstScreenShown, 600000);
    const double firstScreen = t.nsecsElapsed() / 1e9;
    waitFor([&] { return w.m_photoThumbs.size() >= n / 2; }, 3600000);
    const qint64 rssHalf = memorymeter::residentKb();
    const int half = w.m_photoThumbs.size();
    waitFor([&] { return w.m_photoThumbs.size() >= n; }, 3600000);
    const double all = t.nsecsElapsed() / 1e9;
    stalls.stop();
    const qint64 rssEnd = memorymeter::residentKb();
    int placed = 0;
    for (int r = 1; r <= n; ++r)
        placed += table->item(r, 1)->whatsThis().isEmpty() ? 0 : 1;

    out << QString("window: first screen of thumbnails %1 s after the results opened; all %2 thumbnails (%3 placed) in "
                   "%4 s")
               .arg(firstScreen, 0, 'f', 2)
               .arg(w.m_photoThumbs.size())
               .arg(placed)
               .arg(all, 0, 'f', 2)
        << Qt::endl;
    out << QString("memory: %1 MB at start, peak %2 MB, %3 MB at the end; growth per photo over the second half %4 KB")
               .arg(rssStart / 1024)
               .arg(memorymeter::peakKb() / 1024)
               .arg(rssEnd / 1024)
               .arg(double(rssEnd - rssHalf) / qMax(1, n - half), 0, 'f', 1)
        << Qt::endl;
    out << "longest event-loop stall: " << stalls.longestStallMs() << " ms" << Qt::endl;

    w.m_tcpSocket->abort();
    const double transferAfter = transferOnly(phone.port, photos);
    out << QString("all thumbnails / transfer only: %1 (against the mean of both transfer runs)")
               .arg(all / ((transferBefore + transferAfter) / 2), 0, 'f', 2)
        << Qt::endl;
    return 0;
}
