#pragma once

// The in-memory project that the MPP reader fills and the table models read.
// The Project owns every Task, Resource and Assignment; consumers hold plain pointers into it
// and must not outlive it.

#include "mppr/calendar.h"
#include "mppr/customfields.h"
#include "mppr/sharedarray.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace mppr {

class StreamStore;

// Result codes of Project::read() and of the version readers. The reader never throws.
enum Status : int {
    StatusOk = 0,
    // The compound file could not be opened, or a Props stream is shorter than its header.
    StatusOpenFailed = 1,
    // None of the known storage directories ("   114", "   112", "   19") is present.
    StatusUnknownLayout = 3,
    // A block stream the reader needs is missing, too short or carries a wrong magic number.
    StatusMalformedBlock = 5,
    // A field the reader requires is missing from the file's field map.
    StatusMissingField = 6,
};

// Dates are wall-clock values as stored in the file, held as QDateTime with time spec Qt::UTC
// so that 08:00 in the authoring tool is 08:00 here in every time zone.
// The unset date is 1983-12-31 00:00:00 (UTC spec); it is tested by equality, never by validity.
// Inline, so that its many callers in the reader test the static's guard in place.
constexpr qint64 EpochMSecs = 441676800000; // the unset date in milliseconds since 1970
inline const QDateTime &epoch()
{
    static const QDateTime value(QDate(1983, 12, 31), QTime(0, 0), Qt::UTC);
    return value;
}
// The same as date == epoch(), which compares the two instants, at a third of the cost.
inline bool isUnset(const QDateTime &date)
{
    return date.toMSecsSinceEpoch() == EpochMSecs;
}

// Baseline (number 0) and Baseline1 to Baseline10.
constexpr int BaselineCount = 11;

// One stored baseline of a task. A value the file does not give is the unset date or absent;
// durations in tenths of a minute and work in thousandths of a minute, as for the task itself.
struct Baseline
{
    Baseline();

    qint8 number = 0;
    QDateTime start;
    QDateTime finish;
    std::optional<qint32> duration;
    std::optional<double> work;
    std::optional<double> cost;
};

// Constraint types as task field 0x11 holds them.
enum ConstraintType : qint32 {
    AsSoonAsPossible,
    AsLateAsPossible,
    MustStartOn,
    MustFinishOn,
    StartNoEarlierThan,
    StartNoLaterThan,
    FinishNoEarlierThan,
    FinishNoLaterThan,
};

// One task record. Members named tf + hex carry the raw value of the task field with that number.
struct Task
{
    Task();

    qint32 uniqueId = 0;
    qint32 tf17 = 0;
    QString name;
    bool blankRecord = false; // only uniqueId was read
    bool shortRecord = false; // 16-byte fixed record: only uniqueId and tf17 were read
    qint32 tf15 = 0;
    qint32 tf16 = 0;
    QDateTime start;
    QDateTime finish;
    QDateTime actualStart;
    QDateTime actualFinish;
    QDateTime earlyStart;
    QDateTime earlyFinish;
    QDateTime lateStart;
    QDateTime lateFinish;
    QDateTime scheduledStart;
    QDateTime scheduledFinish;
    double percentComplete = 0;
    double tf21 = 0;
    qint32 autoScheduled = 1;
    bool tf18 = false;
    bool tf52 = false;
    qint32 parentUniqueId = 0;
    qint32 tf11 = 0; // ConstraintType
    QDateTime constraintDate;
    QString code; // outline number such as 1.2.3
    qint32 tf1c = 0;
    qint32 tf33 = 0;
    double tf05 = 0;
    // One entry per relation whose successor is this task, in the order read.
    struct Predecessor
    {
        qint32 uniqueId = 0;
        qint32 lag = 0; // raw file value
        qint32 lagUnits = 0; // unit code as stored
        qint16 type = 0; // relation type code as stored
    };
    QVector<Predecessor> predecessors;
    // The custom values a task rarely has share one block of unset values until written
    // (see SharedArray): read them as arrays, write them only where a value is set.
    SharedArray<QString, 30> texts;
    SharedArray<QDateTime, 10, &epoch> datesA;
    SharedArray<QDateTime, 10, &epoch> datesB;
    SharedArray<double, 10> numbers;
    SharedArray<qint32, 10> integers;
    QDateTime tf513;
    QDateTime tf514;
    qint32 tf515 = 0;
    double tf06 = 0;
    SharedArray<QDateTime, 10, &epoch> datesC; // element 0 is never filled
    SharedArray<QDateTime, 10, &epoch> datesD; // element 0 is never filled
    SharedArray<qint32, 10> integersB; // element 0 is never filled
    SharedArray<double, 10> numbersB; // whole values; element 0 is never filled
    double tf0a = 0;
    qint32 tf1f = 0;
    double tf04 = 0;
    // The task's own calendar (task field 0x191), absent where the task has none or names one
    // the file does not hold.
    std::optional<qint32> calendarUniqueId;

