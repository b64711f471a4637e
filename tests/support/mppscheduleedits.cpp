#include "mppscheduleedits.h"

#include <QHash>
#include <QSet>

namespace {

QDateTime nextWorkingDay(const QDateTime &date)
{
    if (!date.isValid())
        return date;
    QDate day = date.date().addDays(1);
    while (day.dayOfWeek() > 5)
        day = day.addDays(1);
    return QDateTime(day, date.time(), Qt::UTC);
}

void moveOneDay(MppTaskSpec &t)
{
    for (QDateTime *date : { &t.start, &t.finish, &t.scheduledStart, &t.scheduledFinish,
                             &t.earlyStart, &t.earlyFinish, &t.lateStart, &t.lateFinish })
        *date = nextWorkingDay(*date);
}

} // namespace

MppScheduleEdits editMppSchedule(MppScheduleSpec &spec, int count)
{
    MppScheduleEdits edits;
    QHash<qint32, int> children;
    qint32 lastUid = 0;
    for (const MppTaskSpec &t : qAsConst(spec.tasks)) {
        if (t.parentUniqueId >= 0)
            ++children[t.parentUniqueId];
        lastUid = qMax(lastUid, t.uniqueId);
    }
    QVector<int> leaves; // positions in spec.tasks
    for (int k = 0; k < spec.tasks.size(); ++k) {
        if (spec.tasks.at(k).parentUniqueId >= 0 && !children.contains(spec.tasks.at(k).uniqueId))
            leaves.append(k);
    }
    if (count <= 0 || leaves.isEmpty())
        return edits;

    // Every third leaf of an even spread is removed, the next one moved; a removal that would
    // empty a WBS node is skipped.
    const int step = qMax(1, leaves.size() / (3 * count));
    QSet<qint32> removed;
    QSet<qint32> moved;
    for (int k = 0;
         k + 1 < leaves.size() && (edits.removed.size() < count || edits.moved.size() < count);
         k += step * 3) {
        MppTaskSpec &remove = spec.tasks[leaves.at(k)];
        if (edits.removed.size() < count && children.value(remove.parentUniqueId) > 1) {
            --children[remove.parentUniqueId];
            removed.insert(remove.uniqueId);
            edits.removed.append(remove.uniqueId);
        }
        MppTaskSpec &move = spec.tasks[leaves.at(k + 1)];
        if (edits.moved.size() < count && !removed.contains(move.uniqueId)) {
            moveOneDay(move);
            moved.insert(move.uniqueId);
            edits.moved.append(move.uniqueId);
        }
    }

    // Links between leaves that stay, spread over the schedule, are removed; the links of
    // removed activities go with them.
    QSet<qint32> leafIds;
    for (int k : qAsConst(leaves))
        leafIds.insert(spec.tasks.at(k).uniqueId);
    const int linkStep = qMax(1, spec.relations.size() / (count + 1));
    int nextLink = linkStep / 2;
    QVector<MppRelationSpec> relations;
    relations.reserve(spec.relations.size());
    for (int k = 0; k < spec.relations.size(); ++k) {
        const MppRelationSpec &r = spec.relations.at(k);
        const QPair<qint32, qint32> ends(r.predecessor, r.successor);
        if (removed.contains(r.predecessor) || removed.contains(r.successor)) {
            edits.linksOfRemoved.append(ends);
            continue;
        }
        if (edits.linksRemoved.size() < count && k >= nextLink && leafIds.contains(r.predecessor)
            && leafIds.contains(r.successor)) {
            edits.linksRemoved.append(ends);
            nextLink += linkStep;
            continue;
        }
        relations.append(r);
    }
    spec.relations = relations;

    QVector<MppTaskSpec> tasks;
    tasks.reserve(spec.tasks.size() + count);
    for (const MppTaskSpec &t : qAsConst(spec.tasks)) {
        if (!removed.contains(t.uniqueId))
            tasks.append(t);
    }
    // Added activities copy a remaining leaf's place and dates, under new unique IDs; the
    // spread starts off the removed and moved ones.
    const int addStep = qMax(1, leaves.size() / count);
    for (int k = 2; k < leaves.size() + 2 && edits.added.size() < count; k += addStep) {
        const MppTaskSpec *model = &spec.tasks.at(leaves.at(k % leaves.size()));
        for (int next = k + 1; removed.contains(model->uniqueId) && next < k + 3; ++next)
            model = &spec.tasks.at(leaves.at(next % leaves.size()));
        if (removed.contains(model->uniqueId))
            continue;
        MppTaskSpec t = *model;
        t.uniqueId = ++lastUid;
        t.name = QStringLiteral("Added activity %1").arg(t.uniqueId);
        tasks.append(t);
        edits.added.append(t.uniqueId);
    }
    spec.tasks = tasks;
    return edits;
}
