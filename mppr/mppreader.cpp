#include "mppr/mppreader.h"

#include "mppr/baselinefields.h"
#include "mppr/calendarreader.h"
#include "mppr/customfieldaliases.h"
#include "mppr/customfields.h"
#include "mppr/fieldreader.h"
#include "mppr/fixeddatablock.h"
#include "mppr/fixedmetablock.h"
#include "mppr/outlinecodereader.h"
#include "mppr/outlinenumbering.h"
#include "mppr/project.h"
#include "mppr/recordstreams.h"
#include "mppr/rtftext.h"
#include "mppr/streamstore.h"
#include "mppr/workingcalendar.h"

#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace mppr {

namespace {

constexpr quint32 TaskMapKey = 0x20014;
constexpr quint32 TaskMapFallbackKey = 0x3000014;
constexpr int TaskFixedMetaSize = 47;
constexpr int FirstTaskRecord = 3; // records 0 to 2 are never tasks
constexpr int ShortRecordSize = 16;
constexpr int RelationMetaSize = 10;
constexpr int RelationRecordSize = 20;
constexpr quint16 MaxLagUnitCode = 13;
constexpr quint32 TaskNotesField = TaskFieldBase + 0x0F;
constexpr int CustomFlagCount = 20;

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

struct Relation
{
    qint32 predecessor;
    qint32 successor;
    qint16 type;
    ByteView record;
};

// The tasks of one run of records, in record order, and those among them holding outline code
// values.
struct TaskRun
{
    std::vector<Task *> tasks;
    QVector<qint32> holders;
};

// Below this many records per run, a second thread costs more than it saves.
constexpr int MinRecordsPerRun = 4096;
constexpr int MaxRuns = 8;

// Starts `work` on a thread of its own; false where the system has none to give.
template<typename Work> bool startThread(std::vector<std::thread> &threads, const Work &work)
{
    try {
        threads.emplace_back(work);
        return true;
    } catch (const std::system_error &) {
        return false;
    }
}

// Decodes runs of task records; one decoder serves several threads at once, each with a field
// reader and a date cache of its own.
struct TaskDecoder
{
    const RecordStreams &streams;
    RecordBlocks blocks;
    const TaskFields &fields;
    CustomFieldReader custom;
    FieldDescriptor notes;
    bool readsPercentComplete;

    void decode(int from, int to, TaskRun &run) const
    {
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
                task->uniqueId = reader.integer(fields.uniqueId, i, 0);
                task->blankRecord = true;
            } else if (record.size() == ShortRecordSize) {
                task->uniqueId = record.i32(0);
                task->tf17 = record.i32(4);
                task->shortRecord = true;
            } else {
                task->uniqueId = reader.integer(fields.uniqueId, i, 0);
                TaskRecordReader(reader, fields, *dates, i, task->uniqueId, readsPercentComplete)
                    .readInto(*task);
                applyScheduledDates(*task);
                task->customFields = custom.read(reader, i, task->uniqueId, item, task.get());
                for (const CustomFieldValue &v : qAsConst(task->customFields)) {
                    if (v.field >= firstCode && v.field < firstCode + 10) {
                        run.holders.append(task->uniqueId);
                        break;
                    }
                }
                const ByteView note = reader.value(notes, i, task->uniqueId);
                if (!note.isEmpty())
                    task->notes = rtfToText(QByteArray(note.data(), note.size()));
            }
            run.tasks.push_back(task.release());
        }
    }
};

} // namespace

MppReader::MppReader(const StreamStore &store, Project &project, const Layout &layout)
    : m_store(store)
    , m_project(project)
    , m_layout(layout)
{
}

MppReader::~MppReader() = default;

int MppReader::readProps()
{
    const int status = m_props.parse(m_store.read(path(QStringLiteral("/Props"))));
    if (status != StatusOk)
        return status;
    m_taskMap = FieldMap::fromProps(m_props, TaskMapKey, TaskMapFallbackKey, m_layout.mapStyle);
    const quint32 flagFields[5] = { 0x18, 0x47, 0x52, 0x4FF, 0x500 };
    for (int k = 0; k < 5; ++k) {
        const FieldLocation location = k < 3 ? FieldLocation::MetaData : FieldLocation::MetaFlag;
        m_taskMap.setFlagPosition(TaskFieldBase + flagFields[k], location, m_layout.flagBits[k]);
    }
    return StatusOk;
}

