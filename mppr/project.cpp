#include "mppr/project.h"

#include <QSet>

namespace mppr {

const QDateTime &epoch()
{
    static const QDateTime value(QDate(1983, 12, 31), QTime(0, 0), Qt::UTC);
    return value;
}

Task::Task()
    : start(epoch())
    , finish(epoch())
    , actualStart(epoch())
    , actualFinish(epoch())
    , earlyStart(epoch())
    , earlyFinish(epoch())
    , lateStart(epoch())
    , lateFinish(epoch())
    , scheduledStart(epoch())
    , scheduledFinish(epoch())
    , constraintDate(epoch())
    , tf513(epoch())
    , tf514(epoch())
{
    datesA.fill(epoch());
    datesB.fill(epoch());
    datesC.fill(epoch());
    datesD.fill(epoch());
}

Resource::~Resource() = default;

Assignment::Assignment()
    : af16(epoch())
    , af17(epoch())
    , af14(epoch())
    , af15(epoch())
{
}

Project::Project(const QString &filePath)
    : m_filePath(filePath)
{
}

Project::~Project()
{
    clear();
}

int Project::read()
{
    // The layout readers arrive with the compound file reader.
    clear();
    return StatusOpenFailed;
}

void Project::clear()
{
    qDeleteAll(m_tasks);
    m_tasks.clear();
    qDeleteAll(m_resources);
    m_resources.clear();
    qDeleteAll(m_assignments);
    m_assignments.clear();
}

void Project::insertTask(Task *task)
{
    Task *&slot = m_tasks[task->uniqueId];
    if (slot != task)
        delete slot;
    slot = task;
}

void Project::insertResource(Resource *resource)
{
    Resource *&slot = m_resources[resource->uniqueId];
    if (slot != resource)
        delete slot;
    slot = resource;
}

void Project::setAssignments(const QList<Assignment *> &assignments)
{
    const QSet<Assignment *> kept(assignments.cbegin(), assignments.cend());
    for (Assignment *old : qAsConst(m_assignments)) {
        if (!kept.contains(old))
            delete old;
    }
    m_assignments = assignments;
}

void Project::setCompObjTexts(const QString &userType, const QString &progId,
                              const QString &clipboardFormat)
{
    m_userType = userType;
    m_progId = progId;
    m_clipboardFormat = clipboardFormat;
}

} // namespace mppr
