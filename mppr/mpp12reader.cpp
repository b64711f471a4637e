#include "mppr/mpp12reader.h"

#include "mppr/compobjinfo.h"
#include "mppr/project.h"

namespace mppr {

namespace {

MppReader::Layout layout12(const QString &userType)
{
    MppReader::Layout layout;
    layout.directory = QStringLiteral("   112");
    layout.mapStyle = FieldMapStyle::Mpp12;
    layout.taskFixed2MetaSize = 86;
    if (versionFromUserType(userType, 15) < 15)
        layout.flagBits = { 69, 78, 83, 66, 67 };
    else
        layout.flagBits = { 81, 97, 98, 70, 71 };
    // Measured on files saved by every version: the lag unit sits before the lag.
    layout.relationLayoutB = false;
    layout.customFlagBases = { 300, 300 };
    return layout;
}

// Resources and assignments as in "   114" (same field numbers, names and initials in
// Var2Data under the full field id, work in thousandths of a minute), with these record
// sizes: resource FixedMeta items of 37 bytes and Fixed2Meta items of 49; assignment records
// of 142 bytes in FixedData (unique ID at 0, task at 4, resource at 8 per the field map) and
// 48 in Fixed2Data. The type is no field of the map but two flags: bit 73 of the FixedMeta
// item marks work resources, bit 68 of the Fixed2Meta item cost resources. Percent complete (task
// field 0x20) is a 16-bit value in the task FixedData.
ResourceReader::Layout resourceLayout()
{
    ResourceReader::Layout layout;
    layout.directory = QStringLiteral("   112");
    layout.mapStyle = FieldMapStyle::Mpp12;
    layout.resourceFixed2MetaSize = 49;
    layout.assignmentRecordSize = 142;
    layout.assignment2RecordSize = 48;
    layout.workBit = 73;
    layout.costBit = 68;
    return layout;
}

} // namespace

Mpp12Reader::Mpp12Reader(const StreamStore &store, Project &project)
    : MppReader(store, project, layout12(project.userType()))
{
}

int Mpp12Reader::read()
{
    return readDroppingResources(resourceLayout());
}

} // namespace mppr
