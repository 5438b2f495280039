#include "workflow/eraseaccount.h"
#include "workflow/eraserecord.h"
#include "workflow/recordwriter.h"
#include "workflow/eraseverification.h"
#include "protocol/records.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// The account of an erase run, the record made from it and the report texts,
// without a window.
namespace {

using namespace workflow;

using Outcome = EraseAccount::Outcome;

EraseAccount::Phone testPhone()
{
    return {QStringLiteral("Nimbus Z7"), QStringLiteral("9"),       QStringLiteral("R58N91XKQ2B"),
            QStringLiteral("32 GB"),     QStringLiteral("10.5 GB"), QStringLiteral("64 GB"),
            QStringLiteral("40.2 GB"),   QStringLiteral("R58N91XKQ2B"), QStringLiteral("R58N91XKQ2B")};
}

QDateTime at(int secs)
{
    return QDateTime(QDate(2026, 12, 1), QTime(10, 15, 2), Qt::UTC).addSecs(secs);
}

// Plays a run's events on the account, as the erase run and the decoder
// report them: "choose a b c", "sent a b c" (one batch, numbered from 1),
// "fail b" (item-failed reply; "fail -" names no key), "answer 2 1" (done,
// failed), "doubt" (the batch just sent is in doubt), "unsendable x",
// "end interrupted".
void play(EraseAccount &a, int category, const QStringList &events)
{
    for (const QString &event : events) {
        QStringList words = event.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString verb = words.takeFirst();
        if (verb == "choose") {
            a.choose(category, words);
        } else if (verb == "sent") {
            for (int i = 0; i < words.size(); ++i)
                a.markSent(category, words.at(i), quint32(i + 1));
        } else if (verb == "fail") {
            a.noteItemFailed(category, words.value(0) == "-" ? QString() : words.value(0));
        } else if (verb == "answer") {
            a.noteAnswer(category, words.at(0).toUInt(), words.at(1).toUInt());
        } else if (verb == "doubt") {
            a.markBatchInDoubt(category);
        } else if (verb == "unsendable") {
            a.markUnsendable(category, words.at(0), QStringLiteral("too long for a request"));
        } else if (verb == "end") {
            const Outcome o = words.at(0) == "cancelled"     ? Outcome::Cancelled
                              : words.at(0) == "interrupted" ? Outcome::Interrupted
                                                             : a.finishedOutcome();
            a.end(o, at(60), words.at(0) == "interrupted" ? QStringLiteral("the link to the phone was lost")
                                                          : QString());
        }
    }
}

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000))
        return QString();
    // Ligatures ("fi") come out as one character.
    return QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
}

} // namespace

class TestEraseRecord : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void figuresFollowTheAnswers_data();
    void figuresFollowTheAnswers();
    void answeredCategoryIsCarriedIntoTheNextRun();
    void runAfterCancelCountsWhatItChose_data();
    void runAfterCancelCountsWhatItChose();
    void jsonNamesIdsAndLocationsOfWhatWasNotErased();
    void reportTexts_data();
    void reportTexts();
    void verificationComparesWhatThePhoneStillLists_data();
    void verificationComparesWhatThePhoneStillLists();
    void verificationOfItemsAnsweredByCountsAlone_data();
    void verificationOfItemsAnsweredByCountsAlone();
    void verificationAppliesToFinishedPrivateAndAppRuns_data();
    void verificationAppliesToFinishedPrivateAndAppRuns();
    void listNotReadKeepsTheRunFromCompleting_data();
    void listNotReadKeepsTheRunFromCompleting();
    void listCountsThatDifferAreNoted();
    void answersBelongToTheirBatch_data();
    void answersBelongToTheirBatch();
    void verificationRunsOnTheSamePhoneOnly_data();
    void verificationRunsOnTheSamePhoneOnly();
    void recordIsWrittenAsJsonAndReadablePdf();
    void recordsNeverOverwriteEachOther();
    void folderThatCannotBeWrittenIsReported();
    void writerPutsTheLatestStateOnDisk();
    void jsonIsWrittenInSlicesAsQtWritesItWhole_data();
    void jsonIsWrittenInSlicesAsQtWritesItWhole();
};

void TestEraseRecord::figuresFollowTheAnswers_data()
{
    QTest::addColumn<QStringList>("events");
    // chosen, sent, erased, failed, not confirmed, not sent
    QTest::addColumn<QList<int>>("figures");
    QTest::addColumn<QStringList>("failedKeys");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("batch confirmed") << QStringList{"choose a b c", "sent a b c", "answer 3 0", "end done"}
                                     << QList<int>{3, 3, 3, 0, 0, 0} << QStringList{} << "completed";
    QTest::newRow("two named failures, then the answer")
        << QStringList{"choose a b c d", "sent a b c d", "fail b", "fail d", "answer 2 2", "end done"}
        << QList<int>{4, 4, 2, 2, 0, 0} << QStringList{"b", "d"} << "completed with failures";
    QTest::newRow("every item failed, no answer follows")
        << QStringList{"choose a b", "sent a b", "fail a", "fail b", "end done"} << QList<int>{2, 2, 0, 2, 0, 0}
        << QStringList{"a", "b"} << "completed with failures";
    QTest::newRow("failures that name no key")
        << QStringList{"choose a b", "sent a b", "fail -", "fail -", "end done"} << QList<int>{2, 2, 0, 2, 0, 0}
        << QStringList{"a", "b"} << "completed with failures";
    // Counts that cannot be tied to keys: only the numbers are believed.
    QTest::newRow("answer counts without names")
        << QStringList{"choose a b c d e", "sent a b c d e", "answer 3 2", "end done"}
        << QList<int>{5, 5, 3, 2, 0, 0} << QStringList{} << "completed with failures";
    QTest::newRow("answer confirms fewer than sent")
        << QStringList{"choose a b c", "sent a b c", "answer 1 0", "end done"} << QList<int>{3, 3, 1, 0, 2, 0}
        << QStringList{} << "completed with failures";
    QTest::newRow("key too long for a request")
        << QStringList{"choose a b", "unsendable b", "sent a", "answer 1 0", "end done"}
        << QList<int>{2, 1, 1, 0, 0, 1} << QStringList{} << "completed with failures";
    QTest::newRow("interrupted before the answer")
        << QStringList{"choose a b c", "sent a b c", "end interrupted"} << QList<int>{3, 3, 0, 0, 3, 0}
        << QStringList{} << "interrupted";
    QTest::newRow("cancelled before it was sent")
        << QStringList{"choose a b", "end cancelled"} << QList<int>{2, 0, 0, 0, 0, 2} << QStringList{} << "cancelled";
    // A batch cut short by a cancel is sent whole again by the next run.
    QTest::newRow("sent again") << QStringList{"choose a b", "sent a b", "sent a b", "fail a", "answer 1 1", "end done"}
                                << QList<int>{2, 2, 1, 1, 0, 0} << QStringList{"a"} << "completed with failures";
    // The phone fails an item without naming it, and counts the whole batch
    // as done as well: at most the batch less the failure is erased, the
    // rest is not confirmed.
    QTest::newRow("unnamed failure, counts that contradict it")
        << QStringList{"choose a b c", "sent a b c", "fail -", "answer 3 1", "end done"}
        << QList<int>{3, 3, 2, 0, 1, 0} << QStringList{} << "completed with failures";
    QTest::newRow("more done than sent, nothing failed")
        << QStringList{"choose a b c", "sent a b c", "answer 5 0", "end done"} << QList<int>{3, 3, 3, 0, 0, 0}
        << QStringList{} << "completed";
    // A failure that names a key wins over any count.
    QTest::newRow("named failure after the count that called it erased")
        << QStringList{"choose a b c", "sent a b c", "answer 3 0", "fail b", "end done"}
        << QList<int>{3, 3, 2, 1, 0, 0} << QStringList{"b"} << "completed with failures";
    QTest::newRow("named failure of an item answered by counts alone")
        << QStringList{"choose a b c d", "sent a b c d", "answer 2 2", "fail c", "end done"}
        << QList<int>{4, 4, 2, 2, 0, 0} << QStringList{"c"} << "completed with failures";
    // The answer may be the late answer of a batch given up on: only the
    // failures naming the batch's keys count.
    QTest::newRow("batch in doubt")
        << QStringList{"choose a b c", "sent a b c", "doubt", "fail b", "answer 2 1", "end done"}
        << QList<int>{3, 3, 0, 1, 2, 0} << QStringList{"b"} << "completed with failures";
    QTest::newRow("batch in doubt, every item failed unnamed")
        << QStringList{"choose a b", "sent a b", "doubt", "fail -", "fail -", "end done"}
        << QList<int>{2, 2, 0, 0, 2, 0} << QStringList{} << "completed with failures";
    QTest::newRow("a late answer still counts, the outcome stays")
        << QStringList{"choose a", "sent a", "end interrupted", "answer 1 0"} << QList<int>{1, 1, 1, 0, 0, 0}
        << QStringList{} << "interrupted";
}

