// The TCP session with the companion app: connection supervision, the
// home-info poll and the receive loop that cuts the byte stream into frames.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QDebug>
#include <QElapsedTimer>

#include <algorithm>

#include "app/widgetvisibility.h"
#include "protocol/frame.h"
#include "protocol/messages.h"
#include "protocol/records.h"

namespace {
const char *const kCompanionHost = "127.0.0.1";

void logFrameHeader(const proto::FrameHeader &header)
{
    qDebug() << "type_id:" << header.typeId << "mesg_len:" << header.bodyLength;
}
} // namespace

void MainWindow::initSession()
{
    m_tcpSocket = new QTcpSocket(this);
    // The socket reads ahead no more than about one pass of the receive loop;
    // a peer that sends faster waits (TCP flow control) instead of filling
    // memory.
    m_tcpSocket->setReadBufferSize(m_receivePassBytes);
    connect(m_tcpSocket, &QTcpSocket::readyRead, this, &MainWindow::receiveData);
    // Bytes of a connection that ended never belong to the next one, in
    // either direction.
    connect(m_tcpSocket, &QAbstractSocket::stateChanged, this, [this](QAbstractSocket::SocketState s) {
        if (s == QAbstractSocket::UnconnectedState) {
            discardReceivedBytes();
            if (!m_outgoing.isEmpty())
                qDebug() << "requests not sent, the connection ended:" << m_outgoing.size();
            m_outgoing.clear();
        }
    });
    // An erase batch goes on as the socket takes its bytes (and on its
    // timer, workflow/polls.cpp).
    connect(m_tcpSocket, &QIODevice::bytesWritten, this, &MainWindow::sendOutgoing);

    for (int c = 0; c < CategoryCount; ++c) {
        m_scanSecondsPerItem[c] = proto::ScanSecondsPerItem[c];
        m_eraseSecondsPerItem[c] = proto::EraseSecondsPerItem[c];
    }
}

void MainWindow::teardownSession()
{
    m_outgoing.clear();
    stopPolls(StopsWithSession);
    m_tcpSocket->disconnect(this);
    m_tcpSocket->abort();
    clearPhotoThumbnails();
    if (m_photoDecoder)
        m_photoDecoder->done = nullptr; // photos still decoding report to nobody
}

void MainWindow::appendHiddenTrace(QLabel *label, const QString &token)
{
    if (!label)
        return;
    HiddenTrace *trace = nullptr;
    for (HiddenTrace &t : m_hiddenTraces) {
        if (t.label == label)
            trace = &t;
    }
    if (!trace) {
        m_hiddenTraces.append(HiddenTrace());
        trace = &m_hiddenTraces.last();
        trace->label = label;
        trace->tail.reset(label->text());
    }
    trace->tail.append(token);
    trace->pending = true;
    if (m_hiddenTracesHeld == 0)
        showHiddenTraces();
}

void MainWindow::showHiddenTraces()
{
    for (HiddenTrace &t : m_hiddenTraces) {
        if (t.pending)
            t.label->setText(t.tail.text());
        t.pending = false;
    }
}

void MainWindow::discardReceivedBytes()
{
    if (m_receiveFrames.buffered() > 0)
        qDebug() << "discard received bytes:" << m_receiveFrames.buffered();
    // A pass under way stops after the frame it is handling.
    m_receiveFrames.clear();
    if (m_timerReceiveData)
        m_timerReceiveData->stop();
    // A list or photo cut off with its connection is never completed by the
    // next connection's frames.
    for (int c = 0; c < CategoryCount; ++c) {
        m_chunkText[c].clear();
        m_chunkOverflow[c] = false;
    }
    resetPhotoAccumulator();
    m_photoRequested.clear();
}

void MainWindow::writeRequest(const QByteArray &frame)
{
    if (frame.isEmpty())
        return;
    if (!m_outgoing.isEmpty()) {
        // Behind the erase batch still being written.
        Outgoing request;
        request.frame = frame;
        m_outgoing.append(request);
        return;
    }
    m_tcpSocket->write(frame);
    m_tcpSocket->flush();
}

