#pragma once

// The latest part of a hidden trace: tokens are appended at a cost that does
// not grow with what is kept, and only the last `keep` characters remain.
// A peer that sends trace tokens without end costs neither memory nor
// quadratic time.

#include <QString>
#include <QStringView>

namespace app {

class TraceTail
{
public:
    explicit TraceTail(int keep = 16 * 1024) : m_keep(keep) {}

    // Starts over from a text (the label's text when the trace is first used).
    void reset(const QString &text)
    {
        m_text = text;
        m_start = 0;
        dropBeyondKeep();
    }

    void append(QStringView token)
    {
        m_text.append(token.data(), int(token.size()));
        dropBeyondKeep();
    }

    // The last `keep` characters appended (all of them while fewer).
    QString text() const { return m_start == 0 ? m_text : m_text.mid(m_start); }

private:
    // The characters before m_start are no longer part of the trace; they
    // are moved out only once there are as many of them as are kept, so
    // each character is moved at most once.
    void dropBeyondKeep()
    {
        if (m_text.size() - m_start > m_keep)
            m_start = m_text.size() - m_keep;
        if (m_start >= m_keep) {
            m_text.remove(0, m_start);
            m_start = 0;
        }
    }

    int m_keep;
    int m_start = 0;
    QString m_text;
};

} // namespace app
