#include "workflow/scanplan.h"

namespace workflow::scanplan {

namespace {
// Private scan, app scan and all scan shares per category.
constexpr int kPrivateShares[6] = {10, 20, 20, 20, 20, 10};
constexpr int kAllShares[CategoryCount] = {5, 10, 10, 10, 10, 5, 5, 10, 10, 10, 10, 5};
constexpr int kSdkWithGates = 23;
} // namespace

CategoryRange scopeCategories(EraseType scope)
{
    switch (scope) {
    case EraseType::Private:
        return {Contact, FirstAppCategory};
    case EraseType::App:
        return {FirstAppCategory, CategoryCount};
    case EraseType::All:
        break;
    }
    return {Contact, CategoryCount};
}

int progressShare(EraseType scope, int category)
{
    if (!scopeCategories(scope).contains(category))
        return 0;
    switch (scope) {
    case EraseType::Private:
        return kPrivateShares[category];
    case EraseType::App:
        return kPrivateShares[category - FirstAppCategory];
    case EraseType::All:
        break;
    }
    return kAllShares[category];
}

int nextInChain(EraseType scope, int category)
{
    const CategoryRange r = scopeCategories(scope);
    if (!r.contains(category) || category + 1 >= r.last)
        return -1;
    return category + 1;
}

int sdkGateOf(int category)
{
    switch (category) {
    case Contact:
        return 0;
    case History:
        return 1;
    case Message:
        return 2;
    default:
        return 3;
    }
}

AskDecision decideAsk(int category, int sdkLevel, const bool gates[4], float expectedScanTime)
{
    if (sdkLevel >= kSdkWithGates && !gates[sdkGateOf(category)])
        return AskDecision::SkipGateClosed;
    if (expectedScanTime == 0.0f)
        return AskDecision::SkipNoData;
    return AskDecision::Ask;
}

QString contactTraceToken(AskDecision decision, int sdkLevel)
{
    const QString asked = decision == AskDecision::Ask ? QStringLiteral("g") : QStringLiteral("ng");
    const QString band = sdkLevel < kSdkWithGates ? QStringLiteral("_L") : QStringLiteral("_G");
    return asked + QStringLiteral("C") + band + QStringLiteral(":\n");
}

TraceTokens chainTraceTokens(int category, AskDecision decision, int sdkLevel)
{
    static const char kLetters[] = "CHMPAV";
    const QString letter = category >= 0 && category < 6 ? QString(QLatin1Char(kLetters[category]))
                                                        : QStringLiteral("?");
    const bool low = sdkLevel < kSdkWithGates;
    TraceTokens t;
    switch (decision) {
    case AskDecision::Ask:
        t.before = QStringLiteral("g") + letter + (low ? QStringLiteral("_L_F:\n") : QStringLiteral("_G_F:\n"));
        t.after = QStringLiteral("g") + letter + (low ? QStringLiteral("_L_L:\n") : QStringLiteral("_G_L:\n"));
        break;
    case AskDecision::SkipNoData:
        t.before = QStringLiteral("ng") + letter + (low ? QStringLiteral("_L:\n") : QStringLiteral("_G_P:\n"));
        break;
    case AskDecision::SkipGateClosed:
        t.before = QStringLiteral("ng") + letter + QStringLiteral("_G_W:\n");
        break;
    }
    return t;
}

} // namespace workflow::scanplan