void MainWindow::sendOutgoing()
{
    // Flushing the socket tells of the bytes written at once: that call
    // comes back here and finds the pass under way.
    if (m_sendingOutgoing)
        return;
    m_sendingOutgoing = true;
    QElapsedTimer clock;
    clock.start();
    while (!m_outgoing.isEmpty()) {
        if (m_tcpSocket->state() != QAbstractSocket::ConnectedState) {
            // Nothing more can go out on this connection.
            qDebug() << "requests not sent, not connected:" << m_outgoing.size();
            m_outgoing.clear();
            break;
        }
        if (m_tcpSocket->bytesToWrite() >= m_sendAheadBytes)
            break; // the socket tells when it has taken some (bytesWritten)
        if (clock.elapsed() >= m_sendPassMs) {
            m_timerSendOutgoing->start(0); // the window's turn first
            break;
        }
        Outgoing &head = m_outgoing.first();
        if (head.category < 0) {
            const QByteArray frame = head.frame;
            m_outgoing.removeFirst();
            m_tcpSocket->write(frame);
            m_tcpSocket->flush();
            continue;
        }
        writeEraseSlice(head);
        if (head.next >= head.keys.size()) {
            qDebug() << "erase batch written:" << proto::categoryName(Category(head.category)) << head.keys.size()
                     << "items";
            m_outgoing.removeFirst();
        }
    }
    m_sendingOutgoing = false;
}

void MainWindow::writeEraseSlice(Outgoing &batch)
{
    const Category c = Category(batch.category);
    const int n = int(batch.keys.size());
    const int from = batch.next;
    QByteArray slice;
    slice.reserve(m_sendSliceBytes + proto::MaxFrameSize);
    while (batch.next < n && slice.size() < m_sendSliceBytes) {
        // Keys that fit no frame were left out of the batch before numbering.
        proto::appendEraseRequest(slice, batch.type, batch.keys.at(batch.next), batch.level, quint32(batch.next + 1),
                                  quint32(n));
        ++batch.next;
    }
    m_tcpSocket->write(slice);
    m_tcpSocket->flush();
    for (int i = from; i < batch.next; ++i)
        m_eraseAccount.markSentAt(c, batch.places.at(i));
    m_eraseSentCount[c] += quint32(batch.next - from);
}

void MainWindow::dropUnsentEraseItems()
{
    for (int i = 0; i < m_outgoing.size();) {
        const Outgoing &o = m_outgoing.at(i);
        if (o.category < 0) {
            ++i;
            continue;
        }
        qDebug() << "erase items not sent:" << proto::categoryName(Category(o.category)) << o.keys.size() - o.next
                 << "of" << o.keys.size();
        m_outgoing.removeAt(i);
    }
    if (!m_outgoing.isEmpty())
        m_timerSendOutgoing->start(0);
}

bool MainWindow::eraseItemsUnsent(int category) const
{
    return std::any_of(m_outgoing.cbegin(), m_outgoing.cend(), [category](const Outgoing &o) {
        return o.category >= 0 && (category < 0 || o.category == category);
    });
}

