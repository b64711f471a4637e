#include "models/ryrollup.h"

#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "models/rymodellookup.h"
#include "models/ryparentitemproxymodel.h"
#include "models/ryvalueorder.h"

#include <QVariantMap>

namespace RyRollUp {

namespace {

QVector<QVariant> readValues(const QModelIndex &row, const QVector<Column> &columns)
{
    const QModelIndex source = RyModelLookup::columnPreservingSource(row);
    const QAbstractItemModel *model = source.model();
    QVector<QVariant> values;
    values.reserve(columns.size());
    // A joined table's cells read from the tables behind it: a schedule has many date columns
    // and tens of thousands of rows, and the join would resolve every cell's column again.
    if (const auto *join = qobject_cast<const RyJoinProxyModel *>(model)) {
        for (const Column &c : columns) {
            const QModelIndex cell = join->cellSource(source.row(), c.column);
            values.append(cell.isValid() ? cell.data()
                                         : source.sibling(source.row(), c.column).data());
        }
        return values;
    }
    const QModelIndex parent = source.parent();
    for (const Column &c : columns)
        values.append(model ? model->index(source.row(), c.column, parent).data() : QVariant());
    return values;
}

void offer(QVector<QVariant> &best, const QVector<QVariant> &values, const QVector<Column> &columns)
{
    for (int k = 0; k < columns.size(); ++k) {
        const QVariant &value = values.at(k);
        if (value.isNull())
            continue;
        const bool better = columns.at(k).pick == Smallest
            ? RyValueOrder::lessThan(value, best.at(k))
            : RyValueOrder::lessThan(best.at(k), value);
        if (best.at(k).isNull() || better)
            best[k] = value;
    }
}

} // namespace

void rollUp(QAbstractItemModel *model, const QVector<Column> &columns, int role)
{
    if (!model || columns.isEmpty())
        return;
    // An explicit stack of open rows: schedules can nest deeper than the call stack. Each level
    // gathers the best values of its children and hands them to its parent when it closes.
    struct Level
    {
        QModelIndex index;
        int next;
        int count;
        QVector<QVariant> best;
    };
    QVector<Level> stack { { QModelIndex(), 0, model->rowCount(),
                             QVector<QVariant>(columns.size()) } };
    while (!stack.isEmpty()) {
        Level &top = stack.last();
        if (top.next < top.count) {
            const QModelIndex child = model->index(top.next++, 0, top.index);
            if (model->hasChildren(child))
                stack.append(
                    { child, 0, model->rowCount(child), QVector<QVariant>(columns.size()) });
            else if (stack.size() > 1) // nothing above the top level takes its rows' values
                offer(top.best, readValues(child, columns), columns);
            continue;
        }
        Level done = stack.takeLast();
        if (stack.isEmpty())
            break;
        const int row = done.index.row();
        for (int k = 0; k < columns.size(); ++k) {
            const QModelIndex cell = done.index.sibling(row, columns.at(k).column);
            if (done.best.at(k).isNull())
                done.best[k] = cell.data();
            else
                model->setData(cell, done.best.at(k), role);
        }
        if (stack.size() > 1)
            offer(stack.last().best, done.best, columns);
    }
}

QVector<Column> dateColumns(const QAbstractItemModel *model)
{
    QVector<Column> columns;
    if (!model)
        return columns;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QVariantMap description
            = model->headerData(column, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
        if (description.value(QStringLiteral("datatype")).toString() != QLatin1String("datetime"))
            continue;
        const QString text = model->headerData(column, Qt::Horizontal).toString().toLower();
        if (text.contains(QLatin1String("start")))
            columns.append({ column, Smallest });
        else if (text.contains(QLatin1String("finish")))
            columns.append({ column, Largest });
    }
    return columns;
}

void rollUpDates(QAbstractItemModel *model)
{
    rollUp(model, dateColumns(model));
}

} // namespace RyRollUp
