#include "deferredstyle.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "topbuttonformousemove.h"
#include "windowgeometry.h"

#include <QDesktopServices>
#include <QDirIterator>
#include <QFileInfo>
#include <QHoverEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using namespace app::windowgeometry;

namespace {

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &global, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, target->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

// Press at a point of target, move the mouse by each step in turn, release.
void drag(QWidget *target, const QPoint &local, const QList<QPoint> &steps)
{
    QPoint global = target->mapToGlobal(local);
    sendMouse(target, QEvent::MouseButtonPress, global, Qt::LeftButton);
    for (const QPoint &step : steps) {
        global += step;
        sendMouse(target, QEvent::MouseMove, global, Qt::LeftButton);
    }
    sendMouse(target, QEvent::MouseButtonRelease, global, Qt::NoButton);
}

void hover(QWidget *window, const QPoint &pos)
{
    QHoverEvent e(QEvent::HoverMove, pos, pos);
    QApplication::sendEvent(window, &e);
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(QSize(43, 31)).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage resourceImage(const char *path)
{
    return QPixmap(QLatin1String(path)).scaled(43, 31).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestWindowShell : public QObject
{
    Q_OBJECT

    MainWindow *w = nullptr;

private slots:
    void init()
    {
        w = new MainWindow;
        w->m_stepTimer[MainWindow::StepTestPort]->stop(); // no phone in these tests
        w->move(300, 200);
        w->placeNotices();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    void cleanup()
    {
        delete w;
        w = nullptr;
    }

    void centring_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("1920x1040") << QRect(0, 0, 1920, 1040) << QPoint(510, 220);
        QTest::newRow("odd sizes round down") << QRect(0, 0, 1367, 769) << QPoint(233, 84);
        QTest::newRow("exactly the window") << QRect(0, 0, 900, 600) << QPoint(0, 0);
        QTest::newRow("second screen to the right") << QRect(1920, 0, 1280, 984) << QPoint(2110, 192);
        QTest::newRow("task bar on the left") << QRect(48, 0, 1872, 1080) << QPoint(534, 240);
        QTest::newRow("screen smaller than the window") << QRect(0, 0, 800, 560) << QPoint(0, 0);
    }
    void centring()
    {
        QFETCH(QRect, available);
        QFETCH(QPoint, expected);
        QCOMPARE(centredPosition(available), expected);
    }

    void centredRow_data()
    {
        QTest::addColumn<QVector<int>>("widths");
        QTest::addColumn<int>("area");
        QTest::addColumn<QVector<int>>("lefts");
        QTest::newRow("three pieces") << QVector<int>{330, 170, 120} << 900 << QVector<int>{140, 470, 640};
        QTest::newRow("odd rest rounds down") << QVector<int>{101} << 900 << QVector<int>{399};
        QTest::newRow("wider than the area") << QVector<int>{600, 400} << 900 << QVector<int>{0, 600};
        QTest::newRow("nothing") << QVector<int>{} << 900 << QVector<int>{};
    }
    void centredRow()
    {
        QFETCH(QVector<int>, widths);
        QFETCH(int, area);
        QFETCH(QVector<int>, lefts);
        QCOMPARE(app::windowgeometry::centredRow(widths, area), lefts);
    }

    void menuHoverRule_data()
    {
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<bool>("panelVisible");
        QTest::addColumn<int>("expected");
        const int keep = int(MenuHover::Keep), open = int(MenuHover::Open), close = int(MenuHover::Close);
        QTest::newRow("button, closed") << QPoint(790, 15) << false << open;
        QTest::newRow("button edge left") << QPoint(772, 1) << false << open;
        QTest::newRow("button edge right") << QPoint(813, 30) << false << open;
        QTest::newRow("button, open") << QPoint(790, 15) << true << keep;
        QTest::newRow("left of button") << QPoint(771, 15) << false << keep;
        QTest::newRow("minimise button, open") << QPoint(830, 15) << true << close;
        QTest::newRow("panel, open") << QPoint(800, 150) << true << keep;
        QTest::newRow("panel bottom edge") << QPoint(900, 239) << true << keep;
        QTest::newRow("below panel") << QPoint(800, 240) << true << close;
        QTest::newRow("page, open") << QPoint(400, 300) << true << close;
        QTest::newRow("page, closed") << QPoint(400, 300) << false << keep;
    }
    void menuHoverRule()
    {
        QFETCH(QPoint, pos);
        QFETCH(bool, panelVisible);
        QFETCH(int, expected);
        QCOMPARE(int(menuHover(pos, panelVisible)), expected);
    }

    void everyPictureExists()
    {
        // Every picture named in the form (pixmaps, icons, style sheets) and in
        // the program's code must be compiled in: no empty label, no missing
        // button face.
        const QRegularExpression picture(QStringLiteral(":/[A-Za-z]+/[A-Za-z0-9_/.-]+\\.(png|ico)"));
        QSet<QString> paths;
        int sources = 0;
        const QStringList folders{"app", "browser", "devicelink", "devicewatcher", "protocol", "workflow"};
        for (const QString &folder : folders) {
            QDirIterator files(QStringLiteral(PURGATEX_SOURCE_DIR "/") + folder,
                               {QStringLiteral("*.cpp"), QStringLiteral("*.h"), QStringLiteral("*.ui")}, QDir::Files,
                               QDirIterator::Subdirectories);
            while (files.hasNext()) {
                QFile source(files.next());
                QVERIFY(source.open(QIODevice::ReadOnly));
                ++sources;
                QRegularExpressionMatchIterator it = picture.globalMatch(QString::fromUtf8(source.readAll()));
                while (it.hasNext())
                    paths.insert(it.next().captured(0));
            }
        }
        QVERIFY(sources > 50);
        QVERIFY(paths.size() > 60);
        QStringList broken;
        for (const QString &path : qAsConst(paths)) {
            if (QImage(path).isNull())
                broken << path;
        }
        broken.sort();
        QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral(", "))));
    }

