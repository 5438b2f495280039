// The connection sequence: start the adb server, see the phone on USB, get
// it authorised, make sure the companion package is installed, start the
// companion activity, forward the port, read battery and serial number, and
// hand over to the TCP supervision. Each step is declared once below with
// its output rule and its outcome rows: the error first, then the result.
#include "devicelink/outputrules.h"
#include "devicelink/stepdef.h"
#include "ui_mainwindow.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

using namespace devicelink;

namespace {

using Step = MainWindow::StepDef;
const QString kCompanion = devicelink::companionPackage();
const QStringList kDevices = {QStringLiteral("devices")};

const Step kStartAdb = Step(MainWindow::StepTestStartAdb)
                           .runs(StepTool::Adb, {QStringLiteral("start-server")}, StepWait::Adb)
                           .logs("start adb server", "start adb readready,times:", "start adb result error:", "sadb ,")
                           .logsPending("start adb result 0:")
                           .rules(&MainWindow::judgeStartAdb, &MainWindow::decideStartAdb);

const Step kUsb = Step(MainWindow::StepTestUsb)
                      .runs(StepTool::Adb, kDevices, StepWait::Short)
                      .logs("start usb", "usb readready,times:", "usb result error:")
                      .rules(&MainWindow::judgeUsb, &MainWindow::decideUsb);

const Step kRsa = Step(MainWindow::StepTestRsa)
                      .runs(StepTool::Adb, kDevices, StepWait::Short)
                      .logs("start rsa", "rsa readready,times:", "rsa result error:", "rsa ,")
                      .logsPending("rsa result 0:")
                      .logsResult("rsa result str:")
                      .rules(&MainWindow::judgeRsa, &MainWindow::decideRsa);

const Step kKillAdbForRsa = Step(MainWindow::StepTestKillAdbForRsa)
                                .runs(StepTool::Adb, {QStringLiteral("kill-server")}, StepWait::Adb)
                                .logs("start kill adb for rsa", "kill adb for rsa readready,times:",
                                      "kill adb for rsa result error:")
                                .logsResult("kill adb for rsa result str:")
                                .rules(&MainWindow::judgeKillAdbForRsa, &MainWindow::decideKillAdbForRsa);

// From the package check on, every step probes the phone before it decides.
const Step kHasApk = Step(MainWindow::StepTestCheckHasApk)
                         .runs(StepTool::Adb,
                               {QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("list"),
                                QStringLiteral("packages"), kCompanion},
                               StepWait::Adb)
                         .probes(StepProbe::Always)
                         .logs("start has apk", "check has apk readready,times:", "check has apk result error:",
                               "has A,")
                         .logsResult("check has apk result str:")
                         .rules(&MainWindow::judgeHasApk, &MainWindow::decideHasApk);

const Step kInstall = Step(MainWindow::StepTestInstallApk)
                          .runs(StepTool::Adb, {}, StepWait::Install, &MainWindow::installArgs)
                          .probes(StepProbe::Always)
                          .logs("start install apk", "install apk readready,times:", "install apk result error:",
                                "install,")
                          .logsResult("check install result str:")
                          .logsDone("after install while")
                          .onEachChunk(&MainWindow::onInstallChunk)
                          .rules(&MainWindow::judgeInstall, &MainWindow::decideInstall);

const Step kActivity = Step(MainWindow::StepTestStartActivity)
                           .runs(StepTool::Adb,
                                 {QStringLiteral("shell"), QStringLiteral("am"), QStringLiteral("start"),
                                  QStringLiteral("-W"), QStringLiteral("-S"), QStringLiteral("-n"),
                                  kCompanion + QStringLiteral("/") + kCompanion + QStringLiteral(".Purgatex")},
                                 StepWait::Adb)
                           .probes(StepProbe::Always)
                           .logs("start test start activity", "start activity readready,times:",
                                 "start activity result error:", "sActivity ,")
                           .logsChunksAs(ChunkLog::CountAndOutput)
                           .rules(&MainWindow::judgeActivity, &MainWindow::decideActivity);

// A failed forward goes straight to the holder of port 10000.
const Step kForward = Step(MainWindow::StepTestForwardAdb)
                          .runs(StepTool::Adb,
                                {QStringLiteral("forward"), QStringLiteral("tcp:10000"), QStringLiteral("tcp:5577")},
                                StepWait::Adb)
                          .probes(StepProbe::UnlessError)
                          .logs("start test forward adb", "forwrad adb readready,times:", "forward adb result error:",
                                "for ,")
                          .rules(&MainWindow::judgeForward, &MainWindow::decideForward);

const Step kPower = Step(MainWindow::StepTestGetPower)
                        .runs(StepTool::Adb, {QStringLiteral("shell"), QStringLiteral("dumpsys"),
                                              QStringLiteral("battery")},
                              StepWait::Adb)
                        .probes(StepProbe::Always)
                        .logs("start test get power", "get power readready,times:", "get power result error:",
                              "gp ,")
                        .logsResult("get power result str:")
                        .rules(&MainWindow::judgePower, &MainWindow::decidePower);

const Step kSerial = Step(MainWindow::StepTestGetSerial)
                         .runs(StepTool::Adb, {QStringLiteral("get-serialno")}, StepWait::Adb)
                         .probes(StepProbe::Always)
                         .logs("start test get serial", "get serial readready,times:", "get power result error:",
                               "gs ,")
                         .logsResult("get power result str:")
                         .logsDone("after serial while")
                         .rules(&MainWindow::judgeSerial, &MainWindow::decideSerial);

// Logs the lines a rule walked through, as "at", the index, "is:" and the
// trimmed line, up to the line it stopped at.
void logWalkedLines(const QString &output, bool (*stopsAt)(const QString &line))
{
    const QStringList lines = outputLines(output);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        qDebug() << "at" << i << "is:" << line;
        if (stopsAt(line))
            break;
    }
}

} // namespace

