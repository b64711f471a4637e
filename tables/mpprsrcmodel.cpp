#include "tables/mpprsrcmodel.h"

#include "mppr/project.h"

MPPRsrcModel::MPPRsrcModel(QObject *parent)
    : MPPRecordModel(QStringLiteral("RSRC"),
                     { "rsrc_id", "rsrc_seq_num", "rsrc_type", "rsrc_short_name", "rsrc_name",
                       "parent_rsrc_id", "rsrc_notes" },
                     ColumnCount, parent)
{
}

QVector<mppr::Resource *> MPPRsrcModel::records(const mppr::Project &project) const
{
    QVector<mppr::Resource *> resources;
    resources.reserve(project.resources().size());
    for (mppr::Resource *resource : project.resources())
        resources.append(resource);
    return resources;
}

namespace {

// Work resources are labour; cost resources come closest to P6's nonlabour ones.
QString typeCode(mppr::ResourceType type)
{
    switch (type) {
    case mppr::ResourceType::Material:
        return QStringLiteral("RT_Mat");
    case mppr::ResourceType::Cost:
        return QStringLiteral("RT_Equip");
    default:
        return QStringLiteral("RT_Labor");
    }
}

} // namespace

QVariant MPPRsrcModel::cell(int row, int column) const
{
    const mppr::Resource &r = *m_records.at(row);
    switch (column) {
    case RsrcId:
        return uint(r.uniqueId);
    case RsrcSeqNum:
        return uint(r.uniqueIdText.toInt(nullptr, 10));
    case RsrcType:
        return typeCode(r.type);
    case RsrcShortName:
        return r.shortName;
    case RsrcName:
        return r.name;
    case RsrcNotes:
        return noteValue(r.notes, Qt::DisplayRole);
    default:
        return QVariant();
    }
}

QVariant MPPRsrcModel::toolTip(int row, int column) const
{
    return column == RsrcNotes ? noteValue(m_records.at(row)->notes, Qt::ToolTipRole) : QVariant();
}
