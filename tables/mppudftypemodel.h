// UDFTYPE: the 120 fixed user defined field types of a task: 30 texts, 10 start dates,
// 10 finish dates, 10 costs and 10 durations (type ids 0 to 69), then 20 numbers, 10 dates and
// 20 flags (70 to 119, added later: the earlier ids keep their fields). A field's label is the
// alias the schedule's author gave it, else its name ("Text 1").
#pragma once

#include "tables/mppmodel.h"

class MPPUdfTypeModel : public MPPModel
{
    Q_OBJECT

public:
    enum Column { UdfTypeId, TableName, UdfTypeName, UdfTypeLabel, LogicalDataType, ColumnCount };
    static constexpr int FieldCount = 120;
    // The types 0 to 69, which views have always shown; the later ones join after them.
    static constexpr int EarlierFieldCount = 70;

    explicit MPPUdfTypeModel(QObject *parent = nullptr);

    void setProject(mppr::Project *project) override;

    // The task custom field (mppr/customfields.h index) of a type id, or -1.
    static int customFieldOfType(int typeId);
    // The label without an alias: "Text 1", "Start date 1".
    QString defaultLabel(int typeId) const;

protected:
    QVariant cell(int row, int column) const override;

private:
    QStringList m_names;
};
