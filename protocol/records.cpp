#include "protocol/records.h"

#include <QVector>

namespace proto {

const QString RecordSeparator = QStringLiteral(",*#*,");
const QString FieldSeparator = QStringLiteral(";");

const float ScanSecondsPerItem[CategoryCount] = {
    0.014f, 0.014f, 0.094f, 0.023f, 0.021f, 0.021f,
    0.0006f, 0.0006f, 0.0006f, 0.0006f, 0.0006f, 0.0006f,
};

const float EraseSecondsPerItem[CategoryCount] = {
    0.033f, 0.033f, 0.037f, 0.0003f, 0.001f, 0.001f,
    0.0006f, 0.0006f, 0.0006f, 0.0006f, 0.0006f, 0.0006f,
};

QStringList splitRecords(const QString &text)
{
    return text.split(RecordSeparator, Qt::KeepEmptyParts);
}

QStringList splitRecordFields(const QString &record)
{
    return record.split(FieldSeparator, Qt::SkipEmptyParts);
}

QStringList splitEntryFields(const QString &entry)
{
    return entry.split(FieldSeparator, Qt::KeepEmptyParts);
}

QString entryLocation(const QString &entry)
{
    const QVector<QStringRef> fields = entry.splitRef(FieldSeparator, Qt::KeepEmptyParts);
    return fields.size() > 3 ? fields.at(3).toString() : QString();
}

int addTextRecords(const QString &text, const RecordMaps &maps)
{
    int count = 0;
    const QVector<QStringRef> records = text.splitRef(RecordSeparator, Qt::KeepEmptyParts);
    for (const QStringRef &record : records) {
        if (record.isEmpty())
            continue;
        ++count;
        const QVector<QStringRef> fields = record.split(FieldSeparator, Qt::SkipEmptyParts);
        if (fields.size() < 3)
            continue; // a missing id, name or number: counted, stored nowhere
        const QString id = fields.at(0).toString();
        maps.nameId->insert(fields.at(1).toString(), id);
        maps.numberId->insert(fields.at(2).toString(), id);
        maps.idData->insert(id, record.toString());
    }
    return count;
}

int addDirectoryRecords(const QString &text, QStringList *dir)
{
    int count = 0;
    const QVector<QStringRef> records = text.splitRef(RecordSeparator, Qt::KeepEmptyParts);
    for (const QStringRef &record : records) {
        if (record.isEmpty())
            continue;
        dir->append(record.toString());
        ++count;
    }
    return count;
}

QString joinRecords(const QStringList &records)
{
    return records.join(RecordSeparator);
}

QStringList splitHomeInfo(const QString &text)
{
    return text.split(FieldSeparator, Qt::SkipEmptyParts);
}

HomeInfoFields homeInfoFields(const QStringList &list)
{
    HomeInfoFields f;
    const auto at = [&list](int i) { return i < list.size() ? list.at(i) : QString(); };
    f.model = at(0);
    f.version = at(1);
    f.serial = at(2);
    f.sdkText = at(3);
    bool ok = false;
    const int level = f.sdkText.trimmed().toInt(&ok, 10);
    f.sdkLevel = ok ? level : 0;
    f.field4 = at(4);
    f.romTotal = at(5);
    f.romFree = at(6);
    f.sdTotal = at(7);
    f.sdFree = at(8);
    return f;
}

double storageNumber(const QString &text, bool *ok)
{
    const int blank = text.indexOf(QLatin1Char(' '));
    const QString number = blank < 0 ? text : text.left(blank);
    bool parsed = false;
    const double v = number.toDouble(&parsed);
    if (ok)
        *ok = parsed;
    return parsed ? v : 0.0;
}

int storagePercent(const QString &freeText, const QString &totalText)
{
    bool okFree = false;
    bool okTotal = false;
    const double free = storageNumber(freeText, &okFree);
    const double total = storageNumber(totalText, &okTotal);
    if (!okFree || !okTotal || total == 0.0)
        return -1;
    const double ratio = free / total * 100.0;
    if (!(ratio >= 0.0 && ratio <= 100.0))
        return -1;
    return int(ratio);
}

QString generalNumber(double v)
{
    return QString::number(v, 'g', 6);
}

float expectedSeconds(qint64 count, float secondsPerItem, bool replaceNonPositive)
{
    const float t = float(count) * secondsPerItem;
    if (replaceNonPositive && !(t > 0.0f))
        return 50.0f;
    return t;
}

} // namespace proto
