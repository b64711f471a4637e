#include "mppr/customfieldaliases.h"

#include "mppr/bytes.h"
#include "mppr/propsblock.h"

#include <algorithm>

namespace mppr {

namespace {

constexpr quint32 TaskAliasKey = 0x100001;
constexpr quint32 ResourceAliasKey = 0x100002;
constexpr int TaskHeaderSize = 236;
constexpr int ResourceHeaderSize = 104;
constexpr int MaxAliasLength = 255;

// `count` fields of one kind numbered from firstNumber, in slots firstSlot, firstSlot + step...
struct SlotRun
{
    int firstSlot;
    int step;
    int count;
    CustomFieldKind kind;
    int firstNumber;
};

using K = CustomFieldKind;

const SlotRun TaskSlots[] = {
    { 0, 1, 10, K::Text, 1 },    { 10, 2, 10, K::Start, 1 },    { 11, 2, 10, K::Finish, 1 },
    { 31, 1, 10, K::Number, 1 }, { 41, 2, 10, K::Duration, 1 }, { 66, 1, 10, K::Date, 1 },
    { 76, 1, 20, K::Text, 11 },  { 96, 1, 10, K::Number, 11 },  { 109, 1, 10, K::OutlineCode, 1 },
    { 119, 1, 20, K::Flag, 1 },  { 160, 1, 10, K::Cost, 1 },
};

const SlotRun ResourceSlots[] = {
    { 0, 1, 30, K::Text, 1 },          { 30, 1, 10, K::Start, 1 },    { 40, 1, 10, K::Finish, 1 },
    { 50, 1, 20, K::Number, 1 },       { 70, 1, 10, K::Duration, 1 }, { 93, 1, 10, K::Date, 1 },
    { 103, 1, 10, K::OutlineCode, 1 }, { 113, 1, 1, K::Flag, 10 },    { 114, 1, 9, K::Flag, 1 },
    { 123, 1, 10, K::Flag, 11 },       { 155, 1, 10, K::Cost, 1 },
};

// The field of a slot, or -1.
template<size_t N> int fieldOfSlot(const SlotRun (&runs)[N], int slot)
{
    for (const SlotRun &run : runs) {
        const int offset = slot - run.firstSlot;
        if (offset >= 0 && offset % run.step == 0 && offset / run.step < run.count)
            return customFieldIndex(run.kind, run.firstNumber + offset / run.step);
    }
    return -1;
}

bool isPrintable(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint(); });
}

} // namespace

QVector<CustomFieldDefinition> customFieldAliasesFromItem(const QByteArray &item,
                                                          CustomFieldEntity entity)
{
    const bool task = entity == CustomFieldEntity::Task;
    const ByteView bytes(item);
    QVector<CustomFieldDefinition> out;
    int pos = task ? TaskHeaderSize : ResourceHeaderSize;
    for (int slot = 0; bytes.fits(pos, 2); ++slot) {
        QString text;
        while (bytes.fits(pos, 2) && bytes.u16(pos) != 0) {
            text.append(QChar(bytes.u16(pos)));
            pos += 2;
        }
        pos += 2;
        const int field = task ? fieldOfSlot(TaskSlots, slot) : fieldOfSlot(ResourceSlots, slot);
        if (field >= 0 && !text.isEmpty() && text.size() <= MaxAliasLength && isPrintable(text))
            out.append({ entity, field, text });
    }
    std::sort(out.begin(), out.end(),
              [](const CustomFieldDefinition &a, const CustomFieldDefinition &b) {
                  return a.field < b.field;
              });
    return out;
}

QVector<CustomFieldDefinition> readCustomFieldAliases9(const PropsBlock &props)
{
    return customFieldAliasesFromItem(props.item(TaskAliasKey), CustomFieldEntity::Task)
        + customFieldAliasesFromItem(props.item(ResourceAliasKey), CustomFieldEntity::Resource);
}

} // namespace mppr
