#include "filter/ryfilterdialogproxymodel.h"
#include "filter/ryfilterproxymodel.h"
#include "models/ryconstants.h"

#include <QAbstractItemModelTester>
#include <QStandardItemModel>
#include <QtTest>

namespace {

// Columns of the test table, with the datatype the header announces.
enum Column { Id, Name, Float, Start, Duration, Code, Spare6, Spare7, Weight, ColumnCount };

const char *const columnTypes[ColumnCount] = { "string", "string", "double", "datetime", "integer",
                                               "string", "string", "string", "integer" };

struct Row
{
    QString id;
    QString name;
    QString floatText;
    QDateTime start;
    int duration;
    QString code;
    int weight;
};

QList<QStandardItem *> makeRow(const Row &row)
{
    QList<QStandardItem *> items;
    for (int c = 0; c < ColumnCount; ++c)
        items.append(new QStandardItem);
    items[Id]->setData(row.id, Qt::DisplayRole);
    items[Name]->setData(row.name, Qt::DisplayRole);
    if (!row.floatText.isEmpty())
        items[Float]->setData(row.floatText, Qt::DisplayRole);
    if (row.start.isValid())
        items[Start]->setData(row.start, Qt::DisplayRole);
    items[Duration]->setData(row.duration, Qt::DisplayRole);
    items[Code]->setData(row.code, Qt::DisplayRole);
    items[Weight]->setData(row.weight, Qt::DisplayRole);
    return items;
}

QDateTime at(int day, int hour = 8)
{
    return QDateTime(QDate(2021, 3, day), QTime(hour, 0), Qt::UTC);
}

// WBS A: a1, a2; WBS B: WBS B1: b1, b2; activity c at the top.
void fillTree(QStandardItemModel &model)
{
    model.setColumnCount(ColumnCount);
    for (int c = 0; c < ColumnCount; ++c) {
        model.setHeaderData(c, Qt::Horizontal, QStringLiteral("col%1").arg(c));
        model.setHeaderData(c, Qt::Horizontal,
                            QVariantMap { { "datatype", QString::fromLatin1(columnTypes[c]) } },
                            Ry::ColumnDescriptionRole);
    }
    QList<QStandardItem *> wbsA = makeRow({ "A", "Design", "", {}, 0, "W", 0 });
    wbsA[0]->appendRow(makeRow({ "a1", "Sketch", "1,5", at(1), 10, "X", 3 }));
    wbsA[0]->appendRow(makeRow({ "a2", "Review", "0,5", at(2), 20, "Y", 4 }));
    model.appendRow(wbsA);

    QList<QStandardItem *> wbsB = makeRow({ "B", "Build", "", {}, 0, "W", 0 });
    QList<QStandardItem *> wbsB1 = makeRow({ "B1", "Walls", "", {}, 0, "W", 0 });
    wbsB1[0]->appendRow(makeRow({ "b1", "Bricks", "7", at(5, 23), 30, "X", 12 }));
    wbsB1[0]->appendRow(makeRow({ "b2", "Mortar", "-6", at(6), 40, "Z", 5 }));
    wbsB[0]->appendRow(wbsB1);
    model.appendRow(wbsB);

    model.appendRow(makeRow({ "c", "Handover", "0", at(9), 50, "Y", 6 }));
}

// The ids of the shown rows, depth first, children in brackets: "A(a1,a2),B(B1(b1)),c".
QString shown(const QAbstractItemModel &model, const QModelIndex &parent = QModelIndex())
{
    QStringList parts;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, Id, parent);
        QString text = index.data().toString();
        if (model.rowCount(index) > 0)
            text += "(" + shown(model, index) + ")";
        parts << text;
    }
    return parts.join(',');
}

} // namespace

