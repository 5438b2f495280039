#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/widgetvisibility.h"
#include "workflow/countdown.h"
#include "workflow/eraseplan.h"
#include "workflow/scanplan.h"

#include <QButtonGroup>
#include <QDebug>
#include <QTableWidget>

namespace {

const char *const kTableNames[6] = {"tableContactWidget", "tableHistoryWidget", "tableMessageWidget",
                                    "tablePhotoWidget",   "tableAudioWidget",   "tableVedioWidget"};

const char *const kAppNames[AppCategoryCount] = {"facebook", "twitter", "skype", "viber", "kik", "whatsapp"};

} // namespace

void MainWindow::initWorkflowTimers()
{
    initPolls();

    // Whatever the supervision makes of it later, a connection that ended
    // takes every wait and poll of the scan or erase with it at once.
    connect(m_tcpSocket, &QAbstractSocket::stateChanged, this, [this](QAbstractSocket::SocketState s) {
        if (s == QAbstractSocket::UnconnectedState)
            workflowConnectionLost();
    });

    // The form is built after this hook.
    QTimer::singleShot(0, this, &MainWindow::initWorkflowWidgets);
}

void MainWindow::initWorkflowWidgets()
{
    if (m_appButtonGroup)
        return;
    m_appButtonGroup = new QButtonGroup(this);
    m_appButtonGroup->setExclusive(false);
    m_appButtonGroup->addButton(ui->EApp_RatioButton_SelectAll, 0);
    m_appButtonGroup->addButton(ui->EApp_RatioButton_Facebook, 1);
    m_appButtonGroup->addButton(ui->EApp_RatioButton_KikMessenger, 2);
    m_appButtonGroup->addButton(ui->EApp_RatioButton_Skype, 3);
    m_appButtonGroup->addButton(ui->EApp_RatioButton_Twitter, 4);
    m_appButtonGroup->addButton(ui->EApp_RatioButton_Viber, 5);
    m_appButtonGroup->addButton(ui->EApp_RatioButton_WhatsApp, 6);
    // The level label and the level radio buttons agree with the level the
    // program starts with.
    setEraseLevel(m_levelToErase);
}

// ---------------------------------------------------------------------------
// Scope buttons and the scan page
// ---------------------------------------------------------------------------

void MainWindow::setEraseType(EraseType et)
{
    m_eraseType = et;
    m_pageEraseType = static_cast<int>(et);
}

bool MainWindow::companionOnline() const
{
    return m_programType == ProgramType::Idle && m_tcpSocket
           && m_tcpSocket->state() == QAbstractSocket::ConnectedState;
}

void MainWindow::setScopeButtonsEnabled(bool enabled)
{
    // While the program connects the scope buttons stay disabled: nothing
    // the workflow ends (a completion, a cancel) opens them to a phone that
    // is not there.
    if (enabled && !companionOnline())
        return;
    ui->S_MyPhone_Button->setEnabled(enabled);
    ui->S_All_Button->setEnabled(enabled);
    ui->S_Private_Button->setEnabled(enabled);
    ui->S_App_Button->setEnabled(enabled);
}

void MainWindow::showScanPage(EraseType et)
{
    hidePages();
    app::showWidget(ui->B_EAll_ToScan);
    switch (et) {
    case EraseType::All:
        ui->EAll_Lable_ScanType->setText(tr("Erase All Data"));
        ui->EAll_Label_Infomation->setText(tr(
            "Permanently wipe all private data from Android device, making the data inaccessible even for the "
            "greatest hackers. All your privacy is well protected!"));
        break;
    case EraseType::Private:
        ui->EAll_Lable_ScanType->setText(tr("Erase Private Data"));
        ui->EAll_Label_Infomation->setText(tr(
            "Permanently erase sensitive private information from Android device.  No chance to retrieve any data "
            "from the device even with professional data recovery software!"));
        break;
    case EraseType::App:
        ui->EAll_Lable_ScanType->setText(tr("Erase App Data"));
        ui->EAll_Label_Infomation->setText(tr(
            "Completely Erase all private data from target apps, including Facebook, Twitter, WhatsApp, Skype, Viber "
            "and Kik."));
        break;
    }
}

