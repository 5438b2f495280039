#include "companionsimulator.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "protocol/messages.h"
#include "protocol/records.h"

using namespace proto;

CompanionSimulator::CompanionSimulator(QObject *parent)
    : CompanionSimulator(SimDataSet::generate(), parent)
{
}

CompanionSimulator::CompanionSimulator(const SimDataSet &data, QObject *parent)
    : QObject(parent)
    , m_server(new QTcpServer(this))
    , m_data(data)
    , m_pieceTimer(new QTimer(this))
{
    qRegisterMetaType<CompanionSimulator::EraseRecord>();
    m_pieceTimer->setInterval(2);
    connect(m_pieceTimer, &QTimer::timeout, this, &CompanionSimulator::writeNextPiece);
    m_endlessTimer = new QTimer(this);
    m_endlessTimer->setInterval(2);
    connect(m_endlessTimer, &QTimer::timeout, this, &CompanionSimulator::sendEndlessStretch);
    connect(m_server, &QTcpServer::newConnection, this, &CompanionSimulator::onNewConnection);
}

CompanionSimulator::~CompanionSimulator()
{
    if (m_client)
        m_client->abort();
}

bool CompanionSimulator::listen(quint16 port)
{
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 CompanionSimulator::port() const { return m_server->serverPort(); }

void CompanionSimulator::stopListening()
{
    m_server->close();
    dropConnection();
}

bool CompanionSimulator::hasClient() const
{
    return m_client && m_client->state() == QAbstractSocket::ConnectedState;
}

void CompanionSimulator::setSdkLevel(int level)
{
    QStringList fields = m_data.homeInfo.split(QLatin1Char(';'));
    while (fields.size() < 4)
        fields << QString();
    fields[3] = QString::number(level);
    m_data.homeInfo = fields.join(QLatin1Char(';'));
}

void CompanionSimulator::setGates(bool g0, bool g1, bool g2, bool g3)
{
    m_gates[0] = g0;
    m_gates[1] = g1;
    m_gates[2] = g2;
    m_gates[3] = g3;
}

void CompanionSimulator::setFailCategory(Category c, bool fail)
{
    if (c >= 0 && c < CategoryCount)
        m_failCategory[c] = fail;
}

void CompanionSimulator::setListRefused(Category c, bool refused)
{
    if (c >= 0 && c < CategoryCount)
        m_listRefused[c] = refused;
}

void CompanionSimulator::swapPhoneOnNextConnection(const SimDataSet &other)
{
    m_nextPhone = other;
    m_swapPending = true;
}

void CompanionSimulator::setWriteMode(WriteMode mode)
{
    m_writeMode = mode;
}

void CompanionSimulator::setListPieceChars(int chars)
{
    m_listPieceChars = qBound(1, chars, 32000);
}

void CompanionSimulator::setPhotoChunkBytes(int bytes)
{
    m_photoChunkBytes = qBound(1, bytes, 60000);
}

void CompanionSimulator::setEndlessList(Category c, int recordsPerStretch)
{
    m_endless = c;
    m_endlessPerStretch = qMax(1, recordsPerStretch);
    if (c == CategoryCount)
        m_endlessTimer->stop();
}

void CompanionSimulator::sendEndlessStretch()
{
    if (m_endless == CategoryCount || !hasClient()) {
        m_endlessTimer->stop();
        return;
    }
    // Keeps the socket's write buffer short, so the stretches go out at the
    // pace the desktop reads them.
    if (m_client->bytesToWrite() > 4 * 1024 * 1024)
        return;
    QStringList records;
    records.reserve(m_endlessPerStretch);
    for (int i = 0; i < m_endlessPerStretch; ++i, ++m_endlessSent)
        records << SimDataSet::endlessRecord(m_endless, m_endlessSent);
    const QString text = joinRecords(records);
    for (int from = 0; from < text.size(); from += m_listPieceChars) {
        FrameWriter w(listReplyType(m_endless));
        w.string(text.mid(from, m_listPieceChars));
        const bool last = from + m_listPieceChars >= text.size();
        w.int16(last ? 2 : 1).int16(2);
        if (m_endless == Message)
            w.int16(0);
        w.int16(0);
        queue(w.finish());
    }
    if (m_writeMode == WriteMode::Coalesced)
        flushPending();
}

void CompanionSimulator::clearReceived()
{
    m_receivedTypes.clear();
    m_receivedFrames.clear();
    m_eraseRequests.clear();
    m_answered.clear();
    m_heldBatches.clear();
}

void CompanionSimulator::onNewConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        // The phone serves one desktop at a time: a new connection replaces
        // the old one.
        if (m_client) {
            m_client->disconnect(this);
            m_client->abort();
            m_client->deleteLater();
        }
        m_client = socket;
        m_assembler.clear();
        m_pending.clear();
        m_pieces.clear();
        for (auto &batch : m_batch)
            batch.clear();
        dropHeld();
        if (m_swapPending) {
            // Another phone was plugged in: it answers from now on.
            m_data = m_nextPhone;
            m_swapPending = false;
        }
        connect(socket, &QTcpSocket::readyRead, this, &CompanionSimulator::onReadyRead);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket]() {
            if (socket == m_client) {
                m_assembler.clear();
                emit clientDisconnected();
            }
            socket->deleteLater();
        });
        emit clientConnected();
    }
}