// Turn to the please-connect page, reset, and wait for a phone in the
// presence poll.
void MainWindow::fallBackToPresencePoll(bool reset)
{
    showLinkPage(ui->A_MP_PleaseConnect_1);
    if (reset)
        resetAdbCheckState();
    armStep(StepSlotDeviceIn, 100);
}

// The phone page, while a phone is usable; a problem that leaves none (the
// app does not install or start, the forward fails) keeps the please-connect
// page instead.
void MainWindow::showPhonePage()
{
    showLinkPage(phoneUnusable() ? ui->A_MP_PleaseConnect_1 : ui->A_MP_ConnectedInfomation_5);
}

QString MainWindow::companionPackagePath() const
{
    return QString::fromLocal8Bit((QDir::currentPath() + QStringLiteral("/Purgatex.apk")).toLocal8Bit());
}

QStringList MainWindow::installArgs() const
{
    return {QStringLiteral("install"), QStringLiteral("-r"), companionPackagePath()};
}

// ---- Start the adb server ----

void MainWindow::testStartAdb() { runStep(kStartAdb); }

void MainWindow::judgeStartAdb(const QString *out) { m_adbStarted = out && startServerSucceeded(*out); }

void MainWindow::decideStartAdb(bool)
{
    showLinkPage(ui->A_MP_USBDebugTourial_2);
    if (takeStepError(StepTestStartAdb)) {
        resetAdbCheckState();
        armStep(StepTestKillAdbForRsa, 100);
        qDebug() << "start adb,e";
    } else if (m_adbStarted) {
        hideLinkNotice(ui->A_MP_D_DirverError_1_1);
        armStep(StepTestUsb, 100);
        qDebug() << "start adb,no e,started";
    } else {
        armStep(StepTestKillAdbForRsa, 100);
        qDebug() << "start adb,no e,no started";
    }
}

// ---- USB state ----

void MainWindow::testUsb() { runStep(kUsb); }

void MainWindow::judgeUsb(const QString *out)
{
    if (!out) {
        m_usbOpened = false;
        m_adbEmpty = false;
        m_usbListed = 0;
        m_usbNoPermissions = false;
        return;
    }
    UsbState state{m_usbOpened, m_adbEmpty, m_step[StepTestUsb].error, m_isOffline, 0, false};
    QStringList log;
    applyUsbRule(*out, state, &log);
    for (const QString &line : qAsConst(log))
        qDebug().noquote() << line;
    m_usbOpened = state.usbOpened;
    m_adbEmpty = state.adbEmpty;
    m_step[StepTestUsb].error = state.error;
    m_isOffline = state.isOffline;
    m_usbListed = state.listed;
    m_usbNoPermissions = state.noPermissions;
    qDebug() << "usb open state:" << m_usbOpened;
}

void MainWindow::showWaitingForUsb()
{
    showLinkPage(ui->A_MP_USBDebugTourial_2);
    showLinkNotice(ui->A_MP_D_ReconnectDevice);
    hideLinkNotice(ui->A_MP_D_DirverError_1_1);
}

void MainWindow::waitForUsb()
{
    showWaitingForUsb();
    armStep(StepTestUsb, 100);
}

