// Verification after the reboot: once the link is back, the categories with
// items confirmed erased are listed again, one at a time, and every key the
// phone confirmed erased must be gone. The pass runs behind the report page
// and ends when the user leaves it.
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "protocol/records.h"
#include "workflow/eraseplan.h"
#include "workflow/eraseverification.h"
#include "workflow/recordtext.h"

#include <QDebug>

using workflow::eraseverification::Status;

void MainWindow::verificationTimedOut()
{
    // The record keeps the reason in English; the report shows it in the
    // user's words.
    const workflow::recordtext::Text wait =
        m_verifyTimeoutMs >= 60000
            ? workflow::recordtext::text(QT_TRANSLATE_N_NOOP("recordtext", "%n minutes"), m_verifyTimeoutMs / 60000)
            : workflow::recordtext::text(QT_TRANSLATE_N_NOOP("recordtext", "%n seconds"), m_verifyTimeoutMs / 1000);
    cancelVerification(workflow::recordtext::keep(
        workflow::recordtext::text(QT_TRANSLATE_NOOP("recordtext", "the phone did not come back and answer within %1"))
            .arg(wait)));
}

void MainWindow::startVerificationWait()
{
    if (m_eraseAccount.verification().status != Status::Pending)
        return;
    m_timerVerifyGiveUp->start(m_verifyTimeoutMs);
    m_timerVerifyErase->start(250);
}

void MainWindow::requestVerificationList(int category)
{
    static void (MainWindow::*const requests[CategoryCount])() = {
        &MainWindow::getContact,     &MainWindow::getHistory,         &MainWindow::getMessage,
        &MainWindow::getPhotoDir,    &MainWindow::getAudioDir,        &MainWindow::getVedioDir,
        &MainWindow::getFacebookDir, &MainWindow::getTwitterDir,      &MainWindow::getSkypeDir,
        &MainWindow::getViberDir,    &MainWindow::getKikMessengerDir, &MainWindow::getWhtatsAppDir};
    clearVerificationLists();
    m_dataReadable[category] = false;
    m_listFailed[category] = false;
    m_verifyScanBounds = {m_listIncomplete[category], m_listStopped[category], m_listStoredRecords[category],
                          m_listStoredChars[category], m_scansStarted};
    clearScanAccumulators(category, category + 1);
    m_verifyListing = category;
    qDebug() << "verification lists" << workflow::eraseplan::categoryWord(category);
    (this->*requests[category])();
}

void MainWindow::restoreScanBounds(int category)
{
    if (m_scansStarted != m_verifyScanBounds.scan)
        return; // a scan has started meanwhile: the bounds are its own
    m_listIncomplete[category] = m_verifyScanBounds.incomplete;
    m_listStopped[category] = m_verifyScanBounds.stopped;
    m_listStoredRecords[category] = m_verifyScanBounds.records;
    m_listStoredChars[category] = m_verifyScanBounds.chars;
}

workflow::eraseverification::Listing MainWindow::verificationListing(int category) const
{
    if (category <= Message) {
        workflow::eraseverification::Listing l;
        l.keys = m_verifyIdData.keys();
        l.unreadable = m_verifyUnreadable;
        return l;
    }
    if (category <= Vedio)
        return workflow::eraseverification::fileListing(m_verifyDir);
    return {m_verifyDir, 0};
}

void MainWindow::verifyErase()
{
    workflow::EraseAccount::Verification &v = m_eraseAccount.verification();
    if (v.status == Status::Pending) {
        // The first connection after the reboot clears m_rebootDone; the
        // phone's particulars come first, which open the top bar again.
        if (!companionOnline() || m_rebootDone || !m_homeInfoShown)
            return;
        // Only the phone the run erased is checked: another phone plugged
        // in while it restarted shows nothing of it.
        const workflow::eraseverification::PhoneMatch match = workflow::eraseverification::samePhone(
            m_eraseAccount.phone(), proto::homeInfoFields(m_homeInfoList).serial,
            m_gotSerial ? m_serialNo : QString());
        if (match != workflow::eraseverification::PhoneMatch::Same) {
            qDebug() << "verification: not the phone erased" << proto::homeInfoFields(m_homeInfoList).serial
                     << m_serialNo;
            cancelVerification(workflow::eraseverification::otherPhoneReason(match));
            return;
        }
        v.status = Status::Running;
        m_verifyQueue = workflow::eraseverification::categoriesToList(m_eraseAccount);
        m_verifyListing = -1;
        m_timerVerifyGiveUp->start(m_verifyTimeoutMs); // now for the lists to come
        fillEraseReport();
    }
    if (v.status != Status::Running) {
        // A list asked for by a pass that has ended is dropped when it comes.
        dropVerificationStore();
        return;
    }
    if (m_verifyListing >= 0) {
        const int c = m_verifyListing;
        if (!m_dataReadable[c])
            return;
        // A list not read whole cannot show that an item is gone.
        if (m_listFailed[c])
            workflow::eraseverification::listFailed(m_eraseAccount, c);
        else if (m_listIncomplete[c])
            workflow::eraseverification::listIncomplete(m_eraseAccount, c);
        else
            workflow::eraseverification::compare(m_eraseAccount, c, verificationListing(c));
        restoreScanBounds(c);
        m_verifyListing = -1;
        fillEraseReport();
    }
    if (m_verifyQueue.isEmpty()) {
        workflow::eraseverification::finish(m_eraseAccount, QDateTime::currentDateTimeUtc());
        verificationEnded();
        return;
    }
    requestVerificationList(m_verifyQueue.takeFirst());
}

void MainWindow::stopVerificationPass()
{
    m_timerVerifyGiveUp->stop();
    m_verifyQueue.clear();
    // A list still on its way goes to the pass's store (and is dropped), not
    // to the scan's records; the poll lets go of it when it has come.
    dropVerificationStore();
}

void MainWindow::dropVerificationStore()
{
    if (m_verifyListing >= 0 && !m_dataReadable[m_verifyListing])
        return;
    m_timerVerifyErase->stop();
    if (m_verifyListing >= 0)
        restoreScanBounds(m_verifyListing);
    m_verifyListing = -1;
    clearVerificationLists();
}

void MainWindow::cancelVerification(const QString &reason)
{
    const Status s = m_eraseAccount.verification().status;
    if (s != Status::Pending && s != Status::Running)
        return;
    workflow::eraseverification::couldNotRun(m_eraseAccount, reason, QDateTime::currentDateTimeUtc());
    verificationEnded();
}

void MainWindow::verificationEnded()
{
    stopVerificationPass();
    qDebug() << "verification ended:" << workflow::eraseverification::statusText(m_eraseAccount.verification().status)
             << m_eraseAccount.verification().reason;
    writeEraseRecord();
    fillEraseReport();
}

// The pass's own store of one category's list, emptied before the next list
// and when the pass lets go of it.
void MainWindow::clearVerificationLists()
{
    m_verifyIdData.clear();
    m_verifyNameId.clear();
    m_verifyNumberId.clear();
    m_verifyAmbiguous.clear();
    m_verifyDir.clear();
    m_verifyUnreadable = 0;
}
