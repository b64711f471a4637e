#include "mppr/customfields.h"

#include "mppr/fieldreader.h"
#include "mppr/project.h"

#include <QVarLengthArray>

#include <iterator>

namespace mppr {

namespace {

struct KindInfo
{
    CustomFieldKind kind;
    const char *name;
    int count;
    // Field numbers (without the class base) of the tasks and the resources.
    const quint16 *taskFields;
    const quint16 *resourceFields;
};

// Task numbers as the exports name them; resource numbers as the "   19" layout files them
// beside the aliases (texts confirmed by the exports).
constexpr quint16 TaskText[30] = {
    0x33,  0x36,  0x39,  0x3C,  0x3F,  0x42,  0x43,  0x44,  0x45,  0x46,
    0x13D, 0x13E, 0x13F, 0x140, 0x141, 0x142, 0x143, 0x144, 0x145, 0x146,
    0x147, 0x148, 0x149, 0x14A, 0x14B, 0x14C, 0x14D, 0x14E, 0x14F, 0x150,
};
constexpr quint16 TaskStart[10]
    = { 0x34, 0x37, 0x3A, 0x3D, 0x40, 0x11A, 0x11C, 0x11E, 0x120, 0x122 };
constexpr quint16 TaskFinish[10]
    = { 0x35, 0x38, 0x3B, 0x3E, 0x41, 0x11B, 0x11D, 0x11F, 0x121, 0x123 };
constexpr quint16 TaskDate[10]
    = { 0x109, 0x10A, 0x10B, 0x10C, 0x10D, 0x10E, 0x10F, 0x110, 0x111, 0x112 };
constexpr quint16 TaskNumber[20] = {
    0x57,  0x58,  0x59,  0x5A,  0x5B,  0x12E, 0x12F, 0x130, 0x131, 0x132,
    0x133, 0x134, 0x135, 0x136, 0x137, 0x138, 0x139, 0x13A, 0x13B, 0x13C,
};
constexpr quint16 TaskFlag[20] = {
    0x48,  0x49,  0x4A,  0x4B,  0x4C,  0x4D,  0x4E,  0x4F,  0x50,  0x51,
    0x124, 0x125, 0x126, 0x127, 0x128, 0x129, 0x12A, 0x12B, 0x12C, 0x12D,
};
constexpr quint16 TaskCost[10]
    = { 0x6A, 0x6B, 0x6C, 0x102, 0x103, 0x104, 0x105, 0x106, 0x107, 0x108 };
constexpr quint16 TaskDuration[10]
    = { 0x67, 0x68, 0x69, 0x113, 0x114, 0x115, 0x116, 0x117, 0x118, 0x119 };
constexpr quint16 TaskOutlineCode[10]
    = { 0x1A1, 0x1A3, 0x1A5, 0x1A7, 0x1A9, 0x1AB, 0x1AD, 0x1AF, 0x1B1, 0x1B3 };

constexpr quint16 ResourceText[30] = {
    0x08, 0x09, 0x1E, 0x1F, 0x20, 0x61, 0x62, 0x63, 0x64, 0x65, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5,
    0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4,
};
constexpr quint16 ResourceStart[10]
    = { 0x66, 0x67, 0x68, 0x69, 0x6A, 0xDC, 0xDD, 0xDE, 0xDF, 0xE0 };
constexpr quint16 ResourceFinish[10]
    = { 0x6B, 0x6C, 0x6D, 0x6E, 0x6F, 0xBE, 0xBF, 0xC0, 0xC1, 0xC2 };
constexpr quint16 ResourceDate[10] = { 0xAD, 0xAE, 0xAF, 0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6 };
constexpr quint16 ResourceNumber[20] = {
    0x70, 0x71, 0x72, 0x73, 0x74, 0xCD, 0xCE, 0xCF, 0xD0, 0xD1,
    0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xDB,
};
// Flag10 is the lowest of the group, as the aliases' order of slots shows.
constexpr quint16 ResourceFlag[20] = {
    0x13E, 0x13F, 0x140, 0x141, 0x142, 0x143, 0x144, 0x145, 0x146, 0x13D,
    0x147, 0x148, 0x149, 0x14A, 0x14B, 0x14C, 0x14D, 0x14E, 0x14F, 0x150,
};
constexpr quint16 ResourceCost[10] = { 0x7B, 0x7C, 0x7D, 0xA6, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC };
constexpr quint16 ResourceDuration[10]
    = { 0x75, 0x76, 0x77, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD };
// Resource outline codes (0x117, 0x119 ... 0x129) refer to tables of their own, not read yet.
constexpr quint16 ResourceOutlineCode[10] = {};

constexpr KindInfo Kinds[] = {
    { CustomFieldKind::Text, "Text", 30, TaskText, ResourceText },
    { CustomFieldKind::Start, "Start", 10, TaskStart, ResourceStart },
    { CustomFieldKind::Finish, "Finish", 10, TaskFinish, ResourceFinish },
    { CustomFieldKind::Date, "Date", 10, TaskDate, ResourceDate },
    { CustomFieldKind::Number, "Number", 20, TaskNumber, ResourceNumber },
    { CustomFieldKind::Flag, "Flag", 20, TaskFlag, ResourceFlag },
    { CustomFieldKind::Cost, "Cost", 10, TaskCost, ResourceCost },
    { CustomFieldKind::Duration, "Duration", 10, TaskDuration, ResourceDuration },
    { CustomFieldKind::OutlineCode, "OutlineCode", 10, TaskOutlineCode, ResourceOutlineCode },
};

// The kind an index falls in, and the index of its first field.
const KindInfo *kindOf(int index, int *first)
{
    int start = 0;
    for (const KindInfo &k : Kinds) {
        if (index >= start && index < start + k.count) {
            *first = start;
            return &k;
        }
        start += k.count;
    }
    return nullptr;
}

// The start and finish dates of a task that has none.
const SharedArray<QDateTime, 10, &epoch> UnsetDates;

constexpr int TenthsPerMinute = 10; // durations are stored in tenths of a minute
constexpr double CentsPerUnit = 100.0; // costs in hundredths of the currency unit

} // namespace

CustomFieldKind customFieldKind(int index)
{
    int first = 0;
    const KindInfo *k = kindOf(index, &first);
    return k ? k->kind : CustomFieldKind::Text;
}

int customFieldNumber(int index)
{
    int first = 0;
    return kindOf(index, &first) ? index - first + 1 : 0;
}

int customFieldIndex(CustomFieldKind kind, int number)
{
    int start = 0;
    for (const KindInfo &k : Kinds) {
        if (k.kind == kind)
            return number >= 1 && number <= k.count ? start + number - 1 : -1;
        start += k.count;
    }
    return -1;
}

QString customFieldName(int index)
{
    int first = 0;
    const KindInfo *k = kindOf(index, &first);
    return k ? QLatin1String(k->name) + QString::number(index - first + 1) : QString();
}

quint32 customFieldId(CustomFieldEntity entity, int index)
{
    int first = 0;
    const KindInfo *k = kindOf(index, &first);
    if (!k)
        return 0;
    const bool task = entity == CustomFieldEntity::Task;
    const quint16 number = (task ? k->taskFields : k->resourceFields)[index - first];
    if (number == 0)
        return 0;
    return (task ? TaskFieldBase : ResourceFieldBase) + number;
}

qint32 outlineCodeValueId(const QByteArray &stored)
{
    return outlineCodeValueId(ByteView(stored));
}

qint32 outlineCodeValueId(ByteView bytes)
{
    // Two bytes of kind, the value's unique ID, then the value's GUID; older saves may keep
    // the bare unique ID.
    if (bytes.size() >= 6)
        return bytes.i32(2);
    if (bytes.size() == 4)
        return bytes.i32(0);
    return -1;
}

CustomFieldReader::CustomFieldReader(const FieldMap &map, CustomFieldEntity entity,
                                     const QVector<int> &flagBits)
    : m_flagBits(flagBits)
{
    for (int index = 0; index < CustomFieldCount; ++index) {
        const quint32 id = customFieldId(entity, index);
        const CustomFieldKind kind = customFieldKind(index);
        if (kind == CustomFieldKind::Flag) {
            if (id != 0 && customFieldNumber(index) <= m_flagBits.size() && map.contains(id))
                m_entries.append({ index, kind, customFieldNumber(index),
                                   m_flagBits.value(customFieldNumber(index) - 1, -1),
                                   FieldDescriptor() });
            continue;
        }
        const FieldDescriptor d = id ? map.descriptor(id) : FieldDescriptor();
        if (!d.isAbsent())
            m_entries.append({ index, kind, customFieldNumber(index), -1, d });
    }
}

CustomFieldValues CustomFieldReader::read(const FieldReader &reader, int record, qint32 uniqueId,
                                          ByteView meta, const Task *decoded) const
{
    // The task members decoded from the same fields, where the kind has them.
    const auto member = [](const Entry &e, const auto &members) {
        return e.number >= 1 && size_t(e.number) <= members.size() ? &members[size_t(e.number - 1)]
                                                                   : nullptr;
    };
    // Gathered on the stack, so that the record's list is allocated once at its final size;
    // a value is made only for a field that holds one.
    QVarLengthArray<CustomFieldValue, CustomFieldCount> values;
    const auto add = [&values](const Entry &e, QVariant value) {
        values.append({ qint16(e.index), std::move(value) });
    };
    for (const Entry &e : m_entries) {
        switch (e.kind) {
        case CustomFieldKind::Text: {
            const QString *known = decoded ? member(e, decoded->texts) : nullptr;
            const QString text = known ? *known : reader.text(e.descriptor, uniqueId);
            if (!text.isEmpty())
                add(e, text);
            break;
        }
        case CustomFieldKind::Start:
        case CustomFieldKind::Finish: {
            const bool start = e.kind == CustomFieldKind::Start;
            const auto *dates = decoded ? (start ? &decoded->datesA : &decoded->datesB) : nullptr;
            // Most tasks hold none of these dates: their array is still the shared unset one.
            if (dates && dates->sharesWith(UnsetDates))
                break;
            const QDateTime *known = dates ? member(e, *dates) : nullptr;
            if (known) {
                if (!isUnset(*known))
                    add(e, *known);
                break;
            }
            const ByteView stored = reader.value(e.descriptor, record, uniqueId);
            if (holdsDate(stored))
                add(e, decodeDate(stored));
            break;
        }
        case CustomFieldKind::Date: {
            const ByteView stored = reader.value(e.descriptor, record, uniqueId);
            if (holdsDate(stored))
                add(e, decodeDate(stored));
            break;
        }
        case CustomFieldKind::Number: {
            const double number = reader.number(e.descriptor, record, uniqueId);
            if (number != 0)
                add(e, number);
            break;
        }
        case CustomFieldKind::Cost: {
            const double *known = decoded ? member(e, decoded->numbers) : nullptr;
            const double cost = known ? *known : reader.number(e.descriptor, record, uniqueId);
            if (cost != 0)
                add(e, cost / CentsPerUnit);
            break;
        }
        case CustomFieldKind::Duration: {
            const qint32 *known = decoded ? member(e, decoded->integers) : nullptr;
            const qint32 tenths = known ? *known : reader.integer(e.descriptor, record, uniqueId);
            if (tenths != 0)
                add(e, double(tenths) / TenthsPerMinute);
            break;
        }
        case CustomFieldKind::Flag: {
            const int bit = e.flagBit;
            if (bit >= 0 && meta.fits(bit / 8, 1) && (meta.u8(bit / 8) >> (bit % 8)) & 1)
                add(e, true);
            break;
        }
        case CustomFieldKind::OutlineCode: {
            const qint32 id = outlineCodeValueId(reader.value(e.descriptor, record, uniqueId));
            if (id > 0)
                add(e, int(id));
            break;
        }
        }
    }
    if (values.isEmpty())
        return CustomFieldValues();
    return CustomFieldValues(std::make_move_iterator(values.begin()),
                             std::make_move_iterator(values.end()));
}

} // namespace mppr
