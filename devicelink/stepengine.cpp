// The command steps: running one outside command on the step's own process,
// collecting its output, and judging it with the output rules. Which step
// follows which outcome lives beside the steps (connection.cpp, ports.cpp,
// presence.cpp, rebootexit.cpp).
#include "devicelink/outputrules.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"

#include <QDebug>

using namespace devicelink;

// ---------------------------------------------------------------------------
// Running a command
// ---------------------------------------------------------------------------

void MainWindow::appendStepTrace(const char *tag)
{
    ui->testLabel_2->setText(ui->testLabel_2->text() + QLatin1String(tag));
}

void MainWindow::runStep(DeviceStep step, const QString &program, const QStringList &arguments, int sliceMs,
                         const char *whileLog)
{
    m_step[step].process->start(program, arguments, QIODevice::ReadWrite);
    waitForStep(step, sliceMs, whileLog);
}

void MainWindow::runStepCommandLine(DeviceStep step, const QString &commandLine, int sliceMs, const char *whileLog)
{
    QStringList arguments = QProcess::splitCommand(commandLine);
    const QString program = arguments.isEmpty() ? QString() : arguments.takeFirst();
    runStep(step, program, arguments, sliceMs, whileLog);
}

// Waits in slices until the command has finished; the step's handlers run
// inside the wait. A command that could not be started (or has gone without
// a finish notification) ends the wait too, so a missing tool cannot freeze
// the program: the step then decides on its flags as they stand.
void MainWindow::waitForStep(DeviceStep step, int sliceMs, const char *whileLog)
{
    QProcess *p = m_step[step].process;
    while (!p->waitForFinished(sliceMs)) {
        if (p->state() == QProcess::NotRunning) {
            if (p->error() == QProcess::FailedToStart)
                qDebug() << "command not started:" << p->program() << p->errorString();
            break;
        }
        if (whileLog)
            qDebug() << whileLog;
    }
}

void MainWindow::collectStepOutput(DeviceStep step, const char *logText)
{
    StepIo &io = m_step[step];
    ++io.readTimes;
    io.output += QString::fromLocal8Bit(io.process->readAllStandardOutput());
    qDebug() << logText << io.readTimes;
}

void MainWindow::logStepErrorOutput(DeviceStep step, const char *firstLine)
{
    qDebug() << firstLine;
    const QString err = QString::fromLocal8Bit(m_step[step].process->readAllStandardError());
    for (const QString &line : outputLines(err))
        qDebug().noquote() << line;
}

// Output that arrived with the finish notification is logged and kept with
// the rest of the step's output.
void MainWindow::logPendingOutput(DeviceStep step, const char *logText)
{
    StepIo &io = m_step[step];
    const QString pending = QString::fromLocal8Bit(io.process->readAllStandardOutput());
    io.output += pending;
    if (logText)
        qDebug() << logText << pending;
}

void MainWindow::resetAdbCheckState()
{
    for (StepIo &io : m_step)
        io.output.clear();
    m_hasDevice = false;
    m_port5037Used = false;
    m_otherSoftPid5037.clear();
    m_otherSoftName5037.clear();
    m_adbStarted = false;
    m_usbOpened = false;
    m_adbEmpty = false;
    m_isAuthorized = false;
    m_hasApk = false;
    m_step[StepTestCheckHasApk].error = false;
    m_apkInstalled = false;
    m_activityStarted = false;
    m_portForwarded = false;
    m_gotPower = false;
    m_gotSerial = false;
    m_otherSoftPid10000.clear();
    m_otherSoftName10000.clear();
    m_otherSoftKilled = false;
    m_adbKilled = false;
    m_adbKilledForRsa = false;
    m_appQuited = false;
    m_isOffline = false;
}

// The device probe: refreshes m_hasDevice and m_isOffline for its caller.
void MainWindow::testAdbDevices()
{
    m_timerTestAdbDevices->stop();
    qDebug() << "test adb devices";
    m_step[StepTestAdbDevices].output.clear();
    m_hasDevice = false;
    m_isOffline = false;
    runStep(StepTestAdbDevices, m_adbProgram, {QStringLiteral("devices")}, 1000);
    m_step[StepTestAdbDevices].readTimes = 0;
}

bool MainWindow::probeDevicePresent()
{
    testAdbDevices();
    return m_hasDevice;
}

// ---------------------------------------------------------------------------
// Output handlers: collect every chunk of standard output
// ---------------------------------------------------------------------------

