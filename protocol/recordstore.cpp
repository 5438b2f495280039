#include "protocol/recordstore.h"

#include <QHash>
#include <QRandomGenerator>
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>

namespace proto {

namespace {

uint hashSeed()
{
    // Seeded per process, so that no phone can choose keys that collide.
    static const uint seed = QRandomGenerator::system()->generate();
    return seed;
}

// The first slot to look at for a hash, in a table of 2^bits slots.
int firstSlot(uint tag, int bits)
{
    return int((quint64(tag) * Q_UINT64_C(0x9E3779B97F4A7C15)) >> (64 - bits));
}


bool isHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Writes the UTF-8 of text to out (room for 3 bytes a code unit); returns the
// end. A surrogate pair becomes its code point's four bytes, a lone
// surrogate three bytes of its own (as if it were a code point).
char *encodeTo(char *out, QStringView text, bool *ascii)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(text.data());
    const char16_t *const end = p + text.size();
    bool allAscii = true;
    while (p != end) {
        const char16_t u = *p++;
        if (u < 0x80) {
            *out++ = char(u);
            continue;
        }
        allAscii = false;
        if (u < 0x800) {
            *out++ = char(0xC0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3F));
        } else if (isHigh(u) && p != end && isLow(*p)) {
            const uint cp = 0x10000u + ((uint(u) - 0xD800u) << 10) + (uint(*p++) - 0xDC00u);
            *out++ = char(0xF0 | (cp >> 18));
            *out++ = char(0x80 | ((cp >> 12) & 0x3F));
            *out++ = char(0x80 | ((cp >> 6) & 0x3F));
            *out++ = char(0x80 | (cp & 0x3F));
        } else {
            *out++ = char(0xE0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        }
    }
    if (ascii)
        *ascii = allAscii;
    return out;
}

// The UTF-16 code units of the sequence at p (which encodeTo wrote): returns
// the bytes read, the units in u[0] (and u[1] for a code point beyond 0xFFFF).
int decodeOne(const uchar *p, const uchar *end, char16_t u[2], int *units)
{
    const uchar b = p[0];
    auto cont = [&](int i) { return p + i < end ? uint(p[i] & 0x3F) : 0u; };
    if (b < 0x80) {
        u[0] = b;
        *units = 1;
        return 1;
    }
    if (b < 0xE0) {
        u[0] = char16_t(((b & 0x1F) << 6) | cont(1));
        *units = 1;
        return 2;
    }
    if (b < 0xF0) {
        u[0] = char16_t(((b & 0x0F) << 12) | (cont(1) << 6) | cont(2));
        *units = 1;
        return 3;
    }
    const uint cp = (uint(b & 0x07) << 18) | (cont(1) << 12) | (cont(2) << 6) | cont(3);
    u[0] = char16_t(0xD800 + ((cp - 0x10000) >> 10));
    u[1] = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
    *units = 2;
    return 4;
}

} // namespace

QByteArray RecordStore::encode(QStringView text, bool *ascii)
{
    QByteArray out(int(text.size()) * 3, Qt::Uninitialized);
    char *end = encodeTo(out.data(), text, ascii);
    out.truncate(int(end - out.constData()));
    return out;
}

int RecordStore::encodeInto(char *out, QStringView text)
{
    return int(encodeTo(out, text, nullptr) - out);
}

QString RecordStore::decode(const char *data, int size)
{
    QString out(size, Qt::Uninitialized);
    char16_t *o = reinterpret_cast<char16_t *>(out.data());
    const uchar *p = reinterpret_cast<const uchar *>(data);
    const uchar *const end = p + size;
    while (p < end) {
        if (*p < 0x80) {
            *o++ = *p++;
            continue;
        }
        int units = 0;
        p += decodeOne(p, end, o, &units);
        o += units;
    }
    out.truncate(int(o - reinterpret_cast<char16_t *>(out.data())));
    return out;
}

int RecordStore::compareStored(const char *a, int aSize, const char *b, int bSize)
{
    const int common = qMin(aSize, bSize);
    int i = 0;
    while (i < common && a[i] == b[i])
        ++i;
    if (i == common)
        return aSize - bSize;
    // Byte order is code point order, which is UTF-16 order except where a
    // code point beyond 0xFFFF (surrogates in UTF-16) meets one from 0xE000:
    // compare code units from the start of the first differing sequence.
    const uchar *pa = reinterpret_cast<const uchar *>(a);
    const uchar *pb = reinterpret_cast<const uchar *>(b);
    while (i > 0 && (pa[i] & 0xC0) == 0x80)
        --i;
    const uchar *const ea = pa + aSize;
    const uchar *const eb = pb + bSize;
    pa += i;
    pb += i;
    char16_t ua[2], ub[2];
    int na = 0, nb = 0, ia = 0, ib = 0;
    for (;;) {
        if (ia == na) {
            if (pa >= ea)
                return (ib < nb || pb < eb) ? -1 : 0;
            pa += decodeOne(pa, ea, ua, &na);
            ia = 0;
        }
        if (ib == nb) {
            if (pb >= eb)
                return 1;
            pb += decodeOne(pb, eb, ub, &nb);
            ib = 0;
        }
        if (ua[ia] != ub[ib])
            return int(ua[ia]) - int(ub[ib]);
        ++ia;
        ++ib;
    }
}

