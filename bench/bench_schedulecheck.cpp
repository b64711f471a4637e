// The fourteen-point schedule check of a 50,000-activity schedule (the generated one of
// bench_tables, with resources and assignments), the tables loaded once: what the check window
// waits for after a project is open.
// Target: keep these figures. Measured (2026-12-11, load average about 4 on two cores): the
// check 40 ms, with findings 88 ms.
#include "models/ryjoinproxymodel.h"
#include "mppr/project.h"
#include "tables/mpploader.h"
#include "tables/ryschedulecheck.h"
#include "tests/support/mppschedulegenerator.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QLoggingCategory>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

MPPLoader &loaded()
{
    static MPPLoader loader;
    static bool once = [] {
        MppGeneratorOptions options;
        options.depth = 3;
        options.leavesPerGroup = 20;
        options.tasks = 54170;
        options.resources = 50;
        options.assignments = 40000;
        auto project = std::make_unique<mppr::Project>(QStringLiteral("generated.mpp"));
        if (project->readData(buildMppFile(generateMppSchedule(options))) == mppr::StatusOk)
            loader.loadProject(std::move(project));
        return true;
    }();
    Q_UNUSED(once);
    return loader;
}

void BM_ScheduleCheck(benchmark::State &state)
{
    MPPLoader &loader = loaded();
    if (!loader.project()) {
        state.SkipWithError("the generated file could not be read");
        return;
    }
    int activities = 0;
    for (auto _ : state) {
        const RyScheduleCheck check = RyScheduleCheck::run(loader);
        activities = int(check.checks().value(0).population);
        benchmark::DoNotOptimize(activities);
    }
    state.counters["incomplete"] = activities;
}
BENCHMARK(BM_ScheduleCheck)->Unit(benchmark::kMillisecond);

// All the window waits for: the check, then its findings joined onto the activity model as the
// "Check findings" column (and taken out again for the next round).
void BM_ScheduleCheckWithFindings(benchmark::State &state)
{
    MPPLoader &loader = loaded();
    auto *activities
        = qobject_cast<RyJoinProxyModel *>(loader.model(QStringLiteral("ActivityModel")));
    if (!loader.project() || !activities) {
        state.SkipWithError("the generated file could not be read");
        return;
    }
    for (auto _ : state) {
        const RyScheduleCheck check = RyScheduleCheck::run(loader);
        std::unique_ptr<QAbstractItemModel> findings(check.newFindingsTable(nullptr));
        activities->addJoin(findings.get(), 0, { 1 }, 0);
        benchmark::DoNotOptimize(activities->columnCount());
        activities->removeJoin(findings.get());
    }
}
BENCHMARK(BM_ScheduleCheckWithFindings)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("tarvik.*.debug=false"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
