#include "browser/checkcell.h"

#include "protocol/categories.h"

#include <QTableWidget>

namespace browser {

QString CheckCell::rowName(const QTableWidget *table, int category, int row)
{
    // Photos show their picture before the name.
    const int nameColumn = category == Photo ? 2 : 1;
    const QTableWidgetItem *name = table->item(row, nameColumn);
    QString text = name ? name->text().simplified() : QString();
    if (text.isEmpty() && (category == Contact || category == History || category == Message)) {
        const QTableWidgetItem *number = table->item(row, 2);
        text = number ? number->text().simplified() : QString();
    }
    return text;
}

QVariant CheckCell::accessibleData(const QTableWidgetItem *cell, int category, int role)
{
    const QTableWidget *table = cell->tableWidget();
    if (!table)
        return cell->QTableWidgetItem::data(role);
    if (role == Qt::AccessibleDescriptionRole) // why a row cannot be ticked
        return cell->QTableWidgetItem::data(Qt::ToolTipRole);
    const int r = cell->row();
    if (r == 0)
        return tr("Select all");
    const QString name = rowName(table, category, r);
    return name.isEmpty() ? tr("Select row %1").arg(r) : tr("Select %1").arg(name);
}

} // namespace browser
