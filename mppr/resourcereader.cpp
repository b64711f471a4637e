#include "mppr/resourcereader.h"

#include "mppr/customfields.h"
#include "mppr/project.h"
#include "mppr/recordstreams.h"
#include "mppr/rtftext.h"
#include "mppr/streamstore.h"
#include "mppr/timephasedsplits.h"

#include <QHash>
#include <QSet>

#include <memory>

namespace mppr {

namespace {

constexpr quint32 ResourceMapKey = 0x20015;
constexpr quint32 ResourceMapFallbackKey = 0x3000015;
constexpr quint32 AssignmentMapKey = 0x20017;
constexpr quint32 AssignmentMapFallbackKey = 0x3000017;
// FixedMeta items of resources and assignments have the same size in every layout.
constexpr int ResourceFixedMetaSize = 37;
constexpr int AssignmentFixedMetaSize = 34;
constexpr int ResourceFlagBase = 208;
constexpr double MinutesTimes1000PerHour = 60000.0; // work is stored in thousandths of a minute

FieldDescriptor field(const FieldMap &map, quint32 base, quint32 number)
{
    return map.descriptor(base + number);
}

bool bitSet(ByteView item, int bit)
{
    return bit >= 0 && bit / 8 < item.size() && (item.u8(bit / 8) >> (bit % 8)) & 1;
}

struct AssignmentFields
{
    explicit AssignmentFields(const FieldMap &m)
        : uniqueId(field(m, AssignmentFieldBase, 0x00))
        , taskUniqueId(field(m, AssignmentFieldBase, 0x01))
        , resourceUniqueId(field(m, AssignmentFieldBase, 0x02))
        , af1c(field(m, AssignmentFieldBase, 0x1C))
        , af20(field(m, AssignmentFieldBase, 0x20))
        , af1a(field(m, AssignmentFieldBase, 0x1A))
        , af0a(field(m, AssignmentFieldBase, 0x0A))
        , af10(field(m, AssignmentFieldBase, 0x10))
        , af08(field(m, AssignmentFieldBase, 0x08))
        , af1d(field(m, AssignmentFieldBase, 0x1D))
        , af0c(field(m, AssignmentFieldBase, 0x0C))
        , af1e(field(m, AssignmentFieldBase, 0x1E))
        , af0d(field(m, AssignmentFieldBase, 0x0D))
        , af1f(field(m, AssignmentFieldBase, 0x1F))
        , af0e(field(m, AssignmentFieldBase, 0x0E))
        , af16(field(m, AssignmentFieldBase, 0x16))
        , af17(field(m, AssignmentFieldBase, 0x17))
        , af14(field(m, AssignmentFieldBase, 0x14))
        , af15(field(m, AssignmentFieldBase, 0x15))
        , af0b(field(m, AssignmentFieldBase, 0x0B))
    {
    }
    FieldDescriptor uniqueId, taskUniqueId, resourceUniqueId, af1c, af20, af1a, af0a, af10, af08,
        af1d, af0c, af1e, af0d, af1f, af0e, af16, af17, af14, af15, af0b;
};

void readAssignmentValues(const FieldReader &r, const AssignmentFields &f, int k, qint32 u,
                          Assignment &a)
{
    const auto hours
        = [&](const FieldDescriptor &d) { return r.number(d, k, u) / MinutesTimes1000PerHour; };
    a.af1c = r.number(f.af1c, k, u);
    a.af20 = r.number(f.af20, k, u);
    a.af1a = r.number(f.af1a, k, u);
    a.af0a = hours(f.af0a);
    a.af10 = hours(f.af10);
    a.af08 = hours(f.af08);
    a.af1d = r.number(f.af1d, k, u);
    a.af0c = hours(f.af0c);
    a.af1e = r.number(f.af1e, k, u);
    a.af0d = hours(f.af0d);
    a.af1f = r.number(f.af1f, k, u);
    a.af0e = hours(f.af0e);
    a.af16 = r.date(f.af16, k, u);
    a.af17 = r.date(f.af17, k, u);
    a.af14 = r.date(f.af14, k, u);
    a.af15 = r.date(f.af15, k, u);
    a.af0b = hours(f.af0b);
}

} // namespace

ResourceReader::ResourceReader(const StreamStore &store, Project &project, const Layout &layout,
                               const PropsBlock &props)
    : m_store(store)
    , m_project(project)
    , m_layout(layout)
    , m_resourceMap(
          FieldMap::fromProps(props, ResourceMapKey, ResourceMapFallbackKey, layout.mapStyle))
    , m_assignmentMap(
          FieldMap::fromProps(props, AssignmentMapKey, AssignmentMapFallbackKey, layout.mapStyle))
{
}

void ResourceReader::readOrDrop()
{
    int status = readResources();
    if (status == StatusOk)
        status = readAssignments();
    if (status != StatusOk)
        m_project.clearResources();
}

QString ResourceReader::path(const char *relative) const
{
    return m_layout.directory + QLatin1String(relative);
}

int ResourceReader::readResources()
{
    RecordStreams s;
    const bool twoBlocks = m_layout.resourceFixed2MetaSize > 0;
    int status = s.meta.parse(m_store.read(path("/TBkndRsc/FixedMeta")), ResourceFixedMetaSize);
    if (status == StatusOk)
        status = s.fixed.parse(m_store.read(path("/TBkndRsc/FixedData")), s.meta);
    if (status == StatusOk && twoBlocks) {
        status = s.meta2.parse(m_store.read(path("/TBkndRsc/Fixed2Meta")),
                               m_layout.resourceFixed2MetaSize);
    }
    if (status == StatusOk && twoBlocks)
        status = s.fixed2.parse(m_store.read(path("/TBkndRsc/Fixed2Data")), s.meta2);
    if (status == StatusOk)
        status = s.readVarData(m_store, path("/TBkndRsc/"), m_layout.varMetaLayout);
    if (status != StatusOk)
        return status;

    const FieldReader reader(s.blocks(twoBlocks, twoBlocks, m_layout.varMetaLayout));
    // Name (0x01) and initials (0x02) are variable data in every layout; resources without a
    // name are the placeholders a schedule keeps, such as the unnamed resource 0.
    const FieldDescriptor name = field(m_resourceMap, ResourceFieldBase, 0x01);
    const FieldDescriptor shortName = field(m_resourceMap, ResourceFieldBase, 0x02);
    // The records carry the unique ID (field 0x00) that the variable data is filed under.
    const FieldDescriptor uniqueId = field(m_resourceMap, ResourceFieldBase, 0x00);
    const FieldDescriptor notes = field(m_resourceMap, ResourceFieldBase, 0x14);
    // Resource flags are bits 209 to 228 of the FixedMeta item in every layout.
    QVector<int> flagBits;
    for (int k = 1; k <= 20; ++k)
        flagBits.append(ResourceFlagBase + k);
    const CustomFieldReader custom(m_resourceMap, CustomFieldEntity::Resource, flagBits);
    QHash<qint32, int> recordOf;
    for (int i = 0; i < s.meta.itemCount() && !uniqueId.isAbsent(); ++i) {
        if (!s.fixed.record(i).isEmpty())
            recordOf.insert(reader.integer(uniqueId, i, 0), i);
    }
    for (const qint32 u : s.varMeta.uniqueIds()) {
        const QString text = reader.text(name, u);
        if (text.isEmpty())
            continue;
        auto resource = std::make_unique<Resource>();
        resource->name = text;
        resource->uniqueIdText = QString::number(u);
        resource->uniqueId = u;
        resource->shortName = reader.text(shortName, u);
        const auto record = recordOf.constFind(u);
        if (record != recordOf.cend())
            resource->type = typeOf(s.meta, s.meta2, *record);
        const int k = record != recordOf.cend() ? *record : -1;
        resource->customFields = custom.read(reader, k, u, s.meta.item(k));
        const ByteView note = reader.value(notes, k, u);
        if (!note.isEmpty())
            resource->notes = rtfToText(QByteArray(note.data(), note.size()));
        m_project.insertResource(resource.release());
    }
    return StatusOk;
}

ResourceType ResourceReader::typeOf(const FixedMetaBlock &meta, const FixedMetaBlock &meta2,
                                    int record) const
{
    if (m_layout.workBit < 0 || bitSet(meta.item(record), m_layout.workBit))
        return ResourceType::Work;
    if (m_layout.costBit >= 0 && bitSet(meta2.item(record), m_layout.costBit))
        return ResourceType::Cost;
    return ResourceType::Material;
}

int ResourceReader::readAssignments()
{
    const AssignmentFields fields(m_assignmentMap);
    if (fields.uniqueId.isAbsent())
        return StatusMissingField;

    RecordStreams s;
    const bool twoBlocks = m_layout.assignment2RecordSize > 0;
    int status = s.meta.parse(m_store.read(path("/TBkndAssn/FixedMeta")), AssignmentFixedMetaSize);
    if (status != StatusOk)
        return status;
    s.fixed.split(m_store.read(path("/TBkndAssn/FixedData")), m_layout.assignmentRecordSize);
    if (twoBlocks)
        s.fixed2.split(m_store.read(path("/TBkndAssn/Fixed2Data")), m_layout.assignment2RecordSize);
    status = s.readVarData(m_store, path("/TBkndAssn/"), m_layout.varMetaLayout);
    if (status != StatusOk)
        return status;

    const FieldReader reader(s.blocks(false, twoBlocks, m_layout.varMetaLayout));
    const FieldDescriptor timephased = field(m_assignmentMap, AssignmentFieldBase, 0x31);
    const QVector<qint32> present = s.varMeta.uniqueIds();
    const QSet<qint32> withVarData(present.cbegin(), present.cend());

    QList<Assignment *> assignments;
    for (int i = 0; i < s.meta.itemCount(); ++i) {
        const ByteView item = s.meta.item(i);
        if (item.size() < 8 || item.u8(0) != 0)
            continue;
        // The item names the offset of its record; records need not be in item order.
        const int k = s.fixed.recordAt(item.i32(4));
        if (k < 0)
            continue;
        const qint32 uniqueId = reader.integer(fields.uniqueId, k, 0);
        if (!withVarData.contains(uniqueId))
            continue;
        const qint32 taskId = reader.integer(fields.taskUniqueId, k, uniqueId);
        const qint32 resourceId = reader.integer(fields.resourceUniqueId, k, uniqueId);
        // A task is split where the work of its first assignment with parts has gaps; the
        // assignment may name no resource.
        Task *task = m_project.task(taskId);
        if (task && task->splitParts.isEmpty() && !timephased.isAbsent())
            task->splitParts = splitPartsFromTimephased(reader.value(timephased, k, uniqueId));
        if (!task || !m_project.resource(resourceId))
            continue;
        auto assignment = std::make_unique<Assignment>();
        assignment->uniqueId = uniqueId;
        assignment->taskUniqueId = taskId;
        assignment->resourceUniqueId = resourceId;
        readAssignmentValues(reader, fields, k, uniqueId, *assignment);
        assignments.append(assignment.release());
    }
    m_project.setAssignments(assignments);
    return StatusOk;
}

} // namespace mppr
