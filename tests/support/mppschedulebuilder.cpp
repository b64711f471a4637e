#include "tests/support/mppschedulebuilder.h"

#include "tests/support/cfbwriter.h"
#include "tests/support/mppblockbuilder.h"

#include <algorithm>

using namespace MppBlockBuilder;

namespace {

constexpr quint32 TaskBase = 0x0B400000;
constexpr quint32 ResourceBase = 0x0C400000;
constexpr quint32 AssignmentBase = 0x0F400000;
constexpr quint16 Integer = 3;
constexpr quint16 Number = 101;
constexpr quint16 Date = 19;
constexpr quint16 Text = 8;
constexpr quint16 Flag = 100;

constexpr int TaskRecordSize = 84;
constexpr int Task2RecordSize = 8;
constexpr int WideTaskRecordSize = 206;
constexpr int WideTask2RecordSize = 64;
constexpr int WideTaskFieldMapEntries = 991;
constexpr int WideTaskMetaEntries = 174;
constexpr quint16 MetaData = 11;
// Field numbers of the custom fields the reader reads, as the file format numbers them.
constexpr quint32 NumberFields[10]
    = { 0x6A, 0x6B, 0x6C, 0x102, 0x103, 0x104, 0x105, 0x106, 0x107, 0x108 };
constexpr quint32 IntegerFields[10]
    = { 0x67, 0x68, 0x69, 0x113, 0x114, 0x115, 0x116, 0x117, 0x118, 0x119 };
constexpr quint32 DateFields[10]
    = { 0x34, 0x37, 0x3A, 0x3D, 0x40, 0x11A, 0x11C, 0x11E, 0x120, 0x122 };
constexpr quint32 MoreTextFields[29] = {
    0x36,  0x39,  0x3C,  0x3F,  0x42,  0x43,  0x44,  0x45,  0x46,  0x13D,
    0x13E, 0x13F, 0x140, 0x141, 0x142, 0x143, 0x144, 0x145, 0x146, 0x147,
    0x148, 0x149, 0x14A, 0x14B, 0x14C, 0x14D, 0x14E, 0x14F, 0x150,
};
// Field numbers no reader knows, standing for the many fields real maps list.
constexpr quint32 UnknownFieldStart = 0x1000;
constexpr int WideDatesInSecondBlock = 14; // ten dates and the first four of the next ten
constexpr int Assignment2RecordSize = 48;

// Assignment records are 110 bytes in "   114", 142 in the older layouts.
int assignmentRecordSize(const MppScheduleSpec &spec)
{
    return spec.layout == MppScheduleSpec::Mpp14 ? 110 : 142;
}

int versionOf(const QString &userType, int fallback)
{
    const QString prefix = QStringLiteral("Microsoft.Project ");
    if (!userType.startsWith(prefix))
        return fallback;
    int v = 0;
    for (int i = prefix.size(); i < userType.size() && userType.at(i).isDigit(); ++i)
        v = v * 10 + userType.at(i).digitValue();
    return v;
}

// Bit of the manual-scheduling flag (0x500) in the Fixed2Meta item.
int manualBit(const MppScheduleSpec &spec)
{
    const int fallback = spec.layout == MppScheduleSpec::Mpp14 ? 14 : 15;
    return versionOf(spec.userType, fallback) >= 15 ? 71 : 67;
}

QString directory(const MppScheduleSpec &spec)
{
    switch (spec.layout) {
    case MppScheduleSpec::Mpp14:
        return QStringLiteral("/   114");
    case MppScheduleSpec::Mpp12:
        return QStringLiteral("/   112");
    default:
        return QStringLiteral("/   19");
    }
}

FieldEntry fixed(quint32 id, quint16 offset, quint16 category, quint16 size)
{
    FieldEntry e;
    e.fieldId = id;
    e.offset = offset;
    e.category = category;
    e.size = size;
    return e;
}

FieldEntry variable(quint32 id, quint8 key)
{
    FieldEntry e;
    e.fieldId = id;
    e.category = Text;
    e.size = 512;
    e.varKey = key;
    return e;
}

FieldEntry flag(quint32 id)
{
    FieldEntry e;
    e.fieldId = id;
    e.category = Flag;
    e.size = 2;
    return e;
}

constexpr quint8 NameKey = 11;
constexpr quint8 Text1Key = 14;
constexpr quint8 ResourceNameKey = 1;
constexpr quint8 ResourceInitialsKey = 3;
constexpr quint8 AssignmentNoteKey = 7;
constexpr quint8 BaselineKey = 20; // "   19" keys 20 to 24: Baseline (0); 25: field 0x1E1
constexpr quint32 BaselineBlockField = 0x1E1;
constexpr quint32 PercentCompleteField = 0x20;

// Start, finish, duration, work and cost of one baseline: categories, sizes, field numbers.
constexpr quint16 BaselineCategories[5] = { Date, Date, Integer, Number, Number };
constexpr quint16 BaselineSizes[5] = { 4, 4, 4, 8, 8 };

QVector<quint32> baselineFields(int number)
{
    if (number == 0)
        return { 0x2B, 0x2C, 0x1B, 0x01, 0x06 };
    static const quint32 first[10]
        = { 0x1E2, 0x1ED, 0x1F8, 0x203, 0x20E, 0x220, 0x22B, 0x236, 0x241, 0x24C };
    const quint32 b = first[number - 1];
    return { b, b + 1, b + 5, b + 3, b + 2 };
}

QVector<QByteArray> baselineValues(const MppBaselineSpec &b)
{
    return { b.startBytes.isEmpty() ? dateBytes(b.start) : b.startBytes, dateBytes(b.finish),
             u32Bytes(quint32(b.duration)), f64Bytes(b.work), f64Bytes(b.cost) };
}

FieldEntry variableOf(quint32 id, quint16 category, quint16 size, quint8 key)
{
    FieldEntry e = variable(id, key);
    e.category = category;
    e.size = size;
    return e;
}

QVector<FieldEntry> baselineEntries(const MppScheduleSpec &spec)
{
    const bool mpp9 = spec.layout == MppScheduleSpec::Mpp9;
    QVector<FieldEntry> entries;
    for (int number = 0; number <= (mpp9 ? 0 : 10); ++number) {
        const QVector<quint32> fields = baselineFields(number);
        for (int q = 0; q < 5; ++q)
            entries += variableOf(TaskBase + fields.at(q), BaselineCategories[q], BaselineSizes[q],
                                  quint8(BaselineKey + q));
    }
    if (mpp9)
        entries += variableOf(TaskBase + BaselineBlockField, 29, 0, BaselineKey + 5);
    return entries;
}

// The "   19" block: total size, entry count, (field id, offset) entries, then the values.
QByteArray baselineBlock(const QVector<MppBaselineSpec> &baselines)
{
    QVector<QPair<quint32, QByteArray>> values;
    for (const MppBaselineSpec &b : baselines) {
        if (b.number == 0)
            continue;
        const QVector<quint32> fields = baselineFields(b.number);
        const QVector<QByteArray> bytes = baselineValues(b);
        for (int q = 0; q < 5; ++q)
            values.append({ TaskBase + fields.at(q), bytes.at(q) });
    }
    if (values.isEmpty())
        return QByteArray();
    QByteArray block(8 + 8 * values.size(), '\0');
    putU32(block, 4, quint32(values.size()));
    for (int k = 0; k < values.size(); ++k) {
        putU32(block, 8 + 8 * k, values.at(k).first);
        putU32(block, 12 + 8 * k, quint32(block.size()));
        block.append(values.at(k).second);
    }
    putU32(block, 0, quint32(block.size()));
    return block;
}

void addBaselineValues(const MppTaskSpec &t, bool byKey, QVector<MppBlockBuilder::VarValue> &vars)
{
    for (const MppBaselineSpec &b : t.baselines) {
        if (byKey && b.number != 0)
            continue;
        const QVector<quint32> fields = baselineFields(b.number);
        const QVector<QByteArray> bytes = baselineValues(b);
        for (int q = 0; q < 5; ++q)
            vars.append({ t.uniqueId, byKey ? quint32(BaselineKey + q) : TaskBase + fields.at(q),
                          bytes.at(q) });
    }
    const QByteArray block = byKey ? baselineBlock(t.baselines) : QByteArray();
    if (!block.isEmpty())
        vars.append({ t.uniqueId, quint32(BaselineKey + 5), block });
}

bool isWide(const MppScheduleSpec &spec)
{
    return spec.wideTaskRecords && spec.layout == MppScheduleSpec::Mpp14;
}

// The custom fields after the 84 bytes of the narrow first block: numbers, then integers.
QVector<FieldEntry> wideFirstBlockEntries()
{
    QVector<FieldEntry> entries;
    for (int k = 0; k < 10; ++k)
        entries += fixed(TaskBase + NumberFields[k], quint16(84 + 8 * k), Number, 8);
    for (int k = 0; k < 10; ++k)
        entries += fixed(TaskBase + IntegerFields[k], quint16(164 + 4 * k), Integer, 4);
    entries += fixed(TaskBase + UnknownFieldStart, 204, Integer, 2);
    return entries;
}

// Dates after start and finish in the second block, then the text fields and unknown fields
// up to the size of a real map.
QVector<FieldEntry> wideSecondBlockEntries(int entriesSoFar)
{
    QVector<FieldEntry> entries;
    for (int k = 0; k < WideDatesInSecondBlock; ++k) {
        const quint32 number = k < 10 ? DateFields[k] : DateFields[k - 10] + 1;
        entries += fixed(TaskBase + number, quint16(8 + 4 * k), Date, 4);
    }
    for (const quint32 number : MoreTextFields)
        entries += variable(TaskBase + number, 0);
    quint32 unknown = UnknownFieldStart + 1;
    for (int k = 0; k < WideTaskMetaEntries; ++k)
        entries += fixed(TaskBase + unknown++, quint16(k), MetaData, 1);
    while (entriesSoFar + entries.size() < WideTaskFieldMapEntries)
        entries += variable(TaskBase + unknown++, 0);
    return entries;
}

QByteArray taskFieldMap(const MppScheduleSpec &spec)
{
    QVector<FieldEntry> entries = {
        fixed(TaskBase + 0x56, 0, Integer, 4),  fixed(TaskBase + 0xA0, 4, Integer, 4),
        fixed(TaskBase + 0x23, 8, Date, 4),     fixed(TaskBase + 0x24, 12, Date, 4),
        fixed(TaskBase + 0x25, 16, Date, 4),    fixed(TaskBase + 0x26, 20, Date, 4),
        fixed(TaskBase + 0x27, 24, Date, 4),    fixed(TaskBase + 0x28, 28, Date, 4),
        fixed(TaskBase + 0x29, 32, Date, 4),    fixed(TaskBase + 0x2A, 36, Date, 4),
        fixed(TaskBase + 0x15, 40, Integer, 4), fixed(TaskBase + 0x1F, 44, Integer, 4),
    };
    if (!spec.omitSlackFields) {
        entries
            += { fixed(TaskBase + 0x1B6, 48, Integer, 4), fixed(TaskBase + 0x1B7, 52, Integer, 4),
                 fixed(TaskBase + 0x1D, 56, Integer, 4), fixed(TaskBase + 0x00, 60, Number, 8),
                 fixed(TaskBase + 0x02, 68, Number, 8) };
    }
    entries += fixed(TaskBase + 0x04, 76, Number, 8);
    if (isWide(spec))
        entries += wideFirstBlockEntries();
    if (spec.layout != MppScheduleSpec::Mpp9) {
        // Offsets starting again at 0 open the second fixed block.
        entries += { fixed(TaskBase + 0x503, 0, Date, 4), fixed(TaskBase + 0x504, 4, Date, 4),
                     flag(TaskBase + 0x500) };
    }
    entries += { variable(TaskBase + 0x0E, NameKey), variable(TaskBase + 0x33, Text1Key) };
    entries += baselineEntries(spec);
    const bool percent = std::any_of(spec.tasks.cbegin(), spec.tasks.cend(),
                                     [](const MppTaskSpec &t) { return t.percentComplete >= 0; });
    if (percent && spec.layout != MppScheduleSpec::Mpp9)
        entries += variableOf(TaskBase + PercentCompleteField, Integer, 4, 0);
    if (isWide(spec))
        entries += wideSecondBlockEntries(entries.size());
    return fieldMapItem(entries);
}

QByteArray taskRecord(const MppTaskSpec &t, bool wide)
{
    if (t.shortRecord) {
        QByteArray r(16, '\0');
        putU32(r, 0, quint32(t.uniqueId));
        putU32(r, 4, quint32(t.tf17));
        return r;
    }
    QByteArray r(wide ? WideTaskRecordSize : TaskRecordSize, '\0');
    const auto date = [&r](int offset, const QDateTime &d) { r.replace(offset, 4, dateBytes(d)); };
    putU32(r, 0, quint32(t.uniqueId));
    putU32(r, 4, quint32(t.parentUniqueId));
    date(8, t.scheduledStart);
    date(12, t.scheduledFinish);
    date(16, t.earlyStart);
    date(20, t.earlyFinish);
    date(24, t.lateStart);
    date(28, t.lateFinish);
    date(32, t.actualStart);
    date(36, t.actualFinish);
    putU32(r, 40, quint32(t.freeSlack));
    putU32(r, 44, quint32(t.remainingDuration));
    putU32(r, 48, quint32(t.startSlack));
    putU32(r, 52, quint32(t.finishSlack));
    putU32(r, 56, quint32(t.duration));
    putF64(r, 60, t.work);
    putF64(r, 68, t.actualWork);
    putF64(r, 76, t.remainingWork);
    if (wide) {
        for (int k = 0; k < 10; ++k) {
            putF64(r, 84 + 8 * k, t.numbers[k]);
            putU32(r, 164 + 4 * k, quint32(t.integers[k]));
        }
    }
    return r;
}

QByteArray task2Record(const MppTaskSpec &t, bool wide)
{
    QByteArray r = dateBytes(t.start) + dateBytes(t.finish);
    if (wide) {
        for (int k = 0; k < WideDatesInSecondBlock; ++k)
            r += dateBytes(k < 10 ? t.dates[k] : QDateTime());
    }
    return r;
}

// Lays records out at offsets named by meta items; optionally in the opposite order.
struct Placed
{
    QVector<qint32> offsets; // per record, in item order
    QByteArray data;
};

Placed place(const QVector<QByteArray> &records, bool reverse)
{
    Placed placed;
    placed.offsets.resize(records.size());
    for (int n = 0; n < records.size(); ++n) {
        const int i = reverse ? records.size() - 1 - n : n;
        placed.offsets[i] = placed.data.size();
        placed.data.append(records.at(i));
    }
    return placed;
}

void addTasks(const MppScheduleSpec &spec, const QString &dir, QMap<QString, QByteArray> &out)
{
    const bool twoBlocks = spec.layout != MppScheduleSpec::Mpp9;
    const int fixed2MetaSize = spec.taskFixed2MetaSize > 0 ? spec.taskFixed2MetaSize
        : spec.layout == MppScheduleSpec::Mpp14            ? 93
                                                           : 86;
    const bool wide = isWide(spec);
    QVector<QByteArray> records, records2;
    // Records 0 to 2 hold no tasks.
    for (int i = 0; i < 3; ++i) {
        records.append(QByteArray(wide ? WideTaskRecordSize : TaskRecordSize, '\0'));
        records2.append(QByteArray(wide ? WideTask2RecordSize : Task2RecordSize, '\0'));
    }
    QVector<MppBlockBuilder::VarValue> vars;
    const bool byKey = spec.layout == MppScheduleSpec::Mpp9;
    for (const MppTaskSpec &t : spec.tasks) {
        records.append(taskRecord(t, wide));
        records2.append(task2Record(t, wide));
        if (!t.name.isEmpty())
            vars.append({ t.uniqueId, byKey ? NameKey : TaskBase + 0x0E, textBytes(t.name) });
        if (!t.text1.isEmpty())
            vars.append({ t.uniqueId, byKey ? Text1Key : TaskBase + 0x33, textBytes(t.text1) });
        addBaselineValues(t, byKey, vars);
        if (!byKey && t.percentComplete >= 0)
            vars.append({ t.uniqueId, TaskBase + PercentCompleteField,
                          u32Bytes(quint32(t.percentComplete)) });
    }
    const Placed placed = place(records, spec.reverseRecordOrder);
    const Placed placed2 = place(records2, spec.reverseRecordOrder);
    QVector<QByteArray> meta, meta2;
    for (int i = 0; i < records.size(); ++i) {
        const MppTaskSpec *t = i >= 3 ? &spec.tasks.at(i - 3) : nullptr;
        meta.append(metaItem(47, t && t->blank ? 0x02 : 0x00, placed.offsets.at(i)));
        QVector<int> bits;
        if (t && t->manual)
            bits.append(manualBit(spec));
        meta2.append(metaItem(fixed2MetaSize, 0, placed2.offsets.at(i), bits));
    }
    out[dir + "/TBkndTask/FixedMeta"] = fixedMetaStream(meta, 47);
    out[dir + "/TBkndTask/FixedData"] = placed.data;
    if (twoBlocks) {
        out[dir + "/TBkndTask/Fixed2Meta"] = fixedMetaStream(meta2, fixed2MetaSize);
        out[dir + "/TBkndTask/Fixed2Data"] = placed2.data;
    }
    varStreams(vars, byKey, &out[dir + "/TBkndTask/VarMeta"], &out[dir + "/TBkndTask/Var2Data"]);
}

void addRelations(const MppScheduleSpec &spec, const QString &dir, QMap<QString, QByteArray> &out)
{
    if (!spec.withRelationsStorage)
        return;
    QVector<QByteArray> records;
    for (const MppRelationSpec &r : spec.relations) {
        QByteArray record(20, '\0');
        putU32(record, 0, r.id);
        putU32(record, 4, quint32(r.predecessor));
        putU32(record, 8, quint32(r.successor));
        putU16(record, 12, r.type);
        if (spec.relationLayoutB) {
            putU32(record, 14, quint32(r.lag));
            putU16(record, 18, r.lagUnits);
        } else {
            putU16(record, 14, r.lagUnits);
            putU32(record, 16, quint32(r.lag));
        }
        records.append(record);
    }
    const Placed placed = place(records, spec.reverseRecordOrder);
    QVector<QByteArray> meta;
    for (const qint32 offset : placed.offsets)
        meta.append(metaItem(10, 0, offset));
    out[dir + "/TBkndCons/FixedMeta"] = fixedMetaStream(meta, 10);
    out[dir + "/TBkndCons/FixedData"] = placed.data;
}

QByteArray resourceFieldMap()
{
    return fieldMapItem({ fixed(ResourceBase + 0x00, 0, Integer, 4),
                          variable(ResourceBase + 0x01, ResourceNameKey),
                          variable(ResourceBase + 0x02, ResourceInitialsKey) });
}

void addResources(const MppScheduleSpec &spec, const QString &dir, QMap<QString, QByteArray> &out)
{
    const bool byKey = spec.layout == MppScheduleSpec::Mpp9;
    QVector<QByteArray> records;
    QVector<MppBlockBuilder::VarValue> vars;
    for (const MppResourceSpec &r : spec.resources) {
        records.append(u32Bytes(quint32(r.uniqueId)) + QByteArray(4, '\0'));
        if (!r.name.isEmpty()) {
            vars.append(
                { r.uniqueId, byKey ? ResourceNameKey : ResourceBase + 0x01, textBytes(r.name) });
        }
        if (!r.shortName.isEmpty()) {
            vars.append({ r.uniqueId, byKey ? ResourceInitialsKey : ResourceBase + 0x02,
                          textBytes(r.shortName) });
        }
    }
    const Placed placed = place(records, false);
    // The "   19" layout has no second block; "   112" has Fixed2Meta items of 49 bytes.
    const int meta2Size = spec.layout == MppScheduleSpec::Mpp14 ? 50 : 49;
    QVector<QByteArray> meta, meta2;
    for (const qint32 offset : placed.offsets) {
        meta.append(metaItem(37, 0, offset));
        meta2.append(metaItem(meta2Size, 0, offset));
    }
    out[dir + "/TBkndRsc/FixedMeta"] = fixedMetaStream(meta, 37);
    out[dir + "/TBkndRsc/FixedData"] = placed.data;
    if (!byKey) {
        out[dir + "/TBkndRsc/Fixed2Meta"] = fixedMetaStream(meta2, meta2Size);
        out[dir + "/TBkndRsc/Fixed2Data"] = placed.data;
    }
    varStreams(vars, byKey, &out[dir + "/TBkndRsc/VarMeta"], &out[dir + "/TBkndRsc/Var2Data"]);
}

QByteArray assignmentFieldMap(const MppScheduleSpec &spec)
{
    QVector<FieldEntry> entries = {
        fixed(AssignmentBase + 0x00, 0, Integer, 4), fixed(AssignmentBase + 0x01, 4, Integer, 4),
        fixed(AssignmentBase + 0x02, 8, Integer, 4), fixed(AssignmentBase + 0x14, 12, Date, 4),
        fixed(AssignmentBase + 0x15, 16, Date, 4),   fixed(AssignmentBase + 0x0A, 20, Number, 8)
    };
    // The second block: the offset starts again ("   19" has none).
    if (spec.layout != MppScheduleSpec::Mpp9)
        entries += fixed(AssignmentBase + 0x0B, 0, Number, 8);
    return fieldMapItem(entries);
}

void addAssignments(const MppScheduleSpec &spec, const QString &dir, QMap<QString, QByteArray> &out)
{
    const int recordSize = assignmentRecordSize(spec);
    const bool byKey = spec.layout == MppScheduleSpec::Mpp9;
    QByteArray data, data2;
    QVector<QByteArray> meta;
    QVector<MppBlockBuilder::VarValue> vars;
    const int count = spec.assignments.size();
    for (int i = 0; i < count; ++i) {
        // Records are stored in reverse item order when asked, to exercise offset lookup.
        const int k = spec.reverseRecordOrder ? count - 1 - i : i;
        meta.append(metaItem(34, 0, k * recordSize));
    }
    for (int k = 0; k < count; ++k) {
        const int i = spec.reverseRecordOrder ? count - 1 - k : k;
        const MppAssignmentSpec &a = spec.assignments.at(i);
        QByteArray record(recordSize, '\0');
        putU32(record, 0, quint32(a.uniqueId));
        putU32(record, 4, quint32(a.taskUniqueId));
        putU32(record, 8, quint32(a.resourceUniqueId));
        record.replace(12, 4, dateBytes(a.start));
        record.replace(16, 4, dateBytes(a.finish));
        putF64(record, 20, a.workHours * 60000.0);
        data.append(record);
        QByteArray record2(Assignment2RecordSize, '\0');
        putF64(record2, 0, a.actualWorkHours * 60000.0);
        data2.append(record2);
    }
    for (const MppAssignmentSpec &a : spec.assignments) {
        vars.append({ a.uniqueId, byKey ? AssignmentNoteKey : AssignmentBase + 0x44,
                      textBytes(QStringLiteral("n")) });
    }
    out[dir + "/TBkndAssn/FixedMeta"] = fixedMetaStream(meta, 34);
    out[dir + "/TBkndAssn/FixedData"] = data;
    if (!byKey)
        out[dir + "/TBkndAssn/Fixed2Data"] = data2;
    varStreams(vars, byKey, &out[dir + "/TBkndAssn/VarMeta"], &out[dir + "/TBkndAssn/Var2Data"]);
}

// The calendar's data: seven day blocks of 60 bytes marked "default day", the exception
// count, then per day off a 92-byte record (first and last day after 1983-12-31, a day block
// without working ranges, type 1 "range", the name's byte length) and the name, padded to 4.
QByteArray calendarData(const QVector<QPair<QDate, QString>> &holidays)
{
    const QDate dayZero(1983, 12, 31);
    QByteArray data;
    for (int d = 0; d < 7; ++d) {
        QByteArray day(60, '\0');
        putU16(day, 0, 1);
        data += day;
    }
    data += u32Bytes(quint32(holidays.size()));
    for (const auto &holiday : holidays) {
        QByteArray record(92, '\0');
        const quint16 day = quint16(dayZero.daysTo(holiday.first));
        putU16(record, 0, day);
        putU16(record, 2, day);
        putU32(record, 4, 1);
        putU32(record, 72, 1);
        const QByteArray name = textBytes(holiday.second);
        putU32(record, 88, quint32(name.size()));
        data += record + name;
        data += QByteArray((4 - data.size() % 4) % 4, '\0');
    }
    return data;
}

// One base calendar, unique ID 1, in records of 12 bytes (unique ID, base -1, resource -1)
// that the reader finds without a field map; name and data in variable data.
void addCalendar(const MppScheduleSpec &spec, const QString &dir, QMap<QString, QByteArray> &out)
{
    if (spec.calendarName.isEmpty() || spec.layout == MppScheduleSpec::Mpp9)
        return;
    constexpr quint32 CalendarBase = 0x0D400000;
    QByteArray record = u32Bytes(1) + u32Bytes(quint32(-1)) + u32Bytes(quint32(-1));
    out[dir + "/TBkndCal/FixedMeta"] = fixedMetaStream({ metaItem(10, 0, 0) }, 10);
    out[dir + "/TBkndCal/FixedData"] = record;
    const QVector<MppBlockBuilder::VarValue> vars {
        { 1, CalendarBase + 0x01, textBytes(spec.calendarName) },
        { 1, CalendarBase + 0x08, calendarData(spec.holidays) },
    };
    varStreams(vars, false, &out[dir + "/TBkndCal/VarMeta"], &out[dir + "/TBkndCal/Var2Data"]);
}

// Project properties under the keys 0x2400000 + number.
void addProperties(const MppScheduleSpec &spec, QMap<quint32, QByteArray> &props)
{
    if (spec.statusDate.isValid())
        props.insert(0x2400000, dateBytes(spec.statusDate));
    if (!spec.title.isEmpty())
        props.insert(0x2400008, textBytes(spec.title));
    if (!spec.calendarName.isEmpty())
        props.insert(0x240000E, textBytes(spec.calendarName));
}

} // namespace

QMap<QString, QByteArray> buildMppStreams(const MppScheduleSpec &spec)
{
    QMap<QString, QByteArray> out;
    const QString dir = directory(spec);
    out[QStringLiteral("/\x01"
                       "CompObj")]
        = compObjStream(spec.userType, QStringLiteral("MSProject.MPP14"),
                        QStringLiteral("MSProject.Project.9"));
    QMap<quint32, QByteArray> props;
    props.insert(0x20014, taskFieldMap(spec));
    props.insert(0x20015, resourceFieldMap());
    props.insert(0x20017, assignmentFieldMap(spec));
    addProperties(spec, props);
    out[dir + "/Props"] = propsStream(props);
    addTasks(spec, dir, out);
    addCalendar(spec, dir, out);
    addRelations(spec, dir, out);
    addResources(spec, dir, out);
    addAssignments(spec, dir, out);
    return out;
}

QByteArray buildMppFile(const MppScheduleSpec &spec)
{
    CfbWriter writer;
    const QMap<QString, QByteArray> streams = buildMppStreams(spec);
    for (auto it = streams.cbegin(); it != streams.cend(); ++it)
        writer.addStream(it.key(), it.value());
    return writer.build();
}
