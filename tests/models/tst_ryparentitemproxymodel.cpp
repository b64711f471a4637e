#include "models/ryparentitemproxymodel.h"
#include "models/ryrecordsetmodel.h"

#include "stringtree.h"

#include <QAbstractItemModelTester>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>
#include <QTreeView>

namespace {

// Rows of (id, parent id, value).
RyRecordSetModel *table(const QList<QVariantList> &rows, QObject *parent)
{
    auto *model = new RyRecordSetModel(parent);
    QVariantList records { QStringList { "id", "parent", "value" } };
    for (const QVariantList &row : rows)
        records << QVariant(row);
    model->setRecords(records);
    return model;
}

QAbstractItemModelTester *testerFor(QAbstractItemModel *model)
{
    return new QAbstractItemModelTester(
        model, QAbstractItemModelTester::FailureReportingMode::QtTest, model);
}

// The source rows under `parent`, in display order.
QList<int> childRows(const RyParentItemProxyModel &proxy, const QModelIndex &parent = {})
{
    QList<int> rows;
    for (int r = 0; r < proxy.rowCount(parent); ++r)
        rows << proxy.mapToSource(proxy.index(r, 0, parent)).row();
    return rows;
}

QList<QVariantList> sampleTree()
{
    return { { 1, QVariant(), "a" }, { 2, 1, "b" }, { 3, 1, "c" }, { 4, 9, "d" } };
}

// A flat table as item views see it: every cell says it never has children.
class LeafFlagModel : public QStandardItemModel
{
public:
    using QStandardItemModel::QStandardItemModel;
    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        return QStandardItemModel::flags(index) | Qt::ItemNeverHasChildren;
    }
};

} // namespace

class TestRyParentItemProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void emptyProxy();
    void treeFromIdColumns();
    void duplicateIdAttachesToFirst();
    void nullIdsNeverParentEachOther();
    void cyclesStayVisible();
    void onlyColumnZeroHasChildren();
    void parentsOfFlatSourceExpand();
    void parentAndMapping();
    void stableDescendingSort();
    void writesPassThroughSilently();
    void wrongModelWarning();
    void sourceRowInsertionIsReset();
    void sourceDataChanges();
    void childMapFromOutside();
    void sourceSortKeepsTreeAndPersistentIndexes();
    void sourceColumnChangesFollowIdColumns();
    void stringTrees_data();
    void stringTrees();
    void nullSourceDetaches();
};

void TestRyParentItemProxyModel::emptyProxy()
{
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    QCOMPARE(proxy.rowCount(), 0);
    QCOMPARE(proxy.columnCount(), 0);
    QVERIFY(!proxy.index(0, 0).isValid());
    QVERIFY(!proxy.setData(QModelIndex(), 1));
    proxy.setSourceModel(nullptr);
    QCOMPARE(proxy.rowCount(), 0);
}

void TestRyParentItemProxyModel::treeFromIdColumns()
{
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(table(sampleTree(), this));
    QCOMPARE(childRows(proxy), QList<int>({ 0, 1, 2, 3 })); // no columns yet: flat
    proxy.setParentColumns(0, 1);
    QCOMPARE(childRows(proxy), QList<int>({ 0, 3 }));
    QCOMPARE(childRows(proxy, proxy.index(0, 0)), QList<int>({ 1, 2 }));
    QVERIFY(!proxy.hasChildren(proxy.index(1, 0)));
    QCOMPARE(proxy.index(1, 2).data().toString(), QString("d"));
    RyParentItemProxyModel::ChildMap expected;
    expected.insert(-1, { 0, 3 });
    expected.insert(0, { 1, 2 });
    QCOMPARE(proxy.childMap(), expected);
}

void TestRyParentItemProxyModel::duplicateIdAttachesToFirst()
{
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(table(
        { { 5, QVariant(), "first" }, { 5, QVariant(), "second" }, { 6, 5, "child" } }, this));
    proxy.setParentColumns(0, 1);
    QCOMPARE(childRows(proxy), QList<int>({ 0, 1 }));
    QCOMPARE(childRows(proxy, proxy.index(0, 0)), QList<int>({ 2 }));
    QCOMPARE(proxy.rowCount(proxy.index(1, 0)), 0);
}

