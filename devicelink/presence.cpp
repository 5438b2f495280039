// The presence poll: without a phone the device link asks `adb devices`
// every 100 ms and starts a new connection attempt at the port check as soon
// as a phone is listed. The device watcher runs while the poll waits; an
// arrival only stops it early, the decision rests on the probe alone. The
// hand-back from the session is a probe too.
//
// adb's own device tracking spares the waiting: while a loop finds no phone
// at all (this poll, and the USB step while adb lists nothing), `adb
// track-devices` runs beside it and prints the device list whenever it
// changes. Once it has listed the devices, the loop asks `adb devices` only
// every m_trackedWaitMs, and a change of the list wakes it at once; the
// decision still rests on the probe alone, so the pages and decisions are
// those of the plain poll. A tracker that cannot run or ends (an adb without
// it, the server stopped) leaves the loops polling every 100 ms as before;
// it is started again on a later wait, no sooner than m_trackerRetryMs after
// its last start. It is ended when the program closes.
#include "devicelink/stepdef.h"
#include "devicewatcher/qdevicewatcher.h"
#include "ui_mainwindow.h"

#include <QDebug>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

using Step = MainWindow::StepDef;

// Both run the device probe only, then decide.
const Step kPresence = Step(MainWindow::StepSlotDeviceIn)
                           .probes(StepProbe::Always)
                           .rules(nullptr, &MainWindow::decidePresence);
const Step kHandBack =
    Step(MainWindow::StepHandBack).probes(StepProbe::Always).rules(nullptr, &MainWindow::decideHandBack);

// The phone has been seen gone. After a reboot that is what the USB step
// waits for; when the phone drops off before the poll first looks, the USB
// step would otherwise wait for a disappearance that has already happened
// and never let the returned phone through.
void noteGoneAfterReboot(bool &isAfterReboot)
{
    if (isAfterReboot) {
        isAfterReboot = false;
        qDebug() << "check in,no hd,m_isAfterReboot change to false";
    }
}

} // namespace

void MainWindow::slotDeviceIn()
{
    // An arrival stops the watcher early; otherwise the watcher runs while
    // the poll waits.
    m_presenceSawArrival = m_deviceArrived;
    if (m_deviceArrived) {
        if (m_deviceWatcher->isWatching()) {
            m_deviceWatcher->stopWatching();
            m_deviceArrived = false;
        }
    } else if (!m_deviceWatcher->isWatching()) {
        if (m_deviceWatcher->startWatching())
            qDebug() << "start watcher done";
        else
            qDebug() << "start watcher fail";
    }
    m_hasDevice = false;
    runStep(kPresence);
}

void MainWindow::decidePresence(bool phoneListed)
{
    if (phoneListed) {
        if (m_deviceWatcher->isWatching()) {
            m_deviceWatcher->stopWatching();
            m_deviceArrived = false;
        }
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        m_hasDevice = false;
        armStep(StepTestPort, 100);
        qDebug() << (m_presenceSawArrival ? "start check in;in,hd;start port" : "start check in;no in,hd;start port");
    } else {
        noteGoneAfterReboot(m_isAfterReboot);
        showLinkNotice(ui->A_MP_D_ReconnectDevice);
        armPhoneWait(m_stepTimer[StepSlotDeviceIn]);
        qDebug() << (m_presenceSawArrival ? "start check in;in,no hd;start check in"
                                          : "start check in;no in,no hd;start check in");
    }
}

// The session gave up on the companion app: the device link takes over
// again, from the package check while the phone is still listed.
void MainWindow::handBackToDeviceLink()
{
    // Once the program is closing, its exit command is the only step left:
    // stopping the link here would end that command early.
    if (m_closeRequested)
        return;
    stopDeviceLink();
    runStep(kHandBack);
}

void MainWindow::decideHandBack(bool phoneListed)
{
    if (phoneListed) {
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        armStep(StepTestCheckHasApk, 100);
    } else {
        armStep(StepTestPort, 100);
    }
}

// ---------------------------------------------------------------------------
// adb's own device tracking
// ---------------------------------------------------------------------------

void MainWindow::armPhoneWait(QTimer *timer)
{
    startDeviceTracking();
    m_phoneWaitTimer = timer;
    // A list that came while this round ran may be newer than its probe.
    const bool changed = m_trackedListChanged;
    m_trackedListChanged = false;
    armStep(timer, m_deviceTracking && !changed ? m_trackedWaitMs : 100);
}

void MainWindow::wakePhoneWait()
{
    // Only a loop that waits on the tracked interval: any other arming of
    // its timer stands.
    if (m_phoneWaitTimer && m_phoneWaitTimer->isActive() && m_phoneWaitTimer->interval() == m_trackedWaitMs)
        m_phoneWaitTimer->start(100);
}

void MainWindow::startDeviceTracking()
{
    if (m_adbProgram.isEmpty() || m_closeRequested)
        return;
    if (m_deviceTracker && m_deviceTracker->state() != QProcess::NotRunning)
        return;
    if (m_trackerStarted.isValid() && m_trackerStarted.elapsed() < m_trackerRetryMs)
        return;
    if (!m_deviceTracker) {
        m_deviceTracker = new QProcess(this);
        m_deviceTracker->setEnvironment(QProcess::systemEnvironment());
        connect(m_deviceTracker, &QProcess::readyReadStandardOutput, this, &MainWindow::deviceTrackerOutput);
        connect(m_deviceTracker, &QProcess::readyReadStandardError, this, [this] {
            for (const QString &line :
                 devicelink::nonEmptyOutputLines(QString::fromLocal8Bit(m_deviceTracker->readAllStandardError())))
                qDebug().noquote() << "device tracking says:" << line;
        });
        connect(m_deviceTracker, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
                &MainWindow::deviceTrackerEnded);
        connect(m_deviceTracker, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                deviceTrackerEnded();
        });
#ifdef Q_OS_WIN
        m_deviceTracker->setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments *args) {
            args->startupInfo->dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES; // 0x101
            args->startupInfo->wShowWindow = SW_HIDE;
        });
#endif
    }
    m_trackedLists = devicelink::TrackedDeviceLists();
    m_deviceTracking = false;
    m_trackerStarted.start();
    qDebug() << "device tracking start:" << m_adbProgram << "track-devices";
    m_deviceTracker->start(m_adbProgram, {QStringLiteral("track-devices")}, QIODevice::ReadOnly);
}

void MainWindow::deviceTrackerOutput()
{
    m_trackedLists.feed(m_deviceTracker->readAllStandardOutput());
    QString list;
    bool changed = false;
    while (m_trackedLists.next(&list)) {
        changed = true;
        if (!m_deviceTracking) {
            m_deviceTracking = true;
            qDebug() << "device tracking on";
        }
        qDebug() << "device tracking list:" << list;
    }
    if (m_trackedLists.broken()) {
        qDebug() << "device tracking not understood, polling";
        stopDeviceTracking();
        wakePhoneWait();
        return;
    }
    if (changed) {
        m_trackedListChanged = true;
        wakePhoneWait();
    }
}

void MainWindow::deviceTrackerEnded()
{
    const bool wasTracking = m_deviceTracking;
    m_deviceTracking = false;
    qDebug() << "device tracking over:" << m_deviceTracker->exitCode() << m_deviceTracker->errorString();
    // A loop waiting on the tracked interval polls as before.
    if (wasTracking)
        wakePhoneWait();
}

void MainWindow::stopDeviceTracking()
{
    m_deviceTracking = false;
    if (m_deviceTracker && m_deviceTracker->state() != QProcess::NotRunning)
        m_deviceTracker->kill();
}
