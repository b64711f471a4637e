#include "mppr/mpp9reader.h"

#include "mppr/project.h"

namespace mppr {

namespace {

MppReader::Layout layout9()
{
    MppReader::Layout layout;
    layout.directory = QStringLiteral("   19");
    layout.mapStyle = FieldMapStyle::Mpp9;
    layout.hasFixed2 = false;
    layout.varMetaLayout = VarMetaBlock::ItemLayout::Key;
    layout.flagBits = { 69, 78, 83, 66, 67 };
    layout.relationLayoutB = false;
    layout.customFlagBases = { 300, 300 };
    return layout;
}

// Resources and assignments have one fixed block each (a Fixed2Meta may exist, but no
// Fixed2Data): resource FixedMeta items of 37 bytes, assignment records of 142 bytes. Names
// and initials are variable data under the 8-bit keys of the field map; work is in
// thousandths of a minute, as in the later layouts. Bit 73 of the FixedMeta item marks work
// resources; the others are material, as the layout knows no cost resources (a cost resource
// saved in it by a later version comes back as material).
ResourceReader::Layout resourceLayout()
{
    ResourceReader::Layout layout;
    layout.directory = QStringLiteral("   19");
    layout.mapStyle = FieldMapStyle::Mpp9;
    layout.assignmentRecordSize = 142;
    layout.varMetaLayout = VarMetaBlock::ItemLayout::Key;
    layout.workBit = 73;
    return layout;
}

} // namespace

Mpp9Reader::Mpp9Reader(const StreamStore &store, Project &project)
    : MppReader(store, project, layout9())
{
}

int Mpp9Reader::read()
{
    return readDroppingResources(resourceLayout());
}

} // namespace mppr
