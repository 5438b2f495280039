#include "workflow/eraseverification.h"

#include "protocol/records.h"
#include "workflow/eraseplan.h"
#include "workflow/eraserecord.h"

#include <QCoreApplication>
#include <QSet>
#include <algorithm>

namespace eraseverification {

QString scopeNote()
{
    return QStringLiteral("Verification shows that the items are no longer listed by the phone; it cannot show "
                          "that their storage was overwritten.");
}

void prepare(EraseAccount &a)
{
    Verification &v = a.verification();
    v = Verification();
    const EraseAccount::Outcome o = a.outcome();
    if (o != EraseAccount::Outcome::Completed && o != EraseAccount::Outcome::CompletedWithFailures) {
        v.reason = QStringLiteral("the erase did not finish");
        return;
    }
    if (a.scope() == EraseType::All) {
        v.reason = QStringLiteral("verification does not apply to an erase of all data; restore the phone to its "
                                  "factory settings to remove everything");
        return;
    }
    if (categoriesToList(a).isEmpty()) {
        v.reason = QStringLiteral("the phone confirmed nothing erased");
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
        return QCoreApplication::translate("eraseverification", "a different phone is connected");
    case PhoneMatch::Unknown:
        return QCoreApplication::translate("eraseverification",
                                           "the serial number of the phone connected now cannot be read");
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

QString entries(int n, const QString &category)
{
    return n == 1 ? QCoreApplication::translate("eraseverification", "1 %1 entry").arg(category)
                  : QCoreApplication::translate("eraseverification", "%1 %2 entries").arg(n).arg(category);
}

// Why a category could not be checked whole; empty when it was.
QString notCheckedReason(const Verification::Category &v, int category)
{
    using Listing = Verification::Category::Listing;
    const QString name = eraseplan::categoryDisplayName(category);
    switch (v.listing) {
    case Listing::NotListed:
    case Listing::Failed:
        return QStringLiteral("the phone could not list %1").arg(name);
    case Listing::Incomplete:
        return QCoreApplication::translate("eraseverification", "the %1 list could not be read whole").arg(name);
    case Listing::Read:
        break;
    }
    QStringList parts;
    if (v.unreadable > 0)
        parts << QCoreApplication::translate("eraseverification", "the phone listed %1 the check cannot read")
                     .arg(entries(v.unreadable, name));
    if (!v.otherForm.isEmpty())
        parts << QCoreApplication::translate("eraseverification",
                                             "the phone listed %1 in another form, which may be what was erased")
                     .arg(entries(int(v.otherForm.size()), name));
    return parts.join(QStringLiteral("; "));
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
    QStringList notChecked;
    bool present = false;
    for (int c : categoriesToList(a)) {
        present = present || v.categories[c].stillListed() > 0;
        const QString why = notCheckedReason(v.categories[c], c);
        if (!why.isEmpty())
            notChecked << why;
    }
    if (present) {
        v.status = Status::StillPresent;
        v.reason.clear();
    } else if (!notChecked.isEmpty()) {
        v.status = Status::CouldNotCheck;
        v.reason = notChecked.join(QStringLiteral("; "));
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
        return QStringLiteral("Verified");
    case Status::StillPresent:
        return QStringLiteral("Verification failed");
    default:
        return QStringLiteral("Not verified");
    }
}

QString findingLine(const EraseAccount &a)
{
    const Verification &v = a.verification();
    switch (v.status) {
    case Status::NotApplicable:
        return QString();
    case Status::Pending:
        return QStringLiteral("waiting for the phone to restart...");
    case Status::Running:
        return QStringLiteral("looking for the erased items on the phone...");
    case Status::Verified: {
        int checked = 0;
        for (int c : categoriesToList(a))
            checked += v.categories[c].checked;
        return QStringLiteral("%1 of %1 erased %2 gone from the phone")
            .arg(checked)
            .arg(checked == 1 ? QStringLiteral("item is") : QStringLiteral("items are"));
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
            parts << QStringLiteral("%1 %2").arg(eraseplan::categoryDisplayName(c)).arg(n);
        }
        return QStringLiteral("%1 %2 reported erased %3 still on the phone: %4")
            .arg(total)
            .arg(total == 1 ? QStringLiteral("item") : QStringLiteral("items"))
            .arg(total == 1 ? QStringLiteral("is") : QStringLiteral("are"))
            .arg(parts.join(QStringLiteral(", ")));
    }
    case Status::CouldNotRun:
        return QCoreApplication::translate("eraseverification", "verification could not run: %1").arg(v.reason);
    case Status::CouldNotCheck:
        return v.reason;
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
        return QStringLiteral("Verification: ") + finding;
    case Status::Verified:
        return QStringLiteral("Verified: ") + finding;
    case Status::StillPresent:
        return finding;
    case Status::CouldNotRun:
        return QStringLiteral("Verification could not run: %1").arg(v.reason);
    case Status::CouldNotCheck:
        return QCoreApplication::translate("eraseverification", "Not verified: %1").arg(finding);
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
        return c.listing != Listing::NotListed ? QStringLiteral("checked") : QStringLiteral("waiting");
    if (c.stillListed() > 0)
        return QStringLiteral("%1 still listed").arg(c.stillListed());
    switch (c.listing) {
    case Listing::NotListed:
        return QStringLiteral("not checked");
    case Listing::Failed:
        return QCoreApplication::translate("eraseverification", "could not list");
    case Listing::Incomplete:
        return QCoreApplication::translate("eraseverification", "not read whole");
    case Listing::Read:
        break;
    }
    if (!c.checkedWhole())
        return QCoreApplication::translate("eraseverification", "could not check");
    return QStringLiteral("all gone");
}

} // namespace eraseverification
