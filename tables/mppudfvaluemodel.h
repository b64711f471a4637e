// UDFVALUE: 120 rows per task (every task record, blank and short ones included), one per
// user defined field type of UDFTYPE; row r is field r mod 120 of the (r / 120)-th task.
#pragma once

#include "tables/mppmodel.h"

#include <QHash>

namespace mppr {
struct Task;
}

class MPPUdfValueModel : public MPPModel
{
    Q_OBJECT

public:
    enum Column { UdfTypeId, FkId, ProjId, UdfDate, UdfText, UdfNumber, UdfCodeId, ColumnCount };

    explicit MPPUdfValueModel(QObject *parent = nullptr);

    void setProject(mppr::Project *project) override;

    // The field type ids present (0 to 119 when there is at least one task, else none).
    QVector<int> typeIds() const;
    // The row holding field `typeId` of the task with `taskUniqueId`, or -1; constant time,
    // so a one-row-per-activity view of the fields costs no scan of all rows of a task.
    int valueRow(qint32 taskUniqueId, int typeId) const;
    // The value of field `typeId` of a task (a text, a date, a double or
    // "Yes"/"No" for a flag; no value for unset dates and for numbers, dates and flags not stored).
    static QVariant fieldValue(const mppr::Task &task, int typeId);
    // The field's value found once for its three value columns.
    void rowCells(int row, QVariant *cells) const override;

protected:
    QVariant cell(int row, int column) const override;

private:
    QVector<mppr::Task *> m_tasks;
    QHash<qint32, int> m_taskPositions; // unique id -> first position in m_tasks
};
