#pragma once

#include <QBitArray>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QList>
#include <QMainWindow>
#include <QMap>
#include <QVector>
#include <QMultiHash>
#include <QMultiMap>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

#include "app/formpictures.h" // the form's pixmap function
#include "app/tracetail.h"
#include "browser/photodecoder.h"
#include "devicelink/linkhelp.h"
#include "devicelink/outputrules.h"
#include "protocol/categories.h"
#include "protocol/frame.h"
#include "protocol/records.h"
#include "workflow/eraseaccount.h"
#include "workflow/eraseverification.h"
#include "workflow/eraserecord.h"
#include "workflow/recordwriter.h"
#include "workflow/programstate.h"

namespace Ui {
class MainWindow;
}

class QDeviceWatcher;
class QKeyEvent;
class QLabel;
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
    // Puts every notice window back at its fixed offset from the window.
    void placeNotices();
    // Opens or closes the hover menu for a mouse position in window coordinates.
    void updateMenuHover(const QPoint &pos);

    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    // The first show leaves the styling of the pages and notices not on
    // screen until they are needed (app/deferredstyle.h).
    void setVisible(bool visible) override;
    // What the first frame does not wait for (the category tables, the
    // styling of the pages and notices behind): after the first frame, or
    // at the first turn of the event loop when the window is not shown.
    void finishStartup();
    bool m_shownOnce = false;
    bool m_startupFinished = false;
    // The sentences of two pages pieced together from labels, each piece as
    // wide as its text: done when either page is first shown.
    void layOutSentences();
    bool m_sentencesLaidOut = false;
    // A close from outside the window (Alt+F4, the taskbar, a close message)
    // is the user's close.
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *) override {}
    void mouseReleaseEvent(QMouseEvent *) override {}
    void mouseMoveEvent(QMouseEvent *) override {}

    // The twelve pages, in their fixed order.
    QList<QWidget *> m_pageList;
    // Every notice window with its offset from the window's top-left corner.
    QList<QPair<QWidget *, QPoint>> m_noticeList;

    bool m_mousePressed = false;
    bool m_windowDragging = false;
    QPoint m_pressOffset; // global mouse position - window position at the press
    QPoint m_pressGlobal;

public slots:
    void on_S_MyPhone_Button_clicked();
    void on_S_Min_Button_clicked();
    void on_S_Menu_Button_clicked();
    void openAboutUrl(QString s);
    void on_T_D_Help_PushButton_clicked();
    void on_T_D_About_PushButton_clicked();
    void on_T_D_About_Exit_PushButton_clicked();
    void on_T_D_About_Label_Url_clicked();
    void on_MP_D_ConnectedError_Button_Url_clicked();
    void on_MP_D_ConnectedError_Button_Ok_clicked();
    void on_MP_D_ConnectedError_Button_Close_clicked();
    void on_A_MP_D_ReconnectDevice_Ok_clicked();
    void on_A_MP_D_ReconnectDevice_PushButton_Close_clicked();
    void on_A_MP_D_PortUsed_PushButton_Close_clicked();

public:
    // ---- end of window shell section ----


    // =====================================================================
    // Keyboard and screen readers (app/keyboard.cpp, app/accessibility.cpp)
    // =====================================================================
public:
    // Focus for every control, the tab order of every page and notice, the
    // focus marks, and the keys: Space and Enter press the focused control,
    // Escape closes a notice as its Cancel (or OK) does, the tables' rows are
    // moved through with the arrows and ticked with Space, F6 goes between
    // the window and its open notices, Ctrl+F reaches the search field.
    void initKeyboard();
    // The parts made once the form's pages are filled (the category tables).
    void initTableKeyboard();
    // Focus rules every control of the window inherits (from the central
    // widget's style sheet).
    static QString focusStyleSheet();
    // Keys, pages and notices coming and going, focus of the tables: called
    // by the window's event filter for every event of the program.
    bool keyboardEvent(QObject *watched, QEvent *e);
    bool handleKey(QWidget *target, QKeyEvent *key);
    void pageShown(QWidget *page);
    void noticeShown(QWidget *notice);
    void noticeHidden(QWidget *notice);
    // The control a page's keyboard user starts on.
    QWidget *pageEntry(QWidget *page) const;
    QWidget *noticeEscapeButton(QWidget *notice) const;
    QWidget *noticeEntry(QWidget *notice) const;
    void openMenuByKeyboard();
    void closeKeyboardMenu(bool refocusButton);
    void cycleWindows();
    bool m_menuByKeyboard = false;
    QList<QWidget *> m_topBarOrder;
    QHash<QWidget *, QList<QWidget *>> m_tabOrder; // per page and notice, in order

    // Accessible names and descriptions of every control, notice and table
    // cell; the notices are announced as dialogs with their text.
    void initAccessibility();
    void describeNotice(QWidget *notice);
    void nameCategoryButton(int category, int count);

    // The confirm page names what Erase Now will erase.
    void showEraseSummary();

