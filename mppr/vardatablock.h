#pragma once

// Var2Data: length-prefixed values at the offsets that VarMeta names.

#include "mppr/bytes.h"
#include "mppr/varmetablock.h"

namespace mppr {

class VarDataBlock
{
public:
    // Status 0 or 5: every offset of the meta block must hold a complete value.
    int parse(const QByteArray &stream, const VarMetaBlock &meta);

    // The value for (record unique ID, field); empty when there is none.
    ByteView value(qint32 uniqueId, quint32 field) const;
    // The same for the items of one record of the meta block.
    ByteView value(const VarMetaBlock::RecordItems &items, quint32 field) const;
    const VarMetaBlock *meta() const { return m_meta; }

private:
    QByteArray m_stream;
    const VarMetaBlock *m_meta = nullptr;
};

} // namespace mppr
