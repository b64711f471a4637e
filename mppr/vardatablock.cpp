#include "mppr/vardatablock.h"

#include "mppr/project.h"
#include "mppr/varmetablock.h"

namespace mppr {

int VarDataBlock::parse(const QByteArray &stream, const VarMetaBlock &meta)
{
    m_stream.clear();
    m_meta = nullptr;
    const ByteView bytes(stream);
    for (const qint32 offset : meta.offsets()) {
        if (!bytes.fits(offset, 4))
            return StatusMalformedBlock;
        const quint32 length = bytes.u32(offset);
        if (!bytes.fits(qint64(offset) + 4, length))
            return StatusMalformedBlock;
    }
    m_stream = stream;
    m_meta = &meta;
    return StatusOk;
}

ByteView VarDataBlock::value(qint32 uniqueId, quint32 field) const
{
    if (!m_meta)
        return ByteView();
    return value(m_meta->recordItems(uniqueId), field);
}

ByteView VarDataBlock::value(const VarMetaBlock::RecordItems &items, quint32 field) const
{
    if (!m_meta)
        return ByteView();
    const qint64 offset = m_meta->offset(items, field);
    if (offset < 0)
        return ByteView();
    // parse() checked every offset the meta block holds.
    const ByteView bytes(m_stream);
    return ByteView(bytes.data() + offset + 4, int(bytes.u32(int(offset))));
}

} // namespace mppr
