// Opening generated schedules of 10,000, 50,000 and 200,000 activities through the main
// window, offscreen: from openProject to the progress dialog closing with the built-in layout
// applied and the tree grouped by WBS; then regrouping by WBS alone. Reports wall time, the CPU
// time of the GUI thread and of the whole process, and resident memory after the load.
// Targets: time and memory grow at most linearly: 200,000 activities open in <= 4 x the
// 50,000 figure and in <= 3 s, with resident memory <= 800 MB.
// Each size should be run in a process of its own (--benchmark_filter=.../200000) for a clean
// memory figure; the process runs with a configuration folder of its own.
#include "app/mainwindow.h"
#include "tests/support/mppschedulebuilder.h"
#include "views/activities.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int LoadTimeoutMs = 300000;

// Five WBS levels: 5 x 5 x 5 x 5 summaries, `perGroup` activities under each of the 625
// lowest ones.
MppScheduleSpec bigSchedule(int perGroup)
{
    MppScheduleSpec spec;
    const QDateTime base(QDate(2024, 1, 8), QTime(8, 0), Qt::UTC);
    qint32 nextId = 1;
    auto addTask = [&spec, &nextId, &base](qint32 parent, const QString &name, int day, int days) {
        MppTaskSpec task;
        task.uniqueId = nextId++;
        task.parentUniqueId = parent;
        task.name = name;
        task.start = base.addDays(day);
        task.finish = base.addDays(day + days);
        task.scheduledStart = task.start;
        task.scheduledFinish = task.finish;
        task.duration = days * 8 * 600;
        spec.tasks.append(task);
        return task.uniqueId;
    };
    for (int r = 0; r < 10; ++r) {
        MppResourceSpec resource;
        resource.uniqueId = r + 1;
        resource.name = QStringLiteral("Crew %1").arg(r + 1);
        spec.resources.append(resource);
    }
    quint32 relationId = 1;
    qint32 assignmentId = 1;
    std::function<void(qint32, int, int)> addLevel = [&](qint32 parent, int level, int day) {
        if (level == 5) {
            qint32 previous = 0;
            for (int i = 0; i < perGroup; ++i) {
                const qint32 id = addTask(parent, QStringLiteral("Activity %1").arg(nextId),
                                          day + i % 40, 1 + i % 5);
                if (previous) {
                    MppRelationSpec link;
                    link.id = relationId++;
                    link.predecessor = previous;
                    link.successor = id;
                    spec.relations.append(link);
                }
                MppAssignmentSpec assignment;
                assignment.uniqueId = assignmentId++;
                assignment.taskUniqueId = id;
                assignment.resourceUniqueId = 1 + id % 10;
                assignment.workHours = 8;
                spec.assignments.append(assignment);
                previous = id;
            }
            return;
        }
        for (int i = 0; i < 5; ++i) {
            const qint32 id
                = addTask(parent, QStringLiteral("WBS %1.%2").arg(level).arg(i), day, 60);
            addLevel(id, level + 1, day + i * 7);
        }
    };
    addLevel(-1, 1, 0);
    return spec;
}

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString schedulePath(int activities)
{
    static QMap<int, QString> paths;
    if (!paths.contains(activities)) {
        const QString path = workDir().filePath(QStringLiteral("open-%1.mpp").arg(activities));
        // Written by a child process, so that the generator's memory stays out of this one.
        const pid_t child = fork();
        if (child == 0) {
            QFile file(path);
            const bool ok = file.open(QIODevice::WriteOnly)
                && file.write(buildMppFile(bigSchedule(activities / 625))) > 0;
            _exit(ok ? 0 : 1);
        }
        int status = 0;
        const bool ok = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)
            && WEXITSTATUS(status) == 0;
        paths.insert(activities, ok ? path : QString());
    }
    return paths.value(activities);
}

// False when the load failed or did not end within the timeout.
bool openAndWait(MainWindow &window, const QString &path)
{
    QEventLoop loop;
    bool loaded = false;
    auto connection = QObject::connect(&window, &MainWindow::projectLoadEnded, &loop,
                                       [&loop, &loaded](bool ok) {
                                           loaded = ok;
                                           loop.quit();
                                       });
    QTimer::singleShot(LoadTimeoutMs, &loop, &QEventLoop::quit);
    window.openProject(path);
    loop.exec();
    QObject::disconnect(connection);
    return loaded;
}

double seconds(clockid_t clock)
{
    timespec now {};
    clock_gettime(clock, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

void BM_OpenProject(benchmark::State &state)
{
    const QString path = schedulePath(int(state.range(0)));
    if (path.isEmpty()) {
        state.SkipWithError("cannot write the schedule");
        return;
    }
    const double rssBefore = residentMegabytes();
    MainWindow window;
    window.resize(1200, 800);
    window.show();
    double guiCpu = 0;
    double processCpu = 0;
    for (auto _ : state) {
        const double gui = seconds(CLOCK_THREAD_CPUTIME_ID);
        const double process = seconds(CLOCK_PROCESS_CPUTIME_ID);
        const auto start = std::chrono::steady_clock::now();
        if (!openAndWait(window, path)) {
            state.SkipWithError("load failed or timed out");
            return;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        guiCpu = seconds(CLOCK_THREAD_CPUTIME_ID) - gui;
        processCpu = seconds(CLOCK_PROCESS_CPUTIME_ID) - process;
    }
    state.counters["gui_cpu_s"] = guiCpu;
    state.counters["process_cpu_s"] = processCpu;
    state.counters["rss_MB"] = residentMegabytes();
    state.counters["rss_growth_MB"] = residentMegabytes() - rssBefore;
    state.counters["rows"] = window.activityView()->activityModel()
        ? window.activityView()->activityModel()->rowCount()
        : 0;
}
BENCHMARK(BM_OpenProject)
    ->ArgName("activities")
    ->Arg(10000)
    ->Arg(50000)
    ->Arg(200000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3);

void BM_RegroupByWbs(benchmark::State &state)
{
    MainWindow window;
    window.resize(1200, 800);
    window.show();
    if (!openAndWait(window, schedulePath(50000))) {
        state.SkipWithError("load failed");
        return;
    }
    const QStringList rules = window.activityView()->groupRules();
    for (auto _ : state)
        window.activityView()->groupBySelection(rules);
}
BENCHMARK(BM_RegroupByWbs)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings, recent files and layouts go to a folder of this run, never the user's.
    QTemporaryDir home;
    for (const char *variable : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME" })
        qputenv(variable, QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
