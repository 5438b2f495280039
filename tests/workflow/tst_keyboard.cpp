#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "support/windowrig.h"
#include "workflow/erasesummary.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QtTest>

// The program driven by the keyboard alone: the keys go to the widget that
// has the focus, as a user's keys do, against the in-process companion-app
// simulator.
namespace {

using namespace rig;

QWidget *focused()
{
    return QApplication::focusWidget();
}

void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *target = focused() ? focused() : QApplication::activeWindow();
    QVERIFY2(target, "no window has the keyboard");
    QTest::keyClick(target, key, mods);
}

void type(const QString &text)
{
    QVERIFY(focused());
    QTest::keyClicks(focused(), text);
}

// Tab (or Shift+Tab) until the widget has the focus, as a user does looking
// at the screen; false when it is never reached.
bool tabTo(QWidget *target, bool backwards = false, int limit = 40)
{
    for (int i = 0; i < limit && focused() != target; ++i)
        QTest::keyClick(focused() ? focused() : QApplication::activeWindow(), Qt::Key_Tab,
                        backwards ? Qt::ShiftModifier : Qt::NoModifier);
    return focused() == target;
}

// The controls a page offers: what a mouse user can click or type into.
QList<QWidget *> controlsOf(QWidget *page)
{
    QList<QWidget *> controls;
    for (QWidget *w : page->findChildren<QWidget *>()) {
        bool insideAView = false; // a table's own header and corner button
        for (QWidget *p = w->parentWidget(); p && p != page; p = p->parentWidget())
            insideAView = insideAView || qobject_cast<QAbstractItemView *>(p);
        if (insideAView)
            continue;
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)
                             || qobject_cast<QAbstractItemView *>(w);
        if (control && w->isVisible() && w->isEnabled())
            controls << w;
    }
    return controls;
}

} // namespace

class TestKeyboard : public QObject
{
    Q_OBJECT

    // Connected, and the window active so that the keys reach it.
    static bool ready(Rig &r)
    {
        return r.connect() && showActive(r.w);
    }

private slots:
    void privateEraseByKeysOnly();
    void everyControlOfEveryPageIsReachedByTab_data();
    void everyControlOfEveryPageIsReachedByTab();
    void escapeClosesANoticeAsItsCancelOrOkDoes_data();
    void escapeClosesANoticeAsItsCancelOrOkDoes();
    void menuOpensAndClosesByKeys();
    void searchIsReachedAndRunByKeys();
};