void MainWindow::readPort() { collectStepOutput(StepTestPort, "port readready,times:"); }
void MainWindow::readGetOtherSoftPidBy5037()
{
    collectStepOutput(StepTestGetOtherSoftPidBy5037, "get other sort pid, readready,times:");
}
void MainWindow::readGetOtherSoftNameBy5037()
{
    collectStepOutput(StepTestGetOtherSoftNameByPid, "get other soft pid's name, readready,times:");
}
void MainWindow::readKillAdb() { collectStepOutput(StepTestKillAdb, "kill adb readready,times:"); }
void MainWindow::readStartAdb() { collectStepOutput(StepTestStartAdb, "start adb readready,times:"); }
void MainWindow::readUsb() { collectStepOutput(StepTestUsb, "usb readready,times:"); }
void MainWindow::readRsa() { collectStepOutput(StepTestRsa, "rsa readready,times:"); }
void MainWindow::readKillAdbForRsa() { collectStepOutput(StepTestKillAdbForRsa, "kill adb for rsa readready,times:"); }
void MainWindow::readCheckHasApk() { collectStepOutput(StepTestCheckHasApk, "check has apk readready,times:"); }
void MainWindow::readInstallApk()
{
    collectStepOutput(StepTestInstallApk, "install apk readready,times:");
    ui->MP_InstallApk_ProgressBar->setValue(m_step[StepTestInstallApk].readTimes);
}
void MainWindow::readStartActivity()
{
    StepIo &io = m_step[StepTestStartActivity];
    ++io.readTimes;
    io.output += QString::fromLocal8Bit(io.process->readAllStandardOutput());
    qDebug() << "start activity readready,times:" << io.readTimes << "content:" << io.output;
}
void MainWindow::readForwardAdb() { collectStepOutput(StepTestForwardAdb, "forwrad adb readready,times:"); }
void MainWindow::readGetOtherSoftPidBy10000()
{
    collectStepOutput(StepTestGetOtherSoftPidBy10000, "get other soft pid,after forward, readready,times:");
}
void MainWindow::readGetOtherSoftNameBy10000()
{
    collectStepOutput(StepTestGetOtherSoftNameByPid_10000,
                      "get other soft pid's name,after forward, readready,times:");
}
void MainWindow::readKillOtherSoftBy10000()
{
    collectStepOutput(StepTestKillOtherSoftBy10000, "kill other soft use 10000,before forward, readready,times:");
}
void MainWindow::readGetPower() { collectStepOutput(StepTestGetPower, "get power readready,times:"); }
void MainWindow::readGetSerial() { collectStepOutput(StepTestGetSerial, "get serial readready,times:"); }
void MainWindow::readAdbDevices()
{
    StepIo &io = m_step[StepTestAdbDevices];
    ++io.readTimes;
    io.output += QString::fromLocal8Bit(io.process->readAllStandardOutput());
    qDebug() << "test adb devices read str:" << io.output;
}
void MainWindow::readCheckAppQuited()
{
    collectStepOutput(StepTestCheckAppQuited, "check app quit readready,times:");
}

// ---------------------------------------------------------------------------
// Result handlers: judge the output on exit code 0, flag an error otherwise
// ---------------------------------------------------------------------------

void MainWindow::readPortResult(int resultCode)
{
    StepIo &io = m_step[StepTestPort];
    if (resultCode != 0) {
        // The port check resets on its error row; its buffer stays until then.
        logStepErrorOutput(StepTestPort, "result error:");
        m_port5037Used = false;
        io.error = true;
        return;
    }
    logPendingOutput(StepTestPort, nullptr);
    if (port5037Used(io.output))
        m_port5037Used = true;
    io.output.clear();
}

void MainWindow::readGetOtherSoftPidBy5037Result(int resultCode)
{
    StepIo &io = m_step[StepTestGetOtherSoftPidBy5037];
    if (resultCode != 0) {
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestGetOtherSoftPidBy5037, nullptr);
    const QString pid = holderPid5037(io.output);
    if (!pid.isEmpty()) {
        m_otherSoftPid5037 = pid;
        qDebug() << "find soft pid,is:" << pid;
    }
    io.output.clear();
}

