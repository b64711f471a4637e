// Baselines in the window: a crafted schedule's baseline bars under its plan bars, and the
// baseline columns of a real schedule shown through a layout and kept when it is saved.
#include "app/mainwindow.h"
#include "apptestsupport.h"
#include "gantt/ryganttview.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "tests/support/mppschedulebuilder.h"
#include "views/activities.h"
#include "views/rygroupedtreeview.h"
#include "views/ryheaderstate.h"

#include <QHeaderView>
#include <QJsonDocument>
#include <QScrollBar>
#include <QtTest>

namespace {

const char *const baselineSample = TARVIK_SAMPLES "/oracle/task-baselines-project2016-mpp14.mpp";
const QColor BaselineBody(QStringLiteral("#830006")); // "Baseline Task" of the built-in layout

QDateTime at(int day, int hour = 8)
{
    return QDateTime(QDate(2024, 3, day), QTime(hour, 0), Qt::UTC);
}

MppTaskSpec task(qint32 uid, int firstDay, int lastDay, qint32 slack)
{
    MppTaskSpec t;
    t.uniqueId = uid;
    t.parentUniqueId = 0;
    t.name = QStringLiteral("Task %1").arg(uid);
    t.earlyStart = t.start = t.scheduledStart = at(firstDay);
    t.earlyFinish = t.finish = t.scheduledFinish = at(lastDay, 17);
    t.startSlack = t.finishSlack = slack;
    return t;
}

MppBaselineSpec baseline(int firstDay, int lastDay)
{
    return { 0, at(firstDay), at(lastDay, 17), 0, 0, 0, {} };
}

// Task 1 with a baseline, task 2 without, task 3 critical (no slack) with a baseline.
MppScheduleSpec schedule()
{
    MppScheduleSpec spec;
    MppTaskSpec project = task(0, 4, 22, 0);
    project.parentUniqueId = -1;
    spec.tasks = { project, task(1, 4, 8, 4800), task(2, 11, 15, 4800), task(3, 18, 22, 0) };
    spec.tasks[1].baselines = { baseline(5, 7) };
    spec.tasks[2].baselines = { { 0, {}, at(14, 17), 0, 0, 0, {} } }; // a finish alone: no bar
    spec.tasks[3].baselines = { baseline(11, 13) };
    return spec;
}

QColor pixel(const QImage &image, const QPoint &point)
{
    return image.pixelColor(QPointF(QPointF(point) * image.devicePixelRatio()).toPoint());
}

} // namespace

class TestBaselineBars : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void baselineBarsUnderThePlan();
    void baselineColumnsInALayout();

private:
    bool open(const QString &path);
    QModelIndex row(const QString &name) const;

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestBaselineBars::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
    window->resize(1400, 700);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestBaselineBars::cleanup()
{
    window.reset();
    home.reset();
}

bool TestBaselineBars::open(const QString &path)
{
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    window->openProject(path);
    if (ended.isEmpty() && !ended.wait(10000))
        return false;
    window->activityView()->treeView()->expandAll();
    QApplication::processEvents();
    return ended.first().first().toBool();
}

QModelIndex TestBaselineBars::row(const QString &name) const
{
    const QAbstractItemModel *model = window->activityView()->treeView()->model();
    const int column = RyModelLookup::findColumn(model, QStringLiteral("Activity Name"));
    for (const QModelIndex &index : RyModelLookup::flattenIndexes(model, QModelIndex())) {
        if (index.sibling(index.row(), column).data().toString() == name)
            return index.sibling(index.row(), 0);
    }
    return QModelIndex();
}

