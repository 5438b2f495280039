// The log a click on a category table leaves, in each branch a table can be
// in (padded or full, listed or searched) and for each kind of row (a data
// row ticked or unticked, the head row, a padding row, a row that cannot be
// chosen): the program's own texts, letter for letter and in their order.
// The tables are those of a real window filled with the simulated phone's
// data.

#include "browserfixture.h"

#include <QLineEdit>
#include <QtTest>

using namespace fixture;

namespace {

QStringList g_lines;

void collect(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg)
        g_lines << text;
}

} // namespace

class TestClickLog : public QObject
{
    Q_OBJECT

private slots:
    void clickLeavesItsLines_data();
    void clickLeavesItsLines();
};

void TestClickLog::clickLeavesItsLines_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<int>("contacts");  // the phone's contacts (24: every text table full)
    QTest::addColumn<int>("files");     // entries of each file list kept (-1: all)
    QTest::addColumn<QString>("search"); // typed into the search box first
    QTest::addColumn<QList<int>>("before"); // rows clicked before, not logged here
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("lines");
    const QList<int> none;
    QList<int> allThenMostCleared{0}; // select all of 24, untick 20
    for (int r = 1; r <= 20; ++r)
        allThenMostCleared << r;
    const QString noSearch;

    QTest::newRow("contacts, padded: unticking after select-all lists the chosen ids")
        << int(Contact) << 3 << -1 << noSearch << QList<int>{1, 3, 0} << 2
        << QStringList{"contact item slot got",
                       "not search,lessMin",
                       "not search,lessMin,in lessMin",
                       "contact first item cheched",
                       "\"not search,lessMin,in lessMin,Selected\"",
                       "number: \"+15550100001\"",
                       "m_contactToEraseList at: 0 is: \"c1\"",
                       "m_contactToEraseList at: 1 is: \"c3\"",
                       "m_contactToEraseList at: 2 is: \"c2\"",
                       "numberId map at: 0 is: \"c2\"",
                       "\"not search,lessMin,in lessMin,Selected,not firstLine,toEraseList:\" 2",
                       "in contact item clicked,m_contactToEraseList.size(): 2"};
    QTest::newRow("contacts, padded: a padding row")
        << int(Contact) << 3 << -1 << noSearch << QList<int>{3} << 4
        << QStringList{"contact item slot got", "not search,lessMin",
                       "not search,lessMin,out lessMin,toEraseList: 1",
                       "in contact item clicked,m_contactToEraseList.size(): 1"};
    QTest::newRow("contacts, full: the head row clears the rows still ticked")
        << int(Contact) << 24 << -1 << noSearch << allThenMostCleared << 0
        << QStringList{"contact item slot got",
                       "not search,not lessMin 4",
                       "contact first item cheched",
                       "\"not search,not lessMin,Selected\"",
                       "checked top",
                       "checked single",
                       "checked double",
                       "checked single",
                       "checked double",
                       "\"not search,not lessMin,Selected,firstLine,toEraseList:\" 0",
                       "contact after 3",
                       "in contact item clicked,m_contactToEraseList.size(): 0"};
    QTest::newRow("contacts, full: a row is ticked")
        << int(Contact) << 24 << -1 << noSearch << QList<int>{2} << 3
        << QStringList{"contact item slot got",
                       "not search,not lessMin 1",
                       "first item not cheched",
                       "not search,not lessMin,not Selected",
                       "number: \"+15550100002\"",
                       "\"not search,not lessMin,not Selected,not firstLine,toEraseList:\" 2",
                       "contact after 3",
                       "in contact item clicked,m_contactToEraseList.size(): 2"};
    QTest::newRow("history, padded: unticking names each removed id")
        << int(History) << 3 << -1 << noSearch << QList<int>{1} << 1
        << QStringList{"not search,lessMin",
                       "not search,lessMin,in lessMin",
                       "history first item cheched",
                       "\"not search,lessMin,in lessMin,Selected\"",
                       "number: \"+15550100000\"",
                       "in his min removed id: \"h1\"",
                       "in his min removed id: \"h4\"",
                       "in his min removed id: \"h7\"",
                       "in his min removed id: \"h13\"",
                       "in his min removed id: \"h16\"",
                       "in his min removed id: \"h19\"",
                       "in his min removed id: \"h22\"",
                       "in his min removed id: \"h28\"",
                       "\"not search,lessMin,in lessMin,Selected,not firstLine,toEraseList:\" 0",
                       "not search,historyToEraseList: 0"};
    QTest::newRow("history, full: ticking names each chosen id")
        << int(History) << 24 << -1 << noSearch << none << 2
        << QStringList{"not search,not lessMin 0",
                       "first item not cheched",
                       "not search,not lessMin,not Selected",
                       "number: \"+15550100001\"",
                       "history to erase id: \"h2\"",
                       "history to erase id: \"h26\"",
                       "\"not search,not lessMin,not Selected,not firstLine,toEraseList:\" 2",
                       "history after 3",
                       "not search,historyToEraseList: 2"};
    QTest::newRow("messages, searched: a result is ticked, newest first")
        << int(Message) << 3 << -1 << QString("Ada") << none << 1
        << QStringList{"message item slot got",
                       "first item not cheched",
                       "number: \"+15550100000\"",
                       "to erase message: \"m2\"",
                       "to erase message: \"m8\"",
                       "to erase message: \"m14\"",
                       "to erase message: \"m20\"",
                       "to erase message: \"m26\"",
                       "to erase list count: 5",
                       "message after 3",
                       "search,messageToEraseList: 5"};
    QTest::newRow("messages, searched: the head row clears all")
        << int(Message) << 3 << -1 << QString("Ada") << QList<int>{0} << 0
        << QStringList{"message item slot got", "message first item cheched", "checked top", "message after 3",
                       "search,messageToEraseList: 0"};
    QTest::newRow("photos, padded: the head row selects all")
        << int(Photo) << 3 << 3 << noSearch << none << 0
        << QStringList{"rowNum is: 0", "photo less min", "allRow int min", "allRow int min,clicked firstRow",
                       "got to eraseList Count: 3"};
    QTest::newRow("photos, padded: a padding row")
        << int(Photo) << 3 << 3 << noSearch << none << 5
        << QStringList{"rowNum is: 5", "photo less min", "out min: 5",
                       "not search,lessMin,out lessMin,toEraseList: 0", "got to eraseList Count: 0"};
    QTest::newRow("photos, full: a row is ticked")
        << int(Photo) << 3 << -1 << noSearch << none << 2
        << QStringList{"rowNum is: 2",           "rowNum in dir", "start", "got \"/sdcard/DCIM/Camera/IMG_20261102.jpg\"",
                       "got erselist:count 1", "got to eraseList Count: 1"};

    // Audio: seven files and last one without a location.
    const QStringList ticked{"for other row",           "for other row,not checked", "for other row,change bg",
                             "for other row,start split", "for split", "end split", "end for other row"};
    QStringList selectAll{"first row", "for first row"};
    QStringList clearAll = selectAll;
    for (int r = 1; r <= 7; ++r) {
        selectAll << ticked;
        clearAll << "for other row" << "end for other row";
    }
    selectAll << "for other row" << "end for" << "end for first row" << "to erase audio 7";
    clearAll << "for other row" << "end for other row" << "end for" << "end for first row"
             << "to erase audio,empty 0";
    QTest::newRow("audio: the head row selects all but a file without a location")
        << int(Audio) << 3 << -1 << noSearch << none << 0 << selectAll;
    QTest::newRow("audio: the head row clears all") << int(Audio) << 3 << -1 << noSearch << QList<int>{0} << 0
                                                     << clearAll;
    QTest::newRow("audio: a file without a location cannot be chosen")
        << int(Audio) << 3 << -1 << noSearch << none << 8
        << QStringList{"audio in dir", "audio slot other row", "row cannot be chosen: 8", "to erase audio,empty 0"};
    QTest::newRow("audio: a row is unticked")
        << int(Audio) << 3 << -1 << noSearch << QList<int>{1} << 1
        << QStringList{"audio in dir", "audio slot other row", "row unchecked", "to erase audio,empty 0"};
    QTest::newRow("video, padded: a row is ticked")
        << int(Vedio) << 3 << -1 << noSearch << none << 1
        << QStringList{"audio less min", "audio in dir", "audio slot other row", "to erase vedio, 1"};
}

