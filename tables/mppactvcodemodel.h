// ACTVCODE: activity code values. An MPP file has none, so the table is empty; its headers
// still answer so that joins and lookups by header text work on it.
#pragma once

#include "tables/mppemptymodel.h"

class MPPActvCodeModel : public MPPEmptyModel
{
    Q_OBJECT

public:
    explicit MPPActvCodeModel(QObject *parent = nullptr);
};
