// Shows every page and every notice of the window in turn and saves a
// picture of the window's part of the screen for each (run under a virtual X
// server; QT_SCALE_FACTOR=1.5 and the like picture a scaling screen, whose
// virtual screen must then be large enough for the scaled window):
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/tests/app/purgatex-screenshots DIR
//   QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 3840x2160x24" build/tests/app/purgatex-screenshots DIR
// The last pictures show the keyboard's focus marks. "--language de" shows
// the window in that language; without it, the tool speaks what the program
// would (the system's language, or PURGATEX_LANGUAGE).
#include "devicelink/linkhelp.h"
#include "highdpi.h"
#include "mainwindow.h"
#include "translations.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"
#include "windowgeometry.h"
#include "workflow/erasesummary.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

#include <functional>

namespace {

void settle()
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 250)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

QRect g_area; // the window's place on the screen; the whole screen when empty

void shoot(const QString &dir, const QString &name)
{
    settle();
    QScreen *screen = QGuiApplication::primaryScreen();
    const QPixmap shot = g_area.isEmpty()
        ? screen->grabWindow(0)
        : screen->grabWindow(0, g_area.x(), g_area.y(), g_area.width(), g_area.height());
    shot.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// A key as the user presses it, to the widget that has the focus.
void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    if (!target)
        return;
    QKeyEvent down(QEvent::KeyPress, key, mods);
    QKeyEvent up(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(target, &down);
    QApplication::sendEvent(target, &up);
    settle();
}

bool waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

// With a simulated phone (PURGATEX_SIM_DIR, PURGATEX_TOOLS_DIR and the
// companion-app simulator running): connect, scan the private data, open
// the results and the confirm page, taking a picture at each stop.
int live(MainWindow &w, const QString &dir)
{
    QTextStream out(stdout);
    w.show();
    if (!waitFor([&] { return w.ui->S_Private_Button->isEnabled(); }, 60000)) {
        out << "the phone page did not come\n";
        return 1;
    }
    shoot(dir, QStringLiteral("live-1-phone"));
    w.ui->S_Private_Button->click();
    shoot(dir, QStringLiteral("live-2-scan-page"));
    w.ui->EAll_Label_ToScan->click();
    waitFor([&] { return w.ui->M_All_Private_IsScanning_ProgressBar->value() > 20; }, 20000);
    shoot(dir, QStringLiteral("live-3-scanning"));
    if (!waitFor([&] { return !w.ui->C_EPrivate_IsScanning_2->isHidden(); }, 60000)) {
        out << "the private results did not come\n";
        return 1;
    }
    shoot(dir, QStringLiteral("live-4-contacts"));
    w.ui->EP_IsScanning_PushButton_Photo->click();
    waitFor([] { return false; }, 5000); // let some thumbnails arrive
    shoot(dir, QStringLiteral("live-5-photos"));
    w.ui->EP_IsScanning_PushButton_Audio->click();
    shoot(dir, QStringLiteral("live-6-audio"));
    w.ui->EP_IsScanning_PushButton_Message->click();
    shoot(dir, QStringLiteral("live-7-messages"));
    w.ui->S_App_Button->click();
    waitFor([&] { return !w.ui->B_EAll_ToScan->isHidden(); }, 5000);
    w.ui->EAll_Label_ToScan->click();
    if (waitFor([&] { return !w.ui->D_EApp_ToScanAndIsScanning->isHidden(); }, 60000))
        shoot(dir, QStringLiteral("live-8-apps"));
    w.ui->S_All_Button->click();
    waitFor([&] { return !w.ui->B_EAll_ToScan->isHidden(); }, 5000);
    w.ui->EAll_Label_ToScan->click();
    if (waitFor([&] { return !w.ui->M_ConformErase_1->isHidden(); }, 60000)) {
        shoot(dir, QStringLiteral("live-9-confirm"));
        w.ui->M_ConformErase_PushButton_Setting->click();
        shoot(dir, QStringLiteral("live-10-level"));
    }
    out << "live run done\n";
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    app::enableHighDpiScaling();
    QApplication application(argc, argv);
    QStringList args = application.arguments().mid(1);
    const int language = args.indexOf(QStringLiteral("--language"));
    if (language >= 0 && language + 1 < args.size()) {
        if (!app::installTranslation(args.at(language + 1))) {
            QTextStream(stderr) << "no translation for " << args.at(language + 1) << "\n";
            return 2;
        }
        args.erase(args.begin() + language, args.begin() + language + 2);
    } else {
        app::installTranslations(); // as the program chooses (PURGATEX_LANGUAGE)
    }
    const QString dir = !args.isEmpty() && !args.first().startsWith(QLatin1String("--")) ? args.first()
                                                                                         : QStringLiteral("screenshots");
    QDir().mkpath(dir);

    MainWindow w;
    if (application.arguments().contains(QStringLiteral("--live")))
        return live(w, dir);
    w.m_stepTimer[MainWindow::StepTestPort]->stop(); // no phone here: keep the device link quiet
    w.show();
    if (!application.arguments().contains(QStringLiteral("--whole-screen")))
        g_area = w.geometry();
    shoot(dir, QStringLiteral("00-start"));

    for (QWidget *page : qAsConst(w.m_pageList)) {
        for (QPushButton *b : {w.ui->S_MyPhone_Button, w.ui->S_All_Button, w.ui->S_Private_Button, w.ui->S_App_Button})
            b->setEnabled(true);
        w.hidePages();
        app::showWidget(page);
        shoot(dir, QStringLiteral("page-%1").arg(page->objectName()));
    }

    w.hidePages();
    app::showWidget(w.ui->A_MP_ConnectedInfomation_5);
    // A long program name, as the port check may show it.
    w.ui->A_MP_D_PortUsed_Label_Info->setText(QStringLiteral("PhoneSuiteConnectService.exe"));
    // The device link's help notice with the longest words it says: adb's
    // own line of a failed install.
    const devicelink::HelpText help = devicelink::helpText(
        devicelink::LinkProblem::InstallFailed,
        QStringLiteral("adb: failed to install /home/someone/Downloads/purgatex-for-android/Purgatex.apk: "
                       "Failure [INSTALL_FAILED_UPDATE_INCOMPATIBLE: Package org.qtproject.example signatures do "
                       "not match previously installed version; ignoring!]"),
        false);
    w.ui->A_MP_D_LinkHelp_Label_Heading->setText(help.heading);
    w.ui->A_MP_D_LinkHelp_Label_Text->setText(help.text);
    w.showCancelNoAnswer(true); // the longer of its two texts
    for (const auto &notice : qAsConst(w.m_noticeList)) {
        app::showWidget(notice.first);
        notice.first->raise();
        shoot(dir, QStringLiteral("notice-%1").arg(notice.first->objectName()));
        app::hideWidget(notice.first);
    }

    // The confirm page naming the most it can: everything of a full phone.
    {
        workflow::erasesummary::Figure figures[CategoryCount];
        const int counts[CategoryCount] = {12345, 23456, 34567, 4567, 567, 89, 1234, 123, 12, 1, 345, 6789};
        for (int c = 0; c < CategoryCount; ++c)
            figures[c].items = counts[c];
        w.hidePages();
        app::showWidget(w.ui->M_ConformErase_1);
        w.ui->M_ConformErase_Label_WhatIsErased->setText(workflow::erasesummary::summary(EraseType::All, figures));
        shoot(dir, QStringLiteral("summary-all-longest"));
        figures[History].threads = 3;
        figures[Message].threads = 1;
        w.ui->M_ConformErase_Label_WhatIsErased->setText(workflow::erasesummary::summary(EraseType::Private, figures));
        shoot(dir, QStringLiteral("summary-private"));
    }

    // Keyboard: the focus marks of the top bar, the keyboard's menu, a page
    // button, the confirm field, the app choices and a notice's button.
    w.activateWindow();
    settle();
    w.hidePages();
    app::showWidget(w.ui->B_EAll_ToScan);
    w.ui->S_Private_Button->setFocus(Qt::TabFocusReason);
    shoot(dir, QStringLiteral("focus-top-bar"));
    w.ui->S_Menu_Button->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    press(Qt::Key_Down);
    shoot(dir, QStringLiteral("focus-menu"));
    press(Qt::Key_Escape);
    w.ui->EAll_Label_ToScan->setFocus(Qt::TabFocusReason);
    shoot(dir, QStringLiteral("focus-scan-button"));
    w.hidePages();
    app::showWidget(w.ui->D_EApp_ToScanAndIsScanning);
    w.ui->EApp_RatioButton_Twitter->setEnabled(true);
    w.ui->EApp_RatioButton_Twitter->setFocus(Qt::TabFocusReason);
    shoot(dir, QStringLiteral("focus-app-choice"));
    w.hidePages();
    app::showWidget(w.ui->M_ConformErase_1);
    w.ui->M_ConformErase_LineEdit_InputErase->setFocus(Qt::TabFocusReason);
    shoot(dir, QStringLiteral("focus-confirm-field"));
    w.ui->M_ConformErase_PushButton_EraseNow->setFocus(Qt::TabFocusReason);
    shoot(dir, QStringLiteral("focus-erase-now"));
    app::showWidget(w.ui->T_M_SelectLevel_1_1);
    settle();
    shoot(dir, QStringLiteral("focus-level-notice"));
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    shoot(dir, QStringLiteral("focus-level-notice-ok"));
    press(Qt::Key_Escape);
    app::showWidget(w.ui->T_D_IsScanning_Stop);
    settle();
    shoot(dir, QStringLiteral("focus-stop-notice"));
    press(Qt::Key_Escape);
    w.hidePages();
    app::showWidget(w.ui->A_MP_ConnectedInfomation_5);

    // Real pointer moves (the X server warps the pointer and reports the
    // motion): the menu must open over its button, stay open over the
    // panel and close elsewhere.
    QTextStream out(stdout);
    QCursor::setPos(w.mapToGlobal(QPoint(790, 15)));
    shoot(dir, QStringLiteral("menu-open"));
    out << "menu over button: " << (w.ui->T_D_MenuWidget->isHidden() ? "closed" : "open") << "\n";
    QCursor::setPos(w.mapToGlobal(QPoint(800, 60)));
    settle();
    QCursor::setPos(w.mapToGlobal(QPoint(840, 215)));
    settle();
    out << "menu over Exit: " << (w.ui->T_D_MenuWidget->isHidden() ? "closed" : "open") << "\n";
    QCursor::setPos(w.mapToGlobal(QPoint(400, 400)));
    settle();
    out << "menu over page: " << (w.ui->T_D_MenuWidget->isHidden() ? "closed" : "open") << "\n";
    return 0;
}
