#include "browser/browserlogic.h"

#include <QCoreApplication>

#include <algorithm>

#include "protocol/records.h"

namespace browser {

namespace {

// The tables' words, in the user's language.
class Words
{
    Q_DECLARE_TR_FUNCTIONS(browser)
};

const qint64 KiB = 1024;
const qint64 MiB = KiB * 1024;
const qint64 GiB = MiB * 1024;
const qint64 TiB = GiB * 1024;

QString unitText(qint64 bytes, qint64 unit, const char *word)
{
    const qint64 whole = bytes / unit;
    const qint64 hundredths = (bytes % unit) * 100 / unit; // rounded down
    return QString::number(whole) + QLatin1Char('.')
        + QStringLiteral("%1").arg(hundredths, 2, 10, QLatin1Char('0'))
        + Words::tr(word);
}
} // namespace

QString formatSize(qint64 bytes)
{
    if (bytes < 0)
        bytes = 0;
    if (bytes < KiB)
        return QString::number(bytes) + Words::tr(" Byte");
    if (bytes < MiB)
        return unitText(bytes, KiB, QT_TRANSLATE_NOOP("browser", " Kbyte"));
    if (bytes < GiB)
        return unitText(bytes, MiB, QT_TRANSLATE_NOOP("browser", " Mbyte"));
    if (bytes < TiB)
        return unitText(bytes, GiB, QT_TRANSLATE_NOOP("browser", " Gbyte"));
    return Words::tr("size greater than 1 tb");
}

qint64 parseSize(const QString &field)
{
    bool ok = false;
    const qint64 v = field.trimmed().toLongLong(&ok, 10);
    return ok ? v : 0;
}

QString categoryCaption(const QString &word, int count)
{
    QString caption = word + QLatin1Char('(') + QString::number(count) + QLatin1Char(')');
    if (caption.length() > 9)
        caption.insert(word.length(), QLatin1Char('\n'));
    return caption;
}

QStringList recordFields(const QString &record)
{
    return record.split(QLatin1Char(';'), Qt::KeepEmptyParts);
}

QString field(const QStringList &fields, int i)
{
    return i >= 0 && i < fields.size() ? fields.at(i) : QString();
}

namespace {
// Fields 1..columns of a record split at every ";" (what recordFields gives),
// read straight from the text without splitting off the other fields.
void plainCells(const QString &record, int columns, QStringList *cells)
{
    int start = 0;
    for (int f = 0; f <= columns; ++f) {
        if (start > record.size()) {
            cells->append(QString()); // the record has fewer fields
            continue;
        }
        int end = record.indexOf(QLatin1Char(';'), start);
        if (end < 0)
            end = record.size();
        if (f >= 1)
            cells->append(record.mid(start, end - start));
        start = end + 1;
    }
}

void fillRow(KeyedRow *row, const QString &number, const QString &id, const proto::RecordStore &idData,
             int columns, QStringList (*split)(const QString &))
{
    row->number = number;
    row->shownId = id;
    row->cells.reserve(columns);
    if (split == recordFields) {
        plainCells(idData.value(id), columns, &row->cells);
        return;
    }
    const QStringList fields = split(idData.value(id));
    for (int c = 1; c <= columns; ++c)
        row->cells << field(fields, c);
}
} // namespace

QList<KeyedRow> buildKeyedRows(const proto::NumberIndex &keyMap,
                               const proto::RecordStore &idData, int columns,
                               QStringList (*split)(const QString &))
{
    QList<KeyedRow> rows;
    rows.reserve(keyMap.size());
    // One walk over the map: the ids of a number lie together, the one
    // inserted last first (what value() gives).
    auto it = keyMap.constBegin();
    const auto end = keyMap.constEnd();
    while (it != end) {
        const QString &number = it.key();
        auto next = it;
        while (next != end && next.key() == number)
            ++next;
        if (number.isEmpty()) {
            // a row each, oldest first
            for (auto id = next; id != it;) {
                --id;
                rows.append(KeyedRow());
                fillRow(&rows.last(), number, id.value(), idData, columns, split);
                rows.last().soleId = id.value();
            }
        } else {
            rows.append(KeyedRow());
            fillRow(&rows.last(), number, it.value(), idData, columns, split);
        }
        it = next;
    }
    return rows;
}

int keyedRowCount(const proto::NumberIndex &keyMap)
{
    const int unnumbered = int(keyMap.count(QString()));
    return int(keyMap.uniqueKeys().size()) - (unnumbered > 0 ? 1 : 0) + unnumbered;
}

QString contactNameForNumber(const QString &number,
                             const proto::NumberIndex &contactNumberId,
                             const proto::RecordStore &contactIdData)
{
    if (number.isEmpty())
        return QString();
    auto it = contactNumberId.constFind(number);
    if (it == contactNumberId.constEnd())
        return QString();
    return field(recordFields(contactIdData.value(it.value())), 1);
}

QList<KeyedRow> buildMessageRows(const proto::NumberIndex &messageNumberId,
                                 const proto::RecordStore &messageIdData,
                                 const proto::NumberIndex &contactNumberId,
                                 const proto::RecordStore &contactIdData)
{
    QList<KeyedRow> rows = buildKeyedRows(messageNumberId, messageIdData, 4, messageFields);
    for (KeyedRow &row : rows) {
        const QString name = contactNameForNumber(row.cells.value(1), contactNumberId, contactIdData);
        if (!name.isEmpty())
            row.cells[0] = name;
    }
    return rows;
}

QStringList idsOfRow(const proto::NumberIndex &keyMap, const QString &number,
                     const QString &soleId)
{
    if (!soleId.isEmpty())
        return keyMap.contains(number, soleId) ? QStringList{soleId} : QStringList();
    if (number.isEmpty())
        return {};
    return idsForNumber(keyMap, number);
}

QStringList erasableIds(const QStringList &ids, const QHash<QString, QString> &ambiguous)
{
    if (ambiguous.isEmpty())
        return ids;
    QStringList out;
    out.reserve(ids.size());
    for (const QString &id : ids)
        if (!ambiguous.contains(id))
            out << id;
    return out;
}

QStringList idsForNumber(const proto::NumberIndex &keyMap, const QString &number)
{
    QStringList ids = keyMap.values(number); // newest insertion first
    std::reverse(ids.begin(), ids.end());
    return ids;
}

namespace {
// "yyyy-MM-dd HH:mm:ss" texts order like their times, so a date in that form
// is kept as text; anything else sorts as oldest.
bool isStampText(const QString &s)
{
    static const char pattern[] = "dddd-dd-dd dd:dd:dd";
    if (s.size() != 19)
        return false;
    for (int i = 0; i < 19; ++i) {
        const QChar ch = s.at(i);
        if (pattern[i] == 'd' ? !ch.isDigit() || ch.unicode() > '9' : ch != QLatin1Char(pattern[i]))
            return false;
    }
    return true;
}
} // namespace

QStringList messageFields(const QString &record)
{
    QStringList fields = recordFields(record);
    int date = -1;
    for (int i = fields.size() - 1; i >= 4; --i) {
        if (isStampText(fields.at(i))) {
            date = i;
            break;
        }
    }
    if (date > 4) {
        const QStringList body = fields.mid(3, date - 3);
        fields.erase(fields.begin() + 3, fields.begin() + date);
        fields.insert(3, body.join(QLatin1Char(';')));
    }
    return fields;
}

QStringList sortIdsNewestFirst(const QStringList &ids, const proto::RecordStore &idData)
{
    if (ids.size() < 2)
        return ids;
    QList<QPair<QString, QString>> dated;
    dated.reserve(ids.size());
    for (const QString &id : ids) {
        QString when = field(messageFields(idData.value(id)), 4);
        if (!isStampText(when))
            when.clear();
        dated << qMakePair(when, id);
    }
    std::stable_sort(dated.begin(), dated.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList out;
    out.reserve(dated.size());
    for (const auto &d : dated)
        out << d.second;
    return out;
}

FileRow fileRow(const QString &entry)
{
    const proto::FileEntry e = proto::parseFileEntry(entry);
    FileRow row{e.name, formatSize(parseSize(e.size)), e.format, e.location, e.location};
    if (!e.readable)
        row.locationText = entry.section(QLatin1Char(';'), 3);
    return row;
}

proto::NumberIndex searchRecords(const proto::RecordStore &idData, const QString &text)
{
    proto::NumberIndex result;
    for (auto it = idData.constBegin(); it != idData.constEnd(); ++it) {
        if (it.key().isEmpty() || !it.value().contains(text, Qt::CaseSensitive))
            continue;
        result.insert(field(recordFields(it.value()), 2), it.key());
    }
    return result;
}

Selection::Selection(QStringList *list) : m_list(list)
{
    m_index.reserve(int(list->size()));
    m_removed.fill(false, int(list->size()));
    for (int place = 0; place < list->size(); ++place)
        if (m_index.insert(*list, place) < 0)
            ++m_present; // a repeated id counts once, as its first listing
}

int Selection::presentPlace(const QString &id) const
{
    const int place = m_index.find(id, *m_list);
    return place >= 0 && !m_removed.at(place) ? place : -1;
}

void Selection::check(const QStringList &ids)
{
    for (const QString &id : ids) {
        const int place = m_index.find(id, *m_list);
        if (place >= 0) {
            if (m_removed.at(place)) {
                // still in the list, its removal is not applied yet
                m_removed[place] = false;
                --m_removedCount;
                ++m_present;
            }
            continue;
        }
        m_list->append(id);
        m_index.insert(*m_list, int(m_list->size()) - 1);
        m_removed.append(false);
        ++m_present;
    }
}

void Selection::uncheck(const QStringList &ids)
{
    for (const QString &id : ids) {
        const int place = presentPlace(id);
        if (place < 0)
            continue;
        m_removed[place] = true;
        ++m_removedCount;
        --m_present;
    }
}

bool Selection::covers(const QStringList &ids) const
{
    if (ids.isEmpty())
        return false;
    for (const QString &id : ids) {
        if (presentPlace(id) < 0)
            return false;
    }
    return true;
}

void Selection::finish()
{
    if (m_removedCount == 0)
        return;
    // Every listing of a removed id goes, repeats included.
    QStringList kept;
    kept.reserve(int(m_list->size()) - m_removedCount);
    for (int place = 0; place < m_list->size(); ++place) {
        const QString &id = m_list->at(place);
        const int first = m_index.find(id, *m_list);
        if (!m_removed.at(first))
            kept << id;
    }
    *m_list = kept;
    m_index.clear();
    m_removed.fill(false, int(kept.size()));
    for (int place = 0; place < m_list->size(); ++place)
        m_index.insert(*m_list, place);
    m_removedCount = 0;
}

} // namespace browser
