#pragma once

// The entry points of a libFuzzer target. A target built with
// -fsanitize=fuzzer is driven by libFuzzer; the same source linked with
// replaymain.cpp (the normal build) runs the inputs kept in the tree.

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fuzz {

// Crashes the target (an abort libFuzzer reports with the input) when a
// property of the code under test does not hold.
#define FUZZ_CHECK(condition)                                                                   \
    do {                                                                                        \
        if (!(condition))                                                                       \
            fuzz::fail(#condition, __FILE__, __LINE__);                                         \
    } while (false)
[[noreturn]] void fail(const char *what, const char *file, int line);

// Consumes the input from the front: a byte, or the rest.
class Input
{
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    QByteArray rest()
    {
        const QByteArray r(reinterpret_cast<const char *>(m_data + m_pos), int(m_size - m_pos));
        m_pos = m_size;
        return r;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// The bytes cut into pieces as a socket might deliver them: one piece when
// split is 0, otherwise pieces of 1 + (split - 1) * 16 bytes (1..4065).
QList<QByteArray> chunks(const QByteArray &bytes, uint8_t split);

// Drops every log line: the product logs each step, which would cost most
// of the time of a run and fill its output.
void silenceLog();

} // namespace fuzz
