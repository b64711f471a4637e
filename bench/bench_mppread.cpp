// Reading a generated schedule of 50,000 tasks (5-level WBS, a link per task, 2,000 resources,
// 50,000 assignments): tasks per second, and the growth of peak resident memory during a read
// against the file size. The same schedule again with task records as wide as the widest real
// files (a 991-entry field map, 206 + 64-byte records, custom fields filled).
// Target: >= 1,000,000 tasks/s on wide records (BM_ReadSchedule/wide:1, counter tasks_per_s).
// The reader decodes large task tables on every core, so the rate counts wall time; the CPU
// column is that of the whole process.
// Measured (2026-12-11, medians of 7, load average 1.4 on two cores): wide 115 to 131 ms wall =
// 380,000 to 430,000 tasks/s (193 to 210 ms CPU), narrow 62 to 68 ms = 740,000 to 800,000
// tasks/s (100 to 105 ms CPU); 80 to 96 ms wide in a quieter moment. With one arena for every
// thread (MALLOC_ARENA_MAX=1) the wide read takes twice as long: the runs allocate their tasks
// side by side. Single-threaded before, CPU time: wide 159 ms = 314,000 tasks/s, narrow 85 ms
// = 586,000 tasks/s, peak growth 68 MiB for the 26 MiB narrow file (before the shared custom
// arrays, the one predecessor list, the date cache and the baseline skip, load 1.8: 232 ms =
// 216,000 and 149 ms = 337,000; before the flat VarMeta index and the per-record lookups,
// load 2.6: 459 ms = 109,000 and 200 ms = 250,000).

#include "tests/support/mppschedulegenerator.h"

#include "mppr/project.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int TaskCount = 50000;

MppGeneratorOptions largeSchedule(bool wide)
{
    MppGeneratorOptions options;
    options.tasks = TaskCount;
    options.depth = 5;
    options.resources = 2000;
    options.assignments = 50000;
    options.wideTaskRecords = wide;
    return options;
}

QTemporaryDir &workDir()
{
    static QTemporaryDir dir(QDir::temp().filePath(QStringLiteral("tarvik-bench-XXXXXX")));
    return dir;
}

// The file is written by a child process, so that the generator's memory never counts towards
// this process's peak.
QString writeSchedule(bool wide)
{
    const QString file
        = workDir().filePath(wide ? QStringLiteral("wide.mpp") : QStringLiteral("narrow.mpp"));
    const pid_t child = fork();
    if (child == 0) {
        QFile out(file);
        const bool ok = out.open(QIODevice::WriteOnly)
            && out.write(buildMppFile(generateMppSchedule(largeSchedule(wide)))) > 0;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? file : QString();
}

QString scheduleFile(bool wide = false)
{
    static const QString narrowFile = writeSchedule(false);
    if (!wide)
        return narrowFile;
    static const QString wideFile = writeSchedule(true);
    return wideFile;
}

long peakResidentKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Runs first, while the process peak is still the baseline.
void BM_ReadPeakMemory(benchmark::State &state)
{
    const QString file = scheduleFile();
    if (file.isEmpty()) {
        state.SkipWithError("cannot write the schedule");
        return;
    }
    const double fileMiB = QFileInfo(file).size() / 1048576.0;
    double growthMiB = 0;
    for (auto _ : state) {
        const long before = peakResidentKiB();
        mppr::Project project(file);
        if (project.read() != mppr::StatusOk || project.tasks().size() != TaskCount)
            state.SkipWithError("the schedule did not read");
        growthMiB = (peakResidentKiB() - before) / 1024.0;
    }
    state.counters["file_MiB"] = fileMiB;
    state.counters["maxrss_growth_MiB"] = growthMiB;
    state.counters["growth_per_file_size"] = growthMiB / fileMiB;
}
BENCHMARK(BM_ReadPeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ReadSchedule(benchmark::State &state)
{
    const bool wide = state.range(0) != 0;
    const QString file = scheduleFile(wide);
    if (file.isEmpty()) {
        state.SkipWithError("cannot write the schedule");
        return;
    }
    for (auto _ : state) {
        auto project = std::make_unique<mppr::Project>(file);
        if (project->read() != mppr::StatusOk)
            state.SkipWithError("the schedule did not read");
        benchmark::DoNotOptimize(project->tasks().size());
        // Freeing the project is not part of reading it.
        state.PauseTiming();
        project.reset();
        state.ResumeTiming();
    }
    state.counters["tasks_per_s"]
        = benchmark::Counter(TaskCount, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["file_MiB"] = QFileInfo(file).size() / 1048576.0;
    state.SetLabel(wide ? "wide records" : "narrow records");
}
BENCHMARK(BM_ReadSchedule)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->ArgName("wide")
    ->Arg(0)
    ->Arg(1)
    ->Repetitions(7)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The reader's debug lines would swamp the report.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
