// The presence poll: without a phone the device link asks `adb devices`
// every 100 ms and starts a new connection attempt at the port check as soon
// as a phone is listed. The device watcher runs while the poll waits; an
// arrival only stops it early, the decision rests on the probe alone. The
// hand-back from the session is a probe too.
#include "devicelink/stepdef.h"
#include "devicewatcher/qdevicewatcher.h"
#include "ui_mainwindow.h"

#include <QDebug>

namespace {

using Step = MainWindow::StepDef;

// Both run the device probe only, then decide.
const Step kPresence = Step(MainWindow::StepSlotDeviceIn, &MainWindow::m_timerSlotDeviceIn)
                           .probes(StepProbe::Always)
                           .rules(nullptr, &MainWindow::decidePresence);
const Step kHandBack =
    Step(MainWindow::StepHandBack, nullptr).probes(StepProbe::Always).rules(nullptr, &MainWindow::decideHandBack);

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
        armStep(m_timerTestPort, 100);
        qDebug() << (m_presenceSawArrival ? "start check in;in,hd;start port" : "start check in;no in,hd;start port");
    } else {
        noteGoneAfterReboot(m_isAfterReboot);
        showLinkNotice(ui->A_MP_D_ReconnectDevice);
        armStep(m_timerSlotDeviceIn, 100);
        qDebug() << (m_presenceSawArrival ? "start check in;in,no hd;start check in"
                                          : "start check in;no in,no hd;start check in");
    }
}

// The session gave up on the companion app: the device link takes over
// again, from the package check while the phone is still listed.
void MainWindow::handBackToDeviceLink()
{
    stopDeviceLink();
    runStep(kHandBack);
}

void MainWindow::decideHandBack(bool phoneListed)
{
    if (phoneListed) {
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        armStep(m_timerTestCheckHasApk, 100);
    } else {
        armStep(m_timerTestPort, 100);
    }
}
