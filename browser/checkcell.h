#pragma once

#include <QCoreApplication>
#include <QTableWidgetItem>

// The check cell (column 0) of a category table row. A screen reader names
// it by what ticking it chooses ("Select Ada Arden", "Select all"), worked
// out when asked, so filling a table costs nothing more.
class CheckCell : public QTableWidgetItem
{
    Q_DECLARE_TR_FUNCTIONS(CheckCell)

public:
    explicit CheckCell(int category) : m_category(category) {}

    QVariant data(int role) const override;
    QTableWidgetItem *clone() const override { return new CheckCell(*this); }

    // The name of what a row of a category table shows: its Name cell, or
    // its number when the record has no name.
    static QString rowName(const QTableWidget *table, int category, int row);

private:
    int m_category;
};