void CompanionSimulator::onReadyRead()
{
    if (!m_client)
        return;
    const QByteArray chunk = m_client->readAll();
    if (m_http) {
        sendRaw(QByteArrayLiteral("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n"
                                  "Connection: close\r\n\r\n"));
        return;
    }
    m_assembler.append(chunk);
    FrameHeader header;
    const char *body = nullptr;
    while (m_client && m_assembler.next(&header, &body))
        handleFrame(header.typeId, body, header.bodyLength);
    m_assembler.compact();
    if (m_writeMode == WriteMode::Coalesced)
        flushPending();
}

void CompanionSimulator::handleFrame(quint16 typeId, const char *body, int length)
{
    m_receivedTypes << typeId;
    QByteArray frame = emptyFrame(typeId);
    frame[2] = char((length >> 8) & 0xFF);
    frame[3] = char(length & 0xFF);
    frame.append(body, length);
    m_receivedFrames << frame;
    emit requestReceived(typeId);

    if (m_dropOnRequest == int(typeId)) {
        dropConnection();
        return;
    }

    const Category eraseCategory = categoryOfEraseRequest(typeId);
    if (eraseCategory != CategoryCount) {
        handleErase(eraseCategory, typeId, body, length);
        return;
    }
    if (m_silent)
        return;

    const Category listCategory = categoryOfGetRequest(typeId);
    if (listCategory != CategoryCount && listCategory == m_endless) {
        m_endlessTimer->start();
        return;
    }
    if (listCategory != CategoryCount) {
        answerList(listCategory);
        return;
    }

    switch (typeId) {
    case GetPhotoByName: {
        BodyReader r(body, length);
        answerPhoto(r.string());
        break;
    }
    case GetHomeInfo:
        if (m_homeInfoFails)
            queue(emptyFrame(HomeInfoFail));
        else
            queue(FrameWriter(HomeInfo).string(m_data.homeInfo).finish());
        break;
    case CancelScan:
        queue(emptyFrame(CancelScanBack));
        break;
    case CancelErase:
        switch (m_heldOnCancel) {
        case HeldOnCancel::Drop:
            dropHeld(); // the batch was carried out, its answer is never sent
            queue(emptyFrame(CancelEraseBack));
            break;
        case HeldOnCancel::AnswerAfterAck:
            // The phone was finishing the batch: it acknowledges the cancel,
            // then answers the batch.
            queue(emptyFrame(CancelEraseBack));
            releaseHeld();
            break;
        case HeldOnCancel::Keep:
            queue(emptyFrame(CancelEraseBack));
            break;
        }
        break;
    case CheckDefaultSmsApp:
        queue(FrameWriter(CheckDefaultSmsAppBack).int16(m_isDefaultSms ? 1 : 0).finish());
        break;
    case ChangeDefaultSmsApp:
        if (m_changeSmsResult == 1)
            m_isDefaultSms = true;
        queue(FrameWriter(ChangeDefaultSmsAppBack).int16(qint16(m_changeSmsResult)).finish());
        break;
    case GetMessageCount:
        queue(FrameWriter(MessageCountBack).string(QString::number(m_data.lists[Message].size())).finish());
        break;
    case CloseProgram:
        queue(emptyFrame(CloseProgramBack));
        break;
    case PrivateLeftTime:
    case AllLeftTime:
    case AppLeftTime:
        answerLeftTime(typeId);
        break;
    case StopGetPhoto:
        queue(emptyFrame(StopGetPhotoBack));
        break;
    case EraseBegin:
    default:
        break;
    }
}

