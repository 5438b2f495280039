#include "browserfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

using namespace fixture;

// The category tables of a real window: fill, selection, search.
class TestCategoryTables : public QObject
{
    Q_OBJECT

    QColor zebraOf(int r) { return r % 2 ? QColor(246, 246, 246) : QColor(253, 253, 253); }
    QString caption(MainWindow &w, const char *button)
    {
        return w.findChild<QPushButton *>(QLatin1String(button))->text();
    }

private slots:
    void simulatedPhone()
    {
        MainWindow w;
        quiet(w);
        load(w, SimDataSet::generate(3));
        for (int c = Contact; c <= Vedio; ++c)
            render(w, Category(c));
        QCOMPARE(w.m_privateProgress, 100);

        QTableWidget *t = w.categoryTable(Contact);
        QCOMPARE(t->rowCount(), 12); // head, 3 rows, 8 padding
        QCOMPARE(t->columnCount(), 6);
        QVERIFY(w.m_contactLessMin);
        QVERIFY(t->isHidden());
        QVERIFY(w.m_tableList.contains(t));
        QCOMPARE(w.m_contactTableItems.size(), 12 * 6);
        QCOMPARE(t->item(0, 1)->text(), QString("Name"));
        QCOMPARE(t->item(0, 5)->text(), QString("Organization"));
        QCOMPARE(t->item(0, 3)->background().color(), QColor(229, 230, 231));
        QCOMPARE(t->item(1, 1)->text(), QString("Ada Arden"));
        QCOMPARE(t->item(1, 4)->text(), QString("10 Harbour Road"));
        QCOMPARE(t->item(9, 2)->text(), QString());
        QVERIFY(t->item(9, 0)->data(Qt::CheckStateRole).isNull()); // padding has no check
        for (int r = 1; r < 12; ++r)
            QCOMPARE(bg(t, r, 4), zebraOf(r));
        QCOMPARE(t->rowHeight(0), 26);
        QCOMPARE(t->rowHeight(5), 60);
        QCOMPARE(t->columnWidth(0), 56);
        QCOMPARE(t->columnWidth(5), 92);
        QCOMPARE(caption(w, "EP_IsScanning_PushButton_Contact"), QString("Contact\n(3)"));
        QCOMPARE(caption(w, "EP_IsScanning_PushButton_Photo"), QString("Photo(8)"));
        QCOMPARE(caption(w, "EP_IsScanning_PushButton_Vedio"), QString("Video(3)"));

        QTableWidget *video = w.categoryTable(Vedio);
        QCOMPARE(video->geometry(), QRect(155, 43, 720, 373));
        QCOMPARE(video->item(1, 2)->text(), QString("22.88 Mbyte"));
        QCOMPARE(video->item(1, 4)->text(), QString("/sdcard/DCIM/Camera/VID_20261110.mp4"));
    }

