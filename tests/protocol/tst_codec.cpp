// The pure codec: requests byte for byte, body reading, record texts, home
// info and the number rules.

#include <QtTest>

#include "protocol/frame.h"
#include "protocol/messages.h"
#include "protocol/records.h"

using namespace proto;

class TestCodec : public QObject
{
    Q_OBJECT

private slots:
    void requestBytes_data();
    void requestBytes();
    void eraseRequestLayout_data();
    void eraseRequestLayout();
    void eraseKeyTooLongGivesNoFrame();
    void eraseRequestWrittenDirectly_data();
    void eraseRequestWrittenDirectly();
    void shortBodyReadsZeros();
    void bodyReaderStaysInsideFrame();
    void takeFrameWalksABuffer();
    void textRecords_data();
    void textRecords();
    void recordsCutAsPiecesArrive_data();
    void recordsCutAsPiecesArrive();
    void directoryRecords();
    void fileEntries_data();
    void fileEntries();
    void homeInfo_data();
    void homeInfo();
    void storagePercent_data();
    void storagePercent();
};

void TestCodec::requestBytes_data()
{
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QByteArray>("hex");

    // Every sender's frame is checked byte for byte in the session suite;
    // here the builders themselves.
    QTest::newRow("get without body") << getRequest(GetHomeInfo) << QByteArray("00430000");
    QTest::newRow("erase begin, type above 127") << getRequest(EraseBegin) << QByteArray("00800000");
    QTest::newRow("photo dir, count 5") << photoDirRequest(5) << QByteArray("000f0004" "0002" "0005");
    QTest::newRow("photo dir, count 0") << photoDirRequest(0) << QByteArray("000f0004" "0002" "0000");
    QTest::newRow("photo by name") << photoByNameRequest(QStringLiteral("/a"))
                                   << QByteArray("0011000a" "0008" "00000004" "002f0061");
    QTest::newRow("erase contact abc, level 10, 1 of 1")
        << eraseRequest(EraseContact, QStringLiteral("abc"), 10, 1, 1)
        << QByteArray("0002001c" "0008" "00000006" "006100620063" "0002" "000a" "0004" "00000001" "0004" "00000001");
    QTest::newRow("erase viber, non-ASCII key, 2 of 3")
        << eraseRequest(EraseViber, QString::fromUtf8("\xc3\xa9"), 3, 2, 3)
        << QByteArray("00400018" "0008" "00000002" "00e9" "0002" "0003" "0004" "00000002" "0004" "00000003");
    QTest::newRow("null key goes as empty text")
        << eraseRequest(ErasePhoto, QString(), 7, 1, 1)
        << QByteArray("00140016" "0008" "00000000" "0002" "0007" "0004" "00000001" "0004" "00000001");
}

void TestCodec::requestBytes()
{
    QFETCH(QByteArray, frame);
    QFETCH(QByteArray, hex);
    QCOMPARE(frame.toHex(), hex);
}

void TestCodec::eraseRequestLayout_data()
{
    QTest::addColumn<int>("keyLength");
    QTest::newRow("empty") << 0;
    QTest::newRow("three") << 3;
    QTest::newRow("path") << 200;
    QTest::newRow("longest that fits") << MaxEraseKeyLength;
}

// The body length always equals the bytes that follow the header: 22 + 2n.
void TestCodec::eraseRequestLayout()
{
    QFETCH(int, keyLength);
    const QString key(keyLength, QLatin1Char('k'));
    const QByteArray frame = eraseRequest(EraseAudio, key, 10, 7, 9);
    QCOMPARE(frame.size(), 26 + 2 * keyLength);
    const FrameHeader h = readHeader(frame.constData(), frame.size());
    QCOMPARE(h.typeId, quint16(EraseAudio));
    QCOMPARE(int(h.bodyLength), 22 + 2 * keyLength);

    BodyReader r(frame.mid(FrameHeaderSize));
    QCOMPARE(r.string(), key);
    QCOMPARE(r.uint16(), quint16(10));
    QCOMPARE(r.uint32(), quint32(7));
    QCOMPARE(r.uint32(), quint32(9));
    QVERIFY(r.ok());
    QVERIFY(r.atEnd());
}

void TestCodec::eraseKeyTooLongGivesNoFrame()
{
    QVERIFY(eraseRequest(EraseContact, QString(MaxEraseKeyLength + 1, QLatin1Char('x')), 3, 1, 1).isEmpty());
    FrameWriter w(GetPhotoByName);
    w.string(QString(40000, QLatin1Char('x')));
    QVERIFY(!w.fits());
    QVERIFY(w.finish().isEmpty());
}

