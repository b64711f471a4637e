#include "models/ryworkingtime.h"

#include <QtTest>

namespace {

// A six-day week with a holiday and a working Saturday, as a project calendar may have them.
RyWorkingTime sixDayWeek()
{
    RyWorkingTime time;
    time.setFromCalendar(true);
    time.setWeekDay(5, { true, { { 8 * 60, 12 * 60 } } }); // Saturday mornings
    time.addException(QDate(2024, 12, 25), QDate(2024, 12, 26), { false, {} });
    time.addException(QDate(2024, 12, 29), QDate(2024, 12, 29), { true, { { 9 * 60, 13 * 60 } } });
    return time;
}

QString rangesText(const QVector<RyWorkingTime::Range> &ranges)
{
    QStringList out;
    for (const auto &r : ranges)
        out.append(QStringLiteral("%1-%2").arg(r.first).arg(r.second));
    return out.join(QLatin1Char(' '));
}

} // namespace

class TestRyWorkingTime : public QObject
{
    Q_OBJECT
private slots:
    void shadesDay_data();
    void shadesDay();
    void exceptionDaysAreBounded();
    void workingMinutes_data();
    void workingMinutes();
};

void TestRyWorkingTime::shadesDay_data()
{
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("working");
    QTest::addColumn<QString>("nonWorking");
    QTest::newRow("fallback Monday") << true << QDate(2024, 12, 23) << true
                                     << "0-480 720-780 1020-1440";
    QTest::newRow("fallback Saturday") << true << QDate(2024, 12, 28) << false << "0-1440";
    QTest::newRow("fallback holiday is unknown") << true << QDate(2024, 12, 25) << true
                                                 << "0-480 720-780 1020-1440";
    QTest::newRow("holiday") << false << QDate(2024, 12, 25) << false << "0-1440";
    QTest::newRow("second holiday day") << false << QDate(2024, 12, 26) << false << "0-1440";
    QTest::newRow("working Saturday of the week") << false << QDate(2024, 12, 28) << true
                                                  << "0-480 720-1440";
    QTest::newRow("working Sunday exception") << false << QDate(2024, 12, 29) << true
                                              << "0-540 780-1440";
    QTest::newRow("Sunday off") << false << QDate(2025, 1, 5) << false << "0-1440";
}

void TestRyWorkingTime::shadesDay()
{
    QFETCH(bool, fallback);
    QFETCH(QDate, date);
    QFETCH(bool, working);
    QFETCH(QString, nonWorking);
    const RyWorkingTime time = fallback ? RyWorkingTime() : sixDayWeek();
    QCOMPARE(time.isFromCalendar(), !fallback);
    QCOMPARE(time.isWorkingDay(date), working);
    QCOMPARE(rangesText(time.nonWorkingRanges(date)), nonWorking);
}

void TestRyWorkingTime::exceptionDaysAreBounded()
{
    RyWorkingTime time;
    time.addException(QDate(2000, 1, 1), QDate(9999, 12, 31), { false, {} });
    // The last weekday within the bound is still a holiday...
    QDate last = QDate(2000, 1, 1).addDays(RyWorkingTime::MaxExceptionDays - 1);
    while (last.dayOfWeek() > 5)
        last = last.addDays(-1);
    QVERIFY(!time.isWorkingDay(last));
    // ...past it the week applies again: a Monday works.
    QDate after = last.addDays(1);
    while (after.dayOfWeek() != 1)
        after = after.addDays(1);
    QVERIFY(time.isWorkingDay(after));
}

void TestRyWorkingTime::workingMinutes_data()
{
    QTest::addColumn<QDateTime>("from");
    QTest::addColumn<QDateTime>("to");
    QTest::addColumn<qint64>("minutes");
    const auto at = [](int day, int hour, int minute = 0) {
        return QDateTime(QDate(2024, 12, day), QTime(hour, minute), Qt::UTC);
    };
    QTest::newRow("within a morning") << at(23, 9) << at(23, 11, 30) << qint64(150);
    QTest::newRow("across lunch") << at(23, 11) << at(23, 14) << qint64(120);
    QTest::newRow("a whole day") << at(23, 0) << at(24, 0) << qint64(480);
    QTest::newRow("over the holidays") << at(24, 8) << at(27, 17) << qint64(480 + 480);
    QTest::newRow("Saturday morning, Sunday exception")
        << at(28, 0) << at(30, 0) << qint64(240 + 240);
    QTest::newRow("backwards is none") << at(24, 17) << at(23, 8) << qint64(0);
}

void TestRyWorkingTime::workingMinutes()
{
    QFETCH(QDateTime, from);
    QFETCH(QDateTime, to);
    QFETCH(qint64, minutes);
    QCOMPARE(sixDayWeek().workingMinutes(from, to), minutes);
}

QTEST_GUILESS_MAIN(TestRyWorkingTime)
#include "tst_ryworkingtime.moc"
