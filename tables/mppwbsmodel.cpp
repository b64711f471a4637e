#include "tables/mppwbsmodel.h"

#include "mppr/project.h"

#include <QSet>

#include <algorithm>

MPPWBSModel::MPPWBSModel(QObject *parent)
    : MPPRecordModel(QStringLiteral("PROJWBS"),
                     { "wbs_id", "seq_num", "wbs_short_name", "wbs_name", "parent_wbs_id",
                       "anticip_start_date", "anticip_end_date" },
                     ColumnCount, parent)
{
}

QVector<mppr::Task *> MPPWBSModel::records(const mppr::Project &project) const
{
    QSet<qint32> parentSet;
    for (const mppr::Task *task : project.tasks()) {
        if (!task->blankRecord && !task->shortRecord && task->parentUniqueId != -1)
            parentSet.insert(task->parentUniqueId);
    }
    QVector<qint32> parents(parentSet.cbegin(), parentSet.cend());
    std::sort(parents.begin(), parents.end());
    QVector<mppr::Task *> tasks;
    tasks.reserve(parents.size());
    for (qint32 id : qAsConst(parents))
        tasks.append(project.task(id));
    return tasks;
}

const mppr::Task *MPPWBSModel::task(int row) const
{
    return row >= 0 && row < m_records.size() ? m_records.at(row) : nullptr;
}

void *MPPWBSModel::rowPointer(int row) const
{
    return m_records.at(row);
}

QVariant MPPWBSModel::cell(int row, int column) const
{
    const mppr::Task *t = m_records.at(row);
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
