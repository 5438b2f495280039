#include "workflow/eraserecord.h"

#include "workflow/eraseplan.h"
#include "workflow/eraseverification.h"
#include "workflow/recordtext.h"
#include "workflow/scanplan.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPageLayout>
#include <QRandomGenerator>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <functional>

namespace workflow::eraserecord {

namespace {

using KeyState = EraseAccount::KeyState;

// The words of the report and the PDF, in the user's language (the JSON file
// stays English).
class Words
{
    Q_DECLARE_TR_FUNCTIONS(eraserecord)
};

QString isoUtc(const QDateTime &t)
{
    return t.isValid() ? t.toUTC().toString(Qt::ISODate) : QString();
}

QString readableUtc(const QDateTime &t)
{
    return t.isValid() ? t.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss 'UTC'")) : QStringLiteral("-");
}

// Counted things: "1 chosen item", "12 chosen items".
QString chosenItems(int n)
{
    return n == 1 ? Words::tr("1 chosen item") : Words::tr("%n chosen items", nullptr, n);
}

// The English name of a category, as the JSON file gives it.
QString categoryKey(int category)
{
    return QLatin1String(eraseplan::categoryWord(category));
}

// The lists of keys a record names: everything that was not confirmed erased.
struct KeyList
{
    KeyState state;
    const char *jsonStem; // "failed" -> "failed_ids" / "failed_locations"
    const char *heading; // translated by the PDF
};
const KeyList kKeyLists[] = {
    {KeyState::Failed, "failed", QT_TRANSLATE_NOOP("eraserecord", "Failed")},
    {KeyState::Sent, "not_confirmed", QT_TRANSLATE_NOOP("eraserecord", "Sent, not confirmed")},
    {KeyState::Unclear, "answered_by_count_only", QT_TRANSLATE_NOOP("eraserecord", "Answered by count only")},
    {KeyState::ResentFailed, "failed_when_sent_again",
     QT_TRANSLATE_NOOP("eraserecord", "Sent before the cancel without an answer, failed when sent again (may have "
                                      "been erased before the cancel)")},
    {KeyState::NotSent, "not_sent", QT_TRANSLATE_NOOP("eraserecord", "Not sent")},
};

QString listName(int category, const char *stem)
{
    return QLatin1String(stem) + (keysAreLocations(category) ? QStringLiteral("_locations") : QStringLiteral("_ids"));
}

QJsonObject countsJson(const EraseAccount::Counts &n)
{
    return QJsonObject{{QStringLiteral("chosen"), n.chosen},
                       {QStringLiteral("sent"), n.sent},
                       {QStringLiteral("confirmed_erased"), n.erased},
                       {QStringLiteral("failed"), n.failed},
                       {QStringLiteral("not_confirmed"), n.notConfirmed},
                       {QStringLiteral("failed_when_sent_again"), n.resentFailed},
                       {QStringLiteral("not_sent"), n.notSent}};
}

QString storageText(const QString &total, const QString &free)
{
    if (total.isEmpty() && free.isEmpty())
        return QStringLiteral("-");
    return Words::tr("%1 total, %2 free").arg(total.isEmpty() ? QStringLiteral("?") : total,
                                                free.isEmpty() ? QStringLiteral("?") : free);
}

QString esc(const QString &text)
{
    return text.toHtmlEscaped();
}

// The document laid out on A4 pages (at 96 dots per inch, 2 cm margins), its
// first line, the outcome, made small enough to stay one line.
void layOutOnA4(QTextDocument &document, const QString &html)
{
    constexpr qreal dotsPerMm = 96 / 25.4;
    document.setDocumentMargin(20 * dotsPerMm);
    document.setPageSize(QSizeF(210 * dotsPerMm, 297 * dotsPerMm));
    document.setHtml(html);
    const QTextBlock first = document.firstBlock();
    QTextCursor cursor(first);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    for (int points = 13; points > 6; --points) {
        QTextCharFormat size;
        size.setFontPointSize(points);
        cursor.mergeCharFormat(size);
        document.pageCount(); // lays the document out
        if (first.layout() && first.layout()->lineCount() <= 1)
            break;
    }
}

QJsonObject verificationJson(const EraseAccount &a)
{
    using namespace eraseverification;
    const Verification &v = a.verification();
    QJsonObject j{{QStringLiteral("status"), statusText(v.status)}, {QStringLiteral("note"), scopeNote()}};
    if (!v.reason.isEmpty())
        j.insert(QStringLiteral("reason"), v.reason);
    if (v.ranUtc.isValid())
        j.insert(QStringLiteral("ran_utc"), isoUtc(v.ranUtc));
    if (v.status == Status::NotApplicable || v.status == Status::Pending)
        return j;
    QJsonArray categories;
    for (int c : categoriesToList(a)) {
        const Verification::Category &vc = v.categories[c];
        QJsonObject entry{{QStringLiteral("category"), categoryKey(c)},
                          {QStringLiteral("listed"), vc.checkedList},
                          {QStringLiteral("checked"), vc.checked},
                          {QStringLiteral("still_present"), vc.stillListed()},
                          {listName(c, "still_present"), QJsonArray::fromStringList(vc.stillPresent)},
                          {QStringLiteral("still_present_unnamed"), vc.stillCounted},
                          {QStringLiteral("failed_or_not_sent_but_not_listed"), vc.failedNotListed}};
        if (vc.listing == Verification::Category::Listing::Incomplete)
            entry.insert(QStringLiteral("list_incomplete"), true);
        if (vc.checkedList && !vc.checkedWhole()) {
            entry.insert(QStringLiteral("could_not_check"), true);
            entry.insert(QStringLiteral("unreadable_entries"), vc.unreadable);
            entry.insert(listName(c, "listed_in_another_form"), QJsonArray::fromStringList(vc.otherForm));
        }
        categories.append(entry);
    }
    j.insert(QStringLiteral("categories"), categories);
    return j;
}

QString verificationHtml(const EraseAccount &a)
{
    using namespace eraseverification;
    const Verification &v = a.verification();
    QString h = QStringLiteral("<h3>%1</h3><p><b>%2</b>").arg(esc(Words::tr("Verification")), esc(headline(v.status)));
    const QString finding = findingLine(a);
    if (!finding.isEmpty())
        h += QStringLiteral(": ") + esc(finding);
    else if (!v.reason.isEmpty())
        h += QStringLiteral(": ") + esc(recordtext::shown(v.reason));
    if (v.ranUtc.isValid())
        h += QStringLiteral(" (%1)").arg(readableUtc(v.ranUtc));
    h += QStringLiteral("</p>");
    if (v.status == Status::Verified || v.status == Status::StillPresent || v.status == Status::CouldNotRun
        || v.status == Status::CouldNotCheck) {
        QString rows;
        for (int c : categoriesToList(a)) {
            const Verification::Category &vc = v.categories[c];
            QString found = vc.checkedList ? QString::number(vc.stillListed()) : Words::tr("not listed");
            if (vc.listing == Verification::Category::Listing::Incomplete)
                found = Words::tr("not read whole");
            else if (vc.checkedList && !vc.checkedWhole() && vc.stillListed() == 0)
                found = Words::tr("could not check");
            rows += QStringLiteral("<tr><td>%1</td><td align=\"right\">%2</td><td align=\"right\">%3</td></tr>")
                        .arg(esc(eraseplan::categoryDisplayName(c)))
                        .arg(vc.checked)
                        .arg(esc(found));
        }
        h += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"60%\" "
                            "style=\"border-color:#BFBFBF;\"><tr style=\"background-color:#E8F7FD;\">"
                            "<th align=\"left\">%1</th><th>%2</th><th>%3</th></tr>%4</table>")
                 .arg(esc(Words::tr("Category")), esc(Words::tr("Confirmed erased, looked for")),
                      esc(Words::tr("Still listed")), rows);
        for (int c : categoriesToList(a)) {
            const QStringList &present = v.categories[c].stillPresent;
            const int unnamed = v.categories[c].stillCounted;
            if (present.isEmpty() && unnamed == 0)
                continue;
            QStringList shown;
            for (const QString &key : present)
                shown << esc(key);
            if (unnamed > 0)
                shown << esc(unnamed == 1 ? Words::tr("1 of the items the phone answered for by counts alone")
                                          : Words::tr("%n of the items the phone answered for by counts alone",
                                                      nullptr, unnamed));
            h += QStringLiteral("<p><b>%1</b><br/>%2</p>")
                     .arg(esc(Words::tr("%1 \u2014 still listed after it was reported erased:")
                                  .arg(eraseplan::categoryDisplayName(c))),
                          shown.join(QStringLiteral("<br/>")));
        }
        for (int c : categoriesToList(a)) {
            const QStringList &other = v.categories[c].otherForm;
            if (other.isEmpty())
                continue;
            QStringList shown;
            for (const QString &key : other)
                shown << esc(key);
            h += QStringLiteral("<p><b>%1</b><br/>%2</p>")
                     .arg(esc(Words::tr("%1 \u2014 listed in another form, which may be the same:")
                                  .arg(eraseplan::categoryDisplayName(c))),
                          shown.join(QStringLiteral("<br/>")));
        }
    }
    h += QStringLiteral("<p style=\"color:#666666;\">%1</p>").arg(esc(recordtext::shown(scopeNote())));
    return h;
}

const char *outcomeWord(EraseAccount::Outcome outcome)
{
    switch (outcome) {
    case EraseAccount::Outcome::Completed:
        return QT_TRANSLATE_NOOP("eraserecord", "completed");
    case EraseAccount::Outcome::CompletedWithFailures:
        return QT_TRANSLATE_NOOP("eraserecord", "completed with failures");
    case EraseAccount::Outcome::Cancelled:
        return QT_TRANSLATE_NOOP("eraserecord", "cancelled");
    case EraseAccount::Outcome::Interrupted:
        return QT_TRANSLATE_NOOP("eraserecord", "interrupted");
    case EraseAccount::Outcome::Running:
        break;
    }
    return QT_TRANSLATE_NOOP("eraserecord", "running");
}

const char *scopeWord(EraseType scope)
{
    switch (scope) {
    case EraseType::All:
        return QT_TRANSLATE_NOOP("eraserecord", "all");
    case EraseType::Private:
        return QT_TRANSLATE_NOOP("eraserecord", "private");
    case EraseType::App:
        return QT_TRANSLATE_NOOP("eraserecord", "app");
    }
    return "";
}

bool verified(const EraseAccount &a)
{
    return a.verification().status == eraseverification::Status::Verified;
}

// The outcome as the JSON file says it ("completed, verified").
QString recordOutcome(const EraseAccount &a)
{
    QString text = outcomeText(a.outcome());
    if (verified(a))
        text += QStringLiteral(", verified");
    return text;
}

// The same in the user's words, for the PDF.
QString shownOutcome(const EraseAccount &a)
{
    const QString text = Words::tr(outcomeWord(a.outcome()));
    return verified(a) ? Words::tr("%1, verified").arg(text) : text;
}

} // namespace

