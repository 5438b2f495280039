#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/widgetvisibility.h"
#include "workflow/eraseplan.h"
#include "workflow/eraseverification.h"

#include <QCloseEvent>
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
    app::showWidget(ui->T_D_IsScanning_Stop);
}

void MainWindow::on_T_D_IsScanning_Stop_PushButton_Ok_clicked()
{
    ui->M_All_Private_IsScanning_pushButton_Stop->setEnabled(false);
    m_scanCancelRequested = true;
    m_cancelScanBack = false;
    sendCancelScan();
    m_cancelClock.start();
    m_timerCheckCancelScan->start(500);
}

void MainWindow::on_T_D_IsScanning_Stop_PushButton_Cancel_clicked()
{
    app::hideWidget(ui->T_D_IsScanning_Stop);
}

void MainWindow::on_T_D_IsScanning_Stop_Close_clicked()
{
    app::hideWidget(ui->T_D_IsScanning_Stop);
}

void MainWindow::checkCancelScan()
{
    qDebug() << "check cancel Scan once";
    if (m_cancelScanBack) {
        qDebug() << "end check cancel Scan,cancel done";
        endScanCancel(true);
    } else if (m_cancelClock.isValid() && m_cancelClock.elapsed() >= m_cancelTimeoutMs) {
        qDebug() << "cancel scan not acknowledged, given up after" << m_cancelClock.elapsed() << "ms";
        endScanCancel(false);
    }
}

// An acknowledged cancel and one given up end alike: the scan is over for
// the program, whatever the phone still does; the user may go on.
void MainWindow::endScanCancel(bool acknowledged)
{
    stopPolls(StopsWithScanCancel);
    dropPendingWaits();
    m_cancelClock.invalidate();
    hidePages();
    app::showWidget(ui->B_EAll_ToScan);
    setScopeButtonsEnabled(true);
    app::hideWidget(ui->T_D_IsScanning_Stop);
    ui->M_All_Private_IsScanning_pushButton_Stop->setEnabled(true);
    if (!acknowledged)
        showCancelNoAnswer(false);
}

// ---------------------------------------------------------------------------
// Cancel an erase
// ---------------------------------------------------------------------------

void MainWindow::on_M_IsErasing_PubuButton_Stop_clicked()
{
    app::showWidget(ui->T_D_IsErasing_Stop);
}

void MainWindow::on_T_D_IsErasing_Stop_PushButton_Ok_clicked()
{
    if (m_eraseProgress == 100) {
        app::hideWidget(ui->T_D_IsErasing_Stop);
        return;
    }
    m_eraseCancelRequested = true;
    // An acknowledgement left over from an earlier cancel must not end this
    // one before the companion app has answered it.
    m_cancelEraseBack = false;
    m_lateAnswerClock.invalidate();
    stopIfActive(m_timerAllDataErased);
    sendCancelErase();
    m_cancelClock.start();
    m_timerCheckCancelErase->start(100);
}

void MainWindow::on_T_D_IsErasing_Stop_PushButton_Cancel_clicked()
{
    app::hideWidget(ui->T_D_IsErasing_Stop);
}

void MainWindow::on_T_D_IsErasing_Stop_Close_clicked()
{
    app::hideWidget(ui->T_D_IsErasing_Stop);
}

void MainWindow::checkCancelErase()
{
    qDebug() << "check cancel Erase once";
    if (m_cancelEraseBack) {
        // The companion app may still answer a batch it was erasing when the
        // cancel came: the run waits for it a while, so that the answer is
        // this run's and not taken for the next run's.
        if (m_eraseBatches.anyOpen()) {
            if (!m_lateAnswerClock.isValid())
                m_lateAnswerClock.start();
            if (m_lateAnswerClock.elapsed() < m_lateAnswerWaitMs)
                return;
            qDebug() << "batches unanswered after the cancel, given up after" << m_lateAnswerClock.elapsed() << "ms";
        }
        qDebug() << "end check cancel Erase";
        endEraseCancel(true);
    } else if (m_cancelClock.isValid() && m_cancelClock.elapsed() >= m_cancelTimeoutMs) {
        qDebug() << "cancel erase not acknowledged, given up after" << m_cancelClock.elapsed() << "ms";
        endEraseCancel(false);
    }
}

void MainWindow::endEraseCancel(bool acknowledged)
{
    stopPolls(StopsWithEraseCancel);
    dropPendingWaits();
    m_cancelClock.invalidate();
    m_lateAnswerClock.invalidate();
    // What is still unanswered may be answered later: such an answer goes to
    // this run's account (and record) while no batch of its category has
    // been sent since, and leaves the next batch of it in doubt otherwise.
    m_eraseBatches.giveUpOpen();
    showConfirmPage();
    setScopeButtonsEnabled(true);
    app::hideWidget(ui->T_D_IsErasing_Stop);
    ui->M_IsErasing_PubuButton_Stop->setEnabled(true);
    // What the phone confirmed before the cancel, and the run's record.
    endEraseRun(workflow::EraseAccount::Outcome::Cancelled,
                acknowledged
                    ? QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "cancelled by the user"))
                    : QStringLiteral(QT_TRANSLATE_NOOP("recordtext",
                                                      "cancelled by the user; the phone did not confirm the cancel")));
    app::showWidget(ui->T_D_EraseCancelled);
    ui->T_D_EraseCancelled->raise();
    if (!acknowledged)
        showCancelNoAnswer(true);
}

