// The presence poll: without a phone the device link asks `adb devices`
// every 100 ms and starts a new connection attempt at the port check as soon
// as a phone is listed. The device watcher runs while the poll waits; an
// arrival only stops it early, the decision rests on the probe alone.
#include "devicewatcher/qdevicewatcher.h"
#include "mainwindow.h"
#include "ui_mainwindow.h"
#include "widgetvisibility.h"

#include <QDebug>

namespace {

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
    // Like every step, the poll stops its own timer first; the no-phone rows
    // arm it again. Without this a watcher that failed to start would leave
    // the poll running beside the connection sequence.
    m_timerSlotDeviceIn->stop();

    if (m_deviceArrived) {
        if (m_deviceWatcher->isWatching()) {
            m_deviceWatcher->stopWatching();
            m_deviceArrived = false;
            m_timerSlotDeviceIn->stop();
        }
        m_hasDevice = false;
        if (probeDevicePresent()) {
            if (m_deviceWatcher->isWatching())
                m_deviceWatcher->stopWatching();
            hideLinkNotice(ui->A_MP_D_ReconnectDevice);
            m_hasDevice = false;
            m_timerTestPort->start(100);
            qDebug() << "start check in;in,hd;start port";
        } else {
            noteGoneAfterReboot(m_isAfterReboot);
            showLinkNotice(ui->A_MP_D_ReconnectDevice);
            m_timerSlotDeviceIn->start(100);
            qDebug() << "start check in;in,no hd;start check in";
        }
        return;
    }

    if (!m_deviceWatcher->isWatching()) {
        if (m_deviceWatcher->startWatching())
            qDebug() << "start watcher done";
        else
            qDebug() << "start watcher fail";
    }
    m_hasDevice = false;
    if (probeDevicePresent()) {
        if (m_deviceWatcher->isWatching()) {
            m_deviceWatcher->stopWatching();
            m_deviceArrived = false;
            m_timerSlotDeviceIn->stop();
        }
        hideLinkNotice(ui->A_MP_D_ReconnectDevice);
        m_hasDevice = false;
        m_timerTestPort->start(100);
        qDebug() << "start check in;no in,hd;start port";
    } else {
        noteGoneAfterReboot(m_isAfterReboot);
        showLinkNotice(ui->A_MP_D_ReconnectDevice);
        m_timerSlotDeviceIn->start(100);
        qDebug() << "start check in;no in,no hd;start check in";
    }
}
