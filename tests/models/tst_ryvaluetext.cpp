#include "models/ryvaluetext.h"

#include "models/ryconstants.h"

#include <QStandardItemModel>
#include <QTest>

class TestRyValueText : public QObject
{
    Q_OBJECT

private slots:
    void dateFromText_data();
    void dateFromText();
    void dateOf_data();
    void dateOf();
    void decimalFromText_data();
    void decimalFromText();
    void displayText_data();
    void displayText();
    void durationText_data();
    void durationText();
    void monthAndQuarter_data();
    void monthAndQuarter();
    void periodNames_data();
    void periodNames();
    void dayMonthText_data();
    void dayMonthText();
};

void TestRyValueText::dateFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("iso date") << "2024-03-05" << QDate(2024, 3, 5);
    QTest::newRow("iso date and time") << "2024-03-05T08:00:00" << QDate(2024, 3, 5);
    QTest::newRow("iso with zone") << "2024-03-05T23:30:00Z" << QDate(2024, 3, 5);
    QTest::newRow("iso with milliseconds") << "2021-04-01T08:00:00.000Z" << QDate(2021, 4, 1);
    QTest::newRow("shown form") << "05-03-2024" << QDate(2024, 3, 5);
    QTest::newRow("dotted form") << "05.03.2024" << QDate(2024, 3, 5);
    QTest::newRow("surrounding spaces") << "  2024-03-05 " << QDate(2024, 3, 5);
    QTest::newRow("no such day") << "2023-02-29" << QDate();
    QTest::newRow("month first") << "03/05/2024" << QDate();
    QTest::newRow("year only") << "2024" << QDate();
    QTest::newRow("word") << "soon" << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void TestRyValueText::dateFromText()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(RyValueText::dateFromText(text), date);
}

void TestRyValueText::dateOf_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QDate>("date");
    QTest::newRow("date") << QVariant(QDate(2024, 1, 2)) << QDate(2024, 1, 2);
    // The reader's dates are UTC wall-clock values: the day is the one written.
    QTest::newRow("utc date time")
        << QVariant(QDateTime(QDate(2024, 1, 2), QTime(23, 0), Qt::UTC)) << QDate(2024, 1, 2);
    QTest::newRow("text") << QVariant("02.01.2024") << QDate(2024, 1, 2);
    QTest::newRow("number") << QVariant(20240102) << QDate();
    QTest::newRow("null") << QVariant() << QDate();
}

void TestRyValueText::dateOf()
{
    QFETCH(QVariant, value);
    QFETCH(QDate, date);
    QCOMPARE(RyValueText::dateOf(value), date);
}

void TestRyValueText::decimalFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("point") << "2.5" << true << 2.5;
    QTest::newRow("comma") << "2,5" << true << 2.5;
    QTest::newRow("negative comma") << "-0,25" << true << -0.25;
    QTest::newRow("whole") << "12" << true << 12.0;
    QTest::newRow("spaces") << " 3,5 " << true << 3.5;
    QTest::newRow("both separators") << "1.234,5" << false << 0.0;
    QTest::newRow("text") << "abc" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
}

void TestRyValueText::decimalFromText()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    bool parsed = !ok;
    QCOMPARE(RyValueText::decimalFromText(text, &parsed), value);
    QCOMPARE(parsed, ok);
}