void TestCodec::eraseRequestWrittenDirectly_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<quint32>("sequence");
    QTest::addColumn<quint32>("batch");
    QTest::newRow("id") << QStringLiteral("m499999") << 499999u << 500000u;
    QTest::newRow("path with accents") << QString::fromUtf8("/sdcard/Música/été.mp3") << 1u << 1u;
    QTest::newRow("CJK whose UTF-16 reads as HTTP") << QString::fromUtf8("\u6148\u5454\u5011") << 2u << 3u;
    QTest::newRow("surrogate pair") << QString::fromUtf8("m\xf0\x9f\x98\x80") << 7u << 9u;
    QTest::newRow("null key") << QString() << 1u << 1u;
    QTest::newRow("empty key") << QStringLiteral("") << 1u << 1u;
    QTest::newRow("largest counters") << QStringLiteral("k") << 0xFFFFFFFFu << 0xFFFFFFFFu;
    QTest::newRow("longest that fits") << QString(MaxEraseKeyLength, QChar(0x20AC)) << 1u << 2u;
    QTest::newRow("too long") << QString(MaxEraseKeyLength + 1, QLatin1Char('x')) << 1u << 1u;
}

// The batch sender writes its frames directly: byte for byte what the frame
// writer makes, appended behind what is there already; nothing for a key
// too long for a frame.
void TestCodec::eraseRequestWrittenDirectly()
{
    QFETCH(QString, key);
    QFETCH(quint32, sequence);
    QFETCH(quint32, batch);
    for (const quint16 level : {quint16(3), quint16(7), quint16(10)}) {
        const QByteArray expected = eraseRequest(EraseMessage, key, level, sequence, batch);
        QByteArray out("before");
        const bool written = appendEraseRequest(out, EraseMessage, key, level, sequence, batch);
        QCOMPARE(written, !expected.isEmpty());
        QCOMPARE(out, QByteArray("before") + expected);
        if (written)
            QCOMPARE(expected.size(), eraseRequestSize(key.size()));
    }
}

void TestCodec::shortBodyReadsZeros()
{
    // A check-SMS reply whose body stops after the tag; a list frame with only
    // its text.
    BodyReader r(QByteArray::fromHex("0002"));
    QCOMPARE(r.int16(), qint16(0));
    QCOMPARE(r.string(), QString());
    QCOMPARE(r.uint32(), quint32(0));

    const QByteArray list = FrameWriter(ContactList).string(QStringLiteral("c1;A;1")).finish();
    BodyReader l(list.mid(4));
    QCOMPARE(l.string(), QStringLiteral("c1;A;1"));
    QCOMPARE(l.int16(), qint16(0));
    QCOMPARE(l.int16(), qint16(0));
}

void TestCodec::bodyReaderStaysInsideFrame()
{
    // A body that claims a longer string than it holds must not read the
    // following frame's bytes.
    const QByteArray next = FrameWriter(HomeInfo).string(QStringLiteral("next")).finish();
    QByteArray buffer = QByteArray::fromHex("00010006" "0008" "00000010") + next;
    BodyReader r(buffer.constData() + 4, 6);
    QCOMPARE(r.string(), QString());
    QVERIFY(!r.ok());
}

void TestCodec::takeFrameWalksABuffer()
{
    const QByteArray a = getRequest(GetHomeInfo);
    const QByteArray b = photoDirRequest(3);
    QByteArray buffer = a + b + b.left(5);
    int pos = 0;
    FrameHeader h;
    const char *body = nullptr;
    QVERIFY(takeFrame(buffer, &pos, &h, &body));
    QCOMPARE(h.typeId, quint16(GetHomeInfo));
    QCOMPARE(h.bodyLength, quint16(0));
    QVERIFY(takeFrame(buffer, &pos, &h, &body));
    QCOMPARE(h.typeId, quint16(GetPhotoDir));
    QCOMPARE(QByteArray(body, h.bodyLength).toHex(), QByteArray("00020003"));
    QVERIFY(!takeFrame(buffer, &pos, &h, &body)); // partial third frame stays
    QCOMPARE(pos, a.size() + b.size());
}

