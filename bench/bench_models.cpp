// Building the tree and the join row maps over 50,000 activities: both must stay far below the
// time a user notices when a project opens or a grouping changes.
// Target: keep these figures. Measured (2026-12-11, medians, load average about 4 on two
// cores): parent structure 11 ms, parent walk 0.3 ms, join 9.8 ms, parent structure over the
// join 16 ms, flatten and roll-up 27 ms, key lookup 4.3 ms.
#include "models/ryjoinproxymodel.h"
#include "models/rykeylookup.h"
#include "models/rymodellookup.h"
#include "models/ryparentitemproxymodel.h"
#include "models/ryrecordsetmodel.h"
#include "models/ryrollup.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace {

constexpr int Activities = 50000;

// Activity rows (ID, parentID, name): a WBS-like tree, ten children per summary row, in
// shuffled order so that parents come after some of their children.
RyRecordSetModel *activityTable()
{
    QVector<int> order(Activities);
    for (int i = 0; i < Activities; ++i)
        order[i] = i;
    QRandomGenerator random(42);
    for (int i = Activities - 1; i > 0; --i)
        std::swap(order[i], order[int(random.bounded(i + 1))]);
    QVariantList records { QStringList { "ID", "parentID", "Activity Name" } };
    records.reserve(Activities + 1);
    for (int i : qAsConst(order)) {
        const QVariant parent = i == 0 ? QVariant() : QVariant(i / 10 + 1);
        records << QVariant(QVariantList { i + 1, parent, QStringLiteral("Activity %1").arg(i) });
    }
    auto *model = new RyRecordSetModel;
    model->setRecords(records);
    return model;
}

// A key table: `rows` rows (key, text) with keys in shuffled order and every tenth key twice.
RyRecordSetModel *keyTable(int rows, quint32 seed)
{
    QVector<int> keys;
    keys.reserve(rows);
    for (int i = 0; i < rows; ++i)
        keys << (i % 10 == 9 ? i - 1 : i);
    QRandomGenerator random(seed);
    for (int i = rows - 1; i > 0; --i)
        std::swap(keys[i], keys[int(random.bounded(i + 1))]);
    QVariantList records { QStringList { "key", "text" } };
    records.reserve(rows + 1);
    for (int key : qAsConst(keys))
        records << QVariant(QVariantList { key, QStringLiteral("row with key %1").arg(key) });
    auto *model = new RyRecordSetModel;
    model->setRecords(records);
    return model;
}

void BM_ParentStructure50k(benchmark::State &state)
{
    std::unique_ptr<RyRecordSetModel> source(activityTable());
    RyParentItemProxyModel proxy;
    proxy.setSourceModel(source.get());
    for (auto _ : state)
        proxy.setParentColumns(0, 1);
    benchmark::DoNotOptimize(proxy.rowCount());
}
BENCHMARK(BM_ParentStructure50k)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Every item's parent() once, as a view walking the whole tree asks for it.
void BM_ParentWalk50k(benchmark::State &state)
{
    std::unique_ptr<RyRecordSetModel> source(activityTable());
    RyParentItemProxyModel proxy;
    proxy.setSourceModel(source.get());
    proxy.setParentColumns(0, 1);
    const QModelIndexList items = RyModelLookup::flattenIndexes(&proxy);
    for (auto _ : state) {
        int depth = 0;
        for (const QModelIndex &item : items)
            depth += proxy.parent(item).isValid();
        benchmark::DoNotOptimize(depth);
    }
}
BENCHMARK(BM_ParentWalk50k)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_Join50kAgainst50k(benchmark::State &state)
{
    std::unique_ptr<RyRecordSetModel> source(keyTable(Activities, 7));
    std::unique_ptr<RyRecordSetModel> joined(keyTable(Activities, 11));
    RyJoinProxyModel proxy;
    proxy.setSourceModel(source.get());
    proxy.addJoin(joined.get(), 0, { 1 }, 0);
    for (auto _ : state)
        proxy.resetMappings();
    benchmark::DoNotOptimize(proxy.index(Activities - 1, 2).data());
}
BENCHMARK(BM_Join50kAgainst50k)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The activity view's stack: ID and parentID read through a join proxy, as over ActivityModel.
void BM_ParentStructureOverJoin50k(benchmark::State &state)
{
    std::unique_ptr<RyRecordSetModel> rows(activityTable());
    std::unique_ptr<RyRecordSetModel> tasks(keyTable(Activities, 5));
    RyJoinProxyModel activities;
    activities.setSourceModel(rows.get());
    activities.addJoinAll(tasks.get(), 0, 0);
    RyParentItemProxyModel proxy;
    proxy.setSourceModel(&activities);
    for (auto _ : state)
        proxy.setParentColumns(0, 1);
    benchmark::DoNotOptimize(proxy.rowCount());
}
BENCHMARK(BM_ParentStructureOverJoin50k)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Walking the whole tree in display order and rolling a column up into every parent row.
void BM_FlattenAndRollUp50k(benchmark::State &state)
{
    std::unique_ptr<RyRecordSetModel> source(activityTable());
    RyParentItemProxyModel proxy;
    proxy.setSourceModel(source.get());
    proxy.setParentColumns(0, 1);
    for (auto _ : state) {
        benchmark::DoNotOptimize(RyModelLookup::flattenIndexes(&proxy).size());
        RyRollUp::rollUp(&proxy, { { 2, RyRollUp::Largest } }, Qt::UserRole);
    }
}
BENCHMARK(BM_FlattenAndRollUp50k)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The hashed first-match lookup alone: 50,000 distinct integer keys recorded, then each found
// once in shuffled order.
void BM_KeyLookup50k(benchmark::State &state)
{
    QVector<QVariant> values;
    values.reserve(Activities);
    for (int r = 0; r < Activities; ++r)
        values << QVariant(r);
    QVector<int> probes(Activities);
    QRandomGenerator random(3);
    for (int r = 0; r < Activities; ++r)
        probes[r] = int(random.bounded(Activities));
    for (auto _ : state) {
        RyKeyLookup keys;
        keys.reserve(Activities);
        for (int r = 0; r < Activities; ++r)
            keys.insert(r, values.at(r));
        int found = 0;
        for (int probe : qAsConst(probes))
            found += keys.firstMatch(values.at(probe)) >= 0;
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_KeyLookup50k)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
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
