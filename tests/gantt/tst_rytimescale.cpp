#include "gantt/rytimescale.h"
#include "models/ryconstants.h"

#include <QtTest>

namespace {

// 2 January 2017 is a Monday of ISO week 1.
const QDate Monday(2017, 1, 2);

RyTimeScale makeScale(int flags, const QDate &start, const QDate &finish)
{
    RyTimeScale scale;
    scale.setTimelineFlags(quint8(flags));
    scale.setRange(start, finish);
    return scale;
}

} // namespace

class TestRyTimeScale : public QObject
{
    Q_OBJECT
private slots:
    void tiersFromFlags_data();
    void tiersFromFlags();
    void tickDates_data();
    void tickDates();
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
    void dateTimeToX_data();
    void dateTimeToX();
    void unitWidthChangeRefreshesPositions();
    void everyFormatHasASampleAndALabel();
};

void TestRyTimeScale::tiersFromFlags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<int>>("tiers");
    QTest::newRow("month over day") << 20 << QList<int> { Ry::Month, Ry::Day };
    QTest::newRow("all five") << 124
                              << QList<int> { Ry::Year, Ry::Quarter, Ry::Month, Ry::Week, Ry::Day };
    QTest::newRow("hours under days, minutes no tier") << 0x07 << QList<int> { Ry::Day, Ry::Hour };
    QTest::newRow("none") << 0 << QList<int>();
}

void TestRyTimeScale::tiersFromFlags()
{
    QFETCH(int, flags);
    QFETCH(QList<int>, tiers);
    RyTimeScale scale;
    scale.setTimelineFlags(quint8(flags));
    QCOMPARE(scale.tiers(), tiers);
    QCOMPARE(scale.lowestTier(), tiers.isEmpty() ? 0 : tiers.last());
    QCOMPARE(int(scale.timelineFlags()), flags);
}

void TestRyTimeScale::tickDates_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("finish");
    QTest::addColumn<QList<QDate>>("ticks");
    QTest::newRow("month over day")
        << 20 << Monday << QDate(2017, 4, 10)
        << QList<QDate> { QDate(2017, 2, 1), QDate(2017, 3, 1), QDate(2017, 4, 1) };
    QTest::newRow("year over month") << 80 << QDate(2017, 3, 10) << QDate(2019, 6, 1)
                                     << QList<QDate> { QDate(2018, 1, 1), QDate(2019, 1, 1) };
    QTest::newRow("one tier has none")
        << int(Ry::Day) << Monday << QDate(2017, 4, 10) << QList<QDate>();
    QTest::newRow("day over hour") << int(Ry::Day | Ry::Hour) << Monday << Monday.addDays(3)
                                   << QList<QDate> { Monday.addDays(1), Monday.addDays(2) };
}

void TestRyTimeScale::tickDates()
{
    QFETCH(int, flags);
    QFETCH(QDate, start);
    QFETCH(QDate, finish);
    QFETCH(QList<QDate>, ticks);
    QCOMPARE(makeScale(flags, start, finish).tickDates(), ticks);
}

void TestRyTimeScale::dayScale_data()
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

void TestRyTimeScale::dayScale()
{
    QFETCH(QDate, date);
    QFETCH(int, x);
    const RyTimeScale scale = makeScale(20, Monday, QDate(2017, 6, 30));
    QCOMPARE(scale.dateToX(date), x);
}

void TestRyTimeScale::upperTierRule_data()
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

void TestRyTimeScale::upperTierRule()
{
    QFETCH(int, flags);
    QFETCH(QDate, date);
    QFETCH(int, x);
    const RyTimeScale scale = makeScale(flags, Monday, QDate(2017, 6, 30));
    QCOMPARE(scale.dateToX(date, true), x);
}

void TestRyTimeScale::monthOverWeekCells_data()
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

