#pragma once

#include "protocol/categories.h"
#include "protocol/keyindex.h"
#include "workflow/programstate.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

namespace workflow {

// The account of one erase run: per category the keys chosen, what became of
// each (sent, confirmed erased by the phone, failed, never sent), the run's
// scope, level, times, the phone and how the run ended. The erase run and the
// decoder's erase replies feed it; the report page and the erase record are
// made from it. A key counts as erased only once the companion app has
// confirmed it.
class EraseAccount
{
public:
    enum class Outcome { Running, Completed, CompletedWithFailures, Cancelled, Interrupted };

    enum class KeyState {
        NotSent,  // chosen, not (yet) sent
        Sent,     // sent, no answer yet
        Erased,   // the phone confirmed the batch and did not name this key as failed
        Failed,   // the phone named it as failed, or failed the whole batch
        Unclear,  // answered by counts that do not tell which keys they mean
        // Sent in an earlier run of the scan that was cancelled before the
        // phone answered it, and failed when sent again: the phone fails a
        // key it no longer has, so it may have been erased before the
        // cancel. Not confirmed either way.
        ResentFailed,
    };

    struct Phone
    {
        QString model;
        QString androidVersion;
        QString serial;
        QString phoneTotal;
        QString phoneFree;
        QString sdTotal;
        QString sdFree;
        // The serial number each source told for the run: the companion app
        // (its home info) and adb. They may differ, or be missing.
        QString appSerial;
        QString linkSerial;
    };

    // Per-category figures. chosen = erased + failed + notConfirmed + notSent.
    struct Counts
    {
        int chosen = 0;
        int sent = 0;
        int erased = 0;       // confirmed erased
        int failed = 0;
        int notConfirmed = 0; // sent, but no answer that confirms it
        int resentFailed = 0; // of notConfirmed: ResentFailed keys
        int notSent = 0;
        int notErased() const { return chosen - erased; }
    };

    // The check after the reboot that what the phone confirmed erased is no
    // longer listed by it (Private and App runs).
    struct Verification
    {
        enum class Status {
            NotApplicable, // an All run, or a run that confirmed nothing erased
            Pending,       // waiting for the phone to come back
            Running,
            Verified,      // every confirmed-erased key is gone from the lists
            StillPresent,  // some confirmed-erased keys are still listed
            CouldNotRun,   // the phone did not come back, another phone came, the user left
            // The lists came, but a category could not be checked whole: a
            // list failed or was cut at its bound, or held entries the check
            // cannot read or match to a key.
            CouldNotCheck,
        };
        struct Category
        {
            enum class Listing { NotListed, Failed, Incomplete, Read };
            Listing listing = Listing::NotListed;
            bool checkedList = false;  // the phone listed the category, read whole
            int checked = 0;           // confirmed-erased keys looked for
            QStringList stillPresent;  // of those, the keys still listed
            // Entries or records of the list whose key cannot be read: any
            // of them may be an item looked for.
            int unreadable = 0;
            // Keys looked for that are listed only in another form (another
            // case): the same file or not, the check cannot tell.
            QStringList otherForm;
            // Of the items the phone answered for by counts alone (it said
            // how many it erased, not which), how many more are still listed
            // than its counts allow: reported erased, yet not gone, unnamed.
            int stillCounted = 0;
            int failedNotListed = 0;   // failed or not sent, yet no longer listed
            int stillListed() const { return int(stillPresent.size()) + stillCounted; }
            // Every key looked for was found listed or found gone.
            bool checkedWhole() const { return checkedList && unreadable == 0 && otherForm.isEmpty(); }
        };
        Status status = Status::NotApplicable;
        QString reason;
        QDateTime ranUtc;
        Category categories[CategoryCount];
    };

    // Starts the account of a new run (every category emptied).
    void begin(EraseType scope, quint16 level, const Phone &phone, const QDateTime &startUtc);
    // A category of an earlier, cancelled run of the same scan keeps what the
    // phone said of its keys in this run's account: as a whole when it was
    // answered there and is not sent again, or, when this run sends it again,
    // only the keys the phone answered (the rest is what this run chooses:
    // a key chosen then and unticked since is no part of this run).
    void carryOver(int category, const EraseAccount &earlier, bool sentAgain);

