#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/widgetvisibility.h"

#include <QDebug>

namespace {

void stopIfActive(QTimer *timer)
{
    if (timer && timer->isActive())
        timer->stop();
}

} // namespace

// ---------------------------------------------------------------------------
// Cancel a scan
// ---------------------------------------------------------------------------

void MainWindow::on_M_All_Private_IsScanning_pushButton_Stop_clicked()
{
    showWidget(ui->T_D_IsScanning_Stop);
}

void MainWindow::on_T_D_IsScanning_Stop_PushButton_Ok_clicked()
{
    ui->M_All_Private_IsScanning_pushButton_Stop->setEnabled(false);
    m_scanCancelRequested = true;
    m_cancelScanBack = false;
    sendCancelScan();
    m_timerCheckCancelScan->start(500);
}

void MainWindow::on_T_D_IsScanning_Stop_PushButton_Cancel_clicked()
{
    hideWidget(ui->T_D_IsScanning_Stop);
}

void MainWindow::on_T_D_IsScanning_Stop_Close_clicked()
{
    hideWidget(ui->T_D_IsScanning_Stop);
}

void MainWindow::checkCancelScan()
{
    qDebug() << "check cancel Scan once";
    if (!m_cancelScanBack)
        return;
    qDebug() << "end check cancel Scan,cancel done";
    stopIfActive(m_timerCheckCancelScan);
    stopIfActive(m_timerLeftTimeReadable);
    stopIfActive(m_timerAllDataReadable);
    stopIfActive(m_timerDecreaseScanTime);
    hidePages();
    showWidget(ui->B_EAll_ToScan);
    setScopeButtonsEnabled(true);
    hideWidget(ui->T_D_IsScanning_Stop);
    ui->M_All_Private_IsScanning_pushButton_Stop->setEnabled(true);
}

// ---------------------------------------------------------------------------
// Cancel an erase
// ---------------------------------------------------------------------------

void MainWindow::on_M_IsErasing_PubuButton_Stop_clicked()
{
    showWidget(ui->T_D_IsErasing_Stop);
}

void MainWindow::on_T_D_IsErasing_Stop_PushButton_Ok_clicked()
{
    if (m_eraseProgress == 100) {
        hideWidget(ui->T_D_IsErasing_Stop);
        return;
    }
    m_eraseCancelRequested = true;
    // An acknowledgement left over from an earlier cancel must not end this
    // one before the companion app has answered it.
    m_cancelEraseBack = false;
    stopIfActive(m_timerAllDataErased);
    sendCancelErase();
    m_timerCheckCancelErase->start(100);
}

void MainWindow::on_T_D_IsErasing_Stop_PushButton_Cancel_clicked()
{
    hideWidget(ui->T_D_IsErasing_Stop);
}

void MainWindow::on_T_D_IsErasing_Stop_Close_clicked()
{
    hideWidget(ui->T_D_IsErasing_Stop);
}

void MainWindow::checkCancelErase()
{
    qDebug() << "check cancel Erase once";
    if (!m_cancelEraseBack)
        return;
    qDebug() << "end check cancel Erase";
    stopIfActive(m_timerCheckCancelErase);
    stopIfActive(m_timerAllDataErased);
    stopIfActive(m_timerDecreaseEraseTime);
    hidePages();
    showWidget(ui->M_ConformErase_1);
    setScopeButtonsEnabled(true);
    hideWidget(ui->T_D_IsErasing_Stop);
    ui->M_IsErasing_PubuButton_Stop->setEnabled(true);
    // What the phone confirmed before the cancel, and the run's record.
    endEraseRun(EraseAccount::Outcome::Cancelled, QStringLiteral("cancelled by the user"));
    showWidget(ui->T_D_EraseCancelled);
    ui->T_D_EraseCancelled->raise();
}

// ---------------------------------------------------------------------------
// Lost connection: stop the timers of the current state
// ---------------------------------------------------------------------------

