#include "filter/ryfilterproxymodel.h"

RyFilterProxyModel::RyFilterProxyModel(QObject *parent)
    : QSortFilterProxyModel(parent)
{
}

Qt::ItemFlags RyFilterProxyModel::flags(const QModelIndex &index) const
{
    return QSortFilterProxyModel::flags(index) & ~Qt::ItemIsEditable;
}

bool RyFilterProxyModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (sourceRow == 0 && !sourceParent.isValid())
        return true;
    return QSortFilterProxyModel::filterAcceptsRow(sourceRow, sourceParent);
}