void CompanionSimulator::handleErase(Category c, quint16 typeId, const char *body, int length)
{
    BodyReader r(body, length);
    EraseRecord rec;
    rec.typeId = typeId;
    rec.category = c;
    rec.key = r.string();
    rec.level = r.uint16();
    rec.sequence = r.uint32();
    rec.batchSize = r.uint32();
    m_eraseRequests << rec;
    emit eraseRequested(rec);

    QList<EraseRecord> &batch = m_batch[c];
    if (rec.sequence == 1)
        batch.clear();
    batch << rec;
    if (rec.sequence < rec.batchSize)
        return;

    // The batch is complete: erase, then answer it once.
    const auto failing = [&](const QString &key) { return m_failCategory[c] || m_unerasable.contains(key); };
    QSet<QString> wanted;
    QSet<QString> relisted;
    for (const EraseRecord &item : qAsConst(batch)) {
        if (failing(item.key) || m_kept.contains(item.key))
            continue;
        wanted << item.key;
        if (m_relisted.contains(item.key))
            relisted << item.key;
    }
    const QSet<QString> erased = m_data.erase(c, wanted);
    // Reported erased, listed again in another form.
    for (const QString &key : qAsConst(relisted))
        if (erased.contains(key))
            m_data.lists[c] << m_relisted.value(key);
    AnsweredBatch record;
    record.category = c;
    for (const EraseRecord &item : qAsConst(batch)) {
        record.keys << item.key;
        const bool kept = !failing(item.key) && m_kept.contains(item.key);
        if (kept || erased.contains(item.key))
            record.reportedErased << item.key;
        else
            record.failed << item.key;
    }
    batch.clear();
    const int done = record.reportedErased.size();
    const int failedCount = record.failed.size();
    emit eraseBatchAnswered(c, done, failedCount);
    m_answered << record;
    if (m_silent)
        return;
    QList<QByteArray> answer;
    for (const QString &key : qAsConst(record.failed))
        answer << FrameWriter(eraseFailReplyType(c)).string(m_contradictory ? QString() : key).uint16(0).finish();
    // A phone contradicting itself counts every item of the batch as done.
    const int doneSaid = m_contradictory ? record.keys.size() : done;
    if (done > 0)
        answer << FrameWriter(eraseBackReplyType(c)).uint32(quint32(doneSaid)).uint32(quint32(failedCount)).finish();
    if (m_holdAnswers) {
        m_held += answer;
        m_heldBatches << m_answered.size() - 1;
        return;
    }
    m_answered.last().delivered = true;
    for (const QByteArray &frame : qAsConst(answer))
        queue(frame);
}

void CompanionSimulator::releaseHeld()
{
    const QList<QByteArray> held = m_held;
    m_held.clear();
    for (int i : qAsConst(m_heldBatches))
        m_answered[i].delivered = true;
    m_heldBatches.clear();
    for (const QByteArray &frame : held)
        queue(frame);
    if (m_writeMode == WriteMode::Coalesced)
        flushPending();
}

void CompanionSimulator::dropHeld()
{
    m_held.clear();
    for (int i : qAsConst(m_heldBatches))
        m_answered[i].dropped = true;
    m_heldBatches.clear();
}

void CompanionSimulator::setHoldEraseAnswers(bool hold)
{
    m_holdAnswers = hold;
    if (!hold)
        releaseHeld();
}

QList<QByteArray> CompanionSimulator::listFrames(Category c, const QString &text, int pieceChars)
{
    QList<QByteArray> frames;
    const int n = qMax(1, (text.size() + pieceChars - 1) / pieceChars);
    for (int i = 0; i < n; ++i) {
        FrameWriter w(listReplyType(c));
        w.string(text.mid(i * pieceChars, pieceChars));
        w.int16(qint16(i + 1)).int16(qint16(n));
        if (c == Message)
            w.int16(0); // not used by the desktop
        w.int16(i + 1 == n ? 1 : 0);
        frames << w.finish();
    }
    return frames;
}

QList<QByteArray> CompanionSimulator::photoFrames(const QString &name, const QByteArray &data,
                                                  const QString &format, int chunkBytes)
{
    QList<QByteArray> frames;
    const int n = qMax(1, (data.size() + chunkBytes - 1) / chunkBytes);
    for (int i = 0; i < n; ++i) {
        frames << FrameWriter(PhotoImage)
                      .string(name)
                      .bytes(data.mid(i * chunkBytes, chunkBytes))
                      .string(format)
                      .int16(qint16(i))
                      .int16(qint16(n))
                      .finish();
    }
    return frames;
}

