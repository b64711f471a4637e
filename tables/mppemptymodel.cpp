#include "tables/mppemptymodel.h"

QVariant MPPEmptyModel::cell(int, int) const
{
    return QVariant();
}
