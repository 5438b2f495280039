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
    }
    addKey(item, key); // a key sent without being chosen is still accounted for
    item.state[key] = KeyState::Sent;
    ++item.batchSent;
}

void EraseAccount::noteItemFailed(int category, const QString &key)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    ++item.batchFailures;
    auto it = item.state.find(key);
    if (it != item.state.end() && it.value() == KeyState::Sent)
        it.value() = item.sentBefore.contains(key) ? KeyState::ResentFailed : KeyState::Failed;
    else
        ++item.batchUnnamed;
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

// The keys still waiting for an answer are settled by the batch's counts:
// erased when the phone says every one of them was done, failed when it says
// every one failed; otherwise the counts cannot be tied to keys, and only
// the numbers are kept.
void EraseAccount::settleBatch(Item &item, int done, int unnamedFailures)
{
    QStringList waiting;
    for (const QString &key : qAsConst(item.order))
        if (item.state.value(key) == KeyState::Sent)
            waiting << key;
    const int n = waiting.size();
    KeyState to = KeyState::Unclear;
    if (unnamedFailures == 0 && done >= n)
        to = KeyState::Erased;
    else if (done == 0 && unnamedFailures >= n)
        to = KeyState::Failed;
    for (const QString &key : qAsConst(waiting))
        item.state[key] = to == KeyState::Failed && item.sentBefore.contains(key) ? KeyState::ResentFailed : to;
    if (to == KeyState::Unclear) {
        const int erased = std::min(done, n);
        item.bulkErased += erased;
        item.bulkFailed += std::min(unnamedFailures, n - erased);
    }
    item.batchSent = 0;
    item.batchFailures = 0;
    item.batchUnnamed = 0;
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
        why = QStringLiteral("the erase was cancelled before they were sent");
        break;
    case Outcome::Interrupted:
        why = QStringLiteral("the erase was interrupted before they were sent");
        break;
    default:
        why = QStringLiteral("the run did not send them");
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
    const bool whole = std::none_of(std::begin(m_items), std::end(m_items),
                                    [](const Item &item) { return item.listIncomplete; });
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
