#pragma once

#include "workflow/eraseaccount.h"

#include <QIODevice>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QVector>

// The erase record of a run, made from its account: a JSON file for programs
// and a PDF for people, written side by side into the records folder, and the
// texts of the report the window shows. A record never holds what was erased
// (no names, numbers or message texts): only counts, and the ids or
// locations of items that were not erased.
namespace workflow::eraserecord {

// "completed", "completed with failures", "cancelled", "interrupted".
QString outcomeText(EraseAccount::Outcome outcome);
// "all", "private", "app".
QString scopeText(EraseType scope);
// Files and app data are named by their location on the phone; contacts,
// calls and messages by their record id.
bool keysAreLocations(int category);

QJsonObject toJson(const EraseAccount &account, const QString &programVersion);
// Writes the JSON file's bytes, QJsonDocument(toJson(...)).toJson(Indented),
// to `out`, the lists of keys a slice at a time, so that a record of half a
// million keys is never held as text whole. False when a write failed.
bool writeJson(QIODevice *out, const EraseAccount &account, const QString &programVersion);

// The outcome in one line, the first line of the PDF: whether it was
// verified, then what was erased.
QString outcomeLine(const EraseAccount &account);
// What was erased, in one line ("Erase completed: all 12 chosen items ...").
QString erasedLine(const EraseAccount &account);
// The PDF's content as a rich-text document; every text from the phone is
// escaped. At most `listLimit` keys per list are written out (the JSON file
// holds them all).
QString toHtml(const EraseAccount &account, const QString &programVersion, int listLimit = 200);

// <AppDataLocation>/records.
QString defaultFolder();
// "erase-20261201-101502Z-R58N91XKQ2B": start time (UTC) and serial number.
QString baseName(const EraseAccount &account);
// baseName, with "-2", "-3", ... added while a record of that name exists
// (or `given` holds the folder's path of that name: a record not on disk
// yet).
QString uniqueBaseName(const QString &folder, const EraseAccount &account, const QSet<QString> &given = {});

struct Written
{
    QString jsonPath;
    QString pdfPath;
    QString error; // empty when both files were written
    bool ok() const { return error.isEmpty(); }
};
// Writes <base>.json and <base>.pdf into the folder (created if missing).
// Each file is written to a temporary file first and renamed when complete,
// so a record is whole or absent, and a rewrite replaces the old one whole.
Written write(const QString &folder, const QString &base, const EraseAccount &account,
              const QString &programVersion);

// ----- texts of the report page and the cancel notice -----

// "Completed", "Erase not verified" (the check after the reboot found items
// still listed), "Erase cancelled", "Erase interrupted".
QString reportTitle(const EraseAccount &account);
QString reportSummary(const EraseAccount &account);
QString cancelSummary(const EraseAccount &account);
// The line under the report about the record: where it is, or why it
// could not be written.
QString recordLine(const Written &written, const QString &folder);

struct Row
{
    int index = -1; // the Category
    QString category;
    int chosen = 0;
    int erased = 0;
    int failed = 0;
    int notConfirmed = 0; // neither confirmed erased nor failed, sent or not
    bool notRead = false; // the phone's list could not be read: none of it was erased
};
// One row per category that took part, in category order.
QVector<Row> reportRows(const EraseAccount &account);

} // namespace workflow::eraserecord
