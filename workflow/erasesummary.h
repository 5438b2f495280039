#pragma once

#include "protocol/categories.h"
#include "protocol/numberindex.h"
#include "protocol/recordstore.h"
#include "workflow/programstate.h"

#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

// What Erase Now will erase, in words, for the confirm page: named per
// category before the user types the confirmation word.
namespace workflow::erasesummary {

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

// The calls or messages of a category that Erase Now will send: the chosen
// ids less those in `answered` (the phone answered for them in a cancelled
// run), each once, and the numbers (table rows) they belong to, read from
// their records (id -> "id;name;number;..."): a record without a number, or
// an id without a record, is a row of its own. `answeredBefore` is set to
// how many of the chosen ids are in `answered`. One walk over the chosen
// ids, each looked up once in the store; a repeated id is known by its
// place there.
Figure threadedFigure(const QStringList &chosen, const QSet<QString> &answered, const proto::RecordStore &records,
                      int *answeredBefore = nullptr);
// The same, where `numbers` holds the store's ids under their numbers (as a
// scan files them): when the ids come number by number, as the table's rows
// list them, each number's ids are tabled once and only the first id of a
// row is looked up in the store; otherwise as above.
Figure threadedFigure(const QStringList &chosen, const QSet<QString> &answered, const proto::RecordStore &records,
                      const proto::NumberIndex &numbers, int *answeredBefore = nullptr);

} // namespace workflow::erasesummary
