#include "mainwindow.h"

#include "app/uifont.h"
#include "app/widgetvisibility.h"
#include "browser/browserlogic.h"
#include "browser/checkcell.h"
#include "browser/rowdelegate.h"
#include "browser/tablelayout.h"

#include <QDebug>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>

using browser::textColour;
using browser::zebra;

namespace {

QFont tableFont()
{
    return app::uifont::sans(QStringLiteral("Arial"), 9);
}

QTableWidgetItem *headItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setForeground(textColour());
    item->setFont(tableFont());
    item->setBackground(browser::headBackground());
    return item;
}

// A cell of a category table. What every cell of its kind shows alike (the
// row's zebra background, the table font and text colour, the alignment, the
// check state and icon a row starts with) is answered from the kind, not
// stored in each of many thousand cells; whatever is set on the cell later
// (a checked row's background, a photo) is stored and answered as before.
class TableCell : public QTableWidgetItem
{
public:
    enum Look : quint8 {
        Plain = 0,
        Text = 1,      // the table font and text colour
        Unchecked = 2, // starts unchecked
    };
    // A cell with a text.
    TableCell(int row, const QString &text, Qt::Alignment align, quint8 look, const QIcon &icon = QIcon())
        : QTableWidgetItem(text), m_icon(icon), m_align(align), m_look(look), m_odd(row % 2 != 0)
    {
    }
    // A cell without one (a check cell, a photo's cell, padding).
    explicit TableCell(int row, quint8 look = Plain, const QIcon &icon = QIcon())
        : m_icon(icon), m_look(look), m_odd(row % 2 != 0)
    {
    }

    // The check cell of a row (or of the head row) of a category table: a
    // screen reader names it by what ticking it chooses.
    TableCell *checkCellOf(int category)
    {
        m_checkCategory = qint8(category);
        return this;
    }

    // What a keyed row stands for (browser::RowKeyRole, RowIdRole), kept on
    // its check cell.
    void standFor(const QString &number, const QString &soleId)
    {
        m_key = number;
        m_soleId = soleId;
        m_keyed = true;
    }

    QVariant data(int role) const override
    {
        if (m_checkCategory >= 0 && (role == Qt::AccessibleTextRole || role == Qt::AccessibleDescriptionRole))
            return browser::checkCellAccessibleData(this, m_checkCategory, role);
        QVariant own = QTableWidgetItem::data(role);
        if (own.isValid())
            return own;
        switch (role) {
        case browser::RowKeyRole:
            return m_keyed ? QVariant(m_key) : QVariant();
        case browser::RowIdRole:
            return m_soleId.isEmpty() ? QVariant() : QVariant(m_soleId);
        case Qt::BackgroundRole: {
            static const QBrush odd(zebra(1));
            static const QBrush even(zebra(0));
            return m_odd ? odd : even;
        }
        case Qt::TextAlignmentRole:
            return m_align ? QVariant(int(m_align)) : QVariant();
        case Qt::FontRole:
            return m_look & Text ? QVariant(font()) : QVariant();
        case Qt::ForegroundRole: {
            static const QBrush text(textColour());
            return m_look & Text ? QVariant(text) : QVariant();
        }
        case Qt::CheckStateRole:
            return m_look & Unchecked ? QVariant(int(Qt::Unchecked)) : QVariant();
        case Qt::DecorationRole:
            return m_icon.isNull() ? QVariant() : QVariant(m_icon);
        default:
            return own;
        }
    }

private:
    static const QFont &font()
    {
        static const QFont f = tableFont();
        return f;
    }

    QIcon m_icon;
    QString m_key;
    QString m_soleId;
    Qt::Alignment m_align;
    quint8 m_look;
    bool m_odd;
    bool m_keyed = false;
    qint8 m_checkCategory = -1;
};

QTableWidgetItem *cellItem(const QString &text, Qt::Alignment align, int row)
{
    return new TableCell(row, text, align, TableCell::Text);
}