class TestRyFilterDialogProxyModel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noFiltersAcceptAll();
    void valueLists_data();
    void valueLists();
    void conditions_data();
    void conditions();
    void filtersOnDifferentColumnsAllApply();
    void lastChoiceOnAColumnReplacesTheOther_data();
    void lastChoiceOnAColumnReplacesTheOther();
    void blanksEntryAcceptsEmptyCells();
    void sortingFollowsTheValueOrder();
    void clearFilterRemovesBothKinds();
    void replacingAndClearingConditions();
    void settingsRoundTrip();
    void settingsRestoreRules();
    void settingsWithEscapedValues();
    void filtersOnMissingColumnsFilterNothing();
    void filtersFollowInsertedAndRemovedColumns();

    void searchProxyKeepsSelectAll();

private:
    QStandardItemModel *m_source = nullptr;
    RyFilterDialogProxyModel *m_proxy = nullptr;
    QAbstractItemModelTester *m_tester = nullptr;
};

void TestRyFilterDialogProxyModel::init()
{
    m_source = new QStandardItemModel;
    fillTree(*m_source);
    m_proxy = new RyFilterDialogProxyModel;
    m_proxy->setSourceModel(m_source);
    m_tester = new QAbstractItemModelTester(m_proxy,
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestRyFilterDialogProxyModel::cleanup()
{
    delete m_tester;
    delete m_proxy;
    delete m_source;
}

void TestRyFilterDialogProxyModel::noFiltersAcceptAll()
{
    QCOMPARE(shown(*m_proxy), QStringLiteral("A(a1,a2),B(B1(b1,b2)),c"));
    QVERIFY(m_proxy->valueFilters().isEmpty());
    QVERIFY(m_proxy->expressionFilters().empty());
}

void TestRyFilterDialogProxyModel::valueLists_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("expected");

    QTest::newRow("unknown texts hide everything")
        << int(Code) << QVariantList({ "nothing", "!_!_#£@*'€%&!_+?$§" }) << "";
    QTest::newRow("one passing activity keeps its WBS alone")
        << int(Code) << QVariantList({ "Z" }) << "B(B1(b2))";
    QTest::newRow("WBS with all activities failing is hidden")
        << int(Code) << QVariantList({ "Y" }) << "A(a2),c";
    QTest::newRow("a parent row passing itself stays without children")
        << int(Code) << QVariantList({ "W" }) << "A,B(B1)";
    QTest::newRow("numbers compare as display texts")
        << int(Duration) << QVariantList({ "20", 50 }) << "A(a2),c";
    QTest::newRow("date cells compare as their text")
        << int(Start) << QVariantList({ QVariant(at(5, 23)), at(9).toString(Qt::ISODateWithMs) })
        << "B(B1(b1)),c";
}

void TestRyFilterDialogProxyModel::valueLists()
{
    QFETCH(int, column);
    QFETCH(QVariantList, values);
    QFETCH(QString, expected);
    m_proxy->setValueFilter(column, values);
    QCOMPARE(shown(*m_proxy), expected);
    QVERIFY(m_proxy->isColumnFiltered(column));
    m_proxy->clearAllFilters();
    QCOMPARE(shown(*m_proxy), QStringLiteral("A(a1,a2),B(B1(b1,b2)),c"));
}

void TestRyFilterDialogProxyModel::conditions_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    // WBS rows carry no float value, so they never pass by themselves.
    QTest::newRow("comma decimals") << int(Float) << ">;1"
                                    << "A(a1),B(B1(b1))";
    QTest::newRow("OR") << int(Float) << ">;5;OR;<;-5"
                        << "B(B1(b1,b2))";
    QTest::newRow("AND") << int(Float) << ">;0;AND;<;1"
                         << "A(a2)";
    QTest::newRow("date after ignores the time") << int(Start) << ">;2021-03-05"
                                                 << "B(B1(b2)),c";
    QTest::newRow("date equals ignores the time") << int(Start) << "=;2021-03-05"
                                                  << "B(B1(b1))";
    QTest::newRow("integer") << int(Duration) << ">=;40"
                             << "B(B1(b2)),c";
    QTest::newRow("text begins with ignores case") << int(Name) << "begins with;b"
                                                   << "B(B1(b1))";
    QTest::newRow("unknown operator rejects") << int(Name) << "~;x"
                                              << "";
}