void TestRyParentItemProxyModel::nullIdsNeverParentEachOther()
{
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(table({ { QVariant(), QVariant(), "g1" },
                                 { QVariant(), QVariant(), "g2" },
                                 { "x", QString(), "n" } },
                               this));
    proxy.setParentColumns(0, 1);
    QCOMPARE(childRows(proxy), QList<int>({ 0, 1, 2 }));
}

void TestRyParentItemProxyModel::cyclesStayVisible()
{
    // 1 -> 2 -> 1 and 3 -> 3 would otherwise leave three rows nowhere in the tree.
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(
        table({ { 1, 2, "a" }, { 2, 1, "b" }, { 3, 3, "c" }, { 4, 2, "d" } }, this));
    proxy.setParentColumns(0, 1);
    QCOMPARE(childRows(proxy), QList<int>({ 0, 2 }));
    QCOMPARE(childRows(proxy, proxy.index(0, 0)), QList<int>({ 1 }));
    const QModelIndex b = proxy.index(0, 0, proxy.index(0, 0));
    QCOMPARE(childRows(proxy, b), QList<int>({ 3 }));
}

void TestRyParentItemProxyModel::onlyColumnZeroHasChildren()
{
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(table(sampleTree(), this));
    proxy.setParentColumns(0, 1);
    const QModelIndex other = proxy.index(0, 2);
    QCOMPARE(proxy.rowCount(other), 0);
    QVERIFY(!proxy.hasChildren(other));
    QVERIFY(!proxy.index(0, 0, other).isValid());
    QCOMPARE(proxy.rowCount(proxy.index(0, 0)), 2);
}

void TestRyParentItemProxyModel::parentsOfFlatSourceExpand()
{
    LeafFlagModel flat(0, 3);
    for (const QVariantList &row : sampleTree()) {
        QList<QStandardItem *> items;
        for (const QVariant &value : row) {
            auto *item = new QStandardItem;
            item->setData(value, Qt::DisplayRole);
            items << item;
        }
        flat.appendRow(items);
    }
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(&flat);
    proxy.setParentColumns(0, 1);

    const QModelIndex parent = proxy.index(0, 0);
    QCOMPARE(proxy.rowCount(parent), 2);
    QVERIFY(!(proxy.flags(parent) & Qt::ItemNeverHasChildren));
    QVERIFY(proxy.flags(parent) & Qt::ItemIsEnabled); // the source's other flags stay
    // Leaves and the cells beside a parent keep the source's word.
    QVERIFY(proxy.flags(proxy.index(0, 0, parent)) & Qt::ItemNeverHasChildren);
    QVERIFY(proxy.flags(proxy.index(0, 1)) & Qt::ItemNeverHasChildren);

    QTreeView view;
    view.setModel(&proxy);
    view.expandAll();
    QCOMPARE(view.indexBelow(parent), proxy.index(0, 0, parent));
}

void TestRyParentItemProxyModel::parentAndMapping()
{
    auto *source = table(sampleTree(), this);
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.setParentColumns(0, 1);
    const QModelIndex c = proxy.mapFromSource(source->index(2, 2));
    QCOMPARE(c.row(), 1);
    QCOMPARE(c.column(), 2);
    QCOMPARE(c.data().toString(), QString("c"));
    QCOMPARE(c.parent(), proxy.index(0, 0));
    QVERIFY(!proxy.index(0, 0).parent().isValid());
    QCOMPARE(proxy.mapToSource(c), source->index(2, 2));
    QCOMPARE(proxy.sibling(0, 0, c), proxy.index(0, 0, proxy.index(0, 0)));
    QCOMPARE(proxy.sibling(1, 2, c), c);
    QCOMPARE(proxy.buddy(c), c);
    QCOMPARE(proxy.headerData(2, Qt::Horizontal).toString(), QString("value"));
    QCOMPARE(proxy.flags(c), source->flags(source->index(2, 2)));
}

