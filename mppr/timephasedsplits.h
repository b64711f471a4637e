#pragma once

// The parts of a split task from the time-phased work of its assignment: a run of entries,
// each the working time up to its end and the work done by then; an entry that adds no work
// is a gap between two parts.

#include "mppr/bytes.h"

#include <QPair>
#include <QVector>

namespace mppr {

// Working minutes from the assignment's start, [from, to) per part; fewer than two parts
// (a task that is not split) give an empty list.
QVector<QPair<double, double>> splitPartsFromTimephased(ByteView data);

} // namespace mppr
