#include "gantt/rygantttreeviewrowcontroller.h"

#include "models/ryconstants.h"

#include <QTreeView>

namespace {

// Pre-order walk without recursion; each level keeps its row count. The children of a row
// collapsed in `tree` count as hidden, and are skipped when `skipHidden` is set.
struct Level
{
    QModelIndex parent;
    int next;
    int count;
    bool shown;
};

template<typename Visit>
void walk(const QAbstractItemModel *model, const QTreeView *tree, bool skipHidden, Visit visit)
{
    QVector<Level> stack { { QModelIndex(), 0, model->rowCount(), true } };
    while (!stack.isEmpty()) {
        Level &top = stack.last();
        if (top.next >= top.count) {
            stack.removeLast();
            continue;
        }
        const bool shown = top.shown;
        const QModelIndex parent = top.parent; // `top` moves when the stack grows
        const int row = top.next++;
        const QModelIndex index = model->index(row, 0, parent);
        visit(parent, row, index, shown);
        // Asking a sorting proxy for the row count of a leaf builds a mapping for it;
        // hasChildren answers from the source first.
        const int children = model->hasChildren(index) ? model->rowCount(index) : 0;
        if (children > 0 && (shown || !skipHidden))
            stack.append({ index, 0, children, shown && (!tree || tree->isExpanded(index)) });
    }
}

} // namespace

RyGanttTreeViewRowController::RyGanttTreeViewRowController(QTreeView *tree)
    : m_tree(tree)
{
}

void RyGanttTreeViewRowController::setTreeView(QTreeView *tree)
{
    m_tree = tree;
    invalidate();
}

QTreeView *RyGanttTreeViewRowController::treeView() const
{
    return m_tree;
}

void RyGanttTreeViewRowController::setModel(const QAbstractItemModel *model)
{
    m_model = model;
    invalidate();
}

const QVector<QModelIndex> &RyGanttTreeViewRowController::visibleRows() const
{
    if (m_dirty)
        rebuild();
    return m_rows;
}

int RyGanttTreeViewRowController::rowOf(const QModelIndex &index) const
{
    if (m_dirty)
        rebuild();
    return index.isValid() ? m_positions.value(index.sibling(index.row(), 0), -1) : -1;
}

int RyGanttTreeViewRowController::rowHeight() const
{
    return Ry::RowHeight;
}

void RyGanttTreeViewRowController::forEachRow(const RowVisitor &visit) const
{
    if (m_model)
        walk(m_model, nullptr, false,
             [&visit](const QModelIndex &parent, int row, const QModelIndex &, bool) {
                 visit(parent, row);
             });
}

void RyGanttTreeViewRowController::invalidate()
{
    m_dirty = true;
    m_rows.clear();
    m_positions.clear();
}

void RyGanttTreeViewRowController::rebuild() const
{
    m_dirty = false;
    m_rows.clear();
    m_positions.clear();
    if (!m_model)
        return;
    const QTreeView *tree = m_tree && m_tree->model() == m_model ? m_tree.data() : nullptr;
    walk(m_model, tree, true,
         [this](const QModelIndex &, int, const QModelIndex &index, bool shown) {
             if (shown) {
                 m_positions.insert(index, m_rows.size());
                 m_rows.append(index);
             }
         });
}
