// Every poll and wait timer of the session, the workflow, the verification
// pass and the browser, declared once: the slot its timer runs, whether it
// fires once, and the stop lists it belongs to. Set-up makes one timer per
// row; every place that stops a group of them walks the table. How often a
// poll ticks is given where it is started.
#include "mainwindow.h"

namespace {
using W = MainWindow;
// The waits for the photo stop's acknowledgement go with the connection too.
const int kPhotoStopWait = W::PhotoStopWait | W::StopsWithConnection;
} // namespace

const QVector<MainWindow::PollDef> &MainWindow::polls()
{
    static const QVector<PollDef> table = {
        // The session: its supervision, the home-info poll, the receive loop
        // and the erase batches written in slices.
        {&W::m_timerNewTCPConnected, &W::newTCPConnected, false, StopsWithSession | StopsWithSupervision},
        {&W::m_timerHomeInfoReadable, &W::homeInfoReadable, false, StopsWithSession | StopsWithSupervision},
        {&W::m_timerReceiveData, &W::receiveData, false, StopsWithSession},
        {&W::m_timerSendOutgoing, &W::sendOutgoing, true, StopsWithSession},
        // The scan.
        {&W::m_timerCheckStopGetPhotoBeforeScan, &W::checkStopGetPhotoBeforeScan, false, kPhotoStopWait},
        {&W::m_timerCheckStopGetPhotoSwitchedAllApp, &W::checkStopGetPhotoSwitchedAllApp, false, kPhotoStopWait},
        {&W::m_timerLeftTimeReadable, &W::leftTimeReadable, false, StopsWithConnection | StopsWithScanCancel},
        {&W::m_timerAllDataReadable, &W::allDataReadable, false, StopsWithConnection | StopsWithScanCancel},
        {&W::m_timerDecreaseScanTime, &W::decreaseScanTime, false, StopsWithConnection | StopsWithScanCancel},
        {&W::m_timerCheckCancelScan, &W::checkCancelScan, false, StopsWithConnection | StopsWithScanCancel},
        // The erase.
        {&W::m_timerCheckStopGetPhotoBeforeErase, &W::checkStopGetPhotoBeforeErase, false, kPhotoStopWait},
        {&W::m_timerCheckApkIsDefaultSMSAppReadable, &W::checkApkIsDefaultSMSAppReadable, false, StopsWithConnection},
        {&W::m_timerChangeDefaultSMSAppReadable, &W::changeDefaultSMSAppReadable, false, StopsWithConnection},
        {&W::m_timerAllDataErased, &W::allDataErased, false, StopsWithConnection | StopsWithEraseCancel},
        {&W::m_timerDecreaseEraseTime, &W::decreaseEraseTime, false, StopsWithConnection | StopsWithEraseCancel},
        {&W::m_timerCheckCancelErase, &W::checkCancelErase, false, StopsWithConnection | StopsWithEraseCancel},
        // The verification pass after the reboot stops itself: a lost link
        // starts it over when the link is back.
        {&W::m_timerVerifyErase, &W::verifyErase, false, StopsOnItsOwn},
        {&W::m_timerVerifyGiveUp, &W::verificationTimedOut, true, StopsOnItsOwn},
        // The browser's photos.
        {&W::m_timerGetPhotoByTime, &W::getPhotoByTime, false, StopsWithConnection},
        {&W::m_timerUpdateTablePhoto, &W::updateTablePhoto, false, StopsWithConnection},
    };
    return table;
}

void MainWindow::initPolls()
{
    for (const PollDef &p : polls()) {
        QTimer *timer = new QTimer(this);
        timer->setSingleShot(p.singleShot);
        connect(timer, &QTimer::timeout, this, p.slot);
        this->*p.timer = timer;
    }
}

void MainWindow::stopPolls(int stops)
{
    for (const PollDef &p : polls()) {
        QTimer *timer = this->*p.timer;
        if ((p.stops & stops) && timer && timer->isActive())
            timer->stop();
    }
}

bool MainWindow::anyPollActive(int stops) const
{
    for (const PollDef &p : polls()) {
        const QTimer *timer = this->*p.timer;
        if ((p.stops & stops) && timer && timer->isActive())
            return true;
    }
    return false;
}
