#include "models/rymodellookup.h"

#include "models/modelslogging.h"
#include "models/ryparentitemproxymodel.h"

#include <QAbstractItemModel>
#include <QSortFilterProxyModel>
#include <QVector>

namespace RyModelLookup {

QModelIndex columnPreservingSource(QModelIndex index)
{
    for (int depth = 0; depth < 8; ++depth) {
        if (auto *filter = qobject_cast<const QSortFilterProxyModel *>(index.model()))
            index = filter->mapToSource(index);
        else if (auto *tree = qobject_cast<const RyParentItemProxyModel *>(index.model()))
            index = tree->mapToSource(index);
        else
            break;
    }
    return index;
}

int findColumn(const QAbstractItemModel *model, const QString &text)
{
    if (!model)
        return -1;
    const int columns = model->columnCount();
    for (int c = 0; c < columns; ++c) {
        if (model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString() == text)
            return c;
    }
    return -1;
}

QModelIndex verticalLookup(const QVariant &value, const QAbstractItemModel *model, int returnColumn,
                           int lookupColumn)
{
    if (!model)
        return QModelIndex();
    const int columns = model->columnCount();
    if (returnColumn < 0 || returnColumn >= columns) {
        qCWarning(lcModels) << "Invalid return column passed to verticalLookup";
        return QModelIndex();
    }
    if (lookupColumn < 0 || lookupColumn >= columns) {
        qCWarning(lcModels) << "Invalid lookup column passed to verticalLookup";
        return QModelIndex();
    }
    const QModelIndexList hits = model->match(model->index(0, lookupColumn), Qt::DisplayRole, value,
                                              1, Qt::MatchExactly | Qt::MatchRecursive);
    if (hits.isEmpty())
        return QModelIndex();
    const QModelIndex hit = hits.first();
    return model->index(hit.row(), returnColumn, hit.parent());
}

int indexDepth(const QModelIndex &index)
{
    int depth = 0;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        ++depth;
    return depth;
}

QModelIndexList flattenIndexes(const QAbstractItemModel *model, const QModelIndex &parent,
                               QVector<int> *depths)
{
    QModelIndexList result;
    if (depths)
        depths->clear();
    forEachIndex(
        model,
        [&](const QModelIndex &index, int depth) {
            result.append(index);
            if (depths)
                depths->append(depth);
        },
        parent);
    return result;
}

void forEachIndex(const QAbstractItemModel *model,
                  const std::function<void(const QModelIndex &, int)> &visit,
                  const QModelIndex &parent)
{
    if (!model)
        return;
    const int baseDepth = parent.isValid() ? indexDepth(parent) + 1 : 0;
    // An explicit stack of (parent, next child row): schedules can nest deeper than the call stack.
    // Each level keeps its row count, and leaves are recognised by hasChildren: a sorting proxy
    // builds a mapping for every index it is asked the row count of.
    struct Level
    {
        QModelIndex parent;
        int next;
        int count;
    };
    QVector<Level> stack { { parent, 0, model->rowCount(parent) } };
    while (!stack.isEmpty()) {
        Level &top = stack.last();
        if (top.next >= top.count) {
            stack.removeLast();
            continue;
        }
        const QModelIndex child = model->index(top.next++, 0, top.parent);
        visit(child, baseDepth + stack.size() - 1);
        if (model->hasChildren(child))
            stack.append({ child, 0, model->rowCount(child) });
    }
}

} // namespace RyModelLookup
