#pragma once

// Record texts of the companion app and the rules that turn them into the
// program's stores. Pure functions, shared with the simulator.

#include <QHash>
#include <QMap>
#include <QMultiMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

#include "protocol/categories.h"
#include "protocol/numberindex.h"
#include "protocol/recordstore.h"

namespace proto {

// Separators of a list text: records by ",*#*,", fields by ";".
extern const QString RecordSeparator;
extern const QString FieldSeparator;

// Records of a list text, empty parts kept (callers skip them).
QStringList splitRecords(const QString &text);
// Fields of a contact / call-history / message record, empty fields kept, so
// every field stays in its place: 0 id, 1 name, 2 number, ...
QStringList splitRecordFields(const QString &record);

// A photo, audio or video entry: name;size;format;location. The name and the
// location may hold ";" themselves; the location starts with "/" and ends
// with "/" and the name, which settles where the fields split.
struct FileEntry
{
    QString name;
    QString size;
    QString format;
    QString location; // empty unless readable
    // The location was read unambiguously: only then may the entry be asked
    // for or erased.
    bool readable = false;
};
FileEntry parseFileEntry(const QString &entry);
// An entry split into more fields than this is not read (shown only).
constexpr int MaxFileEntryFields = 64;
// The location of a file entry; empty when it is missing or cannot be read
// unambiguously (such an entry is never sent).
QString entryLocation(const QString &entry);

// The stores of a text category. A record text may hold the record
// separator and what reads as further records (a message body, a contact
// name): such a forged record cannot be told from a real one by its text.
// So an id listed more than once in one list is ambiguous: every record
// carrying it is stored and shown, each under its own number, and none of
// them may be erased by the id. `ambiguous` maps the key of every such
// record (the id for the first, the id with ";2", ";3", ... for the others:
// no id holds ";") to the id the phone gave.
struct RecordMaps
{
    RecordStore *idData;
    QMultiMap<QString, QString> *nameId; // may be null: names are not filed
    NumberIndex *numberId;
    QHash<QString, QString> *ambiguous = nullptr;
};

// Stores one record of a text category: under its id in the id map, its id
// under its number in the number map (an empty number included: such a
// record is a row of its own) and under its name when it has one. A record
// whose id is already stored is kept under a key of its own, filed under its
// own number and name, and both are marked ambiguous (without an ambiguous
// map it is dropped). A record without an id cannot be erased and is not
// stored; returns false then, and when the id store is full.
bool addTextRecord(QStringView record, const RecordMaps &maps);

// Adds every non-empty record of a complete list text to the maps (see
// addTextRecord). Returns the number of non-empty records (stored or not).
int addTextRecords(const QString &text, const RecordMaps &maps);

// Appends every non-empty record of a complete directory text, whole, to dir.
// Returns the number appended.
int addDirectoryRecords(const QString &text, QStringList *dir);

// Cuts the records out of a list as its pieces arrive, so that a list is
// never held whole. `pending` carries the unfinished record from one piece to
// the next, `skipping` tells that the record in progress grew beyond
// maxRecordChars and is being passed over up to its separator. Every non-empty
// record completed by the piece goes to onRecord; when the stretch ends
// (the piece's number equals the count) what is left is a record too.
// Returns false when a record was passed over for its length.
bool takeRecords(QString &pending, bool &skipping, const QString &piece, bool stretchEnds,
                 int maxRecordChars, const std::function<void(QStringView)> &onRecord);

// A list held as many records as the phone announced in its left-time reply.
// The announcement is a 16-bit count: a list of 65535 records or more
// agrees with it at its greatest. A negative announcement is none.
bool listCountAgrees(qint64 announced, qint64 listed);

// Joins the record texts as the companion app sends them.
QString joinRecords(const QStringList &records);

// ----- home info -----

// The ";"-separated home-info text, empty fields dropped.
QStringList splitHomeInfo(const QString &text);

struct HomeInfoFields
{
    QString model;       // 0
    QString version;     // 1
    QString serial;      // 2
    QString sdkText;     // 3
    int sdkLevel = 0;    // field 3 as a number, 0 if not a number
    QString field4;      // 4
    QString romTotal;    // 5
    QString romFree;     // 6
    QString sdTotal;     // 7
    QString sdFree;      // 8
};
HomeInfoFields homeInfoFields(const QStringList &list);

// The number before the first blank of a storage text ("10.5 GB" -> 10.5).
double storageNumber(const QString &text, bool *ok = nullptr);
// Integer part of free / total * 100, or -1 when it is undefined or outside
// 0..100 (the bar then keeps its value).
int storagePercent(const QString &freeText, const QString &totalText);
// General number format with 6 significant digits ("21.5", "1e+06").
QString generalNumber(double v);

// ----- left-time replies -----

// Seconds per item of each category.
extern const float ScanSecondsPerItem[CategoryCount];
extern const float EraseSecondsPerItem[CategoryCount];

// count x seconds per item, replaced by 50 when not above 0 if asked.
float expectedSeconds(qint64 count, float secondsPerItem, bool replaceNonPositive);
// Erase time added by the byte size of files and app data: overwriting runs
// at about this many bytes per second.
constexpr double EraseBytesPerSecond = 20.0 * 1024 * 1024;
// Scan time added by reading file and app data sizes.
constexpr double ScanBytesPerSecond = 400.0 * 1024 * 1024;

} // namespace proto