void TestKeyboard::privateEraseByKeysOnly()
{
    Rig r;
    QVERIFY(ready(r));
    Ui::MainWindow *ui = r.w.ui;

    // Erase Private, then Scan: the focus moves onto the page that opens.
    QVERIFY(tabTo(ui->S_Private_Button));
    press(Qt::Key_Space);
    QTRY_COMPARE(focused(), static_cast<QWidget *>(ui->EAll_Label_ToScan));
    press(Qt::Key_Return);
    QVERIFY(waitFor(r.w, [&] { return r.w.m_workPhase == Scanned; }));

    // The results open on the contact table: its first row ticks all, the
    // arrows move through the rows, Space ticks one.
    QTableWidget *contacts = r.w.categoryTable(Contact);
    QTRY_COMPARE(focused(), static_cast<QWidget *>(contacts));
    QCOMPARE(contacts->currentRow(), 0);
    press(Qt::Key_Down);
    press(Qt::Key_Space);
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    press(Qt::Key_Space);
    QCOMPARE(contacts->currentRow(), 3);
    QSet<QString> expectedContacts;
    for (int row : {1, 3}) {
        QCOMPARE(contacts->item(row, 0)->checkState(), Qt::Checked);
        for (const QString &rec : r.sim.data().lists[Contact])
            if (rec.section(';', 2, 2) == contacts->item(row, 2)->text())
                expectedContacts << SimDataSet::eraseKey(Contact, rec);
    }
    QCOMPARE(contacts->item(2, 0)->checkState(), Qt::Unchecked);

    // Back to the category buttons, Photo, on to its table, the first photo.
    QVERIFY(tabTo(ui->EP_IsScanning_PushButton_Photo, true));
    press(Qt::Key_Space);
    QTableWidget *photos = r.w.categoryTable(Photo);
    QVERIFY(photos->isVisible());
    QVERIFY(tabTo(photos));
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    QCOMPARE(photos->item(1, 0)->checkState(), Qt::Checked);
    const QString photoKey = SimDataSet::eraseKey(Photo, r.sim.data().lists[Photo].first());

    // Erase: the confirm page names what will be erased, the field has the focus.
    QVERIFY(tabTo(ui->EP_IsScanning_PushButton_Erase));
    press(Qt::Key_Space);
    QVERIFY(waitFor(r.w, [&] { return !ui->M_ConformErase_1->isHidden(); }));
    QTRY_COMPARE(focused(), static_cast<QWidget *>(ui->M_ConformErase_LineEdit_InputErase));
    workflow::erasesummary::Figure figures[CategoryCount];
    figures[Contact].items = expectedContacts.size();
    figures[Photo].items = 1;
    QCOMPARE(ui->M_ConformErase_Label_WhatIsErased->text(), workflow::erasesummary::summary(EraseType::Private, figures));

    // The level: Change, the arrow up from Low chooses Medium, OK.
    QVERIFY(tabTo(ui->M_ConformErase_PushButton_Setting, true));
    press(Qt::Key_Space);
    QTRY_COMPARE(QApplication::activeWindow(), ui->T_M_SelectLevel_1_1);
    QTRY_COMPARE(focused(), static_cast<QWidget *>(ui->T_M_SelectLevel_RatioButton_LowLevel));
    press(Qt::Key_Up);
    QVERIFY(ui->T_M_SelectLevel_RatioButton_MediumLevel->isChecked());
    QVERIFY(tabTo(ui->T_M_SelectLevel_PusuButton_OK));
    press(Qt::Key_Return);
    QVERIFY(ui->T_M_SelectLevel_1_1->isHidden());
    QTRY_COMPARE(QApplication::activeWindow(), &r.w);
    QCOMPARE(focused(), static_cast<QWidget *>(ui->M_ConformErase_PushButton_Setting));
    QCOMPARE(ui->M_ConformErase_Label_SecurityLevel->text(), QString("Medium"));

    // A wrong word and Enter: the warning, nothing erased; Escape closes it
    // and the typing goes on where it was.
    QVERIFY(tabTo(ui->M_ConformErase_LineEdit_InputErase));
    r.sim.clearReceived();
    type("erase");
    press(Qt::Key_Return);
    QVERIFY(!ui->T_D_ConformEraseLineEditIsImpty->isHidden());
    QTRY_COMPARE(QApplication::activeWindow(), ui->T_D_ConformEraseLineEditIsImpty);
    press(Qt::Key_Escape);
    QVERIFY(ui->T_D_ConformEraseLineEditIsImpty->isHidden());
    QTRY_COMPARE(focused(), static_cast<QWidget *>(ui->M_ConformErase_LineEdit_InputErase));
    QVERIFY(flushToSimulator(r.w, r.sim));
    QVERIFY(r.sim.eraseRequests().isEmpty());

    // The word, Enter: the run erases exactly the rows ticked, at Medium.
    press(Qt::Key_A, Qt::ControlModifier);
    type("Erase");
    press(Qt::Key_Enter);
    QVERIFY(waitFor(r.w, [&] { return r.w.m_eraseProgress == 100 && !ui->M_EraseCompleted_3->isHidden(); }));
    QSet<QString> erasedContacts;
    QStringList erasedPhotos;
    for (const auto &e : r.sim.eraseRequests()) {
        QCOMPARE(e.level, quint16(7));
        QVERIFY2(e.category == Contact || e.category == Photo, qPrintable(QString::number(e.category)));
        if (e.category == Contact)
            erasedContacts << e.key;
        else
            erasedPhotos << e.key;
    }
    QCOMPARE(erasedContacts, expectedContacts);
    QCOMPARE(erasedPhotos, QStringList{photoKey});
    QTRY_COMPARE(focused(), static_cast<QWidget *>(ui->M_EraseComplated_PushButton_Home));
}

