// TASKACTV: activity code assignments. An MPP file has none, so the table is empty; its headers
// still answer. Unlike the other tables it carries no object name.
#pragma once

#include "tables/mppmodel.h"

class MPPTaskActiveModel : public MPPModel
{
    Q_OBJECT

public:
    explicit MPPTaskActiveModel(QObject *parent = nullptr);

protected:
    QVariant cell(int row, int column) const override;
};
