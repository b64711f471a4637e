#include "mppr/taskdecoder.h"

#include "mppr/baselinefields.h"
#include "mppr/fieldreader.h"
#include "mppr/project.h"
#include "mppr/recordstreams.h"
#include "mppr/rtftext.h"

#include <cmath>
#include <initializer_list>
#include <memory>

namespace mppr {

namespace {

constexpr int ShortRecordSize = 16;
constexpr quint32 TaskNotesField = TaskFieldBase + 0x0F;

// The descriptor of the first candidate task field (highest number first) that the map has.
FieldDescriptor taskField(const FieldMap &map, std::initializer_list<quint32> numbers)
{
    for (const quint32 number : numbers) {
        const FieldDescriptor d = map.descriptor(TaskFieldBase + number);
        if (!d.isAbsent())
            return d;
    }
    return FieldDescriptor();
}

template<size_t N>
std::array<FieldDescriptor, N> taskFields(const FieldMap &map, const quint32 (&numbers)[N])
{
    std::array<FieldDescriptor, N> fields;
    for (size_t i = 0; i < N; ++i)
        fields[i] = map.descriptor(TaskFieldBase + numbers[i]);
    return fields;
}

// The first N task custom fields of one kind, by the numbers the custom field table files them
// under.
template<size_t N>
std::array<FieldDescriptor, N> customTaskFields(const FieldMap &map, CustomFieldKind kind)
{
    std::array<FieldDescriptor, N> fields;
    for (size_t i = 0; i < N; ++i)
        fields[i] = map.descriptor(
            customFieldId(CustomFieldEntity::Task, customFieldIndex(kind, int(i) + 1)));
    return fields;
}

// Element 0 of the last four groups is never stored.
constexpr quint32 DateCFields[10]
    = { 0x516, 0x519, 0x51C, 0x51F, 0x522, 0x525, 0x528, 0x52B, 0x52E, 0x531 };
constexpr quint32 DateDFields[10]
    = { 0x517, 0x51A, 0x51D, 0x520, 0x523, 0x526, 0x529, 0x52C, 0x52F, 0x532 };
constexpr quint32 IntegerBFields[10]
    = { 0x518, 0x51B, 0x51E, 0x521, 0x524, 0x527, 0x52A, 0x52D, 0x530, 0x533 };
constexpr quint32 NumberBFields[10]
    = { 0x1E4, 0x1EF, 0x1FA, 0x205, 0x210, 0x222, 0x22D, 0x238, 0x243, 0x24E };

} // namespace

// Every task member's descriptor, resolved once per read.
struct TaskFields
{
    explicit TaskFields(const FieldMap &map)
        : uniqueId(taskField(map, { 0x56 }))
        , tf17(taskField(map, { 0x17 }))
        , name(taskField(map, { 0x0E }))
        , tf15(taskField(map, { 0x15 }))
        , tf16(taskField(map, { 0x16 }))
        , start(taskField(map, { 0x503 }))
        , finish(taskField(map, { 0x504 }))
        , actualStart(taskField(map, { 0x29 }))
        , actualFinish(taskField(map, { 0x2A }))
        , earlyStart(taskField(map, { 0x25 }))
        , earlyFinish(taskField(map, { 0x26 }))
        , lateStart(taskField(map, { 0x27 }))
        , lateFinish(taskField(map, { 0x28 }))
        , scheduledStart(taskField(map, { 0x53A, 0x23 }))
        , scheduledFinish(taskField(map, { 0x53B, 0x24 }))
        , percentComplete(taskField(map, { 0x20 }))
        , tf21(taskField(map, { 0x21 }))
        , autoScheduled(taskField(map, { 0x500 }))
        , tf18(taskField(map, { 0x18 }))
        , tf52(taskField(map, { 0x52 }))
        , parentUniqueId(taskField(map, { 0xA0 }))
        , tf11(taskField(map, { 0x11 }))
        , constraintDate(taskField(map, { 0x12 }))
        , code(taskField(map, { 0x10 }))
        , tf1c(taskField(map, { 0x1C }))
        , tf33(taskField(map, { 0x33 }))
        , tf05(taskField(map, { 0x05 }))
        , texts(customTaskFields<30>(map, CustomFieldKind::Text))
        , datesA(customTaskFields<10>(map, CustomFieldKind::Start))
        , datesB(customTaskFields<10>(map, CustomFieldKind::Finish))
        , numbers(customTaskFields<10>(map, CustomFieldKind::Cost))
        , integers(customTaskFields<10>(map, CustomFieldKind::Duration))
        , tf513(taskField(map, { 0x513 }))
        , tf2b(taskField(map, { 0x2B }))
        , tf514(taskField(map, { 0x514 }))
        , tf2c(taskField(map, { 0x2C }))
        , tf515(taskField(map, { 0x515 }))
        , tf06(taskField(map, { 0x06 }))
        , datesC(taskFields(map, DateCFields))
        , datesD(taskFields(map, DateDFields))
        , integersB(taskFields(map, IntegerBFields))
        , numbersB(taskFields(map, NumberBFields))
        , tf0a(taskField(map, { 0x0A }))
        , tf1f(taskField(map, { 0x1F }))
        , tf04(taskField(map, { 0x04 }))
        , calendar(taskField(map, { 0x191 }))
        , startSlack(taskField(map, { 0x1B6 }))
        , finishSlack(taskField(map, { 0x1B7 }))
        , duration(taskField(map, { 0x1D }))
        , work(taskField(map, { 0x00 }))
        , actualWork(taskField(map, { 0x02 }))
        , baselines(map)
    {
        // A text field the map has reads as an empty (not null) text where a task holds none.
        for (size_t k = 0; k < texts.size(); ++k) {
            if (texts[k].location == FieldLocation::VarData)
                blankTexts[k] = QStringLiteral("");
        }
    }

