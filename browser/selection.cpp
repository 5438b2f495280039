#include "mainwindow.h"

#include "app/uifont.h"
#include "app/widgetvisibility.h"
#include "browser/browserlogic.h"
#include "browser/clicklog.h"
#include "browser/tablelayout.h"

#include <QDebug>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>

namespace {

QListWidgetItem *detailItem(const QString &text, const QColor *background)
{
    auto *item = new QListWidgetItem(text);
    item->setFont(app::uifont::sans(QStringLiteral("Arial"), 9));
    item->setForeground(browser::textColour());
    item->setTextAlignment(Qt::AlignCenter);
    if (background)
        item->setBackground(*background);
    return item;
}

void paintRow(QTableWidget *table, int row, const QColor &colour)
{
    for (int c = 0; c < table->columnCount(); ++c) {
        if (QTableWidgetItem *item = table->item(row, c))
            item->setBackground(colour);
    }
}

} // namespace

// Ids (contacts, history, messages) or the location (files) a data row stands
// for. A row of a search result stands for its whole number, like the row of
// the full table, so a number is never half chosen; of its records, those
// whose id the phone listed more than once cannot be chosen.
QStringList MainWindow::rowIds(int category, int row) const
{
    const TableLayout &layout = tableLayout(category);
    if (row < 1)
        return {};
    if (layout.keyed) {
        const QTableWidget *table = categoryTable(category);
        const QTableWidgetItem *check = table ? table->item(row, 0) : nullptr;
        if (!check || !check->data(browser::RowKeyRole).isValid())
            return {};
        // A record whose id the phone listed more than once is never chosen.
        const QStringList ids = browser::erasableIds(
            browser::idsOfRow(this->*layout.keyMap, check->data(browser::RowKeyRole).toString(),
                              check->data(browser::RowIdRole).toString()),
            ambiguousIdsOf(category));
        if (category == Message)
            return browser::sortIdsNewestFirst(ids, m_messageMapIdData);
        return ids;
    }
    const QStringList &dir = this->*layout.dir;
    if (row > dir.size())
        return {};
    // empty for an entry whose location cannot be read: it cannot be chosen
    const QString location = browser::fileRow(dir.at(row - 1)).location;
    return location.isEmpty() ? QStringList() : QStringList{location};
}

void MainWindow::clearRowDetails(int category)
{
    if (auto *name = browserWidget<QLabel>("EP_IsScanning_Label_Name"))
        name->clear();
    if (auto *info = browserWidget<QListWidget>("EP_IsScanning_ListWidget_InfoShow"))
        info->clear();
    if (category == Photo) {
        if (auto *loc = browserWidget<QLabel>("EP_IsScanning_Label_PhotoLocation"))
            loc->clear();
    }
}

void MainWindow::showRowDetails(int category, int row, const QStringList &ids)
{
    QTableWidget *table = categoryTable(category);
    auto *name = browserWidget<QLabel>("EP_IsScanning_Label_Name");
    auto *info = browserWidget<QListWidget>("EP_IsScanning_ListWidget_InfoShow");
    if (!table)
        return;
    const QColor even(253, 253, 253);
    const QColor odd(246, 246, 246);
    const QColor checked = browser::checkedBackground();

    if (category == Photo) {
        if (info) {
            info->clear();
            auto *item = new QListWidgetItem;
            item->setIcon(QIcon(photoPreview(row)));
            info->setIconSize(QSize(300, 300));
            info->addItem(item);
        }
        if (auto *loc = browserWidget<QLabel>("EP_IsScanning_Label_PhotoLocation"))
            loc->setText(ids.value(0));
        return;
    }
    if (category == Audio || category == Vedio)
        return;

    if (name && table->item(row, 1))
        name->setText(table->item(row, 1)->text());
    if (!info)
        return;
    info->clear();
    for (const QString &id : ids) {
        const proto::RecordStore &data = *(category == Contact ? &m_contactMapIdData
                                               : category == History ? &m_historyMapIdData
                                                                     : &m_messageMapIdData);
        const QStringList f = category == Message ? browser::messageFields(data.value(id))
                                                  : browser::recordFields(data.value(id));
        if (category == Contact) {
            info->addItem(detailItem(browser::field(f, 3), &even));
            info->addItem(detailItem(browser::field(f, 4), nullptr));
            info->addItem(detailItem(browser::field(f, 5), nullptr));
        } else if (category == History) {
            const QString type = browser::field(f, 3);
            info->addItem(detailItem(browser::field(f, 5), &even));
            info->addItem(detailItem(type, type == QLatin1String("accepted") ? &odd : &checked));
            info->addItem(detailItem(browser::field(f, 4), nullptr));
        } else {
            info->addItem(detailItem(browser::field(f, 4), &even));
            info->addItem(detailItem(browser::field(f, 3),
                                     browser::field(f, 5) == QLatin1String("accepted") ? &odd
                                                                                       : &checked));
        }
    }
}

