// First-match lookup of cell values by QVariant equality in hashed time. The joins and the
// tree proxy use it where a linear search would make building quadratic in the row count.
#pragma once

#include <QHash>
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
    struct Bucket
    {
        int first = -1;
        int last = -1;
    };
    QVector<QVariant> m_values;
    QVector<int> m_rows;
    QVector<int> m_next; // next slot of the same bucket, in row order; -1 ends the chain
    QHash<Key, Bucket> m_buckets;
};

uint qHash(const RyKeyLookup::Key &key, uint seed = 0);
