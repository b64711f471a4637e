#include "projectjson.h"

#include "mppr/project.h"

#include <QJsonArray>

#include <algorithm>

namespace {

using mppr::Assignment;
using mppr::Resource;
using mppr::Task;

QJsonValue date(const QDateTime &value)
{
    if (mppr::isUnset(value))
        return QJsonValue::Null;
    return value.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
}

template<typename T> QJsonValue optional(const std::optional<T> &value)
{
    return value ? QJsonValue(double(*value)) : QJsonValue(QJsonValue::Null);
}

template<typename Container, typename Convert>
QJsonArray array(const Container &values, Convert convert)
{
    QJsonArray out;
    for (const auto &value : values)
        out.append(convert(value));
    return out;
}

QJsonValue text(const QString &value)
{
    return value;
}
QJsonValue number(double value)
{
    return value;
}

QJsonArray predecessors(const Task &t)
{
    QJsonArray out;
    for (const Task::Predecessor &p : t.predecessors) {
        out.append(QJsonObject { { "uniqueId", p.uniqueId },
                                 { "type", p.type },
                                 { "lag", p.lag },
                                 { "lagUnits", p.lagUnits } });
    }
    return out;
}

QJsonArray baselines(const Task &t)
{
    QJsonArray out;
    for (const mppr::Baseline &b : t.baselines) {
        out.append(QJsonObject { { "number", b.number },
                                 { "start", date(b.start) },
                                 { "finish", date(b.finish) },
                                 { "duration", optional(b.duration) },
                                 { "work", optional(b.work) },
                                 { "cost", optional(b.cost) } });
    }
    return out;
}

template<typename T> QJsonValue optionalId(const std::optional<T> &value)
{
    return value ? QJsonValue(int(*value)) : QJsonValue(QJsonValue::Null);
}

QJsonObject taskToJson(const Task &t)
{
    QJsonObject o;
    o["uniqueId"] = t.uniqueId;
    o["tf17"] = t.tf17;
    o["name"] = t.name;
    o["blankRecord"] = t.blankRecord;
    o["shortRecord"] = t.shortRecord;
    o["tf15"] = t.tf15;
    o["tf16"] = t.tf16;
    o["start"] = date(t.start);
    o["finish"] = date(t.finish);
    o["actualStart"] = date(t.actualStart);
    o["actualFinish"] = date(t.actualFinish);
    o["earlyStart"] = date(t.earlyStart);
    o["earlyFinish"] = date(t.earlyFinish);
    o["lateStart"] = date(t.lateStart);
    o["lateFinish"] = date(t.lateFinish);
    o["scheduledStart"] = date(t.scheduledStart);
    o["scheduledFinish"] = date(t.scheduledFinish);
    o["percentComplete"] = t.percentComplete;
    o["tf21"] = t.tf21;
    o["autoScheduled"] = t.autoScheduled;
    o["tf18"] = t.tf18;
    o["tf52"] = t.tf52;
    o["parentUniqueId"] = t.parentUniqueId;
    o["tf11"] = t.tf11;
    o["constraintDate"] = date(t.constraintDate);
    o["code"] = t.code;
    o["tf1c"] = t.tf1c;
    o["tf33"] = t.tf33;
    o["tf05"] = t.tf05;
    // Also one array per member, as the parallel lists they once were.
    o["predUniqueIds"] = array(t.predecessors, [](const auto &p) { return number(p.uniqueId); });
    o["predLags"] = array(t.predecessors, [](const auto &p) { return number(p.lag); });
    o["predLagUnits"] = array(t.predecessors, [](const auto &p) { return number(p.lagUnits); });
    o["predTypes"] = array(t.predecessors, [](const auto &p) { return number(p.type); });
    o["texts"] = array(t.texts, text);
    o["datesA"] = array(t.datesA, date);
    o["datesB"] = array(t.datesB, date);
    o["numbers"] = array(t.numbers, number);
    o["integers"] = array(t.integers, number);
    o["tf513"] = date(t.tf513);
    o["tf514"] = date(t.tf514);
    o["tf515"] = t.tf515;
    o["tf06"] = t.tf06;
    o["datesC"] = array(t.datesC, date);
    o["datesD"] = array(t.datesD, date);
    o["integersB"] = array(t.integersB, number);
    o["numbersB"] = array(t.numbersB, number);
    o["tf0a"] = t.tf0a;
    o["tf1f"] = t.tf1f;
    o["tf04"] = t.tf04;
    o["startSlack"] = optional(t.startSlack);
    o["finishSlack"] = optional(t.finishSlack);
    o["duration"] = optional(t.duration);
    o["work"] = optional(t.work);
    o["actualWork"] = optional(t.actualWork);
    o["predecessors"] = predecessors(t);
    o["baselines"] = baselines(t);
    o["calendarUniqueId"] = optionalId(t.calendarUniqueId);
    o["customFields"] = customFieldsToJson(t.customFields);
    o["notes"] = notesToJson(t.notes);
    if (!t.segments.isEmpty())
        o["segments"] = segmentsToJson(t);
    return o;
}

QJsonValue textOrNull(const QString &value)
{
    return value.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(value);
}

QJsonObject resourceToJson(const Resource &r)
{
    return QJsonObject { { "uniqueId", r.uniqueId },
                         { "name", r.name },
                         { "shortName", r.shortName },
                         { "calendarUniqueId", optionalId(r.calendarUniqueId) },
                         { "customFields", customFieldsToJson(r.customFields) },
                         { "notes", notesToJson(r.notes) } };
}

QJsonArray rangesToJson(const QVector<mppr::TimeRange> &ranges)
{
    QJsonArray out;
    for (const mppr::TimeRange &r : ranges)
        out.append(QJsonArray { clockText(r.from), clockText(r.to) });
    return out;
}

QJsonObject calendarToJson(const mppr::Calendar &c)
{
    QJsonArray weekDays;
    for (int d = 0; d < mppr::Calendar::DaysPerWeek; ++d) {
        const mppr::CalendarWeekDay &day = c.weekDays[size_t(d)];
        if (day.defined)
            weekDays.append(QJsonObject { { "day", d + 1 },
                                          { "working", day.working },
                                          { "ranges", rangesToJson(day.ranges) } });
    }
    QJsonArray exceptions;
    for (const mppr::CalendarException &e : c.exceptions)
        exceptions.append(QJsonObject { { "from", e.from.toString(Qt::ISODate) },
                                        { "to", e.to.toString(Qt::ISODate) },
                                        { "working", e.working },
                                        { "ranges", rangesToJson(e.ranges) } });
    return QJsonObject { { "uniqueId", c.uniqueId },
                         { "name", c.name },
                         { "baseCalendarUniqueId", optionalId(c.baseCalendarUniqueId) },
                         { "resourceUniqueId", optionalId(c.resourceUniqueId) },
                         { "weekDays", weekDays },
                         { "exceptions", exceptions } };
}

QJsonObject propertiesToJson(const mppr::ProjectProperties &p)
{
    return QJsonObject { { "minutesPerDay", p.minutesPerDay },
                         { "minutesPerWeek", p.minutesPerWeek },
                         { "daysPerMonth", p.daysPerMonth },
                         { "calendarUniqueId", optionalId(p.calendarUniqueId) },
                         { "startDate", date(p.startDate) },
                         { "finishDate", date(p.finishDate) },
                         { "statusDate", date(p.statusDate) },
                         { "currentDate", date(p.currentDate) },
                         { "author", textOrNull(p.author) },
                         { "title", textOrNull(p.title) },
                         { "company", textOrNull(p.company) } };
}

QJsonObject assignmentToJson(const Assignment &a)
{
    QJsonObject o;
    o["resourceUniqueId"] = a.resourceUniqueId;
    o["taskUniqueId"] = a.taskUniqueId;
    o["uniqueId"] = a.uniqueId;
    o["af1c"] = a.af1c;
    o["af20"] = a.af20;
    o["af1a"] = a.af1a;
    o["af0a"] = a.af0a;
    o["af10"] = a.af10;
    o["af08"] = a.af08;
    o["af1d"] = a.af1d;
    o["af0c"] = a.af0c;
    o["af1e"] = a.af1e;
    o["af0d"] = a.af0d;
    o["af1f"] = a.af1f;
    o["af0e"] = a.af0e;
    o["af16"] = date(a.af16);
    o["af17"] = date(a.af17);
    o["af14"] = date(a.af14);
    o["af15"] = date(a.af15);
    o["af0b"] = a.af0b;
    return o;
}

template<typename Record> QList<Record *> sortedByUniqueId(const QHash<qint32, Record *> &records)
{
    QList<Record *> sorted = records.values();
    std::sort(sorted.begin(), sorted.end(),
              [](const Record *a, const Record *b) { return a->uniqueId < b->uniqueId; });
    return sorted;
}

} // namespace

