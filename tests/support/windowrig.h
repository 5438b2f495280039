#pragma once

// The one rig of the window suites: the real window, headless, against the
// in-process companion-app simulator and the simulated tools, driven through
// its widgets as the user drives it.
//
// - rig::Rig, the fixture of a scenario: simulated tools (SimPhone), the
//   simulator with its data set, and a quiet window (the device link does not
//   start by itself; the test connects the socket as the device link would).
// - rig::waitFor, the wait of every window suite: while it waits, the
//   workflow's running polls tick every few milliseconds instead of up to a
//   second, so a scan and an erase take a fraction of a second. The
//   countdowns and the photo fetching keep their pace.
// - click, clickRow: a click as the user makes it, only on what is there.

#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "companionsimulator.h"
#include "protocol/messages.h"
#include "simdataset.h"
#include "support/simphone.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace rig {

// How long a rig waits for what a simulated phone does in well under a
// second; reached only when the program is stuck.
constexpr int kWait = 20000;

// A window that stays still: its device link does not start by itself.
inline void quiet(MainWindow &w)
{
    w.m_stepTimer[MainWindow::StepTestPort]->stop();
}

inline std::unique_ptr<MainWindow> quietWindow()
{
    auto w = std::make_unique<MainWindow>();
    quiet(*w);
    return w;
}

// The window quiet, on screen and active, so that keys reach it.
inline bool showActive(MainWindow &w)
{
    quiet(w);
    w.show();
    w.activateWindow();
    return QTest::qWaitForWindowActive(&w);
}

// A widget of the window by its object name (asserted to be there).
inline QWidget *widget(MainWindow &w, const char *name)
{
    QWidget *found = w.findChild<QWidget *>(QLatin1String(name));
    Q_ASSERT_X(found, "widget", name);
    return found;
}

inline bool shown(MainWindow &w, const char *name)
{
    return !widget(w, name)->isHidden();
}

// A click as the user makes it: only on a widget that is there and enabled.
inline bool click(QAbstractButton *b)
{
    if (!b || b->isHidden() || !b->isEnabled())
        return false;
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
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

// The workflow's polls, which tick at their own pace (up to a second).
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
            if (t && t->isActive() && t->interval() > 5)
                t->setInterval(5);
        QTest::qWait(2);
    }
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

// Connects the window's socket to the simulator as the device link would
// (the window's own device link is kept quiet by the caller) and leaves the
// program idle on a connected phone, its scope buttons enabled.
inline bool connect(MainWindow &w, CompanionSimulator &sim, int sdk = 28, int timeoutMs = kWait)
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

// The scope the button chooses, then Scan, as the user clicks them; does not
// wait for the scan.
inline bool startScan(MainWindow &w, QAbstractButton *scope)
{
    if (!click(scope) || !waitFor(w, [&] { return !w.ui->B_EAll_ToScan->isHidden(); }))
        return false;
    return click(w.ui->EAll_Label_ToScan);
}

// Scans the scope the button chooses and waits until the results are shown.
inline bool scan(MainWindow &w, QAbstractButton *scope, int timeoutMs = kWait)
{
    return startScan(w, scope) && waitFor(w, [&] { return w.m_workPhase == Scanned; }, timeoutMs);
}

// Scans, and waits until the results are shown and the photo fetch is over.
inline bool scanWhole(MainWindow &w, QAbstractButton *scope)
{
    return scan(w, scope) && waitFor(w, [&] { return !w.m_timerGetPhotoByTime->isActive(); });
}

// "Erase" typed into the confirm page's empty box, then Erase Now; does not
// wait for the erase.
inline bool startErase(MainWindow &w)
{
    QLineEdit *edit = w.ui->M_ConformErase_LineEdit_InputErase;
    edit->clear();
    QTest::keyClicks(edit, "Erase");
    return click(w.ui->M_ConformErase_PushButton_EraseNow);
}

// Starts the erase and waits until it reaches 100.
inline bool eraseNow(MainWindow &w, int timeoutMs = kWait)
{
    return startErase(w) && waitFor(w, [&] { return w.m_eraseProgress == 100; }, timeoutMs);
}

// The fixture of a scenario suite.
struct Rig
{
    SimPhone phone; // reboot and exit run the simulated tools
    CompanionSimulator sim;
    MainWindow w;
    explicit Rig(const SimDataSet &data = SimDataSet::generate())
        : sim(data)
    {
        quiet(w); // no device link: the socket is connected by hand
        // A batch the phone never answers after a cancel is given up on
        // sooner than on a real phone.
        w.m_lateAnswerWaitMs = 1500;
    }

    bool connect(int sdk = 28) { return rig::connect(w, sim, sdk); }
    bool scan(QAbstractButton *scope, int timeoutMs = kWait) { return rig::scan(w, scope, timeoutMs); }
    bool eraseNow(int timeoutMs = kWait) { return rig::eraseNow(w, timeoutMs); }
    // Connected, and the scope the button chooses (Private when none) scanned.
    bool connectAndScan(QAbstractButton *scope = nullptr)
    {
        return connect() && scan(scope ? scope : w.ui->S_Private_Button);
    }
    bool waitFor(const std::function<bool()> &done, int timeoutMs = kWait)
    {
        return rig::waitFor(w, done, timeoutMs);
    }

    // The keys of a category the simulator was asked to erase, in order.
    QStringList erasedKeys(Category c) const
    {
        QStringList keys;
        for (const auto &e : sim.eraseRequests())
            if (e.category == c)
                keys << e.key;
        return keys;
    }
};

} // namespace rig
