#include "gantt/ryganttbarlayout.h"
#include "gantt/ryganttview.h"
#include "gantt/ryganttviewdelegate.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"
#include "tests/support/chartcolumns.h"

#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

namespace {

const QDate Start(2017, 1, 2); // a Monday; the chart starts here, a day before the first bar
const QColor TaskBlue(QStringLiteral("#99ccff"));
const QColor Orange(255, 165, 0);

enum Column { Name, Type, StartDate, FinishDate, TotalFloat, Progress, ActualStart, ActualFinish };

QList<QStandardItem *> makeRow(const QString &name, const QString &type, const QDate &start,
                               const QDate &finish, const QVariant &totalFloat = QVariant(),
                               const QVariant &progress = QVariant())
{
    QList<QStandardItem *> row;
    for (int c = 0; c <= ActualFinish; ++c)
        row << new QStandardItem;
    row[Name]->setText(name);
    row[Type]->setText(type);
    // UTC wall-clock values, as the reader gives them.
    if (start.isValid())
        row[StartDate]->setData(QDateTime(start, QTime(8, 0), Qt::UTC), Qt::DisplayRole);
    if (finish.isValid())
        row[FinishDate]->setData(QDateTime(finish, QTime(17, 0), Qt::UTC), Qt::DisplayRole);
    if (totalFloat.isValid())
        row[TotalFloat]->setData(totalFloat, Qt::DisplayRole);
    if (progress.isValid())
        row[Progress]->setData(progress, Qt::DisplayRole);
    return row;
}

// Group A (3-10 Jan): T1 (3-5 Jan, 50%), T2 (4 Jan, one day), M1 (milestone 10 Jan).
// Group B: T3 (6-8 Jan, total float 0: critical), T4 (3-12 Jan).
// Shown rows when expanded: 0 A, 1 T1, 2 T2, 3 M1, 4 B, 5 T3, 6 T4.
struct Fixture
{
    QStandardItemModel model;
    QTreeView tree;
    RyGanttView view;