    void fixedTextsAreNotCutOff()
    {
        // Every one-line text of the pages and notices fits its widget in the
        // font the style sheets give it (a page or notice not yet on screen
        // is styled for the measure as code that measures it does). The
        // pieced sentences get their widths once the first frame is out.
        QTRY_VERIFY(w->m_startupFinished);
        QStringList cut;
        const QList<QWidget *> traces{w->ui->testLabel_2, w->ui->testLabel_3, w->ui->testLabel_4,
                                      w->ui->label_test_debug, w->ui->label_test_debug_2};
        const auto widgets = w->findChildren<QWidget *>();
        for (QWidget *widget : widgets) {
            if (traces.contains(widget))
                continue; // never shown
            QString text;
            if (auto *label = qobject_cast<QLabel *>(widget)) {
                if (label->text().isEmpty())
                    continue;
                if (label->wordWrap()) {
                    app::deferredstyle::ensureStyled(label);
                    if (label->heightForWidth(label->width()) > label->height())
                        cut << QStringLiteral("%1 (%2 lines need %3 high, has %4)")
                                   .arg(label->objectName(), label->text())
                                   .arg(label->heightForWidth(label->width()))
                                   .arg(label->height());
                    continue;
                }
                text = label->text();
            } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
                text = button->text();
                if (text.isEmpty() || widget->objectName() == QLatin1String("EP_IsScanning_PushButton_Message"))
                    continue; // that one carries a placeholder until the scan names it
            } else {
                continue;
            }
            app::deferredstyle::ensureStyled(widget);
            const QSize need = widget->sizeHint();
            if (need.width() > widget->width() || widget->fontMetrics().height() > widget->height())
                cut << QStringLiteral("%1 (%2 needs %3, has %4)")
                           .arg(widget->objectName(), text)
                           .arg(need.width())
                           .arg(widget->width());
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    }

