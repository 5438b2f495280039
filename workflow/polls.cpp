// Every poll and wait timer of the session, the workflow, the verification
// pass and the browser, declared once: the slot its timer runs, whether it
// fires once, and the stop lists it belongs to. Set-up makes one timer per
// row; every place that stops a group of them walks the table. How often a
// poll ticks is given where it is started.
#include "mainwindow.h"

const QVector<MainWindow::PollDef> &MainWindow::polls()
{
    static const QVector<PollDef> table = {
        // The session: its supervision, the home-info poll, the receive loop
        // and the erase batches written in slices.
        {&MainWindow::m_timerNewTCPConnected, &MainWindow::newTCPConnected, false,
         StopsWithSession | StopsWithSupervision},
        {&MainWindow::m_timerHomeInfoReadable, &MainWindow::homeInfoReadable, false,
         StopsWithSession | StopsWithSupervision},
        {&MainWindow::m_timerReceiveData, &MainWindow::receiveData, false, StopsWithSession},
        {&MainWindow::m_timerSendOutgoing, &MainWindow::sendOutgoing, true, StopsWithSession},
        // The scan.
        {&MainWindow::m_timerCheckStopGetPhotoBeforeScan, &MainWindow::checkStopGetPhotoBeforeScan, false,
         StopsWithConnection | PhotoStopWait},
        {&MainWindow::m_timerCheckStopGetPhotoSwitchedAllApp, &MainWindow::checkStopGetPhotoSwitchedAllApp, false,
         StopsWithConnection | PhotoStopWait},
        {&MainWindow::m_timerLeftTimeReadable, &MainWindow::leftTimeReadable, false,
         StopsWithConnection | StopsWithScanCancel},
        {&MainWindow::m_timerAllDataReadable, &MainWindow::allDataReadable, false,
         StopsWithConnection | StopsWithScanCancel},
        {&MainWindow::m_timerDecreaseScanTime, &MainWindow::decreaseScanTime, false,
         StopsWithConnection | StopsWithScanCancel},
        {&MainWindow::m_timerCheckCancelScan, &MainWindow::checkCancelScan, false,
         StopsWithConnection | StopsWithScanCancel},
        // The erase.
        {&MainWindow::m_timerCheckStopGetPhotoBeforeErase, &MainWindow::checkStopGetPhotoBeforeErase, false,
         StopsWithConnection | PhotoStopWait},
        {&MainWindow::m_timerCheckApkIsDefaultSMSAppReadable, &MainWindow::checkApkIsDefaultSMSAppReadable, false,
         StopsWithConnection},
        {&MainWindow::m_timerChangeDefaultSMSAppReadable, &MainWindow::changeDefaultSMSAppReadable, false,
         StopsWithConnection},
        {&MainWindow::m_timerAllDataErased, &MainWindow::allDataErased, false,
         StopsWithConnection | StopsWithEraseCancel},
        {&MainWindow::m_timerDecreaseEraseTime, &MainWindow::decreaseEraseTime, false,
         StopsWithConnection | StopsWithEraseCancel},
        {&MainWindow::m_timerCheckCancelErase, &MainWindow::checkCancelErase, false,
         StopsWithConnection | StopsWithEraseCancel},
        // The verification pass after the reboot stops itself: a lost link
        // starts it over when the link is back.
        {&MainWindow::m_timerVerifyErase, &MainWindow::verifyErase, false, StopsOnItsOwn},
        {&MainWindow::m_timerVerifyGiveUp, &MainWindow::verificationTimedOut, true, StopsOnItsOwn},
        // The browser's photos.
        {&MainWindow::m_timerGetPhotoByTime, &MainWindow::getPhotoByTime, false, StopsWithConnection},
        {&MainWindow::m_timerUpdateTablePhoto, &MainWindow::updateTablePhoto, false, StopsWithConnection},
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
