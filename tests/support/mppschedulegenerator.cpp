#include "mppschedulegenerator.h"

#include <QVector>

#include <algorithm>

namespace {

// A small deterministic generator: the schedule must not depend on the platform's rand().
class Lcg
{
public:
    explicit Lcg(quint32 seed)
        : m_state(seed ? seed : 1)
    {
    }
    int next(int bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return int((m_state >> 8) % quint32(qMax(bound, 1)));
    }

private:
    quint32 m_state;
};

QDateTime at(const QDate &day, int hour)
{
    return QDateTime(day, QTime(hour, 0), Qt::UTC);
}

// Working days only: Saturday and Sunday are skipped.
QDate addWorkingDays(QDate day, int count)
{
    while (count > 0) {
        day = day.addDays(1);
        if (day.dayOfWeek() <= 5)
            --count;
    }
    return day;
}

void setDates(MppTaskSpec &t, const QDateTime &start, const QDateTime &finish)
{
    t.scheduledStart = t.start = t.earlyStart = start;
    t.scheduledFinish = t.finish = t.earlyFinish = finish;
    t.lateStart = start;
    t.lateFinish = finish;
}

void setCustomFields(MppTaskSpec &t)
{
    for (int k = 0; k < 10; ++k) {
        t.numbers[k] = t.uniqueId * 0.25 + k;
        t.integers[k] = t.uniqueId * 10 + k;
        if (t.start.isValid())
            t.dates[k] = t.start.addDays(k);
    }
}

} // namespace

MppScheduleSpec generateMppSchedule(const MppGeneratorOptions &options)
{
    MppScheduleSpec spec;
    spec.wideTaskRecords = options.wideTaskRecords;
    Lcg rng(options.seed);
    const int count = qMax(options.tasks, 1);
    const int depth = qMax(options.depth, 1);
    spec.tasks.reserve(count);

    MppTaskSpec summary;
    summary.uniqueId = 0;
    summary.name = QStringLiteral("Generated schedule");
    spec.tasks.append(summary);

    QVector<qint32> open; // summary tasks that take children, outermost first
    QVector<bool> isLeaf(count, false);
    QDate day = options.start;
    int leavesInGroup = 0;
    for (int uid = 1; uid < count; ++uid) {
        MppTaskSpec t;
        t.uniqueId = uid;
        t.parentUniqueId = open.isEmpty() ? 0 : open.last();
        if (open.size() < depth - 1) {
            t.name = QStringLiteral("Phase %1").arg(uid);
            open.append(uid);
        } else {
            isLeaf[uid] = true;
            t.name = QStringLiteral("Activity %1").arg(uid);
            const int days = 1 + rng.next(5);
            const QDate last = addWorkingDays(day, days - 1);
            setDates(t, at(day, 8), at(last, 17));
            t.duration = t.remainingDuration = days * 4800; // tenths of a minute
            t.work = t.remainingWork = days * 480000.0; // thousandths of a minute
            t.freeSlack = t.startSlack = t.finishSlack = 0;
            t.text1 = QStringLiteral("Code %1").arg(uid % 97);
            day = addWorkingDays(last, 1);
            if (++leavesInGroup >= options.leavesPerGroup) {
                leavesInGroup = 0;
                const int close = 1 + rng.next(qMax(open.size(), 1));
                open.resize(qMax(0, open.size() - close));
            }
        }
        spec.tasks.append(t);
        // One finish-to-start link to the task before, now and then with a lag.
        if (uid >= 2) {
            MppRelationSpec r;
            r.id = quint32(uid - 1);
            r.predecessor = uid - 1;
            r.successor = uid;
            r.type = 1;
            r.lag = rng.next(4) == 0 ? 4800 : 0;
            r.lagUnits = 7;
            spec.relations.append(r);
        }
    }

    // Summaries span their children; children always have larger unique IDs than parents.
    for (int uid = count - 1; uid >= 1; --uid) {
        MppTaskSpec &t = spec.tasks[uid];
        if (!t.start.isValid())
            continue;
        MppTaskSpec &parent = spec.tasks[t.parentUniqueId];
        if (!parent.start.isValid() || t.start < parent.start)
            setDates(parent, t.start, parent.finish.isValid() ? parent.finish : t.finish);
        if (t.finish > parent.finish)
            setDates(parent, parent.start, t.finish);
    }

    if (options.wideTaskRecords) {
        for (MppTaskSpec &t : spec.tasks)
            setCustomFields(t);
    }

    for (int k = 1; k <= options.resources; ++k) {
        spec.resources.append(
            { k, QStringLiteral("Resource %1").arg(k), QStringLiteral("R%1").arg(k) });
    }
    QVector<qint32> leaves;
    for (int uid = 1; uid < count; ++uid) {
        if (isLeaf[uid])
            leaves.append(uid);
    }
    if (options.resources > 0 && !leaves.isEmpty()) {
        for (int k = 0; k < options.assignments; ++k) {
            const MppTaskSpec &t = spec.tasks.at(leaves.at(k % leaves.size()));
            MppAssignmentSpec a;
            a.uniqueId = k + 1;
            a.taskUniqueId = t.uniqueId;
            a.resourceUniqueId = 1 + k % options.resources;
            a.workHours = t.work / 60000.0;
            a.start = t.start;
            a.finish = t.finish;
            spec.assignments.append(a);
        }
    }
    return spec;
}
