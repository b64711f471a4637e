#include "mppr/baselinefields.h"

#include "mppr/fieldreader.h"

#include <algorithm>

namespace mppr {

namespace {

enum Quantity { Start, Finish, Duration, Work, Cost };

// Baseline (0) has fields of its own; Baseline1 to Baseline10 each take a run of numbers
// starting here, with start, finish, cost and work at +0..+3 and the duration at +5.
constexpr quint32 BaselineZeroFields[5] = { 0x2B, 0x2C, 0x1B, 0x01, 0x06 };
constexpr quint32 NumberedBaselineBase[BaselineCount - 1]
    = { 0x1E2, 0x1ED, 0x1F8, 0x203, 0x20E, 0x220, 0x22B, 0x236, 0x241, 0x24C };
constexpr quint32 NumberedBaselineOffsets[5] = { 0, 1, 5, 3, 2 };
constexpr quint32 ExtensionField = 0x1E1;

constexpr int DateSize = 4;
constexpr int DurationSize = 4;
constexpr int NumberSize = 8;
constexpr int FirstBaselineYear = 1984;
constexpr int LastBaselineYear = 2149;

// A (field id, offset) table followed by the values: a 32-bit total size, a 32-bit entry count,
// then 8-byte entries. A value runs from its offset to the next entry's offset.
class ExtensionBlock
{
public:
    explicit ExtensionBlock(ByteView bytes)
        : m_bytes(bytes)
    {
        if (!bytes.fits(0, 8))
            return;
        const qint64 tableEnd = 8 + qint64(bytes.u32(4)) * 8;
        if (!bytes.fits(0, tableEnd))
            return;
        m_entries.reserve(int(bytes.u32(4)));
        for (int pos = 8; pos < tableEnd; pos += 8) {
            const quint32 offset = bytes.u32(pos + 4);
            if (offset >= quint32(tableEnd) && offset < quint32(bytes.size()))
                m_entries.append({ offset, bytes.u32(pos) });
        }
        std::sort(m_entries.begin(), m_entries.end());
    }

    ByteView value(quint32 fieldId) const
    {
        for (int k = 0; k < m_entries.size(); ++k) {
            if (m_entries.at(k).second != fieldId)
                continue;
            const quint32 offset = m_entries.at(k).first;
            const quint32 end
                = k + 1 < m_entries.size() ? m_entries.at(k + 1).first : quint32(m_bytes.size());
            return m_bytes.mid(offset, end - offset);
        }
        return ByteView();
    }

private:
    ByteView m_bytes;
    QVector<QPair<quint32, quint32>> m_entries; // (offset, field id), ascending offset
};

// A value runs to the next stored entry, so a field stored without its neighbour (a duration
// without its unit, as Project 2002 saves them) carries that neighbour's bytes behind its own:
// each value is its first `size` bytes, and shorter runs hold none.
ByteView leading(ByteView value, int size)
{
    return value.size() >= size ? value.mid(0, size) : ByteView();
}

QDateTime baselineDate(ByteView value)
{
    value = leading(value, DateSize);
    if (value.size() != DateSize)
        return epoch();
    const QDateTime date = decodeDate(value);
    const int year = date.date().year();
    return year >= FirstBaselineYear && year <= LastBaselineYear ? date : epoch();
}

template<typename T> std::optional<T> sized(ByteView value, int size, T (*decode)(ByteView))
{
    value = leading(value, size);
    if (value.size() != size)
        return std::nullopt;
    return decode(value);
}

bool hasValue(const Baseline &b)
{
    return !isUnset(b.start) || !isUnset(b.finish) || b.duration.value_or(0) != 0
        || b.work.value_or(0) != 0 || b.cost.value_or(0) != 0;
}

} // namespace

std::array<quint32, 5> BaselineFields::fieldNumbers(int number)
{
    std::array<quint32, 5> numbers {};
    for (int q = 0; q < 5; ++q)
        numbers[q] = number == 0 ? BaselineZeroFields[q]
                                 : NumberedBaselineBase[number - 1] + NumberedBaselineOffsets[q];
    return numbers;
}

BaselineFields::BaselineFields(const FieldMap &map)
    : m_extension(map.descriptor(TaskFieldBase + ExtensionField))
{
    for (int number = 0; number < BaselineCount; ++number) {
        const std::array<quint32, 5> numbers = fieldNumbers(number);
        for (int q = 0; q < 5; ++q) {
            m_fields[number].ids[q] = TaskFieldBase + numbers[q];
            m_fields[number].descriptors[q] = map.descriptor(TaskFieldBase + numbers[q]);
            if (m_fields[number].descriptors[q].isAbsent())
                m_needsExtension = true;
        }
    }
    m_needsExtension = m_needsExtension && !m_extension.isAbsent();
    for (const Fields &f : m_fields) {
        for (const FieldDescriptor &d : f.descriptors) {
            if (d.isAbsent())
                continue;
            if (d.location != FieldLocation::VarData)
                m_allVarData = false;
            m_varFieldIds.push_back(d.fieldId);
            m_varKeys.push_back(d.offset);
        }
    }
    for (std::vector<quint32> *list : { &m_varFieldIds, &m_varKeys }) {
        std::sort(list->begin(), list->end());
        list->erase(std::unique(list->begin(), list->end()), list->end());
    }
}

QVector<Baseline> BaselineFields::read(const FieldReader &reader, int record, qint32 uniqueId) const
{
    const ByteView extensionBytes
        = m_needsExtension ? reader.value(m_extension, record, uniqueId) : ByteView();
    // Most tasks store no baseline: one walk over the record's items tells.
    if (m_allVarData && extensionBytes.isEmpty()
        && !reader.holdsAnyVarData(m_varFieldIds, m_varKeys, uniqueId))
        return {};
    const ExtensionBlock extension(extensionBytes);
    QVector<Baseline> baselines;
    for (int number = 0; number < BaselineCount; ++number) {
        const Fields &f = m_fields[number];
        auto value = [&](int q) {
            return f.descriptors[q].isAbsent() ? extension.value(f.ids[q])
                                               : reader.value(f.descriptors[q], record, uniqueId);
        };
        // Most tasks store no baseline: nothing is built for values that hold none.
        const ByteView start = value(Start);
        const ByteView finish = value(Finish);
        const ByteView duration = value(Duration);
        const ByteView work = value(Work);
        const ByteView cost = value(Cost);
        if (!holdsDate(leading(start, DateSize)) && !holdsDate(leading(finish, DateSize))
            && sized(duration, DurationSize, decodeInteger).value_or(0) == 0
            && sized(work, NumberSize, decodeNumber).value_or(0) == 0
            && sized(cost, NumberSize, decodeNumber).value_or(0) == 0)
            continue;
        Baseline b;
        b.number = qint8(number);
        b.start = baselineDate(start);
        b.finish = baselineDate(finish);
        b.duration = sized(duration, DurationSize, decodeInteger);
        b.work = sized(work, NumberSize, decodeNumber);
        b.cost = sized(cost, NumberSize, decodeNumber);
        if (hasValue(b))
            baselines.append(b);
    }
    return baselines;
}

} // namespace mppr
