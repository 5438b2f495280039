#include "browserfixture.h"
#include "companionsimulator.h"
#include "memorymeter.h"
#include "ui_mainwindow.h"

#include "browser/photothumb.h"
#include "protocol/messages.h"
#include "protocol/records.h"

#include <QBuffer>
#include <QHostAddress>
#include <QListWidget>
#include <QtEndian>
#include <QtTest>

#include <memory>

using namespace fixture;
using WriteMode = CompanionSimulator::WriteMode;
Q_DECLARE_METATYPE(WriteMode)

namespace {

constexpr int kWait = 20000;

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray solid(QColor c, const char *format = "JPEG", QSize size = QSize(40, 30))
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(c);
    return encoded(img, format);
}

QColor centreColour(const QPixmap &px)
{
    const QImage img = px.toImage();
    return img.pixelColor(img.width() / 2, img.height() / 2);
}

bool near(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 && qAbs(a.blue() - b.blue()) < 40;
}

QImage fallbackIcon()
{
    return QIcon(QPixmap(":/Image/Private/contactTable_headUnselect.png"))
        .pixmap(56, 56)
        .toImage()
        .convertToFormat(QImage::Format_ARGB32);
}

QImage cellIcon(QTableWidget *t, int row)
{
    return t->item(row, 1)->icon().pixmap(56, 56).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Photos are decoded on a worker: the window has them once the decoder has
// reported every one.
bool decoded(MainWindow &w)
{
    return QTest::qWaitFor([&] { return !w.m_photoDecoder || w.m_photoDecoder->pending() == 0; }, kWait);
}

// A photo as the companion app sends it for the oldest request naming it,
// and its thumbnail made.
void receivePhoto(MainWindow &w, const QString &name, const QByteArray &bytes, int chunks = 2)
{
    for (const QByteArray &f : CompanionSimulator::photoFrames(name, bytes, "jpg", bytes.size() / chunks + 1))
        w.receiveChunk(f);
    QVERIFY(decoded(w));
}

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A small, valid image whose header declares width x height.
QByteArray withDeclaredSize(const char *format, quint32 width, quint32 height)
{
    QByteArray bytes = solid(Qt::red, format, QSize(16, 16));
    if (qstrcmp(format, "PNG") == 0) {
        qToBigEndian(width, bytes.data() + 16);
        qToBigEndian(height, bytes.data() + 20);
        qToBigEndian(crc32(bytes.mid(12, 17)), bytes.data() + 29); // IHDR checksum
    } else {
        const int sof = bytes.indexOf("\xFF\xC0");
        qToBigEndian(quint16(height), bytes.data() + sof + 5);
        qToBigEndian(quint16(width), bytes.data() + sof + 7);
    }
    return bytes;
}

} // namespace

// Photo thumbnails: which photo is asked for when, which row each one lands
// in, and what is kept of it.
class TestThumbnails : public QObject
{
    Q_OBJECT
private slots:
    void nextPhotoToAsk_data()
    {
        QTest::addColumn<QStringList>("dir");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<int>("firstVisible");
        QTest::addColumn<int>("lastVisible");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("cursorAfter");

        const QStringList dir = {"a.jpg;1;jpg;/p/a.jpg", "b.jpg;1;jpg;", "c.jpg;1;jpg;/p/c.jpg",
                                 "d.jpg;1;jpg;/p/d.jpg", "e.jpg;1;jpg;/p/e.jpg"};
        QTest::newRow("in order") << dir << QList<int>{} << -1 << -1 << 0 << 0 << 0;
        QTest::newRow("asked and location-less passed over") << dir << QList<int>{0} << -1 << -1 << 0 << 2 << 2;
        QTest::newRow("a visible row first") << dir << QList<int>{0} << 4 << 5 << 0 << 3 << 0;
        QTest::newRow("visible rows all asked: in order")
            << dir << QList<int>{0, 3, 4} << 4 << 5 << 1 << 2 << 2;
        QTest::newRow("head and padding rows are no photos") << dir << QList<int>{} << 0 << 9 << 0 << 0 << 0;
        QTest::newRow("all asked") << dir << QList<int>{0, 2, 3, 4} << 1 << 3 << 0 << -1 << 5;
        QTest::newRow("no photos") << QStringList{} << QList<int>{} << 0 << 8 << 0 << -1 << 0;
    }
    void nextPhotoToAsk()
    {
        QFETCH(QStringList, dir);
        QFETCH(QList<int>, asked);
        QFETCH(int, firstVisible);
        QFETCH(int, lastVisible);
        QFETCH(int, cursor);
        QFETCH(int, next);
        QFETCH(int, cursorAfter);
        QBitArray bits(dir.size());
        for (int i : asked)
            bits.setBit(i);
        QCOMPARE(browser::nextPhotoToAsk(dir, bits, firstVisible, lastVisible, &cursor), next);
        QCOMPARE(cursor, cursorAfter);
    }

