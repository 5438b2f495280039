#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "deferredstyle.h"
#include "topbuttonformousemove.h"
#include "uifont.h"
#include "userguide.h"
#include "widgetvisibility.h"
#include "windowgeometry.h"

#include <QApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QHoverEvent>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

using namespace app::windowgeometry;

namespace {

// The title label, the icon and the close button of a notice lie above its
// drag bar; everything else of the notice starts below the bar. The title
// and the icon let the mouse through, so the whole bar but its close button
// drags the notice.
void raiseAboveBar(QWidget *notice, TopButtonForMouseMove *bar)
{
    const auto children = notice->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child != bar && child->geometry().intersects(bar->geometry())) {
            child->raise();
            if (qobject_cast<QLabel *>(child))
                child->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
    }
}

int textWidth(QLabel *label, const QString &text)
{
    app::deferredstyle::ensureStyled(label); // the style sheet sets the font
    return label->fontMetrics().horizontalAdvance(text);
}

// A sentence made of several labels (one of them highlighted): each piece is
// made as wide as its text in the font in use, so that the pieces join up
// and none is cut off, and the line is centred on its page.
void lineUpSentence(const QList<QLabel *> &pieces)
{
    QVector<int> widths;
    for (int i = 0; i < pieces.size(); ++i) {
        const QString text = pieces.at(i)->text();
        int width = textWidth(pieces.at(i), text) + 2;
        // Words of neighbouring pieces keep a blank between them.
        const bool joined = i + 1 < pieces.size() && !text.endsWith(QLatin1Char(' '))
                            && !pieces.at(i + 1)->text().startsWith(QLatin1Char(' '));
        if (joined)
            width += textWidth(pieces.at(i), QStringLiteral(" "));
        widths.append(width);
    }
    const QVector<int> lefts = centredRow(widths, pieces.first()->parentWidget()->width());
    for (int i = 0; i < pieces.size(); ++i) {
        QLabel *piece = pieces.at(i);
        piece->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        piece->setGeometry(lefts.at(i), piece->y(), widths.at(i), piece->height());
    }
}

// A highlighted word laid over the run of blanks after the first word of a
// sentence label, centred in that gap.
void placeInGap(QLabel *sentence, QLabel *word)
{
    const QString text = sentence->text();
    const int gapStart = text.indexOf(QLatin1Char(' '));
    if (gapStart < 0)
        return;
    int gapEnd = gapStart;
    while (gapEnd < text.size() && text.at(gapEnd) == QLatin1Char(' '))
        ++gapEnd;
    const int left = textWidth(sentence, text.left(gapStart));
    const int right = textWidth(sentence, text.left(gapEnd));
    const int width = textWidth(word, word->text()) + 2;
    word->setGeometry(sentence->x() + (left + right - width) / 2, sentence->y(), width, word->height());
}

// The twelve pages, in their fixed order.
QList<QWidget *> pagesInOrder(Ui::MainWindow *ui)
{
    return {
        ui->A_MP_PleaseConnect_1,
        ui->A_MP_USBDebugTourial_2,
        ui->A_MP_IsInstalling_4,
        ui->A_MP_ConnectedInfomation_5,
        ui->A_MP_ChangeDefault_SMS_Widget,
        ui->B_EAll_ToScan,
        ui->C_EPrivate_IsScanning_2,
        ui->D_EApp_ToScanAndIsScanning,
        ui->M_ConformErase_1,
        ui->M_IsErasing_2,
        ui->M_EraseCompleted_3,
        ui->M_All_Private_IsScanning,
    };
}

// A notice of the form made into a hidden frameless dialog window of its
// size, with its drag bar across the top.
void makeNoticeWindow(QWidget *notice, const NoticePlacement &placement)
{
    notice->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    notice->resize(placement.size);
    notice->hide();

    auto *bar = new TopButtonForMouseMove(notice);
    bar->setObjectName(QLatin1String(placement.barName));
    bar->setGeometry(0, 0, placement.size.width(), NoticeBarHeight);
    bar->setStyleSheet(QStringLiteral("QPushButton#%1{background-color:#01B1ED ; border: none;}")
                           .arg(QLatin1String(placement.barName)));
    raiseAboveBar(notice, bar);
}

const char *MenuClosedIcon = ":/Image/RightTopButton/menu1.png";
const char *MenuOpenIcon = ":/Image/RightTopButton/menu2.png";

} // namespace