void MainWindow::stopPhotoStopWaits()
{
    // The waits for the photo stop all read the one acknowledgement flag. A
    // wait left over from an earlier click would take the acknowledgement of
    // the newer one and leave it waiting for good (a scan that never starts,
    // a scan page that never opens).
    stopPolls(PhotoStopWait);
    m_scopeAfterPhotoStop = -1;
}

void MainWindow::dropPendingWaits()
{
    abandonPendingSmsSteps();
    stopPhotoStopWaits();
}

static void switchScope(MainWindow *w, EraseType et)
{
    if (!w->companionOnline()) {
        // No scan page over the device link's pages: the scope buttons wait
        // for the phone.
        w->setScopeButtonsEnabled(false);
        return;
    }
    w->leaveEraseReport();
    w->dropPendingWaits();
    // Leaving the private results: the thumbnails may still be loading, so the
    // companion app must stop sending photos before the scan page opens. The
    // scope changes with the page, not before: until then the page on screen
    // (the private confirm page, say) still erases what it names.
    if (et != EraseType::Private && w->m_eraseType == EraseType::Private) {
        w->stopPhotoFetching();
        w->sendStopGetPhoto();
        w->m_scopeAfterPhotoStop = int(et);
        w->m_timerCheckStopGetPhotoSwitchedAllApp->start(100);
        return;
    }
    w->setEraseType(et);
    w->showScanPage(et);
}

void MainWindow::on_S_All_Button_clicked()
{
    switchScope(this, EraseType::All);
}

void MainWindow::on_S_Private_Button_clicked()
{
    switchScope(this, EraseType::Private);
}

void MainWindow::on_S_App_Button_clicked()
{
    switchScope(this, EraseType::App);
}

void MainWindow::checkStopGetPhotoSwitchedAllApp()
{
    if (!m_stopGetPhotoBack)
        return;
    m_timerCheckStopGetPhotoSwitchedAllApp->stop();
    m_stopGetPhotoBack = false;
    const int scope = m_scopeAfterPhotoStop;
    m_scopeAfterPhotoStop = -1;
    if (scope == int(EraseType::All) || scope == int(EraseType::App)) {
        setEraseType(EraseType(scope));
        showScanPage(EraseType(scope));
    }
}

// ---------------------------------------------------------------------------
// Scan start
// ---------------------------------------------------------------------------

void MainWindow::appendTrace(const QString &token)
{
    ui->testLabel_3->setText(ui->testLabel_3->text() + token);
}

void MainWindow::resetScanState()
{
    // Tables, records, to-erase lists and photo images of the scope.
    clearResultTables();
    ++m_scansStarted; // a new scan's runs start their accounts afresh

    m_privateProgress = m_appProgress = m_allProgress = 0;
    const workflow::scanplan::CategoryRange range = workflow::scanplan::scopeCategories(m_eraseType);
    for (int c = range.first; c < range.last; ++c) {
        m_dataReadable[c] = false;
        m_scanDone[c] = false;
        m_gotCount[c] = 0;
        m_eraseSelected[c] = false;
        m_eraseBack[c] = false;
        m_eraseDone[c] = false;
        m_eraseFinished[c] = false;
        m_eraseSentCount[c] = 0;
        m_eraseFailCount[c] = 0;
        m_eraseBackFailCount[c] = 0;
        m_eraseStepPassed[c] = false;
        m_eraseAnsweredKeys[c].clear();
        m_eraseBatchKeys[c].clear();
        m_eraseSentUnanswered[c].clear();
        m_eraseFailedBefore[c] = 0;
        m_listNotRead[c].clear();
        m_announcedCount[c] = -1;
        if (c >= FirstAppCategory)
            m_appDirFound[c - FirstAppCategory] = false;
    }
    clearScanAccumulators(range.first, range.last);
    m_scanCancelRequested = false;
    m_leftTimeReadable = false;
    m_noAppData = false;
}

