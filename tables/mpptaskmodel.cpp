#include "tables/mpptaskmodel.h"

#include "models/ryconstants.h"
#include "mppr/project.h"
#include "tables/mppunits.h"

#include <QSet>

#include <algorithm>

namespace {

bool readable(const mppr::Task *task)
{
    return !task->blankRecord && !task->shortRecord;
}

const QDateTime &firstSet(const QDateTime &a, const QDateTime &b, const QDateTime &c,
                          const QDateTime &d)
{
    if (!mppr::isUnset(a))
        return a;
    if (!mppr::isUnset(b))
        return b;
    if (!mppr::isUnset(c))
        return c;
    return d;
}

QVariant taskType(const mppr::Task &task)
{
    const QDateTime finish = MPPTaskModel::derivedFinish(task);
    if (!mppr::isUnset(finish) && MPPTaskModel::derivedStart(task) == finish)
        return QStringLiteral("TT_Mile");
    return QStringLiteral("TT_Task");
}

// Baseline (0) values; a task without that baseline has none.
QVariant baselineCell(const mppr::Task &task, int column)
{
    const mppr::Baseline *b = task.baseline(0);
    if (!b)
        return QVariant();
    switch (column) {
    case MPPTaskModel::BlProjectStartDate:
        return mppr::isUnset(b->start) ? QVariant() : QVariant(b->start);
    case MPPTaskModel::BlProjectEndDate:
        return mppr::isUnset(b->finish) ? QVariant() : QVariant(b->finish);
    case MPPTaskModel::BlProjectDrtnHrCnt:
        return MPPUnits::durationHours(b->duration);
    case MPPTaskModel::BlProjectWorkQty:
        return MPPUnits::workHours(b->work);
    default:
        return b->cost ? QVariant(*b->cost) : QVariant();
    }
}

QVariant constraintCode(qint32 type)
{
    // Start and finish "on or before/after" are P6's names for "no earlier/later than".
    static const char *const codes[]
        = { nullptr, "CS_ALAP", "CS_MSO", "CS_MEO", "CS_MSOA", "CS_MSOB", "CS_MEOA", "CS_MEOB" };
    if (type <= mppr::AsSoonAsPossible || type > mppr::FinishNoLaterThan)
        return QVariant();
    return QString::fromLatin1(codes[type]);
}

} // namespace

MPPTaskModel::MPPTaskModel(QObject *parent)
    : MPPModel(QStringLiteral("TASK"),
               { "task_id",
                 "proj_id",
                 "wbs_id",
                 "clndr_id",
                 "task_type",
                 "task_code",
                 "task_name",
                 "rsrc_id",
                 "total_float_hr_cnt",
                 "free_float_hr_cnt",
                 "remain_drtn_hr_cnt",
                 "act_work_qty",
                 "remain_work_qty",
                 "target_work_qty",
                 "target_drtn_hr_cnt",
                 "target_equip_qty",
                 "act_equip_qty",
                 "remain_equip_qty",
                 "cstr_date",
                 "act_start_date",
                 "act_end_date",
                 "late_start_date",
                 "late_end_date",
                 "expect_end_date",
                 "early_start_date",
                 "early_end_date",
                 "restart_date",
                 "reend_date",
                 "parent_uid",
                 "calc_start_date",
                 "calc_end_date",
                 "task_progress",
                 "bl_project_start_date",
                 "bl_project_end_date",
                 "bl_project_drtn_hr_cnt",
                 "bl_project_work_qty",
                 "bl_project_total_cost",
                 "task_notes",
                 "cstr_type",
                 "clndr_name" },
               ColumnCount, parent)
{
}

void MPPTaskModel::setProject(mppr::Project *project)
{
    beginResetModel();
    m_tasks.clear();
    m_parentUids.clear();
    m_project = project;
    m_rowCount = 0;
    if (project) {
        const auto &tasks = project->tasks();
        QSet<qint32> parents;
        parents.reserve(tasks.size());
        for (const mppr::Task *task : tasks) {
            if (readable(task))
                parents.insert(task->parentUniqueId);
        }
        m_tasks.reserve(tasks.size());
        for (mppr::Task *task : tasks) {
            if (readable(task) && !parents.contains(task->uniqueId))
                m_tasks.append(task);
        }
        m_parentUids.resize(m_tasks.size());
        m_rowCount = m_tasks.size();
    }
    endResetModel();
}

bool MPPTaskModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::DisplayRole || !inRange(index) || index.column() != ParentUid)
        return false;
    m_parentUids[index.row()] = value;
    return true;
}

int MPPTaskModel::itemRoleOfColumn(int column) const
{
    switch (column) {
    case CalcStartDate:
        return Ry::StartRole;
    case CalcEndDate:
        return Ry::FinishRole;
    case TaskType:
        return Ry::RowTypeRole;
    case TotalFloatHrCnt:
        return Ry::TotalFloatRole;
    case BlProjectStartDate:
        return Ry::BaselineStartRole;
    case BlProjectEndDate:
        return Ry::BaselineFinishRole;
    default:
        return -1;
    }
}