QJsonObject customFieldsToJson(const mppr::CustomFieldValues &values)
{
    QJsonObject o;
    for (const mppr::CustomFieldValue &v : values) {
        QJsonValue json;
        switch (v.value.type()) {
        case QVariant::DateTime:
            json = date(v.value.toDateTime());
            break;
        case QVariant::Bool:
            json = v.value.toBool();
            break;
        case QVariant::Double:
            json = v.value.toDouble();
            break;
        default:
            json = v.value.toString();
            break;
        }
        o[mppr::customFieldName(v.field)] = json;
    }
    return o;
}

QJsonArray segmentsToJson(const mppr::Task &task)
{
    QJsonArray out;
    for (const mppr::Task::Segment &s : task.segments)
        out.append(QJsonObject { { "start", date(s.start) }, { "finish", date(s.finish) } });
    return out;
}

QJsonValue notesToJson(const QString &notes)
{
    return textOrNull(notes);
}

QJsonArray customFieldDefinitionsToJson(const mppr::Project &project)
{
    QJsonArray out;
    for (const mppr::CustomFieldDefinition &d : project.customFieldDefinitions()) {
        const bool task = d.entity == mppr::CustomFieldEntity::Task;
        out.append(QJsonObject { { "entity", task ? "task" : "resource" },
                                 { "field", mppr::customFieldName(d.field) },
                                 { "alias", d.alias } });
    }
    return out;
}

