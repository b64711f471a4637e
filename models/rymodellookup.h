// Finding cells in item models: a column by its header text, a row by a cell's value, and walks
// over a tree's rows.
#pragma once

#include <functional>

#include <QModelIndex>
#include <QString>
#include <QVariant>
#include <QVector>

class QAbstractItemModel;

namespace RyModelLookup {

// First column whose horizontal display-role header, as text, equals `text` exactly; -1 when
// none or without a model.
int findColumn(const QAbstractItemModel *model, const QString &text);
// Index at `returnColumn` of the first row (searched through child rows too) whose display
// value at `lookupColumn` equals `value`; invalid when there is none.
QModelIndex verticalLookup(const QVariant &value, const QAbstractItemModel *model, int returnColumn,
                           int lookupColumn);
// Number of valid ancestors (0 for a top-level row).
int indexDepth(const QModelIndex &index);
// Every row below `parent` in depth-first pre-order, as column-0 indexes; with `depths`, each
// one's indexDepth() besides, found on the way.
QModelIndexList flattenIndexes(const QAbstractItemModel *model,
                               const QModelIndex &parent = QModelIndex(),
                               QVector<int> *depths = nullptr);
// Calls `visit` with each row flattenIndexes() lists and its depth, in that order, without
// making the list: a walk over hundreds of thousands of rows need not hold them all.
void forEachIndex(const QAbstractItemModel *model,
                  const std::function<void(const QModelIndex &, int)> &visit,
                  const QModelIndex &parent = QModelIndex());
// The index below the proxies that keep the column numbering and pass cells through as they
// are (filtering and sorting, the tree of parent items), so that reading many cells of a row
// maps the row once instead of once a cell.
QModelIndex columnPreservingSource(QModelIndex index);

} // namespace RyModelLookup