void MainWindow::newTCPConnected()
{
    appendHiddenTrace(ui->testLabel_2, QStringLiteral("t ,"));
    m_timerNewTCPConnected->stop();
    qDebug() << "stoped at self";

    switch (m_tcpSocket->state()) {
    case QAbstractSocket::ConnectedState:
        m_programType = ProgramType::Idle;
        m_appState = AppStateType::Active;
        if (m_rebootDone) {
            if (m_pageEraseType == int(EraseType::All) && ui->T_D_FactoryDataReset->isHidden())
                app::showWidget(ui->T_D_FactoryDataReset);
            m_rebootDone = false;
        }
        qDebug() << "keep connected once connected";
        ++m_connectedCount;
        qDebug() << "connected count:" << m_connectedCount;
        if (!m_homeInfoRequested) {
            qDebug() << "sent get homeinfo request once";
            appendHiddenTrace(ui->testLabel_2, QStringLiteral("reqHo ,"));
            writeRequest(proto::getRequest(proto::GetHomeInfo));
            app::hideWidget(ui->T_AppState);
            m_homeInfoRequested = true;
            m_timerHomeInfoReadable->start(m_homeInfoPollMs);
            m_workPhase = None;
            // The phone page is the device link's: a report held in front stays.
            showLinkPage(ui->A_MP_ConnectedInfomation_5);
        } else {
            qDebug() << "net is connected";
            m_timerNewTCPConnected->start(5000);
        }
        break;
    case QAbstractSocket::ConnectingState:
        qDebug() << "is connectting...";
        m_appState = AppStateType::NotActive;
        m_timerNewTCPConnected->start(1000);
        break;
    case QAbstractSocket::HostLookupState:
        qDebug() << "is host look up";
        m_timerNewTCPConnected->start(1000);
        break;
    case QAbstractSocket::UnconnectedState:
        connectAgainOrHandBack();
        break;
    default:
        // Bound / listening / closing: look again shortly.
        m_timerNewTCPConnected->start(1000);
        break;
    }
}

// The connection to the companion app is down: it is tried again until it
// has failed three times; then the session gives up and hands the phone back
// to the device link.
void MainWindow::connectAgainOrHandBack()
{
    m_programType = ProgramType::ConnectingDevice;
    m_appState = AppStateType::NotActive;
    qDebug() << "not connected";
    ++m_connectFailTimes;
    qDebug() << "times:" << m_connectFailTimes;
    if (m_connectFailTimes < 3) {
        qDebug() << "unconnectd ,do connect";
        m_connectedCount = 0;
        discardReceivedBytes();
        m_tcpSocket->connectToHost(QString::fromLatin1(kCompanionHost), m_companionPort, QIODevice::ReadWrite,
                                   QAbstractSocket::AnyIPProtocol);
        m_homeInfoRequested = false;
        m_homeInfoShown = false;
        // A home-info reply or an HTTP answer belonged to the connection
        // that ended; left set, either would end the next connection's
        // home-info poll at once, and a silent app would never be given
        // up on. The poll counts its rounds afresh.
        m_homeInfoReadable = false;
        m_receivedHttp = false;
        m_homeInfoReadTimes = 0;
        m_timerNewTCPConnected->start(2000);
    } else {
        qDebug() << "times>=3";
        if (m_stepTimer[StepTestCheckAppQuited])
            m_stepTimer[StepTestCheckAppQuited]->stop();
        resetHomeInfoDisplay();
        hidePages();
        resetAdbCheckState();
        m_tcpSocket->flush();
        m_tcpSocket->close();
        m_tcpSocket->abort();
        discardReceivedBytes();
        stopActivityTimers();
        hideNotices();
        m_connectFailTimes = 0;
        handBackToDeviceLink();
    }
}

void MainWindow::reconnectNet()
{
    if (m_tcpSocket->state() != QAbstractSocket::ConnectedState)
        newTCPConnected();
}

// The companion watchdog does not count: it runs beside the supervision
// while the app is in the background, and stops it itself when the app quits.
bool MainWindow::deviceLinkBusy()
{
    const QList<QTimer *> timers = deviceLinkStepTimers();
    for (QTimer *t : timers) {
        if (t && t->isActive())
            return true;
    }
    return deviceLinkStepRunning(); // a step's command is under way
}

