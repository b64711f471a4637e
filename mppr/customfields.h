#pragma once

// The custom fields of tasks and resources (Text1 to Text30, Number1 to Number20, ...), the field
// ids they are stored under, and the values read for one record.

#include "mppr/bytes.h"
#include "mppr/fieldmap.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>

namespace mppr {

class FieldReader;
struct Task;

enum class CustomFieldKind : quint8 {
    Text,
    Start,
    Finish,
    Date,
    Number,
    Flag,
    Cost,
    Duration,
    OutlineCode,
};

enum class CustomFieldEntity : quint8 { Task, Resource };

// Every custom field has an index from 0 to CustomFieldCount - 1, ordered by kind and number.
constexpr int CustomFieldCount = 130;

CustomFieldKind customFieldKind(int index);
int customFieldNumber(int index); // 1-based within its kind
int customFieldIndex(CustomFieldKind kind, int number); // -1 when out of range
// "Text1", "OutlineCode10".
QString customFieldName(int index);
// Full field id (class base included); 0 where it is not known for the entity.
quint32 customFieldId(CustomFieldEntity entity, int index);

// A stored value: QString (text, outline code), QDateTime (start, finish, date), double
// (number, cost in currency units, duration in minutes) or bool (flag).
struct CustomFieldValue
{
    qint16 field = 0; // index
    QVariant value;
};
using CustomFieldValues = QVector<CustomFieldValue>; // ascending by field, only set values

// Reads the custom fields of one record through the entity's field map. Task flags are bits
// of the record's FixedMeta item; an outline code is read as the unique ID (int) of its value,
// which the caller turns into the value's text once the code tables are read.
class CustomFieldReader
{
public:
    // flagBits: the FixedMeta bit of Flag1 to Flag20, empty where flags are not read.
    CustomFieldReader(const FieldMap &map, CustomFieldEntity entity, const QVector<int> &flagBits);

    // decoded: the task as its record reader filled it, whose texts, start and finish dates,
    // costs and durations are then taken instead of decoded again; null for resources.
    CustomFieldValues read(const FieldReader &reader, int record, qint32 uniqueId,
                           ByteView metaItem, const Task *decoded = nullptr) const;

private:
    struct Entry
    {
        int index;
        CustomFieldKind kind;
        int number; // 1-based within its kind
        int flagBit; // FixedMeta bit of a flag, -1 for other kinds
        FieldDescriptor descriptor;
    };
    QVector<Entry> m_entries;
    QVector<int> m_flagBits;
};

// The outline code value unique ID stored for an OutlineCodeN field, or -1.
qint32 outlineCodeValueId(const QByteArray &stored);
qint32 outlineCodeValueId(ByteView stored);

} // namespace mppr
