// PROJWBS: one row per summary task (a task that is another task's parent), by ascending id.
#pragma once

#include "tables/mpprecordmodel.h"

namespace mppr {
struct Task;
}

class MPPWBSModel : public MPPRecordModel<mppr::Task>
{
    Q_OBJECT

public:
    enum Column {
        WbsId,
        SeqNum,
        WbsShortName,
        WbsName,
        ParentWbsId,
        AnticipStartDate,
        AnticipEndDate,
        ColumnCount
    };

    explicit MPPWBSModel(QObject *parent = nullptr);

    // Null for a parent id that names no task record.
    const mppr::Task *task(int row) const;

protected:
    QVector<mppr::Task *> records(const mppr::Project &project) const override;
    QVariant cell(int row, int column) const override;
    void *rowPointer(int row) const override;
};
