// Keeps the Gantt chart in step with the tree view beside it: vertical scrolling mirrored both
// ways, the tree's selection model shared while both show the same model, and the chart told
// when the tree's shown rows change. A child of the chart; the tree is not owned.
#pragma once

#include <QObject>
#include <QPointer>

class QScrollBar;
class QTreeView;
class RyGanttView;

class RyGanttTreeCoupling : public QObject
{
    Q_OBJECT
public:
    explicit RyGanttTreeCoupling(RyGanttView *chart);

    void setTree(QTreeView *tree);
    QTreeView *tree() const;
    // Shares the tree's selection model when the tree and the chart show the same model.
    void adoptSelectionModel();
    // Gives `bar` the tree's vertical steps and range; false without a tree.
    bool copyScrollRange(QScrollBar *bar) const;

private:
    void onTreeScrolled(int value);
    void onTreeRangeChanged();
    void onChartScrolled(int value);
    void onCurrentRowChanged();

    RyGanttView *m_chart;
    QPointer<QTreeView> m_tree;
    int m_treeExtent = -1;
    bool m_scrolling = false;
};
