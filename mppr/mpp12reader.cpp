#include "mppr/mpp12reader.h"

#include "mppr/compobjinfo.h"
#include "mppr/project.h"

#include <algorithm>

namespace mppr {

namespace {

MppReader::Layout layout12(const QString &userType)
{
    MppReader::Layout layout;
    layout.directory = QStringLiteral("   112");
    layout.mapStyle = FieldMapStyle::Mpp12;
    layout.taskFixed2MetaSize = 86;
    layout.readsPercentComplete = false;
    if (versionFromUserType(userType, 15) < 15) {
        const quint16 bits[5] = { 69, 78, 83, 66, 67 };
        std::copy(bits, bits + 5, layout.flagBits);
    } else {
        const quint16 bits[5] = { 81, 97, 98, 70, 71 };
        std::copy(bits, bits + 5, layout.flagBits);
    }
    // Measured on files saved by every version: the lag unit sits before the lag.
    layout.relationLayoutB = false;
    return layout;
}

} // namespace

Mpp12Reader::Mpp12Reader(const StreamStore &store, Project &project)
    : MppReader(store, project, layout12(project.userType()))
{
}

int Mpp12Reader::read()
{
    int status = readProps();
    if (status == StatusOk)
        status = readTasks();
    if (status == StatusOk)
        status = readRelations();
    return status;
}

} // namespace mppr
