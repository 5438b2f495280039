#include "deferredstyle.h"
#include "highdpi.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"

#include <QDirIterator>
#include <QFile>
#include <QtEndian>
#include <QLabel>
#include <QTableWidget>
#include <QtTest>

namespace {

// What styling gives a widget, as far as it shows on screen or in a measure.
// (A picture label's size is its picture's, read when it is first shown.)
QString looks(QWidget *w)
{
    auto *label = qobject_cast<QLabel *>(w);
    const bool picture = label && !label->pixmap(Qt::ReturnByValue).isNull();
    return QStringLiteral("font %1; size hint %2; hover %3; styled background %4; fills %5")
        .arg(w->font().toString())
        .arg(picture ? QStringLiteral("(picture)")
                     : QStringLiteral("%1x%2").arg(w->sizeHint().width()).arg(w->sizeHint().height()))
        .arg(w->testAttribute(Qt::WA_Hover))
        .arg(w->testAttribute(Qt::WA_StyledBackground))
        .arg(w->autoFillBackground());
}

// Every widget of a page or notice by name with what styling gave it, and
// the colours its palette paints with.
QMap<QString, QString> looksOf(QWidget *part)
{
    QMap<QString, QString> out;
    QList<QWidget *> widgets{part};
    widgets += part->findChildren<QWidget *>();
    for (QWidget *w : qAsConst(widgets)) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QStringList colours;
        for (int role = 0; role < QPalette::NColorRoles; ++role)
            colours << w->palette().color(QPalette::Active, QPalette::ColorRole(role)).name(QColor::HexArgb);
        out.insert(w->objectName(), looks(w) + QLatin1String("; ") + colours.join(QLatin1Char(',')));
    }
    return out;
}

// The widgets whose looks differ, with both looks.
QString differences(const QMap<QString, QString> &got, const QMap<QString, QString> &want)
{
    QStringList out;
    QSet<QString> names;
    for (const QString &n : got.keys() + want.keys())
        names.insert(n);
    for (const QString &n : qAsConst(names)) {
        if (got.value(n) != want.value(n))
            out << QStringLiteral("%1: got [%2] want [%3]").arg(n, got.value(n), want.value(n));
    }
    out.sort();
    return out.join(QLatin1Char('\n'));
}

QStringList partsBehind()
{
    // The pages and notices not on screen at start, and the menu.
    QStringList names{QStringLiteral("A_MP_USBDebugTourial_2"),        QStringLiteral("A_MP_IsInstalling_4"),
                      QStringLiteral("A_MP_ConnectedInfomation_5"),    QStringLiteral("A_MP_ChangeDefault_SMS_Widget"),
                      QStringLiteral("B_EAll_ToScan"),                 QStringLiteral("C_EPrivate_IsScanning_2"),
                      QStringLiteral("D_EApp_ToScanAndIsScanning"),    QStringLiteral("M_ConformErase_1"),
                      QStringLiteral("M_IsErasing_2"),                 QStringLiteral("M_EraseCompleted_3"),
                      QStringLiteral("M_All_Private_IsScanning"),      QStringLiteral("T_D_MenuWidget"),
                      QStringLiteral("T_D_IsScanning_Stop"),           QStringLiteral("T_D_IsErasing_Stop"),
                      QStringLiteral("T_D_ConformEraseLineEditIsImpty"), QStringLiteral("T_D_SelectedItemLessOne"),
                      QStringLiteral("T_D_FactoryDataReset"),          QStringLiteral("T_D_CancelNoAnswer"),
                      QStringLiteral("T_AppState"),                    QStringLiteral("A_MP_D_ReconnectDevice"),
                      QStringLiteral("A_MP_D_PortUsed"),               QStringLiteral("A_MP_D_DirverError_1_1"),
                      QStringLiteral("A_MP_D_LinkHelp"),               QStringLiteral("T_M_SelectLevel_1_1"),
                      QStringLiteral("T_D_About"),                     QStringLiteral("T_D_EraseCancelled")};
    return names;
}

} // namespace

// Start-up: the window builds, shows its first frame without styling what is
// not on screen, and the device link waits for the event loop.
class TestStartup : public QObject
{
    Q_OBJECT

    // The window styled all at once, by Qt alone: never shown, polished as a
    // whole (the look every page and notice must have when it is shown).
    MainWindow *m_reference = nullptr;

private slots:
    void initTestCase()
    {
        m_reference = new MainWindow;
        m_reference->m_stepTimer[MainWindow::StepTestPort]->stop();
        m_reference->ensurePolished();
        QTRY_VERIFY(m_reference->m_startupFinished);
    }
    void cleanupTestCase() { delete m_reference; }

    void constructsWithoutRunningAStep()
    {
        MainWindow w;
        QVERIFY(w.m_stepTimer[MainWindow::StepTestPort]);
        QVERIFY(w.m_stepTimer[MainWindow::StepTestPort]->isActive());
        QCOMPARE(w.m_stepTimer[MainWindow::StepTestPort]->interval(), 100);
    }

    void partShownLooksAsIfStyledWithTheWindow_data()
    {
        QTest::addColumn<QString>("part");
        for (const QString &name : partsBehind())
            QTest::newRow(qPrintable(name)) << name;
    }
    void partShownLooksAsIfStyledWithTheWindow()
    {
        // Shown by code in the same turn of the event loop as the window's
        // first show: the page or notice is complete when it appears.
        QFETCH(QString, part);
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        w.show();
        w.initWorkflowWidgets(); // the level's text, as the reference has it
        QWidget *shown = w.findChild<QWidget *>(part);
        QVERIFY(shown);
        QVERIFY(shown->isHidden());
        if (w.m_pageList.contains(shown))
            w.hidePages();
        app::showWidget(shown);
        QMap<QString, QString> want = looksOf(m_reference->findChild<QWidget *>(part));
        // The category tables come after the first frame (and before any fill).
        for (int c = Contact; c <= Vedio; ++c)
            want.remove(m_reference->categoryTable(c)->objectName());
        const QString diff = differences(looksOf(shown), want);
        QVERIFY2(diff.isEmpty(), qPrintable(diff));
    }

