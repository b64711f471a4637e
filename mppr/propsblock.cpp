#include "mppr/propsblock.h"

#include "mppr/bytes.h"
#include "mppr/mpprlogging.h"
#include "mppr/project.h"

#include <QDebug>

namespace mppr {

int PropsBlock::parse(const QByteArray &stream)
{
    m_items.clear();
    if (stream.size() < 16)
        return StatusOpenFailed;
    const ByteView bytes(stream);
    const int expected = bytes.u16(12);
    int pos = 16;
    int read = 0;
    for (; read < expected; ++read) {
        if (!bytes.fits(pos, 12)) {
            qCDebug(lcMppr) << "Properties section too short. Expected items" << expected
                            << "readed" << read;
            break;
        }
        const quint32 size = bytes.u32(pos);
        const quint32 key = bytes.u32(pos + 4);
        pos += 12;
        if (!bytes.fits(pos, size)) {
            qCDebug(lcMppr) << "Properties section too short or invalid item size";
            break;
        }
        m_items.insert(key, stream.mid(pos, int(size)));
        pos += int(size);
        if ((size & 1) && pos < stream.size())
            ++pos;
    }
    qCDebug(lcMppr).noquote() << "Properties count in header:" << QString::number(expected, 16)
                              << "real count" << QString::number(m_items.size(), 16);
    return StatusOk;
}

} // namespace mppr
