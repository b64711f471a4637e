#include "mppr/workingcalendar.h"

#include "mppr/project.h"

#include <cmath>

namespace mppr {

namespace {
constexpr int MaxBaseDepth = 16;
constexpr int MaxIdleDays = 3660; // ten years without working time end a walk
} // namespace

WorkingCalendar::WorkingCalendar(const Project &project)
{
    const Calendar *calendar = project.projectCalendar();
    while (calendar && m_chain.size() < MaxBaseDepth && !m_chain.contains(calendar)) {
        m_chain.append(calendar);
        calendar = calendar->baseCalendarUniqueId
            ? project.calendar(*calendar->baseCalendarUniqueId)
            : nullptr;
    }
}

QVector<TimeRange> WorkingCalendar::ranges(const QDate &date) const
{
    // The nearest calendar that says something of the day wins: an exception, then its week.
    for (const Calendar *c : m_chain) {
        for (const CalendarException &e : c->exceptions) {
            if (e.from <= date && date <= e.to)
                return e.working ? e.ranges : QVector<TimeRange>();
        }
    }
    const int day = date.dayOfWeek() % 7; // the file counts from Sunday
    CalendarWeekDay week = defaultWeekDay(day);
    for (const Calendar *c : m_chain) {
        if (c->weekDays[size_t(day)].defined) {
            week = c->weekDays[size_t(day)];
            break;
        }
    }
    return week.working ? week.ranges : QVector<TimeRange>();
}

QDateTime WorkingCalendar::advance(const QDateTime &from, double minutes, bool asStart) const
{
    QDate date = from.date();
    double clock = from.time().msecsSinceStartOfDay() / 60000.0;
    double left = qMax(0.0, minutes);
    int idle = 0; // days in a row without working time
    for (int days = 0; days < MaxDays && idle < MaxIdleDays;
         ++days, date = date.addDays(1), clock = 0) {
        const QVector<TimeRange> day = ranges(date);
        idle = day.isEmpty() ? idle + 1 : 0;
        for (const TimeRange &r : day) {
            if (r.to <= clock)
                continue;
            const double begin = qMax(clock, double(r.from));
            const double available = r.to - begin;
            // A start never sits on the end of a period; a finish may.
            if (left < available || (!asStart && left == available)) {
                const qint64 msecs = qint64(std::llround((begin + left) * 60000.0));
                return QDateTime(date, QTime(0, 0), Qt::UTC).addMSecs(msecs);
            }
            left -= available;
        }
    }
    return from;
}

} // namespace mppr