void TestRyTimeScale::monthOverWeekCells()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, width);
    const RyTimeScale scale = makeScale(24, QDate(2017, 1, 4), QDate(2017, 12, 31));
    const int unit = from.daysTo(to) == 7 ? int(Ry::Week) : int(Ry::Month);
    QCOMPARE(scale.width(from, to, unit), width);
}

void TestRyTimeScale::weekScaleDates_data()
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

void TestRyTimeScale::weekScaleDates()
{
    QFETCH(QDate, date);
    QFETCH(int, x);
    const RyTimeScale scale = makeScale(24, QDate(2017, 1, 4), QDate(2017, 12, 31));
    QCOMPARE(scale.dateToX(date), x);
}

void TestRyTimeScale::monthStartingMidMonth()
{
    const RyTimeScale scale
        = makeScale(Ry::Quarter | Ry::Month, QDate(2017, 1, 15), QDate(2017, 12, 31));
    QCOMPARE(scale.xToDate(0), QDate(2017, 1, 15));
    QCOMPARE(scale.width(QDate(2017, 1, 15), QDate(2017, 2, 1), Ry::Month), 32);
    QCOMPARE(scale.dateToX(QDate(2017, 2, 1)), 32);
    QCOMPARE(scale.dateToX(QDate(2017, 3, 1)), 64);
    // 20 January: end of its month (32) minus 12 days of 32/30 pixels.
    QCOMPARE(scale.dateToX(QDate(2017, 1, 20)), 19);
    // Quarter cells count the months stepped: Jan 15 .. Apr 1 is three months.
    QCOMPARE(scale.width(QDate(2017, 1, 15), QDate(2017, 4, 1), Ry::Quarter), 96);
    QCOMPARE(scale.tickDates().first(), QDate(2017, 4, 1));
}

void TestRyTimeScale::dayFraction_data()
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

void TestRyTimeScale::dayFraction()
{
    QFETCH(int, flags);
    QFETCH(int, unit);
    QFETCH(float, fraction);
    RyTimeScale scale;
    scale.setTimelineFlags(quint8(flags));
    QCOMPARE(scale.dayFraction(unit), fraction);
}

void TestRyTimeScale::xToDateInvertsDateToX_data()
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
    QTest::newRow("hours") << int(Ry::Day | Ry::Hour) << Monday
                           << QList<QDate> { Monday.addDays(1), Monday.addDays(9) };
}

void TestRyTimeScale::xToDateInvertsDateToX()
{
    QFETCH(int, flags);
    QFETCH(QDate, start);
    QFETCH(QList<QDate>, unitStarts);
    const RyTimeScale scale = makeScale(flags, start, QDate(2022, 12, 31));
    for (const QDate &date : unitStarts)
        QCOMPARE(scale.xToDate(scale.dateToX(date)), date);
}

void TestRyTimeScale::xToDateSteps_data()
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
    // An hour is 32 pixels: any x inside a day is that day.
    QTest::newRow("hours: inside the first day") << int(Ry::Day | Ry::Hour) << 767 << Monday;
    QTest::newRow("hours: the next day") << int(Ry::Day | Ry::Hour) << 768 << Monday.addDays(1);
}

void TestRyTimeScale::xToDateSteps()
{
    QFETCH(int, flags);
    QFETCH(int, x);
    QFETCH(QDate, date);
    const QDate start = flags == 24 ? QDate(2017, 1, 4) : Monday;
    const RyTimeScale scale = makeScale(flags, start, QDate(2017, 12, 31));
    QCOMPARE(scale.xToDate(x), date);
}

void TestRyTimeScale::next_data()
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

void TestRyTimeScale::next()
{
    QFETCH(int, unit);
    QFETCH(int, lowest);
    QFETCH(QDate, date);
    QFETCH(QDate, next);
    RyTimeScale scale;
    QCOMPARE(scale.next(date, unit, lowest), next);
}

void TestRyTimeScale::labels_data()
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

