#pragma once

#include <QItemDelegate>

// Item delegate of the category tables: no focus rectangle and no check-box
// indicator. The check state stays in the item and is shown only through the
// check icons of column 0.
class RowDelegate : public QItemDelegate
{
    Q_OBJECT
public:
    explicit RowDelegate(QObject *parent = nullptr) : QItemDelegate(parent) {}

protected:
    void drawFocus(QPainter *, const QStyleOptionViewItem &, const QRect &) const override {}
    void drawCheck(QPainter *, const QStyleOptionViewItem &, const QRect &,
                   Qt::CheckState) const override {}
};
