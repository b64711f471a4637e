#include "projectstream.h"

#include "jsonstreamwriter.h"
#include "projectjson.h"

#include "mppr/project.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {

using mppr::Assignment;
using mppr::Resource;
using mppr::Task;

void date(JsonStreamWriter &w, const QDateTime &value)
{
    // The reader's dates are UTC: one look at the milliseconds tells the unset date.
    static const qint64 unset = mppr::epoch().toMSecsSinceEpoch();
    if (value.timeSpec() == Qt::UTC && value.isValid()) {
        const qint64 msecs = value.toMSecsSinceEpoch();
        if (msecs == unset)
            w.null();
        else
            w.utcDateTimeValue(msecs);
    } else if (mppr::isUnset(value)) {
        w.null();
    } else {
        w.dateTimeValue(value);
    }
}

template<typename T> void optional(JsonStreamWriter &w, const std::optional<T> &value)
{
    if (value)
        w.value(double(*value));
    else
        w.null();
}

template<typename Container> void numbers(JsonStreamWriter &w, const Container &values)
{
    w.beginArray();
    for (const auto value : values)
        w.value(double(value));
    w.endArray();
}

// One member of every element, as an array of numbers.
template<typename Container, typename Member>
void column(JsonStreamWriter &w, const Container &values, Member member)
{
    w.beginArray();
    for (const auto &value : values)
        w.value(double(value.*member));
    w.endArray();
}

template<typename Container> void dates(JsonStreamWriter &w, const Container &values)
{
    w.beginArray();
    for (const QDateTime &value : values)
        date(w, value);
    w.endArray();
}

template<typename Container> void texts(JsonStreamWriter &w, const Container &values)
{
    w.beginArray();
    for (const QString &value : values)
        w.value(value);
    w.endArray();
}

void predecessors(JsonStreamWriter &w, const Task &t)
{
    w.beginArray();
    for (const Task::Predecessor &p : t.predecessors) {
        w.beginObject();
        w.key("lag");
        w.value(int(p.lag));
        w.key("lagUnits");
        w.value(int(p.lagUnits));
        w.key("type");
        w.value(int(p.type));
        w.key("uniqueId");
        w.value(int(p.uniqueId));
        w.endObject();
    }
    w.endArray();
}

// Keys in the order a JSON object keeps them.
void baselines(JsonStreamWriter &w, const Task &t)
{
    w.beginArray();
    for (const mppr::Baseline &b : t.baselines) {
        w.beginObject();
        w.key("cost");
        optional(w, b.cost);
        w.key("duration");
        optional(w, b.duration);
        w.key("finish");
        date(w, b.finish);
        w.key("number");
        w.value(int(b.number));
        w.key("start");
        date(w, b.start);
        w.key("work");
        optional(w, b.work);
        w.endObject();
    }
    w.endArray();
}

template<typename T> void optionalId(JsonStreamWriter &w, const std::optional<T> &value)
{
    if (value)
        w.value(int(*value));
    else
        w.null();
}

void textOrNull(JsonStreamWriter &w, const QString &value)
{
    if (value.isEmpty())
        w.null();
    else
        w.value(value);
}

void ranges(JsonStreamWriter &w, const QVector<mppr::TimeRange> &values)
{
    w.beginArray();
    for (const mppr::TimeRange &r : values) {
        w.beginArray();
        w.value(clockText(r.from));
        w.value(clockText(r.to));
        w.endArray();
    }
    w.endArray();
}

