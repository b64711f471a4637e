#include "mppr/fieldmap.h"

#include "mppr/bytes.h"
#include "mppr/propsblock.h"

namespace mppr {

namespace {

constexpr int ItemSize = 28;
constexpr quint32 CategoryMetaData = 11;
constexpr quint32 CategoryFlag = 100;
constexpr quint16 VariableOffset = 0xFFFF;

quint32 fieldClassOf(quint32 fieldId, FieldMapStyle style)
{
    const quint32 upper = fieldId & 0xFFFF0000u;
    if (style != FieldMapStyle::Mpp14)
        return upper == TaskFieldBase ? TaskFieldBase : TaskFieldBase + 1;
    if (upper == TaskFieldBase || upper == ResourceFieldBase || upper == AssignmentFieldBase)
        return upper;
    return AssignmentFieldBase + 1;
}

} // namespace

FieldMap FieldMap::fromItem(const QByteArray &item, FieldMapStyle style)
{
    FieldMap map;
    quint32 blockIndex = 0;
    quint16 previousOffset = 0;
    const ByteView bytes(item);
    const int count = bytes.size() / ItemSize;
    for (int i = 0; i < count; ++i) {
        const int base = i * ItemSize;
        FieldDescriptor d;
        const quint16 offset = bytes.u16(base + 4);
        d.fieldId = bytes.u32(base + 12);
        d.category = bytes.u16(base + 20);
        d.size = bytes.u16(base + 22);
        d.fieldClass = fieldClassOf(d.fieldId, style);
        if (d.category == CategoryMetaData) {
            d.location = FieldLocation::MetaData;
        } else if (d.category == CategoryFlag) {
            d.location = FieldLocation::MetaFlag;
        } else if (offset == VariableOffset) {
            d.location = FieldLocation::VarData;
            if (style == FieldMapStyle::Mpp9)
                d.offset = bytes.u8(base + 6);
        } else {
            d.location = FieldLocation::FixedData;
            // Fixed offsets restart at a lower value where the second fixed block begins.
            if (offset < previousOffset)
                ++blockIndex;
            d.offset = offset;
            d.blockIndex = blockIndex;
            previousOffset = offset;
        }
        map.m_fields[d.fieldId] = d;
    }
    return map;
}

FieldMap FieldMap::fromProps(const PropsBlock &props, quint32 key, quint32 fallbackKey,
                             FieldMapStyle style)
{
    QByteArray item = props.item(key);
    if (item.isEmpty())
        item = props.item(fallbackKey);
    return fromItem(item, style);
}

FieldDescriptor FieldMap::descriptor(quint32 fieldId) const
{
    const auto it = m_fields.find(fieldId);
    return it == m_fields.end() ? FieldDescriptor() : it->second;
}

void FieldMap::setFlagPosition(quint32 fieldId, FieldLocation location, quint16 bit)
{
    auto it = m_fields.find(fieldId);
    if (it == m_fields.end()) {
        FieldDescriptor d;
        d.fieldId = fieldId;
        d.category = 0;
        d.fieldClass = fieldId & 0xFFFF0000u;
        it = m_fields.emplace(fieldId, d).first;
    }
    it->second.location = location;
    it->second.offset = bit;
}

} // namespace mppr