QVariant MPPTaskModel::data(const QModelIndex &index, int role) const
{
    if (role != Ry::SegmentsRole)
        return MPPModel::data(index, role);
    // The parts go with the start cell, so that every proxy passing that cell passes them.
    if (!inRange(index) || index.column() != CalcStartDate)
        return QVariant();
    const auto &segments = m_tasks.at(index.row())->segments;
    if (segments.isEmpty())
        return QVariant();
    QVariantList parts;
    parts.reserve(segments.size());
    for (const mppr::Task::Segment &segment : segments)
        parts.append(QVariant(QVariantList { segment.start, segment.finish }));
    return parts;
}

const mppr::Calendar *MPPTaskModel::calendarOf(const mppr::Task &task) const
{
    const mppr::Calendar *own
        = task.calendarUniqueId ? m_project->calendar(*task.calendarUniqueId) : nullptr;
    return own ? own : m_project->projectCalendar();
}

const mppr::Task *MPPTaskModel::task(int row) const
{
    return row >= 0 && row < m_tasks.size() ? m_tasks.at(row) : nullptr;
}

QDateTime MPPTaskModel::derivedStart(const mppr::Task &task)
{
    return firstSet(task.actualStart, task.earlyStart, task.lateStart, task.start);
}

QDateTime MPPTaskModel::derivedFinish(const mppr::Task &task)
{
    return firstSet(task.actualFinish, task.earlyFinish, task.lateFinish, task.finish);
}

std::optional<qint32> MPPTaskModel::totalFloat(const mppr::Task &task)
{
    // Without both slack fields the float is unknown, not zero.
    if (!task.startSlack || !task.finishSlack)
        return std::nullopt;
    return std::min(*task.startSlack, *task.finishSlack);
}

QVariant MPPTaskModel::toolTip(int row, int column) const
{
    return column == TaskNotes ? noteValue(m_tasks.at(row)->notes, Qt::ToolTipRole) : QVariant();
}

void *MPPTaskModel::rowPointer(int row) const
{
    return m_tasks.at(row);
}

QVariant MPPTaskModel::cell(int row, int column) const
{
    const mppr::Task &t = *m_tasks.at(row);
    switch (column) {
    case TaskId:
        return uint(t.uniqueId);
    case ProjId:
        return 1;
    case ClndrId:
        return calendarOf(t) ? QVariant(uint(calendarOf(t)->uniqueId)) : QVariant();
    case ClndrName:
        return calendarOf(t) ? QVariant(calendarOf(t)->name) : QVariant();
    case WbsId:
        return t.parentUniqueId == -1 ? QVariant() : QVariant(uint(t.parentUniqueId));
    case TaskType:
        return taskType(t);
    case TaskCode:
        return t.code;
    case TaskName:
        return t.name;
    case TotalFloatHrCnt:
        return MPPUnits::durationHours(totalFloat(t));
    case FreeFloatHrCnt:
        return MPPUnits::durationHours(t.tf15);
    case RemainDrtnHrCnt:
        return MPPUnits::durationHours(t.tf1f);
    case ActWorkQty:
        return MPPUnits::workHours(t.actualWork);
    case RemainWorkQty:
        return MPPUnits::workHours(t.tf04);
    case TargetWorkQty:
        return MPPUnits::workHours(t.work);
    case TargetDrtnHrCnt:
        return MPPUnits::durationHours(t.duration);
    case CstrType:
        return constraintCode(t.tf11);
    case CstrDate:
        return dateValue(t.constraintDate);
    case ActStartDate:
        return dateValue(t.actualStart);
    case ActEndDate:
        return dateValue(t.actualFinish);
    case LateStartDate:
        return dateValue(t.lateStart);
    case LateEndDate:
        return dateValue(t.lateFinish);
    case EarlyStartDate:
        return dateValue(t.earlyStart);
    case EarlyEndDate:
        return dateValue(t.earlyFinish);
    case ParentUid:
        return m_parentUids.at(row);
    case CalcStartDate:
        return dateValue(derivedStart(t));
    case CalcEndDate:
        return dateValue(derivedFinish(t));
    case TaskProgress:
        // Files whose layout holds no percent complete have no progress, which is not 0%.
        return m_project->hasPercentComplete() ? QVariant(t.percentComplete) : QVariant();
    case BlProjectStartDate:
    case BlProjectEndDate:
    case BlProjectDrtnHrCnt:
    case BlProjectWorkQty:
    case BlProjectTotalCost:
        return baselineCell(t, column);
    case TaskNotes:
        return noteValue(t.notes, Qt::DisplayRole);
    default:
        // rsrc_id, the equipment quantities (the file has no non-labour units per task),
        // expect_end_date, restart_date, reend_date.
        return QVariant();
    }
}