void CompanionSimulator::answerList(Category c)
{
    if (m_failCategory[c] || m_listRefused[c]) {
        queue(emptyFrame(getFailReplyType(c)));
        return;
    }
    const QString text = joinRecords(m_data.lists[c]);
    for (const QByteArray &frame : listFrames(c, text, m_listPieceChars))
        queue(frame);
}

void CompanionSimulator::answerPhoto(const QString &location)
{
    if (m_photoFails || m_failCategory[Photo] || !m_data.photoData.contains(location)) {
        queue(emptyFrame(PhotoFail));
        return;
    }
    const QString name = location.section(QLatin1Char('/'), -1);
    const auto frames = photoFrames(name, m_data.photoData.value(location),
                                    m_data.photoFormat.value(location), m_photoChunkBytes);
    for (const QByteArray &frame : frames)
        queue(frame);
}

QByteArray CompanionSimulator::countsBody(quint16 typeId, bool withGates, int first, int n) const
{
    FrameWriter w(typeId);
    if (withGates) {
        for (bool g : m_gates)
            w.int16(g ? 1 : 0);
    }
    for (int c = first; c < first + n; ++c)
        w.uint16(quint16(qMin(m_data.lists[c].size(), 0xFFFF)));
    return w.finish();
}

void CompanionSimulator::answerLeftTime(quint16 requestType)
{
    const int sdk = m_data.homeInfo.section(QLatin1Char(';'), 3, 3).toInt();
    const bool gates = sdk >= 23;
    switch (requestType) {
    case PrivateLeftTime:
        queue(countsBody(gates ? PrivateLeftTimeGates : PrivateLeftTimeBack, gates, Contact, 6));
        break;
    case AllLeftTime:
        queue(countsBody(gates ? AllLeftTimeGates : AllLeftTimeBack, gates, Contact, CategoryCount));
        break;
    case AppLeftTime: {
        bool anyAppData = false;
        for (int c = FirstAppCategory; c < CategoryCount; ++c)
            anyAppData = anyAppData || !m_data.lists[c].isEmpty();
        if (anyAppData)
            queue(countsBody(AppLeftTimeBack, false, FirstAppCategory, AppCategoryCount));
        else
            queue(emptyFrame(NoAppData));
        break;
    }
    default:
        break;
    }
}

void CompanionSimulator::sendAppInactive() { sendFrame(emptyFrame(AppInactive)); }
void CompanionSimulator::sendAppActive() { sendFrame(emptyFrame(AppActive)); }

void CompanionSimulator::sendFrame(const QByteArray &frame)
{
    queue(frame);
    if (m_writeMode == WriteMode::Coalesced)
        flushPending();
}

void CompanionSimulator::sendRaw(const QByteArray &bytes)
{
    if (!m_client)
        return;
    m_client->write(bytes);
    m_client->flush();
}

void CompanionSimulator::dropConnection()
{
    m_pending.clear();
    m_pieces.clear();
    m_pieceTimer->stop();
    if (m_client)
        m_client->abort();
}

void CompanionSimulator::queue(const QByteArray &frame)
{
    if (!m_client || frame.isEmpty())
        return;
    switch (m_writeMode) {
    case WriteMode::PerFrame:
        m_client->write(frame);
        m_client->flush();
        break;
    case WriteMode::Coalesced:
        m_pending += frame;
        break;
    case WriteMode::Split: {
        // Cut inside the header and in the middle of the body, so that the
        // reader sees a partial header and a partial body.
        const int cuts[] = {0, 1, 3, qMax(3, (frame.size() + 3) / 2), frame.size()};
        for (int i = 0; i + 1 < 5; ++i) {
            const int from = qMin(cuts[i], frame.size());
            const int to = qMin(cuts[i + 1], frame.size());
            if (to > from)
                m_pieces.enqueue(frame.mid(from, to - from));
        }
        if (!m_pieceTimer->isActive())
            m_pieceTimer->start();
        break;
    }
    }
}

void CompanionSimulator::flushPending()
{
    if (m_pending.isEmpty() || !m_client)
        return;
    m_client->write(m_pending);
    m_client->flush();
    m_pending.clear();
}

void CompanionSimulator::writeNextPiece()
{
    if (m_pieces.isEmpty() || !m_client) {
        m_pieceTimer->stop();
        return;
    }
    m_client->write(m_pieces.dequeue());
    m_client->flush();
}
