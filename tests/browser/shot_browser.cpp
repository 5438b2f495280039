// Screenshots of the result page, one per category with the thumbnails
// loaded, and of the app page, after real scans of the in-process companion
// simulator. Not a test.
// Run under a display: xvfb-run -a <build>/tests/browser/shot_browser <out dir>
// It speaks the language the program would (PURGATEX_LANGUAGE=de: German).

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "browserfixture.h"
#include "highdpi.h"
#include "translations.h"
#include "companionsimulator.h"
#include "protocol/messages.h"

#include <QApplication>
#include <QDir>
#include <QHostAddress>
#include <QTest>

using namespace fixture;

namespace {
bool waitFor(const std::function<bool()> &done)
{
    return QTest::qWaitFor(done, 60000);
}

bool scan(MainWindow &w, QAbstractButton *scope)
{
    QTest::mouseClick(scope, Qt::LeftButton);
    if (!waitFor([&] { return !w.ui->B_EAll_ToScan->isHidden(); }))
        return false;
    QTest::mouseClick(w.ui->EAll_Label_ToScan, Qt::LeftButton);
    return waitFor([&] { return w.m_workPhase == Scanned; });
}
} // namespace

int main(int argc, char **argv)
{
    app::enableHighDpiScaling(); // QT_SCALE_FACTOR=1.5 and the like picture a scaling screen
    QApplication application(argc, argv);
    app::installTranslations();
    const QString outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(outDir);
    qputenv("QT_LOGGING_RULES", "default.debug=false");

    CompanionSimulator sim(SimDataSet::generate(14));
    MainWindow w;
    w.m_stepTimer[MainWindow::StepTestPort]->stop();
    if (!sim.listen())
        return 1;
    w.show();
    w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, sim.port());
    if (!waitFor([&] { return sim.hasClient(); }))
        return 2;
    w.m_programType = ProgramType::Idle;
    w.m_sdkLevel = 28;
    w.setScopeButtonsEnabled(true);

    if (!scan(w, w.ui->S_Private_Button))
        return 3;
    // every thumbnail in place: the stop request follows the last photo
    if (!waitFor([&] { return !w.m_timerGetPhotoByTime->isActive(); }))
        return 4;

    // a few rows chosen, so the colours show
    click(w.categoryTable(Contact), 2);
    click(w.categoryTable(Contact), 3);
    click(w.categoryTable(History), 1);
    click(w.categoryTable(Message), 2);
    click(w.categoryTable(Audio), 0);
    const char *names[] = {"contacts", "history", "messages", "photos", "audio", "video"};
    for (int c = Contact; c <= Vedio; ++c) {
        w.selectCategory(c);
        if (c == Contact)
            click(w.categoryTable(Contact), 2), click(w.categoryTable(Contact), 2);
        if (c == History)
            click(w.categoryTable(History), 1), click(w.categoryTable(History), 1);
        if (c == Photo)
            click(w.categoryTable(Photo), 2);
        application.processEvents();
        w.grab().save(QStringLiteral("%1/result-%2.png").arg(outDir, QLatin1String(names[c])));
    }

    // a search narrows the contacts
    w.selectCategory(Contact);
    w.ui->EP_IsScanning_TextBroswerEditor->setText(QStringLiteral("Lumen"));
    w.runSearch();
    application.processEvents();
    w.grab().save(outDir + QStringLiteral("/result-contacts-search.png"));

    // The keyboard in the contact table: its current row framed, the
    // selected row's text readable.
    w.ui->EP_IsScanning_TextBroswerEditor->clear();
    w.runSearch();
    w.activateWindow();
    if (!QTest::qWaitForWindowActive(&w))
        return 8;
    w.categoryTable(Contact)->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(w.categoryTable(Contact), Qt::Key_Down);
    QTest::keyClick(w.categoryTable(Contact), Qt::Key_Space);
    QTest::keyClick(w.categoryTable(Contact), Qt::Key_Down);
    application.processEvents();
    w.grab().save(outDir + QStringLiteral("/result-contacts-keyboard.png"));

    // The confirm page names what is ticked.
    QTest::mouseClick(w.ui->EP_IsScanning_PushButton_Erase, Qt::LeftButton);
    if (!waitFor([&] { return !w.ui->M_ConformErase_1->isHidden(); }))
        return 6;
    application.processEvents();
    w.grab().save(outDir + QStringLiteral("/confirm-private.png"));

    if (!scan(w, w.ui->S_App_Button))
        return 5;
    application.processEvents();
    w.grab().save(outDir + QStringLiteral("/app-page.png"));
    QTest::mouseClick(w.ui->EApp_RatioButton_SelectAll, Qt::LeftButton);
    QTest::mouseClick(w.ui->EApp_PushButton_Erase, Qt::LeftButton);
    if (!waitFor([&] { return !w.ui->M_ConformErase_1->isHidden(); }))
        return 7;
    application.processEvents();
    w.grab().save(outDir + QStringLiteral("/confirm-application.png"));
    return 0;
}
