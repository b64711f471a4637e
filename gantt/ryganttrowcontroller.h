// Which rows the Gantt chart shows and where: the chart asks its row controller instead of
// walking a model itself, so that its rows are the rows of the tree it sits beside.
#pragma once

#include <QModelIndex>
#include <QVector>

#include <functional>

class RyGanttRowController
{
public:
    virtual ~RyGanttRowController() = default;

    // Shown rows in display order (column 0); row r of the chart is entry r.
    virtual const QVector<QModelIndex> &visibleRows() const = 0;
    // Position of `index`'s row among the shown rows, -1 when it is not shown.
    virtual int rowOf(const QModelIndex &index) const = 0;
    virtual int rowHeight() const = 0;
    // Every row of the model, shown or not, parents before their children.
    using RowVisitor = std::function<void(const QModelIndex &parent, int row)>;
    virtual void forEachRow(const RowVisitor &visit) const = 0;
    // The shown rows changed (expanded, collapsed, rows came or went): asked again on next use.
    virtual void invalidate() = 0;

    int rowCount() const { return visibleRows().size(); }
    int rowY(int row) const { return row * rowHeight(); }
    int totalHeight() const { return rowCount() * rowHeight(); }
    // The shown row at content height `y`, invalid outside the rows.
    QModelIndex indexAtY(int y) const
    {
        if (y < 0)
            return QModelIndex();
        const int row = y / rowHeight();
        return row < rowCount() ? visibleRows().at(row) : QModelIndex();
    }
};