void MainWindow::initWindowShell()
{
    // Labels show names, numbers, bodies and locations from the phone and
    // names from the PC's tools: text, never markup. Qt's automatic format
    // would take "<img src=...>" in a contact name as a picture to load from
    // disk. The form's own texts are plain too, so every label of the window
    // and its notices is set to plain text here, before anything fills one.
    for (QLabel *label : findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);

    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    // Hover moves drive the menu; the application-wide filter below also sees
    // the moves over child widgets that would not pass them on.
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    qApp->installEventFilter(this);

#ifdef Q_OS_WIN
    // Windows' UI font, falling back to sans-serif families where it is
    // missing (Wine without Windows' fonts) rather than to a serif default.
    // Application-wide: the notices are windows of their own.
    QApplication::setFont(app::uifont::withFallbacks(QApplication::font()));
#endif
    setWindowIcon(QIcon(QStringLiteral(":/images/StaticUI/bitbug_favicon.ico")));
    setWindowTitle(tr("Purgatex for Android"));
    QRect available(0, 0, WindowWidth, WindowHeight);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        available = screen->availableGeometry();
    const QPoint origin = centredPosition(available);
    setGeometry(origin.x(), origin.y(), WindowWidth, WindowHeight);

    m_pageList = pagesInOrder(ui);
    for (QWidget *page : qAsConst(m_pageList))
        page->setGeometry(PageGeometry);
    qDebug() << "this pos:" << x() << y();
    // The two sentences are laid out in their fonts when their page is
    // first shown, or after the first frame (layOutSentences()).

    m_noticeList.clear();
    for (const NoticePlacement &placement : noticePlacements()) {
        auto *notice = findChild<QWidget *>(QLatin1String(placement.name));
        if (!notice) {
            qWarning() << "notice missing from the form:" << placement.name;
            continue;
        }
        makeNoticeWindow(notice, placement);
        m_noticeList.append(qMakePair(notice, placement.offset));
    }
    placeNotices();

    ui->T_M_SelectLevel_RatioButton_LowLevel->setChecked(true);

    ui->T_D_MenuWidget->setGeometry(MenuPanelGeometry);
    ui->T_D_MenuWidget->hide();
    ui->T_D_MenuWidget->raise();
    qDebug() << "menu pos" << ui->T_D_MenuWidget->pos();

    // The user guide is ours; the link buttons name what they open.
    ui->MP_D_ConnectedError_Button_Url->setText(tr("User guide: installing the USB driver"));
    ui->T_D_About_Label_Url->setText(tr("Purgatex for Android user guide"));

    // The link is brought up first: the scope buttons wait for the phone.
    for (QPushButton *button : {ui->S_MyPhone_Button, ui->S_All_Button, ui->S_Private_Button, ui->S_App_Button})
        button->setEnabled(false);

    hidePages();
    app::showWidget(ui->A_MP_PleaseConnect_1);
}

void MainWindow::layOutSentences()
{
    if (m_sentencesLaidOut)
        return;
    m_sentencesLaidOut = true;
    lineUpSentence({ui->A_MP_USBDebugTourial_Label_Text1, ui->A_MP_USBDebugTourial_Label_Text2,
                    ui->A_MP_USBDebugTourial_Label_Text3});
    placeInGap(ui->A_MP_ChangeDefault_SMS_Label_Text, ui->A_MP_ChangeDefault_SMS_Label_Yes);
}

void MainWindow::hidePages()
{
    for (QWidget *page : qAsConst(m_pageList))
        app::hideWidget(page);
    app::hideWidget(ui->T_D_About);
}

void MainWindow::hideNotices()
{
    for (const auto &notice : qAsConst(m_noticeList))
        app::hideWidget(notice.first);
    if (!ui->T_D_MenuWidget->isHidden()) {
        ui->T_D_MenuWidget->hide();
        ui->S_Menu_Button->setIcon(QIcon(QLatin1String(MenuClosedIcon)));
    }
}

void MainWindow::placeNotices()
{
    const QPoint origin = pos();
    for (const auto &notice : qAsConst(m_noticeList))
        notice.first->move(origin + notice.second);
}

void MainWindow::updateMenuHover(const QPoint &pos)
{
    switch (menuHover(pos, !ui->T_D_MenuWidget->isHidden())) {
    case MenuHover::Open:
        ui->S_Menu_Button->setIcon(QIcon(QLatin1String(MenuOpenIcon)));
        ui->T_D_MenuWidget->show();
        ui->T_D_MenuWidget->raise();
        break;
    case MenuHover::Close:
        ui->S_Menu_Button->setIcon(QIcon(QLatin1String(MenuClosedIcon)));
        ui->T_D_MenuWidget->hide();
        break;
    case MenuHover::Keep:
        break;
    }
}

void MainWindow::setVisible(bool visible)
{
    if (visible && !m_shownOnce) {
        m_shownOnce = true;
        // The pages, notices and the menu not on screen are styled when
        // they are first shown (or after the first frame), not with the
        // window.
        QList<QWidget *> behind;
        for (QObject *child : ui->centralwidget->children()) {
            if (child->isWidgetType() && static_cast<QWidget *>(child)->isHidden())
                behind << static_cast<QWidget *>(child);
        }
        app::deferredstyle::defer(behind);
    }
    QMainWindow::setVisible(visible);
}

void MainWindow::finishStartup()
{
    if (m_startupFinished)
        return;
    m_startupFinished = true;
    layOutSentences();
    initTableKeyboard(); // makes the category tables
    app::deferredstyle::styleRemaining();
}