    // The next photo is asked for as soon as the previous one has come, or
    // when it has not come within the answer time; one request at a time.
    void nextPhotoWhenThePreviousHasCome()
    {
        MainWindow w;
        quiet(w);
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/DCIM/a.jpg"
                     << "b.jpg;10;jpg;/sdcard/DCIM/b.jpg"
                     << "c.png;10;png;/sdcard/DCIM/c.png";
        w.m_photoCount = 3;
        render(w, Photo);
        QTableWidget *t = w.categoryTable(Photo);
        w.startPhotoFetching();
        QCOMPARE(w.m_timerGetPhotoByTime->interval(), 0); // the first one at once
        w.getPhotoByTime();
        QCOMPARE(w.m_photoRequested, QStringList{"/sdcard/DCIM/a.jpg"});
        QCOMPARE(w.m_timerGetPhotoByTime->interval(), 2000);

        receivePhoto(w, "a.jpg", solid(Qt::red)); // b is asked for at once
        QCOMPARE(w.m_photoRequested, QStringList{"/sdcard/DCIM/b.jpg"});
        QVERIFY(near(centreColour(t->item(1, 1)->icon().pixmap(56, 56)), Qt::red));

        w.getPhotoByTime(); // b has not come within the answer time
        QCOMPARE(w.m_photoRequested, (QStringList{"/sdcard/DCIM/b.jpg", "/sdcard/DCIM/c.png"}));
        receivePhoto(w, "b.jpg", solid(Qt::green)); // late: c is still awaited
        QCOMPARE(int(w.m_photoRequestCount), 3);
        QVERIFY(w.m_timerGetPhotoByTime->isActive());

        receivePhoto(w, "c.png", solid(Qt::blue, "PNG")); // the last one: the stop follows
        QVERIFY(!w.m_timerGetPhotoByTime->isActive());
        QVERIFY(!w.m_timerUpdateTablePhoto->isActive());
        QCOMPARE(int(w.m_photoRequestCount), 3);
        QVERIFY(near(centreColour(t->item(2, 1)->icon().pixmap(56, 56)), Qt::green));
        QVERIFY(near(centreColour(t->item(3, 1)->icon().pixmap(56, 56)), Qt::blue));
        QCOMPARE(t->item(3, 1)->whatsThis(), QString("c.png;10;png;/sdcard/DCIM/c.png"));
        QCOMPARE(w.m_photoIconList.size(), 3);
        for (int r = 4; r < t->rowCount(); ++r) { // padding rows never get one
            QVERIFY(t->item(r, 1)->whatsThis().isEmpty());
            QVERIFY(t->item(r, 1)->icon().isNull());
        }
    }

