#include "workflow/erasesummary.h"

#include <QtTest>

#include <algorithm>

// The words of the confirm page for what Erase Now will erase.
class TestEraseSummary : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void summary_data();
    void summary();
    void threadedFigure_data();
    void threadedFigure();
    void threadedFigureOfWholeRows_data();
    void threadedFigureOfWholeRows();
};

using Figures = QMap<int, QPair<int, int>>; // category -> items, threads

void TestEraseSummary::summary_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<Figures>("figures");
    QTest::addColumn<int>("answeredBefore");
    QTest::addColumn<QString>("expected");

    const int priv = int(EraseType::Private);
    const int app = int(EraseType::App);
    const int all = int(EraseType::All);

    QTest::newRow("private, in the categories' order")
        << priv << Figures{{Photo, {2, 0}}, {Contact, {3, 0}}, {History, {4, 1}}} << 0
        << "Erase Now will erase 3 contacts, 1 call thread (4 calls), 2 photos.";
    QTest::newRow("one of each, calls one per number")
        << priv << Figures{{Contact, {1, 0}}, {History, {2, 2}}, {Message, {1, 1}}, {Audio, {1, 0}}, {Vedio, {1, 0}}}
        << 0 << "Erase Now will erase 1 contact, 2 calls, 1 message, 1 audio file, 1 video.";
    QTest::newRow("message threads")
        << priv << Figures{{Message, {7, 2}}} << 0 << "Erase Now will erase 2 message threads (7 messages).";
    QTest::newRow("large counts")
        << priv << Figures{{Photo, {12345, 0}}} << 0 << "Erase Now will erase 12345 photos.";
    QTest::newRow("private, nothing ticked") << priv << Figures{} << 0 << "Nothing is ticked to erase yet.";
    QTest::newRow("private, everything answered before a cancel")
        << priv << Figures{} << 3
        << "Nothing is left to erase of what was chosen: the phone answered for all of it before the cancel.";
    QTest::newRow("private ignores apps")
        << priv << Figures{{Contact, {1, 0}}, {Facebook, {5, 0}}} << 0 << "Erase Now will erase 1 contact.";

    QTest::newRow("apps by name")
        << app << Figures{{Whatsapp, {9, 0}}, {Facebook, {4, 0}}, {Kik, {1, 0}}} << 0
        << "Erase Now will erase the data of Facebook, Kik, WhatsApp.";
    QTest::newRow("app scope ignores private") << app << Figures{{Contact, {3, 0}}} << 0
                                               << "No app is ticked to erase yet.";

    QTest::newRow("all, with counts")
        << all
        << Figures{{Contact, {120, 0}}, {History, {300, 40}}, {Message, {45, 3}}, {Vedio, {2, 0}},
                   {Facebook, {12, 0}}, {Whatsapp, {1, 0}}}
        << 0
        << "Erase Now will erase everything listed on the phone: 120 contacts, 300 calls, 45 messages, 2 videos, "
           "Facebook data (12 items), WhatsApp data (1 item).";
    QTest::newRow("all, an empty phone") << all << Figures{} << 0 << "Nothing was found on the phone to erase.";
}

void TestEraseSummary::summary()
{
    QFETCH(int, scope);
    QFETCH(Figures, figures);
    QFETCH(int, answeredBefore);
    QFETCH(QString, expected);
    workflow::erasesummary::Figure f[CategoryCount];
    for (auto it = figures.constBegin(); it != figures.constEnd(); ++it) {
        f[it.key()].items = it.value().first;
        f[it.key()].threads = it.value().second;
    }
    QCOMPARE(workflow::erasesummary::summary(EraseType(scope), f, answeredBefore), expected);
}

// The rows the chosen calls or messages fill: one per number, one per record
// without a number (or with no record at all); less what the phone answered
// for in a cancelled run, each id counted once.
void TestEraseSummary::threadedFigure_data()
{
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QStringList>("answered");
    QTest::addColumn<int>("items");
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("answeredBefore");

    const QStringList none;
    QTest::newRow("none") << none << none << 0 << 0 << 0;
    QTest::newRow("every record") << QStringList{"m1", "m2", "m3", "m4", "m5", "m6"} << none << 6 << 4 << 0;
    QTest::newRow("two of one number") << QStringList{"m3", "m1"} << none << 2 << 1 << 0;
    QTest::newRow("a number as the last field") << QStringList{"m4"} << none << 1 << 1 << 0;
    QTest::newRow("records without a number") << QStringList{"m5", "m6"} << none << 2 << 2 << 0;
    QTest::newRow("an id with no record") << QStringList{"m2", "m9"} << none << 2 << 2 << 0;
    QTest::newRow("the same number in another record") << QStringList{"m2", "m4"} << none << 2 << 1 << 0;
    // One number's ids apart, another's between them: still one row each.
    QTest::newRow("numbers taking turns") << QStringList{"m1", "m2", "m3", "m4", "m7"} << none << 5 << 2 << 0;
    QTest::newRow("a number that starts like another") << QStringList{"m1", "m8"} << none << 2 << 2 << 0;
    QTest::newRow("ids listed twice count once")
        << QStringList{"m1", "m3", "m1", "m9", "m9", "m5", "m5"} << none << 4 << 3 << 0;
    // A record the phone listed twice is kept under a key of its own, filed
    // under its own number.
    QTest::newRow("a repeated id's records") << QStringList{"m7", "m7;2"} << none << 2 << 2 << 0;
    QTest::newRow("part of a thread answered")
        << QStringList{"m1", "m3", "m7", "m2", "m4"} << QStringList{"m3", "m2"} << 3 << 2 << 2;
    QTest::newRow("a whole thread answered")
        << QStringList{"m1", "m3", "m2", "m4"} << QStringList{"m1", "m3"} << 2 << 1 << 2;
    QTest::newRow("everything answered")
        << QStringList{"m1", "m3", "m9"} << QStringList{"m1", "m3", "m9", "m2"} << 0 << 0 << 3;
    QTest::newRow("answered keys listed twice count once")
        << QStringList{"m1", "m1", "m3"} << QStringList{"m1"} << 1 << 1 << 1;
}