public:
    // ---- end of keyboard and screen reader section ----


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
    void initLinkNotices();
    void teardownDeviceLink();

    // The command steps, one process each (the probe runs on the device
    // probe's process; the presence poll and the hand-back run no command of
    // their own).
    enum DeviceStep {
        StepTestPort,
        StepTestGetOtherSoftPidBy5037,
        StepTestGetOtherSoftNameByPid,
        StepTestKillAdb,
        StepTestStartAdb,
        StepTestUsb,
        StepTestRsa,
        StepTestKillAdbForRsa,
        StepTestCheckHasApk,
        StepTestInstallApk,
        StepTestStartActivity,
        StepTestForwardAdb,
        StepTestGetOtherSoftPidBy10000,
        StepTestGetOtherSoftNameByPid_10000,
        StepTestKillOtherSoftBy10000,
        StepTestGetPower,
        StepTestGetSerial,
        StepTestAdbDevices,
        StepTestCheckAppQuited,
        StepTestReboot,
        StepSlotDeviceIn,
        StepHandBack,
        StepCloseProgram,
        StepBootCheck,
        DeviceStepCount
    };
    // What one step's command left: the collected standard output (output
    // buffer), the number of output chunks (read counter), whether the
    // command failed (error flag), and the texts of its last run (for the
    // notices that quote the tool).
    struct StepIo
    {
        QProcess *process = nullptr;
        QString output;
        int readTimes = 0;
        bool error = false;
        QString lastOutput;
        QString lastError;
    };
    StepIo m_step[DeviceStepCount];

    // A step declared once: command, time-out, probe, log texts, output rule
    // and outcome rows (devicelink/stepdef.h).
    struct StepDef;
    // The step whose command (or whose device probe) runs now; one at a time.
    const StepDef *m_runningStep = nullptr;
    bool m_stepProbing = false;
    QTimer *m_timerStepTimeout = nullptr;

    // Time-outs of the commands: `adb devices` and the Windows commands;
    // other adb commands; `adb install`, counted from its last output.
    int m_shortCommandMs = 5000;
    int m_adbCommandMs = 30000;
    int m_installSilenceMs = 300000;

    // Programs run by the steps (see devicelink/toollocator.h).
    QString m_adbProgram;
    QString m_netstatProgram;
    QString m_tasklistProgram;
    QString m_taskkillProgram;

    QDeviceWatcher *m_deviceWatcher = nullptr;

    // adb's own device tracking (`adb track-devices`) beside the loops that
    // wait for a phone (presence.cpp): while it runs and has listed the
    // devices, such a loop asks `adb devices` every m_trackedWaitMs instead
    // of every 100 ms, and a change of the list wakes it at once.
    QProcess *m_deviceTracker = nullptr;
    devicelink::TrackedDeviceLists m_trackedLists;
    bool m_deviceTracking = false;   // the tracker runs and has listed the devices
    bool m_trackedListChanged = false; // a list came since a waiting loop last armed
    QElapsedTimer m_trackerStarted;  // the tracker's last start
    int m_trackerRetryMs = 10000;    // a tracker that ended is started again no sooner
    int m_trackedWaitMs = 5000;
    QTimer *m_phoneWaitTimer = nullptr; // the waiting loop's timer, which a change wakes
    void armPhoneWait(QTimer *timer);
    void startDeviceTracking();
    void stopDeviceTracking();
    void deviceTrackerOutput();
    void deviceTrackerEnded();
    void wakePhoneWait();

    // The steps armed by a timer of their own, each with the slot its timer
    // runs: the one list of them (devicelink/startup.cpp). Set-up makes one
    // timer per row, the stop lists and the tests walk it.
    enum StepTimerKind { LinkStep, Watchdog }; // the watchdog is not stopped with the link
    struct TimedStep
    {
        DeviceStep step;
        void (MainWindow::*run)();
        StepTimerKind kind;
    };
    static const QVector<TimedStep> &timedSteps();
    // Their timers, indexed by DeviceStep; null for the steps run directly
    // (the reboot, the boot check, the hand-back, the exit command).
    QTimer *m_stepTimer[DeviceStepCount] = {};

    // Shared device state.
    bool m_hasDevice = false;
    bool m_isOffline = false;
    bool m_rebootDone = false;
    bool m_isAfterReboot = false;
    bool m_presenceSawArrival = false; // the presence poll began on an arrival
    // After a reboot: when the reboot command was started, the uptime the
    // boot check last read (-1: unreadable), and how long after the command a
    // listed phone that is never seen to restart is taken as it is.
    QElapsedTimer m_rebootClock;
    qint64 m_phoneUptimeMs = -1;
    int m_rebootSettleMs = 90000;

    // Results of the steps.
    bool m_port5037Used = false;
    QString m_otherSoftPid5037;
    QString m_otherSoftName5037;
    bool m_adbKilled = false;
    bool m_adbStarted = false;
    bool m_usbOpened = false;
    bool m_adbEmpty = false;
    int m_usbListed = 0;            // devices `adb devices` listed
    bool m_usbNoPermissions = false; // a phone this user may not reach (Linux)
    bool m_isAuthorized = false;
    bool m_adbKilledForRsa = false;
    bool m_hasApk = false;
    bool m_apkInstalled = false;
    bool m_activityStarted = false;
    bool m_portForwarded = false;
    QString m_otherSoftPid10000;
    QString m_otherSoftName10000;
    bool m_otherSoftKilled = false;
    bool m_gotPower = false;
    QString m_powerLevel;
    bool m_gotSerial = false;
    QString m_serialNo;
    bool m_appQuited = false;

    // Set once the exit command has been started.
    bool m_closeRequested = false;

    // The step engine (devicelink/stepengine.cpp).
    void runStep(const StepDef &def);
    void startStepCommand(const StepDef &def);
    void stepOutput(DeviceStep step);
    void stepCommandDone(DeviceStep step, int exitCode);
    void stepCommandNotStarted(DeviceStep step);
    void stepTimedOut();
    void judgeStep(const StepDef &def, int exitCode);
    void endStepCommand(const StepDef &def, bool failed);
    void finishStep(const StepDef &def);
    void retireStepProcess(DeviceStep step);
    // A step's process object, run in the program's environment as it is
    // now, or in the one read for a sibling made just before (the window's
    // steps are all made at once).
    QProcess *newStepProcess(DeviceStep step, const QProcess *sameEnvironmentAs = nullptr);
    void abandonRunningStep();
    // Stops every step of the device link, the watchdog included, and
    // abandons the command in flight.
    void stopDeviceLink();
    // Abandons the step in flight when its timer is one of these (the
    // caller has stopped them).
    void abandonStepsOf(const QList<QTimer *> &timers);
    // A step other than the companion watchdog runs its command now.
    bool deviceLinkStepRunning() const;
    bool takeStepError(DeviceStep step);
    QString stepComplaint(DeviceStep step) const;
    QString programOf(const StepDef &def) const;
    void appendStepTrace(const char *tag);

    // Outcome helpers.
    void fallBackToPresencePoll(bool reset = true);
    void showPhonePage();
    void armStep(QTimer *timer, int ms);
    void armStep(DeviceStep step, int ms) { armStep(m_stepTimer[step], ms); }
    QString companionPackagePath() const;
    QStringList tasklistArgs5037() const;
    QStringList tasklistArgs10000() const;
    QStringList taskkillArgs10000() const;
    QStringList installArgs() const;

    // Output rules of the steps (the output on exit code 0, nullptr when
    // the command failed) and their outcome rows (phoneListed: the device
    // probe's answer, for the steps that probe).
    void judgePort(const QString *out);
    void judgePid5037(const QString *out);
    void judgeName5037(const QString *out);
    void judgeKillAdb(const QString *out);
    void judgeStartAdb(const QString *out);
    void judgeUsb(const QString *out);
    void judgeRsa(const QString *out);
    void judgeKillAdbForRsa(const QString *out);
    void judgeHasApk(const QString *out);
    void judgeInstall(const QString *out);
    void judgeActivity(const QString *out);
    void judgeForward(const QString *out);
    void judgePid10000(const QString *out);
    void judgeName10000(const QString *out);
    void judgeKill10000(const QString *out);
    void judgePower(const QString *out);
    void judgeSerial(const QString *out);
    void judgeDevices(const QString *out);
    void judgeAppQuited(const QString *out);
    void judgeBootCheck(const QString *out);
    void decidePort(bool);
    void decidePid5037(bool);
    void decideName5037(bool);
    void decideKillAdb(bool);
    void decideStartAdb(bool);
    void decideUsb(bool);
    void decideRsa(bool);
    void decideKillAdbForRsa(bool);
    void decideHasApk(bool phoneListed);
    void decideInstall(bool phoneListed);
    void decideActivity(bool phoneListed);
    void decideForward(bool phoneListed);
    void decidePid10000(bool phoneListed);
    void decideName10000(bool phoneListed);
    void decideKill10000(bool phoneListed);
    // A failed reading tries its own step again; a value arms `next`.
    void decideReading(DeviceStep step, bool got, bool phoneListed, QTimer *next, const char *gotLog,
                       const char *failLog);
    void decidePower(bool phoneListed);
    void decideSerial(bool phoneListed);
    void decideAppQuited(bool phoneListed);
    void decideReboot(bool);
    void decideBootCheck(bool);
    // After a reboot, with the phone listed: has it restarted since?
    void testBootCheck();
    // Phone listed but not usable yet: the USB page and the reconnect
    // notice, and the USB step again in 100 ms.
    void showWaitingForUsb();
    void waitForUsb();
    void decideClose(bool);
    void decidePresence(bool phoneListed);
    void decideHandBack(bool phoneListed);
    void onInstallChunk();

    // Pages and notices of the device link. Every switch the link makes goes
    // through these. While m_reportHeld is set (a report the user is reading
    // stays in front) they only remember what the link wants: its last page
    // and its notices; the link itself goes on. releaseReport() clears the
    // flag and shows what the link wants now.
    void showLinkPage(QWidget *page);
    void showLinkNotice(QWidget *notice);
    void hideLinkNotice(QWidget *notice);
    void releaseReport();
    bool m_reportHeld = false;
    QWidget *m_linkPage = nullptr;  // the page the link last wanted
    QList<QWidget *> m_linkNotices; // the notices the link wants shown

    // Loops that waiting cannot end: each kind is noted on every round and
    // told to the user once it has lasted m_problemGraceRounds rounds or
    // m_problemGraceMs; the loop goes on behind the notice, and the round
    // that gets past the cause clears it (devicelink/linkhelp.h). From its
    // first round, a problem that leaves no phone usable keeps the phone
    // page away.
    struct ProblemWatch
    {
        int rounds = 0;
        qint64 firstSeenMs = 0;
        QString detail;
        bool told = false;
    };
    ProblemWatch m_problems[devicelink::LinkProblemCount];
    int m_problemGraceRounds = 3;
    int m_problemGraceMs = 3000;
    int m_helpProblem = -1; // the problem the help notice tells (-1: none)
    // Behind a notice the loop retries calmly: a round that meets a problem
    // the user has been told of arms its next step no sooner than this.
    int m_toldRetryMs = 1000;
    bool m_retryCalmly = false; // the running round met a told problem
    void retryCalmly();
    void noteLinkProblem(devicelink::LinkProblem problem, const QString &detail = QString());
    void clearLinkProblem(devicelink::LinkProblem problem);
    void clearLinkProblems();
    void tellLinkProblem(devicelink::LinkProblem problem);
    QWidget *noticeOf(devicelink::LinkProblem problem) const;
    bool phoneUnusable() const;
    void noteInstallProblem();

