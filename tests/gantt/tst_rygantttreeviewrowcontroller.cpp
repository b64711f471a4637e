#include "gantt/rygantttreeviewrowcontroller.h"
#include "models/ryconstants.h"

#include <QStandardItemModel>
#include <QTreeView>
#include <QtTest>

namespace {

// "[A[a1 a2]B[b1[x]]C]": rows with their children in brackets.
void build(QStandardItemModel &model, const QString &tree)
{
    QVector<QStandardItem *> parents { model.invisibleRootItem() };
    QStandardItem *last = nullptr;
    QString name;
    auto flush = [&] {
        if (name.isEmpty())
            return;
        last = new QStandardItem(name);
        parents.last()->appendRow(last);
        name.clear();
    };
    for (const QChar c : tree.mid(1, tree.size() - 2)) {
        if (c == QLatin1Char('[')) {
            flush();
            parents.append(last);
        } else if (c == QLatin1Char(']')) {
            flush();
            parents.removeLast();
        } else if (c == QLatin1Char(' ')) {
            flush();
        } else {
            name += c;
        }
    }
    flush();
}

QString names(const QVector<QModelIndex> &rows)
{
    QStringList list;
    for (const QModelIndex &row : rows)
        list << row.data().toString();
    return list.join(QLatin1Char(' '));
}

} // namespace

class TestRyGanttTreeViewRowController : public QObject
{
    Q_OBJECT
private slots:
    void visibleRows_data();
    void visibleRows();
    void everyRowWithoutATreeOrWithAnotherModel();
    void geometry();
};

void TestRyGanttTreeViewRowController::visibleRows_data()
{
    QTest::addColumn<QString>("tree");
    QTest::addColumn<QStringList>("collapsed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("all");
    const QString tree = "[A[a1 a2]B[b1[x]]C]";
    QTest::newRow("all expanded") << tree << QStringList() << "A a1 a2 B b1 x C"
                                  << "A a1 a2 B b1 x C";
    QTest::newRow("one group") << tree << QStringList { "A" } << "A B b1 x C"
                               << "A a1 a2 B b1 x C";
    QTest::newRow("inner level") << tree << QStringList { "b1" } << "A a1 a2 B b1 C"
                                 << "A a1 a2 B b1 x C";
    QTest::newRow("outer hides inner") << tree << QStringList { "B" } << "A a1 a2 B C"
                                       << "A a1 a2 B b1 x C";
    QTest::newRow("flat") << "[a b c]" << QStringList() << "a b c"
                          << "a b c";
    QTest::newRow("empty") << "[]" << QStringList() << ""
                           << "";
}

void TestRyGanttTreeViewRowController::visibleRows()
{
    QFETCH(QString, tree);
    QFETCH(QStringList, collapsed);
    QFETCH(QString, shown);
    QFETCH(QString, all);
    QStandardItemModel model;
    build(model, tree);
    QTreeView view;
    view.setModel(&model);
    view.expandAll();
    for (const QString &name : collapsed)
        view.collapse(model
                          .match(model.index(0, 0), Qt::DisplayRole, name, 1,
                                 Qt::MatchExactly | Qt::MatchRecursive)
                          .value(0));
    RyGanttTreeViewRowController rows(&view);
    rows.setModel(&model);
    QCOMPARE(names(rows.visibleRows()), shown);
    QCOMPARE(rows.rowCount(), shown.isEmpty() ? 0 : shown.split(' ').size());
    for (int row = 0; row < rows.rowCount(); ++row)
        QCOMPARE(rows.rowOf(rows.visibleRows().at(row)), row);
    QVector<QModelIndex> visited;
    rows.forEachRow(
        [&](const QModelIndex &parent, int row) { visited.append(model.index(row, 0, parent)); });
    QCOMPARE(names(visited), all);
}

void TestRyGanttTreeViewRowController::everyRowWithoutATreeOrWithAnotherModel()
{
    QStandardItemModel model;
    build(model, "[A[a1]B[b1]]");
    QStandardItemModel other;
    QTreeView view;
    view.setModel(&model);
    RyGanttTreeViewRowController rows(&view);
    rows.setModel(&model);
    QCOMPARE(names(rows.visibleRows()), QStringLiteral("A B")); // collapsed in the tree
    view.setModel(&other);
    rows.invalidate();
    QCOMPARE(names(rows.visibleRows()), QStringLiteral("A a1 B b1"));
    rows.setTreeView(nullptr);
    QCOMPARE(names(rows.visibleRows()), QStringLiteral("A a1 B b1"));
    // A row inside a collapsed group is not shown.
    view.setModel(&model);
    rows.setTreeView(&view);
    QCOMPARE(rows.rowOf(model.index(0, 0, model.index(0, 0))), -1);
    QCOMPARE(rows.rowOf(QModelIndex()), -1);
}

void TestRyGanttTreeViewRowController::geometry()
{
    QStandardItemModel model;
    build(model, "[a b c]");
    model.setColumnCount(2);
    RyGanttTreeViewRowController rows;
    rows.setModel(&model);
    QCOMPARE(rows.rowHeight(), Ry::RowHeight);
    QCOMPARE(rows.rowY(2), 2 * Ry::RowHeight);
    QCOMPARE(rows.totalHeight(), 3 * Ry::RowHeight);
    QCOMPARE(rows.indexAtY(Ry::RowHeight + 1).data().toString(), QStringLiteral("b"));
    QCOMPARE(rows.indexAtY(-1), QModelIndex());
    QCOMPARE(rows.indexAtY(3 * Ry::RowHeight), QModelIndex());
    QCOMPARE(rows.rowOf(model.index(2, 1)), 2);
}

QTEST_MAIN(TestRyGanttTreeViewRowController)
#include "tst_rygantttreeviewrowcontroller.moc"