// The head row: the select-all check cell and the column titles.
template<typename Put>
void putHeadRow(Put put, int category, const QStringList &headers, const QIcon &unchecked)
{
    auto *head = (new TableCell(0))->checkCellOf(category);
    head->setCheckState(Qt::Unchecked);
    head->setIcon(unchecked);
    head->setBackground(browser::headBackground());
    put(0, 0, head);
    for (int c = 1; c <= headers.size(); ++c)
        put(0, c, headItem(MainWindow::tr(headers.at(c - 1).toUtf8().constData())));
}

// Puts the cells of a fill into a table: the model tells its view of the
// whole block once, when the fill is done, instead of once for every cell
// (which costs a table of many thousand cells more than making them).
class CellBlock
{
public:
    explicit CellBlock(QTableWidget *table) : m_table(table), m_quiet(table->model()) {}
    ~CellBlock()
    {
        m_quiet.unblock();
        QAbstractItemModel *model = m_table->model();
        if (model->rowCount() > 0 && model->columnCount() > 0)
            emit model->dataChanged(model->index(0, 0), model->index(model->rowCount() - 1, model->columnCount() - 1));
    }
    CellBlock(const CellBlock &) = delete;
    CellBlock &operator=(const CellBlock &) = delete;

private:
    QTableWidget *m_table;
    QSignalBlocker m_quiet;
};

// A record whose id the phone listed more than once cannot be told from a
// forged one: its row shows no check mark, only this explanation.
QString ambiguousRowTip()
{
    return MainWindow::tr("The phone listed this record's id more than once, so it cannot be told which item the "
                          "id would erase: it cannot be chosen.");
}

// A file whose location cannot be read is shown but cannot be chosen: its
// check cell carries no check mark, only this explanation.
QString unreadableLocationTip()
{
    return MainWindow::tr("The phone did not give a location this file can be erased by.");
}

} // namespace

