#pragma once

// Field maps: where each field of a record class lives (fixed record, variable data, or a bit
// of a meta item), built from a Props item of 28-byte entries.

#include <QByteArray>

#include <map>

namespace mppr {

enum class FieldLocation : quint16 {
    FixedData = 0,
    VarData = 1,
    MetaData = 2,
    MetaFlag = 3,
    Absent = 4,
};

// Full field ids are the class base plus the field number.
constexpr quint32 TaskFieldBase = 0x0B400000;
constexpr quint32 ResourceFieldBase = 0x0C400000;
constexpr quint32 AssignmentFieldBase = 0x0F400000;

struct FieldDescriptor
{
    FieldLocation location = FieldLocation::Absent;
    quint32 category = 0;
    quint32 fieldId = quint32(-1);
    quint16 size = 0;
    // Byte offset in the fixed record (FixedData), bit number (MetaData/MetaFlag flags) or
    // the 8-bit variable-data key of the "   19" layout (VarData).
    quint16 offset = 0;
    quint32 fieldClass = 0;
    quint32 blockIndex = 0;

    bool isAbsent() const { return location == FieldLocation::Absent; }
};

// How the layouts differ in their field-map items.
enum class FieldMapStyle {
    Mpp14, // variable data addressed by the full field id
    Mpp12, // as Mpp14, field class as Mpp9
    Mpp9, // variable data addressed by an 8-bit key stored in the item
};

class PropsBlock;

class FieldMap
{
public:
    static FieldMap fromItem(const QByteArray &item, FieldMapStyle style);
    // From the first of the two Props items that is present and not empty.
    static FieldMap fromProps(const PropsBlock &props, quint32 key, quint32 fallbackKey,
                              FieldMapStyle style);

    // Absent descriptor when the field is not in the map.
    FieldDescriptor descriptor(quint32 fieldId) const;
    bool contains(quint32 fieldId) const { return m_fields.count(fieldId) != 0; }
    void set(const FieldDescriptor &descriptor) { m_fields[descriptor.fieldId] = descriptor; }
    bool isEmpty() const { return m_fields.empty(); }
    int size() const { return int(m_fields.size()); }

    // Places a flag field in a meta item at the given bit; a field the map lacked is added
    // with category 0, so that it reads false.
    void setFlagPosition(quint32 fieldId, FieldLocation location, quint16 bit);

private:
    std::map<quint32, FieldDescriptor> m_fields;
};

} // namespace mppr
