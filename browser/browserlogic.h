#pragma once

// Pure rules of the result browser: size and caption texts, the rows a
// category table shows, the selection kept beside a table, the search and the
// thumbnail name match. No widgets here; the window's slots call these.

#include <QHash>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "protocol/keyindex.h"
#include "protocol/numberindex.h"
#include "protocol/recordstore.h"

namespace browser {

// Size column text: " Byte" below 1 KiB, " Kbyte" below 1 MiB, " Mbyte" below
// 1 GiB, "Gbyte" below 1 TiB, beyond that "size greater than 1 tb". Kbyte,
// Mbyte and Gbyte carry two fractional digits, rounded down. Negative sizes
// (never sent by a phone) read as 0.
QString formatSize(qint64 bytes);

// The size field of a file entry read as a decimal count; 0 when it is not a
// number.
qint64 parseSize(const QString &field);

// Category button caption: word + "(" + n + ")"; when that is longer than nine
// characters a line break goes before the "(".
QString categoryCaption(const QString &word, int count);

// A record text split into its fields, empty fields kept.
QStringList recordFields(const QString &record);
// A message record split into its fields: 0 id, 1 name, 2 number, 3 body,
// 4 date, then the type word when the phone sends one. A body may hold ";"
// itself: the date is the last field from 4 on that reads
// "yyyy-MM-dd HH:mm:ss", and what lies between the number and it is the body.
// A record without such a date splits as any other.
QStringList messageFields(const QString &record);
// Field i of a record or an empty text when the record is shorter.
QString field(const QStringList &fields, int i);

// One data row of a contact, call-history or message table.
struct KeyedRow
{
    QString number;     // row key (Number cell)
    QString shownId;    // the id whose record the row shows (last inserted)
    // A record without a number is a row of its own: the one id it stands
    // for (empty for a row that stands for every id under its number).
    QString soleId;
    QStringList cells;  // columns 1.. of the row: name, number, ...
};

// Rows of a map-based category: one per distinct number of keyMap, in
// ascending number order, showing the record of the id inserted last under
// that number; records without a number come first, one row each, in the
// order they arrived. columns is the count of data columns after the check
// column.
QList<KeyedRow> buildKeyedRows(const proto::NumberIndex &keyMap,
                               const proto::RecordStore &idData, int columns,
                               QStringList (*split)(const QString &) = recordFields);
// The number of rows buildKeyedRows makes.
int keyedRowCount(const proto::NumberIndex &keyMap);

// Name of the contact stored under a number (field 1 of its record), or an
// empty text when the number is empty or no contact's.
QString contactNameForNumber(const QString &number,
                             const proto::NumberIndex &contactNumberId,
                             const proto::RecordStore &contactIdData);

// Message rows: as buildKeyedRows, with the Name cell replaced by the name of
// the contact whose number sent the message, when that contact has a name.
QList<KeyedRow> buildMessageRows(const proto::NumberIndex &messageNumberId,
                                 const proto::RecordStore &messageIdData,
                                 const proto::NumberIndex &contactNumberId,
                                 const proto::RecordStore &contactIdData);

// The ids a row stands for: a row of one record its sole id while the key
// map still holds it under the row's number (none once it is gone); any
// other row every id under its number (none for the empty number).
QStringList idsOfRow(const proto::NumberIndex &keyMap, const QString &number,
                     const QString &soleId);

// The ids a row may choose: those not listed more than once by the phone
// (`ambiguous` holds the keys of such records, protocol/records.h).
QStringList erasableIds(const QStringList &ids, const QHash<QString, QString> &ambiguous);

// All ids stored under one number, in insertion order (oldest first).
QStringList idsForNumber(const proto::NumberIndex &keyMap, const QString &number);

// Message ids ordered newest first by their date field (field 4,
// "yyyy-MM-dd HH:mm:ss"); a date that cannot be read counts as oldest.
QStringList sortIdsNewestFirst(const QStringList &ids, const proto::RecordStore &idData);

// File row of a photo, audio or video table: name, size text, format,
// location. An entry whose location cannot be read unambiguously is shown as
// the plain split reads it and cannot be chosen: its location is empty.
struct FileRow
{
    QString name;
    QString sizeText;
    QString format;
    QString location;     // the erase key; empty when the entry cannot be chosen
    QString locationText; // what the Location cell shows
};
FileRow fileRow(const QString &entry);

// Search: the ids whose whole record text contains text (case-sensitive),
// put under their number (field 2; records without a number under the empty
// number, each a row of its own).
proto::NumberIndex searchRecords(const proto::RecordStore &idData, const QString &text);

// What the to-erase list of one category holds. Checking adds ids that are not
// there yet, unchecking removes every occurrence, so an id is never listed
// twice and the list is what the checked rows stand for.
// Made for one click or one table build; removals reach the list at the
// latest when the object goes.
class Selection
{
public:
    explicit Selection(QStringList *list);
    ~Selection() { finish(); }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

    void check(const QStringList &ids);
    void uncheck(const QStringList &ids);
    // A row shows checked when it stands for at least one id and all of them
    // are listed.
    bool covers(const QStringList &ids) const;
    bool isEmpty() const { return m_present == 0; }
    // Applies pending removals to the list.
    void finish();

private:
    // The place of id in the list when it is listed and not removed, or -1.
    int presentPlace(const QString &id) const;

    // The list's ids are found by an index over the list itself (8 bytes a
    // slot, no string or node of its own per id: select all of half a
    // million messages); a removal marks the place of the id's first
    // listing and is applied by finish().
    QStringList *m_list;
    proto::KeyIndex m_index;
    QVector<bool> m_removed; // by place in the list
    int m_present = 0;       // distinct ids listed and not removed
    int m_removedCount = 0;
};

} // namespace browser