    void sentencePiecesJoinUp()
    {
        // The three pieces of the USB-debugging sentence follow each other
        // on their page as it is shown.
        w->hidePages();
        w->ui->A_MP_USBDebugTourial_2->show();
        const QList<QLabel *> pieces{w->ui->A_MP_USBDebugTourial_Label_Text1, w->ui->A_MP_USBDebugTourial_Label_Text2,
                                     w->ui->A_MP_USBDebugTourial_Label_Text3};
        for (int i = 1; i < pieces.size(); ++i)
            QCOMPARE(pieces.at(i)->x(), pieces.at(i - 1)->geometry().right() + 1);
        // "enable" and "USB" keep a blank between them.
        QLabel *first = pieces.first();
        QVERIFY(first->width() >= first->fontMetrics().horizontalAdvance(first->text() + QLatin1Char(' ')));
        // The highlighted 'Yes' lies inside the blank run after "Click".
        w->hidePages();
        w->ui->A_MP_ChangeDefault_SMS_Widget->show();
        QLabel *sentence = w->ui->A_MP_ChangeDefault_SMS_Label_Text;
        QLabel *yes = w->ui->A_MP_ChangeDefault_SMS_Label_Yes;
        const QFontMetrics fm = sentence->fontMetrics();
        const int gapLeft = sentence->x() + fm.horizontalAdvance(QStringLiteral("Click"));
        const int gapRight = sentence->x() + fm.horizontalAdvance(sentence->text().left(sentence->text().indexOf(QStringLiteral("to"))));
        QVERIFY2(yes->x() >= gapLeft && yes->geometry().right() <= gapRight,
                 qPrintable(QStringLiteral("%1..%2 in %3..%4").arg(yes->x()).arg(yes->geometry().right()).arg(gapLeft).arg(gapRight)));
        QCOMPARE(yes->y(), sentence->y());
    }

