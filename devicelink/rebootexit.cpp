// Commands that other parts of the program trigger outside the connection
// sequence: rebooting the phone after an erase, the watchdog that follows the
// companion app while it is in the background, and ending the program.
#include "devicelink/outputrules.h"
#include "devicelink/stepdef.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"

#include <QCoreApplication>
#include <QDebug>

#include <limits>

using namespace devicelink;

namespace {

using Step = MainWindow::StepDef;

const Step kReboot = Step(MainWindow::StepTestReboot)
                         .runs(StepTool::Adb, {QStringLiteral("reboot")}, StepWait::Adb)
                         .logsDone("reboot end")
                         .rules(nullptr, &MainWindow::decideReboot);

// A phone listed after the reboot: the phone from before, not gone yet, or
// one that has started again already (a quick restart, over before the
// presence poll first looked)? Its uptime tells, gap seen or not.
const Step kBootCheck = Step(MainWindow::StepBootCheck)
                            .runs(StepTool::Adb, {QStringLiteral("shell"), QStringLiteral("cat"),
                                                  QStringLiteral("/proc/uptime")},
                                  StepWait::Adb)
                            .logs("start boot check", "boot check readready,times:", "boot check result error:")
                            .logsResult("boot check result str:")
                            .rules(&MainWindow::judgeBootCheck, &MainWindow::decideBootCheck);

const Step kAppQuited = Step(MainWindow::StepTestCheckAppQuited)
                            .runs(StepTool::Adb,
                                  {QStringLiteral("shell"), QStringLiteral("dumpsys"), QStringLiteral("activity"),
                                   QStringLiteral("-p"), devicelink::companionPackage(),
                                   QStringLiteral("processes")},
                                  StepWait::Adb)
                            .probes(StepProbe::Always)
                            .logs("start check app quit", "check app quit readready,times:",
                                  "read app quit result error:")
                            .logsResult("read app quit result str:")
                            .logsDone("after check app quit while")
                            .rules(&MainWindow::judgeAppQuited, &MainWindow::decideAppQuited);

// taskkill ends every process of the program's image name, this one
// included. Should it fail, hang, or leave this process alive (the program
// runs under another name), the program ends itself.
const Step kClose = Step(MainWindow::StepCloseProgram)
                        .runs(StepTool::Taskkill,
                              {QStringLiteral("/f"), QStringLiteral("/im"), QStringLiteral("Purgatex.exe")},
                              StepWait::Short)
                        .rules(nullptr, &MainWindow::decideClose);

} // namespace

// ---- Reboot ----
// Nothing waits for `adb reboot`: its end (or its time-out) arms the presence
// poll, which alone brings the link back.

void MainWindow::testReboot()
{
    qDebug() << "reboot start";
    // The companion app goes down with the phone: its watchdog stops, and so
    // does the session, so that the device link alone brings the link back
    // (it hands over to the supervision again once the app runs); a
    // supervision still ticking would give up on its own and start a second
    // step chain beside this one.
    stopDeviceLink();
    stopPolls(StopsWithSupervision);
    m_connectFailTimes = 0;
    m_tcpSocket->abort();
    m_rebootDone = true;
    m_isAfterReboot = true;
    showLinkPage(ui->A_MP_PleaseConnect_1);
    m_rebootClock.start();
    runStep(kReboot);
    qDebug() << "reboot midle";
}

void MainWindow::decideReboot(bool) { armStep(StepSlotDeviceIn, 3000); }

// ---- After the reboot: restarted yet? ----
// The after-reboot mode ends when the phone has been seen gone (the presence
// poll, the USB step), when a listed phone has been up for less time than
// has passed since the reboot command, or, for a phone that cannot be seen
// to restart (its uptime unreadable, or it never went down), once
// m_rebootSettleMs have passed since the command: the link then goes on with
// the phone as it is, rather than wait without end.

void MainWindow::testBootCheck() { runStep(kBootCheck); }

void MainWindow::judgeBootCheck(const QString *out) { m_phoneUptimeMs = out ? phoneUptimeMs(*out) : -1; }