    FieldDescriptor uniqueId, tf17, name, tf15, tf16, start, finish, actualStart, actualFinish,
        earlyStart, earlyFinish, lateStart, lateFinish, scheduledStart, scheduledFinish,
        percentComplete, tf21, autoScheduled, tf18, tf52, parentUniqueId, tf11, constraintDate,
        code, tf1c, tf33, tf05;
    std::array<FieldDescriptor, 30> texts;
    std::array<FieldDescriptor, 10> datesA, datesB, numbers, integers;
    FieldDescriptor tf513, tf2b, tf514, tf2c, tf515, tf06;
    std::array<FieldDescriptor, 10> datesC, datesD, integersB, numbersB;
    FieldDescriptor tf0a, tf1f, tf04, calendar, startSlack, finishSlack, duration, work, actualWork;
    BaselineFields baselines;
    // The texts of a task whose text fields hold nothing.
    SharedArray<QString, 30> blankTexts;
};

namespace {

// Reads the members of one full task record.
class TaskRecordReader
{
public:
    TaskRecordReader(const FieldReader &reader, const TaskFields &fields, DateCache &dates,
                     int record, qint32 uniqueId, bool readsPercentComplete)
        : r(reader)
        , f(fields)
        , dates(dates)
        , i(record)
        , u(uniqueId)
        , percent(readsPercentComplete)
    {
    }