void TestCodec::textRecords_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("counted");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QStringList>("idsUnderNumber");
    QTest::addColumn<int>("named");
    QTest::addColumn<QStringList>("ambiguous"); // ids listed more than once

    QTest::newRow("two contacts")
        << "1;Ada;555;a@x;Road 1;Org,*#*,2;Bo;556;;;" << 2 << QStringList{"1", "2"} << "556" << QStringList{"2"}
        << 2 << QStringList{};
    QTest::newRow("same number twice, both kept")
        << "1;Ada;555,*#*,2;Ada B;555" << 2 << QStringList{"1", "2"} << "555" << QStringList{"2", "1"} << 2
        << QStringList{};
    // Every field stays in its place: a record without a name is stored
    // under its own number, never under a later field.
    QTest::newRow("no name: stored under its number") << "1;;555" << 1 << QStringList{"1"} << "555"
                                                      << QStringList{"1"} << 0 << QStringList{};
    QTest::newRow("no name: the body is not a number")
        << "3;;555;hello;2026-01-01 10:00:00" << 1 << QStringList{"3"} << "hello" << QStringList{} << 0
        << QStringList{};
    QTest::newRow("no name: the e-mail is not a number")
        << "4;;;front@x.org;;" << 1 << QStringList{"4"} << "front@x.org" << QStringList{} << 0
        << QStringList{};
    QTest::newRow("no number: under the empty number") << "7;Ada" << 1 << QStringList{"7"} << ""
                                                        << QStringList{"7"} << 1 << QStringList{};
    QTest::newRow("no id: counted, not stored") << ";Ada;555" << 1 << QStringList{} << "555" << QStringList{}
                                                << 0 << QStringList{};
    QTest::newRow("empty records are skipped, not counted")
        << ",*#*,1;Ada;555,*#*,,*#*,2;Bo;556,*#*," << 2 << QStringList{"1", "2"} << "555" << QStringList{"1"}
        << 2 << QStringList{};
    // An id listed twice: neither record replaces the other, each stays
    // under its own number, and neither may be erased by the id.
    QTest::newRow("same id twice: both kept, both ambiguous")
        << "1;Ada;555,*#*,1;Al;777" << 2 << QStringList{"1", "1;2"} << "555"
        << QStringList{"1"} << 2 << QStringList{"1"};
    // A message body that holds the separator and a record carrying the id of
    // another sender's message: the spammer's number never stands for it.
    QTest::newRow("forged record inside a message body")
        << "m1;Spam;999;win ,*#*,m2;Spam;999;x;2026-01-01 10:00:00,*#*,m2;Bob;777;real;2026-01-01 11:00:00" << 3
        << QStringList{"m1", "m2", "m2;2"} << "777"
        << QStringList{"m2;2"} << 3 << QStringList{"m2"};
    QTest::newRow("empty text") << "" << 0 << QStringList{} << "" << QStringList{} << 0 << QStringList{};
}

void TestCodec::textRecords()
{
    QFETCH(QString, text);
    QFETCH(int, counted);
    QFETCH(QStringList, ids);
    QFETCH(QString, number);
    QFETCH(QStringList, idsUnderNumber);
    QFETCH(int, named);
    QFETCH(QStringList, ambiguous);

    RecordStore idData;
    QMultiMap<QString, QString> nameId;
    NumberIndex numberId;
    QHash<QString, QString> ambiguousKeys;
    QCOMPARE(addTextRecords(text, {&idData, &nameId, &numberId, &ambiguousKeys}), counted);
    QCOMPARE(idData.keys(), ids);
    QCOMPARE(numberId.values(number), idsUnderNumber);
    QCOMPARE(numberId.size(), ids.size());
    QCOMPARE(nameId.size(), named);
    // every id stands under the number its record shows
    for (auto it = numberId.constBegin(); it != numberId.constEnd(); ++it)
        QCOMPARE(splitRecordFields(idData.value(it.value())).value(2), it.key());
    QStringList phoneIds = ambiguousKeys.values();
    phoneIds.removeDuplicates();
    phoneIds.sort();
    QCOMPARE(phoneIds, ambiguous);
    // every record carrying an ambiguous id is marked, under its own key
    for (auto it = idData.constBegin(); it != idData.constEnd(); ++it)
        QCOMPARE(ambiguousKeys.contains(it.key()), ambiguous.contains(splitRecordFields(it.value()).value(0)));
    // without a store of ambiguous ids, a repeated id is not stored again
    RecordStore plain;
    QMultiMap<QString, QString> plainNames;
    NumberIndex plainNumbers;
    addTextRecords(text, {&plain, &plainNames, &plainNumbers});
    QCOMPARE(plain.size(), idData.size() - (ambiguousKeys.size() - phoneIds.size()));
}