public slots:
    void resetAdbCheckState();
    void testAdbDevices();
    void testReboot();
    void closeProgram();
    // The session gave up: the device link takes over, at the package check
    // while the phone is listed, else at the port check.
    void handBackToDeviceLink();

    void testPort();
    void testGetOtherSoftPidBy5037();
    void testGetOtherSoftNameByPid();
    void testKillAdb();
    void testStartAdb();
    void testUsb();
    void testRsa();
    void testKillAdbForRsa();
    void testCheckHasApk();
    void testInstallApk();
    void testStartActivity();
    void testForwardAdb();
    void testGetOtherSoftPidBy10000();
    void testGetOtherSoftNameByPid_10000();
    void testKillOtherSoftBy10000();
    void testGetPower();
    void testGetSerial();
    void testCheckAppQuited();
    void slotDeviceIn();

    void on_A_MP_D_LinkHelp_PushButton_Ok_clicked();
    void on_A_MP_D_LinkHelp_PushButton_Close_clicked();

public:
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
    quint32 m_gotCount[CategoryCount] = {};
    // The unfinished record of a list whose pieces are still arriving.
    QString m_chunkText[CategoryCount];
    bool m_eraseSelected[CategoryCount] = {};
    bool m_eraseBack[CategoryCount] = {};
    bool m_eraseDone[CategoryCount] = {};
    bool m_eraseFinished[CategoryCount] = {};
    quint32 m_eraseSentCount[CategoryCount] = {};
    quint32 m_eraseFailCount[CategoryCount] = {};
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
    // Open until a left-time reply with gates closes one: the app-scope reply
    // carries none, so an app scan on a new connection is not refused.
    bool m_sdkGate[4] = {true, true, true, true};
    quint16 m_photoCount = 0;
    int m_sdkLevel = 0;

    // Records: id -> record (protocol/recordstore.h), name -> id (multi), number -> id (multi).
    proto::RecordStore m_contactMapIdData;
    QMultiMap<QString, QString> m_contactMapNameId;
    proto::NumberIndex m_contactMapNumberId;
    proto::RecordStore m_historyMapIdData;
    QMultiMap<QString, QString> m_historyMapNameId;
    proto::NumberIndex m_historyMapNumberId;
    proto::RecordStore m_messageMapIdData;
    QMultiMap<QString, QString> m_messageMapNameId;
    proto::NumberIndex m_messageMapNumberId;
    // Keys of records whose id the list held more than once, to the id the
    // phone gave: shown, never chosen nor sent (protocol/records.h).
    QHash<QString, QString> m_contactAmbiguous;
    QHash<QString, QString> m_historyAmbiguous;
    QHash<QString, QString> m_messageAmbiguous;
    QStringList m_photoDir;
    QStringList m_audioDir;
    QStringList m_vedioDir;
    QStringList m_facebookDir;
    QStringList m_twitterDir;
    QStringList m_skypeDir;
    QStringList m_viberDir;
    QStringList m_kikmessengerDir;
    QStringList m_whatsappDir;

    QStringList m_photoGotList;
    // Locations of the photos asked for and not yet answered, oldest first:
    // the companion app answers them in order, so a photo reply belongs to
    // the oldest of them that names its file.
    QStringList m_photoRequested;

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

    // Session.
    quint16 m_companionPort = 10000; // where the adb forward lands
    proto::FrameAssembler m_receiveFrames; // received bytes not yet consumed as frames
    int m_connectFailTimes = 0;
    bool m_homeInfoRequested = false;
    // The phone page has shown this connection's home info: a further reply
    // updates the page only when it tells something new.
    bool m_homeInfoShown = false;
    bool m_receivedHttp = false;
    // The home-info poll after the request: every m_homeInfoPollMs, given up
    // after 100 rounds without a reply (about 10 s).
    int m_homeInfoReadTimes = 0;
    int m_homeInfoPollMs = 100;
    int m_connectedCount = 0;

    // Lists are cut into records as their pieces arrive, so no list is held
    // whole. What one scan stores per category is bounded far above any real
    // phone, and so is a single record; a category whose list hit a bound is
    // incomplete: it is reported so, never as empty or erased. Cleared when a
    // scan of the category starts.
    bool m_listIncomplete[CategoryCount] = {};
    // A category of the scan that could not be read at all (the phone
    // answered its list request with a failure, or its gate was closed):
    // why, or empty. It is reported as not read, never as empty or erased.
    QString m_listNotRead[CategoryCount];
    // Records per category the left-time reply announced (-1: none came).
    qint64 m_announcedCount[CategoryCount] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    qint64 m_maxListRecords = 2000000;             // records or entries per category
    qint64 m_maxListChars = 256LL * 1024 * 1024;   // their text, per category
    int m_maxRecordChars = 1024 * 1024;            // one record
    qint64 m_listStoredRecords[CategoryCount] = {};
    qint64 m_listStoredChars[CategoryCount] = {};
    bool m_listStopped[CategoryCount] = {}; // a bound was reached: the rest is passed over
    bool m_chunkOverflow[CategoryCount] = {}; // passing over a record beyond m_maxRecordChars
    // The photo accumulator is bounded: a peer that sends more (far beyond
    // any real photo) has the excess dropped with a log line.
    int m_maxAccumulatorBytes = 64 * 1024 * 1024;
    QByteArray m_photoData; // photo data accumulator
    bool m_photoOverflow = false;
    QString m_photoDataName;       // the photo being gathered
    int m_photoDataNextChunk = -1; // the chunk index it needs next; -1: none (or a chunk went missing)

    // The receive loop decodes at most this much per pass of the event loop,
    // then continues on the next pass.
    int m_receivePassBytes = 4 * 1024 * 1024;
    int m_receivePassFrames = 2000;
    int m_receivePassMs = 20;
    QTimer *m_timerReceiveData = nullptr; // the receive loop's next pass

    // Stopwatches of scan and erase requests.
    QElapsedTimer m_etScanContact, m_etScanHistory, m_etScanMessage, m_etScanPhotoDir, m_etScanAudioDir,
        m_etScanKik;
    QElapsedTimer m_etEraseContact, m_etEraseHistory, m_etEraseMessage, m_etErasePhotoDir,
        m_etEraseAudioDir, m_etEraseKik;

    // Requests go out in the order they are asked for. A request is
    // written at once; an erase batch is written in slices as the socket
    // takes the bytes (bytesWritten, or the next pass of the event loop when
    // a pass has taken its time), so that the window never stands still for
    // it, and what is asked for meanwhile waits behind the batch.
    void writeRequest(const QByteArray &frame);
    struct Outgoing
    {
        QByteArray frame; // a request, written whole
        // ... or an erase batch (category >= 0), written in slices:
        int category = -1;
        quint16 type = 0;
        quint16 level = 0;
        QStringList keys;    // in sending order, numbered from 1
        QVector<int> places; // their places in the account of the run
        int next = 0;        // the key written next
    };
    QList<Outgoing> m_outgoing;
    QTimer *m_timerSendOutgoing = nullptr;
    bool m_sendingOutgoing = false;
    // A slice of a batch is about this many bytes; the socket is given no
    // more while it holds this many unwritten; a pass writes for at most
    // this long.
    int m_sendSliceBytes = 256 * 1024;
    qint64 m_sendAheadBytes = 1024 * 1024;
    int m_sendPassMs = 10;
    void sendOutgoing();
    void writeEraseSlice(Outgoing &batch);
    // An erase batch (or its rest) not yet written is not sent: its keys
    // stay "not sent" in the run's account. Requests waiting behind it go
    // out.
    void dropUnsentEraseItems();
    // An erase batch of the category (any, when -1) is still being written.
    bool eraseItemsUnsent(int category = -1) const;
    // The receive loop on one chunk of received bytes (receiveData reads the
    // socket and calls it).
    // Both decode one pass and arm the next one when frames are left.
    void receiveChunk(const QByteArray &chunk);
    // One pass over the received bytes; true when frames are left for the next.
    bool decodeReceivedFrames();
    void discardReceivedBytes();
    // The hidden trace labels keep only their latest part. Their texts are
    // kept beside them and set on the labels once per pass of the receive
    // loop (at once outside it), so a flood of debug frames costs neither a
    // copy of the trace per frame nor a label update per frame.
    void appendHiddenTrace(QLabel *label, const QString &token);
    void showHiddenTraces();
    struct HiddenTrace
    {
        QLabel *label = nullptr;
        app::TraceTail tail;
        bool pending = false; // appended to since the label was last set
    };
    QVector<HiddenTrace> m_hiddenTraces;
    int m_hiddenTracesHeld = 0; // inside a pass of the receive loop
    void decodeReply(quint16 typeId, proto::BodyReader &body);
    // The families of replies; each is false for an id it does not know.
    // The scan's lists, photos and estimates:
    bool decodeScanReply(quint16 typeId, proto::BodyReader &body);
    // the phone's particulars, the default SMS app, the message count:
    bool decodePhoneReply(quint16 typeId, proto::BodyReader &body);
    // the app in front or behind, the answers to cancels and the close, its
    // debug numbers and the ids it sends that are not used:
    bool decodeAppReply(quint16 typeId, proto::BodyReader &body);
    // the ids each category has its own of (directories, erase answers,
    // lists refused):
    bool decodeCategoryReply(quint16 typeId, proto::BodyReader &body);
    void decodeTextList(Category c, proto::BodyReader &body);
    void decodeDirectory(Category c, proto::BodyReader &body);
    void appendListPiece(Category c, const QString &piece, bool stretchEnds);
    void storeListRecord(Category c, QStringView record);
    void markListIncomplete(Category c, const char *why);
    // A scan of these categories starts: their list accumulators, bounds and
    // incomplete flags start afresh, and so does the photo accumulator.
    void clearScanAccumulators(int first, int last);
    void decodePhoto(proto::BodyReader &body);
    void resetPhotoAccumulator();
    // The location of the oldest photo request that a reply naming this
    // file answers (requests before it went unanswered), or empty.
    QString takeRequestedPhoto(const QString &name);
    void decodeEraseBack(Category c, proto::BodyReader &body);
    void decodeEraseFail(Category c, proto::BodyReader &body);
    void decodeLeftTime(quint16 typeId, proto::BodyReader &body);
    void decodeLeftTimeOfScope(proto::BodyReader &body);
    void readGates(proto::BodyReader &body);
    void applyLeftTimeCounts(int first, int n, const qint64 *counts, const qint64 *bytes,
                             bool replaceNonPositive, float *scanSum, float *eraseSum);
    void appInactive();
    void appActive();
    void markRead(Category c);
    void markErased(Category c);
    QStringList *directoryOf(Category c);
    proto::RecordMaps recordMapsOf(Category c);
    // The ambiguous keys of a text category of the scan (empty for others).
    const QHash<QString, QString> &ambiguousIdsOf(int category) const;
    // The ids a text category's records can be erased by: every stored id
    // but the ambiguous ones.
    QStringList erasableIdsOf(int category) const;
    // An erase answer of a category, applied to the run the batch belongs
    // to; false when it belongs to no batch of the run in the account.
    bool takeEraseAnswer(Category c, const std::function<void()> &apply);
    void lateBatchAnswered(Category c);
    // The connection to the companion app is down: try again, or after the
    // third failure hand the phone back to the device link.
    void connectAgainOrHandBack();
    void updateHomeInfo();
    void resetHomeInfoDisplay();
    bool eraseGuard(Category c) const;
    // A step of the device link is armed: it owns the link for now.
    bool deviceLinkBusy();
    void sendEraseItems(Category c, const QStringList &keys);
    // The locations of a file category's entries, for an All run.
    QStringList erasableLocations(Category c, const QStringList &dir);

