#include "gantt/rygantttreecoupling.h"

#include "gantt/ryganttview.h"

#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTreeView>

RyGanttTreeCoupling::RyGanttTreeCoupling(RyGanttView *chart)
    : QObject(chart)
    , m_chart(chart)
{
    connect(chart->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &RyGanttTreeCoupling::onChartScrolled);
}

void RyGanttTreeCoupling::setTree(QTreeView *tree)
{
    if (m_tree) {
        m_tree->verticalScrollBar()->disconnect(this);
        m_tree->disconnect(this);
    }
    m_tree = tree;
    if (!tree)
        return;
    QScrollBar *treeBar = tree->verticalScrollBar();
    connect(treeBar, &QScrollBar::valueChanged, this, &RyGanttTreeCoupling::onTreeScrolled);
    connect(treeBar, &QScrollBar::rangeChanged, this, &RyGanttTreeCoupling::onTreeRangeChanged);
    adoptSelectionModel();
    connect(tree, &QTreeView::collapsed, m_chart, &RyGanttView::onVisibleItemsChanged);
    connect(tree, &QTreeView::expanded, m_chart, &RyGanttView::onVisibleItemsChanged);
}

QTreeView *RyGanttTreeCoupling::tree() const
{
    return m_tree;
}

void RyGanttTreeCoupling::adoptSelectionModel()
{
    if (!m_tree || !m_chart->model() || m_tree->model() != m_chart->model())
        return;
    QItemSelectionModel *shared = m_tree->selectionModel();
    if (shared && shared != m_chart->selectionModel())
        m_chart->setSelectionModel(shared);
    if (shared)
        connect(shared, &QItemSelectionModel::currentRowChanged, this,
                &RyGanttTreeCoupling::onCurrentRowChanged, Qt::UniqueConnection);
}

bool RyGanttTreeCoupling::copyScrollRange(QScrollBar *bar) const
{
    if (!m_tree)
        return false;
    const QScrollBar *other = m_tree->verticalScrollBar();
    bar->setSingleStep(other->singleStep());
    bar->setPageStep(other->pageStep());
    bar->setRange(other->minimum(), other->maximum());
    return true;
}

void RyGanttTreeCoupling::onTreeScrolled(int value)
{
    if (m_scrolling)
        return;
    const QScopedValueRollback<bool> guard(m_scrolling, true);
    if (m_chart->verticalScrollBar()->maximum() < value)
        m_chart->updateGeometries();
    m_chart->verticalScrollBar()->setValue(value);
    m_chart->viewport()->update();
}

// Expanding rows in the tree changes its range without moving its value. expandAll() and
// collapseAll() emit no expanded/collapsed signals: a changed extent (range plus page) of the
// tree is taken as a sign that its shown rows changed.
void RyGanttTreeCoupling::onTreeRangeChanged()
{
    const QScrollBar *treeBar = m_tree->verticalScrollBar();
    const int extent = treeBar->maximum() + treeBar->pageStep();
    if (extent != m_treeExtent) {
        m_treeExtent = extent;
        m_chart->onVisibleItemsChanged();
    }
    m_chart->updateGeometries();
}

void RyGanttTreeCoupling::onChartScrolled(int value)
{
    if (m_scrolling)
        return;
    const QScopedValueRollback<bool> guard(m_scrolling, true);
    if (m_tree)
        m_tree->verticalScrollBar()->setValue(value);
    m_chart->viewport()->update();
}

void RyGanttTreeCoupling::onCurrentRowChanged()
{
    m_chart->viewport()->update();
}