// Keys in the order a JSON object keeps them.
void calendar(JsonStreamWriter &w, const mppr::Calendar &c)
{
    w.beginObject();
    w.key("baseCalendarUniqueId");
    optionalId(w, c.baseCalendarUniqueId);
    w.key("exceptions");
    w.beginArray();
    for (const mppr::CalendarException &e : c.exceptions) {
        w.beginObject();
        w.key("from");
        w.value(e.from.toString(Qt::ISODate));
        w.key("ranges");
        ranges(w, e.ranges);
        w.key("to");
        w.value(e.to.toString(Qt::ISODate));
        w.key("working");
        w.value(e.working);
        w.endObject();
    }
    w.endArray();
    w.key("name");
    w.value(c.name);
    w.key("resourceUniqueId");
    optionalId(w, c.resourceUniqueId);
    w.key("uniqueId");
    w.value(int(c.uniqueId));
    w.key("weekDays");
    w.beginArray();
    for (int d = 0; d < mppr::Calendar::DaysPerWeek; ++d) {
        const mppr::CalendarWeekDay &day = c.weekDays[size_t(d)];
        if (!day.defined)
            continue;
        w.beginObject();
        w.key("day");
        w.value(d + 1);
        w.key("ranges");
        ranges(w, day.ranges);
        w.key("working");
        w.value(day.working);
        w.endObject();
    }
    w.endArray();
    w.endObject();
}

void properties(JsonStreamWriter &w, const mppr::ProjectProperties &p)
{
    w.beginObject();
    w.key("author");
    textOrNull(w, p.author);
    w.key("calendarUniqueId");
    optionalId(w, p.calendarUniqueId);
    w.key("company");
    textOrNull(w, p.company);
    w.key("currentDate");
    date(w, p.currentDate);
    w.key("daysPerMonth");
    w.value(p.daysPerMonth);
    w.key("finishDate");
    date(w, p.finishDate);
    w.key("minutesPerDay");
    w.value(p.minutesPerDay);
    w.key("minutesPerWeek");
    w.value(p.minutesPerWeek);
    w.key("startDate");
    date(w, p.startDate);
    w.key("statusDate");
    date(w, p.statusDate);
    w.key("title");
    textOrNull(w, p.title);
    w.endObject();
}

// The custom field names ranked in the order a JSON object keeps its keys.
class CustomFieldKeys
{
public:
    CustomFieldKeys()
    {
        std::vector<int> order(mppr::CustomFieldCount);
        for (int index = 0; index < mppr::CustomFieldCount; ++index) {
            m_names[size_t(index)] = mppr::customFieldName(index).toLatin1();
            order[size_t(index)] = index;
        }
        std::sort(order.begin(), order.end(),
                  [this](int a, int b) { return m_names[size_t(a)] < m_names[size_t(b)]; });
        for (int rank = 0; rank < mppr::CustomFieldCount; ++rank)
            m_ranks[size_t(order[size_t(rank)])] = rank;
    }

    // -1 for an index outside the custom fields, whose name is empty.
    int rank(int index) const
    {
        return index >= 0 && index < mppr::CustomFieldCount ? m_ranks[size_t(index)] : -1;
    }
    const char *name(int index) const
    {
        return rank(index) < 0 ? "" : m_names[size_t(index)].constData();
    }
    int nameSize(int index) const { return rank(index) < 0 ? 0 : m_names[size_t(index)].size(); }

private:
    std::array<QByteArray, mppr::CustomFieldCount> m_names;
    std::array<int, mppr::CustomFieldCount> m_ranks {};
};

// The values as the document writer's object gives them: ordered by name, the last of
// values under one name kept.
void customFields(JsonStreamWriter &w, const mppr::CustomFieldValues &values)
{
    static const CustomFieldKeys keys;
    // Each value goes to its name's place in key order, a later one over an earlier one; an
    // index outside the custom fields has the empty name, which sorts first.
    std::array<const mppr::CustomFieldValue *, mppr::CustomFieldCount + 1> byRank {};
    for (const mppr::CustomFieldValue &v : values)
        byRank[size_t(keys.rank(v.field) + 1)] = &v;
    w.beginObject();
    for (const mppr::CustomFieldValue *value : byRank) {
        if (!value)
            continue;
        const mppr::CustomFieldValue &v = *value;
        w.key(keys.name(v.field), keys.nameSize(v.field));
        // The common types read in place, without a copy.
        switch (v.value.type()) {
        case QVariant::DateTime:
            date(w, *static_cast<const QDateTime *>(v.value.constData()));
            break;
        case QVariant::Bool:
            w.value(v.value.toBool());
            break;
        case QVariant::Double:
            w.value(v.value.toDouble());
            break;
        case QVariant::String:
            w.value(*static_cast<const QString *>(v.value.constData()));
            break;
        default:
            w.value(v.value.toString());
            break;
        }
    }
    w.endObject();
}

