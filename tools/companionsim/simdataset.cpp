#include "simdataset.h"

#include <QBuffer>
#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QtEndian>

#include "protocol/records.h"

namespace {

const char *const kFirstNames[] = {"Ada",  "Bruno", "Carla", "Dmitri", "Elena", "Farid",
                                   "Greta", "Hugo", "Ines",  "Jonas",  "Kira",  "Lars",
                                   "Mona", "Nils",  "Olga",  "Pavel",  "Quinn", "Rosa"};
const char *const kLastNames[] = {"Arden", "Brook", "Calder", "Dorn",  "Ellery", "Frost",
                                  "Gale",  "Holm",  "Ivers",  "Jarek", "Keller", "Lund"};

QString contactName(int i)
{
    const int nf = int(sizeof(kFirstNames) / sizeof(*kFirstNames));
    const int nl = int(sizeof(kLastNames) / sizeof(*kLastNames));
    QString name = QStringLiteral("%1 %2").arg(QLatin1String(kFirstNames[i % nf]),
                                               QLatin1String(kLastNames[(i / nf) % nl]));
    if (i >= nf * nl)
        name += QStringLiteral(" %1").arg(i / (nf * nl) + 1);
    return name;
}

QString contactNumber(int i)
{
    return QStringLiteral("+1555%1").arg(i + 100000, 7, 10, QLatin1Char('0'));
}

QString dateText(int minutesAgo)
{
    const QDateTime base(QDate(2026, 11, 30), QTime(18, 0, 0));
    return base.addSecs(-qint64(minutesAgo) * 60 * 37).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QByteArray drawPhoto(int i, const char *format)
{
    QImage image(320 + 16 * i, 240, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, image.height());
    sky.setColorAt(0, QColor::fromHsv((i * 47) % 360, 120, 250));
    sky.setColorAt(1, QColor::fromHsv((i * 47 + 180) % 360, 200, 120));
    p.fillRect(image.rect(), sky);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sun(QPointF(60 + 20 * i, 70), 50);
    sun.setColorAt(0, Qt::white);
    sun.setColorAt(1, QColor(255, 200, 40));
    p.setBrush(sun);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(60 + 20 * i, 70), 40, 40);
    p.setBrush(QColor::fromHsv((i * 83) % 360, 160, 90));
    p.drawRect(0, 170, image.width(), 70);
    for (int k = 0; k < 5; ++k)
        p.drawEllipse(QPointF(30 + k * 60, 175), 25 + k * 3, 18);
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, 85);
    return bytes;
}

void putU16(QByteArray *b, int at, quint16 v) { qToBigEndian(v, reinterpret_cast<uchar *>(b->data() + at)); }
void putU32(QByteArray *b, int at, quint32 v) { qToBigEndian(v, reinterpret_cast<uchar *>(b->data() + at)); }

QByteArray encode(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

} // namespace

// The thumbnail in IFD1, the block right after the start-of-image marker.
QByteArray SimDataSet::withExifThumbnail(const QByteArray &jpeg, const QByteArray &thumbnail)
{
    // TIFF header, IFD0 (orientation), IFD1 (compression, thumbnail offset
    // and length), then the thumbnail.
    const int ifd0 = 8;
    const int ifd1 = ifd0 + 2 + 12 + 4;
    const int data = ifd1 + 2 + 3 * 12 + 4;
    QByteArray tiff(data, '\0');
    tiff[0] = 'M';
    tiff[1] = 'M';
    putU16(&tiff, 2, 42);
    putU32(&tiff, 4, ifd0);
    putU16(&tiff, ifd0, 1);
    putU16(&tiff, ifd0 + 2, 0x0112); // orientation: upright
    putU16(&tiff, ifd0 + 4, 3);
    putU32(&tiff, ifd0 + 6, 1);
    putU16(&tiff, ifd0 + 10, 1);
    putU32(&tiff, ifd0 + 14, ifd1);
    const quint16 entries[3][2] = {{0x0103, 3}, {0x0201, 4}, {0x0202, 4}};
    const quint32 values[3] = {6, quint32(data), quint32(thumbnail.size())};
    putU16(&tiff, ifd1, 3);
    for (int i = 0; i < 3; ++i) {
        const int e = ifd1 + 2 + 12 * i;
        putU16(&tiff, e, entries[i][0]);
        putU16(&tiff, e + 2, entries[i][1]);
        putU32(&tiff, e + 4, 1);
        if (entries[i][1] == 3)
            putU16(&tiff, e + 8, quint16(values[i]));
        else
            putU32(&tiff, e + 8, values[i]);
    }
    putU32(&tiff, ifd1 + 2 + 36, 0);
    tiff += thumbnail;

    const int segment = 2 + 6 + tiff.size();
    if (segment > 0xFFFF || !jpeg.startsWith("\xFF\xD8"))
        return jpeg;
    QByteArray app1(4, '\0');
    app1[0] = char(0xFF);
    app1[1] = char(0xE1);
    putU16(&app1, 2, quint16(segment));
    app1 += QByteArray("Exif\0\0", 6) + tiff;
    return jpeg.left(2) + app1 + jpeg.mid(2);
}