static void hideResultTables(MainWindow *w)
{
    for (const char *name : kTableNames)
        app::hideWidget(w->findChild<QTableWidget *>(QLatin1String(name)));
}

static QList<QRadioButton *> appRadioButtons(Ui::MainWindow *ui)
{
    return {ui->EApp_RatioButton_SelectAll, ui->EApp_RatioButton_Facebook, ui->EApp_RatioButton_Twitter,
            ui->EApp_RatioButton_Skype,     ui->EApp_RatioButton_Viber,    ui->EApp_RatioButton_KikMessenger,
            ui->EApp_RatioButton_WhatsApp};
}

// The radio button of an app category, Facebook..Whatsapp.
static QRadioButton *appRadioButton(Ui::MainWindow *ui, int category)
{
    return appRadioButtons(ui).value(category - FirstAppCategory + 1);
}

static void uncheckAppRadioButtons(Ui::MainWindow *ui)
{
    for (QRadioButton *b : appRadioButtons(ui))
        b->setChecked(false);
}

void MainWindow::on_EAll_Label_ToScan_clicked()
{
    const QString calculating = tr("Calculating time ...");
    if (!companionOnline()) {
        qDebug() << "scan not started, no connection to the phone";
        return;
    }
    dropPendingWaits();
    // A cancel cut off by a lost connection never got to enable it again.
    ui->M_All_Private_IsScanning_pushButton_Stop->setEnabled(true);
    switch (m_eraseType) {
    case EraseType::Private:
        qDebug() << "scan type is private in scan ";
        setScopeButtonsEnabled(false);
        ui->EP_IsScanning_PushButton_Erase->setEnabled(false);
        ui->EP_IsScanning_TextBroswerEditor->setEnabled(false);
        for (QWidget *b : {static_cast<QWidget *>(ui->EP_IsScanning_PushButton_Contact),
                           static_cast<QWidget *>(ui->EP_IsScanning_PushButton_CallHistory),
                           static_cast<QWidget *>(ui->EP_IsScanning_PushButton_Message),
                           static_cast<QWidget *>(ui->EP_IsScanning_PushButton_Photo),
                           static_cast<QWidget *>(ui->EP_IsScanning_PushButton_Audio),
                           static_cast<QWidget *>(ui->EP_IsScanning_PushButton_Vedio)})
            b->setEnabled(false);
        uncheckAppRadioButtons(ui);
        hideResultTables(this);
        hidePages();
        ui->M_All_Private_IsScanning_ProgressBar->setValue(5);
        app::showWidget(ui->M_All_Private_IsScanning);
        if (!ui->EP_IsScanning_TextBroswerEditor->text().isEmpty())
            ui->EP_IsScanning_TextBroswerEditor->clear();
        qDebug() << "start clear data and new";
        resetScanState();
        qDebug() << "end reset checkstate";
        m_scanLeftPrivate = 0;
        ui->M_All_Private_IsScanning_Label_leftTime->setText(calculating);
        sendStopGetPhoto();
        m_timerCheckStopGetPhotoBeforeScan->start(100);
        return;

    case EraseType::App:
        setScopeButtonsEnabled(false);
        ui->EApp_PushButton_Erase->setEnabled(false);
        for (QRadioButton *b : appRadioButtons(ui)) {
            b->setEnabled(false);
            b->setChecked(false);
        }
        hidePages();
        ui->M_All_Private_IsScanning_ProgressBar->setValue(5);
        app::showWidget(ui->M_All_Private_IsScanning);
        resetScanState();
        m_scanLeftApp = 0;
        ui->M_All_Private_IsScanning_Label_leftTime->setText(calculating);
        m_leftTimeReadable = false;
        sendAppLeftTime();
        break;

    case EraseType::All:
        qDebug() << "scan type is all in scan";
        setScopeButtonsEnabled(false);
        hidePages();
        ui->M_All_Private_IsScanning_ProgressBar->setValue(5);
        app::showWidget(ui->M_All_Private_IsScanning);
        resetScanState();
        m_scanLeftAll = 0;
        ui->M_All_Private_IsScanning_Label_leftTime->setText(calculating);
        m_leftTimeReadable = false;
        sendAllLeftTime();
        break;
    }
    m_timerLeftTimeReadable->start(300);
    m_workPhase = Scanning;
}

