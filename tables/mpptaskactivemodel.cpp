#include "tables/mpptaskactivemodel.h"

MPPTaskActiveModel::MPPTaskActiveModel(QObject *parent)
    : MPPEmptyModel(
        { "task_id", "actv_code_type_id", "actv_code_id", "proj_id", "update_date", "update_user" },
        parent)
{
}
