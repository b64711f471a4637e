#include "tables/mpptaskpredmodel.h"

#include "mppr/project.h"
#include "tables/mppunits.h"

#include <algorithm>

MPPTaskPredModel::MPPTaskPredModel(QObject *parent)
    : MPPModel(QStringLiteral("TASKPRED"),
               { "task_id", "pred_task_id", "pred_proj_id", "pred_type", "lag_hr_cnt" },
               ColumnCount, parent)
{
}

void MPPTaskPredModel::setProject(mppr::Project *project)
{
    beginResetModel();
    m_relations.clear();
    m_project = project;
    m_rowCount = 0;
    if (project) {
        int relations = 0;
        for (const mppr::Task *task : project->tasks())
            relations += task->predecessors.size();
        m_relations.reserve(relations);
        for (const mppr::Task *task : project->tasks()) {
            for (const mppr::Task::Predecessor &p : task->predecessors) {
                m_relations.append(
                    Relation { task->uniqueId, p.uniqueId, double(p.lag), p.lagUnits, p.type });
            }
        }
        m_rowCount = m_relations.size();
    }
    endResetModel();
}

QVariant MPPTaskPredModel::typeCode(qint16 type)
{
    switch (type) {
    case 0:
        return QStringLiteral("PR_FF");
    case 1:
        return QStringLiteral("PR_FS");
    case 2:
        return QStringLiteral("PR_SF");
    case 3:
        return QStringLiteral("PR_SS");
    default:
        return QVariant();
    }
}

QVariant MPPTaskPredModel::cell(int row, int column) const
{
    const Relation &r = m_relations.at(row);
    switch (column) {
    case TaskId:
        return uint(r.taskUniqueId);
    case PredTaskId:
        return uint(r.predUniqueId);
    case PredProjId:
        return 1;
    case PredType:
        return typeCode(r.type);
    case LagHrCnt:
        // The unit code only says how the authoring tool displays the lag; the stored value is
        // always tenths of a minute, except for percentage lags, which have no hour value.
        if (MPPUnits::isPercentLagUnit(r.lagUnit))
            return QVariant();
        return r.lag / 600.0;
    default:
        return QVariant();
    }
}