void MainWindow::checkStopGetPhotoBeforeScan()
{
    if (!m_stopGetPhotoBack)
        return;
    m_timerCheckStopGetPhotoBeforeScan->stop();
    m_stopGetPhotoBack = false;
    if (m_scanCancelRequested)
        return; // cancelled before it began: the scan is never started
    m_leftTimeReadable = false;
    switch (m_eraseType) {
    case EraseType::All:
        sendAllLeftTime();
        break;
    case EraseType::Private:
        sendPrivateLeftTime();
        break;
    case EraseType::App:
        sendAppLeftTime();
        break;
    }
    m_timerLeftTimeReadable->start(300);
    m_workPhase = Scanning;
}

void MainWindow::leftTimeReadable()
{
    if (!m_leftTimeReadable)
        return;
    m_timerLeftTimeReadable->stop();
    if (m_scanCancelRequested) {
        qDebug() << "get leftTime back,cancel scan true";
    } else {
        qDebug() << "get leftTime back,cancel scan false";
        getData();
    }
    m_leftTimeReadable = false;
}

// ---------------------------------------------------------------------------
// The category chain
// ---------------------------------------------------------------------------

void MainWindow::getData()
{
    switch (m_eraseType) {
    case EraseType::All:
        m_allProgress = 0;
        getPrivate();
        break;
    case EraseType::Private:
        m_privateProgress = 0;
        getPrivate();
        break;
    case EraseType::App:
        m_appProgress = 0;
        getApp();
        break;
    }
    m_timerAllDataReadable->start(1000);
    m_timerDecreaseScanTime->start(1000);
}

void MainWindow::passOverScanCategory(int category, bool gateClosed)
{
    m_dataReadable[category] = true;
    m_scanDone[category] = true;
    // A closed gate keeps the category from being read: the phone may hold
    // any amount of it. (An app scan the phone answered with "no app data"
    // closes the gate of the apps it has nothing of.)
    if (gateClosed && !(category >= FirstAppCategory && m_noAppData))
        m_listNotRead[category] = workflow::eraseplan::listNotAllowedReason();
}

void MainWindow::getPrivate()
{
    const workflow::scanplan::AskDecision d =
        workflow::scanplan::decideAsk(Contact, m_sdkLevel, m_sdkGate, m_expectedScanTime[Contact]);
    appendTrace(workflow::scanplan::contactTraceToken(d, m_sdkLevel));
    if (d == workflow::scanplan::AskDecision::Ask)
        getContact();
    else
        passOverScanCategory(Contact, d == workflow::scanplan::AskDecision::SkipGateClosed);
}

void MainWindow::getApp()
{
    const workflow::scanplan::AskDecision d =
        workflow::scanplan::decideAsk(Facebook, m_sdkLevel, m_sdkGate, m_expectedScanTime[Facebook]);
    if (d == workflow::scanplan::AskDecision::Ask) {
        getFacebookDir();
    } else {
        passOverScanCategory(Facebook, d == workflow::scanplan::AskDecision::SkipGateClosed);
        m_appDirFound[Facebook - FirstAppCategory] = false;
    }
}

void MainWindow::getAppDir()
{
    getApp();
}

void MainWindow::askScanCategory(int category)
{
    if (category == Facebook) {
        getApp();
        return;
    }
    const workflow::scanplan::AskDecision d =
        workflow::scanplan::decideAsk(category, m_sdkLevel, m_sdkGate, m_expectedScanTime[category]);
    if (d != workflow::scanplan::AskDecision::Ask) {
        passOverScanCategory(category, d == workflow::scanplan::AskDecision::SkipGateClosed);
        return;
    }
    switch (category) {
    case Twitter:
        getTwitterDir();
        break;
    case Skype:
        getSkypeDir();
        break;
    case Viber:
        getViberDir();
        break;
    case Kik:
        getKikMessengerDir();
        break;
    case Whatsapp:
        getWhtatsAppDir();
        break;
    default:
        break;
    }
}

