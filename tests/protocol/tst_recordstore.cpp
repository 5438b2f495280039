// The store of a text category's records reads as the map of strings it
// replaced: keys in QString order, a key stored again replaces its text,
// every text back exactly as it came (lone surrogates and NULs included).
// The map itself is the oracle for order and contents.

#include "protocol/recordstore.h"

#include <QMap>
#include <QtTest>

using proto::RecordStore;

namespace {

QString units(std::initializer_list<char16_t> us)
{
    QString s;
    for (char16_t u : us)
        s.append(QChar(u));
    return s;
}

// What a reader sees: every key and text in order, by iteration.
QList<QPair<QString, QString>> walk(const RecordStore &store)
{
    QList<QPair<QString, QString>> out;
    for (auto it = store.constBegin(); it != store.constEnd(); ++it)
        out << qMakePair(it.key(), it.value());
    return out;
}

QList<QPair<QString, QString>> walk(const QMap<QString, QString> &map)
{
    QList<QPair<QString, QString>> out;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        out << qMakePair(it.key(), it.value());
    return out;
}

// Both hold the same: in order, by key, and to a key neither holds.
void compareWithMap(const RecordStore &store, const QMap<QString, QString> &map)
{
    QCOMPARE(store.size(), map.size());
    QCOMPARE(store.isEmpty(), map.isEmpty());
    QCOMPARE(store.keys(), QStringList(map.keys()));
    QCOMPARE(walk(store), walk(map));
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        QVERIFY(store.contains(it.key()));
        QCOMPARE(store.value(it.key()), it.value());
        QCOMPARE(store.constFind(it.key()).key(), it.key());
    }
    QVERIFY(!store.contains(QStringLiteral("not held")) || map.contains(QStringLiteral("not held")));
}

} // namespace

class TestRecordStore : public QObject
{
    Q_OBJECT

private slots:
    // Keys come out in QString order (by UTF-16 code unit), whatever order
    // they went in, and each key reads back its own text.
    void keyOrder_data()
    {
        QTest::addColumn<QStringList>("inserted");
        QTest::addColumn<QStringList>("ordered");
        QTest::newRow("ids as a phone numbers them") << QStringList{"m2", "m10", "m1", "m100", "m20"}
                                                     << QStringList{"m1", "m10", "m100", "m2", "m20"};
        QTest::newRow("capitals before small letters, empty key first")
            << QStringList{"b", "B", "a", "", "A"} << QStringList{"", "A", "B", "a", "b"};
        QTest::newRow("a key and the keys of its repeats")
            << QStringList{"7;2", "70", "7", "7;10", "7;3"} << QStringList{"7", "70", "7;10", "7;2", "7;3"};
        QTest::newRow("accents and CJK")
            << QStringList{QString::fromUtf8("\u00e9"), "e", QString::fromUtf8("\u4e2d"), "z", QString::fromUtf8("\u00ff")}
            << QStringList{"e", "z", QString::fromUtf8("\u00e9"), QString::fromUtf8("\u00ff"), QString::fromUtf8("\u4e2d")};
        // Beyond 0xFFFF a character is a surrogate pair (0xD800..), which
        // UTF-16 orders before 0xE000..0xFFFF, unlike code point order.
        QTest::newRow("pairs before private use and full-width forms")
            << QStringList{units({0xFF01}), units({0xD83D, 0xDE00}), units({0xE000}), units({0xD7FF}),
                           units({0xFFFF}), units({0xFEFF, 'a'})}
            << QStringList{units({0xD7FF}), units({0xD83D, 0xDE00}), units({0xE000}), units({0xFEFF, 'a'}),
                           units({0xFF01}), units({0xFFFF})};
        QTest::newRow("lone surrogates among pairs")
            << QStringList{units({0xDBFF, 'a'}), units({0xD800, 0xDC00}), units({0xD800}), units({0xDC00}),
                           units({0xD800, 'a'}), units({'x', 0xDFFF}), units({'x', 0xD83D, 0xDE00})}
            << QStringList{units({'x', 0xD83D, 0xDE00}), units({'x', 0xDFFF}), units({0xD800}),
                           units({0xD800, 'a'}), units({0xD800, 0xDC00}), units({0xDBFF, 'a'}), units({0xDC00})};
        QTest::newRow("NULs inside keys") << QStringList{units({'a', 0, 'b'}), units({'a'}), units({'a', 0})}
                                          << QStringList{units({'a'}), units({'a', 0}), units({'a', 0, 'b'})};
    }
    void keyOrder()
    {
        QFETCH(QStringList, inserted);
        QFETCH(QStringList, ordered);
        RecordStore store;
        QMap<QString, QString> map;
        for (const QString &key : inserted) {
            const QString text = key + QStringLiteral(";name;555;") + key;
            store.insert(key, text);
            map.insert(key, text);
        }
        QCOMPARE(store.keys(), ordered);
        QCOMPARE(store.firstKey(), ordered.first());
        QCOMPARE(store.lastKey(), ordered.last());
        compareWithMap(store, map);
    }