QString outcomeText(EraseAccount::Outcome outcome)
{
    return QLatin1String(outcomeWord(outcome));
}

QString scopeText(EraseType scope)
{
    return QLatin1String(scopeWord(scope));
}

bool keysAreLocations(int category)
{
    return category >= Photo && category < CategoryCount;
}

namespace {

// The record as a JSON object; each list of keys is the value `list` makes
// of it (the list itself, or a marker that the writer puts the list in for).
using ListValue = std::function<QJsonValue(int category, KeyState state, const QStringList &keys)>;

QJsonObject recordJson(const EraseAccount &a, const QString &programVersion, const ListValue &listValue)
{
    const EraseAccount::Phone &p = a.phone();
    QJsonObject record{
        {QStringLiteral("record"), QStringLiteral("Purgatex for Android erase record")},
        {QStringLiteral("format_version"), 1},
        {QStringLiteral("program_version"), programVersion},
        {QStringLiteral("started_utc"), isoUtc(a.startUtc())},
        {QStringLiteral("ended_utc"), isoUtc(a.endUtc())},
        {QStringLiteral("phone"),
         QJsonObject{{QStringLiteral("model"), p.model},
                     {QStringLiteral("android_version"), p.androidVersion},
                     {QStringLiteral("serial_number"), p.serial},
                     {QStringLiteral("storage"),
                      QJsonObject{{QStringLiteral("phone_total"), p.phoneTotal},
                                  {QStringLiteral("phone_free"), p.phoneFree},
                                  {QStringLiteral("sd_card_total"), p.sdTotal},
                                  {QStringLiteral("sd_card_free"), p.sdFree}}}}},
        {QStringLiteral("scope"), scopeText(a.scope())},
        {QStringLiteral("level"), QJsonObject{{QStringLiteral("name"), QLatin1String(eraseplan::levelWord(a.level()))},
                                              {QStringLiteral("value"), int(a.level())}}},
        {QStringLiteral("outcome"), recordOutcome(a)},
        {QStringLiteral("totals"), countsJson(a.totals())},
        {QStringLiteral("verification"), verificationJson(a)},
    };
    if (!a.endReason().isEmpty())
        record.insert(QStringLiteral("outcome_reason"), a.endReason());

    QJsonArray categories;
    for (int c = 0; c < CategoryCount; ++c) {
        if (!a.takesPart(c))
            continue;
        QJsonObject entry = countsJson(a.counts(c));
        entry.insert(QStringLiteral("category"), categoryKey(c));
        for (const KeyList &list : kKeyLists) {
            const QStringList keys = a.keys(c, list.state);
            if (!keys.isEmpty() || list.state == KeyState::Failed || list.state == KeyState::NotSent)
                entry.insert(listName(c, list.jsonStem), listValue(c, list.state, keys));
        }
        const QStringList reasons = a.notSentReasons(c);
        if (!reasons.isEmpty())
            entry.insert(QStringLiteral("not_sent_reasons"), QJsonArray::fromStringList(reasons));
        if (a.fromEarlierRun(c))
            entry.insert(QStringLiteral("answered_in_earlier_run_started_utc"), isoUtc(a.earlierRunStartUtc(c)));
        if (a.listIncomplete(c))
            entry.insert(QStringLiteral("list_incomplete"), true);
        if (a.listNotRead(c)) {
            entry.insert(QStringLiteral("list_not_read"), true);
            entry.insert(QStringLiteral("list_not_read_reason"), a.listNotReadReason(c));
        }
        if (a.answersInDoubt(c))
            entry.insert(QStringLiteral("answers_in_doubt"), true);
        categories.append(entry);
    }
    record.insert(QStringLiteral("categories"), categories);
    // Lists that held another number of records than the phone announced:
    // a record text may hold what reads as further records.
    QJsonArray counts;
    for (int c = 0; c < CategoryCount; ++c) {
        const EraseAccount::ListCount n = a.listCount(c);
        if (n.disagrees())
            counts.append(QJsonObject{{QStringLiteral("category"), categoryKey(c)},
                                      {QStringLiteral("records_announced"), double(n.announced)},
                                      {QStringLiteral("records_listed"), double(n.listed)}});
    }
    if (!counts.isEmpty())
        record.insert(QStringLiteral("list_counts_differ"), counts);
    return record;
}

// A marker no text of a record holds: a random word the phone cannot know,
// of letters and digits only, so that JSON writes it as it is.
QString listMarkerStem()
{
    const quint64 word = QRandomGenerator::global()->generate64();
    return QStringLiteral("purgatex-key-list-%1-").arg(word, 16, 16, QLatin1Char('0'));
}

// Writes keys as QJsonDocument writes an array that is the value of a member
// whose line is indented by `indent`: "[", the keys one a line indented one
// step more, "]" at the member's indent. Written a slice at a time, each
// slice written by Qt's own JSON writer, so that every key is escaped as the
// whole document would escape it.
bool writeKeyArray(QIODevice *out, const QStringList &keys, const QByteArray &indent)
{
    constexpr int SliceKeys = 4096;
    if (out->write("[\n") < 0)
        return false;
    for (int from = 0; from < keys.size(); from += SliceKeys) {
        // "[\n    \"key\",\n    \"key\"\n]\n": the keys' lines without the brackets.
        const QByteArray whole =
            QJsonDocument(QJsonArray::fromStringList(keys.mid(from, SliceKeys))).toJson(QJsonDocument::Indented);
        QByteArray lines = whole.mid(2, whole.size() - 5);
        lines.replace('\n', QByteArray(1, '\n') + indent);
        if ((from > 0 && out->write(",\n") < 0) || out->write(indent) < 0 || out->write(lines) < 0)
            return false;
    }
    return (keys.isEmpty() || out->write("\n") >= 0) && out->write(indent) >= 0 && out->write("]") >= 0;
}

} // namespace

