#pragma once

#include "workflow/eraseaccount.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The check after the reboot: the companion app lists the erased categories
// again, and every key it confirmed erased must be gone from those lists.
// It shows that the phone no longer lists the items; it cannot show that
// their storage was overwritten.
namespace workflow::eraseverification {

using Verification = EraseAccount::Verification;
using Status = Verification::Status;

// What the record and the guide say the check can and cannot show.
QString scopeNote();

// Sets what a finished run's verification is until the phone is back:
// pending for a Private or App run that confirmed items erased; not
// applicable otherwise (an All run, a cancelled or interrupted run).
void prepare(EraseAccount &account);

// The categories to list again: those with keys confirmed erased.
QVector<int> categoriesToList(const EraseAccount &account);

// Whether the phone connected now is the one the run erased: the serial
// numbers the companion app and adb tell now, each compared with what the
// same source told for the run. Unknown when neither can be compared.
enum class PhoneMatch { Same, Different, Unknown };
PhoneMatch samePhone(const EraseAccount::Phone &erased, const QString &serialNow, const QString &linkSerialNow);
// The reason the record gives when the pass does not run on the phone now
// connected (empty for the same phone).
QString otherPhoneReason(PhoneMatch match);

// One category's list as the phone gives it now: the erase keys of the
// records or entries the pass could read, and how many it could not read
// (a record without an id, a file entry without a readable location).
struct Listing
{
    QStringList keys;
    int unreadable = 0;
};
// The listing of photo, audio or video entries.
Listing fileListing(const QStringList &entries);

// The listing compared with the account: every key confirmed erased must be
// gone. A key is gone only when the list was read whole and holds it in no
// form: a file listed with its location in another case may be the same
// file, and an entry that cannot be read may be any of them; either leaves
// the category not checked.
void compare(EraseAccount &account, int category, const Listing &listing);
// The phone answered the category's list request with a failure.
void listFailed(EraseAccount &account, int category);
// The category's list went beyond the pass's bound: it was not read whole.
void listIncomplete(EraseAccount &account, int category);
// Every category of the pass has been compared (or failed).
void finish(EraseAccount &account, const QDateTime &nowUtc);
void couldNotRun(EraseAccount &account, const QString &reason, const QDateTime &nowUtc);

// "verified", "verification failed", "could not run", "could not check",
// "pending", "running", "not applicable".
QString statusText(Status status);
// The first words of the record: "Verified", "Verification failed" or
// "Not verified".
QString headline(Status status);
// The line of the report page (empty when verification does not apply).
QString pageLine(const EraseAccount &account);
// What the pass found, without the status word the record puts before it
// ("2 of 2 erased items are gone from the phone").
QString findingLine(const EraseAccount &account);
// A category's cell of the report table.
QString cellText(const EraseAccount &account, int category);

} // namespace workflow::eraseverification
