#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "browser/browserlogic.h"
#include "browser/rowdelegate.h"
#include "companionsimulator.h"
#include "devicelink/linkhelp.h"
#include "support/windowrig.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAccessibleValueInterface>
#include <QHelpEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTableWidget>
#include <QToolTip>
#include <QtTest>

#include <cmath>

// What a screen reader is told: the accessibility tree of every page and
// notice of the real window, after a real scan of the companion-app
// simulator, so the tables hold rows.
namespace {

using namespace rig;

QString describe(QAccessibleInterface *iface)
{
    QString path;
    for (QAccessibleInterface *i = iface; i; i = i->parent()) {
        QObject *o = i->object();
        path.prepend(QStringLiteral("/%1[%2]").arg(o ? o->objectName() : QString()).arg(int(i->role()), 0, 16));
    }
    return path;
}

bool isClickable(QAccessibleInterface *iface)
{
    const QAccessibleActionInterface *actions = iface->actionInterface();
    if (!actions)
        return false;
    const QStringList names = actions->actionNames();
    return names.contains(QAccessibleActionInterface::pressAction())
           || names.contains(QAccessibleActionInterface::toggleAction());
}

// Every element on screen that can take the focus or be clicked, without a
// name. Table cells: a row's check cell (what ticking chooses) must be
// named; the other cells are read by their text, and rows without data
// (the padding under a short list) carry nothing to name.
void unnamed(QAccessibleInterface *iface, QStringList *out, int depth = 0)
{
    if (!iface || !iface->isValid() || depth > 30)
        return;
    if (iface->state().invisible)
        return;
    if (iface->role() == QAccessible::Cell) {
        QAccessibleTableCellInterface *cell = iface->tableCellInterface();
        auto *table = cell ? qobject_cast<QTableWidget *>(cell->table()->object()) : nullptr;
        QTableWidgetItem *item = table && cell->columnIndex() == 0 ? table->item(cell->rowIndex(), 0) : nullptr;
        if (item && item->data(Qt::CheckStateRole).isValid() && iface->text(QAccessible::Name).trimmed().isEmpty())
            *out << describe(iface) + QStringLiteral(" row %1").arg(cell->rowIndex());
        return;
    }
    const QAccessible::State state = iface->state();
    if ((state.focusable || isClickable(iface)) && iface->text(QAccessible::Name).trimmed().isEmpty())
        *out << describe(iface);
    for (int i = 0; i < iface->childCount(); ++i)
        unnamed(iface->child(i), out, depth + 1);
}

QString name(QObject *o)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(QAccessible::Name) : QString();
}

// WCAG contrast ratio of two colours.
double contrast(const QColor &a, const QColor &b)
{
    auto lum = [](const QColor &c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = lum(a), lb = lum(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

    std::unique_ptr<Rig> m_rig; // scanned once for the whole suite
    MainWindow *m_w = nullptr;

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyPageNamesWhatCanBeFocusedOrClicked();
    void noticesAreDialogsWithTheirText_data();
    void noticesAreDialogsWithTheirText();
    void namesOfTheControls_data();
    void namesOfTheControls();
    void checkCellsSayWhatTheyChoose();
    void progressBarsGiveTheirValue();
    void selectedRowStaysReadable();
    void cutShortCellShowsWholeTextAsToolTip();
};

void TestAccessibility::initTestCase()
{
    m_rig = std::make_unique<Rig>();
    m_w = &m_rig->w;
    QVERIFY(m_rig->connect());
    QVERIFY(scanWhole(*m_w, m_w->ui->S_Private_Button));
}

void TestAccessibility::cleanupTestCase()
{
    m_rig.reset();
}

void TestAccessibility::everyPageNamesWhatCanBeFocusedOrClicked()
{
    MainWindow &w = *m_w;
    QStringList missing;
    for (QWidget *page : qAsConst(w.m_pageList)) {
        w.hidePages();
        page->show();
        if (page == w.ui->C_EPrivate_IsScanning_2) {
            // every category's table in turn
            for (int c = Contact; c <= Vedio; ++c) {
                w.selectCategory(c);
                unnamed(QAccessible::queryAccessibleInterface(&w), &missing);
            }
        } else {
            unnamed(QAccessible::queryAccessibleInterface(&w), &missing);
        }
    }
    // The menu panel open.
    w.ui->T_D_MenuWidget->show();
    unnamed(QAccessible::queryAccessibleInterface(&w), &missing);
    w.ui->T_D_MenuWidget->hide();
    for (const auto &entry : qAsConst(w.m_noticeList)) {
        entry.first->show();
        unnamed(QAccessible::queryAccessibleInterface(entry.first), &missing);
        entry.first->hide();
    }
    missing.removeDuplicates();
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(QLatin1Char('\n'))));
}