void TestRyParentItemProxyModel::stableDescendingSort()
{
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(table({ { 1, QVariant(), "m" },
                                 { 2, 1, "x" },
                                 { 3, 1, "y" },
                                 { 4, 1, "x" },
                                 { 5, 1, "z" },
                                 { 6, QVariant(), "n" },
                                 { 7, 6, "b" },
                                 { 8, 6, "a" } },
                               this));
    proxy.setParentColumns(0, 1);
    const QPersistentModelIndex second(proxy.index(1, 0, proxy.index(0, 0))); // row 2 ("y")
    QSignalSpy layout(&proxy, &QAbstractItemModel::layoutChanged);
    proxy.sort(2, Qt::DescendingOrder);
    QCOMPARE(layout.count(), 1);
    QCOMPARE(childRows(proxy), QList<int>({ 5, 0 }));
    QCOMPARE(childRows(proxy, proxy.index(1, 0)), QList<int>({ 4, 2, 1, 3 })); // x, x keep order
    QCOMPARE(childRows(proxy, proxy.index(0, 0)), QList<int>({ 6, 7 }));
    QCOMPARE(second.row(), 1);
    QCOMPARE(second.data(Qt::DisplayRole).toInt(), 3);
    proxy.sort(2, Qt::AscendingOrder);
    QCOMPARE(childRows(proxy, proxy.index(0, 0)), QList<int>({ 1, 3, 2, 4 }));
    proxy.sort(3); // beyond the columns: nothing
    QCOMPARE(layout.count(), 2);
}

void TestRyParentItemProxyModel::writesPassThroughSilently()
{
    auto *source = table(sampleTree(), this);
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.setParentColumns(0, 1);
    QSignalSpy changed(&proxy, &QAbstractItemModel::dataChanged);
    const QModelIndex b = proxy.index(0, 2, proxy.index(0, 0));
    QVERIFY(proxy.setData(b, "B"));
    QCOMPARE(source->index(1, 2).data().toString(), QString("B"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(proxy.setData(QModelIndex(), "x"), source->setData(QModelIndex(), "x"));
}

void TestRyParentItemProxyModel::wrongModelWarning()
{
    auto *source = table(sampleTree(), this);
    RyParentItemProxyModel proxy;
    proxy.setSourceModel(source);
    QTest::ignoreMessage(QtWarningMsg,
                         "RyParentItemProxyModel: index from wrong model passed to mapToSource");
    QVERIFY(!proxy.mapToSource(source->index(0, 0)).isValid());
}

void TestRyParentItemProxyModel::sourceRowInsertionIsReset()
{
    auto *source = table(sampleTree(), this);
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.setParentColumns(0, 1);
    QSignalSpy reset(&proxy, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&proxy, &QAbstractItemModel::rowsInserted);
    QVERIFY(source->insertRows(1, 1));
    QCOMPARE(reset.count(), 1);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(childRows(proxy), QList<int>({ 0, 1, 4 }));
    QCOMPARE(childRows(proxy, proxy.index(0, 0)), QList<int>({ 2, 3 }));
    QVERIFY(source->removeRows(0, 1));
    QCOMPARE(reset.count(), 2);
    QCOMPARE(childRows(proxy), QList<int>({ 0, 1, 2, 3 })); // the parent row is gone
}

void TestRyParentItemProxyModel::sourceDataChanges()
{
    auto *source = table(sampleTree(), this);
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.setParentColumns(0, 1);
    QSignalSpy changed(&proxy, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&proxy, &QAbstractItemModel::modelReset);
    source->setData(source->index(2, 2), "C");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), proxy.index(1, 2, proxy.index(0, 0)));
    QCOMPARE(reset.count(), 0);
    source->setData(source->index(3, 1), 1); // d moves under a
    QCOMPARE(reset.count(), 1);
    QCOMPARE(childRows(proxy, proxy.index(0, 0)), QList<int>({ 1, 2, 3 }));

    // A change over rows under different parents arrives once per parent.
    QStandardItemModel flat(3, 2);
    flat.setItem(0, 0, new QStandardItem("p"));
    flat.setItem(1, 1, new QStandardItem("p"));
    RyParentItemProxyModel tree;
    testerFor(&tree);
    tree.setSourceModel(&flat);
    tree.setParentColumns(0, 1);
    QSignalSpy treeChanged(&tree, &QAbstractItemModel::dataChanged);
    emit flat.dataChanged(flat.index(0, 0), flat.index(2, 0));
    QCOMPARE(treeChanged.count(), 0); // column 0 is the id column: rebuilt instead
    flat.blockSignals(true);
    flat.setColumnCount(3);
    flat.blockSignals(false);
    tree.setParentColumns(0, 1);
    emit flat.dataChanged(flat.index(0, 2), flat.index(2, 2));
    QCOMPARE(treeChanged.count(), 2);
}

