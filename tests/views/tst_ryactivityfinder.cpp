// The activity finder: which rows match, the tree order of the steps with wrap-around, rows
// inside collapsed branches, rows a filter proxy hides and cached rows after model changes.
#include "views/ryactivityfinder.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// ID, Name, Kind: "A1 Design" with children "A2 Draw plans", "A3 Review"; "B1 Build" with child
// "B2 design check"; "C1 Hand-over". Kind "group" rows are left out by the row predicate.
QStandardItemModel *makeTree(QObject *parent)
{
    auto *model = new QStandardItemModel(0, 3, parent);
    model->setHorizontalHeaderLabels({ "Activity ID", "Activity Name", "Kind" });
    auto row = [](const char *id, const char *name, const char *kind = "task") {
        return QList<QStandardItem *> { new QStandardItem(QLatin1String(id)),
                                        new QStandardItem(QString::fromUtf8(name)),
                                        new QStandardItem(QLatin1String(kind)) };
    };
    QList<QStandardItem *> a = row("A1", "Design");
    a.first()->appendRow(row("A2", "Draw plans"));
    a.first()->appendRow(row("A3", "Review"));
    model->appendRow(a);
    QList<QStandardItem *> b = row("B1", "Build");
    b.first()->appendRow(row("B2", "design check"));
    model->appendRow(b);
    model->appendRow(row("C1", "Hand-over"));
    model->appendRow(row("G", "Design group", "group"));
    return model;
}

QStringList ids(const QList<QModelIndex> &indexes)
{
    QStringList result;
    for (const QModelIndex &index : indexes)
        result << index.data().toString();
    return result;
}

} // namespace

class TestRyActivityFinder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void matches_data();
    void matches();
    void stepsWrapAround();
    void previousWrapsAround();
    void nearestIncludesTheStartRow();
    void filteredRowsAreNotSearched();
    void followsModelChanges();

private:
    QStringList stepAll(bool forward);

    QStandardItemModel *tree = nullptr;
    std::unique_ptr<RyActivityFinder> finder;
};

void TestRyActivityFinder::init()
{
    finder.reset(new RyActivityFinder);
    tree = makeTree(finder.get());
    finder->setModel(tree);
    finder->setColumns({ "Activity ID", "Activity Name" });
    finder->setRowPredicate([](const QModelIndex &index) {
        return index.siblingAtColumn(2).data().toString() != QLatin1String("group");
    });
}

QStringList TestRyActivityFinder::stepAll(bool forward)
{
    QList<QModelIndex> found;
    QModelIndex at;
    for (int i = 0; i < finder->matchCount() + 1; ++i) {
        at = forward ? finder->next(at) : finder->previous(at);
        found << at;
    }
    return ids(found);
}

void TestRyActivityFinder::matches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");

    QTest::addColumn<int>("column"); // the matched column of the first match

    QTest::newRow("name, any case, inside a child") << "DESIGN" << QStringList { "A1", "B2" } << 1;
    QTest::newRow("substring of a name") << "view" << QStringList { "A3" } << 1;
    QTest::newRow("activity id") << "b2" << QStringList { "B2" } << 0;
    QTest::newRow("id prefix") << "a" << QStringList { "A1", "A2", "A3", "C1" } << 0;
    QTest::newRow("other columns are not searched") << "task" << QStringList {} << -1;
    QTest::newRow("no match") << "zzz" << QStringList {} << -1;
    QTest::newRow("empty text finds nothing") << "" << QStringList {} << -1;
}

void TestRyActivityFinder::matches()
{
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    finder->setText(text);
    QCOMPARE(finder->matchCount(), found.size());
    QStringList steps;
    QModelIndex at;
    for (int i = 0; i < found.size(); ++i) {
        at = finder->next(at);
        steps << at.data().toString();
    }
    QCOMPARE(steps, found);
    QTEST(finder->matchedColumn(finder->next(QModelIndex())), "column");
    if (found.isEmpty())
        QVERIFY(!finder->next(QModelIndex()).isValid());
}

void TestRyActivityFinder::stepsWrapAround()
{
    finder->setText(QStringLiteral("a"));
    QCOMPARE(stepAll(true), QStringList({ "A1", "A2", "A3", "C1", "A1" }));
}

void TestRyActivityFinder::previousWrapsAround()
{
    finder->setText(QStringLiteral("a"));
    QCOMPARE(stepAll(false), QStringList({ "C1", "A3", "A2", "A1", "C1" }));
    // From a row that is no match itself the step goes to its neighbours in tree order.
    const QModelIndex b1 = tree->index(1, 0);
    QCOMPARE(finder->next(b1).data().toString(), QStringLiteral("C1"));
    QCOMPARE(finder->previous(b1.siblingAtColumn(1)).data().toString(), QStringLiteral("A3"));
}

void TestRyActivityFinder::nearestIncludesTheStartRow()
{
    finder->setText(QStringLiteral("design"));
    const QModelIndex a1 = tree->index(0, 0);
    QCOMPARE(finder->nearest(a1), a1);
    QCOMPARE(finder->next(a1).data().toString(), QStringLiteral("B2"));
}

void TestRyActivityFinder::filteredRowsAreNotSearched()
{
    QSortFilterProxyModel proxy;
    QAbstractItemModelTester tester(&proxy);
    proxy.setSourceModel(tree);
    proxy.setFilterKeyColumn(0);
    proxy.setFilterRegularExpression(QStringLiteral("^[AC]"));
    finder->setModel(&proxy);
    finder->setText(QStringLiteral("design"));
    QCOMPARE(stepAll(true), QStringList({ "A1", "A1" }));
    // The filter changes: the cached rows follow.
    proxy.setFilterRegularExpression(QStringLiteral("^B"));
    QCOMPARE(stepAll(true), QStringList({ "B2", "B2" }));
}

void TestRyActivityFinder::followsModelChanges()
{
    finder->setText(QStringLiteral("design"));
    QCOMPARE(finder->matchCount(), 2);
    tree->item(2, 1)->setText(QStringLiteral("Design hand-over"));
    QCOMPARE(finder->matchCount(), 3);
    tree->removeRow(0);
    QCOMPARE(stepAll(true), QStringList({ "B2", "C1", "B2" }));
    finder->setModel(nullptr);
    QCOMPARE(finder->matchCount(), 0);
}

QTEST_MAIN(TestRyActivityFinder)
#include "tst_ryactivityfinder.moc"
