// Regrouping the activity view: 50,000 activities in a five-level WBS (5 x 5 x 5 x 5 x 8
// elements with 10 activities per leaf... rounded to 50,000), grouped by WBS through
// Activities::groupBySelection, which includes numbering, the date roll-up and the links.
// Target: keep this figure. Measured (2026-12-11, median, load average about 3.6 on two
// cores): 292 ms wall and CPU (335 ms at the same load before the group index kept its
// entries).
#include "views/activities.h"

#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QDateTime>
#include <QStandardItemModel>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Activities50k = 50000;
constexpr int Fanout = 5;
constexpr int WbsLevels = 5;

QVariantMap description(const QString &display, const QString &datatype, bool structure = false)
{
    QVariantMap map { { "display", display }, { "datatype", datatype }, { "id", display } };
    if (structure)
        map.insert("structure", "true");
    return map;
}

// A table computing its cells on request, with schema-style headers.
class GeneratedTable : public QAbstractTableModel
{
public:
    struct Column
    {
        QString display;
        QString datatype;
        bool structure;
        std::function<QVariant(int)> value;
    };
    GeneratedTable(const QString &name, int rows, QList<Column> columns)
        : m_rows(rows)
        , m_columns(std::move(columns))
    {
        setObjectName(name);
    }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_rows;
    }
    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_columns.size();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return QVariant();
        return m_columns.at(index.column()).value(index.row());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section >= m_columns.size())
            return QVariant();
        const Column &column = m_columns.at(section);
        if (role == Qt::DisplayRole || role == Ry::ColumnIdRole)
            return column.display;
        if (role == Ry::ColumnDescriptionRole)
            return description(column.display, column.datatype, column.structure);
        return QVariant();
    }

private:
    int m_rows;
    QList<Column> m_columns;
};

int wbsCount()
{
    int count = 0, level = 1;
    for (int depth = 0; depth < WbsLevels; ++depth) {
        level *= Fanout;
        count += level;
    }
    return count;
}

// WBS element i (0-based, breadth first): parent (i - Fanout) / Fanout for i >= Fanout.
struct Project
{
    Project()
    {
        const int elements = wbsCount();
        const int firstLeaf = elements - Fanout * Fanout * Fanout * Fanout * Fanout;
        const int leaves = elements - firstLeaf;
        // Wall-clock values held as UTC, as the file reader hands them out: a local date-time
        // would make every cell read ask the C library for the time zone.
        auto dateOf = [](int row, int days) {
            return QDateTime(QDate(2024, 1, 1).addDays(row % 700 + days), QTime(8, 0), Qt::UTC);
        };
        wbs.reset(new GeneratedTable(
            "PROJWBS", elements,
            { { "wbs_id", "integer", false, [](int r) { return r + 1; } },
              { "seq_num", "integer", false, [](int r) { return r; } },
              { "WBS Code", "string", true, [](int r) { return QStringLiteral("W%1").arg(r); } },
              { "WBS Name", "string", true,
                [](int r) { return QStringLiteral("Element %1").arg(r); } },
              { "parent_wbs_id", "integer", false, [](int r) {
                   return r < Fanout ? QVariant() : QVariant((r - Fanout) / Fanout + 1);
               } } }));
        QList<GeneratedTable::Column> taskColumns = {
            { "task_id", "integer", false, [](int r) { return r + 1; } },
            { "wbs_id", "integer", false, [=](int r) { return firstLeaf + (r % leaves) + 1; } },
            { "Activity ID", "string", false, [](int r) { return QStringLiteral("A%1").arg(r); } },
            { "Activity Name", "string", false,
              [](int r) { return QStringLiteral("Activity %1").arg(r); } },
            { "Activity Type", "string", false,
              [](int r) { return r % 9 ? "TT_Task" : "TT_Mile"; } },
        };
        const QStringList dateNames = {
            "Start Date",         "Finish Date",         "Actual Start",    "Actual Finish",
            "Early start date",   "Early finish date",   "Late Start Date", "Late Finish Date",
            "Planned start date", "Planned finish date", "Remaining start", "Remaining finish"
        };
        for (int i = 0; i < dateNames.size(); ++i) {
            const int offset = i * 3;
            taskColumns.append(
                { dateNames.at(i), "datetime", false, [=](int r) { return dateOf(r, offset); } });
        }
        tasks.reset(new GeneratedTable("TASK", Activities50k, taskColumns));
        relationships.reset(
            new GeneratedTable("TASKPRED", Activities50k - 1,
                               { { "task_id", "integer", false, [](int r) { return r + 2; } },
                                 { "pred_task_id", "integer", false, [](int r) { return r + 1; } },
                                 { "pred_proj_id", "integer", false, [](int) { return 1; } },
                                 { "Type", "string", false, [](int) { return "PR_FS"; } },
                                 { "Lag", "double", false, [](int) { return 0.0; } } }));

        records.setColumnCount(3);
        records.setRowCount(Activities50k);
        const QStringList names = { "ID", "parentID", "Group" };
        for (int c = 0; c < 3; ++c) {
            records.setHeaderData(c, Qt::Horizontal, names.at(c));
            records.setHeaderData(c, Qt::Horizontal, description(names.at(c), "integer"),
                                  Ry::ColumnDescriptionRole);
        }
        for (int r = 0; r < Activities50k; ++r)
            records.setData(records.index(r, 0), r + 1);
        activities.setSourceModel(&records);
        activities.addJoinAll(tasks.get(), 0, 0);
        activities.addJoin(wbs.get(), 0, { 2, 3 }, 4);
    }
    std::unique_ptr<GeneratedTable> wbs, tasks, relationships;
    QStandardItemModel records;
    RyJoinProxyModel activities;
};

void BM_RegroupByWbs(benchmark::State &state)
{
    Project project;
    ::Activities view;
    view.setModels(&project.activities, project.wbs.get(), nullptr, nullptr,
                   project.relationships.get(), true);
    const QStringList rules = { "WBS Code;;MS Shell Dlg 2:b;r0g0b0a255;r255g255b255a255" };
    view.groupBySelection(rules);
    for (auto _ : state)
        view.groupBySelection(rules);
    state.counters["rows"] = project.records.rowCount();
}
BENCHMARK(BM_RegroupByWbs)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "default.debug=false");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
