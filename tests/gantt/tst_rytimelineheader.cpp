#include "gantt/rytimelineheader.h"
#include "models/ryconstants.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>

namespace {

// 2 January 2017 is a Monday of ISO week 1.
const QDate Monday(2017, 1, 2);

std::unique_ptr<RyTimeLineHeader> makeHeader(int flags, const QDate &start, const QDate &finish)
{
    auto header = std::make_unique<RyTimeLineHeader>();
    header->setTimelineFlags(quint8(flags));
    header->setRange(start, finish);
    return header;
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestRyTimeLineHeader : public QObject
{
    Q_OBJECT
private slots:
    void tiersFromFlags_data();
    void tiersFromFlags();
    void yearOverMonthTicks();
    void tickDatesMonthOverDay();
    void scrollRounding_data();
    void scrollRounding();
    void dragZoom_data();
    void dragZoom();
    void dragOnlyInLowestTier();
    void unitWidthRememberedPerLowestTier();
    void rangeWarnings();
    void noTiers();
    void paintsSectionsToTheRightEdge();
};

void TestRyTimeLineHeader::tiersFromFlags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<int>>("tiers");
    QTest::newRow("month over day") << 20 << QList<int> { Ry::Month, Ry::Day };
    QTest::newRow("year over month") << 80 << QList<int> { Ry::Year, Ry::Month };
    QTest::newRow("all five") << 124
                              << QList<int> { Ry::Year, Ry::Quarter, Ry::Month, Ry::Week, Ry::Day };
    QTest::newRow("hours under days, minutes no tier") << 0x07 << QList<int> { Ry::Day, Ry::Hour };
    QTest::newRow("none") << 0 << QList<int>();
}

void TestRyTimeLineHeader::tiersFromFlags()
{
    QFETCH(int, flags);
    QFETCH(QList<int>, tiers);
    RyTimeLineHeader header;
    QSignalSpy geometries(&header, &RyTimeLineHeader::geometriesChanged);
    header.setTimelineFlags(quint8(flags));
    QCOMPARE(header.tiers(), tiers);
    QCOMPARE(int(header.timelineFlags()), flags);
    QCOMPARE(header.sizeHint().height(), tiers.size() * 24);
    QCOMPARE(geometries.count(), 1);
}

void TestRyTimeLineHeader::yearOverMonthTicks()
{
    auto header = makeHeader(80, QDate(2017, 3, 10), QDate(2019, 6, 1));
    QCOMPARE(header->tiers().size(), 2);
    QCOMPARE(header->tickDates(), (QList<QDate> { QDate(2018, 1, 1), QDate(2019, 1, 1) }));
    // Month lowest, first partial month counted whole: Jun 2019 starts 27 units in, and the
    // chart ends with that month.
    QCOMPARE(header->dateToX(QDate(2019, 6, 1)), 27 * 32);
    QCOMPARE(header->sizeHint().width(), 28 * 32);
    QCOMPARE(header->dateToX(QDate(2018, 1, 1), true), 10 * 32);
}

void TestRyTimeLineHeader::tickDatesMonthOverDay()
{
    auto header = makeHeader(20, Monday, QDate(2017, 4, 10));
    QCOMPARE(header->tickDates(),
             (QList<QDate> { QDate(2017, 2, 1), QDate(2017, 3, 1), QDate(2017, 4, 1) }));
    header->setTimelineFlags(Ry::Day);
    QVERIFY(header->tickDates().isEmpty());
}

void TestRyTimeLineHeader::scrollRounding_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("70 -> 64") << 70 << 64;
    QTest::newRow("exact") << 96 << 96;
    QTest::newRow("below one unit") << 31 << 0;
}

void TestRyTimeLineHeader::scrollRounding()
{
    QFETCH(int, value);
    QFETCH(int, rounded);
    auto header = makeHeader(20, Monday, QDate(2017, 6, 30));
    QCOMPARE(header->unitWidth(), 32);
    QSignalSpy spy(header.get(), &RyTimeLineHeader::scrollbarChanged);
    header->onScrollbarChanged(value);
    QCOMPARE(header->scrollPosition(), rounded);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toInt(), rounded);
}

void TestRyTimeLineHeader::dragZoom_data()
{
    QTest::addColumn<int>("dragBy");
    QTest::addColumn<int>("unitWidth");
    QTest::newRow("to 5 gives 12") << -27 << 12;
    QTest::newRow("to 12") << -20 << 12;
    QTest::newRow("to 13") << -19 << 13;
    QTest::newRow("to 40") << 8 << 40;
    QTest::newRow("to 300 gives 128") << 268 << 128;
}

