#include "browser/checkcell.h"

#include "protocol/categories.h"

#include <QTableWidget>

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

QVariant CheckCell::data(int role) const
{
    if (role != Qt::AccessibleTextRole && role != Qt::AccessibleDescriptionRole)
        return QTableWidgetItem::data(role);
    const QTableWidget *table = tableWidget();
    if (!table)
        return QTableWidgetItem::data(role);
    if (role == Qt::AccessibleDescriptionRole) // why a row cannot be ticked
        return QTableWidgetItem::data(Qt::ToolTipRole);
    const int r = row();
    if (r == 0)
        return tr("Select all");
    const QString name = rowName(table, m_category, r);
    return name.isEmpty() ? tr("Select row %1").arg(r) : tr("Select %1").arg(name);
}