    Fixture()
    {
        model.setHorizontalHeaderLabels({ "Activity Name", "Activity Type", "Start Date",
                                          "Finish Date", "Total float", "Progress", "Actual Start",
                                          "Actual Finish" });
        model.setHeaderData(Progress, Qt::Horizontal, QVariantMap { { "format", "percent" } },
                            Ry::ColumnDescriptionRole);
        nameChartColumns(&model);
        auto groupA = makeRow("A", QString(), QDate(2017, 1, 3), QDate(2017, 1, 10));
        groupA[Name]->appendRow(
            makeRow("T1", "TT_Task", QDate(2017, 1, 3), QDate(2017, 1, 5), 5.0, 50.0));
        groupA[Name]->appendRow(
            makeRow("T2", "TT_Task", QDate(2017, 1, 4), QDate(2017, 1, 4), 3.0));
        groupA[Name]->appendRow(
            makeRow("M1", "TT_Mile", QDate(2017, 1, 10), QDate(2017, 1, 10), 2.0));
        model.appendRow(groupA);
        auto groupB = makeRow("B", QString(), QDate(2017, 1, 3), QDate(2017, 1, 12));
        groupB[Name]->appendRow(
            makeRow("T3", "TT_Task", QDate(2017, 1, 6), QDate(2017, 1, 8), 0.0));
        groupB[Name]->appendRow(makeRow("T4", "TT_Task", QDate(2017, 1, 3), QDate(2017, 1, 12)));
        model.appendRow(groupB);

        tree.setModel(&model);
        tree.expandAll();
        tree.resize(300, 400);
        view.setModel(&model);
        view.setBuddy(&tree);
        view.setTimelineFlags(Ry::Month | Ry::Day);
        view.resize(1200, 400);
        tree.show();
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

    QModelIndex row(const QString &name) const
    {
        const QModelIndexList found = model.match(model.index(0, 0), Qt::DisplayRole, name, 1,
                                                  Qt::MatchExactly | Qt::MatchRecursive);
        return found.value(0);
    }
    QImage image() { return view.viewport()->grab().toImage(); }
    int x(const QDate &date) const { return view.header()->dateToX(date); }
};

} // namespace

class TestRyGanttView : public QObject
{
    Q_OBJECT
private slots:
    void rowsMirrorTheBuddy();
    void timeRangeFromTheModel();
    void timeRangeTakesInAnEarlyBaseline();
    void barPositionsFromDateToX();
    void oneDayBarForFinishEqualStart();
    void splitTaskDrawnInParts();
    void drawnParts_data();
    void drawnParts();
    void milestoneDiamondOnStart();
    void criticalBarAndOutgoingLinkAreRed();
    void criticalMilestoneIsOneRedBar();
    void finishToStartRouteDropsBelowPredecessor();
    void linkGoingUpEndsAtTheSuccessorsBottom();
    void linksToHiddenRowsAreNotDrawn();
    void linksFollowSortingAndDropWithRows();
    void settingTheSameModelAgainKeepsTracking();
    void collapsingAGroupMovesRowsUp();
    void collapseAllWithoutSignals();
    void trackingBarsShowProgress();
    void dataDateLineAtItsOwnTime();
    void zoomedOutBarsStayDrawn_data();
    void zoomedOutBarsStayDrawn();
    void weekendShadingAndVerticalLines();
    void horizontalScrollStopsOnUnits();
    void lastDayVisibleAtScrollEnd();
    void zoomByDraggingTheHeader();
    void verticalScrollMirrorsBuddy();
    void selectionIsShared();
    void indexAtAndVisualRect();
    void stateRoundTrip();
    void barStyles();
    void addRelationshipIgnoresBadPairs();
    void isCritical_data();
    void isCritical();
    void rowTypes();
    void scrollToBringsBarIntoView();
    void snapshotRoundTrip();
};

void TestRyGanttView::rowsMirrorTheBuddy()
{
    Fixture f;
    const QModelIndexList rows = f.view.visibleItems();
    QCOMPARE(rows.size(), 7);
    QStringList names;
    for (const QModelIndex &index : rows) {
        QCOMPARE(index.column(), 0);
        names << index.data().toString();
    }
    QCOMPARE(names, (QStringList { "A", "T1", "T2", "M1", "B", "T3", "T4" }));
}

void TestRyGanttView::timeRangeFromTheModel()
{
    Fixture f;
    // One lowest-tier unit (a day) before the project's start.
    QCOMPARE(f.view.header()->startDate(), Start);
    QCOMPARE(f.view.header()->finishDate(), QDate(2017, 1, 12));
    // A week tier: the margin is the week before the one holding the start.
    f.view.setTimelineFlags(Ry::Month | Ry::Week);
    QCOMPARE(f.view.header()->startDate(), QDate(2016, 12, 26));

    QStandardItemModel noDates;
    noDates.setHorizontalHeaderLabels({ "Name" });
    noDates.appendRow(new QStandardItem("x"));
    f.view.setModel(&noDates);
    QCOMPARE(f.view.header()->startDate(), QDate(2016, 12, 26)); // unchanged
}

void TestRyGanttView::timeRangeTakesInAnEarlyBaseline()
{
    // As in the baseline samples: the baselines lie two years before the plan.
    Fixture f;
    QList<RyGanttViewBarStyle> styles = RyGanttViewBarStyle::defaultStyles();
    styles[RyGanttView::BaselineTaskStyle].visible = true;
    const QModelIndex t1 = f.row("T1");
    f.model.setData(t1, QDateTime(QDate(2015, 1, 5), QTime(8, 0), Qt::UTC), Ry::BaselineStartRole);
    f.model.setData(t1, QDateTime(QDate(2015, 1, 9), QTime(17, 0), Qt::UTC),
                    Ry::BaselineFinishRole);
    // Held, the new styles take effect on the chart's range at the last release only.
    f.view.holdTimeRange();
    f.view.holdTimeRange();
    f.view.setBarStyles(styles);
    f.view.releaseTimeRange();
    QCOMPARE(f.view.header()->startDate(), Start);
    f.view.releaseTimeRange();
    QCOMPARE(f.view.header()->startDate(), QDate(2015, 1, 4));
    QCOMPARE(f.view.header()->finishDate(), QDate(2017, 1, 12));
    f.view.releaseTimeRange(); // one release too many changes nothing
    // Still opened at the plan's start (minus the margin), the baseline to the left of it.
    const int home = f.x(Start);
    QVERIFY(home > 700 * 32);
    QCOMPARE(f.view.horizontalScrollBar()->value(), home);
    QCOMPARE(f.view.barRect(t1, -1).left(), 32);
    const QRect baseline = f.view.barRect(t1, RyGanttView::BaselineTaskStyle);
    QVERIFY(baseline.right() < 0);
    QVERIFY(baseline.left() + home >= 0);
    // Another tier keeps the plan in sight; hiding the baseline again drops it from the range
    // and keeps the plan's start at the left edge.
    f.view.setTimelineFlags(Ry::Month | Ry::Week);
    QCOMPARE(f.view.horizontalScrollBar()->value(), f.x(QDate(2016, 12, 26)));
    styles[RyGanttView::BaselineTaskStyle].visible = false;
    f.view.setBarStyles(styles);
    QCOMPARE(f.view.header()->startDate(), QDate(2016, 12, 26));
    QCOMPARE(f.view.horizontalScrollBar()->value(), 0);
}

void TestRyGanttView::barPositionsFromDateToX()
{
    Fixture f;
    const QRect t1 = f.view.barRect(f.row("T1"), -1);
    QCOMPARE(t1.left(), f.x(QDate(2017, 1, 3)));
    QCOMPARE(t1.left(), 32);
    QCOMPARE(t1.width(), 3 * 32); // the finish day counts in full
    QCOMPARE(t1.top(), 22);
    QCOMPARE(t1.height(), 22);
    const QImage image = f.image();
    QCOMPARE(image.pixelColor(32, 22 + 6), TaskBlue);
    QCOMPARE(image.pixelColor(127, 22 + 16), TaskBlue);
    QVERIFY(image.pixelColor(128, 33) != TaskBlue);
    QVERIFY(image.pixelColor(31, 33) != TaskBlue);
    QVERIFY(image.pixelColor(60, 22 + 5) != TaskBlue);
    QVERIFY(image.pixelColor(60, 22 + 17) != TaskBlue);
}

void TestRyGanttView::oneDayBarForFinishEqualStart()
{
    Fixture f;
    const QRect t2 = f.view.barRect(f.row("T2"), -1);
    QCOMPARE(t2, QRect(64, 44, 32, 22));
    const QImage image = f.image();
    QCOMPARE(image.pixelColor(64, 55), TaskBlue);
    QCOMPARE(image.pixelColor(95, 55), TaskBlue);
    QVERIFY(image.pixelColor(96, 55) != TaskBlue);
}

void TestRyGanttView::splitTaskDrawnInParts()
{
    Fixture f;
    // T4 (3-12 Jan, row 6) split into 3-4 Jan and 9-12 Jan; the parts ride on its start cell.
    const QModelIndex t4 = f.row("T4");
    const auto at
        = [](int day, int hour) { return QDateTime(QDate(2017, 1, day), QTime(hour, 0), Qt::UTC); };
    f.model.setData(t4.sibling(t4.row(), StartDate),
                    QVariantList { QVariantList { at(3, 8), at(4, 17) },
                                   QVariantList { at(9, 8), at(12, 17) } },
                    Ry::SegmentsRole);
    f.view.viewport()->update();
    const QImage image = f.image();
    const int top = 6 * 22;
    const int middle = top + 6 + 11 / 2;
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 3)) + 1, top + 7), TaskBlue);
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 5)) - 1, top + 7), TaskBlue);
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 9)) + 1, top + 7), TaskBlue);
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 13)) - 1, top + 7), TaskBlue);
    // The gap (5-8 Jan): nothing of the body, a dotted line through its middle.
    int dots = 0;
    for (int x = f.x(QDate(2017, 1, 5)); x < f.x(QDate(2017, 1, 9)); ++x) {
        for (int y = top + 6; y <= top + 16; ++y) {
            if (y != middle)
                QVERIFY2(image.pixelColor(x, y) != TaskBlue, qPrintable(QString::number(x)));
        }
        dots += image.pixelColor(x, middle) == TaskBlue;
    }
    const int gap = f.x(QDate(2017, 1, 9)) - f.x(QDate(2017, 1, 5));
    QVERIFY(dots > gap / 4);
    QVERIFY(dots < gap);

    // Damaged parts (overlapping): the bar is drawn whole.
    f.model.setData(t4.sibling(t4.row(), StartDate),
                    QVariantList { QVariantList { at(3, 8), at(6, 17) },
                                   QVariantList { at(5, 8), at(12, 17) } },
                    Ry::SegmentsRole);
    f.view.viewport()->update();
    QCOMPARE(f.image().pixelColor(f.x(QDate(2017, 1, 7)), top + 7), TaskBlue);
}

