// ACTVTYPE: activity code types. An MPP file has none, so the table is empty; its headers
// still answer so that joins and lookups by header text work on it.
#pragma once

#include "tables/mppemptymodel.h"

class MPPActvTypeModel : public MPPEmptyModel
{
    Q_OBJECT

public:
    explicit MPPActvTypeModel(QObject *parent = nullptr);
};