void TestEraseSummary::threadedFigure()
{
    QFETCH(QStringList, ids);
    QFETCH(QStringList, answered);
    QFETCH(int, items);
    QFETCH(int, threads);
    QFETCH(int, answeredBefore);
    const QMap<QString, QString> records{
        {"m1", "m1;Ann;+4915112345;hi;1"},
        {"m2", "m2;;0301234567;see you; later;2"},
        {"m3", "m3;Ann;+4915112345;ok;3"},
        {"m4", "m4;Bo;0301234567"},
        {"m5", "m5;;;draft;5"},
        {"m6", "m6"},
        {"m7", "m7;Cy;+4915112345;;7"},
        {"m7;2", "m7;Cy;555;forged;8"},
        {"m8", "m8;Ann;+49151123456;hi;9"},
    };
    const QSet<QString> answeredSet(answered.begin(), answered.end());
    int before = -1;
    const workflow::erasesummary::Figure f = workflow::erasesummary::threadedFigure(ids, answeredSet, records, &before);
    QCOMPARE(f.items, items);
    QCOMPARE(f.threads, threads);
    QCOMPARE(before, answeredBefore);

    // The same by the rows, with the ids filed under their numbers as a scan
    // files them: whatever order the ids come in.
    proto::RecordStore store;
    proto::NumberIndex index;
    for (auto it = records.constBegin(); it != records.constEnd(); ++it) {
        store.insert(it.key(), it.value());
        index.insert(it.value().section(QLatin1Char(';'), 2, 2), it.key());
    }
    before = -1;
    const workflow::erasesummary::Figure byRows = workflow::erasesummary::threadedFigure(ids, answeredSet, store, index, &before);
    QCOMPARE(byRows.items, items);
    QCOMPARE(byRows.threads, threads);
    QCOMPARE(before, answeredBefore);
}

// Half a million messages chosen row by row, as the table's head row chooses
// them (each row's ids newest first, not in the index's order), and the same
// ids in other orders: the figure is the same whichever way it is worked out.
void TestEraseSummary::threadedFigureOfWholeRows_data()
{
    QTest::addColumn<QString>("order");
    QTest::newRow("row by row") << "rows";
    QTest::newRow("row by row, every other row's ids answered") << "rows, answered";
    QTest::newRow("rows taking turns") << "turns";
    QTest::newRow("row by row, a row listed twice") << "rows, twice";
    QTest::newRow("row by row, ids without a record among them") << "rows, unstored";
}

void TestEraseSummary::threadedFigureOfWholeRows()
{
    QFETCH(QString, order);
    constexpr int Messages = 20000;
    constexpr int Numbers = 199; // prime to 50: every number keeps messages
    proto::RecordStore store;
    proto::NumberIndex index;
    for (int i = 1; i <= Messages; ++i) {
        const QString id = QStringLiteral("m%1").arg(i);
        // Every 50th message has no number: a row of its own.
        const QString number = i % 50 == 0 ? QString() : QStringLiteral("+49151%1").arg(i % Numbers);
        const QString minute = QStringLiteral("%1").arg(i % 60, 2, 10, QChar('0'));
        store.insert(id, QStringLiteral("%1;;%2;text;2026-12-01 10:%3:00").arg(id, number, minute));
        index.insert(number, id);
    }
    QStringList chosen;
    QSet<QString> answered;
    const QStringList numbers = index.uniqueKeys();
    for (int n = 0; n < numbers.size(); ++n) {
        QStringList ids = index.values(numbers.at(n));
        std::sort(ids.begin(), ids.end()); // not the index's order
        if (order.contains("answered") && n % 2 == 1)
            answered.unite(QSet<QString>(ids.begin(), ids.end()));
        if (order.contains("twice") && n == 7)
            chosen += ids;
        if (order.contains("unstored") && n % 10 == 3)
            chosen << QStringLiteral("gone%1").arg(n);
        chosen += ids;
    }
    if (order == "turns") {
        // One id of each row in turn.
        QStringList turns;
        for (int k = 0; turns.size() < chosen.size(); ++k)
            for (const QString &number : numbers) {
                const QStringList ids = index.values(number);
                if (k < ids.size())
                    turns << ids.at(k);
            }
        chosen = turns;
    }

    int exactBefore = -1;
    const workflow::erasesummary::Figure exact = workflow::erasesummary::threadedFigure(chosen, answered, store, &exactBefore);
    int before = -1;
    const workflow::erasesummary::Figure byRows = workflow::erasesummary::threadedFigure(chosen, answered, store, index, &before);
    QCOMPARE(byRows.items, exact.items);
    QCOMPARE(byRows.threads, exact.threads);
    QCOMPARE(before, exactBefore);
    if (order == "rows") {
        QCOMPARE(exact.items, Messages);
        QCOMPARE(exact.threads, Numbers + Messages / 50);
    }
}

QTEST_GUILESS_MAIN(TestEraseSummary)
#include "tst_erasesummary.moc"
