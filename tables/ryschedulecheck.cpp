#include "tables/ryschedulecheck.h"

#include "models/ryconstants.h"
#include "mppr/project.h"
#include "tables/mpptaskmodel.h"
#include "tables/mpptaskpredmodel.h"
#include "tables/mpptaskrsrcmodel.h"
#include "tables/mppworkingtime.h"
#include "tables/projectloader.h"

#include <QAbstractItemModel>
#include <QSet>
#include <QStandardItemModel>

#include <algorithm>

namespace {

using Check = RyScheduleCheck::Check;
using Result = RyScheduleCheck::Result;

constexpr qint16 FinishToStart = 1;

struct Activity
{
    const mppr::Task *task = nullptr;
    bool incomplete = false;
    bool hasPredecessor = false;
    bool hasSuccessor = false;
    bool critical = false;
    bool hasCriticalSuccessor = false;
    std::optional<qint32> totalFloat;
    QDateTime start;
    QDateTime finish; // actual where there is one
};

const QDateTime &firstSet(const QDateTime &a, const QDateTime &b)
{
    return mppr::isUnset(a) ? b : a;
}

bool isSet(const QDateTime &date)
{
    return date.isValid() && !mppr::isUnset(date);
}

// A ratio check: the count against a share of the population, compared in whole numbers so
// that 1 in 20 is exactly 5 %.
Check ratioCheck(int number, const char *name, int count, int population, const char *threshold)
{
    Check c;
    c.number = number;
    c.name = QString::fromLatin1(name);
    c.count = count;
    c.population = population;
    c.threshold = QString::fromLatin1(threshold);
    if (population > 0)
        c.ratio = double(count) / population;
    return c;
}

void judgeAtMost(Check &c, int percent)
{
    if (c.population > 0)
        c.result = c.count * 100 <= percent * c.population ? Result::Pass : Result::Fail;
}

void judgeAtLeast(Check &c, int percent)
{
    if (c.population > 0)
        c.result = c.count * 100 >= percent * c.population ? Result::Pass : Result::Fail;
}

QString linkNote(int missing, int summary)
{
    if (missing == 0 && summary == 0)
        return QString();
    return QStringLiteral("%1 link(s) left out: %2 to a missing task, %3 to a summary task")
        .arg(missing + summary)
        .arg(missing)
        .arg(summary);
}

} // namespace

RyScheduleCheck RyScheduleCheck::run(const ProjectLoader &loader)
{
    const auto *tasks = qobject_cast<const MPPTaskModel *>(loader.model(QStringLiteral("TASK")));
    const auto *relations
        = qobject_cast<const MPPTaskPredModel *>(loader.model(QStringLiteral("TASKPRED")));
    const auto *assignments
        = qobject_cast<const QAbstractItemModel *>(loader.model(QStringLiteral("TASKRSRC")));
    if (!tasks || !relations)
        return RyScheduleCheck();
    return run(*tasks, *relations, assignments);
}

