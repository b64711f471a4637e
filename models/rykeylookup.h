// First-match lookup of cell values by QVariant equality in hashed time. The joins and the
// tree proxy use it where a linear search would make building quadratic in the row count.
#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

class RyKeyLookup
{
public:
    void reserve(int count);
    void clear();
    // Records `value` for `row`; rows must come in ascending order.
    void insert(int row, const QVariant &value);
    // The smallest recorded row whose value equals `value` (stored == value, as QVariant
    // compares), or -1.
    int firstMatch(const QVariant &value) const;
    int size() const { return m_values.size(); }

    // Values that QVariant may call equal land in one bucket (numbers and numeric texts by
    // numeric value, dates by instant, other texts by text); the bucket is then searched in row
    // order with the exact comparison, so the first match is the one a linear search would find.
    struct Key
    {
        enum Kind : quint8 { Invalid, Number, Text, Date };
        Kind kind = Invalid;
        double number = 0;
        QString text;
        bool operator==(const Key &other) const;
    };
    static Key keyOf(const QVariant &value);

private:
    // One bucket per distinct key, found through an open-addressing table whose entries carry
    // what a lookup of a plain number needs, so that it costs one cache miss, not three.
    struct Bucket
    {
        int text = -1; // Text keys: position in m_texts
        int first = -1; // first slot with this key
        int last = -1;
    };
    struct TableEntry
    {
        double number = 0; // Number and Date keys
        uint hash = 0; // the low two bits hold the key's kind
        int bucket = -1; // -1: a free place
        int firstRow = -1;
        int firstType = QMetaType::UnknownType; // type of the first value with this key
    };
    static uint hashOf(const Key &key);
    bool sameKey(const TableEntry &entry, const Key &key) const;
    // Table position holding the key, or the free place where it would go.
    int findPosition(const Key &key, uint hash) const;
    void resizeTable(int size);

    QVector<QVariant> m_values;
    QVector<int> m_rows;
    QVector<int> m_next; // next slot of the same bucket, in row order; -1 ends the chain
    QVector<Bucket> m_buckets;
    QVector<QString> m_texts;
    QVector<TableEntry> m_table; // size a power of two, at most half full
};
