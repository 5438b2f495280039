#include "photothumb.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include "browser/browserlogic.h"

namespace browser {

namespace {

// Reads big- or little-endian integers of a TIFF structure (the Exif block),
// refusing every read outside it.
class TiffReader
{
public:
    TiffReader(const char *data, int size, bool littleEndian)
        : m_data(reinterpret_cast<const uchar *>(data)), m_size(size), m_little(littleEndian)
    {
    }
    bool u16(qint64 at, quint32 *v) const
    {
        if (at < 0 || at + 2 > m_size)
            return false;
        *v = m_little ? qFromLittleEndian<quint16>(m_data + at) : qFromBigEndian<quint16>(m_data + at);
        return true;
    }
    bool u32(qint64 at, quint32 *v) const
    {
        if (at < 0 || at + 4 > m_size)
            return false;
        *v = m_little ? qFromLittleEndian<quint32>(m_data + at) : qFromBigEndian<quint32>(m_data + at);
        return true;
    }
    // The value of an IFD entry of type SHORT (3) or LONG (4), held in the entry.
    bool entryValue(qint64 entry, quint32 *v) const
    {
        quint32 type = 0;
        if (!u16(entry + 2, &type))
            return false;
        if (type == 3)
            return u16(entry + 8, v);
        if (type == 4)
            return u32(entry + 8, v);
        return false;
    }

private:
    const uchar *m_data;
    qint64 m_size;
    bool m_little;
};

// The Exif block of a JPEG (the TIFF structure after "Exif\0\0"), or empty.
QByteArray exifBlock(const QByteArray &jpeg)
{
    const auto *d = reinterpret_cast<const uchar *>(jpeg.constData());
    const qint64 n = jpeg.size();
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return QByteArray();
    qint64 pos = 2;
    // The Exif block comes before the image data; look at the marker
    // segments up to the first scan.
    while (pos + 4 <= n && d[pos] == 0xFF) {
        const uchar marker = d[pos + 1];
        if (marker == 0xDA || marker == 0xD9)
            break;
        const qint64 length = qFromBigEndian<quint16>(d + pos + 2);
        if (length < 2 || pos + 2 + length > n)
            break;
        if (marker == 0xE1 && length >= 8 && memcmp(d + pos + 4, "Exif\0\0", 6) == 0)
            return jpeg.mid(int(pos + 10), int(length - 8));
        pos += 2 + length;
    }
    return QByteArray();
}

QImage readScaled(QImageReader *reader, const QSize &size)
{
    reader->setScaledSize(size);
    return reader->read();
}

bool sameProportions(const QSize &a, const QSize &b)
{
    // within 2 %: a camera thumbnail letterboxed to another shape is not used
    const qint64 cross = qAbs(qint64(a.width()) * b.height() - qint64(b.width()) * a.height());
    return cross * 50 <= qint64(a.width()) * b.height();
}

QByteArray jpegBytes(const QImage &image)
{
    QImage opaque = image;
    if (image.hasAlphaChannel()) {
        opaque = QImage(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter p(&opaque);
        p.drawImage(0, 0, image);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(PhotoPreviewQuality);
    writer.write(opaque);
    return bytes;
}

} // namespace

QByteArray exifThumbnail(const QByteArray &jpeg)
{
    const QByteArray tiff = exifBlock(jpeg);
    if (tiff.size() < 8)
        return QByteArray();
    bool little;
    if (tiff.startsWith("II*\0"))
        little = true;
    else if (tiff.startsWith(QByteArray("MM\0*", 4)))
        little = false;
    else
        return QByteArray();
    const TiffReader r(tiff.constData(), tiff.size(), little);

    // IFD0, then the next IFD (IFD1), which describes the thumbnail.
    quint32 ifd0 = 0, count0 = 0, ifd1 = 0, count1 = 0;
    if (!r.u32(4, &ifd0) || !r.u16(ifd0, &count0) || !r.u32(qint64(ifd0) + 2 + 12 * qint64(count0), &ifd1)
        || ifd1 == 0 || !r.u16(ifd1, &count1))
        return QByteArray();
    quint32 offset = 0, length = 0;
    for (quint32 i = 0; i < count1; ++i) {
        const qint64 entry = qint64(ifd1) + 2 + 12 * qint64(i);
        quint32 tag = 0;
        if (!r.u16(entry, &tag))
            return QByteArray();
        if (tag == 0x0201 && !r.entryValue(entry, &offset))
            return QByteArray();
        if (tag == 0x0202 && !r.entryValue(entry, &length))
            return QByteArray();
    }
    if (offset == 0 || length < 4 || qint64(offset) + length > tiff.size())
        return QByteArray();
    const QByteArray thumb = tiff.mid(int(offset), int(length));
    if (uchar(thumb.at(0)) != 0xFF || uchar(thumb.at(1)) != 0xD8)
        return QByteArray();
    return thumb;
}

PhotoThumbnail makePhotoThumbnail(const QByteArray &data)
{
    PhotoThumbnail t;
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    t.declaredSize = reader.size();
    if (!t.declaredSize.isValid() || t.declaredSize.isEmpty())
        return t; // no image, or one whose size cannot be known before decoding it
    if (qint64(t.declaredSize.width()) * t.declaredSize.height() > MaxPhotoPixels) {
        t.status = PhotoThumbnail::TooLarge;
        return t;
    }
    const QSize previewSize =
        t.declaredSize.scaled(PhotoPreviewSide, PhotoPreviewSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));

    QImage preview;
    if (reader.format() == "jpeg") {
        const QByteArray exif = exifThumbnail(data);
        if (!exif.isEmpty()) {
            QBuffer exifBuffer;
            exifBuffer.setData(exif);
            exifBuffer.open(QIODevice::ReadOnly);
            QImageReader exifReader(&exifBuffer, "jpeg");
            const QSize s = exifReader.size();
            if (s.width() >= previewSize.width() && s.height() >= previewSize.height()
                && qint64(s.width()) * s.height() <= qint64(t.declaredSize.width()) * t.declaredSize.height()
                && sameProportions(s, t.declaredSize)) {
                preview = readScaled(&exifReader, previewSize);
                t.fromExif = !preview.isNull();
            }
        }
    }
    if (preview.isNull())
        preview = readScaled(&reader, previewSize);
    if (preview.isNull())
        return t;

    t.status = PhotoThumbnail::Decoded;
    t.icon = preview.scaled(PhotoIconSide, PhotoIconSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    t.preview = jpegBytes(preview);
    return t;
}

QImage previewImage(const QByteArray &preview)
{
    if (preview.isEmpty())
        return QImage();
    return QImage::fromData(preview, "JPEG");
}

int nextPhotoToAsk(const QStringList &dirEntries, const QBitArray &asked, int firstVisibleRow,
                   int lastVisibleRow, int *cursor)
{
    const int n = dirEntries.size();
    auto askable = [&](int i) {
        return i >= 0 && i < n && !(i < asked.size() && asked.testBit(i)) && !fileRow(dirEntries.at(i)).location.isEmpty();
    };
    if (firstVisibleRow >= 0) {
        for (int row = qMax(1, firstVisibleRow); row <= lastVisibleRow && row <= n; ++row) {
            if (askable(row - 1))
                return row - 1;
        }
    }
    while (*cursor < n && !askable(*cursor))
        ++*cursor;
    return *cursor < n ? *cursor : -1;
}

} // namespace browser