    void readInto(Task &t) const
    {
        integer(f.tf17, t.tf17);
        t.name = r.text(f.name, u);
        integer(f.tf15, t.tf15);
        integer(f.tf16, t.tf16);
        date(f.start, t.start);
        date(f.finish, t.finish);
        date(f.actualStart, t.actualStart);
        date(f.actualFinish, t.actualFinish);
        date(f.earlyStart, t.earlyStart);
        date(f.earlyFinish, t.earlyFinish);
        date(f.lateStart, t.lateStart);
        date(f.lateFinish, t.lateFinish);
        date(f.scheduledStart, t.scheduledStart);
        date(f.scheduledFinish, t.scheduledFinish);
        if (percent) {
            integerAsNumber(f.percentComplete, t.percentComplete);
            integerAsNumber(f.tf21, t.tf21);
        }
        if (!f.autoScheduled.isAbsent())
            t.autoScheduled = r.flag(f.autoScheduled, i) ? 0 : 1;
        if (!f.tf18.isAbsent())
            t.tf18 = r.flag(f.tf18, i);
        if (!f.tf52.isAbsent())
            t.tf52 = r.flag(f.tf52, i);
        integer(f.parentUniqueId, t.parentUniqueId);
        integer(f.tf11, t.tf11);
        date(f.constraintDate, t.constraintDate);
        t.code = r.text(f.code, u);
        integer(f.tf1c, t.tf1c);
        if (!f.tf1c.isAbsent())
            integer(f.tf33, t.tf33);
        number(f.tf05, t.tf05);
        t.texts = f.blankTexts;
        for (size_t k = 0; k < t.texts.size(); ++k) {
            if (f.texts[k].location != FieldLocation::VarData)
                continue;
            QString text = decodeText(r.value(f.texts[k], i, u));
            if (!text.isEmpty())
                t.texts[k] = std::move(text);
        }
        for (size_t k = 0; k < 10; ++k) {
            setDate(f.datesA[k], t.datesA, k);
            setDate(f.datesB[k], t.datesB, k);
            setNumber(f.numbers[k], t.numbers, k);
            setInteger(f.integers[k], t.integers, k);
        }
        date(f.tf513, t.tf513);
        if (isUnset(t.tf513))
            date(f.tf2b, t.tf513);
        date(f.tf514, t.tf514);
        if (isUnset(t.tf514))
            date(f.tf2c, t.tf514);
        integer(f.tf515, t.tf515);
        number(f.tf06, t.tf06);
        for (size_t k = 1; k < 10; ++k) {
            setDate(f.datesC[k], t.datesC, k);
            setDate(f.datesD[k], t.datesD, k);
            setInteger(f.integersB[k], t.integersB, k);
            if (!f.numbersB[k].isAbsent()) {
                const qint32 whole = truncateToInt32(r.number(f.numbersB[k], i, u));
                if (whole != 0)
                    t.numbersB[k] = whole;
            }
        }
        number(f.tf0a, t.tf0a);
        integer(f.tf1f, t.tf1f);
        number(f.tf04, t.tf04);
        // -1 where the task follows the project calendar.
        optionalInteger(f.calendar, t.calendarUniqueId);
        if (t.calendarUniqueId && *t.calendarUniqueId < 0)
            t.calendarUniqueId.reset();
        optionalInteger(f.startSlack, t.startSlack);
        optionalInteger(f.finishSlack, t.finishSlack);
        optionalInteger(f.duration, t.duration);
        optionalNumber(f.work, t.work);
        optionalNumber(f.actualWork, t.actualWork);
        t.baselines = f.baselines.read(r, i, u);
    }

private:
    // Members are written only for fields the map has.
    void integer(const FieldDescriptor &d, qint32 &member) const
    {
        if (!d.isAbsent())
            member = r.integer(d, i, u);
    }
    void integerAsNumber(const FieldDescriptor &d, double &member) const
    {
        if (!d.isAbsent())
            member = r.integer(d, i, u);
    }
    void number(const FieldDescriptor &d, double &member) const
    {
        if (!d.isAbsent())
            member = r.number(d, i, u);
    }
    void date(const FieldDescriptor &d, QDateTime &member) const
    {
        if (d.isAbsent())
            return;
        const ByteView stored = r.value(d, i, u);
        member = holdsDate(stored) ? dates.date(stored) : epoch();
    }
    // Elements of the shared arrays are written only where the value is not the array's fill
    // value, so that the arrays of most tasks stay shared.
    template<typename Array> void setDate(const FieldDescriptor &d, Array &array, size_t k) const
    {
        if (d.isAbsent())
            return;
        const ByteView stored = r.value(d, i, u);
        if (holdsDate(stored))
            array[k] = dates.date(stored);
    }
    template<typename Array> void setNumber(const FieldDescriptor &d, Array &array, size_t k) const
    {
        if (d.isAbsent())
            return;
        const double value = r.number(d, i, u);
        if (value != 0 || std::signbit(value))
            array[k] = value;
    }
    template<typename Array> void setInteger(const FieldDescriptor &d, Array &array, size_t k) const
    {
        if (d.isAbsent())
            return;
        const qint32 value = r.integer(d, i, u);
        if (value != 0)
            array[k] = value;
    }
    void optionalInteger(const FieldDescriptor &d, std::optional<qint32> &member) const
    {
        if (!d.isAbsent())
            member = r.integer(d, i, u);
    }
    void optionalNumber(const FieldDescriptor &d, std::optional<double> &member) const
    {
        if (!d.isAbsent())
            member = r.number(d, i, u);
    }

