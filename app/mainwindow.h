#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QMultiMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

#include "protocol/categories.h"
#include "workflow/programstate.h"

namespace Ui {
class MainWindow;
}

class QDeviceWatcher;
class QTableWidget;
class QTableWidgetItem;

// The one window of the program. Its behaviour is split over source files by
// subsystem (app/, devicelink/, devicewatcher/, protocol/, workflow/, browser/);
// the header keeps one section per subsystem. Members are public so that the
// subsystems and the tests reach them directly, as plain members of one object.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Ui::MainWindow *ui = nullptr;

    // =====================================================================
    // Window shell, pages and notices (app/)
    // =====================================================================
public:
    void initWindowShell();
    void hidePages();
    void hideNotices();

    // ---- end of window shell section ----


    // =====================================================================
    // Device link: start-up, command steps, connection sequence, port
    // conflicts, presence poll, reboot, watchdog, exit (devicelink/)
    // =====================================================================
public:
    void initEnvironment();
    void initLibraryPaths();
    void initStepProcesses();
    void initStepTimers();
    void initDeviceWatcher();
    void teardownDeviceLink();

    QTimer *m_timerTestPort = nullptr;
    QTimer *m_timerSlotDeviceIn = nullptr;
    QTimer *m_timerTestCheckAppQuited = nullptr;
    bool m_rebootDone = false;
    bool m_isAfterReboot = false;

    // pending (workflow)
    void testReboot();
    void closeProgram();

    // ---- end of device link section ----


    // =====================================================================
    // Companion protocol: session, framing, requests, replies, records
    // (protocol/)
    // =====================================================================
public:
    void initSession();
    void teardownSession();

    QTcpSocket *m_tcpSocket = nullptr;

    // Per-category state, indexed by Category.
    bool m_dataReadable[CategoryCount] = {};
    bool m_scanDone[CategoryCount] = {};
    quint16 m_gotCount[CategoryCount] = {};
    QString m_chunkText[CategoryCount];
    bool m_eraseSelected[CategoryCount] = {};
    bool m_eraseBack[CategoryCount] = {};
    bool m_eraseDone[CategoryCount] = {};
    bool m_eraseFinished[CategoryCount] = {};
    quint16 m_eraseSentCount[CategoryCount] = {};
    quint16 m_eraseFailCount[CategoryCount] = {};
    bool m_appDirFound[AppCategoryCount] = {}; // indexed Facebook..Whatsapp minus FirstAppCategory

    bool m_homeInfoReadable = false;
    bool m_messageCountReadable = false;
    quint16 m_messageCount = 0;
    bool m_checkSmsAppReadable = false;
    bool m_isDefaultSmsApp = false;
    bool m_changeSmsAppReadable = false;
    bool m_changeSmsAppOk = false;
    bool m_cancelScanBack = false;
    bool m_cancelEraseBack = false;
    bool m_stopGetPhotoBack = false;
    bool m_leftTimeReadable = false;
    bool m_sdkGate[4] = {};
    quint16 m_photoCount = 0;
    int m_sdkLevel = 0;

    // Records: id -> record, name -> id (multi), number -> id (multi).
    QMap<QString, QString> m_contactMapIdData;
    QMultiMap<QString, QString> m_contactMapNameId;
    QMultiMap<QString, QString> m_contactMapNumberId;
    QMap<QString, QString> m_historyMapIdData;
    QMultiMap<QString, QString> m_historyMapNameId;
    QMultiMap<QString, QString> m_historyMapNumberId;
    QMap<QString, QString> m_messageMapIdData;
    QMultiMap<QString, QString> m_messageMapNameId;
    QMultiMap<QString, QString> m_messageMapNumberId;
    QStringList m_photoDir;
    QStringList m_audioDir;
    QStringList m_vedioDir;
    QStringList m_facebookDir;
    QStringList m_twitterDir;
    QStringList m_skypeDir;
    QStringList m_viberDir;
    QStringList m_kikmessengerDir;
    QStringList m_whatsappDir;

    QMap<QString, QImage *> m_photoMapNameImage; // owned images
    QStringList m_photoGotList;

    QStringList m_contactToEraseList;
    QStringList m_historyToEraseList;
    QStringList m_messageToEraseList;
    QStringList m_photoToEraseList;
    QStringList m_audioToEraseList;
    QStringList m_vedioToEraseList;

    quint16 m_levelToErase = 3;

    // Home info.
    QStringList m_homeInfoList;
    QString m_phoneModel;
    QString m_systemVersion;
    QString m_sdkLevelText;
    QString m_homeInfoField4;
    QString m_romTotal;
    QString m_romFree;
    QString m_sdTotal;
    QString m_sdFree;

    // Time estimates, written by the left-time replies and counted down by the
    // workflow (seconds).
    float m_scanSecondsPerItem[CategoryCount] = {};
    float m_eraseSecondsPerItem[CategoryCount] = {};
    float m_expectedScanTime[CategoryCount] = {};
    float m_expectedEraseTime[CategoryCount] = {};
    float m_scanLeftAll = 0, m_scanLeftPrivate = 0, m_scanLeftApp = 0;
    float m_eraseLeftAll = 0, m_eraseLeftPrivate = 0, m_eraseLeftApp = 0;

    QTimer *m_timerNewTCPConnected = nullptr;
    QTimer *m_timerHomeInfoReadable = nullptr;

    // pending (workflow): senders used by the scan and erase workflow
    void getContact();
    void getHistory();
    void getMessage();
    void getPhotoDir();
    void getAudioDir();
    void getVedioDir();
    void getFacebookDir();
    void getTwitterDir();
    void getSkypeDir();
    void getViberDir();
    void getKikMessengerDir();
    void getWhtatsAppDir();
    void sendCancelScan();
    void sendCancelErase();
    void checkApkIsDefaultSMSApp();
    void changeDefaultSMSApp();
    void sendCloseProgram();
    void sendPrivateLeftTime();
    void sendAllLeftTime();
    void sendAppLeftTime();
    void sendStopGetPhoto();
    void sendEraseBegin();
    void sendEraseContact();
    void sendEraseHistory();
    void sendEraseMessage();
    void sendErasePhoto();
    void sendEraseAudio();
    void sendEraseVedio();
    void sendEraseAllContact();
    void sendEraseAllHistory();
    void sendEraseAllMessage();
    void sendEraseAllPhoto();
    void sendEraseAllAudio();
    void sendEraseAllVedio();
    void sendEraseAllFacebook();
    void sendEraseAllTwitter();
    void sendEraseAllSkype();
    void sendEraseAllViber();
    void sendEraseAllKik();
    void sendEraseAllWhatsapp();
    void getMessageCount();
    QElapsedTimer m_etEraseHistory, m_etEraseMessage, m_etErasePhotoDir, m_etEraseAudioDir, m_etEraseKik;
    void sendGetPhotoByName(const QString &location);

    // ---- end of protocol section ----


    // =====================================================================
    // Scan and erase workflow: states, scan, erase, countdown, cancel, close
    // (workflow/)
    // =====================================================================