    void everythingIsStyledOnceTheFirstFrameIsOut()
    {
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        w.show();
        QVERIFY(app::deferredstyle::pendingParts() > 0); // the first show left them
        QVERIFY(!w.m_startupFinished);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(app::deferredstyle::pendingParts(), 0);
        for (int c = Contact; c <= Vedio; ++c)
            QVERIFY2(w.m_categoryTables[c], qPrintable(QString::number(c)));
        QVERIFY(!w.m_iconChecked.isNull());
        for (const QString &name : partsBehind())
        {
            const QString diff =
                differences(looksOf(w.findChild<QWidget *>(name)), looksOf(m_reference->findChild<QWidget *>(name)));
            QVERIFY2(diff.isEmpty(), qPrintable(name + QLatin1Char(' ') + diff));
        }
    }

    void windowNotShownFinishesItsStartupAtTheFirstTurn()
    {
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        QVERIFY(!w.m_categoryTables[Contact]);
        QTRY_VERIFY(w.m_startupFinished);
        QVERIFY(w.m_categoryTables[Contact]);
        QCOMPARE(app::deferredstyle::pendingParts(), 0);
    }

    void hiddenLabelIsMeasuredInItsStyleSheetFont_data()
    {
        QTest::addColumn<QString>("label");
        QTest::newRow("page") << QStringLiteral("M_ConformErase_Label_EraseWord");
        QTest::newRow("notice") << QStringLiteral("T_D_IsScanning_Stop_TopTitle");
        QTest::newRow("menu button") << QStringLiteral("T_D_Help_PushButton");
    }
    void hiddenLabelIsMeasuredInItsStyleSheetFont()
    {
        QFETCH(QString, label);
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        w.show();
        auto *hidden = w.findChild<QWidget *>(label);
        QVERIFY(hidden && !hidden->isVisible());
        app::deferredstyle::ensureStyled(hidden);
        auto *reference = m_reference->findChild<QWidget *>(label);
        QCOMPARE(hidden->font(), reference->font());
        QCOMPARE(hidden->sizeHint(), reference->sizeHint());
    }

    void sentencesAreLaidOutWhenTheirPageIsFirstShown()
    {
        MainWindow w;
        w.m_stepTimer[MainWindow::StepTestPort]->stop();
        w.show();
        QLabel *first = w.ui->A_MP_USBDebugTourial_Label_Text1;
        QLabel *second = w.ui->A_MP_USBDebugTourial_Label_Text2;
        QVERIFY(!w.m_sentencesLaidOut);
        w.hidePages();
        app::showWidget(w.ui->A_MP_USBDebugTourial_2);
        QVERIFY(w.m_sentencesLaidOut);
        QCOMPARE(second->x(), first->geometry().right() + 1);
        QCOMPARE(first->geometry(), m_reference->ui->A_MP_USBDebugTourial_Label_Text1->geometry());
    }

    void picturesAreStoredWithUnfilteredRows_data() { picturesAreTheOnesQPixmapReads_data(); }
    void picturesAreStoredWithUnfilteredRows()
    {
        // Rows with a filter (Paeth above all) take Qt's reader several times
        // longer; the pictures are written without (resources/drawimages).
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray png = file.readAll();
        QByteArray deflated;
        quint32 width = 0, height = 0;
        for (int at = 8; at + 12 <= png.size();) {
            const quint32 length = qFromBigEndian<quint32>(png.constData() + at);
            const QByteArray type = png.mid(at + 4, 4);
            if (type == "IHDR") {
                width = qFromBigEndian<quint32>(png.constData() + at + 8);
                height = qFromBigEndian<quint32>(png.constData() + at + 12);
                QCOMPARE(png.mid(at + 16, 2), QByteArray("\x08\x06", 2)); // 8-bit RGBA
            } else if (type == "IDAT") {
                deflated += png.mid(at + 8, int(length));
            }
            at += 12 + int(length);
        }
        const quint32 stride = width * 4 + 1;
        QByteArray sized(4, '\0');
        qToBigEndian<quint32>(stride * height, sized.data());
        const QByteArray rows = qUncompress(sized + deflated);
        QCOMPARE(quint32(rows.size()), stride * height);
        for (quint32 y = 0; y < height; ++y)
            QVERIFY2(rows.at(int(y * stride)) == 0, qPrintable(QStringLiteral("row %1").arg(y)));
    }

    void picturesAreTheOnesQPixmapReads_data()
    {
        QTest::addColumn<QString>("path");
        QDirIterator it(QStringLiteral(":/Image"), {QStringLiteral("*.png")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QTest::newRow(qPrintable(path)) << path;
        }
    }
    void picturesAreTheOnesQPixmapReads()
    {
        // The form's pictures are premultiplied on the GUI thread; every
        // pixel is the one Qt's own conversion gives.
        QFETCH(QString, path);
        const QPixmap ours = app::purgatexPicture(path);
        const QPixmap qts(path);
        QCOMPARE(ours.size(), qts.size());
        QCOMPARE(ours.hasAlphaChannel(), qts.hasAlphaChannel());
        QCOMPARE(ours.toImage(), qts.toImage());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
