#pragma once

// The log a click on a category table leaves. What the click does is
// decided in the window (browser/selection.cpp); the lines it writes come
// from here alone: a table of texts per category (rowClickTexts) and the
// branch the table is in (searched, padded to its least height).

#include <QString>
#include <QStringList>

namespace browser {

// The texts one category's table logs on a click; null where it logs nothing.
struct RowClickTexts
{
    bool keyed = false; // contacts, history, messages: the branch words of a keyed table

    const char *paddedTable = nullptr; // every click while the table is padded
    const char *outMin = nullptr;      // a padding row of a padded table, with the row
    const char *outRange = nullptr;    // a padding row of a full table, with the row
    const char *inDir = nullptr;       // a data row is clicked
    const char *rowChecked = nullptr;  // the clicked row (or head) was checked
    const char *otherRow = nullptr;    // a data row of a file table
    const char *rowUnchecked = nullptr;
    const char *chosenDump = nullptr;  // while padded and listed: the chosen ids, one line each...
    const char *idDump = nullptr;      // ... and the ids of the row being unchecked
    const char *removedId = nullptr;   // while padded: each id of the row being unchecked
    const char *chosenId = nullptr;    // each id of the row being checked
    const char *checkStart = nullptr;  // before a row is checked...
    const char *firstId = nullptr;     // ... and its first id
    const char *countAfter = nullptr;  // the chosen count after a data row
    const char *paddedHead = nullptr;  // the head row of a padded table...
    const char *paddedHeadClick = nullptr; // ... two lines
    bool headTrace = false;            // the head row's pass is traced row by row
    const char *after = nullptr;       // after the row's work, unless padded and listed

    template<typename T>
    RowClickTexts with(T RowClickTexts::*field, T value) const
    {
        RowClickTexts t = *this;
        t.*field = value;
        return t;
    }
};

// The texts of a category's table (Contact .. Vedio).
const RowClickTexts &rowClickTexts(int category);

// The log of one click on one table, in the branch the table is in. Each
// call is one moment of the click, in the order the click passes them.
class ClickLog
{
public:
    ClickLog(int category, bool searching, bool padded);

    void opened(int chosen) const;                     // before the row is looked at
    void paddingRow(int row, int chosen) const;        // a padding row, or beyond the data
    void rowEntered(int row, bool wasChecked) const;   // a data row or the head row
    void dataRow(const QString &number) const;         // a data row (the keyed number column)
    void unchecking(const QStringList &chosen, const QStringList &ids) const;
    void unchoosable(int row) const;                   // a row that stands for nothing erasable
    void checking(const QStringList &ids) const;
    void dataRowDone(int chosen) const;
    void headRow(bool wasChecked) const;               // the head row, before the rows under it
    void headRowVisited() const;                       // each row under it
    void headRowUnchecked(int row) const;
    void headRowChecking() const;
    void headRowLeft() const;                          // a row it passed (not one it skipped)
    void headRowsDone() const;
    void done(bool wasChecked, bool headRow, int chosen) const; // a data row or the head row

private:
    bool listing() const { return m_texts.keyed && !m_searching; }
    QString branchWords() const;

    const RowClickTexts &m_texts;
    bool m_searching;
    bool m_padded;
};

} // namespace browser
