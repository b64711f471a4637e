#include "tables/mppactvtypemodel.h"

MPPActvTypeModel::MPPActvTypeModel(QObject *parent)
    : MPPEmptyModel({ "actv_code_type_id", "actv_short_len", "seq_num", "actv_code_type",
                      "actv_code_type_scope", "proj_id", "super_flag", "update_date", "update_user",
                      "create_date", "create_user", "delete_session_id", "delete_date" },
                    parent)
{
    setObjectName(QStringLiteral("ACTVTYPE"));
}
