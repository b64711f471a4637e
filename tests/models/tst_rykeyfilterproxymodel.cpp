#include "models/rykeyfilterproxymodel.h"

#include <QAbstractItemModelTester>
#include <QStandardItemModel>
#include <QTest>

class TestRyKeyFilterProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void keepsRowsOfTheKey_data();
    void keepsRowsOfTheKey();
    void followsSourceChanges();
    void showsNoRowsWithoutReading();
};

namespace {

// Key column 1; column 0 numbers the rows.
void fill(QStandardItemModel &model, const QStringList &keys)
{
    model.clear();
    for (int row = 0; row < keys.size(); ++row)
        model.appendRow(
            { new QStandardItem(QString::number(row)), new QStandardItem(keys.at(row)) });
}

// Counts the cells read, to tell a filter that reads every key from one that reads none.
class CountingModel : public QStandardItemModel
{
public:
    QVariant data(const QModelIndex &index, int role) const override
    {
        ++reads;
        return QStandardItemModel::data(index, role);
    }
    mutable int reads = 0;
};

QString shownRows(const QAbstractItemModel &proxy)
{
    QStringList rows;
    for (int row = 0; row < proxy.rowCount(); ++row)
        rows << proxy.index(row, 0).data().toString();
    return rows.join(QLatin1Char(','));
}

} // namespace

void TestRyKeyFilterProxyModel::keepsRowsOfTheKey_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("rows");
    QTest::newRow("whole keys only") << "1"
                                     << "0,3";
    QTest::newRow("letter case aside") << "a.b"
                                       << "2,4";
    QTest::newRow("no such key") << "-1"
                                 << "";
    QTest::newRow("pattern characters are plain") << "."
                                                  << "";
    QTest::newRow("empty key matches empty cells") << ""
                                                   << "5";
}

void TestRyKeyFilterProxyModel::keepsRowsOfTheKey()
{
    QFETCH(QString, key);
    QFETCH(QString, rows);
    QStandardItemModel source;
    fill(source, { "1", "12", "A.B", "1", "a.b", "" });
    RyKeyFilterProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setFilterKeyColumn(1);
    proxy.setSourceModel(&source);
    QCOMPARE(proxy.rowCount(), 6); // no key yet: everything
    proxy.setKey(QStringLiteral("12"));
    QCOMPARE(shownRows(proxy), QString("1"));
    proxy.setKey(key);
    QCOMPARE(shownRows(proxy), rows);
}

void TestRyKeyFilterProxyModel::followsSourceChanges()
{
    QStandardItemModel source;
    fill(source, { "7", "8", "7" });
    RyKeyFilterProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setFilterKeyColumn(1);
    proxy.setSourceModel(&source);
    proxy.setKey(QStringLiteral("7"));
    QCOMPARE(shownRows(proxy), QString("0,2"));
    source.setData(source.index(1, 1), QStringLiteral("7"));
    QCOMPARE(shownRows(proxy), QString("0,1,2"));
    source.setData(source.index(0, 1), QStringLiteral("9"));
    QCOMPARE(shownRows(proxy), QString("1,2"));
    source.insertRow(0, { new QStandardItem("new"), new QStandardItem("7") });
    QCOMPARE(shownRows(proxy), QString("new,1,2"));
    source.removeRows(1, 2);
    QCOMPARE(shownRows(proxy), QString("new,2"));
    fill(source, { "7", "6" }); // a reset
    QCOMPARE(shownRows(proxy), QString("0"));
    QStandardItemModel other;
    fill(other, { "5", "7", "7" });
    proxy.setSourceModel(&other); // the key stays
    QCOMPARE(shownRows(proxy), QString("1,2"));
}

void TestRyKeyFilterProxyModel::showsNoRowsWithoutReading()
{
    CountingModel source;
    fill(source, { "1", "2", "1" });
    RyKeyFilterProxyModel proxy;
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setFilterKeyColumn(1);
    proxy.showNoRows();
    proxy.setSourceModel(&source);
    source.reads = 0;
    QCOMPARE(proxy.rowCount(), 0);
    QCOMPARE(source.reads, 0);
    proxy.setKey(QStringLiteral("1"));
    QCOMPARE(shownRows(proxy), QString("0,2"));
    proxy.showNoRows();
    QCOMPARE(proxy.rowCount(), 0);
    // The same key again shows its rows again.
    proxy.setKey(QStringLiteral("1"));
    QCOMPARE(shownRows(proxy), QString("0,2"));
}

QTEST_MAIN(TestRyKeyFilterProxyModel)
#include "tst_rykeyfilterproxymodel.moc"