public:
    void initWorkflowTimers();
    void stopActivityTimers();

    ProgramType m_programType = ProgramType::ConnectingDevice;
    WorkPhase m_workPhase = None;
    AppStateType m_appState = AppStateType::Active;
    EraseType m_eraseType = EraseType::All;
    int m_pageEraseType = static_cast<int>(EraseType::All);
    bool m_scanCancelRequested = false;
    bool m_eraseCancelRequested = false;
    int m_privateProgress = 0, m_appProgress = 0, m_allProgress = 0, m_eraseProgress = 0;
    QTimer *m_timerDecreaseScanTime = nullptr;
    QTimer *m_timerDecreaseEraseTime = nullptr;

    QTimer *m_timerCheckStopGetPhotoBeforeScan = nullptr;
    QTimer *m_timerCheckStopGetPhotoSwitchedAllApp = nullptr;
    QTimer *m_timerLeftTimeReadable = nullptr;
    QTimer *m_timerAllDataReadable = nullptr;
    QTimer *m_timerCheckCancelScan = nullptr;
    QTimer *m_timerCheckStopGetPhotoBeforeErase = nullptr;
    QTimer *m_timerCheckApkIsDefaultSMSAppReadable = nullptr;
    QTimer *m_timerChangeDefaultSMSAppReadable = nullptr;
    QTimer *m_timerAllDataErased = nullptr;
    QTimer *m_timerCheckCancelErase = nullptr;

    // The run has counted the category and moved past it.
    bool m_eraseStepPassed[CategoryCount] = {};
    // Erase estimates of the current run: scaled by the level from the
    // left-time reply's values (which stay as the reply gave them) at the
    // start of every run; the erase countdown caps with these.
    float m_eraseTimeOfRun[CategoryCount] = {};

    // Widgets of the form the workflow prepares once the form is built.
    void initWorkflowWidgets();
    class QButtonGroup *m_appButtonGroup = nullptr; // non-exclusive: any number of apps

    // Scope buttons and the scan page.
    void setEraseType(EraseType et);
    void showScanPage(EraseType et);
    void setScopeButtonsEnabled(bool enabled);
    QList<QTimer *> deviceLinkStepTimers();
    // Failed count of a category's final erase answer, when the decoder keeps
    // it; the item-failed replies are counted in m_eraseFailCount.
    quint32 m_eraseBackFailCount[CategoryCount] = {};
    void resetScanState();
    void appendTrace(const QString &token);

    // Scan chain. A renderer that has drawn a category calls
    // scanCategoryRendered(category): it adds the category's share to the
    // scope's progress and asks for the next category (or repeats the cancel
    // request while a cancel is pending). askScanCategory applies the skip rule.
    void askScanCategory(int category);
    void scanCategoryRendered(int category);
    int &scanProgressOfScope();
    bool privateDataReadable() const;
    bool appDataReadable() const;

    // Erase run.
    void setEraseLevel(ushort levelToErase);
    void openConfirmPage(const QString &title);
    void beginErasing();
    void startEraseRun();
    void sendEraseStep(int category);
    void finishEraseRun();
    float &eraseLeftOfScope();
    float &scanLeftOfScope();

    // Countdown pause while the companion app is in the background.
    void pauseCountdownForBackground();
    void resumeCountdownForForeground();

