#include "workflow/erasesummary.h"

#include "workflow/eraseplan.h"

#include <QBitArray>
#include <QCoreApplication>
#include <QSet>
#include <QStringList>
#include <QStringView>

#include <cstring>

namespace workflow::erasesummary {

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

// The third field of a record ("id;name;number;..."), as stored: its first
// byte, its size in *size (0: no number).
const char *numberField(const char *record, int recordSize, int *size)
{
    *size = 0;
    const char *const end = record + recordSize;
    const char *first = static_cast<const char *>(std::memchr(record, ';', size_t(recordSize)));
    if (!first)
        return nullptr;
    const char *second = static_cast<const char *>(std::memchr(first + 1, ';', size_t(end - first - 1)));
    if (!second)
        return nullptr;
    const char *third = static_cast<const char *>(std::memchr(second + 1, ';', size_t(end - second - 1)));
    *size = int((third ? third : end) - second - 1);
    return second + 1;
}

} // namespace

namespace {

// The figure by the rows the ids fill, when they come number by number (as
// a table's rows list them): each number's ids are tabled once as the walk
// turns to it (see NumberIndex::RowFinder), and only an id that is not the
// current number's is looked up in the store, for the number to turn to.
// Gives up (false) when the ids come otherwise: a number turned to again
// more often than the ids allow, or an id the index does not hold under the
// number of its record.
bool figureByRows(const QStringList &chosen, const QSet<QString> &answered, const proto::RecordStore &records,
                  const proto::NumberIndex &index, Figure *f, int *answeredChosen)
{
    const qint64 budget = 2 * qint64(chosen.size()) + 4096; // ids tabled, over every turn
    proto::NumberIndex::RowFinder rows(index);
    QBitArray counted(index.size());            // by position in the index
    QBitArray threaded(index.numberCount());    // numbers with an id to send
    QSet<QString> unstored;                     // chosen ids without a record
    const int unnumbered = index.placeOfNumber(QString());
    for (const QString &id : chosen) {
        int pos = rows.find(id);
        if (pos < 0) {
            const int place = records.placeOf(id);
            if (place < 0) {
                if (unstored.contains(id))
                    continue;
                unstored.insert(id);
                if (!answered.isEmpty() && answered.contains(id)) {
                    ++*answeredChosen;
                } else {
                    ++f->items;
                    ++f->threads; // no record: a row of its own
                }
                continue;
            }
            int recordSize = 0;
            const char *record = records.textAt(place, &recordSize);
            int size = 0;
            const char *number = numberField(record, recordSize, &size);
            const int next = index.placeOfNumber(proto::RecordStore::decode(number, size));
            if (next < 0 || next == rows.number())
                return false;
            rows.turnTo(next);
            if (rows.tabled() > budget)
                return false;
            pos = rows.find(id);
            if (pos < 0)
                return false;
        }
        if (counted.testBit(pos))
            continue;
        counted.setBit(pos);
        if (!answered.isEmpty() && answered.contains(id)) {
            ++*answeredChosen;
            continue;
        }
        ++f->items;
        if (rows.number() == unnumbered)
            ++f->threads; // no number: a row of its own
        else if (!threaded.testBit(rows.number())) {
            threaded.setBit(rows.number());
            ++f->threads;
        }
    }
    return true;
}

} // namespace

Figure threadedFigure(const QStringList &chosen, const QSet<QString> &answered, const proto::RecordStore &records,
                      const proto::NumberIndex &numbers, int *answeredBefore)
{
    Figure byRows;
    int answeredByRows = 0;
    if (figureByRows(chosen, answered, records, numbers, &byRows, &answeredByRows)) {
        if (answeredBefore)
            *answeredBefore = answeredByRows;
        return byRows;
    }
    return threadedFigure(chosen, answered, records, answeredBefore);
}

Figure threadedFigure(const QStringList &chosen, const QSet<QString> &answered, const proto::RecordStore &records,
                      int *answeredBefore)
{
    Figure f;
    int answeredChosen = 0;
    QBitArray counted(records.size()); // by place in the store
    QSet<QString> countedUnstored;     // chosen ids without a record
    // Equal numbers are equal bytes in the store, which is not changed
    // while this runs.
    QSet<QByteArray> numbers;
    const char *lastNumber = nullptr;
    int lastSize = 0;
    for (const QString &id : chosen) {
        const int place = records.placeOf(id);
        if (place >= 0) {
            if (counted.testBit(place))
                continue;
            counted.setBit(place);
        } else {
            if (countedUnstored.contains(id))
                continue;
            countedUnstored.insert(id);
        }
        if (!answered.isEmpty() && answered.contains(id)) {
            ++answeredChosen;
            continue;
        }
        ++f.items;
        int recordSize = 0;
        const char *record = place < 0 ? nullptr : records.textAt(place, &recordSize);
        int size = 0;
        const char *number = record ? numberField(record, recordSize, &size) : nullptr;
        if (size == 0) {
            ++f.threads; // no record, or no number
            continue;
        }
        // A row's ids come one after another.
        if (size == lastSize && std::memcmp(number, lastNumber, size_t(size)) == 0)
            continue;
        lastNumber = number;
        lastSize = size;
        numbers.insert(QByteArray::fromRawData(number, size));
    }
    if (answeredBefore)
        *answeredBefore = answeredChosen;
    f.threads += int(numbers.size());
    return f;
}

} // namespace workflow::erasesummary
