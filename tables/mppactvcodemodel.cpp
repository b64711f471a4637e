#include "tables/mppactvcodemodel.h"

MPPActvCodeModel::MPPActvCodeModel(QObject *parent)
    : MPPEmptyModel({ "actv_code_id", "actv_code_type_id", "seq_num", "short_name",
                      "parent_actv_code_id", "actv_code_name", "color", "update_date",
                      "update_user", "create_date", "create_user", "delete_session_id",
                      "delete_date" },
                    parent)
{
    setObjectName(QStringLiteral("ACTVCODE"));
}
