#include "cfb/compoundstream.h"

#include "cfb/compoundfile.h"

#include <algorithm>
#include <limits>

namespace cfb {

CompoundStream::CompoundStream(const CompoundFile *file, int entry, const QString &path,
                               std::vector<Extent> extents, qint64 declaredSize)
    : m_file(file)
    , m_entry(entry)
    , m_path(path)
    , m_extents(std::move(extents))
{
    const qint64 covered
        = m_extents.empty() ? 0 : m_extents.back().streamOffset + m_extents.back().length;
    m_size = std::min(declaredSize, covered);
}

qint64 CompoundStream::read(char *buffer, qint64 count)
{
    if (!m_file || !buffer || count <= 0 || m_pos < 0 || m_pos >= m_size)
        return 0;
    count = std::min(count, m_size - m_pos);
    auto extent
        = std::upper_bound(m_extents.begin(), m_extents.end(), m_pos,
                           [](qint64 pos, const Extent &e) { return pos < e.streamOffset; });
    // m_pos < m_size guarantees an extent starting at or before it.
    --extent;
    qint64 copied = 0;
    while (copied < count && extent != m_extents.end()) {
        const qint64 within = m_pos - extent->streamOffset;
        const qint64 wanted = std::min(count - copied, extent->length - within);
        const qint64 got = m_file->readAt(extent->fileOffset + within, buffer + copied, wanted);
        if (got <= 0)
            break;
        copied += got;
        m_pos += got;
        if (got < wanted)
            break;
        ++extent;
    }
    return copied;
}

QByteArray CompoundStream::read(qint64 count)
{
    if (count <= 0 || m_pos < 0 || m_pos >= m_size)
        return QByteArray();
    // A QByteArray holds a little under 2 GiB.
    constexpr qint64 byteArrayMax = std::numeric_limits<int>::max() - 4096;
    QByteArray bytes(int(std::min({ count, m_size - m_pos, byteArrayMax })), Qt::Uninitialized);
    bytes.truncate(int(read(bytes.data(), bytes.size())));
    return bytes;
}

QByteArray CompoundStream::readAll()
{
    return read(m_size);
}

} // namespace cfb