void TestRyValueText::displayText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("format");
    const QString none;
    const QString percent = QStringLiteral("percent");
    QTest::newRow("datetime") << QVariant(QDateTime(QDate(2024, 1, 5), QTime(17, 0), Qt::UTC))
                              << "05-01-2024" << none;
    QTest::newRow("date") << QVariant(QDate(2023, 12, 31)) << "31-12-2023" << none;
    QTest::newRow("iso text") << QVariant("2024-02-03T08:00:00") << "03-02-2024" << none;
    QTest::newRow("relation type") << QVariant("PR_FS") << "FS" << none;
    QTest::newRow("task type") << QVariant("TT_Task") << "Task" << none;
    QTest::newRow("constraint") << QVariant("CS_MANDSTART") << "Mandatory Start" << none;
    QTest::newRow("start no earlier") << QVariant("CS_MSOA") << "Start No Earlier Than" << none;
    QTest::newRow("finish on") << QVariant("CS_MEO") << "Must Finish On" << none;
    QTest::newRow("unknown constraint") << QVariant("CS_XYZ") << "XYZ" << none;
    QTest::newRow("status") << QVariant("TK_Complete") << "Complete" << none;
    QTest::newRow("resource type") << QVariant("RT_Labor") << "Labor" << none;
    QTest::newRow("user text with underscore")
        << QVariant("A1_Pour slab") << "A1_Pour slab" << none;
    QTest::newRow("integer") << QVariant(42) << "42" << none;
    QTest::newRow("double") << QVariant(1.5) << "1.5" << none;
    QTest::newRow("null") << QVariant() << "" << none;
    QTest::newRow("long decimal") << QVariant(1.0 / 3) << "0.33" << none;
    QTest::newRow("rounds to two decimals") << QVariant(2.0 / 3) << "0.67" << none;
    QTest::newRow("trailing zeros dropped") << QVariant(2.50) << "2.5" << none;
    QTest::newRow("whole double") << QVariant(8.0) << "8" << none;
    QTest::newRow("tiny negative") << QVariant(-0.001) << "0" << none;
    QTest::newRow("large double") << QVariant(1234567.891) << "1234567.89" << none;
    QTest::newRow("float") << QVariant(0.333f) << "0.33" << none;
    QTest::newRow("percent") << QVariant(45.0) << "45%" << percent;
    QTest::newRow("percent fraction") << QVariant(37.5) << "37.5%" << percent;
    QTest::newRow("percent integer") << QVariant(100) << "100%" << percent;
    QTest::newRow("no percent value") << QVariant() << "" << percent;
    QTest::newRow("percent of a text") << QVariant("n/a") << "n/a" << percent;
    // Durations in the default format: days of 480 minutes.
    const QString duration = QStringLiteral("duration");
    QTest::newRow("duration in days") << QVariant(40.0) << "5d" << duration;
    QTest::newRow("half day") << QVariant(4.0) << "0.5d" << duration;
    QTest::newRow("no duration") << QVariant() << "" << duration;
}

void TestRyValueText::durationText_data()
{
    using RyValueText::DurationUnit;
    QTest::addColumn<double>("hours");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("minutesPerDay");
    QTest::addColumn<QString>("text");
    const auto add
        = [](const char *name, double hours, DurationUnit unit, int perDay, const char *text) {
              QTest::newRow(name) << hours << int(unit) << perDay << QString::fromLatin1(text);
          };
    add("five days", 40, DurationUnit::Days, 480, "5d");
    add("fraction of a day", 20, DurationUnit::Days, 480, "2.5d");
    add("zero", 0, DurationUnit::Days, 480, "0d");
    add("negative float", -24, DurationUnit::Days, 480, "-3d");
    add("three decimals rounded", 1, DurationUnit::Days, 480, "0.13d");
    add("project's shorter day", 30, DurationUnit::Days, 450, "4d");
    add("hours", 40, DurationUnit::Hours, 480, "40h");
    add("hours keep two decimals", 111.111, DurationUnit::Hours, 480, "111.11h");
    add("weeks of 2400 minutes", 60, DurationUnit::Weeks, 480, "1.5w");
}

void TestRyValueText::durationText()
{
    QFETCH(double, hours);
    QFETCH(int, unit);
    QFETCH(int, minutesPerDay);
    QFETCH(QString, text);
    RyValueText::DurationFormat format;
    format.unit = RyValueText::DurationUnit(unit);
    format.minutesPerDay = minutesPerDay;
    QCOMPARE(RyValueText::durationText(hours, format), text);
    const QString name = RyValueText::durationUnitName(format.unit);
    QCOMPARE(RyValueText::durationUnitFromName(name, RyValueText::DurationUnit::Days), format.unit);
}

void TestRyValueText::displayText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QFETCH(QString, format);
    const QVariantMap description { { "datatype", "double" }, { "format", format } };
    QCOMPARE(RyValueText::displayText(value, description), text);
    // The same through a model cell, the description coming from the model's header.
    QStandardItemModel model(1, 1);
    model.setHeaderData(0, Qt::Horizontal, description, Ry::ColumnDescriptionRole);
    model.setData(model.index(0, 0), value);
    QCOMPARE(RyValueText::displayText(model.index(0, 0)), text);
}

