#include "models/ryrollup.h"

#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "models/ryparentitemproxymodel.h"

#include "stringtree.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QTest>

Q_DECLARE_METATYPE(RyRollUp::Pick)

class TestRyRollUp : public QObject
{
    Q_OBJECT

private slots:
    void rollUp_data();
    void rollUp();
    void throughProxies();
    void throughJoin();
    void dateColumns();
};

void TestRyRollUp::rollUp_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<RyRollUp::Pick>("pick");
    QTest::addColumn<QString>("rolledUp");
    QTest::newRow("flat rows stay") << "[a=3 b=1]" << RyRollUp::Smallest << "[a=3 b=1]";
    QTest::newRow("smallest child")
        << "[a[b=5 c=2 d=9]]" << RyRollUp::Smallest << "[a=2[b=5 c=2 d=9]]";
    QTest::newRow("largest child")
        << "[a[b=5 c=2 d=9]]" << RyRollUp::Largest << "[a=9[b=5 c=2 d=9]]";
    QTest::newRow("bottom-up") << "[a[b[c=5 d=7] e=10]]" << RyRollUp::Largest
                               << "[a=10[b=7[c=5 d=7]e=10]]";
    QTest::newRow("a summary's own value is replaced")
        << "[a=1[b=5]]" << RyRollUp::Largest << "[a=5[b=5]]";
    QTest::newRow("null children skipped")
        << "[a[b c=4 d]]" << RyRollUp::Smallest << "[a=4[b c=4 d]]";
    QTest::newRow("no child value keeps the row's")
        << "[a=8[b c]]" << RyRollUp::Smallest << "[a=8[b c]]";
    QTest::newRow("an empty summary offers its own value")
        << "[a[b=3[c] d=6]]" << RyRollUp::Smallest << "[a=3[b=3[c]d=6]]";
    QTest::newRow("top level rows are not rolled together")
        << "[a[b=2] c[d=7]]" << RyRollUp::Largest << "[a=2[b=2]c=7[d=7]]";
}

void TestRyRollUp::rollUp()
{
    QFETCH(QString, tree);
    QFETCH(RyRollUp::Pick, pick);
    QFETCH(QString, rolledUp);
    QStandardItemModel model;
    StringTree::buildTree(&model, tree);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    RyRollUp::rollUp(&model, { { 1, pick } });
    QCOMPARE(StringTree::write(&model, 0, 1), rolledUp);
}

void TestRyRollUp::throughProxies()
{
    // The table views roll up through a filter over the parent-item tree of a flat table; leaf
    // values are read below the proxies, the results written through them.
    QStandardItemModel flat;
    StringTree::buildFlat(&flat, "[a[b[c d]e]f]");
    flat.insertColumn(2);
    const QVariantList values { QVariant(), QVariant(), 4, 9, 6, 1 };
    for (int row = 0; row < values.size(); ++row)
        flat.setData(flat.index(row, 2), values.at(row));
    RyParentItemProxyModel tree;
    tree.setSourceModel(&flat);
    tree.setParentColumns(0, 1);
    QSortFilterProxyModel filter;
    filter.setSourceModel(&tree);
    QAbstractItemModelTester tester(&filter,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    RyRollUp::rollUp(&filter, { { 2, RyRollUp::Largest } });
    QCOMPARE(StringTree::write(&filter, 0, 2), QString("[a=9[b=9[c=4 d=9]e=6]f=1]"));
}

void TestRyRollUp::throughJoin()
{
    // The activity view's chain: the values come from a table joined by id, read from it
    // directly; a row without a match has only what was written to the join.
    QStandardItemModel flat;
    StringTree::buildFlat(&flat, "[a[b c d]]");
    QStandardItemModel values;
    for (const auto &row : { qMakePair(QString("c"), 9), qMakePair(QString("b"), 4) })
        values.appendRow({ new QStandardItem(row.first), new QStandardItem(QString()) });
    values.setData(values.index(0, 1), 9);
    values.setData(values.index(1, 1), 4);
    RyJoinProxyModel join;
    join.setSourceModel(&flat);
    join.addJoin(&values, 0, { 1 }, 0);
    join.setData(join.index(3, 2), 12); // d: no row in the values table
    RyParentItemProxyModel tree;
    tree.setSourceModel(&join);
    tree.setParentColumns(0, 1);
    QAbstractItemModelTester tester(&tree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    RyRollUp::rollUp(&tree, { { 2, RyRollUp::Largest } });
    QCOMPARE(StringTree::write(&tree, 0, 2), QString("[a=12[b=4 c=9 d=12]]"));
    RyRollUp::rollUp(&tree, { { 2, RyRollUp::Smallest } });
    QCOMPARE(StringTree::write(&tree, 0, 2), QString("[a=4[b=4 c=9 d=12]]"));
}

void TestRyRollUp::dateColumns()
{
    QStandardItemModel model(0, 4);
    model.setHorizontalHeaderLabels({ "Start", "Early Finish", "Start Note", "Name" });
    const QVariantMap date { { "datatype", "datetime" } };
    for (int column : { 0, 1, 3 })
        model.setHeaderData(column, Qt::Horizontal, date, Ry::ColumnDescriptionRole);
    const QVector<RyRollUp::Column> columns = RyRollUp::dateColumns(&model);
    QCOMPARE(columns.size(), 2); // "Start Note" is no date, "Name" no start or finish
    QCOMPARE(columns.at(0).column, 0);
    QCOMPARE(columns.at(0).pick, RyRollUp::Smallest);
    QCOMPARE(columns.at(1).column, 1);
    QCOMPARE(columns.at(1).pick, RyRollUp::Largest);

    // A summary gets the earliest start and the latest finish of its children.
    const auto cell = [](const QVariant &value) {
        auto *item = new QStandardItem;
        item->setData(value, Qt::DisplayRole);
        return item;
    };
    model.appendRow({ cell(QVariant()), cell(QVariant()), cell("note"), cell("s") });
    model.item(0, 0)->appendRow({ cell(QDate(2024, 1, 9)), cell(QDate(2024, 2, 2)) });
    model.item(0, 0)->appendRow({ cell(QDate(2024, 1, 8)), cell(QDate(2024, 1, 20)) });
    RyRollUp::rollUpDates(&model);
    QCOMPARE(model.index(0, 0).data().toDate(), QDate(2024, 1, 8));
    QCOMPARE(model.index(0, 1).data().toDate(), QDate(2024, 2, 2));
    QCOMPARE(model.index(0, 2).data().toString(), QString("note"));
}

QTEST_MAIN(TestRyRollUp)
#include "tst_ryrollup.moc"