void TestEraseRecord::figuresFollowTheAnswers()
{
    QFETCH(QStringList, events);
    QFETCH(QList<int>, figures);
    QFETCH(QStringList, failedKeys);
    QFETCH(QString, outcome);
    EraseAccount a;
    a.begin(EraseType::Private, 3, testPhone(), at(0));
    play(a, Photo, events);
    const EraseAccount::Counts n = a.counts(Photo);
    QCOMPARE((QList<int>{n.chosen, n.sent, n.erased, n.failed, n.notConfirmed, n.notSent}), figures);
    QCOMPARE(n.chosen, n.erased + n.failed + n.notConfirmed + n.notSent);
    QCOMPARE(a.keys(Photo, EraseAccount::KeyState::Failed), failedKeys);
    QCOMPARE(eraserecord::outcomeText(a.outcome()), outcome);
    QVERIFY(!a.takesPart(Contact));
    QCOMPARE(a.totals().erased, n.erased);
}

void TestEraseRecord::answeredCategoryIsCarriedIntoTheNextRun()
{
    EraseAccount first;
    first.begin(EraseType::All, 7, testPhone(), at(0));
    play(first, Contact, {"choose c1 c2", "sent c1 c2", "fail c2", "answer 1 1"});
    play(first, Photo, {"choose /p/1.jpg"});
    first.end(Outcome::Cancelled, at(10));
    QCOMPARE(eraserecord::erasedLine(first), QString("Erase cancelled: 1 of 3 items confirmed erased before the cancel"));

    EraseAccount next;
    next.begin(EraseType::All, 7, testPhone(), at(20));
    next.carryOver(Contact, first, false);
    play(next, Photo, {"choose /p/1.jpg", "sent /p/1.jpg", "answer 1 0", "end done"});
    QVERIFY(next.fromEarlierRun(Contact));
    QCOMPARE(next.earlierRunStartUtc(Contact), at(0));
    QVERIFY(!next.fromEarlierRun(Photo));
    // The whole erase is accounted for: the contact that failed before the
    // cancel keeps the run from being called clean.
    QCOMPARE(next.totals().chosen, 3);
    QCOMPARE(next.totals().erased, 2);
    QCOMPARE(next.outcome(), Outcome::CompletedWithFailures);
    QCOMPARE(next.keys(Contact, EraseAccount::KeyState::Failed), QStringList{"c2"});
}

void TestEraseRecord::runAfterCancelCountsWhatItChose_data()
{
    QTest::addColumn<QStringList>("cancelled");
    QTest::addColumn<QStringList>("chosenAgain");
    QTest::addColumn<QStringList>("next");
    // chosen, sent, erased, failed, not confirmed, not sent
    QTest::addColumn<QList<int>>("figures");
    QTest::addColumn<QStringList>("resentFailed");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("sent without an answer, confirmed when sent again")
        << QStringList{"choose a b", "sent a b", "end cancelled"} << QStringList{"a", "b"}
        << QStringList{"sent a b", "answer 2 0", "end done"} << QList<int>{2, 2, 2, 0, 0, 0} << QStringList{}
        << "completed";
    // The phone fails what it no longer has: maybe erased before the cancel.
    QTest::newRow("sent without an answer, named as failed when sent again")
        << QStringList{"choose a b c", "sent a b c", "end cancelled"} << QStringList{"a", "b", "c"}
        << QStringList{"sent a b c", "fail a", "fail c", "answer 1 2", "end done"}
        << QList<int>{3, 3, 1, 0, 2, 0} << QStringList{"a", "c"} << "completed with failures";
    QTest::newRow("sent without an answer, failed by counts when sent again")
        << QStringList{"choose a b", "sent a b", "end cancelled"} << QStringList{"a", "b"}
        << QStringList{"sent a b", "answer 0 2", "end done"} << QList<int>{2, 2, 0, 0, 2, 0}
        << QStringList{"a", "b"} << "completed with failures";
    // A new key in a category answered before: what the phone said stays.
    QTest::newRow("answered with a failure, a key ticked since")
        << QStringList{"choose a b", "sent a b", "fail b", "answer 1 1", "end cancelled"} << QStringList{"c"}
        << QStringList{"sent c", "fail c", "end done"} << QList<int>{3, 3, 1, 2, 0, 0} << QStringList{}
        << "completed with failures";
}