int MppReader::readTasks()
{
    const TaskFields fields(m_taskMap);
    if (fields.uniqueId.isAbsent())
        return StatusMissingField;
    m_project.setHasPercentComplete(m_layout.readsPercentComplete);

    RecordStreams s;
    const QString dir = path(QStringLiteral("/TBkndTask/"));
    // The fixed records and the variable data are parsed side by side.
    int status = StatusOk;
    int varStatus = StatusOk;
    runTogether(
        [&] {
            status = s.meta.parse(m_store.read(dir + "FixedMeta"), TaskFixedMetaSize);
            if (status == StatusOk)
                status = s.fixed.parse(m_store.read(dir + "FixedData"), s.meta);
            if (status == StatusOk && m_layout.hasFixed2) {
                const QByteArray stream = m_store.read(dir + "Fixed2Meta");
                status = s.meta2.parse(stream, m_layout.taskFixed2MetaSize);
                if (status != StatusOk && m_layout.taskFixed2MetaRetrySize > 0)
                    status = s.meta2.parse(stream, m_layout.taskFixed2MetaRetrySize);
                if (status == StatusOk)
                    status = s.fixed2.parse(m_store.read(dir + "Fixed2Data"), s.meta2);
            }
        },
        [&] { varStatus = s.readVarData(m_store, dir, m_layout.varMetaLayout); });
    if (status == StatusOk)
        status = varStatus;
    if (status != StatusOk)
        return status;

    const RecordBlocks blocks
        = s.blocks(m_layout.hasFixed2, m_layout.hasFixed2, m_layout.varMetaLayout);
    QVector<int> flagBits;
    for (int k = 1; k <= CustomFlagCount && m_layout.customFlagBases[0] >= 0; ++k)
        flagBits.append(m_layout.customFlagBases[k <= 10 ? 0 : 1] + k);
    const TaskDecoder decoder { s,
                                blocks,
                                fields,
                                CustomFieldReader(m_taskMap, CustomFieldEntity::Task, flagBits),
                                m_taskMap.descriptor(TaskNotesField),
                                m_layout.readsPercentComplete };

    // Large files are decoded in as many runs of records as there are cores; each run's tasks
    // are then inserted in record order, so that the result is the same as from one run.
    const int count = qMax(0, s.meta.itemCount() - FirstTaskRecord);
    const int runs
        = qBound(1, count / MinRecordsPerRun, qBound(1, QThread::idealThreadCount(), MaxRuns));
    std::vector<TaskRun> results(static_cast<size_t>(runs));
    std::vector<std::thread> threads;
    for (int k = 0; k < runs; ++k) {
        const int from = FirstTaskRecord + int(qint64(count) * k / runs);
        const int to = FirstTaskRecord + int(qint64(count) * (k + 1) / runs);
        TaskRun &run = results[size_t(k)];
        const auto work = [&decoder, &run, from, to] { decoder.decode(from, to, run); };
        if (k + 1 == runs || !startThread(threads, work))
            work();
    }
    for (std::thread &thread : threads)
        thread.join();

    m_project.reserveTasks(count);
    for (TaskRun &run : results) {
        for (Task *task : run.tasks)
            m_project.insertTask(task);
        m_outlineCodeHolders += run.holders;
    }
    return StatusOk;
}

int MppReader::readTaskTables(const std::function<int()> &alongside)
{
    int status = readTasks();
    if (status != StatusOk)
        return status;
    // The outline, the links and what `alongside` reads (resources and assignments) write
    // different members of the tasks: they are read side by side.
    int other = StatusOk;
    runTogether(
        [this, &status] {
            numberOutline(m_project.tasks());
            readCustomFieldExtras(m_outlineCodeHolders);
            status = readRelations();
        },
        [&alongside, &other] { other = alongside(); });
    return status != StatusOk ? status : other;
}

void MppReader::runTogether(const std::function<void()> &work, const std::function<void()> &other)
{
    std::vector<std::thread> threads;
    if (!startThread(threads, other))
        other();
    work();
    for (std::thread &thread : threads)
        thread.join();
}

