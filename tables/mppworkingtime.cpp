#include "tables/mppworkingtime.h"

#include "mppr/project.h"

namespace MPPWorkingTime {

namespace {

// Base chains are short; a longer one is a cycle in a damaged file.
constexpr int MaxBaseDepth = 16;

RyWorkingTime::Day dayOf(bool working, const QVector<mppr::TimeRange> &ranges)
{
    RyWorkingTime::Day day;
    day.working = working;
    for (const mppr::TimeRange &r : ranges)
        day.ranges.append({ r.from, r.to });
    return day;
}

} // namespace

RyWorkingTime ofCalendar(const mppr::Project &project, const mppr::Calendar &calendar)
{
    // The calendar first, then its bases: the nearest definition of a day wins.
    QVector<const mppr::Calendar *> chain { &calendar };
    while (chain.size() < MaxBaseDepth && chain.last()->baseCalendarUniqueId) {
        const mppr::Calendar *base = project.calendar(*chain.last()->baseCalendarUniqueId);
        if (!base || chain.contains(base))
            break;
        chain.append(base);
    }
    RyWorkingTime time;
    time.setFromCalendar(true);
    for (int d = 0; d < mppr::Calendar::DaysPerWeek; ++d) {
        mppr::CalendarWeekDay day = mppr::defaultWeekDay(d);
        for (const mppr::Calendar *c : qAsConst(chain)) {
            if (c->weekDays[size_t(d)].defined) {
                day = c->weekDays[size_t(d)];
                break;
            }
        }
        // The file counts from Sunday, Qt from Monday.
        time.setWeekDay((d + 6) % 7, dayOf(day.working, day.ranges));
    }
    for (auto c = chain.crbegin(); c != chain.crend(); ++c) {
        for (const mppr::CalendarException &e : (*c)->exceptions)
            time.addException(e.from, e.to, dayOf(e.working, e.ranges));
    }
    return time;
}

RyWorkingTime ofProject(const mppr::Project &project)
{
    const mppr::Calendar *calendar = project.projectCalendar();
    return calendar ? ofCalendar(project, *calendar) : RyWorkingTime();
}

QString projectCalendarName(const mppr::Project &project)
{
    const mppr::Calendar *calendar = project.projectCalendar();
    return calendar ? calendar->name : QString();
}

} // namespace MPPWorkingTime
