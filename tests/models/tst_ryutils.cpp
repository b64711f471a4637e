#include "models/rypredecessortext.h"
#include "models/rystyletext.h"
#include "models/rytextfile.h"
#include "models/ryutils.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>

using namespace RyUtils;

namespace {

QStandardItemModel *modelWithHeaders(const QStringList &headers, QObject *parent)
{
    auto *model = new QStandardItemModel(0, headers.size(), parent);
    model->setHorizontalHeaderLabels(headers);
    return model;
}

QList<QStandardItem *> rowOf(const QVariantList &values)
{
    QList<QStandardItem *> items;
    for (const QVariant &v : values) {
        auto *item = new QStandardItem;
        item->setData(v, Qt::DisplayRole);
        items << item;
    }
    return items;
}

} // namespace

class TestRyUtils : public QObject
{
    Q_OBJECT

private slots:
    void findColumnFirstMatch();
    void findSectionByRole();
    void verticalLookupFindsChildRow();
    void verticalLookupWarnsOnBadColumns();
    void firstVisibleColumnAndDepth();
    void flattenPreOrder();
    void headerStateRoundTrip();
    void headerStateIgnoresMalformedEntries();
    void applyColumnOrderShowsNamedOnly();
    void fontText_data();
    void fontText();
    void fontFromText_data();
    void fontFromText();
    void colorText_data();
    void colorText();
    void readTextFile();
    void rollUps();
    void predecessorDetail_data();
    void predecessorDetail();
    void predecessorTexts();
};

void TestRyUtils::findColumnFirstMatch()
{
    auto *model = modelWithHeaders({ "A", "Name", "Name", "B" }, this);
    QCOMPARE(findColumn(model, "Name"), 1);
    QCOMPARE(findColumn(model, "name"), -1);
    QCOMPARE(findColumn(nullptr, "Name"), -1);
}

void TestRyUtils::findSectionByRole()
{
    auto *model = modelWithHeaders({ "A", "B", "C" }, this);
    model->setHeaderData(1, Qt::Horizontal, "rsrc_type", Qt::UserRole);
    model->setHeaderData(2, Qt::Horizontal, "rsrc_type", Qt::UserRole);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    QCOMPARE(findSection(&header, "rsrc_type", Qt::UserRole), 1);
    QCOMPARE(findSection(&header, "rsrc_name", Qt::UserRole), -1);
    QCOMPARE(findSection(&header, "C", Qt::DisplayRole), 2);
}

void TestRyUtils::verticalLookupFindsChildRow()
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

void TestRyUtils::verticalLookupWarnsOnBadColumns()
{
    QStandardItemModel model(1, 2);
    QTest::ignoreMessage(QtWarningMsg, "Invalid return column passed to verticalLookup");
    QVERIFY(!verticalLookup(1, &model, 2, 0).isValid());
    QTest::ignoreMessage(QtWarningMsg, "Invalid lookup column passed to verticalLookup");
    QVERIFY(!verticalLookup(1, &model, 0, -1).isValid());
}

void TestRyUtils::firstVisibleColumnAndDepth()
{
    auto *model = modelWithHeaders({ "A", "B", "C" }, this);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    header.moveSection(2, 0);
    QCOMPARE(firstVisibleColumn(&header), 2);
    header.hideSection(2);
    QCOMPARE(firstVisibleColumn(&header), 0);
    header.hideSection(0);
    header.hideSection(1);
    QCOMPARE(firstVisibleColumn(&header), -1);

    QStandardItemModel tree;
    tree.appendRow(new QStandardItem("a"));
    tree.item(0)->appendRow(new QStandardItem("b"));
    tree.item(0)->child(0)->appendRow(new QStandardItem("c"));
    QCOMPARE(indexDepth(tree.index(0, 0)), 0);
    QCOMPARE(indexDepth(tree.item(0)->child(0)->child(0)->index()), 2);
    QCOMPARE(indexDepth(QModelIndex()), 0);
}

void TestRyUtils::flattenPreOrder()
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

void TestRyUtils::headerStateRoundTrip()
{
    auto *model = modelWithHeaders({ "A", "B", "C", "D" }, this);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    header.resizeSection(0, 40);
    header.resizeSection(2, 70);
    header.resizeSection(3, 90);
    header.moveSection(3, 0); // D A B C
    header.hideSection(1);
    const QStringList state = saveHeaderState(&header);
    QCOMPARE(state, QStringList({ "D:90", "A:40", "C:70" }));
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "D", "A", "C" }));

    QHeaderView other(Qt::Horizontal);
    other.setModel(model);
    restoreHeaderState(&other, state);
    QCOMPARE(saveHeaderState(&other), state);
    QVERIFY(other.isSectionHidden(1));
}

void TestRyUtils::headerStateIgnoresMalformedEntries()
{
    auto *model = modelWithHeaders({ "Name", "B", "C" }, this);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    header.resizeSection(2, 55);
    // Nothing usable: the columns stay as they are.
    restoreHeaderState(&header, { "Name", "Name:1:2", "Unknown:20" });
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "Name", "B", "C" }));

    restoreHeaderState(&header, { "Name", "C:x", "Unknown:20", "B:130", "Name:0" });
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "B", "Name" }));
    QCOMPARE(header.sectionSize(2), 55);
    QVERIFY(header.sectionSize(0) > 0);
    QCOMPARE(header.sectionSize(1), 130);

    restoreHeaderState(&header, {}); // empty list changes nothing
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "B", "Name" }));
}

