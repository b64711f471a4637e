// mppdump on generated schedules (N tasks, 5-level WBS, 200 resources, N assignments), run as
// the program scripts run: a child process writing to /dev/null. Reports wall time, the
// child's CPU time and its peak resident memory beside the file size.
// Targets: 50,000 tasks in <= 0.5 s (project) and <= 3 s (--tables); peak resident memory
// <= 3 x the file size + 100 MB; 200,000 tasks complete in both modes.

#include "tests/support/mppschedulegenerator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <chrono>

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
QString scheduleFile(int tasks)
{
    static QMap<int, QString> files;
    if (files.contains(tasks))
        return files.value(tasks);
    const QString path = workDir().filePath(QStringLiteral("schedule-%1.mpp").arg(tasks));
    const pid_t child = fork();
    if (child == 0) {
        MppGeneratorOptions options;
        options.tasks = tasks;
        options.depth = 5;
        options.resources = 200;
        options.assignments = tasks;
        QFile out(path);
        const bool ok = out.open(QIODevice::WriteOnly)
            && out.write(buildMppFile(generateMppSchedule(options))) > 0;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    const bool ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    files.insert(tasks, ok ? path : QString());
    return files.value(tasks);
}

struct Run
{
    bool ok = false;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double peakMiB = 0;
};

Run runMppdump(const QString &file, bool tables)
{
    const QByteArray path = QFile::encodeName(file);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        if (tables)
            execl(MPPDUMP_PATH, MPPDUMP_PATH, "--tables", path.constData(), nullptr);
        else
            execl(MPPDUMP_PATH, MPPDUMP_PATH, path.constData(), nullptr);
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
    for (auto _ : state) {
        run = runMppdump(file, tables);
        if (!run.ok) {
            state.SkipWithError("mppdump failed");
            return;
        }
        state.SetIterationTime(run.wallSeconds);
    }
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

} // namespace

BENCHMARK_MAIN();
