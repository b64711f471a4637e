// Value indexes: plain keys, date periods, key hierarchies and combined (structured) keys.
#include "tables/rydateindex.h"
#include "tables/ryindex.h"
#include "tables/rystructuredkeylistindex.h"

#include <QStandardItemModel>
#include <QtTest>

namespace {

// A one-column table of the given cells (display role).
std::unique_ptr<QStandardItemModel> column(const QVariantList &cells)
{
    auto model = std::make_unique<QStandardItemModel>(cells.size(), 1);
    for (int row = 0; row < cells.size(); ++row) {
        if (cells[row].isValid())
            model->setData(model->index(row, 0), cells[row]);
    }
    return model;
}

QDateTime on(int year, int month, int day)
{
    return QDateTime(QDate(year, month, day), QTime(8, 0), Qt::UTC);
}

} // namespace

class TestRyIndex : public QObject
{
    Q_OBJECT

private slots:
    void distinctKeysInOrder();
    void invalidCellsAreNotIndexed();
    void textsDifferingInCaseStayApart();
    void mixedKindsKeepOneOrder();
    void datePeriods_data();
    void datePeriods();
    void textDatesAreParsed();
    void periodDisplayTexts();
    void buildLinksParentsSeenBefore();
    void structuredKeysCombineSharedRows();
    void fillItemModelWithLeafRows();
    void monthsInCalendarOrder();
};

void TestRyIndex::distinctKeysInOrder()
{
    auto model = column({ "b", "a", "b" });
    RyIndex index(model.get(), 0);
    index.index();
    QCOMPARE(index.keys(), (QList<QVariant> { "a", "b" }));
    QCOMPARE(index.rows("a"), (QSet<int> { 1 }));
    QCOMPARE(index.rows("b"), (QSet<int> { 0, 2 }));
    QCOMPARE(index.displayValue("b"), QVariant("b"));
    QVERIFY(index.rows("c").isEmpty());

    auto numbers = column({ 10, 9, 100 });
    RyIndex numeric(numbers.get(), 0);
    numeric.index();
    QCOMPARE(numeric.keys(), (QList<QVariant> { 9, 10, 100 }));
}

void TestRyIndex::invalidCellsAreNotIndexed()
{
    auto model = column({ QVariant(), "x", QVariant() });
    RyIndex index(model.get(), 0);
    index.index();
    QCOMPARE(index.keys(), (QList<QVariant> { "x" }));
    RyIndex none(nullptr, 0);
    none.index();
    QVERIFY(none.isEmpty());
}

void TestRyIndex::textsDifferingInCaseStayApart()
{
    // Case-blind order, but "Dig" and "dig" are two values with rows of their own.
    auto model = column({ "dig", "Apple", "Dig", "banana", "dig" });
    RyIndex index(model.get(), 0);
    index.index();
    QCOMPARE(index.keys(), (QList<QVariant> { "Apple", "banana", "Dig", "dig" }));
    QCOMPARE(index.rows("dig"), (QSet<int> { 0, 4 }));
    QCOMPARE(index.rows("Dig"), (QSet<int> { 2 }));
}

void TestRyIndex::mixedKindsKeepOneOrder()
{
    // A column mixing numbers, texts and dates: every key is found again and each
    // appears once, which a sorted container only guarantees under a consistent order.
    auto model = column({ "10", 9, on(2021, 1, 1), "9", 10.5, "x", 9 });
    RyIndex index(model.get(), 0);
    index.index();
    const QList<QVariant> keys = index.keys();
    QCOMPARE(keys.size(), 6);
    QCOMPARE(keys.first(), QVariant(9));
    QCOMPARE(keys.last(), QVariant("x"));
    QCOMPARE(index.rows(9), (QSet<int> { 1, 6 }));
    QCOMPARE(index.rows("9"), (QSet<int> { 3 }));
}

void TestRyIndex::datePeriods_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QDateTime>("date");
    QTest::addColumn<QVariant>("key");
    QTest::newRow("year") << "Year" << on(2021, 3, 15) << QVariant(2021u);
    QTest::newRow("15 March, quarter 1") << "Quarter" << on(2021, 3, 15) << QVariant(1u);
    QTest::newRow("1 April, quarter 2") << "Quarter" << on(2021, 4, 1) << QVariant(2u);
    QTest::newRow("January, quarter 1") << "Quarter" << on(2021, 1, 1) << QVariant(1u);
    QTest::newRow("December, quarter 4") << "Quarter" << on(2021, 12, 31) << QVariant(4u);
    QTest::newRow("ISO week") << "Week" << on(2021, 1, 3) << QVariant(53u);
    QTest::newRow("March") << "Month" << on(2021, 3, 15) << QVariant(3u);
    QTest::newRow("November") << "Month" << on(2021, 11, 15) << QVariant(11u);
    QTest::newRow("day") << "Day" << on(2021, 11, 15) << QVariant(QDate(2021, 11, 15));
}

void TestRyIndex::datePeriods()
{
    QFETCH(QString, level);
    QFETCH(QDateTime, date);
    QFETCH(QVariant, key);
    auto model = column({ date });
    RyDateIndex index(model.get(), 0, level);
    index.index();
    QCOMPARE(index.keys(), (QList<QVariant> { key }));
    QCOMPARE(index.rows(key), (QSet<int> { 0 }));
}

void TestRyIndex::textDatesAreParsed()
{
    auto model = column({ "05.03.2021", "not a date", on(2021, 7, 1) });
    RyDateIndex index(model.get(), 0, "Month", "dd.MM.yyyy");
    index.index();
    QCOMPARE(index.keys(), (QList<QVariant> { 3u, 7u }));
    QCOMPARE(index.rows(3u), (QSet<int> { 0 }));
}