public slots:
    void newTCPConnected();
    void reconnectNet();
    void homeInfoReadable();
    void receiveData();

    void getContact();
    void getHistory();
    void getMessage();
    void getPhotoDir();
    void getAudioDir();
    void getVedioDir();
    void getWhtatsAppDir();
    void getFacebookDir();
    void getTwitterDir();
    void getSkypeDir();
    void getKikMessengerDir();
    void getViberDir();
    void sendGetPhotoByName(const QString &location);
    void sendCancelScan();
    void sendCancelErase();
    void checkApkIsDefaultSMSApp();
    void changeDefaultSMSApp();
    void getMessageCount();
    void sendCloseProgram();
    void sendPrivateLeftTime();
    void sendAllLeftTime();
    void sendAppLeftTime();
    void sendStopGetPhoto();
    void sendEraseBegin();

    void sendEraseContact();
    void sendEraseAllContact();
    void sendEraseHistory();
    void sendEraseAllHistory();
    void sendEraseMessage();
    void sendEraseAllMessage();
    void sendErasePhoto();
    void sendEraseAllPhoto();
    void sendEraseAudio();
    void sendEraseAllAudio();
    void sendEraseVedio();
    void sendEraseAllVedio();
    void sendEraseAllWhatsapp();
    void sendEraseAllFacebook();
    void sendEraseAllTwitter();
    void sendEraseAllSkype();
    void sendEraseAllKik();
    void sendEraseAllViber();

