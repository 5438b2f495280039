#pragma once

// Measures how long the event loop stands still: a heartbeat timer ticks every
// few milliseconds and the meter keeps the largest gap between two ticks (and
// what came before the first tick). A gap far above the tick interval is a
// stall: the window could neither repaint nor take a click for that long.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

class StallMeter : public QObject
{
public:
    explicit StallMeter(int intervalMs = 20, QObject *parent = nullptr) : QObject(parent)
    {
        m_timer.setInterval(intervalMs);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
    }

    void start()
    {
        m_longestMs = 0;
        m_ticks = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    void stop()
    {
        tick();
        m_timer.stop();
    }

    // The largest gap seen between two heartbeats, minus the interval itself.
    qint64 longestStallMs() const { return m_longestMs; }
    qint64 ticks() const { return m_ticks; }
    qint64 elapsedMs() const { return m_clock.elapsed(); }

private:
    void tick()
    {
        const qint64 now = m_clock.elapsed();
        const qint64 gap = now - m_last - m_timer.interval();
        if (gap > m_longestMs)
            m_longestMs = gap;
        m_last = now;
        ++m_ticks;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longestMs = 0;
    qint64 m_ticks = 0;
};