    // Slack, duration and work. Absent when the file's field map has no such field;
    // durations and slack in tenths of a minute, work in thousandths of a minute.
    std::optional<qint32> startSlack; // task field 0x1B6
    std::optional<qint32> finishSlack; // task field 0x1B7
    std::optional<qint32> duration; // task field 0x1D
    std::optional<double> work; // task field 0x00
    std::optional<double> actualWork; // task field 0x02

    // Only the baselines the file stores, ascending by number: most tasks have none.
    QVector<Baseline> baselines;
    const Baseline *baseline(int number) const;

    // Custom fields with a value; outline codes as the text of their value ("A.1").
    CustomFieldValues customFields;
    QString notes; // plain text of the stored rich text; empty where none

    // A split task's parts in working minutes from its start, as stored, and as dates once
    // the calendars are read; empty for a task that is not split.
    QVector<QPair<double, double>> splitParts;
    struct Segment
    {
        QDateTime start;
        QDateTime finish;
    };
    QVector<Segment> segments;
};

// Codes as Microsoft Project exports them.
enum class ResourceType : qint32 {
    Material = 0,
    Work = 1,
    Cost = 2,
};

class Resource
{
public:
    virtual ~Resource();

    QString name;
    QString uniqueIdText; // decimal text of uniqueId
    qint32 uniqueId = 0;
    QString shortName;
    QString notes; // plain text of the stored rich text; empty where none
    // Read from the "   112" and "   19" layouts; "   114" resources stay Work.
    ResourceType type = ResourceType::Work;
    // The resource's own calendar, absent where the file names none.
    std::optional<qint32> calendarUniqueId;
    // Custom fields with a value.
    CustomFieldValues customFields;
};

// The name a schedule's author gave a custom field.
struct CustomFieldDefinition
{
    CustomFieldEntity entity = CustomFieldEntity::Task;
    int field = 0; // custom field index
    QString alias;
};

// One value of an outline code's list; parentUniqueId 0 for a value at the top level.
struct OutlineCodeValue
{
    qint32 uniqueId = 0;
    qint32 parentUniqueId = 0;
    QString value;
    QString description;
};

// An outline code (OutlineCode1 to OutlineCode10 of the tasks) and its value list.
struct OutlineCode
{
    int number = 1;
    QString alias;
    QVector<OutlineCodeValue> values; // in the order stored
    // The value's text with those of its parents, joined by "."; a missing parent or a cycle
    // ends the walk.
    QString path(qint32 valueUniqueId) const;
};

// Amounts marked "hours" are the file value divided by 60000.
struct Assignment
{
    Assignment();

    qint32 resourceUniqueId = 0;
    qint32 taskUniqueId = 0;
    qint32 uniqueId = 0;
    double af1c = 0;
    double af20 = 0;
    double af1a = 0;
    double af0a = 0; // hours
    double af10 = 0; // hours
    double af08 = 0; // hours
    double af1d = 0;
    double af0c = 0; // hours
    double af1e = 0;
    double af0d = 0; // hours
    double af1f = 0;
    double af0e = 0; // hours
    QDateTime af16;
    QDateTime af17;
    QDateTime af14;
    QDateTime af15;
    double af0b = 0; // hours
};