public slots:
    void on_S_All_Button_clicked();
    void on_S_Private_Button_clicked();
    void on_S_App_Button_clicked();
    void on_EAll_Label_ToScan_clicked();
    void checkStopGetPhotoBeforeScan();
    void checkStopGetPhotoSwitchedAllApp();
    void leftTimeReadable();
    void getData();
    void getPrivate();
    void getApp();
    void getAppDir();
    void allDataReadable();
    void updateAllUI();
    void updatePrivateUI();
    void updateAppUI();
    void decreaseScanTime();
    void decreaseEraseTime();

    void on_EP_IsScanning_PushButton_Erase_clicked();
    void checkStopGetPhotoBeforeErase();
    void on_EApp_PushButton_Erase_clicked();
    void on_EApp_RatioButton_SelectAll_clicked();
    void on_M_ConformErase_LineEdit_InputErase_cursorPositionChanged(int oldPos, int newPos);
    void on_M_ConformErase_PushButton_Setting_clicked();
    void on_T_M_SelectLevel_RatioButton_HighLevel_clicked();
    void on_T_M_SelectLevel_RatioButton_MediumLevel_clicked();
    void on_T_M_SelectLevel_RatioButton_LowLevel_clicked();
    void on_T_M_SelectLevel_PusuButton_OK_clicked();
    void on_T_M_SelectLevel_PusuButton_Cancel_clicked();
    void on_T_M_SelectLevel_PushButton_Close_clicked();
    void on_M_ConformErase_PushButton_Back_clicked();
    void on_M_ConformErase_PushButton_EraseNow_clicked();
    void on_T_D_ConformEraseLineEditIsImpty_PushButton_Ok_clicked();
    void on_T_D_ConformEraseLineEditIsImpty_Close_clicked();
    void on_T_D_SelectedItemLessOne_PushButton_Ok_clicked();
    void on_T_D_SelectedItemLessOne_Close_clicked();
    void checkApkIsDefaultSMSAppReadable();
    void changeDefaultSMSAppReadable();
    void allDataErased();
    void on_M_EraseComplated_PushButton_Home_clicked();
    void on_T_D_FactoryDataReset_PushButton_Ok_clicked();
    void on_T_D_FactoryDataReset_Close_clicked();

    void on_M_All_Private_IsScanning_pushButton_Stop_clicked();
    void on_T_D_IsScanning_Stop_PushButton_Ok_clicked();
    void on_T_D_IsScanning_Stop_PushButton_Cancel_clicked();
    void on_T_D_IsScanning_Stop_Close_clicked();
    void checkCancelScan();
    void on_M_IsErasing_PubuButton_Stop_clicked();
    void on_T_D_IsErasing_Stop_PushButton_Ok_clicked();
    void on_T_D_IsErasing_Stop_PushButton_Cancel_clicked();
    void on_T_D_IsErasing_Stop_Close_clicked();
    void checkCancelErase();
    void on_S_Close_Button_clicked();
    void on_T_D_Exit_PushButton_clicked();
    void closeByUser();

public:
    // ---- end of workflow section ----


    // =====================================================================
    // Result browser: category tables, selection, thumbnails, search
    // (browser/)
    // =====================================================================