const MainWindow::TableLayout &MainWindow::tableLayout(int category)
{
    static const TableLayout specs[6] = {
        {Contact, "tableContactWidget", QT_TRANSLATE_NOOP("eraseplan", "Contact"),
         "EP_IsScanning_PushButton_Contact",
         "EP_IsScanning_Label_ContactBg", "EP_IsScanning_Label_ContactButton_Selected",
         "EP_IsScanning_Label_ContactButton_NotSelected",
         {QT_TR_NOOP("Name"), QT_TR_NOOP("Number"), QT_TR_NOOP("Email"), QT_TR_NOOP("Address"),
          QT_TR_NOOP("Organization")},
         {56, 91, 91, 91, 91, 92}, 529,
         true, &MainWindow::m_contactMinRow, &MainWindow::m_contactLessMin,
         &MainWindow::m_contactTableItems, &MainWindow::m_contactToEraseList,
         &MainWindow::m_contactMapNumberId, &MainWindow::m_contactSearchMapNumberId,
         &MainWindow::m_contactMapIdData, &MainWindow::m_contactSearching, nullptr,
         &MainWindow::tableContactItemSlot, "ContactUI", "contact UI"},
        {History, "tableHistoryWidget", QT_TRANSLATE_NOOP("eraseplan", "History"),
         "EP_IsScanning_PushButton_CallHistory",
         "EP_IsScanning_Label_HistoryBg", "EP_IsScanning_Label_HistoryButton_Selected",
         "EP_IsScanning_Label_HistoryButton_NotSelected",
         {QT_TR_NOOP("Name"), QT_TR_NOOP("Number"), QT_TR_NOOP("CallType"), QT_TR_NOOP("Druation"), QT_TR_NOOP("Date")},
         {56, 91, 91, 91, 91, 92}, 529, true,
         &MainWindow::m_historyMinRow, &MainWindow::m_historyLessMin,
         &MainWindow::m_historyTableItems, &MainWindow::m_historyToEraseList,
         &MainWindow::m_historyMapNumberId, &MainWindow::m_historySearchMapNumberId,
         &MainWindow::m_historyMapIdData, &MainWindow::m_historySearching, nullptr,
         &MainWindow::tableHistoryItemSlot, "historyUI", "history UI"},
        {Message, "tableMessageWidget", QT_TRANSLATE_NOOP("eraseplan", "Message"),
         "EP_IsScanning_PushButton_Message",
         "EP_IsScanning_Label_MessageBg", "EP_IsScanning_Label_MessageButton_Selected",
         "EP_IsScanning_Label_MessageButton_NotSelected",
         {QT_TR_NOOP("Name"), QT_TR_NOOP("Number"), QT_TR_NOOP("Smsbody"), QT_TR_NOOP("Date")},
         {56, 114, 114, 114, 114}, 529, true, &MainWindow::m_messageMinRow,
         &MainWindow::m_messageLessMin, &MainWindow::m_messageTableItems,
         &MainWindow::m_messageToEraseList, &MainWindow::m_messageMapNumberId,
         &MainWindow::m_messageSearchMapNumberId, &MainWindow::m_messageMapIdData,
         &MainWindow::m_messageSearching, nullptr, &MainWindow::tableMessageItemSlot,
         "messageUI", "message UI"},
        {Photo, "tablePhotoWidget", QT_TRANSLATE_NOOP("eraseplan", "Photo"),
         "EP_IsScanning_PushButton_Photo",
         "EP_IsScanning_Label_PhotoBg", "EP_IsScanning_Label_PhotoButton_Selected",
         "EP_IsScanning_Label_PhotoButton_NotSelected",
         {QT_TR_NOOP("Photo"), QT_TR_NOOP("Name"), QT_TR_NOOP("Size"), QT_TR_NOOP("Format")},
         {56, 114, 114, 114, 114}, 529, false, &MainWindow::m_photoMinRow,
         &MainWindow::m_photoLessMin, &MainWindow::m_photoTableItems,
         &MainWindow::m_photoToEraseList, nullptr, nullptr, nullptr, nullptr,
         &MainWindow::m_photoDir, &MainWindow::tablePhotoItemSlot, "PhotoUI", "photo UI"},
        {Audio, "tableAudioWidget", QT_TRANSLATE_NOOP("eraseplan", "Audio"),
         "EP_IsScanning_PushButton_Audio",
         "EP_IsScanning_Label_AudioBg", "EP_IsScanning_Label_AudioButton_Selected",
         "EP_IsScanning_Label_AudioButton_NotSelected",
         {QT_TR_NOOP("Name"), QT_TR_NOOP("Size"), QT_TR_NOOP("Format"), QT_TR_NOOP("Location")},
         {56, 161, 161, 164, 161}, 720, false, &MainWindow::m_audioMinRow,
         &MainWindow::m_audioLessMin, &MainWindow::m_audioTableItems,
         &MainWindow::m_audioToEraseList, nullptr, nullptr, nullptr, nullptr,
         &MainWindow::m_audioDir, &MainWindow::tableAudioItemSlot, "AudioUI", "audio UI"},
        {Vedio, "tableVedioWidget", QT_TRANSLATE_NOOP("eraseplan", "Video"),
         "EP_IsScanning_PushButton_Vedio",
         "EP_IsScanning_Label_VedioBg", "EP_IsScanning_Label_VedioButton_Selected",
         "EP_IsScanning_Label_VedioButton_NotSelected",
         {QT_TR_NOOP("Name"), QT_TR_NOOP("Size"), QT_TR_NOOP("Format"), QT_TR_NOOP("Location")},
         {56, 161, 161, 164, 161}, 720, false, &MainWindow::m_vedioMinRow,
         &MainWindow::m_vedioLessMin, &MainWindow::m_vedioTableItems,
         &MainWindow::m_vedioToEraseList, nullptr, nullptr, nullptr, nullptr,
         &MainWindow::m_vedioDir, &MainWindow::tableVedioItemSlot, "VedioUI", "vedioUI"},
    };
    return specs[qBound(0, category, 5)];
}

QString MainWindow::formatSize(qint64 bytes)
{
    return browser::formatSize(bytes);
}

// ---------------------------------------------------------------------------
// Start-up: timers, icons, tables

