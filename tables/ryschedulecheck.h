// The fourteen-point schedule assessment of a loaded MPP project: counts, populations and
// thresholds of logic, leads, lags, link types, hard constraints, float, durations, dates,
// resources, missed activities, the critical path, CPLI and BEI, each with the activities
// that make up its count. Computed once, in one pass over the activities and one over the
// links; the result is a plain value that keeps no pointer into the project.
//
// Choices the check's definitions leave open:
// - An activity is a TASK row (a readable task that is no other task's parent) other than
//   the project summary task (unique ID 0).
// - Lags count by their sign whatever the link type and lag unit: a start-to-start link with
//   a positive lag counts in check 3 and, not being finish-to-start, against check 4.
// - Links are counted in TASKPRED, once per stored relation; those with an end that is not
//   an activity (a missing task, a summary task) are left out of every population and named
//   in the note of checks 1 to 4.
// - Float is the smaller of start and finish slack; an activity without both has no float
//   and never counts in checks 6 and 7.
// - Date comparisons with the status date use date and time.
// - Check 12: critical activities are the incomplete ones with total float <= 0. The chain ends
//   at the activity that finishes last (latest finish; on a tie the smallest float, then the
//   smallest unique ID). Walking back from it over links between critical activities reaches
//   the chain; the break points are the critical activities whose own chain stops short of it
//   (no critical successor), the critical activities of a loop that never reaches it, and the
//   last activity itself when it is not critical. Population: incomplete activities.
// - Check 13 counts (length + float) over length in working days of the project calendar
//   (minutes per day as the file gives them); its activity is the one that finishes last.
// - Check 14 counts activities with an actual finish on or before the status date; its
//   activities are those due by the status date and not finished by then.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QPair>
#include <QString>
#include <QVector>

#include <optional>

class MPPTaskModel;
class MPPTaskPredModel;
class ProjectLoader;
class QAbstractItemModel;
class QObject;

class RyScheduleCheck
{
public:
    enum class Result { Pass, Fail, Info, NotAssessed };

    struct Check
    {
        int number = 0;
        QString name;
        // Whole numbers except for check 13, whose count and population are working days.
        double count = 0;
        double population = 0;
        std::optional<double> ratio; // none for population 0 and for check 12
        QString threshold; // empty for check 10 (information only)
        Result result = Result::NotAssessed;
        QVector<qint32> activities; // unique IDs, ascending
        QVector<QPair<qint32, qint32>> links; // (predecessor, successor), checks 2 to 4
        QString note;
    };

    static constexpr int CheckCount = 14;
    static constexpr int HighFloatDays = 44;
    static constexpr int HighDurationDays = 44;

    RyScheduleCheck() = default;

    // The checks of the project under `tasks`; `assignments` is TASKRSRC (none: no activity has
    // a resource).
    static RyScheduleCheck run(const MPPTaskModel &tasks, const MPPTaskPredModel &relations,
                               const QAbstractItemModel *assignments);
    // The same over the loader's TASK, TASKPRED and TASKRSRC tables; empty without them.
    static RyScheduleCheck run(const ProjectLoader &loader);

    const QVector<Check> &checks() const { return m_checks; }
    // Unset (invalid) when the file has none.
    QDateTime statusDate() const { return m_statusDate; }
    int minutesPerDay() const { return m_minutesPerDay; }
    // "1, 6": the numbers of the checks whose activities hold each unique ID.
    QHash<qint32, QString> findings() const;
    // The findings as a table to join on the activity model: task id (uint, as TASK gives it)
    // and "Check findings", one row per activity with a finding; owned by `parent`.
    QAbstractItemModel *newFindingsTable(QObject *parent) const;

    // "pass", "fail", "info", "not assessed".
    static QString resultName(Result result);

private:
    QVector<Check> m_checks;
    QDateTime m_statusDate;
    int m_minutesPerDay = 0;
};
