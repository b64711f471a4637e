#include "tables/mpptaskrsrcmodel.h"

#include "mppr/project.h"

MPPTaskRsrcModel::MPPTaskRsrcModel(QObject *parent)
    : MPPRecordModel(QStringLiteral("TASKRSRC"),
                     { "task_id", "proj_id", "rsrc_id", "remain_qty", "target_qty", "act_ot_qty",
                       "act_reg_qty", "target_cost", "act_reg_cost", "act_ot_cost", "remain_cost",
                       "act_start_date", "act_end_date", "reg_work", "start_date", "end_date",
                       "rem_ot_cost", "rem_ot_qty" },
                     ColumnCount, parent)
{
}

QVector<mppr::Assignment *> MPPTaskRsrcModel::records(const mppr::Project &project) const
{
    return project.assignments().toVector();
}

QVariant MPPTaskRsrcModel::cell(int row, int column) const
{
    const mppr::Assignment &a = *m_records.at(row);
    switch (column) {
    case TaskId:
        return uint(a.taskUniqueId);
    case ProjId:
        return 1;
    case RsrcId:
        return a.resourceUniqueId;
    case RemainQty:
    case RegWork:
        return a.af0c;
    case TargetQty:
        return a.af10 == 0.0 ? a.af08 : a.af10;
    case ActOtQty:
        return a.af0d;
    case TargetCost:
        return a.af20 == 0.0 ? a.af1a : a.af20;
    case ActOtCost:
        return a.af1e;
    case RemainCost:
        return a.af1d;
    case ActStartDate:
        return dateValue(a.af16);
    case ActEndDate:
        return dateValue(a.af17);
    case StartDate:
        return dateValue(a.af14);
    case EndDate:
        return dateValue(a.af15);
    case RemOtCost:
        return a.af1f;
    case RemOtQty:
        return a.af0e;
    default:
        return QVariant();
    }
}