QJsonObject toJson(const EraseAccount &a, const QString &programVersion)
{
    return recordJson(a, programVersion,
                      [](int, KeyState, const QStringList &keys) { return QJsonArray::fromStringList(keys); });
}

bool writeJson(QIODevice *out, const EraseAccount &a, const QString &programVersion)
{
    // The record is written by Qt with a marker for each list of keys; each
    // marker is then replaced by its list, written in slices. The lists are
    // most of a large record (the ids of half a million messages not sent):
    // they are never held as text whole.
    struct List
    {
        int category;
        KeyState state;
    };
    QVector<List> lists;
    const QString stem = listMarkerStem();
    const QByteArray text = QJsonDocument(recordJson(a, programVersion,
                                                     [&](int category, KeyState state, const QStringList &) {
                                                         lists.append(List{category, state});
                                                         return stem + QString::number(lists.size() - 1);
                                                     }))
                                .toJson(QJsonDocument::Indented);
    const QByteArray marker = '"' + stem.toLatin1();
    int from = 0;
    for (int at = text.indexOf(marker); at >= 0; at = text.indexOf(marker, from)) {
        const int numberAt = at + marker.size();
        const int end = text.indexOf('"', numberAt);
        const List list = lists.value(text.mid(numberAt, end - numberAt).toInt());
        const int lineStart = text.lastIndexOf('\n', at) + 1;
        int indentEnd = lineStart;
        while (text.at(indentEnd) == ' ')
            ++indentEnd;
        if (out->write(text.constData() + from, at - from) < 0
            || !writeKeyArray(out, a.keys(list.category, list.state), text.mid(lineStart, indentEnd - lineStart)))
            return false;
        from = end + 1;
    }
    return out->write(text.constData() + from, text.size() - from) >= 0;
}