void TestRyGanttView::drawnParts_data()
{
    // Parts as "day-day" pairs within a task running 2-20 Mar (08:00-17:00); "" for none.
    QTest::addColumn<QString>("segments");
    QTest::addColumn<int>("drawn");
    QTest::newRow("not split") << "" << 0;
    QTest::newRow("one part") << "2-20" << 0;
    QTest::newRow("two parts") << "2-5 9-20" << 2;
    QTest::newRow("three parts") << "2-3 5-6 10-20" << 3;
    QTest::newRow("overlap") << "2-6 5-20" << 0;
    QTest::newRow("out of order") << "9-20 2-5" << 0;
    QTest::newRow("before the task") << "1-5 9-20" << 0;
    QTest::newRow("after the task") << "2-5 9-21" << 0;
    QTest::newRow("backwards part") << "2-5 12-9" << 0;
    QTest::newRow("invalid date") << "2-5 0-20" << 0;
}

void TestRyGanttView::drawnParts()
{
    QFETCH(QString, segments);
    QFETCH(int, drawn);
    const auto at = [](int day, int hour) {
        return day <= 0 ? QDateTime() : QDateTime(QDate(2017, 3, day), QTime(hour, 0), Qt::UTC);
    };
    QVariantList parts;
    for (const QString &part : segments.split(' ', Qt::SkipEmptyParts)) {
        const QStringList days = part.split('-');
        parts << QVariant(QVariantList { at(days.at(0).toInt(), 8), at(days.at(1).toInt(), 17) });
    }
    const auto result = RyGanttBarLayout::drawnParts(parts, at(2, 8), at(20, 17));
    QCOMPARE(result.size(), drawn);
    for (int i = 0; i < result.size(); ++i)
        QCOMPARE(result.at(i).first, parts.at(i).toList().at(0).toDateTime());
}

void TestRyGanttView::milestoneDiamondOnStart()
{
    Fixture f;
    const int x = f.x(QDate(2017, 1, 10));
    const int top = 3 * 22;
    const QImage image = f.image();
    // Diamond rows 6..16 of the row; its widest row spans x - 5 .. x + 5.
    QCOMPARE(image.pixelColor(x, top + 6), QColor(Qt::black));
    QCOMPARE(image.pixelColor(x - 5, top + 11), QColor(Qt::black));
    QCOMPARE(image.pixelColor(x + 5, top + 11), QColor(Qt::black));
    QVERIFY(image.pixelColor(x - 6, top + 11) != QColor(Qt::black));
    QVERIFY(image.pixelColor(x + 6, top + 11) != QColor(Qt::black));
    QVERIFY(image.pixelColor(x + 10, top + 11) != TaskBlue); // no body
}

void TestRyGanttView::criticalBarAndOutgoingLinkAreRed()
{
    Fixture f;
    f.view.addRelationship(f.row("T4"), f.row("T3"), "FS");
    f.view.addRelationship(f.row("T2"), f.row("T1"), "FS");
    QCOMPARE(f.view.relationshipCount(), 2);
    const QImage image = f.image();
    const int top = 5 * 22;
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 6)) + 2, top + 10), QColor(Qt::red));
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 8)) + 31, top + 16), QColor(Qt::red));
    QVERIFY(image.pixelColor(f.x(QDate(2017, 1, 6)) + 2, top + 17) != QColor(Qt::red));
    // The link leaving T3 is red; the one leaving T1 (not critical) is black.
    QCOMPARE(image.pixelColor(223, top + 19), QColor(Qt::red));
    QCOMPARE(image.pixelColor(127, 22 + 19), QColor(Qt::black));
}