void MainWindow::homeInfoReadable()
{
    ++m_homeInfoReadTimes;
    qDebug() << "in homeinfo readable:" << m_homeInfoReadTimes << "times";
    if (m_tcpSocket->state() != QAbstractSocket::ConnectedState) {
        qDebug() << "in update home info,not  connected";
        if (m_timerHomeInfoReadable->isActive())
            m_timerHomeInfoReadable->stop();
        // The connection ended before its home-info reply. The supervision
        // was paused for the request, so unless the device link has taken
        // over, it must watch the socket again (reconnect or give up), or
        // nothing would.
        if (!m_homeInfoReadable && !m_receivedHttp && !m_timerNewTCPConnected->isActive()
            && !deviceLinkBusy())
            m_timerNewTCPConnected->start(2000);
    } else {
        qDebug() << "in update home info, connected";
    }

    if (m_homeInfoReadable) {
        m_timerHomeInfoReadable->stop();
        qDebug() << "in homeinforeadable ,home info:" << m_homeInfoList;
        m_homeInfoReadTimes = 0;
        if (!m_timerNewTCPConnected->isActive())
            m_timerNewTCPConnected->start(5000);
        return;
    }

    qDebug() << "in update once,readable false,read times:" << m_homeInfoReadTimes;
    if (m_receivedHttp) {
        m_receivedHttp = false;
        m_homeInfoReadTimes = 0;
        m_timerHomeInfoReadable->stop();
    } else if (m_homeInfoReadTimes > 100) {
        // The app never answers: the connection ends, and the device link
        // starts over, up to a new connection of its own.
        qDebug() << "home info never answered, give up";
        m_homeInfoReadTimes = 0;
        stopActivityTimers();
        m_tcpSocket->abort();
        m_connectFailTimes = 0;
        m_stepTimer[StepTestPort]->start(100);
    }
}

// One pass of the receive loop: reads what one pass decodes, decodes it and,
// when frames are left, continues on the next pass of the event loop (the
// window paints and takes clicks in between).
void MainWindow::receiveData()
{
    m_timerReceiveData->stop();
    qDebug() << "got receive";
    // More is read once less than a whole frame is left, so the bytes left
    // over that move to the buffer's start are few.
    const int unread = m_receiveFrames.pending();
    if (m_tcpSocket->bytesAvailable() > 0 && unread < proto::MaxFrameSize) {
        m_receiveFrames.compact();
        const qint64 room = qMax<qint64>(m_receivePassBytes - unread, proto::MaxFrameSize);
        m_receiveFrames.append(m_tcpSocket->read(qMin(room, m_tcpSocket->bytesAvailable())));
    }
    if (decodeReceivedFrames() || m_tcpSocket->bytesAvailable() > 0)
        m_timerReceiveData->start(0);
}

void MainWindow::receiveChunk(const QByteArray &chunk)
{
    m_receiveFrames.append(chunk);
    if (decodeReceivedFrames())
        m_timerReceiveData->start(0);
}

bool MainWindow::decodeReceivedFrames()
{
    if (m_receiveFrames.buffered() == 0)
        return false;
    // The trace labels are set once, when the pass ends (however it ends).
    struct TracesHeld
    {
        MainWindow *w;
        explicit TracesHeld(MainWindow *window) : w(window) { ++w->m_hiddenTracesHeld; }
        ~TracesHeld()
        {
            if (--w->m_hiddenTracesHeld == 0)
                w->showHiddenTraces();
        }
    } held(this);

    // The bounds let the window paint and take clicks between passes
    // whatever the frames cost.
    proto::PassBounds bounds;
    bounds.frames = m_receivePassFrames;
    bounds.bytes = m_receivePassBytes;
    bounds.ms = m_receivePassMs;
    proto::FramePass pass(m_receiveFrames, bounds);
    while (true) {
        switch (pass.next()) {
        case proto::FramePass::Http:
            qDebug() << "received wrong type of http";
            m_receivedHttp = true;
            m_tcpSocket->abort();
            discardReceivedBytes();
            resetAdbCheckState();
            stopActivityTimers();
            m_stepTimer[StepTestPort]->start(100);
            return false;
        case proto::FramePass::Partial:
            logFrameHeader(pass.header());
            return false; // the partial frame waits for the rest
        case proto::FramePass::Frame: {
            logFrameHeader(pass.header());
            proto::BodyReader body(pass.body(), pass.header().bodyLength);
            decodeReply(pass.header().typeId, body);
            break; // a connection that ended meanwhile ends the pass (Discarded)
        }
        case proto::FramePass::Bounded:
            return true; // the rest on the next pass
        case proto::FramePass::End:
        case proto::FramePass::Discarded:
            return false;
        }
    }
}