// One member of a record's object: its key and how its value is written.
template<typename Record> struct Member
{
    const char *key;
    void (*write)(JsonStreamWriter &, const Record &);
    bool (*present)(const Record &) = nullptr; // null: always written
    int keySize = 0; // filled in by sortedMembers()
};

// The members in the order a JSON object keeps its keys, whatever order they are listed in.
template<typename Record>
std::vector<Member<Record>> sortedMembers(std::initializer_list<Member<Record>> members)
{
    std::vector<Member<Record>> sorted(members);
    for (Member<Record> &member : sorted)
        member.keySize = int(std::strlen(member.key));
    std::sort(sorted.begin(), sorted.end(), [](const Member<Record> &a, const Member<Record> &b) {
        return std::strcmp(a.key, b.key) < 0;
    });
    return sorted;
}

template<typename Record>
void writeRecord(JsonStreamWriter &w, const std::vector<Member<Record>> &members, const Record &r)
{
    w.beginObject();
    for (const Member<Record> &member : members) {
        if (member.present && !member.present(r))
            continue;
        w.key(member.key, member.keySize);
        member.write(w, r);
    }
    w.endObject();
}

using W = JsonStreamWriter;

std::vector<Member<Task>> taskMembers()
{
    return sortedMembers<Task>({
        { "uniqueId", [](W &w, const Task &t) { w.value(int(t.uniqueId)); } },
        { "tf17", [](W &w, const Task &t) { w.value(int(t.tf17)); } },
        { "name", [](W &w, const Task &t) { w.value(t.name); } },
        { "blankRecord", [](W &w, const Task &t) { w.value(t.blankRecord); } },
        { "shortRecord", [](W &w, const Task &t) { w.value(t.shortRecord); } },
        { "tf15", [](W &w, const Task &t) { w.value(int(t.tf15)); } },
        { "tf16", [](W &w, const Task &t) { w.value(int(t.tf16)); } },
        { "start", [](W &w, const Task &t) { date(w, t.start); } },
        { "finish", [](W &w, const Task &t) { date(w, t.finish); } },
        { "actualStart", [](W &w, const Task &t) { date(w, t.actualStart); } },
        { "actualFinish", [](W &w, const Task &t) { date(w, t.actualFinish); } },
        { "earlyStart", [](W &w, const Task &t) { date(w, t.earlyStart); } },
        { "earlyFinish", [](W &w, const Task &t) { date(w, t.earlyFinish); } },
        { "lateStart", [](W &w, const Task &t) { date(w, t.lateStart); } },
        { "lateFinish", [](W &w, const Task &t) { date(w, t.lateFinish); } },
        { "scheduledStart", [](W &w, const Task &t) { date(w, t.scheduledStart); } },
        { "scheduledFinish", [](W &w, const Task &t) { date(w, t.scheduledFinish); } },
        { "percentComplete", [](W &w, const Task &t) { w.value(t.percentComplete); } },
        { "tf21", [](W &w, const Task &t) { w.value(t.tf21); } },
        { "autoScheduled", [](W &w, const Task &t) { w.value(int(t.autoScheduled)); } },
        { "tf18", [](W &w, const Task &t) { w.value(t.tf18); } },
        { "tf52", [](W &w, const Task &t) { w.value(t.tf52); } },
        { "parentUniqueId", [](W &w, const Task &t) { w.value(int(t.parentUniqueId)); } },
        { "tf11", [](W &w, const Task &t) { w.value(int(t.tf11)); } },
        { "constraintDate", [](W &w, const Task &t) { date(w, t.constraintDate); } },
        { "code", [](W &w, const Task &t) { w.value(t.code); } },
        { "tf1c", [](W &w, const Task &t) { w.value(int(t.tf1c)); } },
        { "tf33", [](W &w, const Task &t) { w.value(int(t.tf33)); } },
        { "tf05", [](W &w, const Task &t) { w.value(t.tf05); } },
        { "predUniqueIds",
          [](W &w, const Task &t) { column(w, t.predecessors, &Task::Predecessor::uniqueId); } },
        { "predLags",
          [](W &w, const Task &t) { column(w, t.predecessors, &Task::Predecessor::lag); } },
        { "predLagUnits",
          [](W &w, const Task &t) { column(w, t.predecessors, &Task::Predecessor::lagUnits); } },
        { "predTypes",
          [](W &w, const Task &t) { column(w, t.predecessors, &Task::Predecessor::type); } },
        { "texts", [](W &w, const Task &t) { texts(w, t.texts); } },
        { "datesA", [](W &w, const Task &t) { dates(w, t.datesA); } },
        { "datesB", [](W &w, const Task &t) { dates(w, t.datesB); } },
        { "numbers", [](W &w, const Task &t) { numbers(w, t.numbers); } },
        { "integers", [](W &w, const Task &t) { numbers(w, t.integers); } },
        { "tf513", [](W &w, const Task &t) { date(w, t.tf513); } },
        { "tf514", [](W &w, const Task &t) { date(w, t.tf514); } },
        { "tf515", [](W &w, const Task &t) { w.value(int(t.tf515)); } },
        { "tf06", [](W &w, const Task &t) { w.value(t.tf06); } },
        { "datesC", [](W &w, const Task &t) { dates(w, t.datesC); } },
        { "datesD", [](W &w, const Task &t) { dates(w, t.datesD); } },
        { "integersB", [](W &w, const Task &t) { numbers(w, t.integersB); } },
        { "numbersB", [](W &w, const Task &t) { numbers(w, t.numbersB); } },
        { "tf0a", [](W &w, const Task &t) { w.value(t.tf0a); } },
        { "tf1f", [](W &w, const Task &t) { w.value(int(t.tf1f)); } },
        { "tf04", [](W &w, const Task &t) { w.value(t.tf04); } },
        { "startSlack", [](W &w, const Task &t) { optional(w, t.startSlack); } },
        { "finishSlack", [](W &w, const Task &t) { optional(w, t.finishSlack); } },
        { "duration", [](W &w, const Task &t) { optional(w, t.duration); } },
        { "work", [](W &w, const Task &t) { optional(w, t.work); } },
        { "actualWork", [](W &w, const Task &t) { optional(w, t.actualWork); } },
        { "predecessors", [](W &w, const Task &t) { predecessors(w, t); } },
        { "baselines", [](W &w, const Task &t) { baselines(w, t); } },
        { "calendarUniqueId", [](W &w, const Task &t) { optionalId(w, t.calendarUniqueId); } },
        { "customFields", [](W &w, const Task &t) { customFields(w, t.customFields); } },
        { "notes", [](W &w, const Task &t) { textOrNull(w, t.notes); } },
        { "segments", [](W &w, const Task &t) { w.jsonValue(segmentsToJson(t)); },
          [](const Task &t) { return !t.segments.isEmpty(); } },
    });
}