    // Texts come back exactly: every kind of character, the empty text, a
    // text held under a key of another kind.
    void textsReadBack_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "m1" << "m1;Ada;555-0100;see you at 6;2026-11-30 18:00:00;accepted";
        QTest::newRow("empty text") << "m2" << "";
        QTest::newRow("accents, CJK, emoji")
            << "m3" << QString::fromUtf8("m3;Zo\u00eb;+49 30;\u6148\u5454\u5011 \U0001F600 caf\u00e9;x");
        QTest::newRow("lone surrogates and a pair split by one")
            << "m4" << units({'m', '4', ';', 0xD800, ';', 0xDC00, 0xD83D, 0xD83D, 0xDE00, 0xDBFF});
        QTest::newRow("NULs, byte order mark, non-characters")
            << "m5" << units({0xFEFF, 'm', 0, '5', 0xFFFE, 0xFFFF, 0xFFFD, 0x7F, 0x80, 0x7FF, 0x800});
        QTest::newRow("non-ASCII key") << QString::fromUtf8("\u00e9\U0001F600") << "plain text";
        QTest::newRow("empty key") << "" << ";;;no id";
    }
    void textsReadBack()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        RecordStore store;
        store.insert(QStringLiteral("before"), QStringLiteral("x"));
        store.insert(key, text);
        store.insert(QStringLiteral("~after"), QString::fromUtf8("\u00fc"));
        QVERIFY(store.contains(key));
        QCOMPARE(store.value(key), text);
        QCOMPARE(store.value(key).size(), text.size());
        QCOMPARE(store.constFind(key).value(), text);
        QVERIFY(!store.valueBytes(key).isNull());
        QCOMPARE(RecordStore::decode(store.valueBytes(key).constData(), store.valueBytes(key).size()), text);
        QCOMPARE(store.value(QStringLiteral("before")), QStringLiteral("x"));
        QCOMPARE(store.value(QStringLiteral("~after")), QString::fromUtf8("\u00fc"));
    }

    // A key stored again keeps its place in the order and reads its last
    // text; texts replaced often enough are given back.
    void replacement_data()
    {
        QTest::addColumn<int>("times");
        QTest::addColumn<int>("textLength");
        QTest::newRow("once") << 1 << 20;
        QTest::newRow("to a longer non-ASCII text") << 2 << 3;
        QTest::newRow("until the buffer is compacted") << 400 << 10000;
    }
    void replacement()
    {
        QFETCH(int, times);
        QFETCH(int, textLength);
        RecordStore store;
        QMap<QString, QString> map;
        for (const char *key : {"c", "a", "b"}) {
            store.insert(QString(key), QString(key) + ";first");
            map.insert(QString(key), QString(key) + ";first");
        }
        for (int n = 1; n <= times; ++n) {
            const QString text = QStringLiteral("a;") + QString(textLength, QChar(n % 2 ? 0x00e9 : 'z'))
                + QString::number(n);
            store.insert(QStringLiteral("a"), text);
            map.insert(QStringLiteral("a"), text);
        }
        compareWithMap(store, map);
        QCOMPARE(store.size(), 3);
        QCOMPARE(store.keys(), (QStringList{"a", "b", "c"}));
        QVERIFY(store.value("a").endsWith(QString::number(times)));
        // what a replaced text took is given back once it is much
        QVERIFY(store.bufferBytes() < 2 * 1024 * 1024 + 3 * (textLength * 2 + 16));
    }

    void emptyStore()
    {
        RecordStore store;
        QVERIFY(store.isEmpty());
        QCOMPARE(store.size(), 0);
        QCOMPARE(store.count(), 0);
        QCOMPARE(store.keys(), QStringList());
        QVERIFY(store.constBegin() == store.constEnd());
        QVERIFY(!store.contains(QString()));
        QVERIFY(store.value(QStringLiteral("m1")).isNull());
        QCOMPARE(store.value(QStringLiteral("m1"), QStringLiteral("none")), QStringLiteral("none"));
        QVERIFY(store.valueBytes(QStringLiteral("m1")).isNull());
        QVERIFY(store.constFind(QStringLiteral("m1")) == store.constEnd());
        QCOMPARE(store.firstKey(), QString());
        // cleared, a store is empty again and takes new records
        store.insert(QStringLiteral("m1"), QStringLiteral("m1;a"));
        store.clear();
        QVERIFY(store.isEmpty());
        QVERIFY(!store.contains(QStringLiteral("m1")));
        QCOMPARE(store.keys(), QStringList());
        store.insert(QStringLiteral("m2"), QStringLiteral("m2;b"));
        QCOMPARE(store.keys(), QStringList{"m2"});
        QCOMPARE(store.value(QStringLiteral("m2")), QStringLiteral("m2;b"));
    }

    // Many records, read in order while more arrive (the table is filled
    // as a scan goes on), long keys and texts: always what the map holds.
    void manyRecordsReadWhileStored_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("keyLength");
        QTest::addColumn<int>("readEvery");
        QTest::newRow("20,000 ids, read every 997") << 20000 << 0 << 997;
        QTest::newRow("a key of 100,000 characters among short ones") << 300 << 100000 << 50;
    }
    void manyRecordsReadWhileStored()
    {
        QFETCH(int, records);
        QFETCH(int, keyLength);
        QFETCH(int, readEvery);
        RecordStore store;
        QMap<QString, QString> map;
        quint32 x = 12345;
        for (int i = 0; i < records; ++i) {
            x = x * 1103515245u + 12345u;
            QString key = QStringLiteral("m%1").arg(x % 100000);
            if (keyLength && i == records / 2)
                key = QString(keyLength, QChar(0x4e2d));
            const QString text = key + QStringLiteral(";;%1;").arg(x % 2000) + QString(int(x % 300), QChar('a' + i % 26));
            store.insert(key, text);
            map.insert(key, text);
            if (i % readEvery == 0)
                QCOMPARE(store.keys(), QStringList(map.keys()));
        }
        compareWithMap(store, map);
    }

    // A map stands where a store is read: same keys, same texts.
    void fromMap()
    {
        const QMap<QString, QString> map{{"h2", "h2;;556"}, {"h1", "h1;Ada;555"}, {units({0xD800}), "lone"}};
        const RecordStore store = map;
        compareWithMap(store, map);
        const RecordStore listed{{"h2", "h2;;556"}, {"h1", "h1;Ada;555"}, {units({0xD800}), "lone"}};
        compareWithMap(listed, map);
    }
};

QTEST_GUILESS_MAIN(TestRecordStore)
#include "tst_recordstore.moc"
