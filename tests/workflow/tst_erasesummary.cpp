#include "workflow/erasesummary.h"

#include <QtTest>

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
    erasesummary::Figure f[CategoryCount];
    for (auto it = figures.constBegin(); it != figures.constEnd(); ++it) {
        f[it.key()].items = it.value().first;
        f[it.key()].threads = it.value().second;
    }
    QCOMPARE(erasesummary::summary(EraseType(scope), f, answeredBefore), expected);
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
    int before = -1;
    const erasesummary::Figure f = erasesummary::threadedFigure(
        ids, QSet<QString>(answered.begin(), answered.end()), records, &before);
    QCOMPARE(f.items, items);
    QCOMPARE(f.threads, threads);
    QCOMPARE(before, answeredBefore);
}

QTEST_GUILESS_MAIN(TestEraseSummary)
#include "tst_erasesummary.moc"
