#include "models/rypredecessortext.h"

#include "standardrows.h"

#include <QStandardItemModel>
#include <QTest>

class TestRyPredecessorText : public QObject
{
    Q_OBJECT

private slots:
    void predecessorDetail_data();
    void predecessorDetail();
    void predecessorTexts();
};

void TestRyPredecessorText::predecessorDetail_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QVariant>("lag");
    QTest::addColumn<QString>("detail");
    QTest::newRow("no lag") << "PR_SS" << QVariant(0) << "SS";
    QTest::newRow("negative integer") << "PR_SS" << QVariant(-2) << "SS-2h";
    QTest::newRow("one day") << "PR_FS" << QVariant(8.0) << "FS+8h";
    QTest::newRow("minus half hour") << "PR_SS" << QVariant(-0.5) << "SS-0.5h";
    QTest::newRow("two decimals") << "PR_FF" << QVariant(1.257) << "FF+1.26h";
    QTest::newRow("rounds to nothing") << "PR_FF" << QVariant(0.001) << "FF";
    QTest::newRow("no value") << "PR_SF" << QVariant() << "SF";
    QTest::newRow("no prefix") << "FS" << QVariant(3) << "FS+3h";
}

void TestRyPredecessorText::predecessorDetail()
{
    QFETCH(QString, type);
    QFETCH(QVariant, lag);
    QFETCH(QString, detail);
    QCOMPARE(RyPredecessorText::predecessorDetail(type, lag), detail);
}

void TestRyPredecessorText::predecessorTexts()
{
    QStandardItemModel model(0, 5);
    model.setHorizontalHeaderLabels({ "task_id", "Type", "Lag", "Predecessor", "Name" });
    model.appendRow(rowOf({ 10, "PR_FS", 8.0, "A100", "x" }));
    model.appendRow(rowOf({ 10, "PR_SS", -2, "A200", "y" }));
    model.appendRow(rowOf({ 10, "PR_FF", 0, "A100", "z" })); // replaces the first pair
    model.appendRow(rowOf({ 11, "PR_FS", 0, "", "empty key" }));
    model.appendRow(rowOf({ 12, "", 0, "A1", "empty type" }));
    const auto texts = RyPredecessorText::predecessorTexts(&model);
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts.value(10).value("A100"), QString("FF"));
    QCOMPARE(texts.value(10).value("A200"), QString("SS-2h"));
    QVERIFY(RyPredecessorText::predecessorTexts(nullptr).isEmpty());
}

QTEST_MAIN(TestRyPredecessorText)
#include "tst_rypredecessortext.moc"
