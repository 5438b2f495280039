// Commands that other parts of the program trigger outside the connection
// sequence: rebooting the phone after an erase, the watchdog that follows the
// companion app while it is in the background, and ending the program.
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"

#include <QCoreApplication>
#include <QDebug>

// Reboots the phone after an erase. Nothing waits for `adb reboot`: its end
// (or its time-out) arms the presence poll, which alone brings the link back.
void MainWindow::testReboot()
{
    qDebug() << "reboot start";
    // The companion app goes down with the phone: its watchdog stops, and so
    // does the session, so that the device link alone brings the link back
    // (it hands over to the supervision again once the app runs); a
    // supervision still ticking would give up on its own and start a second
    // step chain beside this one.
    m_timerTestCheckAppQuited->stop();
    m_timerNewTCPConnected->stop();
    m_timerHomeInfoReadable->stop();
    m_connectFailTimes = 0;
    m_tcpSocket->abort();
    m_rebootDone = true;
    m_isAfterReboot = true;
    showLinkPage(ui->A_MP_PleaseConnect_1);

    m_rebootRunning = true;
    m_step[StepTestReboot].process->start(m_adbProgram, {QStringLiteral("reboot")}, QIODevice::ReadWrite);
    m_timerRebootTimeout->start(kRebootTimeoutMs);
    qDebug() << "reboot midle";
}

void MainWindow::rebootEnded()
{
    if (!m_rebootRunning)
        return;
    m_rebootRunning = false;
    m_timerRebootTimeout->stop();
    QProcess *p = m_step[StepTestReboot].process;
    if (p->state() != QProcess::NotRunning) {
        qDebug() << "reboot timed out";
        p->kill();
    }
    qDebug() << "reboot end";
    m_timerSlotDeviceIn->start(3000);
}

void MainWindow::testCheckAppQuited()
{
    m_timerTestCheckAppQuited->stop();
    qDebug() << "start check app quit";
    runStep(StepTestCheckAppQuited, m_adbProgram,
            {QStringLiteral("shell"), QStringLiteral("dumpsys"), QStringLiteral("activity"), QStringLiteral("-p"),
             QStringLiteral("org.qtproject.example"), QStringLiteral("processes")},
            -1);
    qDebug() << "after check app quit while";

    // The phone has gone: wait for it in the presence poll.
    auto lost = [this] {
        hideNotices();
        showLinkPage(ui->A_MP_PleaseConnect_1);
        resetAdbCheckState();
        m_timerSlotDeviceIn->start(100);
    };
    auto closeAppStateNotice = [this] {
        if (!ui->T_AppState->isHidden()) {
            ui->T_AppState_TopTitle->setText(QStringLiteral("App InActive"));
            hideWidget(ui->T_AppState);
        }
    };

    StepIo &io = m_step[StepTestCheckAppQuited];
    if (io.error) {
        io.error = false;
        if (probeDevicePresent()) {
            m_timerTestCheckAppQuited->start(1000);
        } else {
            hideWidget(ui->T_AppState);
            lost();
        }
    } else if (m_appQuited) {
        qDebug() << "quited";
        if (probeDevicePresent()) {
            // The app ended on the phone: drop the session and start over.
            qDebug() << "quited,has devices";
            if (m_timerNewTCPConnected)
                m_timerNewTCPConnected->stop();
            m_tcpSocket->close();
            m_tcpSocket->abort();
            stopActivityTimers();
            hideNotices();
            showLinkPage(ui->A_MP_PleaseConnect_1);
            resetAdbCheckState();
            m_timerTestPort->start(100);
        } else {
            closeAppStateNotice();
            lost();
        }
        qDebug() << "app quited";
    } else {
        if (probeDevicePresent()) {
            m_timerTestCheckAppQuited->start(1000);
        } else {
            closeAppStateNotice();
            lost();
        }
        qDebug() << "app not quit";
    }
    io.readTimes = 0;
}

// Ends the program: taskkill ends every process of the program's image name,
// this one included. Nothing waits for it.
void MainWindow::closeProgram()
{
    m_closeRequested = true;
    QProcess *p = m_step[StepTestPort].process;
    // The port check's handlers have nothing to judge here.
    disconnect(p, &QProcess::readyReadStandardOutput, this, nullptr);
    disconnect(p, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, nullptr);
    // Should taskkill run but leave this process alive (no such image name
    // where the program runs under another name), the program ends itself.
    connect(p, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            [](int exitCode, QProcess::ExitStatus) {
                if (exitCode != 0) {
                    qDebug() << "close command failed, quitting";
                    QCoreApplication::exit(0);
                }
            });
    p->start(m_taskkillProgram, {QStringLiteral("/f"), QStringLiteral("/im"), QStringLiteral("Purgatex.exe")},
             QIODevice::ReadWrite);
}
