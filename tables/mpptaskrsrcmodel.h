// TASKRSRC: one row per resource assignment, in the project's order.
#pragma once

#include "tables/mppmodel.h"

namespace mppr {
struct Assignment;
}

class MPPTaskRsrcModel : public MPPModel
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

    void setProject(mppr::Project *project) override;

protected:
    QVariant cell(int row, int column) const override;

private:
    QList<mppr::Assignment *> m_assignments;
};
