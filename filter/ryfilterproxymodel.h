// Narrows the value list of the filter pop-up by its search text. Row 0 at the top level is the
// "(Select All)" item and always stays; nothing is editable through it.
#pragma once

#include <QSortFilterProxyModel>

class RyFilterProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit RyFilterProxyModel(QObject *parent = nullptr);

    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
};
