// Value indexes: plain keys, date periods, key hierarchies and combined (structured) keys.
#include "tables/rydateindex.h"
#include "tables/ryindex.h"
#include "tables/rystructuredkeylistindex.h"

#include <QStandardItemModel>
#include <QtTest>

#include <algorithm>

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

// "display(rows)[children]" for every top-level key and, recursively, its children.
QString tree(const RyIndex &index, const QList<QVariant> &keys)
{
    QStringList parts;
    for (const QVariant &key : keys) {
        QList<int> rows = index.rows(key).values();
        std::sort(rows.begin(), rows.end());
        QStringList rowTexts;
        for (int row : rows)
            rowTexts << QString::number(row);
        QString part = index.displayValue(key).toString() + "(" + rowTexts.join(" ") + ")";
        if (!index.children(key).isEmpty())
            part += "[" + tree(index, index.children(key)) + "]";
        parts << part;
    }
    return parts.join(",");
}

// wbs_id, parent_wbs_id, name; element 4 comes before its parent 5, 6 is its own parent.
void fillHierarchy(QStandardItemModel *table)
{
    const QVariantList rows[] = { { 1, QVariant(), "Root" },
                                  { 2, 1, "Design" },
                                  { 4, 5, "Late child" },
                                  { 5, 1, QVariant() },
                                  { 6, 6, "Own parent" } };
    table->setRowCount(5);
    table->setColumnCount(3);
    for (int row = 0; row < 5; ++row) {
        for (int c = 0; c < 3; ++c) {
            if (rows[row][c].isValid())
                table->setData(table->index(row, c), rows[row][c]);
        }
    }
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
    void periodsKeepTheirYear_data();
    void periodsKeepTheirYear();
    void textDatesAreParsed();
    void periodDisplayTexts();
    void buildLinksParentsWhereverListed();
    void rowsBelowHierarchy_data();
    void rowsBelowHierarchy();
    void structuredKeysCombineSharedRows();
    void treeLayoutKeepsParents();
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
    QTest::addColumn<QString>("display");
    // Periods are keyed by their first day (a week by its Monday), the year by its number.
    QTest::newRow("year") << "Year" << on(2021, 3, 15) << QVariant(2021u) << "2021";
    QTest::newRow("15 March, quarter 1")
        << "Quarter" << on(2021, 3, 15) << QVariant(QDate(2021, 1, 1)) << "Q1 2021";
    QTest::newRow("1 April, quarter 2")
        << "Quarter" << on(2021, 4, 1) << QVariant(QDate(2021, 4, 1)) << "Q2 2021";
    QTest::newRow("January, quarter 1")
        << "Quarter" << on(2021, 1, 1) << QVariant(QDate(2021, 1, 1)) << "Q1 2021";
    QTest::newRow("December, quarter 4")
        << "Quarter" << on(2021, 12, 31) << QVariant(QDate(2021, 10, 1)) << "Q4 2021";
    QTest::newRow("ISO week 53 of the year before")
        << "Week" << on(2021, 1, 3) << QVariant(QDate(2020, 12, 28)) << "Week 53 2020";
    QTest::newRow("ISO week 1 starting in December")
        << "Week" << on(2014, 12, 31) << QVariant(QDate(2014, 12, 29)) << "Week 1 2015";
    QTest::newRow("March") << "Month" << on(2021, 3, 15) << QVariant(QDate(2021, 3, 1))
                           << "March 2021";
    QTest::newRow("November") << "Month" << on(2021, 11, 15) << QVariant(QDate(2021, 11, 1))
                              << "November 2021";
    QTest::newRow("day") << "Day" << on(2021, 11, 15) << QVariant(QDate(2021, 11, 15))
                         << "15 November";
}

void TestRyIndex::datePeriods()
{
    QFETCH(QString, level);
    QFETCH(QDateTime, date);
    QFETCH(QVariant, key);
    QFETCH(QString, display);
    auto model = column({ date });
    RyDateIndex index(model.get(), 0, level);
    index.index();
    QCOMPARE(index.keys(), (QList<QVariant> { key }));
    QCOMPARE(index.rows(key), (QSet<int> { 0 }));
    QCOMPARE(index.displayValue(key).toString(), display);
}