void TestAccessibility::noticesAreDialogsWithTheirText_data()
{
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text"); // part of the description
    QTest::newRow("stop scan") << "T_D_IsScanning_Stop" << "Cancel Scan"
                               << "Are you sure you want to stop the scanning?";
    QTest::newRow("stop erase") << "T_D_IsErasing_Stop" << "Cancel Erase"
                                << "This will cause the data won't be wiped completely.";
    QTest::newRow("word") << "T_D_ConformEraseLineEditIsImpty" << "Warning"
                          << QString::fromUtf8("Please type word \u2018Erase\u2019 in the box to confirm.");
    QTest::newRow("select one") << "T_D_SelectedItemLessOne" << "Warning"
                                << "Please select one item at least! Then next.";
    QTest::newRow("factory reset") << "T_D_FactoryDataReset" << "Warning about Factory Reset"
                                   << "We suggest restoring factory settings";
    QTest::newRow("app state") << "T_AppState" << "App State"
                               << QString::fromUtf8("Please open the App \u2018Purgatex for Android\u2019");
    QTest::newRow("reconnect") << "A_MP_D_ReconnectDevice" << "Please Reconnect Device"
                               << "Please reconnect your device to PC";
    QTest::newRow("port used, with the program named") << "A_MP_D_PortUsed" << "Purgatex for Android"
                                                       << "PhoneSuite.exe";
    QTest::newRow("driver") << "A_MP_D_DirverError_1_1" << "Purgatex" << "1. Enable USB debugging on the device.";
    QTest::newRow("link help, as the link tells it") << "A_MP_D_LinkHelp" << "Purgatex for Android"
                                                     << "Unplug all Android devices";
    QTest::newRow("level") << "T_M_SelectLevel_1_1" << "Set security level" << "Select Level";
    QTest::newRow("cancel not answered, its title as set")
        << "T_D_CancelNoAnswer" << "Cancel Erase" << "The phone did not confirm that the erase has stopped";
}

void TestAccessibility::noticesAreDialogsWithTheirText()
{
    QFETCH(QString, notice);
    QFETCH(QString, title);
    QFETCH(QString, text);
    MainWindow &w = *m_w;
    w.ui->A_MP_D_PortUsed_Label_Info->setText("PhoneSuite.exe");
    const devicelink::HelpText help = devicelink::helpText(devicelink::LinkProblem::SeveralPhones, QString(), false);
    w.ui->A_MP_D_LinkHelp_Label_Heading->setText(help.heading);
    w.ui->A_MP_D_LinkHelp_Label_Text->setText(help.text);
    if (notice == "T_D_CancelNoAnswer") {
        w.showCancelNoAnswer(true);
    } else {
        w.findChild<QWidget *>(notice)->show();
    }
    QWidget *n = w.findChild<QWidget *>(notice);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(n);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Dialog);
    QCOMPARE(iface->text(QAccessible::Name), title);
    QVERIFY2(iface->text(QAccessible::Description).contains(text), qPrintable(iface->text(QAccessible::Description)));
    n->hide();
}

void TestAccessibility::namesOfTheControls_data()
{
    QTest::addColumn<QString>("object");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description"); // empty: not checked
    QTest::newRow("my phone") << "S_MyPhone_Button" << "My Phone" << "";
    QTest::newRow("erase all") << "S_All_Button" << "Erase All" << "Scans everything on the phone to erase it all.";
    QTest::newRow("erase private") << "S_Private_Button" << "Erase Private" << "";
    QTest::newRow("erase apps") << "S_App_Button" << "Erase Apps" << "";
    QTest::newRow("menu") << "S_Menu_Button" << "Menu" << "";
    QTest::newRow("minimize") << "S_Min_Button" << "Minimize" << "";
    QTest::newRow("close") << "S_Close_Button" << "Close" << "";
    QTest::newRow("scan") << "EAll_Label_ToScan" << "Scan" << "";
    QTest::newRow("search") << "EP_IsScanning_TextBroswerEditor" << "Search" << "";
    QTest::newRow("erase now") << "M_ConformErase_PushButton_EraseNow" << "Erase Now" << "";
    QTest::newRow("confirmation field, by its labels")
        << "M_ConformErase_LineEdit_InputErase" << QString::fromUtf8("5. Please type \u2018Erase\u2019 to confirm")
        << "";
    QTest::newRow("level, with its description")
        << "T_M_SelectLevel_RatioButton_HighLevel" << "High Level (3 Times)"
        << "This option is the best one if you have previously saved sensitive information like bank account, "
           "password. The security standard is based on US Dod S220.22-M.";
    QTest::newRow("a notice's OK") << "T_D_FactoryDataReset_PushButton_Ok" << "OK" << "";
    QTest::newRow("a notice's Cancel") << "T_D_IsErasing_Stop_PushButton_Cancel" << "Cancel" << "";
    QTest::newRow("OK of the cancelled-erase notice") << "T_D_EraseCancelled_PushButton_Ok" << "OK" << "";
    QTest::newRow("a notice's close") << "T_D_About_Exit_PushButton" << "Close" << "";
}

