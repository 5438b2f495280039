#include "workflow/eraseaccount.h"

#include <algorithm>
#include <climits>

namespace {

bool validCategory(int c)
{
    return c >= 0 && c < CategoryCount;
}

void addReason(QStringList &reasons, const QString &reason)
{
    if (!reason.isEmpty() && !reasons.contains(reason))
        reasons << reason;
}

} // namespace

void EraseAccount::begin(EraseType scope, quint16 level, const Phone &phone, const QDateTime &startUtc)
{
    *this = EraseAccount();
    m_scope = scope;
    m_level = level;
    m_phone = phone;
    m_startUtc = startUtc.toUTC();
}

void EraseAccount::carryOver(int category, const EraseAccount &earlier, bool sentAgain)
{
    if (!validCategory(category) || !earlier.takesPart(category))
        return;
    const Item &before = earlier.m_items[category];
    if (!sentAgain) {
        Item item = before;
        if (!item.earlierRun) {
            item.earlierRun = true;
            item.earlierStartUtc = earlier.m_startUtc;
        }
        m_items[category] = item;
        return;
    }
    Item item;
    item.takesPart = true;
    item.listIncomplete = before.listIncomplete;
    item.notReadReason = before.notReadReason;
    item.listCount = before.listCount;
    item.inDoubt = before.inDoubt;
    item.bulkErased = before.bulkErased;
    item.bulkFailed = before.bulkFailed;
    for (const QString &key : before.order) {
        const KeyState s = before.state.value(key);
        if (s == KeyState::NotSent || s == KeyState::Sent)
            continue; // not answered: part of this run if chosen again
        item.order << key;
        item.state.insert(key, s);
    }
    m_items[category] = item;
}

void EraseAccount::addKey(Item &item, const QString &key)
{
    item.takesPart = true;
    if (item.state.contains(key))
        return;
    item.order << key;
    item.state.insert(key, KeyState::NotSent);
}

void EraseAccount::choose(int category, const QStringList &keys)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    item.takesPart = true;
    for (const QString &key : keys)
        addKey(item, key);
}

void EraseAccount::markSentBefore(int category, const QStringList &keys)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    for (const QString &key : keys) {
        addKey(item, key);
        if (item.state.value(key) != KeyState::NotSent)
            continue; // answered already
        item.state[key] = KeyState::Sent;
        item.sentBefore.insert(key);
    }
}

void EraseAccount::leaveOut(int category, const QStringList &keys, const QString &reason)
{
    if (!validCategory(category) || keys.isEmpty())
        return;
    choose(category, keys);
    addReason(m_items[category].notSentReasons, reason);
}

void EraseAccount::markListIncomplete(int category)
{
    if (!validCategory(category))
        return;
    m_items[category].takesPart = true;
    m_items[category].listIncomplete = true;
}

bool EraseAccount::listIncomplete(int category) const
{
    return validCategory(category) && m_items[category].listIncomplete;
}

void EraseAccount::markListNotRead(int category, const QString &reason)
{
    if (!validCategory(category) || reason.isEmpty())
        return;
    m_items[category].takesPart = true;
    m_items[category].notReadReason = reason;
}

QString EraseAccount::listNotReadReason(int category) const
{
    return validCategory(category) ? m_items[category].notReadReason : QString();
}

void EraseAccount::noteListCount(int category, qint64 announced, qint64 listed)
{
    if (!validCategory(category))
        return;
    m_items[category].listCount = {qMax<qint64>(0, announced), qMax<qint64>(0, listed)};
}

EraseAccount::ListCount EraseAccount::listCount(int category) const
{
    return validCategory(category) ? m_items[category].listCount : ListCount();
}

bool EraseAccount::answersInDoubt(int category) const
{
    return validCategory(category) && m_items[category].inDoubt;
}

void EraseAccount::markUnsendable(int category, const QString &key, const QString &reason)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    addKey(item, key);
    item.state[key] = KeyState::NotSent;
    addReason(item.notSentReasons, reason);
}

void EraseAccount::markSent(int category, const QString &key, quint32 sequence)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    if (sequence <= 1) {
        item.batchSent = 0;
        item.batchFailures = 0;
        item.batchUnnamed = 0;
        item.batchInDoubt = false;
    }
    addKey(item, key); // a key sent without being chosen is still accounted for
    item.state[key] = KeyState::Sent;
    ++item.batchSent;
}

void EraseAccount::markBatchInDoubt(int category)
{
    if (!validCategory(category))
        return;
    m_items[category].batchInDoubt = true;
    m_items[category].inDoubt = true;
}

