// Shows every page and every notice of the window in turn and saves a
// picture of the screen for each (run under a virtual X server):
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/tests/app/purgatex-screenshots DIR
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"
#include "windowgeometry.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
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

void shoot(const QString &dir, const QString &name)
{
    settle();
    QScreen *screen = QGuiApplication::primaryScreen();
    screen->grabWindow(0).save(QDir(dir).filePath(name + QStringLiteral(".png")));
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
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(dir);

    MainWindow w;
    if (app.arguments().contains(QStringLiteral("--live")))
        return live(w, dir);
    w.m_timerTestPort->stop(); // no phone here: keep the device link quiet
    w.show();
    shoot(dir, QStringLiteral("00-start"));

    for (QWidget *page : qAsConst(w.m_pageList)) {
        for (QPushButton *b : {w.ui->S_MyPhone_Button, w.ui->S_All_Button, w.ui->S_Private_Button, w.ui->S_App_Button})
            b->setEnabled(true);
        w.hidePages();
        showWidget(page);
        shoot(dir, QStringLiteral("page-%1").arg(page->objectName()));
    }

    w.hidePages();
    showWidget(w.ui->A_MP_ConnectedInfomation_5);
    // A long program name, as the port check may show it.
    w.ui->A_MP_D_PortUsed_Label_Info->setText(QStringLiteral("PhoneSuiteConnectService.exe"));
    w.showCancelNoAnswer(true); // the longer of its two texts
    for (const auto &notice : qAsConst(w.m_noticeList)) {
        showWidget(notice.first);
        notice.first->raise();
        shoot(dir, QStringLiteral("notice-%1").arg(notice.first->objectName()));
        hideWidget(notice.first);
    }

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
