#include "workflow/eraseverification.h"

#include "workflow/eraseplan.h"

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

void compare(EraseAccount &a, int category, const QStringList &listedKeys)
{
    const QSet<QString> listed(listedKeys.begin(), listedKeys.end());
    Verification::Category &v = a.verification().categories[category];
    v = Verification::Category();
    v.checkedList = true;
    const QStringList erased = a.keys(category, EraseAccount::KeyState::Erased);
    for (const QString &key : erased) {
        ++v.checked;
        if (listed.contains(key))
            v.stillPresent << key;
    }
    // Items answered for by counts alone: as many of them as the phone
    // called erased must be gone, whichever they are.
    const int countedErased = a.counts(category).erased - int(erased.size());
    if (countedErased > 0) {
        int gone = 0;
        for (const QString &key : a.keys(category, EraseAccount::KeyState::Unclear))
            if (!listed.contains(key))
                ++gone;
        v.checked += countedErased;
        v.stillCounted = std::max(0, countedErased - gone);
    }
    for (EraseAccount::KeyState s : {EraseAccount::KeyState::Failed, EraseAccount::KeyState::NotSent})
        for (const QString &key : a.keys(category, s))
            if (!listed.contains(key))
                ++v.failedNotListed;
}

void listFailed(EraseAccount &a, int category)
{
    Verification::Category &v = a.verification().categories[category];
    v = Verification::Category();
    v.checked = a.counts(category).erased;
}

void finish(EraseAccount &a, const QDateTime &nowUtc)
{
    Verification &v = a.verification();
    v.ranUtc = nowUtc.toUTC();
    QStringList unlisted;
    bool present = false;
    for (int c : categoriesToList(a)) {
        present = present || v.categories[c].stillListed() > 0;
        if (!v.categories[c].checkedList)
            unlisted << eraseplan::categoryDisplayName(c);
    }
    if (present) {
        v.status = Status::StillPresent;
        v.reason.clear();
    } else if (!unlisted.isEmpty()) {
        v.status = Status::CouldNotRun;
        v.reason = QStringLiteral("the phone could not list %1").arg(unlisted.join(QStringLiteral(", ")));
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

QString pageLine(const EraseAccount &a)
{
    const Verification &v = a.verification();
    switch (v.status) {
    case Status::NotApplicable:
        return QString();
    case Status::Pending:
        return QStringLiteral("Verification: waiting for the phone to restart...");
    case Status::Running:
        return QStringLiteral("Verification: looking for the erased items on the phone...");
    case Status::Verified: {
        int checked = 0;
        for (int c : categoriesToList(a))
            checked += v.categories[c].checked;
        return QStringLiteral("Verified: %1 of %1 erased %2 gone from the phone")
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
        return QStringLiteral("Verification could not run: %1").arg(v.reason);
    }
    return QString();
}

QString cellText(const EraseAccount &a, int category)
{
    const Verification &v = a.verification();
    if (v.status == Status::NotApplicable || !categoriesToList(a).contains(category))
        return QStringLiteral("-");
    const Verification::Category &c = v.categories[category];
    if (v.status == Status::Pending || v.status == Status::Running)
        return c.checkedList ? QStringLiteral("checked") : QStringLiteral("waiting");
    if (!c.checkedList)
        return QStringLiteral("not checked");
    if (c.stillListed() == 0)
        return QStringLiteral("all gone");
    return QStringLiteral("%1 still listed").arg(c.stillListed());
}

} // namespace eraseverification
