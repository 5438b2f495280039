#include "workflow/eraseplan.h"

#include "protocol/keyindex.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

namespace eraseplan {

bool isConfirmWord(const QString &typed)
{
    return typed == QLatin1String("Erase");
}

QString levelLabel(quint16 level)
{
    switch (level) {
    case 10:
        return QStringLiteral("High");
    case 7:
        return QStringLiteral("Medium");
    default:
        return QStringLiteral("Low");
    }
}

QString confirmTitle(EraseType scope)
{
    switch (scope) {
    case EraseType::Private:
        return QStringLiteral("Erase Private Data");
    case EraseType::App:
        return QStringLiteral("Erase App Data");
    case EraseType::All:
        break;
    }
    return QStringLiteral("Erase All Data");
}

QStringList keysNotAnswered(const QStringList &chosen, const QSet<QString> &answered)
{
    if (answered.isEmpty())
        return KeyIndex::distinct(chosen);
    QStringList keys;
    keys.reserve(chosen.size());
    for (const QString &key : chosen)
        if (!answered.contains(key))
            keys << key;
    return KeyIndex::distinct(keys);
}

void selectApps(const bool appChecked[AppCategoryCount], bool selected[CategoryCount])
{
    for (int c = FirstAppCategory; c < CategoryCount; ++c)
        selected[c] = appChecked[c - FirstAppCategory];
}

void selectForAll(const int scannedCount[CategoryCount], const bool eraseBack[CategoryCount],
                  bool selected[CategoryCount])
{
    for (int c = 0; c < CategoryCount; ++c) {
        selected[c] = scannedCount[c] > 0;
        if (c >= FirstAppCategory && eraseBack[c])
            selected[c] = false;
    }
}

bool anySelected(const bool selected[CategoryCount], scanplan::CategoryRange range)
{
    for (int c = range.first; c < range.last; ++c)
        if (selected[c])
            return true;
    return false;
}

void scaledEraseTimes(const float fromReply[CategoryCount], quint16 level, float out[CategoryCount])
{
    for (int c = 0; c < CategoryCount; ++c)
        out[c] = c >= Photo ? fromReply[c] * static_cast<float>(level) : fromReply[c];
}

float sum(const float values[CategoryCount], scanplan::CategoryRange range)
{
    float total = 0;
    for (int c = range.first; c < range.last; ++c)
        total += values[c];
    return total;
}

bool walkSteps(EraseType scope, const bool selected[CategoryCount], const bool eraseDone[CategoryCount],
               bool stepPassed[CategoryCount], bool cancelRequested, int &progress,
               const std::function<void(int category)> &sendStep,
               const std::function<void(int category)> &onPassed)
{
    const scanplan::CategoryRange range = scanplan::scopeCategories(scope);
    for (int c = range.first; c < range.last; ++c) {
        if (stepPassed[c])
            continue;
        if (selected[c] && !eraseDone[c])
            return false;
        progress += scanplan::progressShare(scope, c);
        stepPassed[c] = true;
        if (onPassed)
            onPassed(c);
        if (cancelRequested)
            return true;
        const int next = scanplan::nextInChain(scope, c);
        if (next >= 0 && sendStep)
            sendStep(next);
    }
    return false;
}

int failedItems(int itemFailReplies, int failedInAnswer)
{
    return std::max(0, std::max(itemFailReplies, failedInAnswer));
}

QString categoryDisplayName(int category)
{
    static const char *const kNames[CategoryCount] = {"Contact", "History",  "Message", "Photo",
                                                     "Audio",   "Video",    "Facebook", "Twitter",
                                                     "Skype",   "Viber",    "Kik",      "WhatsApp"};
    if (category < 0 || category >= CategoryCount)
        return QString();
    return QString::fromLatin1(kNames[category]);
}

QString listRefusedReason()
{
    return QCoreApplication::translate("eraseplan", "the phone answered that it could not list them");
}

QString listNotAllowedReason()
{
    return QCoreApplication::translate("eraseplan", "the companion app may not read them on this phone");
}

QString ambiguousIdReason()
{
    return QCoreApplication::translate("eraseplan",
                                       "the phone listed their id more than once, so it cannot be told which item "
                                       "the id would erase");
}

QString cancelNoAnswerText(bool erase)
{
    if (erase)
        return QStringLiteral("The phone did not confirm that the erase has stopped; it may still be erasing items of "
                              "this run. You can press Erase Now to go on, or choose another task.");
    return QStringLiteral("The phone did not confirm that the scan has stopped. You can scan again or choose "
                          "another task.");
}

namespace {

// "3 items" and "Contact: 2, Video: 1" of the categories above 0.
struct CategoryFigures
{
    int total = 0;
    QStringList parts;
};

CategoryFigures figuresOf(const int figures[CategoryCount])
{
    CategoryFigures f;
    for (int c = 0; figures && c < CategoryCount; ++c) {
        if (figures[c] <= 0)
            continue;
        f.total += figures[c];
        f.parts << QStringLiteral("%1: %2").arg(categoryDisplayName(c)).arg(figures[c]);
    }
    return f;
}

} // namespace

namespace {

QString categoryNames(const bool which[CategoryCount])
{
    QStringList names;
    for (int c = 0; c < CategoryCount; ++c)
        if (which[c])
            names << categoryDisplayName(c);
    return names.join(QStringLiteral(", "));
}

} // namespace

QString completionText(const CompletionFigures &f)
{
    int otherNotConfirmed[CategoryCount] = {};
    for (int c = 0; c < CategoryCount; ++c)
        otherNotConfirmed[c] = f.notConfirmed[c] - f.resentFailed[c];
    const CategoryFigures notErased = figuresOf(f.notErased);
    const CategoryFigures unconfirmed = figuresOf(otherNotConfirmed);
    const CategoryFigures resent = figuresOf(f.resentFailed);
    const QString incomplete = categoryNames(f.incomplete);
    const QString notRead = categoryNames(f.notRead);
    const bool everything = notErased.total == 0 && unconfirmed.total == 0 && resent.total == 0
                            && incomplete.isEmpty() && notRead.isEmpty();
    if (everything && f.scope == EraseType::All)
        return QStringLiteral("All data on your device has been erased permanently!");

    QStringList sentences;
    if (f.erased == 0)
        sentences << QCoreApplication::translate("eraseplan", "Nothing was erased.");
    else if (f.erased == 1)
        sentences << QCoreApplication::translate("eraseplan", "1 item erased permanently.");
    else
        sentences << QCoreApplication::translate("eraseplan", "%1 items erased permanently.").arg(f.erased);
    if (notErased.total > 0)
        sentences << QStringLiteral("%1 %2 could not be erased (%3).")
                         .arg(notErased.total)
                         .arg(notErased.total == 1 ? QStringLiteral("item") : QStringLiteral("items"))
                         .arg(notErased.parts.join(QStringLiteral(", ")));
    if (unconfirmed.total > 0)
        sentences << (unconfirmed.total == 1
                          ? QCoreApplication::translate("eraseplan",
                                                        "1 item was sent, but the phone did not confirm it as erased "
                                                        "(%1).")
                                .arg(unconfirmed.parts.join(QStringLiteral(", ")))
                          : QCoreApplication::translate("eraseplan",
                                                        "%1 items were sent, but the phone did not confirm them as "
                                                        "erased (%2).")
                                .arg(unconfirmed.total)
                                .arg(unconfirmed.parts.join(QStringLiteral(", "))));
    if (resent.total > 0)
        sentences << (resent.total == 1
                          ? QStringLiteral("1 item is not confirmed erased (%1): it may already have been erased "
                                           "before the cancel.")
                                .arg(resent.parts.join(QStringLiteral(", ")))
                          : QStringLiteral("%1 items are not confirmed erased (%2): they may already have been "
                                           "erased before the cancel.")
                                .arg(resent.total)
                                .arg(resent.parts.join(QStringLiteral(", "))));
    if (!incomplete.isEmpty())
        sentences << QStringLiteral("%1 could not be read whole from the phone (%2): what was not read has not "
                                    "been erased.")
                         .arg(incomplete.contains(QLatin1Char(',')) ? QStringLiteral("Some lists")
                                                                    : QStringLiteral("One list"))
                         .arg(incomplete);
    if (!notRead.isEmpty())
        sentences << QCoreApplication::translate("eraseplan",
                                                 "The phone did not let the program read %1: nothing of it was "
                                                 "erased.")
                         .arg(notRead);
    return sentences.join(QLatin1Char(' '));
}

} // namespace eraseplan