// The icons and the tables are made after the first frame
// (MainWindow::finishStartup), or when a table is first filled.

static QIcon loadIcon(const QString &path)
{
    const QString fallback = QStringLiteral(":/Image/added/wrongFormat.png");
    QString file = path;
    if (!QImageReader(file, "PNG").canRead()) {
        qDebug() << "px enmp" << path;
        file = fallback;
    }
    // Read when first drawn, with its "@2x" drawing on a scaling screen. A
    // selected row shows it as it is, not tinted (an unticked box would look
    // ticked).
    QIcon icon;
    icon.addFile(file, QSize(), QIcon::Normal);
    icon.addFile(file, QSize(), QIcon::Selected);
    if (icon.isNull()) {
        qDebug() << "icon enmp" << path;
        icon.addPixmap(QPixmap::fromImage(QImage(fallback, "PNG")));
    }
    return icon;
}

void MainWindow::loadTableIcons()
{
    m_iconUnchecked = loadIcon(QStringLiteral(":/Image/Private/contactTable_headUnselect.png"));
    m_iconChecked = loadIcon(QStringLiteral(":/Image/Private/contactTable_headSelected.png"));
    m_iconContact = loadIcon(QStringLiteral(":/Image/StaticUI/ContactIcon.png"));
    m_iconAudio = loadIcon(QStringLiteral(":/Image/Private/audioTable_audioIcon.png"));
    m_iconVedio = loadIcon(QStringLiteral(":/Image/Private/vedioTable_vedioIcon.png"));
    m_iconContactItemUnchecked =
        loadIcon(QStringLiteral(":/Image/Private/contactTable_itemUnselect.png"));
    m_iconContactItemChecked =
        loadIcon(QStringLiteral(":/Image/Private/contactTable_itemSelected.png"));
    m_iconMessageItemUnchecked =
        loadIcon(QStringLiteral(":/Image/Private/messageTable_itemUnselect.png"));
    m_iconMessageItemChecked =
        loadIcon(QStringLiteral(":/Image/Private/messageTable_itemSelected.png"));
    m_iconDelete = loadIcon(QStringLiteral(":/Image/StaticUI/Delete.png"));
}

QTableWidget *MainWindow::categoryTable(int category) const
{
    if (category < Contact || category > Vedio)
        return nullptr;
    if (QTableWidget *made = m_categoryTables[category])
        return made; // what a row click asks for every row of a table costs no search
    return findChild<QTableWidget *>(QLatin1String(tableLayout(category).objectName));
}

void MainWindow::createCategoryTables()
{
    if (m_iconUnchecked.isNull())
        loadTableIcons();
    QWidget *page = browserWidget<QWidget>("C_EPrivate_IsScanning_2");
    if (!page)
        page = centralWidget() ? centralWidget() : this;
    for (int c = Contact; c <= Vedio; ++c) {
        if (categoryTable(c))
            continue;
        const TableLayout &layout = tableLayout(c);
        auto *table = new QTableWidget(page);
        m_categoryTables[c] = table;
        table->setObjectName(QLatin1String(layout.objectName));
        table->setItemDelegate(new browser::RowDelegate(this));
        table->setGeometry(155, 43, layout.tableWidth, 373);
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        // The selected (current) row keeps its text dark on the pale blue.
        table->setStyleSheet(QStringLiteral(
            "selection-background-color:rgb(237,247,253);selection-color:rgb(51,51,51);border: none;"));
        table->setFocusPolicy(Qt::NoFocus);
        table->horizontalHeader()->hide();
        table->verticalHeader()->hide();
        table->setIconSize(QSize(56, 56));
        table->setWordWrap(true);
        connect(table, &QTableWidget::itemClicked, this, layout.itemSlot);
        if (c == Contact)
            connect(table->verticalHeader(), &QHeaderView::sectionClicked, this,
                    &MainWindow::tableContactVerticalHeadSlot);
        table->hide();
    }
}

// ---------------------------------------------------------------------------
// Filling

