// One version of a schedule as a comparison reads it: the compared cells of each activity,
// its WBS path and the links, taken once from the P6-shaped tables (TASK, TASKPRED, PROJWBS)
// so that every derived value comes from the table that derives it. Columns are found by
// their ids; a column a table lacks reads as no value in every row. Keeps no pointer into the
// tables once built. The project summary task is left out.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVector>

#include <array>

class QAbstractItemModel;
class ProjectLoader;

class RyCompareVersion
{
public:
    // What a comparison looks at, in the order the changed fields are listed.
    enum Field {
        Name,
        Wbs,
        Start,
        Finish,
        Duration,
        RemainingDuration,
        PercentComplete,
        TotalFloat,
        ConstraintType,
        ConstraintDate,
        ActivityType,
        BaselineStart,
        BaselineFinish,
        Predecessors, // from the links, not a TASK cell
        FieldCount
    };

    struct Activity
    {
        qint32 uniqueId = 0;
        qint32 parent = -1; // the WBS node's unique ID, -1 for none
        QVariant code; // the activity ID shown beside its name, not compared
        // Cells of the fields before Predecessors; dates as QDateTime, durations in hours.
        std::array<QVariant, Predecessors> values;
    };

    struct Link
    {
        qint32 predecessor = 0;
        qint32 successor = 0;
        QVariant type;
        QVariant lag; // hours
    };

    static constexpr qint32 ProjectSummaryUniqueId = 0;

    RyCompareVersion() = default;
    // Null tables read as an empty version.
    RyCompareVersion(const QAbstractItemModel *tasks, const QAbstractItemModel *links,
                     const QAbstractItemModel *wbs);
    // The TASK, TASKPRED and PROJWBS tables of a loaded project.
    static RyCompareVersion fromLoader(const ProjectLoader &loader);

    const QVector<Activity> &activities() const { return m_activities; }
    const QVector<Link> &links() const { return m_links; }
    // The names of the WBS nodes from the top down to `wbsId`, joined by '/'; empty for none.
    QString wbsPath(qint32 wbsId) const { return m_wbsPaths.value(wbsId); }
    const QHash<qint32, QString> &wbsPaths() const { return m_wbsPaths; }
    // The latest activity finish; invalid without any.
    QDateTime finish() const { return m_finish; }

    // "name", "wbs", "start", ...: the names the comparison's output uses.
    static QString fieldName(Field field);

private:
    void readActivities(const QAbstractItemModel &tasks);
    void readLinks(const QAbstractItemModel &links);
    void readWbs(const QAbstractItemModel &wbs);

    QVector<Activity> m_activities;
    QVector<Link> m_links;
    QHash<qint32, QString> m_wbsPaths;
    QDateTime m_finish;
};
