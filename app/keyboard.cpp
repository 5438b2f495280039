#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "browser/tablelayout.h"
#include "topbuttonformousemove.h"
#include "widgetvisibility.h"
#include "windowgeometry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

namespace {

// Colour of the focus mark on white (on the blue bars it is white).
const char *FocusColour = "#0B5E80";

// Property of the buttons that lie on a blue bar: their focus mark is white.
const char *OnBlueProperty = "focusOnBlue";

// Property of a category table set while its keyboard user moves through it:
// the row delegate then marks the current row.
const char *KeyboardFocusProperty = "keyboardFocus";

// A rule added to a control's own style sheet, where its own rules would
// take precedence over the window's.
void addOwnFocusRule(QWidget *w, const char *className, const QString &declarations)
{
    const QString rule =
        QStringLiteral("\n%1#%2:focus { %3 }").arg(QLatin1String(className), w->objectName(), declarations);
    w->setStyleSheet(w->styleSheet() + rule);
}

bool isActivateKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

void chainTabOrder(const QList<QWidget *> &order)
{
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

bool usable(const QWidget *w)
{
    return w && w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus;
}

// Marks of the controls with borders or padding of their own.
void addOwnFocusMarks(Ui::MainWindow *ui)
{
    const QString focusBorder = QStringLiteral("border: 2px solid %1;").arg(QLatin1String(FocusColour));
    for (QPushButton *b : {ui->EP_IsScanning_PushButton_Contact, ui->EP_IsScanning_PushButton_CallHistory,
                           ui->EP_IsScanning_PushButton_Message, ui->EP_IsScanning_PushButton_Photo,
                           ui->EP_IsScanning_PushButton_Audio, ui->EP_IsScanning_PushButton_Vedio})
        addOwnFocusRule(b, "QPushButton", focusBorder + QStringLiteral(" padding-left: 48px;"));
    // The menu items show the hover look.
    for (QPushButton *b : {ui->T_D_Help_PushButton, ui->T_D_About_PushButton, ui->T_D_Exit_PushButton})
        addOwnFocusRule(b, "QPushButton",
                        QStringLiteral("border-image:url(:/Image/RightTopMenuItems/item_normal_on_bg.png); "
                                       "color:white; outline: none;"));
    for (QLineEdit *e : {ui->EP_IsScanning_TextBroswerEditor, ui->M_ConformErase_LineEdit_InputErase})
        addOwnFocusRule(e, "QLineEdit", QStringLiteral("border: 2px solid #1EB2EA; padding-left: 5px;"));
    addOwnFocusRule(ui->M_EraseCompleted_Table, "QTableWidget",
                    QStringLiteral("border-color: %1;").arg(QLatin1String(FocusColour)));
    addOwnFocusRule(ui->EP_IsScanning_ListWidget_InfoShow, "QListWidget",
                    QStringLiteral("border: 1px solid %1;").arg(QLatin1String(FocusColour)));
}

// The tab order of each page, in reading order.
QHash<QWidget *, QList<QWidget *>> pageTabOrders(Ui::MainWindow *ui)
{
    QHash<QWidget *, QList<QWidget *>> order;
    order[ui->B_EAll_ToScan] = {ui->EAll_Label_ToScan};
    order[ui->C_EPrivate_IsScanning_2] = {
        ui->EP_IsScanning_PushButton_Contact, ui->EP_IsScanning_PushButton_CallHistory,
        ui->EP_IsScanning_PushButton_Message, ui->EP_IsScanning_PushButton_Photo,
        ui->EP_IsScanning_PushButton_Audio,   ui->EP_IsScanning_PushButton_Vedio,
        ui->EP_IsScanning_TextBroswerEditor,  ui->EP_IsScanning_PusuButton_SearchButton,
        // the six tables go here once they are made
        ui->EP_IsScanning_ListWidget_InfoShow, ui->EP_IsScanning_PushButton_Erase};
    order[ui->D_EApp_ToScanAndIsScanning] = {
        ui->EApp_RatioButton_SelectAll, ui->EApp_RatioButton_Facebook, ui->EApp_RatioButton_Twitter,
        ui->EApp_RatioButton_KikMessenger, ui->EApp_RatioButton_Viber, ui->EApp_RatioButton_Skype,
        ui->EApp_RatioButton_WhatsApp, ui->EApp_PushButton_Erase};
    order[ui->M_ConformErase_1] = {ui->M_ConformErase_PushButton_Setting, ui->M_ConformErase_LineEdit_InputErase,
                                   ui->M_ConformErase_PushButton_Back, ui->M_ConformErase_PushButton_EraseNow};
    order[ui->M_IsErasing_2] = {ui->M_IsErasing_PubuButton_Stop};
    order[ui->M_EraseCompleted_3] = {ui->M_EraseCompleted_Table, ui->M_EraseCompleted_PushButton_Record,
                                     ui->M_EraseComplated_PushButton_Home};
    order[ui->M_All_Private_IsScanning] = {ui->M_All_Private_IsScanning_pushButton_Stop};
    return order;
}

// A notice's buttons in reading order, the close button of its bar last.
// The buttons on its bar get the focus mark of the blue bars.
QList<QWidget *> noticeTabOrder(QWidget *notice)
{
    QList<QWidget *> buttons;
    for (QAbstractButton *b : notice->findChildren<QAbstractButton *>()) {
        if (qobject_cast<TopButtonForMouseMove *>(b))
            continue;
        if (b->y() < app::windowgeometry::NoticeBarHeight)
            b->setProperty(OnBlueProperty, true);
        buttons << b;
    }
    std::stable_sort(buttons.begin(), buttons.end(), [](QWidget *a, QWidget *b) {
        const bool aBar = a->y() < app::windowgeometry::NoticeBarHeight;
        const bool bBar = b->y() < app::windowgeometry::NoticeBarHeight;
        if (aBar != bBar)
            return bBar;
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    return buttons;
}

// Every radio button of a tab order keeps its Tab stop.
void keepRadioTabStops(const QList<QWidget *> &order)
{
    for (QWidget *w : order)
        if (qobject_cast<QRadioButton *>(w))
            w->setFocusPolicy(Qt::TabFocus);
}

bool isNotice(const QList<QPair<QWidget *, QPoint>> &notices, const QWidget *window)
{
    return std::any_of(notices.cbegin(), notices.cend(),
                       [window](const QPair<QWidget *, QPoint> &entry) { return entry.first == window; });
}

// A category table marks its current row once a key is pressed in it.
void showKeyboardMark(QTableWidget *table)
{
    if (table->property(KeyboardFocusProperty).toBool())
        return;
    table->setProperty(KeyboardFocusProperty, true);
    table->viewport()->update();
}

// A key that presses the target: true when the target is a button (a
// disabled one or a held key presses nothing).
bool pressButton(QWidget *target, const QKeyEvent *key)
{
    auto *button = qobject_cast<QAbstractButton *>(target);
    if (!button)
        return false;
    if (button->isEnabled() && !key->isAutoRepeat())
        button->click();
    return true;
}

} // namespace

// The window's focus marks: every push button and radio button inherits an
// outline drawn over its own picture; the controls whose own style sheet
// sets a border or padding get theirs in it (initKeyboard).
QString MainWindow::focusStyleSheet()
{
    return QStringLiteral("QPushButton:focus, QRadioButton:focus { outline: 2px solid %1; outline-radius: 4px; }\n"
                          "QPushButton[%2=\"true\"]:focus { outline-color: white; }\n")
        .arg(QLatin1String(FocusColour), QLatin1String(OnBlueProperty));
}

void MainWindow::initKeyboard()
{
    // Every button and radio button is reached with Tab; a mouse click does
    // not move the focus (the keyboard user's place stays where it was).
    // The notices' drag bars are for the mouse only.
    for (QAbstractButton *b : findChildren<QAbstractButton *>())
        b->setFocusPolicy(qobject_cast<TopButtonForMouseMove *>(b) ? Qt::NoFocus : Qt::TabFocus);
    ui->M_EraseCompleted_Table->setFocusPolicy(Qt::StrongFocus);
    ui->M_EraseCompleted_Table->setTabKeyNavigation(false); // Tab leaves the report
    ui->EP_IsScanning_ListWidget_InfoShow->setFocusPolicy(Qt::StrongFocus);

    m_topBarOrder = {ui->S_MyPhone_Button, ui->S_All_Button,       ui->S_Private_Button,  ui->S_App_Button,
                     ui->S_Menu_Button,    ui->T_D_Help_PushButton, ui->T_D_About_PushButton, ui->T_D_Exit_PushButton,
                     ui->S_Min_Button,     ui->S_Close_Button};
    for (QWidget *w : {ui->S_MyPhone_Button, ui->S_All_Button, ui->S_Private_Button, ui->S_App_Button,
                       ui->S_Menu_Button, ui->S_Min_Button, ui->S_Close_Button})
        w->setProperty(OnBlueProperty, true);

    addOwnFocusMarks(ui);

    // Tab order: the top bar left to right, then the page on screen in
    // reading order (hidden pages are passed over); each notice its own.
    m_tabOrder = pageTabOrders(ui);
    for (const auto &entry : qAsConst(m_noticeList)) {
        QWidget *notice = entry.first;
        notice->setProperty("purgatexNotice", true);
        m_tabOrder[notice] = noticeTabOrder(notice);
        chainTabOrder(m_tabOrder[notice]);
    }
    QList<QWidget *> windowOrder = m_topBarOrder;
    for (QWidget *page : qAsConst(m_pageList))
        windowOrder += m_tabOrder.value(page);
    chainTabOrder(windowOrder);

    // Typing the word and pressing Enter does what Erase Now does (which
    // still checks the word).
    connect(ui->M_ConformErase_LineEdit_InputErase, &QLineEdit::returnPressed, this,
            &MainWindow::on_M_ConformErase_PushButton_EraseNow_clicked);

    // A menu opened from the keyboard closes once the focus leaves it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!m_menuByKeyboard || ui->T_D_MenuWidget->isHidden())
            return;
        if (now && now != ui->S_Menu_Button && !ui->T_D_MenuWidget->isAncestorOf(now) && now->window() == this)
            closeKeyboardMenu(false);
    });

    // The category tables' keys are set up with the tables, after the first
    // frame (MainWindow::finishStartup).
}

void MainWindow::initTableKeyboard()
{
    createCategoryTables();
    QList<QWidget *> &order = m_tabOrder[ui->C_EPrivate_IsScanning_2];
    for (int c = Contact; c <= Vedio; ++c) {
        QTableWidget *table = categoryTable(c);
        if (!table || order.contains(table))
            continue;
        // Rows are moved through with the arrows (one current row, shown
        // selected) and Tab leaves the table.
        table->setFocusPolicy(Qt::StrongFocus);
        table->setSelectionMode(QAbstractItemView::SingleSelection);
        table->setTabKeyNavigation(false);
        connect(table->selectionModel(), &QItemSelectionModel::currentRowChanged, table->viewport(),
                [table] { table->viewport()->update(); });
        table->setAccessibleName(QCoreApplication::translate("eraseplan", tableLayout(c).captionWord));
        table->setAccessibleDescription(tr("Space ticks the current row; the first row ticks every row."));
        // between the search and the detail pane
        order.insert(order.indexOf(ui->EP_IsScanning_ListWidget_InfoShow), table);
    }
    QList<QWidget *> windowOrder = m_topBarOrder;
    for (QWidget *page : qAsConst(m_pageList))
        windowOrder += m_tabOrder.value(page);
    chainTabOrder(windowOrder);
}

bool MainWindow::keyboardEvent(QObject *watched, QEvent *e)
{
    switch (e->type()) {
    case QEvent::KeyPress:
        return watched->isWidgetType() && handleKey(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(e));
    case QEvent::Show:
    case QEvent::Hide:
        // Shown by the program, not restored by the window system.
        if (e->spontaneous() || !watched->isWidgetType())
            return false;
        if (m_pageList.contains(static_cast<QWidget *>(watched))) {
            if (e->type() == QEvent::Show)
                pageShown(static_cast<QWidget *>(watched));
            return false;
        }
        for (const auto &entry : qAsConst(m_noticeList)) {
            if (entry.first == watched) {
                if (e->type() == QEvent::Show)
                    noticeShown(entry.first);
                else
                    noticeHidden(entry.first);
                break;
            }
        }
        return false;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        // A category table marks its current row while the keyboard is used
        // on it: from a Tab into it or a key pressed in it, not a click.
        if (auto *table = qobject_cast<QTableWidget *>(watched)) {
            if (m_tableList.contains(table) || table->parentWidget() == ui->C_EPrivate_IsScanning_2) {
                if (e->type() == QEvent::FocusIn) {
                    // (The focus a page gives its table on opening shows no
                    // frame until a key is pressed.)
                    const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
                    if (reason == Qt::MouseFocusReason)
                        table->setProperty(KeyboardFocusProperty, false);
                    else if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason
                             || reason == Qt::ShortcutFocusReason)
                        table->setProperty(KeyboardFocusProperty, true);
                }
                table->viewport()->update();
            }
        }
        return false;
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------
// Keys

bool MainWindow::handleKey(QWidget *target, QKeyEvent *key)
{
    QWidget *window = target->window();
    // Only the first delivery of a key counts (not its way up the parents).
    if (target != window->focusWidget() && !(target == window && !window->focusWidget()))
        return false;
    const int k = key->key();
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;

    // The app boxes are ticked one by one, so each keeps its Tab stop: Qt
    // leaves it to the focused one only, as in a group of radio buttons.
    if ((k == Qt::Key_Tab || k == Qt::Key_Backtab) && !ui->D_EApp_ToScanAndIsScanning->isHidden())
        keepRadioTabStops(m_tabOrder.value(ui->D_EApp_ToScanAndIsScanning));

    if (k == Qt::Key_F6 && mods == Qt::NoModifier) {
        cycleWindows();
        return true;
    }

    // A notice: Escape does what its Cancel, OK or close button does.
    if (window != this && k == Qt::Key_Escape && mods == Qt::NoModifier && isNotice(m_noticeList, window)) {
        if (auto *b = qobject_cast<QAbstractButton *>(noticeEscapeButton(window)))
            b->click();
        return true;
    }

    // The menu of the top bar.
    if (target == ui->S_Menu_Button && (k == Qt::Key_Space || isActivateKey(k) || k == Qt::Key_Down)) {
        if (!key->isAutoRepeat())
            openMenuByKeyboard();
        return true;
    }
    if (!ui->T_D_MenuWidget->isHidden() && ui->T_D_MenuWidget->isAncestorOf(target)) {
        const QList<QWidget *> items{ui->T_D_Help_PushButton, ui->T_D_About_PushButton, ui->T_D_Exit_PushButton};
        const int at = items.indexOf(target);
        if (k == Qt::Key_Escape) {
            closeKeyboardMenu(true);
            return true;
        }
        if ((k == Qt::Key_Down || k == Qt::Key_Up) && at >= 0) {
            const int next = (at + (k == Qt::Key_Down ? 1 : items.size() - 1)) % items.size();
            items.at(next)->setFocus(Qt::TabFocusReason);
            return true;
        }
    }

    // Ctrl+F: the search field of the results.
    if (k == Qt::Key_F && mods == Qt::ControlModifier && !ui->C_EPrivate_IsScanning_2->isHidden()) {
        ui->EP_IsScanning_TextBroswerEditor->setFocus(Qt::ShortcutFocusReason);
        ui->EP_IsScanning_TextBroswerEditor->selectAll();
        return true;
    }

    // A category table: Space or Enter ticks the current row as a click does
    // (the first row ticks every row).
    if (auto *table = qobject_cast<QTableWidget *>(target)) {
        for (int c = Contact; c <= Vedio; ++c) {
            if (categoryTable(c) != table)
                continue;
            showKeyboardMark(table);
            if ((k == Qt::Key_Space || isActivateKey(k)) && mods == Qt::NoModifier) {
                const int row = table->currentRow();
                if (row >= 0 && !key->isAutoRepeat())
                    (this->*tableLayout(c).itemSlot)(table->item(row, 0));
                return true;
            }
            return false;
        }
    }

    // Enter presses the focused button as Space does.
    return isActivateKey(k) && mods == Qt::NoModifier && pressButton(target, key);
}

void MainWindow::openMenuByKeyboard()
{
    if (!ui->T_D_MenuWidget->isHidden()) {
        closeKeyboardMenu(true);
        return;
    }
    ui->S_Menu_Button->setIcon(QIcon(QStringLiteral(":/Image/RightTopButton/menu2.png")));
    ui->T_D_MenuWidget->show();
    ui->T_D_MenuWidget->raise();
    m_menuByKeyboard = true;
    ui->T_D_Help_PushButton->setFocus(Qt::TabFocusReason);
}

void MainWindow::closeKeyboardMenu(bool refocusButton)
{
    m_menuByKeyboard = false;
    if (!ui->T_D_MenuWidget->isHidden()) {
        ui->T_D_MenuWidget->hide();
        ui->S_Menu_Button->setIcon(QIcon(QStringLiteral(":/Image/RightTopButton/menu1.png")));
    }
    if (refocusButton)
        ui->S_Menu_Button->setFocus(Qt::TabFocusReason);
}

// F6: from the window to each open notice in turn and back.
void MainWindow::cycleWindows()
{
    QList<QWidget *> windows{this};
    for (const auto &entry : qAsConst(m_noticeList))
        if (!entry.first->isHidden() && noticeEntry(entry.first))
            windows << entry.first;
    if (windows.size() < 2)
        return;
    const int at = windows.indexOf(QApplication::activeWindow());
    QWidget *next = windows.at((at + 1) % windows.size());
    next->raise();
    next->activateWindow();
    if (next != this && !next->focusWidget())
        noticeEntry(next)->setFocus(Qt::ActiveWindowFocusReason);
}

// ---------------------------------------------------------------------------
// Pages and notices coming and going

QWidget *MainWindow::pageEntry(QWidget *page) const
{
    if (page == ui->C_EPrivate_IsScanning_2) {
        for (QTableWidget *table : qAsConst(m_tableList))
            if (usable(table))
                return table;
    } else if (page == ui->M_ConformErase_1) {
        return ui->M_ConformErase_LineEdit_InputErase;
    } else if (page == ui->M_EraseCompleted_3) {
        return ui->M_EraseComplated_PushButton_Home;
    }
    for (QWidget *w : m_tabOrder.value(page))
        if (usable(w))
            return w;
    return nullptr;
}

void MainWindow::pageShown(QWidget *page)
{
    // After the page's own set-up (the results show their table later in
    // the same click).
    QTimer::singleShot(0, this, [this, page] {
        if (page->isHidden())
            return;
        QWidget *focus = focusWidget();
        if (focus && focus->isVisible() && page->isAncestorOf(focus))
            return; // the user is on this page already
        if (QWidget *entry = pageEntry(page)) {
            if (usable(entry))
                entry->setFocus(Qt::OtherFocusReason);
            return;
        }
        // A page without controls: the top bar, if the focus was lost.
        if (!focus || !focus->isVisible() || !focus->isEnabled()) {
            for (QWidget *w : qAsConst(m_topBarOrder)) {
                if (usable(w)) {
                    w->setFocus(Qt::OtherFocusReason);
                    break;
                }
            }
        }
    });
}

QWidget *MainWindow::noticeEscapeButton(QWidget *notice) const
{
    // By the last word of their names: ..._Cancel, ..._Ok, ..._OK.
    const QList<QWidget *> buttons = m_tabOrder.value(notice);
    for (const char *word : {"Cancel", "Ok", "OK"})
        for (QWidget *b : buttons)
            if (b->objectName().section(QLatin1Char('_'), -1) == QLatin1String(word) && b->isEnabled())
                return b;
    // Only a close button on the bar.
    for (QWidget *b : buttons)
        if (b->y() < app::windowgeometry::NoticeBarHeight)
            return b;
    return nullptr;
}

QWidget *MainWindow::noticeEntry(QWidget *notice) const
{
    // The level notice starts on the level chosen, every other notice on the
    // button that closes it without doing anything else.
    if (notice == ui->T_M_SelectLevel_1_1) {
        for (QRadioButton *r : {ui->T_M_SelectLevel_RatioButton_HighLevel, ui->T_M_SelectLevel_RatioButton_MediumLevel,
                                ui->T_M_SelectLevel_RatioButton_LowLevel})
            if (r->isChecked())
                return r;
    }
    return noticeEscapeButton(notice);
}

void MainWindow::noticeShown(QWidget *notice)
{
    describeNotice(notice);
    QWidget *entry = noticeEntry(notice);
    if (!entry)
        return; // nothing to press (the app-state notice): the focus stays where it is
    QTimer::singleShot(0, this, [this, notice] {
        QWidget *entry = noticeEntry(notice);
        if (notice->isHidden() || !entry)
            return;
        notice->raise();
        notice->activateWindow();
        entry->setFocus(Qt::ActiveWindowFocusReason);
    });
}

void MainWindow::noticeHidden(QWidget *notice)
{
    // The window the notice was opened over takes the keys again, its focus
    // where it was.
    if (QApplication::activeWindow() == notice || !QApplication::activeWindow())
        activateWindow();
}