namespace {

// Deletes every item of a table's item list. The list holds exactly what the
// fill put into the table, so emptying the table deletes them all in one go
// (taking them out one by one would tell the view of every cell).
void dropItems(QTableWidget *table, QList<QTableWidgetItem *> *items)
{
    if (table) {
        table->clear();
        table->setRowCount(0);
    } else {
        qDeleteAll(*items);
    }
    items->clear();
}

void sizeTable(QTableWidget *table, const QList<int> &widths)
{
    for (int c = 0; c < widths.size(); ++c)
        table->setColumnWidth(c, widths.at(c));
    table->verticalHeader()->setMinimumSectionSize(1);
    table->verticalHeader()->setDefaultSectionSize(60);
    if (table->rowCount() > 0)
        table->setRowHeight(0, 26);
}

// What sets the data rows of one category's table apart beyond their texts.
struct RowLook
{
    quint8 checkLook;              // the check cell's look (TableCell::Look)
    Qt::Alignment nameAlign;       // column 1's text
    QIcon MainWindow::*nameIcon;   // column 1's icon
    bool photoColumn;              // column 1 holds the photo and no text
    const char *startLog;          // logged when a scan fills the table, after "start update ..."
    const char *rowLog;            // logged for each entry of a file table, with the entry
    QVector<const char *> searchLog; // logged when a search fills the table again
};

const RowLook &rowLook(int category)
{
    const Qt::Alignment left = Qt::AlignVCenter | Qt::AlignLeft;
    const quint8 plainCheck = TableCell::Unchecked;
    const quint8 textCheck = TableCell::Unchecked | TableCell::Text;
    static const RowLook keyed{plainCheck, left, &MainWindow::m_iconContact, false, nullptr, nullptr, {}};
    static const RowLook looks[6] = {
        {plainCheck, left, &MainWindow::m_iconContact, false, nullptr, nullptr,
         {"before min row", "after contact min row", "after bg ", "before  contact head",
          "before contact normal item", "after contact normal item"}},
        keyed,
        keyed,
        {plainCheck, Qt::AlignCenter, &MainWindow::m_iconContact, true, "start update private photoUI", "p:", {}},
        {textCheck, Qt::AlignCenter, &MainWindow::m_iconAudio, false, nullptr, nullptr, {}},
        {textCheck, Qt::AlignCenter, &MainWindow::m_iconVedio, false, nullptr, nullptr, {}},
    };
    return looks[qBound(0, category, 5)];
}

// One data row of a table, whatever its category: the texts of columns 1..
// (none in the photo's column 1) and what its check cell stands for.
struct DataRow
{
    QStringList cells;
    QString number; // keyed rows: the number the row stands for...
    QString soleId; // ... or the one record without a number it shows
    bool readable;  // false: a file whose location cannot be read
};

DataRow dataRow(const browser::KeyedRow &row)
{
    return {row.cells, row.number, row.soleId, true};
}

DataRow dataRow(const QString &entry, bool photoColumn)
{
    const browser::FileRow f = browser::fileRow(entry);
    QStringList cells = photoColumn ? QStringList{QString(), f.name, f.sizeText, f.format}
                                    : QStringList{f.name, f.sizeText, f.format, f.locationText};
    return {cells, QString(), QString(), !f.location.isEmpty()};
}

// The rows of a keyed table, from the shown number map (the search's while
// a search is on).
QList<browser::KeyedRow> keyedRowsOf(const MainWindow &w, int category)
{
    const MainWindow::TableLayout &layout = MainWindow::tableLayout(category);
    const bool searching = w.*layout.searching;
    const proto::NumberIndex &keyMap = searching ? w.*layout.searchMap : w.*layout.keyMap;
    return category == Message
        ? browser::buildMessageRows(keyMap, w.m_messageMapIdData, w.m_contactMapNumberId,
                                    w.m_contactMapIdData)
        : browser::buildKeyedRows(keyMap, w.*layout.idData, layout.headers.size());
}

} // namespace