public:
    void initBrowserTimers();

    // Tables: created once while the pages are built, found by object name.
    void createCategoryTables();
    void loadTableIcons();
    QTableWidget *categoryTable(int category) const;
    // Empties the tables, records, to-erase lists and photo images of the
    // current scope when a new scan starts.
    void clearResultTables();
    static QString formatSize(qint64 bytes);

    // The category buttons and the app page, as a scan ends.
    void selectCategory(int category);
    void updateAppView();

    int m_contactMinRow = 11;
    int m_historyMinRow = 11;
    int m_messageMinRow = 8;
    int m_photoMinRow = 8;
    int m_audioMinRow = 8;
    int m_vedioMinRow = 8;
    bool m_contactLessMin = false;
    bool m_historyLessMin = false;
    bool m_messageLessMin = false;
    bool m_photoLessMin = false;
    bool m_audioLessMin = false;
    bool m_vedioLessMin = false;
    QList<QTableWidgetItem *> m_contactTableItems;
    QList<QTableWidgetItem *> m_historyTableItems;
    QList<QTableWidgetItem *> m_messageTableItems;
    QList<QTableWidgetItem *> m_photoTableItems;
    QList<QTableWidgetItem *> m_audioTableItems;
    QList<QTableWidgetItem *> m_vedioTableItems;
    QList<QTableWidget *> m_tableList;
    int m_currentCategory = Contact;

    QIcon m_iconUnchecked;
    QIcon m_iconChecked;
    QIcon m_iconContact;
    QIcon m_iconAudio;
    QIcon m_iconVedio;
    QIcon m_iconContactItemUnchecked;
    QIcon m_iconContactItemChecked;
    QIcon m_iconMessageItemUnchecked;
    QIcon m_iconMessageItemChecked;
    QIcon m_iconDelete;

    // Search.
    bool m_contactSearching = false;
    bool m_historySearching = false;
    bool m_messageSearching = false;
    QMultiMap<QString, QString> m_contactSearchMapNumberId;
    QMultiMap<QString, QString> m_historySearchMapNumberId;
    QMultiMap<QString, QString> m_messageSearchMapNumberId;
    void runSearch();
    void endSearches();

    // Photo thumbnails.
    quint16 m_photoRequestCount = 0;
    QList<QIcon> m_photoIconList;
    int m_photoScrollValue = 0;
    QTimer *m_timerGetPhotoByTime = nullptr;
    QTimer *m_timerUpdateTablePhoto = nullptr;
    void startPhotoFetching();
    void stopPhotoFetching();

public slots:
    void updateContactUI();
    void updateHistoryUI();
    void updateMessageUI();
    void updatePhotoUI();
    void updateAudioUI();
    void updateVedioUI();
    void updateContactUI_N_Search();
    void updateHistoryUI_N_Search();
    void updateMessageUI_N_Search();

    void on_EP_IsScanning_PushButton_Contact_clicked();
    void on_EP_IsScanning_PushButton_CallHistory_clicked();
    void on_EP_IsScanning_PushButton_Message_clicked();
    void on_EP_IsScanning_PushButton_Photo_clicked();
    void on_EP_IsScanning_PushButton_Audio_clicked();
    void on_EP_IsScanning_PushButton_Vedio_clicked();

    void tableContactItemSlot(QTableWidgetItem *item);
    void tableHistoryItemSlot(QTableWidgetItem *item);
    void tableMessageItemSlot(QTableWidgetItem *item);
    void tablePhotoItemSlot(QTableWidgetItem *item);
    void tableAudioItemSlot(QTableWidgetItem *item);
    void tableVedioItemSlot(QTableWidgetItem *item);
    void tableContactVerticalHeadSlot(int row);

    void getPhotoByTime();
    void updateTablePhoto();

    void on_EP_IsScanning_PusuButton_SearchButton_clicked();
    void on_EP_IsScanning_TextBroswerEditor_returnPressed();
    void on_EP_IsScanning_TextBroswerEditor_editingFinished();

public:
    // Internals shared by the six categories.
    struct TableSpec;
    static const TableSpec &tableSpec(int category);
    void fillKeyedTable(int category, bool rebuild);
    void fillFileTable(int category);
    void advanceScanAfter(int category);
    void clickRow(int category, QTableWidgetItem *item);
    QStringList rowIds(int category, int row) const;
    void showRowDetails(int category, int row, const QStringList &ids);
    void clearRowDetails(int category);
    template <class T> T *browserWidget(const char *name) const
    {
        return findChild<T *>(QLatin1String(name));
    }

    // ---- end of browser section ----
};
