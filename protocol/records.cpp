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
    return record.split(FieldSeparator, Qt::KeepEmptyParts);
}

namespace {

bool isDecimal(const QString &s)
{
    if (s.isEmpty())
        return false;
    for (const QChar ch : s) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
    }
    return true;
}

// A location is a path ending in the file's name.
bool locationFits(const QString &name, const QString &location)
{
    return !name.isEmpty() && location.startsWith(QLatin1Char('/'))
        && location.size() > name.size() && location.endsWith(name)
        && location.at(location.size() - name.size() - 1) == QLatin1Char('/');
}

} // namespace

FileEntry parseFileEntry(const QString &entry)
{
    const QStringList parts = entry.split(FieldSeparator, Qt::KeepEmptyParts);
    FileEntry shown; // as the plain split reads it, for an entry that cannot be read
    shown.name = parts.value(0);
    shown.size = parts.value(1);
    shown.format = parts.value(2);
    // Each split below costs the whole entry: an entry of more fields than
    // any real name and path hold is not tried.
    if (parts.size() > MaxFileEntryFields)
        return shown;

    // Every split that gives a location starting with "/" and ending with
    // "/" + name; a size that is a decimal number settles between several.
    QList<FileEntry> fits;
    for (int sizeAt = 1; sizeAt + 2 < parts.size(); ++sizeAt) {
        FileEntry e;
        e.name = parts.mid(0, sizeAt).join(FieldSeparator);
        e.size = parts.at(sizeAt);
        e.format = parts.at(sizeAt + 1);
        e.location = parts.mid(sizeAt + 2).join(FieldSeparator);
        if (locationFits(e.name, e.location))
            fits << e;
    }
    if (fits.size() > 1) {
        QList<FileEntry> sized;
        for (const FileEntry &e : qAsConst(fits))
            if (isDecimal(e.size))
                sized << e;
        fits = sized;
    }
    if (fits.size() != 1)
        return shown;
    FileEntry e = fits.first();
    e.readable = true;
    return e;
}

QString entryLocation(const QString &entry)
{
    return parseFileEntry(entry).location;
}

namespace {
// Names recur across records: the key already in the map is shared rather
// than stored again (the number index keeps each number once itself).
QString sharedKey(const QMultiMap<QString, QString> &map, QStringView key)
{
    const QString text = key.toString();
    const auto it = map.constFind(text);
    return it == map.constEnd() ? text : it.key();
}
} // namespace

bool addTextRecord(QStringView record, const RecordMaps &maps)
{
    // Only the first three fields are needed; the rest stays in the record.
    QStringView fields[3];
    QStringView rest = record;
    for (QStringView &field : fields) {
        const qsizetype end = rest.indexOf(QLatin1Char(';'));
        field = end < 0 ? rest : rest.left(end);
        rest = end < 0 ? QStringView() : rest.mid(end + 1);
    }
    if (fields[0].isEmpty())
        return false; // no id: nothing to erase it by
    const QString id = fields[0].toString();
    QString key = id;
    const bool listedBefore = maps.idData->contains(id);
    if (listedBefore) {
        // Listed before: neither record may be erased by the id, and each
        // stays filed under its own number and name.
        if (!maps.ambiguous)
            return true;
        for (int n = 2; maps.idData->contains(key); ++n)
            key = id + QStringLiteral(";%1").arg(n); // no id holds ";"
    }
    if (!maps.idData->insert(key, record))
        return false; // the store is full: the record is not stored
    if (listedBefore) {
        maps.ambiguous->insert(id, id);
        maps.ambiguous->insert(key, id);
    }
    if (maps.nameId && !fields[1].isEmpty())
        maps.nameId->insert(sharedKey(*maps.nameId, fields[1]), key);
    maps.numberId->insert(fields[2], key);
    return true;
}

int addTextRecords(const QString &text, const RecordMaps &maps)
{
    int count = 0;
    const QVector<QStringRef> records = text.splitRef(RecordSeparator, Qt::KeepEmptyParts);
    for (const QStringRef &record : records) {
        if (record.isEmpty())
            continue;
        ++count;
        addTextRecord(record, maps);
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

bool takeRecords(QString &pending, bool &skipping, const QString &piece, bool stretchEnds,
                 int maxRecordChars, const std::function<void(QStringView)> &onRecord)
{
    const int sepLength = RecordSeparator.size();
    bool whole = true;
    // A separator may be split over two pieces: look again from just before
    // the end of what was pending.
    int searchFrom = qMax(0, pending.size() - (sepLength - 1));
    pending.append(piece);
    int start = 0;
    for (int at; (at = pending.indexOf(RecordSeparator, searchFrom)) >= 0;) {
        if (skipping)
            skipping = false; // the end of the record passed over
        else if (at > start)
            onRecord(QStringView(pending).mid(start, at - start));
        start = at + sepLength;
        searchFrom = start;
    }
    if (stretchEnds) {
        if (!skipping && start < pending.size())
            onRecord(QStringView(pending).mid(start));
        skipping = false;
        pending.clear();
        return whole;
    }
    pending.remove(0, start);
    if (pending.size() > maxRecordChars) {
        // Far beyond any real record: pass it over, keeping only what may be
        // the beginning of its separator.
        whole = false;
        skipping = true;
        pending = pending.right(sepLength - 1);
    }
    return whole;
}

bool listCountAgrees(qint64 announced, qint64 listed)
{
    if (announced < 0)
        return true;
    if (announced >= 0xFFFF)
        return listed >= 0xFFFF;
    return announced == listed;
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