void TestRyFilterDialogProxyModel::conditions()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    if (text.startsWith('~'))
        QTest::ignoreMessage(QtWarningMsg, "RyExpression::acceptExpression: unknown operator");
    m_proxy->setExpressionFilter(column, RyExpression::fromText(text));
    QCOMPARE(shown(*m_proxy), expected);
}

void TestRyFilterDialogProxyModel::filtersOnDifferentColumnsAllApply()
{
    m_proxy->setExpressionFilter(Weight, RyExpression::fromText(">;4"));
    m_proxy->setValueFilter(Code, { "X", "Y" });
    QCOMPARE(shown(*m_proxy), QStringLiteral("B(B1(b1)),c"));
    m_proxy->clearFilter(Code);
    QCOMPARE(shown(*m_proxy), QStringLiteral("B(B1(b1,b2)),c"));
}

void TestRyFilterDialogProxyModel::lastChoiceOnAColumnReplacesTheOther_data()
{
    QTest::addColumn<bool>("listLast");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QVariantMap>("settings");
    QTest::newRow("list replaces condition")
        << true << "A(a1),B(B1(b1))"
        << QVariantMap { { "patterns", QVariantMap { { "5", QVariantList { "X" } } } },
                         { "expressions", QVariantMap() } };
    QTest::newRow("condition replaces list")
        << false << "B(B1(b2))"
        << QVariantMap { { "patterns", QVariantMap() },
                         { "expressions", QVariantMap { { "5", "=;Z" } } } };
}

void TestRyFilterDialogProxyModel::lastChoiceOnAColumnReplacesTheOther()
{
    QFETCH(bool, listLast);
    QFETCH(QString, expected);
    QFETCH(QVariantMap, settings);
    if (listLast) {
        m_proxy->setExpressionFilter(Code, RyExpression::fromText("=;Z"));
        m_proxy->setValueFilter(Code, { "X" });
    } else {
        m_proxy->setValueFilter(Code, { "X" });
        m_proxy->setExpressionFilter(Code, RyExpression::fromText("=;Z"));
    }
    QCOMPARE(shown(*m_proxy), expected);
    // The replaced filter is forgotten, in saved layouts too.
    QCOMPARE(m_proxy->filterSettings(), settings);
}

void TestRyFilterDialogProxyModel::blanksEntryAcceptsEmptyCells()
{
    // Only a1, a2, b1, b2 and c carry a float; the WBS rows have none.
    m_proxy->setValueFilter(Float, { QVariant(), "7" });
    QCOMPARE(shown(*m_proxy), QStringLiteral("A,B(B1(b1))"));
    // A null entry is stored as JSON null, which no text can equal.
    const QByteArray json = QJsonDocument::fromVariant(m_proxy->filterSettings()).toJson();
    QVERIFY(json.contains("null"));
    RyFilterDialogProxyModel restored;
    restored.setSourceModel(m_source);
    restored.setFilterSettings(QJsonDocument::fromJson(json).toVariant().toMap());
    QCOMPARE(shown(restored), shown(*m_proxy));
    m_source->item(2, Float)->setData(QString(), Qt::DisplayRole);
    QCOMPARE(shown(restored), QStringLiteral("A,B(B1(b1)),c"));
}

void TestRyFilterDialogProxyModel::sortingFollowsTheValueOrder()
{
    // Mixed case and numbers: the value order reads case-blind and numbers by value.
    m_source->item(2, Name)->setData("alpha", Qt::DisplayRole);
    m_proxy->sort(Name, Qt::AscendingOrder);
    QCOMPARE(shown(*m_proxy), QStringLiteral("c,B(B1(b1,b2)),A(a2,a1)"));
    m_proxy->sort(Name, Qt::DescendingOrder);
    QCOMPARE(shown(*m_proxy), QStringLiteral("A(a1,a2),B(B1(b2,b1)),c"));
}

