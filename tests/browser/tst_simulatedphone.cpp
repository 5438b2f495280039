#include "browserfixture.h"

#include "protocol/records.h"
#include "simdataset.h"

#include <QPushButton>
#include <QtTest>

using namespace fixture;

namespace {

// Stores the simulated phone's lists as the reply decoder does.
void load(MainWindow &w, const SimDataSet &d)
{
    proto::addTextRecords(proto::joinRecords(d.lists[Contact]),
                          {&w.m_contactMapIdData, &w.m_contactMapNameId, &w.m_contactMapNumberId});
    proto::addTextRecords(proto::joinRecords(d.lists[History]),
                          {&w.m_historyMapIdData, &w.m_historyMapNameId, &w.m_historyMapNumberId});
    proto::addTextRecords(proto::joinRecords(d.lists[Message]),
                          {&w.m_messageMapIdData, &w.m_messageMapNameId, &w.m_messageMapNumberId});
    proto::addDirectoryRecords(proto::joinRecords(d.lists[Photo]), &w.m_photoDir);
    proto::addDirectoryRecords(proto::joinRecords(d.lists[Audio]), &w.m_audioDir);
    proto::addDirectoryRecords(proto::joinRecords(d.lists[Vedio]), &w.m_vedioDir);
    w.m_photoCount = quint16(d.lists[Photo].size());
}

void renderAll(MainWindow &w)
{
    for (int c = Contact; c <= Vedio; ++c)
        render(w, Category(c));
}

QString caption(MainWindow &w, const char *button)
{
    return w.findChild<QPushButton *>(QLatin1String(button))->text();
}

} // namespace

// The tables filled from the simulated phone's data, parsed by the decoder's
// own record rules.
class TestSimulatedPhone : public QObject
{
    Q_OBJECT
private slots:
    void threeContacts()
    {
        MainWindow w;
        quiet(w);
        load(w, SimDataSet::generate(3));
        renderAll(w);
        QTableWidget *t = w.categoryTable(Contact);
        QCOMPARE(t->rowCount(), 1 + 3 + 8);
        QCOMPARE(caption(w, "EP_IsScanning_PushButton_Contact"), QString("Contact\n(3)"));
        QCOMPARE(caption(w, "EP_IsScanning_PushButton_Photo"), QString("Photo(8)"));
        QCOMPARE(caption(w, "EP_IsScanning_PushButton_Audio"), QString("Audio(5)"));
        QCOMPARE(caption(w, "EP_IsScanning_PushButton_Vedio"), QString("Video(3)"));
        QCOMPARE(w.m_privateProgress, 100);
        QCOMPARE(w.categoryTable(Vedio)->item(1, 2)->text(), QString("22.88 Mbyte"));
    }

    void sharedNumberMessages()
    {
        MainWindow w;
        quiet(w);
        SimDataSet d = SimDataSet::generate(24);
        // a phone stores a message from a contact under the bare number
        QStringList &messages = d.lists[Message];
        for (QString &m : messages) {
            QStringList f = m.split(';');
            if (f[2] != "72345")
                f[1] = f[2];
            m = f.join(';');
        }
        load(w, d);
        renderAll(w);
        QTableWidget *t = w.categoryTable(Message);
        const int n = w.m_messageMapNumberId.uniqueKeys().size();
        QCOMPARE(t->rowCount(), qMax(n, 8) + 1);
        int parcelRow = -1;
        for (int r = 1; r <= n; ++r) {
            if (t->item(r, 2)->text() == "72345")
                parcelRow = r;
            else
                QVERIFY2(!t->item(r, 1)->text().startsWith('+'), qPrintable(t->item(r, 1)->text()));
        }
        QVERIFY(parcelRow > 0);
        QCOMPARE(t->item(parcelRow, 1)->text(), QString("ParcelPost"));
        click(t, parcelRow);
        // ten messages share the short code, newest first (m1 is the newest)
        QCOMPARE(w.m_messageToEraseList.size(), 10);
        QCOMPARE(w.m_messageToEraseList.first(), QString("m1"));
        QCOMPARE(w.m_messageToEraseList.last(), QString("m28"));
        click(t, 0);
        QCOMPARE(w.m_messageToEraseList.size(), 30);
    }

    void realPhotosBecomeThumbnails()
    {
        MainWindow w;
        quiet(w);
        const SimDataSet d = SimDataSet::generate(5);
        load(w, d);
        renderAll(w);
        for (const QString &entry : d.lists[Photo]) {
            const QStringList f = entry.split(';');
            auto *img = new QImage;
            img->loadFromData(d.photoData.value(f[3]));
            QVERIFY(!img->isNull());
            w.m_photoMapNameImage.insert(f[0], img);
        }
        w.updateTablePhoto();
        QTableWidget *t = w.categoryTable(Photo);
        for (int r = 1; r <= 8; ++r) {
            QCOMPARE(t->item(r, 1)->whatsThis(), w.m_photoDir.at(r - 1));
            QVERIFY(!t->item(r, 1)->icon().isNull());
        }
        QCOMPARE(w.m_photoIconList.size(), 8);
    }
};

QTEST_MAIN(TestSimulatedPhone)
#include "tst_simulatedphone.moc"
