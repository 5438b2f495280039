#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "browserfixture.h"
#include "browser/tablelayout.h"
#include "support/windowrig.h"
#include "protocol/messages.h"

#include <QHostAddress>
#include <QPushButton>
#include <QtTest>

// The result browser after a real private scan of the simulated phone:
// thumbnails fetched one per tick, and an erase of what the tables show.
namespace {

constexpr int kWait = 20000;

struct Rig : rig::Rig
{
    using rig::Rig::Rig;

    // Erase, "Erase" typed, Erase Now: waits for the completion page.
    bool confirmAndErase()
    {
        if (w.m_eraseType == EraseType::Private) {
            if (!rig::click(w.ui->EP_IsScanning_PushButton_Erase)
                || !waitFor([&] { return !w.ui->M_ConformErase_1->isHidden(); }))
                return false;
        }
        return eraseNow();
    }
};

int rowShowing(QTableWidget *t, int column, const QString &text)
{
    for (int row = 1; row < t->rowCount(); ++row)
        if (t->item(row, column) && t->item(row, column)->text() == text)
            return row;
    return -1;
}

// Two photos with a broken entry (no location) between them.
SimDataSet phoneWithThreePhotoEntries()
{
    SimDataSet d = SimDataSet::generate(5);
    QStringList &photos = d.lists[Photo];
    photos = QStringList{photos.at(0), QStringLiteral("lost.jpg;1200;jpg;"), photos.at(2)};
    return d;
}

QStringList photoRequests(const CompanionSimulator &sim)
{
    QStringList order;
    for (const QByteArray &frame : sim.receivedFrames()) {
        const quint16 type = quint16((quint8(frame[0]) << 8) | quint8(frame[1]));
        if (type == proto::GetPhotoByName)
            order << QStringLiteral("get");
        else if (type == proto::StopGetPhoto)
            order << QStringLiteral("stop");
    }
    return order;
}

} // namespace