void EraseAccount::noteItemFailed(int category, const QString &key)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    ++item.batchFailures;
    auto it = item.state.find(key);
    const KeyState was = it == item.state.end() ? KeyState::NotSent : it.value();
    if (was == KeyState::Sent || was == KeyState::Erased || was == KeyState::Unclear) {
        // A failure that names the key wins, also over a count that had
        // called it erased.
        it.value() = was == KeyState::Sent && item.sentBefore.contains(key) ? KeyState::ResentFailed
                                                                            : KeyState::Failed;
        if (was == KeyState::Unclear) {
            // It was one of the keys the counts spoke of, most likely as one
            // of their failures.
            if (item.bulkFailed > 0)
                --item.bulkFailed;
            keepBulkWithinUnclear(item);
        }
    } else {
        ++item.batchUnnamed;
    }
    // Every item of the batch failed: no final answer follows.
    if (item.batchSent > 0 && item.batchFailures >= item.batchSent)
        settleBatch(item, 0, item.batchUnnamed);
}

void EraseAccount::noteAnswer(int category, quint32 done, quint32 failed)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    const qint64 named = item.batchFailures - item.batchUnnamed;
    const qint64 unnamed = std::max<qint64>(qint64(failed) - named, item.batchUnnamed);
    settleBatch(item, int(std::min<quint32>(done, INT_MAX)), int(std::min<qint64>(unnamed, INT_MAX)));
}

void EraseAccount::keepBulkWithinUnclear(Item &item)
{
    int unclear = 0;
    for (const QString &key : qAsConst(item.order))
        if (item.state.value(key) == KeyState::Unclear)
            ++unclear;
    if (item.bulkErased + item.bulkFailed > unclear)
        item.bulkFailed = std::max(0, unclear - item.bulkErased);
    if (item.bulkErased > unclear)
        item.bulkErased = unclear;
}

// The keys still waiting for an answer are settled by the batch's counts:
// erased when the phone says every one of them was done, failed when it says
// every one failed; otherwise the counts cannot be tied to keys, and only
// the numbers are kept. Counts that claim more than was sent contradict
// themselves: the smaller claim holds, as many as were sent less the
// failures are erased, and the rest is not confirmed. A batch in doubt is
// settled by nothing but the failures that named its keys.
void EraseAccount::settleBatch(Item &item, int done, int unnamedFailures)
{
    QStringList waiting;
    for (const QString &key : qAsConst(item.order))
        if (item.state.value(key) == KeyState::Sent)
            waiting << key;
    const int n = waiting.size();
    const bool inDoubt = item.batchInDoubt;
    item.batchSent = 0;
    item.batchFailures = 0;
    item.batchUnnamed = 0;
    item.batchInDoubt = false;
    if (inDoubt || n == 0)
        return; // the waiting keys stay sent, not confirmed
    const int failures = std::min(std::max(0, unnamedFailures), n);
    int erased = std::max(0, done);
    int failed = failures;
    if (qint64(erased) + failures > n) {
        erased = std::min(erased, n - failures);
        failed = 0;
    }
    KeyState to = KeyState::Unclear;
    if (erased == n)
        to = KeyState::Erased;
    else if (failed == n)
        to = KeyState::Failed;
    for (const QString &key : qAsConst(waiting))
        item.state[key] = to == KeyState::Failed && item.sentBefore.contains(key) ? KeyState::ResentFailed : to;
    if (to == KeyState::Unclear) {
        item.bulkErased += erased;
        item.bulkFailed += failed;
    }
}

void EraseAccount::end(Outcome outcome, const QDateTime &endUtc, const QString &reason)
{
    if (!isOpen())
        return;
    m_outcome = outcome;
    m_endUtc = endUtc.toUTC();
    m_endReason = reason;
    QString why;
    switch (outcome) {
    case Outcome::Cancelled:
        why = QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the erase was cancelled before they were sent"));
        break;
    case Outcome::Interrupted:
        why = QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the erase was interrupted before they were sent"));
        break;
    default:
        why = QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the run did not send them"));
        break;
    }
    for (Item &item : m_items) {
        if (!item.earlierRun && item.notSentReasons.isEmpty()
            && std::any_of(item.state.cbegin(), item.state.cend(), [](KeyState s) { return s == KeyState::NotSent; }))
            item.notSentReasons << why;
    }
}

EraseAccount::Outcome EraseAccount::finishedOutcome() const
{
    const Counts t = totals();
    const bool whole = std::none_of(std::begin(m_items), std::end(m_items), [](const Item &item) {
        return item.listIncomplete || !item.notReadReason.isEmpty();
    });
    return whole && t.erased == t.chosen ? Outcome::Completed : Outcome::CompletedWithFailures;
}

