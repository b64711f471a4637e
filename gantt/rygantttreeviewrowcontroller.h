// The row controller of a chart beside a tree view: a row is shown when none of its ancestors
// is collapsed in the tree. Without a tree, or while the tree shows another model, every row
// counts as expanded. Neither the tree nor the model is owned.
#pragma once

#include "gantt/ryganttrowcontroller.h"

#include <QHash>
#include <QPointer>

class QAbstractItemModel;
class QTreeView;

class RyGanttTreeViewRowController : public RyGanttRowController
{
public:
    explicit RyGanttTreeViewRowController(QTreeView *tree = nullptr);

    void setTreeView(QTreeView *tree);
    QTreeView *treeView() const;
    // The model whose rows are laid out: the chart's, which the tree normally shares.
    void setModel(const QAbstractItemModel *model);

    const QVector<QModelIndex> &visibleRows() const override;
    int rowOf(const QModelIndex &index) const override;
    int rowHeight() const override;
    void forEachRow(const RowVisitor &visit) const override;
    void invalidate() override;

private:
    void rebuild() const;

    QPointer<QTreeView> m_tree;
    QPointer<const QAbstractItemModel> m_model;
    mutable bool m_dirty = true;
    mutable QVector<QModelIndex> m_rows;
    mutable QHash<QModelIndex, int> m_positions;
};