class Project
{
public:
    explicit Project(const QString &filePath);
    ~Project();
    Project(const Project &) = delete;
    Project &operator=(const Project &) = delete;

    // Opens the file, reads CompObj, picks the reader for the storage layout and fills the
    // project. Returns a Status; called once per project.
    int read();
    // The same from the bytes of a whole file (filePath is only informational).
    int readData(const QByteArray &fileBytes);
    // The same from streams held elsewhere (the compound file is already open).
    int read(const StreamStore &store);

    QString filePath() const { return m_filePath; }
    QString userType() const { return m_userType; }
    QString progId() const { return m_progId; }
    QString clipboardFormat() const { return m_clipboardFormat; }
    // The storage directory the reader chose ("   114", "   112", "   19"); empty before a read.
    QString storageDirectory() const { return m_storageDirectory; }

    // Keys are unique IDs; iteration order is not meaningful.
    const QHash<qint32, Task *> &tasks() const { return m_tasks; }
    const QHash<qint32, Resource *> &resources() const { return m_resources; }
    // In the order read.
    const QList<Assignment *> &assignments() const { return m_assignments; }

    // Ascending by unique ID.
    const QVector<Calendar> &calendars() const { return m_calendars; }
    const Calendar *calendar(qint32 uniqueId) const;
    const ProjectProperties &properties() const { return m_properties; }
    // Fields with an alias, tasks first, ascending by field.
    const QVector<CustomFieldDefinition> &customFieldDefinitions() const { return m_definitions; }
    // The alias of a field, or an empty text.
    QString customFieldAlias(CustomFieldEntity entity, int field) const;
    // The defined outline codes, ascending by number.
    const QVector<OutlineCode> &outlineCodes() const { return m_outlineCodes; }
    // The project calendar, or null when the file names none that exists.
    const Calendar *projectCalendar() const;

    Task *task(qint32 uniqueId) const { return m_tasks.value(uniqueId); }
    Resource *resource(qint32 uniqueId) const { return m_resources.value(uniqueId); }

    // Used by the version readers while filling the project; each takes ownership and
    // replaces (and frees) an earlier record under the same key.
    void insertTask(Task *task);
    void reserveTasks(int count) { m_tasks.reserve(count); }
    void insertResource(Resource *resource);
    void setAssignments(const QList<Assignment *> &assignments);
    // Frees every resource and assignment.
    void clearResources();
    // Links each resource to the calendar that names it; drops task calendars that name none.
    void setCalendars(const QVector<Calendar> &calendars, const ProjectProperties &properties);
    void setCustomFieldDefinitions(const QVector<CustomFieldDefinition> &definitions)
    {
        m_definitions = definitions;
    }
    void setOutlineCodes(const QVector<OutlineCode> &codes) { m_outlineCodes = codes; }
    void setCompObjTexts(const QString &userType, const QString &progId,
                         const QString &clipboardFormat);
    // Whether the tasks' percentComplete was read from the file; without it every task holds 0,
    // which means "unknown", not "not started".
    bool hasPercentComplete() const { return m_hasPercentComplete; }
    void setHasPercentComplete(bool read) { m_hasPercentComplete = read; }

private:
    void clear();

    QString m_filePath;
    QString m_userType;
    QString m_progId;
    QString m_clipboardFormat;
    QString m_storageDirectory;
    QHash<qint32, Task *> m_tasks;
    QHash<qint32, Resource *> m_resources;
    QList<Assignment *> m_assignments;
    QVector<Calendar> m_calendars;
    ProjectProperties m_properties;
    QVector<CustomFieldDefinition> m_definitions;
    QVector<OutlineCode> m_outlineCodes;
    bool m_hasPercentComplete = true;
};

} // namespace mppr