QString outcomeLine(const EraseAccount &a)
{
    return eraseverification::headline(a.verification().status) + QStringLiteral(" \u2013 ") + erasedLine(a);
}

QString erasedLine(const EraseAccount &a)
{
    const EraseAccount::Counts t = a.totals();
    QStringList notRead;
    for (int c = 0; c < CategoryCount; ++c)
        if (a.listNotRead(c))
            notRead << eraseplan::categoryDisplayName(c);
    if (!notRead.isEmpty() && a.outcome() == EraseAccount::Outcome::CompletedWithFailures)
        return (t.chosen == 1 ? Words::tr("Erase completed with failures: %1 of 1 item confirmed erased; not read "
                                          "from the phone: %2")
                              : Words::tr("Erase completed with failures: %1 of %n items confirmed erased; not read "
                                          "from the phone: %2",
                                          nullptr, t.chosen))
            .arg(t.erased)
            .arg(notRead.join(Words::tr(", ")));
    switch (a.outcome()) {
    case EraseAccount::Outcome::Completed:
        return t.chosen == 1 ? Words::tr("Erase completed: all 1 chosen item confirmed erased")
                             : Words::tr("Erase completed: all %n chosen items confirmed erased", nullptr, t.chosen);
    case EraseAccount::Outcome::CompletedWithFailures:
        return (t.chosen == 1
                    ? Words::tr("Erase completed with failures: %1 of 1 item confirmed erased")
                    : Words::tr("Erase completed with failures: %1 of %n items confirmed erased", nullptr, t.chosen))
            .arg(t.erased);
    case EraseAccount::Outcome::Cancelled:
        return (t.chosen == 1 ? Words::tr("Erase cancelled: %1 of 1 item confirmed erased before the cancel")
                              : Words::tr("Erase cancelled: %1 of %n items confirmed erased before the cancel",
                                          nullptr, t.chosen))
            .arg(t.erased);
    case EraseAccount::Outcome::Interrupted:
        return (t.chosen == 1 ? Words::tr("Erase interrupted: %1 of 1 item confirmed erased")
                              : Words::tr("Erase interrupted: %1 of %n items confirmed erased", nullptr, t.chosen))
            .arg(t.erased);
    case EraseAccount::Outcome::Running:
        break;
    }
    return Words::tr("Erase running");
}

