#pragma once

// Helpers for the device-link tests that run the real window: a capture of
// the debug log with one-shot hooks on log lines (widget lookup by object
// name comes from the window rig).

#include "devicewatcher/qdevicewatcher.h"
#include "mainwindow.h"
#include "ui_mainwindow.h" // for the window rig (AUTOUIC reads this header)
#include "support/windowrig.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <QtGlobal>

#include <functional>

class LogCapture
{
public:
    LogCapture()
    {
        s_current = this;
        m_previous = qInstallMessageHandler(&LogCapture::handler);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }

    QStringList lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

    // Lines starting with the text.
    int count(const QString &start) const
    {
        int n = 0;
        for (const QString &l : m_lines)
            n += l.startsWith(start) ? 1 : 0;
        return n;
    }
    bool contains(const QString &start) const { return count(start) > 0; }
    int indexOf(const QString &start, int from = 0) const
    {
        for (int i = from; i < m_lines.size(); ++i) {
            if (m_lines.at(i).startsWith(start))
                return i;
        }
        return -1;
    }
    // The texts appear in this order (not necessarily next to each other).
    bool inOrder(const QStringList &starts) const
    {
        int at = 0;
        for (const QString &s : starts) {
            at = indexOf(s, at);
            if (at < 0)
                return false;
            ++at;
        }
        return true;
    }

    // Runs once, inside the logging call, when a line starting with the
    // text is logged: lets a test act at an exact point of a step.
    void onLine(const QString &start, std::function<void()> action)
    {
        m_hooks.append(qMakePair(start, action));
    }

private:
    static void handler(QtMsgType, const QMessageLogContext &, const QString &msg)
    {
        LogCapture *self = s_current;
        if (!self)
            return;
        self->m_lines << msg;
        for (int i = 0; i < self->m_hooks.size(); ++i) {
            if (msg.startsWith(self->m_hooks.at(i).first)) {
                const auto action = self->m_hooks.takeAt(i).second;
                action();
                break;
            }
        }
    }

    static inline LogCapture *s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
    QStringList m_lines;
    QList<QPair<QString, std::function<void()>>> m_hooks;
};

using rig::shown;
using rig::widget;

// Gives the window a hand-over timer when the session does not provide one,
// so the hand-over can be observed.
inline void ensureHandOverTimer(MainWindow &w)
{
    if (!w.m_timerNewTCPConnected)
        w.m_timerNewTCPConnected = new QTimer(&w);
}

// Every timer that arms a step of the device link, the watchdog and the
// hand-over to the session included.
inline QList<QTimer *> linkTimers(MainWindow &w)
{
    QList<QTimer *> timers;
    for (const MainWindow::TimedStep &t : MainWindow::timedSteps())
        timers << w.m_stepTimer[t.step];
    timers << w.m_timerNewTCPConnected;
    return timers;
}

// Stops the session's supervision the moment the device link hands over,
// and records whether the hand-over armed it with 100 ms and showed the
// phone page.
struct HandOver
{
    bool armed = false;
    bool phonePageShown = false;
    void watch(LogCapture &log, MainWindow &w)
    {
        ensureHandOverTimer(w);
        log.onLine(QStringLiteral("after get serial check"), [this, &w] {
            armed = w.m_timerNewTCPConnected->isActive() && w.m_timerNewTCPConnected->interval() == 100;
            phonePageShown = shown(w, "A_MP_ConnectedInfomation_5");
            w.m_timerNewTCPConnected->stop();
        });
    }
};
