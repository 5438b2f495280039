#pragma once

// Driving the real window against the in-process companion-app simulator:
// connecting it as the device link would, and waiting for it while its
// workflow polls tick every few milliseconds instead of up to a second, so a
// scan and an erase take a fraction of a second. The countdowns and the
// photo fetching keep their pace.

#include "mainwindow.h"

#include "companionsimulator.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTest>
#include <QTimer>

#include <functional>

namespace drive {

inline QList<QTimer *> pollTimers(MainWindow &w)
{
    return {w.m_timerCheckStopGetPhotoBeforeScan, w.m_timerCheckStopGetPhotoSwitchedAllApp,
            w.m_timerLeftTimeReadable,            w.m_timerAllDataReadable,
            w.m_timerCheckCancelScan,             w.m_timerCheckApkIsDefaultSMSAppReadable,
            w.m_timerChangeDefaultSMSAppReadable, w.m_timerAllDataErased,
            w.m_timerCheckCancelErase};
}

inline bool waitFor(MainWindow &w, const std::function<bool()> &done, int timeoutMs = 20000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        for (QTimer *t : pollTimers(w))
            if (t && t->isActive() && t->interval() > 5)
                t->setInterval(5);
        QTest::qWait(2);
    }
    return true;
}

// Connects the window's socket to the simulator and leaves the program idle
// on a connected phone, its scope buttons enabled.
inline bool connect(MainWindow &w, CompanionSimulator &sim, int sdk = 28, int timeoutMs = 20000)
{
    sim.setSdkLevel(sdk);
    if (!sim.port() && !sim.listen())
        return false;
    w.show();
    w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, sim.port());
    if (!QTest::qWaitFor([&] { return sim.hasClient(); }, timeoutMs))
        return false;
    w.m_programType = ProgramType::Idle;
    w.m_workPhase = None;
    w.m_sdkLevel = sdk;
    w.setScopeButtonsEnabled(true);
    return true;
}

} // namespace drive
