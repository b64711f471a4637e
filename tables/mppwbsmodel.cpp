#include "tables/mppwbsmodel.h"

#include "mppr/project.h"

#include <QSet>

#include <algorithm>

MPPWBSModel::MPPWBSModel(QObject *parent)
    : MPPModel(QStringLiteral("PROJWBS"),
               { "wbs_id", "seq_num", "wbs_short_name", "wbs_name", "parent_wbs_id",
                 "anticip_start_date", "anticip_end_date" },
               ColumnCount, parent)
{
}

void MPPWBSModel::setProject(mppr::Project *project)
{
    m_project = project;
    beginResetModel();
    m_tasks.clear();
    m_rowCount = 0;
    if (project) {
        QSet<qint32> parentSet;
        for (const mppr::Task *task : project->tasks()) {
            if (!task->blankRecord && !task->shortRecord && task->parentUniqueId != -1)
                parentSet.insert(task->parentUniqueId);
        }
        QVector<qint32> parents(parentSet.cbegin(), parentSet.cend());
        std::sort(parents.begin(), parents.end());
        m_tasks.reserve(parents.size());
        for (qint32 id : qAsConst(parents))
            m_tasks.append(project->task(id));
        m_rowCount = m_tasks.size();
    }
    endResetModel();
}

const mppr::Task *MPPWBSModel::task(int row) const
{
    return row >= 0 && row < m_tasks.size() ? m_tasks.at(row) : nullptr;
}

void *MPPWBSModel::rowPointer(int row) const
{
    return m_tasks.at(row);
}

QVariant MPPWBSModel::cell(int row, int column) const
{
    const mppr::Task *t = m_tasks.at(row);
    if (!t)
        return QVariant();
    switch (column) {
    case WbsId:
        return uint(t->uniqueId);
    case SeqNum:
        return row;
    case WbsShortName:
        return t->code;
    case WbsName:
        return t->name;
    case ParentWbsId:
        return t->parentUniqueId == -1 ? QVariant() : QVariant(uint(t->parentUniqueId));
    default:
        return QVariant();
    }
}