void MainWindow::showCancelNoAnswer(bool erase)
{
    ui->T_D_CancelNoAnswer_TopTitle->setText(erase ? tr("Cancel Erase") : tr("Cancel Scan"));
    ui->T_D_CancelNoAnswer_Label_Message->setText(workflow::eraseplan::cancelNoAnswerText(erase));
    app::showWidget(ui->T_D_CancelNoAnswer);
    ui->T_D_CancelNoAnswer->raise();
}

void MainWindow::on_T_D_CancelNoAnswer_PushButton_Ok_clicked()
{
    app::hideWidget(ui->T_D_CancelNoAnswer);
}

void MainWindow::on_T_D_CancelNoAnswer_Close_clicked()
{
    app::hideWidget(ui->T_D_CancelNoAnswer);
}

// ---------------------------------------------------------------------------
// Lost connection: stop the timers of the current state
// ---------------------------------------------------------------------------

QList<QTimer *> MainWindow::deviceLinkStepTimers()
{
    QList<QTimer *> timers;
    for (const TimedStep &t : timedSteps()) {
        if (t.kind == LinkStep)
            timers << m_stepTimer[t.step];
    }
    return timers;
}

void MainWindow::stopWorkflowTimers()
{
    stopPolls(StopsWithConnection);
    m_scopeAfterPhotoStop = -1;
    m_cancelClock.invalidate();
    m_lateAnswerClock.invalidate();
}

void MainWindow::workflowConnectionLost()
{
    stopWorkflowTimers();
    // No answer of the connection that ended can come any more.
    m_eraseBatches.clear();
    // An erase in progress ends on its report, saying what the phone had
    // confirmed before the link went.
    interruptEraseRun(QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the link to the phone was lost")));
    // A verification pass cut off starts over when the link is back.
    if (m_eraseAccount.verification().status == workflow::EraseAccount::Verification::Status::Running) {
        if (m_verifyListing >= 0)
            restoreScanBounds(m_verifyListing);
        m_verifyQueue.clear();
        m_verifyListing = -1;
        workflow::eraseverification::prepare(m_eraseAccount);
    } else if (m_verifyListing >= 0) {
        // The list an ended pass still waited for will not come now.
        restoreScanBounds(m_verifyListing);
        m_verifyListing = -1;
        dropVerificationStore();
    }
    if (m_pageList.isEmpty())
        return; // the window is not built yet
    // The pages stay until the device link shows its own; what they offer
    // waits for the link: the top bar is disabled, a Stop has nothing to
    // stop, and the notices of the scan or erase close.
    setScopeButtonsEnabled(false);
    ui->M_All_Private_IsScanning_pushButton_Stop->setEnabled(false);
    ui->M_IsErasing_PubuButton_Stop->setEnabled(false);
    for (QWidget *notice : {ui->T_D_IsScanning_Stop, ui->T_D_IsErasing_Stop, ui->T_M_SelectLevel_1_1})
        app::hideWidget(notice);
}

void MainWindow::stopActivityTimers()
{
    // Paths that give up on the phone while the socket still looks open
    // (the companion app quit, an HTTP answer) end an erase in progress too.
    interruptEraseRun(QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the link to the phone was lost")));
    QList<QTimer *> timers;
    if (m_programType == ProgramType::ConnectingDevice)
        timers = deviceLinkStepTimers();
    else
        timers << m_stepTimer[StepTestCheckAppQuited];
    for (QTimer *t : qAsConst(timers))
        stopIfActive(t);
    if (m_workPhase == None && m_programType == ProgramType::Idle)
        stopPolls(StopsWithSupervision);
    // A device-link step whose timer was stopped may be running its command.
    abandonStepsOf(timers);
    // Every wait and poll of the workflow goes with the connection, whatever
    // the phase: the photo stop before a private scan is awaited before the
    // phase turns to scanning, the default-SMS-app answers before it turns to
    // erasing, and a late answer must not start anything on its own. The
    // supervision marks the program as connecting as soon as it finds the
    // socket unconnected, before it gives up and calls this.
    stopWorkflowTimers();
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
    endEraseRun(workflow::EraseAccount::Outcome::Interrupted,
                QStringLiteral(QT_TRANSLATE_NOOP("recordtext", "the program was closed during the erase")));
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

// Closing the window from outside the program (Alt+F4, the taskbar, Windows
// ending the session, a close message such as taskkill's without /f) goes
// the way of the close button: an erase in progress leaves its interrupted
// record and the exit command runs, which ends the program. The window stays
// until then.
void MainWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (m_closeRequested)
        return;
    qDebug() << "window closed from outside";
    closeByUser();
}