void TestRyUtils::applyColumnOrderShowsNamedOnly()
{
    auto *model = modelWithHeaders({ "A", "B", "C", "D" }, this);
    QHeaderView header(Qt::Horizontal);
    header.setModel(model);
    applyColumnOrder(&header, { "C", "nope", "A" });
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "A" }));
    applyColumnOrder(&header, {});
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "A" }));
    applyColumnOrder(&header, { "nope" }); // no match: unchanged, like an empty list
    QCOMPARE(visibleHeaderTexts(&header), QStringList({ "C", "A" }));

    QHeaderView rows(Qt::Vertical);
    rows.setModel(model);
    setFixedSectionSize(&rows, 12);
    QCOMPARE(rows.sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(rows.defaultSectionSize(), 12);
}

void TestRyUtils::fontText_data()
{
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<int>("weight");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << false << false << 50 << "Arial:";
    QTest::newRow("italic bold") << true << false << 75 << "Arial:ib";
    QTest::newRow("underlined bold") << false << true << 75 << "Arial:ub";
    QTest::newRow("demibold counts") << false << false << 63 << "Arial:b";
    QTest::newRow("medium is not bold") << false << false << 57 << "Arial:";
    QTest::newRow("all") << true << true << 87 << "Arial:iub";
}

void TestRyUtils::fontText()
{
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(int, weight);
    QFETCH(QString, text);
    QFont font("Arial");
    font.setItalic(italic);
    font.setUnderline(underline);
    font.setWeight(weight);
    QCOMPARE(fontToText(font), text);
}

void TestRyUtils::fontFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<int>("weight");
    QTest::newRow("plain") << "Arial:"
                           << "Arial" << false << false << 50;
    QTest::newRow("bold underlined") << "Arial:ub"
                                     << "Arial" << false << true << 75;
    QTest::newRow("any order") << "Tahoma:bi"
                               << "Tahoma" << true << false << 75;
    QTest::newRow("no colon") << "Tahoma"
                              << "Tahoma" << false << false << 50;
}

void TestRyUtils::fontFromText()
{
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(int, weight);
    const QFont font = RyStyleText::fontFromText(text);
    QCOMPARE(font.family(), family);
    QCOMPARE(font.italic(), italic);
    QCOMPARE(font.underline(), underline);
    QCOMPARE(font.weight(), weight);
}

void TestRyUtils::colorText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QColor>("color");
    QTest::newRow("components") << "r10g20b30a40" << true << QColor(10, 20, 30, 40);
    QTest::newRow("opaque red") << "r255g0b0a255" << true << QColor(255, 0, 0, 255);
    QTest::newRow("three numbers") << "r1g2b3" << false << QColor();
    QTest::newRow("out of range") << "r256g0b0a255" << false << QColor();
    QTest::newRow("not a number") << "rXg0b0a255" << false << QColor();
    QTest::newRow("empty") << "" << false << QColor();
}

void TestRyUtils::colorText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QColor, color);
    const QBrush brush = colorFromText(text);
    if (!valid) {
        QCOMPARE(brush.style(), Qt::NoBrush);
        return;
    }
    QCOMPARE(brush.style(), Qt::SolidPattern);
    QCOMPARE(brush.color(), color);
    QCOMPARE(colorToText(color), text);
}

void TestRyUtils::readTextFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.txt");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString::fromUtf8("Gr\xc3\xbc\xc3\x9f\x65\n").toUtf8());
    file.close();
    QCOMPARE(RyTextFile::readTextFile(path), QString::fromUtf8("Gr\xc3\xbc\xc3\x9f\x65\n"));
    QCOMPARE(RyTextFile::readTextFile(dir.filePath("missing")), QString());
}

void TestRyUtils::rollUps()
{
    // a(b(c, d), e) with dates in column 1; b gets the extreme of c and d, a of b and e.
    QStandardItemModel tree(0, 2);
    tree.appendRow(rowOf({ "a", QVariant() }));
    QStandardItem *a = tree.item(0);
    a->appendRow(rowOf({ "b", QVariant() }));
    a->appendRow(rowOf({ "e", QDate(2024, 1, 10) }));
    a->child(0)->appendRow(rowOf({ "c", QDate(2024, 1, 5) }));
    a->child(0)->appendRow(rowOf({ "d", QVariant() }));
    a->child(0)->appendRow(rowOf({ "f", QDate(2024, 2, 1) }));
    tree.appendRow(rowOf({ "g", QDate(2020, 1, 1) }));

    rollUpMin(&tree, 1, Qt::DisplayRole);
    QCOMPARE(a->child(0, 1)->data(Qt::DisplayRole).toDate(), QDate(2024, 1, 5));
    QCOMPARE(tree.item(0, 1)->data(Qt::DisplayRole).toDate(), QDate(2024, 1, 5));
    QCOMPARE(tree.item(1, 1)->data(Qt::DisplayRole).toDate(), QDate(2020, 1, 1)); // leaf untouched
    QVERIFY(a->child(0)->child(1, 1)->data(Qt::DisplayRole).isNull());

    rollUpMax(&tree, 1, Qt::DisplayRole);
    QCOMPARE(a->child(0, 1)->data(Qt::DisplayRole).toDate(), QDate(2024, 2, 1));
    QCOMPARE(tree.item(0, 1)->data(Qt::DisplayRole).toDate(), QDate(2024, 2, 1));
}

void TestRyUtils::predecessorDetail_data()
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

void TestRyUtils::predecessorDetail()
{
    QFETCH(QString, type);
    QFETCH(QVariant, lag);
    QFETCH(QString, detail);
    QCOMPARE(RyPredecessorText::predecessorDetail(type, lag), detail);
}

void TestRyUtils::predecessorTexts()
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

QTEST_MAIN(TestRyUtils)
#include "tst_ryutils.moc"
