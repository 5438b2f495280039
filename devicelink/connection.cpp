// The connection sequence: start the adb server, see the phone on USB, get
// it authorised, make sure the companion package is installed, start the
// companion activity, forward the port, read battery and serial number, and
// hand over to the TCP supervision. Each slot runs its command and then
// applies its outcome rows in order: error first, then the result.
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"

#include <QDebug>
#include <QDir>

namespace {
const QString kCompanion = QStringLiteral("org.qtproject.example");
}

// Turn to the please-connect page, reset, and wait for a phone in the
// presence poll.
void MainWindow::fallBackToPresencePoll(bool reset)
{
    showLinkPage(ui->A_MP_PleaseConnect_1);
    if (reset)
        resetAdbCheckState();
    m_timerSlotDeviceIn->start(100);
}

void MainWindow::testStartAdb()
{
    appendStepTrace("sadb ,");
    m_timerTestStartAdb->stop();
    qDebug() << "start adb server";
    runStep(StepTestStartAdb, m_adbProgram, {QStringLiteral("start-server")}, -1);

    StepIo &io = m_step[StepTestStartAdb];
    showLinkPage(ui->A_MP_USBDebugTourial_2);
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        m_timerTestKillAdbForRsa->start(100);
        qDebug() << "start adb,e";
    } else if (m_adbStarted) {
        hideLinkNotice(ui->A_MP_D_DirverError_1_1);
        m_timerTestUsb->start(100);
        qDebug() << "start adb,no e,started";
    } else {
        m_timerTestKillAdbForRsa->start(100);
        qDebug() << "start adb,no e,no started";
    }
    io.readTimes = 0;
}

void MainWindow::testUsb()
{
    m_timerTestUsb->stop();
    qDebug() << "start usb";
    runStep(StepTestUsb, m_adbProgram, {QStringLiteral("devices")}, -1);

    // Phone listed but not usable yet: keep asking.
    auto waitForUsb = [this] {
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        showLinkNotice(ui->A_MP_D_ReconnectDevice);
        hideLinkNotice(ui->A_MP_D_DirverError_1_1);
        m_timerTestUsb->start(100);
    };
    // adb lists nothing at all: most likely a driver problem.
    auto noDeviceListed = [this] {
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        showLinkNotice(ui->A_MP_D_DirverError_1_1);
        m_timerTestUsb->start(100);
    };

    StepIo &io = m_step[StepTestUsb];
    if (io.error) {
        qDebug() << "test usb error";
        io.error = false;
        if (m_isOffline) {
            waitForUsb();
            qDebug() << "start usb,e,offline,start usb";
        } else {
            showLinkPage(ui->A_MP_USBDebugTourial_2);
            hideLinkNotice(ui->A_MP_D_DirverError_1_1);
            resetAdbCheckState();
            m_timerTestKillAdbForRsa->start(100);
            qDebug() << "start usb,e,no offline,start killforRsa";
        }
    } else if (m_isAfterReboot) {
        // After a reboot the phone must first disappear from the list.
        if (m_usbOpened) {
            waitForUsb();
            qDebug() << "start usb,no e,opend,start usb,because m_isAfterReboot is true";
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
        m_timerTestRsa->start(100);
        qDebug() << "start usb,no e,opend,start rsa";
    } else if (m_adbEmpty) {
        noDeviceListed();
        qDebug() << "start usb,no e,no opend,adb empty,start usb";
    } else {
        waitForUsb();
        qDebug() << "start usb,no e,no opend,no adb empty,start usb";
    }
    io.readTimes = 0;
}

void MainWindow::testRsa()
{
    appendStepTrace("rsa ,");
    m_timerTestRsa->stop();
    qDebug() << "start rsa";
    runStep(StepTestRsa, m_adbProgram, {QStringLiteral("devices")}, -1);

    StepIo &io = m_step[StepTestRsa];
    if (io.error) {
        io.error = false;
        const bool offline = m_isOffline; // as the rule left it, before the reset
        qDebug() << "rsa error";
        resetAdbCheckState();
        if (offline) {
            showLinkPage(ui->A_MP_PleaseConnect_1);
            m_timerSlotDeviceIn->start(100);
            qDebug() << "start rsa,e,offline";
        } else {
            m_timerTestUsb->start(100);
            qDebug() << "start rsa,e,no offline";
        }
    } else if (m_isAuthorized) {
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        m_timerTestCheckHasApk->start(1);
        qDebug() << "start rsa,no e,authorized";
    } else {
        resetAdbCheckState();
        m_timerTestKillAdbForRsa->start(100);
        qDebug() << "start rsa,no e,no authorized";
    }
    io.readTimes = 0;
}

// Keeps an unauthorised phone polled: every attempt starts again at the
// port check.
void MainWindow::testKillAdbForRsa()
{
    m_timerTestKillAdbForRsa->stop();
    qDebug() << "start kill adb for rsa";
    runStep(StepTestKillAdbForRsa, m_adbProgram, {QStringLiteral("kill-server")}, -1);

    StepIo &io = m_step[StepTestKillAdbForRsa];
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        m_timerTestPort->start(100);
        qDebug() << "not final kill adb for rsa";
    } else if (m_adbKilledForRsa) {
        resetAdbCheckState();
        qDebug() << "after killed adb for rsa ,start adb";
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        m_timerTestPort->start(100);
        qDebug() << "after kill adb for rsa check";
    } else {
        showLinkPage(ui->A_MP_USBDebugTourial_2);
        resetAdbCheckState();
        m_timerTestKillAdbForRsa->start(100);
        qDebug() << "not final kill adb for rsa";
    }
    io.readTimes = 0;
}

