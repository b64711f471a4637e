// Opening a generated 50,000-activity schedule through the main window, offscreen: from
// openProject to the progress dialog closing with the built-in layout applied and the tree
// grouped by WBS; then regrouping by WBS alone. Resident memory after the load is reported.
#include "app/mainwindow.h"
#include "tests/support/mppschedulebuilder.h"
#include "views/activities.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Five WBS levels: 5 x 5 x 5 x 5 summaries, 80 activities under each of the 625 lowest ones.
MppScheduleSpec bigSchedule()
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
            for (int i = 0; i < 80; ++i) {
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

QString schedulePath()
{
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        path = dir.filePath(QStringLiteral("big.mpp"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(buildMppFile(bigSchedule()));
    }
    return path;
}

bool openAndWait(MainWindow &window, const QString &path)
{
    QEventLoop loop;
    bool loaded = false;
    auto connection = QObject::connect(&window, &MainWindow::projectLoadEnded, &loop,
                                       [&loop, &loaded](bool ok) {
                                           loaded = ok;
                                           loop.quit();
                                       });
    window.openProject(path);
    loop.exec();
    QObject::disconnect(connection);
    return loaded;
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
    const QString path = schedulePath();
    MainWindow window;
    window.resize(1200, 800);
    window.show();
    for (auto _ : state) {
        if (!openAndWait(window, path))
            state.SkipWithError("load failed");
    }
    state.counters["rss_MB"] = residentMegabytes();
    state.counters["rows"] = window.activityView()->activityModel()
        ? window.activityView()->activityModel()->rowCount()
        : 0;
}
BENCHMARK(BM_OpenProject)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);

void BM_RegroupByWbs(benchmark::State &state)
{
    MainWindow window;
    window.resize(1200, 800);
    window.show();
    if (!openAndWait(window, schedulePath())) {
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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