int &MainWindow::scanProgressOfScope()
{
    switch (m_eraseType) {
    case EraseType::Private:
        return m_privateProgress;
    case EraseType::App:
        return m_appProgress;
    case EraseType::All:
        break;
    }
    return m_allProgress;
}

void MainWindow::scanCategoryRendered(int category)
{
    m_dataReadable[category] = false;
    int &progress = scanProgressOfScope();
    progress += workflow::scanplan::progressShare(m_eraseType, category);
    ui->M_All_Private_IsScanning_ProgressBar->setValue(progress);
    if (m_scanCancelRequested) {
        sendCancelScan();
        m_timerCheckCancelScan->start(500);
        return;
    }
    const int next = workflow::scanplan::nextInChain(m_eraseType, category);
    if (next >= 0)
        askScanCategory(next);
}

bool MainWindow::privateDataReadable() const
{
    for (int c = Contact; c < FirstAppCategory; ++c)
        if (m_dataReadable[c])
            return true;
    return false;
}

bool MainWindow::appDataReadable() const
{
    for (int c = FirstAppCategory; c < CategoryCount; ++c)
        if (m_dataReadable[c])
            return true;
    return false;
}

void MainWindow::allDataReadable()
{
    bool readable = false;
    switch (m_eraseType) {
    case EraseType::Private:
        readable = privateDataReadable();
        break;
    case EraseType::App:
        readable = appDataReadable();
        break;
    case EraseType::All:
        readable = privateDataReadable() || appDataReadable();
        break;
    }
    if (!readable)
        return;
    if (m_scanCancelRequested) {
        m_timerAllDataReadable->stop();
        return;
    }
    switch (m_eraseType) {
    case EraseType::Private:
        updatePrivateUI();
        break;
    case EraseType::App:
        updateAppUI();
        break;
    case EraseType::All:
        updateAllUI();
        break;
    }
}

static void writeFoundCounts(MainWindow *w, Ui::MainWindow *ui)
{
    ui->label_test_debug_2->setText(QStringLiteral("cC:%1,\n").arg(w->m_contactMapIdData.size())
                                    + QStringLiteral("mC:%1,\n").arg(w->m_messageMapIdData.size())
                                    + QStringLiteral("vC:%1,\n").arg(w->m_vedioDir.size()));
}

void MainWindow::updatePrivateUI()
{
    updateContactUI();
    updateHistoryUI();
    updateMessageUI();
    updatePhotoUI();
    updateAudioUI();
    updateVedioUI();

    if (m_eraseType != EraseType::Private || m_privateProgress != 100)
        return;
    m_workPhase = Scanned;
    m_timerAllDataReadable->stop();
    m_timerDecreaseScanTime->stop();
    setScopeButtonsEnabled(true);
    ui->EP_IsScanning_PushButton_Erase->setEnabled(true);
    ui->EP_IsScanning_TextBroswerEditor->setEnabled(true);
    hidePages();
    app::showWidget(ui->C_EPrivate_IsScanning_2);
    selectCategory(Contact);
    app::hideWidget(ui->T_D_IsScanning_Stop);
    writeFoundCounts(this, ui);
    appendTrace(QStringLiteral("F_100percent:\n"));
    startPhotoFetching();
    appendTrace(QStringLiteral("L_100percent:\n"));
}

void MainWindow::updateAppUI()
{
    for (int c = FirstAppCategory; c < CategoryCount; ++c) {
        if (!m_dataReadable[c])
            continue;
        if (m_eraseType == EraseType::App)
            appRadioButton(ui, c)->setEnabled(m_appDirFound[c - FirstAppCategory]);
        scanCategoryRendered(c);
        qDebug().noquote() << QStringLiteral("private progress called after update %1 is").arg(kAppNames[c - FirstAppCategory])
                 << scanProgressOfScope();
        qDebug().noquote() << QStringLiteral("end update %1UI").arg(kAppNames[c - FirstAppCategory]);
    }

    if (m_eraseType != EraseType::App || m_appProgress != 100)
        return;
    m_workPhase = Scanned;
    bool anyData = false;
    for (bool found : m_appDirFound)
        anyData = anyData || found;
    if (anyData)
        ui->EApp_RatioButton_SelectAll->setEnabled(true);
    ui->EApp_PushButton_Erase->setEnabled(true);
    m_timerAllDataReadable->stop();
    m_timerDecreaseScanTime->stop();
    setScopeButtonsEnabled(true);
    hidePages();
    app::showWidget(ui->D_EApp_ToScanAndIsScanning);
    app::hideWidget(ui->T_D_IsScanning_Stop);
}