void MainWindow::testCheckHasApk()
{
    appendStepTrace("has A,");
    m_timerTestCheckHasApk->stop();
    qDebug() << "start has apk";
    runStep(StepTestCheckHasApk, m_adbProgram,
            {QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("list"), QStringLiteral("packages"),
             kCompanion},
            -1);

    StepIo &io = m_step[StepTestCheckHasApk];
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        const bool present = probeDevicePresent();
        showLinkPage(ui->A_MP_PleaseConnect_1);
        if (present) {
            m_timerTestPort->start(100);
            qDebug() << "start has apk;e,hd;start port";
        } else {
            m_timerSlotDeviceIn->start(100);
            qDebug() << "start has apk;e,no hd;start check in";
        }
    } else if (m_hasApk) {
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_ConnectedInfomation_5);
            m_timerTestStartActivity->start(100);
            qDebug() << "start has apk;no e,apk,hd;start activity";
        } else {
            fallBackToPresencePoll();
            qDebug() << "start has apk;no e,apk,no hd;start check in";
        }
    } else {
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_IsInstalling_4);
            m_step[StepTestInstallApk].readTimes = 0;
            m_timerTestInstallApk->start(100);
            qDebug() << "start has apk;no e,no apk,hd;start install";
        } else {
            fallBackToPresencePoll();
            qDebug() << "start has apk;no e,no apk,no hd;start check in";
        }
    }
    io.readTimes = 0;
}

void MainWindow::testInstallApk()
{
    appendStepTrace("install,");
    m_timerTestInstallApk->stop();
    qDebug() << "start install apk";
    const QString apk = QString::fromLocal8Bit((QDir::currentPath() + QStringLiteral("/Purgatex.apk")).toLocal8Bit());
    runStep(StepTestInstallApk, m_adbProgram, {QStringLiteral("install"), QStringLiteral("-r"), apk}, -1);
    qDebug() << "after install while";

    StepIo &io = m_step[StepTestInstallApk];
    if (io.error) {
        io.error = false;
        qDebug() << "install wrong";
        resetAdbCheckState();
        io.readTimes = 0;
        ui->MP_InstallApk_ProgressBar->setValue(0);
        if (probeDevicePresent()) {
            hideLinkNotice(ui->A_MP_D_ReconnectDevice);
            m_timerTestCheckHasApk->start(100);
        } else {
            fallBackToPresencePoll(false);
        }
    } else if (m_apkInstalled) {
        qDebug() << "install return right";
        qDebug() << "installed";
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_ConnectedInfomation_5);
            m_timerTestStartActivity->start(100);
        } else {
            fallBackToPresencePoll();
        }
        qDebug() << "after install apk check";
    } else {
        qDebug() << "install return right";
        qDebug() << "not installed";
        if (probeDevicePresent()) {
            m_timerTestInstallApk->start(100);
            io.readTimes = 0;
        } else {
            fallBackToPresencePoll();
        }
    }
    io.readTimes = 0;
}

