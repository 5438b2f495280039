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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(dir);

    MainWindow w;
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
