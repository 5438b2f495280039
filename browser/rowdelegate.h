#pragma once

#include <QItemDelegate>

namespace browser {

// Item delegate of the category tables: no focus rectangle and no check-box
// indicator. The check state stays in the item and is shown only through the
// check icons of column 0. While the keyboard is used on a table, its
// current row is framed; a cell whose text its column cuts short shows the
// whole text as a tool tip.
class RowDelegate : public QItemDelegate
{
    Q_OBJECT
public:
    explicit RowDelegate(QObject *parent = nullptr) : QItemDelegate(parent) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    // The cell's text does not fit the room it is drawn in.
    bool textCutShort(const QStyleOptionViewItem &option, const QModelIndex &index) const;

protected:
    void drawFocus(QPainter *, const QStyleOptionViewItem &, const QRect &) const override {}
    void drawCheck(QPainter *, const QStyleOptionViewItem &, const QRect &,
                   Qt::CheckState) const override {}
};

} // namespace browser
