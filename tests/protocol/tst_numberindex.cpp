// The ids under their numbers read as the multi-map they replaced: numbers in
// QString order, the ids of a number the one inserted last first, every id
// back exactly as it came (lone surrogates included), and reads in order
// between inserts. The multi-map itself is the oracle.

#include "protocol/numberindex.h"

#include <QMultiMap>
#include <QtTest>

using proto::NumberIndex;

namespace {

using Inserts = QList<QPair<QString, QString>>;

QList<QPair<QString, QString>> walk(const NumberIndex &index)
{
    QList<QPair<QString, QString>> out;
    for (auto it = index.constBegin(); it != index.constEnd(); ++it)
        out << qMakePair(it.key(), it.value());
    return out;
}

QList<QPair<QString, QString>> walk(const QMultiMap<QString, QString> &map)
{
    QList<QPair<QString, QString>> out;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        out << qMakePair(it.key(), it.value());
    return out;
}

// Both hold the same, by every read the window makes.
void compareWithMap(const NumberIndex &index, const QMultiMap<QString, QString> &map,
                    const QStringList &probes)
{
    QCOMPARE(index.size(), map.size());
    QCOMPARE(index.isEmpty(), map.isEmpty());
    QCOMPARE(walk(index), walk(map));
    QCOMPARE(index.uniqueKeys(), map.uniqueKeys());
    QCOMPARE(index.values(), map.values());
    for (const QString &number : probes) {
        QCOMPARE(index.values(number), map.values(number));
        QCOMPARE(index.value(number), map.value(number));
        QCOMPARE(index.count(number), int(map.count(number)));
        QCOMPARE(index.contains(number), map.contains(number));
        const auto found = index.constFind(number);
        QCOMPARE(found == index.constEnd(), map.constFind(number) == map.constEnd());
        if (found != index.constEnd()) {
            QCOMPARE(found.key(), number);
            QCOMPARE(found.value(), map.constFind(number).value());
        }
        for (const QString &id : map.values())
            QCOMPARE(index.contains(number, id), map.contains(number, id));
    }
}

QString units(std::initializer_list<char16_t> us)
{
    QString s;
    for (char16_t u : us)
        s.append(QChar(u));
    return s;
}

} // namespace

class TestNumberIndex : public QObject
{
    Q_OBJECT
private slots:
    void readsAsMultiMap_data()
    {
        QTest::addColumn<Inserts>("inserts");
        QTest::newRow("empty") << Inserts();
        QTest::newRow("one number, newest first")
            << Inserts{{"555", "m1"}, {"555", "m2"}, {"555", "m3"}};
        QTest::newRow("numbers in QString order, not insertion")
            << Inserts{{"777", "a"}, {"555", "b"}, {"+49 555", "c"}, {"555", "d"}, {"5550", "e"}};
        QTest::newRow("the empty number: a row each")
            << Inserts{{"", "x1"}, {"555", "m1"}, {"", "x2"}, {"", "x3"}};
        QTest::newRow("an id twice under a number is held twice")
            << Inserts{{"555", "m1"}, {"556", "m1"}, {"555", "m1"}, {"555", "m1;2"}};
        QTest::newRow("non-ASCII numbers and ids")
            << Inserts{{QString::fromUtf8("Zoë"), QString::fromUtf8("ü1")},
                       {QString::fromUtf8("Ärzte"), QStringLiteral("2")},
                       {units({0xd83d, 0xde00}), units({0xdc00, 'a'})},
                       {units({0xd800}), units({'b', 0xd800})},
                       {QString::fromUtf8("Zoë"), units({0xd83d})}};
    }
    void readsAsMultiMap()
    {
        QFETCH(Inserts, inserts);
        NumberIndex index;
        QMultiMap<QString, QString> map;
        QStringList probes{QString(), QStringLiteral("not held")};
        for (const auto &in : inserts) {
            index.insert(in.first, in.second);
            map.insert(in.first, in.second);
            probes << in.first;
        }
        compareWithMap(index, map, probes);

        // A row's ids are found among its number's ids by their position in
        // the order of iteration, every other id is not.
        const QList<QPair<QString, QString>> order = walk(index);
        NumberIndex::RowFinder rows(index);
        QCOMPARE(rows.find(QStringLiteral("m1")), -1); // turned to no number yet
        QCOMPARE(index.placeOfNumber(QStringLiteral("not held")), -1);
        for (const QString &number : map.uniqueKeys()) {
            const int place = index.placeOfNumber(number);
            QVERIFY(place >= 0);
            QCOMPARE(index.numberAt(place), number);
            rows.turnTo(place);
            for (const auto &in : inserts) {
                const int pos = rows.find(in.second);
                if (map.contains(number, in.second)) {
                    QVERIFY2(pos >= 0, qPrintable(in.second));
                    QCOMPARE(order.at(pos), qMakePair(number, in.second));
                } else {
                    QCOMPARE(pos, -1);
                }
            }
        }
        QCOMPARE(index.numberCount(), map.uniqueKeys().size());
    }

    // Reads in order between inserts see every insert, in its place.
    void readWhileFilled()
    {
        NumberIndex index;
        QMultiMap<QString, QString> map;
        QStringList numbers;
        for (int n = 0; n < 40; ++n)
            numbers << QString::number((n * 7919) % 97);
        for (int i = 0; i < 2000; ++i) {
            const QString number = numbers.at((i * 31) % numbers.size());
            const QString id = QStringLiteral("m%1").arg(i);
            index.insert(number, id);
            map.insert(number, id);
            if (i % 397 == 0) {
                QCOMPARE(walk(index), walk(map));
                QCOMPARE(index.values(number), map.values(number));
            }
        }
        compareWithMap(index, map, numbers.mid(0, 5));
        index.clear();
        QVERIFY(index.isEmpty());
        QVERIFY(index.constBegin() == index.constEnd());
        QVERIFY(!index.contains(numbers.first()));
    }
};

QTEST_GUILESS_MAIN(TestNumberIndex)
#include "tst_numberindex.moc"