void MainWindow::decideUsb(bool)
{
    // adb lists nothing at all: most likely a driver problem.
    auto noDeviceListed = [this] {
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        showLinkNotice(ui->A_MP_D_DirverError_1_1);
        armPhoneWait(m_stepTimer[StepTestUsb]);
    };

    if (takeStepError(StepTestUsb)) {
        qDebug() << "test usb error";
        if (m_isOffline) {
            waitForUsb();
            qDebug() << "start usb,e,offline,start usb";
        } else {
            showLinkPage(ui->A_MP_USBDebugTourial_2);
            hideLinkNotice(ui->A_MP_D_DirverError_1_1);
            resetAdbCheckState();
            armStep(StepTestKillAdbForRsa, 100);
            qDebug() << "start usb,e,no offline,start killforRsa";
        }
        return;
    }
    // Several phones: the steps name none, and adb refuses to act on any.
    if (m_usbListed > 1)
        noteLinkProblem(LinkProblem::SeveralPhones,
                        listedDevices(m_step[StepTestUsb].lastOutput).join(QLatin1Char('\n')));
    else
        clearLinkProblem(LinkProblem::SeveralPhones);
    if (!m_usbNoPermissions)
        clearLinkProblem(LinkProblem::NoPermissions);

    if (m_isAfterReboot) {
        // After a reboot the phone must have gone from the list, or be back
        // already: a phone listed now is checked for a fresh start (the
        // boot check decides whether to wait on).
        if (m_usbOpened) {
            showWaitingForUsb();
            qDebug() << "start usb,no e,opend,m_isAfterReboot is true,start boot check";
            testBootCheck();
        } else if (m_adbEmpty) {
            noDeviceListed();
            m_isAfterReboot = false;
            qDebug() << "start usb,no e,no opend,adb empty,start usb,m_isAfterReboot change to false";
        } else {
            waitForUsb();
            qDebug() << "start usb,no e,no opend,no adb empty,start usb";
        }
    } else if (m_usbOpened) {
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        hideLinkNotice(ui->A_MP_D_DirverError_1_1);
        armStep(StepTestRsa, 100);
        qDebug() << "start usb,no e,opend,start rsa";
    } else if (m_adbEmpty) {
        noDeviceListed();
        qDebug() << "start usb,no e,no opend,adb empty,start usb";
    } else if (m_usbNoPermissions) {
        // Listed, but this user may not reach it: the driver-error notice
        // tells how to let the user in.
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        noteLinkProblem(LinkProblem::NoPermissions);
        armStep(StepTestUsb, 100);
        qDebug() << "start usb,no e,no permissions,start usb";
    } else {
        waitForUsb();
        qDebug() << "start usb,no e,no opend,no adb empty,start usb";
    }
}

// ---- Authorisation ----

void MainWindow::testRsa() { runStep(kRsa); }

void MainWindow::judgeRsa(const QString *out)
{
    if (!out) {
        m_isAuthorized = false;
        return;
    }
    AuthState state{m_isAuthorized, m_step[StepTestRsa].error, m_isOffline};
    QString line;
    if (applyAuthRule(*out, state, &line)) {
        qDebug() << "at" << 1 << "is:" << line;
        if (state.isOffline && state.error)
            qDebug() << "rsa offline";
        else if (state.error)
            qDebug() << "rsa error";
    }
    m_isAuthorized = state.authorized;
    m_step[StepTestRsa].error = state.error;
    m_isOffline = state.isOffline;
}

void MainWindow::decideRsa(bool)
{
    if (takeStepError(StepTestRsa)) {
        const bool offline = m_isOffline; // as the rule left it, before the reset
        qDebug() << "rsa error";
        resetAdbCheckState();
        if (offline) {
            showLinkPage(ui->A_MP_PleaseConnect_1);
            armStep(StepSlotDeviceIn, 100);
            qDebug() << "start rsa,e,offline";
        } else {
            armStep(StepTestUsb, 100);
            qDebug() << "start rsa,e,no offline";
        }
    } else if (m_isAuthorized) {
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        armStep(StepTestCheckHasApk, 1);
        qDebug() << "start rsa,no e,authorized";
    } else {
        resetAdbCheckState();
        armStep(StepTestKillAdbForRsa, 100);
        qDebug() << "start rsa,no e,no authorized";
    }
}

// ---- Restart the server for authorisation ----
// Keeps an unauthorised phone polled: every attempt starts again at the
// port check.

void MainWindow::testKillAdbForRsa() { runStep(kKillAdbForRsa); }

void MainWindow::judgeKillAdbForRsa(const QString *out)
{
    m_adbKilledForRsa = out && killServerSucceeded(*out);
    if (m_adbKilledForRsa)
        qDebug() << "kill adb for rsa right";
}