void TestRyValueText::monthAndQuarter_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shortName");
    QTest::addColumn<int>("quarter");
    QTest::newRow("January") << 1 << "January"
                             << "Jan" << 1;
    QTest::newRow("March") << 3 << "March"
                           << "Mar" << 1;
    QTest::newRow("April") << 4 << "April"
                           << "Apr" << 2;
    QTest::newRow("September") << 9 << "September"
                               << "Sep" << 3;
    QTest::newRow("October") << 10 << "October"
                             << "Oct" << 4;
    QTest::newRow("December") << 12 << "December"
                              << "Dec" << 4;
    QTest::newRow("none") << 0 << ""
                          << "" << 0;
    QTest::newRow("past December") << 13 << ""
                                   << "" << 0;
}

void TestRyValueText::monthAndQuarter()
{
    QFETCH(int, month);
    QFETCH(QString, name);
    QFETCH(QString, shortName);
    QFETCH(int, quarter);
    QCOMPARE(RyValueText::monthName(month), name);
    QCOMPARE(RyValueText::shortMonthName(month), shortName);
    QCOMPARE(RyValueText::quarterOf(month), quarter);
    if (quarter > 0)
        QCOMPARE(RyValueText::quarterStart(QDate(2024, month, 17)),
                 QDate(2024, 3 * quarter - 2, 1));
}

void TestRyValueText::periodNames_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("quarter");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("week");
    QTest::addColumn<QString>("day");
    QTest::newRow("spring") << QDate(2024, 3, 5) << "2024"
                            << "Q1 2024"
                            << "March 2024"
                            << "Week 10 2024"
                            << "05 March";
    QTest::newRow("autumn") << QDate(2024, 11, 30) << "2024"
                            << "Q4 2024"
                            << "November 2024"
                            << "Week 48 2024"
                            << "30 November";
    // ISO weeks: the last days of December can be week 1 of the next year, the first days of
    // January the last week of the year before.
    QTest::newRow("week of next year") << QDate(2024, 12, 30) << "2024"
                                       << "Q4 2024"
                                       << "December 2024"
                                       << "Week 1 2025"
                                       << "30 December";
    QTest::newRow("week of year before") << QDate(2021, 1, 2) << "2021"
                                         << "Q1 2021"
                                         << "January 2021"
                                         << "Week 53 2020"
                                         << "02 January";
    QTest::newRow("no date") << QDate() << ""
                             << ""
                             << ""
                             << ""
                             << "";
}

void TestRyValueText::periodNames()
{
    QFETCH(QDate, date);
    QFETCH(QString, year);
    QFETCH(QString, quarter);
    QFETCH(QString, month);
    QFETCH(QString, week);
    QFETCH(QString, day);
    QCOMPARE(RyValueText::yearName(date), year);
    QCOMPARE(RyValueText::quarterYearName(date), quarter);
    QCOMPARE(RyValueText::monthYearName(date), month);
    QCOMPARE(RyValueText::isoWeekYearName(date), week);
    QCOMPARE(RyValueText::dayName(date), day);
    QCOMPARE(RyValueText::dayMonthText(date), day);
    // The short forms the names are made of.
    if (date.isValid()) {
        QCOMPARE(RyValueText::quarterText(RyValueText::quarterOf(date.month())), quarter.left(2));
        QCOMPARE(RyValueText::weekText(date.weekNumber()), week.section(' ', 0, 1));
    }
}

void TestRyValueText::dayMonthText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << "05 March";
    QTest::newRow("utc date time")
        << QVariant(QDateTime(QDate(2024, 11, 30), QTime(8, 0), Qt::UTC)) << "30 November";
    QTest::newRow("null") << QVariant() << "";
}

void TestRyValueText::dayMonthText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QCOMPARE(RyValueText::dayMonthText(value), text);
}

QTEST_MAIN(TestRyValueText)
#include "tst_ryvaluetext.moc"
