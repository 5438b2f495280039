#pragma once

// The records of a text category (contacts, call history, messages) under
// their keys, for lists of hundreds of thousands of records. Keys and texts
// are kept as UTF-8 in one buffer (a lone surrogate, which a text from the
// phone may hold, is kept as a three-byte sequence of its own, so every text
// reads back exactly as it was stored); per record only its place in the
// buffer (12 bytes), one slot of the key index (4 bytes, at most half the
// slots used) and its place in key order (4 bytes); a key the text starts
// with (a record's id) is not kept again. No record has a heap
// block or a QString of its own: 500,000 messages of 200 characters take
// about 120 MiB instead of the 300 MiB they took as a map of strings.
//
// It reads like the map it replaced, QMap<QString, QString>: the keys in
// QString order (by UTF-16 code unit), a key stored again replaces its text,
// value() of a key not held is an empty string. Texts are made on each read
// (value(), key(), keys()). A map converts to a store, so a map may be given
// where a store is read.
//
// The key order is brought up to date on the first read in order after an
// insert of a new key (keys(), iteration, firstKey()): inserts cost no
// sorting, and reads in order after a few more inserts only merge those in.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

#include <initializer_list>
#include <utility>

namespace proto {

class RecordStore
{
public:
    RecordStore() = default;
    RecordStore(const QMap<QString, QString> &map); // NOLINT: a map stands where a store is read
    RecordStore(std::initializer_list<std::pair<QString, QString>> records);

    // Stores text under key; a key held already gets the new text. Returns
    // false, storing nothing, when the buffer cannot take it (beyond 1.75 GiB;
    // a scan's bounds keep well below).
    bool insert(QStringView key, QStringView text);
    bool insert(const QString &key, const QString &text) { return insert(QStringView(key), QStringView(text)); }
    void clear();
    // Room for this many records and bytes of keys and texts without growing.
    void reserve(int records, qint64 bytes = 0);
    // Gives back room that inserts reserved beyond what is held.
    void squeeze();

    bool contains(QStringView key) const { return findEntry(key) >= 0; }
    bool contains(const QString &key) const { return contains(QStringView(key)); }
    QString value(QStringView key, const QString &defaultValue = QString()) const;
    QString value(const QString &key, const QString &defaultValue = QString()) const
    {
        return value(QStringView(key), defaultValue);
    }
    // The text of key as stored (see const_iterator::valueBytes()); null when
    // the key is not held.
    QByteArray valueBytes(QStringView key) const;

    // The place of key among the records, in the order they were first
    // stored (0 to size() - 1; a key stored again keeps its place), or -1
    // when the key is not held: a record's number for bits or tables of the
    // caller's.
    int placeOf(QStringView key) const { return findEntry(key); }
    // The text at a place as stored (see const_iterator::valueBytes()): its
    // first byte, and its size in *size. No copy and no allocation; valid
    // while the store is not changed.
    const char *textAt(int place, int *size) const
    {
        const Entry &e = m_entries.at(place);
        *size = valueSizeOf(e);
        return m_bytes.constData() + e.offset;
    }

    int size() const { return int(m_entries.size()); }
    int count() const { return size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    QStringList keys() const;
    QString firstKey() const;
    QString lastKey() const;
    // Bytes of the buffer (keys and texts, and texts since replaced).
    qint64 bufferBytes() const { return m_bytes.size(); }

    class const_iterator
    {
    public:
        const_iterator() = default;
        QString key() const { return m_store->keyOf(entry()); }
        QString value() const { return m_store->valueOf(entry()); }
        QString operator*() const { return value(); }
        // The key and the text as stored (UTF-8, no copy): valid while the
        // store is not changed. Equal texts have equal bytes.
        QByteArray keyBytes() const { return m_store->bytesOf(entry(), false); }
        QByteArray valueBytes() const { return m_store->bytesOf(entry(), true); }
        const_iterator &operator++() { ++m_pos; return *this; }
        const_iterator operator++(int) { const_iterator was = *this; ++m_pos; return was; }
        const_iterator &operator--() { --m_pos; return *this; }
        const_iterator operator--(int) { const_iterator was = *this; --m_pos; return was; }
        bool operator==(const const_iterator &o) const { return m_pos == o.m_pos && m_store == o.m_store; }
        bool operator!=(const const_iterator &o) const { return !(*this == o); }

    private:
        friend class RecordStore;
        const_iterator(const RecordStore *store, int pos) : m_store(store), m_pos(pos) {}
        int entry() const { return int(m_store->m_order.at(m_pos)); }
        const RecordStore *m_store = nullptr;
        int m_pos = 0;
    };
    using iterator = const_iterator;

    const_iterator constBegin() const;
    const_iterator constEnd() const;
    const_iterator begin() const { return constBegin(); }
    const_iterator end() const { return constEnd(); }
    const_iterator cbegin() const { return constBegin(); }
    const_iterator cend() const { return constEnd(); }
    const_iterator constFind(QStringView key) const;

    // QString order of two keys stored as this store stores them (UTF-8,
    // lone surrogates as three bytes): negative, 0 or positive.
    static int compareStored(const char *a, int aSize, const char *b, int bSize);
    // A text as this store keeps it, and back.
    static QByteArray encode(QStringView text, bool *ascii = nullptr);
    // The same into out, which has room for three bytes a code unit of
    // text: returns the bytes written.
    static int encodeInto(char *out, QStringView text);
    static QString decode(const char *data, int size);

private:
    struct Entry
    {
        quint32 offset;    // of the text; the key follows it unless the text starts with it
        quint32 keySize;   // bytes; flags NotAscii, KeyInText
        quint32 valueSize; // bytes; flag NotAscii
    };
    static constexpr quint32 NotAscii = 0x80000000u;
    static constexpr quint32 KeyInText = 0x40000000u;
    static constexpr quint32 KeySizeMask = 0x3fffffffu;
    static constexpr quint32 SizeMask = 0x7fffffffu;
    static constexpr qint64 MaxBytes = 0x70000000;

    static int keySizeOf(const Entry &e) { return int(e.keySize & KeySizeMask); }
    static int valueSizeOf(const Entry &e) { return int(e.valueSize & SizeMask); }
    static quint32 keyOffsetOf(const Entry &e)
    {
        return (e.keySize & KeyInText) ? e.offset : e.offset + quint32(valueSizeOf(e));
    }
    static int storedSizeOf(const Entry &e)
    {
        return valueSizeOf(e) + ((e.keySize & KeyInText) ? 0 : keySizeOf(e));
    }
    const char *keyData(const Entry &e) const { return m_bytes.constData() + keyOffsetOf(e); }

    int findEntry(QStringView key) const;
    int findEncoded(const char *key, int keySize, uint hash) const;
    uint hashOf(const char *data, int size) const;
    void indexEntry(int entry, uint hash);
    void growIndex(int capacity);
    void appendEncoded(QStringView text, quint32 *size);
    void compact();
    void sortOrder() const;
    QString keyOf(int entry) const;
    QString valueOf(int entry) const;
    QByteArray bytesOf(int entry, bool value) const;

    QByteArray m_bytes;          // every key followed by its text
    QVector<Entry> m_entries;    // in the order of first insertion
    QVector<quint32> m_slots;    // key index by hash of the key: entry + 1, 0 empty
    int m_bits = 0;              // m_slots holds 2^m_bits slots
    qint64 m_replacedBytes = 0;  // bytes of texts since replaced
    mutable QVector<quint32> m_order; // entries in key order; those after the last sort are missing
};

} // namespace proto
