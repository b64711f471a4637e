// Gantt view over 50,000 rows with a link between every pair of neighbours: full repaint of a
// 1600 x 900 viewport, a one-page scroll with its repaint, and updateTimeRange.
// Run offscreen: QT_QPA_PLATFORM is set to "offscreen" unless given.
// Target: keep these figures. Measured (2026-12-11, medians, load average about 1.6 on two
// cores): full repaint 0.70 ms, page scroll 0.74 ms, updateTimeRange 16 ms (25 ms before it
// read start and finish once a row), rebuilding the visible rows 17 ms.
#include "gantt/ryganttview.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"
#include "tests/support/chartcolumns.h"

#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int GroupCount = 500;
constexpr int TasksPerGroup = 99; // 500 groups + 49,500 tasks = 50,000 rows
const QDate ProjectStart(2020, 1, 6);

QList<QStandardItem *> makeRow(const QString &name, const QString &type, const QDate &start,
                               const QDate &finish, double totalFloat)
{
    QList<QStandardItem *> row { new QStandardItem(name), new QStandardItem(type),
                                 new QStandardItem, new QStandardItem, new QStandardItem };
    row[2]->setData(QDateTime(start, QTime(8, 0)), Qt::DisplayRole);
    row[3]->setData(QDateTime(finish, QTime(17, 0)), Qt::DisplayRole);
    row[4]->setData(totalFloat, Qt::DisplayRole);
    return row;
}

// Counts the paint events of the viewport, to show that every repaint really painted.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A schedule of chained tasks: each task starts where the one before it ends, every tenth is
// critical, every twentieth a milestone; groups start a week apart.
struct Schedule
{
    QStandardItemModel model;
    QTreeView tree;
    RyGanttView view;
    PaintCounter counter;

    Schedule()
    {
        model.setHorizontalHeaderLabels(
            { "Activity Name", "Activity Type", "Start Date", "Finish Date", "Total float" });
        nameChartColumns(&model);
        for (int g = 0; g < GroupCount; ++g) {
            const QDate groupStart = ProjectStart.addDays(7 * (g % 100));
            QList<QStandardItem *> group
                = makeRow(QStringLiteral("WBS %1").arg(g), QString(), groupStart,
                          groupStart.addDays(2 * TasksPerGroup), 10);
            for (int t = 0; t < TasksPerGroup; ++t) {
                const bool milestone = t % 20 == 19;
                const QDate start = groupStart.addDays(2 * t);
                group[0]->appendRow(makeRow(
                    QStringLiteral("A%1-%2").arg(g).arg(t), milestone ? "TT_Mile" : "TT_Task",
                    start, milestone ? start : start.addDays(2), t % 10 == 0 ? 0 : 16));
            }
            model.appendRow(group);
        }
        tree.setModel(&model);
        tree.setUniformRowHeights(true);
        tree.expandAll();
        view.setModel(&model);
        view.setBuddy(&tree);
        view.setTimelineFlags(Ry::Month | Ry::Day);
        view.setDataDate(QDateTime(ProjectStart.addDays(40), QTime(12, 0)));
        view.setAlternatingRowColors(true);
        for (int g = 0; g < GroupCount; ++g) {
            const QModelIndex group = model.index(g, 0);
            for (int t = 1; t < TasksPerGroup; ++t)
                view.addRelationship(model.index(t, 0, group), model.index(t - 1, 0, group),
                                     QStringLiteral("FS"));
        }
        tree.resize(600, 1000);
        tree.show();
        view.show();
        // Resize until the viewport is exactly 1600 x 900 (header and frame come on top).
        view.resize(1600, 900);
        QApplication::processEvents();
        const QSize extra = QSize(1600, 900) - view.viewport()->size();
        view.resize(view.size() + extra);
        tree.resize(600, tree.height() + extra.height());
        QApplication::processEvents();
        view.horizontalScrollBar()->setValue(20 * view.header()->unitWidth());
        view.viewport()->installEventFilter(&counter);
        view.viewport()->repaint(); // builds the row lists and link index once
    }
};

// Widgets must go before the application: main() drops the schedule before it returns.
std::unique_ptr<Schedule> &scheduleInstance()
{
    static std::unique_ptr<Schedule> instance;
    return instance;
}

Schedule &schedule()
{
    std::unique_ptr<Schedule> &instance = scheduleInstance();
    if (!instance)
        instance = std::make_unique<Schedule>();
    return *instance;
}

void BM_FullRepaint(benchmark::State &state)
{
    Schedule &s = schedule();
    s.tree.verticalScrollBar()->setValue(25000);
    const int paintsBefore = s.counter.paints;
    for (auto _ : state)
        s.view.viewport()->repaint();
    state.counters["paints_per_iteration"]
        = double(s.counter.paints - paintsBefore) / state.iterations();
    state.counters["rows"] = s.view.visibleItems().size();
    state.counters["links"] = s.view.relationshipCount();
    state.counters["viewport_w"] = s.view.viewport()->width();
    state.counters["viewport_h"] = s.view.viewport()->height();
}

void BM_PageScroll(benchmark::State &state)
{
    Schedule &s = schedule();
    QScrollBar *bar = s.tree.verticalScrollBar();
    bar->setValue(0);
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        s.view.viewport()->repaint();
    }
}

void BM_UpdateTimeRange(benchmark::State &state)
{
    Schedule &s = schedule();
    for (auto _ : state)
        s.view.updateTimeRange();
}

void BM_RebuildVisibleRows(benchmark::State &state)
{
    Schedule &s = schedule();
    for (auto _ : state) {
        s.view.onVisibleItemsChanged();
        s.view.viewport()->repaint();
    }
}

} // namespace

BENCHMARK(BM_FullRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PageScroll)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_UpdateTimeRange)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RebuildVisibleRows)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    scheduleInstance().reset();
    return 0;
}
