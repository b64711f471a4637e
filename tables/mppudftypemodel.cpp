#include "tables/mppudftypemodel.h"

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
    } groups[] = { { "Text %1", 30 },
                   { "Start date %1", 10 },
                   { "Finish date %1", 10 },
                   { "Cost %1", 10 },
                   { "Duration %1", 10 } };
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

QVariant MPPUdfTypeModel::cell(int row, int column) const
{
    switch (column) {
    case UdfTypeId:
        return row;
    case TableName:
        return QStringLiteral("Task");
    case UdfTypeName:
    case UdfTypeLabel:
        return m_names.at(row);
    case LogicalDataType:
        if (row < 30)
            return QStringLiteral("string");
        if (row < 50)
            return QStringLiteral("date");
        return QStringLiteral("float");
    default:
        return QVariant();
    }
}
