// ACTVTYPE: activity code types. An MPP file has none, so the table is empty; its headers
// still answer so that joins and lookups by header text work on it.
#pragma once

#include "tables/mppmodel.h"

class MPPActvTypeModel : public MPPModel
{
    Q_OBJECT

public:
    explicit MPPActvTypeModel(QObject *parent = nullptr);

protected:
    QVariant cell(int row, int column) const override;
};