    // Photos are decoded on a worker. While as many as m_maxPhotoDecodes
    // wait for it, the next photo is not asked for; each one decoded makes
    // room for the next request.
    void decodingBoundsTheRequests()
    {
        MainWindow w;
        quiet(w);
        w.m_maxPhotoDecodes = 1;
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/a.jpg"
                     << "b.jpg;10;jpg;/sdcard/b.jpg"
                     << "c.jpg;10;jpg;/sdcard/c.jpg";
        render(w, Photo);
        w.startPhotoFetching();
        w.getPhotoByTime();
        auto send = [&](const char *name, QColor colour) {
            for (const QByteArray &f : CompanionSimulator::photoFrames(name, solid(colour), "jpg", 300))
                w.receiveChunk(f);
        };
        send("a.jpg", Qt::red); // nothing decodes yet: b is asked for at once
        QCOMPARE(w.m_photoRequested, QStringList{"/sdcard/b.jpg"});
        send("b.jpg", Qt::green); // a still decodes: c waits
        QVERIFY(w.m_photoRequested.isEmpty());
        QCOMPARE(int(w.m_photoRequestCount), 2);
        QVERIFY(w.m_timerGetPhotoByTime->isActive());
        w.getPhotoByTime(); // nor does a tick ask for it
        QVERIFY(w.m_photoRequested.isEmpty());
        QTRY_COMPARE(w.m_photoRequested, QStringList{"/sdcard/c.jpg"});
        QVERIFY(decoded(w));
        QTableWidget *t = w.categoryTable(Photo);
        QVERIFY(near(centreColour(t->item(1, 1)->icon().pixmap(56, 56)), Qt::red));
        QVERIFY(near(centreColour(t->item(2, 1)->icon().pixmap(56, 56)), Qt::green));
    }

    // A photo still decoding when a new scan clears the results, or when the
    // window goes, is dropped: no thumbnail of the old scan appears.
    void decodingPhotoOfAnEndedScanIsDropped()
    {
        auto w = std::make_unique<MainWindow>();
        quiet(*w);
        w->m_photoDir << "a.jpg;10;jpg;/sdcard/a.jpg";
        render(*w, Photo);
        w->m_photoRequested << "/sdcard/a.jpg";
        for (const QByteArray &f : CompanionSimulator::photoFrames("a.jpg", solid(Qt::red), "jpg", 300))
            w->receiveChunk(f);
        QCOMPARE(w->m_photoDecoder->pending(), 1);
        w->clearPhotoThumbnails(); // what a new scan does
        QVERIFY(decoded(*w));
        QVERIFY(w->m_photoThumbs.isEmpty());
        QVERIFY(w->m_photoUnplaced.isEmpty());

        w->m_photoRequested << "/sdcard/a.jpg";
        for (const QByteArray &f : CompanionSimulator::photoFrames("a.jpg", solid(Qt::red), "jpg", 300))
            w->receiveChunk(f);
        const QSharedPointer<browser::PhotoDecoder> decoder = w->m_photoDecoder;
        QCOMPARE(decoder->pending(), 1);
        w.reset(); // the window goes while the photo decodes
        QTRY_COMPARE(decoder->pending(), 0);
    }

    // Once the stop request is out, a photo that still comes asks for no
    // other: the companion app answers the stop next.
    void nothingAskedWhileAStopAwaitsItsAcknowledgement()
    {
        MainWindow w;
        quiet(w);
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/a.jpg"
                     << "b.jpg;10;jpg;/sdcard/b.jpg";
        render(w, Photo);
        w.setEraseType(EraseType::Private);
        w.startPhotoFetching();
        w.getPhotoByTime();
        // what the erase button of the results does
        w.sendStopGetPhoto();
        w.m_timerCheckStopGetPhotoBeforeErase->start();
        receivePhoto(w, "a.jpg", solid(Qt::red));
        w.getPhotoByTime(); // a tick of the photo timer meanwhile
        QCOMPARE(int(w.m_photoRequestCount), 1);
        QVERIFY(w.m_photoRequested.isEmpty());
        QCOMPARE(w.m_photoThumbs.keys(), QStringList{"/sdcard/a.jpg"});
        w.receiveChunk(proto::emptyFrame(proto::StopGetPhotoBack));
        QVERIFY(!w.m_timerGetPhotoByTime->isActive());
    }

    void entryWithoutLocationIsPassedOver()
    {
        MainWindow w;
        quiet(w);
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/a.jpg"
                     << "broken.jpg;10;jpg;"
                     << "c.jpg;10;jpg;/sdcard/c.jpg";
        w.m_photoCount = 3;
        w.startPhotoFetching();
        w.getPhotoByTime();
        w.getPhotoByTime(); // passes over the broken entry and asks for c.jpg
        QCOMPARE(w.m_photoRequested, (QStringList{"/sdcard/a.jpg", "/sdcard/c.jpg"}));
        w.getPhotoByTime();
        QVERIFY(!w.m_timerGetPhotoByTime->isActive());
    }

