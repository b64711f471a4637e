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
    void dayScale_data();
    void dayScale();
    void upperTierRule_data();
    void upperTierRule();
    void monthOverWeekCells_data();
    void monthOverWeekCells();
    void weekScaleDates_data();
    void weekScaleDates();
    void monthStartingMidMonth();
    void dayFraction_data();
    void dayFraction();
    void xToDateInvertsDateToX_data();
    void xToDateInvertsDateToX();
    void xToDateSteps_data();
    void xToDateSteps();
    void next_data();
    void next();
    void labels_data();
    void labels();
    void scrollRounding_data();
    void scrollRounding();
    void dragZoom_data();
    void dragZoom();
    void dragOnlyInLowestTier();
    void unitWidthRememberedPerLowestTier();
    void rangeWarnings();
    void noTiers();
    void paintsSectionsUpToRangeEnd();
};

void TestRyTimeLineHeader::tiersFromFlags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<int>>("tiers");
    QTest::newRow("month over day") << 20 << QList<int> { Ry::Month, Ry::Day };
    QTest::newRow("year over month") << 80 << QList<int> { Ry::Year, Ry::Month };
    QTest::newRow("all five") << 124
                              << QList<int> { Ry::Year, Ry::Quarter, Ry::Month, Ry::Week, Ry::Day };
    QTest::newRow("minute and hour are no tiers") << 0x07 << QList<int> { Ry::Day };
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

void TestRyTimeLineHeader::dayScale_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("x");
    QTest::newRow("start") << Monday << 0;
    QTest::newRow("next day") << Monday.addDays(1) << 32;
    QTest::newRow("ten days") << Monday.addDays(10) << 320;
    QTest::newRow("next month") << QDate(2017, 2, 1) << 30 * 32;
    QTest::newRow("a year later") << QDate(2018, 1, 2) << 365 * 32;
    QTest::newRow("invalid") << QDate() << 0;
}

void TestRyTimeLineHeader::dayScale()
{
    QFETCH(QDate, date);
    QFETCH(int, x);
    auto header = makeHeader(20, Monday, QDate(2017, 6, 30));
    QCOMPARE(header->dateToX(date), x);
}

void TestRyTimeLineHeader::upperTierRule_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("x");
    // Month over day from 2 Jan: the end of the month unit holding the date.
    QTest::newRow("mid January") << 20 << QDate(2017, 1, 12) << 30 * 32;
    QTest::newRow("1 February") << 20 << QDate(2017, 2, 1) << 30 * 32;
    QTest::newRow("2 February") << 20 << QDate(2017, 2, 2) << 58 * 32;
    // Week over day: next Monday.
    QTest::newRow("week, Wednesday") << 12 << QDate(2017, 1, 4) << 7 * 32;
    QTest::newRow("week, Monday") << 12 << QDate(2017, 1, 9) << 7 * 32;
    // One tier only: the unit end of the lowest tier (month lowest, start counted as a unit).
    QTest::newRow("single tier") << 16 << QDate(2017, 1, 12) << 32;
}

void TestRyTimeLineHeader::upperTierRule()
{
    QFETCH(int, flags);
    QFETCH(QDate, date);
    QFETCH(int, x);
    auto header = makeHeader(flags, Monday, QDate(2017, 6, 30));
    QCOMPARE(header->dateToX(date, true), x);
}

void TestRyTimeLineHeader::monthOverWeekCells_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("width");
    // Range starts Wednesday 4 January 2017. Start cell: (3 + 28 - 1) / 7 * 32 = 137.14.
    QTest::newRow("first month from the start") << QDate(2017, 1, 4) << QDate(2017, 2, 1) << 137;
    // Wed 1 Feb .. Wed 1 Mar: 23 + 3 weeks + 9.
    QTest::newRow("February, four whole weeks") << QDate(2017, 2, 1) << QDate(2017, 3, 1) << 128;
    // Wed 1 Mar .. Sat 1 Apr: 23 + 96 + 23, wider than four weeks.
    QTest::newRow("March, partial weeks at both ends")
        << QDate(2017, 3, 1) << QDate(2017, 4, 1) << 142;
    // Mon 1 May .. Thu 1 Jun: 0 + 4 weeks + 14.
    QTest::newRow("May, starts on a Monday") << QDate(2017, 5, 1) << QDate(2017, 6, 1) << 142;
    QTest::newRow("a week cell") << QDate(2017, 1, 9) << QDate(2017, 1, 16) << 32;
}