// Fills a category table from the scanned records (contacts, history,
// messages: a row per number) or entries (photos, audio, video: a row per
// file), padded to its least height; rows whose ids are all chosen already
// show checked. A rebuild is a search's: its table stays shown.
void MainWindow::fillTable(int category, bool rebuild)
{
    const TableLayout &layout = tableLayout(category);
    const RowLook &look = rowLook(category);
    if (!categoryTable(category))
        createCategoryTables();
    QTableWidget *table = categoryTable(category);
    QList<QTableWidgetItem *> &items = this->*layout.items;

    if (!rebuild)
        qDebug() << (QStringLiteral("start update ") + QLatin1String(layout.logName));
    if (look.startLog)
        qDebug() << look.startLog;
    dropItems(table, &items);
    m_tableList.removeAll(table);

    const QList<browser::KeyedRow> keyedRows = layout.keyed ? keyedRowsOf(*this, category)
                                                            : QList<browser::KeyedRow>();
    const QStringList noEntries;
    const QStringList &entries = layout.keyed ? noEntries : this->*layout.dir;
    const int n = layout.keyed ? keyedRows.size() : entries.size();
    int rowCount = n + 1;
    if (n < this->*layout.minRow) {
        this->*layout.lessMin = true;
        rowCount = this->*layout.minRow + 1;
    }
    for (int i = 0; rebuild && i < look.searchLog.size(); ++i)
        qDebug() << look.searchLog.at(i);

    const int columns = layout.headers.size() + 1;
    table->setColumnCount(columns);
    table->setRowCount(rowCount);
    items.reserve(rowCount * columns);
    auto put = [&](int r, int c, QTableWidgetItem *item) {
        table->setItem(r, c, item);
        items.append(item);
    };

    {
        // every cell at once: the view hears of the fill when it is done
        CellBlock block(table);
        putHeadRow(put, category, layout.headers, m_iconUnchecked);
        for (int r = 1; r <= n; ++r) {
            if (look.rowLog)
                qDebug() << look.rowLog << entries.at(r - 1);
            const DataRow row =
                layout.keyed ? dataRow(keyedRows.at(r - 1)) : dataRow(entries.at(r - 1), look.photoColumn);
            auto *check = new TableCell(r, look.checkLook, row.readable ? m_iconUnchecked : QIcon());
            check->checkCellOf(category);
            // What a keyed row stands for: every record of its number, or the
            // one record without a number it shows.
            if (layout.keyed)
                check->standFor(row.number, row.soleId);
            if (!row.readable)
                check->setToolTip(unreadableLocationTip());
            put(r, 0, check);
            const QIcon &nameIcon = this->*look.nameIcon;
            put(r, 1,
                look.photoColumn ? new TableCell(r, TableCell::Plain, nameIcon)
                                 : new TableCell(r, row.cells.value(0), look.nameAlign, TableCell::Text, nameIcon));
            for (int c = 2; c < columns; ++c)
                put(r, c, cellItem(row.cells.value(c - 1), Qt::AlignCenter, r));
        }
        for (int r = n + 1; r < rowCount; ++r) {
            for (int c = 0; c < columns; ++c)
                put(r, c, new TableCell(r));
        }
    }
    sizeTable(table, layout.widths);
    markUnchoosableRows(category, n);
    markChosenRows(category, n);

    m_tableList.append(table);
    table->setEnabled(true);
    if (!rebuild)
        app::hideWidget(table);
    showRowCount(category, n, rebuild);
}

// The category button tells how many rows its table shows; after a search on
// one line.
void MainWindow::showRowCount(int category, int rows, bool searched)
{
    const TableLayout &layout = tableLayout(category);
    const QString word = QCoreApplication::translate("eraseplan", layout.captionWord);
    const QString caption = searched
        ? word + QLatin1Char('(') + QString::number(rows) + QLatin1Char(')')
        : browser::categoryCaption(word, rows);
    if (auto *button = browserWidget<QPushButton>(layout.buttonName)) {
        button->setText(caption);
        button->setEnabled(true);
        nameCategoryButton(category, rows);
    }
}

