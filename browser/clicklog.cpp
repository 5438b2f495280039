#include "browser/clicklog.h"

#include "protocol/categories.h"

#include <QDebug>

namespace browser {

namespace {

// The branch words of a keyed table that is not searched.
const char *const kListedPadded = "not search,lessMin";
const char *const kListedFull = "not search,not lessMin";
const char *const kListedPaddedRow = "not search,lessMin,in lessMin";

} // namespace

const RowClickTexts &rowClickTexts(int category)
{
    using T = RowClickTexts;
    static const T keyed = T().with(&T::keyed, true);
    static const T files = T()
                               .with(&T::paddedTable, "audio less min")
                               .with(&T::inDir, "audio in dir")
                               .with(&T::otherRow, "audio slot other row")
                               .with(&T::rowUnchecked, "row unchecked")
                               .with(&T::headTrace, true);
    static const T table[6] = {
        keyed.with(&T::rowChecked, "contact first item cheched")
            .with(&T::chosenDump, "m_contactToEraseList at:")
            .with(&T::idDump, "numberId map at:")
            .with(&T::after, "contact after 3"),
        keyed.with(&T::rowChecked, "history first item cheched")
            .with(&T::removedId, "in his min removed id:")
            .with(&T::chosenId, "history to erase id:")
            .with(&T::after, "history after 3"),
        keyed.with(&T::rowChecked, "message first item cheched")
            .with(&T::chosenId, "to erase message:")
            .with(&T::countAfter, "to erase list count:")
            .with(&T::after, "message after 3"),
        T().with(&T::paddedTable, "photo less min")
            .with(&T::outMin, "out min:")
            .with(&T::outRange, "out dir range")
            .with(&T::inDir, "rowNum in dir")
            .with(&T::checkStart, "start")
            .with(&T::firstId, "got")
            .with(&T::countAfter, "got erselist:count")
            .with(&T::paddedHead, "allRow int min")
            .with(&T::paddedHeadClick, "allRow int min,clicked firstRow"),
        files, // audio
        files, // video
    };
    return table[qBound(0, category, 5)];
}

ClickLog::ClickLog(int category, bool searching, bool padded)
    : m_texts(rowClickTexts(category)), m_searching(searching), m_padded(padded)
{
}

QString ClickLog::branchWords() const
{
    return QLatin1String(m_padded ? kListedPaddedRow : kListedFull);
}

void ClickLog::opened(int chosen) const
{
    if (listing() && m_padded)
        qDebug() << kListedPadded;
    else if (listing())
        qDebug() << kListedFull << chosen;
    if (m_padded && m_texts.paddedTable)
        qDebug() << m_texts.paddedTable;
}

void ClickLog::paddingRow(int row, int chosen) const
{
    if (const char *out = m_padded ? m_texts.outMin : m_texts.outRange)
        qDebug() << out << row;
    qDebug() << "not search,lessMin,out lessMin,toEraseList:" << chosen;
}

void ClickLog::rowEntered(int row, bool wasChecked) const
{
    if (listing() && m_padded)
        qDebug() << kListedPaddedRow;
    if (row > 0 && m_texts.inDir)
        qDebug() << m_texts.inDir;
    if (!m_texts.keyed)
        return;
    if (wasChecked) {
        qDebug() << m_texts.rowChecked;
        if (listing())
            qDebug() << (branchWords() + QStringLiteral(",Selected"));
    } else {
        qDebug() << "first item not cheched";
        if (listing() && !m_padded)
            qDebug() << "not search,not lessMin,not Selected";
    }
}

void ClickLog::dataRow(const QString &number) const
{
    if (m_texts.keyed)
        qDebug() << "number:" << number;
    if (m_texts.otherRow)
        qDebug() << m_texts.otherRow;
}

void ClickLog::unchecking(const QStringList &chosen, const QStringList &ids) const
{
    if (m_texts.rowUnchecked)
        qDebug() << m_texts.rowUnchecked;
    if (m_texts.chosenDump && listing() && m_padded) {
        for (int i = 0; i < chosen.size(); ++i)
            qDebug() << m_texts.chosenDump << i << "is:" << chosen.at(i);
        for (int i = 0; i < ids.size(); ++i)
            qDebug() << m_texts.idDump << i << "is:" << ids.at(i);
    }
    if (m_texts.removedId && m_padded) {
        for (const QString &id : ids)
            qDebug() << m_texts.removedId << id;
    }
}

void ClickLog::unchoosable(int row) const
{
    qDebug() << "row cannot be chosen:" << row;
}

void ClickLog::checking(const QStringList &ids) const
{
    if (m_texts.chosenId) {
        for (const QString &id : ids)
            qDebug() << m_texts.chosenId << id;
    }
    if (m_texts.checkStart)
        qDebug() << m_texts.checkStart;
    if (m_texts.firstId)
        qDebug() << m_texts.firstId << ids.value(0);
}

void ClickLog::dataRowDone(int chosen) const
{
    if (m_texts.countAfter)
        qDebug() << m_texts.countAfter << chosen;
}

void ClickLog::headRow(bool wasChecked) const
{
    if (m_padded && m_texts.paddedHead) {
        qDebug() << m_texts.paddedHead;
        qDebug() << m_texts.paddedHeadClick;
    }
    if (m_texts.headTrace)
        qDebug() << "first row";
    if (wasChecked && m_texts.keyed)
        qDebug() << "checked top";
    if (m_texts.headTrace)
        qDebug() << "for first row";
}

void ClickLog::headRowVisited() const
{
    if (m_texts.headTrace)
        qDebug() << "for other row";
}

void ClickLog::headRowUnchecked(int row) const
{
    if (m_texts.keyed && !m_padded)
        qDebug() << (row % 2 ? "checked single" : "checked double");
}

void ClickLog::headRowChecking() const
{
    if (!m_texts.headTrace)
        return;
    qDebug() << "for other row,not checked";
    qDebug() << "for other row,change bg";
    qDebug() << "for other row,start split";
    qDebug() << "for split";
    qDebug() << "end split";
}

void ClickLog::headRowLeft() const
{
    if (m_texts.headTrace)
        qDebug() << "end for other row";
}

void ClickLog::headRowsDone() const
{
    if (!m_texts.headTrace)
        return;
    qDebug() << "end for";
    qDebug() << "end for first row";
}

void ClickLog::done(bool wasChecked, bool headRow, int chosen) const
{
    if (listing()) {
        const QString chosenWord = wasChecked ? QStringLiteral(",Selected")
            : m_padded                        ? QStringLiteral(",notSelected")
                                              : QStringLiteral(",not Selected");
        const QString lineWord = headRow ? QStringLiteral(",firstLine,toEraseList:")
                                         : QStringLiteral(",not firstLine,toEraseList:");
        qDebug() << (branchWords() + chosenWord + lineWord) << chosen;
    }
    if (m_texts.keyed && (m_searching || !m_padded))
        qDebug() << m_texts.after;
}

} // namespace browser