void TestRyFilterDialogProxyModel::clearFilterRemovesBothKinds()
{
    m_proxy->setValueFilter(Code, { "X" });
    m_proxy->setExpressionFilter(Code, RyExpression::fromText("=;X"));
    m_proxy->setValueFilter(Name, { "Sketch" });
    m_proxy->clearFilter(Code);
    QVERIFY(!m_proxy->isColumnFiltered(Code));
    QVERIFY(m_proxy->isColumnFiltered(Name));
    QCOMPARE(shown(*m_proxy), QStringLiteral("A(a1)"));
}

void TestRyFilterDialogProxyModel::replacingAndClearingConditions()
{
    m_proxy->setExpressionFilter(Weight, RyExpression::fromText(">;4"));
    QCOMPARE(shown(*m_proxy), QStringLiteral("B(B1(b1,b2)),c"));
    auto replacement = RyExpression::fromText("<;4");
    const RyExpression *node = replacement.get();
    m_proxy->setExpressionFilter(Weight, std::move(replacement));
    QCOMPARE(m_proxy->expressionFilter(Weight), node);
    QCOMPARE(m_proxy->expressionFilters().size(), size_t(1));
    QCOMPARE(shown(*m_proxy), QStringLiteral("A(a1),B(B1)"));

    // A null condition removes the column's condition.
    m_proxy->setExpressionFilter(Weight, nullptr);
    QVERIFY(!m_proxy->isColumnFiltered(Weight));
    QCOMPARE(shown(*m_proxy), QStringLiteral("A(a1,a2),B(B1(b1,b2)),c"));
}

void TestRyFilterDialogProxyModel::settingsRoundTrip()
{
    m_proxy->setValueFilter(Code, { "X", "Z" });
    auto first = RyExpression::makeExpression("is greater than", 5);
    first->setOrLink(RyExpression::makeExpression("is less than", -5));
    m_proxy->setExpressionFilter(Float, std::move(first));
    m_proxy->setExpressionFilter(Start,
                                 RyExpression::makeExpression("is after", QDate(2021, 3, 5)));

    const QVariantMap settings = m_proxy->filterSettings();
    const QVariantMap expected {
        { "patterns", QVariantMap { { "5", QVariantList { "X", "Z" } } } },
        { "expressions", QVariantMap { { "2", ">;5;OR;<;-5" }, { "3", ">;2021-03-05" } } }
    };
    QCOMPARE(settings, expected);

    RyFilterDialogProxyModel other;
    other.setSourceModel(m_source);
    other.setFilterSettings(settings);
    QCOMPARE(other.filterSettings(), expected);
    QCOMPARE(shown(other), shown(*m_proxy));

    // Through JSON, as layouts store it.
    const QJsonDocument json = QJsonDocument::fromVariant(settings);
    other.setFilterSettings(QJsonDocument::fromJson(json.toJson()).toVariant().toMap());
    QCOMPARE(other.filterSettings(), expected);
}

void TestRyFilterDialogProxyModel::settingsRestoreRules()
{
    m_proxy->setValueFilter(Name, { "old" });
    m_proxy->setFilterSettings(
        { { "patterns", QVariantMap { { "x", QVariantList { "X" } } } },
          { "expressions",
            QVariantMap {
                { "8", ">;4;XOR;<;10" }, { "4", "=" }, { "2", ">;5;OR;<" }, { "1", "" } } } });
    // Everything earlier is gone, a key that is no column number and a text of fewer than two
    // fields are skipped, an unknown link word and a four-field text keep the first comparison.
    QVERIFY(m_proxy->valueFilters().isEmpty());
    QCOMPARE(m_proxy->expressionFilters().size(), size_t(2));
    QVERIFY(!m_proxy->expressionFilter(Weight)->andLink());
    QVERIFY(!m_proxy->expressionFilter(Weight)->orLink());
    QVERIFY(!m_proxy->expressionFilter(Float)->orLink());
    QCOMPARE(m_proxy->filterSettings().value("expressions").toMap(),
             QVariantMap({ { "8", ">;4" }, { "2", ">;5" } }));
    QCOMPARE(shown(*m_proxy), QStringLiteral("B(B1(b1))"));

    m_proxy->setFilterSettings({});
    QCOMPARE(m_proxy->filterSettings(),
             QVariantMap({ { "patterns", QVariantMap() }, { "expressions", QVariantMap() } }));
}

