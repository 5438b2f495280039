#pragma once

// Measures how long the event loop stands still: a heartbeat timer ticks every
// few milliseconds and the meter keeps the largest gap between two ticks (and
// what came before the first tick). A gap far above the tick interval is a
// stall: the window could neither repaint nor take a click for that long.
//
// Where a stall was: the caller may name the phase it is in (setPhase), and
// with followLog() the meter keeps the first and the last log line the
// program wrote during the longest gap (the log output itself is discarded).

#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>

class StallMeter : public QObject
{
public:
    struct Stall
    {
        qint64 ms = 0;     // the gap, less the interval
        qint64 endedMs = 0; // when it ended, since start()
        QString phase;
        QString firstLine; // the first log line written during it
        QString lastLine;  // the last one
        qint64 lines = 0;  // log lines written during it
    };

    explicit StallMeter(int intervalMs = 20, QObject *parent = nullptr) : QObject(parent)
    {
        m_timer.setInterval(intervalMs);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
    }
    ~StallMeter() override
    {
        if (log().meter == this)
            log().meter = nullptr;
    }

    // Takes the program's log lines as breadcrumbs (and discards them).
    void followLog()
    {
        log().meter = this;
        qInstallMessageHandler(&StallMeter::logLine);
    }

    void start()
    {
        m_longest = Stall();
        m_byPhase.clear();
        m_top.clear();
        m_ticks = 0;
        m_clock.start();
        m_last = 0;
        m_phaseAtTick = m_phase;
        markTick();
        m_timer.start();
    }
    void stop()
    {
        tick();
        m_timer.stop();
    }
    // Stalls that begin from now on belong to this phase.
    void setPhase(const QString &phase) { m_phase = phase; }

    // The largest gap seen between two heartbeats, minus the interval itself.
    qint64 longestStallMs() const { return m_longest.ms; }
    const Stall &longest() const { return m_longest; }
    // The longest stall of each phase.
    const QMap<QString, Stall> &longestByPhase() const { return m_byPhase; }
    // The longest stalls, longest first (at most kept()).
    const QList<Stall> &longestStalls() const { return m_top; }
    static constexpr int kept() { return 8; }
    qint64 ticks() const { return m_ticks; }
    qint64 elapsedMs() const { return m_clock.elapsed(); }

    // "412 ms in erase run, 20000 log lines from "a" to "b""
    static QString describe(const Stall &s)
    {
        QString text = QStringLiteral("%1 ms").arg(s.ms);
        if (!s.phase.isEmpty())
            text += QStringLiteral(" in %1").arg(s.phase);
        if (s.lines == 1)
            text += QStringLiteral(", during \"%1\"").arg(s.firstLine);
        else if (s.lines > 1)
            text += QStringLiteral(", %1 log lines from \"%2\" to \"%3\"").arg(s.lines).arg(s.firstLine, s.lastLine);
        return text;
    }

private:
    struct Log
    {
        StallMeter *meter = nullptr;
        qint64 lines = 0;
        qint64 linesAtTick = 0;
        QString first;
        QString latest;
    };
    static Log &log()
    {
        static Log l;
        return l;
    }
    static void logLine(QtMsgType, const QMessageLogContext &, const QString &text)
    {
        Log &l = log();
        if (++l.lines == l.linesAtTick + 1)
            l.first = text;
        l.latest = text;
    }
    void markTick()
    {
        Log &l = log();
        l.linesAtTick = l.lines;
    }

    void tick()
    {
        const qint64 now = m_clock.elapsed();
        const qint64 gap = now - m_last - m_timer.interval();
        if (gap > 0) {
            Stall s;
            s.ms = gap;
            s.endedMs = now;
            s.phase = m_phaseAtTick; // where the loop stood still
            if (log().meter == this) {
                const Log &l = log();
                s.lines = l.lines - l.linesAtTick;
                if (s.lines > 0) {
                    s.firstLine = l.first;
                    s.lastLine = l.latest;
                }
            }
            if (gap > m_longest.ms)
                m_longest = s;
            Stall &ofPhase = m_byPhase[s.phase];
            if (gap > ofPhase.ms)
                ofPhase = s;
            if (m_top.size() < kept() || gap > m_top.last().ms) {
                int at = 0;
                while (at < m_top.size() && m_top.at(at).ms >= gap)
                    ++at;
                m_top.insert(at, s);
                if (m_top.size() > kept())
                    m_top.removeLast();
            }
        }
        m_last = now;
        m_phaseAtTick = m_phase;
        markTick();
        ++m_ticks;
    }

    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    Stall m_longest;
    QMap<QString, Stall> m_byPhase;
    QList<Stall> m_top;
    QString m_phase;
    QString m_phaseAtTick;
    qint64 m_ticks = 0;
};