std::vector<Member<Resource>> resourceMembers()
{
    return sortedMembers<Resource>({
        { "uniqueId", [](W &w, const Resource &r) { w.value(int(r.uniqueId)); } },
        { "name", [](W &w, const Resource &r) { w.value(r.name); } },
        { "shortName", [](W &w, const Resource &r) { w.value(r.shortName); } },
        { "calendarUniqueId", [](W &w, const Resource &r) { optionalId(w, r.calendarUniqueId); } },
        { "customFields", [](W &w, const Resource &r) { customFields(w, r.customFields); } },
        { "notes", [](W &w, const Resource &r) { textOrNull(w, r.notes); } },
    });
}

std::vector<Member<Assignment>> assignmentMembers()
{
    return sortedMembers<Assignment>({
        { "resourceUniqueId", [](W &w, const Assignment &a) { w.value(int(a.resourceUniqueId)); } },
        { "taskUniqueId", [](W &w, const Assignment &a) { w.value(int(a.taskUniqueId)); } },
        { "uniqueId", [](W &w, const Assignment &a) { w.value(int(a.uniqueId)); } },
        { "af1c", [](W &w, const Assignment &a) { w.value(a.af1c); } },
        { "af20", [](W &w, const Assignment &a) { w.value(a.af20); } },
        { "af1a", [](W &w, const Assignment &a) { w.value(a.af1a); } },
        { "af0a", [](W &w, const Assignment &a) { w.value(a.af0a); } },
        { "af10", [](W &w, const Assignment &a) { w.value(a.af10); } },
        { "af08", [](W &w, const Assignment &a) { w.value(a.af08); } },
        { "af1d", [](W &w, const Assignment &a) { w.value(a.af1d); } },
        { "af0c", [](W &w, const Assignment &a) { w.value(a.af0c); } },
        { "af1e", [](W &w, const Assignment &a) { w.value(a.af1e); } },
        { "af0d", [](W &w, const Assignment &a) { w.value(a.af0d); } },
        { "af1f", [](W &w, const Assignment &a) { w.value(a.af1f); } },
        { "af0e", [](W &w, const Assignment &a) { w.value(a.af0e); } },
        { "af16", [](W &w, const Assignment &a) { date(w, a.af16); } },
        { "af17", [](W &w, const Assignment &a) { date(w, a.af17); } },
        { "af14", [](W &w, const Assignment &a) { date(w, a.af14); } },
        { "af15", [](W &w, const Assignment &a) { date(w, a.af15); } },
        { "af0b", [](W &w, const Assignment &a) { w.value(a.af0b); } },
    });
}

