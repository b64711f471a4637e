#include "mppr/fixeddatablock.h"

#include "mppr/fixedmetablock.h"
#include "mppr/project.h"

#include <algorithm>
#include <functional>

namespace mppr {

int FixedDataBlock::parse(const QByteArray &stream, const FixedMetaBlock &meta)
{
    m_stream = stream;
    m_records.clear();
    m_fixedSize = 0;
    const int count = meta.itemCount();
    QVector<qint64> starts;
    starts.reserve(count);
    for (int i = 0; i < count; ++i) {
        const ByteView item = meta.item(i);
        if (item.size() < 8) {
            m_records.clear();
            return StatusMalformedBlock;
        }
        starts.append(item.i32(4));
    }
    // A record ends where the next higher start is. Items almost always name their records in
    // ascending order, and the next higher start is then the next item's.
    const bool ascending
        = std::adjacent_find(starts.cbegin(), starts.cend(), std::greater_equal<qint64>())
        == starts.cend();
    QVector<qint64> sorted;
    if (!ascending) {
        sorted = starts;
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    }
    const qint64 end = stream.size();
    m_records.resize(count);
    for (int i = 0; i < count; ++i) {
        const qint64 start = starts.at(i);
        if (start < 0 || start >= end)
            continue; // an empty record
        qint64 next = end;
        if (ascending) {
            if (i + 1 < count)
                next = starts.at(i + 1);
        } else {
            const auto higher = std::upper_bound(sorted.cbegin(), sorted.cend(), start);
            if (higher != sorted.cend())
                next = *higher;
        }
        const qint64 stop = qMin(next, end);
        m_records[i] = Span { start, int(stop - start) };
    }
    return StatusOk;
}

void FixedDataBlock::split(const QByteArray &stream, int recordSize)
{
    m_stream = stream;
    m_records.clear();
    m_fixedSize = recordSize;
    if (recordSize <= 0)
        return;
    const qint64 end = stream.size();
    m_records.reserve(int((end + recordSize - 1) / recordSize));
    for (qint64 start = 0; start < end; start += recordSize)
        m_records.append(Span { start, int(qMin<qint64>(recordSize, end - start)) });
}

ByteView FixedDataBlock::record(int index) const
{
    if (index < 0 || index >= m_records.size())
        return ByteView();
    const Span &span = m_records.at(index);
    return ByteView(m_stream.constData() + span.start, span.size);
}

int FixedDataBlock::recordAt(qint64 offset) const
{
    if (m_fixedSize <= 0 || offset < 0 || offset % m_fixedSize != 0)
        return -1;
    const qint64 index = offset / m_fixedSize;
    return index < m_records.size() ? int(index) : -1;
}

} // namespace mppr