    // The keys the run will send for a category, in sending order. Returns
    // each key given once (the first time it is given) with its place in
    // the account (a key already there keeps its place).
    struct Chosen
    {
        QStringList keys;
        QVector<int> places;
    };
    Chosen choose(int category, const QStringList &keys);
    // Chosen keys that an earlier, cancelled run of the scan sent without an
    // answer: sent, not confirmed, and a failure when this run sends them
    // again is ResentFailed.
    void markSentBefore(int category, const QStringList &keys);
    // A chosen category that the run leaves out as a whole (the reason is
    // written into the record).
    void leaveOut(int category, const QStringList &keys, const QString &reason);
    // The category's list was too long to be read whole (the phone holds
    // more than the run could choose): the category takes part, and the run
    // never counts as completed.
    void markListIncomplete(int category);
    // The category of the run's scope could not be read from the phone (it
    // answered its list request with a failure, or may not read it): the
    // phone may hold any amount of it, none of it was erased. It takes part,
    // and the run never counts as completed.
    void markListNotRead(int category, const QString &reason);
    // The phone announced `announced` records of the category and listed
    // `listed`: the record notes the difference.
    void noteListCount(int category, qint64 announced, qint64 listed);
    // A chosen key that cannot be sent (too long, no location).
    void markUnsendable(int category, const QString &key, const QString &reason);
    // A key written to the phone as item `sequence` (1-based) of its batch.
    void markSent(int category, const QString &key, quint32 sequence);
    // A batch of `size` items begins (it may be written in several slices):
    // its answer is matched against all of them. Then markSentAt for each
    // key as it is written, by its place (see choose).
    void beginBatch(int category, int size);
    void markSentAt(int category, int place);
    // The place of a key of the category (-1: not in the account).
    int placeOf(int category, const QString &key) const;
    // The place of a key, which is added (not sent) when it is not there.
    int placeFor(int category, const QString &key);
    // The batch just sent may be answered by the late answer of an earlier
    // batch the run gave up on: its counts confirm nothing, only the
    // failures that name its keys count.
    void markBatchInDoubt(int category);
    // An item-failed reply; `key` may be empty or unknown when the reply does
    // not name one of the batch's keys. A failure that names a key wins over
    // any count that called it erased.
    void noteItemFailed(int category, const QString &key);
    // The final answer of a batch: done and failed counts. Counts that
    // contradict each other (more done and failed than were sent) are read
    // as the smaller claim: at most as many as were sent less the failures
    // are erased, the rest is not confirmed.
    void noteAnswer(int category, quint32 done, quint32 failed);

    void end(Outcome outcome, const QDateTime &endUtc, const QString &reason = QString());
    // Completed or CompletedWithFailures, by the figures.
    Outcome finishedOutcome() const;

    bool isBegun() const { return m_startUtc.isValid(); }
    bool isOpen() const { return isBegun() && m_outcome == Outcome::Running; }
    Outcome outcome() const { return m_outcome; }
    QString endReason() const { return m_endReason; }
    EraseType scope() const { return m_scope; }
    quint16 level() const { return m_level; }
    const Phone &phone() const { return m_phone; }
    QDateTime startUtc() const { return m_startUtc; }
    QDateTime endUtc() const { return m_endUtc; }
    const Verification &verification() const { return m_verification; }
    Verification &verification() { return m_verification; }

    // The category was chosen for this run (or carried into it).
    bool takesPart(int category) const;
    bool listIncomplete(int category) const;
    // Why the category could not be read; empty when it was.
    QString listNotReadReason(int category) const;
    bool listNotRead(int category) const { return !listNotReadReason(category).isEmpty(); }
    // Records announced and listed, when they disagree (-1 otherwise).
    struct ListCount
    {
        qint64 announced = -1;
        qint64 listed = -1;
        bool disagrees() const { return announced >= 0; }
    };
    ListCount listCount(int category) const;
    // A batch of the category was in doubt: its counts confirmed nothing.
    bool answersInDoubt(int category) const;
    // Answered in an earlier, cancelled run and carried into this one.
    bool fromEarlierRun(int category) const;
    QDateTime earlierRunStartUtc(int category) const;
    // Why chosen keys of the category were not sent, one entry per reason.
    QStringList notSentReasons(int category) const;

