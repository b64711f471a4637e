#include "tables/mppactvtypemodel.h"

#include "mppr/project.h"

MPPActvTypeModel::MPPActvTypeModel(QObject *parent)
    : MPPModel(QStringLiteral("ACTVTYPE"),
               { "actv_code_type_id", "actv_short_len", "seq_num", "actv_code_type",
                 "actv_code_type_scope", "proj_id", "super_flag", "update_date", "update_user",
                 "create_date", "create_user", "delete_session_id", "delete_date" },
               ColumnCount, parent)
{
}

void MPPActvTypeModel::setProject(mppr::Project *project)
{
    beginResetModel();
    m_project = project;
    m_rowCount = project ? project->outlineCodes().size() : 0;
    endResetModel();
}

QString MPPActvTypeModel::typeName(int number, const QString &alias)
{
    return alias.isEmpty() ? QStringLiteral("Outline Code %1").arg(number) : alias;
}

QVariant MPPActvTypeModel::cell(int row, int column) const
{
    const mppr::OutlineCode &code = m_project->outlineCodes().at(row);
    switch (column) {
    case ActvCodeTypeId:
    case SeqNum:
        return code.number;
    case ActvCodeType:
        return typeName(code.number, code.alias);
    case ActvCodeTypeScope:
        return QStringLiteral("AS_Project");
    case ProjId:
        return 1;
    case SuperFlag:
        return QStringLiteral("N");
    default:
        return QVariant();
    }
}
