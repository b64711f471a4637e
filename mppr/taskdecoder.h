#pragma once

// Turns task records into tasks: every member, the custom fields and the notes. One decoder
// serves several threads at once, each decoding a run of records of its own.

#include "mppr/customfields.h"
#include "mppr/fieldmap.h"

#include <QVector>

#include <memory>
#include <vector>

namespace mppr {

struct RecordBlocks;
struct RecordStreams;
struct Task;
struct TaskFields;

// The tasks of one run of records, in record order, and the unique IDs of those among them
// holding outline code values.
struct TaskRun
{
    std::vector<Task *> tasks; // owned by the caller
    QVector<qint32> holders;
};

class TaskDecoder
{
public:
    // flagBits: the FixedMeta bit of Flag1 to Flag20, empty where flags are not read.
    TaskDecoder(const FieldMap &map, const QVector<int> &flagBits, bool readsPercentComplete);
    ~TaskDecoder();

    // Whether the map has the unique ID, without which no task can be read.
    bool hasUniqueId() const;
    // Decodes records from up to (not including) to, with a field reader and a date cache of
    // its own; records that are empty are left out.
    void decode(const RecordStreams &streams, const RecordBlocks &blocks, int from, int to,
                TaskRun &run) const;

private:
    std::unique_ptr<const TaskFields> m_fields;
    CustomFieldReader m_custom;
    FieldDescriptor m_notes;
    bool m_readsPercentComplete = true;
};

} // namespace mppr