void MainWindow::testStartActivity()
{
    appendStepTrace("sActivity ,");
    m_timerTestStartActivity->stop();
    qDebug() << "start test start activity";
    runStep(StepTestStartActivity, m_adbProgram,
            {QStringLiteral("shell"), QStringLiteral("am"), QStringLiteral("start"), QStringLiteral("-W"),
             QStringLiteral("-S"), QStringLiteral("-n"), kCompanion + QStringLiteral("/") + kCompanion
                 + QStringLiteral(".Purgatex")},
            -1);

    StepIo &io = m_step[StepTestStartActivity];
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        if (probeDevicePresent()) {
            hideLinkNotice(ui->A_MP_D_ReconnectDevice);
            m_timerTestCheckHasApk->start(100);
        } else {
            fallBackToPresencePoll(false);
        }
    } else if (m_activityStarted) {
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_ConnectedInfomation_5);
            m_timerTestForwardAdb->start(100);
            qDebug() << "after start activity,has devices,start forward";
        } else {
            fallBackToPresencePoll();
            qDebug() << "after start activity,not has devices,start check in";
        }
        qDebug() << "after start activity check";
    } else {
        const bool present = probeDevicePresent();
        qDebug() << "activity not stated";
        if (present) {
            showLinkPage(ui->A_MP_ConnectedInfomation_5);
            m_timerTestStartActivity->start(100);
        } else {
            fallBackToPresencePoll();
        }
    }
    io.readTimes = 0;
}

void MainWindow::testForwardAdb()
{
    appendStepTrace("for ,");
    m_timerTestForwardAdb->stop();
    qDebug() << "start test forward adb";
    runStep(StepTestForwardAdb, m_adbProgram,
            {QStringLiteral("forward"), QStringLiteral("tcp:10000"), QStringLiteral("tcp:5577")}, -1);

    StepIo &io = m_step[StepTestForwardAdb];
    if (io.error) {
        io.error = false;
        m_timerTestGetOtherSoftPidBy10000->start(100);
    } else if (m_portForwarded) {
        if (probeDevicePresent())
            m_timerTestGetPower->start(100);
        else
            fallBackToPresencePoll();
        qDebug() << "after forward adb check";
    } else {
        // Something printed: another program most likely holds port 10000.
        const bool present = probeDevicePresent();
        qDebug() << "forward adb fail";
        if (present)
            m_timerTestGetOtherSoftPidBy10000->start(100);
        else
            fallBackToPresencePoll();
    }
    io.readTimes = 0;
}

void MainWindow::testGetPower()
{
    appendStepTrace("gp ,");
    m_timerTestGetPower->stop();
    qDebug() << "start test get power";
    runStep(StepTestGetPower, m_adbProgram,
            {QStringLiteral("shell"), QStringLiteral("dumpsys"), QStringLiteral("battery")}, 3000);

    StepIo &io = m_step[StepTestGetPower];
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_PleaseConnect_1);
            m_timerTestForwardAdb->start(100);
        } else {
            fallBackToPresencePoll(false);
        }
    } else if (m_gotPower) {
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_ConnectedInfomation_5);
            m_timerTestGetSerial->start(100);
        } else {
            fallBackToPresencePoll();
            qDebug() << "start check device in";
        }
        qDebug() << "after get power check";
    } else {
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_ConnectedInfomation_5);
            m_timerTestGetPower->start(100);
        } else {
            fallBackToPresencePoll();
        }
        qDebug() << "get power fail";
    }
    io.readTimes = 0;
}

void MainWindow::testGetSerial()
{
    appendStepTrace("gs ,");
    m_timerTestGetSerial->stop();
    qDebug() << "start test get serial";
    runStep(StepTestGetSerial, m_adbProgram, {QStringLiteral("get-serialno")}, 3000);
    qDebug() << "after serial while";

    StepIo &io = m_step[StepTestGetSerial];
    if (io.error) {
        io.error = false;
        resetAdbCheckState();
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_PleaseConnect_1);
            m_timerTestForwardAdb->start(100);
        } else {
            fallBackToPresencePoll(false);
        }
    } else if (m_gotSerial) {
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_ConnectedInfomation_5);
            // Hand-over: the TCP supervision owns the link from here on.
            if (m_timerNewTCPConnected)
                m_timerNewTCPConnected->start(100);
        } else {
            fallBackToPresencePoll();
            qDebug() << "start check device in";
        }
        qDebug() << "after get serial check";
    } else {
        if (probeDevicePresent()) {
            showLinkPage(ui->A_MP_ConnectedInfomation_5);
            m_timerTestGetSerial->start(100);
        } else {
            fallBackToPresencePoll();
        }
        qDebug() << "get serial fail";
    }
    io.readTimes = 0;
}
