// Zoom steps, their limits, Ctrl+wheel over the chart, and fitting a date range into the
// viewport by unit width and, when needed, a coarser lowest tier.
#include "gantt/ryganttview.h"
#include "gantt/ryganttzoom.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"
#include "tests/support/chartcolumns.h"

#include <QApplication>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QWheelEvent>
#include <QtTest>

class TestRyGanttZoom : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void steps_data();
    void steps();
    void stepsStopAtTheDragLimits();
    void ctrlWheelZooms();
    void flagsWithLowestTier_data();
    void flagsWithLowestTier();
    void fit_data();
    void fit();
    void shortProjectFillsTheChart_data();
    void shortProjectFillsTheChart();

private:
    void wheel(int delta, Qt::KeyboardModifiers modifiers);

    std::unique_ptr<RyGanttView> view;
    RyGanttZoom *zoom = nullptr;
};

void TestRyGanttZoom::init()
{
    view.reset(new RyGanttView);
    view->resize(600, 300);
    view->setTimelineFlags(Ry::Month | Ry::Day);
    view->header()->setRange(QDate(2024, 1, 1), QDate(2024, 1, 10));
    zoom = new RyGanttZoom(view.get());
}

void TestRyGanttZoom::steps_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("in");
    QTest::addColumn<int>("out");
    QTest::newRow("default") << 32 << 40 << 26;
    QTest::newRow("small widths still move") << 2 << 3 << 1;
    QTest::newRow("at the limits") << 128 << 160 << 102;
}

void TestRyGanttZoom::steps()
{
    QFETCH(int, width);
    QTEST(RyGanttZoom::widthAfterZoomIn(width), "in");
    QTEST(RyGanttZoom::widthAfterZoomOut(width), "out");
}

void TestRyGanttZoom::stepsStopAtTheDragLimits()
{
    RyTimeLineHeader *header = view->header();
    for (int i = 0; i < 20; ++i)
        zoom->zoomIn();
    QCOMPARE(header->unitWidth(), int(RyTimeLineHeader::MaximumUnitWidth));
    for (int i = 0; i < 20; ++i)
        zoom->zoomOut();
    QCOMPARE(header->unitWidth(), int(RyTimeLineHeader::MinimumUnitWidth));
    // Like a drag, the width is remembered for the lowest tier.
    view->setTimelineFlags(Ry::Month);
    view->setTimelineFlags(Ry::Month | Ry::Day);
    QCOMPARE(header->unitWidth(), int(RyTimeLineHeader::MinimumUnitWidth));
}

