#include "mppr/mpp14reader.h"

#include "mppr/compobjinfo.h"
#include "mppr/project.h"
#include "mppr/resourcereader.h"

namespace mppr {

namespace {

// Resource records: FixedMeta items of 37 bytes, Fixed2Meta items of 50. Assignment records:
// 110 bytes in FixedData, 48 in Fixed2Data.
constexpr int ResourceFixed2MetaSize = 50;
constexpr int AssignmentRecordSize = 110;
constexpr int Assignment2RecordSize = 48;

MppReader::Layout layout14(const QString &userType)
{
    MppReader::Layout layout;
    layout.directory = QStringLiteral("   114");
    layout.mapStyle = FieldMapStyle::Mpp14;
    layout.taskFixed2MetaSize = 93;
    layout.taskFixed2MetaRetrySize = 92;
    if (versionFromUserType(userType, 14) < 15) {
        layout.flagBits = { 48, 78, 83, 66, 67 };
        layout.customFlagBases = { 285, 285 };
    } else {
        layout.flagBits = { 82, 97, 98, 70, 71 };
        layout.customFlagBases = { 192, 254 };
    }
    layout.relationLayoutB = versionFromUserType(userType, 15) >= 15;
    return layout;
}

} // namespace

Mpp14Reader::Mpp14Reader(const StreamStore &store, Project &project)
    : MppReader(store, project, layout14(project.userType()))
{
}

int Mpp14Reader::read()
{
    int status = readProps();
    if (status != StatusOk)
        return status;
    ResourceReader::Layout resourceLayout;
    resourceLayout.directory = m_layout.directory;
    resourceLayout.resourceFixed2MetaSize = ResourceFixed2MetaSize;
    resourceLayout.assignmentRecordSize = AssignmentRecordSize;
    resourceLayout.assignment2RecordSize = Assignment2RecordSize;
    ResourceReader resources(m_store, m_project, resourceLayout, m_props);
    // Unlike the older layouts, a damaged resource or assignment block fails the read.
    status = readTaskTables([&resources] {
        const int read = resources.readResources();
        return read == StatusOk ? resources.readAssignments() : read;
    });
    if (status == StatusOk)
        readCalendars();
    return status;
}

} // namespace mppr
