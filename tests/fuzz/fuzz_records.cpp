// The record rules: list texts of the companion app (records separated by
// ",*#*,", fields by ";") into the three maps of a text category and the
// entries of a directory, home-info fields and storage figures.
//
// Input: byte 0 picks how the rest is read as text (UTF-8 or Latin-1, as a
// peer may send either, or UTF-16 as the frames carry it, lone surrogates
// and all); the rest is one list or home-info text.

#include "fuzztarget.h"

#include "protocol/records.h"

#include <QHash>
#include <QMap>
#include <QMultiMap>
#include <QSet>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::silenceLog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in(data, size);
    const int how = in.byte();
    const QByteArray bytes = in.rest();
    const QString text = (how & 2) ? QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2)
        : (how & 1)                ? QString::fromLatin1(bytes)
                                   : QString::fromUtf8(bytes);

    const QStringList records = proto::splitRecords(text);
    FUZZ_CHECK(proto::joinRecords(records) == text);
    int nonEmpty = 0;
    QStringList whole;
    for (const QString &record : records) {
        nonEmpty += record.isEmpty() ? 0 : 1;
        if (!record.isEmpty())
            whole << record;
        // Fields keep their places: nothing is dropped.
        FUZZ_CHECK(proto::splitRecordFields(record).join(proto::FieldSeparator) == record);
        // A location read from an entry is a path ending in the entry's name,
        // and name, size, format and location make the whole entry.
        const proto::FileEntry e = proto::parseFileEntry(record);
        FUZZ_CHECK(proto::entryLocation(record) == e.location);
        if (e.readable) {
            FUZZ_CHECK(e.location.startsWith(QLatin1Char('/')) && !e.name.isEmpty());
            FUZZ_CHECK(e.location.endsWith(QLatin1Char('/') + e.name));
            FUZZ_CHECK(QStringList({e.name, e.size, e.format, e.location}).join(proto::FieldSeparator) == record);
        } else {
            FUZZ_CHECK(e.location.isEmpty());
        }
    }

    // Cut into pieces of any length, the text gives the same records.
    const int pieceLength = 1 + int(bytes.size() % 7) * 3;
    QString pending;
    bool skipping = false;
    QStringList cut;
    for (int from = 0; from < text.size() || from == 0; from += pieceLength) {
        const bool last = from + pieceLength >= text.size();
        FUZZ_CHECK(proto::takeRecords(pending, skipping, text.mid(from, pieceLength), last, 1 << 20,
                                      [&cut](QStringView r) { cut << r.toString(); }));
        if (last)
            break;
    }
    FUZZ_CHECK(cut == whole);
    FUZZ_CHECK(pending.isEmpty() && !skipping);

    proto::RecordStore idData;
    QMultiMap<QString, QString> nameId;
    proto::NumberIndex numberId;
    FUZZ_CHECK(proto::addTextRecords(text, {&idData, &nameId, &numberId}) == nonEmpty);
    FUZZ_CHECK(idData.size() <= nonEmpty);
    // Every stored record stands once under its own number, and under its
    // name when it has one.
    FUZZ_CHECK(numberId.size() == idData.size());
    FUZZ_CHECK(nameId.size() <= idData.size());
    for (auto it = numberId.cbegin(); it != numberId.cend(); ++it)
        FUZZ_CHECK(proto::splitRecordFields(idData.value(it.value())).value(2) == it.key());
    for (auto it = nameId.cbegin(); it != nameId.cend(); ++it)
        FUZZ_CHECK(proto::splitRecordFields(idData.value(it.value())).value(1) == it.key());

    // With a store of ambiguous ids every record with an id is kept, under
    // its own number; a key is ambiguous exactly when its record's id was
    // listed more than once, and it maps to that id.
    proto::RecordStore allData;
    QMultiMap<QString, QString> allNames;
    proto::NumberIndex allNumbers;
    QHash<QString, QString> ambiguous;
    FUZZ_CHECK(proto::addTextRecords(text, {&allData, &allNames, &allNumbers, &ambiguous}) == nonEmpty);
    QHash<QString, int> idCount;
    for (const QString &record : whole) {
        const QString id = proto::splitRecordFields(record).value(0);
        if (!id.isEmpty())
            ++idCount[id];
    }
    int withId = 0;
    for (int n : qAsConst(idCount))
        withId += n;
    FUZZ_CHECK(allData.size() == withId);
    FUZZ_CHECK(allNumbers.size() == allData.size());
    for (auto it = allNumbers.cbegin(); it != allNumbers.cend(); ++it)
        FUZZ_CHECK(proto::splitRecordFields(allData.value(it.value())).value(2) == it.key());
    for (auto it = allData.cbegin(); it != allData.cend(); ++it) {
        const QString id = proto::splitRecordFields(it.value()).value(0);
        FUZZ_CHECK(ambiguous.contains(it.key()) == (idCount.value(id) > 1));
        if (ambiguous.contains(it.key()))
            FUZZ_CHECK(ambiguous.value(it.key()) == id);
    }

    // The record store reads as a map of strings: the same keys in the same
    // order, the same texts, a key stored again replaced.
    proto::RecordStore store;
    QMap<QString, QString> map;
    for (const QString &record : qAsConst(whole)) {
        const QString key = record.left(record.indexOf(QLatin1Char(';')));
        store.insert(key, record);
        map.insert(key, record);
    }
    FUZZ_CHECK(store.size() == map.size());
    FUZZ_CHECK(store.keys() == map.keys());
    auto mapIt = map.constBegin();
    for (auto it = store.constBegin(); it != store.constEnd(); ++it, ++mapIt) {
        FUZZ_CHECK(it.key() == mapIt.key() && it.value() == mapIt.value());
        FUZZ_CHECK(store.value(mapIt.key()) == mapIt.value());
    }

    QStringList dir;
    FUZZ_CHECK(proto::addDirectoryRecords(text, &dir) == nonEmpty);
    FUZZ_CHECK(dir.size() == nonEmpty);

    const proto::HomeInfoFields f = proto::homeInfoFields(proto::splitHomeInfo(text));
    for (const QString &field : {f.model, f.version, f.serial, f.romTotal, f.romFree, f.sdTotal, f.sdFree})
        FUZZ_CHECK(!field.contains(QLatin1Char(';')));
    const int percent = proto::storagePercent(f.romFree, f.romTotal);
    FUZZ_CHECK(percent >= -1 && percent <= 100);
    bool ok = false;
    const double total = proto::storageNumber(f.romTotal, &ok);
    (void)proto::generalNumber(total);
    return 0;
}
