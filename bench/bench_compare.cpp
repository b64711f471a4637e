// Comparing two versions of a 50,000-activity schedule, the second edited as "mppgen --edits
// 500" edits it, with both projects loaded: reading the compared cells of both versions'
// tables, matching and building the comparison.
// Target: keep this figure. Measured (2026-12-11, median of 7, load average about 4 on two
// cores): 245 ms wall, 163 ms CPU.
#include "mppr/project.h"
#include "tables/mpploader.h"
#include "tables/rycomparemodel.h"
#include "tests/support/mppscheduleedits.h"
#include "tests/support/mppschedulegenerator.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<mppr::Project> readBytes(const QByteArray &bytes)
{
    auto project = std::make_unique<mppr::Project>(QStringLiteral("generated.mpp"));
    return project->readData(bytes) == mppr::StatusOk ? std::move(project) : nullptr;
}

// The same schedule as bench_tables (50,000 activities below a three-level WBS) and its copy
// with 500 of each edit; loaded once per run.
struct Versions
{
    MPPLoader older;
    MPPLoader newer;
    Versions()
    {
        MppGeneratorOptions options;
        options.depth = 3;
        options.leavesPerGroup = 20;
        options.tasks = 54170;
        options.resources = 0;
        options.assignments = 0;
        MppScheduleSpec spec = generateMppSchedule(options);
        older.loadProject(readBytes(buildMppFile(spec)));
        editMppSchedule(spec, 500);
        newer.loadProject(readBytes(buildMppFile(spec)));
    }
};

Versions &versions()
{
    static Versions loaded;
    return loaded;
}

void BM_CompareVersions(benchmark::State &state)
{
    Versions &v = versions();
    if (!v.older.project() || !v.newer.project()) {
        state.SkipWithError("the generated files could not be read");
        return;
    }
    RyCompareModel::Summary summary;
    int activities = 0;
    for (auto _ : state) {
        const RyCompareModel model(RyCompareVersion::fromLoader(v.older),
                                   RyCompareVersion::fromLoader(v.newer));
        summary = model.summary();
        activities = model.newVersion().activities().size();
    }
    state.counters["activities"] = activities;
    state.counters["added"] = summary.added;
    state.counters["deleted"] = summary.deleted;
    state.counters["changed"] = summary.changed;
}
BENCHMARK(BM_CompareVersions)
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
