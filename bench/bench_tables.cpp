// Building the ten P6-shaped tables and the derived models over a read project of 50,000
// activities (the read itself excluded), and the resident memory that adds.
// Target: keep this figure. Measured (2026-12-11, median of 7, load average about 4 on two
// cores): 222 ms, 24 MB more resident memory.
#include "mppr/project.h"
#include "tables/mpploader.h"
#include "tests/support/mppschedulegenerator.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

namespace {

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0
                             : 0;
}

// A generated schedule file with 50,000 activities (leaf tasks) below a three-level WBS, one
// link per task, 200 resources and an assignment per activity; written once per run.
QString generatedFile()
{
    static QTemporaryDir dir;
    static QString path;
    if (path.isEmpty()) {
        MppGeneratorOptions options;
        options.depth = 3;
        options.leavesPerGroup = 20;
        options.tasks = 54170;
        options.resources = 200;
        options.assignments = 50000;
        path = dir.filePath(QStringLiteral("generated.mpp"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(buildMppFile(generateMppSchedule(options)));
    }
    return path;
}

std::unique_ptr<mppr::Project> readProject()
{
    auto project = std::make_unique<mppr::Project>(generatedFile());
    if (project->read() != mppr::StatusOk)
        return nullptr;
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
    int activities = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto project = readProject();
        if (!project) {
            state.SkipWithError("the generated file could not be read");
            break;
        }
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
        else
            activities = qobject_cast<QAbstractItemModel *>(loader->model("TASK"))->rowCount();
        loader.reset();
        state.ResumeTiming();
    }
    state.counters["activities"] = activities;
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
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
