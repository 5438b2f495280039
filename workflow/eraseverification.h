#pragma once

#include "workflow/eraseaccount.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The check after the reboot: the companion app lists the erased categories
// again, and every key it confirmed erased must be gone from those lists.
// It shows that the phone no longer lists the items; it cannot show that
// their storage was overwritten.
namespace eraseverification {

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

// One category's list as the phone gives it now (the erase keys of its
// records or entries), compared with the account.
void compare(EraseAccount &account, int category, const QStringList &listedKeys);
// The phone answered the category's list request with a failure.
void listFailed(EraseAccount &account, int category);
// Every category of the pass has been compared (or failed).
void finish(EraseAccount &account, const QDateTime &nowUtc);
void couldNotRun(EraseAccount &account, const QString &reason, const QDateTime &nowUtc);

// "verified", "verification failed", "could not run", "pending", "running",
// "not applicable".
QString statusText(Status status);
// The first words of the record: "Verified", "Verification failed" or
// "Not verified".
QString headline(Status status);
// The line of the report page (empty when verification does not apply).
QString pageLine(const EraseAccount &account);
// A category's cell of the report table.
QString cellText(const EraseAccount &account, int category);

} // namespace eraseverification