// A run after a cancel sends the category again with what the user chooses
// now: what the phone answered is carried, and a key sent without an answer
// that fails when sent again is not confirmed either way.
void TestEraseRecord::runAfterCancelCountsWhatItChose()
{
    QFETCH(QStringList, cancelled);
    QFETCH(QStringList, chosenAgain);
    QFETCH(QStringList, next);
    QFETCH(QList<int>, figures);
    QFETCH(QStringList, resentFailed);
    QFETCH(QString, outcome);
    EraseAccount first;
    first.begin(EraseType::Private, 3, testPhone(), at(0));
    play(first, Photo, cancelled);
    EraseAccount a;
    a.begin(EraseType::Private, 3, testPhone(), at(20));
    a.carryOver(Photo, first, true);
    a.choose(Photo, chosenAgain);
    QStringList sentBefore;
    for (const QString &key : chosenAgain)
        if (first.state(Photo, key) == EraseAccount::KeyState::Sent)
            sentBefore << key;
    a.markSentBefore(Photo, sentBefore);
    play(a, Photo, next);
    const EraseAccount::Counts n = a.counts(Photo);
    QCOMPARE((QList<int>{n.chosen, n.sent, n.erased, n.failed, n.notConfirmed, n.notSent}), figures);
    QCOMPARE(a.keys(Photo, EraseAccount::KeyState::ResentFailed), resentFailed);
    QCOMPARE(n.resentFailed, resentFailed.size());
    QCOMPARE(eraserecord::outcomeText(a.outcome()), outcome);
    QVERIFY(!a.fromEarlierRun(Photo));
    const QJsonObject photo = eraserecord::toJson(a, QStringLiteral("1.0"))["categories"].toArray()[0].toObject();
    QCOMPARE(photo["failed_when_sent_again"].toInt(), resentFailed.size());
    QCOMPARE(photo.contains("failed_when_sent_again_locations"), !resentFailed.isEmpty());
}

void TestEraseRecord::jsonNamesIdsAndLocationsOfWhatWasNotErased()
{
    EraseAccount a;
    a.begin(EraseType::All, 10, testPhone(), at(0));
    play(a, Contact, {"choose c1 c2 c3", "sent c1 c2 c3", "fail c3", "answer 2 1"});
    a.leaveOut(Message, {"m1", "m2"}, QStringLiteral("the default SMS app change was declined on the phone"));
    play(a, Photo, {"choose /sdcard/DCIM/a.jpg /sdcard/DCIM/b.jpg", "sent /sdcard/DCIM/a.jpg /sdcard/DCIM/b.jpg"});
    play(a, Twitter, {"choose /sdcard/Android/data/t/1.db"});
    a.end(Outcome::Interrupted, at(75), QStringLiteral("the link to the phone was lost"));

    const QJsonObject j = eraserecord::toJson(a, QStringLiteral("1.0"));
    QCOMPARE(j["program_version"].toString(), QString("1.0"));
    QCOMPARE(j["started_utc"].toString(), QString("2026-12-01T10:15:02Z"));
    QCOMPARE(j["ended_utc"].toString(), QString("2026-12-01T10:16:17Z"));
    QCOMPARE(j["phone"]["serial_number"].toString(), QString("R58N91XKQ2B"));
    QCOMPARE(j["phone"]["storage"]["sd_card_free"].toString(), QString("40.2 GB"));
    QCOMPARE(j["scope"].toString(), QString("all"));
    QCOMPARE(j["level"]["name"].toString(), QString("High"));
    QCOMPARE(j["level"]["value"].toInt(), 10);
    QCOMPARE(j["outcome"].toString(), QString("interrupted"));
    QCOMPARE(j["outcome_reason"].toString(), QString("the link to the phone was lost"));
    QCOMPARE(j["totals"]["chosen"].toInt(), 8);
    QCOMPARE(j["totals"]["confirmed_erased"].toInt(), 2);

    const QJsonArray cats = j["categories"].toArray();
    QCOMPARE(cats.size(), 4);
    const QJsonObject contact = cats[0].toObject();
    QCOMPARE(contact["category"].toString(), QString("Contact"));
    QCOMPARE(contact["failed_ids"].toArray(), QJsonArray{"c3"});
    QCOMPARE(contact["not_sent_ids"].toArray(), QJsonArray());
    const QJsonObject message = cats[1].toObject();
    QCOMPARE(message["not_sent"].toInt(), 2);
    QCOMPARE(message["not_sent_ids"].toArray(), (QJsonArray{"m1", "m2"}));
    QCOMPARE(message["not_sent_reasons"].toArray(),
             QJsonArray{"the default SMS app change was declined on the phone"});
    const QJsonObject photo = cats[2].toObject();
    QCOMPARE(photo["not_confirmed"].toInt(), 2);
    QCOMPARE(photo["not_confirmed_locations"].toArray(), (QJsonArray{"/sdcard/DCIM/a.jpg", "/sdcard/DCIM/b.jpg"}));
    QVERIFY(!photo.contains("not_confirmed_ids"));
    const QJsonObject twitter = cats[3].toObject();
    QCOMPARE(twitter["category"].toString(), QString("Twitter"));
    QCOMPARE(twitter["not_sent_locations"].toArray(), QJsonArray{"/sdcard/Android/data/t/1.db"});
    QCOMPARE(twitter["not_sent_reasons"].toArray(), QJsonArray{"the erase was interrupted before they were sent"});
}

void TestEraseRecord::reportTexts_data()
{
    QTest::addColumn<QStringList>("contactEvents");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("summary");
    QTest::newRow("clean") << QStringList{"choose a b", "sent a b", "answer 2 0", "end done"} << "Completed"
                           << "2 items erased permanently.";
    QTest::newRow("one failed") << QStringList{"choose a b", "sent a b", "fail a", "answer 1 1", "end done"}
                                << "Completed"
                                << "1 item erased permanently. 1 item could not be erased (Contact: 1).";
    QTest::newRow("interrupted")
        << QStringList{"choose a b c", "sent a b c", "answer 3 0", "end interrupted"} << "Erase interrupted"
        << "The erase was interrupted: the link to the phone was lost. The phone confirmed 3 of 5 chosen items as "
           "erased; the other 2 may still be on the phone.";
    QTest::newRow("cancelled") << QStringList{"choose a b c", "sent a b c", "answer 3 0", "end cancelled"}
                               << "Erase cancelled"
                               << "The erase was cancelled. Erased before the cancel: 3 of 5 chosen items "
                                  "(Contact: 3). Not confirmed erased: Photo: 2. Erase Now goes on with them.";
}