QColor SimDataSet::cameraPictureColour(int picture)
{
    return QColor::fromHsv((picture * 137) % 360, 190, 215);
}

QByteArray SimDataSet::cameraJpeg(int picture, const QSize &size, bool exifThumbnail)
{
    // The picture's colour, a few shapes near its edges and the fine grain of
    // a camera sensor (which is what makes a real photo a few MB large).
    QImage image(size, QImage::Format_RGB32);
    const QColor colour = cameraPictureColour(picture);
    image.fill(colour);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        const int w = size.width();
        const int h = size.height();
        for (int k = 0; k < 6; ++k) {
            p.setBrush(QColor::fromHsv((picture * 137 + 60 * k + 30) % 360, 150, 120 + 20 * k));
            const QPointF centre(k % 2 ? w * 0.92 : w * 0.08, h * (0.1 + 0.16 * k));
            p.drawEllipse(centre, w * 0.06, h * 0.05);
        }
    }
    quint32 seed = 2654435761u * quint32(picture + 1);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int n = int((seed >> 24) % 25) - 12;
            const QRgb c = line[x];
            line[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255), qBound(0, qBlue(c) + n, 255));
        }
    }
    const QByteArray jpeg = encode(image, "JPEG", 90);
    const QSize thumbSize = size.scaled(320, 320, Qt::KeepAspectRatio);
    if (!exifThumbnail || thumbSize.width() >= size.width())
        return jpeg;
    return withExifThumbnail(jpeg, encode(image.scaled(thumbSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                                          "JPEG", 80));
}

void SimDataSet::addCameraPhotos(const CameraPhotos &photos)
{
    QHash<int, QByteArray> drawn;
    for (int i = 0; i < photos.count; ++i) {
        const int picture = photos.pictures > 0 ? i % photos.pictures : i;
        if (!drawn.contains(picture))
            drawn.insert(picture, cameraJpeg(picture, photos.size, photos.exifThumbnail));
        const QString number = QStringLiteral("%1").arg(i / 4 + 1, 4, 10, QLatin1Char('0'));
        QString location;
        switch (i % 4) {
        case 0: location = QStringLiteral("/sdcard/DCIM/Camera/IMG_%1.jpg").arg(number); break;
        case 1: location = QStringLiteral("/sdcard/DCIM/Backup/IMG_%1.jpg").arg(number); break; // same name
        case 2: location = QStringLiteral("/sdcard/Pictures/Edited/edit_IMG_%1.jpg").arg(number); break;
        default: location = QStringLiteral("/sdcard/Download/%1.jpg").arg(number); break; // inside the others
        }
        const QByteArray &bytes = drawn[picture];
        photoData.insert(location, bytes);
        photoFormat.insert(location, QStringLiteral("jpg"));
        lists[Photo] << QStringLiteral("%1;%2;jpg;%3").arg(location.section(QLatin1Char('/'), -1)).arg(bytes.size()).arg(location);
    }
}

QString SimDataSet::defaultHomeInfo(int sdkLevel)
{
    return QStringLiteral("Nimbus Z7;9;R58N91XKQ2B;%1;arm64-v8a;32 GB;10.5 GB;64 GB;40.2 GB").arg(sdkLevel);
}

QStringList SimDataSet::generateContacts(int count)
{
    QStringList contacts;
    contacts.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString name = contactName(i);
        QString mail = name.toLower();
        mail.replace(QLatin1Char(' '), QLatin1Char('.'));
        contacts << QStringLiteral("c%1;%2;%3;%4@example.org;%5 Harbour Road;%6")
                        .arg(i + 1)
                        .arg(name, contactNumber(i), mail)
                        .arg(10 + i)
                        .arg(i % 3 == 0 ? QStringLiteral("Lumen Works") : QStringLiteral("Independent"));
    }
    return contacts;
}

