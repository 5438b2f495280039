#include "workflow/eraseverification.h"

#include "protocol/records.h"
#include "workflow/eraseplan.h"
#include "workflow/eraserecord.h"
#include "workflow/recordtext.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>

namespace workflow::eraseverification {

namespace {

// The report's words, in the user's language.
class Words
{
    Q_DECLARE_TR_FUNCTIONS(eraseverification)
};

} // namespace

QString scopeNote()
{
    return QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "Verification shows that the items are no longer listed "
                                                          "by the phone; it cannot show that their storage was "
                                                          "overwritten."));
}

void prepare(EraseAccount &a)
{
    Verification &v = a.verification();
    v = Verification();
    const EraseAccount::Outcome o = a.outcome();
    if (o != EraseAccount::Outcome::Completed && o != EraseAccount::Outcome::CompletedWithFailures) {
        v.reason = QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the erase did not finish"));
        return;
    }
    if (a.scope() == EraseType::All) {
        v.reason = QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "verification does not apply to an erase of all "
                                                                  "data; restore the phone to its factory settings "
                                                                  "to remove everything"));
        return;
    }
    if (categoriesToList(a).isEmpty()) {
        v.reason = QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the phone confirmed nothing erased"));
        return;
    }
    v.status = Status::Pending;
}

QVector<int> categoriesToList(const EraseAccount &a)
{
    QVector<int> out;
    for (int c = 0; c < CategoryCount; ++c)
        if (a.takesPart(c) && a.counts(c).erased > 0)
            out << c;
    return out;
}

PhoneMatch samePhone(const EraseAccount::Phone &erased, const QString &serialNow, const QString &linkSerialNow)
{
    int compared = 0;
    bool differs = false;
    const auto compare = [&](const QString &then, const QString &now) {
        if (then.trimmed().isEmpty() || now.trimmed().isEmpty())
            return;
        ++compared;
        differs = differs || then.trimmed() != now.trimmed();
    };
    compare(erased.appSerial, serialNow);
    compare(erased.linkSerial, linkSerialNow);
    if (differs)
        return PhoneMatch::Different;
    return compared > 0 ? PhoneMatch::Same : PhoneMatch::Unknown;
}

QString otherPhoneReason(PhoneMatch match)
{
    switch (match) {
    case PhoneMatch::Same:
        break;
    case PhoneMatch::Different:
        return QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "a different phone is connected"));
    case PhoneMatch::Unknown:
        return QStringLiteral(
            QT_TRANSLATE_NOOP("recordtext", "the serial number of the phone connected now cannot be read"));
    }
    return QString();
}

Listing fileListing(const QStringList &entries)
{
    Listing l;
    l.keys.reserve(entries.size());
    for (const QString &entry : entries) {
        const QString location = proto::entryLocation(entry);
        if (location.isEmpty())
            ++l.unreadable;
        else
            l.keys << location;
    }
    return l;
}

void compare(EraseAccount &a, int category, const Listing &listing)
{
    const QSet<QString> listed(listing.keys.begin(), listing.keys.end());
    // Files and app data are named by their path: the phone's storage may
    // not tell the case of a name, so a path listed in another case may be
    // the file looked for.
    const bool paths = eraserecord::keysAreLocations(category);
    QSet<QString> folded;
    if (paths)
        for (const QString &key : listing.keys)
            folded.insert(key.toCaseFolded());
    const auto inAnotherForm = [&](const QString &key) { return paths && folded.contains(key.toCaseFolded()); };

    Verification::Category &v = a.verification().categories[category];
    v = Verification::Category();
    v.listing = Verification::Category::Listing::Read;
    v.checkedList = true;
    v.unreadable = listing.unreadable;
    const QStringList erased = a.keys(category, EraseAccount::KeyState::Erased);
    for (const QString &key : erased) {
        ++v.checked;
        if (listed.contains(key))
            v.stillPresent << key;
        else if (inAnotherForm(key))
            v.otherForm << key;
    }
    // Items answered for by counts alone: as many of them as the phone
    // called erased must be gone, whichever they are.
    const int countedErased = a.counts(category).erased - int(erased.size());
    if (countedErased > 0) {
        int gone = 0;
        int maybeGone = 0;
        for (const QString &key : a.keys(category, EraseAccount::KeyState::Unclear)) {
            if (listed.contains(key))
                continue;
            if (inAnotherForm(key)) {
                v.otherForm << key;
                ++maybeGone;
            } else {
                ++gone;
            }
        }
        v.checked += countedErased;
        v.stillCounted = std::max(0, countedErased - gone - maybeGone);
    }
    for (EraseAccount::KeyState s : {EraseAccount::KeyState::Failed, EraseAccount::KeyState::NotSent})
        for (const QString &key : a.keys(category, s))
            if (!listed.contains(key))
                ++v.failedNotListed;
}

