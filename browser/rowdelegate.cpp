#include "browser/rowdelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QIcon>
#include <QPainter>
#include <QToolTip>

namespace browser {

// The size an icon of ours is drawn at: its own (the smallest of its
// drawings), not the table's icon size. Asked for a larger size, Qt 5 draws
// the "@2x" drawing of a small icon at twice its size on a scaling screen.
static QStyleOptionViewItem withIconSize(const QStyleOptionViewItem &option, const QModelIndex &index)
{
    QStyleOptionViewItem opt(option);
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.userType() != QMetaType::QIcon)
        return opt;
    const QList<QSize> sizes = qvariant_cast<QIcon>(decoration).availableSizes();
    if (sizes.isEmpty())
        return opt;
    QSize own = sizes.first();
    for (const QSize &size : sizes)
        if (size.width() < own.width())
            own = size;
    if (own.width() <= opt.decorationSize.width() && own.height() <= opt.decorationSize.height())
        opt.decorationSize = own;
    return opt;
}

void RowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QItemDelegate::paint(painter, withIconSize(option, index), index);
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    if (!view || !view->hasFocus() || !view->property("keyboardFocus").toBool()
        || index.row() != view->currentIndex().row())
        return;
    // The frame of the current row: top and bottom of every cell, the sides
    // of the first and last.
    painter->save();
    painter->setPen(QPen(QColor(0x0B, 0x5E, 0x80), 2));
    const QRectF r = QRectF(option.rect).adjusted(1, 1, -1, -1);
    painter->drawLine(r.topLeft(), r.topRight());
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    if (index.column() == 0)
        painter->drawLine(r.topLeft(), r.bottomLeft());
    if (index.column() == index.model()->columnCount(index.parent()) - 1)
        painter->drawLine(r.topRight(), r.bottomRight());
    painter->restore();
}

bool RowDelegate::textCutShort(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QString text = index.data(Qt::DisplayRole).toString();
    if (text.isEmpty())
        return false;
    const QStyleOptionViewItem opt = setOptions(index, withIconSize(option, index));
    // The room the text gets beside the icon, as paint() lays the cell out.
    QRect decorationRect;
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.isValid()) {
        const QIcon icon = qvariant_cast<QIcon>(decoration);
        decorationRect = QRect(QPoint(0, 0), icon.isNull() ? opt.decorationSize : icon.actualSize(opt.decorationSize));
    }
    QRect displayRect = textRectangle(nullptr, opt.rect, opt.font, text);
    QRect checkRect;
    doLayout(opt, &checkRect, &decorationRect, &displayRect, false);

    const QWidget *widget = opt.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int width = displayRect.width() - 2 * margin;
    const QFontMetrics metrics(opt.font);
    if (!(opt.features & QStyleOptionViewItem::WrapText))
        return metrics.horizontalAdvance(text) > width;
    const QRect needed = metrics.boundingRect(QRect(0, 0, qMax(1, width), 1 << 20),
                                              Qt::TextWordWrap | int(opt.displayAlignment), text);
    return needed.width() > width || needed.height() > displayRect.height();
}

bool RowDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                            const QModelIndex &index)
{
    if (!event || !view || event->type() != QEvent::ToolTip || !index.isValid()
        || index.data(Qt::ToolTipRole).isValid())
        return QItemDelegate::helpEvent(event, view, option, index);
    if (textCutShort(option, index)) {
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

} // namespace browser