void TestRyTimeLineHeader::monthOverWeekCells()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, width);
    auto header = makeHeader(24, QDate(2017, 1, 4), QDate(2017, 12, 31));
    const int unit = from.daysTo(to) == 7 ? int(Ry::Week) : int(Ry::Month);
    QCOMPARE(header->width(from, to, unit), width);
}

void TestRyTimeLineHeader::weekScaleDates_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("x");
    QTest::newRow("first Monday") << QDate(2017, 1, 9) << 32;
    QTest::newRow("second Monday") << QDate(2017, 1, 16) << 64;
    // Wednesday: end of its week (64) minus 5 days of 32/7 pixels.
    QTest::newRow("Wednesday") << QDate(2017, 1, 11) << 41;
    // The month boundary as seen by the lowest tier equals the month cell width from the start.
    QTest::newRow("1 February") << QDate(2017, 2, 1) << 137;
}

void TestRyTimeLineHeader::weekScaleDates()
{
    QFETCH(QDate, date);
    QFETCH(int, x);
    auto header = makeHeader(24, QDate(2017, 1, 4), QDate(2017, 12, 31));
    QCOMPARE(header->dateToX(date), x);
}

void TestRyTimeLineHeader::monthStartingMidMonth()
{
    auto header = makeHeader(Ry::Quarter | Ry::Month, QDate(2017, 1, 15), QDate(2017, 12, 31));
    QCOMPARE(header->xToDate(0), QDate(2017, 1, 15));
    QCOMPARE(header->width(QDate(2017, 1, 15), QDate(2017, 2, 1), Ry::Month), 32);
    QCOMPARE(header->dateToX(QDate(2017, 2, 1)), 32);
    QCOMPARE(header->dateToX(QDate(2017, 3, 1)), 64);
    // 20 January: end of its month (32) minus 12 days of 32/30 pixels.
    QCOMPARE(header->dateToX(QDate(2017, 1, 20)), 19);
    // Quarter cells count the months stepped: Jan 15 .. Apr 1 is three months.
    QCOMPARE(header->width(QDate(2017, 1, 15), QDate(2017, 4, 1), Ry::Quarter), 96);
    QCOMPARE(header->tickDates().first(), QDate(2017, 4, 1));
}

void TestRyTimeLineHeader::dayFraction_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("unit");
    QTest::addColumn<float>("fraction");
    QTest::newRow("day/day") << 20 << int(Ry::Day) << 1.0f;
    QTest::newRow("hour/day: 12-hour day") << 20 << int(Ry::Hour) << 1.0f / 12;
    QTest::newRow("minute/day") << 20 << int(Ry::Minute) << 1.0f / 720;
    QTest::newRow("month/day: coarser") << 20 << int(Ry::Month) << 1.0f;
    QTest::newRow("day/week") << 24 << int(Ry::Day) << 1.0f / 7;
    QTest::newRow("hour/week") << 24 << int(Ry::Hour) << 1.0f / 84;
    QTest::newRow("day/month") << 16 << int(Ry::Day) << 1.0f / 30;
    QTest::newRow("week/month") << 16 << int(Ry::Week) << 1.0f / 4;
    QTest::newRow("minute/month") << 16 << int(Ry::Minute) << 1.0f / 21600;
    QTest::newRow("day/quarter") << 32 << int(Ry::Day) << 1.0f / 90;
    QTest::newRow("week/quarter") << 32 << int(Ry::Week) << 1.0f / 12;
    QTest::newRow("month/quarter") << 32 << int(Ry::Month) << 1.0f / 3;
    QTest::newRow("day/year") << 64 << int(Ry::Day) << 1.0f / 365;
    QTest::newRow("week/year") << 64 << int(Ry::Week) << 1.0f / 52;
    QTest::newRow("month/year") << 64 << int(Ry::Month) << 1.0f / 12;
    QTest::newRow("quarter/year") << 64 << int(Ry::Quarter) << 1.0f / 4;
    QTest::newRow("hour/year") << 64 << int(Ry::Hour) << 1.0f / 4380;
}

