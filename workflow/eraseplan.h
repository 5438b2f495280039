#pragma once

#include "protocol/categories.h"
#include "workflow/scanplan.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>

// Pure decisions of an erase run: the typed confirmation, the level, what each
// scope selects, the estimates, the step walk and the completion text.
namespace workflow::eraseplan {

// The typed word must be exactly "Erase": no trimming, case-sensitive.
bool isConfirmWord(const QString &typed);

// Level word for a level value: 10 "High", 7 "Medium", 3 "Low" (English:
// the erase record's JSON file and the log), and its label in the user's
// language.
const char *levelWord(quint16 level);
QString levelLabel(quint16 level);

// Title of the confirm page of a scope: it names what Erase Now erases.
QString confirmTitle(EraseType scope);

// The keys of a batch: the chosen keys the companion app has not answered
// in an earlier run since the scan, each once, in their order.
QStringList keysNotAnswered(const QStringList &chosen, const QSet<QString> &answered);

// App run: an app takes part when its box is checked, as a private category
// does when rows are ticked. One whose erase came back before a cancel is
// not sent again: its step passes at once and the run's account reports it
// as erased by the earlier run. `appChecked` is indexed Facebook..Whatsapp.
void selectApps(const bool appChecked[AppCategoryCount], bool selected[CategoryCount]);

// All run: every private category with scanned entries, every app with
// directory entries whose erase has not already come back.
void selectForAll(const int scannedCount[CategoryCount], const bool eraseBack[CategoryCount],
                  bool selected[CategoryCount]);

bool anySelected(const bool selected[CategoryCount], scanplan::CategoryRange range);

// Erase estimates of a run, always scaled from the left-time reply's values:
// the file categories and the apps take the level as a factor, the three text
// categories do not.
void scaledEraseTimes(const float fromReply[CategoryCount], quint16 level, float out[CategoryCount]);
float sum(const float values[CategoryCount], scanplan::CategoryRange range);

// One tick of the erase progress check. Walks the scope's steps in order that
// have not passed yet: an unselected or answered step adds its share and
// passes; then either the run stops for a pending cancel (returns true) or
// `sendStep` is called for the next step. The walk halts at the first step
// still waiting for its answer.
bool walkSteps(EraseType scope, const bool selected[CategoryCount], const bool eraseDone[CategoryCount],
               bool stepPassed[CategoryCount], bool cancelRequested, int &progress,
               const std::function<void(int category)> &sendStep,
               const std::function<void(int category)> &onPassed = {});

// Items of a category the companion app could not erase: the item-failed
// replies and the failed count of the final answer tell of the same items, so
// the larger of the two counts.
int failedItems(int itemFailReplies, int failedInAnswer);

// What the completion page says a finished run did, per category.
struct CompletionFigures
{
    EraseType scope = EraseType::Private;
    int erased = 0;                        // confirmed erased, all categories
    int notErased[CategoryCount] = {};     // failed, or never sent
    int notConfirmed[CategoryCount] = {};  // sent, no answer confirms them
    // Of those not confirmed: sent before a cancel without an answer, failed
    // when sent again; they may have been erased before the cancel.
    int resentFailed[CategoryCount] = {};
    bool incomplete[CategoryCount] = {};   // the list could not be read whole
    bool notRead[CategoryCount] = {};      // the list could not be read at all
};

// Text of the completion page. Only an All run that erased everything the
// phone listed says "All data on your device has been erased permanently!";
// any other run says how many items it erased, then names by category what
// could not be erased, what the phone did not confirm, and the lists that
// could not be read (whole), of which nothing is claimed erased.
QString completionText(const CompletionFigures &figures);

// A category's name: in English ("Contact", "Video", "WhatsApp"; the erase
// record's JSON file and the log) and in the user's language (the apps keep
// their names).
const char *categoryWord(int category);
QString categoryDisplayName(int category);

// Why a category of a scan could not be read: the phone answered its list
// request with a failure, or the companion app may not read it (its gate
// was closed). The reasons here are English, as the erase record keeps
// them; recordtext::shown() gives the user's words.
QString listRefusedReason();
QString listNotAllowedReason();
// Why a record listed more than once under its id is not sent.
QString ambiguousIdReason();

// Text of the notice shown when the companion app never acknowledges a
// cancel of a scan (erase false) or of an erase (erase true).
QString cancelNoAnswerText(bool erase);

} // namespace workflow::eraseplan
