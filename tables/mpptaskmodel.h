// TASK: one row per activity, i.e. every readable task that is no other task's parent.
#pragma once

#include "tables/mppmodel.h"

#include <optional>

namespace mppr {
struct Calendar;
struct Task;
} // namespace mppr

class MPPTaskModel : public MPPModel
{
    Q_OBJECT

public:
    enum Column {
        TaskId,
        ProjId,
        WbsId,
        ClndrId,
        TaskType,
        TaskCode,
        TaskName,
        RsrcId,
        TotalFloatHrCnt,
        FreeFloatHrCnt,
        RemainDrtnHrCnt,
        ActWorkQty,
        RemainWorkQty,
        TargetWorkQty,
        TargetDrtnHrCnt,
        TargetEquipQty,
        ActEquipQty,
        RemainEquipQty,
        CstrDate,
        ActStartDate,
        ActEndDate,
        LateStartDate,
        LateEndDate,
        ExpectEndDate,
        EarlyStartDate,
        EarlyEndDate,
        RestartDate,
        ReendDate,
        ParentUid,
        CalcStartDate,
        CalcEndDate,
        TaskProgress,
        // Baseline (0). Kept last: the activity model joins them after all its other columns.
        BlProjectStartDate,
        BlProjectEndDate,
        BlProjectDrtnHrCnt,
        BlProjectWorkQty,
        BlProjectTotalCost,
        // The note's first line; the whole note is the cell's tool tip. Joins after the
        // baseline group, as a column added later.
        TaskNotes,
        // The constraint as a P6 code, none for As Soon As Possible.
        CstrType,
        // The task's own calendar's name, the project calendar's where it has none.
        ClndrName,
        ColumnCount
    };

    explicit MPPTaskModel(QObject *parent = nullptr);

    void setProject(mppr::Project *project) override;
    // Only parent_uid is writable (display role); the write emits no dataChanged.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool isColumnWritable(int column) const override { return column == ParentUid; }
    int itemRoleOfColumn(int column) const override;

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    const mppr::Task *task(int row) const;

    // The first non-unset of actual, early, late and shown start (finish).
    static QDateTime derivedStart(const mppr::Task &task);
    static QDateTime derivedFinish(const mppr::Task &task);
    // The total float in tenths of a minute: the smaller of start and finish slack; none
    // without both.
    static std::optional<qint32> totalFloat(const mppr::Task &task);

protected:
    QVariant cell(int row, int column) const override;
    QVariant toolTip(int row, int column) const override;
    void *rowPointer(int row) const override;

private:
    const mppr::Calendar *calendarOf(const mppr::Task &task) const;

    QVector<mppr::Task *> m_tasks;
    QVector<QVariant> m_parentUids;
};
