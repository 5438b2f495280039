#pragma once

#include "protocol/categories.h"
#include "workflow/programstate.h"

#include <QString>

// Pure decisions of the scan chain: which categories a scope walks, how much
// each adds to the progress, and whether a category is asked for at all.
namespace workflow::scanplan {

// Half-open range [first, last) of categories in the chain order.
struct CategoryRange
{
    int first;
    int last;
    bool contains(int c) const { return c >= first && c < last; }
};

CategoryRange scopeCategories(EraseType scope);

// Points a category adds to the scope's progress (scan and erase use the same
// numbers); 0 for a category outside the scope. Every scope sums to 100.
int progressShare(EraseType scope, int category);

// Next category of the scope's chain, or -1 when `category` ends it.
int nextInChain(EraseType scope, int category);

// Gate flag that allows the category's request on SDK 23 and later.
int sdkGateOf(int category);

enum class AskDecision {
    Ask,            // send the get request
    SkipNoData,     // allowed, but the estimate says there is nothing
    SkipGateClosed, // SDK 23 or later and the gate is closed
};

// Phones from SDK 23 on need the gate of the category to be open; every phone
// skips a category whose expected scan time is 0.
AskDecision decideAsk(int category, int sdkLevel, const bool gates[4], float expectedScanTime);

// Trace token of the first (Contact) request: "gC_L:\n", "ngC_G:\n", ...
QString contactTraceToken(AskDecision decision, int sdkLevel);

// Trace tokens around a later request of the private chain; `after` is empty
// when the category was skipped.
struct TraceTokens
{
    QString before;
    QString after;
};
TraceTokens chainTraceTokens(int category, AskDecision decision, int sdkLevel);

} // namespace workflow::scanplan