class TestBrowserScenario : public QObject
{
    Q_OBJECT
private slots:
    void thumbnailsAfterPrivateScan()
    {
        const SimDataSet data = phoneWithThreePhotoEntries();
        Rig r(data);
        QVERIFY(r.connectAndScan());
        r.sim.clearReceived();
        QVERIFY(r.w.m_timerGetPhotoByTime->isActive());

        // two requests (the broken entry passed over), then one stop request
        QVERIFY(QTest::qWaitFor([&] { return r.sim.count(proto::StopGetPhoto) > 0; }, kWait));
        QCOMPARE(photoRequests(r.sim), QStringList({"get", "get", "stop"}));
        const QList<QByteArray> frames = r.sim.receivedFrames();
        QCOMPARE(frames.at(0), proto::photoByNameRequest(data.lists[Photo].at(0).section(';', 3)));
        QCOMPARE(frames.at(1), proto::photoByNameRequest(data.lists[Photo].at(2).section(';', 3)));
        QTRY_VERIFY_WITH_TIMEOUT(!r.w.m_timerGetPhotoByTime->isActive(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!r.w.m_timerUpdateTablePhoto->isActive(), kWait);

        QTableWidget *t = r.w.categoryTable(Photo);
        QCOMPARE(t->rowCount(), 9);
        // the thumbnails are decoded off the GUI thread: they land a little
        // after the requests are over
        QTRY_COMPARE_WITH_TIMEOUT(t->item(1, 1)->whatsThis(), data.lists[Photo].at(0), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(t->item(3, 1)->whatsThis(), data.lists[Photo].at(2), kWait);
        QVERIFY(t->item(2, 1)->whatsThis().isEmpty());
        for (int row = 4; row < t->rowCount(); ++row) {
            QVERIFY(t->item(row, 1)->whatsThis().isEmpty());
            QVERIFY(t->item(row, 1)->icon().isNull());
        }
        // the preview fits 300 x 300
        r.w.selectCategory(Photo);
        emit t->itemClicked(t->item(1, 2));
        QCOMPARE(r.w.ui->EP_IsScanning_ListWidget_InfoShow->count(), 1);
        const QPixmap preview = r.w.ui->EP_IsScanning_ListWidget_InfoShow->item(0)->icon().pixmap(300, 300);
        QCOMPARE(preview.size(), QSize(300, 225)); // a 320 x 240 photo, in its proportions
        QCOMPARE(r.w.ui->EP_IsScanning_Label_PhotoLocation->text(), data.lists[Photo].at(0).section(';', 3));
    }

    // What the tables show checked is what the phone is asked to erase, each
    // key once, also when part of it was chosen through a search.
    void eraseSendsWhatTheTablesShow()
    {
        const SimDataSet data = SimDataSet::generate(14);
        Rig r(data);
        QVERIFY(r.connectAndScan());
        QTableWidget *contacts = r.w.categoryTable(Contact);
        r.w.ui->EP_IsScanning_TextBroswerEditor->setText("Lumen Works");
        QTest::mouseClick(r.w.ui->EP_IsScanning_PusuButton_SearchButton, Qt::LeftButton);
        QCOMPARE(r.w.ui->EP_IsScanning_PushButton_Contact->text(), QString("Contact(5)"));
        fixture::click(contacts, 0); // the five found
        r.w.ui->EP_IsScanning_TextBroswerEditor->clear();
        QTest::mouseClick(r.w.ui->EP_IsScanning_PusuButton_SearchButton, Qt::LeftButton);
        QCOMPARE(contacts->rowCount(), 15);
        QSet<QString> expected;
        for (int row = 1; row < contacts->rowCount(); ++row) {
            const bool lumen = contacts->item(row, 5)->text() == "Lumen Works";
            QCOMPARE(fixture::checked(contacts, row), lumen);
        }
        fixture::click(contacts, 2);
        fixture::click(contacts, 1); // a Lumen row: unchecked again
        for (int row = 1; row < contacts->rowCount(); ++row)
            if (fixture::checked(contacts, row))
                for (const QString &id : r.w.rowIds(Contact, row))
                    expected << id;
        QCOMPARE(expected.size(), 5);

        r.w.selectCategory(Photo);
        fixture::click(r.w.categoryTable(Photo), 3);

        QTest::mouseClick(r.w.ui->EP_IsScanning_PushButton_Erase, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!r.w.ui->M_ConformErase_1->isHidden(), kWait);
        QTest::keyClicks(r.w.ui->M_ConformErase_LineEdit_InputErase, "Erase");
        QTest::mouseClick(r.w.ui->M_ConformErase_PushButton_EraseNow, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(r.w.m_eraseProgress, 100, kWait);

        QStringList contactKeys;
        QStringList photoKeys;
        for (const auto &e : r.sim.eraseRequests()) {
            if (e.category == Contact)
                contactKeys << e.key;
            else if (e.category == Photo)
                photoKeys << e.key;
            else
                QFAIL(qPrintable(QString("unexpected erase of category %1").arg(e.category)));
        }
        QCOMPARE(contactKeys.size(), 5);
        QCOMPARE(QSet<QString>(contactKeys.begin(), contactKeys.end()), expected);
        QCOMPARE(photoKeys, QStringList({data.lists[Photo].at(2).section(';', 3)}));
    }

    // Calls the phone has no cached name for are stored under a later field;
    // checking the row of one such call erases that call and nothing that
    // another row shows.
    void eraseOfAnUnnamedCall()
    {
        SimDataSet data = SimDataSet::generate(6);
        QStringList &calls = data.lists[History];
        QMap<QString, QString> idOfDate;
        for (int i = 0; i < calls.size(); ++i) {
            QStringList f = calls[i].split(';');
            if (i % 4 == 3 || f[1] == "Unknown")
                f[1].clear();
            calls[i] = f.join(';');
            idOfDate.insert(f[5], f[0]);
        }
        Rig r(data);
        QVERIFY(r.connectAndScan());
        r.w.selectCategory(History);
        QTableWidget *t = r.w.categoryTable(History);
        QStringList shown;
        int target = -1;
        const QSet<QString> contactNumbers = [&] {
            QSet<QString> n;
            for (const QString &c : data.lists[Contact])
                n << c.section(';', 2, 2);
            return n;
        }();
        for (int row = 1; row < t->rowCount() && !t->item(row, 5)->text().isEmpty(); ++row) {
            shown << idOfDate.value(t->item(row, 5)->text());
            if (target < 0 && t->item(row, 1)->text().isEmpty()
                && contactNumbers.contains(t->item(row, 2)->text()))
                target = row;
        }
        QVERIFY(target > 0);
        fixture::click(t, target);

        QTest::mouseClick(r.w.ui->EP_IsScanning_PushButton_Erase, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!r.w.ui->M_ConformErase_1->isHidden(), kWait);
        QTest::keyClicks(r.w.ui->M_ConformErase_LineEdit_InputErase, "Erase");
        QTest::mouseClick(r.w.ui->M_ConformErase_PushButton_EraseNow, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(r.w.m_eraseProgress, 100, kWait);

        QSet<QString> erased;
        for (const auto &e : r.sim.eraseRequests()) {
            QCOMPARE(int(e.category), int(History));
            erased << e.key;
        }
        QVERIFY(erased.contains(shown.at(target - 1)));
        for (int row = 1; row <= shown.size(); ++row)
            QVERIFY2(row == target || !erased.contains(shown.at(row - 1)),
                     qPrintable(QString("erased %1 shown in row %2").arg(shown.at(row - 1)).arg(row)));
    }

    // A call, message or contact without a name keeps its number in place:
    // the row that shows 555-0003 stands for the records of 555-0003, its
    // detail pane shows them, and erasing it erases those and no other.
    void unnamedRecordsEraseOnlyTheirNumber_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<QStringList>("records");
        QTest::newRow("missed calls")
            << int(History)
            << QStringList{"h1;;555-0001;Missed;0;2026-11-01 10:00:00", "h2;;555-0002;Missed;0;2026-11-01 10:05:00",
                           "h3;;555-0003;Missed;0;2026-11-01 10:10:00",
                           "h4;Ann Lee;555-0003;Missed;12;2026-11-01 10:15:00"};
        QTest::newRow("messages")
            << int(Message)
            << QStringList{"m1;;555-0001;Parcel waiting;2026-11-01 10:00:00",
                           "m2;;555-0002;Your code is 4821;2026-11-01 10:05:00",
                           "m3;;555-0003;Call me;2026-11-01 10:10:00", "m4;Ann Lee;555-0003;Lunch?;2026-11-01 10:15:00"};
        QTest::newRow("messages whose bodies hold semicolons")
            << int(Message)
            << QStringList{"m1;;555-0001;Parcel; waiting;2026-11-01 10:00:00",
                           "m2;;555-0002;Your code;4821;2026-11-01 10:05:00",
                           "m3;;555-0003;Call me;; now;2026-11-01 10:10:00",
                           "m4;Ann Lee;555-0003;Lunch? ;);2026-11-01 10:15:00"};
        QTest::newRow("contacts")
            << int(Contact)
            << QStringList{"c1;;555-0001;desk@example.org;;", "c2;;555-0002;shop@example.org;;",
                           "c3;;555-0003;;;Lumen Works", "c4;Ann Lee;555-0003;ann@example.org;2 Elm Street;"};
    }
    void unnamedRecordsEraseOnlyTheirNumber()
    {
        QFETCH(int, category);
        QFETCH(QStringList, records);
        SimDataSet data = SimDataSet::generate(6);
        data.lists[category] = records;
        Rig r(data);
        QVERIFY(r.connectAndScan());
        r.w.selectCategory(category);
        QTableWidget *t = r.w.categoryTable(category);
        QCOMPARE(r.w.tableLayout(category).captionWord + QString("\n(3)"),
                 r.w.findChild<QPushButton *>(r.w.tableLayout(category).buttonName)->text());
        const int row = rowShowing(t, 2, "555-0003");
        QVERIFY(row > 0);
        fixture::click(t, row);

        QSet<QString> expected;
        QStringList details;
        for (int i = 0; i < r.w.ui->EP_IsScanning_ListWidget_InfoShow->count(); ++i)
            details << r.w.ui->EP_IsScanning_ListWidget_InfoShow->item(i)->text();
        for (const QString &record : records) {
            QStringList f = record.split(';');
            if (category == Message) // the body is all between the number and the date
                f = QStringList{f[0], f[1], f[2], record.section(';', 3, -2), record.section(';', -1)};
            if (f[2] != "555-0003")
                continue;
            expected << f[0];
            for (int i = 3; i < f.size(); ++i)
                QVERIFY2(f[i].isEmpty() || details.contains(f[i]), qPrintable(f[i] + " not in " + details.join('|')));
        }
        QVERIFY(r.confirmAndErase());
        const QStringList erased = r.erasedKeys(Category(category));
        QCOMPARE(QSet<QString>(erased.begin(), erased.end()), expected);
        QCOMPARE(erased.size(), expected.size());
        QCOMPARE(r.sim.eraseRequests().size(), erased.size());
    }

    // Names and locations with ";" are read whole; an entry whose location is
    // missing or is not the file's is shown, cannot be ticked (neither alone
    // nor by the head row) and is never sent. An All run reports it as not
    // erased.
    void fileEntriesAreErasedByTheirWholeLocation_data()
    {
        QTest::addColumn<bool>("all");
        QTest::newRow("private, every row clicked and the head row") << false;
        QTest::newRow("all") << true;
    }
    void fileEntriesAreErasedByTheirWholeLocation()
    {
        QFETCH(bool, all);
        SimDataSet data = SimDataSet::generate(3);
        data.lists[Photo] = QStringList{};
        data.photoData.clear();
        data.addOddFileEntries();
        const QStringList readable[3] = {
            {"/sdcard/DCIM/Trip;2026/Beach;Day.jpg"},
            {"/sdcard/Recordings/voice_note_1.m4a", "/sdcard/Recordings/voice_note_2.m4a",
             "/sdcard/Recordings/voice_note_3.m4a", "/sdcard/Recordings/voice_note_4.m4a",
             "/sdcard/Recordings/voice_note_5.m4a", "/sdcard/Music/Song;Live.mp3", "/sdcard/Voice;Notes/memo.m4a"},
            {"/sdcard/DCIM/Camera/VID_20261110.mp4", "/sdcard/DCIM/Camera/VID_20261111.mp4",
             "/sdcard/DCIM/Camera/VID_20261112.mp4", "/sdcard/Movies/Clip;1;2.mp4"}};

        Rig r(data);
        if (all) {
            QVERIFY(r.connectAndScan(r.w.ui->S_All_Button));
            QVERIFY(!r.w.ui->M_ConformErase_1->isHidden());
        } else {
            QVERIFY(r.connectAndScan());
            for (int c = Photo; c <= Vedio; ++c) {
                r.w.selectCategory(c);
                QTableWidget *t = r.w.categoryTable(c);
                const int n = data.lists[c].size();
                for (int row = 1; row <= n; ++row) {
                    fixture::click(t, row);
                    const QString shownLocation = c == Photo ? QString() : t->item(row, 4)->text();
                    const bool canTick = c == Photo ? row <= readable[0].size() : readable[c - Photo].contains(shownLocation);
                    QCOMPARE(fixture::checked(t, row), canTick);
                }
                fixture::click(t, 0); // the head row: select all (what can be is already)
                fixture::click(t, 0); // clear all
                for (int row = 1; row <= n; ++row)
                    QVERIFY(!fixture::checked(t, row));
                fixture::click(t, 0); // select all again
                for (int row = 1; row <= n; ++row)
                    QCOMPARE(fixture::checked(t, row), t->item(row, 0)->toolTip().isEmpty());
            }
            QCOMPARE(r.w.categoryTable(Audio)->item(6, 1)->text(), QString("Song;Live.mp3"));
            QCOMPARE(r.w.categoryTable(Audio)->item(6, 4)->text(), QString("/sdcard/Music/Song;Live.mp3"));
        }
        QVERIFY(r.confirmAndErase());
        for (int c = Photo; c <= Vedio; ++c) {
            const QStringList erased = r.erasedKeys(Category(c));
            QCOMPARE(QSet<QString>(erased.begin(), erased.end()),
                     QSet<QString>(readable[c - Photo].begin(), readable[c - Photo].end()));
            QCOMPARE(erased.size(), readable[c - Photo].size());
        }
        const QString report = r.w.ui->M_EraseCompleted_Label_Text->text();
        int sent = 0;
        for (const QStringList &keys : readable)
            sent += keys.size();
        if (all)
            QVERIFY2(report.contains(QRegularExpression("^\\d+ items erased permanently\\. 4 items could not be erased "
                                                        "\\(Photo: 2, Audio: 1, Video: 1\\)\\.$")),
                     qPrintable(report));
        else
            QCOMPARE(report, QString("%1 items erased permanently.").arg(sent));
    }
};

QTEST_MAIN(TestBrowserScenario)
#include "tst_browserscenario.moc"
