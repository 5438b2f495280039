#pragma once

// Where each key of a list is, for lists of hundreds of thousands of keys
// (record ids, file locations): an index over keys the caller holds (a
// QStringList), by open addressing on hashed keys. A slot is 8 bytes (the
// key's hash and its place in the list), so an index of 500,000 keys takes
// 8 MiB and no allocation per key. Copies share their slots until one is
// changed, as Qt's containers do.

#include <QString>
#include <QStringList>
#include <QVector>

namespace proto {

class KeyIndex
{
public:
    using Hash = uint (*)(const QString &key);
    // The hash is seeded per process, so that no phone can choose keys that
    // collide; tests may give their own.
    explicit KeyIndex(Hash hash = nullptr);

    void clear();
    // Room for this many keys without growing.
    void reserve(int keys);
    int size() const { return m_count; }
    bool isEmpty() const { return m_count == 0; }

    // The place of `key` in `keys` (the list the index was filled from), or -1.
    int find(const QString &key, const QStringList &keys) const;
    // Indexes `key` at `place` (the caller puts it there in `keys` when
    // this returns -1) unless an equal key is indexed already: returns the
    // place of that key then.
    int insert(const QString &key, int place, const QStringList &keys);
    // Indexes keys.at(place), the same way.
    int insert(const QStringList &keys, int place) { return insert(keys.at(place), place, keys); }
    // Indexes every key of `keys` at its place, as insert() one after
    // another would, and stops at the first key equal to one indexed
    // already: returns that key's place in `keys` (the keys before it are
    // indexed), or -1 when every key was. Asks for the slots of the keys
    // ahead while it indexes, so that a list of half a million keys does not
    // wait for memory key by key.
    int insertAll(const QStringList &keys);

    // Every key of `keys` once, in order (the first of equal keys stays),
    // leaving out those `without` holds (when given, indexing `withoutKeys`).
    static QStringList distinct(const QStringList &keys, const KeyIndex *without = nullptr,
                                const QStringList *withoutKeys = nullptr);

private:
    static quint64 slot(uint hash, int place) { return (quint64(hash | 1u) << 32) | quint32(place + 1); }
    static uint tagOf(quint64 slot) { return uint(slot >> 32); }
    static int placeOf(quint64 slot) { return int(quint32(slot)) - 1; }
    uint hashOf(const QString &key) const;
    int insertTagged(const QString &key, uint tag, int place, const QStringList &keys);
    void grow(int capacity);

    Hash m_hash = nullptr;
    QVector<quint64> m_slots; // 0: empty
    int m_bits = 0;           // m_slots holds 2^m_bits slots
    int m_count = 0;
};

} // namespace proto