RyScheduleCheck RyScheduleCheck::run(const MPPTaskModel &tasks, const MPPTaskPredModel &relations,
                                     const QAbstractItemModel *assignments)
{
    RyScheduleCheck result;
    const mppr::Project *project = tasks.project();
    const mppr::ProjectProperties properties
        = project ? project->properties() : mppr::ProjectProperties();
    const int minutesPerDay = properties.minutesPerDay > 0
        ? properties.minutesPerDay
        : mppr::ProjectProperties::DefaultMinutesPerDay;
    result.m_minutesPerDay = minutesPerDay;
    const bool hasStatusDate = isSet(properties.statusDate);
    if (hasStatusDate)
        result.m_statusDate = properties.statusDate;
    const QDateTime &statusDate = properties.statusDate;
    // Tenths of a minute, as the file stores durations and slack.
    const qint64 limit44Float = qint64(HighFloatDays) * minutesPerDay * 10;
    const qint64 limit44Duration = qint64(HighDurationDays) * minutesPerDay * 10;

    // Activities, in TASK order; the lists of findings are sorted at the end.
    QVector<Activity> activities;
    activities.reserve(tasks.rowCount());
    QHash<qint32, int> indexOf;
    indexOf.reserve(tasks.rowCount());
    for (int row = 0; row < tasks.rowCount(); ++row) {
        const mppr::Task *t = tasks.task(row);
        if (!t || t->uniqueId == 0)
            continue;
        Activity a;
        a.task = t;
        a.incomplete = t->percentComplete < 100;
        a.totalFloat = MPPTaskModel::totalFloat(*t);
        a.critical = a.incomplete && a.totalFloat && *a.totalFloat <= 0;
        a.start = firstSet(t->actualStart, firstSet(t->start, MPPTaskModel::derivedStart(*t)));
        a.finish = firstSet(t->actualFinish, firstSet(t->finish, MPPTaskModel::derivedFinish(*t)));
        indexOf.insert(t->uniqueId, activities.size());
        activities.append(a);
    }

    Check logic = ratioCheck(1, "Logic", 0, 0, "<= 5%");
    Check leads = ratioCheck(2, "Leads", 0, 0, "0");
    Check lags = ratioCheck(3, "Lags", 0, 0, "<= 5%");
    Check types = ratioCheck(4, "Relationship types", 0, 0, ">= 90%");

    // Links: one pass. Critical links are kept for the walk of check 12.
    int missingEnds = 0;
    int summaryEnds = 0;
    int linkCount = 0;
    int leadCount = 0;
    int lagCount = 0;
    int finishToStartCount = 0;
    QVector<QPair<int, int>> criticalLinks; // (predecessor, successor) activity indexes
    // A task the file does not hold, or holds only as an empty row, is missing; any other end
    // that is no activity is a summary task.
    const auto isMissing = [project](qint32 uniqueId) {
        const mppr::Task *t = project ? project->task(uniqueId) : nullptr;
        return !t || t->blankRecord || t->shortRecord;
    };
    for (const MPPTaskPredModel::Relation &r : relations.relations()) {
        const int pred = indexOf.value(r.predUniqueId, -1);
        const int succ = indexOf.value(r.taskUniqueId, -1);
        if (pred < 0 || succ < 0) {
            const bool missing = (pred < 0 && isMissing(r.predUniqueId))
                || (succ < 0 && isMissing(r.taskUniqueId));
            ++(missing ? missingEnds : summaryEnds);
            continue;
        }
        Activity &p = activities[pred];
        Activity &s = activities[succ];
        p.hasSuccessor = true;
        s.hasPredecessor = true;
        if (p.critical && s.critical) {
            p.hasCriticalSuccessor = true;
            criticalLinks.append({ pred, succ });
        }
        if (!s.incomplete)
            continue;
        ++linkCount;
        const QPair<qint32, qint32> link { r.predUniqueId, r.taskUniqueId };
        if (r.lag < 0) {
            ++leadCount;
            leads.links.append(link);
        } else if (r.lag > 0) {
            ++lagCount;
            lags.links.append(link);
        }
        if (r.type == FinishToStart)
            ++finishToStartCount;
        else
            types.links.append(link);
    }
    const QString note = linkNote(missingEnds, summaryEnds);
    for (Check *c : { &logic, &leads, &lags, &types }) {
        c->note = note;
        c->population = linkCount;
        for (const auto &link : qAsConst(c->links))
            c->activities.append(link.second);
    }
    leads.count = leadCount;
    lags.count = lagCount;
    types.count = finishToStartCount;

    QSet<qint32> assigned;
    if (assignments) {
        const int taskColumn = MPPTaskRsrcModel::TaskId;
        const int resourceColumn = MPPTaskRsrcModel::RsrcId;
        for (int row = 0; row < assignments->rowCount(); ++row) {
            // Negative resource IDs mark the "unassigned" placeholder, not a resource.
            if (assignments->index(row, resourceColumn).data().toInt() >= 0)
                assigned.insert(qint32(assignments->index(row, taskColumn).data().toUInt()));
        }
    }

    Check constraints = ratioCheck(5, "Hard constraints", 0, 0, "<= 5%");
    Check highFloat = ratioCheck(6, "High float", 0, 0, "<= 5%");
    Check negativeFloat = ratioCheck(7, "Negative float", 0, 0, "0");
    Check highDuration = ratioCheck(8, "High duration", 0, 0, "<= 5%");
    Check invalidDates = ratioCheck(9, "Invalid dates", 0, 0, "0");
    Check resources = ratioCheck(10, "Resources", 0, 0, "");
    Check missed = ratioCheck(11, "Missed activities", 0, 0, "<= 5%");
    Check criticalPath = ratioCheck(12, "Critical path test", 0, 0, "unbroken");
    Check cpli = ratioCheck(13, "Critical path length index", 0, 0, ">= 0.95");
    Check bei = ratioCheck(14, "Baseline execution index", 0, 0, ">= 0.95");

    int incomplete = 0;
    int finishedByStatusDate = 0;
    int last = -1;
    for (int i = 0; i < activities.size(); ++i) {
        const Activity &a = activities.at(i);
        const mppr::Task &t = *a.task;
        const qint32 id = t.uniqueId;
        if (last < 0 || a.finish > activities.at(last).finish
            || (a.finish == activities.at(last).finish
                && a.totalFloat.value_or(0) < activities.at(last).totalFloat.value_or(0)))
            last = i;
        if (hasStatusDate) {
            const bool actualLate = (isSet(t.actualStart) && t.actualStart > statusDate)
                || (isSet(t.actualFinish) && t.actualFinish > statusDate);
            const bool plannedEarly = a.incomplete
                && ((!isSet(t.actualStart) && isSet(a.start) && a.start < statusDate)
                    || (!isSet(t.actualFinish) && isSet(a.finish) && a.finish < statusDate));
            if (actualLate || plannedEarly)
                invalidDates.activities.append(id);
            const mppr::Baseline *baseline = t.baseline(0);
            const bool due = baseline && isSet(baseline->finish) && baseline->finish <= statusDate;
            const bool finished = isSet(t.actualFinish) && t.actualFinish <= statusDate;
            if (finished)
                ++finishedByStatusDate;
            if (due) {
                bei.population += 1;
                if (!finished)
                    bei.activities.append(id);
                if (isSet(a.finish) && a.finish > baseline->finish)
                    missed.activities.append(id);
            }
        }
        if (!a.incomplete)
            continue;
        ++incomplete;
        if (!a.hasPredecessor || !a.hasSuccessor)
            logic.activities.append(id);
        // The constraints that fix a date.
        if (t.tf11 == mppr::MustStartOn || t.tf11 == mppr::MustFinishOn
            || t.tf11 == mppr::StartNoLaterThan || t.tf11 == mppr::FinishNoLaterThan)
            constraints.activities.append(id);
        if (a.totalFloat && *a.totalFloat > limit44Float)
            highFloat.activities.append(id);
        if (a.totalFloat && *a.totalFloat < 0)
            negativeFloat.activities.append(id);
        const mppr::Baseline *baseline = t.baseline(0);
        const std::optional<qint32> duration
            = baseline && baseline->duration ? baseline->duration : t.duration;
        if (duration && *duration > limit44Duration)
            highDuration.activities.append(id);
        if (t.duration && *t.duration > 0 && !assigned.contains(id))
            resources.activities.append(id);
    }

    for (Check *c :
         { &logic, &constraints, &highFloat, &negativeFloat, &highDuration, &resources }) {
        c->count = c->activities.size();
        c->population = incomplete;
        c->ratio = incomplete > 0 ? std::optional<double>(c->count / incomplete) : std::nullopt;
    }
    for (Check *c : { &leads, &lags, &types })
        c->ratio = linkCount > 0 ? std::optional<double>(c->count / linkCount) : std::nullopt;
    judgeAtMost(logic, 5);
    if (leads.population > 0)
        leads.result = leads.count == 0 ? Result::Pass : Result::Fail;
    judgeAtMost(lags, 5);
    judgeAtLeast(types, 90);
    judgeAtMost(constraints, 5);
    judgeAtMost(highFloat, 5);
    if (negativeFloat.population > 0)
        negativeFloat.result = negativeFloat.count == 0 ? Result::Pass : Result::Fail;
    judgeAtMost(highDuration, 5);
    if (resources.population > 0)
        resources.result = Result::Info;

    if (hasStatusDate) {
        invalidDates.count = invalidDates.activities.size();
        invalidDates.population = activities.size();
        if (!activities.isEmpty()) {
            invalidDates.ratio = invalidDates.count / invalidDates.population;
            invalidDates.result = invalidDates.count == 0 ? Result::Pass : Result::Fail;
        }
        missed.count = missed.activities.size();
        missed.population = bei.population;
        if (missed.population > 0) {
            missed.ratio = missed.count / missed.population;
            judgeAtMost(missed, 5);
            bei.count = finishedByStatusDate;
            bei.ratio = bei.count / bei.population;
            bei.result = *bei.ratio >= 0.95 ? Result::Pass : Result::Fail;
        } else {
            bei.activities.clear();
        }
    }

    // Check 12: walk back from the last activity over critical links.
    criticalPath.population = incomplete;
    if (incomplete > 0 && last >= 0) {
        const int n = activities.size();
        // Predecessor lists per successor, as offsets into one array.
        QVector<int> firstPredecessor(n + 1, 0);
        for (const auto &link : qAsConst(criticalLinks))
            ++firstPredecessor[link.second + 1];
        for (int i = 0; i < n; ++i)
            firstPredecessor[i + 1] += firstPredecessor[i];
        QVector<int> predecessors(criticalLinks.size());
        QVector<int> fill = firstPredecessor;
        for (const auto &link : qAsConst(criticalLinks))
            predecessors[fill[link.second]++] = link.first;
        // 1: reaches the last activity, 2: reaches a dead end.
        QVector<char> reach(n, 0);
        const auto walkBack = [&](int from, char mark) {
            QVector<int> stack { from };
            reach[from] = mark;
            while (!stack.isEmpty()) {
                const int at = stack.takeLast();
                for (int k = firstPredecessor[at]; k < firstPredecessor[at + 1]; ++k) {
                    const int p = predecessors[k];
                    if (reach[p] == 0) {
                        reach[p] = mark;
                        stack.append(p);
                    }
                }
            }
        };
        if (activities.at(last).critical)
            walkBack(last, 1);
        else
            criticalPath.activities.append(activities.at(last).task->uniqueId);
        for (int i = 0; i < n; ++i) {
            const Activity &a = activities.at(i);
            if (a.critical && reach[i] == 0 && !a.hasCriticalSuccessor) {
                criticalPath.activities.append(a.task->uniqueId);
                walkBack(i, 2);
            }
        }
        for (int i = 0; i < n; ++i) {
            if (activities.at(i).critical && reach[i] == 0)
                criticalPath.activities.append(activities.at(i).task->uniqueId);
        }
        criticalPath.count = criticalPath.activities.size();
        criticalPath.result = criticalPath.count == 0 ? Result::Pass : Result::Fail;
    }

    // Check 13: in working days of the project calendar from the status date.
    if (hasStatusDate && last >= 0 && activities.at(last).totalFloat) {
        const Activity &end = activities.at(last);
        const RyWorkingTime time = MPPWorkingTime::ofProject(*project);
        const double length = double(time.workingMinutes(statusDate, end.finish)) / minutesPerDay;
        if (length > 0) {
            const double floatDays = *end.totalFloat / 10.0 / minutesPerDay;
            cpli.count = length + floatDays;
            cpli.population = length;
            cpli.ratio = cpli.count / length;
            cpli.result = *cpli.ratio >= 0.95 ? Result::Pass : Result::Fail;
            if (cpli.result == Result::Fail)
                cpli.activities.append(end.task->uniqueId);
        } else {
            cpli.note = QStringLiteral("The project finishes on or before the status date");
        }
    }

    result.m_checks
        = { logic,        leads,        lags,      types,  constraints,  highFloat, negativeFloat,
            highDuration, invalidDates, resources, missed, criticalPath, cpli,      bei };
    for (Check &c : result.m_checks) {
        std::sort(c.activities.begin(), c.activities.end());
        c.activities.erase(std::unique(c.activities.begin(), c.activities.end()),
                           c.activities.end());
    }
    return result;
}