    // Every row shows the photo of its own location, whatever the names and
    // the order in which the photos come: names recur in other folders and
    // contain one another, and the rows scrolled into view come first.
    void everyRowShowsItsOwnPhoto_data()
    {
        QTest::addColumn<WriteMode>("mode");
        QTest::newRow("one write per frame") << WriteMode::PerFrame;
        QTest::newRow("frames cut into pieces") << WriteMode::Split;
    }
    void everyRowShowsItsOwnPhoto()
    {
        QFETCH(WriteMode, mode);
        SimDataSet data = SimDataSet::generate(3);
        data.lists[Photo].clear();
        SimDataSet::CameraPhotos photos;
        photos.count = 24;
        photos.size = QSize(400, 300); // with the camera's Exif thumbnail
        data.addCameraPhotos(photos);
        CompanionSimulator sim(data);
        sim.setWriteMode(mode);
        sim.setPhotoChunkBytes(5000);
        QVERIFY(sim.listen());

        MainWindow w;
        quiet(w);
        w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, sim.port());
        QVERIFY(QTest::qWaitFor([&] { return sim.hasClient(); }, kWait));
        load(w, data);
        render(w, Photo);
        w.setEraseType(EraseType::Private);
        w.hidePages();
        w.ui->C_EPrivate_IsScanning_2->show();
        w.selectCategory(Photo);
        w.show();
        QTableWidget *t = w.categoryTable(Photo);
        t->scrollToBottom();
        // The table has laid out and scrolled: the first photo's row is out of view.
        QTRY_VERIFY_WITH_TIMEOUT(t->rowAt(0) > 1, kWait);
        w.startPhotoFetching();
        QTRY_VERIFY_WITH_TIMEOUT(!w.m_timerGetPhotoByTime->isActive(), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(w.m_photoThumbs.size(), photos.count, kWait);

        const QStringList asked = [&] {
            QStringList l;
            for (const QByteArray &f : sim.receivedFrames())
                if (proto::readHeader(f.constData(), f.size()).typeId == proto::GetPhotoByName)
                    l << proto::BodyReader(f.mid(4)).string();
            return l;
        }();
        QCOMPARE(asked.size(), photos.count);
        QVERIFY2(asked.first() != proto::entryLocation(data.lists[Photo].first()), "the rows in view come first");

        for (int i = 0; i < photos.count; ++i) {
            const QString where = QString("row %1: %2").arg(i + 1).arg(data.lists[Photo].at(i));
            QCOMPARE(t->item(i + 1, 1)->whatsThis(), data.lists[Photo].at(i));
            QVERIFY2(near(centreColour(t->item(i + 1, 1)->icon().pixmap(56, 56)),
                          SimDataSet::cameraPictureColour(i)),
                     qPrintable(where));
        }
        // the preview of a row whose name recurs in another folder
        emit t->itemClicked(t->item(2, 2));
        auto *info = w.findChild<QListWidget *>("EP_IsScanning_ListWidget_InfoShow");
        const QPixmap preview = info->item(0)->icon().pixmap(300, 300);
        QCOMPARE(preview.size(), QSize(300, 225));
        QVERIFY(near(centreColour(preview), SimDataSet::cameraPictureColour(1)));
        QTRY_VERIFY(w.m_receiveFrames.buffered() == 0);
    }

