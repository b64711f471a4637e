#pragma once

// Edits a generated schedule the way a month of planning might: `count` leaf activities
// removed (with their links), `count` added under existing WBS nodes without links, `count`
// moved one working day later (their successors stay), and `count` links between other leaf
// activities removed. The edits never touch the same activity twice and never leave a WBS node
// without children, so that a comparison of the two versions finds exactly these edits and
// their direct consequences (the successors of removed links have changed predecessors).

#include "tests/support/mppschedulebuilder.h"

#include <QPair>

struct MppScheduleEdits
{
    QVector<qint32> removed;
    QVector<qint32> added;
    QVector<qint32> moved;
    QVector<QPair<qint32, qint32>> linksRemoved; // predecessor, successor
    // Links that went with the removed activities.
    QVector<QPair<qint32, qint32>> linksOfRemoved;
};

// Applies the edits to `spec`; fewer when the schedule has too few leaf activities.
MppScheduleEdits editMppSchedule(MppScheduleSpec &spec, int count);