QHash<qint32, QString> RyScheduleCheck::findings() const
{
    QHash<qint32, QString> texts;
    for (const Check &c : m_checks) {
        for (const qint32 id : c.activities) {
            QString &text = texts[id];
            if (!text.isEmpty())
                text += QLatin1String(", ");
            text += QString::number(c.number);
        }
    }
    return texts;
}

QAbstractItemModel *RyScheduleCheck::newFindingsTable(QObject *parent) const
{
    const QHash<qint32, QString> texts = findings();
    auto *table = new QStandardItemModel(texts.size(), 2, parent);
    table->setObjectName(QStringLiteral("CheckFindings"));
    int row = 0;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it, ++row) {
        table->setItem(row, 0, new QStandardItem);
        table->item(row, 0)->setData(uint(it.key()), Qt::DisplayRole);
        table->setItem(row, 1, new QStandardItem(it.value()));
    }
    const struct
    {
        const char *id;
        const char *display;
        const char *group;
    } columns[] = { { "task_id", "task_id", "system" },
                    { "check_findings", "Check findings", "Schedule check" } };
    for (int column = 0; column < 2; ++column) {
        const QString id = QString::fromLatin1(columns[column].id);
        const QString display = QString::fromLatin1(columns[column].display);
        const QString group = QString::fromLatin1(columns[column].group);
        table->setHeaderData(column, Qt::Horizontal, display, Qt::DisplayRole);
        table->setHeaderData(column, Qt::Horizontal, id, Ry::ColumnIdRole);
        table->setHeaderData(column, Qt::Horizontal, group, Ry::ColumnGroupRole);
        table->setHeaderData(column, Qt::Horizontal,
                             QVariantMap { { "group", group },
                                           { "datatype", "string" },
                                           { "display", display },
                                           { "id", id } },
                             Ry::ColumnDescriptionRole);
    }
    return table;
}

QString RyScheduleCheck::resultName(Result result)
{
    switch (result) {
    case Result::Pass:
        return QStringLiteral("pass");
    case Result::Fail:
        return QStringLiteral("fail");
    case Result::Info:
        return QStringLiteral("info");
    case Result::NotAssessed:
        break;
    }
    return QStringLiteral("not assessed");
}
