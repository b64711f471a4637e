#include "models/rymodellookup.h"

#include "standardrows.h"

#include <QStandardItemModel>
#include <QTest>

namespace {

QStandardItemModel *modelWithHeaders(const QStringList &headers, QObject *parent)
{
    auto *model = new QStandardItemModel(0, headers.size(), parent);
    model->setHorizontalHeaderLabels(headers);
    return model;
}

} // namespace

using namespace RyModelLookup;

class TestRyModelLookup : public QObject
{
    Q_OBJECT

private slots:
    void findColumnFirstMatch();
    void verticalLookupFindsChildRow();
    void verticalLookupWarnsOnBadColumns();
    void depthCountsAncestors();
    void flattenPreOrder();
};

void TestRyModelLookup::findColumnFirstMatch()
{
    auto *model = modelWithHeaders({ "A", "Name", "Name", "B" }, this);
    QCOMPARE(findColumn(model, "Name"), 1);
    QCOMPARE(findColumn(model, "name"), -1);
    QCOMPARE(findColumn(nullptr, "Name"), -1);
}

void TestRyModelLookup::verticalLookupFindsChildRow()
{
    QStandardItemModel model(0, 2);
    model.appendRow(rowOf({ 1, "one" }));
    model.item(0)->appendRow(rowOf({ 7, "seven" }));
    model.appendRow(rowOf({ 7, "top seven" }));
    // Recursive search visits the child of row 0 before the top-level row 1.
    const QModelIndex hit = verticalLookup(7, &model, 1, 0);
    QVERIFY(hit.isValid());
    QCOMPARE(hit.data().toString(), QString("seven"));
    QCOMPARE(hit.parent(), model.index(0, 0));
    QVERIFY(!verticalLookup(8, &model, 1, 0).isValid());
    QVERIFY(!verticalLookup(1, nullptr, 1, 0).isValid());
}

void TestRyModelLookup::verticalLookupWarnsOnBadColumns()
{
    QStandardItemModel model(1, 2);
    QTest::ignoreMessage(QtWarningMsg, "Invalid return column passed to verticalLookup");
    QVERIFY(!verticalLookup(1, &model, 2, 0).isValid());
    QTest::ignoreMessage(QtWarningMsg, "Invalid lookup column passed to verticalLookup");
    QVERIFY(!verticalLookup(1, &model, 0, -1).isValid());
}

void TestRyModelLookup::depthCountsAncestors()
{
    QStandardItemModel tree;
    tree.appendRow(new QStandardItem("a"));
    tree.item(0)->appendRow(new QStandardItem("b"));
    tree.item(0)->child(0)->appendRow(new QStandardItem("c"));
    QCOMPARE(indexDepth(tree.index(0, 0)), 0);
    QCOMPARE(indexDepth(tree.item(0)->child(0)->child(0)->index()), 2);
    QCOMPARE(indexDepth(QModelIndex()), 0);
}

void TestRyModelLookup::flattenPreOrder()
{
    QStandardItemModel tree;
    for (const char *name : { "a", "d" })
        tree.appendRow(new QStandardItem(name));
    tree.item(0)->appendRow(new QStandardItem("b"));
    tree.item(0)->child(0)->appendRow(new QStandardItem("c"));
    tree.item(1)->appendRow(new QStandardItem("e"));
    QStringList names;
    for (const QModelIndex &index : flattenIndexes(&tree))
        names << index.data().toString();
    QCOMPARE(names, QStringList({ "a", "b", "c", "d", "e" }));
    QCOMPARE(flattenIndexes(&tree, tree.index(1, 0)).size(), 1);
    QVector<int> depths;
    flattenIndexes(&tree, QModelIndex(), &depths);
    QCOMPARE(depths, QVector<int>({ 0, 1, 2, 0, 1 }));
    flattenIndexes(&tree, tree.index(0, 0), &depths); // below a row: its own depth counts
    QCOMPARE(depths, QVector<int>({ 1, 2 }));

    // A chain far deeper than a recursive walk could take.
    QStandardItemModel deep;
    QStandardItem *item = deep.invisibleRootItem();
    for (int i = 0; i < 20000; ++i) {
        auto *child = new QStandardItem;
        item->appendRow(child);
        item = child;
    }
    QCOMPARE(flattenIndexes(&deep).size(), 20000);
}

QTEST_MAIN(TestRyModelLookup)
#include "tst_rymodellookup.moc"