namespace {

void notListedWhole(EraseAccount &a, int category, Verification::Category::Listing listing)
{
    Verification::Category &v = a.verification().categories[category];
    v = Verification::Category();
    v.listing = listing;
    v.checked = a.counts(category).erased;
}

recordtext::Text entries(int n, const recordtext::Text &category)
{
    return n == 1 ? recordtext::text(QT_TRANSLATE_NOOP("recordtext", "1 %1 entry")).arg(category)
                  : recordtext::text(QT_TRANSLATE_N_NOOP("recordtext", "%n %1 entries"), n).arg(category);
}

// Why a category could not be checked whole; empty when it was. In English
// for the record, and in the user's words.
recordtext::Text notCheckedReason(const Verification::Category &v, int category)
{
    using Listing = Verification::Category::Listing;
    const recordtext::Text name{QLatin1String(eraseplan::categoryWord(category)),
                                eraseplan::categoryDisplayName(category)};
    switch (v.listing) {
    case Listing::NotListed:
    case Listing::Failed:
        return recordtext::text(QT_TRANSLATE_NOOP("recordtext", "the phone could not list %1")).arg(name);
    case Listing::Incomplete:
        return recordtext::text(QT_TRANSLATE_NOOP("recordtext", "the %1 list could not be read whole")).arg(name);
    case Listing::Read:
        break;
    }
    QList<recordtext::Text> parts;
    if (v.unreadable > 0)
        parts << recordtext::text(QT_TRANSLATE_NOOP("recordtext", "the phone listed %1 the check cannot read"))
                     .arg(entries(v.unreadable, name));
    if (!v.otherForm.isEmpty())
        parts << recordtext::text(QT_TRANSLATE_NOOP("recordtext", "the phone listed %1 in another form, which may "
                                                                  "be what was erased"))
                     .arg(entries(int(v.otherForm.size()), name));
    return recordtext::join(parts, QT_TRANSLATE_NOOP("recordtext", "; "));
}

} // namespace

void listFailed(EraseAccount &a, int category)
{
    notListedWhole(a, category, Verification::Category::Listing::Failed);
}

void listIncomplete(EraseAccount &a, int category)
{
    notListedWhole(a, category, Verification::Category::Listing::Incomplete);
}

void finish(EraseAccount &a, const QDateTime &nowUtc)
{
    Verification &v = a.verification();
    v.ranUtc = nowUtc.toUTC();
    QList<recordtext::Text> notChecked;
    bool present = false;
    for (int c : categoriesToList(a)) {
        present = present || v.categories[c].stillListed() > 0;
        const recordtext::Text why = notCheckedReason(v.categories[c], c);
        if (!why.english.isEmpty())
            notChecked << why;
    }
    if (present) {
        v.status = Status::StillPresent;
        v.reason.clear();
    } else if (!notChecked.isEmpty()) {
        v.status = Status::CouldNotCheck;
        v.reason = recordtext::keep(recordtext::join(notChecked, QT_TRANSLATE_NOOP("recordtext", "; ")));
    } else {
        v.status = Status::Verified;
        v.reason.clear();
    }
}

void couldNotRun(EraseAccount &a, const QString &reason, const QDateTime &nowUtc)
{
    Verification &v = a.verification();
    v.status = Status::CouldNotRun;
    v.reason = reason;
    v.ranUtc = nowUtc.toUTC();
}

