#pragma once

// Resources and assignments of one storage layout. The three layouts store them alike: the
// resource and assignment field maps in the version's Props, resource records located by their
// FixedMeta items, assignment records of one fixed size, and names and initials as variable
// data. What differs is listed in Layout.

#include "mppr/fieldmap.h"
#include "mppr/propsblock.h"
#include "mppr/varmetablock.h"

#include <QString>

namespace mppr {

class FixedMetaBlock;
class Project;
class StreamStore;
enum class ResourceType : qint32;

class ResourceReader
{
public:
    struct Layout
    {
        QString directory; // "   114", "   112" or "   19"
        int resourceFixed2MetaSize = 0; // 0: resources have no second fixed block
        int assignmentRecordSize = 0;
        int assignment2RecordSize = 0; // 0: assignments have no second fixed block
        VarMetaBlock::ItemLayout varMetaLayout = VarMetaBlock::ItemLayout::FieldId;
        FieldMapStyle mapStyle = FieldMapStyle::Mpp14;
        // Bit of the FixedMeta item set for work resources, of the Fixed2Meta item set for
        // cost resources; -1 where the type is not read. Neither set: a material resource.
        int workBit = -1;
        int costBit = -1;
    };

    // Takes the resource and assignment field maps from the version's parsed Props.
    ResourceReader(const StreamStore &store, Project &project, const Layout &layout,
                   const PropsBlock &props);

    // Both return a Status; the project keeps what was read before a failure.
    int readResources();
    // Needs the tasks and resources already in the project.
    int readAssignments();
    // Resources, then assignments, for the layouts whose resources come on top of the tasks
    // and links: a missing or damaged block leaves the project without resources and
    // assignments rather than failing the read.
    void readOrDrop();

private:
    QString path(const char *relative) const;
    ResourceType typeOf(const FixedMetaBlock &meta, const FixedMetaBlock &meta2, int record) const;

    const StreamStore &m_store;
    Project &m_project;
    const Layout m_layout;
    FieldMap m_resourceMap;
    FieldMap m_assignmentMap;
};

} // namespace mppr
