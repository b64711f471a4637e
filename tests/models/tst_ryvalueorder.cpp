// The one order of cell values shared by sorting, value indexes, value lists and grouping.
#include "models/ryvalueorder.h"

#include <QDateTime>
#include <QtTest>

#include <algorithm>
#include <cmath>

class TestRyValueOrder : public QObject
{
    Q_OBJECT

private slots:
    void lessThan_data();
    void lessThan();
    void mixedColumnSortsConsistently();
};

void TestRyValueOrder::lessThan_data()
{
    QTest::addColumn<QVariant>("left");
    QTest::addColumn<QVariant>("right");
    QTest::addColumn<bool>("less");
    QTest::addColumn<bool>("greater");
    const QDateTime morning(QDate(2021, 3, 1), QTime(8, 0), Qt::UTC);
    QTest::newRow("no value first") << QVariant() << QVariant(-5) << true << false;
    QTest::newRow("null text is no value") << QVariant(QString()) << QVariant("") << true << false;
    QTest::newRow("two nulls equal") << QVariant() << QVariant(QString()) << false << false;
    QTest::newRow("numbers by value") << QVariant(9) << QVariant(10) << true << false;
    QTest::newRow("int against double") << QVariant(2) << QVariant(1.5) << false << true;
    QTest::newRow("boolean is a number") << QVariant(false) << QVariant(true) << true << false;
    QTest::newRow("boolean against int") << QVariant(true) << QVariant(1) << false << false;
    QTest::newRow("large unsigned exact")
        << QVariant(Q_UINT64_C(9007199254740993)) << QVariant(Q_UINT64_C(9007199254740992)) << false
        << true;
    QTest::newRow("negative against large unsigned")
        << QVariant(qint64(-1)) << QVariant(Q_UINT64_C(18446744073709551615)) << true << false;
    QTest::newRow("NaN after numbers")
        << QVariant(std::nan("")) << QVariant(1e300) << false << true;
    QTest::newRow("numbers before dates") << QVariant(1e9) << QVariant(morning) << true << false;
    QTest::newRow("dates by time")
        << QVariant(morning) << QVariant(morning.addSecs(60)) << true << false;
    QTest::newRow("date is midnight wall clock")
        << QVariant(QDate(2021, 3, 1)) << QVariant(morning) << true << false;
    QTest::newRow("dates before texts") << QVariant(morning) << QVariant("A") << true << false;
    QTest::newRow("texts case-blind") << QVariant("apple") << QVariant("Banana") << true << false;
    QTest::newRow("case breaks ties") << QVariant("Dig") << QVariant("dig") << true << false;
    QTest::newRow("digit texts stay texts") << QVariant("10") << QVariant("9") << true << false;
    QTest::newRow("number before its text") << QVariant(10) << QVariant("1") << true << false;
}

void TestRyValueOrder::lessThan()
{
    QFETCH(QVariant, left);
    QFETCH(QVariant, right);
    QFETCH(bool, less);
    QFETCH(bool, greater);
    QCOMPARE(RyValueOrder::lessThan(left, right), less);
    QCOMPARE(RyValueOrder::lessThan(right, left), greater);
    QVERIFY(!RyValueOrder::lessThan(left, left));
}

void TestRyValueOrder::mixedColumnSortsConsistently()
{
    // Sorting twice from different starting orders must give one result: an inconsistent
    // order would leave the outcome depending on where the values started.
    const QDateTime day(QDate(2021, 3, 1), QTime(8, 0), Qt::UTC);
    QVector<QVariant> values { "b", 3, QVariant(), day, "A", 2.5, true, "a", day.addDays(-1), 0 };
    QVector<QVariant> reversed(values.rbegin(), values.rend());
    std::sort(values.begin(), values.end(), RyValueOrder());
    std::sort(reversed.begin(), reversed.end(), RyValueOrder());
    QCOMPARE(values, reversed);
    const QVector<QVariant> expected { QVariant(),      0,   true, 2.5, 3,
                                       day.addDays(-1), day, "A",  "a", "b" };
    QCOMPARE(values, expected);
}

QTEST_APPLESS_MAIN(TestRyValueOrder)
#include "tst_ryvalueorder.moc"