template<typename Record> QList<Record *> sortedByUniqueId(const QHash<qint32, Record *> &records)
{
    QList<Record *> sorted = records.values();
    std::sort(sorted.begin(), sorted.end(),
              [](const Record *a, const Record *b) { return a->uniqueId < b->uniqueId; });
    return sorted;
}

// Stops early once the output fails: nothing more would reach it.
template<typename Records, typename Record>
void writeRecords(JsonStreamWriter &w, const Records &records,
                  const std::vector<Member<Record>> &members)
{
    w.beginArray();
    for (const Record *record : records) {
        if (w.failed())
            break;
        writeRecord(w, members, *record);
    }
    w.endArray();
}

} // namespace

void writeProject(JsonStreamWriter &w, const mppr::Project &project, int status)
{
    w.beginObject();
    w.key("assignments");
    writeRecords(w, project.assignments(), assignmentMembers());
    w.key("calendars");
    w.beginArray();
    for (const mppr::Calendar &c : project.calendars())
        calendar(w, c);
    w.endArray();
    w.key("clipboardFormat");
    w.value(project.clipboardFormat());
    w.key("customFieldDefinitions");
    w.jsonValue(customFieldDefinitionsToJson(project));
    w.key("file");
    w.value(project.filePath());
    w.key("outlineCodes");
    w.jsonValue(outlineCodesToJson(project));
    w.key("progId");
    w.value(project.progId());
    w.key("project");
    properties(w, project.properties());
    w.key("resources");
    writeRecords(w, sortedByUniqueId(project.resources()), resourceMembers());
    w.key("status");
    w.value(status);
    w.key("tasks");
    writeRecords(w, sortedByUniqueId(project.tasks()), taskMembers());
    w.key("userType");
    w.value(project.userType());
    w.endObject();
}