RecordStore::RecordStore(const QMap<QString, QString> &map)
{
    reserve(map.size());
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        insert(it.key(), it.value());
}

RecordStore::RecordStore(std::initializer_list<std::pair<QString, QString>> records)
{
    reserve(int(records.size()));
    for (const auto &r : records)
        insert(r.first, r.second);
}

void RecordStore::clear()
{
    m_bytes.clear();
    m_entries.clear();
    m_slots.clear();
    m_bits = 0;
    m_replacedBytes = 0;
    m_order.clear();
}

void RecordStore::reserve(int records, qint64 bytes)
{
    if (records > m_entries.size())
        m_entries.reserve(records);
    if (records > 0 && 2 * qint64(records) > m_slots.size())
        growIndex(int(qMin<qint64>(qint64(records) * 2, 1 << 30)));
    if (bytes > m_bytes.size() && bytes < MaxBytes)
        m_bytes.reserve(int(bytes));
}

void RecordStore::squeeze()
{
    m_bytes.squeeze();
    m_entries.squeeze();
}

uint RecordStore::hashOf(const char *data, int size) const
{
    return qHashBits(data, size_t(size), hashSeed()) | 1u; // never 0: 0 is an empty slot
}

void RecordStore::growIndex(int capacity)
{
    int bits = 4;
    while ((1 << bits) < capacity)
        ++bits;
    m_slots = QVector<quint32>(1 << bits, 0);
    m_bits = bits;
    const int mask = (1 << bits) - 1;
    quint32 *slots = m_slots.data();
    for (int entry = 0; entry < m_entries.size(); ++entry) {
        const Entry &e = m_entries.at(entry);
        int i = firstSlot(hashOf(keyData(e), keySizeOf(e)), bits);
        while (slots[i])
            i = (i + 1) & mask;
        slots[i] = quint32(entry + 1);
    }
}

void RecordStore::indexEntry(int entry, uint hash)
{
    if (2 * qint64(m_entries.size()) > m_slots.size()) {
        growIndex(int(qMin<qint64>(qMax(16, m_slots.size() * 2), 1 << 30))); // indexes this entry too
        return;
    }
    const int mask = m_slots.size() - 1;
    quint32 *slots = m_slots.data();
    int i = firstSlot(hash, m_bits);
    while (slots[i])
        i = (i + 1) & mask;
    slots[i] = quint32(entry + 1);
}

int RecordStore::findEncoded(const char *key, int keySize, uint hash) const
{
    if (m_slots.isEmpty())
        return -1;
    const int mask = m_slots.size() - 1;
    const quint32 *slots = m_slots.constData();
    for (int i = firstSlot(hash, m_bits); slots[i]; i = (i + 1) & mask) {
        const int entry = int(slots[i]) - 1;
        const Entry &e = m_entries.at(entry);
        if (keySizeOf(e) == keySize && std::memcmp(keyData(e), key, size_t(keySize)) == 0)
            return entry;
    }
    return -1;
}

int RecordStore::findEntry(QStringView key) const
{
    if (m_entries.isEmpty())
        return -1;
    QVarLengthArray<char, 256> bytes(int(key.size()) * 3);
    const int size = int(encodeTo(bytes.data(), key, nullptr) - bytes.constData());
    return findEncoded(bytes.constData(), size, hashOf(bytes.constData(), size));
}

void RecordStore::appendEncoded(QStringView text, quint32 *size)
{
    const int from = m_bytes.size();
    m_bytes.resize(from + int(text.size()) * 3);
    bool ascii = true;
    char *end = encodeTo(m_bytes.data() + from, text, &ascii);
    const int written = int(end - (m_bytes.constData() + from));
    m_bytes.resize(from + written);
    *size = quint32(written) | (ascii ? 0u : NotAscii);
}

