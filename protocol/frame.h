#pragma once

// Frames of the companion protocol, shared by the desktop program and the
// companion-app simulator.
//
// A frame is a 16-bit type id, a 16-bit body length (the number of bytes that
// follow the 4-byte header) and a body of tagged fields: a 16-bit size tag
// followed by the value (16/32/64-bit integer, QString or byte array in
// QDataStream form). Everything is big-endian.

#include <QByteArray>
#include <QDataStream>
#include <QElapsedTimer>
#include <QString>

#include <climits>

namespace proto {

constexpr int FrameHeaderSize = 4;
constexpr int MaxBodySize = 0xFFFF;
constexpr int MaxFrameSize = FrameHeaderSize + MaxBodySize;

// Stream format of the receiving side (the Qt 4.6 format).
constexpr int ReadStreamVersion = QDataStream::Qt_4_6;

constexpr quint16 TagInt16 = 2;
constexpr quint16 TagInt32 = 4;
constexpr quint16 TagString = 8;
constexpr quint16 TagBytes = 8;
constexpr quint16 TagInt64 = 8;

// Builds one frame: the header is written with body length 0, then the
// fields; finish() writes (size - 4) over the placeholder.
class FrameWriter
{
public:
    explicit FrameWriter(quint16 typeId);

    FrameWriter &int16(qint16 v, quint16 tag = TagInt16);
    FrameWriter &uint16(quint16 v, quint16 tag = TagInt16);
    FrameWriter &int32(qint32 v, quint16 tag = TagInt32);
    FrameWriter &uint32(quint32 v, quint16 tag = TagInt32);
    // 64-bit values carry a 64-bit tag (the byte sizes of the left-time reply).
    FrameWriter &int64(qint64 v, qint64 tag = TagInt64);
    FrameWriter &string(const QString &s, quint16 tag = TagString);
    FrameWriter &bytes(const QByteArray &b, quint16 tag = TagBytes);

    int bodySize() const { return m_data.size() - FrameHeaderSize; }
    // True while the body fits the 16-bit length field.
    bool fits() const { return bodySize() <= MaxBodySize; }
    // Patches the body length and returns the frame. Returns an empty array
    // when the body is too long for one frame (never a corrupt frame).
    QByteArray finish();

private:
    QByteArray m_data;
    QDataStream m_stream;
};

// A frame without body: type id and 0x0000.
QByteArray emptyFrame(quint16 typeId);

// Reads the tagged fields of one frame body, by position. Tags are read and
// not checked. A body shorter than its fields yields zeros / empty values.
// The stream is bounded to the body: it never reads the next frame.
class BodyReader
{
public:
    explicit BodyReader(const QByteArray &body);
    // Reads from a body that lives in a larger buffer, without copying.
    BodyReader(const char *data, int size);

    quint16 tag();
    qint16 int16();
    quint16 uint16();
    qint32 int32();
    quint32 uint32();
    qint64 int64(); // 64-bit tag, then the value
    QString string();
    QByteArray bytes();

    // The size tag read before the latest value (a reply's string tag is
    // logged as the string length).
    quint16 lastTag() const { return m_lastTag; }

    bool atEnd() const { return m_stream.atEnd(); }
    bool ok() const { return m_stream.status() == QDataStream::Ok; }
    QDataStream &stream() { return m_stream; }

private:
    // One tagged integer field: the size tag, then the value (zero when the
    // body ends early).
    template <typename T>
    T taggedValue()
    {
        T v = 0;
        tag();
        m_stream >> v;
        return v;
    }

