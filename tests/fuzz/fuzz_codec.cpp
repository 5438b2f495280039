// The frame codec: a byte stream cut into frames, chunk by chunk as the
// simulator and the window's receive loop do, and the tagged fields of each
// body read and written back.
//
// Input: byte 0 picks how the rest is cut into chunks; the rest is the stream.
// Properties: the chunked assembler, taken whole or in bounded passes, finds
// the same frames as one pass over the whole stream; fields read from a body, written with the frame writer
// and read again come back the same, under a header that gives their length.

#include "fuzztarget.h"

#include "protocol/frame.h"

#include <QString>
#include <QVector>

namespace {

enum Kind { Int16, UInt16, Int32, UInt32, Int64, String, Bytes, KindCount };

struct Field
{
    Kind kind = Int16;
    quint16 tag = 0;
    qint64 number = 0;
    QString text;
    QByteArray bytes;
    bool operator==(const Field &o) const
    {
        return kind == o.kind && number == o.number && text == o.text && bytes == o.bytes;
    }
};

// The body read field by field, the kinds following from the type id (every
// reply has its own fixed layout; this walks many layouts).
QVector<Field> readFields(quint16 typeId, proto::BodyReader &r, int maxFields)
{
    QVector<Field> fields;
    for (int i = 0; i < maxFields && !r.atEnd() && r.ok(); ++i) {
        Field f;
        f.kind = Kind((typeId + i) % KindCount);
        switch (f.kind) {
        case Int16: f.number = r.int16(); break;
        case UInt16: f.number = r.uint16(); break;
        case Int32: f.number = r.int32(); break;
        case UInt32: f.number = r.uint32(); break;
        case Int64: f.number = r.int64(); break;
        case String: f.text = r.string(); break;
        case Bytes: f.bytes = r.bytes(); break;
        case KindCount: break;
        }
        f.tag = r.lastTag();
        fields << f;
    }
    return fields;
}

QByteArray writeFields(quint16 typeId, const QVector<Field> &fields, bool *fits)
{
    proto::FrameWriter w(typeId);
    for (const Field &f : fields) {
        switch (f.kind) {
        case Int16: w.int16(qint16(f.number), f.tag); break;
        case UInt16: w.uint16(quint16(f.number), f.tag); break;
        case Int32: w.int32(qint32(f.number), f.tag); break;
        case UInt32: w.uint32(quint32(f.number), f.tag); break;
        case Int64: w.int64(f.number); break;
        case String: w.string(f.text, f.tag); break;
        case Bytes: w.bytes(f.bytes, f.tag); break;
        case KindCount: break;
        }
    }
    *fits = w.fits();
    return w.finish();
}

struct Frame
{
    quint16 typeId;
    QByteArray body;
    bool operator==(const Frame &o) const { return typeId == o.typeId && body == o.body; }
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const uint8_t split = in.byte();
    const QByteArray stream = in.rest();

    QVector<Frame> whole;
    int pos = 0;
    proto::FrameHeader header;
    const char *body = nullptr;
    while (proto::takeFrame(stream, &pos, &header, &body))
        whole.append({header.typeId, QByteArray(body, header.bodyLength)});
    FUZZ_CHECK(pos <= stream.size());

    QVector<Frame> chunked;
    proto::FrameAssembler assembler;
    for (const QByteArray &chunk : fuzz::chunks(stream, split)) {
        assembler.append(chunk);
        while (assembler.next(&header, &body))
            chunked.append({header.typeId, QByteArray(body, header.bodyLength)});
        assembler.compact();
    }
    FUZZ_CHECK(chunked == whole);
    FUZZ_CHECK(assembler.pending() == stream.size() - pos);

    // The same through bounded passes, as the window reads: the same frames
    // in the same order, up to an "HTTP" where a frame starts. The consumed
    // bytes held never outnumber the unread ones once a chunk is appended.
    QVector<Frame> passed;
    proto::FrameAssembler reader;
    proto::PassBounds bounds;
    bounds.frames = 1 + split % 7;
    bool http = false;
    for (const QByteArray &chunk : fuzz::chunks(stream, split)) {
        reader.append(chunk);
        FUZZ_CHECK(reader.buffered() - reader.pending() <= reader.pending());
        proto::FramePass::Step step = proto::FramePass::Bounded;
        while (step == proto::FramePass::Bounded) {
            proto::FramePass pass(reader, bounds);
            while ((step = pass.next()) == proto::FramePass::Frame)
                passed.append({pass.header().typeId, QByteArray(pass.body(), pass.header().bodyLength)});
            FUZZ_CHECK(pass.frames() <= bounds.frames);
        }
        if (step == proto::FramePass::Http) {
            http = true;
            break;
        }
    }
    FUZZ_CHECK(http ? passed == whole.mid(0, passed.size()) : passed == whole);
    FUZZ_CHECK(http || reader.pending() == stream.size() - pos);

    for (const Frame &frame : qAsConst(whole)) {
        proto::BodyReader reader(frame.body.constData(), frame.body.size());
        const QVector<Field> fields = readFields(frame.typeId, reader, 64);
        bool fits = false;
        const QByteArray written = writeFields(frame.typeId, fields, &fits);
        FUZZ_CHECK(fits == !written.isEmpty());
        if (written.isEmpty())
            continue;
        const proto::FrameHeader h = proto::readHeader(written.constData(), written.size());
        FUZZ_CHECK(h.typeId == frame.typeId);
        FUZZ_CHECK(int(h.bodyLength) == written.size() - proto::FrameHeaderSize);
        proto::BodyReader again(written.constData() + proto::FrameHeaderSize, h.bodyLength);
        FUZZ_CHECK(readFields(frame.typeId, again, fields.size()) == fields);
        FUZZ_CHECK(again.atEnd());
    }
    return 0;
}