    void startsOnTheConnectPageWithPagesInPlace()
    {
        QCOMPARE(w->m_pageList.size(), 12);
        QStringList names;
        QStringList visible;
        for (QWidget *page : qAsConst(w->m_pageList)) {
            names << page->objectName();
            QCOMPARE(page->geometry(), PageGeometry);
            if (!page->isHidden())
                visible << page->objectName();
        }
        QCOMPARE(names, pageNames());
        QCOMPARE(visible, QStringList{QStringLiteral("A_MP_PleaseConnect_1")});
        for (QWidget *trace : {w->ui->testLabel_2, w->ui->testLabel_3, w->ui->testLabel_4, w->ui->label_test_debug,
                               w->ui->label_test_debug_2})
            QVERIFY(trace->isHidden());
        QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w->size(), QSize(900, 600));
        QVERIFY(w->ui->T_M_SelectLevel_RatioButton_LowLevel->isChecked());
    }

    void hidePagesLeavesNoPageAndNoAbout()
    {
        for (QWidget *page : qAsConst(w->m_pageList))
            page->show();
        w->ui->T_D_About->show();
        w->hidePages();
        for (QWidget *page : qAsConst(w->m_pageList))
            QVERIFY2(page->isHidden(), qPrintable(page->objectName()));
        QVERIFY(w->ui->T_D_About->isHidden());
    }

    void hideNoticesClosesEveryNoticeAndTheMenu()
    {
        QCOMPARE(w->m_noticeList.size(), noticePlacements().size());
        for (const auto &notice : qAsConst(w->m_noticeList))
            notice.first->show();
        hover(w, QPoint(790, 15));
        QVERIFY(!w->ui->T_D_MenuWidget->isHidden());
        w->hideNotices();
        for (const auto &notice : qAsConst(w->m_noticeList))
            QVERIFY2(notice.first->isHidden(), qPrintable(notice.first->objectName()));
        QVERIFY(w->ui->T_D_MenuWidget->isHidden());
        QCOMPARE(iconImage(w->ui->S_Menu_Button->icon()), resourceImage(":/Image/RightTopButton/menu1.png"));
    }

    // A picture of the form is read when its label is first shown or
    // painted: the page on screen shows its own at once, a page or notice
    // not yet shown has not read its picture, and shows it when it is shown
    // or painted (grabbed) all the same. A label that code has given another
    // picture before keeps that one.
    void formPicturesAreReadWhenShown_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("grabOnly");
        QTest::newRow("page on screen") << "A_MP_PleaseConnect_Label_Image" << "" << ":/Image/MyPhone/connect.png"
                                        << false;
        QTest::newRow("page shown later") << "MP_USBDebug_Image" << "A_MP_USBDebugTourial_2"
                                          << ":/Image/MyPhone/usbdebug.png" << false;
        QTest::newRow("notice shown later") << "T_D_About_Label_Message" << "T_D_About"
                                            << ":/Image/Dialog/about-us.png" << false;
        QTest::newRow("notice grabbed, never shown") << "A_MP_D_ReconnectDevice_Label_Message"
                                                     << "A_MP_D_ReconnectDevice" << ":/Image/Dialog/reconnect.png"
                                                     << true;
    }
    void formPicturesAreReadWhenShown()
    {
        QFETCH(QString, label);
        QFETCH(QString, page);
        QFETCH(QString, picture);
        QFETCH(bool, grabOnly);
        auto *l = w->findChild<QLabel *>(label);
        QVERIFY(l);
        const QImage expected = QPixmap(picture).toImage().convertToFormat(QImage::Format_ARGB32);
        auto shows = [&] { return l->pixmap(Qt::ReturnByValue).toImage().convertToFormat(QImage::Format_ARGB32) == expected; };
        if (!page.isEmpty()) {
            QVERIFY(!shows()); // not read yet
            QWidget *p = w->findChild<QWidget *>(page);
            if (grabOnly)
                p->grab();
            else
                p->show();
        }
        QVERIFY(shows());
    }
    void pictureSetByCodeStays()
    {
        auto *l = w->ui->MP_USBDebug_Image;
        QPixmap mine(8, 8);
        mine.fill(Qt::red);
        l->setPixmap(mine);
        w->ui->A_MP_USBDebugTourial_2->show();
        QCOMPARE(l->pixmap(Qt::ReturnByValue).cacheKey(), mine.cacheKey());
    }

    void noticesAreSeparateWindowsWithDragBars()
    {
        for (const NoticePlacement &placement : noticePlacements()) {
            auto *notice = w->findChild<QWidget *>(QLatin1String(placement.name));
            QVERIFY(notice);
            QVERIFY(notice->isWindow());
            QVERIFY(notice->windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(notice->windowType(), Qt::Dialog);
            QCOMPARE(notice->geometry(), QRect(w->pos() + placement.offset, placement.size));
            auto *bar = notice->findChild<TopButtonForMouseMove *>(QLatin1String(placement.barName));
            QVERIFY2(bar, placement.barName);
            QCOMPARE(bar->geometry(), QRect(0, 0, placement.size.width(), 37));
            // The close button (top right) lies above the bar and still gets the
            // clicks; everywhere else along the bar (title and icon included) a
            // press lands on the bar.
            notice->show();
            for (int x = 2; x < placement.size.width() - 50; x += 9)
                QVERIFY2(notice->childAt(x, 18) == bar, qPrintable(QStringLiteral("%1 at %2").arg(QLatin1String(placement.name)).arg(x)));
            QWidget *atClose = notice->childAt(placement.size.width() - 20, 15);
            QVERIFY(atClose);
            if (qstrcmp(placement.name, "T_AppState") != 0)
                QVERIFY2(qobject_cast<QPushButton *>(atClose) && atClose != bar, placement.name);
            notice->hide();
        }
    }

    void windowDrag_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("steps");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("top bar") << QPoint(600, 50) << QList<QPoint>{{20, 0}, {20, 30}} << QPoint(40, 30);
        QTest::newRow("lowest line of the band") << QPoint(600, 109) << QList<QPoint>{{-15, 5}} << QPoint(-15, 5);
        QTest::newRow("page area") << QPoint(300, 200) << QList<QPoint>{{40, 30}} << QPoint(0, 0);
        QTest::newRow("jitter") << QPoint(600, 50) << QList<QPoint>{{3, 2}, {-1, 4}} << QPoint(0, 0);
        QTest::newRow("press on a scope button") << QPoint(300, 50) << QList<QPoint>{{40, 30}} << QPoint(0, 0);
        QTest::newRow("small steps after a start") << QPoint(600, 50) << QList<QPoint>{{12, 0}, {1, 1}, {-2, 0}} << QPoint(11, 1);
    }
    void windowDrag()
    {
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, steps);
        QFETCH(QPoint, moved);
        const QPoint start = w->pos();
        w->ui->T_D_IsScanning_Stop->show();
        // Through the top bar's background label, as a real press would arrive.
        QWidget *target = w->childAt(press);
        QVERIFY(target);
        drag(target, target->mapFrom(w, press), steps);
        QCOMPARE(w->pos(), start + moved);
        for (const NoticePlacement &placement : noticePlacements()) {
            auto *notice = w->findChild<QWidget *>(QLatin1String(placement.name));
            QCOMPARE(notice->pos(), w->pos() + placement.offset);
        }
    }

    void noticeDragMovesOnlyThatNotice()
    {
        QWidget *notice = w->ui->T_D_IsErasing_Stop;
        QWidget *other = w->ui->T_D_About;
        notice->show();
        other->show();
        const QPoint windowPos = w->pos();
        const QPoint otherPos = other->pos();
        const QPoint noticePos = notice->pos();
        auto *bar = notice->findChild<TopButtonForMouseMove *>(QStringLiteral("pTop_T_D_IsErasing_Stop"));
        drag(bar, QPoint(100, 15), {{30, 0}, {30, 40}});
        QCOMPARE(notice->pos(), noticePos + QPoint(60, 40));
        QCOMPARE(w->pos(), windowPos);
        QCOMPARE(other->pos(), otherPos);
        drag(bar, QPoint(100, 15), {{4, 4}}); // below the drag distance
        QCOMPARE(notice->pos(), noticePos + QPoint(60, 40));

        // The next window drag puts it back at its offset.
        drag(w->ui->S_Label_TopBg, QPoint(300, 40), {{20, 20}});
        QCOMPARE(notice->pos(), w->pos() + QPoint(273, 133));
    }

    void hoverMenuOpensAndCloses()
    {
        QWidget *panel = w->ui->T_D_MenuWidget;
        QVERIFY(panel->isHidden());
        hover(w, QPoint(790, 15));
        QVERIFY(!panel->isHidden());
        QCOMPARE(panel->geometry(), MenuPanelGeometry);
        QCOMPARE(iconImage(w->ui->S_Menu_Button->icon()), resourceImage(":/Image/RightTopButton/menu2.png"));
        hover(w, QPoint(800, 32));  // down into the panel
        hover(w, QPoint(840, 200)); // over Exit
        QVERIFY(!panel->isHidden());
        hover(w, QPoint(500, 300));
        QVERIFY(panel->isHidden());
        QCOMPARE(iconImage(w->ui->S_Menu_Button->icon()), resourceImage(":/Image/RightTopButton/menu1.png"));

        // Moves over the button itself, which does not pass them on, open it too.
        QPushButton *button = w->ui->S_Menu_Button;
        sendMouse(button, QEvent::MouseMove, button->mapToGlobal(QPoint(20, 15)), Qt::NoButton);
        QVERIFY(!panel->isHidden());
        QPushButton *help = w->ui->T_D_Help_PushButton;
        sendMouse(help, QEvent::MouseMove, help->mapToGlobal(QPoint(60, 20)), Qt::NoButton);
        QVERIFY(!panel->isHidden());
        QWidget *page = w->ui->A_MP_PleaseConnect_1;
        sendMouse(page, QEvent::MouseMove, page->mapToGlobal(QPoint(400, 200)), Qt::NoButton);
        QVERIFY(panel->isHidden());
    }

    void aboutTwiceLeavesOneAboutOnTop()
    {
        QPushButton *about = w->ui->T_D_About_PushButton;
        about->click();
        about->click();
        int visibleAbouts = 0;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() == QLatin1String("T_D_About") && top->isVisible())
                ++visibleAbouts;
        }
        QCOMPARE(visibleAbouts, 1);
        QCOMPARE(w->ui->T_D_About->pos(), w->pos() + QPoint(198, 140));
        w->ui->T_D_About_Exit_PushButton->click();
        QVERIFY(w->ui->T_D_About->isHidden());
    }

    void buttonsThatOnlyHideTheirNotice_data()
    {
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QString>("button");
        QTest::newRow("about close") << "T_D_About" << "T_D_About_Exit_PushButton";
        QTest::newRow("driver error OK") << "A_MP_D_DirverError_1_1" << "MP_D_ConnectedError_Button_Ok";
        QTest::newRow("driver error close") << "A_MP_D_DirverError_1_1" << "MP_D_ConnectedError_Button_Close";
        QTest::newRow("reconnect OK") << "A_MP_D_ReconnectDevice" << "A_MP_D_ReconnectDevice_Ok";
        QTest::newRow("reconnect close") << "A_MP_D_ReconnectDevice" << "A_MP_D_ReconnectDevice_PushButton_Close";
        QTest::newRow("port used close") << "A_MP_D_PortUsed" << "A_MP_D_PortUsed_PushButton_Close";
        QTest::newRow("cancel not answered OK") << "T_D_CancelNoAnswer" << "T_D_CancelNoAnswer_PushButton_Ok";
        QTest::newRow("cancel not answered close") << "T_D_CancelNoAnswer" << "T_D_CancelNoAnswer_Close";
    }
    void buttonsThatOnlyHideTheirNotice()
    {
        QFETCH(QString, notice);
        QFETCH(QString, button);
        auto *n = w->findChild<QWidget *>(notice);
        auto *b = w->findChild<QPushButton *>(button);
        QVERIFY(n && b);
        n->show();
        b->click();
        QVERIFY(n->isHidden());
        b->click(); // closing twice changes nothing
        QVERIFY(n->isHidden());
    }

    void linksOpenTheShippedGuide_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("section");
        QTest::newRow("help") << "T_D_Help_PushButton" << "";
        QTest::newRow("about link") << "T_D_About_Label_Url" << "";
        QTest::newRow("driver link") << "MP_D_ConnectedError_Button_Url" << "usb-drivers";
    }
    void linksOpenTheShippedGuide()
    {
        QFETCH(QString, button);
        QFETCH(QString, section);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        w->findChild<QPushButton *>(button)->click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        const QUrl url = catcher.urls.first();
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.fragment(), section);
        QFile guide(url.toLocalFile());
        QVERIFY2(guide.open(QIODevice::ReadOnly), qPrintable(url.toLocalFile()));
        const QByteArray html = guide.readAll();
        QVERIFY(html.contains("USB debugging"));
        if (!section.isEmpty())
            QVERIFY(html.contains("id=\"" + section.toLatin1() + "\""));
    }

    // A scope button the user cannot use does not look usable: its disabled
    // face differs from its normal one (it starts disabled, waiting for the
    // phone).
    void disabledScopeButtonsLookDisabled()
    {
        for (QPushButton *b : {w->ui->S_MyPhone_Button, w->ui->S_All_Button, w->ui->S_Private_Button,
                               w->ui->S_App_Button}) {
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
            const QImage disabled = b->grab().toImage();
            b->setEnabled(true);
            const QImage enabled = b->grab().toImage();
            QVERIFY2(!disabled.isNull() && disabled != enabled, qPrintable(b->objectName()));
        }
    }

    void myPhoneShowsThePhonePage_data()
    {
        QTest::addColumn<int>("scope");
        QTest::addColumn<bool>("stopsPhotos");
        QTest::newRow("all") << int(EraseType::All) << false;
        QTest::newRow("private") << int(EraseType::Private) << true;
        QTest::newRow("app") << int(EraseType::App) << false;
    }
    void myPhoneShowsThePhonePage()
    {
        QFETCH(int, scope);
        QFETCH(bool, stopsPhotos);
        w->m_eraseType = static_cast<EraseType>(scope);
        w->m_timerGetPhotoByTime->start(2000);
        w->m_timerUpdateTablePhoto->start(1000);
        w->hidePages();
        w->ui->B_EAll_ToScan->show();
        w->ui->S_MyPhone_Button->setEnabled(true);
        w->ui->S_MyPhone_Button->click();
        QStringList visible;
        for (QWidget *page : qAsConst(w->m_pageList)) {
            if (!page->isHidden())
                visible << page->objectName();
        }
        QCOMPARE(visible, QStringList{QStringLiteral("A_MP_ConnectedInfomation_5")});
        // From the private results the photo fetching stops first.
        QCOMPARE(w->m_timerGetPhotoByTime->isActive(), !stopsPhotos);
        QCOMPARE(w->m_timerUpdateTablePhoto->isActive(), !stopsPhotos);
        QCOMPARE(w->m_timerCheckStopGetPhotoSwitchedAllApp->isActive(), stopsPhotos);
        if (stopsPhotos)
            QCOMPARE(w->m_timerCheckStopGetPhotoSwitchedAllApp->interval(), 100);
    }
};

QTEST_MAIN(TestWindowShell)
#include "tst_windowshell.moc"
