// PROJWBS: one row per summary task (a task that is another task's parent), by ascending id.
#pragma once

#include "tables/mppmodel.h"

namespace mppr {
struct Task;
}

class MPPWBSModel : public MPPModel
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

    void setProject(mppr::Project *project) override;

    // Null for a parent id that names no task record.
    const mppr::Task *task(int row) const;

protected:
    QVariant cell(int row, int column) const override;
    void *rowPointer(int row) const override;

private:
    QVector<mppr::Task *> m_tasks;
};
