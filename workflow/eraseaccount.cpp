#include "workflow/eraseaccount.h"

#include <QBitArray>

#include <algorithm>
#include <numeric>
#include <climits>

namespace workflow {

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

void EraseAccount::Item::setState(int place, KeyState s)
{
    const quint8 was = quint8(states.at(place));
    --inState[was & ~SentBeforeFlag];
    ++inState[int(s)];
    states[place] = char(quint8(int(s)) | (was & SentBeforeFlag));
}

void EraseAccount::Item::setSentBefore(int place)
{
    states[place] = char(quint8(states.at(place)) | SentBeforeFlag);
}

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
    // What the phone answered is kept (not whether it was sent before: that
    // is this run's to say); what it did not answer is this run's if chosen
    // again.
    const int answered = int(before.order.size()) - before.inState[int(KeyState::NotSent)]
                         - before.inState[int(KeyState::Sent)];
    item.order.reserve(answered);
    item.states.reserve(answered);
    item.index.reserve(answered);
    for (int i = 0; i < before.order.size(); ++i) {
        const KeyState s = before.stateAt(i);
        if (s == KeyState::NotSent || s == KeyState::Sent)
            continue;
        const int place = addKey(item, before.order.at(i));
        item.setState(place, s);
    }
    m_items[category] = item;
}

int EraseAccount::addKey(Item &item, const QString &key)
{
    item.takesPart = true;
    const int place = int(item.order.size());
    const int found = item.index.insert(key, place, item.order);
    if (found >= 0)
        return found;
    item.order << key;
    item.states.append(char(KeyState::NotSent));
    ++item.inState[int(KeyState::NotSent)];
    return place;
}

EraseAccount::Chosen EraseAccount::choose(int category, const QStringList &keys)
{
    Chosen chosen;
    if (!validCategory(category))
        return chosen;
    Item &item = m_items[category];
    item.takesPart = true;
    if (item.order.isEmpty() && !keys.isEmpty()) {
        // A first choice is taken whole: the list is shared, not copied.
        if (item.index.insertAll(keys) < 0) {
            item.order = keys;
            item.states = QByteArray(int(keys.size()), char(KeyState::NotSent));
            item.inState[int(KeyState::NotSent)] += int(keys.size());
            chosen.keys = keys;
            chosen.places.resize(int(keys.size()));
            std::iota(chosen.places.begin(), chosen.places.end(), 0);
            return chosen;
        }
        // A key given twice (rare): taken one by one.
        item.index.clear();
    }
    const int before = int(item.order.size());
    QBitArray seen(before);
    chosen.keys.reserve(keys.size());
    chosen.places.reserve(keys.size());
    for (const QString &key : keys) {
        const int size = int(item.order.size());
        const int place = addKey(item, key);
        if (item.order.size() == size) {
            // Given before in this list, or in the account before it.
            if (place >= before || seen.testBit(place))
                continue;
            seen.setBit(place);
        }
        chosen.keys << key;
        chosen.places << place;
    }
    return chosen;
}

void EraseAccount::markSentBefore(int category, const QStringList &keys)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    for (const QString &key : keys) {
        const int place = addKey(item, key);
        if (item.stateAt(place) != KeyState::NotSent)
            continue; // answered already
        item.setState(place, KeyState::Sent);
        item.setSentBefore(place);
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
    item.setState(addKey(item, key), KeyState::NotSent);
    addReason(item.notSentReasons, reason);
}

void EraseAccount::markSent(int category, const QString &key, quint32 sequence)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    if (sequence <= 1)
        beginBatch(category, 0);
    // A key sent without being chosen is still accounted for.
    item.setState(addKey(item, key), KeyState::Sent);
    ++item.batchSent;
}

void EraseAccount::beginBatch(int category, int size)
{
    if (!validCategory(category))
        return;
    Item &item = m_items[category];
    item.batchSize = qMax(0, size);
    item.batchSent = 0;
    item.batchFailures = 0;
    item.batchUnnamed = 0;
    item.batchInDoubt = false;
}

void EraseAccount::markSentAt(int category, int place)
{
    if (!validCategory(category) || place < 0 || place >= m_items[category].order.size())
        return;
    Item &item = m_items[category];
    item.setState(place, KeyState::Sent);
    ++item.batchSent;
}