// One click on a category table, as its cases see it.
struct MainWindow::RowClick
{
    int category;
    QTableWidget *table;
    QStringList *chosen; // the category's to-erase list
    int row;
    int rows;        // data rows the table shows
    bool padded;     // the table is padded to its least height
    bool wasChecked; // the clicked row's check before the click
    browser::ClickLog log;
};

// One click on a category table: a data row toggles, the head row selects or
// clears every row, a padding row only empties the detail pane.
void MainWindow::clickRow(int category, QTableWidgetItem *item)
{
    const TableLayout &layout = tableLayout(category);
    QTableWidget *table = categoryTable(category);
    if (!item || !table || item->tableWidget() != table)
        return;
    QStringList &list = this->*layout.toErase;
    const bool padded = this->*layout.lessMin;
    const bool searching = layout.searching && this->*layout.searching;
    const int n = layout.keyed
        ? browser::keyedRowCount(searching ? this->*layout.searchMap : this->*layout.keyMap)
        : (this->*layout.dir).size();
    const bool headChecked = table->item(0, 0) && table->item(0, 0)->checkState() == Qt::Checked;
    QTableWidgetItem *check = table->item(item->row(), 0);
    const RowClick click{category, table, &list, item->row(), qMin(n, table->rowCount() - 1), padded,
                         check && check->checkState() == Qt::Checked, browser::ClickLog(category, searching, padded)};

    click.log.opened(list.size());
    if (click.row > click.rows || !check) {
        // padding row, or a row beyond the data
        clearRowDetails(category);
        click.log.paddingRow(click.row, list.size());
    } else {
        click.log.rowEntered(click.row, click.wasChecked);
        if (click.row == 0)
            clickHeadRow(click);
        else
            clickDataRow(click);
        click.log.done(click.wasChecked, click.row == 0, list.size());
    }

    m_eraseSelected[category] = !list.isEmpty();
    QTableWidgetItem *head = table->item(0, 0);
    if (list.isEmpty() && head && (head->checkState() == Qt::Checked || headChecked)) {
        head->setIcon(m_iconUnchecked);
        head->setCheckState(Qt::Unchecked);
    }
}

// A data row: checked, it is unchecked; unchecked, it is checked when it
// stands for anything that can be chosen. The detail pane shows it.
void MainWindow::clickDataRow(const RowClick &click)
{
    const QStringList ids = rowIds(click.category, click.row);
    const QTableWidgetItem *number = click.table->item(click.row, 2);
    click.log.dataRow(number ? number->text() : QString());
    browser::Selection selection(click.chosen);
    if (click.wasChecked) {
        click.log.unchecking(*click.chosen, ids);
        markRow(click.table, click.row, false, browser::zebra(click.row));
        selection.uncheck(ids);
    } else if (ids.isEmpty()) {
        // A file whose location cannot be read: shown, never chosen.
        click.log.unchoosable(click.row);
    } else {
        click.log.checking(ids);
        markRow(click.table, click.row, true, browser::checkedBackground());
        selection.check(ids);
    }
    selection.finish();
    click.log.dataRowDone(click.chosen->size());
    showRowDetails(click.category, click.row, ids);
}

