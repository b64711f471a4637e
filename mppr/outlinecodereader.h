#pragma once

// Reads the outline code tables (TBkndOutlCode): every value with its parent, grouped into the
// ten task outline codes by the GUID of the table they belong to.

#include "mppr/fieldmap.h"
#include "mppr/project.h"
#include "mppr/varmetablock.h"

namespace mppr {

class PropsBlock;
class StreamStore;

class OutlineCodeReader
{
public:
    struct Layout
    {
        QString directory;
        FieldMapStyle mapStyle = FieldMapStyle::Mpp14;
        VarMetaBlock::ItemLayout varMetaLayout = VarMetaBlock::ItemLayout::FieldId;
        bool hasFixed2 = true;
    };

    OutlineCodeReader(const StreamStore &store, const Layout &layout);

    // The codes with at least one value, ascending by number; a damaged block gives none.
    // usedBy: for each task, the unique IDs of the values its OutlineCodeN fields hold (index
    // N - 1), which place a table the Props do not name.
    QVector<OutlineCode> read(const PropsBlock &props,
                              const QVector<std::array<qint32, 10>> &usedBy) const;

private:
    const StreamStore &m_store;
    Layout m_layout;
};

} // namespace mppr
