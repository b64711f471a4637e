// The working time of an MPP project's calendar for the chart, and the calendar names the
// details show: derived calendars resolved through their base calendars.
#pragma once

#include "models/ryworkingtime.h"

#include <QString>

namespace mppr {
struct Calendar;
class Project;
} // namespace mppr

namespace MPPWorkingTime {

// The project calendar's week and exceptions, a derived calendar's "use base" days and the
// base's exceptions taken from its base; the fallback week when the file names no calendar.
RyWorkingTime ofProject(const mppr::Project &project);
RyWorkingTime ofCalendar(const mppr::Project &project, const mppr::Calendar &calendar);
// The name of the project calendar; empty when there is none.
QString projectCalendarName(const mppr::Project &project);

} // namespace MPPWorkingTime