void TestBaselineBars::baselineBarsUnderThePlan()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("baselines.mpp"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(buildMppFile(schedule()));
    file.close();
    QVERIFY(open(path));

    RyGanttView *gantt = window->activityView()->ganttView();
    const QImage image = gantt->viewport()->grab().toImage();
    const int baselineKind = RyGanttView::BaselineTaskStyle;
    const auto x = [gantt](int day) {
        return gantt->header()->dateToX(QDate(2024, 3, day))
            - gantt->horizontalScrollBar()->value();
    };

    // At its dates, below the plan bar.
    const QModelIndex withBaseline = row(QStringLiteral("Task 1"));
    const QRect bar = gantt->barRect(withBaseline, baselineKind);
    QVERIFY(!bar.isEmpty());
    QCOMPARE(bar.left(), x(5));
    QVERIFY(bar.right() >= x(7) && bar.right() < x(8));
    const QPoint body(bar.center().x(), bar.top() + 19);
    QCOMPARE(pixel(image, body), BaselineBody);
    QVERIFY(pixel(image, QPoint(x(5) - 2, body.y())) != BaselineBody);
    QVERIFY(gantt->barRect(withBaseline, 0).top() == bar.top());

    // A finish alone draws nothing.
    const QModelIndex without = row(QStringLiteral("Task 2"));
    QVERIFY(gantt->barRect(without, baselineKind).isEmpty());
    const QRect plan = gantt->barRect(without, 0);
    for (int px = plan.left(); px <= plan.right(); ++px)
        QVERIFY(pixel(image, QPoint(px, plan.top() + 19)) != BaselineBody);

    // A critical activity keeps its baseline bar under the red bar.
    const QModelIndex critical = row(QStringLiteral("Task 3"));
    QVERIFY(gantt->isCritical(critical));
    const QRect criticalBaseline = gantt->barRect(critical, baselineKind);
    QCOMPARE(pixel(image, QPoint(criticalBaseline.center().x(), criticalBaseline.top() + 19)),
             BaselineBody);
    const QRect red = gantt->barRect(critical, -1);
    const QColor redBody = pixel(image, QPoint(red.center().x(), red.top() + 11));
    QVERIFY(redBody.red() > 200 && redBody.green() < 60);

    // Tracking mode draws the baseline bar under the progress bar.
    gantt->setTrackingMode(true);
    const QImage tracking = gantt->viewport()->grab().toImage();
    QCOMPARE(pixel(tracking, body), BaselineBody);
}

void TestBaselineBars::baselineColumnsInALayout()
{
    QVERIFY(QFile::exists(QString::fromLatin1(baselineSample)));
    QVERIFY(open(QString::fromLatin1(baselineSample)));
    QVariantMap layout
        = QJsonDocument::fromJson(window->layoutDocument().toUtf8()).toVariant().toMap();
    const QStringList baselineColumns { "BL Project Start:100", "BL Project Finish:100",
                                        "BL Project Duration:80", "BL Project Labor Units:80",
                                        "BL Project Total Cost:80" };
    layout["columns"] = QStringList { "Activity ID:80", "Activity Name:200" } + baselineColumns;
    window->applyLayout(QString::fromUtf8(QJsonDocument::fromVariant(layout).toJson()));
    QApplication::processEvents();

    QTreeView *tree = window->activityView()->treeView();
    const QStringList shown = RyHeaderState::visibleHeaderTexts(tree->header());
    for (const char *name : { "BL Project Start", "BL Project Finish", "BL Project Duration",
                              "BL Project Labor Units", "BL Project Total Cost" })
        QVERIFY2(shown.contains(QLatin1String(name)), name);
    const auto value = [&](const char *task, const char *column) {
        const QModelIndex index = row(QLatin1String(task));
        return index
            .sibling(index.row(), RyModelLookup::findColumn(index.model(), QLatin1String(column)))
            .data();
    };
    QCOMPARE(value("Baseline Start - Task", "BL Project Start"),
             QVariant(QDateTime(QDate(2014, 4, 1), QTime(9, 0), Qt::UTC)));
    QCOMPARE(value("Baseline Finish - Task", "BL Project Finish"),
             QVariant(QDateTime(QDate(2014, 3, 1), QTime(9, 0), Qt::UTC)));
    QCOMPARE(value("Baseline Duration - Task", "BL Project Duration").toDouble(), 88.0);
    QCOMPARE(value("Baseline Work - Task", "BL Project Labor Units").toDouble(), 51.0);
    QCOMPARE(value("Baseline Cost - Task", "BL Project Total Cost").toDouble(), 100.0);
    QVERIFY(!value("Baseline1 Cost - Task", "BL Project Total Cost").isValid());

    // The columns are saved with the layout, by id.
    QStringList saved;
    for (const QString &column : QJsonDocument::fromJson(window->layoutDocument().toUtf8())
                                     .toVariant()
                                     .toMap()
                                     .value("columns")
                                     .toStringList()) {
        const QString id = column.section(QLatin1Char(':'), 0, 0).mid(1);
        const int section = RyHeaderState::findSection(tree->header(), id, Ry::ColumnIdRole);
        if (column.startsWith(QLatin1Char('@')) && section >= 0)
            saved << tree->model()->headerData(section, Qt::Horizontal).toString();
    }
    for (const QString &column : baselineColumns)
        QVERIFY2(saved.contains(column.section(QLatin1Char(':'), 0, 0)), qPrintable(column));
}

QTEST_MAIN(TestBaselineBars)
#include "tst_baselinebars.moc"
