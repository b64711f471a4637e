#include "mppr/mppreader.h"

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
#include "mppr/streamstore.h"
#include "mppr/taskdecoder.h"
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
constexpr int RelationMetaSize = 10;
constexpr int RelationRecordSize = 20;
constexpr quint16 MaxLagUnitCode = 13;
constexpr int CustomFlagCount = 20;

struct Relation
{
    qint32 predecessor;
    qint32 successor;
    qint16 type;
    ByteView record;
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
    QVector<int> flagBits;
    for (int k = 1; k <= CustomFlagCount && m_layout.customFlagBases[0] >= 0; ++k)
        flagBits.append(m_layout.customFlagBases[k <= 10 ? 0 : 1] + k);
    const TaskDecoder decoder(m_taskMap, flagBits, m_layout.readsPercentComplete);
    if (!decoder.hasUniqueId())
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
        const auto work = [&, from, to] { decoder.decode(s, blocks, from, to, run); };
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