void TestRyFilterDialogProxyModel::settingsWithEscapedValues()
{
    m_source->item(2, Name)->setData("Hand;over\\", Qt::DisplayRole);
    m_proxy->setExpressionFilter(Name, RyExpression::makeExpression("equals", "Hand;over\\"));
    QCOMPARE(shown(*m_proxy), QStringLiteral("c"));
    const QVariantMap settings = m_proxy->filterSettings();
    QCOMPARE(settings.value("expressions").toMap().value("1").toString(),
             QStringLiteral("=;Hand\\;over\\\\"));
    RyFilterDialogProxyModel other;
    other.setSourceModel(m_source);
    other.setFilterSettings(settings);
    QCOMPARE(shown(other), QStringLiteral("c"));
}

void TestRyFilterDialogProxyModel::filtersOnMissingColumnsFilterNothing()
{
    const QVariantMap settings { { "patterns", QVariantMap { { "99", QVariantList { "x" } } } },
                                 { "expressions", QVariantMap { { "-1", "=;x" } } } };
    m_proxy->setFilterSettings(settings);
    QCOMPARE(shown(*m_proxy), QStringLiteral("A(a1,a2),B(B1(b1,b2)),c"));
    QVERIFY(m_proxy->isColumnFiltered(99));
    QCOMPARE(m_proxy->filterSettings(), settings);

    // Once the source has the column, the filter applies.
    RyFilterDialogProxyModel early;
    early.setFilterSettings({ { "patterns", QVariantMap { { "5", QVariantList { "Z" } } } } });
    early.setSourceModel(m_source);
    QCOMPARE(shown(early), QStringLiteral("B(B1(b2))"));
}

void TestRyFilterDialogProxyModel::filtersFollowInsertedAndRemovedColumns()
{
    m_proxy->setValueFilter(Code, { "Z" });
    m_proxy->setValueFilter(99, { "x" }); // a layout's, for a column the source lacks
    m_source->insertColumn(1);
    QVERIFY(m_proxy->isColumnFiltered(Code + 1));
    QVERIFY(!m_proxy->isColumnFiltered(Code));
    QVERIFY(m_proxy->isColumnFiltered(99));
    QCOMPARE(shown(*m_proxy), QStringLiteral("B(B1(b2))"));
    m_source->removeColumn(1);
    QVERIFY(m_proxy->isColumnFiltered(Code));
    QCOMPARE(shown(*m_proxy), QStringLiteral("B(B1(b2))"));
    // The filtered column itself goes: its filter goes with it, not onto its neighbour.
    m_source->removeColumn(Code);
    QCOMPARE(m_proxy->valueFilters().keys(), QList<int>({ 99 }));
    QCOMPARE(shown(*m_proxy), QStringLiteral("A(a1,a2),B(B1(b1,b2)),c"));
}

void TestRyFilterDialogProxyModel::searchProxyKeepsSelectAll()
{
    QStandardItemModel values;
    for (const char *text : { "(Select All)", "alpha", "beta", "Alpine" }) {
        auto *item = new QStandardItem(QString::fromUtf8(text));
        item->setCheckable(true);
        values.appendRow(item);
    }
    RyFilterProxyModel search;
    search.setSourceModel(&values);
    QAbstractItemModelTester tester(&search,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    search.setFilterCaseSensitivity(Qt::CaseInsensitive);
    search.setFilterWildcard("al*");
    QCOMPARE(search.rowCount(), 3);
    QCOMPARE(search.index(0, 0).data().toString(), QStringLiteral("(Select All)"));
    search.setFilterWildcard("zzz");
    QCOMPARE(search.rowCount(), 1);
    QVERIFY(!(search.flags(search.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(search.flags(search.index(0, 0)) & Qt::ItemIsUserCheckable);
}

QTEST_MAIN(TestRyFilterDialogProxyModel)
#include "tst_ryfilterdialogproxymodel.moc"