bool EraseAccount::takesPart(int category) const
{
    return validCategory(category) && m_items[category].takesPart;
}

bool EraseAccount::fromEarlierRun(int category) const
{
    return validCategory(category) && m_items[category].earlierRun;
}

QDateTime EraseAccount::earlierRunStartUtc(int category) const
{
    return validCategory(category) ? m_items[category].earlierStartUtc : QDateTime();
}

QStringList EraseAccount::notSentReasons(int category) const
{
    return validCategory(category) ? m_items[category].notSentReasons : QStringList();
}

EraseAccount::Counts EraseAccount::counts(int category) const
{
    Counts n;
    if (!validCategory(category))
        return n;
    const Item &item = m_items[category];
    n.chosen = item.order.size();
    int unclear = 0;
    for (const QString &key : item.order) {
        switch (item.state.value(key)) {
        case KeyState::NotSent:
            ++n.notSent;
            break;
        case KeyState::Sent:
            ++n.sent;
            ++n.notConfirmed;
            break;
        case KeyState::Erased:
            ++n.sent;
            ++n.erased;
            break;
        case KeyState::Failed:
            ++n.sent;
            ++n.failed;
            break;
        case KeyState::Unclear:
            ++n.sent;
            ++unclear;
            break;
        case KeyState::ResentFailed:
            ++n.sent;
            ++n.notConfirmed;
            ++n.resentFailed;
            break;
        }
    }
    n.erased += item.bulkErased;
    n.failed += item.bulkFailed;
    n.notConfirmed += unclear - item.bulkErased - item.bulkFailed;
    return n;
}

EraseAccount::Counts EraseAccount::totals() const
{
    Counts t;
    for (int c = 0; c < CategoryCount; ++c) {
        const Counts n = counts(c);
        t.chosen += n.chosen;
        t.sent += n.sent;
        t.erased += n.erased;
        t.failed += n.failed;
        t.notConfirmed += n.notConfirmed;
        t.resentFailed += n.resentFailed;
        t.notSent += n.notSent;
    }
    return t;
}

QStringList EraseAccount::keys(int category, KeyState state) const
{
    QStringList out;
    if (!validCategory(category))
        return out;
    const Item &item = m_items[category];
    for (const QString &key : item.order)
        if (item.state.value(key) == state)
            out << key;
    return out;
}

EraseAccount::KeyState EraseAccount::state(int category, const QString &key) const
{
    if (!validCategory(category))
        return KeyState::NotSent;
    return m_items[category].state.value(key, KeyState::NotSent);
}

// ----- EraseBatches -----

bool EraseBatches::sent(int category, quint64 run, const QStringList &keys)
{
    if (!validCategory(category))
        return false;
    Slot &slot = m_slots[category];
    QSet<QString> asked(keys.begin(), keys.end());
    // A batch given up on may still be answered: its answer would come
    // first, and nothing tells it from this batch's, unless both ask for
    // the same keys (then either answer tells of them).
    const bool inDoubt = (slot.givenUp || slot.open) && slot.keys != asked;
    slot = Slot();
    slot.open = true;
    slot.inDoubt = inDoubt;
    slot.run = run;
    slot.size = int(keys.size());
    slot.keys = std::move(asked);
    return inDoubt;
}

EraseBatches::Batch EraseBatches::answerOwner(int category) const
{
    Batch b;
    if (!validCategory(category))
        return b;
    const Slot &slot = m_slots[category];
    b.known = slot.open || slot.givenUp;
    b.givenUp = !slot.open && slot.givenUp;
    b.inDoubt = slot.inDoubt;
    b.run = slot.run;
    return b;
}

bool EraseBatches::itemFailed(int category)
{
    if (!validCategory(category))
        return false;
    Slot &slot = m_slots[category];
    if (!slot.open && !slot.givenUp)
        return false;
    ++slot.failures;
    if (slot.failures < slot.size)
        return false;
    answered(category);
    return true;
}

void EraseBatches::answered(int category)
{
    if (validCategory(category))
        m_slots[category] = Slot();
}

void EraseBatches::giveUpOpen()
{
    for (Slot &slot : m_slots) {
        if (!slot.open)
            continue;
        slot.open = false;
        slot.givenUp = true;
    }
}

bool EraseBatches::anyOpen() const
{
    return std::any_of(std::begin(m_slots), std::end(m_slots), [](const Slot &s) { return s.open; });
}

bool EraseBatches::isOpen(int category) const
{
    return validCategory(category) && m_slots[category].open;
}

void EraseBatches::clear()
{
    for (Slot &slot : m_slots)
        slot = Slot();
}
