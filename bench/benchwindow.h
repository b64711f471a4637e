// What the window benchmarks share: the generated WBS schedule, a folder to write schedules to,
// opening one through the main window and the process's resident memory.
#pragma once

#include "tests/support/mppschedulebuilder.h"

#include <QString>

class MainWindow;

namespace bench {

// Five WBS levels: 5 x 5 x 5 x 5 summaries, `perGroup` activities under each of the 625 lowest
// ones, chained by finish-to-start links, each assigned to one of ten crews.
MppScheduleSpec wbsSchedule(int perGroup);

// Writes the schedule once per process under `name` in a temporary folder; the path, empty when
// it could not be written.
QString writeSchedule(const QString &name, const MppScheduleSpec &spec);

// The temporary folder the schedules go to.
QString workPath(const QString &name);

// False when the load failed or did not end within five minutes.
bool openAndWait(MainWindow &window, const QString &path);

double residentMegabytes();

// The main() of a window benchmark: offscreen, settings, recent files and layouts in a folder of
// this run (never the user's), then every registered benchmark.
int runWindowBenchmarks(int argc, char **argv);

} // namespace bench
