// Device-link duties of the window's construction and destruction: the
// environment, the plug-in folders, one process and one timer per command
// step, and the device watcher.
#include "devicelink/toollocator.h"
#include "devicewatcher/qdevicewatcher.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

const QString kInstallDir = QStringLiteral("C:\\Program Files (x86)\\Purgatex");

struct StepHandlers
{
    MainWindow::DeviceStep step;
    void (MainWindow::*output)();
    void (MainWindow::*result)(int);
};

// Output and result handler of each step; the reboot has none.
const StepHandlers kStepHandlers[] = {
    {MainWindow::StepTestPort, &MainWindow::readPort, &MainWindow::readPortResult},
    {MainWindow::StepTestGetOtherSoftPidBy5037, &MainWindow::readGetOtherSoftPidBy5037,
     &MainWindow::readGetOtherSoftPidBy5037Result},
    {MainWindow::StepTestGetOtherSoftNameByPid, &MainWindow::readGetOtherSoftNameBy5037,
     &MainWindow::readGetOtherSoftNameBy5037Result},
    {MainWindow::StepTestKillAdb, &MainWindow::readKillAdb, &MainWindow::readKillAdbResult},
    {MainWindow::StepTestStartAdb, &MainWindow::readStartAdb, &MainWindow::readStartAdbResult},
    {MainWindow::StepTestUsb, &MainWindow::readUsb, &MainWindow::readUsbResult},
    {MainWindow::StepTestRsa, &MainWindow::readRsa, &MainWindow::readRsaResult},
    {MainWindow::StepTestKillAdbForRsa, &MainWindow::readKillAdbForRsa, &MainWindow::readKillAdbForRsaResult},
    {MainWindow::StepTestCheckHasApk, &MainWindow::readCheckHasApk, &MainWindow::readCheckHasApkResult},
    {MainWindow::StepTestInstallApk, &MainWindow::readInstallApk, &MainWindow::readInstallApkResult},
    {MainWindow::StepTestStartActivity, &MainWindow::readStartActivity, &MainWindow::readStartActivityResult},
    {MainWindow::StepTestForwardAdb, &MainWindow::readForwardAdb, &MainWindow::readForwardAdbResult},
    {MainWindow::StepTestGetOtherSoftPidBy10000, &MainWindow::readGetOtherSoftPidBy10000,
     &MainWindow::readGetOtherSoftPidBy10000Result},
    {MainWindow::StepTestGetOtherSoftNameByPid_10000, &MainWindow::readGetOtherSoftNameBy10000,
     &MainWindow::readGetOtherSoftNameBy10000Result},
    {MainWindow::StepTestKillOtherSoftBy10000, &MainWindow::readKillOtherSoftBy10000,
     &MainWindow::readKillOtherSoftBy10000Result},
    {MainWindow::StepTestGetPower, &MainWindow::readGetPower, &MainWindow::readGetPowerResult},
    {MainWindow::StepTestGetSerial, &MainWindow::readGetSerial, &MainWindow::readGetSerialResult},
    {MainWindow::StepTestAdbDevices, &MainWindow::readAdbDevices, &MainWindow::readAdbDevicesResult},
    {MainWindow::StepTestCheckAppQuited, &MainWindow::readCheckAppQuited, &MainWindow::readCheckAppQuitedResult},
};

} // namespace

void MainWindow::initEnvironment()
{
    qputenv("Purgatex", QDir::currentPath().toLocal8Bit());
}

void MainWindow::initLibraryPaths()
{
    const QStringList paths = {
        kInstallDir,
        kInstallDir + QStringLiteral("\\platforms"),
        kInstallDir + QStringLiteral("\\bearer"),
        kInstallDir + QStringLiteral("\\iconengines"),
        kInstallDir + QStringLiteral("\\translations"),
    };
    for (const QString &path : paths)
        QCoreApplication::addLibraryPath(path);
#ifdef Q_OS_WIN
    QCoreApplication::setLibraryPaths(paths);
#else
    // The install folder exists only on Windows; elsewhere the system's own
    // plug-in folders stay searched after it, or no image format beyond the
    // built-in ones (JPEG thumbnails, the ICO window icon) could be read.
    QStringList withSystem = paths;
    for (const QString &path : QCoreApplication::libraryPaths()) {
        if (!withSystem.contains(path))
            withSystem << path;
    }
    QCoreApplication::setLibraryPaths(withSystem);
#endif
}