bool RecordStore::insert(QStringView key, QStringView text)
{
    const QByteArray keyBytes = encode(key);
    const uint hash = hashOf(keyBytes.constData(), keyBytes.size());
    const int found = findEncoded(keyBytes.constData(), keyBytes.size(), hash);
    // The buffer grows by Qt's policy, which leaves room for more.
    if (qint64(m_bytes.size()) + keyBytes.size() + qint64(text.size()) * 3 > MaxBytes
        || keyBytes.size() > int(KeySizeMask))
        return false;
    // The text, then the key unless the text starts with it (a record starts
    // with its id).
    Entry e;
    e.offset = quint32(m_bytes.size());
    appendEncoded(text, &e.valueSize);
    bool keyAscii = true;
    for (char c : keyBytes)
        keyAscii = keyAscii && uchar(c) < 0x80;
    e.keySize = quint32(keyBytes.size()) | (keyAscii ? 0u : NotAscii);
    if (valueSizeOf(e) >= keyBytes.size()
        && std::memcmp(m_bytes.constData() + e.offset, keyBytes.constData(), size_t(keyBytes.size())) == 0)
        e.keySize |= KeyInText;
    else
        m_bytes.append(keyBytes);
    if (found >= 0) {
        Entry &old = m_entries[found];
        m_replacedBytes += storedSizeOf(old);
        old = e;
        if (m_replacedBytes > 1024 * 1024 && m_replacedBytes > m_bytes.size() / 2)
            compact();
        return true;
    }
    m_entries.append(e);
    indexEntry(int(m_entries.size()) - 1, hash);
    return true;
}

void RecordStore::compact()
{
    QByteArray bytes;
    bytes.reserve(int(m_bytes.size() - m_replacedBytes));
    for (Entry &e : m_entries) {
        const quint32 offset = quint32(bytes.size());
        bytes.append(m_bytes.constData() + e.offset, storedSizeOf(e));
        e.offset = offset;
    }
    m_bytes = bytes;
    m_replacedBytes = 0;
}

void RecordStore::sortOrder() const
{
    const int sorted = m_order.size();
    const int total = m_entries.size();
    if (sorted == total)
        return;
    m_order.reserve(total);
    for (int i = sorted; i < total; ++i)
        m_order.append(quint32(i));
    const char *bytes = m_bytes.constData();
    const Entry *entries = m_entries.constData();
    auto less = [bytes, entries](quint32 a, quint32 b) {
        const Entry &ea = entries[a];
        const Entry &eb = entries[b];
        return compareStored(bytes + keyOffsetOf(ea), keySizeOf(ea), bytes + keyOffsetOf(eb), keySizeOf(eb)) < 0;
    };
    quint32 *order = m_order.data();
    std::sort(order + sorted, order + total, less);
    std::inplace_merge(order, order + sorted, order + total, less);
}

QString RecordStore::keyOf(int entry) const
{
    const Entry &e = m_entries.at(entry);
    return (e.keySize & NotAscii) ? decode(keyData(e), keySizeOf(e)) : QString::fromLatin1(keyData(e), keySizeOf(e));
}

QString RecordStore::valueOf(int entry) const
{
    const Entry &e = m_entries.at(entry);
    const char *data = m_bytes.constData() + e.offset;
    const int size = valueSizeOf(e);
    return (e.valueSize & NotAscii) ? decode(data, size) : QString::fromLatin1(data, size);
}

QByteArray RecordStore::bytesOf(int entry, bool value) const
{
    const Entry &e = m_entries.at(entry);
    if (!value)
        return QByteArray::fromRawData(keyData(e), keySizeOf(e));
    return QByteArray::fromRawData(m_bytes.constData() + e.offset, valueSizeOf(e));
}

QString RecordStore::value(QStringView key, const QString &defaultValue) const
{
    const int entry = findEntry(key);
    return entry < 0 ? defaultValue : valueOf(entry);
}

QByteArray RecordStore::valueBytes(QStringView key) const
{
    const int entry = findEntry(key);
    return entry < 0 ? QByteArray() : bytesOf(entry, true);
}

QStringList RecordStore::keys() const
{
    sortOrder();
    QStringList out;
    out.reserve(m_order.size());
    for (const quint32 entry : qAsConst(m_order))
        out << keyOf(int(entry));
    return out;
}

QString RecordStore::firstKey() const
{
    sortOrder();
    return m_order.isEmpty() ? QString() : keyOf(int(m_order.first()));
}

QString RecordStore::lastKey() const
{
    sortOrder();
    return m_order.isEmpty() ? QString() : keyOf(int(m_order.last()));
}

RecordStore::const_iterator RecordStore::constBegin() const
{
    sortOrder();
    return const_iterator(this, 0);
}

RecordStore::const_iterator RecordStore::constEnd() const
{
    return const_iterator(this, int(m_entries.size()));
}

RecordStore::const_iterator RecordStore::constFind(QStringView key) const
{
    if (findEntry(key) < 0)
        return constEnd();
    sortOrder();
    const QByteArray bytes = encode(key);
    const char *data = m_bytes.constData();
    const Entry *entries = m_entries.constData();
    const auto it = std::lower_bound(m_order.constBegin(), m_order.constEnd(), bytes,
                                     [data, entries](quint32 entry, const QByteArray &k) {
                                         const Entry &e = entries[entry];
                                         return compareStored(data + keyOffsetOf(e), keySizeOf(e),
                                                              k.constData(), k.size())
                                             < 0;
                                     });
    return const_iterator(this, int(it - m_order.constBegin()));
}

} // namespace proto
