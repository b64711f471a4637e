// Keeps the activity table and the chart laid out at full size while output draws from them,
// and puts them back when it goes out of scope. Either view may be null.
#pragma once

#include <QPointer>
#include <QSize>
#include <QVariantMap>

class RyGanttView;
class RyGroupedTreeView;

class RyViewSnapshot
{
public:
    RyViewSnapshot(RyGroupedTreeView *tree, RyGanttView *gantt);
    ~RyViewSnapshot();
    RyViewSnapshot(const RyViewSnapshot &) = delete;
    RyViewSnapshot &operator=(const RyViewSnapshot &) = delete;

    // The views sit in layouts of the main window, which size them back to their place as soon
    // as events are processed; this sizes them to their full size again.
    void hold();

private:
    QPointer<RyGroupedTreeView> m_tree;
    QPointer<RyGanttView> m_gantt;
    QVariantMap m_treeState;
    QVariantMap m_ganttState;
    QSize m_treeSize;
    QSize m_treeHeaderSize;
    QSize m_ganttSize;
};
