// mppdump on generated schedules (N tasks, 5-level WBS, 200 resources, N assignments), run as
// the program scripts run: a child process writing to /dev/null. Reports wall time, the
// child's CPU time and its peak resident memory beside the file size.
// Targets: 50,000 tasks in <= 0.5 s (project) and <= 3 s (--tables); peak resident memory
// <= 3 x the file size + 100 MB; 200,000 tasks complete in both modes.
// BM_MppDumpWide: the 50,000-task schedule with records as wide as the widest real files
// (36 MB, 331 MB of JSON) against `cat` of the same file (counter times_cat).
// Targets: <= 15 x cat (project), <= 40 x cat (--tables).
// BM_MppDumpCheck: --check on the 50,000-task schedule against cat of it; target <= 20 x cat.
// Measured (2026-12-11, medians of 3, load average about 2 on two cores): 50,000 narrow tasks
// 0.30 s (0.29 s CPU), --tables 1.87 s (1.84 s CPU), peak 82 and 90 MB; 200,000 tasks 1.16 s,
// --tables 7.55 s, peak 287 and 316 MB. Wide: 0.49 s = 129 x cat (3.7 ms), --tables 2.25 s =
// 633 x cat. --check, medians of 5: 172 ms = 60 x cat (2.9 ms), nearly all of it the reader.
// Before the same day's writer and table work (load 3): 50,000 0.38 s, --tables 3.65 s; wide
// 0.67 s = 177 x, --tables 4.17 s = 1,110 x; --check 167 ms = 60 x. The wide targets are out
// of reach while the reader alone takes about 0.16 s (42 x cat) and --tables writes 1.7 GB.
// With the reader decoding on both cores (load 1.4): wide 0.40 s = 102 x cat (3.8 ms), --tables
// 2.20 s = 588 x; --check 147 ms = 51 x cat (2.8 ms).

#include "tests/support/mppschedulegenerator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QTemporaryDir &workDir()
{
    static QTemporaryDir dir(QDir::temp().filePath(QStringLiteral("tarvik-bench-XXXXXX")));
    return dir;
}

// The file is written by a child process, so that the generator's memory stays out of this
// process; generated once per size.
QString scheduleFile(int tasks, bool wide = false)
{
    static QMap<QPair<int, bool>, QString> files;
    const auto key = qMakePair(tasks, wide);
    if (files.contains(key))
        return files.value(key);
    const QString path = workDir().filePath(
        QStringLiteral("schedule-%1%2.mpp").arg(tasks).arg(wide ? "-wide" : ""));
    const pid_t child = fork();
    if (child == 0) {
        MppGeneratorOptions options;
        options.tasks = tasks;
        options.depth = 5;
        options.resources = wide ? 2000 : 200;
        options.assignments = tasks;
        options.wideTaskRecords = wide;
        QFile out(path);
        const bool ok = out.open(QIODevice::WriteOnly)
            && out.write(buildMppFile(generateMppSchedule(options))) > 0;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    files.insert(key, ok ? path : QString());
    return files.value(key);
}

struct Run
{
    bool ok = false;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double peakMiB = 0;
};

// Runs `program` (found on the PATH) with stdout on /dev/null.
Run runProgram(const char *program, const char *option, const QString &file)
{
    const QByteArray path = QFile::encodeName(file);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        if (option)
            execlp(program, program, option, path.constData(), nullptr);
        else
            execlp(program, program, path.constData(), nullptr);
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child)
        return {};
    Run run;
    run.wallSeconds
        = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec
        + usage.ru_stime.tv_usec / 1e6;
    run.peakMiB = usage.ru_maxrss / 1024.0;
    return run;
}

// Times mppdump with `option` (or none) on `file` once per iteration; false (the run marked
// failed) when it fails.
bool timeMppdump(benchmark::State &state, const QString &file, const char *option, Run &run)
{
    for (auto _ : state) {
        run = runProgram(MPPDUMP_PATH, option, file);
        if (!run.ok) {
            state.SkipWithError("mppdump failed");
            return false;
        }
        state.SetIterationTime(run.wallSeconds);
    }
    return true;
}

void BM_MppDump(benchmark::State &state)
{
    const int tasks = int(state.range(0));
    const bool tables = state.range(1) != 0;
    const QString file = scheduleFile(tasks);
    if (file.isEmpty()) {
        state.SkipWithError("cannot write the schedule");
        return;
    }
    const double fileMiB = QFileInfo(file).size() / 1048576.0;
    Run run;
    if (!timeMppdump(state, file, tables ? "--tables" : nullptr, run))
        return;
    state.counters["cpu_s"] = run.cpuSeconds;
    state.counters["peak_MiB"] = run.peakMiB;
    state.counters["file_MiB"] = fileMiB;
    state.counters["peak_limit_MiB"] = 3 * fileMiB + 100;
    state.SetLabel(tables ? "--tables" : "project");
}
BENCHMARK(BM_MppDump)
    ->ArgNames({ "tasks", "tables" })
    ->Args({ 50000, 0 })
    ->Args({ 50000, 1 })
    ->Args({ 200000, 0 })
    ->Args({ 200000, 1 })
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// Times mppdump with `option` on `file` against the time the system takes to read the file
// from the page cache: the median of nine runs of cat (counters cat_ms and times_cat).
void timeAgainstCat(benchmark::State &state, const QString &file, const char *option)
{
    if (file.isEmpty()) {
        state.SkipWithError("cannot write the schedule");
        return;
    }
    std::vector<double> cat;
    for (int k = 0; k < 9; ++k) {
        const Run run = runProgram("cat", nullptr, file);
        if (!run.ok) {
            state.SkipWithError("cat failed");
            return;
        }
        cat.push_back(run.wallSeconds);
    }
    std::sort(cat.begin(), cat.end());
    Run run;
    if (!timeMppdump(state, file, option, run))
        return;
    state.counters["cpu_s"] = run.cpuSeconds;
    state.counters["cat_ms"] = cat[cat.size() / 2] * 1000;
    state.counters["times_cat"] = run.wallSeconds / cat[cat.size() / 2];
    state.counters["file_MiB"] = QFileInfo(file).size() / 1048576.0;
}

void BM_MppDumpWide(benchmark::State &state)
{
    const bool tables = state.range(0) != 0;
    timeAgainstCat(state, scheduleFile(50000, true), tables ? "--tables" : nullptr);
    state.SetLabel(tables ? "--tables, wide records" : "project, wide records");
}
BENCHMARK(BM_MppDumpWide)
    ->ArgName("tables")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond);

// The schedule check of the 50,000-task schedule, which reads only the tables it needs.
void BM_MppDumpCheck(benchmark::State &state)
{
    timeAgainstCat(state, scheduleFile(50000), "--check");
    state.SetLabel("--check");
}
BENCHMARK(BM_MppDumpCheck)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