namespace {

// The sections of the record's rich text, in the order they are written.

// The outcome, the program, and the run's particulars: times, phone, scope,
// level.
QString summaryHtml(const EraseAccount &a, const QString &programVersion)
{
    const EraseAccount::Phone &p = a.phone();
    QString h;
    h += QStringLiteral("<p style=\"color:#1595C6; font-weight:bold;\">%1</p>")
             .arg(esc(outcomeLine(a)));
    h += QStringLiteral("<p>%1</p>")
             .arg(esc(Words::tr("Purgatex for Android %1 \u2014 erase record").arg(programVersion)));

    auto row = [](const QString &name, const QString &value) {
        return QStringLiteral("<tr><td width=\"32%\"><b>%1</b></td><td>%2</td></tr>").arg(esc(name), value);
    };
    h += QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">");
    h += row(Words::tr("Outcome"), esc(shownOutcome(a)));
    if (!a.endReason().isEmpty())
        h += row(Words::tr("Why"), esc(recordtext::shown(a.endReason())));
    h += row(Words::tr("Started"), readableUtc(a.startUtc()));
    h += row(Words::tr("Ended"), readableUtc(a.endUtc()));
    h += row(Words::tr("Phone model"), esc(p.model));
    h += row(Words::tr("Android version"), esc(p.androidVersion));
    h += row(Words::tr("Serial number"), esc(p.serial));
    h += row(Words::tr("Phone storage"), esc(storageText(p.phoneTotal, p.phoneFree)));
    h += row(Words::tr("SD card storage"), esc(storageText(p.sdTotal, p.sdFree)));
    h += row(Words::tr("Scope"), esc(Words::tr(scopeWord(a.scope()))));
    h += row(Words::tr("Security level"),
             esc(Words::tr("%1 (%2)").arg(eraseplan::levelLabel(a.level())).arg(a.level())));
    h += QStringLiteral("</table>");
    return h;
}