public:

    // ---- end of protocol section ----


    // =====================================================================
    // Scan and erase workflow: states, scan, erase, countdown, cancel, close
    // (workflow/)
    // =====================================================================
public:
    void initWorkflowTimers();
    void stopActivityTimers();

    // Every poll and wait timer of the session, the workflow, the
    // verification pass and the browser, each with its slot, whether it
    // fires once and the stop lists it belongs to: the one list of them
    // (workflow/polls.cpp). Set-up makes one timer per row and every stop
    // list walks it; a poll's interval is given where it is started.
    enum PollStop {
        StopsOnItsOwn = 0,
        StopsWithSession = 0x01,     // the window goes
        StopsWithSupervision = 0x02, // a reboot, the close, a loss while idle
        StopsWithConnection = 0x04,  // the link to the companion app is lost
        StopsWithScanCancel = 0x08,  // a scan's cancel ends
        StopsWithEraseCancel = 0x10, // an erase's cancel ends
        PhotoStopWait = 0x20,        // awaits the photo stop's acknowledgement
    };
    struct PollDef
    {
        QTimer *MainWindow::*timer;
        void (MainWindow::*slot)();
        bool singleShot;
        int stops; // PollStop flags
    };
    static const QVector<PollDef> &polls();
    void initPolls();
    void stopPolls(int stops);
    bool anyPollActive(int stops) const;

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
    // Messages chosen for the run but left out because the user declined
    // the default-SMS-app change on the phone; the completion reports them.
    int m_messagesLeftOut = 0;

    // Widgets of the form the workflow prepares once the form is built.
    void initWorkflowWidgets();
    class QButtonGroup *m_appButtonGroup = nullptr; // non-exclusive: any number of apps

    // Scope buttons and the scan page.
    void showScanPage(EraseType et);
    void setScopeButtonsEnabled(bool enabled);
    QList<QTimer *> deviceLinkStepTimers();
    // Failed count of a category's final erase answer, when the decoder keeps
    // it; the item-failed replies are counted in m_eraseFailCount.
    quint32 m_eraseBackFailCount[CategoryCount] = {};
    void resetScanState();
    void appendTrace(const QString &token);

    // App part of the scan chain (the private renderers advance the private
    // part themselves): scanCategoryRendered adds an app's share to the
    // scope's progress and asks for the next app, or repeats the cancel
    // request while a cancel is pending; askScanCategory applies the skip rule.
    void askScanCategory(int category);
    // A category the chain does not ask for passes as read; one whose gate
    // was closed is noted as not read.
    void passOverScanCategory(int category, bool gateClosed);
    // The last left-time reply of an app scan said the phone has no app
    // data (it closes the apps' gate too).
    bool m_noAppData = false;
    void scanCategoryRendered(int category);
    int &scanProgressOfScope();
    bool privateDataReadable() const;
    bool appDataReadable() const;

    // Erase run.
    // Shows the confirm page titled after the scope Erase Now erases, with
    // the typed word cleared.
    void showConfirmPage();
    void beginErasing();
    void startEraseRun();
    void sendEraseStep(int category);
    void finishEraseRun();
    // Leaving the confirm page (another scope, a new scan, Back) while the
    // default-SMS-app answer is awaited drops the run that was about to start.
    void abandonPendingSmsSteps();
    // Only the wait started last owns the photo-stop acknowledgement.
    void stopPhotoStopWaits();
    // Erase Now has been accepted and the run has not ended: the level and
    // the choice are fixed.
    bool eraseRunUnderway() const;

    // Per category since the scan: the keys of batches the companion app has
    // answered in earlier runs, the keys of the batch sent last, and the
    // items those answered batches could not erase. A run sends only keys
    // not answered yet, so keys chosen after a cancel are sent, and keys
    // erased before it are not sent twice.
    QSet<QString> m_eraseAnsweredKeys[CategoryCount];
    QStringList m_eraseBatchKeys[CategoryCount];
    // Per category, the batch the run sends, worked out when it begins: the
    // keys chosen (as the sender passes them), the keys of the batch (each
    // once, none answered before) and their places in the run's account.
    struct RunKeys
    {
        quint64 run = 0; // m_eraseRunNumber of the run
        QStringList chosen;
        QStringList keys;
        QVector<int> places;
    };
    RunKeys m_eraseRunKeys[CategoryCount];
    // The same keys in the same order (a list shared, or equal).
    static bool sameKeyList(const QStringList &a, const QStringList &b);
    // Keys sent in a run that was cancelled (or cut off) before the phone
    // answered them: the phone may have erased them, so a failure when they
    // are sent again confirms nothing. Kept as the lists the runs' accounts
    // hand out (shared, not copied; a key may be in it twice): looked up
    // only when a run after such a run begins.
    QStringList m_eraseSentUnanswered[CategoryCount];
    int m_eraseFailedBefore[CategoryCount] = {};
    void foldAnsweredBatches();
    void reopenCategoriesWithNewKeys();

    // Scope a click on the top bar switches to once the companion app has
    // stopped sending photos; -1 while none is pending. The scope in force
    // stays until then, so a confirm page still on screen erases what it names.
    int m_scopeAfterPhotoStop = -1;

    // The companion app is connected: the workflow starts only what it can
    // finish.
    bool companionOnline() const;
    // Drops every wait the user's last click started (photo stop, scope
    // switch, default-SMS-app answers): the user has gone elsewhere.
    void dropPendingWaits();
    // The connection to the companion app ended: every wait and poll of the
    // workflow stops, nothing resumes on its own, and the top bar waits for
    // the link to come back.
    void workflowConnectionLost();
    void stopWorkflowTimers();

    // A cancel the companion app never acknowledges is given up after this
    // long (milliseconds); the notice T_D_CancelNoAnswer says so.
    int m_cancelTimeoutMs = 15000;
    // After the cancel's acknowledgement the companion app may still answer
    // a batch it was erasing: the cancel waits this long for those answers,
    // then gives the batches up (the next batch of their category is then
    // in doubt).
    int m_lateAnswerWaitMs = 5000;
    QElapsedTimer m_lateAnswerClock;
    // Which batch an erase answer belongs to, and the runs numbered.
    workflow::EraseBatches m_eraseBatches;
    quint64 m_eraseRunNumber = 0;
    QElapsedTimer m_cancelClock;
    void endScanCancel(bool acknowledged);
    void endEraseCancel(bool acknowledged);
    void showCancelNoAnswer(bool erase);
    float &eraseLeftOfScope();
    float &scanLeftOfScope();

    // Countdown pause while the companion app is in the background.
    void pauseCountdownForBackground();
    void resumeCountdownForForeground();

    // The account of the erase run in progress, or of the last run since the
    // scan (a run after a cancel carries its answered categories over), and
    // the record written when a run ends.
    workflow::EraseAccount m_eraseAccount;
    // Scans started so far, and the scan the account's run belongs to: only
    // a run of the same scan carries an earlier run's answers over.
    quint64 m_scansStarted = 0;
    quint64 m_eraseAccountScan = 0;
    QString m_recordsFolder = workflow::eraserecord::defaultFolder();
    QString m_recordBaseName;
    // Where the run's record went, or why it could not be written, as the
    // writer last told; empty until the run's first record is on disk.
    workflow::eraserecord::Written m_recordWritten;
    // Records are written on a thread of their own (workflow/recordwriter.h).
    QSharedPointer<workflow::RecordWriter> m_recordWriter;
    // The names given to records of this session, some perhaps not on disk
    // yet: a record of another run never takes one of them.
    QSet<QString> m_recordNamesGiven;
    // The program was closed: the exit command runs once the record being
    // written is on disk (or after this long).
    bool m_closeAfterRecord = false;
    int m_closeRecordWaitMs = 30000;
    bool m_closeRecordWaitOver = false;
    // A record is being written (or waits to be).
    bool eraseRecordWriting() const { return m_recordWriter && m_recordWriter->busy(); }
    void eraseRecordWritten(const workflow::eraserecord::Written &written);
    void showRecordLinks();
    // The keys the erase sender of a category sends in the current scope.
    QStringList eraseKeysOf(int category) const;
    // The ids the phone listed more than once that the run stands for (All:
    // every one; private: those of the numbers whose rows are ticked).
    QStringList ambiguousIdsChosen(int category) const;
    void beginEraseAccount();
    // Ends the open run's account, writes its record and fills the report.
    void endEraseRun(workflow::EraseAccount::Outcome outcome, const QString &reason = QString());
    // A run that loses its phone midway: its report page comes up.
    void interruptEraseRun(const QString &reason);
    void fillEraseReport();
    // Writes (or rewrites) the run's record from its account.
    void writeEraseRecord();
    void openEraseRecord();
    // The user leaves the report held in front (Home, a top-bar button):
    // the link's own page comes back. False when no report was held.
    bool leaveEraseReport();

    // Verification after the reboot of a finished Private or App run: the
    // erased categories are listed again, one at a time, and compared with
    // the account. The list replies go to the pass's own store
    // (m_verifyListing), never to the scan's records.
    QTimer *m_timerVerifyErase = nullptr;
    QTimer *m_timerVerifyGiveUp = nullptr;
    int m_verifyTimeoutMs = 5 * 60 * 1000;
    QVector<int> m_verifyQueue;
    int m_verifyListing = -1;
    bool m_listFailed[CategoryCount] = {}; // a list request answered with its failure reply
    proto::RecordStore m_verifyIdData;
    QMultiMap<QString, QString> m_verifyNameId;
    proto::NumberIndex m_verifyNumberId;
    QStringList m_verifyDir;
    QHash<QString, QString> m_verifyAmbiguous;
    int m_verifyUnreadable = 0; // records of the pass's list without an id
    // The scan's list bounds of the category the pass lists, kept aside
    // while the pass's list counts against bounds of its own.
    struct ListBounds
    {
        bool incomplete = false;
        bool stopped = false;
        qint64 records = 0;
        qint64 chars = 0;
        quint64 scan = 0; // m_scansStarted when they were kept aside
    } m_verifyScanBounds;
    // The pass gave up waiting for the phone to come back and answer.
    void verificationTimedOut();
    void startVerificationWait();
    void requestVerificationList(int category);
    workflow::eraseverification::Listing verificationListing(int category) const;
    void restoreScanBounds(int category);
    void stopVerificationPass();
    // Lets go of the pass's list store. A list still on its way keeps it,
    // and the poll, until it has come; it is dropped then.
    void dropVerificationStore();
    void clearVerificationLists();
    // Ends a pending or running pass without a result; the record says why.
    void cancelVerification(const QString &reason);
    void verificationEnded();