    // A header declaring more than 100 megapixels gets the fallback icon and
    // the photo is never decoded.
    void hugeHeaderGetsTheFallbackIcon_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("JPEG of 20000 x 10000") << withDeclaredSize("JPEG", 20000, 10000);
        QTest::newRow("PNG of 20000 x 10000") << withDeclaredSize("PNG", 20000, 10000);
    }
    void hugeHeaderGetsTheFallbackIcon()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(browser::makePhotoThumbnail(bytes).status, browser::PhotoThumbnail::TooLarge);

        MainWindow w;
        quiet(w);
        w.m_photoDir << "huge.jpg;10;jpg;/sdcard/huge.jpg";
        render(w, Photo);
        w.m_photoRequested << "/sdcard/huge.jpg";
        const bool measured = memorymeter::resetPeak();
        const qint64 before = memorymeter::residentKb();
        receivePhoto(w, "huge.jpg", bytes, 1);
        if (measured && before > 0)
            QVERIFY2(memorymeter::peakKb() - before < 64 * 1024, "no large allocation");
        QTableWidget *t = w.categoryTable(Photo);
        QCOMPARE(cellIcon(t, 1), fallbackIcon());
        QVERIFY(w.m_photoThumbs.value("/sdcard/huge.jpg").preview.isEmpty());
    }

    void exifThumbnail_data()
    {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<QSize>("thumbnail");

        const QByteArray camera = SimDataSet::cameraJpeg(3, QSize(800, 600), true);
        QTest::newRow("camera photo") << camera << QSize(320, 240);
        QTest::newRow("no Exif block") << SimDataSet::cameraJpeg(3, QSize(800, 600), false) << QSize();
        const int tiff = camera.indexOf(QByteArray("Exif\0\0", 6)) + 6;
        QTest::newRow("cut off inside the block") << camera.left(tiff + 60) << QSize();
        QByteArray beyond = camera;
        qToBigEndian(quint32(0x7FFFFFF0), beyond.data() + tiff + 26 + 2 + 12 + 8); // thumbnail offset
        QTest::newRow("thumbnail offset outside the block") << beyond << QSize();
        QByteArray loop = camera;
        qToBigEndian(quint32(0xFFFFFFFF), loop.data() + tiff + 4); // IFD0 offset
        QTest::newRow("IFD offset outside the block") << loop << QSize();
        QTest::newRow("not a JPEG") << QByteArray("Exif\0\0MM\0*", 10) << QSize();
    }
    void exifThumbnail()
    {
        QFETCH(QByteArray, jpeg);
        QFETCH(QSize, thumbnail);
        const QByteArray found = browser::exifThumbnail(jpeg);
        if (thumbnail.isValid())
            QCOMPARE(QImage::fromData(found, "JPEG").size(), thumbnail);
        else
            QVERIFY(found.isEmpty());
    }

    // The camera's own thumbnail is used only when it serves the preview
    // and has the photo's proportions; otherwise the photo is decoded at the
    // preview size.
    void thumbnailSource_data()
    {
        QTest::addColumn<QByteArray>("photo");
        QTest::addColumn<bool>("fromExif");
        QTest::addColumn<QSize>("preview");

        QImage picture(800, 600, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        const QByteArray plain = encoded(picture, "JPEG");
        auto thumb = [&](QSize s) { return encoded(picture.scaled(s), "JPEG"); };
        QTest::newRow("large enough") << SimDataSet::withExifThumbnail(plain, thumb({320, 240})) << true << QSize(300, 225);
        QTest::newRow("too small for the preview")
            << SimDataSet::withExifThumbnail(plain, thumb({160, 120})) << false << QSize(300, 225);
        QTest::newRow("letterboxed to other proportions")
            << SimDataSet::withExifThumbnail(plain, thumb({400, 240})) << false << QSize(300, 225);
        QTest::newRow("none") << plain << false << QSize(300, 225);
        QImage clear(30, 60, QImage::Format_ARGB32);
        clear.fill(Qt::transparent);
        QTest::newRow("PNG with transparency") << encoded(clear, "PNG") << false << QSize(150, 300);
    }
    void thumbnailSource()
    {
        QFETCH(QByteArray, photo);
        QFETCH(bool, fromExif);
        QFETCH(QSize, preview);
        const browser::PhotoThumbnail t = browser::makePhotoThumbnail(photo);
        QCOMPARE(t.status, browser::PhotoThumbnail::Decoded);
        QCOMPARE(t.fromExif, fromExif);
        QCOMPARE(browser::previewImage(t.preview).size(), preview);
        QCOMPARE(t.icon.size(), preview.scaled(56, 56, Qt::KeepAspectRatio));
    }
};

QTEST_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
