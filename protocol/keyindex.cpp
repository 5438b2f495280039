#include "protocol/keyindex.h"

#include <QHash>
#include <QRandomGenerator>

namespace proto {

namespace {

uint seededHash(const QString &key)
{
    static const uint seed = QRandomGenerator::system()->generate();
    return qHash(key, seed);
}

// The first slot to look at for a hash, in a table of 2^bits slots
// (Fibonacci hashing spreads every bit of the hash over the table).
int firstSlot(uint tag, int bits)
{
    return int((quint64(tag) * Q_UINT64_C(0x9E3779B97F4A7C15)) >> (64 - bits));
}

// Asks for memory about to be read (a hint; nothing where it cannot).
inline void prefetch(const void *p)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    Q_UNUSED(p);
#endif
}

int bitsOf(int capacity)
{
    int bits = 0;
    while ((1 << bits) < capacity)
        ++bits;
    return bits;
}

} // namespace

KeyIndex::KeyIndex(Hash hash)
    : m_hash(hash)
{
}

uint KeyIndex::hashOf(const QString &key) const
{
    return m_hash ? m_hash(key) : seededHash(key);
}

void KeyIndex::clear()
{
    m_slots.clear();
    m_bits = 0;
    m_count = 0;
}

void KeyIndex::reserve(int keys)
{
    // At most half the slots are used, so a search ends after a few.
    if (keys > 0 && 2 * qint64(keys) > m_slots.size())
        grow(int(qMin<qint64>(qint64(keys) * 2, 1 << 30)));
}

void KeyIndex::grow(int capacity)
{
    capacity = qMax(16, 1 << bitsOf(capacity));
    const QVector<quint64> old = m_slots;
    m_slots = QVector<quint64>(capacity, 0);
    m_bits = bitsOf(capacity);
    const int bits = m_bits;
    const int mask = capacity - 1;
    quint64 *slots = m_slots.data();
    for (const quint64 s : old) {
        if (!s)
            continue;
        int i = firstSlot(tagOf(s), bits);
        while (slots[i])
            i = (i + 1) & mask;
        slots[i] = s;
    }
}

int KeyIndex::find(const QString &key, const QStringList &keys) const
{
    if (m_count == 0)
        return -1;
    const uint tag = hashOf(key) | 1u;
    const int capacity = m_slots.size();
    const int mask = capacity - 1;
    const quint64 *slots = m_slots.constData();
    for (int i = firstSlot(tag, m_bits);; i = (i + 1) & mask) {
        const quint64 s = slots[i];
        if (!s)
            return -1;
        if (tagOf(s) == tag) {
            const int place = placeOf(s);
            if (place < keys.size() && keys.at(place) == key)
                return place;
        }
    }
}

int KeyIndex::insert(const QString &key, int place, const QStringList &keys)
{
    if (2 * qint64(m_count + 1) > m_slots.size())
        grow(qMax(16, m_slots.size() * 2));
    return insertTagged(key, hashOf(key) | 1u, place, keys);
}

int KeyIndex::insertAll(const QStringList &keys)
{
    const int n = int(keys.size());
    reserve(m_count + n);
    // The keys go in runs: the hashes of a run first, each asking for its
    // first slot, then the keys themselves, whose slots have come meanwhile.
    constexpr int Run = 16;
    uint tags[Run];
    for (int from = 0; from < n; from += Run) {
        const int count = qMin(Run, n - from);
        for (int i = 0; i < count; ++i) {
            tags[i] = hashOf(keys.at(from + i)) | 1u;
            prefetch(m_slots.constData() + firstSlot(tags[i], m_bits));
        }
        for (int i = 0; i < count; ++i)
            if (insertTagged(keys.at(from + i), tags[i], from + i, keys) >= 0)
                return from + i;
    }
    return -1;
}

int KeyIndex::insertTagged(const QString &key, uint tag, int place, const QStringList &keys)
{
    if (2 * qint64(m_count + 1) > m_slots.size())
        grow(qMax(16, m_slots.size() * 2));
    const int capacity = m_slots.size();
    const int mask = capacity - 1;
    quint64 *slots = m_slots.data();
    for (int i = firstSlot(tag, m_bits);; i = (i + 1) & mask) {
        const quint64 s = slots[i];
        if (!s) {
            slots[i] = slot(tag, place);
            ++m_count;
            return -1;
        }
        if (tagOf(s) == tag) {
            const int found = placeOf(s);
            if (found < keys.size() && keys.at(found) == key)
                return found;
        }
    }
}

QStringList KeyIndex::distinct(const QStringList &keys, const KeyIndex *without, const QStringList *withoutKeys)
{
    const bool leaveOut = without && withoutKeys && !without->isEmpty();
    KeyIndex seen;
    seen.reserve(keys.size());
    QStringList out;
    out.reserve(keys.size());
    for (int i = 0; i < keys.size(); ++i) {
        if (leaveOut && without->find(keys.at(i), *withoutKeys) >= 0)
            continue;
        if (seen.insert(keys, i) < 0)
            out << keys.at(i);
    }
    if (out.size() == keys.size())
        return keys; // nothing left out: the list is shared, not copied
    return out;
}

} // namespace proto
