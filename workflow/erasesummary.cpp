#include "workflow/erasesummary.h"

#include "workflow/eraseplan.h"

#include <QCoreApplication>
#include <QSet>
#include <QStringList>
#include <QStringView>

namespace erasesummary {

namespace {

// The texts' translation context.
class EraseSummary
{
    Q_DECLARE_TR_FUNCTIONS(EraseSummary)
};

// "1 photo" or "12 photos". `many` has the count as "%Ln" (plural forms).
QString counted(int n, const char *one, const char *many)
{
    return n == 1 ? EraseSummary::tr(one) : EraseSummary::tr(many, nullptr, n);
}

// Calls and messages by the rows they fill: "1 call thread (4 calls)", or
// "3 calls" when each number has one.
QString threaded(const Figure &f, const char *one, const char *many, const char *threadOne,
                 const char *threadMany)
{
    const QString items = counted(f.items, one, many);
    if (f.threads <= 0 || f.threads == f.items)
        return items;
    const QString threads = counted(f.threads, threadOne, threadMany);
    return EraseSummary::tr("%1 (%2)").arg(threads, items);
}

// (The words are marked where they are written so that lupdate finds them:
// QT_TRANSLATE_NOOP for one, QT_TRANSLATE_N_NOOP for the plural forms.)
QString privatePart(int c, const Figure &f, bool byThread)
{
    switch (c) {
    case Contact:
        return counted(f.items, QT_TRANSLATE_NOOP("EraseSummary", "1 contact"),
                       QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln contacts"));
    case History:
        return byThread ? threaded(f, QT_TRANSLATE_NOOP("EraseSummary", "1 call"),
                                   QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln calls"),
                                   QT_TRANSLATE_NOOP("EraseSummary", "1 call thread"),
                                   QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln call threads"))
                        : counted(f.items, QT_TRANSLATE_NOOP("EraseSummary", "1 call"),
                                  QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln calls"));
    case Message:
        return byThread ? threaded(f, QT_TRANSLATE_NOOP("EraseSummary", "1 message"),
                                   QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln messages"),
                                   QT_TRANSLATE_NOOP("EraseSummary", "1 message thread"),
                                   QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln message threads"))
                        : counted(f.items, QT_TRANSLATE_NOOP("EraseSummary", "1 message"),
                                  QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln messages"));
    case Photo:
        return counted(f.items, QT_TRANSLATE_NOOP("EraseSummary", "1 photo"),
                       QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln photos"));
    case Audio:
        return counted(f.items, QT_TRANSLATE_NOOP("EraseSummary", "1 audio file"),
                       QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln audio files"));
    case Vedio:
        return counted(f.items, QT_TRANSLATE_NOOP("EraseSummary", "1 video"),
                       QT_TRANSLATE_N_NOOP("EraseSummary", "%Ln videos"));
    default:
        return QString();
    }
}

} // namespace

QString summary(EraseType scope, const Figure figures[CategoryCount], int answeredBefore)
{
    QStringList parts;
    switch (scope) {
    case EraseType::Private:
        for (int c = Contact; c < FirstAppCategory; ++c)
            if (figures[c].items > 0)
                parts << privatePart(c, figures[c], true);
        break;
    case EraseType::App:
        for (int c = FirstAppCategory; c < CategoryCount; ++c)
            if (figures[c].items > 0)
                parts << eraseplan::categoryDisplayName(c);
        break;
    case EraseType::All:
        for (int c = Contact; c < FirstAppCategory; ++c)
            if (figures[c].items > 0)
                parts << privatePart(c, figures[c], false);
        for (int c = FirstAppCategory; c < CategoryCount; ++c) {
            const QString app = eraseplan::categoryDisplayName(c);
            if (figures[c].items == 1)
                parts << EraseSummary::tr("%1 data (1 item)").arg(app);
            else if (figures[c].items > 1)
                parts << EraseSummary::tr("%1 data (%Ln items)", nullptr, figures[c].items).arg(app);
        }
        break;
    }

    const QString list = parts.join(EraseSummary::tr(", "));
    if (parts.isEmpty()) {
        if (answeredBefore > 0)
            return EraseSummary::tr("Nothing is left to erase of what was chosen: the phone answered for all of "
                                    "it before the cancel.");
        switch (scope) {
        case EraseType::Private:
            return EraseSummary::tr("Nothing is ticked to erase yet.");
        case EraseType::App:
            return EraseSummary::tr("No app is ticked to erase yet.");
        case EraseType::All:
            break;
        }
        return EraseSummary::tr("Nothing was found on the phone to erase.");
    }
    switch (scope) {
    case EraseType::Private:
        return EraseSummary::tr("Erase Now will erase %1.").arg(list);
    case EraseType::App:
        return EraseSummary::tr("Erase Now will erase the data of %1.").arg(list);
    case EraseType::All:
        break;
    }
    return EraseSummary::tr("Erase Now will erase everything listed on the phone: %1.").arg(list);
}

namespace {

// The third field of a record ("id;name;number;..."), as stored, without
// copying it.
QByteArray numberField(const QByteArray &record)
{
    const int first = record.indexOf(';');
    if (first < 0)
        return {};
    const int second = record.indexOf(';', first + 1);
    if (second < 0)
        return {};
    const int third = record.indexOf(';', second + 1);
    const int end = third < 0 ? record.size() : third;
    return QByteArray::fromRawData(record.constData() + second + 1, end - second - 1);
}

} // namespace

int threadsOf(const QStringList &ids, const proto::RecordStore &records)
{
    // Equal numbers are equal bytes in the store; the numbers stay in it
    // while this runs.
    QSet<QByteArray> numbers;
    int rowsOfTheirOwn = 0;
    for (const QString &id : ids) {
        const QByteArray record = records.valueBytes(id);
        const QByteArray number = record.isNull() ? QByteArray() : numberField(record);
        if (number.isEmpty())
            ++rowsOfTheirOwn; // no record, or no number
        else
            numbers.insert(number);
    }
    return int(numbers.size()) + rowsOfTheirOwn;
}

} // namespace erasesummary