QString statusText(Status status)
{
    switch (status) {
    case Status::NotApplicable:
        return QStringLiteral("not applicable");
    case Status::Pending:
        return QStringLiteral("pending");
    case Status::Running:
        return QStringLiteral("running");
    case Status::Verified:
        return QStringLiteral("verified");
    case Status::StillPresent:
        return QStringLiteral("verification failed");
    case Status::CouldNotRun:
        return QStringLiteral("could not run");
    case Status::CouldNotCheck:
        return QStringLiteral("could not check");
    }
    return QString();
}

QString headline(Status status)
{
    switch (status) {
    case Status::Verified:
        return Words::tr("Verified");
    case Status::StillPresent:
        return Words::tr("Verification failed");
    default:
        return Words::tr("Not verified");
    }
}

QString findingLine(const EraseAccount &a)
{
    const Verification &v = a.verification();
    switch (v.status) {
    case Status::NotApplicable:
        return QString();
    case Status::Pending:
        return Words::tr("waiting for the phone to restart...");
    case Status::Running:
        return Words::tr("looking for the erased items on the phone...");
    case Status::Verified: {
        int checked = 0;
        for (int c : categoriesToList(a))
            checked += v.categories[c].checked;
        return checked == 1 ? Words::tr("1 of 1 erased item is gone from the phone")
                            : Words::tr("%n of %n erased items are gone from the phone", nullptr, checked);
    }
    case Status::StillPresent: {
        QVector<int> cats = categoriesToList(a);
        std::stable_sort(cats.begin(), cats.end(), [&](int x, int y) {
            return v.categories[x].stillListed() > v.categories[y].stillListed();
        });
        QStringList parts;
        int total = 0;
        for (int c : cats) {
            const int n = v.categories[c].stillListed();
            if (n == 0)
                continue;
            total += n;
            parts << Words::tr("%1 %2").arg(eraseplan::categoryDisplayName(c)).arg(n);
        }
        return (total == 1 ? Words::tr("1 item reported erased is still on the phone: %1")
                           : Words::tr("%n items reported erased are still on the phone: %1", nullptr, total))
            .arg(parts.join(Words::tr(", ")));
    }
    case Status::CouldNotRun:
        return Words::tr("verification could not run: %1").arg(recordtext::shown(v.reason));
    case Status::CouldNotCheck:
        return recordtext::shown(v.reason);
    }
    return QString();
}

QString pageLine(const EraseAccount &a)
{
    const Verification &v = a.verification();
    const QString finding = findingLine(a);
    switch (v.status) {
    case Status::NotApplicable:
        return QString();
    case Status::Pending:
    case Status::Running:
        return Words::tr("Verification: %1").arg(finding);
    case Status::Verified:
        return Words::tr("Verified: %1").arg(finding);
    case Status::StillPresent:
        return finding;
    case Status::CouldNotRun:
        return Words::tr("Verification could not run: %1").arg(recordtext::shown(v.reason));
    case Status::CouldNotCheck:
        return Words::tr("Not verified: %1").arg(finding);
    }
    return QString();
}

QString cellText(const EraseAccount &a, int category)
{
    using Listing = Verification::Category::Listing;
    const Verification &v = a.verification();
    if (v.status == Status::NotApplicable || !categoriesToList(a).contains(category))
        return QStringLiteral("-");
    const Verification::Category &c = v.categories[category];
    if (v.status == Status::Pending || v.status == Status::Running)
        return c.listing != Listing::NotListed ? Words::tr("checked") : Words::tr("waiting");
    if (c.stillListed() > 0)
        return Words::tr("%n still listed", nullptr, c.stillListed());
    switch (c.listing) {
    case Listing::NotListed:
        return Words::tr("not checked");
    case Listing::Failed:
        return Words::tr("could not list");
    case Listing::Incomplete:
        return Words::tr("not read whole");
    case Listing::Read:
        break;
    }
    if (!c.checkedWhole())
        return Words::tr("could not check");
    return Words::tr("all gone");
}

} // namespace workflow::eraseverification
