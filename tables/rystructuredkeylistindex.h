// Two indexes over the same model combined: for every parent key P and child key C whose row
// sets share rows, an entry keyed "PxC" with the shared rows, C's display value and P as its
// parent key. Used for year/month date lists and for crossing group rules.
#pragma once

#include "tables/ryindex.h"

class RyStructuredKeyListIndex : public RyIndex
{
public:
    RyStructuredKeyListIndex(const RyIndex &parentIndex, const RyIndex &childIndex);

    // The parent keys in ascending order, with their display values and rows.
    const Entries &parentEntries() const { return m_parents; }

    // Parent key items, the combined entries below them, the rows below those.
    void fillItemModel(QStandardItemModel *itemModel, bool addLeafRows) const override;

private:
    Entries m_parents;
};
