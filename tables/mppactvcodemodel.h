// ACTVCODE: activity code values. An MPP file has none, so the table is empty; its headers
// still answer so that joins and lookups by header text work on it.
#pragma once

#include "tables/mppmodel.h"

class MPPActvCodeModel : public MPPModel
{
    Q_OBJECT

public:
    explicit MPPActvCodeModel(QObject *parent = nullptr);

protected:
    QVariant cell(int row, int column) const override;
};