void TestRyGanttView::criticalMilestoneIsOneRedBar()
{
    Fixture f;
    f.model.itemFromIndex(f.row("M1").sibling(f.row("M1").row(), TotalFloat))
        ->setData(-1.0, Qt::DisplayRole);
    const int x = f.x(QDate(2017, 1, 10));
    const int top = 3 * 22;
    const QImage image = f.image();
    QCOMPARE(image.pixelColor(x, top + 6), QColor(Qt::red));
    QCOMPARE(image.pixelColor(x + 31, top + 16), QColor(Qt::red));
    QVERIFY(image.pixelColor(x - 5, top + 11) != QColor(Qt::black)); // no diamond
}

void TestRyGanttView::finishToStartRouteDropsBelowPredecessor()
{
    Fixture f;
    f.view.addRelationship(f.row("T4"), f.row("T3"), "FS");
    const QImage image = f.image();
    // P = T3: x 128..223, row 5 (110..131); S = T4 starts at x 32 on row 6 (132..153).
    const int pRight = 223, sLeft = 32, boundary = 132;
    QCOMPARE(image.pixelColor(pRight, 129), QColor(Qt::red)); // down from the bar end
    QCOMPARE(image.pixelColor(100, boundary), QColor(Qt::red)); // across on the row boundary
    QVERIFY(image.pixelColor(100, 121) != QColor(Qt::red)); // not across the bar's centre
    // Arrowhead pointing down, tip 5 pixels below the successor's top.
    QCOMPARE(image.pixelColor(sLeft, boundary + 5), QColor(Qt::red));
    QCOMPARE(image.pixelColor(sLeft - 4, boundary + 1), QColor(Qt::red));
    QCOMPARE(image.pixelColor(sLeft + 4, boundary + 1), QColor(Qt::red));
    QVERIFY(image.pixelColor(sLeft - 2, boundary + 4) != QColor(Qt::red));
    QVERIFY(image.pixelColor(sLeft, boundary + 6) != QColor(Qt::red));

    // A successor starting after the predecessor's end: straight across the centre, then down.
    f.view.clearRelationships();
    f.view.addRelationship(f.row("M1"), f.row("T1"), "FS");
    const QImage second = f.image();
    const int centre = 22 + 10 + 1; // T1 row centre + 1
    const int m1 = f.x(QDate(2017, 1, 10));
    QCOMPARE(second.pixelColor(200, centre), QColor(Qt::black));
    QCOMPARE(second.pixelColor(m1, 50), QColor(Qt::black));
    QVERIFY(second.pixelColor(127, 44) != QColor(Qt::black));
}

void TestRyGanttView::linkGoingUpEndsAtTheSuccessorsBottom()
{
    Fixture f;
    // T1 (row 1) succeeds T4 (row 6) start-to-start: the route goes up.
    f.view.addRelationship(f.row("T1"), f.row("T4"), "SS");
    const QImage image = f.image();
    const int pLeft = 32; // T4 left
    // S.left (32) < P.right: first up to T4's top (132), across to S.left (32), up to T1's bottom.
    QCOMPARE(image.pixelColor(pLeft, 135), QColor(Qt::black)); // T4's body starts at 138
    QCOMPARE(image.pixelColor(pLeft, 100), QColor(Qt::black));
    // Upward arrowhead: tip 4 pixels above T1's bottom (43), base row 4 below the tip.
    QCOMPARE(image.pixelColor(pLeft, 39), QColor(Qt::black));
    QCOMPARE(image.pixelColor(pLeft - 4, 43), QColor(Qt::black));
    QCOMPARE(image.pixelColor(pLeft + 4, 43), QColor(Qt::black));
    QVERIFY(image.pixelColor(pLeft - 4, 42) != QColor(Qt::black));
}

void TestRyGanttView::linksToHiddenRowsAreNotDrawn()
{
    Fixture f;
    f.tree.collapse(f.row("A"));
    const QImage without = f.image();
    f.view.addRelationship(f.row("T4"), f.row("T1"), "FS");
    QCOMPARE(f.image(), without);
    f.tree.expand(f.row("A"));
    const QImage expanded = f.image();
    f.view.clearRelationships();
    QVERIFY(f.image() != expanded);
}

void TestRyGanttView::linksFollowSortingAndDropWithRows()
{
    Fixture f;
    f.view.addRelationship(f.row("T4"), f.row("T3"), "FS");
    QVERIFY(f.image().pixelColor(223, 135) != QColor(Qt::red));
    // Sorting B's tasks descending puts T4 above T3: the link now runs up from T3.
    f.model.itemFromIndex(f.row("B"))->sortChildren(Name, Qt::DescendingOrder);
    QCOMPARE(f.view.relationshipCount(), 1);
    QCOMPARE(f.view.visibleItems().at(5), f.row("T4"));
    QCOMPARE(f.image().pixelColor(223, 135), QColor(Qt::red));
    // Rows going away drop the links; their owner adds them again.
    f.model.removeRow(f.row("M1").row(), f.row("A"));
    QCOMPARE(f.view.relationshipCount(), 0);
}

void TestRyGanttView::settingTheSameModelAgainKeepsTracking()
{
    Fixture f;
    f.view.setModel(&f.model);
    f.model.itemFromIndex(f.row("B"))->appendRow(makeRow("T5", "TT_Task", Start, Start));
    QCOMPARE(f.view.visibleItems().size(), 8);
    QCOMPARE(f.view.selectionModel(), f.tree.selectionModel());
}

