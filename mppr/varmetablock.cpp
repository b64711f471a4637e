#include "mppr/varmetablock.h"

#include "mppr/project.h"

#include <algorithm>

namespace mppr {

namespace {
constexpr int HeaderSize = 24;
// A record index of up to this many unused unique IDs per item (and a few thousand more) is
// cheaper than hashing; wider ranges of IDs go to the hash.
constexpr qint64 SpanPerItem = 4;
constexpr qint64 SpanSlack = 4096;
// Records with more entries than this are searched by halving.
constexpr int LinearSearchLimit = 16;
} // namespace

int VarMetaBlock::parse(const QByteArray &stream, ItemLayout layout)
{
    m_entries.clear();
    m_first.clear();
    m_lowestId = 0;
    m_slots.clear();
    m_mask = 0;
    m_offsets.clear();
    m_uniqueIds.clear();
    const ByteView bytes(stream);
    if (bytes.size() < HeaderSize || bytes.u32(0) != MetaBlockMagic)
        return StatusMalformedBlock;
    const quint32 count = bytes.u32(8);
    const int itemSize = layout == ItemLayout::Key ? 8 : 12;
    if (qint64(count) * itemSize > bytes.size() - HeaderSize)
        return StatusMalformedBlock;
    m_offsets.reserve(int(count));
    m_uniqueIds.reserve(int(count));
    std::vector<quint32> fields;
    fields.reserve(count);
    qint64 lowest = 0;
    qint64 highest = -1;
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
        m_offsets.append(offset);
        m_uniqueIds.append(uniqueId);
        fields.push_back(field);
        if (i == 0 || uniqueId < lowest)
            lowest = uniqueId;
        if (i == 0 || uniqueId > highest)
            highest = uniqueId;
    }
    const qint64 span = highest - lowest + 1;
    if (count == 0)
        return StatusOk;
    if (span <= qint64(count) * SpanPerItem + SpanSlack)
        indexByRecord(fields, lowest, span);
    else
        indexByHash(fields);
    return StatusOk;
}

void VarMetaBlock::indexByRecord(const std::vector<quint32> &fields, qint64 lowestId, qint64 idSpan)
{
    // Items counted per record, then placed in item order: equal keys keep their order.
    m_lowestId = lowestId;
    m_first.assign(size_t(idSpan) + 1, 0);
    const int count = m_uniqueIds.size();
    for (int i = 0; i < count; ++i)
        ++m_first[size_t(m_uniqueIds.at(i) - lowestId) + 1];
    for (size_t r = 1; r < m_first.size(); ++r)
        m_first[r] += m_first[r - 1];
    std::vector<qint32> next(m_first.cbegin(), m_first.cend() - 1);
    m_entries.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        m_entries[size_t(next[size_t(m_uniqueIds.at(i) - lowestId)]++)]
            = Entry { fields[size_t(i)], m_offsets.at(i) };
    // Each record by field; of equal fields only the last item stays.
    const auto byField = [](const Entry &a, const Entry &b) { return a.field < b.field; };
    size_t kept = 0;
    for (size_t r = 0; r + 1 < m_first.size(); ++r) {
        const auto begin = m_entries.begin() + m_first[r];
        const auto end = m_entries.begin() + m_first[r + 1];
        if (!std::is_sorted(begin, end, byField))
            std::stable_sort(begin, end, byField);
        m_first[r] = qint32(kept);
        for (auto e = begin; e != end; ++e) {
            if (e + 1 != end && (e + 1)->field == e->field)
                continue;
            m_entries[kept++] = *e;
        }
    }
    m_first.back() = qint32(kept);
    m_entries.resize(kept);
}

void VarMetaBlock::indexByHash(const std::vector<quint32> &fields)
{
    size_t slotCount = 16;
    while (slotCount < size_t(m_uniqueIds.size()) * 2)
        slotCount *= 2;
    m_slots.assign(slotCount, Slot { 0, -1 });
    m_mask = slotCount - 1;
    for (int i = 0; i < m_uniqueIds.size(); ++i) {
        const quint64 key = keyOf(m_uniqueIds.at(i), fields[size_t(i)]);
        for (quint64 slot = slotHash(key) & m_mask;; slot = (slot + 1) & m_mask) {
            Slot &s = m_slots[slot];
            if (s.item < 0 || s.key == key) {
                s = Slot { key, i };
                break;
            }
        }
    }
}

VarMetaBlock::RecordItems VarMetaBlock::recordItems(qint32 uniqueId) const
{
    RecordItems items;
    items.uniqueId = uniqueId;
    if (m_first.empty())
        return items;
    static const Entry none {};
    items.begin = items.end = &none;
    const qint64 record = qint64(uniqueId) - m_lowestId;
    if (record < 0 || record + 1 >= qint64(m_first.size()))
        return items;
    items.begin = m_entries.data() + m_first[size_t(record)];
    items.end = m_entries.data() + m_first[size_t(record) + 1];
    return items;
}

bool VarMetaBlock::holdsAny(const RecordItems &items, const std::vector<quint32> &fields) const
{
    if (!items.begin) {
        return std::any_of(fields.cbegin(), fields.cend(),
                           [&](quint32 field) { return offset(items, field) >= 0; });
    }
    const Entry *e = static_cast<const Entry *>(items.begin);
    const Entry *end = static_cast<const Entry *>(items.end);
    auto f = fields.cbegin();
    while (e != end && f != fields.cend()) {
        if (e->field == *f)
            return true;
        if (e->field < *f)
            ++e;
        else
            ++f;
    }
    return false;
}

qint64 VarMetaBlock::offset(const RecordItems &items, quint32 field) const
{
    if (items.begin) {
        const Entry *begin = static_cast<const Entry *>(items.begin);
        const Entry *end = static_cast<const Entry *>(items.end);
        if (end - begin > LinearSearchLimit)
            begin = std::lower_bound(begin, end, field,
                                     [](const Entry &e, quint32 f) { return e.field < f; });
        for (const Entry *e = begin; e != end && e->field <= field; ++e) {
            if (e->field == field)
                return e->offset;
        }
        return -1;
    }
    if (m_slots.empty())
        return -1;
    const quint64 key = keyOf(items.uniqueId, field);
    for (quint64 slot = slotHash(key) & m_mask;; slot = (slot + 1) & m_mask) {
        const Slot &s = m_slots[slot];
        if (s.item < 0)
            return -1;
        if (s.key == key)
            return m_offsets.at(s.item);
    }
}

qint64 VarMetaBlock::offset(qint32 uniqueId, quint32 field) const
{
    return offset(recordItems(uniqueId), field);
}

QVector<qint32> VarMetaBlock::uniqueIds() const
{
    QVector<qint32> ids = m_uniqueIds;
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

} // namespace mppr