void TestRyGanttZoom::wheel(int delta, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = view->viewport();
    const QPointF pos(10, 10);
    QWheelEvent event(pos, target->mapToGlobal(pos.toPoint()), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void TestRyGanttZoom::ctrlWheelZooms()
{
    RyTimeLineHeader *header = view->header();
    wheel(120, Qt::ControlModifier);
    QCOMPARE(header->unitWidth(), 40);
    // Half notches add up to one step.
    wheel(-60, Qt::ControlModifier);
    QCOMPARE(header->unitWidth(), 40);
    wheel(-60, Qt::ControlModifier);
    QCOMPARE(header->unitWidth(), 32);
    wheel(120, Qt::NoModifier);
    QCOMPARE(header->unitWidth(), 32);
}

void TestRyGanttZoom::flagsWithLowestTier_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("expected");
    QTest::newRow("month/day to week")
        << (Ry::Month | Ry::Day) << int(Ry::Week) << (Ry::Month | Ry::Week);
    QTest::newRow("year/month/day to month")
        << (Ry::Year | Ry::Month | Ry::Day) << int(Ry::Month) << (Ry::Year | Ry::Month);
    QTest::newRow("hours go with the days")
        << (Ry::Hour | Ry::Day) << int(Ry::Year) << int(Ry::Year);
    QTest::newRow("minute bit kept")
        << (Ry::Minute | Ry::Day) << int(Ry::Week) << (Ry::Minute | Ry::Week);
}

void TestRyGanttZoom::flagsWithLowestTier()
{
    QFETCH(int, flags);
    QFETCH(int, unit);
    QTEST(int(RyGanttZoom::flagsWithLowestTier(quint8(flags), unit)), "expected");
}

void TestRyGanttZoom::fit_data()
{
    QTest::addColumn<QDate>("finish");
    QTest::addColumn<int>("lowestTier");
    QTest::addColumn<int>("flags");

    QTest::newRow("ten days stay in days")
        << QDate(2024, 1, 10) << int(Ry::Day) << (Ry::Month | Ry::Day);
    QTest::newRow("half a year needs weeks")
        << QDate(2024, 6, 30) << int(Ry::Week) << (Ry::Month | Ry::Week);
    QTest::newRow("a year needs months") << QDate(2024, 12, 31) << int(Ry::Month) << int(Ry::Month);
    QTest::newRow("ten years need quarters")
        << QDate(2033, 12, 31) << int(Ry::Quarter) << int(Ry::Quarter);
}

void TestRyGanttZoom::fit()
{
    QFETCH(QDate, finish);
    RyTimeLineHeader *header = view->header();
    header->setRange(QDate(2024, 1, 1), finish);
    view->horizontalScrollBar()->setValue(200);
    QSignalSpy flagsChanged(zoom, &RyGanttZoom::timelineFlagsChanged);
    zoom->fit();
    QTEST(header->lowestTier(), "lowestTier");
    QTEST(int(header->timelineFlags()), "flags");
    QCOMPARE(flagsChanged.isEmpty(), header->lowestTier() == Ry::Day);
    const int available = view->viewport()->width();
    QVERIFY2(header->rangeEndX() <= available,
             qPrintable(QStringLiteral("%1 > %2").arg(header->rangeEndX()).arg(available)));
    QCOMPARE(view->horizontalScrollBar()->value(), 0);
    // Fitted, not merely shrunk: one more pixel per unit would not fit any more (or the
    // width is at its maximum).
    const int width = header->unitWidth();
    if (width < RyTimeLineHeader::MaximumUnitWidth) {
        header->zoomTo(width + 1);
        QVERIFY(header->rangeEndX() > available);
    }
}

void TestRyGanttZoom::shortProjectFillsTheChart_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("finish");
    QTest::newRow("one day") << QDate(2024, 1, 3) << QDate(2024, 1, 3);
    QTest::newRow("two weeks") << QDate(2024, 1, 1) << QDate(2024, 1, 12);
}

void TestRyGanttZoom::shortProjectFillsTheChart()
{
    QFETCH(QDate, start);
    QFETCH(QDate, finish);
    QStandardItemModel model;
    model.setHorizontalHeaderLabels({ "Activity Name", "Start Date", "Finish Date" });
    nameChartColumns(&model);
    model.appendRow({ new QStandardItem("A"), new QStandardItem, new QStandardItem });
    model.setData(model.index(0, 1), QDateTime(start, QTime(8, 0), Qt::UTC));
    model.setData(model.index(0, 2), QDateTime(finish, QTime(17, 0), Qt::UTC));
    view->resize(1000, 300);
    view->setModel(&model);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    RyTimeLineHeader *header = view->header();
    // A day before the start, and both tiers drawn up to the right edge of the view.
    QCOMPARE(header->startDate(), start.addDays(-1));
    QCOMPARE(header->finishDate(), finish);
    QVERIFY(header->rangeEndX() < header->QWidget::width());
    // Each tier's cells end in a line along their bottom, near the right edge as at the left.
    const QImage image = header->grab().toImage();
    const QRgb window = header->palette().color(QPalette::Window).rgb();
    for (int tier = 0; tier < 2; ++tier) {
        const int y = (tier + 1) * RyTimeLineHeader::TierHeight - 1;
        QVERIFY(image.pixel(5, y) != window);
        QCOMPARE(image.pixel(image.width() - 5, y), image.pixel(5, y));
    }

    // Fit: the project, margin included, spans the chart's width, units as wide as it takes.
    zoom->fit();
    const int available = view->viewport()->width();
    const int units = int(start.daysTo(finish)) + 2;
    QCOMPARE(header->lowestTier(), int(Ry::Day));
    QCOMPARE(header->scale().unitWidth(), available / units);
    QVERIFY(header->rangeEndX() <= available);
    QVERIFY(header->rangeEndX() > available - units);
    QCOMPARE(view->horizontalScrollBar()->value(), 0);
}

QTEST_MAIN(TestRyGanttZoom)
#include "tst_ryganttzoom.moc"