void TestRyGanttView::collapsingAGroupMovesRowsUp()
{
    Fixture f;
    QCOMPARE(f.view.barRect(f.row("T3"), -1).top(), 5 * 22);
    f.tree.collapse(f.row("A"));
    QCOMPARE(f.view.visibleItems().size(), 4);
    QCOMPARE(f.view.barRect(f.row("T3"), -1).top(), 2 * 22);
    QVERIFY(f.view.barRect(f.row("T1"), -1).isEmpty());
    QVERIFY(!f.view.visualRect(f.row("T1")).isValid());
    const QImage image = f.image();
    const int x = f.x(QDate(2017, 1, 6)) + 2;
    QCOMPARE(image.pixelColor(x, 2 * 22 + 10), QColor(Qt::red));
    QVERIFY(image.pixelColor(x, 5 * 22 + 10) != QColor(Qt::red));

    f.tree.expand(f.row("A"));
    QCOMPARE(f.view.barRect(f.row("T3"), -1).top(), 5 * 22);
}

void TestRyGanttView::collapseAllWithoutSignals()
{
    // A tree too short to scroll at first: 40 groups of 3 tasks.
    QStandardItemModel model;
    model.setHorizontalHeaderLabels(
        { "Activity Name", "Activity Type", "Start Date", "Finish Date" });
    nameChartColumns(&model);
    for (int g = 0; g < 40; ++g) {
        auto group = makeRow(QString("G%1").arg(g), QString(), Start, Start);
        for (int t = 0; t < 3; ++t)
            group[Name]->appendRow(makeRow(QString("T%1").arg(t), "TT_Task", Start, Start));
        model.appendRow(group);
    }
    QTreeView tree;
    tree.setModel(&model);
    tree.resize(300, 300);
    RyGanttView view;
    view.setModel(&model);
    view.setBuddy(&tree);
    view.resize(600, 300);
    tree.show();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&tree));
    tree.expandAll(); // no expanded() signals
    QTRY_COMPARE(view.visibleItems().size(), 160);
    tree.collapseAll();
    QTRY_COMPARE(view.visibleItems().size(), 40);
}

void TestRyGanttView::trackingBarsShowProgress()
{
    Fixture f;
    f.view.setTrackingMode(true);
    QVERIFY(f.view.trackingMode());
    const QImage image = f.image();
    const QColor done(QStringLiteral("#3b87d4"));
    const QColor base(QStringLiteral("#99ccff"));
    // T1: 96 pixels from x 32, 50 %: 48 pixels done; inner bars 5 high at offset 9.
    const int y = 22 + 11;
    QCOMPARE(image.pixelColor(32, y), done);
    QCOMPARE(image.pixelColor(79, y), done);
    QCOMPARE(image.pixelColor(80, y), base);
    QCOMPARE(image.pixelColor(127, y), base);
    QCOMPARE(image.pixelColor(32, 22 + 9), done);
    QVERIFY(image.pixelColor(32, 22 + 8) != done);
    QVERIFY(image.pixelColor(32, 22 + 14) != done);
    // The text is the table's: "50%" from the number 50, 10 pixels right of the bar.
    const QFontMetrics metrics(f.view.font());
    const int textLeft = 127 + 10;
    int rightmost = -1;
    for (int row = 22; row < 44; ++row) {
        for (int x = textLeft; x < textLeft + 2 * metrics.horizontalAdvance("50%"); ++x) {
            if (image.pixelColor(x, row).lightness() < 100)
                rightmost = qMax(rightmost, x);
        }
    }
    QVERIFY(rightmost > textLeft + metrics.horizontalAdvance("50"));
    // T2 has no progress: only the base bar, even though it is a task.
    QCOMPARE(image.pixelColor(64, 44 + 11), base);
    // The critical T3 is a progress bar as well in tracking mode.
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 6)), 5 * 22 + 11), base);

    f.view.setTrackingMode(false);
    QCOMPARE(f.image().pixelColor(79, y), TaskBlue);
}

void TestRyGanttView::dataDateLineAtItsOwnTime()
{
    Fixture f;
    f.view.setShowVerticalLines(false);
    // Noon of 10 January: half a day (16 pixels of 32) past the day's start, not the next
    // month's boundary.
    f.view.setDataDate(QDateTime(QDate(2017, 1, 10), QTime(12, 0), Qt::UTC));
    f.view.viewport()->update();
    const int noon = f.x(QDate(2017, 1, 10)) + 16;
    QCOMPARE(f.view.dateTimeToX(QDateTime(QDate(2017, 1, 10), QTime(12, 0), Qt::UTC)), noon);
    const QImage image = f.image();
    QCOMPARE(image.pixelColor(noon, 300), Orange);
    QVERIFY(image.pixelColor(f.view.header()->dateToX(QDate(2017, 2, 1), true), 300) != Orange);
}

void TestRyGanttView::zoomedOutBarsStayDrawn_data()
{
    QTest::addColumn<int>("flags");
    QTest::newRow("quarters") << int(Ry::Year | Ry::Quarter);
    QTest::newRow("years") << int(Ry::Year);
}

