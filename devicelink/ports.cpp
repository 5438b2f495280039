// Port conflicts. Every connection attempt starts with the port check: port
// 5037 belongs to the adb server. A foreign holder is reported by name and
// left alone; another adb server is asked to quit. When the forward to port
// 10000 fails, the holder of 10000 is found and ended by its process id.
#include "devicelink/outputrules.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"

#include <QDebug>

using namespace devicelink;

namespace {
const QStringList kNetstatArguments = {QStringLiteral("-anop"), QStringLiteral("tcp")};
}

void MainWindow::testPort()
{
    appendStepTrace("port ,");
    m_timerTestPort->stop();
    qDebug() << "start test port";
    m_programType = ProgramType::ConnectingDevice;
    runStep(StepTestPort, m_netstatProgram, kNetstatArguments, -1);

    StepIo &io = m_step[StepTestPort];
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        showLinkNotice(ui->A_MP_D_PortUsed);
        showLinkPage(ui->A_MP_PleaseConnect_1);
        m_timerTestPort->start(100);
        qDebug() << "port,e";
    } else if (m_port5037Used) {
        showLinkPage(ui->A_MP_PleaseConnect_1);
        m_timerTestGetOtherSoftPidBy5037->start(1);
        qDebug() << "port,no e,use";
    } else {
        hideLinkNotice(ui->A_MP_D_PortUsed);
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        m_timerTestStartAdb->start(1);
        qDebug() << "port,no e,no use";
    }
    io.readTimes = 0;
}

void MainWindow::testGetOtherSoftPidBy5037()
{
    m_timerTestGetOtherSoftPidBy5037->stop();
    qDebug() << "start test read soft pid use 5037";
    runStep(StepTestGetOtherSoftPidBy5037, m_netstatProgram, kNetstatArguments, -1);

    StepIo &io = m_step[StepTestGetOtherSoftPidBy5037];
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        hideLinkNotice(ui->A_MP_D_PortUsed);
        m_timerTestPort->start(1);
    } else if (!m_otherSoftPid5037.isEmpty()) {
        m_timerTestGetOtherSoftNameByPid->start(1);
    } else {
        resetAdbCheckState();
        hideLinkNotice(ui->A_MP_D_PortUsed);
        m_timerTestPort->start(1);
    }
    io.readTimes = 0;
}

void MainWindow::testGetOtherSoftNameByPid()
{
    m_timerTestGetOtherSoftNameByPid->stop();
    qDebug() << "start test get pid's Name";
    runStepCommandLine(StepTestGetOtherSoftNameByPid, tasklistCommandLine(m_tasklistProgram, m_otherSoftPid5037),
                       3000, "in while");
    qDebug() << "after get pid's name of 5037 while";

    StepIo &io = m_step[StepTestGetOtherSoftNameByPid];
    const QString &name = m_otherSoftName5037;
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        m_timerTestGetOtherSoftPidBy5037->start(100);
    } else if (!name.isEmpty() && name.contains(QLatin1String("adb"))) {
        // Another adb server: ask it to quit.
        ui->A_MP_D_PortUsed_Label_Info->setText(name);
        hideLinkNotice(ui->A_MP_D_PortUsed);
        resetAdbCheckState();
        m_timerTestKillAdb->start(1);
    } else if (!name.isEmpty()) {
        // A foreign program: name it, end nothing, and check again.
        ui->A_MP_D_PortUsed_Label_Info->setText(name);
        showLinkNotice(ui->A_MP_D_PortUsed);
        resetAdbCheckState();
        m_timerTestPort->start(1);
    } else {
        hideLinkNotice(ui->A_MP_D_PortUsed);
        resetAdbCheckState();
        m_timerTestPort->start(1);
    }
    io.readTimes = 0;
}

void MainWindow::testKillAdb()
{
    m_timerTestKillAdb->stop();
    qDebug() << "start kill adb";
    runStep(StepTestKillAdb, m_adbProgram, {QStringLiteral("kill-server")}, -1);

    StepIo &io = m_step[StepTestKillAdb];
    if (io.error) {
        io.error = false;
        showLinkPage(ui->A_MP_PleaseConnect_1);
        m_timerTestKillAdb->start(100);
        qDebug() << "not final kill adb";
    } else if (m_adbKilled) {
        showLinkPage(ui->A_MP_PleaseConnect_1);
        resetAdbCheckState();
        m_timerTestPort->start(100);
        qDebug() << "after kill adb check";
    } else {
        showLinkPage(ui->A_MP_PleaseConnect_1);
        m_timerTestKillAdb->start(100);
        qDebug() << "not final kill adb";
    }
    io.readTimes = 0;
}