// The counts of each category that took part, and their totals.
QString countsHtml(const EraseAccount &a)
{
    QString h;
    h += QStringLiteral("<h3>%1</h3>").arg(esc(Words::tr("Per category")));
    h += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"98%\" "
                        "style=\"border-color:#BFBFBF;\"><tr style=\"background-color:#E8F7FD;\">"
                        "<th align=\"left\" width=\"22%\">%1</th><th>%2</th><th>%3</th><th>%4</th>"
                        "<th>%5</th><th>%6</th><th>%7</th></tr>")
             .arg(esc(Words::tr("Category")), esc(Words::tr("Chosen")), esc(Words::tr("Sent")),
                  esc(Words::tr("Confirmed erased")), esc(Words::tr("Failed")), esc(Words::tr("Not confirmed")),
                  esc(Words::tr("Not sent")));
    auto countRow = [](const QString &name, const EraseAccount::Counts &n, bool bold) {
        const QString cell = bold ? QStringLiteral("<td align=\"right\"><b>%1</b></td>")
                                  : QStringLiteral("<td align=\"right\">%1</td>");
        QString r = QStringLiteral("<tr><td>%1</td>").arg(bold ? QStringLiteral("<b>%1</b>").arg(name) : name);
        for (int v : {n.chosen, n.sent, n.erased, n.failed, n.notConfirmed, n.notSent})
            r += cell.arg(v);
        return r + QStringLiteral("</tr>");
    };
    for (int c = 0; c < CategoryCount; ++c)
        if (a.takesPart(c))
            h += countRow(esc(eraseplan::categoryDisplayName(c)), a.counts(c), false);
    h += countRow(esc(Words::tr("All")), a.totals(), true);
    h += QStringLiteral("</table>");
    return h;
}

// What the counts do not tell: answers of an earlier run, items not sent,
// lists not read, answers in doubt, items sent again, lists whose count
// differs from the phone's announcement.
QString notesHtml(const EraseAccount &a)
{
    QString notes;
    const auto note = [&notes](const QString &text) { notes += QStringLiteral("<li>%1</li>").arg(esc(text)); };
    for (int c = 0; c < CategoryCount; ++c) {
        if (!a.takesPart(c))
            continue;
        const QString name = eraseplan::categoryDisplayName(c);
        if (a.fromEarlierRun(c))
            note(Words::tr("%1: answered in an earlier, cancelled run started %2; not sent again.")
                     .arg(name, readableUtc(a.earlierRunStartUtc(c))));
        const QStringList reasons = a.notSentReasons(c);
        if (!reasons.isEmpty()) {
            QStringList shown;
            for (const QString &reason : reasons)
                shown << recordtext::shown(reason);
            note(Words::tr("%1, not sent: %2.").arg(name, shown.join(Words::tr("; "))));
        }
        if (a.listNotRead(c))
            note(Words::tr("%1: could not be read from the phone (%2); the phone may hold any number of them, none "
                           "was erased.")
                     .arg(name, recordtext::shown(a.listNotReadReason(c))));
        if (a.answersInDoubt(c))
            note(Words::tr("%1: an answer of the phone could not be told from the late answer of an earlier batch "
                           "the cancel had cut off; the items it answered for are counted as not confirmed.")
                     .arg(name));
        const int resent = a.counts(c).resentFailed;
        if (resent > 0)
            note((resent == 1 ? Words::tr("%1: 1 item sent before the cancel without an answer; sent again, the "
                                          "phone reported it as not erased, as it does for items it no longer has. "
                                          "It may have been erased before the cancel and is counted as not "
                                          "confirmed.")
                              : Words::tr("%1: %n items sent before the cancel without an answer; sent again, the "
                                          "phone reported them as not erased, as it does for items it no longer "
                                          "has. They may have been erased before the cancel and are counted as not "
                                          "confirmed.",
                                          nullptr, resent))
                     .arg(name));
    }
    for (int c = 0; c < CategoryCount; ++c) {
        const EraseAccount::ListCount n = a.listCount(c);
        if (n.disagrees())
            note(Words::tr("%1: the phone announced %2 records and listed %3; a record may hold text that reads as "
                           "further records.")
                     .arg(eraseplan::categoryDisplayName(c))
                     .arg(n.announced)
                     .arg(n.listed));
    }
    return notes.isEmpty() ? QString() : QStringLiteral("<ul>%1</ul>").arg(notes);
}