void TestKeyboard::everyControlOfEveryPageIsReachedByTab_data()
{
    QTest::addColumn<QString>("page");
    for (const char *page : {"B_EAll_ToScan", "C_EPrivate_IsScanning_2", "D_EApp_ToScanAndIsScanning",
                             "M_ConformErase_1", "M_IsErasing_2", "M_EraseCompleted_3", "M_All_Private_IsScanning"})
        QTest::newRow(page) << QString(page);
}

void TestKeyboard::everyControlOfEveryPageIsReachedByTab()
{
    QFETCH(QString, page);
    MainWindow w;
    QVERIFY(showActive(w));
    QTRY_VERIFY(w.categoryTable(Contact));
    // A phone with data for every app: every control enabled.
    for (QAbstractButton *b : w.findChildren<QAbstractButton *>())
        b->setEnabled(true);
    QWidget *shown = w.findChild<QWidget *>(page);
    w.hidePages();
    shown->show();
    if (page == "C_EPrivate_IsScanning_2")
        w.selectCategory(Photo);
    QTest::qWait(0);

    const QList<QWidget *> controls = controlsOf(shown);
    QVERIFY(!controls.isEmpty());
    // Once round the window from the top bar: each control once, in the
    // order the page reads (top bar first, left to right, top to bottom).
    w.ui->S_MyPhone_Button->setFocus(Qt::TabFocusReason);
    QList<QWidget *> visited{focused()};
    for (int i = 0; i < 60; ++i) {
        press(Qt::Key_Tab);
        if (focused() == w.ui->S_MyPhone_Button)
            break;
        visited << focused();
    }
    QStringList names;
    for (QWidget *v : visited)
        names << (v ? v->objectName() : QString("-"));
    QVERIFY2(focused() == w.ui->S_MyPhone_Button, qPrintable(names.join(' ')));
    for (QWidget *control : controls)
        QVERIFY2(visited.count(control) == 1, qPrintable(control->objectName() + ": " + names.join(' ')));
    QCOMPARE(visited.first(), static_cast<QWidget *>(w.ui->S_MyPhone_Button));
    QVERIFY(visited.indexOf(w.ui->S_Close_Button) < visited.indexOf(controls.first()));
}

void TestKeyboard::escapeClosesANoticeAsItsCancelOrOkDoes_data()
{
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("focusFirst"); // the button the notice starts on
    QTest::newRow("cancel scan") << "T_D_IsScanning_Stop" << "T_D_IsScanning_Stop_PushButton_Cancel";
    QTest::newRow("cancel erase") << "T_D_IsErasing_Stop" << "T_D_IsErasing_Stop_PushButton_Cancel";
    QTest::newRow("word missing") << "T_D_ConformEraseLineEditIsImpty"
                                  << "T_D_ConformEraseLineEditIsImpty_PushButton_Ok";
    QTest::newRow("nothing selected") << "T_D_SelectedItemLessOne" << "T_D_SelectedItemLessOne_PushButton_Ok";
    QTest::newRow("factory reset") << "T_D_FactoryDataReset" << "T_D_FactoryDataReset_PushButton_Ok";
    QTest::newRow("cancel not answered") << "T_D_CancelNoAnswer" << "T_D_CancelNoAnswer_PushButton_Ok";
    QTest::newRow("erase cancelled") << "T_D_EraseCancelled" << "T_D_EraseCancelled_PushButton_Ok";
    QTest::newRow("reconnect") << "A_MP_D_ReconnectDevice" << "A_MP_D_ReconnectDevice_Ok";
    QTest::newRow("port used") << "A_MP_D_PortUsed" << "A_MP_D_PortUsed_PushButton_Close";
    QTest::newRow("driver") << "A_MP_D_DirverError_1_1" << "MP_D_ConnectedError_Button_Ok";
    QTest::newRow("link help") << "A_MP_D_LinkHelp" << "A_MP_D_LinkHelp_PushButton_Ok";
    QTest::newRow("level") << "T_M_SelectLevel_1_1" << "T_M_SelectLevel_RatioButton_LowLevel";
    QTest::newRow("about") << "T_D_About" << "T_D_About_Exit_PushButton";
}

