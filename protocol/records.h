#pragma once

// Record texts of the companion app and the rules that turn them into the
// program's stores. Pure functions, shared with the simulator.

#include <QMap>
#include <QMultiMap>
#include <QString>
#include <QStringList>

#include "protocol/categories.h"

namespace proto {

// Separators of a list text: records by ",*#*,", fields by ";".
extern const QString RecordSeparator;
extern const QString FieldSeparator;

// Records of a list text, empty parts kept (callers skip them).
QStringList splitRecords(const QString &text);
// Fields of a contact / call-history / message record, empty fields dropped
// (so an empty field moves the later fields down by one).
QStringList splitRecordFields(const QString &record);
// Fields of a file entry (name;size;format;location), empty fields kept.
QStringList splitEntryFields(const QString &entry);
// Field 3 (the location) of a photo, audio or video entry; empty if missing.
QString entryLocation(const QString &entry);

// The three stores of a text category.
struct RecordMaps
{
    QMap<QString, QString> *idData;
    QMultiMap<QString, QString> *nameId;
    QMultiMap<QString, QString> *numberId;
};

// Adds every non-empty record of a complete list text to the maps: a record
// whose id, name and number are all non-empty goes under id into the id map
// (replacing a record with the same id) and its id under name and number into
// the multi-maps. Returns the number of non-empty records (inserted or not).
int addTextRecords(const QString &text, const RecordMaps &maps);

// Appends every non-empty record of a complete directory text, whole, to dir.
// Returns the number appended.
int addDirectoryRecords(const QString &text, QStringList *dir);

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
