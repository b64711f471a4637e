#include "gantt/ryganttlinkmodel.h"
#include "gantt/rygantttreeviewrowcontroller.h"

#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// A flat list of rows named by their text; the rows of the chart are the rows of the model.
struct Fixture
{
    QStandardItemModel model;
    QSortFilterProxyModel proxy;
    RyGanttTreeViewRowController rows;
    RyGanttLinkModel links;

    explicit Fixture(const QStringList &names)
    {
        for (const QString &name : names)
            model.appendRow(new QStandardItem(name));
        proxy.setSourceModel(&model);
        rows.setModel(&proxy);
        links.setModel(&proxy);
    }
    QModelIndex row(const QString &name) const
    {
        return proxy.match(proxy.index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly).value(0);
    }
    // "successor<predecessor" for each link touching shown rows first to last.
    QStringList linksIn(int first, int last)
    {
        QStringList found;
        for (const RyGanttLinkModel::RowLink &link : links.linksInRows(first, last, rows))
            found << link.link->successor.data().toString() + QLatin1Char('<')
                    + link.link->predecessor.data().toString();
        found.sort();
        return found;
    }
};

QStringList names(int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QStringLiteral("r%1").arg(i, 3, 10, QLatin1Char('0'));
    return list;
}

} // namespace

class TestRyGanttLinkModel : public QObject
{
    Q_OBJECT
private slots:
    void badPairsAreIgnored();
    void keptAcrossSorting();
    void droppedWhenRowsComeOrGo_data();
    void droppedWhenRowsComeOrGo();
    void linksInRows_data();
    void linksInRows();
    void anotherModelDropsTheLinks();
};

void TestRyGanttLinkModel::badPairsAreIgnored()
{
    Fixture f({ "a", "b" });
    QStandardItemModel other(1, 1);
    QSignalSpy changed(&f.links, &RyGanttLinkModel::linksChanged);
    f.links.addLink(f.row("a"), f.row("a"));
    f.links.addLink(f.row("a"), QModelIndex());
    f.links.addLink(f.row("a"), other.index(0, 0));
    QCOMPARE(f.links.count(), 0);
    QCOMPARE(changed.count(), 0);
    f.links.setLinks({ { f.row("b"), f.row("a"), "FS" }, { f.row("b"), f.row("b"), "FS" } });
    QCOMPARE(f.links.count(), 1);
    QCOMPARE(changed.count(), 1);
}

void TestRyGanttLinkModel::keptAcrossSorting()
{
    Fixture f({ "c", "a", "b" });
    f.links.addLink(f.row("c"), f.row("a"), "SS");
    QCOMPARE(f.linksIn(0, 2), QStringList { "c<a" });
    QSignalSpy changed(&f.links, &RyGanttLinkModel::linksChanged);
    f.proxy.sort(0, Qt::DescendingOrder);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.links.count(), 1);
    const RyGanttLinkModel::Link link = f.links.links().first();
    QCOMPARE(link.successor, f.row("c"));
    QCOMPARE(link.predecessor, f.row("a"));
    QCOMPARE(link.type, QStringLiteral("SS"));
    // c is row 0 and a row 2 after sorting: the row between finds the link too.
    f.links.invalidateRowIndex();
    f.rows.invalidate();
    QCOMPARE(f.linksIn(1, 1), QStringList { "c<a" });
}

void TestRyGanttLinkModel::droppedWhenRowsComeOrGo_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("row inserted") << 0;
    QTest::newRow("row removed") << 1;
    QTest::newRow("reset") << 2;
    QTest::newRow("column inserted") << 3;
}

void TestRyGanttLinkModel::droppedWhenRowsComeOrGo()
{
    QFETCH(int, change);
    Fixture f({ "a", "b", "c" });
    f.links.addLink(f.row("b"), f.row("a"));
    QSignalSpy changed(&f.links, &RyGanttLinkModel::linksChanged);
    if (change == 0)
        f.model.appendRow(new QStandardItem("d"));
    else if (change == 1)
        f.model.removeRow(2);
    else if (change == 2)
        f.model.clear();
    else
        f.model.insertColumn(1);
    QCOMPARE(f.links.count(), 0);
    QCOMPARE(changed.count(), 1);
}

void TestRyGanttLinkModel::linksInRows_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QStringList>("links");
    // Links: r001<r000, r040<r002 (crosses the first two blocks of 32 rows), r090<r080.
    QTest::newRow("first rows") << 0 << 1 << QStringList { "r001<r000", "r040<r002" };
    QTest::newRow("a block holds every link crossing it")
        << 20 << 25 << QStringList { "r001<r000", "r040<r002" };
    QTest::newRow("second block") << 33 << 34 << QStringList { "r040<r002" };
    QTest::newRow("third block") << 64 << 95 << QStringList { "r090<r080" };
    QTest::newRow("all, each once")
        << 0 << 99 << QStringList { "r001<r000", "r040<r002", "r090<r080" };
    QTest::newRow("past the rows") << 100 << 120 << QStringList();
}

void TestRyGanttLinkModel::linksInRows()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QStringList, links);
    Fixture f(names(100));
    f.links.addLink(f.row("r001"), f.row("r000"));
    f.links.addLink(f.row("r040"), f.row("r002"));
    f.links.addLink(f.row("r090"), f.row("r080"));
    QCOMPARE(f.linksIn(first, last), links);
}

void TestRyGanttLinkModel::anotherModelDropsTheLinks()
{
    Fixture f({ "a", "b" });
    f.links.addLink(f.row("b"), f.row("a"));
    f.links.setModel(&f.proxy);
    QCOMPARE(f.links.count(), 1);
    f.links.setModel(&f.model);
    QCOMPARE(f.links.count(), 0);
    QCOMPARE(f.links.model(), &f.model);
}

QTEST_MAIN(TestRyGanttLinkModel)
#include "tst_ryganttlinkmodel.moc"
