#include "workflow/eraseplan.h"

#include "protocol/keyindex.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

namespace workflow::eraseplan {

namespace {

// The pages' words, in the user's language.
class Words
{
    Q_DECLARE_TR_FUNCTIONS(eraseplan)
};

} // namespace

bool isConfirmWord(const QString &typed)
{
    return typed == QLatin1String("Erase");
}

const char *levelWord(quint16 level)
{
    switch (level) {
    case 10:
        return QT_TRANSLATE_NOOP("eraseplan", "High");
    case 7:
        return QT_TRANSLATE_NOOP("eraseplan", "Medium");
    default:
        return QT_TRANSLATE_NOOP("eraseplan", "Low");
    }
}

QString levelLabel(quint16 level)
{
    return Words::tr(levelWord(level));
}

QString confirmTitle(EraseType scope)
{
    switch (scope) {
    case EraseType::Private:
        return Words::tr("Erase Private Data");
    case EraseType::App:
        return Words::tr("Erase App Data");
    case EraseType::All:
        break;
    }
    return Words::tr("Erase All Data");
}

QStringList keysNotAnswered(const QStringList &chosen, const QSet<QString> &answered)
{
    if (answered.isEmpty())
        return proto::KeyIndex::distinct(chosen);
    QStringList keys;
    keys.reserve(chosen.size());
    for (const QString &key : chosen)
        if (!answered.contains(key))
            keys << key;
    return proto::KeyIndex::distinct(keys);
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

const char *categoryWord(int category)
{
    // The apps keep their names in every language.
    static const char *const kNames[CategoryCount] = {
        QT_TRANSLATE_NOOP("eraseplan", "Contact"), QT_TRANSLATE_NOOP("eraseplan", "History"),
        QT_TRANSLATE_NOOP("eraseplan", "Message"), QT_TRANSLATE_NOOP("eraseplan", "Photo"),
        QT_TRANSLATE_NOOP("eraseplan", "Audio"),   QT_TRANSLATE_NOOP("eraseplan", "Video"),
        "Facebook",                                "Twitter",
        "Skype",                                   "Viber",
        "Kik",                                     "WhatsApp"};
    if (category < 0 || category >= CategoryCount)
        return "";
    return kNames[category];
}

QString categoryDisplayName(int category)
{
    if (category < 0 || category >= CategoryCount)
        return QString();
    return category < FirstAppCategory ? Words::tr(categoryWord(category))
                                       : QString::fromLatin1(categoryWord(category));
}

QString listRefusedReason()
{
    return QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the phone answered that it could not list them"));
}

QString listNotAllowedReason()
{
    return QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the companion app may not read them on this phone"));
}

QString ambiguousIdReason()
{
    return QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the phone listed their id more than once, so it cannot "
                                                          "be told which item the id would erase"));
}

QString cancelNoAnswerText(bool erase)
{
    if (erase)
        return Words::tr("The phone did not confirm that the erase has stopped; it may still be erasing items of "
                         "this run. You can press Erase Now to go on, or choose another task.");
    return Words::tr("The phone did not confirm that the scan has stopped. You can scan again or choose "
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
        f.parts << Words::tr("%1: %2").arg(categoryDisplayName(c)).arg(figures[c]);
    }
    return f;
}

} // namespace

namespace {

QStringList categoryNames(const bool which[CategoryCount])
{
    QStringList names;
    for (int c = 0; c < CategoryCount; ++c)
        if (which[c])
            names << categoryDisplayName(c);
    return names;
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
    const QStringList incomplete = categoryNames(f.incomplete);
    const QStringList notRead = categoryNames(f.notRead);
    const bool everything = notErased.total == 0 && unconfirmed.total == 0 && resent.total == 0
                            && incomplete.isEmpty() && notRead.isEmpty();
    if (everything && f.scope == EraseType::All)
        return Words::tr("All data on your device has been erased permanently!");

    const QString separator = Words::tr(", ");
    QStringList sentences;
    if (f.erased == 0)
        sentences << Words::tr("Nothing was erased.");
    else if (f.erased == 1)
        sentences << Words::tr("1 item erased permanently.");
    else
        sentences << Words::tr("%n items erased permanently.", nullptr, f.erased);
    if (notErased.total > 0)
        sentences << (notErased.total == 1 ? Words::tr("1 item could not be erased (%1).")
                                           : Words::tr("%n items could not be erased (%1).", nullptr, notErased.total))
                         .arg(notErased.parts.join(separator));
    if (unconfirmed.total > 0)
        sentences << (unconfirmed.total == 1
                          ? Words::tr("1 item was sent, but the phone did not confirm it as erased (%1).")
                          : Words::tr("%n items were sent, but the phone did not confirm them as erased (%1).",
                                      nullptr, unconfirmed.total))
                         .arg(unconfirmed.parts.join(separator));
    if (resent.total > 0)
        sentences << (resent.total == 1
                          ? Words::tr("1 item is not confirmed erased (%1): it may already have been erased "
                                      "before the cancel.")
                          : Words::tr("%n items are not confirmed erased (%1): they may already have been "
                                      "erased before the cancel.",
                                      nullptr, resent.total))
                         .arg(resent.parts.join(separator));
    if (!incomplete.isEmpty())
        sentences << (incomplete.size() > 1
                          ? Words::tr("Some lists could not be read whole from the phone (%1): what was not read "
                                      "has not been erased.")
                          : Words::tr("One list could not be read whole from the phone (%1): what was not read "
                                      "has not been erased."))
                         .arg(incomplete.join(separator));
    if (!notRead.isEmpty())
        sentences << Words::tr("The phone did not let the program read %1: nothing of it was erased.")
                         .arg(notRead.join(separator));
    return sentences.join(QLatin1Char(' '));
}

} // namespace workflow::eraseplan
