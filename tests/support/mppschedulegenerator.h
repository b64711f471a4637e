#pragma once

// Synthetic "   114" schedules of any size: a WBS of summary tasks down to a given depth with
// leaf tasks below, one finish-to-start link per task, resources and assignments. The same
// options always give the same schedule.

#include "tests/support/mppschedulebuilder.h"

struct MppGeneratorOptions
{
    int tasks = 60; // including the project summary task
    int depth = 3; // WBS levels below the project summary task; leaves sit at the last
    int leavesPerGroup = 6;
    int resources = 5;
    int assignments = 40;
    quint32 seed = 1;
    QDate start = QDate(2025, 1, 6);
    // Task records as wide as the widest real "   114" files, with custom fields filled.
    bool wideTaskRecords = false;
};

MppScheduleSpec generateMppSchedule(const MppGeneratorOptions &options);
