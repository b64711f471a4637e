// A row of standard items holding the given values in their display role.
#pragma once

#include <QStandardItem>
#include <QVariantList>

inline QList<QStandardItem *> rowOf(const QVariantList &values)
{
    QList<QStandardItem *> items;
    for (const QVariant &v : values) {
        auto *item = new QStandardItem;
        item->setData(v, Qt::DisplayRole);
        items << item;
    }
    return items;
}
