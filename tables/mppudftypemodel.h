// UDFTYPE: the 70 fixed user defined field types of a task: 30 texts, 10 start dates,
// 10 finish dates, 10 costs and 10 durations, with type ids 0 to 69.
#pragma once

#include "tables/mppmodel.h"

class MPPUdfTypeModel : public MPPModel
{
    Q_OBJECT

public:
    enum Column { UdfTypeId, TableName, UdfTypeName, UdfTypeLabel, LogicalDataType, ColumnCount };
    static constexpr int FieldCount = 70;

    explicit MPPUdfTypeModel(QObject *parent = nullptr);

    void setProject(mppr::Project *project) override;

protected:
    QVariant cell(int row, int column) const override;

private:
    QStringList m_names;
};
