#include "models/ryjoinproxymodel.h"
#include "models/rykeylookup.h"
#include "models/ryrecordsetmodel.h"
#include "tests/support/warningguard.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

namespace {

RyRecordSetModel *table(const QStringList &names, const QList<QVariantList> &rows, QObject *parent)
{
    auto *model = new RyRecordSetModel(parent);
    QVariantList records { names };
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

} // namespace

class TestRyJoinProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void firstMatchingRowWins();
    void chainedJoinKey();
    void columnLayoutAndHeaders();
    void overrideCells();
    void zeroRowWarning();
    void nullJoinedModelRefused();
    void keysCompareLikeVariants_data();
    void keysCompareLikeVariants();
    void lookupMatchesLinearSearch();
    void lookupOfWholeNumbers_data();
    void lookupOfWholeNumbers();
    void sourceSortRebuildsMapsAndFollowsRows();
    void sourceRowChangesPassOn();
    void sourceResetAndNewSource();
    void writesGoToOwningModel();
    void insertRowsReportsSourceFailure();
    void removeJoinTakesOutItsColumns();
};

void TestRyJoinProxyModel::firstMatchingRowWins()
{
    auto *source = table({ "key" }, { { 1 }, { 2 }, { 3 } }, this);
    auto *joined = table({ "key", "name" },
                         { { 2, "first two" }, { 2, "second two" }, { 4, "four" } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    QVERIFY(proxy.addJoin(joined, 0, { 1 }, 0));
    QCOMPARE(proxy.columnCount(), 2);
    QCOMPARE(proxy.rowCount(), 3);
    QVERIFY(!proxy.index(0, 1).data().isValid());
    QCOMPARE(proxy.index(1, 1).data().toString(), QString("first two"));
    QVERIFY(!proxy.index(2, 1).data().isValid());
    QVERIFY(!proxy.mapToSource(proxy.index(0, 1)).isValid());
    QCOMPARE(proxy.mapToSource(proxy.index(1, 1)), joined->index(0, 1));
    QCOMPARE(proxy.mapToSource(proxy.index(2, 0)), source->index(2, 0));
}

void TestRyJoinProxyModel::chainedJoinKey()
{
    // Activities carry a WBS id; the WBS table brings a parent key that keys a third table.
    auto *tasks = table({ "task", "wbs" }, { { 10, 100 }, { 11, 101 }, { 12, 999 } }, this);
    auto *wbs = table({ "wbs", "area" }, { { 100, "A" }, { 101, "B" } }, this);
    auto *areas = table({ "area", "label" }, { { "B", "Bravo" }, { "A", "Alpha" } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(tasks);
    QVERIFY(proxy.addJoin(wbs, 0, { 1 }, 1)); // proxy column 2 = area
    QVERIFY(proxy.addJoin(areas, 0, { 1 }, 2)); // keyed by the joined column
    QCOMPARE(proxy.index(0, 3).data().toString(), QString("Alpha"));
    QCOMPARE(proxy.index(1, 3).data().toString(), QString("Bravo"));
    QVERIFY(!proxy.index(2, 3).data().isValid());
    QCOMPARE(proxy.sourceModelForColumn(3), areas);
    QCOMPARE(proxy.sourceModelForColumn(2), wbs);
    QCOMPARE(proxy.sourceModelForColumn(1), tasks);
    QVERIFY(!proxy.sourceModelForColumn(4));
    QVERIFY(!proxy.sourceModelForColumn(-1));
}

void TestRyJoinProxyModel::columnLayoutAndHeaders()
{
    auto *source = table({ "s0", "s1" }, { { 1, "x" } }, this);
    auto *joined = table({ "j0", "j1", "j2", "j3", "j4", "j5", "j6" },
                         { { 1, 11, 12, 13, 14, 15, 16 } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    QSignalSpy inserted(&proxy, &QAbstractItemModel::columnsInserted);
    QVERIFY(proxy.addJoin(joined, 0, { 5, 6 }, 0));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(proxy.columnCount(), 4);
    QCOMPARE(proxy.index(0, 3).data().toInt(), 16); // s + 1 shows joined column 6
    QCOMPARE(proxy.headerData(3, Qt::Horizontal).toString(), QString("j6"));
    QCOMPARE(proxy.headerData(1, Qt::Horizontal).toString(), QString("s1"));
    QVERIFY(!proxy.headerData(4, Qt::Horizontal).isValid());
    QVERIFY(!proxy.setHeaderData(4, Qt::Horizontal, "none"));
    QVERIFY(proxy.setHeaderData(2, Qt::Horizontal, "renamed"));
    QCOMPARE(joined->headerData(5, Qt::Horizontal).toString(), QString("renamed"));
    QVERIFY(!proxy.index(1, 0).isValid());
    QVERIFY(!proxy.index(0, 4).isValid());

    QVERIFY(proxy.addJoinAll(joined, 0, 0));
    QCOMPARE(proxy.columnCount(), 4 + 7);
    QCOMPARE(proxy.index(0, 10).data().toInt(), 16);
}

void TestRyJoinProxyModel::overrideCells()
{
    auto *source = table({ "key" }, { { 1 }, { 2 } }, this);
    auto *joined = table({ "key", "v" }, { { 2, "two" } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.addJoin(joined, 0, { 1 }, 0);
    QSignalSpy changed(&proxy, &QAbstractItemModel::dataChanged);
    const QModelIndex unmatched = proxy.index(0, 1);
    QVERIFY(proxy.setData(unmatched, "stored", Qt::DisplayRole));
    QCOMPARE(unmatched.data().toString(), QString("stored"));
    QVERIFY(!proxy.setData(unmatched, "other", Qt::UserRole));
    QVERIFY(!unmatched.data(Qt::UserRole).isValid());
    QCOMPARE(changed.count(), 0);
    QCOMPARE(proxy.flags(unmatched), Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    // A matched cell writes through to its model.
    QVERIFY(proxy.setData(proxy.index(1, 1), "TWO"));
    QCOMPARE(joined->index(0, 1).data().toString(), QString("TWO"));
}

void TestRyJoinProxyModel::zeroRowWarning()
{
    // An empty table is an ordinary state: no warning, with or without a source.
    WarningGuard guard;
    auto *source = table({ "key" }, {}, this);
    RyJoinProxyModel proxy;
    proxy.setSourceModel(source);
    QCOMPARE(proxy.rowCount(), 0);
    RyJoinProxyModel empty;
    QCOMPARE(empty.rowCount(), 0);
    QCOMPARE(empty.columnCount(), 0);
    QVERIFY2(guard.warnings().isEmpty(), guard.report());
}

void TestRyJoinProxyModel::nullJoinedModelRefused()
{
    auto *source = table({ "key" }, { { 1 } }, this);
    RyJoinProxyModel proxy;
    proxy.setSourceModel(source);
    QVERIFY(!proxy.addJoin(nullptr, 0, { 0 }, 0));
    QVERIFY(!proxy.addJoinAll(nullptr, 0, 0));
    QCOMPARE(proxy.columnCount(), 1);
    // A null source detaches the proxy, as Qt's proxies do: no source, no joins, no rows.
    proxy.setSourceModel(nullptr);
    QCOMPARE(proxy.sourceModel(), nullptr);
    QCOMPARE(proxy.columnCount(), 0);
    QCOMPARE(proxy.rowCount(), 0);
    source->setData(source->index(0, 0), 2); // the old source no longer reaches it
}

void TestRyJoinProxyModel::keysCompareLikeVariants_data()
{
    QTest::addColumn<QVariantList>("joinedKeys");
    QTest::addColumn<QVariant>("key");
    QTest::newRow("int against text") << QVariantList { "1", "2", 2 } << QVariant(2);
    QTest::newRow("text against int") << QVariantList { 1, 2, "2" } << QVariant("2");
    QTest::newRow("uint against int") << QVariantList { 5u, 2u, 7 } << QVariant(2);
    QTest::newRow("double against int") << QVariantList { 2.5, 2.0, 2 } << QVariant(2);
    QTest::newRow("no fraction match") << QVariantList { "2.0", 3, 2 } << QVariant(2);
    QTest::newRow("date against datetime")
        << QVariantList { QDate(2024, 1, 1), QDateTime(QDate(2024, 1, 2), QTime(0, 0), Qt::UTC) }
        << QVariant(QDate(2024, 1, 2));
    QTest::newRow("texts") << QVariantList { "a", "A1", "a1", "A1" } << QVariant("A1");
    QTest::newRow("null keys match") << QVariantList { 1, QVariant(), 3 } << QVariant();
    QTest::newRow("no match") << QVariantList { 1, 3 } << QVariant(2);
    QTest::newRow("padded text") << QVariantList { "1", " 2", "2" } << QVariant(2);
}

void TestRyJoinProxyModel::keysCompareLikeVariants()
{
    QFETCH(QVariantList, joinedKeys);
    QFETCH(QVariant, key);
    // The hashed lookup must find what a search from the top with QVariant equality finds.
    int expected = -1;
    for (int n = 0; n < joinedKeys.size() && expected < 0; ++n) {
        if (joinedKeys.at(n) == key)
            expected = n;
    }
    RyKeyLookup lookup;
    for (int n = 0; n < joinedKeys.size(); ++n)
        lookup.insert(n, joinedKeys.at(n));
    QCOMPARE(lookup.firstMatch(key), expected);
}

void TestRyJoinProxyModel::lookupMatchesLinearSearch()
{
    // Mixed key types, many duplicates, a table that grows as keys arrive.
    QRandomGenerator random(1234);
    const auto randomValue = [&random]() -> QVariant {
        const int n = int(random.bounded(20));
        switch (random.bounded(9)) {
        case 0:
            return n;
        case 1:
            return QString::number(n);
        case 2:
            return n + 0.5;
        case 3:
            return double(n);
        case 4:
            return QString("k%1").arg(n);
        case 5:
            return QDate(2024, 1, 1 + n);
        case 6:
            return QString("2024-01-%1").arg(1 + n, 2, 10, QChar('0'));
        case 7:
            return QString(" %1").arg(n);
        default:
            return QVariant();
        }
    };
    QVariantList stored;
    RyKeyLookup lookup;
    for (int n = 0; n < 3000; ++n) {
        stored << randomValue();
        lookup.insert(2 * n, stored.last()); // rows need not be contiguous
    }
    for (int probe = 0; probe < 3000; ++probe) {
        const QVariant value = randomValue();
        int expected = -1;
        for (int n = 0; n < stored.size() && expected < 0; ++n) {
            if (stored.at(n) == value)
                expected = 2 * n;
        }
        QCOMPARE(lookup.firstMatch(value), expected);
    }
    lookup.clear();
    QCOMPARE(lookup.firstMatch(1), -1);
}

void TestRyJoinProxyModel::lookupOfWholeNumbers_data()
{
    QTest::addColumn<qint64>("first");
    QTest::addColumn<qint64>("step");
    QTest::newRow("unique IDs counted up") << qint64(1) << qint64(1);
    QTest::newRow("every sixteenth") << qint64(0) << qint64(16);
    QTest::newRow("every 1024th") << qint64(5) << qint64(1024);
    QTest::newRow("negative, counting down") << qint64(-3) << qint64(-1);
    QTest::newRow("beyond 32 bits") << (qint64(1) << 40) << qint64(3);
}

void TestRyJoinProxyModel::lookupOfWholeNumbers()
{
    // Neighbouring whole numbers share a stretch of the table: every one must still be found,
    // in every form QVariant calls equal, and a number between them must not.
    QFETCH(qint64, first);
    QFETCH(qint64, step);
    const int count = 5000;
    RyKeyLookup lookup;
    for (int n = 0; n < count; ++n)
        lookup.insert(n, first + n * step);
    for (int n = 0; n < count; n += 7) {
        const qint64 value = first + n * step;
        QCOMPARE(lookup.firstMatch(value), n);
        QCOMPARE(lookup.firstMatch(double(value)), n);
        QCOMPARE(lookup.firstMatch(QString::number(value)), n);
    }
    QCOMPARE(lookup.firstMatch(first + count * step), -1);
    QCOMPARE(lookup.firstMatch(double(first) + 0.5), -1);
}

void TestRyJoinProxyModel::sourceSortRebuildsMapsAndFollowsRows()
{
    QStandardItemModel source(0, 1);
    for (int key : { 3, 1, 2 })
        source.appendRow(new QStandardItem(QString::number(key)));
    auto *joined
        = table({ "key", "name" }, { { "1", "one" }, { "2", "two" }, { "3", "three" } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(&source);
    proxy.addJoin(joined, 0, { 1 }, 0);
    QVERIFY(proxy.setData(proxy.index(0, 1), "not written")); // matched: goes to joined
    const QPersistentModelIndex three(proxy.index(0, 1));
    QCOMPARE(three.data().toString(), QString("not written"));
    joined->setData(joined->index(2, 1), "three");
    source.sort(0);
    QCOMPARE(proxy.index(0, 1).data().toString(), QString("one"));
    QCOMPARE(proxy.index(2, 1).data().toString(), QString("three"));
    QCOMPARE(three.row(), 2);
    QCOMPARE(three.data().toString(), QString("three"));
}

void TestRyJoinProxyModel::sourceRowChangesPassOn()
{
    auto *source = table({ "key" }, { { 1 }, { 2 }, { 3 } }, this);
    auto *joined = table({ "key", "v" }, { { 1, "a" }, { 2, "b" }, { 3, "c" } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.addJoin(joined, 0, { 1 }, 0);
    proxy.setData(proxy.index(2, 1), "c!");
    QVERIFY(source->insertRows(1, 2));
    QCOMPARE(proxy.rowCount(), 5);
    QVERIFY(!proxy.index(1, 1).data().isValid()); // new rows start unmatched
    QCOMPARE(proxy.index(3, 1).data().toString(), QString("b"));
    source->setData(source->index(1, 0), 3);
    proxy.resetMappings();
    QCOMPARE(proxy.index(1, 1).data().toString(), QString("c!"));
    QVERIFY(source->removeRows(0, 2));
    QCOMPARE(proxy.rowCount(), 3);
    QVERIFY(!proxy.index(0, 1).data().isValid());
    QCOMPARE(proxy.index(1, 1).data().toString(), QString("b"));
}

void TestRyJoinProxyModel::sourceResetAndNewSource()
{
    auto *source = table({ "key" }, { { 1 } }, this);
    auto *joined = table({ "key", "v" }, { { 1, "a" }, { 2, "b" } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.addJoin(joined, 0, { 1 }, 0);
    proxy.setData(proxy.index(0, 0).sibling(0, 1), "x");
    source->setRecords({ QStringList { "key" }, QVariantList { 2 }, QVariantList { 1 } });
    QCOMPARE(proxy.rowCount(), 2);
    QCOMPARE(proxy.index(0, 1).data().toString(), QString("b"));
    QCOMPARE(proxy.index(1, 1).data().toString(), QString("x"));

    auto *other = table({ "k", "l" }, { { 5, 6 } }, this);
    proxy.setSourceModel(other);
    QCOMPARE(proxy.columnCount(), 2); // joins dropped
    QVERIFY(proxy.joins().isEmpty());
    source->setRecords({ QStringList { "key" } }); // old source no longer watched
    QCOMPARE(proxy.rowCount(), 1);
    proxy.addJoinAll(joined, 0, 0);
    proxy._q_clearMapping();
    QCOMPARE(proxy.columnCount(), 2);
}

void TestRyJoinProxyModel::writesGoToOwningModel()
{
    auto *source = table({ "key", "name" }, { { 1, "n" } }, this);
    auto *joined = table({ "key", "v" }, { { 1, "a" } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.addJoin(joined, 0, { 1 }, 0);
    QSignalSpy changed(&proxy, &QAbstractItemModel::dataChanged);
    QVERIFY(proxy.setData(proxy.index(0, 1), "renamed"));
    QCOMPARE(source->index(0, 1).data().toString(), QString("renamed"));
    QCOMPARE(changed.count(), 1); // echoed from the source
    QCOMPARE(changed.at(0).at(0).toModelIndex(), proxy.index(0, 1));
    const QMap<int, QVariant> item = proxy.itemData(proxy.index(0, 2));
    QCOMPARE(item.value(Qt::DisplayRole).toString(), QString("a"));
    QCOMPARE(proxy.buddy(proxy.index(0, 2)), proxy.index(0, 2));
}

void TestRyJoinProxyModel::insertRowsReportsSourceFailure()
{
    auto *source = table({ "key" }, { { 1 } }, this);
    auto *joined = table({ "key" }, { { 1 } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(source);
    proxy.addJoinAll(joined, 0, 0);
    QVERIFY(!proxy.insertRows(5, 1)); // the source refuses
    QCOMPARE(joined->rowCount(), 1);
    QVERIFY(!proxy.insertRows(0, 0));
    QVERIFY(proxy.insertRows(1, 2));
    QCOMPARE(source->rowCount(), 3);
    QCOMPARE(joined->rowCount(), 3);
}

void TestRyJoinProxyModel::removeJoinTakesOutItsColumns()
{
    // Source | wbs (area) | areas keyed on the area | notes: taking out the WBS join leaves
    // the notes where the area was and the areas join without its key.
    auto *tasks = table({ "task", "wbs" }, { { 10, 100 }, { 11, 101 } }, this);
    auto *wbs = table({ "wbs", "area" }, { { 100, "A" }, { 101, "B" } }, this);
    auto *areas = table({ "area", "label" }, { { "A", "Alpha" } }, this);
    auto *notes = table({ "task", "note", "more" }, { { 11, "eleven", "x" } }, this);
    RyJoinProxyModel proxy;
    testerFor(&proxy);
    proxy.setSourceModel(tasks);
    proxy.addJoin(wbs, 0, { 1 }, 1);
    proxy.addJoin(areas, 0, { 1 }, 2);
    proxy.addJoin(notes, 0, { 1, 2 }, 0);
    QVERIFY(proxy.setData(proxy.index(0, 4), "own note"));
    QCOMPARE(proxy.index(0, 3).data().toString(), QString("Alpha"));
    QSignalSpy removed(&proxy, &QAbstractItemModel::columnsRemoved);
    QSignalSpy changed(&proxy, &QAbstractItemModel::dataChanged);

    QVERIFY(proxy.removeJoin(wbs));
    QCOMPARE(removed.count(), 1);
    QCOMPARE(removed.at(0).at(1).toInt(), 2);
    QCOMPARE(removed.at(0).at(2).toInt(), 2);
    QCOMPARE(proxy.columnCount(), 5);
    QCOMPARE(proxy.joins().size(), 2);
    QVERIFY(!proxy.index(0, 2).data().isValid()); // the areas join lost its key
    QCOMPARE(changed.count(), 1);
    QCOMPARE(proxy.sourceModelForColumn(2), areas);
    QCOMPARE(proxy.index(0, 3).data().toString(), QString("own note"));
    QCOMPARE(proxy.index(1, 3).data().toString(), QString("eleven"));
    QCOMPARE(proxy.headerData(4, Qt::Horizontal).toString(), QString("more"));

    QVERIFY(!proxy.removeJoin(wbs));
    QVERIFY(proxy.removeJoin(notes));
    QCOMPARE(proxy.columnCount(), 3);
    QVERIFY(!proxy.index(0, 3).isValid());
    // A join whose model is gone is taken out by nullptr.
    delete areas;
    QVERIFY(proxy.removeJoin(nullptr));
    QCOMPARE(proxy.columnCount(), 2);
    QVERIFY(proxy.joins().isEmpty());
}

QTEST_MAIN(TestRyJoinProxyModel)
#include "tst_ryjoinproxymodel.moc"