    QByteArray m_body;
    QDataStream m_stream;
    quint16 m_lastTag = 0;
};

struct FrameHeader
{
    quint16 typeId = 0;
    quint16 bodyLength = 0;
};

// Reads the header at data[0..4). Missing bytes read as zero.
FrameHeader readHeader(const char *data, int available);

// Takes the complete frame that starts at *pos in buffer, if there is one:
// fills header and body (a pointer into buffer) and advances *pos past it.
bool takeFrame(const QByteArray &buffer, int *pos, FrameHeader *header, const char **body);

// Cuts a byte stream into frames. Bytes are appended per received chunk;
// frames are taken by advancing an offset, and the consumed bytes are dropped
// by compact (or by append once they outnumber the unread ones), so the cost
// is linear in the bytes received.
class FrameAssembler
{
public:
    // Appends a chunk. The consumed bytes are dropped first when they
    // outnumber the unread ones, so many small chunks after a bounded pass
    // neither grow the buffer without end nor move the same bytes again and
    // again.
    void append(const QByteArray &chunk);
    // Drops every byte, a frame cut off half-way included (the connection it
    // belonged to has ended). A pass under way stops at its next step; the
    // frame it handed out stays readable until the pass ends.
    void clear();
    // Next complete frame, if any: header plus a pointer to its body inside
    // the buffer (valid until the next append/compact/clear).
    bool next(FrameHeader *header, const char **body);
    void compact();
    // Bytes not yet taken as frames.
    int pending() const { return m_buffer.size() - m_pos; }
    // Bytes held, the consumed ones that wait for compact included.
    int buffered() const { return m_buffer.size(); }
    QByteArray &buffer() { return m_buffer; }

private:
    friend class FramePass;
    QByteArray m_buffer;
    int m_pos = 0;
    quint64 m_clears = 0; // tells a pass that its bytes are gone
};

// Bounds of one pass over the frames an assembler holds. A pass takes at
// least one frame; after that it ends at whichever bound it reaches first.
struct PassBounds
{
    int frames = INT_MAX;
    int bytes = INT_MAX; // of the frames taken
    int ms = INT_MAX;    // since the pass began
};

// One pass of a reader over the frames an assembler holds, so that a reader
// that must stay responsive decodes a bounded share and continues later.
// Frames are taken by advancing the assembler's offset; when the pass ends,
// the consumed bytes are dropped only if no whole frame is left for the next
// pass (then fewer than one frame's bytes move), so many frames cost linear
// time.
class FramePass
{
public:
    enum Step {
        Frame,     // a whole frame: header() and body(); the pass is past it
        Partial,   // a frame whose type is known but whose bytes are not all
                   // here yet; header() as far as received (missing bytes
                   // read as zero)
        Http,      // "HTTP" where a frame starts: a web server answers, not
                   // the companion app (inside a frame the bytes are data)
        Bounded,   // a bound is reached: the rest is for the next pass
        End,       // no frame starts here (fewer than two bytes are left)
        Discarded, // the assembler was cleared during the pass
    };

    FramePass(FrameAssembler &assembler, const PassBounds &bounds);
    ~FramePass() { finish(); }
    FramePass(const FramePass &) = delete;
    FramePass &operator=(const FramePass &) = delete;

    Step next();
    const FrameHeader &header() const { return m_header; }
    // The body of the latest Frame; readable until the pass ends, even if
    // the assembler is cleared meanwhile.
    const char *body() const { return m_body; }
    int frames() const { return m_frames; }
    // Ends the pass (the destructor does it too): keeps the offset after a
    // bound, drops the consumed bytes otherwise. Does nothing to an
    // assembler that was cleared during the pass.
    void finish();

private:
    bool boundReached() const;

    FrameAssembler &m_assembler;
    const PassBounds m_bounds;
    const quint64 m_clears;
    // Shares the bytes the pass reads, so a frame being handled outlives a
    // clear; released before the buffer is compacted, which then moves no
    // more than the bytes left.
    QByteArray m_hold;
    QElapsedTimer m_clock;
    FrameHeader m_header;
    const char *m_body = nullptr;
    int m_taken = 0; // bytes of the frames taken
    int m_frames = 0;
    bool m_bounded = false;
    bool m_finished = false;
};

} // namespace proto
