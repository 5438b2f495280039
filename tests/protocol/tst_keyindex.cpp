#include "protocol/keyindex.h"

#include <QtTest>

// The index over a list of keys: indexing a whole list at once finds what
// indexing key by key finds, whatever the hashes do.
class TestKeyIndex : public QObject
{
    Q_OBJECT

private slots:
    void insertAllIndexesAsOneByOne_data();
    void insertAllIndexesAsOneByOne();
};

namespace {

uint sameHash(const QString &)
{
    return 7; // every key collides
}

uint lengthHash(const QString &key)
{
    return uint(key.size()); // a few keys collide
}

QStringList numbered(int n)
{
    QStringList keys;
    for (int i = 0; i < n; ++i)
        keys << QStringLiteral("m%1").arg(i);
    return keys;
}

} // namespace

void TestKeyIndex::insertAllIndexesAsOneByOne_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<int>("hash"); // 0 seeded, 1 all collide, 2 by length
    QTest::addColumn<int>("repeated"); // the place insertAll stops at, -1: none

    const QStringList plenty = numbered(1000);
    for (int hash = 0; hash < 3; ++hash) {
        const QByteArray h = QByteArray::number(hash);
        QTest::newRow("none, hash " + h) << QStringList() << hash << -1;
        QTest::newRow("distinct keys, hash " + h) << (hash == 1 ? numbered(200) : plenty) << hash << -1;
        // Repeats where the keys of a run meet the next run's.
        for (int at : {1, 15, 16, 17, 999}) {
            QStringList keys = plenty.mid(0, at);
            keys << plenty.at(at / 2) << plenty.mid(at, 20);
            QTest::newRow(QByteArray("a repeat at ") + QByteArray::number(at) + ", hash " + h) << keys << hash << at;
        }
        QTest::newRow("equal texts, hash " + h) << QStringList{"a", "b", QString("a")} << hash << 2;
    }
}

void TestKeyIndex::insertAllIndexesAsOneByOne()
{
    QFETCH(QStringList, keys);
    QFETCH(int, hash);
    QFETCH(int, repeated);
    const proto::KeyIndex::Hash hashes[] = {nullptr, &sameHash, &lengthHash};

    proto::KeyIndex all(hashes[hash]);
    QCOMPARE(all.insertAll(keys), repeated);
    proto::KeyIndex one(hashes[hash]);
    int stop = -1;
    for (int i = 0; i < keys.size() && stop < 0; ++i)
        if (one.insert(keys, i) >= 0)
            stop = i;
    QCOMPARE(stop, repeated);
    const int indexed = repeated < 0 ? int(keys.size()) : repeated;
    QCOMPARE(all.size(), indexed);
    for (int i = 0; i < keys.size(); ++i) {
        const int expected = i < indexed ? int(keys.indexOf(keys.at(i))) : one.find(keys.at(i), keys);
        QCOMPARE(all.find(keys.at(i), keys), expected);
    }
    QCOMPARE(all.find(QStringLiteral("not listed"), keys), -1);
}

QTEST_GUILESS_MAIN(TestKeyIndex)
#include "tst_keyindex.moc"