void TestRyTimeLineHeader::dayFraction()
{
    QFETCH(int, flags);
    QFETCH(int, unit);
    QFETCH(float, fraction);
    RyTimeLineHeader header;
    header.setTimelineFlags(quint8(flags));
    QCOMPARE(header.dayFraction(unit), fraction);
}

void TestRyTimeLineHeader::xToDateInvertsDateToX_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QList<QDate>>("unitStarts");
    QTest::newRow("days") << 20 << Monday
                          << QList<QDate> { Monday.addDays(1), Monday.addDays(17),
                                            QDate(2017, 3, 1) };
    QTest::newRow("weeks from a Wednesday")
        << 24 << QDate(2017, 1, 4)
        << QList<QDate> { QDate(2017, 1, 9), QDate(2017, 2, 6), QDate(2017, 7, 3) };
    QTest::newRow("week tier alone")
        << 8 << QDate(2017, 1, 4) << QList<QDate> { QDate(2017, 1, 9), QDate(2017, 3, 13) };
    QTest::newRow("months from the 15th")
        << 48 << QDate(2017, 1, 15) << QList<QDate> { QDate(2017, 2, 1), QDate(2017, 9, 1) };
    QTest::newRow("quarters") << 96 << QDate(2017, 2, 10)
                              << QList<QDate> { QDate(2017, 4, 1), QDate(2018, 1, 1),
                                                QDate(2018, 7, 1) };
    QTest::newRow("years") << 64 << QDate(2017, 5, 5)
                           << QList<QDate> { QDate(2018, 1, 1), QDate(2021, 1, 1) };
}

void TestRyTimeLineHeader::xToDateInvertsDateToX()
{
    QFETCH(int, flags);
    QFETCH(QDate, start);
    QFETCH(QList<QDate>, unitStarts);
    auto header = makeHeader(flags, start, QDate(2022, 12, 31));
    for (const QDate &date : unitStarts)
        QCOMPARE(header->xToDate(header->dateToX(date)), date);
}

void TestRyTimeLineHeader::xToDateSteps_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("x");
    QTest::addColumn<QDate>("date");
    QTest::newRow("0 is the start") << 20 << 0 << Monday;
    QTest::newRow("negative is the start") << 20 << -50 << Monday;
    QTest::newRow("a started unit counts") << 20 << 1 << Monday.addDays(1);
    QTest::newRow("exact units") << 20 << 64 << Monday.addDays(2);
    QTest::newRow("week: back to Monday first") << 24 << 0 << QDate(2017, 1, 2);
    QTest::newRow("week: two units") << 24 << 40 << QDate(2017, 1, 16);
    QTest::newRow("month") << 16 << 33 << QDate(2017, 3, 1);
}

void TestRyTimeLineHeader::xToDateSteps()
{
    QFETCH(int, flags);
    QFETCH(int, x);
    QFETCH(QDate, date);
    const QDate start = flags == 24 ? QDate(2017, 1, 4) : Monday;
    auto header = makeHeader(flags, start, QDate(2017, 12, 31));
    QCOMPARE(header->xToDate(x), date);
}

void TestRyTimeLineHeader::next_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("lowest");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QDate>("next");
    QTest::newRow("day") << int(Ry::Day) << int(Ry::Day) << QDate(2017, 2, 28) << QDate(2017, 3, 1);
    QTest::newRow("week over days: next Monday")
        << int(Ry::Week) << int(Ry::Day) << QDate(2017, 1, 4) << QDate(2017, 1, 9);
    QTest::newRow("week over days from Sunday")
        << int(Ry::Week) << int(Ry::Day) << QDate(2017, 1, 8) << QDate(2017, 1, 9);
    QTest::newRow("week as lowest: seven days")
        << int(Ry::Week) << int(Ry::Week) << QDate(2017, 1, 4) << QDate(2017, 1, 11);
    QTest::newRow("month") << int(Ry::Month) << int(Ry::Day) << QDate(2017, 1, 31)
                           << QDate(2017, 2, 1);
    QTest::newRow("quarter") << int(Ry::Quarter) << int(Ry::Day) << QDate(2017, 5, 20)
                             << QDate(2017, 7, 1);
    QTest::newRow("fourth quarter")
        << int(Ry::Quarter) << int(Ry::Day) << QDate(2017, 11, 2) << QDate(2018, 1, 1);
    QTest::newRow("year") << int(Ry::Year) << int(Ry::Day) << QDate(2017, 1, 1)
                          << QDate(2018, 1, 1);
}

