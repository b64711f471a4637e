#pragma once

// VarMeta: which variable-data values exist, addressed by (record unique ID, field) where the
// field is the full field id, or in the "   19" layout an 8-bit key.

#include "mppr/bytes.h"

#include <QVector>

#include <vector>

namespace mppr {

class VarMetaBlock
{
public:
    enum class ItemLayout {
        FieldId, // 12-byte items: unique ID, offset, full field id
        Key, // 8-byte items: 24-bit unique ID, 8-bit key, offset
    };

    // Status 0 or 5.
    int parse(const QByteArray &stream, ItemLayout layout);

    // Offset into Var2Data, or -1 when there is no value. Of items with the same unique ID and
    // field, the last one counts.
    qint64 offset(qint32 uniqueId, quint32 field) const;
    // The items of one record, found once for the lookups of its fields.
    class RecordItems
    {
        friend class VarMetaBlock;
        const void *begin = nullptr; // the record's entries, or null for the hash
        const void *end = nullptr;
        qint32 uniqueId = 0;
    };
    RecordItems recordItems(qint32 uniqueId) const;
    // The same as offset(uniqueId, field) for the record's unique ID.
    qint64 offset(const RecordItems &items, quint32 field) const;
    // Whether the record has an item of any of the fields (ascending, without repeats): one walk
    // over the record's items instead of a lookup per field.
    bool holdsAny(const RecordItems &items, const std::vector<quint32> &fields) const;
    // Offsets in item order.
    const QVector<qint32> &offsets() const { return m_offsets; }
    int itemCount() const { return m_offsets.size(); }
    // Record unique IDs present, ascending, without repeats.
    QVector<qint32> uniqueIds() const;

private:
    struct Entry
    {
        quint32 field;
        qint32 offset;
    };
    void indexByRecord(const std::vector<quint32> &fields, qint64 lowestId, qint64 idSpan);
    void indexByHash(const std::vector<quint32> &fields);

    // Unique IDs of records are mostly a dense run: the items of unique ID u are then
    // m_entries[m_first[u - m_lowestId]] up to the next record's first, ascending by field,
    // so that the lookups of one record stay within a few cache lines.
    std::vector<Entry> m_entries;
    std::vector<qint32> m_first;
    qint64 m_lowestId = 0;

    // Scattered unique IDs: a flat open-addressing table of keys and item numbers
    // (-1 for an empty slot), at most half full.
    struct Slot
    {
        quint64 key;
        qint32 item;
    };
    static quint64 keyOf(qint32 uniqueId, quint32 field)
    {
        return (quint64(quint32(uniqueId)) << 32) | field;
    }
    static quint64 slotHash(quint64 key)
    {
        key ^= key >> 29;
        key *= 0x9E3779B97F4A7C15ull;
        return key ^ (key >> 32);
    }
    std::vector<Slot> m_slots;
    quint64 m_mask = 0;

    QVector<qint32> m_offsets;
    QVector<qint32> m_uniqueIds; // in item order
};

} // namespace mppr
