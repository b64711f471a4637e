// Builds in-memory projects for the table tests: tasks, relations, resources and assignments
// with the members the tables read.
#pragma once

#include "mppr/project.h"

#include <memory>

namespace TestProject {

inline QDateTime at(int year, int month, int day, int hour = 8)
{
    return QDateTime(QDate(year, month, day), QTime(hour, 0), Qt::UTC);
}

inline mppr::Task *addTask(mppr::Project &project, qint32 uid, qint32 parent,
                           const QString &name = QString())
{
    auto *task = new mppr::Task;
    task->uniqueId = uid;
    task->parentUniqueId = parent;
    task->name = name.isEmpty() ? QStringLiteral("Task %1").arg(uid) : name;
    task->code = QString::number(uid);
    project.insertTask(task);
    return task;
}

inline void addRelation(mppr::Task *successor, qint32 predecessor, qint16 type, qint32 lag = 0,
                        qint32 lagUnit = 7)
{
    successor->predecessors.append({ predecessor, lag, lagUnit, type });
}

inline mppr::Resource *addResource(mppr::Project &project, qint32 uid, const QString &name)
{
    auto *resource = new mppr::Resource;
    resource->uniqueId = uid;
    resource->uniqueIdText = QString::number(uid);
    resource->name = name;
    resource->shortName = name.left(1);
    project.insertResource(resource);
    return resource;
}

// Summary 1 with activities 2 and 3, a free activity 4, summary 1 nested under none (-1);
// relations 2 -> 3 (FS, one day) and 3 -> 4 (SS); resources 10, 11; assignments of 2 to both.
inline std::unique_ptr<mppr::Project> small()
{
    auto project = std::make_unique<mppr::Project>(QStringLiteral("small.mpp"));
    addTask(*project, 1, -1, "Summary");
    mppr::Task *a = addTask(*project, 2, 1, "A");
    mppr::Task *b = addTask(*project, 3, 1, "B");
    mppr::Task *c = addTask(*project, 4, -1, "C");
    a->earlyStart = at(2024, 3, 4);
    a->earlyFinish = at(2024, 3, 8, 17);
    b->earlyStart = b->earlyFinish = at(2024, 3, 11);
    c->actualStart = at(2024, 3, 1);
    c->earlyStart = at(2024, 3, 2);
    addRelation(b, 2, 1, 4800);
    addRelation(c, 3, 3, -300);
    addResource(*project, 10, "Crane");
    addResource(*project, 11, "Welder");
    QList<mppr::Assignment *> assignments;
    for (qint32 rsrc : { 11, 10 }) {
        auto *assignment = new mppr::Assignment;
        assignment->taskUniqueId = 2;
        assignment->resourceUniqueId = rsrc;
        assignment->uniqueId = rsrc * 100;
        assignment->af0c = rsrc;
        assignments.append(assignment);
    }
    project->setAssignments(assignments);
    return project;
}

} // namespace TestProject