void TestRyTimeScale::labels()
{
    QFETCH(int, unit);
    QFETCH(int, format);
    QFETCH(QString, label);
    QCOMPARE(RyTimeScale::label(Monday, unit, format), label);
    // Fixed English names whatever the locale.
    QCOMPARE(RyTimeScale::label(QDate(2017, 11, 5), Ry::Month, 3), QStringLiteral("November"));
    QCOMPARE(RyTimeScale::label(QDate(2017, 11, 5), Ry::Quarter, 1),
             QStringLiteral("Fourth Quarter"));
    QCOMPARE(RyTimeScale::label(QDate(2017, 1, 5), Ry::Day, 4), QStringLiteral("T"));
}

void TestRyTimeScale::dateTimeToX_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QDateTime>("dateTime");
    QTest::addColumn<int>("x");
    // UTC wall-clock values, as the reader gives them; 32 pixels a day.
    QTest::newRow("midnight") << 20 << QDateTime(Monday.addDays(1), QTime(0, 0), Qt::UTC) << 32;
    QTest::newRow("noon") << 20 << QDateTime(Monday.addDays(1), QTime(12, 0), Qt::UTC) << 48;
    QTest::newRow("18:00") << 20 << QDateTime(Monday.addDays(2), QTime(18, 0), Qt::UTC) << 88;
    // Week lowest: a day is 32/7 pixels; Tuesday 10 Jan lies 36 pixels in, noon adds half a day.
    QTest::newRow("week scale") << 24 << QDateTime(QDate(2017, 1, 10), QTime(12, 0), Qt::UTC) << 38;
    // Hour lowest: 32 pixels an hour, 768 a day.
    QTest::newRow("hour scale") << int(Ry::Day | Ry::Hour)
                                << QDateTime(Monday.addDays(1), QTime(9, 30), Qt::UTC) << 1072;
}

void TestRyTimeScale::dateTimeToX()
{
    QFETCH(int, flags);
    QFETCH(QDateTime, dateTime);
    QFETCH(int, x);
    QCOMPARE(makeScale(flags, Monday, QDate(2017, 6, 30)).dateTimeToX(dateTime), x);
}

// The boundary cache belongs to one unit width: a zoom must not read positions of the last one.
void TestRyTimeScale::unitWidthChangeRefreshesPositions()
{
    RyTimeScale scale = makeScale(24, QDate(2017, 1, 4), QDate(2017, 12, 31));
    QCOMPARE(scale.dateToX(QDate(2017, 1, 16)), 64);
    scale.setUnitWidth(40);
    QCOMPARE(scale.dateToX(QDate(2017, 1, 16)), 80);
    scale.setRange(QDate(2017, 1, 9), QDate(2017, 12, 31));
    QCOMPARE(scale.dateToX(QDate(2017, 1, 16)), 40);
}

// The bar styles dialog lists the samples of the same formats the header labels with: each
// format writes a label, and the tiers come coarsest first as the dialog shows them.
void TestRyTimeScale::everyFormatHasASampleAndALabel()
{
    const QVector<RyTimeScale::TierFormats> &tiers = RyTimeScale::labelFormats();
    QList<int> units;
    for (const RyTimeScale::TierFormats &tier : tiers) {
        units.append(tier.unit);
        QVERIFY(!tier.formats.isEmpty());
        for (int i = 0; i < tier.formats.size(); ++i) {
            QVERIFY(!QString::fromLatin1(tier.formats.at(i).sample).isEmpty());
            QCOMPARE(RyTimeScale::label(Monday, tier.unit, i), tier.formats.at(i).label(Monday));
            QVERIFY(!RyTimeScale::label(Monday, tier.unit, i).isEmpty());
        }
    }
    QCOMPARE(units, (QList<int> { Ry::Year, Ry::Quarter, Ry::Month, Ry::Week, Ry::Day, Ry::Hour }));
}

QTEST_MAIN(TestRyTimeScale)
#include "tst_rytimescale.moc"
