#include "models/ryrecordsetmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

class TestRyRecordSetModel : public QObject
{
    Q_OBJECT

private slots:
    void headerOnlyList();
    void mapsGiveSortedColumns();
    void listRecordsAfterHeader();
    void emptyListChangesNothing();
    void cellsBeyondHeaderHaveNoValue();
    void insertRowsOnEmptyModel();
    void rejectsOutOfRangeChanges();
    void setDataStoresAndNotifies();
    void headerBeyondLastSectionAddsColumns();
    void columnInsertAndRemoveShiftCells();
    void testerOverEdits();
};

void TestRyRecordSetModel::headerOnlyList()
{
    RyRecordSetModel model;
    const QStringList names { "Activity ID", "Activity Name", "Start", "Finish", "WBS" };
    model.setRecords({ names });
    QCOMPARE(model.columnCount(), 5);
    QCOMPARE(model.rowCount(), 0);
    for (int c = 0; c < names.size(); ++c)
        QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), names.at(c));
    QVERIFY(!model.headerData(0, Qt::Vertical).isValid());
}

void TestRyRecordSetModel::mapsGiveSortedColumns()
{
    RyRecordSetModel model;
    model.setRecords({ QVariantMap { { "b", 1 }, { "a", 2 } }, QVariantMap { { "a", 3 } } });
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("a"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("b"));
    QCOMPARE(model.rowCount(), 2); // the first map is a record too
    QCOMPARE(model.index(0, 0).data().toInt(), 2);
    QCOMPARE(model.index(0, 1).data().toInt(), 1);
    QCOMPARE(model.index(1, 0).data().toInt(), 3);
    QVERIFY(!model.index(1, 1).data().isValid());
}

void TestRyRecordSetModel::listRecordsAfterHeader()
{
    RyRecordSetModel model;
    model.setRecords({ QStringList { "x", "y" }, QVariantList { 1, "one" }, QVariantList { 2 } });
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 1).data().toString(), QString("one"));
    QCOMPARE(model.index(1, 0).data().toInt(), 2);
    QVERIFY(!model.index(1, 1).data().isValid());
    // Loading again replaces everything.
    model.setRecords({ QStringList { "z" } });
    QCOMPARE(model.columnCount(), 1);
    QCOMPARE(model.rowCount(), 0);
}

void TestRyRecordSetModel::emptyListChangesNothing()
{
    RyRecordSetModel model;
    model.setRecords({ QStringList { "x" }, QVariantList { 1 } });
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    model.setRecords({});
    QCOMPARE(reset.count(), 0);
    QCOMPARE(model.rowCount(), 1);
}

void TestRyRecordSetModel::cellsBeyondHeaderHaveNoValue()
{
    RyRecordSetModel model;
    model.setRecords({ QStringList { "x" }, QVariantList { 1, 2, 3 } });
    QCOMPARE(model.columnCount(), 1);
    QVERIFY(!model.index(0, 2).isValid());
    QVERIFY(!model.data(model.index(0, 0).sibling(0, 2)).isValid());
    // Adding a column reveals nothing stale either: the new column starts empty.
    QVERIFY(model.insertColumns(1, 1));
    QCOMPARE(model.columnCount(), 2);
    QVERIFY(!model.index(0, 1).data().isValid());
    QVERIFY(model.setHeaderData(2, Qt::Horizontal, "z"));
    QVERIFY(!model.index(0, 2).data().isValid());
}

void TestRyRecordSetModel::insertRowsOnEmptyModel()
{
    RyRecordSetModel model;
    model.setRecords({ QStringList { "a", "b" } });
    QVERIFY(model.insertRows(0, 2));
    QCOMPARE(model.rowCount(), 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 2; ++c)
            QVERIFY(!model.index(r, c).data().isValid());
    QCOMPARE(model.flags(model.index(0, 0)),
             Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsEnabled);
}

void TestRyRecordSetModel::rejectsOutOfRangeChanges()
{
    RyRecordSetModel model;
    model.setRecords({ QStringList { "a" }, QVariantList { 1 } });
    QVERIFY(!model.insertRows(-1, 1));
    QVERIFY(!model.insertRows(2, 1));
    QVERIFY(!model.insertRows(0, 0));
    QVERIFY(!model.removeRows(0, 2));
    QVERIFY(!model.removeRows(-1, 1));
    QVERIFY(!model.insertColumns(2, 1));
    QVERIFY(!model.removeColumns(0, 2));
    QVERIFY(!model.setData(QModelIndex(), 1));
    QVERIFY(!model.setHeaderData(0, Qt::Vertical, "v"));
    QVERIFY(!model.setHeaderData(-1, Qt::Horizontal, "v"));
    QVERIFY(model.removeRows(0, 1));
    QCOMPARE(model.rowCount(), 0);
}

void TestRyRecordSetModel::setDataStoresAndNotifies()
{
    RyRecordSetModel model;
    model.setRecords({ QStringList { "a", "b" }, QVariantList { 1, 2 } });
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const QModelIndex cell = model.index(0, 1);
    QVERIFY(model.setData(cell, "edited", Qt::EditRole));
    QCOMPARE(cell.data(Qt::DisplayRole).toString(), QString("edited"));
    QVERIFY(model.setData(cell, 42, Qt::UserRole));
    QCOMPARE(cell.data(Qt::UserRole).toInt(), 42);
    QCOMPARE(cell.data(Qt::DisplayRole).toString(), QString("edited"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), cell);
    QCOMPARE(changed.at(0).at(1).toModelIndex(), cell);
}

void TestRyRecordSetModel::headerBeyondLastSectionAddsColumns()
{
    RyRecordSetModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&model, &QAbstractItemModel::columnsInserted);
    QVERIFY(model.setHeaderData(2, Qt::Horizontal, "Third"));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QString("Third"));
    QVERIFY(!model.headerData(0, Qt::Horizontal).isValid());
    QVERIFY(model.setHeaderData(0, Qt::Horizontal, "First"));
    QCOMPARE(model.columnCount(), 3);
}

void TestRyRecordSetModel::columnInsertAndRemoveShiftCells()
{
    RyRecordSetModel model;
    model.setRecords({ QStringList { "a", "b", "c" }, QVariantList { 1, 2, 3 } });
    QVERIFY(model.insertColumns(1, 2));
    QCOMPARE(model.columnCount(), 5);
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QString("b"));
    QCOMPARE(model.index(0, 3).data().toInt(), 2);
    QVERIFY(!model.index(0, 1).data().isValid());
    QVERIFY(model.removeColumns(0, 2));
    QCOMPARE(model.columnCount(), 3);
    QVERIFY(!model.headerData(0, Qt::Horizontal).isValid());
    QCOMPARE(model.index(0, 1).data().toInt(), 2);
    QCOMPARE(model.index(0, 2).data().toInt(), 3);
}

void TestRyRecordSetModel::testerOverEdits()
{
    RyRecordSetModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRecords({ QStringList { "a", "b" }, QVariantList { 1, 2 }, QVariantList { 3, 4 } });
    QVERIFY(model.insertRows(1, 3));
    QVERIFY(model.setData(model.index(2, 0), "x"));
    QVERIFY(model.removeRows(0, 2));
    QVERIFY(model.insertColumns(0, 1));
    QVERIFY(model.removeColumns(1, 2));
    model.setRecords({ QVariantMap { { "k", 1 } } });
    QCOMPARE(model.rowCount(), 1);
}

QTEST_MAIN(TestRyRecordSetModel)
#include "tst_ryrecordsetmodel.moc"