void MainWindow::readGetOtherSoftNameBy5037Result(int resultCode)
{
    StepIo &io = m_step[StepTestGetOtherSoftNameByPid];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestGetOtherSoftNameByPid, "result error:");
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestGetOtherSoftNameByPid, nullptr);
    qDebug() << "readGetOtherSoftNameBy5037 result right,is:" << io.output;
    const QString name = imageNameForPid(io.output, m_otherSoftPid5037);
    if (!name.isEmpty())
        m_otherSoftName5037 = name;
    io.output.clear();
}

void MainWindow::readKillAdbResult(int resultCode)
{
    StepIo &io = m_step[StepTestKillAdb];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestKillAdb, "kill abd result error:");
        m_adbKilled = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestKillAdb, nullptr);
    qDebug() << "kill adb result str:" << io.output;
    if (killServerSucceeded(io.output)) {
        m_adbKilled = true;
        qDebug() << "kill adb right";
    }
    io.output.clear();
}

void MainWindow::readStartAdbResult(int resultCode)
{
    StepIo &io = m_step[StepTestStartAdb];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestStartAdb, "start adb result error:");
        m_adbStarted = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestStartAdb, "start adb result 0:");
    if (startServerSucceeded(io.output))
        m_adbStarted = true;
    io.output.clear();
}

void MainWindow::readUsbResult(int resultCode)
{
    StepIo &io = m_step[StepTestUsb];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestUsb, "usb result error:");
        m_usbOpened = false;
        m_adbEmpty = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestUsb, nullptr);
    UsbState state{m_usbOpened, m_adbEmpty, io.error, m_isOffline};
    QStringList log;
    applyUsbRule(io.output, state, &log);
    for (const QString &line : qAsConst(log))
        qDebug().noquote() << line;
    m_usbOpened = state.usbOpened;
    m_adbEmpty = state.adbEmpty;
    io.error = state.error;
    m_isOffline = state.isOffline;
    io.output.clear();
    qDebug() << "usb open state:" << m_usbOpened;
}

void MainWindow::readRsaResult(int resultCode)
{
    StepIo &io = m_step[StepTestRsa];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestRsa, "rsa result error:");
        m_isAuthorized = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestRsa, "rsa result 0:");
    qDebug() << "rsa result str:" << io.output;
    AuthState state{m_isAuthorized, io.error, m_isOffline};
    QString line;
    if (applyAuthRule(io.output, state, &line)) {
        qDebug() << "at" << 1 << "is:" << line;
        if (state.isOffline && state.error)
            qDebug() << "rsa offline";
        else if (state.error)
            qDebug() << "rsa error";
    }
    m_isAuthorized = state.authorized;
    io.error = state.error;
    m_isOffline = state.isOffline;
    io.output.clear();
}

void MainWindow::readKillAdbForRsaResult(int resultCode)
{
    StepIo &io = m_step[StepTestKillAdbForRsa];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestKillAdbForRsa, "kill adb for rsa result error:");
        m_adbKilledForRsa = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestKillAdbForRsa, nullptr);
    qDebug() << "kill adb for rsa result str:" << io.output;
    if (killServerSucceeded(io.output)) {
        m_adbKilledForRsa = true;
        qDebug() << "kill adb for rsa right";
    }
    io.output.clear();
}

void MainWindow::readCheckHasApkResult(int resultCode)
{
    StepIo &io = m_step[StepTestCheckHasApk];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestCheckHasApk, "check has apk result error:");
        m_hasApk = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestCheckHasApk, nullptr);
    qDebug() << "check has apk result str:" << io.output;
    if (hasCompanionPackage(io.output))
        m_hasApk = true;
    io.output.clear();
}

void MainWindow::readInstallApkResult(int resultCode)
{
    StepIo &io = m_step[StepTestInstallApk];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestInstallApk, "install apk result error:");
        m_apkInstalled = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestInstallApk, nullptr);
    qDebug() << "check install result str:" << io.output;
    if (installSucceeded(io.output)) {
        m_apkInstalled = true;
        qDebug() << "check install result right";
        if (io.readTimes > 50)
            ui->MP_InstallApk_ProgressBar->setValue(100);
    }
    io.readTimes = 0;
    io.output.clear();
}

void MainWindow::readStartActivityResult(int resultCode)
{
    StepIo &io = m_step[StepTestStartActivity];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestStartActivity, "start activity result error:");
        m_activityStarted = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestStartActivity, nullptr);
    if (activityStarted(io.output)) {
        m_activityStarted = true;
    } else {
        m_activityStarted = false;
        io.error = true;
    }
    io.output.clear();
}