void TestRyIndex::periodDisplayTexts()
{
    auto model = column({ on(2021, 3, 5) });
    RyDateIndex quarter(model.get(), 0, "Quarter");
    quarter.index();
    QCOMPARE(quarter.displayValue(1u).toString(), QString("Q1"));
    RyDateIndex week(model.get(), 0, "Week");
    week.index();
    QCOMPARE(week.displayValue(9u).toString(), QString("Week 9"));
    RyDateIndex month(model.get(), 0, "Month");
    month.index();
    QCOMPARE(month.displayValue(3u).toString(), QString("March"));
    RyDateIndex day(model.get(), 0, "Day");
    day.index();
    QCOMPARE(day.displayValue(QDate(2021, 3, 5)).toString(), QString("05 March"));
    RyDateIndex year(model.get(), 0, "Year");
    year.index();
    QCOMPARE(year.displayValue(2021u), QVariant(2021u));
    QVERIFY(!year.display(QVariant()).isValid());
}

void TestRyIndex::buildLinksParentsSeenBefore()
{
    // wbs_id, parent_wbs_id, name; element 4 comes before its parent 5.
    QStandardItemModel wbs(5, 3);
    const QVariantList rows[] = { { 1, QVariant(), "Root" },
                                  { 2, 1, "Design" },
                                  { 4, 5, "Late child" },
                                  { 5, 1, "Build" },
                                  { 6, 6, "Own parent" } };
    for (int row = 0; row < 5; ++row) {
        for (int c = 0; c < 3; ++c) {
            if (rows[row][c].isValid())
                wbs.setData(wbs.index(row, c), rows[row][c]);
        }
    }
    RyIndex index(&wbs, 0);
    QCOMPARE(index.build(&wbs, 0, 1, 2), 5);
    QCOMPARE(index.keys(), (QList<QVariant> { 1, 2, 4, 5 }));
    QCOMPARE(index.displayValue(2), QVariant("Design"));
    QCOMPARE(index.parentKey(2), QVariant(1));
    QCOMPARE(index.children(1), (QList<QVariant> { 2, 5 }));
    QVERIFY(!index.parentKey(4).isValid());
}

void TestRyIndex::structuredKeysCombineSharedRows()
{
    auto model = column({ on(2021, 3, 5), on(2021, 3, 20), on(2022, 3, 1), on(2021, 11, 2) });
    RyDateIndex years(model.get(), 0, "Year");
    years.index();
    RyDateIndex months(model.get(), 0, "Month");
    months.index();
    RyStructuredKeyListIndex combined(years, months);
    QCOMPARE(combined.keys(), (QList<QVariant> { "2021x03", "2021x11", "2022x03" }));
    QCOMPARE(combined.rows("2021x03"), (QSet<int> { 0, 1 }));
    QCOMPARE(combined.parentKey("2022x03"), QVariant(2022u));
    QCOMPARE(combined.displayValue("2021x11"), QVariant("November"));
}

void TestRyIndex::fillItemModelWithLeafRows()
{
    auto model = column({ on(2021, 3, 20), on(2021, 3, 5), on(2022, 3, 1) });
    RyDateIndex years(model.get(), 0, "Year");
    years.index();
    RyDateIndex months(model.get(), 0, "Month");
    months.index();
    RyStructuredKeyListIndex combined(years, months);
    QStandardItemModel items;
    combined.fillItemModel(&items, true);
    QCOMPARE(items.rowCount(), 2);
    QStandardItem *year = items.item(0);
    QCOMPARE(year->data(Qt::DisplayRole), QVariant(2021u));
    QCOMPARE(year->data(Qt::UserRole), QVariant(2021u));
    QCOMPARE(year->checkState(), Qt::Checked);
    QVERIFY(year->isCheckable());
    QCOMPARE(year->rowCount(), 1);
    QStandardItem *march = year->child(0);
    QCOMPARE(march->text(), QString("March"));
    QCOMPARE(march->data(Qt::UserRole), QVariant("2021x03"));
    QCOMPARE(march->rowCount(), 2);
    // Leaves sorted ascending.
    QCOMPARE(march->child(0)->data(Qt::DisplayRole), QVariant(on(2021, 3, 5)));
    QCOMPARE(march->child(1)->data(Qt::DisplayRole), QVariant(on(2021, 3, 20)));
    QCOMPARE(march->child(1)->checkState(), Qt::Checked);

    QStandardItemModel flat;
    months.fillItemModel(&flat, false);
    QCOMPARE(flat.rowCount(), 1);
    QCOMPARE(flat.item(0)->rowCount(), 0);
}

void TestRyIndex::monthsInCalendarOrder()
{
    auto model = column(
        { on(2021, 10, 1), on(2021, 12, 1), on(2021, 1, 1), on(2021, 11, 1), on(2021, 9, 1) });
    RyDateIndex years(model.get(), 0, "Year");
    years.index();
    RyDateIndex months(model.get(), 0, "Month");
    months.index();
    QStandardItemModel items;
    RyStructuredKeyListIndex(years, months).fillItemModel(&items, false);
    QStringList names;
    for (int row = 0; row < items.item(0)->rowCount(); ++row)
        names << items.item(0)->child(row)->text();
    QCOMPARE(names, (QStringList { "January", "September", "October", "November", "December" }));
}

QTEST_MAIN(TestRyIndex)
#include "tst_ryindex.moc"
