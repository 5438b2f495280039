#include "mainwindow.h"

#include "app/uifont.h"
#include "app/widgetvisibility.h"
#include "browser/browserlogic.h"
#include "browser/tablelayout.h"

#include <QDebug>
#include <QLabel>
#include <QListWidget>
#include <QTableWidget>

namespace {

QListWidgetItem *detailItem(const QString &text, const QColor *background)
{
    auto *item = new QListWidgetItem(text);
    item->setFont(uifont::sans(QStringLiteral("Arial"), 9));
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

// One click on a category table: a data row toggles, the head row selects or
// clears every row, a padding row only empties the detail pane.
void MainWindow::clickRow(int category, QTableWidgetItem *item)
{
    const TableLayout &layout = tableLayout(category);
    QTableWidget *table = categoryTable(category);
    if (!item || !table || item->tableWidget() != table)
        return;
    const int row = item->row();
    QStringList &list = this->*layout.toErase;
    const bool padded = this->*layout.lessMin;
    const bool searching = layout.searching && this->*layout.searching;
    const bool keyed = layout.keyed;
    const bool fileLike = category == Audio || category == Vedio;
    int n = 0;
    if (keyed)
        n = browser::keyedRowCount(searching ? this->*layout.searchMap : this->*layout.keyMap);
    else
        n = (this->*layout.dir).size();
    n = qMin(n, table->rowCount() - 1);
    const bool headChecked = table->item(0, 0) && table->item(0, 0)->checkState() == Qt::Checked;

    // Log words of the branch a keyed table takes.
    const QString branch = padded ? QStringLiteral("not search,lessMin,in lessMin")
                                  : QStringLiteral("not search,not lessMin");
    const bool branchLog = keyed && !searching;
    if (branchLog && padded)
        qDebug() << "not search,lessMin";
    else if (branchLog)
        qDebug() << "not search,not lessMin" << list.size();
    if (category == Photo && padded)
        qDebug() << "photo less min";
    if (fileLike && padded)
        qDebug() << "audio less min";

    if (row > n || !table->item(row, 0)) {
        // padding row, or a row beyond the data
        clearRowDetails(category);
        if (category == Photo)
            qDebug() << (padded ? "out min:" : "out dir range") << row;
        qDebug() << "not search,lessMin,out lessMin,toEraseList:" << list.size();
    } else {
        if (branchLog && padded)
            qDebug() << "not search,lessMin,in lessMin";
        if (category == Photo && row > 0)
            qDebug() << "rowNum in dir";
        if (fileLike && row > 0)
            qDebug() << "audio in dir";
        QTableWidgetItem *check = table->item(row, 0);
        const bool checked = check->checkState() == Qt::Checked;
        if (keyed) {
            if (checked) {
                qDebug() << (category == Contact ? "contact first item cheched"
                                 : category == History ? "history first item cheched"
                                                       : "message first item cheched");
                if (branchLog)
                    qDebug() << (branch + QStringLiteral(",Selected"));
            } else {
                qDebug() << "first item not cheched";
                if (branchLog && !padded)
                    qDebug() << "not search,not lessMin,not Selected";
            }
        }
        const QString endWords = branch + (checked ? QStringLiteral(",Selected")
                                                   : padded ? QStringLiteral(",notSelected")
                                                            : QStringLiteral(",not Selected"))
            + (row == 0 ? QStringLiteral(",firstLine,toEraseList:")
                        : QStringLiteral(",not firstLine,toEraseList:"));
        const QColor headChosen = keyed ? browser::checkedHeadKeyed() : browser::checkedBackground();
        browser::Selection selection(&list);
        if (row != 0) {
            const QStringList ids = rowIds(category, row);
            if (keyed)
                qDebug() << "number:" << table->item(row, 2)->text();
            if (fileLike)
                qDebug() << "audio slot other row";
            if (checked) {
                if (fileLike)
                    qDebug() << "row unchecked";
                if (category == Contact && branchLog && padded) {
                    for (int i = 0; i < list.size(); ++i)
                        qDebug() << "m_contactToEraseList at:" << i << "is:" << list.at(i);
                    for (int i = 0; i < ids.size(); ++i)
                        qDebug() << "numberId map at:" << i << "is:" << ids.at(i);
                }
                if (category == History && padded)
                    for (const QString &id : ids)
                        qDebug() << "in his min removed id:" << id;
                check->setIcon(m_iconUnchecked);
                check->setCheckState(Qt::Unchecked);
                paintRow(table, row, browser::zebra(row));
                selection.uncheck(ids);
            } else if (ids.isEmpty()) {
                // A file whose location cannot be read: shown, never chosen.
                qDebug() << "row cannot be chosen:" << row;
            } else {
                if (category == History)
                    for (const QString &id : ids)
                        qDebug() << "history to erase id:" << id;
                if (category == Message)
                    for (const QString &id : ids)
                        qDebug() << "to erase message:" << id;
                if (category == Photo) {
                    qDebug() << "start";
                    qDebug() << "got" << ids.value(0);
                }
                check->setIcon(m_iconChecked);
                check->setCheckState(Qt::Checked);
                paintRow(table, row, browser::checkedBackground());
                selection.check(ids);
            }
            selection.finish();
            if (category == Message)
                qDebug() << "to erase list count:" << list.size();
            if (category == Photo)
                qDebug() << "got erselist:count" << list.size();
            if (category == Photo || keyed)
                showRowDetails(category, row, ids);
        } else {
            // The head row: select every row, or clear every row.
            if (category == Photo && padded) {
                qDebug() << "allRow int min";
                qDebug() << "allRow int min,clicked firstRow";
            }
            if (fileLike)
                qDebug() << "first row";
            const int last = padded ? n : table->rowCount() - 1;
            if (checked && keyed)
                qDebug() << "checked top";
            check->setIcon(checked ? m_iconUnchecked : m_iconChecked);
            check->setCheckState(checked ? Qt::Unchecked : Qt::Checked);
            paintRow(table, 0, checked ? browser::headBackground() : headChosen);
            if (fileLike)
                qDebug() << "for first row";
            for (int r = 1; r <= last; ++r) {
                QTableWidgetItem *rc = table->item(r, 0);
                if (!rc)
                    continue;
                if (fileLike)
                    qDebug() << "for other row";
                const bool rowChecked = rc->checkState() == Qt::Checked;
                if (checked && rowChecked) {
                    if (keyed && !padded)
                        qDebug() << (r % 2 ? "checked single" : "checked double");
                    rc->setIcon(m_iconUnchecked);
                    rc->setCheckState(Qt::Unchecked);
                    paintRow(table, r, padded ? browser::paddedClearedBackground() : browser::zebra(r));
                    selection.uncheck(rowIds(category, r));
                } else if (!checked && !rowChecked) {
                    const QStringList ids = rowIds(category, r);
                    if (ids.isEmpty())
                        continue; // a file whose location cannot be read
                    if (fileLike)
                        qDebug() << "for other row,not checked";
                    rc->setIcon(m_iconChecked);
                    rc->setCheckState(Qt::Checked);
                    if (fileLike)
                        qDebug() << "for other row,change bg";
                    paintRow(table, r, browser::checkedBackground());
                    if (fileLike)
                        qDebug() << "for other row,start split";
                    if (fileLike)
                        qDebug() << "for split";
                    selection.check(ids);
                    if (fileLike)
                        qDebug() << "end split";
                }
                if (fileLike)
                    qDebug() << "end for other row";
            }
            if (fileLike) {
                qDebug() << "end for";
                qDebug() << "end for first row";
            }
            selection.finish();
            clearRowDetails(category);
        }
        if (branchLog)
            qDebug() << endWords << list.size();
        if (keyed && (searching || !padded))
            qDebug() << (category == Contact ? "contact after 3"
                             : category == History ? "history after 3"
                                                   : "message after 3");
    }

    m_eraseSelected[category] = !list.isEmpty();
    QTableWidgetItem *head = table->item(0, 0);
    if (list.isEmpty() && head && (head->checkState() == Qt::Checked || headChecked)) {
        head->setIcon(m_iconUnchecked);
        head->setCheckState(Qt::Unchecked);
    }
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