void TestEraseRecord::reportTexts()
{
    QFETCH(QStringList, contactEvents);
    QFETCH(QString, title);
    QFETCH(QString, summary);
    EraseAccount a;
    a.begin(EraseType::Private, 3, testPhone(), at(0));
    const bool clean = !contactEvents.last().contains("interrupted") && !contactEvents.last().contains("cancel");
    if (!clean)
        play(a, Photo, {"choose x y"});
    play(a, Contact, contactEvents);
    QCOMPARE(eraserecord::reportTitle(a), title);
    QCOMPARE(eraserecord::reportSummary(a), summary);
    const QVector<eraserecord::Row> rows = eraserecord::reportRows(a);
    QCOMPARE(rows.first().category, QString("Contact"));
    for (const eraserecord::Row &r : rows)
        QCOMPARE(r.chosen, r.erased + r.failed + r.notConfirmed);
}

void TestEraseRecord::verificationComparesWhatThePhoneStillLists_data()
{
    // What the phone lists after the reboot, per category ("-" for a list
    // answered with its failure reply).
    QTest::addColumn<QStringList>("contactsListed");
    QTest::addColumn<QStringList>("photosListed");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("photosStillThere");
    QTest::newRow("all gone") << QStringList{"c3", "c9"} << QStringList{"/p/b.jpg"} << "verified"
                              << "Verified: 4 of 4 erased items are gone from the phone" << QStringList{};
    QTest::newRow("one photo kept") << QStringList{"c3"} << QStringList{"/p/a.jpg", "/p/b.jpg"}
                                    << "verification failed"
                                    << "1 item reported erased is still on the phone: Photo 1"
                                    << QStringList{"/p/a.jpg"};
    QTest::newRow("most first") << QStringList{"c1"} << QStringList{"/p/a.jpg", "/p/b.jpg", "/p/c.jpg"}
                                << "verification failed"
                                << "3 items reported erased are still on the phone: Photo 2, Contact 1"
                                << QStringList{"/p/a.jpg", "/p/c.jpg"};
    QTest::newRow("photo list failed") << QStringList{} << QStringList{"-"} << "could not check"
                                       << "Not verified: the phone could not list Photo" << QStringList{};
    QTest::newRow("photo list cut at its bound")
        << QStringList{} << QStringList{"cut"} << "could not check"
        << "Not verified: the Photo list could not be read whole" << QStringList{};
    // What the pass cannot read or match is never taken as gone.
    QTest::newRow("an erased photo listed in another case")
        << QStringList{} << QStringList{"/p/A.JPG", "/p/b.jpg"} << "could not check"
        << "Not verified: the phone listed 1 Photo entry in another form, which may be what was erased"
        << QStringList{};
    QTest::newRow("a photo entry without a location")
        << QStringList{} << QStringList{"?", "/p/b.jpg"} << "could not check"
        << "Not verified: the phone listed 1 Photo entry the check cannot read" << QStringList{};
    QTest::newRow("found still there beats could not check")
        << QStringList{"c1"} << QStringList{"?", "?"} << "verification failed"
        << "1 item reported erased is still on the phone: Contact 1" << QStringList{};
}

void TestEraseRecord::verificationComparesWhatThePhoneStillLists()
{
    QFETCH(QStringList, contactsListed);
    QFETCH(QStringList, photosListed);
    QFETCH(QString, status);
    QFETCH(QString, line);
    QFETCH(QStringList, photosStillThere);
    EraseAccount a;
    a.begin(EraseType::Private, 3, testPhone(), at(0));
    play(a, Contact, {"choose c1 c2 c3", "sent c1 c2 c3", "fail c3", "answer 2 1"});
    play(a, Photo, {"choose /p/a.jpg /p/b.jpg /p/c.jpg", "sent /p/a.jpg /p/b.jpg /p/c.jpg", "fail /p/b.jpg",
                    "answer 2 1", "end done"});
    eraseverification::prepare(a);
    QCOMPARE(eraseverification::statusText(a.verification().status), QString("pending"));
    QCOMPARE(eraseverification::categoriesToList(a), (QVector<int>{Contact, Photo}));
    eraseverification::compare(a, Contact, {contactsListed, 0});
    if (photosListed == QStringList{"-"}) {
        eraseverification::listFailed(a, Photo);
    } else if (photosListed == QStringList{"cut"}) {
        eraseverification::listIncomplete(a, Photo);
    } else {
        eraseverification::Listing photos{photosListed, 0};
        photos.unreadable = int(photos.keys.removeAll("?"));
        eraseverification::compare(a, Photo, photos);
    }
    eraseverification::finish(a, at(300));

    QCOMPARE(eraseverification::statusText(a.verification().status), status);
    QCOMPARE(eraseverification::pageLine(a), line);
    QCOMPARE(a.verification().categories[Photo].stillPresent, photosStillThere);
    // A failed item the phone no longer lists is noted, not counted as erased.
    QCOMPARE(a.verification().categories[Contact].failedNotListed, contactsListed.contains("c3") ? 0 : 1);

    const QJsonObject j = eraserecord::toJson(a, "1.0");
    QCOMPARE(j["outcome"].toString(), status == "verified" ? QString("completed with failures, verified")
                                                           : QString("completed with failures"));
    QCOMPARE(j["verification"]["status"].toString(), status);
    QCOMPARE(j["verification"]["ran_utc"].toString(), QString("2026-12-01T10:20:02Z"));
    QVERIFY(j["verification"]["note"].toString().contains("cannot show that their storage was overwritten"));
    const QJsonObject photo = j["verification"]["categories"].toArray().at(1).toObject();
    QCOMPARE(photo["category"].toString(), QString("Photo"));
    QCOMPARE(photo["checked"].toInt(), 2);
    QCOMPARE(photo["listed"].toBool(), photosListed != QStringList{"-"} && photosListed != QStringList{"cut"});
    QCOMPARE(photo["could_not_check"].toBool(), photosListed.contains("?") || photosListed.contains("/p/A.JPG"));
    // The report's cell never says "all gone" of a category not checked.
    QCOMPARE(eraseverification::cellText(a, Photo) == "all gone", status == "verified");
    QCOMPARE(photo["still_present_locations"].toArray(), QJsonArray::fromStringList(photosStillThere));
    const QString headline = status == "verified" ? "Verified" : status == "verification failed" ? "Verification failed"
                                                                                                   : "Not verified";
    QVERIFY(eraserecord::outcomeLine(a).startsWith(headline + QString::fromUtf8(" \u2013 Erase completed")));
    // The page's title no longer says "Completed" above items still listed.
    QCOMPARE(eraserecord::reportTitle(a),
             status == "verification failed" ? QString("Erase not verified") : QString("Completed"));
    // The PDF says the status once.
    QString pdf = eraserecord::toHtml(a, "1.0");
    pdf.remove(QRegularExpression("<[^>]*>"));
    QVERIFY2(!pdf.contains("Verified: Verified") && !pdf.contains("Not verified: Not verified"), qPrintable(pdf));
}

