#include "models/maphdrmodel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

class TestMapHdrModel : public QObject
{
    Q_OBJECT

private slots:
    void renamesHorizontalDisplayHeaders();
};

void TestMapHdrModel::renamesHorizontalDisplayHeaders()
{
    QStandardItemModel source(2, 4);
    source.setHorizontalHeaderLabels({ "Activity ID", "Activity Name", "Lag", "Activity Name" });
    source.setHeaderData(1, Qt::Horizontal, "task_name", Qt::UserRole);
    source.setVerticalHeaderLabels({ "Activity Name", "2" });
    MapHdrModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&source);
    QSignalSpy headers(&proxy, &QAbstractItemModel::headerDataChanged);
    proxy.setHeaderMapping("Activity Name", "Successor Name");
    proxy.setHeaderMapping("Activity Name", "Predecessor Name"); // the later pair wins
    QCOMPARE(headers.count(), 2);
    QCOMPARE(proxy.headerData(1, Qt::Horizontal).toString(), QString("Predecessor Name"));
    QCOMPARE(proxy.headerData(3, Qt::Horizontal).toString(), QString("Predecessor Name"));
    QCOMPARE(proxy.headerData(1, Qt::Horizontal, Qt::UserRole).toString(), QString("task_name"));
    QCOMPARE(proxy.headerData(0, Qt::Vertical).toString(), QString("Activity Name"));
    QCOMPARE(proxy.headerData(2, Qt::Horizontal).toString(), QString("Lag"));
    QCOMPARE(source.headerData(1, Qt::Horizontal).toString(), QString("Activity Name"));
    QCOMPARE(proxy.rowCount(), 2);
}

QTEST_MAIN(TestMapHdrModel)
#include "tst_maphdrmodel.moc"
