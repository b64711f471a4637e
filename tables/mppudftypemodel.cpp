#include "tables/mppudftypemodel.h"

#include "mppr/project.h"

MPPUdfTypeModel::MPPUdfTypeModel(QObject *parent)
    : MPPModel(
        QStringLiteral("UDFTYPE"),
        { "udf_type_id", "table_name", "udf_type_name", "udf_type_label", "logical_data_type" },
        ColumnCount, parent)
{
    const struct
    {
        const char *pattern;
        int count;
    } groups[] = { { "Text %1", 30 }, { "Start date %1", 10 }, { "Finish date %1", 10 },
                   { "Cost %1", 10 }, { "Duration %1", 10 },   { "Number %1", 20 },
                   { "Date %1", 10 }, { "Flag %1", 20 } };
    for (const auto &group : groups) {
        for (int n = 1; n <= group.count; ++n)
            m_names.append(QString::fromLatin1(group.pattern).arg(n));
    }
    Q_ASSERT(m_names.size() == FieldCount);
}

void MPPUdfTypeModel::setProject(mppr::Project *project)
{
    m_project = project;
    beginResetModel();
    m_rowCount = FieldCount;
    endResetModel();
}

int MPPUdfTypeModel::customFieldOfType(int typeId)
{
    using Kind = mppr::CustomFieldKind;
    // The type ids follow the groups of the constructor.
    const struct
    {
        Kind kind;
        int first;
        int count;
    } groups[] = { { Kind::Text, 0, 30 },  { Kind::Start, 30, 10 },    { Kind::Finish, 40, 10 },
                   { Kind::Cost, 50, 10 }, { Kind::Duration, 60, 10 }, { Kind::Number, 70, 20 },
                   { Kind::Date, 90, 10 }, { Kind::Flag, 100, 20 } };
    for (const auto &group : groups) {
        if (typeId >= group.first && typeId < group.first + group.count)
            return mppr::customFieldIndex(group.kind, typeId - group.first + 1);
    }
    return -1;
}

QString MPPUdfTypeModel::defaultLabel(int typeId) const
{
    return typeId >= 0 && typeId < m_names.size() ? m_names.at(typeId) : QString();
}

QVariant MPPUdfTypeModel::cell(int row, int column) const
{
    switch (column) {
    case UdfTypeId:
        return row;
    case TableName:
        return QStringLiteral("Task");
    case UdfTypeName:
        return m_names.at(row);
    case UdfTypeLabel: {
        const QString alias = m_project
            ? m_project->customFieldAlias(mppr::CustomFieldEntity::Task, customFieldOfType(row))
            : QString();
        return alias.isEmpty() ? m_names.at(row) : alias;
    }
    case LogicalDataType:
        switch (mppr::customFieldKind(customFieldOfType(row))) {
        case mppr::CustomFieldKind::Text:
        case mppr::CustomFieldKind::Flag:
            return QStringLiteral("string");
        case mppr::CustomFieldKind::Start:
        case mppr::CustomFieldKind::Finish:
        case mppr::CustomFieldKind::Date:
            return QStringLiteral("date");
        default:
            return QStringLiteral("float");
        }
    default:
        return QVariant();
    }
}
