// A real schedule opened through the window shows its float columns in hours and its critical
// path in red: the check planners make first when they open a schedule.
#include "app/mainwindow.h"
#include "apptestsupport.h"
#include "gantt/ryganttview.h"
#include "models/rymodellookup.h"
#include "views/activities.h"
#include "views/rygroupedtreeview.h"
#include "views/ryheaderstate.h"

#include <QHeaderView>
#include <QtTest>

namespace {

const char *const linksSample = TARVIK_SAMPLES "/oracle/task-links-project2013-mpp14.mpp";

bool isRed(const QColor &color)
{
    return color.red() > 200 && color.green() < 60 && color.blue() < 60;
}

// The colour in the middle of the bar body (style 0, the task bar) of a row.
QColor barColour(const QImage &image, RyGanttView *gantt, const QModelIndex &index)
{
    const QRect bar = gantt->barRect(index, 0);
    if (bar.isEmpty())
        return QColor();
    const qreal ratio = image.devicePixelRatio();
    return image.pixelColor(QPointF(QPointF(bar.center()) * ratio).toPoint());
}

} // namespace

class TestCriticalPath : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void floatColumnsShowHours();
    void criticalBarsAreRed();

private:
    bool open(const QString &path);
    QVariant cell(const QModelIndex &index, const QString &column) const;
    QModelIndexList activities() const;

    std::unique_ptr<ScratchHome> home;
    std::unique_ptr<MainWindow> window;
};

void TestCriticalPath::init()
{
    home.reset(new ScratchHome);
    window.reset(new MainWindow);
    window->resize(1400, 900);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(QFile::exists(QString::fromLatin1(linksSample)));
    QVERIFY(open(QString::fromLatin1(linksSample)));
    window->activityView()->treeView()->expandAll();
}

void TestCriticalPath::cleanup()
{
    window.reset();
    home.reset();
}

bool TestCriticalPath::open(const QString &path)
{
    QSignalSpy ended(window.get(), &MainWindow::projectLoadEnded);
    window->openProject(path);
    if (ended.isEmpty() && !ended.wait(10000))
        return false;
    return ended.first().first().toBool();
}

QVariant TestCriticalPath::cell(const QModelIndex &index, const QString &column) const
{
    const int c = RyModelLookup::findColumn(index.model(), column);
    return c < 0 ? QVariant() : index.sibling(index.row(), c).data();
}

// Activity rows (those with an activity id) in the order the tree shows them.
QModelIndexList TestCriticalPath::activities() const
{
    QModelIndexList rows;
    const QAbstractItemModel *model = window->activityView()->treeView()->model();
    for (const QModelIndex &index : RyModelLookup::flattenIndexes(model, QModelIndex())) {
        if (!cell(index, QStringLiteral("Activity ID")).toString().isEmpty())
            rows << index;
    }
    return rows;
}

void TestCriticalPath::floatColumnsShowHours()
{
    const QStringList shown
        = RyHeaderState::visibleHeaderTexts(window->activityView()->treeView()->header());
    for (const char *name :
         { "Total float", "Free float", "Remaining Duration", "Planned Duration" })
        QVERIFY2(shown.contains(QLatin1String(name)), name);

    const QModelIndexList rows = activities();
    QVERIFY(rows.size() >= 8);
    for (const QModelIndex &row : rows) {
        // Every task of this file lasts one working day: 8 hours, not 4800 tenths of a minute.
        QCOMPARE(cell(row, QStringLiteral("Planned Duration")).toDouble(), 8.0);
        bool ok = false;
        const double totalFloat = cell(row, QStringLiteral("Total float")).toDouble(&ok);
        QVERIFY(ok);
        QVERIFY(totalFloat >= 0 && totalFloat <= 24 * 40);
    }
}

void TestCriticalPath::criticalBarsAreRed()
{
    RyGanttView *gantt = window->activityView()->ganttView();
    QApplication::processEvents();
    const QImage image = gantt->viewport()->grab().toImage();
    int critical = 0;
    int normal = 0;
    for (const QModelIndex &row : activities()) {
        const QColor colour = barColour(image, gantt, row);
        if (!colour.isValid())
            continue; // scrolled out of the viewport
        const bool floatless = cell(row, QStringLiteral("Total float")).toDouble() <= 0;
        QCOMPARE(isRed(colour), floatless);
        ++(floatless ? critical : normal);
    }
    QVERIFY(critical >= 2);
    QVERIFY(normal >= 2);
}

QTEST_MAIN(TestCriticalPath)
#include "tst_criticalpath.moc"
