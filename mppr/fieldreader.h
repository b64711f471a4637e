#pragma once

// Reads and decodes field values of one record class from its parsed blocks: fixed records
// (block 0 FixedData, block 1 Fixed2Data), variable data, and flag bits of the meta items.

#include "mppr/bytes.h"
#include "mppr/fieldmap.h"
#include "mppr/varmetablock.h"

#include <QDateTime>
#include <QString>

namespace mppr {

class FixedDataBlock;
class FixedMetaBlock;
class VarDataBlock;

// The empty or wrong-sized value decodes to the default (0, empty text, the unset date).
qint32 decodeInteger(ByteView value);
double decodeNumber(ByteView value);
QString decodeText(ByteView value);
QDateTime decodeDate(ByteView value);
// decodeDate() for the dates of many records, which repeat: a date is made once per stored
// value that the last lookups did not see, and copied from then on.
class DateCache
{
public:
    const QDateTime &date(ByteView value);

private:
    static constexpr int SlotBits = 8;
    struct Slot
    {
        quint32 stored = 0;
        bool filled = false;
        QDateTime date;
    };
    Slot m_slots[1 << SlotBits];
};

// Whether the value decodes to a date other than the unset one.
bool holdsDate(ByteView value);
// A double truncated toward zero to a 32-bit integer; values outside that range saturate.
qint32 truncateToInt32(double value);

struct RecordBlocks
{
    const FixedMetaBlock *meta = nullptr; // FixedMeta: MetaData flags
    const FixedMetaBlock *meta2 = nullptr; // Fixed2Meta: MetaFlag flags
    const FixedDataBlock *fixed = nullptr; // block 0
    const FixedDataBlock *fixed2 = nullptr; // block 1
    const VarDataBlock *varData = nullptr;
    // "   19" layout: variable data is addressed by the descriptor's 8-bit key.
    bool varDataByKey = false;
};

class FieldReader
{
public:
    explicit FieldReader(const RecordBlocks &blocks)
        : m_blocks(blocks)
    {
    }

    // The raw value bytes of a field for fixed record `record` and record unique ID uniqueId.
    // A fixed-data field of the record read last, the most common lookup, is found in place.
    ByteView value(const FieldDescriptor &field, int record, qint32 uniqueId) const
    {
        if (field.location == FieldLocation::FixedData && record == m_record
            && field.blockIndex <= 1 && field.size != 0) {
            const ByteView &bytes = m_fixed[field.blockIndex];
            return bytes.fits(field.offset, field.size)
                ? ByteView(bytes.data() + field.offset, field.size)
                : ByteView();
        }
        return lookUp(field, record, uniqueId);
    }

    qint32 integer(const FieldDescriptor &field, int record, qint32 uniqueId) const
    {
        return decodeInteger(value(field, record, uniqueId));
    }
    double number(const FieldDescriptor &field, int record, qint32 uniqueId) const
    {
        return decodeNumber(value(field, record, uniqueId));
    }
    QString text(const FieldDescriptor &field, qint32 uniqueId) const;
    QDateTime date(const FieldDescriptor &field, int record, qint32 uniqueId) const
    {
        return decodeDate(value(field, record, uniqueId));
    }
    // Whether the record with unique ID uniqueId has a variable-data item of any of the fields:
    // their field ids, or in the "   19" layout their 8-bit keys (see RecordBlocks), ascending.
    bool holdsAnyVarData(const std::vector<quint32> &fieldIds, const std::vector<quint32> &keys,
                         qint32 uniqueId) const;
    // Bit `offset` of meta item `item`; false unless the field is a flag (category 100).
    bool flag(const FieldDescriptor &field, int item) const;

private:
    ByteView lookUp(const FieldDescriptor &field, int record, qint32 uniqueId) const;

    RecordBlocks m_blocks;
    // A record's fields are read one after another: its fixed records and its variable-data
    // items are looked up once. A reader serves one thread.
    mutable int m_record = -1;
    mutable ByteView m_fixed[2];
    mutable bool m_haveItems = false;
    mutable VarMetaBlock::RecordItems m_items;
    mutable qint32 m_itemsId = 0;
};

} // namespace mppr