    Counts counts(int category) const;
    Counts totals() const;
    // Keys of a category in one state, in the order they were chosen.
    QStringList keys(int category, KeyState state) const;
    KeyState state(int category, const QString &key) const;

private:
    static constexpr int StateCount = int(KeyState::ResentFailed) + 1;
    // A key's state, and whether an earlier, cancelled run of the scan sent
    // it without an answer, in one byte.
    static constexpr quint8 SentBeforeFlag = 0x80;
    struct Item
    {
        // The keys in the order they were chosen, their states (one byte a
        // key) and where each key is; the number of keys in each state is
        // kept as the states change, so figures are never counted afresh.
        QStringList order;
        QByteArray states;
        proto::KeyIndex index;
        int inState[StateCount] = {};
        bool takesPart = false;
        bool earlierRun = false;
        bool listIncomplete = false;
        QString notReadReason;
        ListCount listCount;
        bool inDoubt = false;    // some batch's counts could not be believed
        QDateTime earlierStartUtc;
        QStringList notSentReasons;
        // Answers given by counts alone, over keys left Unclear.
        int bulkErased = 0;
        int bulkFailed = 0;
        // The batch in progress.
        int batchSize = 0;       // items it holds (0: as many as were sent)
        int batchSent = 0;
        int batchFailures = 0;   // item-failed replies, named or not
        int batchUnnamed = 0;    // item-failed replies that named no sent key
        bool batchInDoubt = false;

        KeyState stateAt(int place) const { return KeyState(quint8(states.at(place)) & ~SentBeforeFlag); }
        bool sentBefore(int place) const { return quint8(states.at(place)) & SentBeforeFlag; }
        void setState(int place, KeyState s);
        void setSentBefore(int place);
    };
    static int addKey(Item &item, const QString &key);
    static void settleBatch(Item &item, int done, int unnamedFailures);
    static void keepBulkWithinUnclear(Item &item);

    EraseType m_scope = EraseType::Private;
    quint16 m_level = 0;
    Phone m_phone;
    QDateTime m_startUtc;
    QDateTime m_endUtc;
    Outcome m_outcome = Outcome::Running;
    QString m_endReason;
    Item m_items[CategoryCount];
    Verification m_verification;
};

// Which erase batch an answer of the companion app belongs to. The app
// answers each batch of a category once (one final answer, or an item-failed
// reply for every item), in the order the batches were sent. A cancel may cut
// the answer of a batch in progress off, or the answer may still come after
// the cancel's acknowledgement: a cancel waits for it a while and then gives
// the batch up. An answer belongs to the category's open batch, or, while
// none is open, to the batch given up last. A batch sent after one was given
// up is in doubt, unless it asks for the very same keys: the late answer of
// the earlier batch would come first and could not be told from its own.
class EraseBatches
{
public:
    struct Batch
    {
        bool known = false;   // the answer belongs to a batch
        bool givenUp = false; // ... one given up on
        bool inDoubt = false; // ... whose counts may be an earlier batch's
        quint64 run = 0;      // the run that sent it
    };
    // A batch of these keys sent by run `run`; returns whether it is in
    // doubt.
    bool sent(int category, quint64 run, const QStringList &keys);
    // The batch an answer of the category now arriving belongs to.
    Batch answerOwner(int category) const;
    // An item-failed reply of the category: true when it was the last item
    // of the batch, which is then over (no final answer follows).
    bool itemFailed(int category);
    // The final answer of the category's batch has come.
    void answered(int category);
    // Every open batch is given up on (a cancel, acknowledged or not).
    void giveUpOpen();
    bool anyOpen() const;
    bool isOpen(int category) const;
    // The connection ended: no answer of it can come any more.
    void clear();

private:
    struct Slot
    {
        bool open = false;
        bool givenUp = false;
        bool inDoubt = false;
        quint64 run = 0;
        int size = 0;
        int failures = 0;
        QStringList keys;
    };
    static bool sameKeys(const QStringList &a, const QStringList &b);
    Slot m_slots[CategoryCount];
};

} // namespace workflow
