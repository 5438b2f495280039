#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/widgetvisibility.h"
#include "workflow/eraseplan.h"
#include "workflow/erasesummary.h"
#include "workflow/scanplan.h"
#include "browser/tablelayout.h"

#include <QDebug>
#include <QSet>

namespace {

QRadioButton *appButton(Ui::MainWindow *ui, int category)
{
    switch (category) {
    case Facebook:
        return ui->EApp_RatioButton_Facebook;
    case Twitter:
        return ui->EApp_RatioButton_Twitter;
    case Skype:
        return ui->EApp_RatioButton_Skype;
    case Viber:
        return ui->EApp_RatioButton_Viber;
    case Kik:
        return ui->EApp_RatioButton_KikMessenger;
    case Whatsapp:
        return ui->EApp_RatioButton_WhatsApp;
    default:
        return nullptr;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// Confirm page and level
// ---------------------------------------------------------------------------

void MainWindow::showConfirmPage()
{
    // Every showing asks for the word afresh: a word typed on another
    // scope's page, or before a cancelled run, confirms nothing here.
    ui->M_ConformErase_LineEdit_InputErase->clear();
    ui->M_ConformErase_LineEdit_InputErase->setFocus();
    ui->M_ConformErase_LineEdit_InputErase->setPlaceholderText(tr("Please Type at here..."));
    ui->M_ConformErase_Label_SecurityLevel->setText(workflow::eraseplan::levelLabel(m_levelToErase));
    hidePages();
    ui->M_ConformErase_label_Name->setText(workflow::eraseplan::confirmTitle(m_eraseType));
    showEraseSummary();
    app::showWidget(ui->M_ConformErase_1);
}

// What Erase Now will send, per category: the keys chosen in the scope shown
// less those the phone answered for in a cancelled run of this scan (an
// answered batch is folded in only when Erase Now is pressed).
void MainWindow::showEraseSummary()
{
    workflow::erasesummary::Figure figures[CategoryCount];
    int answeredBefore = 0;
    const workflow::scanplan::CategoryRange range = workflow::scanplan::scopeCategories(m_eraseType);
    for (int c = range.first; c < range.last; ++c) {
        if (c >= FirstAppCategory) {
            // An app erased before a cancel is not sent again.
            const bool inRun = m_eraseType == EraseType::App ? appButton(ui, c)->isChecked() : true;
            if (!inRun)
                continue;
            if (m_eraseBack[c]) {
                answeredBefore += eraseKeysOf(c).isEmpty() ? 0 : 1;
                continue;
            }
            // A ticked app with nothing listed still has its step run.
            figures[c].items = m_eraseType == EraseType::App ? qMax(1, int(eraseKeysOf(c).size()))
                                                             : int(eraseKeysOf(c).size());
            continue;
        }
        QSet<QString> answered = m_eraseAnsweredKeys[c];
        if (m_eraseBack[c])
            for (const QString &key : qAsConst(m_eraseBatchKeys[c]))
                answered.insert(key);
        const QStringList chosen = eraseKeysOf(c);
        if (c == History || c == Message) {
            int answeredHere = 0;
            figures[c] = c == History ? workflow::erasesummary::threadedFigure(chosen, answered, m_historyMapIdData,
                                                                     m_historyMapNumberId, &answeredHere)
                                      : workflow::erasesummary::threadedFigure(chosen, answered, m_messageMapIdData,
                                                                     m_messageMapNumberId, &answeredHere);
            answeredBefore += answeredHere;
            continue;
        }
        const QStringList keys = workflow::eraseplan::keysNotAnswered(chosen, answered);
        if (!answered.isEmpty())
            answeredBefore += int(workflow::eraseplan::keysNotAnswered(chosen, QSet<QString>()).size() - keys.size());
        figures[c].items = int(keys.size());
    }
    const QString text = workflow::erasesummary::summary(m_eraseType, figures, answeredBefore);
    ui->M_ConformErase_Label_WhatIsErased->setText(text);
    // Read out with the field the word is typed into.
    ui->M_ConformErase_LineEdit_InputErase->setAccessibleDescription(text);
}

void MainWindow::on_EP_IsScanning_PushButton_Erase_clicked()
{
    if (!companionOnline())
        return;
    dropPendingWaits();
    m_stopGetPhotoBack = false;
    sendStopGetPhoto();
    m_timerCheckStopGetPhotoBeforeErase->start();
}

void MainWindow::checkStopGetPhotoBeforeErase()
{
    qDebug() << "check stopGetPhoto once";
    if (!m_stopGetPhotoBack)
        return;
    m_timerCheckStopGetPhotoBeforeErase->stop();
    qDebug() << "stop get photo redable true";
    m_stopGetPhotoBack = false;
    if (m_eraseType == EraseType::Private)
        showConfirmPage();
}

void MainWindow::on_EApp_PushButton_Erase_clicked()
{
    if (!companionOnline())
        return;
    dropPendingWaits();
    showConfirmPage();
}

void MainWindow::on_EApp_RatioButton_SelectAll_clicked()
{
    const bool checked = ui->EApp_RatioButton_SelectAll->isChecked();
    for (int c = FirstAppCategory; c < CategoryCount; ++c)
        if (m_appDirFound[c - FirstAppCategory])
            appButton(ui, c)->setChecked(checked);
}

void MainWindow::on_M_ConformErase_LineEdit_InputErase_cursorPositionChanged(int, int)
{
    ui->M_ConformErase_LineEdit_InputErase->setPlaceholderText(tr("Please Type at here..."));
}

bool MainWindow::eraseRunUnderway() const
{
    return m_timerCheckApkIsDefaultSMSAppReadable->isActive() || m_timerChangeDefaultSMSAppReadable->isActive()
           || m_timerAllDataErased->isActive() || m_timerCheckCancelErase->isActive()
           || !ui->M_IsErasing_2->isHidden();
}

void MainWindow::setEraseLevel(ushort levelToErase)
{
    m_levelToErase = levelToErase;
    ui->M_ConformErase_Label_SecurityLevel->setText(workflow::eraseplan::levelLabel(levelToErase));
    QRadioButton *button = levelToErase == 10  ? ui->T_M_SelectLevel_RatioButton_HighLevel
                           : levelToErase == 7 ? ui->T_M_SelectLevel_RatioButton_MediumLevel
                                               : ui->T_M_SelectLevel_RatioButton_LowLevel;
    if (!button->isChecked())
        button->setChecked(true);
}

void MainWindow::on_M_ConformErase_PushButton_Setting_clicked()
{
    if (eraseRunUnderway())
        return; // the level was fixed by Erase Now
    app::showWidget(ui->T_M_SelectLevel_1_1);
}

// A level button reached while a run is on changes nothing: the run keeps
// the level it began with, and the buttons show it again.
static void chooseLevel(MainWindow *w, ushort level)
{
    if (w->eraseRunUnderway()) {
        qDebug() << "level not changed while erasing";
        app::hideWidget(w->ui->T_M_SelectLevel_1_1);
        w->setEraseLevel(w->m_levelToErase);
        return;
    }
    w->setEraseLevel(level);
}

void MainWindow::on_T_M_SelectLevel_RatioButton_HighLevel_clicked()
{
    chooseLevel(this, 10);
}

void MainWindow::on_T_M_SelectLevel_RatioButton_MediumLevel_clicked()
{
    chooseLevel(this, 7);
}

void MainWindow::on_T_M_SelectLevel_RatioButton_LowLevel_clicked()
{
    chooseLevel(this, 3);
}

void MainWindow::on_T_M_SelectLevel_PusuButton_OK_clicked()
{
    app::hideWidget(ui->T_M_SelectLevel_1_1);
}

void MainWindow::on_T_M_SelectLevel_PusuButton_Cancel_clicked()
{
    app::hideWidget(ui->T_M_SelectLevel_1_1);
}

void MainWindow::on_T_M_SelectLevel_PushButton_Close_clicked()
{
    app::hideWidget(ui->T_M_SelectLevel_1_1);
}

void MainWindow::on_M_ConformErase_PushButton_Back_clicked()
{
    dropPendingWaits();
    app::hideWidget(ui->M_ConformErase_1);
    switch (m_eraseType) {
    case EraseType::All:
        app::showWidget(ui->B_EAll_ToScan);
        break;
    case EraseType::Private:
        app::showWidget(ui->C_EPrivate_IsScanning_2);
        break;
    case EraseType::App:
        app::showWidget(ui->D_EApp_ToScanAndIsScanning);
        break;
    }
}

void MainWindow::on_T_D_ConformEraseLineEditIsImpty_PushButton_Ok_clicked()
{
    app::hideWidget(ui->T_D_ConformEraseLineEditIsImpty);
}

void MainWindow::on_T_D_ConformEraseLineEditIsImpty_Close_clicked()
{
    app::hideWidget(ui->T_D_ConformEraseLineEditIsImpty);
}

void MainWindow::on_T_D_SelectedItemLessOne_PushButton_Ok_clicked()
{
    app::hideWidget(ui->T_D_SelectedItemLessOne);
}

void MainWindow::on_T_D_SelectedItemLessOne_Close_clicked()
{
    app::hideWidget(ui->T_D_SelectedItemLessOne);
}

// ---------------------------------------------------------------------------
// Erase Now and the default SMS app
// ---------------------------------------------------------------------------

static void askForDefaultSmsApp(MainWindow *w)
{
    qDebug() << "in conform erase sure erase message";
    w->checkApkIsDefaultSMSApp();
    w->m_timerCheckApkIsDefaultSMSAppReadable->start(1000);
    qDebug() << "sure erse message";
}

void MainWindow::on_M_ConformErase_PushButton_EraseNow_clicked()
{
    if (eraseRunUnderway() || !companionOnline())
        return; // pressed already, waiting for the default-SMS-app answer; or no phone
    if (!workflow::eraseplan::isConfirmWord(ui->M_ConformErase_LineEdit_InputErase->text())) {
        qDebug() << " not eq Erase";
        app::showWidget(ui->T_D_ConformEraseLineEditIsImpty);
        return;
    }
    qDebug() << "eq Erase";
    // The run erases what this page names at the level it shows: a scope
    // switch still waiting for the photo stop is dropped, and the level
    // notice closes (it cannot change the level until the run is over).
    dropPendingWaits();
    app::hideWidget(ui->T_M_SelectLevel_1_1);
    foldAnsweredBatches();
    m_messagesLeftOut = 0;
    m_eraseProgress = 0;
    ui->M_IsErasing_ProgressBar_Erasing->setValue(0);

    switch (m_eraseType) {
    case EraseType::App: {
        bool checked[AppCategoryCount];
        for (int c = FirstAppCategory; c < CategoryCount; ++c)
            checked[c - FirstAppCategory] = appButton(ui, c)->isChecked();
        // What shows ticked is what this run stands for: an app erased
        // before a cancel passes at once and is reported as erased then.
        workflow::eraseplan::selectApps(checked, m_eraseSelected);
        if (!workflow::eraseplan::anySelected(m_eraseSelected, workflow::scanplan::scopeCategories(EraseType::App))) {
            app::showWidget(ui->T_D_SelectedItemLessOne);
            return;
        }
        m_eraseCancelRequested = false;
        m_eraseSelected[Message] = false;
        for (int c = FirstAppCategory; c < CategoryCount; ++c)
            m_eraseStepPassed[c] = false;
        beginErasing();
        return;
    }
    case EraseType::Private:
        m_eraseCancelRequested = false;
        for (int c = Contact; c < FirstAppCategory; ++c)
            m_eraseStepPassed[c] = false;
        // Messages left out of a cancelled run because the default-SMS-app
        // change was declined are still chosen: this run asks again rather
        // than dropping them unreported.
        if (!m_messageToEraseList.isEmpty())
            m_eraseSelected[Message] = true;
        if (!workflow::eraseplan::anySelected(
                m_eraseSelected, workflow::scanplan::scopeCategories(EraseType::Private))) {
            app::showWidget(ui->T_D_SelectedItemLessOne);
            return;
        }
        reopenCategoriesWithNewKeys();
        break;
    case EraseType::All: {
        m_eraseCancelRequested = false;
        const int scanned[CategoryCount] = {
            int(m_contactMapIdData.size()), int(m_historyMapIdData.size()), int(m_messageMapIdData.size()),
            int(m_photoDir.size()),         int(m_audioDir.size()),         int(m_vedioDir.size()),
            int(m_facebookDir.size()),      int(m_twitterDir.size()),       int(m_skypeDir.size()),
            int(m_viberDir.size()),         int(m_kikmessengerDir.size()),  int(m_whatsappDir.size())};
        workflow::eraseplan::selectForAll(scanned, m_eraseBack, m_eraseSelected);
        for (bool &passed : m_eraseStepPassed)
            passed = false;
        if (!workflow::eraseplan::anySelected(m_eraseSelected, workflow::scanplan::scopeCategories(EraseType::All))) {
            app::showWidget(ui->T_D_SelectedItemLessOne);
            return;
        }
        break;
    }
    }

    // Messages already erased before a cancel are not sent again, so the
    // phone is not asked to change its default SMS app for them.
    if (m_eraseSelected[Message] && !m_eraseBack[Message])
        askForDefaultSmsApp(this);
    else
        beginErasing();
}

void MainWindow::abandonPendingSmsSteps()
{
    // The run waits for the companion app's default-SMS-app answers with the
    // scope and the selection of the moment Erase Now was pressed. Once the
    // user has left for another scope, a new scan or the result page, those
    // may no longer be what was confirmed: the run is not started at all.
    const bool pending =
        m_timerCheckApkIsDefaultSMSAppReadable->isActive() || m_timerChangeDefaultSMSAppReadable->isActive();
    if (!pending)
        return;
    qDebug() << "erase dropped, confirm page left before the SMS app answer";
    m_timerCheckApkIsDefaultSMSAppReadable->stop();
    m_timerChangeDefaultSMSAppReadable->stop();
}

void MainWindow::checkApkIsDefaultSMSAppReadable()
{
    if (!m_checkSmsAppReadable)
        return;
    m_checkSmsAppReadable = false;
    m_timerCheckApkIsDefaultSMSAppReadable->stop();
    if (m_isDefaultSmsApp) {
        m_isDefaultSmsApp = false;
        beginErasing();
        return;
    }
    changeDefaultSMSApp();
    m_timerChangeDefaultSMSAppReadable->start(1000);
    hidePages();
    app::showWidget(ui->A_MP_ChangeDefault_SMS_Widget);
}

void MainWindow::changeDefaultSMSAppReadable()
{
    if (!m_changeSmsAppReadable)
        return;
    m_changeSmsAppReadable = false;
    m_timerChangeDefaultSMSAppReadable->stop();
    if (m_changeSmsAppOk) {
        // The run starts at once: the confirm page (whose summary, worked
        // out afresh, would take a while for half a million messages) is not
        // shown again in between.
        m_changeSmsAppOk = false;
    } else {
        showConfirmPage();
        // Refused on the phone: everything else selected is still erased.
        m_eraseSelected[Message] = false;
        const QStringList chosen =
            m_eraseType == EraseType::All ? erasableIdsOf(Message) : m_messageToEraseList;
        m_messagesLeftOut = int(workflow::eraseplan::keysNotAnswered(chosen, m_eraseAnsweredKeys[Message]).size());
        if (!workflow::eraseplan::anySelected(m_eraseSelected, workflow::scanplan::scopeCategories(m_eraseType))) {
            // Only messages were chosen: nothing is left to erase, so no run
            // (and no reboot) takes place.
            app::showWidget(ui->T_D_SelectedItemLessOne);
            return;
        }
    }
    beginErasing();
}

// ---------------------------------------------------------------------------
// The run
// ---------------------------------------------------------------------------

void MainWindow::foldAnsweredBatches()
{
    for (int c = 0; c < CategoryCount; ++c) {
        if (!m_eraseBack[c] || m_eraseBatchKeys[c].isEmpty())
            continue;
        for (const QString &key : qAsConst(m_eraseBatchKeys[c]))
            m_eraseAnsweredKeys[c].insert(key);
        m_eraseBatchKeys[c].clear();
        m_eraseFailedBefore[c] +=
            workflow::eraseplan::failedItems(int(m_eraseFailCount[c]), int(m_eraseBackFailCount[c]));
        m_eraseFailCount[c] = 0;
        m_eraseBackFailCount[c] = 0;
        m_eraseSentCount[c] = 0;
    }
}

void MainWindow::reopenCategoriesWithNewKeys()
{
    // A private category answered before a cancel passes at once in a new
    // run, unless the user has since chosen keys it has not erased: then its
    // batch is sent again with those keys only.
    for (int c = Contact; c < FirstAppCategory; ++c) {
        if (!m_eraseBack[c] || !m_eraseSelected[c])
            continue;
        const QStringList &chosen = this->*tableLayout(c).toErase;
        if (workflow::eraseplan::keysNotAnswered(chosen, m_eraseAnsweredKeys[c]).isEmpty())
            continue;
        m_eraseBack[c] = false;
        m_eraseDone[c] = false;
    }
}

void MainWindow::beginErasing()
{
    hidePages();
    setScopeButtonsEnabled(false);
    ui->M_IsErasing_PubuButton_Stop->setEnabled(true);
    startEraseRun();
    m_workPhase = Erasing;
    app::showWidget(ui->M_IsErasing_2);
}

void MainWindow::startEraseRun()
{
    // Scaled afresh from the left-time reply on every run, so a run after a
    // cancel does not scale the estimates twice.
    workflow::eraseplan::scaledEraseTimes(m_expectedEraseTime, m_levelToErase, m_eraseTimeOfRun);
    m_eraseLeftAll = workflow::eraseplan::sum(m_eraseTimeOfRun, workflow::scanplan::scopeCategories(EraseType::All));
    m_eraseLeftPrivate =
        workflow::eraseplan::sum(m_eraseTimeOfRun, workflow::scanplan::scopeCategories(EraseType::Private));
    m_eraseLeftApp = workflow::eraseplan::sum(m_eraseTimeOfRun, workflow::scanplan::scopeCategories(EraseType::App));
    // A batch cut short by a cancel starts counting afresh, so that its
    // answers are matched against this run's requests only.
    for (int c = 0; c < CategoryCount; ++c) {
        m_eraseFinished[c] = false;
        if (!m_eraseBack[c]) {
            m_eraseSentCount[c] = 0;
            m_eraseFailCount[c] = 0;
            m_eraseBackFailCount[c] = 0;
        }
    }

    beginEraseAccount();
    sendEraseBegin();
    sendEraseStep(workflow::scanplan::scopeCategories(m_eraseType).first);
    m_timerAllDataErased->start(500);
    m_timerDecreaseEraseTime->start(1000);
}

void MainWindow::sendEraseStep(int category)
{
    const bool all = m_eraseType == EraseType::All;
    switch (category) {
    case Contact:
        all ? sendEraseAllContact() : sendEraseContact();
        break;
    case History:
        all ? sendEraseAllHistory() : sendEraseHistory();
        break;
    case Message:
        all ? sendEraseAllMessage() : sendEraseMessage();
        break;
    case Photo:
        all ? sendEraseAllPhoto() : sendErasePhoto();
        break;
    case Audio:
        all ? sendEraseAllAudio() : sendEraseAudio();
        break;
    case Vedio:
        all ? sendEraseAllVedio() : sendEraseVedio();
        break;
    case Facebook:
        sendEraseAllFacebook();
        break;
    case Twitter:
        sendEraseAllTwitter();
        break;
    case Skype:
        sendEraseAllSkype();
        break;
    case Viber:
        sendEraseAllViber();
        break;
    case Kik:
        sendEraseAllKik();
        break;
    case Whatsapp:
        sendEraseAllWhatsapp();
        break;
    default:
        break;
    }
}

static void logStepPassed(MainWindow *w, int category)
{
    switch (w->m_eraseType) {
    case EraseType::All:
        if (category == History)
            qDebug() << "erase time history:" << w->m_etEraseHistory.elapsed() << ",count:"
                     << w->m_historyMapIdData.size();
        break;
    case EraseType::Private:
        if (category == History)
            qDebug() << "m_etEraseHistory:" << w->m_etEraseHistory.elapsed() << ",m_historyToEraseList:"
                     << w->m_historyToEraseList.size();
        else if (category == Message)
            qDebug() << "m_etEraseMessage:" << w->m_etEraseMessage.elapsed() << ",m_messageToEraseList:"
                     << w->m_messageToEraseList.size();
        else if (category == Photo)
            qDebug() << "m_etErasePhotoDir:" << w->m_etErasePhotoDir.elapsed() << ",m_photoToEraseList:"
                     << w->m_photoToEraseList.size();
        else if (category == Audio)
            qDebug() << "m_etEraseAudioDir:" << w->m_etEraseAudioDir.elapsed() << ",count:"
                     << w->m_audioToEraseList.size();
        break;
    case EraseType::App:
        if (category == Kik)
            qDebug() << "m_etEraseKik:" << w->m_etEraseKik.elapsed() << ",m_kikmessengerDir:"
                     << w->m_kikmessengerDir.size();
        break;
    }
}

void MainWindow::allDataErased()
{
    const bool stoppedForCancel = workflow::eraseplan::walkSteps(
        m_eraseType, m_eraseSelected, m_eraseDone, m_eraseStepPassed, m_eraseCancelRequested, m_eraseProgress,
        [this](int category) { sendEraseStep(category); }, [this](int category) { logStepPassed(this, category); });
    // A cancel leaves the app boxes as they are: Erase Now goes on with the
    // apps still ticked, and those erased before the cancel are reported so.
    if (stoppedForCancel || (m_eraseType == EraseType::App && m_eraseCancelRequested)) {
        m_timerAllDataErased->stop();
        return;
    }
    ui->M_IsErasing_ProgressBar_Erasing->setValue(m_eraseProgress);
    if (m_eraseProgress == 100)
        finishEraseRun();
}

void MainWindow::finishEraseRun()
{
    for (int c = FirstAppCategory; c < CategoryCount; ++c)
        if (m_eraseSelected[c])
            appButton(ui, c)->setChecked(false);
    ui->EApp_RatioButton_SelectAll->setChecked(false);

    m_timerAllDataErased->stop();
    // The report names what the companion app could not erase, or did not
    // confirm; only a run whose every chosen item was confirmed shows the
    // success text.
    endEraseRun(m_eraseAccount.finishedOutcome());
    hidePages();
    app::showWidget(ui->M_EraseCompleted_3);
    // The report stays in front until the user leaves it; the reboot and the
    // link coming back go on behind it.
    m_reportHeld = true;
    qDebug() << "reboot ,progress:" << m_eraseProgress;

    eraseLeftOfScope() = 0;
    if (m_timerDecreaseEraseTime->isActive())
        m_timerDecreaseEraseTime->stop();
    ui->M_IsErasing_Label_TimeLeft->setText(tr("Remaining Time 0:0:0"));

    testReboot();
    // A Private or App run is checked on the phone once it is back.
    startVerificationWait();
    ui->testLabel_2->clear();
    m_programType = ProgramType::ConnectingDevice;
    stopPhotoFetching();
    app::hideWidget(ui->T_AppState);
}

void MainWindow::on_M_EraseComplated_PushButton_Home_clicked()
{
    if (leaveEraseReport())
        return; // what the link shows now: the phone page once it is back
    hidePages();
    app::showWidget(ui->A_MP_ConnectedInfomation_5);
}

void MainWindow::on_T_D_FactoryDataReset_PushButton_Ok_clicked()
{
    app::hideWidget(ui->T_D_FactoryDataReset);
}

void MainWindow::on_T_D_FactoryDataReset_Close_clicked()
{
    app::hideWidget(ui->T_D_FactoryDataReset);
}