bool MainWindow::event(QEvent *e)
{
    switch (e->type()) {
    case QEvent::Paint:
        // The first frame is being drawn: what it did not wait for comes
        // in the next turns of the event loop.
        if (!m_startupFinished)
            QMetaObject::invokeMethod(this, &MainWindow::finishStartup, Qt::QueuedConnection);
        break;
    case QEvent::MouseButtonPress: {
        auto *me = static_cast<QMouseEvent *>(e);
        m_mousePressed = true;
        m_windowDragging = false;
        m_pressGlobal = me->globalPos();
        m_pressOffset = me->globalPos() - pos();
        break;
    }
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(e);
        if (m_mousePressed && me->buttons() != Qt::NoButton && inDragBand(m_pressOffset)) {
            // A jitter below the drag distance does not move the window.
            if (!m_windowDragging)
                m_windowDragging = dragStarted(m_pressGlobal, me->globalPos(), QApplication::startDragDistance());
            if (m_windowDragging) {
                move(me->globalPos() - m_pressOffset);
                placeNotices();
                m_pressOffset = me->globalPos() - pos();
            }
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_mousePressed = false;
        m_windowDragging = false;
        break;
    case QEvent::HoverMove:
        updateMenuHover(static_cast<QHoverEvent *>(e)->pos());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        // The pointer left the window altogether (the menu panel is inside it).
        if (!rect().contains(mapFromGlobal(QCursor::pos())))
            updateMenuHover(QPoint(-1, -1));
        break;
    default:
        break;
    }
    return QMainWindow::event(e);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Show && !m_sentencesLaidOut
        && (watched == ui->A_MP_USBDebugTourial_2 || watched == ui->A_MP_ChangeDefault_SMS_Widget))
        layOutSentences();
    if (keyboardEvent(watched, e))
        return true;
    // Child widgets that do not track the mouse swallow the moves over them,
    // so the window would not see them as hover moves: follow them here.
    if (e->type() == QEvent::MouseMove && watched != this && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->window() == this) {
            auto *me = static_cast<QMouseEvent *>(e);
            updateMenuHover(mapFromGlobal(me->globalPos()));
        }
    }
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::on_S_MyPhone_Button_clicked()
{
    leaveEraseReport();
    // Leaving for the phone page drops what the last click still waited for,
    // a run waiting for the default-SMS-app answer among them.
    dropPendingWaits();
    hidePages();
    app::showWidget(ui->A_MP_ConnectedInfomation_5);
    if (m_eraseType == EraseType::Private) {
        // Thumbnails may still be loading: ask the companion app to stop
        // sending photos; the check only consumes its acknowledgement.
        stopPhotoFetching();
        sendStopGetPhoto();
        if (m_timerCheckStopGetPhotoSwitchedAllApp)
            m_timerCheckStopGetPhotoSwitchedAllApp->start(100);
    }
}

void MainWindow::on_S_Min_Button_clicked()
{
    showMinimized();
}

void MainWindow::on_S_Menu_Button_clicked()
{
    // The menu opens and closes by hovering.
}

void MainWindow::openAboutUrl(QString s)
{
    qDebug() << "open url" << s;
    QDesktopServices::openUrl(QUrl(s));
}

void MainWindow::on_T_D_Help_PushButton_clicked()
{
    openAboutUrl(app::userGuideUrl().toString());
}

void MainWindow::on_T_D_About_PushButton_clicked()
{
    // Hiding first brings an open About notice to the front again.
    app::hideWidget(ui->T_D_About);
    app::showWidget(ui->T_D_About);
    ui->T_D_About->raise();
}

void MainWindow::on_T_D_About_Exit_PushButton_clicked()
{
    app::hideWidget(ui->T_D_About);
}

void MainWindow::on_T_D_About_Label_Url_clicked()
{
    openAboutUrl(app::userGuideUrl().toString());
}

void MainWindow::on_MP_D_ConnectedError_Button_Url_clicked()
{
    openAboutUrl(app::userGuideUrl(QStringLiteral("usb-drivers")).toString());
}

void MainWindow::on_MP_D_ConnectedError_Button_Ok_clicked()
{
    app::hideWidget(ui->A_MP_D_DirverError_1_1);
}

void MainWindow::on_MP_D_ConnectedError_Button_Close_clicked()
{
    app::hideWidget(ui->A_MP_D_DirverError_1_1);
}

void MainWindow::on_A_MP_D_ReconnectDevice_Ok_clicked()
{
    app::hideWidget(ui->A_MP_D_ReconnectDevice);
}

void MainWindow::on_A_MP_D_ReconnectDevice_PushButton_Close_clicked()
{
    app::hideWidget(ui->A_MP_D_ReconnectDevice);
}

void MainWindow::on_A_MP_D_PortUsed_PushButton_Close_clicked()
{
    app::hideWidget(ui->A_MP_D_PortUsed);
}