// The phone answered a batch of three by counts alone (2 done, 1 failed,
// none named): two of the three, whichever, must be gone.
void TestEraseRecord::verificationOfItemsAnsweredByCountsAlone_data()
{
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("line");
    QTest::newRow("all gone") << QStringList{} << "verified"
                              << "Verified: 2 of 2 erased items are gone from the phone";
    QTest::newRow("one left, as the counts allow") << QStringList{"h2"} << "verified"
                                                   << "Verified: 2 of 2 erased items are gone from the phone";
    QTest::newRow("two left") << QStringList{"h1", "h3"} << "verification failed"
                              << "1 item reported erased is still on the phone: History 1";
    QTest::newRow("none gone") << QStringList{"h1", "h2", "h3"} << "verification failed"
                               << "2 items reported erased are still on the phone: History 2";
}

void TestEraseRecord::verificationOfItemsAnsweredByCountsAlone()
{
    QFETCH(QStringList, listed);
    QFETCH(QString, status);
    QFETCH(QString, line);
    EraseAccount a;
    a.begin(EraseType::Private, 3, testPhone(), at(0));
    play(a, History, {"choose h1 h2 h3", "sent h1 h2 h3", "answer 2 1", "end done"});
    QCOMPARE(a.counts(History).erased, 2);
    eraseverification::prepare(a);
    QCOMPARE(eraseverification::categoriesToList(a), QVector<int>{History});
    eraseverification::compare(a, History, {listed, 0});
    eraseverification::finish(a, at(300));
    QCOMPARE(eraseverification::statusText(a.verification().status), status);
    QCOMPARE(eraseverification::pageLine(a), line);
    const QJsonObject j = eraserecord::toJson(a, "1.0");
    const QJsonObject history = j["verification"]["categories"].toArray().at(0).toObject();
    QCOMPARE(history["checked"].toInt(), 2);
    QCOMPARE(history["still_present"].toInt(), a.verification().categories[History].stillCounted);
    QVERIFY(history["still_present_ids"].toArray().isEmpty());
}

void TestEraseRecord::verificationAppliesToFinishedPrivateAndAppRuns_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("reason");
    QTest::newRow("app run") << int(EraseType::App) << "done" << "pending" << "";
    QTest::newRow("all run") << int(EraseType::All) << "done" << "not applicable"
                             << "verification does not apply to an erase of all data; restore the phone to its "
                                "factory settings to remove everything";
    QTest::newRow("cancelled") << int(EraseType::App) << "cancelled" << "not applicable" << "the erase did not finish";
}

void TestEraseRecord::verificationAppliesToFinishedPrivateAndAppRuns()
{
    QFETCH(int, scope);
    QFETCH(QString, end);
    QFETCH(QString, status);
    QFETCH(QString, reason);
    EraseAccount a;
    a.begin(EraseType(scope), 3, testPhone(), at(0));
    play(a, Twitter, {"choose t1", "sent t1", "answer 1 0", "end " + end});
    eraseverification::prepare(a);
    QCOMPARE(eraseverification::statusText(a.verification().status), status);
    QCOMPARE(a.verification().reason, reason);
    const QJsonObject v = eraserecord::toJson(a, "1.0")["verification"].toObject();
    QCOMPARE(v["status"].toString(), status);
    QCOMPARE(v["reason"].toString(), reason);
    QCOMPARE(eraseverification::pageLine(a).isEmpty(), status == "not applicable");
}

void TestEraseRecord::listNotReadKeepsTheRunFromCompleting_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QString>("summary");
    QTest::newRow("all run") << int(EraseType::All)
                             << "2 items erased permanently. The phone did not let the program read Contact: "
                                "nothing of it was erased.";
    QTest::newRow("private run") << int(EraseType::Private)
                                 << "2 items erased permanently. The phone did not let the program read Contact: "
                                    "nothing of it was erased.";
}

// The phone answered the contact list with its failure reply: whatever else
// was erased, the run never says all data was erased, nor "completed".
void TestEraseRecord::listNotReadKeepsTheRunFromCompleting()
{
    QFETCH(int, scope);
    QFETCH(QString, summary);
    EraseAccount a;
    a.begin(EraseType(scope), 3, testPhone(), at(0));
    a.markListNotRead(Contact, QStringLiteral("the phone answered that it could not list them"));
    play(a, Photo, {"choose /p/a.jpg /p/b.jpg", "sent /p/a.jpg /p/b.jpg", "answer 2 0", "end done"});
    QCOMPARE(a.outcome(), Outcome::CompletedWithFailures);
    QCOMPARE(a.totals().chosen, 2);
    QCOMPARE(a.totals().erased, 2);
    QCOMPARE(eraserecord::reportSummary(a), summary);
    QCOMPARE(eraserecord::erasedLine(a),
             QString("Erase completed with failures: 2 of 2 items confirmed erased; not read from the phone: Contact"));
    const QVector<eraserecord::Row> rows = eraserecord::reportRows(a);
    QCOMPARE(rows.size(), 2);
    QVERIFY(rows.at(0).notRead);
    QCOMPARE(rows.at(0).category, QString("Contact"));
    QVERIFY(!rows.at(1).notRead);
    const QJsonObject j = eraserecord::toJson(a, "1.0");
    QCOMPARE(j["outcome"].toString(), QString("completed with failures"));
    const QJsonObject contact = j["categories"].toArray().at(0).toObject();
    QCOMPARE(contact["category"].toString(), QString("Contact"));
    QVERIFY(contact["list_not_read"].toBool());
    QCOMPARE(contact["list_not_read_reason"].toString(), QString("the phone answered that it could not list them"));
    QCOMPARE(contact["chosen"].toInt(), 0);
    QVERIFY(!j["categories"].toArray().at(1).toObject().contains("list_not_read"));
    QVERIFY(eraserecord::toHtml(a, "1.0").contains("Contact: could not be read from the phone"));
    // A run after a cancel keeps it.
    EraseAccount next;
    next.begin(EraseType(scope), 3, testPhone(), at(20));
    next.carryOver(Contact, a, false);
    QVERIFY(next.listNotRead(Contact));
}