QList<QTimer *> MainWindow::deviceLinkStepTimers()
{
    return {m_timerSlotDeviceIn,
            m_timerTestAdbDevices,
            m_timerTestPort,
            m_timerTestGetOtherSoftPidBy5037,
            m_timerTestGetOtherSoftNameByPid,
            m_timerTestStartAdb,
            m_timerTestUsb,
            m_timerTestRsa,
            m_timerTestCheckHasApk,
            m_timerTestInstallApk,
            m_timerTestStartActivity,
            m_timerTestForwardAdb,
            m_timerTestGetPower,
            m_timerTestGetSerial,
            m_timerTestGetOtherSoftPidBy10000,
            m_timerTestGetOtherSoftNameByPid_10000,
            m_timerTestKillOtherSoftBy10000,
            m_timerTestKillAdb,
            m_timerTestKillAdbForRsa};
}

void MainWindow::stopActivityTimers()
{
    // Every path that loses the phone comes here: an erase in progress ends
    // on its report, saying what the phone had confirmed.
    interruptEraseRun(QStringLiteral("the link to the phone was lost"));
    QList<QTimer *> timers;
    if (m_programType == ProgramType::ConnectingDevice)
        timers = deviceLinkStepTimers();
    else
        timers << m_timerTestCheckAppQuited;
    switch (m_workPhase) {
    case None:
        if (m_programType == ProgramType::Idle)
            timers << m_timerHomeInfoReadable << m_timerNewTCPConnected;
        break;
    case Scanning:
        timers << m_timerLeftTimeReadable << m_timerDecreaseScanTime << m_timerAllDataReadable
               << m_timerCheckStopGetPhotoBeforeScan << m_timerCheckCancelScan;
        break;
    case Scanned:
        // The default-SMS-app steps run before the phase turns to erasing: a
        // late answer after a reconnection must not start the run on its own.
        timers << m_timerGetPhotoByTime << m_timerUpdateTablePhoto << m_timerCheckStopGetPhotoBeforeErase
               << m_timerCheckStopGetPhotoSwitchedAllApp << m_timerCheckApkIsDefaultSMSAppReadable
               << m_timerChangeDefaultSMSAppReadable;
        break;
    case Erasing:
        timers << m_timerDecreaseEraseTime << m_timerAllDataErased << m_timerCheckApkIsDefaultSMSAppReadable
               << m_timerChangeDefaultSMSAppReadable << m_timerCheckCancelErase;
        break;
    }
    // The supervision marks the program as connecting as soon as it finds
    // the socket unconnected, before it gives up and calls this: the timers of
    // the scan or erase in progress are stopped in that state too, or they
    // would run on against a connection that is gone.
    for (QTimer *t : qAsConst(timers))
        stopIfActive(t);
}

// ---------------------------------------------------------------------------
// Close
// ---------------------------------------------------------------------------

void MainWindow::on_S_Close_Button_clicked()
{
    closeByUser();
}

void MainWindow::on_T_D_Exit_PushButton_clicked()
{
    closeByUser();
}

void MainWindow::closeByUser()
{
    endEraseRun(EraseAccount::Outcome::Interrupted, QStringLiteral("the program was closed during the erase"));
    if (m_programType == ProgramType::ConnectingDevice) {
        qDebug() << "ProgramType::ConnectingDevice,releaseAndClose";
        closeProgram();
        return;
    }
    qDebug() << "ProgramType::Idle";
    if (m_appState == AppStateType::Active)
        qDebug() << "ProgramType::Idle,AppStateType::Active";
    else
        qDebug() << "ProgramType::Idle,AppStateType::NotActive";
    if (m_tcpSocket && m_tcpSocket->state() == QAbstractSocket::ConnectedState) {
        qDebug() << "ProgramType::Idle,AppStateType::Active,ConnectedState,sendCloseProgram relaseAndC";
        sendCloseProgram();
    } else {
        qDebug() << "ProgramType::Idle,AppStateType::Active,not ConnectedState,relaseAndC";
    }
    closeProgram();
}
