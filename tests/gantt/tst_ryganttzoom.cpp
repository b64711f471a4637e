// Zoom steps, their limits, Ctrl+wheel over the chart, and fitting a date range into the
// viewport by unit width and, when needed, a coarser lowest tier.
#include "gantt/ryganttview.h"
#include "gantt/ryganttzoom.h"
#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"

#include <QApplication>
#include <QScrollBar>
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
    QTest::newRow("hour bit kept")
        << (Ry::Hour | Ry::Day) << int(Ry::Year) << (Ry::Hour | Ry::Year);
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

QTEST_MAIN(TestRyGanttZoom)
#include "tst_ryganttzoom.moc"