    const FieldReader &r;
    const TaskFields &f;
    DateCache &dates;
    const int i;
    const qint32 u;
    const bool percent;
};

// Start and finish as shown: the scheduled dates win for automatically scheduled tasks.
void applyScheduledDates(Task &t)
{
    if (isUnset(t.start) || (!isUnset(t.scheduledStart) && t.autoScheduled == 1))
        t.start = t.scheduledStart;
    if (isUnset(t.finish) || (!isUnset(t.scheduledFinish) && t.autoScheduled == 1))
        t.finish = t.scheduledFinish;
}
} // namespace

TaskDecoder::TaskDecoder(const FieldMap &map, const QVector<int> &flagBits,
                         bool readsPercentComplete)
    : m_fields(std::make_unique<const TaskFields>(map))
    , m_custom(map, CustomFieldEntity::Task, flagBits)
    , m_notes(map.descriptor(TaskNotesField))
    , m_readsPercentComplete(readsPercentComplete)
{
}

TaskDecoder::~TaskDecoder() = default;

bool TaskDecoder::hasUniqueId() const
{
    return !m_fields->uniqueId.isAbsent();
}

void TaskDecoder::decode(const RecordStreams &streams, const RecordBlocks &blocks, int from, int to,
                         TaskRun &run) const
{
    const TaskFields &f = *m_fields;
    const FieldReader reader(blocks);
    const auto dates = std::make_unique<DateCache>();
    const int firstCode = customFieldIndex(CustomFieldKind::OutlineCode, 1);
    run.tasks.reserve(size_t(qMax(0, to - from)));
    for (int i = from; i < to; ++i) {
        const ByteView record = streams.fixed.record(i);
        if (record.isEmpty())
            continue;
        auto task = std::make_unique<Task>();
        const ByteView item = streams.meta.item(i);
        if (!item.isEmpty() && (item.u8(0) & 0x02)) {
            task->uniqueId = reader.integer(f.uniqueId, i, 0);
            task->blankRecord = true;
        } else if (record.size() == ShortRecordSize) {
            task->uniqueId = record.i32(0);
            task->tf17 = record.i32(4);
            task->shortRecord = true;
        } else {
            task->uniqueId = reader.integer(f.uniqueId, i, 0);
            TaskRecordReader(reader, f, *dates, i, task->uniqueId, m_readsPercentComplete)
                .readInto(*task);
            applyScheduledDates(*task);
            task->customFields = m_custom.read(reader, i, task->uniqueId, item, task.get());
            for (const CustomFieldValue &v : qAsConst(task->customFields)) {
                if (v.field >= firstCode && v.field < firstCode + 10) {
                    run.holders.append(task->uniqueId);
                    break;
                }
            }
            const ByteView note = reader.value(m_notes, i, task->uniqueId);
            if (!note.isEmpty())
                task->notes = rtfToText(QByteArray(note.data(), note.size()));
        }
        run.tasks.push_back(task.release());
    }
}

} // namespace mppr