void TestKeyboard::escapeClosesANoticeAsItsCancelOrOkDoes()
{
    QFETCH(QString, notice);
    QFETCH(QString, focusFirst);
    MainWindow w;
    QVERIFY(showActive(w));
    QWidget *before = focused();

    QWidget *n = w.findChild<QWidget *>(notice);
    n->show();
    QTRY_COMPARE(QApplication::activeWindow(), n);
    QTRY_COMPARE(focused(), w.findChild<QWidget *>(focusFirst));
    press(Qt::Key_Escape);
    QVERIFY(n->isHidden());
    // The window takes the keys again where they were.
    QTRY_COMPARE(QApplication::activeWindow(), &w);
    QCOMPARE(focused(), before);
}

void TestKeyboard::menuOpensAndClosesByKeys()
{
    MainWindow w;
    QVERIFY(showActive(w));
    QWidget *menu = w.ui->T_D_MenuWidget;

    QVERIFY(tabTo(w.ui->S_Menu_Button));
    press(Qt::Key_Return);
    QVERIFY(!menu->isHidden());
    QCOMPARE(focused(), static_cast<QWidget *>(w.ui->T_D_Help_PushButton));
    press(Qt::Key_Down);
    QCOMPARE(focused(), static_cast<QWidget *>(w.ui->T_D_About_PushButton));
    press(Qt::Key_Escape);
    QVERIFY(menu->isHidden());
    QCOMPARE(focused(), static_cast<QWidget *>(w.ui->S_Menu_Button));

    // Tab leaves the menu and closes it; About opens its notice.
    press(Qt::Key_Space);
    QVERIFY(!menu->isHidden());
    QVERIFY(tabTo(w.ui->S_Min_Button));
    QVERIFY(menu->isHidden());
    QVERIFY(tabTo(w.ui->S_Menu_Button, true));
    press(Qt::Key_Space);
    press(Qt::Key_Up);
    press(Qt::Key_Up);
    QCOMPARE(focused(), static_cast<QWidget *>(w.ui->T_D_About_PushButton));
    press(Qt::Key_Return);
    QTRY_COMPARE(QApplication::activeWindow(), w.ui->T_D_About);

    // F6 goes between the window and its open notices.
    press(Qt::Key_F6);
    QTRY_COMPARE(QApplication::activeWindow(), &w);
    press(Qt::Key_F6);
    QTRY_COMPARE(QApplication::activeWindow(), w.ui->T_D_About);
    press(Qt::Key_Escape);
    QVERIFY(w.ui->T_D_About->isHidden());
}

void TestKeyboard::searchIsReachedAndRunByKeys()
{
    Rig r;
    QVERIFY(ready(r));
    QVERIFY(click(r.w.ui->S_Private_Button));
    QVERIFY(waitFor(r.w, [&] { return !r.w.ui->B_EAll_ToScan->isHidden(); }));
    QVERIFY(click(r.w.ui->EAll_Label_ToScan));
    QVERIFY(waitFor(r.w, [&] { return r.w.m_workPhase == Scanned; }));
    QTableWidget *contacts = r.w.categoryTable(Contact);
    QTRY_COMPARE(focused(), static_cast<QWidget *>(contacts));
    const int rows = contacts->rowCount();
    const QString name = contacts->item(2, 1)->text();

    press(Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(focused(), static_cast<QWidget *>(r.w.ui->EP_IsScanning_TextBroswerEditor));
    type(name);
    press(Qt::Key_Return);
    QVERIFY(r.w.m_contactSearching);
    QVERIFY(contacts->rowCount() < rows);
    QCOMPARE(contacts->item(1, 1)->text(), name);
    // Into the narrowed table, tick the row found.
    QVERIFY(tabTo(contacts));
    press(Qt::Key_Down);
    press(Qt::Key_Space);
    QCOMPARE(contacts->item(1, 0)->checkState(), Qt::Checked);
    QVERIFY(!r.w.m_contactToEraseList.isEmpty());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
