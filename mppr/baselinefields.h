#pragma once

// Where a layout keeps the task baselines (Baseline and Baseline1 to Baseline10) and how one
// task's stored baselines are read. Resolved once per read from the task field map.

#include "mppr/fieldmap.h"
#include "mppr/project.h"

#include <array>
#include <vector>

namespace mppr {

class FieldReader;

class BaselineFields
{
public:
    explicit BaselineFields(const FieldMap &map);

    // The baselines stored for one task record, ascending by number; empty for most tasks.
    QVector<Baseline> read(const FieldReader &reader, int record, qint32 uniqueId) const;

    // Task field numbers of baseline `number`, in the order start, finish, duration, work, cost.
    static std::array<quint32, 5> fieldNumbers(int number);

private:
    struct Fields
    {
        std::array<FieldDescriptor, 5> descriptors;
        std::array<quint32, 5> ids;
    };

    std::array<Fields, BaselineCount> m_fields;
    // Fields the map lacks may sit in this task field's block of (field id, offset) entries,
    // as Baseline1 to Baseline10 do in the "   19" layout.
    FieldDescriptor m_extension;
    bool m_needsExtension = false;
    // Where every field the map has is variable data, a record holding none of them (and no
    // extension block) has no baseline: its field ids and keys, ascending.
    bool m_allVarData = true;
    std::vector<quint32> m_varFieldIds;
    std::vector<quint32> m_varKeys;
};

} // namespace mppr