// A row of records whose id the phone listed more than once only: shown, but
// nothing of it can be chosen.
void MainWindow::markUnchoosableRows(int category, int rows)
{
    if (ambiguousIdsOf(category).isEmpty())
        return;
    QTableWidget *table = categoryTable(category);
    for (int r = 1; r <= rows; ++r) {
        if (!rowIds(category, r).isEmpty())
            continue;
        table->item(r, 0)->setIcon(QIcon());
        table->item(r, 0)->setToolTip(ambiguousRowTip());
    }
}

// A row whose ids are all chosen already shows checked: what the table shows
// is what will be erased.
void MainWindow::markChosenRows(int category, int rows)
{
    QTableWidget *table = categoryTable(category);
    browser::Selection selection(&(this->*tableLayout(category).toErase));
    for (int r = 1; r <= rows && !selection.isEmpty(); ++r) {
        if (selection.covers(rowIds(category, r))) {
            table->item(r, 0)->setCheckState(Qt::Checked);
            table->item(r, 0)->setIcon(m_iconChecked);
            for (int c = 0; c < table->columnCount(); ++c)
                table->item(r, c)->setBackground(browser::checkedBackground());
        }
    }
}

// ---------------------------------------------------------------------------
// The six category updates, called by the scan poll

// A category's records or entries have come: its table is filled (when the
// private data is being scanned) and the scan goes on.
void MainWindow::updateCategoryUI(int category)
{
    if (!m_dataReadable[category])
        return;
    if (m_eraseType == EraseType::Private)
        fillTable(category, false);
    advanceScanAfter(category);
}

void MainWindow::updateContactUI() { updateCategoryUI(Contact); }
void MainWindow::updateHistoryUI() { updateCategoryUI(History); }
void MainWindow::updateMessageUI() { updateCategoryUI(Message); }
void MainWindow::updatePhotoUI() { updateCategoryUI(Photo); }
void MainWindow::updateAudioUI() { updateCategoryUI(Audio); }
void MainWindow::updateVedioUI() { updateCategoryUI(Vedio); }

void MainWindow::updateContactUI_N_Search()
{
    fillTable(Contact, true);
}

void MainWindow::updateHistoryUI_N_Search()
{
    fillTable(History, true);
}

void MainWindow::updateMessageUI_N_Search()
{
    fillTable(Message, true);
}

// ---------------------------------------------------------------------------
// Category switching

void MainWindow::selectCategory(int category)
{
    if (auto *name = browserWidget<QLabel>("EP_IsScanning_Label_Name"))
        name->clear();
    if (auto *info = browserWidget<QListWidget>("EP_IsScanning_ListWidget_InfoShow"))
        info->clear();
    QTableWidget *table = categoryTable(category);
    if (table && !table->isHidden())
        return;

    app::showWidget(browserWidget<QWidget>("EP_IsScanning_Label_Name"));
    app::showWidget(browserWidget<QWidget>("EP_IsScanning_ListWidget_InfoShow"));
    app::showWidget(browserWidget<QWidget>("EP_IsScanning_Label_NameFrameTop"));
    app::showWidget(browserWidget<QWidget>("EP_IsScanning_Label_NameFrameBottom"));
    app::setWidgetShown(browserWidget<QWidget>("EP_IsScanning_Label_PhotoLocation"), category == Photo);
    for (QTableWidget *t : qAsConst(m_tableList))
        app::hideWidget(t);
    app::showWidget(table);

    paintCategoryButtons(category);
    m_currentCategory = category;
}

void MainWindow::paintCategoryButtons(int category)
{
    for (int c = Contact; c <= Vedio; ++c) {
        const TableLayout &layout = tableLayout(c);
        const bool chosen = c == category;
        if (auto *bg = browserWidget<QWidget>(layout.bgLabelName))
            bg->setStyleSheet(chosen
                                  ? QStringLiteral("background-image:url(:/Image/Private/tableBg_Selected.png);")
                                  : QStringLiteral("background-image:url(:/Image/Private/tableBg_Normal.png);"));
        app::setWidgetShown(browserWidget<QWidget>(layout.selectedLabelName), chosen);
        app::setWidgetShown(browserWidget<QWidget>(layout.notSelectedLabelName), !chosen);
    }
}

