#include "tables/rycompareversion.h"

#include "models/ryconstants.h"
#include "tables/mppmodel.h"
#include "tables/projectloader.h"

#include <QAbstractItemModel>

namespace {

// The TASK column ids of the fields before Predecessors, in Field order.
constexpr std::array<const char *, RyCompareVersion::Predecessors> FieldColumns
    = { "task_name",          "wbs_id",
        "calc_start_date",    "calc_end_date",
        "target_drtn_hr_cnt", "remain_drtn_hr_cnt",
        "task_progress",      "total_float_hr_cnt",
        "cstr_type",          "cstr_date",
        "task_type",          "bl_project_start_date",
        "bl_project_end_date" };

constexpr std::array<const char *, RyCompareVersion::FieldCount> FieldNames = { "name",
                                                                                "wbs",
                                                                                "start",
                                                                                "finish",
                                                                                "duration",
                                                                                "remainingDuration",
                                                                                "percentComplete",
                                                                                "totalFloat",
                                                                                "constraintType",
                                                                                "constraintDate",
                                                                                "activityType",
                                                                                "baselineStart",
                                                                                "baselineFinish",
                                                                                "predecessors" };

// The P6-shaped tables know their column ids without a schema; other models name them in
// their headers.
int columnOfId(const QAbstractItemModel &model, const char *id)
{
    const QString name = QLatin1String(id);
    if (const auto *table = qobject_cast<const MPPModel *>(&model))
        return table->columnOf(name);
    const int columns = model.columnCount();
    for (int column = 0; column < columns; ++column) {
        if (model.headerData(column, Qt::Horizontal, Ry::ColumnIdRole).toString() == name)
            return column;
    }
    return -1;
}

QVariant cell(const QAbstractItemModel &model, int row, int column)
{
    return column < 0 ? QVariant() : model.index(row, column).data();
}

// Unique IDs come as unsigned or signed numbers, or as text in models read from elsewhere.
qint32 idValue(const QVariant &value, qint32 none)
{
    bool ok = false;
    const qint32 id = value.toInt(&ok);
    return ok ? id : none;
}

} // namespace

RyCompareVersion::RyCompareVersion(const QAbstractItemModel *tasks, const QAbstractItemModel *links,
                                   const QAbstractItemModel *wbs)
{
    if (tasks)
        readActivities(*tasks);
    if (links)
        readLinks(*links);
    if (wbs)
        readWbs(*wbs);
}

RyCompareVersion RyCompareVersion::fromLoader(const ProjectLoader &loader)
{
    const auto table = [&loader](const char *name) {
        return qobject_cast<const QAbstractItemModel *>(loader.model(QLatin1String(name)));
    };
    return RyCompareVersion(table("TASK"), table("TASKPRED"), table("PROJWBS"));
}

QString RyCompareVersion::fieldName(Field field)
{
    return field >= 0 && field < FieldCount ? QLatin1String(FieldNames[field]) : QString();
}

void RyCompareVersion::readActivities(const QAbstractItemModel &tasks)
{
    const int idColumn = columnOfId(tasks, "task_id");
    const int codeColumn = columnOfId(tasks, "task_code");
    std::array<int, Predecessors> columns;
    for (int field = 0; field < Predecessors; ++field)
        columns[field] = columnOfId(tasks, FieldColumns[field]);
    const int rows = tasks.rowCount();
    m_activities.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        Activity activity;
        activity.uniqueId = idValue(cell(tasks, row, idColumn), -1);
        // The project summary task is a row only in a project without tasks; it stands for
        // the file (its name is the file's title), not for work to compare.
        if (activity.uniqueId == ProjectSummaryUniqueId)
            continue;
        for (int field = 0; field < Predecessors; ++field)
            activity.values[field] = cell(tasks, row, columns[field]);
        activity.parent = idValue(activity.values[Wbs], -1);
        activity.code = cell(tasks, row, codeColumn);
        const QDateTime finish = activity.values[Finish].toDateTime();
        if (finish.isValid() && (!m_finish.isValid() || finish > m_finish))
            m_finish = finish;
        m_activities.append(activity);
    }
}

void RyCompareVersion::readLinks(const QAbstractItemModel &links)
{
    const int successor = columnOfId(links, "task_id");
    const int predecessor = columnOfId(links, "pred_task_id");
    const int type = columnOfId(links, "pred_type");
    const int lag = columnOfId(links, "lag_hr_cnt");
    const int rows = links.rowCount();
    m_links.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        m_links.append(Link { idValue(cell(links, row, predecessor), -1),
                              idValue(cell(links, row, successor), -1), cell(links, row, type),
                              cell(links, row, lag) });
    }
}

void RyCompareVersion::readWbs(const QAbstractItemModel &wbs)
{
    const int idColumn = columnOfId(wbs, "wbs_id");
    const int nameColumn = columnOfId(wbs, "wbs_name");
    const int parentColumn = columnOfId(wbs, "parent_wbs_id");
    struct Node
    {
        QString name;
        qint32 parent;
    };
    QHash<qint32, Node> nodes;
    const int rows = wbs.rowCount();
    nodes.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        const qint32 id = idValue(cell(wbs, row, idColumn), -1);
        if (!nodes.contains(id)) {
            nodes.insert(id,
                         Node { cell(wbs, row, nameColumn).toString(),
                                idValue(cell(wbs, row, parentColumn), -1) });
        }
    }
    // Each path is built once, from the nearest ancestor whose path is known; the walk up is
    // bounded by the node count so that a damaged file's parent cycle ends.
    m_wbsPaths.reserve(nodes.size());
    QVector<qint32> chain;
    for (auto it = nodes.cbegin(); it != nodes.cend(); ++it) {
        chain.clear();
        qint32 id = it.key();
        while (nodes.contains(id) && !m_wbsPaths.contains(id) && chain.size() <= nodes.size()) {
            chain.append(id);
            id = nodes.value(id).parent;
        }
        QString path = m_wbsPaths.value(id);
        for (int k = chain.size() - 1; k >= 0; --k) {
            const qint32 node = chain.at(k);
            if (m_wbsPaths.contains(node))
                break;
            path = path.isEmpty() ? nodes.value(node).name
                                  : path + QLatin1Char('/') + nodes.value(node).name;
            m_wbsPaths.insert(node, path);
        }
    }
}