void MainWindow::initStepProcesses()
{
    const devicelink::ToolPaths tools = devicelink::locateToolsForThisProcess();
    m_adbProgram = tools.adb;
    m_netstatProgram = tools.netstat;
    m_tasklistProgram = tools.tasklist;
    m_taskkillProgram = tools.taskkill;
    qDebug() << "adb used:" << m_adbProgram;
    qDebug() << "helpers used:" << m_netstatProgram << m_tasklistProgram << m_taskkillProgram;

    for (StepIo &io : m_step) {
        io.process = new QProcess;
        io.process->setEnvironment(QProcess::systemEnvironment());
    }
    for (const StepHandlers &h : kStepHandlers) {
        QProcess *p = m_step[h.step].process;
        connect(p, &QProcess::readyReadStandardOutput, this, h.output);
        // A command killed by a signal has no exit code of its own; it counts
        // as failed rather than as a silent success.
        const auto result = h.result;
        connect(p, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
                [this, result](int exitCode, QProcess::ExitStatus status) {
                    (this->*result)(status == QProcess::CrashExit && exitCode == 0 ? -1 : exitCode);
                });
    }
    QProcess *reboot = m_step[StepTestReboot].process;
    connect(reboot, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, &MainWindow::rebootEnded);
    connect(reboot, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            qDebug() << "command not started:" << m_adbProgram << "reboot";
            rebootEnded();
        }
    });
    // The exit command may find no taskkill to run; the program still ends.
    connect(m_step[StepTestPort].process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (m_closeRequested && error == QProcess::FailedToStart) {
            qDebug() << "close command not started, quitting";
            QCoreApplication::exit(0);
        }
    });
#ifdef Q_OS_WIN
    for (StepIo &io : m_step) {
        io.process->setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
            args->startupInfo->dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES; // 0x101
            args->startupInfo->wShowWindow = SW_HIDE;
        });
    }
#endif
}

void MainWindow::initStepTimers()
{
    struct TimerSlot
    {
        QTimer **timer;
        void (MainWindow::*slot)();
    };
    const TimerSlot timers[] = {
        {&m_timerTestPort, &MainWindow::testPort},
        {&m_timerTestGetOtherSoftPidBy5037, &MainWindow::testGetOtherSoftPidBy5037},
        {&m_timerTestGetOtherSoftNameByPid, &MainWindow::testGetOtherSoftNameByPid},
        {&m_timerTestKillAdb, &MainWindow::testKillAdb},
        {&m_timerTestStartAdb, &MainWindow::testStartAdb},
        {&m_timerTestUsb, &MainWindow::testUsb},
        {&m_timerTestRsa, &MainWindow::testRsa},
        {&m_timerTestKillAdbForRsa, &MainWindow::testKillAdbForRsa},
        {&m_timerTestCheckHasApk, &MainWindow::testCheckHasApk},
        {&m_timerTestInstallApk, &MainWindow::testInstallApk},
        {&m_timerTestStartActivity, &MainWindow::testStartActivity},
        {&m_timerTestForwardAdb, &MainWindow::testForwardAdb},
        {&m_timerTestGetOtherSoftPidBy10000, &MainWindow::testGetOtherSoftPidBy10000},
        {&m_timerTestGetOtherSoftNameByPid_10000, &MainWindow::testGetOtherSoftNameByPid_10000},
        {&m_timerTestKillOtherSoftBy10000, &MainWindow::testKillOtherSoftBy10000},
        {&m_timerTestGetPower, &MainWindow::testGetPower},
        {&m_timerTestGetSerial, &MainWindow::testGetSerial},
        {&m_timerTestAdbDevices, &MainWindow::testAdbDevices},
        {&m_timerTestCheckAppQuited, &MainWindow::testCheckAppQuited},
        {&m_timerSlotDeviceIn, &MainWindow::slotDeviceIn},
    };
    for (const TimerSlot &t : timers) {
        *t.timer = new QTimer(this);
        connect(*t.timer, &QTimer::timeout, this, t.slot);
    }
    m_timerRebootTimeout = new QTimer(this);
    m_timerRebootTimeout->setSingleShot(true);
    connect(m_timerRebootTimeout, &QTimer::timeout, this, &MainWindow::rebootEnded);
}

void MainWindow::initDeviceWatcher()
{
    m_deviceWatcher = new QDeviceWatcher;
    m_deviceWatcher->registerEventReceiver(this);
}

void MainWindow::teardownDeviceLink()
{
    if (m_deviceWatcher) {
        if (m_deviceWatcher->isWatching())
            m_deviceWatcher->stopWatching();
        delete m_deviceWatcher;
        m_deviceWatcher = nullptr;
    }
    for (StepIo &io : m_step) {
        if (!io.process)
            continue;
        io.process->disconnect(this);
        if (io.process->state() != QProcess::NotRunning) {
            io.process->kill();
            io.process->waitForFinished(1000);
        }
        delete io.process;
        io.process = nullptr;
    }
}