void MainWindow::on_EP_IsScanning_PushButton_Contact_clicked() { selectCategory(Contact); }
void MainWindow::on_EP_IsScanning_PushButton_CallHistory_clicked() { selectCategory(History); }
void MainWindow::on_EP_IsScanning_PushButton_Message_clicked() { selectCategory(Message); }
void MainWindow::on_EP_IsScanning_PushButton_Photo_clicked() { selectCategory(Photo); }
void MainWindow::on_EP_IsScanning_PushButton_Audio_clicked() { selectCategory(Audio); }
void MainWindow::on_EP_IsScanning_PushButton_Vedio_clicked() { selectCategory(Vedio); }

// ---------------------------------------------------------------------------
// Clearing at a new scan

void MainWindow::clearResultTables()
{
    m_contactToEraseList.clear();
    m_historyToEraseList.clear();
    m_messageToEraseList.clear();
    m_photoToEraseList.clear();
    m_audioToEraseList.clear();
    m_vedioToEraseList.clear();
    for (int c = Contact; c <= Vedio; ++c)
        m_eraseSelected[c] = false;
    m_photoRequestCount = 0;

    const bool clearPrivate = m_eraseType != EraseType::App;
    const bool clearApps = m_eraseType != EraseType::Private;
    const char *const prefix = m_eraseType == EraseType::Private ? "start clear private data and new"
        : m_eraseType == EraseType::All                        ? "start clear all data and new"
                                                                : "start clear app data and new";
    if (m_eraseType == EraseType::App)
        qDebug() << (QLatin1String(prefix) + QStringLiteral(",cleared to EraseList"));
    else
        qDebug() << (QLatin1String(prefix) + QStringLiteral(",end clear ToEraseList"));

    if (clearPrivate) {
        endSearches();
        for (int c = Contact; c <= Vedio; ++c) {
            const TableLayout &layout = tableLayout(c);
            dropItems(categoryTable(c), &(this->*layout.items));
            this->*layout.lessMin = false;
        }
        m_contactMinRow = 11;
        m_historyMinRow = 11;
        m_messageMinRow = 8;
        m_photoMinRow = 8;
        m_audioMinRow = 8;
        m_vedioMinRow = 8;
        if (m_eraseType == EraseType::Private)
            qDebug() << "start clear private data and new,end clear tableItems";
        for (QTableWidget *t : qAsConst(m_tableList))
            app::hideWidget(t);
        m_tableList.clear();
        // the next results open on the contact category
        m_currentCategory = Contact;
        paintCategoryButtons(Contact);
        if (m_eraseType == EraseType::Private)
            qDebug() << "start clear private data and new,end clear tableWidget";

        m_contactMapIdData.clear();
        m_contactMapNameId.clear();
        m_contactMapNumberId.clear();
        m_historyMapIdData.clear();
        m_historyMapNameId.clear();
        m_historyMapNumberId.clear();
        m_messageMapIdData.clear();
        m_messageMapNameId.clear();
        m_messageMapNumberId.clear();
        m_contactAmbiguous.clear();
        m_historyAmbiguous.clear();
        m_messageAmbiguous.clear();
        m_photoDir.clear();
        m_audioDir.clear();
        m_vedioDir.clear();

        stopPhotoFetching();
        clearPhotoThumbnails();
        if (auto *dirShow = browserWidget<QLabel>("EP_IsScanning_Label_DirShow"))
            dirShow->clear();
    }
    if (clearApps) {
        m_facebookDir.clear();
        m_twitterDir.clear();
        m_skypeDir.clear();
        m_viberDir.clear();
        m_kikmessengerDir.clear();
        m_whatsappDir.clear();
    }
    if (m_eraseType == EraseType::App)
        qDebug() << (QLatin1String(prefix) + QStringLiteral(",cleared dirs"));
    else
        qDebug() << (QLatin1String(prefix) + QStringLiteral(",end clear dirs"));
}
