// Building the ten P6-shaped tables and the derived models over a read project of 50,000
// activities (the read itself excluded), and the resident memory that adds.
#include "mppr/project.h"
#include "tables/mpploader.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

namespace {

constexpr int Activities = 50000;
constexpr int ActivitiesPerSummary = 20;
constexpr int Resources = 200;

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0
                             : 0;
}

QDateTime day(int offset)
{
    return QDateTime(QDate(2024, 1, 1).addDays(offset), QTime(8, 0), Qt::UTC);
}

// A schedule shaped like a large real one: a two-level WBS, a chain of finish-to-start links
// with a second link on every fifth activity, one resource per activity, a few custom fields.
std::unique_ptr<mppr::Project> generatedProject()
{
    auto project = std::make_unique<mppr::Project>(QStringLiteral("generated.mpp"));
    const int summaries = Activities / ActivitiesPerSummary;
    qint32 nextId = 1;
    const qint32 rootId = nextId++;
    auto *root = new mppr::Task;
    root->uniqueId = rootId;
    root->parentUniqueId = -1;
    root->name = QStringLiteral("Programme");
    project->insertTask(root);
    QList<mppr::Assignment *> assignments;
    for (int s = 0; s < summaries; ++s) {
        auto *summary = new mppr::Task;
        summary->uniqueId = nextId++;
        summary->parentUniqueId = rootId;
        summary->name = QStringLiteral("Work package %1").arg(s + 1);
        summary->code = QStringLiteral("1.%1").arg(s + 1);
        project->insertTask(summary);
        for (int a = 0; a < ActivitiesPerSummary; ++a) {
            auto *task = new mppr::Task;
            task->uniqueId = nextId++;
            task->parentUniqueId = summary->uniqueId;
            task->name = QStringLiteral("Activity %1").arg(task->uniqueId);
            task->code = QStringLiteral("%1.%2").arg(summary->code).arg(a + 1);
            const int offset = (s * ActivitiesPerSummary + a) % 700;
            task->start = task->earlyStart = day(offset);
            task->finish = task->earlyFinish = day(offset + 3);
            task->duration = 3 * 4800;
            task->startSlack = task->finishSlack = (a % 3) * 4800;
            task->work = 24 * 60000.0;
            task->texts[0] = QStringLiteral("Area %1").arg(a % 7);
            if (a > 0) {
                task->predUniqueIds.append(task->uniqueId - 1);
                task->predTypes.append(1);
                task->predLags.append(0);
                task->predLagUnits.append(7);
            }
            if (a % 5 == 4) {
                task->predUniqueIds.append(task->uniqueId - 3);
                task->predTypes.append(3);
                task->predLags.append(4800);
                task->predLagUnits.append(7);
            }
            project->insertTask(task);
            auto *assignment = new mppr::Assignment;
            assignment->taskUniqueId = task->uniqueId;
            assignment->resourceUniqueId = 1 + task->uniqueId % Resources;
            assignment->uniqueId = task->uniqueId;
            assignment->af0c = 24;
            assignments.append(assignment);
        }
    }
    for (int r = 1; r <= Resources; ++r) {
        auto *resource = new mppr::Resource;
        resource->uniqueId = r;
        resource->uniqueIdText = QString::number(r);
        resource->name = QStringLiteral("Resource %1").arg(r);
        project->insertResource(resource);
    }
    project->setAssignments(assignments);
    return project;
}

QJsonDocument builtInSchema()
{
    QFile file(QStringLiteral(":/files/mppr.json"));
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll());
}

void BM_CreateTablesAndDerivedModels(benchmark::State &state)
{
    const QJsonDocument schema = builtInSchema();
    double growth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto project = generatedProject();
        auto loader = std::make_unique<MPPLoader>();
        loader->setSchema(schema);
        malloc_trim(0);
        const double before = residentMegabytes();
        state.ResumeTiming();

        loader->loadProject(std::move(project));

        state.PauseTiming();
        growth = residentMegabytes() - before;
        if (loader->models().size() != 16)
            state.SkipWithError("the loader did not build every model");
        loader.reset();
        state.ResumeTiming();
    }
    state.counters["activities"] = Activities;
    state.counters["rss_growth_MB"] = growth;
}
BENCHMARK(BM_CreateTablesAndDerivedModels)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
