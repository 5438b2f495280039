#pragma once

#include "protocol/categories.h"
#include "workflow/programstate.h"

#include <QString>

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

} // namespace erasesummary