void TestAccessibility::namesOfTheControls()
{
    QFETCH(QString, object);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QObject *o = m_w->findChild<QObject *>(object);
    QVERIFY(o);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(o);
    QCOMPARE(iface->text(QAccessible::Name), name);
    if (!description.isEmpty())
        QCOMPARE(iface->text(QAccessible::Description), description);
}

void TestAccessibility::checkCellsSayWhatTheyChoose()
{
    MainWindow &w = *m_w;
    w.hidePages();
    w.ui->C_EPrivate_IsScanning_2->show();
    for (int c : {int(Contact), int(Photo)}) {
        w.selectCategory(c);
        QTableWidget *table = w.categoryTable(c);
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(table);
        QAccessibleTableInterface *t = iface->tableInterface();
        QVERIFY(t);
        QCOMPARE(t->cellAt(0, 0)->text(QAccessible::Name), QString("Select all"));
        const int nameColumn = c == Photo ? 2 : 1;
        for (int row = 1; row <= 3; ++row) {
            QAccessibleInterface *cell = t->cellAt(row, 0);
            QCOMPARE(cell->text(QAccessible::Name), "Select " + table->item(row, nameColumn)->text().simplified());
            QVERIFY(cell->state().checkable);
        }
        // Ticked, the cell says so.
        QVERIFY(clickRow(table, 2));
        QVERIFY(t->cellAt(2, 0)->state().checked);
        QVERIFY(clickRow(table, 2));
    }
    // The category buttons name their counts.
    QCOMPARE(name(w.ui->EP_IsScanning_PushButton_Contact),
             QStringLiteral("Contact (%1)").arg(browser::keyedRowCount(w.m_contactMapNumberId)));
    QCOMPARE(name(w.ui->EP_IsScanning_PushButton_Photo), QStringLiteral("Photo (%1)").arg(w.m_photoDir.size()));
}

void TestAccessibility::progressBarsGiveTheirValue()
{
    QProgressBar *bar = m_w->ui->M_All_Private_IsScanning_ProgressBar;
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(bar);
    QCOMPARE(iface->text(QAccessible::Name), QString("Scan progress"));
    QVERIFY(iface->valueInterface());
    QCOMPARE(iface->valueInterface()->currentValue().toInt(), 100);
    bar->setValue(42);
    QCOMPARE(iface->valueInterface()->currentValue().toInt(), 42);
    bar->setValue(100);
    QCOMPARE(name(m_w->ui->M_IsErasing_ProgressBar_Erasing), QString("Erase progress"));
}

void TestAccessibility::selectedRowStaysReadable()
{
    MainWindow &w = *m_w;
    w.hidePages();
    w.ui->C_EPrivate_IsScanning_2->show();
    w.selectCategory(Contact);
    QTableWidget *table = w.categoryTable(Contact);
    QVERIFY(clickRow(table, 1));
    QVERIFY(table->selectionModel()->isRowSelected(1, QModelIndex()));
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        const QColor text = table->palette().color(group, QPalette::HighlightedText);
        const QColor back = table->palette().color(group, QPalette::Highlight);
        QVERIFY2(contrast(text, back) >= 4.5, qPrintable(text.name() + " on " + back.name()));
    }
    QVERIFY(clickRow(table, 1));
}

void TestAccessibility::cutShortCellShowsWholeTextAsToolTip()
{
    MainWindow &w = *m_w;
    w.hidePages();
    w.ui->C_EPrivate_IsScanning_2->show();
    w.selectCategory(Contact);
    QTableWidget *table = w.categoryTable(Contact);
    auto *delegate = qobject_cast<browser::RowDelegate *>(table->itemDelegate());
    QVERIFY(delegate);
    const QString longName = QStringLiteral("Maximiliane Oberhausen-Rosenthal von Wittelsbach");
    table->item(1, 1)->setText(longName);
    table->item(2, 1)->setText(QStringLiteral("Ada"));
    QTest::qWait(0);

    // The tip shown over a cell (empty: none). Hiding a tip takes a moment;
    // showing one does not.
    auto tipAt = [&](int row, int column) {
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
            return QStringLiteral("(a tip stays on screen)");
        const QRect rect = table->visualItemRect(table->item(row, column));
        QHelpEvent tip(QEvent::ToolTip, rect.center(), table->viewport()->mapToGlobal(rect.center()));
        QApplication::sendEvent(table->viewport(), &tip);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(tipAt(1, 1), longName);
    QCOMPARE(tipAt(2, 1), QString());
    // The explanation of a row that cannot be ticked keeps its own tip.
    table->item(2, 0)->setToolTip(QStringLiteral("why"));
    QCOMPARE(tipAt(2, 0), QString("why"));
    table->item(2, 0)->setToolTip(QString());
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
