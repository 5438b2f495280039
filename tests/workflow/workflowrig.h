#pragma once

// Helpers of the scenario suites that drive the real window against the
// in-process companion-app simulator through its widgets.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "companionsimulator.h"
#include "protocol/messages.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTableWidget>
#include <QtTest>

#include <functional>

namespace workflowrig {

constexpr int kWait = 15000;

// A click as the user makes it: only on a widget that is there and enabled.
inline bool click(QAbstractButton *b)
{
    if (!b || b->isHidden() || !b->isEnabled())
        return false;
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    return true;
}

// Every frame the window has written so far has reached the simulator: a
// marker request is sent after them and waited for.
inline bool flushToSimulator(MainWindow &w, CompanionSimulator &sim)
{
    const int before = sim.count(proto::GetMessageCount);
    w.getMessageCount();
    return QTest::qWaitFor([&] { return sim.count(proto::GetMessageCount) > before; }, kWait);
}

// The polls of the workflow run at their own pace (up to a second a tick); the
// test lets every running poll tick every few milliseconds instead, so a whole
// scan and erase take well under a second. The countdowns keep their pace.
inline QList<QTimer *> pollTimers(MainWindow &w)
{
    return {w.m_timerCheckStopGetPhotoBeforeScan, w.m_timerCheckStopGetPhotoSwitchedAllApp,
            w.m_timerLeftTimeReadable,            w.m_timerAllDataReadable,
            w.m_timerCheckCancelScan,             w.m_timerCheckApkIsDefaultSMSAppReadable,
            w.m_timerChangeDefaultSMSAppReadable, w.m_timerAllDataErased,
            w.m_timerCheckCancelErase};
}

inline bool waitFor(MainWindow &w, const std::function<bool()> &done, int timeoutMs = kWait)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        for (QTimer *t : pollTimers(w))
            if (t->isActive() && t->interval() > 5)
                t->setInterval(5);
        QTest::qWait(2);
    }
    return true;
}

// Clicks a row of a result table as the user does.
inline bool clickRow(QTableWidget *table, int row)
{
    if (!table || table->isHidden() || row >= table->rowCount())
        return false;
    QTableWidgetItem *item = table->item(row, 2);
    if (!item)
        return false;
    table->scrollToItem(item);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, table->visualItemRect(item).center());
    return true;
}

// Connects the window's socket to the simulator as the device link would
// (the window's own device link is kept quiet by the caller).
inline bool connectToSimulator(MainWindow &w, CompanionSimulator &sim, int sdk)
{
    sim.setSdkLevel(sdk);
    if (!sim.listen())
        return false;
    w.show();
    w.m_tcpSocket->connectToHost(QHostAddress::LocalHost, sim.port());
    if (!QTest::qWaitFor([&] { return sim.hasClient(); }, kWait))
        return false;
    w.m_programType = ProgramType::Idle;
    w.m_workPhase = None;
    w.m_sdkLevel = sdk;
    w.setScopeButtonsEnabled(true);
    return true;
}

// Scans the scope the button chooses, as the user would (the scope, then
// Scan), and waits until the results are shown and the photo fetch is over.
inline bool scanWhole(MainWindow &w, QAbstractButton *scope)
{
    if (!click(scope) || !waitFor(w, [&] { return !w.ui->B_EAll_ToScan->isHidden(); }))
        return false;
    if (!click(w.ui->EAll_Label_ToScan))
        return false;
    return waitFor(w, [&] { return w.m_workPhase == Scanned; })
        && waitFor(w, [&] { return !w.m_timerGetPhotoByTime->isActive(); });
}

} // namespace workflowrig