void TestRyGanttView::zoomedOutBarsStayDrawn()
{
    QFETCH(int, flags);
    Fixture f;
    f.view.setShowVerticalLines(false);
    f.view.setDataDate(QDateTime());
    f.view.addRelationship(f.row("M1"), f.row("T2"), "FS");
    f.view.setTimelineFlags(quint8(flags));
    QMetaObject::invokeMethod(&f.view, "updateGeometries");
    // A one-day bar keeps a pixel; the milestone keeps its marker and the link between them.
    const QRect t2 = f.view.barRect(f.row("T2"), 0);
    QVERIFY(t2.width() >= 1);
    const QRect m1 = f.view.barRect(f.row("M1"), 1);
    QVERIFY(!m1.isEmpty());
    const QImage image = f.image();
    auto inked = [&](int top, int bottom, int left, int right) {
        const QColor background = image.pixelColor(image.width() - 1, top);
        int count = 0;
        for (int y = top; y <= bottom; ++y) {
            for (int x = qMax(0, left); x <= right && x < image.width(); ++x)
                count += image.pixelColor(x, y) != background;
        }
        return count;
    };
    QVERIFY(inked(2 * 22, 2 * 22 + 21, t2.left(), t2.right()) > 0); // T2's body
    QVERIFY(inked(3 * 22, 3 * 22 + 21, m1.left() - 6, m1.right() + 6) > 0); // M1's marker
    // The link from M1 up to T2 ends in an arrow below T2's body, at T2's start.
    QVERIFY(inked(2 * 22 + 18, 2 * 22 + 21, t2.left() - 4, t2.left() + 4) > 0);
}

void TestRyGanttView::weekendShadingAndVerticalLines()
{
    Fixture f;
    f.view.setDataDate(QDateTime());
    f.view.header()->setRange(Start, QDate(2017, 3, 31));
    QMetaObject::invokeMethod(&f.view, "updateGeometries");
    const QImage image = f.image();
    const QColor alternate = f.view.palette().color(QPalette::AlternateBase);
    const QColor base = image.pixelColor(f.x(QDate(2017, 1, 5)), 300);
    QVERIFY(alternate != base);
    // Saturday 7 and Sunday 8 January are shaded, Friday 6 and Monday 9 are not.
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 7)), 300), alternate);
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 8)) + 31, 300), alternate);
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 6)) + 31, 300), base);
    QCOMPARE(image.pixelColor(f.x(QDate(2017, 1, 9)), 300), base);
    // A grey line at the month tick.
    const int tick = f.view.header()->dateToX(QDate(2017, 2, 1), true);
    QCOMPARE(image.pixelColor(tick, 300), QColor(Qt::gray));
    f.view.setShowVerticalLines(false);
    QVERIFY(f.image().pixelColor(tick, 300) != QColor(Qt::gray));

    // A week tier at the bottom: no weekend shading.
    f.view.setTimelineFlags(Ry::Month | Ry::Week);
    const QImage weeks = f.image();
    for (int x = 0; x < 600; ++x)
        QVERIFY(weeks.pixelColor(x, 300) != alternate);
}

void TestRyGanttView::horizontalScrollStopsOnUnits()
{
    Fixture f;
    f.view.resize(400, 300);
    f.view.header()->setRange(Start, QDate(2017, 6, 30));
    QMetaObject::invokeMethod(&f.view, "updateGeometries");
    QVERIFY(f.view.horizontalScrollBar()->maximum() > 100);
    f.view.horizontalScrollBar()->setValue(70);
    QCOMPARE(f.view.horizontalScrollBar()->value(), 64);
    QCOMPARE(f.view.header()->scrollPosition(), 64);
    QCOMPARE(f.view.barRect(f.row("T1"), -1).left(), 32 - 64);
    // The header sits above the viewport, as high as its tiers.
    QCOMPARE(f.view.header()->height(), 48);
    QCOMPARE(f.view.viewport()->geometry().top(), f.view.header()->geometry().bottom() + 1);

    QSignalSpy sizeChanged(&f.view, &RyGanttView::headerSizeChanged);
    f.view.setTimelineFlags(Ry::Year | Ry::Month | Ry::Day);
    QCOMPARE(sizeChanged.count(), 1);
    QCOMPARE(f.view.horizontalScrollBar()->value(), 0);
    QCOMPARE(f.view.header()->height(), 72);
}

void TestRyGanttView::lastDayVisibleAtScrollEnd()
{
    Fixture f;
    f.view.resize(200, 300);
    QScrollBar *bar = f.view.horizontalScrollBar();
    bar->setValue(bar->maximum());
    // T4 ends on the range's finish date: its last day is inside the viewport.
    const QRect t4 = f.view.barRect(f.row("T4"), -1);
    QVERIFY(t4.right() < f.view.viewport()->width());
    QVERIFY(t4.right() >= f.view.viewport()->width() - 32);
}