int EraseAccount::placeOf(int category, const QString &key) const
{
    return validCategory(category) ? m_items[category].index.find(key, m_items[category].order) : -1;
}

int EraseAccount::placeFor(int category, const QString &key)
{
    return validCategory(category) ? addKey(m_items[category], key) : -1;
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
    const int place = item.index.find(key, item.order);
    const KeyState was = place < 0 ? KeyState::NotSent : item.stateAt(place);
    if (was == KeyState::Sent || was == KeyState::Erased || was == KeyState::Unclear) {
        // A failure that names the key wins, also over a count that had
        // called it erased.
        item.setState(place, was == KeyState::Sent && item.sentBefore(place) ? KeyState::ResentFailed
                                                                               : KeyState::Failed);
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
    const int size = qMax(item.batchSize, item.batchSent);
    if (size > 0 && item.batchFailures >= size)
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
    const int unclear = item.inState[int(KeyState::Unclear)];
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
    const int n = item.inState[int(KeyState::Sent)];
    const bool inDoubt = item.batchInDoubt;
    item.batchSize = 0;
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
    // One pass over the states (a byte a key) finds the waiting keys.
    const int size = int(item.order.size());
    for (int place = 0, left = n; place < size && left > 0; ++place) {
        if (item.stateAt(place) != KeyState::Sent)
            continue;
        --left;
        item.setState(place, to == KeyState::Failed && item.sentBefore(place) ? KeyState::ResentFailed : to);
    }
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
        if (!item.earlierRun && item.notSentReasons.isEmpty() && item.inState[int(KeyState::NotSent)] > 0)
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
    const auto in = [&](KeyState s) { return item.inState[int(s)]; };
    n.chosen = int(item.order.size());
    n.notSent = in(KeyState::NotSent);
    n.sent = n.chosen - n.notSent;
    n.erased = in(KeyState::Erased) + item.bulkErased;
    n.failed = in(KeyState::Failed) + item.bulkFailed;
    n.resentFailed = in(KeyState::ResentFailed);
    n.notConfirmed = in(KeyState::Sent) + in(KeyState::ResentFailed) + in(KeyState::Unclear) - item.bulkErased
                     - item.bulkFailed;
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
    const int wanted = item.inState[int(state)];
    if (wanted == 0)
        return out;
    if (wanted == item.order.size())
        return item.order; // every key: shared, not copied
    out.reserve(wanted);
    for (int place = 0; place < item.order.size() && out.size() < wanted; ++place)
        if (item.stateAt(place) == state)
            out << item.order.at(place);
    return out;
}

EraseAccount::KeyState EraseAccount::state(int category, const QString &key) const
{
    if (!validCategory(category))
        return KeyState::NotSent;
    const Item &item = m_items[category];
    const int place = item.index.find(key, item.order);
    return place < 0 ? KeyState::NotSent : item.stateAt(place);
}

// ----- EraseBatches -----

// The two lists hold the same keys, in whatever order and however often.
bool EraseBatches::sameKeys(const QStringList &a, const QStringList &b)
{
    if (a.size() == b.size() && std::equal(a.cbegin(), a.cend(), b.cbegin()))
        return true; // the same batch again, as a resend after a cancel is
    proto::KeyIndex inA;
    inA.reserve(int(a.size()));
    for (int i = 0; i < a.size(); ++i)
        inA.insert(a, i);
    proto::KeyIndex inB;
    inB.reserve(int(b.size()));
    for (int i = 0; i < b.size(); ++i) {
        if (inA.find(b.at(i), a) < 0)
            return false;
        inB.insert(b, i);
    }
    return inA.size() == inB.size();
}

bool EraseBatches::sent(int category, quint64 run, const QStringList &keys)
{
    if (!validCategory(category))
        return false;
    Slot &slot = m_slots[category];
    // A batch given up on may still be answered: its answer would come
    // first, and nothing tells it from this batch's, unless both ask for
    // the same keys (then either answer tells of them).
    const bool inDoubt = (slot.givenUp || slot.open) && !sameKeys(slot.keys, keys);
    slot = Slot();
    slot.open = true;
    slot.inDoubt = inDoubt;
    slot.run = run;
    slot.size = int(keys.size());
    slot.keys = keys; // shared, not copied
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

} // namespace workflow