void TestRyParentItemProxyModel::childMapFromOutside()
{
    auto *source = table(sampleTree(), this);
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.setParentColumns(0, 1);
    RyParentItemProxyModel::ChildMap groups;
    groups.insert(-1, { 3 });
    groups.insert(3, { 2, 0, 2, 17 }); // a repeated and an unknown row are dropped
    groups.insert(0, { 1 });
    groups.insert(12, { 1 });
    proxy.setChildMap(groups);
    QCOMPARE(childRows(proxy), QList<int>({ 3 }));
    QCOMPARE(childRows(proxy, proxy.index(0, 0)), QList<int>({ 2, 0 }));
    QCOMPARE(childRows(proxy, proxy.index(1, 0, proxy.index(0, 0))), QList<int>({ 1 }));
    // Ids do not shape a given map; a rebuild from the columns replaces it.
    source->setData(source->index(1, 1), 4);
    QCOMPARE(childRows(proxy), QList<int>({ 3 }));
    proxy.setParentColumns(0, 1);
    QCOMPARE(childRows(proxy), QList<int>({ 0, 3 }));
    QCOMPARE(childRows(proxy, proxy.index(1, 0)), QList<int>({ 1 }));
}

void TestRyParentItemProxyModel::sourceSortKeepsTreeAndPersistentIndexes()
{
    QStandardItemModel source(0, 3);
    const QList<QVariantList> rows { { 3, 1, "c" }, { 1, QVariant(), "a" }, { 2, 1, "b" } };
    for (const QVariantList &row : rows) {
        QList<QStandardItem *> items;
        for (const QVariant &v : row) {
            auto *item = new QStandardItem;
            item->setData(v, Qt::DisplayRole);
            items << item;
        }
        source.appendRow(items);
    }
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(&source);
    proxy.setParentColumns(0, 1);
    const QPersistentModelIndex c(proxy.index(0, 2, proxy.index(0, 0)));
    QCOMPARE(c.data().toString(), QString("c"));
    source.sort(2);
    QCOMPARE(c.data().toString(), QString("c"));
    QCOMPARE(c.row(), 1);
    QCOMPARE(proxy.rowCount(), 1);
    QCOMPARE(proxy.index(0, 2).data().toString(), QString("a"));

    // A given map follows the rows too.
    RyParentItemProxyModel::ChildMap map;
    map.insert(-1, { 2 }); // "c" is now source row 2
    map.insert(2, { 0, 1 });
    proxy.setChildMap(map);
    source.sort(2, Qt::DescendingOrder); // c, b, a
    QCOMPARE(proxy.index(0, 2).data().toString(), QString("c"));
    QCOMPARE(proxy.index(0, 2, proxy.index(0, 0)).data().toString(), QString("a"));
}

void TestRyParentItemProxyModel::sourceColumnChangesFollowIdColumns()
{
    auto *source = table(sampleTree(), this);
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.setParentColumns(0, 1);
    QVERIFY(source->insertColumns(0, 2));
    QCOMPARE(proxy.idColumn(), 2);
    QCOMPARE(proxy.parentColumn(), 3);
    QCOMPARE(childRows(proxy), QList<int>({ 0, 3 }));
    QCOMPARE(proxy.columnCount(), 5);
    QVERIFY(source->removeColumns(3, 1));
    QCOMPARE(proxy.parentColumn(), -1);
    QCOMPARE(childRows(proxy), QList<int>({ 0, 1, 2, 3 }));
}

// The source row of the flat table whose id is `name`; -1 when none.
int rowOfId(const QStandardItemModel &flat, const QString &name)
{
    const QList<QStandardItem *> found = flat.findItems(name, Qt::MatchExactly, 0);
    return found.isEmpty() ? -1 : found.first()->row();
}

