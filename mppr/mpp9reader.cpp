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
    layout.readsPercentComplete = false;
    layout.varMetaLayout = VarMetaBlock::ItemLayout::Key;
    const quint16 bits[5] = { 69, 78, 83, 66, 67 };
    std::copy(bits, bits + 5, layout.flagBits);
    layout.relationLayoutB = false;
    return layout;
}

} // namespace

Mpp9Reader::Mpp9Reader(const StreamStore &store, Project &project)
    : MppReader(store, project, layout9())
{
}

int Mpp9Reader::read()
{
    int status = readProps();
    if (status == StatusOk)
        status = readTasks();
    if (status == StatusOk)
        status = readRelations();
    return status;
}

} // namespace mppr
