// The record rules: list texts of the companion app (records separated by
// ",*#*,", fields by ";") into the three maps of a text category and the
// entries of a directory, home-info fields and storage figures.
//
// Input: byte 0 picks how the rest is read as text (UTF-8 or Latin-1, as a
// peer may send either); the rest is one list or home-info text.

#include "fuzztarget.h"

#include "protocol/records.h"

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
    const bool latin1 = in.byte() & 1;
    const QByteArray bytes = in.rest();
    const QString text = latin1 ? QString::fromLatin1(bytes) : QString::fromUtf8(bytes);

    const QStringList records = proto::splitRecords(text);
    FUZZ_CHECK(proto::joinRecords(records) == text);
    int nonEmpty = 0;
    for (const QString &record : records) {
        nonEmpty += record.isEmpty() ? 0 : 1;
        for (const QString &field : proto::splitRecordFields(record))
            FUZZ_CHECK(!field.isEmpty() && !field.contains(proto::FieldSeparator));
        FUZZ_CHECK(proto::entryLocation(record) == proto::splitEntryFields(record).value(3));
    }

    QMap<QString, QString> idData;
    QMultiMap<QString, QString> nameId;
    QMultiMap<QString, QString> numberId;
    FUZZ_CHECK(proto::addTextRecords(text, {&idData, &nameId, &numberId}) == nonEmpty);
    FUZZ_CHECK(idData.size() <= nonEmpty);
    FUZZ_CHECK(nameId.size() == numberId.size());
    // Every name and number leads to a stored record.
    for (const QString &id : nameId)
        FUZZ_CHECK(idData.contains(id));
    for (const QString &id : numberId)
        FUZZ_CHECK(idData.contains(id));

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
