// TASKRSRC: one row per resource assignment, in the project's order.
#pragma once

#include "tables/mpprecordmodel.h"

namespace mppr {
struct Assignment;
}

class MPPTaskRsrcModel : public MPPRecordModel<mppr::Assignment>
{
    Q_OBJECT

public:
    enum Column {
        TaskId,
        ProjId,
        RsrcId,
        RemainQty,
        TargetQty,
        ActOtQty,
        ActRegQty,
        TargetCost,
        ActRegCost,
        ActOtCost,
        RemainCost,
        ActStartDate,
        ActEndDate,
        RegWork,
        StartDate,
        EndDate,
        RemOtCost,
        RemOtQty,
        ColumnCount
    };

    explicit MPPTaskRsrcModel(QObject *parent = nullptr);

protected:
    QVector<mppr::Assignment *> records(const mppr::Project &project) const override;
    QVariant cell(int row, int column) const override;
};
