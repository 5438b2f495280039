#pragma once

#include "workflow/scanplan.h"

#include <QString>

// The remaining-time countdown of scans and erases, kept free of timers and
// widgets: one call is one tick of the 1000 ms countdown timer.
namespace workflow::countdown {

// "h:m:s" of the seconds truncated toward zero, no padding: 7530 -> "2:5:30".
QString formatHms(double seconds);

struct Tick
{
    float remaining = 0; // value to store back (never below 0)
    bool stop = false;   // the countdown has run out: stop the timer
    QString text;        // label text to show
};

// One tick. While time is left it counts down one second, then lets every
// finished category of the range (in order) cap the time at the expected time
// of the categories after it, consuming their finished flags; the label shows
// `runningPrefix` + h:m:s. With no time left it shows `zeroText` and stops.
Tick tick(float remaining, const float expected[], bool finished[], scanplan::CategoryRange range,
          const QString &runningPrefix, const QString &zeroText);

// The pause while the companion app is in the background: the countdown of
// the running phase stops only while time is left, and restarts on return
// only when stopped with time left.
inline bool shouldPause(bool timerRunning, float remaining) { return timerRunning && remaining > 0; }
inline bool shouldResume(bool timerRunning, float remaining) { return !timerRunning && remaining > 0; }

} // namespace workflow::countdown
