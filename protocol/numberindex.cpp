#include "protocol/numberindex.h"

#include "protocol/recordstore.h"

#include <QRandomGenerator>
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>

namespace proto {

namespace {

uint idHash(const char *data, int size)
{
    // Seeded per process, so that no phone can choose ids that collide.
    static const uint seed = QRandomGenerator::system()->generate();
    return qHashBits(data, size_t(size), seed) | 1u; // never 0: 0 is an empty slot
}

int firstSlot(uint hash, int bits)
{
    return int((quint64(hash) * Q_UINT64_C(0x9E3779B97F4A7C15)) >> (64 - bits));
}

} // namespace

void NumberIndex::insert(QStringView number, QStringView id)
{
    const QString key = number.toString();
    auto it = m_numberOf.constFind(key);
    quint32 place;
    if (it == m_numberOf.constEnd()) {
        place = quint32(m_numbers.size());
        m_numbers.append(key);
        m_counts.append(0);
        m_numberOf.insert(key, place);
    } else {
        place = it.value();
    }
    const QByteArray bytes = RecordStore::encode(id);
    m_entries.append(Entry{place, quint32(m_ids.size()), quint32(bytes.size())});
    m_ids.append(bytes);
    ++m_counts[int(place)];
    m_sorted = false;
}

void NumberIndex::clear()
{
    *this = NumberIndex();
}

void NumberIndex::squeeze()
{
    m_ids.squeeze();
    m_entries.squeeze();
    m_numbers.squeeze();
    m_counts.squeeze();
}

int NumberIndex::count(const QString &number) const
{
    const auto it = m_numberOf.constFind(number);
    return it == m_numberOf.constEnd() ? 0 : int(m_counts.at(int(it.value())));
}

QString NumberIndex::idOf(const Entry &e) const
{
    return RecordStore::decode(m_ids.constData() + e.offset, int(e.size));
}

void NumberIndex::sortOrder() const
{
    if (m_sorted)
        return;
    // The numbers in order, then every entry placed by a count of its
    // number's ids: walking the entries from the last inserted puts the
    // newest of each number first.
    QVector<quint32> byNumber(m_numbers.size());
    for (int i = 0; i < byNumber.size(); ++i)
        byNumber[i] = quint32(i);
    std::sort(byNumber.begin(), byNumber.end(),
              [this](quint32 a, quint32 b) { return m_numbers.at(int(a)) < m_numbers.at(int(b)); });
    m_start.resize(m_numbers.size());
    quint32 next = 0;
    for (quint32 place : qAsConst(byNumber)) {
        m_start[int(place)] = next;
        next += m_counts.at(int(place));
    }
    QVector<quint32> cursor = m_start;
    m_order.resize(m_entries.size());
    for (int e = m_entries.size() - 1; e >= 0; --e)
        m_order[int(cursor[int(m_entries.at(e).number)]++)] = quint32(e);
    m_sorted = true;
}

void NumberIndex::rangeOf(const QString &number, int *first, int *last) const
{
    *first = *last = -1;
    const auto it = m_numberOf.constFind(number);
    if (it == m_numberOf.constEnd())
        return;
    sortOrder();
    *first = int(m_start.at(int(it.value())));
    *last = *first + int(m_counts.at(int(it.value())));
}

bool NumberIndex::contains(const QString &number, const QString &id) const
{
    int first, last;
    rangeOf(number, &first, &last);
    if (first < 0)
        return false;
    const QByteArray bytes = RecordStore::encode(id);
    for (int pos = first; pos < last; ++pos) {
        const Entry &e = entryAt(pos);
        if (int(e.size) == bytes.size() && std::memcmp(m_ids.constData() + e.offset, bytes.constData(), e.size) == 0)
            return true;
    }
    return false;
}

QString NumberIndex::value(const QString &number) const
{
    int first, last;
    rangeOf(number, &first, &last);
    return first < 0 ? QString() : idOf(entryAt(first));
}

QStringList NumberIndex::values(const QString &number) const
{
    int first, last;
    rangeOf(number, &first, &last);
    QStringList ids;
    if (first < 0)
        return ids;
    ids.reserve(last - first);
    for (int pos = first; pos < last; ++pos)
        ids << idOf(entryAt(pos));
    return ids;
}

QStringList NumberIndex::values() const
{
    QStringList ids;
    ids.reserve(size());
    for (auto it = constBegin(); it != constEnd(); ++it)
        ids << it.value();
    return ids;
}

QStringList NumberIndex::uniqueKeys() const
{
    QStringList numbers;
    numbers.reserve(m_numbers.size());
    for (const QString &number : m_numbers)
        numbers << number;
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

NumberIndex::const_iterator NumberIndex::constBegin() const
{
    sortOrder();
    return const_iterator(this, 0);
}

NumberIndex::const_iterator NumberIndex::constEnd() const
{
    return const_iterator(this, size());
}

NumberIndex::const_iterator NumberIndex::constFind(const QString &number) const
{
    int first, last;
    rangeOf(number, &first, &last);
    return first < 0 ? constEnd() : const_iterator(this, first);
}

void NumberIndex::RowFinder::turnTo(int number)
{
    m_number = number;
    m_index->sortOrder();
    const int first = int(m_index->m_start.at(number));
    const int count = int(m_index->m_counts.at(number));
    // At most half the slots used, at least 16.
    int bits = 4;
    while ((1 << bits) < 2 * count)
        ++bits;
    m_bits = bits;
    m_slots.fill(0, 1 << bits);
    const int mask = (1 << bits) - 1;
    quint64 *slots = m_slots.data();
    const char *ids = m_index->m_ids.constData();
    for (int pos = first; pos < first + count; ++pos) {
        const Entry &e = m_index->entryAt(pos);
        const uint hash = idHash(ids + e.offset, int(e.size));
        int i = firstSlot(hash, bits);
        while (slots[i])
            i = (i + 1) & mask;
        slots[i] = (quint64(hash) << 32) | quint32(pos + 1);
    }
    m_tabled += count;
}

int NumberIndex::RowFinder::find(QStringView id) const
{
    if (m_number < 0)
        return -1;
    QVarLengthArray<char, 256> bytes(int(id.size()) * 3);
    const int size = RecordStore::encodeInto(bytes.data(), id);
    const uint hash = idHash(bytes.constData(), size);
    const int mask = m_slots.size() - 1;
    const quint64 *slots = m_slots.constData();
    const char *ids = m_index->m_ids.constData();
    for (int i = firstSlot(hash, m_bits); slots[i]; i = (i + 1) & mask) {
        if (uint(slots[i] >> 32) != hash)
            continue;
        const int pos = int(quint32(slots[i])) - 1;
        const Entry &e = m_index->entryAt(pos);
        if (int(e.size) == size && std::memcmp(ids + e.offset, bytes.constData(), size_t(size)) == 0)
            return pos;
    }
    return -1;
}

} // namespace proto
