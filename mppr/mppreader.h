#pragma once

// What the three storage layouts share: the task records, the relations and the outline
// numbering. Mpp14Reader, Mpp12Reader and Mpp9Reader set the differences.

#include "mppr/fieldmap.h"
#include "mppr/propsblock.h"
#include "mppr/resourcereader.h"
#include "mppr/varmetablock.h"

#include <QString>
#include <QVector>

#include <array>
#include <functional>

namespace mppr {

class Project;
class StreamStore;

class MppReader
{
public:
    virtual ~MppReader();
    virtual int read() = 0;
    // The storage directory this reader reads ("   114", "   112" or "   19").
    QString directory() const { return m_layout.directory; }

    // What distinguishes a storage layout.
    struct Layout
    {
        QString directory; // "   114", "   112" or "   19"
        FieldMapStyle mapStyle = FieldMapStyle::Mpp14;
        bool hasFixed2 = true; // Fixed2Meta and Fixed2Data exist
        int taskFixed2MetaSize = 0; // stated item size of the task Fixed2Meta
        int taskFixed2MetaRetrySize = 0; // tried when the stated size fails; 0 for none
        bool readsPercentComplete = true;
        VarMetaBlock::ItemLayout varMetaLayout = VarMetaBlock::ItemLayout::FieldId;
        // Bits of flag task fields 0x18, 0x47, 0x52 (FixedMeta) and 0x4FF, 0x500 (Fixed2Meta).
        std::array<quint16, 5> flagBits = {};
        // Relation lag layout when the stored unit codes leave both possible.
        bool relationLayoutB = false;
        // FixedMeta bit of Flag1 to Flag10 and of Flag11 to Flag20 less the flag's number;
        // -1 where flags are not read.
        std::array<int, 2> customFlagBases = { -1, -1 };
    };

protected:
    MppReader(const StreamStore &store, Project &project, const Layout &layout);

    QString path(const QString &relative) const { return m_layout.directory + relative; }
    // Builds the task field map from the version's Props and places the flag fields.
    int readProps();

    // The tasks, their outline and their links, with `alongside` run beside the outline and
    // the links; the first failing status of the three.
    int readTaskTables(const std::function<int()> &alongside);
    // Runs `other` on a thread of its own while `work` runs on this one, or both in turn where
    // the system gives no thread. The two must not write the same members.
    static void runTogether(const std::function<void()> &work, const std::function<void()> &other);
    // Props, tasks and relations, then the resources and assignments of the older layouts,
    // which a damaged block leaves out rather than failing the read.
    int readDroppingResources(const ResourceReader::Layout &resources);
    // Calendars and project properties, after the resources they link to; never fails.
    void readCalendars();

    const StreamStore &m_store;
    Project &m_project;
    Layout m_layout;
    PropsBlock m_props;
    FieldMap m_taskMap;

private:
    int readTasks();
    int readRelations();
    // Aliases, outline codes, and the outline code values of the tasks as their text.
    // holders: the unique IDs of the tasks read with outline code values (most tasks have
    // none).
    void readCustomFieldExtras(QVector<qint32> holders);

    // The unique IDs of the tasks read with outline code values (most tasks have none).
    QVector<qint32> m_outlineCodeHolders;
};

} // namespace mppr
