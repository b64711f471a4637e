// TASKACTV: activity code assignments, one row per task and outline code it holds a value of,
// ascending by task unique id and code number. Unlike the other tables it carries no object
// name.
#pragma once

#include "tables/mppmodel.h"

#include <QVector>

class MPPTaskActiveModel : public MPPModel
{
    Q_OBJECT

public:
    enum Column { TaskId, ActvCodeTypeId, ActvCodeId, ProjId, ColumnCount = 6 };

    explicit MPPTaskActiveModel(QObject *parent = nullptr);

    void setProject(mppr::Project *project) override;

protected:
    QVariant cell(int row, int column) const override;

private:
    struct Row
    {
        qint32 taskUniqueId;
        int codeNumber;
        qint32 valueUniqueId;
    };
    QVector<Row> m_rows;
};
