#include "mppr/outlinecodereader.h"

#include "mppr/propsblock.h"
#include "mppr/recordstreams.h"
#include "mppr/streamstore.h"

#include <QHash>

namespace mppr {

namespace {

constexpr quint32 OutlineMapKey = 0x20019;
constexpr quint32 OutlineMapFallbackKey = 0x3000019;
constexpr quint32 OutlineFieldBase = 0x16400000;
// The "   19" layout files the same records under the task class, names each value's code by
// the task field before the code's own (0x1A0 for OutlineCode1, 0x1A2 for OutlineCode2...) and
// keeps the value's text under another number.
constexpr quint32 OutlineFieldBase9 = 0x0B400000;
constexpr quint32 FirstCodeField9 = TaskFieldBase + 0x1A0;
constexpr int OutlineMetaSize = 10;
constexpr int OutlineCodeCount = 10;
constexpr int GuidSize = 16;
// Props item listing the tables of OutlineCode1 to OutlineCode10: a 24-byte head, then one
// 50-byte entry per code that opens with the table's GUID.
constexpr quint32 TableListKey = 0x240138C;
constexpr int TableListHead = 24;
constexpr int TableListEntry = 50;

FieldDescriptor outlineField(const FieldMap &map, quint32 base, quint32 number)
{
    return map.descriptor(base + number);
}

} // namespace

OutlineCodeReader::OutlineCodeReader(const StreamStore &store, const Layout &layout)
    : m_store(store)
    , m_layout(layout)
{
}

QVector<OutlineCode> OutlineCodeReader::read(const PropsBlock &props,
                                             const QVector<std::array<qint32, 10>> &usedBy) const
{
    const FieldMap map
        = FieldMap::fromProps(props, OutlineMapKey, OutlineMapFallbackKey, m_layout.mapStyle);
    const bool layout9 = !map.contains(OutlineFieldBase) && map.contains(OutlineFieldBase9);
    const quint32 base = layout9 ? OutlineFieldBase9 : OutlineFieldBase;
    const FieldDescriptor uniqueId = outlineField(map, base, 0x00);
    const FieldDescriptor parent = outlineField(map, base, 0x0D);
    const FieldDescriptor value = outlineField(map, base, layout9 ? 0x07 : 0x16);
    const FieldDescriptor description = outlineField(map, base, 0x08);
    const FieldDescriptor table = outlineField(map, base, layout9 ? 0x0C : 0x19);
    if (uniqueId.isAbsent() || value.isAbsent())
        return {};

    RecordStreams s;
    const QString dir = m_layout.directory + QLatin1String("/TBkndOutlCode/");
    if (!m_store.exists(m_layout.directory + QLatin1String("/TBkndOutlCode")))
        return {};
    int status = s.meta.parse(m_store.read(dir + "FixedMeta"), OutlineMetaSize);
    if (status == StatusOk)
        status = s.fixed.parse(m_store.read(dir + "FixedData"), s.meta);
    if (status == StatusOk && m_layout.hasFixed2) {
        status = s.meta2.parse(m_store.read(dir + "Fixed2Meta"), OutlineMetaSize);
        if (status == StatusOk)
            status = s.fixed2.parse(m_store.read(dir + "Fixed2Data"), s.meta2);
    }
    if (status == StatusOk)
        status = s.readVarData(m_store, dir, m_layout.varMetaLayout);
    if (status != StatusOk)
        return {};
    const FieldReader reader(
        s.blocks(m_layout.hasFixed2, m_layout.hasFixed2, m_layout.varMetaLayout));

    // The values in the order stored, each with the GUID of its table.
    QVector<OutlineCodeValue> values;
    QVector<QByteArray> tables;
    for (int i = 0; i < s.meta.itemCount(); ++i) {
        if (s.fixed.record(i).isEmpty())
            continue;
        OutlineCodeValue v;
        v.uniqueId = reader.integer(uniqueId, i, 0);
        v.value = reader.text(value, v.uniqueId);
        if (v.uniqueId <= 0 || v.value.isEmpty())
            continue;
        v.parentUniqueId = parent.isAbsent() ? 0 : qMax(0, reader.integer(parent, i, 0));
        v.description = reader.text(description, v.uniqueId);
        const ByteView guid = reader.value(table, i, v.uniqueId);
        tables.append(QByteArray(guid.data(), guid.size()));
        values.append(v);
    }

    // Which table each code uses: the field the value names, the Props list, or the values the
    // tasks hold.
    QHash<QByteArray, int> codeOfTable;
    for (const QByteArray &t : qAsConst(tables)) {
        const ByteView id(t);
        const qint64 offset = id.size() == 4 ? qint64(id.u32(0)) - FirstCodeField9 : -1;
        if (layout9 && offset >= 0 && offset % 2 == 0 && offset / 2 < OutlineCodeCount)
            codeOfTable.insert(t, int(offset / 2));
    }
    const QByteArray list = props.item(TableListKey);
    for (int k = 0; k < OutlineCodeCount; ++k) {
        const int pos = TableListHead + k * TableListEntry;
        if (pos + GuidSize > list.size())
            break;
        const QByteArray guid = list.mid(pos, GuidSize);
        if (guid != QByteArray(GuidSize, '\0') && !codeOfTable.contains(guid))
            codeOfTable.insert(guid, k);
    }
    QHash<qint32, int> indexOf;
    for (int i = 0; i < values.size(); ++i)
        indexOf.insert(values.at(i).uniqueId, i);
    for (const auto &task : usedBy) {
        for (int k = 0; k < OutlineCodeCount; ++k) {
            const int i = indexOf.value(task[size_t(k)], -1);
            if (i >= 0 && !tables.at(i).isEmpty() && !codeOfTable.contains(tables.at(i)))
                codeOfTable.insert(tables.at(i), k);
        }
    }

    QVector<OutlineCode> codes(OutlineCodeCount);
    for (int k = 0; k < OutlineCodeCount; ++k)
        codes[k].number = k + 1;
    for (int i = 0; i < values.size(); ++i) {
        const int k = codeOfTable.value(tables.at(i), -1);
        if (k >= 0)
            codes[k].values.append(values.at(i));
    }
    QVector<OutlineCode> defined;
    for (const OutlineCode &code : qAsConst(codes)) {
        if (!code.values.isEmpty())
            defined.append(code);
    }
    return defined;
}

} // namespace mppr
