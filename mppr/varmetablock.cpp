#include "mppr/varmetablock.h"

#include "mppr/project.h"

#include <algorithm>

namespace mppr {

constexpr int HeaderSize = 24;

int VarMetaBlock::parse(const QByteArray &stream, ItemLayout layout)
{
    m_index.clear();
    m_offsets.clear();
    m_uniqueIds.clear();
    const ByteView bytes(stream);
    if (bytes.size() < HeaderSize || bytes.u32(0) != MetaBlockMagic)
        return StatusMalformedBlock;
    const quint32 count = bytes.u32(8);
    const int itemSize = layout == ItemLayout::Key ? 8 : 12;
    if (qint64(count) * itemSize > bytes.size() - HeaderSize)
        return StatusMalformedBlock;
    m_index.reserve(int(count));
    m_offsets.reserve(int(count));
    m_uniqueIds.reserve(int(count));
    for (quint32 i = 0; i < count; ++i) {
        const int pos = HeaderSize + int(i) * itemSize;
        qint32 uniqueId;
        quint32 field;
        qint32 offset;
        if (layout == ItemLayout::Key) {
            uniqueId = qint32(bytes.u32(pos) & 0x00FFFFFF);
            field = bytes.u8(pos + 3);
            offset = bytes.i32(pos + 4);
        } else {
            uniqueId = bytes.i32(pos);
            offset = bytes.i32(pos + 4);
            field = bytes.u32(pos + 8);
        }
        m_index.insert(keyOf(uniqueId, field), offset);
        m_offsets.append(offset);
        m_uniqueIds.append(uniqueId);
    }
    return StatusOk;
}

qint64 VarMetaBlock::offset(qint32 uniqueId, quint32 field) const
{
    const auto it = m_index.constFind(keyOf(uniqueId, field));
    return it == m_index.constEnd() ? -1 : qint64(*it);
}

QVector<qint32> VarMetaBlock::uniqueIds() const
{
    QVector<qint32> ids = m_uniqueIds;
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

} // namespace mppr