void MainWindow::decideBootCheck(bool)
{
    if (takeStepError(StepBootCheck))
        m_phoneUptimeMs = -1;
    const qint64 since = m_rebootClock.isValid() ? m_rebootClock.elapsed() : std::numeric_limits<qint64>::max();
    qDebug() << "boot check: phone up for" << m_phoneUptimeMs << "ms, reboot command" << since << "ms ago";
    if (restartedSince(m_phoneUptimeMs, since)) {
        m_isAfterReboot = false;
        armStep(StepTestUsb, 1);
        qDebug() << "boot check,restarted,m_isAfterReboot change to false";
    } else if (since >= m_rebootSettleMs) {
        m_isAfterReboot = false;
        armStep(StepTestUsb, 1);
        qDebug() << "boot check,no restart seen in time,m_isAfterReboot change to false";
    } else {
        waitForUsb();
        qDebug() << "start usb,no e,opend,start usb,because m_isAfterReboot is true";
    }
}

// ---- Companion watchdog ----

void MainWindow::testCheckAppQuited() { runStep(kAppQuited); }

void MainWindow::judgeAppQuited(const QString *out)
{
    m_appQuited = out && companionQuit(*out);
    if (m_appQuited)
        qDebug() << "app quit right";
}

void MainWindow::decideAppQuited(bool phoneListed)
{
    // The phone has gone: wait for it in the presence poll.
    auto lost = [this] {
        hideNotices();
        showLinkPage(ui->A_MP_PleaseConnect_1);
        resetAdbCheckState();
        armStep(StepSlotDeviceIn, 100);
    };
    auto closeAppStateNotice = [this] {
        if (!ui->T_AppState->isHidden()) {
            ui->T_AppState_TopTitle->setText(tr("App InActive"));
            app::hideWidget(ui->T_AppState);
        }
    };

    if (takeStepError(StepTestCheckAppQuited)) {
        if (phoneListed) {
            armStep(StepTestCheckAppQuited, 1000);
        } else {
            app::hideWidget(ui->T_AppState);
            lost();
        }
        return;
    }
    const bool quit = m_appQuited; // the rows below reset it
    if (quit)
        qDebug() << "quited";
    if (!phoneListed) {
        closeAppStateNotice();
        lost();
    } else if (quit) {
        // The app ended on the phone: drop the session and start over.
        qDebug() << "quited,has devices";
        m_timerNewTCPConnected->stop();
        m_tcpSocket->close();
        m_tcpSocket->abort();
        stopActivityTimers();
        hideNotices();
        showLinkPage(ui->A_MP_PleaseConnect_1);
        resetAdbCheckState();
        armStep(StepTestPort, 100);
    } else {
        armStep(StepTestCheckAppQuited, 1000);
    }
    qDebug() << (quit ? "app quited" : "app not quit");
}

// ---- Exit command ----

void MainWindow::closeProgram()
{
    // The user's close and the phone's answer to it both come here; the
    // exit command runs once, and only when the erase record being written
    // (that of an erase the close interrupted) is on disk, or has been given
    // m_closeRecordWaitMs.
    if (!m_closeRequested) {
        m_closeRequested = true;
        stopPolls(StopsWithSupervision);
        stopDeviceLink();
        stopDeviceTracking(); // taskkill ends this program's processes, not adb
        if (eraseRecordWriting()) {
            qDebug() << "close waits for the erase record";
            m_closeAfterRecord = true;
            QTimer::singleShot(m_closeRecordWaitMs, this, [this] {
                m_closeRecordWaitOver = true;
                closeProgram();
            });
            return;
        }
        runStep(kClose);
        return;
    }
    // Called again: the record is on disk, the wait is over, or the phone
    // answered the close request.
    if (!m_closeAfterRecord)
        return;
    if (eraseRecordWriting() && !m_closeRecordWaitOver)
        return;
    m_closeAfterRecord = false;
    runStep(kClose);
}

void MainWindow::decideClose(bool)
{
    qDebug() << "close command over, quitting";
    QCoreApplication::exit(0);
}
