#include "tables/mpptaskactivemodel.h"

MPPTaskActiveModel::MPPTaskActiveModel(QObject *parent)
    : MPPModel(
        { "task_id", "actv_code_type_id", "actv_code_id", "proj_id", "update_date", "update_user" },
        parent)
{
}

QVariant MPPTaskActiveModel::cell(int, int) const
{
    return QVariant();
}
