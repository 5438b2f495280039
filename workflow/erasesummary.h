#pragma once

#include "protocol/categories.h"
#include "protocol/recordstore.h"
#include "workflow/programstate.h"

#include <QMap>
#include <QString>
#include <QStringList>

// What Erase Now will erase, in words, for the confirm page: named per
// category before the user types the confirmation word.
namespace erasesummary {

// One category of the run about to start.
struct Figure
{
    int items = 0;   // records or files to be sent (contacts, calls, messages, files, app entries)
    int threads = 0; // calls and messages: the numbers they belong to (one row of the table each)
};

// Private: the chosen items per category ("3 contacts, 1 call thread (4
// calls), 2 photos"); App: the ticked apps; All: everything listed on the
// phone with the count of each category. Categories come in their fixed
// order and those without items are left out. `answeredBefore` counts chosen
// items the phone already answered for in a cancelled run of this scan
// (they are not sent again); it is told when nothing else is left.
QString summary(EraseType scope, const Figure figures[CategoryCount], int answeredBefore = 0);

// The numbers (table rows) the calls or messages of these ids belong to, of
// their records (id -> "id;...;number;..."); a record without a number, or an
// id without a record, is a row of its own. The ids are distinct. Each id is
// looked up in the store's hash index and its number compared as stored,
// without making a string of it.
int threadsOf(const QStringList &ids, const proto::RecordStore &records);

} // namespace erasesummary