void TestRyGanttView::zoomByDraggingTheHeader()
{
    Fixture f;
    f.view.resize(400, 300);
    f.view.addRelationship(f.row("T2"), f.row("T1"), "FS");
    f.image(); // fills the link rectangle cache at the old width
    RyTimeLineHeader *header = f.view.header();
    auto send = [header](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPoint(x, 30), header->mapToGlobal(QPoint(x, 30)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(header, &event);
    };
    send(QEvent::MouseButtonPress, 100, Qt::LeftButton);
    send(QEvent::MouseMove, 116, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, 116, Qt::NoButton);
    QCOMPARE(header->unitWidth(), 48);
    QCOMPARE(f.view.barRect(f.row("T1"), -1), QRect(48, 22, 3 * 48, 22));
    QCOMPARE(f.view.horizontalScrollBar()->singleStep(), 48);
    // The link follows: it leaves T1's new end (x 191) downwards.
    QCOMPARE(f.image().pixelColor(191, 22 + 19), QColor(Qt::black));
}

void TestRyGanttView::verticalScrollMirrorsBuddy()
{
    QStandardItemModel model;
    model.setHorizontalHeaderLabels(
        { "Activity Name", "Activity Type", "Start Date", "Finish Date" });
    nameChartColumns(&model);
    for (int i = 0; i < 200; ++i)
        model.appendRow(makeRow(QString::number(i), "TT_Task", Start.addDays(i % 20),
                                Start.addDays(i % 20 + 2)));
    QTreeView tree;
    tree.setModel(&model);
    tree.resize(300, 300);
    RyGanttView view;
    view.setModel(&model);
    view.setBuddy(&tree);
    view.resize(600, 300);
    tree.show();
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(!view.verticalScrollBar()->isVisible());

    tree.verticalScrollBar()->setValue(50);
    QCOMPARE(view.verticalScrollBar()->value(), 50);
    QCOMPARE(view.indexAt(QPoint(10, 5)).data().toString(), QStringLiteral("50"));
    QCOMPARE(view.barRect(model.index(50, 0), -1).top(), 0);

    view.verticalScrollBar()->setValue(120);
    QCOMPARE(tree.verticalScrollBar()->value(), 120);
    QCOMPARE(view.visualRect(model.index(121, 0)).top(), 22);
    // Bars of the rows in view are painted at their row.
    const QImage image = view.viewport()->grab().toImage();
    const QRect bar = view.barRect(model.index(121, 0), -1);
    QCOMPARE(image.pixelColor(bar.left() + 1, bar.top() + 10), TaskBlue);
}

void TestRyGanttView::selectionIsShared()
{
    Fixture f;
    QCOMPARE(f.view.selectionModel(), f.tree.selectionModel());
    // A click in the chart selects the whole row in both views.
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 5 * 22 + 5));
    QVERIFY(f.tree.selectionModel()->isRowSelected(f.row("T3").row(), f.row("T3").parent()));
    QCOMPARE(f.tree.selectionModel()->currentIndex().sibling(f.row("T3").row(), 0), f.row("T3"));
    // The selection frame: grey outline around the row.
    QCOMPARE(f.image().pixelColor(500, 5 * 22), QColor(Qt::gray));
    // Both views keep sharing after the model is set again.
    QStandardItemModel other;
    f.tree.setModel(&other);
    f.view.setModel(&other);
    QCOMPARE(f.view.selectionModel(), f.tree.selectionModel());
}

void TestRyGanttView::indexAtAndVisualRect()
{
    Fixture f;
    QCOMPARE(f.view.indexAt(QPoint(10, 3 * 22 + 1)), f.row("M1"));
    QVERIFY(!f.view.indexAt(QPoint(10, 7 * 22 + 1)).isValid());
    QVERIFY(!f.view.indexAt(QPoint(10, -5)).isValid());
    QCOMPARE(f.view.visualRect(f.row("B")), QRect(0, 4 * 22, f.view.viewport()->width(), 22));
    QVERIFY(f.view.visualRect(f.row("B").sibling(1, Type)).isEmpty());
}

void TestRyGanttView::stateRoundTrip()
{
    Fixture f;
    QCOMPARE(f.view.saveState().toMap(), (QVariantMap { { "timelineFlags", 20 } }));
    f.view.restoreState(
        QVariantMap { { "timelineFlags", 80 }, { "visibleBars", QVariantList { 0, 1 } } });
    QCOMPARE(int(f.view.timelineFlags()), 80);
    QCOMPARE(f.view.header()->tiers(), (QList<int> { Ry::Year, Ry::Month }));
    // A layout without the key: no tiers, every x is 0.
    f.view.restoreState(QVariantMap { { "bars", QVariantMap() } });
    QCOMPARE(int(f.view.timelineFlags()), 0);
    QVERIFY(f.view.header()->tiers().isEmpty());
    QCOMPARE(f.view.header()->dateToX(QDate(2017, 1, 5)), 0);
    f.view.restoreState(QVariantMap { { "timelineFlags", 0x114 } }); // 8 bits kept
    QCOMPARE(int(f.view.timelineFlags()), 0x14);
}

void TestRyGanttView::barStyles()
{
    Fixture f;
    QCOMPARE(f.view.barStyles(), RyGanttViewBarStyle::defaultStyles());
    f.view.setBarStyles({});
    QCOMPARE(f.view.barStyles().size(), 7);

    // A layout of one style: tasks paint only style 0, milestones and summaries nothing.
    RyGanttViewBarStyle green = RyGanttViewBarStyle::defaultStyles().first();
    green.bodyColor = QColor(QStringLiteral("#21996b"));
    green.displayColumns.insert(RyGanttViewBarStyle::Right, QStringLiteral("Activity Name"));
    f.view.setBarStyles({ green });
    QCOMPARE(f.view.barStyles().size(), 1);
    const QImage image = f.image();
    QCOMPARE(image.pixelColor(40, 22 + 10), green.bodyColor);
    const int m1 = f.x(QDate(2017, 1, 10));
    QVERIFY(image.pixelColor(m1, 3 * 22 + 6) != QColor(Qt::black));
    // The label right of T1's bar (ends at 127): text from x 137 on.
    bool text = false;
    for (int x = 137; x < 170 && !text; ++x)
        for (int y = 22; y < 44 && !text; ++y)
            text = image.pixelColor(x, y).lightness() < 128;
    QVERIFY(text);

    // A hidden style is not painted.
    green.visible = false;
    f.view.setBarStyles({ green });
    QVERIFY(f.image().pixelColor(40, 22 + 10) != green.bodyColor);
}

