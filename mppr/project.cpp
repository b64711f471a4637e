#include "mppr/project.h"

#include "cfb/compoundfile.h"

#include "mppr/compobjinfo.h"
#include "mppr/compoundfilestore.h"
#include "mppr/mpp12reader.h"
#include "mppr/mpp14reader.h"
#include "mppr/mpp9reader.h"
#include "mppr/mpprlogging.h"
#include "mppr/streamstore.h"

#include <QDebug>
#include <QSet>

#include <algorithm>
#include <memory>

namespace mppr {

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
}

const Baseline *Task::baseline(int number) const
{
    for (const Baseline &b : baselines) {
        if (b.number == number)
            return &b;
    }
    return nullptr;
}

Baseline::Baseline()
    : start(epoch())
    , finish(epoch())
{
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
    clear();
    cfb::CompoundFile file(m_filePath);
    if (!file.open())
        return StatusOpenFailed;
    return read(CompoundFileStore(file));
}

int Project::readData(const QByteArray &fileBytes)
{
    clear();
    cfb::CompoundFile file;
    if (!file.openData(fileBytes))
        return StatusOpenFailed;
    return read(CompoundFileStore(file));
}

int Project::read(const StreamStore &store)
{
    clear();
    if (lcMppr().isDebugEnabled()) {
        for (const QString &name : store.list(QStringLiteral("/")))
            qCDebug(lcMppr).noquote() << name;
    }
    const QByteArray compObj = store.read(QStringLiteral("/CompObj"));
    qCDebug(lcMppr) << "Size: " << compObj.size();
    CompObjInfo info;
    info.parse(compObj); // whatever could be read is used
    if (info.ansiUserType == QLatin1String("Microsoft Project 4.0")) {
        setCompObjTexts(info.ansiUserType, QStringLiteral("MSProject.Project.4"),
                        QStringLiteral("MSProject.MPP4"));
    } else {
        setCompObjTexts(info.ansiUserType, info.progId, info.ansiClipboardFormat);
    }

    std::unique_ptr<MppReader> reader;
    if (store.exists(QStringLiteral("/   114")))
        reader = std::make_unique<Mpp14Reader>(store, *this);
    else if (store.exists(QStringLiteral("/   112")))
        reader = std::make_unique<Mpp12Reader>(store, *this);
    else if (store.exists(QStringLiteral("/   19")))
        reader = std::make_unique<Mpp9Reader>(store, *this);
    if (!reader)
        return StatusUnknownLayout;
    m_storageDirectory = reader->directory();
    return reader->read();
}

void Project::clear()
{
    qDeleteAll(m_tasks);
    m_tasks.clear();
    clearResources();
    m_calendars.clear();
    m_properties = ProjectProperties();
    m_definitions.clear();
    m_outlineCodes.clear();
    m_storageDirectory.clear();
    m_hasPercentComplete = true;
}

QString Project::customFieldAlias(CustomFieldEntity entity, int field) const
{
    for (const CustomFieldDefinition &d : m_definitions) {
        if (d.entity == entity && d.field == field)
            return d.alias;
    }
    return QString();
}

QString OutlineCode::path(qint32 valueUniqueId) const
{
    QHash<qint32, int> indexOf;
    for (int i = 0; i < values.size(); ++i)
        indexOf.insert(values.at(i).uniqueId, i);
    QStringList parts;
    QSet<qint32> seen;
    for (qint32 id = valueUniqueId; indexOf.contains(id) && !seen.contains(id);) {
        seen.insert(id);
        const OutlineCodeValue &v = values.at(indexOf.value(id));
        parts.prepend(v.value);
        id = v.parentUniqueId;
    }
    return parts.join(QLatin1Char('.'));
}

void Project::clearResources()
{
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
    if (!m_assignments.isEmpty()) {
        const QSet<Assignment *> kept(assignments.cbegin(), assignments.cend());
        for (Assignment *old : qAsConst(m_assignments)) {
            if (!kept.contains(old))
                delete old;
        }
    }
    m_assignments = assignments;
}

const Calendar *Project::calendar(qint32 uniqueId) const
{
    const auto it = std::lower_bound(m_calendars.cbegin(), m_calendars.cend(), uniqueId,
                                     [](const Calendar &c, qint32 id) { return c.uniqueId < id; });
    return it != m_calendars.cend() && it->uniqueId == uniqueId ? &*it : nullptr;
}

const Calendar *Project::projectCalendar() const
{
    return m_properties.calendarUniqueId ? calendar(*m_properties.calendarUniqueId) : nullptr;
}

void Project::setCalendars(const QVector<Calendar> &calendars, const ProjectProperties &properties)
{
    m_calendars = calendars;
    m_properties = properties;
    for (Calendar &c : m_calendars) {
        Resource *r = c.resourceUniqueId ? resource(*c.resourceUniqueId) : nullptr;
        if (!r)
            continue;
        r->calendarUniqueId = c.uniqueId;
        // A resource calendar saved without a name is shown under its resource's name.
        if (c.name.isEmpty())
            c.name = r->name;
    }
    for (Task *task : qAsConst(m_tasks)) {
        if (task->calendarUniqueId && !calendar(*task->calendarUniqueId))
            task->calendarUniqueId.reset();
    }
}

void Project::setCompObjTexts(const QString &userType, const QString &progId,
                              const QString &clipboardFormat)
{
    m_userType = userType;
    m_progId = progId;
    m_clipboardFormat = clipboardFormat;
}

} // namespace mppr
