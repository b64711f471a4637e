#pragma once

// The parsed blocks of one record class (tasks, resources or assignments) of a version
// directory: FixedMeta, FixedData, their second pair and the variable data. The readers parse
// the fixed blocks their own way; the variable data and what a FieldReader reads of the blocks
// come from here.

#include "mppr/fieldreader.h"
#include "mppr/fixeddatablock.h"
#include "mppr/fixedmetablock.h"
#include "mppr/vardatablock.h"
#include "mppr/varmetablock.h"

#include <QString>

namespace mppr {

class StreamStore;

struct RecordStreams
{
    RecordStreams() = default;
    // The variable data points into its meta block.
    RecordStreams(const RecordStreams &) = delete;
    RecordStreams &operator=(const RecordStreams &) = delete;

    // VarMeta, then Var2Data, of `folder` (ending in '/'); a Status.
    int readVarData(const StreamStore &store, const QString &folder,
                    VarMetaBlock::ItemLayout layout);
    // The blocks for a FieldReader; meta2 and fixed2 only where asked for.
    RecordBlocks blocks(bool withMeta2, bool withFixed2, VarMetaBlock::ItemLayout layout) const;

    FixedMetaBlock meta, meta2;
    FixedDataBlock fixed, fixed2;
    VarMetaBlock varMeta;
    VarDataBlock varData;
};

} // namespace mppr