QJsonArray outlineCodesToJson(const mppr::Project &project)
{
    QJsonArray out;
    for (const mppr::OutlineCode &code : project.outlineCodes()) {
        QJsonArray values;
        for (const mppr::OutlineCodeValue &v : code.values) {
            values.append(QJsonObject { { "uniqueId", v.uniqueId },
                                        { "parentUniqueId",
                                          v.parentUniqueId > 0 ? QJsonValue(v.parentUniqueId)
                                                               : QJsonValue(QJsonValue::Null) },
                                        { "value", v.value },
                                        { "description", textOrNull(v.description) } });
        }
        out.append(QJsonObject { { "field", QStringLiteral("OutlineCode%1").arg(code.number) },
                                 { "alias", textOrNull(code.alias) },
                                 { "values", values } });
    }
    return out;
}

QString clockText(int minutes)
{
    return QStringLiteral("%1:%2")
        .arg(minutes / 60 % 24, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QJsonObject projectToJson(const mppr::Project &project, int status)
{
    QJsonArray tasks;
    for (const Task *t : sortedByUniqueId(project.tasks()))
        tasks.append(taskToJson(*t));
    QJsonArray resources;
    for (const Resource *r : sortedByUniqueId(project.resources()))
        resources.append(resourceToJson(*r));
    QJsonArray assignments;
    for (const Assignment *a : project.assignments())
        assignments.append(assignmentToJson(*a));
    QJsonArray calendars;
    for (const mppr::Calendar &c : project.calendars())
        calendars.append(calendarToJson(c));
    return QJsonObject { { "file", project.filePath() },
                         { "project", propertiesToJson(project.properties()) },
                         { "calendars", calendars },
                         { "customFieldDefinitions", customFieldDefinitionsToJson(project) },
                         { "outlineCodes", outlineCodesToJson(project) },
                         { "status", status },
                         { "userType", project.userType() },
                         { "progId", project.progId() },
                         { "clipboardFormat", project.clipboardFormat() },
                         { "tasks", tasks },
                         { "resources", resources },
                         { "assignments", assignments } };
}