void MainWindow::decideKillAdbForRsa(bool)
{
    if (takeStepError(StepTestKillAdbForRsa)) {
        resetAdbCheckState();
        armStep(StepTestPort, 100);
        qDebug() << "not final kill adb for rsa";
    } else if (m_adbKilledForRsa) {
        resetAdbCheckState();
        qDebug() << "after killed adb for rsa ,start adb";
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        armStep(StepTestPort, 100);
        qDebug() << "after kill adb for rsa check";
    } else {
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        resetAdbCheckState();
        armStep(StepTestKillAdbForRsa, 100);
        qDebug() << "not final kill adb for rsa";
    }
}

// ---- Companion package present? ----

void MainWindow::testCheckHasApk() { runStep(kHasApk); }

void MainWindow::judgeHasApk(const QString *out) { m_hasApk = out && hasCompanionPackage(*out); }

void MainWindow::decideHasApk(bool phoneListed)
{
    if (takeStepError(StepTestCheckHasApk)) {
        resetAdbCheckState();
        showLinkPage(ui->A_MP_PleaseConnect_1);
        if (phoneListed) {
            armStep(StepTestPort, 100);
            qDebug() << "start has apk;e,hd;start port";
        } else {
            armStep(StepSlotDeviceIn, 100);
            qDebug() << "start has apk;e,no hd;start check in";
        }
    } else if (!phoneListed) {
        qDebug() << (m_hasApk ? "start has apk;no e,apk,no hd;start check in"
                              : "start has apk;no e,no apk,no hd;start check in");
        fallBackToPresencePoll();
    } else if (m_hasApk) {
        showPhonePage();
        armStep(StepTestStartActivity, 100);
        qDebug() << "start has apk;no e,apk,hd;start activity";
    } else {
        showLinkPage(ui->A_MP_IsInstalling_4);
        m_step[StepTestInstallApk].readTimes = 0;
        armStep(StepTestInstallApk, 100);
        qDebug() << "start has apk;no e,no apk,hd;start install";
    }
}

// ---- Install the companion package ----

void MainWindow::testInstallApk() { runStep(kInstall); }

// The bar follows the output chunks, and the window repaints it: nothing
// waits while the package is sent.
void MainWindow::onInstallChunk()
{
    ui->MP_InstallApk_ProgressBar->setValue(m_step[StepTestInstallApk].readTimes);
}

void MainWindow::judgeInstall(const QString *out)
{
    m_apkInstalled = out && installSucceeded(*out);
    if (m_apkInstalled) {
        qDebug() << "check install result right";
        if (m_step[StepTestInstallApk].readTimes > 50)
            ui->MP_InstallApk_ProgressBar->setValue(100);
    }
}

// The package file is missing, or adb's own words say why it failed.
void MainWindow::noteInstallProblem()
{
    if (!QFileInfo::exists(companionPackagePath())) {
        noteLinkProblem(LinkProblem::PackageMissing, QDir::toNativeSeparators(companionPackagePath()));
        return;
    }
    clearLinkProblem(LinkProblem::PackageMissing);
    noteLinkProblem(LinkProblem::InstallFailed, stepComplaint(StepTestInstallApk));
}

void MainWindow::decideInstall(bool phoneListed)
{
    if (takeStepError(StepTestInstallApk)) {
        qDebug() << "install wrong";
        noteInstallProblem();
        resetAdbCheckState();
        m_step[StepTestInstallApk].readTimes = 0;
        ui->MP_InstallApk_ProgressBar->setValue(0);
        if (phoneListed) {
            hideLinkNotice(ui->A_MP_D_ReconnectDevice);
            armStep(StepTestCheckHasApk, 100);
        } else {
            fallBackToPresencePoll(false);
        }
        return;
    }
    qDebug() << "install return right";
    if (m_apkInstalled) {
        qDebug() << "installed";
        clearLinkProblem(LinkProblem::InstallFailed);
        clearLinkProblem(LinkProblem::PackageMissing);
        if (phoneListed) {
            showPhonePage();
            armStep(StepTestStartActivity, 100);
        } else {
            fallBackToPresencePoll();
        }
        qDebug() << "after install apk check";
    } else {
        qDebug() << "not installed";
        noteInstallProblem();
        if (phoneListed)
            armStep(StepTestInstallApk, 100);
        else
            fallBackToPresencePoll();
    }
}

// ---- Start the companion activity ----

void MainWindow::testStartActivity() { runStep(kActivity); }

void MainWindow::judgeActivity(const QString *out)
{
    m_activityStarted = out && activityStarted(*out);
    if (out && !m_activityStarted)
        m_step[StepTestStartActivity].error = true;
}

