// The tables an MPP file has nothing for (activity codes, their types and assignments): no
// rows, only their headers, so that joins and lookups by header text work on them.
#pragma once

#include "tables/mppmodel.h"

class MPPEmptyModel : public MPPModel
{
    Q_OBJECT

public:
    using MPPModel::MPPModel;

protected:
    QVariant cell(int row, int column) const override;
};
