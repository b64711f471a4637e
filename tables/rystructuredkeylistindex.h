// Two indexes over the same model combined: for every parent key P and child key C whose row
// sets share rows, an entry keyed "PxC" with the shared rows, C's display value and P as its
// parent key. Used for year/month date lists and for crossing group rules.
#pragma once

#include "tables/ryindex.h"

class RyStructuredKeyListIndex : public RyIndex
{
public:
    enum class Layout {
        // The combined entries alone, named by the child's short display value (a month
        // below its year); the parent keys apart in parentEntries().
        List,
        // A tree: every entry of the parent index, at any level, stays with its parent key,
        // display value and the rows no child key holds; the combined entries, named by the
        // child's display value, follow its own children. The rows of a child key are those
        // it holds itself (a hierarchy's deepest entries).
        Tree,
    };

    RyStructuredKeyListIndex(const RyIndex &parentIndex, const RyIndex &childIndex,
                             Layout layout = Layout::List);

    // The parent keys in ascending order, with their display values and rows (List layout).
    const Entries &parentEntries() const { return m_parents; }

    // Parent key items, the combined entries below them, the rows below those (List layout).
    void fillItemModel(QStandardItemModel *itemModel, bool addLeafRows) const override;

private:
    Entries m_parents;
};