// The 10000 branch: every row probes the phone and falls back to the presence
// poll when it has gone.

void MainWindow::testGetOtherSoftPidBy10000()
{
    m_timerTestGetOtherSoftPidBy10000->stop();
    qDebug() << "start test read soft pid use 10000";
    runStep(StepTestGetOtherSoftPidBy10000, m_netstatProgram, kNetstatArguments, -1);

    StepIo &io = m_step[StepTestGetOtherSoftPidBy10000];
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        if (probeDevicePresent()) {
            ui->A_MP_D_PortUsed_Label_Info->setText(QString());
            m_timerTestForwardAdb->start(100);
        } else {
            fallBackToPresencePoll();
        }
    } else if (!m_otherSoftPid10000.isEmpty()) {
        if (probeDevicePresent())
            m_timerTestGetOtherSoftNameByPid_10000->start(100);
        else
            fallBackToPresencePoll();
    } else {
        if (probeDevicePresent()) {
            ui->A_MP_D_PortUsed_Label_Info->setText(QString());
            resetAdbCheckState();
            m_timerTestForwardAdb->start(100);
        } else {
            fallBackToPresencePoll();
        }
    }
    io.readTimes = 0;
}

void MainWindow::testGetOtherSoftNameByPid_10000()
{
    m_timerTestGetOtherSoftNameByPid_10000->stop();
    qDebug() << "start test get pid's Name";
    runStepCommandLine(StepTestGetOtherSoftNameByPid_10000,
                       tasklistCommandLine(m_tasklistProgram, m_otherSoftPid10000), 3000, "in while");
    qDebug() << "after get pid's name while";

    StepIo &io = m_step[StepTestGetOtherSoftNameByPid_10000];
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        if (probeDevicePresent())
            m_timerTestGetOtherSoftPidBy10000->start(100);
        else
            fallBackToPresencePoll();
    } else if (!m_otherSoftName10000.isEmpty()) {
        if (probeDevicePresent())
            m_timerTestKillOtherSoftBy10000->start(100);
        else
            fallBackToPresencePoll();
    } else {
        if (probeDevicePresent()) {
            resetAdbCheckState();
            m_timerTestForwardAdb->start(100);
        } else {
            fallBackToPresencePoll();
        }
    }
    io.readTimes = 0;
}

// The holder is ended by its process id: ending it by image name would end
// every process of that name (every window of a browser, or worse). The name
// is still looked up first and logged.
void MainWindow::testKillOtherSoftBy10000()
{
    m_timerTestKillOtherSoftBy10000->stop();
    qDebug() << "start kill other soft use 10000" << m_otherSoftName10000 << "pid:" << m_otherSoftPid10000;
    runStepCommandLine(StepTestKillOtherSoftBy10000, taskkillByPidCommandLine(m_taskkillProgram, m_otherSoftPid10000),
                       3000, "in while");
    qDebug() << "after kill other soft use 10000 while";

    StepIo &io = m_step[StepTestKillOtherSoftBy10000];
    if (io.error) {
        io.error = false;
        if (probeDevicePresent())
            m_timerTestGetOtherSoftNameByPid_10000->start(100);
        else
            fallBackToPresencePoll();
    } else if (m_otherSoftKilled) {
        if (probeDevicePresent()) {
            ui->A_MP_D_PortUsed_Label_Info->setText(QString());
            hideLinkNotice(ui->A_MP_D_PortUsed);
            resetAdbCheckState();
            m_timerTestForwardAdb->start(100);
        } else {
            fallBackToPresencePoll();
        }
    } else {
        if (probeDevicePresent()) {
            resetAdbCheckState();
            m_timerTestForwardAdb->start(100);
        } else {
            fallBackToPresencePoll();
        }
    }
    io.readTimes = 0;
}