void TestRyParentItemProxyModel::stringTrees_data()
{
    // The source is the tree as a flat table of (id, parent id) rows in pre-order; `change` is
    // done to it (or to the proxy) once the proxy shows it.
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("shown");
    QTest::newRow("flat") << "[1 2 3]"
                          << ""
                          << "[1 2 3]";
    QTest::newRow("nested") << "[1[1.1 1.2]2]"
                            << ""
                            << "[1[1.1 1.2]2]";
    QTest::newRow("deep") << "[1[1.1[1.1.1[1.1.1.1]]]2[2.1]]"
                          << ""
                          << "[1[1.1[1.1.1[1.1.1.1]]]2[2.1]]";
    QTest::newRow("proxy sort descending") << "[1[1.1 1.2]2[2.1 2.2]]"
                                           << "sort descending"
                                           << "[2[2.2 2.1]1[1.2 1.1]]";
    QTest::newRow("proxy sort ascending") << "[b[b.2 b.1]a]"
                                          << "sort ascending"
                                          << "[a b[b.1 b.2]]";
    QTest::newRow("source sort keeps parents") << "[1[1.1 1.2]2[2.1]]"
                                               << "source sort descending"
                                               << "[2[2.1]1[1.2 1.1]]";
    QTest::newRow("new parent id") << "[1[1.1]2]"
                                   << "parent 2 1"
                                   << "[1[1.1 2]]";
    QTest::newRow("parent id cleared") << "[1[1.1 1.2]]"
                                       << "parent 1.1 -"
                                       << "[1[1.2]1.1]";
    QTest::newRow("unknown parent goes to the top") << "[1[1.1]]"
                                                    << "parent 1.1 9"
                                                    << "[1 1.1]";
    QTest::newRow("cycle stays visible") << "[1[1.1]]"
                                         << "parent 1 1.1"
                                         << "[1[1.1]]";
    QTest::newRow("parent removed") << "[1[1.1 1.2]2]"
                                    << "remove 1"
                                    << "[1.1 1.2 2]";
    QTest::newRow("leaf removed") << "[1[1.1 1.2]2]"
                                  << "remove 1.1"
                                  << "[1[1.2]2]";
}

void TestRyParentItemProxyModel::stringTrees()
{
    QFETCH(QString, tree);
    QFETCH(QString, change);
    QFETCH(QString, shown);
    QStandardItemModel flat;
    StringTree::buildFlat(&flat, tree);
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(&flat);
    proxy.setParentColumns(0, 1);
    QCOMPARE(StringTree::write(&proxy), tree);

    const QStringList words = change.split(' ', Qt::SkipEmptyParts);
    const QString verb = words.value(0);
    if (change == QLatin1String("sort ascending")) {
        proxy.sort(0, Qt::AscendingOrder);
    } else if (change == QLatin1String("sort descending")) {
        proxy.sort(0, Qt::DescendingOrder);
    } else if (change == QLatin1String("source sort descending")) {
        flat.sort(0, Qt::DescendingOrder);
    } else if (verb == QLatin1String("parent")) {
        const QString parent = words.value(2) == QLatin1String("-") ? QString() : words.value(2);
        QVERIFY(flat.setData(flat.index(rowOfId(flat, words.value(1)), 1),
                             parent.isEmpty() ? QVariant() : QVariant(parent)));
    } else if (verb == QLatin1String("remove")) {
        QVERIFY(flat.removeRow(rowOfId(flat, words.value(1))));
    } else {
        QVERIFY2(change.isEmpty(), qPrintable(change));
    }
    QCOMPARE(StringTree::write(&proxy), shown);
}

void TestRyParentItemProxyModel::nullSourceDetaches()
{
    QStandardItemModel flat;
    StringTree::buildFlat(&flat, "[1[1.1]2]");
    RyParentItemProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(&flat);
    proxy.setParentColumns(0, 1);
    QSignalSpy resets(&proxy, &QAbstractItemModel::modelReset);
    proxy.setSourceModel(nullptr);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(proxy.sourceModel(), nullptr);
    QCOMPARE(proxy.rowCount(), 0);
    // The old source no longer reaches the proxy.
    QSignalSpy changes(&proxy, &QAbstractItemModel::dataChanged);
    flat.setData(flat.index(1, 0), "changed");
    flat.appendRow(new QStandardItem("3"));
    QCOMPARE(changes.count(), 0);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(proxy.rowCount(), 0);
}

QTEST_MAIN(TestRyParentItemProxyModel)
#include "tst_ryparentitemproxymodel.moc"