// Records are cut out of a list as its pieces arrive, wherever the pieces
// end; the result is the same as cutting the whole text.
void TestCodec::recordsCutAsPiecesArrive_data()
{
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<bool>("whole");

    QTest::newRow("one piece") << QStringList{"1;a,*#*,2;b"} << QStringList{"1;a", "2;b"} << true;
    QTest::newRow("record across pieces") << QStringList{"1;a,*#*,2", ";b,*#*,3;c"}
                                          << QStringList{"1;a", "2;b", "3;c"} << true;
    QTest::newRow("separator across pieces") << QStringList{"1;a,*", "#", "*,2;b"} << QStringList{"1;a", "2;b"}
                                             << true;
    QTest::newRow("separator ends a piece") << QStringList{"1;a,*#*,", "2;b,*#*,"} << QStringList{"1;a", "2;b"}
                                            << true;
    QTest::newRow("empty records and pieces") << QStringList{",*#*,", "", "1;a,*#*,,*#*,"}
                                              << QStringList{"1;a"} << true;
    // a record beyond the bound (10 characters) is passed over up to its end
    QTest::newRow("over-long record passed over")
        << QStringList{"1;a,*#*,2;bbbb", "bbbbbbbbbb", "bbb,*", "#*,3;c"} << QStringList{"1;a", "3;c"} << false;
    QTest::newRow("over-long last record") << QStringList{"1;a,*#*,2;bbbbbbbbbbbb", "bb"} << QStringList{"1;a"}
                                           << false;
}

void TestCodec::recordsCutAsPiecesArrive()
{
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, records);
    QFETCH(bool, whole);

    QString pending;
    bool skipping = false;
    QStringList got;
    bool allWhole = true;
    for (int i = 0; i < pieces.size(); ++i) {
        allWhole &= takeRecords(pending, skipping, pieces.at(i), i + 1 == pieces.size(), 10,
                                [&got](QStringView r) { got << r.toString(); });
        QVERIFY(pending.size() <= 10); // never more than one unfinished record
    }
    QCOMPARE(got, records);
    QCOMPARE(allWhole, whole);
    QVERIFY(pending.isEmpty());
    QVERIFY(!skipping);
}

void TestCodec::directoryRecords()
{
    QStringList dir{"old;1;jpg;/old"};
    const int n = addDirectoryRecords(QStringLiteral("a.jpg;10;jpg;/x/a.jpg,*#*,,*#*,b.png;;png;/x/b.png"), &dir);
    QCOMPARE(n, 2);
    QCOMPARE(dir, (QStringList{"old;1;jpg;/old", "a.jpg;10;jpg;/x/a.jpg", "b.png;;png;/x/b.png"}));
    QCOMPARE(addDirectoryRecords(QString(), &dir), 0);
}

// Name and location are read whole, ";" included: the location is a path
// ending in "/" and the name, which settles where the fields split. An entry
// that cannot be read so has no location (it is never sent).
void TestCodec::fileEntries_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("location");

    QTest::newRow("plain") << "a.jpg;10;jpg;/sdcard/a.jpg" << "a.jpg" << "10" << "/sdcard/a.jpg";
    QTest::newRow("empty size kept in place") << "a.jpg;;jpg;/sdcard/a.jpg" << "a.jpg" << "" << "/sdcard/a.jpg";
    QTest::newRow("; in name and location") << "a;b.jpg;10;jpg;/sdcard/a;b.jpg" << "a;b.jpg" << "10"
                                            << "/sdcard/a;b.jpg";
    QTest::newRow("; in the folder") << "a.jpg;10;jpg;/sdcard/x;y/a.jpg" << "a.jpg" << "10"
                                     << "/sdcard/x;y/a.jpg";
    QTest::newRow("several ;, empty format") << "x;;1.mp3;99;;/Music/x;;1.mp3" << "x;;1.mp3" << "99"
                                             << "/Music/x;;1.mp3";
    QTest::newRow("; name, empty format") << "x;1.mp3;99;;/Music/x;1.mp3" << "x;1.mp3" << "99"
                                          << "/Music/x;1.mp3";
    QTest::newRow("no location") << "a.jpg;10;jpg" << "a.jpg" << "10" << "";
    QTest::newRow("empty location") << "a.jpg;10;jpg;" << "a.jpg" << "10" << "";
    QTest::newRow("location not a path") << "a.jpg;10;jpg;sdcard/a.jpg" << "a.jpg" << "10" << "";
    QTest::newRow("location of another file") << "a.jpg;10;jpg;/sdcard/b.jpg" << "a.jpg" << "10" << "";
    QTest::newRow("name only the end of the file's") << "a.jpg;10;jpg;/sdcard/ba.jpg" << "a.jpg" << "10" << "";
    QTest::newRow("no name") << ";10;jpg;/sdcard/" << "" << "10" << "";
    QTest::newRow("two readings") << "b;1;f;/x/b;1;f;/z/b;1;f;/x/b" << "b" << "1" << "";
    QTest::newRow("two readings, one with a number for the size") << "b;s;f;/x/b;1;f;/z/b;s;f;/x/b"
                                                                  << "b;s;f;/x/b" << "1" << "/z/b;s;f;/x/b";
    QTest::newRow("empty") << "" << "" << "" << "";
    // A name of many ";" is read while the entry has at most 64 fields; a
    // longer one (a peer's way to make every split cost the whole entry) is
    // shown only.
    const QString name31 = QString("x;").repeated(30) + "x";
    QTest::newRow("64 fields") << name31 + ";1;jpg;/sdcard/" + name31 << name31 << "1" << "/sdcard/" + name31;
    const QString name32 = QString("x;").repeated(31) + "x";
    QTest::newRow("66 fields") << name32 + ";1;jpg;/sdcard/" + name32 << "x" << "x" << "";
}