    // Every kind of cell shows the table's look: what a cell answers for its
    // font, colours, alignment, check state and icon, row by row.
    void cellsShowTheTablesLook_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("textLook");   // Arial 9, grey text
        QTest::addColumn<int>("alignment");   // 0: none
        QTest::addColumn<int>("check");       // -1: none
        QTest::addColumn<QString>("icon");    // which icon, "" none
        const int left = int(Qt::AlignVCenter | Qt::AlignLeft);
        const int centre = int(Qt::AlignCenter);
        QTest::newRow("contact check") << int(Contact) << 1 << 0 << false << 0 << int(Qt::Unchecked) << "unchecked";
        QTest::newRow("contact name") << int(Contact) << 1 << 1 << true << left << -1 << "contact";
        QTest::newRow("contact number, even row") << int(Contact) << 2 << 2 << true << centre << -1 << "";
        QTest::newRow("contact padding") << int(Contact) << 9 << 3 << false << 0 << -1 << "";
        QTest::newRow("audio check") << int(Audio) << 1 << 0 << true << 0 << int(Qt::Unchecked) << "unchecked";
        QTest::newRow("audio name") << int(Audio) << 2 << 1 << true << centre << -1 << "audio";
        QTest::newRow("audio location") << int(Audio) << 1 << 4 << true << centre << -1 << "";
        QTest::newRow("photo check") << int(Photo) << 1 << 0 << false << 0 << int(Qt::Unchecked) << "unchecked";
        QTest::newRow("photo check without a location") << int(Photo) << 2 << 0 << false << 0 << int(Qt::Unchecked)
                                                        << "";
        QTest::newRow("photo thumbnail") << int(Photo) << 1 << 1 << false << 0 << -1 << "contact";
        QTest::newRow("photo size") << int(Photo) << 1 << 3 << true << centre << -1 << "";
    }
    void cellsShowTheTablesLook()
    {
        QFETCH(int, category);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, textLook);
        QFETCH(int, alignment);
        QFETCH(int, check);
        QFETCH(QString, icon);
        MainWindow w;
        quiet(w);
        addText(w, Contact, contact(1, "555-0101"));
        addText(w, Contact, contact(2, "555-0102"));
        w.m_audioDir << "a.mp3;10;mp3;/Music/a.mp3" << "b.mp3;20;mp3;/Music/b.mp3";
        w.m_photoDir << "a.jpg;10;jpg;/DCIM/a.jpg" << "lost.jpg;10;jpg;";
        render(w, Category(category));
        QTableWidgetItem *cell = w.categoryTable(category)->item(row, column);
        QVERIFY(cell);
        QCOMPARE(cell->background().color(), zebraOf(row));
        if (textLook) {
            QCOMPARE(cell->font().family(), QString("Arial"));
            QCOMPARE(cell->font().pointSize(), 9);
            QCOMPARE(cell->foreground().color(), QColor(102, 102, 102));
        } else {
            QVERIFY(cell->data(Qt::FontRole).isNull());
            QVERIFY(cell->data(Qt::ForegroundRole).isNull());
        }
        QCOMPARE(cell->data(Qt::TextAlignmentRole).toInt(), alignment);
        QCOMPARE(cell->data(Qt::CheckStateRole).isNull() ? -1 : cell->data(Qt::CheckStateRole).toInt(), check);
        const QMap<QString, QIcon> icons{{"unchecked", w.m_iconUnchecked}, {"contact", w.m_iconContact},
                                         {"audio", w.m_iconAudio}};
        if (icon.isEmpty())
            QVERIFY(cell->icon().isNull());
        else
            QCOMPARE(cell->icon().cacheKey(), icons.value(icon).cacheKey());

        // What is set on a cell later is what it shows.
        cell->setBackground(QColor(1, 2, 3));
        QCOMPARE(cell->background().color(), QColor(1, 2, 3));
        cell->setIcon(w.m_iconChecked);
        QCOMPARE(cell->icon().cacheKey(), w.m_iconChecked.cacheKey());
    }

    void fileCaptions_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("rows");
        QTest::newRow("3") << 3 << "Photo(3)" << 9;
        QTest::newRow("99") << 99 << "Photo(99)" << 100;
        QTest::newRow("100") << 100 << "Photo\n(100)" << 101;
    }
    void fileCaptions()
    {
        QFETCH(int, count);
        QFETCH(QString, caption);
        QFETCH(int, rows);
        MainWindow w;
        quiet(w);
        for (int i = 0; i < count; ++i)
            w.m_photoDir << QString("IMG_%1.jpg;%2;jpg;/sdcard/DCIM/IMG_%1.jpg").arg(i).arg(1500000 + i);
        render(w, Photo);
        QTableWidget *t = w.categoryTable(Photo);
        QCOMPARE(t->rowCount(), rows);
        QCOMPARE(t->item(0, 1)->text(), QString("Photo"));
        QCOMPARE(t->item(1, 2)->text(), QString("IMG_0.jpg"));
        QCOMPARE(t->item(1, 3)->text(), QString("1.43 Mbyte"));
        QCOMPARE(w.m_photoLessMin, count < 8);
        if (auto *b = w.findChild<QPushButton *>("EP_IsScanning_PushButton_Photo"))
            QCOMPARE(b->text(), caption);
    }

    void sharedNumberIsOneRow()
    {
        MainWindow w;
        quiet(w);
        addText(w, Contact, "10;Home Phone;555-0199;;;");
        addText(w, Contact, "11;Work Phone;555-0199;;;");
        addText(w, Contact, contact(12, "555-0200"));
        render(w, Contact);
        QTableWidget *t = w.categoryTable(Contact);
        QCOMPARE(t->item(1, 1)->text(), QString("Work Phone")); // inserted last
        click(t, 1);
        QVERIFY(checked(t, 1));
        QCOMPARE(QSet<QString>(w.m_contactToEraseList.begin(), w.m_contactToEraseList.end()),
                 QSet<QString>({"10", "11"}));
        QVERIFY(w.m_eraseSelected[Contact]);
        QCOMPARE(bg(t, 1), QColor(237, 247, 253));
        click(t, 1);
        QVERIFY(w.m_contactToEraseList.isEmpty());
        QVERIFY(!w.m_eraseSelected[Contact]);
        QCOMPARE(bg(t, 1), zebraOf(1));
    }

    void messagesOfTheSimulatedPhone()
    {
        MainWindow w;
        quiet(w);
        SimDataSet d = SimDataSet::generate(24);
        // a phone stores a message from a contact under the bare number
        for (QString &m : d.lists[Message]) {
            QStringList f = m.split(';');
            if (f[2] != "72345")
                f[1] = f[2];
            m = f.join(';');
        }
        load(w, d);
        render(w, Contact);
        render(w, Message);
        QTableWidget *t = w.categoryTable(Message);
        const int n = w.m_messageMapNumberId.uniqueKeys().size();
        QCOMPARE(t->rowCount(), qMax(n, 8) + 1);
        int parcelRow = -1;
        for (int r = 1; r <= n; ++r) {
            if (t->item(r, 2)->text() == "72345")
                parcelRow = r;
            else // the contact's name, not the bare number
                QVERIFY2(!t->item(r, 1)->text().startsWith('+'), qPrintable(t->item(r, 1)->text()));
        }
        QVERIFY(parcelRow > 0);
        QCOMPARE(t->item(parcelRow, 1)->text(), QString("ParcelPost")); // no contact: its own name
        click(t, parcelRow);
        // ten messages share the short code, newest first (m1 is the newest)
        QCOMPARE(w.m_messageToEraseList.size(), 10);
        QCOMPARE(w.m_messageToEraseList.first(), QString("m1"));
        QCOMPARE(w.m_messageToEraseList.last(), QString("m28"));
        auto *info = w.findChild<QListWidget *>("EP_IsScanning_ListWidget_InfoShow");
        QCOMPARE(info->count(), 20);
        QCOMPARE(info->item(0)->text(), d.lists[Message].at(0).section(';', 4, 4));
        QCOMPARE(info->item(0)->background().color(), QColor(253, 253, 253));
        QCOMPARE(info->item(1)->text(), d.lists[Message].at(0).section(';', 3, 3));
        QCOMPARE(info->item(1)->background().color(), QColor(237, 247, 253)); // not "accepted"
        click(t, 0);
        QCOMPARE(w.m_messageToEraseList.size(), 30);
    }

    // Records without a name keep every field in place: a row stands for the
    // records of the number it shows. Checking such a row chooses the record
    // it shows and nothing shown in another row.
    void rowChoosesTheRecordItShows_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("uniqueColumn"); // a cell that tells the records apart
        QTest::addColumn<int>("uniqueField");
        QTest::newRow("calls without a cached name") << int(History) << 5 << 5;
        QTest::newRow("messages without a sender name") << int(Message) << 4 << 4;
        QTest::newRow("contacts without a name") << int(Contact) << 3 << 3;
    }
    void rowChoosesTheRecordItShows()
    {
        QFETCH(int, category);
        QFETCH(int, uniqueColumn);
        QFETCH(int, uniqueField);
        SimDataSet d = SimDataSet::generate(6);
        QStringList &records = d.lists[category];
        for (int i = 0; i < records.size(); ++i) {
            QStringList f = records[i].split(';');
            if (category == Contact) {
                if (i == 2) // a second entry for the first contact's number, no name
                    records << QString("c99;;%1;front.desk@example.org;;").arg(f[2]);
                continue;
            }
            if (i % 4 == 3 || f[1] == "Unknown" || f[1] == "ParcelPost")
                f[1].clear(); // the phone has no name for it
            records[i] = f.join(';');
        }
        QMap<QString, QString> idOf; // unique cell -> id
        for (const QString &rec : records)
            idOf.insert(rec.split(';').value(uniqueField), rec.section(';', 0, 0));

        MainWindow w;
        quiet(w);
        load(w, d);
        render(w, Contact);
        if (category != Contact)
            render(w, Category(category));
        QTableWidget *t = w.categoryTable(category);
        const QStringList &list = category == Contact ? w.m_contactToEraseList
            : category == History                     ? w.m_historyToEraseList
                                                      : w.m_messageToEraseList;
        QStringList shownIds;
        for (int r = 1; r < t->rowCount() && !t->item(r, uniqueColumn)->text().isEmpty(); ++r) {
            QVERIFY2(idOf.contains(t->item(r, uniqueColumn)->text()), qPrintable(t->item(r, uniqueColumn)->text()));
            shownIds << idOf.value(t->item(r, uniqueColumn)->text());
        }
        QVERIFY(shownIds.size() >= 4);
        for (int r = 1; r <= shownIds.size(); ++r) {
            click(t, r);
            QVERIFY(checked(t, r));
            QVERIFY2(list.contains(shownIds[r - 1]), qPrintable(QString("row %1 shows %2, listed %3")
                                                                  .arg(r).arg(shownIds[r - 1], list.join(','))));
            for (int q = 1; q <= shownIds.size(); ++q)
                QVERIFY2(q == r || !list.contains(shownIds[q - 1]),
                         qPrintable(QString("row %1 lists %2 of row %3").arg(r).arg(shownIds[q - 1]).arg(q)));
            click(t, r);
            QVERIFY(list.isEmpty());
        }
    }

    void paddingClickChangesNothing_data()
    {
        QTest::addColumn<int>("category");
        QTest::newRow("contacts") << int(Contact);
        QTest::newRow("photos") << int(Photo);
    }
    void paddingClickChangesNothing()
    {
        QFETCH(int, category);
        MainWindow w;
        quiet(w);
        for (int i = 1; i <= 3; ++i) {
            addText(w, Contact, contact(i, QString("555-010%1").arg(i)));
            w.m_photoDir << QString("p%1.jpg;100;jpg;/sdcard/p%1.jpg").arg(i);
        }
        render(w, Category(category));
        QTableWidget *t = w.categoryTable(category);
        click(t, 2);
        const QStringList before = category == Contact ? w.m_contactToEraseList : w.m_photoToEraseList;
        auto *name = w.findChild<QLabel *>("EP_IsScanning_Label_Name");
        if (name)
            name->setText("was here");
        click(t, 8);
        click(t, 0); // the head row still works after a padding click
        click(t, 0);
        click(t, 9);
        QCOMPARE(category == Contact ? w.m_contactToEraseList : w.m_photoToEraseList, QStringList());
        click(t, 2);
        QCOMPARE(category == Contact ? w.m_contactToEraseList : w.m_photoToEraseList, before);
        click(t, 9);
        QCOMPARE(category == Contact ? w.m_contactToEraseList : w.m_photoToEraseList, before);
        QVERIFY(!checked(t, 9));
        if (name)
            QCOMPARE(name->text(), QString());
    }

    void headRowSelectsAndClears_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("padded") << 4;
        QTest::newRow("unpadded") << 14;
    }
    void headRowSelectsAndClears()
    {
        QFETCH(int, count);
        MainWindow w;
        quiet(w);
        for (int i = 1; i <= count; ++i)
            addText(w, Contact, contact(i, QString("555-%1").arg(1000 + i)));
        render(w, Contact);
        QTableWidget *t = w.categoryTable(Contact);
        click(t, 2);
        click(t, 3);
        click(t, 0); // select all: rows 2 and 3 are not added again
        QVERIFY(checked(t, 0));
        QCOMPARE(bg(t, 0), QColor(219, 243, 252));
        QCOMPARE(w.m_contactToEraseList.size(), count);
        QCOMPARE(QSet<QString>(w.m_contactToEraseList.begin(), w.m_contactToEraseList.end()).size(), count);
        for (int r = 1; r <= count; ++r)
            QVERIFY(checked(t, r));
        click(t, 0); // clear all
        QVERIFY(w.m_contactToEraseList.isEmpty());
        QVERIFY(!w.m_eraseSelected[Contact]);
        QCOMPARE(bg(t, 0), QColor(229, 230, 231));
        const bool padded = count < 11;
        for (int r = 1; r <= count; ++r) {
            QVERIFY(!checked(t, r));
            QCOMPARE(bg(t, r), padded ? QColor(253, 253, 253) : zebraOf(r));
        }
    }

    void uncheckingLastRowResetsHead()
    {
        MainWindow w;
        quiet(w);
        addText(w, Contact, contact(1, "555-0101"));
        addText(w, Contact, contact(2, "555-0102"));
        render(w, Contact);
        QTableWidget *t = w.categoryTable(Contact);
        click(t, 0);
        click(t, 1);
        QVERIFY(checked(t, 0));
        click(t, 2);
        QVERIFY(w.m_contactToEraseList.isEmpty());
        QVERIFY(!checked(t, 0));
    }

    void historyDetails()
    {
        MainWindow w;
        quiet(w);
        addText(w, History, "h1;Ann Lee;555-0101;accepted;65;2026-11-30 08:15:00");
        addText(w, History, "h2;Bo;555-0102;missed;0;2026-11-30 09:00:00");
        render(w, History);
        auto *info = w.findChild<QListWidget *>("EP_IsScanning_ListWidget_InfoShow");
        if (!info)
            QSKIP("results page not built");
        QTableWidget *t = w.categoryTable(History);
        click(t, 1);
        QCOMPARE(info->count(), 3);
        QCOMPARE(info->item(0)->text(), QString("2026-11-30 08:15:00"));
        QCOMPARE(info->item(1)->text(), QString("accepted"));
        QCOMPARE(info->item(1)->background().color(), QColor(246, 246, 246));
        QCOMPARE(info->item(2)->text(), QString("65"));
        click(t, 2);
        QCOMPARE(info->item(1)->background().color(), QColor(237, 247, 253));
    }

    void search_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("numbers");
        QTest::newRow("555 anywhere") << "555" << QStringList({"201-5550", "555-0101", "777-0000"});
        QTest::newRow("lower case") << "smith" << QStringList();
        QTest::newRow("capital") << "Smith" << QStringList({"555-0101"});
    }
    void search()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, numbers);
        MainWindow w;
        quiet(w);
        addText(w, Contact, "1;Jo Smith;555-0101;;;");
        addText(w, Contact, "2;Al Ray;201-5550;;;");
        addText(w, Contact, "3;Bo Day;777-0000;bo@example.org;Apt 555;");
        addText(w, Contact, "4;Cy Fox;888-1234;;;");
        render(w, Contact);
        w.m_currentCategory = Contact;
        auto *editor = w.findChild<QLineEdit *>("EP_IsScanning_TextBroswerEditor");
        if (!editor)
            QSKIP("results page not built");
        editor->setText("  " + text + " ");
        w.on_EP_IsScanning_PusuButton_SearchButton_clicked();
        QTableWidget *t = w.categoryTable(Contact);
        QStringList shown;
        for (int r = 1; r <= numbers.size(); ++r)
            shown << t->item(r, 2)->text();
        QCOMPARE(shown, numbers);
        QCOMPARE(t->rowCount(), 12);
        QVERIFY(t->item(numbers.size() + 1, 2)->text().isEmpty());
        auto *b = w.findChild<QPushButton *>("EP_IsScanning_PushButton_Contact");
        QCOMPARE(b->text(), QString("Contact(%1)").arg(numbers.size()));

        editor->setText("   ");
        emit editor->returnPressed();
        QVERIFY(!w.m_contactSearching);
        QCOMPARE(t->item(4, 2)->text(), QString("888-1234"));
    }

    void searchDoesNothingOnPhotos()
    {
        MainWindow w;
        quiet(w);
        addText(w, Contact, "1;Jo Smith;555-0101;;;");
        render(w, Contact);
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/a.jpg";
        render(w, Photo);
        w.m_currentCategory = Photo;
        auto *editor = w.findChild<QLineEdit *>("EP_IsScanning_TextBroswerEditor");
        if (!editor)
            QSKIP("results page not built");
        editor->setText("zzz");
        w.on_EP_IsScanning_PusuButton_SearchButton_clicked();
        QVERIFY(!w.m_contactSearching);
        QCOMPARE(w.categoryTable(Contact)->item(1, 2)->text(), QString("555-0101"));
        QCOMPARE(w.categoryTable(Photo)->item(1, 2)->text(), QString("a.jpg"));
    }

    void searchKeepsChoiceVisible()
    {
        MainWindow w;
        quiet(w);
        addText(w, Contact, "1;Jo Smith;555-0101;;;");
        addText(w, Contact, "2;Al Ray;555-0101;;;");
        addText(w, Contact, "3;Bo Day;777-0000;;;");
        render(w, Contact);
        w.m_currentCategory = Contact;
        QTableWidget *t = w.categoryTable(Contact);
        click(t, 1); // 555-0101: ids 1 and 2
        auto *editor = w.findChild<QLineEdit *>("EP_IsScanning_TextBroswerEditor");
        if (!editor)
            QSKIP("results page not built");
        editor->setText("Smith");
        w.runSearch();
        QVERIFY(checked(t, 1)); // chosen before the search, shows chosen
        click(t, 1);            // unchecking it drops the whole number
        QVERIFY(w.m_contactToEraseList.isEmpty());
        click(t, 1);
        click(t, 1);
        click(t, 1);
        QCOMPARE(w.m_contactToEraseList.size(), 2); // never twice
        editor->clear();
        w.runSearch();
        QVERIFY(checked(t, 1));
        QVERIFY(!checked(t, 2));
    }

    // Random clicks and searches: the to-erase list always holds exactly the
    // ids of the checked rows, each once.
    void randomClicks_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<QStringList>("searches");
        QTest::newRow("contacts sharing numbers")
            << int(Contact) << QStringList({"", "Smith", "555", "Lee", "nothing", "0101", ""});
        QTest::newRow("messages of the simulated phone")
            << int(Message) << QStringList({"", "Parcel", "+1555", "code", "2026-11-2", "zzz", ""});
    }
    void randomClicks()
    {
        QFETCH(int, category);
        QFETCH(QStringList, searches);
        MainWindow w;
        quiet(w);
        if (category == Contact) {
            const QStringList numbers = {"555-0101", "555-0102", "777-0101", "888-5550", "201-0000"};
            for (int i = 1; i <= 16; ++i)
                addText(w, Contact,
                        QString("%1;%2;%3;;;").arg(QString::number(100 + i), i % 3 ? "Smith" : "Lee", numbers[i % 5]));
        } else {
            load(w, SimDataSet::generate(6));
        }
        render(w, Category(category));
        w.m_currentCategory = category;
        QTableWidget *t = w.categoryTable(category);
        const QStringList &list = category == Contact ? w.m_contactToEraseList : w.m_messageToEraseList;
        auto *editor = w.findChild<QLineEdit *>("EP_IsScanning_TextBroswerEditor");
        QRandomGenerator rng(20261207);
        for (int run = 0; run < 200; ++run) {
            for (int step = 0; step < 25; ++step) {
                if (rng.bounded(10) == 0) {
                    editor->setText(searches[rng.bounded(searches.size())]);
                    w.runSearch();
                } else {
                    click(t, rng.bounded(t->rowCount()));
                }
                QCOMPARE(QSet<QString>(list.begin(), list.end()).size(), list.size());
                QCOMPARE(w.m_eraseSelected[category], !list.isEmpty());
                for (int r = 1; r < t->rowCount(); ++r) {
                    if (t->item(r, 2)->text().isEmpty())
                        continue;
                    const QStringList ids = w.rowIds(category, r);
                    bool allIn = !ids.isEmpty();
                    for (const QString &id : ids)
                        allIn = allIn && list.contains(id);
                    QCOMPARE(checked(t, r), allIn);
                }
            }
            editor->clear();
            w.runSearch();
            QSet<QString> shown;
            for (int r = 1; r < t->rowCount(); ++r)
                if (checked(t, r))
                    for (const QString &id : w.rowIds(category, r))
                        shown.insert(id);
            QCOMPARE(QSet<QString>(list.begin(), list.end()), shown);
        }
    }

    void allDataScopeBuildsNothing()
    {
        MainWindow w;
        quiet(w);
        addText(w, Contact, contact(1, "555-0101"));
        w.m_eraseType = EraseType::All;
        w.m_dataReadable[Contact] = true;
        w.updateContactUI();
        QCOMPARE(w.m_allProgress, 5);
        QVERIFY(!w.m_dataReadable[Contact]);
        QVERIFY(!w.categoryTable(Contact) || w.categoryTable(Contact)->rowCount() == 0);
    }

    void categorySwitching()
    {
        MainWindow w;
        quiet(w);
        addText(w, Contact, contact(1, "555-0101"));
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/a.jpg";
        for (int c = Contact; c <= Vedio; ++c)
            render(w, Category(c));
        auto *photoButton = w.findChild<QPushButton *>("EP_IsScanning_PushButton_Photo");
        auto *contactButton = w.findChild<QPushButton *>("EP_IsScanning_PushButton_Contact");
        auto *name = w.findChild<QLabel *>("EP_IsScanning_Label_Name");
        auto *location = w.findChild<QWidget *>("EP_IsScanning_Label_PhotoLocation");
        QVERIFY(photoButton && contactButton && name && location);

        photoButton->click();
        QCOMPARE(w.m_currentCategory, int(Photo));
        QVERIFY(!w.categoryTable(Photo)->isHidden());
        QVERIFY(w.categoryTable(Contact)->isHidden());
        QVERIFY(!location->isHidden());
        QVERIFY(!w.findChild<QWidget *>("EP_IsScanning_Label_PhotoButton_Selected")->isHidden());
        QVERIFY(w.findChild<QWidget *>("EP_IsScanning_Label_ContactButton_Selected")->isHidden());
        QVERIFY(w.findChild<QWidget *>("EP_IsScanning_Label_PhotoBg")->styleSheet().contains("tableBg_Selected"));

        contactButton->click();
        QVERIFY(location->isHidden());
        click(w.categoryTable(Contact), 1);
        QCOMPARE(name->text(), QString("Person 1"));
        contactButton->click(); // already showing: only the pane empties
        QVERIFY(name->text().isEmpty());
        QVERIFY(!w.categoryTable(Contact)->isHidden());
        QVERIFY(checked(w.categoryTable(Contact), 1));
    }

    void newScanClears()
    {
        MainWindow w;
        quiet(w);
        addText(w, Contact, contact(1, "555-0101"));
        w.m_photoDir << "a.jpg;10;jpg;/sdcard/a.jpg";
        w.m_photoThumbs.insert("/sdcard/a.jpg", {QPixmap(4, 4), QByteArray("jpeg")});
        render(w, Contact);
        render(w, Photo);
        click(w.categoryTable(Contact), 1);
        w.m_eraseType = EraseType::Private;
        w.clearResultTables();
        QVERIFY(w.m_contactToEraseList.isEmpty());
        QVERIFY(w.m_contactMapIdData.isEmpty());
        QVERIFY(w.m_photoThumbs.isEmpty());
        QVERIFY(w.m_contactTableItems.isEmpty());
        QCOMPARE(w.categoryTable(Contact)->rowCount(), 0);
        QVERIFY(!w.m_contactLessMin);
        QVERIFY(w.m_tableList.isEmpty());
    }
};

QTEST_MAIN(TestCategoryTables)
#include "tst_categorytables.moc"
