// Output of large schedules through the main window, offscreen.
// Targets:
// - BM_PrintDialog50k: the open benchmark's 50,000-activity schedule, fully expanded, at the
//   default Month/Day scale: the print dialog is ready with its first page drawn in <= 2 s,
//   and resident memory grows by <= 300 MB (counter rss_growth_MB).
// - BM_SavePdf1000: 1,000 activities over six months at a daily scale: "Save as PDF" writes
//   every page in <= 10 s.
#include "app/mainwindow.h"
#include "gantt/ryganttview.h"
#include "models/ryconstants.h"
#include "output/rypagecontent.h"
#include "output/ryprintdialog.h"
#include "output/ryviewsnapshot.h"
#include "tests/support/mppschedulebuilder.h"
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

// The open benchmark's schedule: five WBS levels, 5 x 5 x 5 x 5 summaries, 80 activities under
// each of the 625 lowest ones, chained by finish-to-start links.
MppScheduleSpec bigSchedule()
{
    MppScheduleSpec spec;
    const QDateTime base(QDate(2024, 1, 8), QTime(8, 0), Qt::UTC);
    qint32 nextId = 1;
    quint32 relationId = 1;
    std::function<void(qint32, int, int)> addLevel = [&](qint32 parent, int level, int day) {
        if (level == 5) {
            for (int i = 0; i < 80; ++i) {
                const qint32 id = nextId++;
                spec.tasks.append(task(id, parent, QStringLiteral("Activity %1").arg(id),
                                       base.addDays(day + i % 40), 1 + i % 5));
                if (i > 0) {
                    MppRelationSpec link;
                    link.id = relationId++;
                    link.predecessor = id - 1;
                    link.successor = id;
                    spec.relations.append(link);
                }
            }
            return;
        }
        for (int i = 0; i < 5; ++i) {
            const qint32 id = nextId++;
            spec.tasks.append(task(id, parent, QStringLiteral("WBS %1.%2").arg(level).arg(i),
                                   base.addDays(day), 60));
            addLevel(id, level + 1, day + i * 7);
        }
    };
    addLevel(-1, 1, 0);
    return spec;
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

QString writeSchedule(const QString &name, const MppScheduleSpec &spec)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!QFile::exists(path)) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(buildMppFile(spec));
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
    // Fully expanded the way the Expand All command does it.
    if (loaded)
        window.findChild<QAction *>(QStringLiteral("actionExpand_All"))->trigger();
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
    if (!openAndWait(window, writeSchedule(QStringLiteral("big.mpp"), bigSchedule()))) {
        state.SkipWithError("load failed");
        return;
    }
    QApplication::processEvents();
    double growth = 0;
    int pages = 0;
    int rows = 0;
    for (auto _ : state) {
        const double before = residentMegabytes();
        PrintSetup setup(window.activityView());
        setup.dialog->show();
        // grab() paints the whole dialog at once, the preview's first page included.
        benchmark::DoNotOptimize(setup.dialog->grab());
        growth = std::max(growth, residentMegabytes() - before);
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
    if (!openAndWait(window, writeSchedule(QStringLiteral("half.mpp"), halfYearSchedule()))) {
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