QStringList SimDataSet::generateMessages(int count, int bodyChars, int numbers)
{
    static const char kWords[] = "see you at six running late parcel delivered call me back happy birthday "
                                 "your code is on the way thanks again lunch tomorrow ";
    const QString words = QString::fromLatin1(kWords);
    QStringList messages;
    messages.reserve(count);
    numbers = qMax(1, numbers);
    for (int i = 0; i < count; ++i) {
        const int sender = i % numbers;
        QString body = words.mid(i % 40);
        while (body.size() < bodyChars)
            body += words;
        body.truncate(bodyChars);
        messages << QStringLiteral("m%1;%2;%3;%4;%5")
                        .arg(i + 1)
                        .arg(contactName(sender), contactNumber(sender), body, dateText(i % 100000));
    }
    return messages;
}

QString SimDataSet::endlessRecord(Category c, int i)
{
    switch (c) {
    case Contact:
        return QStringLiteral("e%1;%2;%3;;;").arg(i).arg(contactName(i), contactNumber(i % 1000000));
    case History:
        return QStringLiteral("e%1;;%2;Missed;0;%3").arg(i).arg(contactNumber(i % 1000000), dateText(i % 100000));
    case Message:
        return QStringLiteral("e%1;;%2;again and again;%3").arg(i).arg(contactNumber(i % 1000000), dateText(i % 100000));
    case Photo:
    case Audio:
    case Vedio:
        return QStringLiteral("f%1.jpg;1000;jpg;/sdcard/endless/f%1.jpg").arg(i);
    default:
        return QStringLiteral("/sdcard/Android/data/endless/files/f%1.db").arg(i);
    }
}

void SimDataSet::dropSomeNames()
{
    for (Category c : {Contact, History, Message}) {
        QStringList &records = lists[c];
        for (int i = 0; i < records.size(); i += 3) {
            QStringList f = records[i].split(QLatin1Char(';'));
            if (f.size() > 1)
                f[1].clear();
            records[i] = f.join(QLatin1Char(';'));
        }
    }
    lists[Contact] << QStringLiteral("c-nonumber;Front Desk;;front.desk@example.org;1 Harbour Road;Lumen Works");
    lists[History] << QStringLiteral("h-private;;;Missed;0;%1").arg(dateText(3));
}

void SimDataSet::addOddFileEntries()
{
    const QString beach = QStringLiteral("/sdcard/DCIM/Trip;2026/Beach;Day.jpg");
    photoData.insert(beach, drawPhoto(9, "JPEG"));
    photoFormat.insert(beach, QStringLiteral("jpg"));
    lists[Photo] << QStringLiteral("Beach;Day.jpg;%1;jpg;%2").arg(photoData.value(beach).size()).arg(beach)
                 << QStringLiteral("lost.jpg;1200;jpg;")
                 << QStringLiteral("moved.jpg;900;jpg;/sdcard/DCIM/renamed.jpg");
    lists[Audio] << QStringLiteral("Song;Live.mp3;3456789;mp3;/sdcard/Music/Song;Live.mp3")
                 << QStringLiteral("memo.m4a;180000;m4a;/sdcard/Voice;Notes/memo.m4a")
                 << QStringLiteral("nowhere.m4a;1000;m4a;");
    lists[Vedio] << QStringLiteral("Clip;1;2.mp4;24000000;mp4;/sdcard/Movies/Clip;1;2.mp4")
                 << QStringLiteral("relative.mp4;1000;mp4;Movies/relative.mp4");
}

