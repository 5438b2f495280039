#include "browser/browserlogic.h"
#include "protocol/records.h"

#include <QtTest>

using namespace browser;

// Pure rules of the result browser.
class TestBrowserLogic : public QObject
{
    Q_OBJECT
private slots:
    void formatSize_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << qint64(0) << "0 Byte";
        QTest::newRow("500") << qint64(500) << "500 Byte";
        QTest::newRow("1023") << qint64(1023) << "1023 Byte";
        QTest::newRow("1 KiB") << qint64(1024) << "1.00 Kbyte";
        QTest::newRow("1.5 KiB") << qint64(1536) << "1.50 Kbyte";
        QTest::newRow("rounded down") << qint64(1024 + 1023) << "1.99 Kbyte";
        QTest::newRow("small fraction padded") << qint64(1024 + 11) << "1.01 Kbyte";
        QTest::newRow("just below 1 MiB") << qint64(1048575) << "1023.99 Kbyte";
        QTest::newRow("1 MiB") << qint64(1048576) << "1.00 Mbyte";
        QTest::newRow("photo") << qint64(3456789) << "3.29 Mbyte";
        QTest::newRow("just below 1 GiB") << qint64(1073741823) << "1023.99 Mbyte";
        QTest::newRow("1 GiB") << qint64(1073741824) << "1.00 Gbyte";
        QTest::newRow("int max") << qint64(2147483647) << "1.99 Gbyte";
        QTest::newRow("above 32 bits") << qint64(5368709120LL) << "5.00 Gbyte";
        QTest::newRow("just below 1 TiB") << qint64(1099511627775LL) << "1023.99 Gbyte";
        QTest::newRow("1 TiB") << qint64(1099511627776LL) << "size greater than 1 tb";
        QTest::newRow("negative") << qint64(-5) << "0 Byte";
    }
    void formatSize()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(browser::formatSize(bytes), text);
    }

    void sizeField_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("sizeText");
        QTest::newRow("plain") << "a.jpg;2048;jpg;/sdcard/a.jpg" << "2.00 Kbyte";
        QTest::newRow("beyond 32 bits") << "v.mp4;4294967296;mp4;/sdcard/v.mp4" << "4.00 Gbyte";
        QTest::newRow("not a number") << "a.jpg;big;jpg;/x" << "0 Byte";
        QTest::newRow("missing") << "a.jpg" << "0 Byte";
    }
    void sizeField()
    {
        QFETCH(QString, entry);
        QFETCH(QString, sizeText);
        QCOMPARE(fileRow(entry).sizeText, sizeText);
    }

    void caption_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("caption");
        QTest::newRow("contact 3") << "Contact" << 3 << "Contact\n(3)";
        QTest::newRow("contact 0") << "Contact" << 0 << "Contact\n(0)";
        QTest::newRow("history") << "History" << 12 << "History\n(12)";
        QTest::newRow("photo 99") << "Photo" << 99 << "Photo(99)";
        QTest::newRow("photo 100") << "Photo" << 100 << "Photo\n(100)";
        QTest::newRow("audio 7") << "Audio" << 7 << "Audio(7)";
        QTest::newRow("video 100") << "Video" << 100 << "Video\n(100)";
    }
    void caption()
    {
        QFETCH(QString, word);
        QFETCH(int, count);
        QFETCH(QString, caption);
        QCOMPARE(categoryCaption(word, count), caption);
    }

    void newestFirst()
    {
        QMap<QString, QString> data{
            {"a", "a;X;1;old;2025-03-01 08:00:00;accepted"},
            {"b", "b;X;1;new;2026-11-30 23:59:59;accepted"},
            {"c", "c;X;1;bad date;yesterday;accepted"},
            {"d", "d;X;1;mid;2026-01-15 12:00:00;sent"},
        };
        QCOMPARE(sortIdsNewestFirst({"a", "b", "c", "d"}, data), QStringList({"b", "d", "a", "c"}));
    }

    // Message bodies often hold ";": the date and the type after the body
    // stay the date and the type, and the body stays whole.
    void messageFields_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("plain, with type")
            << "m1;Ada;555-0001;See you at six;2026-11-30 18:00:00;accepted"
            << QStringList{"m1", "Ada", "555-0001", "See you at six", "2026-11-30 18:00:00", "accepted"};
        QTest::newRow("plain, no type")
            << "m1;Ada;555-0001;See you;2026-11-30 18:00:00"
            << QStringList{"m1", "Ada", "555-0001", "See you", "2026-11-30 18:00:00"};
        QTest::newRow("body with semicolons, with type")
            << "m2;;555-0002;late; sorry;; really;2026-11-30 18:05:00;sent"
            << QStringList{"m2", "", "555-0002", "late; sorry;; really", "2026-11-30 18:05:00", "sent"};
        QTest::newRow("body with semicolons, no type")
            << "m3;Bo;72345;a;b;2026-01-02 03:04:05"
            << QStringList{"m3", "Bo", "72345", "a;b", "2026-01-02 03:04:05"};
        QTest::newRow("body quoting a date")
            << "m4;Bo;72345;moved to;2026-01-01 10:00:00;ok?;2026-01-02 03:04:05;accepted"
            << QStringList{"m4", "Bo", "72345", "moved to;2026-01-01 10:00:00;ok?", "2026-01-02 03:04:05",
                           "accepted"};
        QTest::newRow("empty body")
            << "m5;Bo;72345;;2026-01-02 03:04:05;accepted"
            << QStringList{"m5", "Bo", "72345", "", "2026-01-02 03:04:05", "accepted"};
        QTest::newRow("no readable date: split as is")
            << "m6;Bo;72345;a;b;yesterday"
            << QStringList{"m6", "Bo", "72345", "a", "b", "yesterday"};
    }
    void messageFields()
    {
        QFETCH(QString, record);
        QFETCH(QStringList, fields);
        QCOMPARE(browser::messageFields(record), fields);
    }

    void messageRowsKeepBodyAndDate()
    {
        const QMap<QString, QString> data{{"m1", "m1;;555-0001;hi; there;2026-11-30 18:00:00;accepted"},
                                          {"m2", "m2;;555-0001;later;2026-11-29 18:00:00;accepted"}};
        proto::NumberIndex byNumber;
        byNumber.insert("555-0001", "m2");
        byNumber.insert("555-0001", "m1");
        const QList<KeyedRow> rows = buildMessageRows(byNumber, data, {}, {});
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().cells, QStringList({"", "555-0001", "hi; there", "2026-11-30 18:00:00"}));
        QCOMPARE(sortIdsNewestFirst({"m2", "m1"}, data), QStringList({"m1", "m2"}));
    }

    void search_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("555 in any field")
            << "555" << QStringList({"555-0101", "777-1000", "888-2000"})
            << QStringList({"1", "2", "3", "4"});
        QTest::newRow("case sensitive") << "smith" << QStringList() << QStringList();
        QTest::newRow("capital") << "Smith" << QStringList({"555-0101"}) << QStringList({"1"});
        QTest::newRow("id field counts") << "4;" << QStringList({"888-2000"}) << QStringList({"4"});
        QTest::newRow("no number: under the empty number") << "Nobody" << QStringList({""}) << QStringList({"5"});
        QTest::newRow("no name: under its own number") << "zed@" << QStringList({"999-0000"}) << QStringList({"6"});
    }
    void search()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, ids);
        const QMap<QString, QString> data{
            {"1", "1;Jo Smith;555-0101;;;"},
            {"2", "2;Al Ray;777-1000;al@555.example;;"},
            {"3", "3;Bo Day;777-1000;;5 Elm, Apt 555;"},
            {"4", "4;Cy Fox;888-2000;;;Org 555"},
            {"5", "5;Nobody;;;;"},
            {"6", "6;;999-0000;zed@x.org;;"},
        };
        const proto::NumberIndex result = searchRecords(data, text);
        QCOMPARE(result.uniqueKeys(), numbers);
        QStringList got = result.values();
        got.sort();
        QCOMPARE(got, ids);
    }

    // One row per number, showing the record inserted last; a record
    // without a number is a row of its own. Every row shows the number of
    // every record it stands for.
    void keyedRows_data()
    {
        QTest::addColumn<QStringList>("records"); // in arrival order
        QTest::addColumn<QStringList>("rows");    // number:shown id:ids of the row
        QTest::newRow("shared number")
            << QStringList({"1;Ada;555;a", "2;;555;b", "3;Bo;556;c"})
            << QStringList({"555:2:1,2", "556:3:3"});
        QTest::newRow("unnamed calls of three numbers")
            << QStringList({"h1;;555-0001;Missed", "h2;;555-0002;Missed", "h3;Ann;555-0003;Missed", "h4;;555-0003;Missed"})
            << QStringList({"555-0001:h1:h1", "555-0002:h2:h2", "555-0003:h4:h3,h4"});
        QTest::newRow("without numbers, one row each")
            << QStringList({"1;Ada;;a@x.org", "2;Bo;;b@x.org", "3;Cy;557;"})
            << QStringList({":1:1", ":2:2", "557:3:3"});
    }
    void keyedRows()
    {
        QFETCH(QStringList, records);
        QFETCH(QStringList, rows);
        proto::RecordStore idData;
        QMultiMap<QString, QString> nameId;
        proto::NumberIndex numberId;
        for (const QString &r : records)
            proto::addTextRecord(r, {&idData, &nameId, &numberId});
        const QList<KeyedRow> built = buildKeyedRows(numberId, idData, 3);
        QStringList got;
        for (const KeyedRow &row : built) {
            QCOMPARE(row.cells.value(1), row.number); // the Number cell
            const QStringList ids = idsOfRow(numberId, row.number, row.soleId);
            for (const QString &id : ids)
                QCOMPARE(recordFields(idData.value(id)).value(2), row.number);
            got << row.number + ":" + row.shownId + ":" + ids.join(",");
        }
        QCOMPARE(got, rows);
        QCOMPARE(keyedRowCount(numberId), rows.size());
    }

    // A row shows fields 1.. of its record, as many as the table has
    // columns: a short record leaves the last cells empty, a long one's
    // further fields are not shown, empty fields stay in place.
    void keyedRowCells_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("whole") << "1;Ada;555;a@x;1 Elm;Org" << QStringList{"Ada", "555", "a@x", "1 Elm", "Org"};
        QTest::newRow("short") << "1;Ada;555" << QStringList{"Ada", "555", "", "", ""};
        QTest::newRow("empty fields") << "1;;555;;;" << QStringList{"", "555", "", "", ""};
        QTest::newRow("longer") << "1;Ada;555;a;b;c;d;e" << QStringList{"Ada", "555", "a", "b", "c"};
        QTest::newRow("trailing separator") << "1;Ada;555;a;b;" << QStringList{"Ada", "555", "a", "b", ""};
    }
    void keyedRowCells()
    {
        QFETCH(QString, record);
        QFETCH(QStringList, cells);
        proto::RecordStore idData;
        QMultiMap<QString, QString> nameId;
        proto::NumberIndex numberId;
        proto::addTextRecord(record, {&idData, &nameId, &numberId});
        const QList<KeyedRow> rows = buildKeyedRows(numberId, idData, 5);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().cells, cells);
    }

    void messageSenderName_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("name");
        QTest::newRow("contact's name") << "m1;Mum;555;hi" << "Ada";
        QTest::newRow("contact without a name keeps the message's") << "m1;Front desk;556;hi" << "Front desk";
        QTest::newRow("no contact") << "m1;Shop;777;hi" << "Shop";
        QTest::newRow("no number is no contact's") << "m1;Draft;;hi" << "Draft";
    }
    void messageSenderName()
    {
        QFETCH(QString, message);
        QFETCH(QString, name);
        proto::RecordStore contacts, messages;
        QMultiMap<QString, QString> contactNames, messageNames;
        proto::NumberIndex contactNumbers, messageNumbers;
        for (const char *c : {"1;Ada;555;", "2;;556;", "3;Nobody;;x@y.org"})
            proto::addTextRecord(QString(c), {&contacts, &contactNames, &contactNumbers});
        proto::addTextRecord(message, {&messages, &messageNames, &messageNumbers});
        const QList<KeyedRow> rows = buildMessageRows(messageNumbers, messages, contactNumbers, contacts);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().cells.value(0), name);
    }

    // A file row chooses its entry by the whole location; an entry whose
    // location cannot be read shows what it has and chooses nothing.
    void fileRows_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "a.mp3;10;mp3;/Music/a.mp3" << "a.mp3" << "/Music/a.mp3" << "/Music/a.mp3";
        QTest::newRow("; in name and location") << "a;b.mp3;10;mp3;/Music/a;b.mp3" << "a;b.mp3" << "/Music/a;b.mp3"
                                                << "/Music/a;b.mp3";
        QTest::newRow("no location") << "lost.mp3;10;mp3;" << "lost.mp3" << "" << "";
        QTest::newRow("location of another file") << "a.mp3;10;mp3;/Music/b.mp3" << "a.mp3" << ""
                                                  << "/Music/b.mp3";
    }
    void fileRows()
    {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        QFETCH(QString, location);
        QFETCH(QString, shown);
        const FileRow row = fileRow(entry);
        QCOMPARE(row.name, name);
        QCOMPARE(row.location, location);
        QCOMPARE(row.locationText, shown);
    }

    void selection_data()
    {
        // A sequence of operations "+ids" (check) and "-ids" (uncheck) and
        // the list that must remain.
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("check twice adds once") << QStringList({"+1,2", "+2,3"}) << QStringList({"1", "2", "3"});
        QTest::newRow("uncheck removes") << QStringList({"+1,2", "-1"}) << QStringList({"2"});
        QTest::newRow("uncheck unknown") << QStringList({"+1", "-9"}) << QStringList({"1"});
        QTest::newRow("recheck in one go") << QStringList({"+1,2", "-1", "+1"}) << QStringList({"1", "2"});
        QTest::newRow("everything off") << QStringList({"+1,2", "-2,1"}) << QStringList();
    }
    void selection()
    {
        QFETCH(QStringList, ops);
        QFETCH(QStringList, list);
        QStringList stored;
        {
            Selection s(&stored);
            for (const QString &op : ops) {
                const QStringList ids = op.mid(1).split(',');
                if (op.startsWith('+'))
                    s.check(ids);
                else
                    s.uncheck(ids);
            }
        }
        QCOMPARE(stored, list);
        Selection again(&stored);
        QCOMPARE(again.covers(list), !list.isEmpty());
        QVERIFY(!again.covers({}));
        QVERIFY(!again.covers({"not-there"}));
    }

    // A list given with an id listed twice: the id counts once, and an
    // uncheck takes every listing of it; a list applied mid-way stays
    // usable.
    void selectionOfAListWithRepeats()
    {
        QStringList stored{"1", "2", "1", "3"};
        {
            Selection s(&stored);
            QVERIFY(s.covers({"1", "3"}));
            s.uncheck({"1"});
            QVERIFY(!s.covers({"1"}));
            s.finish();
            QCOMPARE(stored, QStringList({"2", "3"}));
            s.check({"4", "2"});
            s.uncheck({"3", "2", "3"});
            QVERIFY(!s.isEmpty());
            s.uncheck({"4"});
            QVERIFY(s.isEmpty());
            s.check({"3"});
        }
        QCOMPARE(stored, QStringList({"3"}));
    }
};

QTEST_APPLESS_MAIN(TestBrowserLogic)
#include "tst_browserlogic.moc"
