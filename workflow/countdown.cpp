#include "workflow/countdown.h"

#include <algorithm>
#include <cmath>

namespace workflow::countdown {

QString formatHms(double seconds)
{
    const long long t = static_cast<long long>(std::trunc(seconds));
    return QStringLiteral("%1:%2:%3").arg(t / 3600).arg((t % 3600) / 60).arg(t % 60);
}

Tick tick(float remaining, const float expected[], bool finished[], scanplan::CategoryRange range,
          const QString &runningPrefix, const QString &zeroText)
{
    Tick result;
    float left = remaining;
    if (left > 0) {
        left -= 1;
        for (int c = range.first; c < range.last; ++c) {
            if (!finished[c])
                continue;
            float after = 0;
            for (int later = c + 1; later < range.last; ++later)
                after += expected[later];
            left = std::min(left, after);
            finished[c] = false;
        }
        result.text = runningPrefix + formatHms(left);
    } else {
        result.text = zeroText;
        result.stop = true;
    }
    result.remaining = left < 0 ? 0 : left;
    return result;
}

} // namespace workflow::countdown
