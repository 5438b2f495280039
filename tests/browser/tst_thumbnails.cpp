#include "browserfixture.h"

#include <QtTest>

using namespace fixture;

namespace {
QImage solid(QColor c)
{
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(c);
    return img;
}
QColor iconColour(const QIcon &icon)
{
    return icon.pixmap(56, 56).toImage().pixelColor(20, 20);
}
} // namespace

// Photo thumbnails: paced requests, placement by name, the fallback icon.
class TestThumbnails : public QObject
{
    Q_OBJECT
private slots:
    void requestsArePacedAndStopped()
    {
        MainWindow w;
        quiet(w);
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/DCIM/a.jpg"
                     << "b.jpg;10;jpg;/sdcard/DCIM/b.jpg"
                     << "c.png;10;png;/sdcard/DCIM/c.png";
        w.m_photoCount = 3;
        render(w, Photo);
        w.startPhotoFetching();
        QCOMPARE(w.m_timerGetPhotoByTime->interval(), 2000);
        QCOMPARE(w.m_timerUpdateTablePhoto->interval(), 1000);
        for (int tick = 1; tick <= 3; ++tick) {
            w.getPhotoByTime();
            QCOMPARE(int(w.m_photoRequestCount), tick);
            QVERIFY(w.m_timerGetPhotoByTime->isActive());
        }
        w.getPhotoByTime(); // the tick after the last request stops
        QVERIFY(!w.m_timerGetPhotoByTime->isActive());
        QVERIFY(!w.m_timerUpdateTablePhoto->isActive());
    }

    void entryWithoutLocationIsSkipped()
    {
        MainWindow w;
        quiet(w);
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/a.jpg"
                     << "broken.jpg;10;jpg;"
                     << "c.jpg;10;jpg;/sdcard/c.jpg";
        w.m_photoCount = 3;
        w.startPhotoFetching();
        w.getPhotoByTime();
        QCOMPARE(int(w.m_photoRequestCount), 1);
        w.getPhotoByTime(); // passes over the broken entry and asks for c.jpg
        QCOMPARE(int(w.m_photoRequestCount), 3);
        w.getPhotoByTime();
        QVERIFY(!w.m_timerGetPhotoByTime->isActive());
    }

    void placement()
    {
        MainWindow w;
        quiet(w);
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/a.jpg"
                     << "c.png;10;png;/sdcard/c.png"
                     << "d.jpg;10;jpg;/sdcard/d.jpg";
        render(w, Photo);
        QTableWidget *t = w.categoryTable(Photo);
        w.m_photoMapNameImage.insert("a.jpg", new QImage(solid(Qt::red)));
        w.m_photoMapNameImage.insert("ba.jpg", new QImage(solid(Qt::blue)));
        w.m_photoMapNameImage.insert("c.png", new QImage()); // data that was no image
        w.updateTablePhoto();

        QCOMPARE(t->item(1, 1)->whatsThis(), QString("a.jpg;10;jpg;/sdcard/a.jpg"));
        QCOMPARE(iconColour(t->item(1, 1)->icon()), QColor(Qt::blue)); // ba.jpg is later
        QCOMPARE(t->item(2, 1)->whatsThis(), QString("c.png;10;png;/sdcard/c.png"));
        const QImage fallback = QIcon(QPixmap(":/Image/Private/contactTable_headUnselect.png"))
                                    .pixmap(56, 56)
                                    .toImage()
                                    .convertToFormat(QImage::Format_ARGB32);
        QVERIFY(!fallback.isNull());
        QCOMPARE(t->item(2, 1)->icon().pixmap(56, 56).toImage().convertToFormat(QImage::Format_ARGB32),
                 fallback);
        QVERIFY(t->item(3, 1)->whatsThis().isEmpty()); // nothing for d.jpg yet
        for (int r = 4; r < t->rowCount(); ++r) {
            QVERIFY(t->item(r, 1)->whatsThis().isEmpty());
            QVERIFY(t->item(r, 1)->icon().isNull());
        }
        QCOMPARE(w.m_photoIconList.size(), 2);

        // a placed row is not done again; d.jpg arrives later
        w.m_photoMapNameImage.insert("d.jpg", new QImage(solid(Qt::green)));
        w.updateTablePhoto();
        QCOMPARE(w.m_photoIconList.size(), 3);
        QCOMPARE(iconColour(t->item(3, 1)->icon()), QColor(Qt::green));

        // the preview takes the thumbnail
        emit t->itemClicked(t->item(3, 2));
        QCOMPARE(w.m_photoToEraseList, QStringList({"/sdcard/d.jpg"}));
    }
};

QTEST_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
