// The stack the activity view builds: record set -> join -> tree -> sort/filter proxy, driven
// through grouping as the view does it, with Qt's model checks on every layer.
#include "models/ryjoinproxymodel.h"
#include "models/rymodellookup.h"
#include "models/ryparentitemproxymodel.h"
#include "models/ryrecordsetmodel.h"
#include "models/ryrollup.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QTest>

namespace {

QAbstractItemModelTester *testerFor(QAbstractItemModel *model)
{
    return new QAbstractItemModelTester(
        model, QAbstractItemModelTester::FailureReportingMode::QtTest, model);
}

} // namespace

class TestModelChain : public QObject
{
    Q_OBJECT

private slots:
    void groupingThroughTheStack();
};

void TestModelChain::groupingThroughTheStack()
{
    // S: ID, parentID, Group; TASK: task_id, name, wbs.
    RyRecordSetModel rows;
    rows.setRecords({ QStringList { "ID", "parentID", "Group" }, QVariantList { 10 },
                      QVariantList { 11 }, QVariantList { 12 } });
    RyRecordSetModel tasks;
    tasks.setRecords({ QStringList { "task_id", "name", "wbs" }, QVariantList { 12, "pour", "B" },
                       QVariantList { 10, "dig", "A" }, QVariantList { 11, "form", "A" } });
    RyJoinProxyModel activities;
    RyParentItemProxyModel tree;
    QSortFilterProxyModel shown;
    for (QAbstractItemModel *model :
         { static_cast<QAbstractItemModel *>(&rows), static_cast<QAbstractItemModel *>(&activities),
           static_cast<QAbstractItemModel *>(&tree), static_cast<QAbstractItemModel *>(&shown) })
        testerFor(model);
    activities.setSourceModel(&rows);
    QVERIFY(activities.addJoinAll(&tasks, 0, 0));
    tree.setSourceModel(&activities);
    tree.setParentColumns(0, 1);
    shown.setSourceModel(&tree);
    shown.setFilterKeyColumn(4);
    QCOMPARE(shown.rowCount(), 3);
    QCOMPARE(RyModelLookup::findColumn(&shown, "name"), 4);

    // Group by WBS: two group rows appended, then the tree takes the group map.
    const int base = rows.rowCount();
    QVERIFY(rows.insertRows(base, 2));
    rows.setData(rows.index(base, 2), "A");
    rows.setData(rows.index(base + 1, 2), "B");
    RyParentItemProxyModel::ChildMap groups;
    groups.insert(-1, { base, base + 1 });
    groups.insert(base, { 0, 1 });
    groups.insert(base + 1, { 2 });
    tree.setChildMap(groups);
    QCOMPARE(shown.rowCount(), 2);
    const QModelIndex groupA = shown.index(0, 0);
    QCOMPARE(shown.index(0, 2).data().toString(), QString("A"));
    QCOMPARE(shown.rowCount(groupA), 2);
    QCOMPARE(shown.index(1, 4, groupA).data().toString(), QString("form"));
    QCOMPARE(RyModelLookup::indexDepth(shown.index(1, 4, groupA)), 1);

    // Roll a value up into the groups through the whole stack; group rows match no task, so
    // the join keeps the values itself.
    RyRollUp::rollUp(&shown, { { 3, RyRollUp::Largest } }, Qt::DisplayRole);
    QCOMPARE(activities.index(base, 3).data().toInt(), 11);
    QCOMPARE(activities.index(base + 1, 3).data().toInt(), 12);

    // Filtering and sorting above the tree.
    shown.setFilterFixedString("form");
    shown.setRecursiveFilteringEnabled(true);
    QCOMPARE(shown.rowCount(), 1);
    shown.setFilterFixedString(QString());
    shown.sort(4, Qt::DescendingOrder);
    QCOMPARE(shown.index(0, 4, shown.index(0, 0)).data().toString(), QString("form"));

    // Remove the grouping the way the view does: rows dropped with the record set silent,
    // then the joins and the tree rebuilt.
    rows.blockSignals(true);
    rows.removeRows(base, 2);
    rows.blockSignals(false);
    activities.resetMappings();
    tree.setParentColumns(0, 1);
    QCOMPARE(tree.rowCount(), 3);
    QCOMPARE(shown.rowCount(), 3);
    QCOMPARE(activities.index(2, 4).data().toString(), QString("pour"));
}

QTEST_MAIN(TestModelChain)
#include "tst_modelchain.moc"
