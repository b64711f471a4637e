#pragma once

// Steps through the working time of the project calendar (its base calendars and the
// authoring tool's default week filling in what it leaves open), as far as the reader needs
// it: placing the parts of a split task, which the file keeps as working minutes.

#include "mppr/calendar.h"

#include <QDateTime>
#include <QVector>

namespace mppr {

class Project;

class WorkingCalendar
{
public:
    explicit WorkingCalendar(const Project &project);

    // The moment `minutes` working minutes after `from`. Landing on the end of a working period,
    // a finish stays there and a start moves on to the next period.
    QDateTime advance(const QDateTime &from, double minutes, bool asStart) const;
    // The day's working time, ascending.
    QVector<TimeRange> ranges(const QDate &date) const;

    // Bounds the days a walk looks at: a calendar without working time ends it.
    static constexpr int MaxDays = 100000;

private:
    QVector<const Calendar *> m_chain; // the calendar, then its bases
};

} // namespace mppr
