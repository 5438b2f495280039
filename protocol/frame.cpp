#include "protocol/frame.h"

#include <QtEndian>

namespace proto {

FrameWriter::FrameWriter(quint16 typeId)
    : m_stream(&m_data, QIODevice::WriteOnly)
{
    m_stream.setByteOrder(QDataStream::BigEndian);
    m_stream << typeId << quint16(0);
}

FrameWriter &FrameWriter::int16(qint16 v, quint16 tag)
{
    m_stream << tag << v;
    return *this;
}

FrameWriter &FrameWriter::uint16(quint16 v, quint16 tag)
{
    m_stream << tag << v;
    return *this;
}

FrameWriter &FrameWriter::int32(qint32 v, quint16 tag)
{
    m_stream << tag << v;
    return *this;
}

FrameWriter &FrameWriter::uint32(quint32 v, quint16 tag)
{
    m_stream << tag << v;
    return *this;
}

FrameWriter &FrameWriter::int64(qint64 v, qint64 tag)
{
    m_stream << tag << v;
    return *this;
}

FrameWriter &FrameWriter::string(const QString &s, quint16 tag)
{
    m_stream << tag << s;
    return *this;
}

FrameWriter &FrameWriter::bytes(const QByteArray &b, quint16 tag)
{
    m_stream << tag << b;
    return *this;
}

QByteArray FrameWriter::finish()
{
    if (!fits())
        return QByteArray();
    m_stream.device()->seek(2);
    m_stream << quint16(m_data.size() - FrameHeaderSize);
    m_stream.device()->seek(m_data.size());
    return m_data;
}

QByteArray emptyFrame(quint16 typeId)
{
    QByteArray frame(FrameHeaderSize, '\0');
    qToBigEndian(typeId, frame.data());
    return frame;
}

BodyReader::BodyReader(const QByteArray &body)
    : m_body(body)
    , m_stream(m_body)
{
    m_stream.setByteOrder(QDataStream::BigEndian);
    m_stream.setVersion(ReadStreamVersion);
}

BodyReader::BodyReader(const char *data, int size)
    : m_body(QByteArray::fromRawData(data, size))
    , m_stream(m_body)
{
    m_stream.setByteOrder(QDataStream::BigEndian);
    m_stream.setVersion(ReadStreamVersion);
}

quint16 BodyReader::tag()
{
    quint16 t = 0;
    m_stream >> t;
    m_lastTag = t;
    return t;
}

qint16 BodyReader::int16()
{
    return taggedValue<qint16>();
}

quint16 BodyReader::uint16()
{
    return taggedValue<quint16>();
}

qint32 BodyReader::int32()
{
    return taggedValue<qint32>();
}

quint32 BodyReader::uint32()
{
    return taggedValue<quint32>();
}

qint64 BodyReader::int64()
{
    qint64 t = 0;
    qint64 v = 0;
    m_stream >> t >> v;
    return v;
}

QString BodyReader::string()
{
    QString s;
    tag();
    m_stream >> s;
    if (m_stream.status() != QDataStream::Ok)
        return QString();
    return s;
}

QByteArray BodyReader::bytes()
{
    QByteArray b;
    tag();
    m_stream >> b;
    if (m_stream.status() != QDataStream::Ok)
        return QByteArray();
    return b;
}

FrameHeader readHeader(const char *data, int available)
{
    unsigned char h[FrameHeaderSize] = {0, 0, 0, 0};
    for (int i = 0; i < FrameHeaderSize && i < available; ++i)
        h[i] = static_cast<unsigned char>(data[i]);
    FrameHeader header;
    header.typeId = qFromBigEndian<quint16>(h);
    header.bodyLength = qFromBigEndian<quint16>(h + 2);
    return header;
}

bool takeFrame(const QByteArray &buffer, int *pos, FrameHeader *header, const char **body)
{
    const int available = buffer.size() - *pos;
    if (available < FrameHeaderSize)
        return false;
    const FrameHeader h = readHeader(buffer.constData() + *pos, available);
    if (available < FrameHeaderSize + int(h.bodyLength))
        return false;
    *header = h;
    *body = buffer.constData() + *pos + FrameHeaderSize;
    *pos += FrameHeaderSize + h.bodyLength;
    return true;
}

void FrameAssembler::append(const QByteArray &chunk)
{
    if (m_pos > m_buffer.size() - m_pos)
        compact();
    m_buffer.append(chunk);
}

void FrameAssembler::clear()
{
    m_buffer.clear();
    m_pos = 0;
    ++m_clears;
}

bool FrameAssembler::next(FrameHeader *header, const char **body)
{
    return takeFrame(m_buffer, &m_pos, header, body);
}

void FrameAssembler::compact()
{
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
}

namespace {
// A web server answering on the forwarded port instead of the companion app.
bool startsLikeHttp(const char *data, int available)
{
    return available >= 4 && data[0] == 'H' && data[1] == 'T' && data[2] == 'T' && data[3] == 'P';
}
} // namespace

FramePass::FramePass(FrameAssembler &assembler, const PassBounds &bounds)
    : m_assembler(assembler)
    , m_bounds(bounds)
    , m_clears(assembler.m_clears)
    , m_hold(assembler.m_buffer)
{
    m_clock.start();
}

bool FramePass::boundReached() const
{
    return m_frames > 0
           && (m_frames >= m_bounds.frames || m_taken >= m_bounds.bytes || m_clock.elapsed() >= m_bounds.ms);
}

FramePass::Step FramePass::next()
{
    if (m_assembler.m_clears != m_clears)
        return Discarded;
    if (m_finished)
        return End;
    const QByteArray &buffer = m_assembler.m_buffer;
    const int pos = m_assembler.m_pos;
    const int available = buffer.size() - pos;
    if (available < 2)
        return End;
    if (boundReached()) {
        m_bounded = true;
        return Bounded;
    }
    const char *start = buffer.constData() + pos;
    if (startsLikeHttp(start, available))
        return Http;
    m_header = readHeader(start, available);
    const int frameSize = FrameHeaderSize + m_header.bodyLength;
    if (available < frameSize)
        return Partial;
    // Bytes appended during the pass may have moved the buffer: the frame is
    // read from (and kept alive by) the bytes as they are now.
    if (m_hold.constData() != buffer.constData())
        m_hold = buffer;
    m_body = m_hold.constData() + pos + FrameHeaderSize;
    m_assembler.m_pos += frameSize;
    m_taken += frameSize;
    ++m_frames;
    return Frame;
}

void FramePass::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    m_body = nullptr;
    m_hold = QByteArray(); // released first, so compacting copies nothing
    if (m_assembler.m_clears != m_clears)
        return; // the bytes were dropped; what came after is not this pass's
    if (m_assembler.m_pos >= m_assembler.m_buffer.size()) {
        m_assembler.m_buffer.clear();
        m_assembler.m_pos = 0;
    } else if (!m_bounded) {
        m_assembler.compact(); // only a partial frame is left: few bytes move
    }
    // after a bound, whole frames wait: no bytes are moved yet
}

} // namespace proto