void TestEraseRecord::listCountsThatDifferAreNoted()
{
    QVERIFY(proto::listCountAgrees(30, 30));
    QVERIFY(!proto::listCountAgrees(30, 31));
    QVERIFY(!proto::listCountAgrees(5, 0));
    QVERIFY(proto::listCountAgrees(-1, 7));        // nothing announced
    QVERIFY(proto::listCountAgrees(65535, 70000)); // the 16-bit count at its greatest
    QVERIFY(!proto::listCountAgrees(65535, 100));
    EraseAccount a;
    a.begin(EraseType::Private, 3, testPhone(), at(0));
    a.noteListCount(Message, 30, 31);
    play(a, Photo, {"choose /p/a.jpg", "sent /p/a.jpg", "answer 1 0", "end done"});
    QVERIFY(!a.takesPart(Message));
    const QJsonObject j = eraserecord::toJson(a, "1.0");
    QCOMPARE(j["list_counts_differ"].toArray(),
             (QJsonArray{QJsonObject{{"category", "Message"}, {"records_announced", 30}, {"records_listed", 31}}}));
    QVERIFY(eraserecord::toHtml(a, "1.0").contains("Message: the phone announced 30 records and listed 31"));
    QCOMPARE(a.outcome(), Outcome::Completed); // a note, not a failure
}

// Which batch an answer of the phone is taken for. Events: "send R a b c"
// (run R sends a batch of these keys), "give up", "fail" (an item-failed reply), "answer"
// (the final answer), "lost" (the connection ended). After each event the
// owner of the next answer: "-" none, "open R", "open R doubt",
// "given up R".
void TestEraseRecord::answersBelongToTheirBatch_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("owners");
    QTest::newRow("answered in order")
        << QStringList{"send 1 a b c", "answer", "send 1 d e", "answer"}
        << QStringList{"open 1", "-", "open 1", "-"};
    QTest::newRow("every item failed ends the batch")
        << QStringList{"send 1 a b", "fail", "fail", "fail"} << QStringList{"open 1", "open 1", "-", "-"};
    // The cancel gave the batch up; its answer comes later, before the next
    // run sends the category again: it is the cancelled run's.
    QTest::newRow("late answer before the next batch")
        << QStringList{"send 1 a b c", "give up", "answer", "send 2 a b d", "answer"}
        << QStringList{"open 1", "given up 1", "-", "open 2", "-"};
    // The next run sends the category while the given-up batch may still be
    // answered: whatever comes first cannot be told apart.
    QTest::newRow("next batch after one given up")
        << QStringList{"send 1 a b c", "give up", "send 2 a b c d", "answer", "answer", "send 2 e"}
        << QStringList{"open 1", "given up 1", "open 2 doubt", "-", "-", "open 2"};
    // ... unless it asks for the same keys: either answer tells of them.
    QTest::newRow("the same keys sent again after a give-up")
        << QStringList{"send 1 a b c", "give up", "send 2 c b a", "answer"}
        << QStringList{"open 1", "given up 1", "open 2", "-"};
    QTest::newRow("a new connection forgets every batch")
        << QStringList{"send 1 a b c", "give up", "lost", "send 2 a b"}
        << QStringList{"open 1", "given up 1", "-", "open 2"};
}

void TestEraseRecord::answersBelongToTheirBatch()
{
    QFETCH(QStringList, events);
    QFETCH(QStringList, owners);
    EraseBatches batches;
    QStringList got;
    for (const QString &event : events) {
        const QStringList w = event.split(' ');
        if (w.at(0) == "send")
            batches.sent(Photo, w.at(1).toULongLong(), w.mid(2));
        else if (event == "give up")
            batches.giveUpOpen();
        else if (event == "fail")
            batches.itemFailed(Photo);
        else if (event == "answer")
            batches.answered(Photo);
        else if (event == "lost")
            batches.clear();
        const EraseBatches::Batch b = batches.answerOwner(Photo);
        got << (!b.known    ? QStringLiteral("-")
                : b.givenUp ? QStringLiteral("given up %1").arg(b.run)
                            : QStringLiteral("open %1%2").arg(b.run).arg(b.inDoubt ? " doubt" : ""));
        QCOMPARE(batches.anyOpen(), got.last().startsWith("open"));
        QVERIFY(!batches.answerOwner(Contact).known); // each category has its own
    }
    QCOMPARE(got, owners);
}

void TestEraseRecord::verificationRunsOnTheSamePhoneOnly_data()
{
    QTest::addColumn<QString>("appSerialThen");
    QTest::addColumn<QString>("linkSerialThen");
    QTest::addColumn<QString>("appSerialNow");
    QTest::addColumn<QString>("linkSerialNow");
    QTest::addColumn<int>("match");
    using M = eraseverification::PhoneMatch;
    QTest::newRow("same phone") << "R58" << "R58" << "R58" << "R58" << int(M::Same);
    QTest::newRow("another phone") << "R58" << "R58" << "X11" << "X11" << int(M::Different);
    // The app and adb may tell different serial numbers of one phone: each is
    // compared with what it told before.
    QTest::newRow("sources differ, each the same") << "unknown" << "R58" << "unknown" << "R58" << int(M::Same);
    QTest::newRow("adb tells another phone") << "unknown" << "R58" << "unknown" << "X11" << int(M::Different);
    QTest::newRow("only the app's to compare") << "R58" << "" << "R58" << "X11" << int(M::Same);
    QTest::newRow("only the app's, another") << "R58" << "" << "X11" << "" << int(M::Different);
    QTest::newRow("nothing to compare") << "R58" << "" << "" << "R58" << int(M::Unknown);
}

void TestEraseRecord::verificationRunsOnTheSamePhoneOnly()
{
    QFETCH(QString, appSerialThen);
    QFETCH(QString, linkSerialThen);
    QFETCH(QString, appSerialNow);
    QFETCH(QString, linkSerialNow);
    QFETCH(int, match);
    EraseAccount::Phone phone = testPhone();
    phone.appSerial = appSerialThen;
    phone.linkSerial = linkSerialThen;
    const auto m = eraseverification::samePhone(phone, appSerialNow, linkSerialNow);
    QCOMPARE(int(m), match);
    QCOMPARE(eraseverification::otherPhoneReason(m).isEmpty(), m == eraseverification::PhoneMatch::Same);
    if (m == eraseverification::PhoneMatch::Different) {
        EraseAccount a;
        a.begin(EraseType::Private, 3, phone, at(0));
        play(a, Photo, {"choose /p/a.jpg", "sent /p/a.jpg", "answer 1 0", "end done"});
        eraseverification::prepare(a);
        eraseverification::couldNotRun(a, eraseverification::otherPhoneReason(m), at(100));
        QCOMPARE(eraseverification::pageLine(a), QString("Verification could not run: a different phone is connected"));
        const QJsonObject j = eraserecord::toJson(a, "1.0");
        QCOMPARE(j["verification"]["reason"].toString(),
                 QString("a different phone is connected"));
    }
}

