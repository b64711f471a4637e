#pragma once

// VarMeta: which variable-data values exist, addressed by (record unique ID, field) where the
// field is the full field id, or in the "   19" layout an 8-bit key.

#include "mppr/bytes.h"

#include <QHash>
#include <QVector>

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

    // Offset into Var2Data, or -1 when there is no value.
    qint64 offset(qint32 uniqueId, quint32 field) const;
    // Offsets in item order.
    const QVector<qint32> &offsets() const { return m_offsets; }
    int itemCount() const { return m_offsets.size(); }
    // Record unique IDs present, ascending, without repeats.
    QVector<qint32> uniqueIds() const;

private:
    static quint64 keyOf(qint32 uniqueId, quint32 field)
    {
        return (quint64(quint32(uniqueId)) << 32) | field;
    }
    QHash<quint64, qint32> m_index;
    QVector<qint32> m_offsets;
    QVector<qint32> m_uniqueIds; // in item order
};

} // namespace mppr