void MppReader::readCustomFieldExtras(QVector<qint32> holders)
{
    QVector<CustomFieldDefinition> definitions;
    if (m_layout.mapStyle == FieldMapStyle::Mpp9)
        definitions = readCustomFieldAliases9(m_props);
    m_project.setCustomFieldDefinitions(definitions);

    const int firstCode = customFieldIndex(CustomFieldKind::OutlineCode, 1);
    // The tasks kept under those unique IDs (a later record replaces an earlier one), in
    // ascending unique-ID order.
    std::sort(holders.begin(), holders.end());
    holders.erase(std::unique(holders.begin(), holders.end()), holders.end());
    QVector<Task *> tasks;
    QVector<std::array<qint32, 10>> usedBy;
    for (const qint32 id : qAsConst(holders)) {
        Task *task = m_project.task(id);
        if (!task)
            continue;
        std::array<qint32, 10> ids {};
        bool any = false;
        for (const CustomFieldValue &v : task->customFields) {
            if (v.field >= firstCode && v.field < firstCode + 10) {
                ids[size_t(v.field - firstCode)] = v.value.toInt();
                any = true;
            }
        }
        if (any) {
            tasks.append(task);
            usedBy.append(ids);
        }
    }
    const OutlineCodeReader reader(
        m_store,
        { m_layout.directory, m_layout.mapStyle, m_layout.varMetaLayout, m_layout.hasFixed2 });
    QVector<OutlineCode> codes = reader.read(m_props, usedBy);
    for (OutlineCode &code : codes)
        code.alias
            = m_project.customFieldAlias(CustomFieldEntity::Task, firstCode + code.number - 1);
    m_project.setOutlineCodes(codes);

    // A task's value becomes its text; a value no table holds is dropped.
    for (Task *task : qAsConst(tasks)) {
        CustomFieldValues &values = task->customFields;
        for (int k = values.size() - 1; k >= 0; --k) {
            const int field = values.at(k).field;
            if (field < firstCode || field >= firstCode + 10)
                continue;
            QString text;
            for (const OutlineCode &code : qAsConst(codes)) {
                if (code.number == field - firstCode + 1)
                    text = code.path(values.at(k).value.toInt());
            }
            if (text.isEmpty())
                values.remove(k);
            else
                values[k].value = text;
        }
    }
}

int MppReader::readRelations()
{
    const QString dir = path(QStringLiteral("/TBkndCons"));
    if (!m_store.exists(dir))
        return StatusOk;
    FixedMetaBlock meta;
    FixedDataBlock fixed;
    int status = meta.parse(m_store.read(dir + "/FixedMeta"), RelationMetaSize);
    if (status == StatusOk)
        status = fixed.parse(m_store.read(dir + "/FixedData"), meta);
    if (status != StatusOk)
        return status;

    std::vector<Relation> accepted;
    bool layoutA = true;
    bool layoutB = true;
    bool haveMaximum = false;
    quint32 maximumId = 0;
    for (int i = 0; i < meta.itemCount(); ++i) {
        const ByteView item = meta.item(i);
        const ByteView record = fixed.record(i);
        if (item.size() < 8 || item.u16(0) != 0 || item.i32(4) == -1
            || record.size() < RelationRecordSize)
            continue;
        const quint32 id = record.u32(0);
        if (haveMaximum && id < maximumId)
            continue;
        haveMaximum = true;
        maximumId = id;
        const Relation relation { record.i32(4), record.i32(8), record.i16(12), record };
        if (relation.predecessor == relation.successor || !m_project.task(relation.predecessor)
            || !m_project.task(relation.successor))
            continue;
        if (layoutA && record.u16(14) > MaxLagUnitCode)
            layoutA = false;
        if (layoutB && record.u16(18) > MaxLagUnitCode)
            layoutB = false;
        accepted.push_back(relation);
    }

    const bool useB = !layoutA || (layoutB && m_layout.relationLayoutB);
    for (const Relation &relation : accepted) {
        Task *successor = m_project.task(relation.successor);
        const ByteView &r = relation.record;
        successor->predecessors.append({ relation.predecessor, useB ? r.i32(14) : r.i32(16),
                                         useB ? r.u16(18) : r.u16(14), relation.type });
    }
    return StatusOk;
}

int MppReader::readDroppingResources(const ResourceReader::Layout &resources)
{
    int status = readProps();
    if (status == StatusOk) {
        status = readTaskTables([&] {
            ResourceReader(m_store, m_project, resources, m_props).readOrDrop();
            return int(StatusOk);
        });
    }
    if (status == StatusOk)
        readCalendars();
    return status;
}

void MppReader::readCalendars()
{
    const CalendarReader reader(m_store,
                                { m_layout.directory, m_layout.mapStyle, m_layout.varMetaLayout });
    const QVector<Calendar> calendars = reader.readCalendars(m_props);
    ProjectProperties properties = reader.readProperties(m_props, calendars);
    // The authoring tool fills in the file's own name where the title was left empty; its
    // exports then give no title, and neither does this reader.
    if (properties.title == QFileInfo(m_project.filePath()).completeBaseName())
        properties.title.clear();
    m_project.setCalendars(calendars, properties);

    const WorkingCalendar time(m_project);
    for (Task *task : m_project.tasks()) {
        task->segments.clear();
        if (isUnset(task->start))
            continue;
        for (const auto &part : qAsConst(task->splitParts))
            task->segments.append({ time.advance(task->start, part.first, true),
                                    time.advance(task->start, part.second, false) });
    }
}

} // namespace mppr