void TestEraseRecord::recordIsWrittenAsJsonAndReadablePdf()
{
    QTemporaryDir dir;
    EraseAccount a;
    a.begin(EraseType::Private, 7, testPhone(), at(0));
    play(a, Contact, {"choose c1 c2", "sent c1 c2", "answer 2 0"});
    play(a, Photo, {"choose /sdcard/DCIM/Camera/IMG_1.jpg /sdcard/DCIM/Camera/IMG_2.jpg",
                    "sent /sdcard/DCIM/Camera/IMG_1.jpg /sdcard/DCIM/Camera/IMG_2.jpg",
                    "fail /sdcard/DCIM/Camera/IMG_2.jpg", "answer 1 1", "end done"});
    // PURGATEX_RECORD_SAMPLES names a folder that keeps the record for a look.
    const QString folder = qEnvironmentVariableIsSet("PURGATEX_RECORD_SAMPLES")
                               ? qEnvironmentVariable("PURGATEX_RECORD_SAMPLES")
                               : dir.filePath("records/nested");
    QFile::remove(QDir(folder).filePath("erase-20261201-101502Z-R58N91XKQ2B.json"));
    QFile::remove(QDir(folder).filePath("erase-20261201-101502Z-R58N91XKQ2B.pdf"));
    const QString base = eraserecord::uniqueBaseName(folder, a);
    QCOMPARE(base, QString("erase-20261201-101502Z-R58N91XKQ2B"));
    const eraserecord::Written w = eraserecord::write(folder, base, a, "1.0");
    QVERIFY2(w.ok(), qPrintable(w.error));
    QCOMPARE(QFileInfo(w.pdfPath).fileName(), base + ".pdf");

    QFile json(w.jsonPath);
    QVERIFY(json.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonDocument written = QJsonDocument::fromJson(json.readAll(), &error);
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
    // The whole record, as a reader of the file gets it: the run's figures
    // per category and in all, only the location that was not erased, the
    // phone, the level, the times and the verification that does not apply.
    const QJsonDocument expected = QJsonDocument::fromJson(R"({
        "record": "Purgatex for Android erase record",
        "format_version": 1,
        "program_version": "1.0",
        "started_utc": "2026-12-01T10:15:02Z",
        "ended_utc": "2026-12-01T10:16:02Z",
        "phone": {
            "model": "Nimbus Z7", "android_version": "9", "serial_number": "R58N91XKQ2B",
            "storage": {"phone_total": "32 GB", "phone_free": "10.5 GB",
                        "sd_card_total": "64 GB", "sd_card_free": "40.2 GB"}
        },
        "scope": "private",
        "level": {"name": "Medium", "value": 7},
        "outcome": "completed with failures",
        "totals": {"chosen": 4, "sent": 4, "confirmed_erased": 3, "failed": 1,
                   "failed_when_sent_again": 0, "not_confirmed": 0, "not_sent": 0},
        "verification": {
            "status": "not applicable",
            "note": "Verification shows that the items are no longer listed by the phone; it cannot show that their storage was overwritten."
        },
        "categories": [
            {"category": "Contact", "chosen": 2, "sent": 2, "confirmed_erased": 2, "failed": 0,
             "failed_when_sent_again": 0, "not_confirmed": 0, "not_sent": 0,
             "failed_ids": [], "not_sent_ids": []},
            {"category": "Photo", "chosen": 2, "sent": 2, "confirmed_erased": 1, "failed": 1,
             "failed_when_sent_again": 0, "not_confirmed": 0, "not_sent": 0,
             "failed_locations": ["/sdcard/DCIM/Camera/IMG_2.jpg"], "not_sent_locations": []}
        ]
    })");
    QVERIFY(expected.isObject());
    QCOMPARE(written.object(), expected.object());
    // No temporary files are left beside the record.
    QCOMPARE(QDir(folder).entryList({"*" + base + "*"}, QDir::Files | QDir::Hidden).size(), 2);

    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    const QString text = pdfText(w.pdfPath);
    const QString firstLine = text.trimmed().section(QLatin1Char('\n'), 0, 0).simplified();
    QCOMPARE(firstLine, QString::fromUtf8("Not verified \u2013 Erase completed with failures: 3 of 4 items confirmed erased"));
    for (const char *expected : {"R58N91XKQ2B", "Nimbus Z7", "2026-12-01 10:15:02 UTC", "Medium (7)",
                                 "/sdcard/DCIM/Camera/IMG_2.jpg", "completed with failures"})
        QVERIFY2(text.contains(QLatin1String(expected)), expected);
    QVERIFY(!text.contains("IMG_1.jpg")); // only what was not erased is named
    QRegularExpression photoRow(QStringLiteral("Photo\\s+2\\s+2\\s+1\\s+1\\s+0\\s+0"));
    QVERIFY2(photoRow.match(text).hasMatch(), qPrintable(text));
}

void TestEraseRecord::recordsNeverOverwriteEachOther()
{
    QTemporaryDir dir;
    EraseAccount a;
    a.begin(EraseType::App, 3, testPhone(), at(0));
    play(a, Twitter, {"choose t1", "sent t1", "answer 1 0", "end done"});
    QStringList bases;
    for (int i = 0; i < 3; ++i) {
        const QString base = eraserecord::uniqueBaseName(dir.path(), a);
        QVERIFY(eraserecord::write(dir.path(), base, a, "1.0").ok());
        bases << base;
    }
    QCOMPARE(bases, (QStringList{"erase-20261201-101502Z-R58N91XKQ2B", "erase-20261201-101502Z-R58N91XKQ2B-2",
                                 "erase-20261201-101502Z-R58N91XKQ2B-3"}));
    // A serial number is never a path.
    EraseAccount odd;
    EraseAccount::Phone phone = testPhone();
    phone.serial = QStringLiteral("../..\\x y");
    odd.begin(EraseType::App, 3, phone, at(0));
    QCOMPARE(eraserecord::baseName(odd), QString("erase-20261201-101502Z-______x_y"));
}

void TestEraseRecord::folderThatCannotBeWrittenIsReported()
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath("records"));
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    EraseAccount a;
    a.begin(EraseType::App, 3, testPhone(), at(0));
    play(a, Twitter, {"choose t1", "end cancelled"});
    const QString folder = dir.filePath("records");
    const eraserecord::Written w = eraserecord::write(folder, eraserecord::baseName(a), a, "1.0");
    QVERIFY(!w.ok());
    QVERIFY(!QFileInfo::exists(w.pdfPath));
    const QString line = eraserecord::recordLine(w, folder);
    QVERIFY2(line.startsWith(QStringLiteral("The erase record could not be saved in %1").arg(QDir::toNativeSeparators(folder))),
             qPrintable(line));
}