void TestRyGanttView::addRelationshipIgnoresBadPairs()
{
    Fixture f;
    QStandardItemModel other;
    other.appendRow(new QStandardItem("x"));
    f.view.addRelationship(f.row("T1"), f.row("T1"));
    f.view.addRelationship(f.row("T1"), QModelIndex());
    f.view.addRelationship(f.row("T1"), other.index(0, 0));
    QCOMPARE(f.view.relationshipCount(), 0);
    f.view.addRelationship(f.row("T4"), f.row("T1"));
    f.view.addRelationship(f.row("T4"), f.row("T2"), "SS");
    QCOMPARE(f.view.relationshipCount(), 2);
    f.view.clearRelationships();
    QCOMPARE(f.view.relationshipCount(), 0);
}

void TestRyGanttView::isCritical_data()
{
    QTest::addColumn<QVariant>("totalFloat");
    QTest::addColumn<bool>("critical");
    QTest::newRow("zero") << QVariant(0.0) << true;
    QTest::newRow("negative") << QVariant(-16.0) << true;
    QTest::newRow("positive") << QVariant(8.0) << false;
    QTest::newRow("no value") << QVariant() << false;
    QTest::newRow("text zero") << QVariant("0") << true;
    QTest::newRow("empty text") << QVariant("") << false;
}

void TestRyGanttView::isCritical()
{
    QFETCH(QVariant, totalFloat);
    QFETCH(bool, critical);
    Fixture f;
    const QModelIndex t1 = f.row("T1");
    f.model.itemFromIndex(t1.sibling(t1.row(), TotalFloat))->setData(totalFloat, Qt::DisplayRole);
    QCOMPARE(f.view.isCritical(t1), critical);
    // Without the column nothing is critical.
    f.model.setHorizontalHeaderItem(TotalFloat, new QStandardItem("Float"));
    QVERIFY(!f.view.isCritical(f.row("T3")));
}

void TestRyGanttView::rowTypes()
{
    Fixture f;
    QCOMPARE(f.view.rowType(f.row("A")), RyGanttView::SummaryRow);
    QCOMPARE(f.view.rowType(f.row("T1")), RyGanttView::TaskRow);
    QCOMPARE(f.view.rowType(f.row("M1")), RyGanttView::MilestoneRow);
    const QModelIndex t2 = f.row("T2");
    f.model.itemFromIndex(t2.sibling(t2.row(), Type))->setText("Level of Effort");
    QCOMPARE(f.view.rowType(t2), RyGanttView::TaskRow);
    f.model.itemFromIndex(t2.sibling(t2.row(), Type))->setText("WBS");
    QCOMPARE(f.view.rowType(t2), RyGanttView::NoRowType);
    f.model.setHeaderData(Type, Qt::Horizontal, QVariant(), Ry::ColumnItemRole);
    QCOMPARE(f.view.rowType(f.row("T1")), RyGanttView::NoRowType);
    QCOMPARE(f.view.rowType(f.row("A")), RyGanttView::SummaryRow);
}

void TestRyGanttView::scrollToBringsBarIntoView()
{
    Fixture f;
    f.view.resize(300, 300);
    f.view.header()->setRange(Start, QDate(2017, 6, 30));
    QMetaObject::invokeMethod(&f.view, "updateGeometries");
    const QModelIndex t4 = f.row("T4");
    f.model.itemFromIndex(t4.sibling(t4.row(), StartDate))
        ->setData(QDateTime(QDate(2017, 3, 1), QTime(), Qt::UTC), Qt::DisplayRole);
    f.model.itemFromIndex(t4.sibling(t4.row(), FinishDate))
        ->setData(QDateTime(QDate(2017, 3, 3), QTime(), Qt::UTC), Qt::DisplayRole);
    f.view.scrollTo(t4);
    const QRect bar = f.view.barRect(t4, -1);
    QVERIFY(bar.left() >= 0);
    QVERIFY(bar.left() < f.view.viewport()->width());
    f.view.scrollTo(f.row("T1"));
    QCOMPARE(f.view.barRect(f.row("T1"), -1).left(), 0);
}

void TestRyGanttView::snapshotRoundTrip()
{
    Fixture f;
    f.view.resize(400, 120);
    f.view.header()->setRange(Start, QDate(2017, 2, 28));
    QMetaObject::invokeMethod(&f.view, "updateGeometries");
    f.view.horizontalScrollBar()->setValue(64);
    f.view.selectionModel()->select(f.row("T1"),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const QVariantMap state = f.view.prepareSnapshot();
    QCOMPARE(state.value("width").toInt(), 400);
    QCOMPARE(state.value("hor_scroll_val").toInt(), 64);
    QVERIFY(state.contains("ver_scroll_val"));
    QVERIFY(!f.view.selectionModel()->hasSelection());
    QCOMPARE(f.view.viewport()->size(), QSize(f.view.header()->sizeHint().width(), 7 * 22));
    QCOMPARE(f.view.header()->width(), f.view.header()->sizeHint().width());
    QCOMPARE(f.view.horizontalScrollBar()->value(), 0);
    // All rows, no scroll offsets: the last row's bar is drawn at its full-chart position.
    const QImage image = f.view.viewport()->grab().toImage();
    QCOMPARE(image.height(), 7 * 22);
    QCOMPARE(image.pixelColor(33, 6 * 22 + 10), TaskBlue);

    f.view.restoreSnapshot(state);
    QCOMPARE(f.view.size(), QSize(400, 120));
    QCOMPARE(f.view.horizontalScrollBar()->value(), 64);
    QCOMPARE(f.view.horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QVERIFY(!f.view.header()->snapshotMode());
}

QTEST_MAIN(TestRyGanttView)
#include "tst_ryganttview.moc"