SimDataSet SimDataSet::generate(int contactCount)
{
    SimDataSet d;
    d.homeInfo = defaultHomeInfo();
    d.lists[Contact] = generateContacts(contactCount);

    // Call history: mostly contacts, a few unknown numbers.
    static const char *const kCallTypes[] = {"Incoming", "Outgoing", "Missed"};
    for (int i = 0; i < 30; ++i) {
        const bool known = i % 5 != 4;
        const QString number = known ? contactNumber(i % qMax(1, contactCount))
                                     : QStringLiteral("+4930%1").arg(7700 + i);
        const QString name = known ? contactName(i % qMax(1, contactCount)) : QStringLiteral("Unknown");
        d.lists[History] << QStringLiteral("h%1;%2;%3;%4;%5;%6")
                                .arg(i + 1)
                                .arg(name, number, QLatin1String(kCallTypes[i % 3]))
                                .arg((i * 37) % 600)
                                .arg(dateText(i * 11));
    }

    // Messages: some from contacts, several sharing one number, some from a
    // short code that is no contact.
    static const char *const kBodies[] = {"See you at six", "Running late, sorry",
                                          "Your code is 4821", "Happy birthday!",
                                          "Can you call me back?", "Parcel delivered"};
    for (int i = 0; i < 30; ++i) {
        QString number;
        QString name;
        if (i % 3 == 0) {
            number = QStringLiteral("72345"); // shared by every third message
            name = QStringLiteral("ParcelPost");
        } else {
            const int c = (i / 2) % qMax(1, contactCount);
            number = contactNumber(c);
            name = contactName(c);
        }
        d.lists[Message] << QStringLiteral("m%1;%2;%3;%4;%5")
                                .arg(i + 1)
                                .arg(name, number, QLatin1String(kBodies[i % 6]), dateText(i * 7));
    }

    // Photos: real JPEG and PNG data.
    for (int i = 0; i < 8; ++i) {
        const bool png = i % 3 == 2;
        const QString format = png ? QStringLiteral("png") : QStringLiteral("jpg");
        const QString name = png ? QStringLiteral("Screenshot_%1.png").arg(20261101 + i)
                                 : QStringLiteral("IMG_%1.jpg").arg(20261101 + i);
        const QString location = (png ? QStringLiteral("/sdcard/Pictures/Screenshots/")
                                      : QStringLiteral("/sdcard/DCIM/Camera/"))
            + name;
        const QByteArray bytes = drawPhoto(i, png ? "PNG" : "JPEG");
        d.photoData.insert(location, bytes);
        d.photoFormat.insert(location, format);
        d.lists[Photo] << QStringLiteral("%1;%2;%3;%4").arg(name).arg(bytes.size()).arg(format, location);
    }

    for (int i = 0; i < 5; ++i) {
        const QString name = QStringLiteral("voice_note_%1.m4a").arg(i + 1);
        d.lists[Audio] << QStringLiteral("%1;%2;m4a;/sdcard/Recordings/%1").arg(name).arg(180000 + 9973 * i);
    }
    for (int i = 0; i < 3; ++i) {
        const QString name = QStringLiteral("VID_%1.mp4").arg(20261110 + i);
        d.lists[Vedio] << QStringLiteral("%1;%2;mp4;/sdcard/DCIM/Camera/%1").arg(name).arg(24000000 + 1000003 * i);
    }

    // App data for Facebook, Twitter, Viber and Whatsapp; Skype and Kik hold none.
    const struct {
        Category c;
        const char *folder;
        int files;
    } apps[] = {{Facebook, "com.facebook.katana", 4},
                {Twitter, "com.twitter.android", 3},
                {Viber, "com.viber.voip", 2},
                {Whatsapp, "com.whatsapp", 5}};
    for (const auto &a : apps) {
        for (int i = 0; i < a.files; ++i) {
            d.lists[a.c] << QStringLiteral("/sdcard/Android/data/%1/files/cache_%2.db")
                                .arg(QLatin1String(a.folder))
                                .arg(i + 1);
        }
    }
    return d;
}

QString SimDataSet::eraseKey(Category c, const QString &item)
{
    switch (c) {
    case Contact:
    case History:
    case Message:
        return item.section(QLatin1Char(';'), 0, 0);
    case Photo:
    case Audio:
    case Vedio:
        return proto::entryLocation(item);
    default:
        return item;
    }
}

QSet<QString> SimDataSet::erase(Category c, const QSet<QString> &keys)
{
    QSet<QString> erased;
    QStringList kept;
    for (const QString &item : qAsConst(lists[c])) {
        const QString key = eraseKey(c, item);
        if (key.isEmpty() || !keys.contains(key) || erased.contains(key)) {
            kept << item;
            continue;
        }
        erased << key;
        if (c == Photo) {
            photoData.remove(key);
            photoFormat.remove(key);
        }
    }
    lists[c] = kept;
    return erased;
}
