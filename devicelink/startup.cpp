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


namespace {

const QString kInstallDir = QStringLiteral("C:\\Program Files (x86)\\Purgatex");

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
    // The program's own folder holds the plug-in folders (platforms,
    // imageformats, styles) wherever the program is installed.
    QCoreApplication::setLibraryPaths(paths + QStringList{QCoreApplication::applicationDirPath()});
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

    // The environment is read once for all the steps.
    for (int step = 0; step < DeviceStepCount; ++step)
        m_step[step].process = newStepProcess(DeviceStep(step), step > 0 ? m_step[0].process : nullptr);
}

// The steps armed by a timer of their own and the slot each timer runs. A
// step not listed here (the reboot, the boot check, the hand-back, the exit
// command) is run directly and takes over from the step in flight.
const QVector<MainWindow::TimedStep> &MainWindow::timedSteps()
{
    static const QVector<TimedStep> steps = {
        {StepTestPort, &MainWindow::testPort, LinkStep},
        {StepTestGetOtherSoftPidBy5037, &MainWindow::testGetOtherSoftPidBy5037, LinkStep},
        {StepTestGetOtherSoftNameByPid, &MainWindow::testGetOtherSoftNameByPid, LinkStep},
        {StepTestKillAdb, &MainWindow::testKillAdb, LinkStep},
        {StepTestStartAdb, &MainWindow::testStartAdb, LinkStep},
        {StepTestUsb, &MainWindow::testUsb, LinkStep},
        {StepTestRsa, &MainWindow::testRsa, LinkStep},
        {StepTestKillAdbForRsa, &MainWindow::testKillAdbForRsa, LinkStep},
        {StepTestCheckHasApk, &MainWindow::testCheckHasApk, LinkStep},
        {StepTestInstallApk, &MainWindow::testInstallApk, LinkStep},
        {StepTestStartActivity, &MainWindow::testStartActivity, LinkStep},
        {StepTestForwardAdb, &MainWindow::testForwardAdb, LinkStep},
        {StepTestGetOtherSoftPidBy10000, &MainWindow::testGetOtherSoftPidBy10000, LinkStep},
        {StepTestGetOtherSoftNameByPid_10000, &MainWindow::testGetOtherSoftNameByPid_10000, LinkStep},
        {StepTestKillOtherSoftBy10000, &MainWindow::testKillOtherSoftBy10000, LinkStep},
        {StepTestGetPower, &MainWindow::testGetPower, LinkStep},
        {StepTestGetSerial, &MainWindow::testGetSerial, LinkStep},
        {StepTestAdbDevices, &MainWindow::testAdbDevices, LinkStep},
        {StepTestCheckAppQuited, &MainWindow::testCheckAppQuited, Watchdog},
        {StepSlotDeviceIn, &MainWindow::slotDeviceIn, LinkStep},
    };
    return steps;
}

void MainWindow::initStepTimers()
{
    for (const TimedStep &t : timedSteps()) {
        QTimer *timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, t.run);
        m_stepTimer[t.step] = timer;
    }
    m_timerStepTimeout = new QTimer(this);
    m_timerStepTimeout->setSingleShot(true);
    connect(m_timerStepTimeout, &QTimer::timeout, this, &MainWindow::stepTimedOut);
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
    if (m_deviceTracker) {
        m_deviceTracker->disconnect(this);
        if (m_deviceTracker->state() != QProcess::NotRunning) {
            m_deviceTracker->kill();
            m_deviceTracker->waitForFinished(1000);
        }
        delete m_deviceTracker;
        m_deviceTracker = nullptr;
    }
    for (StepIo &io : m_step) {
        if (!io.process)
            continue;
        io.process->disconnect(this);
        // Ended at once; the reaping of a killed child is immediate.
        if (io.process->state() != QProcess::NotRunning) {
            io.process->kill();
            io.process->waitForFinished(1000);
        }
        delete io.process;
        io.process = nullptr;
    }
}