void TestRyTimeLineHeader::next()
{
    QFETCH(int, unit);
    QFETCH(int, lowest);
    QFETCH(QDate, date);
    QFETCH(QDate, next);
    RyTimeLineHeader header;
    QCOMPARE(header.next(date, unit, lowest), next);
}

void TestRyTimeLineHeader::labels_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("label");
    const int day = Ry::Day, week = Ry::Week, month = Ry::Month, quarter = Ry::Quarter,
              year = Ry::Year;
    QTest::newRow("day 0") << day << 0 << "2";
    QTest::newRow("day 1") << day << 1 << "02";
    QTest::newRow("day 2") << day << 2 << "02-01";
    QTest::newRow("day 3") << day << 3 << "02 01 '17";
    QTest::newRow("day 4") << day << 4 << "M";
    QTest::newRow("day 5") << day << 5 << "";
    QTest::newRow("week 0") << week << 0 << "W1";
    QTest::newRow("week 1") << week << 1 << "W01";
    QTest::newRow("week 2") << week << 2 << "Week 1";
    QTest::newRow("week 3") << week << 3 << "Week 01";
    QTest::newRow("week 4") << week << 4 << "02 Jan '17";
    QTest::newRow("week 5") << week << 5 << "";
    QTest::newRow("month 0") << month << 0 << "1";
    QTest::newRow("month 1") << month << 1 << "01";
    QTest::newRow("month 2") << month << 2 << "Jan";
    QTest::newRow("month 3") << month << 3 << "January";
    QTest::newRow("month 4") << month << 4 << "";
    QTest::newRow("quarter 0") << quarter << 0 << "Q1";
    QTest::newRow("quarter 1") << quarter << 1 << "First Quarter";
    QTest::newRow("quarter 2") << quarter << 2 << "Q1 2017";
    QTest::newRow("quarter 3") << quarter << 3 << "";
    QTest::newRow("year 0") << year << 0 << "2017";
    QTest::newRow("year 1") << year << 1 << "17";
    QTest::newRow("year 2") << year << 2 << "'17";
    QTest::newRow("year 3") << year << 3 << "";
    QTest::newRow("negative index") << day << -1 << "";
}

void TestRyTimeLineHeader::labels()
{
    QFETCH(int, unit);
    QFETCH(int, format);
    QFETCH(QString, label);
    QCOMPARE(RyTimeLineHeader::label(Monday, unit, format), label);
    // Fixed English names whatever the locale.
    QCOMPARE(RyTimeLineHeader::label(QDate(2017, 11, 5), Ry::Month, 3), QStringLiteral("November"));
    QCOMPARE(RyTimeLineHeader::label(QDate(2017, 11, 5), Ry::Quarter, 1),
             QStringLiteral("Fourth Quarter"));
    QCOMPARE(RyTimeLineHeader::label(QDate(2017, 1, 5), Ry::Day, 4), QStringLiteral("T"));
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
void TestRyTimeLineHeader::paintsSectionsUpToRangeEnd()
{
    auto header = makeHeader(20, Monday, Monday.addDays(4)); // five days: 160 pixels wide
    header->resize(400, 48);
    const QImage image = header->grab().toImage();
    const QColor background = header->palette().color(QPalette::Window);
    QCOMPARE(image.pixelColor(300, 30), background);
    bool sectionDrawn = false;
    for (int x = 0; x < 160 && !sectionDrawn; ++x)
        sectionDrawn = image.pixelColor(x, 30) != background;
    QVERIFY(sectionDrawn);

    header->setSnapshotMode(true);
    QVERIFY(header->snapshotMode());
    header->resize(header->sizeHint());
    QCOMPARE(header->grab().size(), QSize(160, 48));
}

QTEST_MAIN(TestRyTimeLineHeader)
#include "tst_rytimelineheader.moc"
