// Finding activities in a generated 50,000-activity schedule opened through the main window
// (five WBS levels, grouped by WBS as after every load), offscreen at 1200 x 800.
// Target: one find step (Enter/F3) takes at most 50 ms, including expanding the branch,
// selecting the row and scrolling table and chart to it. Measured: a step to the next match,
// a step after the query changed (the matches are recomputed) and a step after the rows
// changed (the tree order is recomputed as well).
#include "app/mainwindow.h"
#include "tests/support/mppschedulebuilder.h"
#include "filter/ryfilterdialogproxymodel.h"
#include "views/activities.h"
#include "views/ryactivityfinder.h"
#include "views/ryfindbar.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTreeView>
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

struct FindFixture
{
    FindFixture()
    {
        window.resize(1200, 800);
        window.show();
        loaded = openAndWait(window, schedulePath());
        bar = window.findBar();
        bar->activate();
    }

    MainWindow window;
    RyFindBar *bar = nullptr;
    bool loaded = false;
};

std::unique_ptr<FindFixture> sharedFixture;

// One window for all benchmarks: opening the schedule takes seconds.
FindFixture &fixture()
{
    if (!sharedFixture)
        sharedFixture = std::make_unique<FindFixture>();
    return *sharedFixture;
}

void BM_FindNextMatch(benchmark::State &state)
{
    FindFixture &f = fixture();
    if (!f.loaded)
        return state.SkipWithError("load failed");
    // "7" matches roughly every third activity, scattered over the whole tree.
    f.bar->lineEdit()->setText(QStringLiteral("7"));
    f.bar->findNext();
    for (auto _ : state) {
        f.bar->findNext();
        QCoreApplication::processEvents();
    }
    state.counters["matches"] = f.bar->finder()->matchCount();
}
BENCHMARK(BM_FindNextMatch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);

void BM_FindAfterNewText(benchmark::State &state)
{
    FindFixture &f = fixture();
    if (!f.loaded)
        return state.SkipWithError("load failed");
    int i = 0;
    for (auto _ : state) {
        f.bar->lineEdit()->setText(QStringLiteral("Activity %1").arg(40000 + (i++ * 97) % 9000));
        f.bar->findNext();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_FindAfterNewText)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

void BM_FindAfterRowsChanged(benchmark::State &state)
{
    FindFixture &f = fixture();
    if (!f.loaded)
        return state.SkipWithError("load failed");
    f.bar->lineEdit()->setText(QStringLiteral("Activity 3"));
    QAbstractItemModel *model = f.window.activityView()->filterProxy();
    for (auto _ : state) {
        state.PauseTiming();
        // What any change of the shown rows (filter, sort, grouping) does to the finder.
        f.bar->finder()->setModel(nullptr);
        f.bar->finder()->setModel(model);
        state.ResumeTiming();
        f.bar->findNext();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_FindAfterRowsChanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvik"));
    QStandardPaths::setTestModeEnabled(true);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    sharedFixture.reset(); // the window must go before the application object
    return 0;
}