void MainWindow::decideActivity(bool phoneListed)
{
    if (takeStepError(StepTestStartActivity)) {
        noteLinkProblem(LinkProblem::ActivityFailed, stepComplaint(StepTestStartActivity));
        resetAdbCheckState();
        if (phoneListed) {
            hideLinkNotice(ui->A_MP_D_ReconnectDevice);
            armStep(StepTestCheckHasApk, 100);
        } else {
            fallBackToPresencePoll(false);
        }
    } else if (m_activityStarted) {
        clearLinkProblem(LinkProblem::ActivityFailed);
        if (phoneListed) {
            showPhonePage();
            armStep(StepTestForwardAdb, 100);
            qDebug() << "after start activity,has devices,start forward";
        } else {
            fallBackToPresencePoll();
            qDebug() << "after start activity,not has devices,start check in";
        }
        qDebug() << "after start activity check";
    } else {
        qDebug() << "activity not stated";
        noteLinkProblem(LinkProblem::ActivityFailed, stepComplaint(StepTestStartActivity));
        if (phoneListed) {
            showPhonePage();
            armStep(StepTestStartActivity, 100);
        } else {
            fallBackToPresencePoll();
        }
    }
}

// ---- Forward the port ----

void MainWindow::testForwardAdb() { runStep(kForward); }

void MainWindow::judgeForward(const QString *out) { m_portForwarded = out && forwardSucceeded(*out); }

void MainWindow::decideForward(bool phoneListed)
{
    if (takeStepError(StepTestForwardAdb)) {
        armStep(StepTestGetOtherSoftPidBy10000, 100);
        return;
    }
    const bool forwarded = m_portForwarded; // a fall-back resets it
    if (forwarded) {
        clearLinkProblem(LinkProblem::ForwardFailed);
        clearLinkProblem(LinkProblem::Port10000Held);
    } else {
        // Something printed: another program most likely holds port 10000.
        qDebug() << "forward adb fail";
    }
    if (!phoneListed)
        fallBackToPresencePoll();
    else
        armStep(forwarded ? StepTestGetPower : StepTestGetOtherSoftPidBy10000, 100);
    if (forwarded)
        qDebug() << "after forward adb check";
}

// ---- Battery level and serial number ----

void MainWindow::testGetPower() { runStep(kPower); }

void MainWindow::judgePower(const QString *out)
{
    if (!out) {
        m_gotPower = false;
        return;
    }
    logWalkedLines(*out, [](const QString &line) { return line.contains(QLatin1String("level")); });
    const BatteryLevel level = batteryLevel(*out);
    if (level.found) {
        if (!level.level.isEmpty())
            m_powerLevel = level.level;
        qDebug() << "power is:" << m_powerLevel;
        m_gotPower = true;
    }
}

void MainWindow::testGetSerial() { runStep(kSerial); }

void MainWindow::judgeSerial(const QString *out)
{
    if (!out) {
        m_gotSerial = false;
        return;
    }
    logWalkedLines(*out, [](const QString &line) { return !line.isEmpty(); });
    const SerialNumber serial = serialNumber(*out);
    if (serial.found) {
        m_serialNo = serial.serial;
        qDebug() << "serial is:" << m_serialNo;
        m_gotSerial = true;
    }
}

// Battery and serial decide alike: an error goes back to the forward, a
// value goes on to `next`, nothing tries again.
void MainWindow::decideReading(DeviceStep step, bool got, bool phoneListed, QTimer *next,
                               const char *gotLog, const char *failLog)
{
    const bool error = takeStepError(step);
    if (error)
        resetAdbCheckState();
    if (!phoneListed) {
        fallBackToPresencePoll(!error);
        if (!error && got)
            qDebug() << "start check device in";
    } else if (error) {
        showLinkPage(ui->A_MP_PleaseConnect_1);
        armStep(StepTestForwardAdb, 100);
    } else {
        showPhonePage();
        armStep(got ? next : m_stepTimer[step], 100);
    }
    if (!error)
        qDebug() << (got ? gotLog : failLog);
}

void MainWindow::decidePower(bool phoneListed)
{
    decideReading(StepTestGetPower, m_gotPower, phoneListed, m_stepTimer[StepTestGetSerial], "after get power check",
                  "get power fail");
}

// A serial read with the phone there hands over to the TCP supervision,
// which owns the link from then on.
void MainWindow::decideSerial(bool phoneListed)
{
    if (phoneListed && m_gotSerial && !m_step[StepTestGetSerial].error)
        clearLinkProblems();
    decideReading(StepTestGetSerial, m_gotSerial, phoneListed, m_timerNewTCPConnected, "after get serial check",
                  "get serial fail");
}
