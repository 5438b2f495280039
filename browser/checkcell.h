#pragma once

#include <QCoreApplication>
#include <QVariant>

class QTableWidget;
class QTableWidgetItem;

namespace browser {

// The check cell (column 0) of a category table row. A screen reader names
// it by what ticking it chooses ("Select Ada Arden", "Select all"), worked
// out when asked, so filling a table costs nothing more.
struct CheckCell
{
    Q_DECLARE_TR_FUNCTIONS(CheckCell)

public:
    // The accessible name (Qt::AccessibleTextRole) or description
    // (Qt::AccessibleDescriptionRole) of a check cell of a category's table.
    static QVariant accessibleData(const QTableWidgetItem *cell, int category, int role);

    // The name of what a row of a category table shows: its Name cell, or
    // its number when the record has no name.
    static QString rowName(const QTableWidget *table, int category, int row);
};

inline QVariant checkCellAccessibleData(const QTableWidgetItem *cell, int category, int role)
{
    return CheckCell::accessibleData(cell, category, role);
}

} // namespace browser