// The ids and locations of the items not confirmed erased, at most
// `listLimit` of each list.
QString keyListsHtml(const EraseAccount &a, int listLimit)
{
    QString lists;
    for (int c = 0; c < CategoryCount; ++c) {
        for (const KeyList &list : kKeyLists) {
            const QStringList keys = a.keys(c, list.state);
            if (keys.isEmpty())
                continue;
            const int n = int(keys.size());
            const QString counted = keysAreLocations(c)
                                        ? (n == 1 ? Words::tr("1 location") : Words::tr("%n locations", nullptr, n))
                                        : (n == 1 ? Words::tr("1 id") : Words::tr("%n ids", nullptr, n));
            lists += QStringLiteral("<p><b>%1</b><br/>")
                         .arg(esc(Words::tr("%1 \u2014 %2 (%3):")
                                      .arg(eraseplan::categoryDisplayName(c), Words::tr(list.heading), counted)));
            QStringList shown;
            for (int i = 0; i < keys.size() && i < listLimit; ++i)
                shown << esc(keys.at(i));
            lists += shown.join(QStringLiteral("<br/>"));
            if (keys.size() > listLimit)
                lists += QStringLiteral("<br/><i>%1</i>")
                             .arg(esc(Words::tr("and %n more, all listed in the JSON record", nullptr,
                                                int(keys.size()) - listLimit)));
            lists += QStringLiteral("</p>");
        }
    }
    if (lists.isEmpty())
        return QString();
    return QStringLiteral("<h3>%1</h3>").arg(esc(Words::tr("Items not confirmed erased"))) + lists;
}

} // namespace

QString toHtml(const EraseAccount &a, const QString &programVersion, int listLimit)
{
    QString h;
    h += QStringLiteral("<html><body style=\"font-family:'DejaVu Sans',Arial,sans-serif; font-size:10pt;\">");
    h += summaryHtml(a, programVersion);
    h += countsHtml(a);
    h += notesHtml(a);
    h += verificationHtml(a);
    h += keyListsHtml(a, listLimit);
    h += QStringLiteral("<p style=\"color:#666666;\">%1</p>")
             .arg(esc(Words::tr("Counts are what the companion app on the phone confirmed: an item is listed as "
                                "erased only when the phone answered that it was erased. This record names no "
                                "contents of erased items; it lists the record ids and file locations of items that "
                                "were not erased.")));
    h += QStringLiteral("</body></html>");
    return h;
}

QString defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("records"));
}

