// TASKACTV: activity code assignments. An MPP file has none, so the table is empty; its headers
// still answer. Unlike the other tables it carries no object name.
#pragma once

#include "tables/mppemptymodel.h"

class MPPTaskActiveModel : public MPPEmptyModel
{
    Q_OBJECT

public:
    explicit MPPTaskActiveModel(QObject *parent = nullptr);
};