void TestCodec::fileEntries()
{
    QFETCH(QString, entry);
    QFETCH(QString, name);
    QFETCH(QString, size);
    QFETCH(QString, location);
    const FileEntry e = parseFileEntry(entry);
    QCOMPARE(e.name, name);
    QCOMPARE(e.size, size);
    QCOMPARE(e.location, location);
    QCOMPARE(e.readable, !location.isEmpty());
    QCOMPARE(entryLocation(entry), location);
}

void TestCodec::homeInfo_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<int>("sdk");
    QTest::addColumn<QString>("romFree");
    QTest::addColumn<QString>("sdFree");

    QTest::newRow("nine fields") << "Nimbus Z7;9;SER1;28;x;32 GB;10.5 GB;64 GB;40 GB" << "SER1" << 28
                                 << "10.5 GB" << "40 GB";
    QTest::newRow("empty field shifts later fields")
        << "Nimbus Z7;;9;SER1;28;x;32 GB;10.5 GB;64 GB" << "SER1" << 28 << "10.5 GB" << "";
    QTest::newRow("sdk not a number") << "M;9;S;abc" << "S" << 0 << "" << "";
    QTest::newRow("empty") << "" << "" << 0 << "" << "";
}

void TestCodec::homeInfo()
{
    QFETCH(QString, text);
    QFETCH(QString, serial);
    QFETCH(int, sdk);
    QFETCH(QString, romFree);
    QFETCH(QString, sdFree);
    const HomeInfoFields f = homeInfoFields(splitHomeInfo(text));
    QCOMPARE(f.serial, serial);
    QCOMPARE(f.sdkLevel, sdk);
    QCOMPARE(f.romFree, romFree);
    QCOMPARE(f.sdFree, sdFree);
}

void TestCodec::storagePercent_data()
{
    QTest::addColumn<QString>("free");
    QTest::addColumn<QString>("total");
    QTest::addColumn<int>("percent");
    QTest::addColumn<QString>("used");

    QTest::newRow("10.5 of 32") << "10.5 GB" << "32 GB" << 32 << "21.5";
    QTest::newRow("no unit") << "1" << "3" << 33 << "2";
    QTest::newRow("all free") << "8 GB" << "8 GB" << 100 << "0";
    QTest::newRow("total 0") << "1 GB" << "0 GB" << -1 << "-1";
    QTest::newRow("not a number") << "n/a" << "32 GB" << -1 << "32";
    QTest::newRow("free above total") << "40 GB" << "32 GB" << -1 << "-8";
    QTest::newRow("six significant digits") << "0.0000001 GB" << "1234567.8 GB" << 0 << "1.23457e+06";
}

void TestCodec::storagePercent()
{
    QFETCH(QString, free);
    QFETCH(QString, total);
    QFETCH(int, percent);
    QFETCH(QString, used);
    QCOMPARE(proto::storagePercent(free, total), percent);
    QCOMPARE(generalNumber(storageNumber(total) - storageNumber(free)), used);
}

QTEST_APPLESS_MAIN(TestCodec)
#include "tst_codec.moc"