void TestRyIndex::periodsKeepTheirYear_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QVariantList>("dates");
    QTest::addColumn<QString>("periods");
    QTest::newRow("December of two years")
        << "Month" << QVariantList { on(2015, 12, 10), on(2014, 12, 5), on(2015, 12, 31) }
        << "December 2014(1),December 2015(0 2)";
    QTest::newRow("fourth quarter of two years")
        << "Quarter" << QVariantList { on(2015, 10, 1), on(2014, 11, 30), on(2014, 12, 31) }
        << "Q4 2014(1 2),Q4 2015(0)";
    // 28 December 2014 is a Sunday of week 52; the Monday after opens week 1 of 2015.
    QTest::newRow("ISO week 1 of 2015 starts in December 2014")
        << "Week" << QVariantList { on(2015, 1, 4), on(2014, 12, 28), on(2014, 12, 29) }
        << "Week 52 2014(1),Week 1 2015(0 2)";
    QTest::newRow("ISO week 53 of 2015 ends in January 2016")
        << "Week" << QVariantList { on(2016, 1, 3), on(2016, 1, 4), on(2015, 12, 28) }
        << "Week 53 2015(0 2),Week 1 2016(1)";
}

void TestRyIndex::periodsKeepTheirYear()
{
    QFETCH(QString, level);
    QFETCH(QVariantList, dates);
    QFETCH(QString, periods);
    auto model = column(dates);
    RyDateIndex index(model.get(), 0, level);
    index.index();
    QCOMPARE(tree(index, index.keys()), periods);
}

void TestRyIndex::textDatesAreParsed()
{
    auto model = column({ "05.03.2021", "not a date", on(2021, 7, 1) });
    RyDateIndex index(model.get(), 0, "Month", "dd.MM.yyyy");
    index.index();
    QCOMPARE(index.keys(), (QList<QVariant> { QDate(2021, 3, 1), QDate(2021, 7, 1) }));
    QCOMPARE(index.rows(QDate(2021, 3, 1)), (QSet<int> { 0 }));
}

void TestRyIndex::periodDisplayTexts()
{
    auto model = column({ on(2021, 3, 5) });
    // Short names leave the year out: they are listed below their year.
    RyDateIndex quarter(model.get(), 0, "Quarter");
    quarter.index();
    QCOMPARE(quarter.shortDisplay(QDate(2021, 1, 1)).toString(), QString("Q1"));
    RyDateIndex week(model.get(), 0, "Week");
    week.index();
    QCOMPARE(week.shortDisplay(QDate(2021, 3, 1)).toString(), QString("Week 9"));
    RyDateIndex month(model.get(), 0, "Month");
    month.index();
    QCOMPARE(month.shortDisplay(QDate(2021, 3, 1)).toString(), QString("March"));
    RyDateIndex day(model.get(), 0, "Day");
    day.index();
    QCOMPARE(day.shortDisplay(QDate(2021, 3, 5)).toString(), QString("05 March"));
    RyDateIndex year(model.get(), 0, "Year");
    year.index();
    QCOMPARE(year.displayValue(2021u), QVariant(2021u));
    QCOMPARE(year.shortDisplay(2021u), QVariant(2021u));
    QVERIFY(!year.display(QVariant()).isValid());
    // Any other level keys and names by the cell itself.
    RyDateIndex cells(model.get(), 0, "No Rule");
    cells.index();
    QCOMPARE(cells.keys(), (QList<QVariant> { on(2021, 3, 5) }));
    QCOMPARE(cells.displayValue(on(2021, 3, 5)), QVariant(on(2021, 3, 5)));
}

void TestRyIndex::buildLinksParentsWhereverListed()
{
    QStandardItemModel wbs;
    fillHierarchy(&wbs);
    RyIndex index(&wbs, 0);
    QCOMPARE(index.build(&wbs, 0, 1, 2), 5);
    QCOMPARE(index.keys(), (QList<QVariant> { 1, 2, 4, 5 }));
    QCOMPARE(index.displayValue(2), QVariant("Design"));
    QCOMPARE(index.displayValue(5), QVariant(5)); // no name: the key
    QCOMPARE(index.parentKey(2), QVariant(1));
    QCOMPARE(index.children(1), (QList<QVariant> { 2, 5 }));
    QCOMPARE(index.parentKey(4), QVariant(5));
    QCOMPARE(index.path(4), (QList<QVariant> { 1, 5, 4 }));
    QCOMPARE(index.topLevelKeys(), (QList<QVariant> { 1 }));

    // Two elements each naming the other as parent: walks end, rows still find a place.
    QStandardItemModel loop(2, 3);
    const QVariantList cells = { 7, 8, "Seven", 8, 7, "Eight" };
    for (int i = 0; i < cells.size(); ++i)
        loop.setData(loop.index(i / 3, i % 3), cells.at(i));
    RyIndex cyclic(&loop, 0);
    cyclic.build(&loop, 0, 1, 2);
    QCOMPARE(cyclic.path(7), (QList<QVariant> { 8, 7 }));
    QVERIFY(cyclic.topLevelKeys().isEmpty());
    auto rows = column({ 7 });
    RyIndex below(rows.get(), 0);
    below.indexBelow(cyclic, Qt::DisplayRole, 0);
    QCOMPARE(tree(below, below.topLevelKeys()), QString("Eight()[Seven(0)]"));
}

