#pragma once

// The outline numbers ("1.2.3") of the tasks, from their parents' unique IDs.

#include <QHash>

namespace mppr {

struct Task;

// Siblings are numbered in ascending unique-ID order below their parent's number, and every
// task without a real parent is "1"; writes each numbered task's code.
void numberOutline(const QHash<qint32, Task *> &tasks);

} // namespace mppr