void MainWindow::updateAllUI()
{
    updatePrivateUI();
    updateAppUI();

    if (m_allProgress != 100)
        return;
    m_workPhase = Scanned;
    m_timerAllDataReadable->stop();
    m_timerDecreaseScanTime->stop();
    setScopeButtonsEnabled(true);
    ui->EAll_Label_ToScan->setEnabled(true);
    showConfirmPage();
    app::hideWidget(ui->T_D_IsScanning_Stop);
    writeFoundCounts(this, ui);
}

// ---------------------------------------------------------------------------
// Countdowns
// ---------------------------------------------------------------------------

float &MainWindow::scanLeftOfScope()
{
    switch (m_eraseType) {
    case EraseType::Private:
        return m_scanLeftPrivate;
    case EraseType::App:
        return m_scanLeftApp;
    case EraseType::All:
        break;
    }
    return m_scanLeftAll;
}

float &MainWindow::eraseLeftOfScope()
{
    switch (m_eraseType) {
    case EraseType::Private:
        return m_eraseLeftPrivate;
    case EraseType::App:
        return m_eraseLeftApp;
    case EraseType::All:
        break;
    }
    return m_eraseLeftAll;
}

void MainWindow::decreaseScanTime()
{
    float &left = scanLeftOfScope();
    if (m_eraseType == EraseType::All)
        qDebug() << "decrese scan time:all:" << left;
    const workflow::countdown::Tick t = workflow::countdown::tick(left, m_expectedScanTime, m_scanDone,
        workflow::scanplan::scopeCategories(m_eraseType), tr("Remain Time "), tr("Remaining Time 0:0:0"));
    ui->M_All_Private_IsScanning_Label_leftTime->setText(t.text);
    if (t.stop)
        m_timerDecreaseScanTime->stop();
    left = t.remaining;
    if (m_eraseType == EraseType::Private)
        qDebug() << "got private left time,remain:" << left;
}

void MainWindow::decreaseEraseTime()
{
    float &left = eraseLeftOfScope();
    const workflow::countdown::Tick t = workflow::countdown::tick(left, m_eraseTimeOfRun, m_eraseFinished,
        workflow::scanplan::scopeCategories(m_eraseType), tr("Remaining Time "), tr("Remaining Time 0:0:0"));
    ui->M_IsErasing_Label_TimeLeft->setText(t.text);
    if (t.stop)
        m_timerDecreaseEraseTime->stop();
    left = t.remaining;
}

void MainWindow::pauseCountdownForBackground()
{
    if (m_workPhase == Scanning
        && workflow::countdown::shouldPause(m_timerDecreaseScanTime->isActive(), scanLeftOfScope()))
        m_timerDecreaseScanTime->stop();
    if (m_workPhase == Erasing
        && workflow::countdown::shouldPause(m_timerDecreaseEraseTime->isActive(), eraseLeftOfScope()))
        m_timerDecreaseEraseTime->stop();
}

void MainWindow::resumeCountdownForForeground()
{
    if (m_workPhase == Scanning
        && workflow::countdown::shouldResume(m_timerDecreaseScanTime->isActive(), scanLeftOfScope()))
        m_timerDecreaseScanTime->start(1000);
    if (m_workPhase == Erasing
        && workflow::countdown::shouldResume(m_timerDecreaseEraseTime->isActive(), eraseLeftOfScope()))
        m_timerDecreaseEraseTime->start(1000);
}
