#include "mppr/fixedmetablock.h"

#include "mppr/project.h"

namespace mppr {

constexpr int HeaderSize = 16;

int FixedMetaBlock::parse(const QByteArray &stream, int statedItemSize)
{
    m_stream.clear();
    m_count = 0;
    m_itemSize = 0;
    const ByteView bytes(stream);
    if (bytes.size() < HeaderSize || bytes.u32(0) != MetaBlockMagic)
        return StatusMalformedBlock;
    const quint32 count = bytes.u32(8);
    if (count == 0) {
        m_stream = stream;
        return StatusOk;
    }
    const qint64 payload = bytes.size() - HeaderSize;
    qint64 itemSize = statedItemSize;
    if (payload % count == 0 && payload / count > 0)
        itemSize = payload / count;
    if (itemSize <= 0 || qint64(count) * itemSize > payload)
        return StatusMalformedBlock;
    m_stream = stream;
    m_count = int(count);
    m_itemSize = int(itemSize);
    return StatusOk;
}

ByteView FixedMetaBlock::item(int index) const
{
    if (index < 0 || index >= m_count)
        return ByteView();
    return ByteView(m_stream.constData() + HeaderSize + qint64(index) * m_itemSize, m_itemSize);
}

} // namespace mppr
