#include "output/ryviewsnapshot.h"

#include "gantt/ryganttview.h"
#include "views/rygroupedtreeview.h"

#include <QHeaderView>

RyViewSnapshot::RyViewSnapshot(RyGroupedTreeView *tree, RyGanttView *gantt)
    : m_tree(tree)
    , m_gantt(gantt)
{
    if (m_tree) {
        m_treeState = m_tree->prepareSnapshot();
        m_treeSize = m_tree->size();
        m_treeHeaderSize = m_tree->header()->size();
    }
    if (m_gantt) {
        m_ganttState = m_gantt->prepareSnapshot();
        m_ganttSize = m_gantt->size();
    }
}

RyViewSnapshot::~RyViewSnapshot()
{
    if (m_gantt)
        m_gantt->restoreSnapshot(m_ganttState);
    if (m_tree)
        m_tree->restoreSnapshot(m_treeState);
}

void RyViewSnapshot::hold()
{
    if (m_tree && m_tree->size() != m_treeSize) {
        m_tree->resize(m_treeSize);
        m_tree->header()->resize(m_treeHeaderSize);
    }
    if (m_gantt && m_gantt->size() != m_ganttSize)
        m_gantt->resize(m_ganttSize);
}