// The window asks for the record again as the run's account changes (the
// end, a late answer, the check after the reboot) while the writer's thread
// may still be writing the last one: what ends up on disk is the account as
// it was asked for last, never an older state written after it.
void TestEraseRecord::writerPutsTheLatestStateOnDisk()
{
    QTemporaryDir dir;
    EraseAccount a;
    a.begin(EraseType::App, 3, testPhone(), at(0));
    play(a, Twitter, {"choose t1 t2 t3", "sent t1 t2 t3"});
    const QString base = eraserecord::uniqueBaseName(dir.path(), a);
    // A name given to a record not on disk yet is not given again.
    QCOMPARE(eraserecord::uniqueBaseName(dir.path(), a, {QDir(dir.path()).filePath(base)}), base + "-2");

    QSharedPointer<RecordWriter> writer = RecordWriter::create();
    QStringList reports;
    int idle = 0;
    writer->done = [&](const eraserecord::Written &w) { reports << (w.ok() ? w.jsonPath : w.error); };
    writer->idle = [&] { ++idle; };
    writer->write(dir.path(), base, a, "1.0");
    QVERIFY(writer->busy());
    a.noteItemFailed(Twitter, "t2");
    writer->write(dir.path(), base, a, "1.0");
    a.noteAnswer(Twitter, 2, 1);
    a.end(a.finishedOutcome(), at(60));
    writer->write(dir.path(), base, a, "1.0"); // replaces the one still waiting
    QTRY_VERIFY(!writer->busy());
    QCOMPARE(idle, 1);
    const QString path = QDir(dir.path()).filePath(base + ".json");
    QCOMPARE(reports, (QStringList{path, path}));
    QFile json(reports.last());
    QVERIFY(json.open(QIODevice::ReadOnly));
    QCOMPARE(QJsonDocument::fromJson(json.readAll()).object(), eraserecord::toJson(a, "1.0"));

    // A writer let go of while it writes (the window closed) finishes the
    // record; nobody is told.
    writer->write(dir.path(), base + "-2", a, "1.0");
    writer->done = nullptr;
    writer->idle = nullptr;
    writer.reset();
    QTRY_VERIFY(QFileInfo::exists(QDir(dir.path()).filePath(base + "-2.pdf")));
    QCOMPARE(reports.size(), 2);

    // Before the program ends, what is being written and what waits are on
    // disk at once, without the event loop turning again.
    QSharedPointer<RecordWriter> last = RecordWriter::create();
    last->write(dir.path(), base + "-3", a, "1.0");
    last->write(dir.path(), base + "-4", a, "1.0"); // waits for the first
    last->finishNow(30000);
    for (const QString &name : {base + "-3", base + "-4"}) {
        QVERIFY2(QFileInfo::exists(QDir(dir.path()).filePath(name + ".json")), qPrintable(name));
        QVERIFY2(QFileInfo::exists(QDir(dir.path()).filePath(name + ".pdf")), qPrintable(name));
    }
}

// The JSON file is written a slice of keys at a time (a record of half a
// million ids is never held whole); its bytes are those of the whole record
// written by QJsonDocument, whatever the keys hold and wherever a slice ends.
void TestEraseRecord::jsonIsWrittenInSlicesAsQtWritesItWhole_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QStringList>("keys"); // chosen
    QTest::addColumn<int>("sent");         // the first ones sent
    QTest::addColumn<QStringList>("failed");
    QTest::addColumn<bool>("answered");    // the batch answered (the rest failed), or the run interrupted

    const auto numbered = [](int n) {
        QStringList keys;
        for (int i = 1; i <= n; ++i)
            keys << QStringLiteral("m%1").arg(i);
        return keys;
    };
    QTest::newRow("every key erased") << int(Twitter) << QStringList{"/data/t1"} << 1 << QStringList() << true;
    QTest::newRow("nothing sent") << int(Contact) << QStringList{"c1", "c2"} << 0 << QStringList() << false;
    QTest::newRow("keys that JSON escapes")
        << int(Photo)
        << QStringList{"/a\"b.jpg", "/back\\slash.jpg", "/tab\tnew\nline\r.jpg", QString("/ctl\x01\x1f.jpg"),
                       QString::fromUtf8("/\xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80.jpg"),
                       QString("/lone") + QChar(0xD800) + QString(".jpg"), "/\"purgatex-key-list-0-0\".jpg",
                       "/ ],\n    [.jpg"}
        << 4 << QStringList{"/a\"b.jpg", "/back\\slash.jpg"} << true;
    QTest::newRow("a slice exactly") << int(Message) << numbered(4096) << 0 << QStringList() << false;
    QTest::newRow("one key more than a slice") << int(Message) << numbered(4097) << 0 << QStringList() << false;
    QTest::newRow("several slices in several lists")
        << int(Message) << numbered(10000) << 5001 << QStringList{"m2", "m4097", "m5000"} << false;
    QTest::newRow("failed and not sent after an answer")
        << int(History) << numbered(9000) << 8193 << QStringList{"m1", "m8193"} << true;
}

void TestEraseRecord::jsonIsWrittenInSlicesAsQtWritesItWhole()
{
    QFETCH(int, category);
    QFETCH(QStringList, keys);
    QFETCH(int, sent);
    QFETCH(QStringList, failed);
    QFETCH(bool, answered);

    EraseAccount a;
    EraseAccount::Phone phone = testPhone();
    phone.model = QStringLiteral("Nimbus \"Z7\"\n");
    a.begin(category >= FirstAppCategory ? EraseType::App : EraseType::Private, 7, phone, at(0));
    if (category != Contact)
        play(a, Contact, {"choose c7", "sent c7", "answer 1 0"});
    a.choose(category, keys);
    for (int i = 0; i < sent; ++i)
        a.markSent(category, keys.at(i), quint32(i + 1));
    for (const QString &key : failed)
        a.noteItemFailed(category, key);
    if (answered) {
        a.noteAnswer(category, quint32(sent - failed.size()), quint32(failed.size()));
        a.end(a.finishedOutcome(), at(60));
    } else {
        a.end(Outcome::Interrupted, at(60), QStringLiteral("the link to the phone was lost"));
    }

    const QByteArray whole = QJsonDocument(eraserecord::toJson(a, "1.0")).toJson(QJsonDocument::Indented);
    QBuffer sliced;
    QVERIFY(sliced.open(QIODevice::WriteOnly));
    QVERIFY(eraserecord::writeJson(&sliced, a, "1.0"));
    QCOMPARE(sliced.data(), whole);

    QTemporaryDir dir;
    const eraserecord::Written w = eraserecord::write(dir.path(), "r", a, "1.0");
    QVERIFY2(w.ok(), qPrintable(w.error));
    QFile onDisk(w.jsonPath);
    QVERIFY(onDisk.open(QIODevice::ReadOnly));
    QCOMPARE(onDisk.readAll(), whole);
}

QTEST_MAIN(TestEraseRecord)
#include "tst_eraserecord.moc"
