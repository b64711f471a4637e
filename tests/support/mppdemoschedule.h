#pragma once

// The built-in sample schedule: a small office building (two blocks of three levels) with a
// WBS, milestones, links of every type with some lags, crews assigned to the work, a baseline
// from which a few activities slipped, progress up to a status date and public holidays in
// the calendar. The same schedule every time; `mppgen --demo` writes it.

#include "tests/support/mppschedulebuilder.h"

MppScheduleSpec demoMppSchedule();