void TestRyIndex::rowsBelowHierarchy_data()
{
    QTest::addColumn<int>("maxLevel");
    QTest::addColumn<QString>("tree");
    // Rows hold keys 4, 2, 4, none, 9 (unknown), "2" (a text matches by its text).
    QTest::newRow("all levels") << 0 << "Root()[Design(1 5),5()[Late child(0 2)]]";
    QTest::newRow("to level 2") << 2 << "Root()[Design(1 5),5(0 2)]";
    QTest::newRow("to level 1") << 1 << "Root(0 1 2 5)";
}

void TestRyIndex::rowsBelowHierarchy()
{
    QFETCH(int, maxLevel);
    QFETCH(QString, tree);
    QStandardItemModel wbs;
    fillHierarchy(&wbs);
    RyIndex hierarchy(&wbs, 0);
    hierarchy.build(&wbs, 0, 1, 2);
    auto rows = column({ 4, 2, 4, QVariant(), 9, "2" });
    RyIndex index(rows.get(), 0);
    index.indexBelow(hierarchy, Qt::DisplayRole, maxLevel);
    QCOMPARE(::tree(index, index.topLevelKeys()), tree);
    // Rows past the limit are not indexed.
    RyIndex firstTwo(rows.get(), 0);
    firstTwo.indexBelow(hierarchy, Qt::DisplayRole, maxLevel, 2);
    QSet<int> indexed;
    for (const auto &entry : firstTwo.entries())
        indexed += entry.second.rows;
    QCOMPARE(indexed, (QSet<int> { 0, 1 }));
}

void TestRyIndex::structuredKeysCombineSharedRows()
{
    auto model = column({ on(2021, 3, 5), on(2021, 3, 20), on(2022, 3, 1), on(2021, 11, 2) });
    RyDateIndex years(model.get(), 0, "Year");
    years.index();
    RyDateIndex months(model.get(), 0, "Month");
    months.index();
    RyStructuredKeyListIndex combined(years, months);
    QCOMPARE(combined.keys(),
             (QList<QVariant> { "2021x2021-03-01", "2021x2021-11-01", "2022x2022-03-01" }));
    QCOMPARE(combined.rows("2021x2021-03-01"), (QSet<int> { 0, 1 }));
    QCOMPARE(combined.parentKey("2022x2022-03-01"), QVariant(2022u));
    QCOMPARE(combined.displayValue("2021x2021-11-01"), QVariant("November"));
}

void TestRyIndex::treeLayoutKeepsParents()
{
    // Crossing group rules: every element keeps its place and the rows no quarter holds; each
    // quarter sharing an element's own rows becomes its last child, named with its year.
    QStandardItemModel wbs;
    fillHierarchy(&wbs);
    RyIndex hierarchy(&wbs, 0);
    hierarchy.build(&wbs, 0, 1, 2);
    QStandardItemModel rows(5, 2);
    const QVariantList keys = { 4, 2, 4, 1, 2 };
    const QVariantList dates
        = { on(2014, 12, 1), on(2015, 1, 2), on(2015, 12, 1), QVariant(), on(2014, 11, 1) };
    for (int row = 0; row < 5; ++row) {
        rows.setData(rows.index(row, 0), keys.at(row));
        rows.setData(rows.index(row, 1), dates.at(row));
    }
    RyIndex elements(&rows, 0);
    elements.indexBelow(hierarchy, Qt::DisplayRole, 0);
    RyDateIndex quarters(&rows, 1, "Quarter");
    quarters.index();
    RyStructuredKeyListIndex crossed(elements, quarters, RyStructuredKeyListIndex::Layout::Tree);
    QCOMPARE(tree(crossed, crossed.topLevelKeys()),
             QString("Root(3)[Design()[Q4 2014(4),Q1 2015(1)],"
                     "5()[Late child()[Q4 2014(0),Q4 2015(2)]]]"));
    QVERIFY(crossed.parentEntries().empty());
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
    QCOMPARE(march->data(Qt::UserRole), QVariant("2021x2021-03-01"));
    QCOMPARE(march->rowCount(), 2);
    // Leaves sorted ascending.
    QCOMPARE(march->child(0)->data(Qt::DisplayRole), QVariant(on(2021, 3, 5)));
    QCOMPARE(march->child(1)->data(Qt::DisplayRole), QVariant(on(2021, 3, 20)));
    QCOMPARE(march->child(1)->checkState(), Qt::Checked);

    QStandardItemModel flat;
    months.fillItemModel(&flat, false);
    QCOMPARE(flat.rowCount(), 2); // March of two years
    QCOMPARE(flat.item(1)->text(), QString("March 2022"));
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
