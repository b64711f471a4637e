#include "mppr/recordstreams.h"

#include "mppr/project.h"
#include "mppr/streamstore.h"

namespace mppr {

int RecordStreams::readVarData(const StreamStore &store, const QString &folder,
                               VarMetaBlock::ItemLayout layout)
{
    const int status = varMeta.parse(store.read(folder + QLatin1String("VarMeta")), layout);
    if (status != StatusOk)
        return status;
    return varData.parse(store.read(folder + QLatin1String("Var2Data")), varMeta);
}

RecordBlocks RecordStreams::blocks(bool withMeta2, bool withFixed2,
                                   VarMetaBlock::ItemLayout layout) const
{
    RecordBlocks blocks;
    blocks.meta = &meta;
    blocks.fixed = &fixed;
    if (withMeta2)
        blocks.meta2 = &meta2;
    if (withFixed2)
        blocks.fixed2 = &fixed2;
    blocks.varData = &varData;
    blocks.varDataByKey = layout == VarMetaBlock::ItemLayout::Key;
    return blocks;
}

} // namespace mppr
