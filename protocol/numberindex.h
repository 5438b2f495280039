#pragma once

// The ids of a text category's records under their numbers, for lists of
// hundreds of thousands of records that share a few thousand numbers. Each
// number is kept once; the ids are kept as UTF-8 in one buffer (as the record
// store keeps them, so every id reads back exactly as it was stored), 12
// bytes of place a record plus 4 of order once read in order. No id has a
// heap block or a QString of its own: 500,000 message ids take about 12 MiB
// instead of the 48 MiB they took as a map node and a string each.
//
// It reads like the map it replaced, QMultiMap<QString, QString> from number
// to id: the numbers in QString order (by UTF-16 code unit), the ids of one
// number the one inserted last first (values(), value(), constFind() and
// iteration alike). An id inserted twice under a number is held twice. The
// order is made on the first read in order after an insert (one counting
// pass, no sorting of ids), so a scan's inserts cost no sorting.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVector>

namespace proto {

class NumberIndex
{
public:
    void insert(QStringView number, QStringView id);
    void insert(const QString &number, const QString &id) { insert(QStringView(number), QStringView(id)); }
    void clear();
    // Gives back room that inserts reserved beyond what is held.
    void squeeze();

    int size() const { return int(m_entries.size()); }
    int count() const { return size(); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    int count(const QString &number) const;
    bool contains(const QString &number) const { return m_numberOf.contains(number); }
    bool contains(const QString &number, const QString &id) const;
    // The id inserted last under number; an empty text when none is.
    QString value(const QString &number) const;
    // Every id under number, the one inserted last first.
    QStringList values(const QString &number) const;
    // Every id, in order.
    QStringList values() const;
    // The numbers, each once, in QString order.
    QStringList uniqueKeys() const;

    // The numbers by place (0 to numberCount() - 1, in the order they were
    // first inserted).
    int numberCount() const { return int(m_numbers.size()); }
    int placeOfNumber(const QString &number) const { return int(m_numberOf.value(number, quint32(-1))); }
    const QString &numberAt(int place) const { return m_numbers.at(place); }

    // Finds ids among the ids of one number at a time, for a walk over ids
    // that come number by number (as the rows of a table list them): when the
    // walk turns to a number, its ids are put in a small table of their own,
    // so that an id is found without a lookup in a table of every id. Ids
    // are found by their position in the index's order (0 to size() - 1, as
    // iteration goes), which tells every record apart. The index is not
    // changed while a finder is used.
    class RowFinder
    {
    public:
        explicit RowFinder(const NumberIndex &index) : m_index(&index) {}
        // Tables the ids of the number at this place.
        void turnTo(int number);
        // The place of the number turned to last; -1 before the first turn.
        int number() const { return m_number; }
        // The position of id among the ids of the number turned to, or -1.
        int find(QStringView id) const;
        // Ids tabled so far, over every turn.
        qint64 tabled() const { return m_tabled; }

    private:
        const NumberIndex *m_index;
        int m_number = -1;
        qint64 m_tabled = 0;
        QVector<quint64> m_slots; // hash << 32 | position + 1; 0 empty
        int m_bits = 0;
    };

    class const_iterator
    {
    public:
        const_iterator() = default;
        QString key() const { return m_index->m_numbers.at(m_index->entryAt(m_pos).number); }
        QString value() const { return m_index->idOf(m_index->entryAt(m_pos)); }
        QString operator*() const { return value(); }
        const_iterator &operator++() { ++m_pos; return *this; }
        const_iterator operator++(int) { const_iterator was = *this; ++m_pos; return was; }
        const_iterator &operator--() { --m_pos; return *this; }
        const_iterator operator--(int) { const_iterator was = *this; --m_pos; return was; }
        bool operator==(const const_iterator &o) const { return m_pos == o.m_pos && m_index == o.m_index; }
        bool operator!=(const const_iterator &o) const { return !(*this == o); }

    private:
        friend class NumberIndex;
        const_iterator(const NumberIndex *index, int pos) : m_index(index), m_pos(pos) {}
        const NumberIndex *m_index = nullptr;
        int m_pos = 0;
    };
    using iterator = const_iterator;

    const_iterator constBegin() const;
    const_iterator constEnd() const;
    const_iterator begin() const { return constBegin(); }
    const_iterator end() const { return constEnd(); }
    const_iterator cbegin() const { return constBegin(); }
    const_iterator cend() const { return constEnd(); }
    // The first of number's ids in order (the one inserted last), or end.
    const_iterator constFind(const QString &number) const;

private:
    struct Entry
    {
        quint32 number; // into m_numbers
        quint32 offset; // of the id in m_ids
        quint32 size;   // bytes of the id
    };

    const Entry &entryAt(int pos) const { return m_entries.at(int(m_order.at(pos))); }
    QString idOf(const Entry &e) const;
    void sortOrder() const;
    // [first, last) of number's ids in m_order; both -1 when none.
    void rangeOf(const QString &number, int *first, int *last) const;

    QVector<QString> m_numbers;       // each number once, in order of first insertion
    QHash<QString, quint32> m_numberOf; // number -> its place in m_numbers
    QByteArray m_ids;                 // every id, UTF-8
    QVector<Entry> m_entries;         // in order of insertion
    mutable QVector<quint32> m_order; // entries by number, the last inserted first
    QVector<quint32> m_counts;        // per number (by its place): its ids
    mutable QVector<quint32> m_start; // per number (by its place): its first in m_order
    mutable bool m_sorted = true;
};

} // namespace proto