public slots:
    void setEraseType(EraseType et);
    void setEraseLevel(ushort levelToErase);
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
    void verifyErase();
    void on_M_EraseCompleted_PushButton_Record_clicked();
    void on_T_D_EraseCancelled_PushButton_Record_clicked();
    void on_T_D_EraseCancelled_PushButton_Ok_clicked();
    void on_T_D_EraseCancelled_Close_clicked();

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
    void on_T_D_CancelNoAnswer_PushButton_Ok_clicked();
    void on_T_D_CancelNoAnswer_Close_clicked();
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
    // Tables: created once while the pages are built, found by object name.
    void createCategoryTables();
    void loadTableIcons();
    QTableWidget *categoryTable(int category) const;
    // The six tables once made (looked up by name while they are not).
    QPointer<QTableWidget> m_categoryTables[6];
    // Empties the tables, records, to-erase lists and photo images of the
    // current scope when a new scan starts.
    void clearResultTables();
    static QString formatSize(qint64 bytes);

    // The category buttons, as a scan ends and on a click.
    void selectCategory(int category);
    void paintCategoryButtons(int category);

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
    proto::NumberIndex m_contactSearchMapNumberId;
    proto::NumberIndex m_historySearchMapNumberId;
    proto::NumberIndex m_messageSearchMapNumberId;
    void runSearch();
    void endSearches();

    // Photo thumbnails. Of every received photo only what is shown is kept,
    // under the location it was asked for: the cell icon and the preview as
    // a small JPEG, decoded when its row is clicked.
    struct PhotoThumb
    {
        QPixmap icon;
        QByteArray preview; // empty: the photo could not be shown
    };
    QHash<QString, PhotoThumb> m_photoThumbs;
    QStringList m_photoUnplaced;                 // stored, but no table row showed them yet
    QMultiHash<QString, int> m_photoRowsOfLocation; // table rows by location (row r: entry r - 1)
    int m_photoRowsIndexed = 0;                  // entries of m_photoDir indexed so far
    QBitArray m_photoAsked;                      // per entry of m_photoDir
    int m_photoAskCursor = 0;                    // entries before it are asked for or have no location
    QPixmap m_photoFallbackPixmap;
    quint16 m_photoRequestCount = 0; // photo requests sent in this scan
    QList<QIcon> m_photoIconList;
    int m_photoScrollValue = 0;
    QTimer *m_timerGetPhotoByTime = nullptr;
    QTimer *m_timerUpdateTablePhoto = nullptr;
    void startPhotoFetching();
    void stopPhotoFetching();
    void clearPhotoThumbnails();
    // A stop request awaits the companion app's acknowledgement.
    bool photoStopPending() const;
    // A chunk of an awaited photo came: it is not lost, whatever it takes.
    void photoChunkArrived();
    // The companion app has answered a photo request (with the photo or a
    // failure): the next photo is asked for at once.
    void photoReplyEnded();
    // Hands the photo received for a location to the decoder (a worker
    // thread); its thumbnail is stored and put into the row(s) of that
    // location when it is made (photoThumbnailMade).
    void storePhotoThumbnail(const QString &location, const QByteArray &data);
    void photoThumbnailMade(quint64 round, const QString &location, const browser::PhotoThumbnail &made);
    QSharedPointer<browser::PhotoDecoder> m_photoDecoder;
    QSet<QString> m_photoDecoding; // locations being decoded for this scan
    quint64 m_photoDecodeRound = 0; // a new scan's thumbnails: results of earlier ones are dropped
    // Photos decoding at most before the next one is asked for: a phone that
    // sends faster than they decode waits, and memory stays bounded.
    int m_maxPhotoDecodes = 3;
    bool placePhotoThumbnail(const QString &location);
    QPixmap photoPreview(int row) const;

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
    struct TableLayout;
    static const TableLayout &tableLayout(int category);
    void updateCategoryUI(int category);
    void fillTable(int category, bool rebuild);
    void markUnchoosableRows(int category, int rows);
    void markChosenRows(int category, int rows);
    void showRowCount(int category, int rows, bool searched);
    void advanceScanAfter(int category);
    struct RowClick;
    void clickRow(int category, QTableWidgetItem *item);
    void clickDataRow(const RowClick &click);
    void clickHeadRow(const RowClick &click);
    void markRow(QTableWidget *table, int row, bool checked, const QColor &background);
    QStringList rowIds(int category, int row) const;
    void showRowDetails(int category, int row, const QStringList &ids);
    void clearRowDetails(int category);
    template <class T> T *browserWidget(const char *name) const
    {
        return findChild<T *>(QLatin1String(name));
    }

    // ---- end of browser section ----
};