// The head row: checked, it clears every row; unchecked, it selects every
// row that stands for anything that can be chosen.
void MainWindow::clickHeadRow(const RowClick &click)
{
    const bool clear = click.wasChecked;
    const bool keyed = tableLayout(click.category).keyed;
    const int last = click.padded ? click.rows : click.table->rowCount() - 1;
    click.log.headRow(clear);
    markRow(click.table, 0, !clear,
            clear ? browser::headBackground() : keyed ? browser::checkedHeadKeyed() : browser::checkedBackground());
    browser::Selection selection(click.chosen);
    for (int r = 1; r <= last; ++r) {
        const QTableWidgetItem *check = click.table->item(r, 0);
        if (!check)
            continue;
        click.log.headRowVisited();
        const bool rowChecked = check->checkState() == Qt::Checked;
        if (clear && rowChecked) {
            click.log.headRowUnchecked(r);
            markRow(click.table, r, false, click.padded ? browser::paddedClearedBackground() : browser::zebra(r));
            selection.uncheck(rowIds(click.category, r));
        } else if (!clear && !rowChecked) {
            const QStringList ids = rowIds(click.category, r);
            if (ids.isEmpty())
                continue; // a file whose location cannot be read
            click.log.headRowChecking();
            markRow(click.table, r, true, browser::checkedBackground());
            selection.check(ids);
        }
        click.log.headRowLeft();
    }
    click.log.headRowsDone();
    selection.finish();
    clearRowDetails(click.category);
}

// Shows a row checked or unchecked: its check cell's state and icon, and the
// background of its cells.
void MainWindow::markRow(QTableWidget *table, int row, bool checked, const QColor &background)
{
    QTableWidgetItem *check = table->item(row, 0);
    check->setIcon(checked ? m_iconChecked : m_iconUnchecked);
    check->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    paintRow(table, row, background);
}

void MainWindow::tableContactItemSlot(QTableWidgetItem *item)
{
    qDebug() << "contact item slot got";
    clickRow(Contact, item);
    if (m_contactSearching)
        qDebug() << "search,contact toEraseList:" << m_contactToEraseList.size();
    qDebug() << "in contact item clicked,m_contactToEraseList.size():" << m_contactToEraseList.size();
}

void MainWindow::tableHistoryItemSlot(QTableWidgetItem *item)
{
    clickRow(History, item);
    qDebug() << (m_historySearching ? "search,historyToEraseList:" : "not search,historyToEraseList:")
             << m_historyToEraseList.size();
}

void MainWindow::tableMessageItemSlot(QTableWidgetItem *item)
{
    qDebug() << "message item slot got";
    clickRow(Message, item);
    qDebug() << (m_messageSearching ? "search,messageToEraseList:" : "not search,messageToEraseList:")
             << m_messageToEraseList.size();
}

void MainWindow::tablePhotoItemSlot(QTableWidgetItem *item)
{
    if (item)
        qDebug() << "rowNum is:" << item->row();
    clickRow(Photo, item);
    qDebug() << "got to eraseList Count:" << m_photoToEraseList.size();
}

void MainWindow::tableAudioItemSlot(QTableWidgetItem *item)
{
    clickRow(Audio, item);
    qDebug() << (m_audioToEraseList.isEmpty() ? "to erase audio,empty" : "to erase audio")
             << m_audioToEraseList.size();
}

void MainWindow::tableVedioItemSlot(QTableWidgetItem *item)
{
    clickRow(Vedio, item);
    qDebug() << (m_vedioToEraseList.isEmpty() ? "to erase vedio,empty" : "to erase vedio,")
             << m_vedioToEraseList.size();
}

void MainWindow::tableContactVerticalHeadSlot(int row)
{
    qDebug() << "clicked row :" << row;
}