void TestRyTimeLineHeader::dragZoom()
{
    QFETCH(int, dragBy);
    QFETCH(int, unitWidth);
    auto header = makeHeader(20, Monday, QDate(2017, 6, 30));
    header->resize(600, 48);
    header->onScrollbarChanged(320);
    const QDate leftEdge = header->xToDate(header->scrollPosition());
    QCOMPARE(leftEdge, Monday.addDays(10));
    QSignalSpy scrolled(header.get(), &RyTimeLineHeader::scrollbarChanged);
    QSignalSpy resized(header.get(), &RyTimeLineHeader::sectionResized);

    sendMouse(header.get(), QEvent::MouseButtonPress, QPoint(100, 30), Qt::LeftButton);
    sendMouse(header.get(), QEvent::MouseMove, QPoint(100 + dragBy, 30), Qt::LeftButton);
    sendMouse(header.get(), QEvent::MouseButtonRelease, QPoint(100 + dragBy, 30), Qt::NoButton);

    QCOMPARE(header->unitWidth(), unitWidth);
    QCOMPARE(header->xToDate(header->scrollPosition()), leftEdge);
    QCOMPARE(header->scrollPosition(), 10 * unitWidth);
    QVERIFY(!scrolled.isEmpty());
    QCOMPARE(scrolled.last().first().toInt(), 10 * unitWidth);
    QCOMPARE(resized.count(), 1);
    QCOMPARE(header->dateToX(Monday.addDays(1)), unitWidth);
}

void TestRyTimeLineHeader::dragOnlyInLowestTier()
{
    auto header = makeHeader(20, Monday, QDate(2017, 6, 30));
    header->resize(600, 48);
    sendMouse(header.get(), QEvent::MouseMove, QPoint(50, 10), Qt::NoButton);
    QCOMPARE(header->cursor().shape(), Qt::ArrowCursor);
    sendMouse(header.get(), QEvent::MouseMove, QPoint(50, 30), Qt::NoButton);
    QCOMPARE(header->cursor().shape(), Qt::SizeHorCursor);
    // A press in the upper tier starts no zoom.
    sendMouse(header.get(), QEvent::MouseButtonPress, QPoint(100, 10), Qt::LeftButton);
    sendMouse(header.get(), QEvent::MouseMove, QPoint(150, 10), Qt::LeftButton);
    sendMouse(header.get(), QEvent::MouseButtonRelease, QPoint(150, 10), Qt::NoButton);
    QCOMPARE(header->unitWidth(), 32);
}

void TestRyTimeLineHeader::unitWidthRememberedPerLowestTier()
{
    auto header = makeHeader(20, Monday, QDate(2017, 6, 30));
    header->resize(600, 48);
    sendMouse(header.get(), QEvent::MouseButtonPress, QPoint(100, 30), Qt::LeftButton);
    sendMouse(header.get(), QEvent::MouseMove, QPoint(110, 30), Qt::LeftButton);
    sendMouse(header.get(), QEvent::MouseButtonRelease, QPoint(110, 30), Qt::NoButton);
    QCOMPARE(header->unitWidth(), 42);
    header->setTimelineFlags(Ry::Month | Ry::Week);
    QCOMPARE(header->unitWidth(), 32);
    header->setTimelineFlags(Ry::Year | Ry::Day);
    QCOMPARE(header->unitWidth(), 42);
}

void TestRyTimeLineHeader::rangeWarnings()
{
    auto header = makeHeader(20, Monday, QDate(2017, 6, 30));
    QTest::ignoreMessage(QtWarningMsg, "Invalid date range");
    header->setRange(QDate(), QDate(2017, 8, 1));
    QCOMPARE(header->startDate(), Monday);
    QCOMPARE(header->finishDate(), QDate(2017, 6, 30));

    QTest::ignoreMessage(QtWarningMsg, "Start date i larger than finish date");
    header->setRange(QDate(2017, 8, 1), QDate(2017, 7, 1));
    QCOMPARE(header->startDate(), QDate(2017, 8, 1));
    QCOMPARE(header->finishDate(), QDate(2017, 7, 1));
}

void TestRyTimeLineHeader::noTiers()
{
    auto header = makeHeader(0, Monday, QDate(2017, 6, 30));
    QVERIFY(header->tiers().isEmpty());
    QCOMPARE(header->dateToX(QDate(2017, 3, 1)), 0);
    QCOMPARE(header->dateToX(QDate(2017, 3, 1), true), 0);
    QVERIFY(!header->xToDate(100).isValid());
    QCOMPARE(header->sizeHint(), QSize(0, 0));
    QVERIFY(header->tickDates().isEmpty());
}

// Sections are drawn up to the range end; beyond it the widget shows its background.
void TestRyTimeLineHeader::paintsSectionsToTheRightEdge()
{
    // A range narrower than the header: the tiers go on to its right edge, the days too.
    auto header = makeHeader(20, Monday, Monday.addDays(4)); // five days: 160 pixels wide
    header->resize(400, 48);
    const QImage image = header->grab().toImage();
    const QColor background = header->palette().color(QPalette::Window);
    for (int y : { 10, 30 }) {
        bool sectionDrawn = false;
        for (int x = 300; x < 400 && !sectionDrawn; ++x)
            sectionDrawn = image.pixelColor(x, y) != background;
        QVERIFY(sectionDrawn);
    }

    header->setSnapshotMode(true);
    QVERIFY(header->snapshotMode());
    header->resize(header->sizeHint());
    QCOMPARE(header->grab().size(), QSize(160, 48));
}

QTEST_MAIN(TestRyTimeLineHeader)
#include "tst_rytimelineheader.moc"