QString baseName(const EraseAccount &a)
{
    QString serial;
    for (const QChar ch : a.phone().serial) {
        const bool plain = (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
                           || (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z'))
                           || (ch >= QLatin1Char('a') && ch <= QLatin1Char('z')) || ch == QLatin1Char('-')
                           || ch == QLatin1Char('_');
        serial += plain ? ch : QLatin1Char('_');
    }
    serial = serial.left(48);
    if (serial.isEmpty())
        serial = QStringLiteral("unknown");
    return QStringLiteral("erase-%1Z-%2")
        .arg(a.startUtc().toUTC().toString(QStringLiteral("yyyyMMdd-HHmmss")), serial);
}

QString uniqueBaseName(const QString &folder, const EraseAccount &a, const QSet<QString> &given)
{
    const QDir dir(folder);
    const QString base = baseName(a);
    QString name = base;
    for (int n = 2; given.contains(dir.filePath(name)) || QFileInfo::exists(dir.filePath(name + QStringLiteral(".json")))
                    || QFileInfo::exists(dir.filePath(name + QStringLiteral(".pdf")));
         ++n)
        name = QStringLiteral("%1-%2").arg(base).arg(n);
    return name;
}

Written write(const QString &folder, const QString &base, const EraseAccount &a, const QString &programVersion)
{
    Written w;
    const QDir dir(folder);
    w.jsonPath = dir.filePath(base + QStringLiteral(".json"));
    w.pdfPath = dir.filePath(base + QStringLiteral(".pdf"));
    if (!QDir().mkpath(folder)) {
        w.error = Words::tr("the folder cannot be created");
        return w;
    }

    QSaveFile json(w.jsonPath);
    if (!json.open(QIODevice::WriteOnly)) {
        w.error = json.errorString();
        return w;
    }
    if (!writeJson(&json, a, programVersion) || !json.commit()) {
        w.error = json.errorString();
        return w;
    }

    QSaveFile pdf(w.pdfPath);
    if (!pdf.open(QIODevice::WriteOnly)) {
        w.error = pdf.errorString();
        return w;
    }
    {
        QPdfWriter writer(&pdf);
        writer.setTitle(outcomeLine(a));
        writer.setCreator(QStringLiteral("Purgatex for Android %1").arg(programVersion));
        writer.setPageSize(QPageSize(QPageSize::A4));
        // The document keeps its own margins.
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        QTextDocument document;
        layOutOnA4(document, toHtml(a, programVersion));
        document.print(&writer);
    }
    if (!pdf.commit()) {
        w.error = pdf.errorString();
        return w;
    }
    return w;
}

// ----- texts of the report page and the cancel notice -----

QString reportTitle(const EraseAccount &a)
{
    switch (a.outcome()) {
    case EraseAccount::Outcome::Cancelled:
        return Words::tr("Erase cancelled");
    case EraseAccount::Outcome::Interrupted:
        return Words::tr("Erase interrupted");
    default:
        // The phone reported items erased that it still lists.
        if (a.verification().status == eraseverification::Status::StillPresent)
            return Words::tr("Erase not verified");
        return Words::tr("Completed");
    }
}

namespace {

// "Contact: 24, Photo: 8" of the categories whose figure is above 0.
QString perCategory(const EraseAccount &a, int (*figure)(const EraseAccount::Counts &))
{
    QStringList parts;
    for (int c = 0; c < CategoryCount; ++c) {
        if (!a.takesPart(c))
            continue;
        const int n = figure(a.counts(c));
        if (n > 0)
            parts << Words::tr("%1: %2").arg(eraseplan::categoryDisplayName(c)).arg(n);
    }
    return parts.join(Words::tr(", "));
}

int erasedOf(const EraseAccount::Counts &n)
{
    return n.erased;
}

int notErasedOf(const EraseAccount::Counts &n)
{
    return n.notErased();
}

} // namespace

QString reportSummary(const EraseAccount &a)
{
    const EraseAccount::Counts t = a.totals();
    switch (a.outcome()) {
    case EraseAccount::Outcome::Completed:
    case EraseAccount::Outcome::CompletedWithFailures: {
        // The check after the reboot found items the phone reported erased:
        // the page no longer says everything was erased.
        if (a.verification().status == eraseverification::Status::StillPresent)
            return Words::tr("The phone reported %1 of %2 as erased, but it still lists some of them.")
                .arg(t.erased)
                .arg(chosenItems(t.chosen));
        eraseplan::CompletionFigures f;
        f.scope = a.scope();
        f.erased = t.erased;
        for (int c = 0; c < CategoryCount; ++c) {
            if (!a.takesPart(c))
                continue;
            const EraseAccount::Counts n = a.counts(c);
            f.notErased[c] = n.failed + n.notSent;
            f.notConfirmed[c] = n.notConfirmed;
            f.resentFailed[c] = n.resentFailed;
            f.incomplete[c] = a.listIncomplete(c);
            f.notRead[c] = a.listNotRead(c);
        }
        return eraseplan::completionText(f);
    }
    case EraseAccount::Outcome::Interrupted: {
        const QString why = recordtext::shown(
            a.endReason().isEmpty() ? QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the link to the phone was lost"))
                                    : a.endReason());
        if (t.erased == 0)
            return Words::tr("The erase was interrupted: %1. The phone confirmed none of the %2 as erased.")
                .arg(why, chosenItems(t.chosen));
        return Words::tr("The erase was interrupted: %1. The phone confirmed %2 of %3 as erased; "
                         "the other %4 may still be on the phone.")
            .arg(why)
            .arg(t.erased)
            .arg(chosenItems(t.chosen))
            .arg(t.notErased());
    }
    case EraseAccount::Outcome::Cancelled:
        return cancelSummary(a);
    case EraseAccount::Outcome::Running:
        break;
    }
    return QString();
}

QString cancelSummary(const EraseAccount &a)
{
    const EraseAccount::Counts t = a.totals();
    QString text;
    if (t.erased == 0)
        text = Words::tr("The erase was cancelled. Nothing was confirmed erased before the cancel.");
    else
        text = Words::tr("The erase was cancelled. Erased before the cancel: %1 of %2 (%3).")
                   .arg(t.erased)
                   .arg(chosenItems(t.chosen))
                   .arg(perCategory(a, erasedOf));
    // Items sent without an answer may be gone already: they are not
    // confirmed erased, which is all that can be said of them.
    if (t.notErased() > 0)
        text += Words::tr(" Not confirmed erased: %1. Erase Now goes on with them.").arg(perCategory(a, notErasedOf));
    return text;
}

QString recordLine(const Written &written, const QString &folder)
{
    if (written.ok())
        return Words::tr("Erase record: %1").arg(QDir::toNativeSeparators(written.pdfPath));
    return Words::tr("The erase record could not be saved in %1 (%2).")
        .arg(QDir::toNativeSeparators(folder), written.error);
}

QVector<Row> reportRows(const EraseAccount &a)
{
    QVector<Row> rows;
    for (int c = 0; c < CategoryCount; ++c) {
        if (!a.takesPart(c))
            continue;
        const EraseAccount::Counts n = a.counts(c);
        rows.append({c, eraseplan::categoryDisplayName(c), n.chosen, n.erased, n.failed,
                     n.chosen - n.erased - n.failed, a.listNotRead(c)});
    }
    return rows;
}

} // namespace workflow::eraserecord