void TestClickLog::clickLeavesItsLines()
{
    QFETCH(int, category);
    QFETCH(int, contacts);
    QFETCH(int, files);
    QFETCH(QString, search);
    QFETCH(QList<int>, before);
    QFETCH(int, row);
    QFETCH(QStringList, lines);

    MainWindow w;
    quiet(w);
    SimDataSet phone = SimDataSet::generate(contacts);
    phone.addOddFileEntries();
    if (files >= 0) {
        for (int c = Photo; c <= Vedio; ++c)
            phone.lists[c] = phone.lists[c].mid(0, files);
    }
    load(w, phone);
    for (int c = Contact; c <= Vedio; ++c)
        render(w, Category(c));
    w.selectCategory(category);
    if (!search.isEmpty()) {
        w.findChild<QLineEdit *>("EP_IsScanning_TextBroswerEditor")->setText(search);
        w.runSearch();
    }
    QTableWidget *table = w.categoryTable(category);
    for (int r : before)
        click(table, r);

    g_lines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    click(table, row);
    qInstallMessageHandler(previous);
    if (g_lines != lines)
        qWarning().noquote() << "logged:\n" + g_lines.join(QLatin1Char('\n'));
    QCOMPARE(g_lines, lines);
}

QTEST_MAIN(TestClickLog)
#include "tst_clicklog.moc"