void MainWindow::readForwardAdbResult(int resultCode)
{
    StepIo &io = m_step[StepTestForwardAdb];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestForwardAdb, "forward adb result error:");
        m_portForwarded = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestForwardAdb, nullptr);
    if (forwardSucceeded(io.output))
        m_portForwarded = true;
    io.output.clear();
}

void MainWindow::readGetOtherSoftPidBy10000Result(int resultCode)
{
    StepIo &io = m_step[StepTestGetOtherSoftPidBy10000];
    if (resultCode != 0) {
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestGetOtherSoftPidBy10000, nullptr);
    const QString pid = holderPid10000(io.output);
    if (!pid.isEmpty()) {
        m_otherSoftPid10000 = pid;
        qDebug() << "find soft pid,is:" << pid;
    } else {
        qDebug() << "not find soft pid,is:" << m_otherSoftPid10000;
    }
    io.output.clear();
}

void MainWindow::readGetOtherSoftNameBy10000Result(int resultCode)
{
    StepIo &io = m_step[StepTestGetOtherSoftNameByPid_10000];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestGetOtherSoftNameByPid_10000, "result error:");
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestGetOtherSoftNameByPid_10000, nullptr);
    qDebug() << "readGetOtherSoftNameBy10000 result right" << io.output;
    const QString name = imageNameForPid(io.output, m_otherSoftPid10000);
    if (!name.isEmpty())
        m_otherSoftName10000 = name;
    io.output.clear();
}

void MainWindow::readKillOtherSoftBy10000Result(int resultCode)
{
    StepIo &io = m_step[StepTestKillOtherSoftBy10000];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestKillOtherSoftBy10000, "result error:");
        m_otherSoftKilled = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestKillOtherSoftBy10000, nullptr);
    if (taskkillSucceeded(resultCode)) {
        m_otherSoftKilled = true;
        qDebug() << " readKillOtherSoftBy10000 right";
    }
    io.output.clear();
}

void MainWindow::readGetPowerResult(int resultCode)
{
    StepIo &io = m_step[StepTestGetPower];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestGetPower, "get power result error:");
        m_gotPower = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestGetPower, nullptr);
    qDebug() << "get power result str:" << io.output;
    const QStringList lines = outputLines(io.output);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        qDebug() << "at" << i << "is:" << line;
        if (line.contains(QLatin1String("level")))
            break;
    }
    const BatteryLevel level = batteryLevel(io.output);
    if (level.found) {
        if (!level.level.isEmpty())
            m_powerLevel = level.level;
        qDebug() << "power is:" << m_powerLevel;
        m_gotPower = true;
    }
    io.output.clear();
}

void MainWindow::readGetSerialResult(int resultCode)
{
    StepIo &io = m_step[StepTestGetSerial];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestGetSerial, "get power result error:");
        m_gotSerial = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestGetSerial, nullptr);
    qDebug() << "get power result str:" << io.output;
    const QStringList lines = outputLines(io.output);
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        qDebug() << "at" << i << "is:" << line;
        if (!line.isEmpty())
            break;
    }
    const SerialNumber serial = serialNumber(io.output);
    if (serial.found) {
        m_serialNo = serial.serial;
        qDebug() << "serial is:" << m_serialNo;
        m_gotSerial = true;
    }
    io.output.clear();
}

void MainWindow::readAdbDevicesResult(int resultCode)
{
    StepIo &io = m_step[StepTestAdbDevices];
    if (resultCode != 0)
        return;
    logPendingOutput(StepTestAdbDevices, "test adb devices result 0:");
    const DeviceProbeResult probe = probeDeviceList(io.output);
    for (const QString &line : probe.walked)
        qDebug() << line;
    if (probe.isOffline)
        m_isOffline = true;
    m_hasDevice = probe.hasDevice;
    qDebug() << "has devices state:" << m_hasDevice;
    io.output.clear();
}

void MainWindow::readCheckAppQuitedResult(int resultCode)
{
    StepIo &io = m_step[StepTestCheckAppQuited];
    if (resultCode != 0) {
        logStepErrorOutput(StepTestCheckAppQuited, "read app quit result error:");
        m_appQuited = false;
        io.output.clear();
        io.error = true;
        return;
    }
    logPendingOutput(StepTestCheckAppQuited, nullptr);
    qDebug() << "read app quit result str:" << io.output;
    if (companionQuit(io.output)) {
        qDebug() << "app quit right";
        m_appQuited = true;
    }
    io.output.clear();
}
