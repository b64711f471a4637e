#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "models/rymodellookup.h"
#include "models/ryparentitemproxymodel.h"
#include "models/ryrollup.h"
#include "views/ryactivitygrouper.h"

#include "activitystack.h"

#include <QAbstractItemModelTester>
#include <QStandardItemModel>
#include <QtTest>

// A small activity stack shaped like the loader's: a record set of ID/parentID/Group joined with
// the activity table and the WBS table, under the parent item proxy.
class TestRyActivityGrouper : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void ruleFields();
    void wbsAllLevels();
    void wbsToLevelTwo();
    void quarterRule();
    void datePeriods_data();
    void datePeriods();
    void periodsAcrossYears_data();
    void periodsAcrossYears();
    void noRuleGroupsByTheValue();
    void plainColumn();
    void activityCodes_data();
    void activityCodes();
    void twoRulesNested();
    void groupingTwiceEqualsOnce();
    void emptyRulesRemoveGroups();
    void columnWithoutTableMakesNoGroups();
    void levelStylesFollowRules();
    void rollUpEarliestStartLatestFinish();
    void rowNumbersAndOutlineLevels();
    void predecessorDetailsUseRowNumbers();

private:
    int group(const QStringList &rules);
    QString dump(const QModelIndex &parent = QModelIndex()) const;

    ActivityStack *m_stack = nullptr;
    QStandardItemModel *m_records = nullptr;
    QStandardItemModel *m_tasks = nullptr;
    QStandardItemModel *m_wbs = nullptr;
    RyJoinProxyModel *m_activities = nullptr;
    RyParentItemProxyModel *m_tree = nullptr;
    int m_base = 0;
};

void TestRyActivityGrouper::init()
{
    m_stack = new ActivityStack;
    m_records = &m_stack->records;
    m_tasks = &m_stack->tasks;
    m_wbs = &m_stack->wbs;
    m_activities = &m_stack->activities;
    m_tree = new RyParentItemProxyModel(this);
    m_tree->setSourceModel(m_activities);
    m_tree->setParentColumns(0, 1);
    new QAbstractItemModelTester(m_tree, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 this);
    m_base = m_activities->rowCount();
}

void TestRyActivityGrouper::cleanup()
{
    delete m_tree;
    delete m_stack;
}

int TestRyActivityGrouper::group(const QStringList &rules)
{
    RyActivityGrouper::Tables tables;
    tables.wbs = m_wbs;
    m_base = RyActivityGrouper::regroup(m_activities, m_base, m_tree, rules, tables);
    return m_records->rowCount() - m_base;
}

// "Label[children]" for group rows, the Activity ID for activity rows.
QString TestRyActivityGrouper::dump(const QModelIndex &parent) const
{
    QStringList parts;
    for (int row = 0; row < m_tree->rowCount(parent); ++row) {
        const QModelIndex index = m_tree->index(row, 0, parent);
        const QVariant group = index.sibling(row, 2).data();
        if (group.isNull()) {
            parts.append(index.sibling(row, 5).data().toString()); // Activity ID
        } else {
            parts.append(group.toString() + "[" + dump(index) + "]");
        }
    }
    return parts.join(",");
}

void TestRyActivityGrouper::ruleFields()
{
    const RyGroupRule rule
        = RyGroupRule::parse("WBS Code;To level 2;MS Shell Dlg 2:b;r0g0b0a255;r255g255b255a255");
    QCOMPARE(rule.column, QString("WBS Code"));
    QCOMPARE(rule.maxLevel(), 2);
    QCOMPARE(rule.font, QString("MS Shell Dlg 2:b"));
    QCOMPARE(rule.background, QString("r255g255b255a255"));
    QCOMPARE(RyGroupRule::parse("WBS Code;All").maxLevel(), 0);
    QCOMPARE(RyGroupRule::parse("WBS Code").rule, QString());
    QCOMPARE(RyGroupRule::parse("WBS Code").maxLevel(), 0);
}

void TestRyActivityGrouper::wbsAllLevels()
{
    QCOMPARE(group({ "WBS Code;;MS Shell Dlg 2:b;r0g0b0a255;r255g255b255a255" }), 4);
    QCOMPARE(dump(), QString("Project[Alpha[T11,A1[T10,T14]],Beta[T12,T13]]"));
}

void TestRyActivityGrouper::wbsToLevelTwo()
{
    QCOMPARE(group({ "WBS Code;To level 2" }), 3);
    QCOMPARE(dump(), QString("Project[Alpha[T10,T11,T14],Beta[T12,T13]]"));
}

void TestRyActivityGrouper::quarterRule()
{
    QCOMPARE(group({ "Start Date;Quarter" }), 4);
    QCOMPARE(dump(), QString("Q1 2024[T10,T11],Q2 2024[T12],Q4 2024[T13],Q1 2025[T14]"));
}

void TestRyActivityGrouper::datePeriods_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("groups");
    // Starts: T10 2024-01-15, T11 2024-03-31, T12 2024-04-01, T13 2024-11-02, T14 2025-02-01;
    // T11 and T12 are moved below to test year and week boundaries.
    QTest::newRow("year") << "Year"
                          << "2023[T12],2024[T10,T13],2025[T11,T14]";
    QTest::newRow("month carries its year")
        << "Month"
        << "December 2023[T12],January 2024[T10],November 2024[T13],January 2025[T11],"
           "February 2025[T14]";
    QTest::newRow("empty rule is month")
        << ""
        << "December 2023[T12],January 2024[T10],November 2024[T13],January 2025[T11],"
           "February 2025[T14]";
    // 2023-12-31 is in week 52 of 2023; 2025-01-01 in week 1 of 2025 (ISO week-years).
    QTest::newRow("week by ISO year")
        << "Week"
        << "Week 52 2023[T12],Week 3 2024[T10],Week 44 2024[T13],Week 1 2025[T11],"
           "Week 5 2025[T14]";
    QTest::newRow("day") << "Day"
                         << "31 December[T12],15 January[T10],02 November[T13],01 January[T11],"
                            "01 February[T14]";
}

void TestRyActivityGrouper::datePeriods()
{
    QFETCH(QString, rule);
    QFETCH(QString, groups);
    m_tasks->setData(m_tasks->index(1, 5), ActivityStack::at(2025, 1, 1));
    m_tasks->setData(m_tasks->index(2, 5), ActivityStack::at(2023, 12, 31));
    group({ "Start Date;" + rule });
    QCOMPARE(dump(), groups);
}

void TestRyActivityGrouper::periodsAcrossYears_data()
{
    QTest::addColumn<QStringList>("rules");
    QTest::addColumn<QList<QDate>>("starts"); // of T10..T14
    QTest::addColumn<QString>("groups");
    const QList<QDate> decembers
        = { { 2014, 12, 10 }, { 2015, 12, 1 }, { 2014, 12, 31 }, { 2015, 12, 31 }, { 2015, 1, 1 } };
    QTest::newRow("December 2014 and December 2015")
        << QStringList { "Start Date;Month" } << decembers
        << "December 2014[T10,T12],January 2015[T14],December 2015[T11,T13]";
    QTest::newRow("fourth quarters of two years")
        << QStringList { "Start Date;Quarter" }
        << QList<QDate> { { 2014, 10, 1 },
                          { 2015, 12, 31 },
                          { 2014, 12, 31 },
                          { 2015, 10, 15 },
                          { 2015, 1, 1 } }
        << "Q4 2014[T10,T12],Q1 2015[T14],Q4 2015[T11,T13]";
    // Monday 29 December 2014 opens ISO week 1 of 2015; 3 January 2016 ends week 53 of 2015.
    QTest::newRow("ISO week 1 of 2015 starts in December 2014")
        << QStringList { "Start Date;Week" }
        << QList<QDate> { { 2014, 12, 29 },
                          { 2015, 1, 2 },
                          { 2014, 12, 28 },
                          { 2015, 12, 31 },
                          { 2016, 1, 3 } }
        << "Week 52 2014[T12],Week 1 2015[T10,T11],Week 53 2015[T13,T14]";
    QTest::newRow("months below their years keep the year")
        << QStringList { "Start Date;Year", "Start Date;Month" } << decembers
        << "2014[December 2014[T10,T12]],2015[January 2015[T14],December 2015[T11,T13]]";
    QTest::newRow("months below WBS elements")
        << QStringList { "WBS Code;To level 2", "Start Date;Month" } << decembers
        << "Project[Alpha[December 2014[T10],January 2015[T14],December 2015[T11]],"
           "Beta[December 2014[T12],December 2015[T13]]]";
}

void TestRyActivityGrouper::periodsAcrossYears()
{
    QFETCH(QStringList, rules);
    QFETCH(QList<QDate>, starts);
    QFETCH(QString, groups);
    for (int row = 0; row < starts.size(); ++row) {
        const QDate &start = starts.at(row);
        m_tasks->setData(m_tasks->index(row, 5),
                         ActivityStack::at(start.year(), start.month(), start.day()));
    }
    group(rules);
    QCOMPARE(dump(), groups);
}

void TestRyActivityGrouper::noRuleGroupsByTheValue()
{
    m_tasks->setData(m_tasks->index(1, 5), ActivityStack::at(2024, 1, 15));
    QCOMPARE(group({ "Start Date;No Rule" }), 4);
    QStringList labels;
    for (int row = 0; row < m_tree->rowCount(); ++row)
        labels << m_tree->index(row, 2).data().toDateTime().toString("yyyy-MM-dd");
    QCOMPARE(labels, QStringList({ "2024-01-15", "2024-04-01", "2024-11-02", "2025-02-01" }));
    QCOMPARE(m_tree->rowCount(m_tree->index(0, 0)), 2);
}

void TestRyActivityGrouper::plainColumn()
{
    m_tasks->setData(m_tasks->index(2, 4), "TT_Mile");
    QCOMPARE(group({ "Activity Type" }), 2);
    QCOMPARE(dump(), QString("TT_Mile[T12],TT_Task[T10,T11,T13,T14]"));
}

void TestRyActivityGrouper::activityCodes_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("groups");
    // Build's parent is a code of another type: within "Phase" it stands at the top.
    QTest::newRow("all levels") << "Phase;All"
                                << "Design[T11,Detail[T10,T14]],Build[T12],T13";
    QTest::newRow("to level 1") << "Phase;To level 1"
                                << "Design[T10,T11,T14],Build[T12],T13";
}

void TestRyActivityGrouper::activityCodes()
{
    QFETCH(QString, rule);
    QFETCH(QString, groups);
    QStandardItemModel types; // id, -, -, name
    ActivityStack::setColumns(&types,
                              { { "actv_code_type_id", "integer" },
                                { "seq_num", "integer" },
                                { "proj_id", "integer" },
                                { "Code Type", "string" } });
    ActivityStack::appendValues(&types, { 1, 0, 0, "Phase" });
    ActivityStack::appendValues(&types, { 2, 0, 0, "Area" });
    QStandardItemModel codes;
    ActivityStack::setColumns(&codes,
                              { { "actv_code_id", "integer" },
                                { "actv_code_type_id", "integer" },
                                { "parent_actv_code_id", "integer" },
                                { "Code Name", "string" } });
    ActivityStack::appendValues(&codes, { 101, 1, 100, "Detail" });
    ActivityStack::appendValues(&codes, { 100, 1, QVariant(), "Design" });
    ActivityStack::appendValues(&codes, { 300, 2, QVariant(), "Elsewhere" });
    ActivityStack::appendValues(&codes, { 102, 1, 300, "Build" });
    // One code column; its cells show the code name and carry the code id (header role 256).
    QStandardItemModel assignments;
    assignments.setObjectName("taskCodesAssignmentModel");
    ActivityStack::setColumns(&assignments,
                              { { "task_id", "integer" }, { "Phase", "string", "true" } });
    const QVariantList codeOfTask[] = {
        { 10, 101, "Detail" }, { 11, 100, "Design" }, { 12, 102, "Build" }, { 14, 101, "Detail" }
    };
    for (const QVariantList &assignment : codeOfTask) {
        ActivityStack::appendValues(&assignments, { assignment.at(0), assignment.at(2) });
        assignments.setData(assignments.index(assignments.rowCount() - 1, 1), assignment.at(1),
                            Ry::ColumnIdRole);
    }
    m_activities->addJoin(&assignments, 0, { 1 }, 0);
    RyActivityGrouper::Tables tables;
    tables.wbs = m_wbs;
    tables.codeTypes = &types;
    tables.codes = &codes;
    m_base = RyActivityGrouper::regroup(m_activities, m_base, m_tree, { rule }, tables);
    QCOMPARE(dump(), groups);
}

void TestRyActivityGrouper::twoRulesNested()
{
    QCOMPARE(group({ "WBS Code;To level 2", "Start Date;Quarter" }), 7);
    QCOMPARE(
        dump(),
        QString("Project[Alpha[Q1 2024[T10,T11],Q1 2025[T14]],Beta[Q2 2024[T12],Q4 2024[T13]]]"));
}

void TestRyActivityGrouper::groupingTwiceEqualsOnce()
{
    const QStringList rules = { "WBS Code;", "Start Date;Year" };
    const int groups = group(rules);
    const QString once = dump();
    QCOMPARE(group(rules), groups);
    QCOMPARE(m_base, 5);
    QCOMPARE(m_records->rowCount(), 5 + groups);
    QCOMPARE(dump(), once);
}

void TestRyActivityGrouper::emptyRulesRemoveGroups()
{
    group({ "WBS Code" });
    QCOMPARE(group({}), 0);
    QCOMPARE(m_records->rowCount(), 5);
    QCOMPARE(dump(), QString("T10,T11,T12,T13,T14"));
}

void TestRyActivityGrouper::columnWithoutTableMakesNoGroups()
{
    QCOMPARE(group({ "No such column" }), 0);
    QCOMPARE(dump(), QString("T10,T11,T12,T13,T14"));
    // A later rule does not run once grouping stopped.
    QCOMPARE(group({ "No such column", "Start Date;Year" }), 0);
}

void TestRyActivityGrouper::levelStylesFollowRules()
{
    QList<RyLevelStyle> styles = { RyLevelStyle::defaultStyle(), RyLevelStyle::defaultStyle() };
    RyActivityGrouper::Tables tables;
    tables.wbs = m_wbs;
    RyActivityGrouper::buildGroups(m_activities, m_base,
                                   { "WBS Code;;Arial:i;r1g2b3a255;r10g20b30a255", "Start Date" },
                                   tables, &styles);
    QCOMPARE(styles.at(0).font.family(), QString("Arial"));
    QVERIFY(styles.at(0).font.italic());
    QCOMPARE(styles.at(0).textColor, QColor(1, 2, 3));
    QCOMPARE(styles.at(0).background.color(), QColor(10, 20, 30));
    QCOMPARE(styles.at(1).font.family(), QString("MS Shell Dlg 2")); // fields missing: unchanged
}

void TestRyActivityGrouper::rollUpEarliestStartLatestFinish()
{
    group({ "WBS Code;To level 2" });
    RyRollUp::rollUpDates(m_tree);
    const QModelIndex project = m_tree->index(0, 0);
    const QModelIndex alpha = m_tree->index(0, 0, project);
    const QModelIndex beta = m_tree->index(1, 0, project);
    QCOMPARE(alpha.sibling(alpha.row(), 8).data().toDateTime(), ActivityStack::at(2024, 1, 15));
    QCOMPARE(alpha.sibling(alpha.row(), 9).data().toDateTime(), ActivityStack::at(2025, 3, 3));
    QCOMPARE(beta.sibling(beta.row(), 8).data().toDateTime(), ActivityStack::at(2024, 4, 1));
    QCOMPARE(project.sibling(0, 8).data().toDateTime(), ActivityStack::at(2024, 1, 15));
    QCOMPARE(project.sibling(0, 9).data().toDateTime(), ActivityStack::at(2025, 3, 3));
}

void TestRyActivityGrouper::rowNumbersAndOutlineLevels()
{
    // Row numbering needs "Row Number"/"Outline Level" columns, which the record set gains here.
    m_records->setColumnCount(5);
    m_records->setHeaderData(3, Qt::Horizontal, "Row Number");
    m_records->setHeaderData(4, Qt::Horizontal, "Outline Level");
    m_activities->setSourceModel(m_records);
    m_activities->addJoinAll(m_tasks, 0, 0);
    m_activities->addJoin(m_wbs, 0, { 2, 3 }, 6);
    m_tree->setParentColumns(0, 1);
    group({ "WBS Code;To level 2" });
    RyActivityGrouper::numberRows(m_tree, m_activities, nullptr);
    const QModelIndexList rows = RyModelLookup::flattenIndexes(m_tree);
    QCOMPARE(rows.size(), 8);
    QCOMPARE(rows.at(0).sibling(rows.at(0).row(), 3).data().toInt(), 1);
    QCOMPARE(rows.at(7).sibling(rows.at(7).row(), 3).data().toInt(), 8);
    QCOMPARE(rows.at(0).sibling(rows.at(0).row(), 4).data().toInt(), 1); // Project
    QCOMPARE(rows.at(1).sibling(rows.at(1).row(), 4).data().toInt(), 2); // Alpha
    QCOMPARE(rows.at(2).sibling(rows.at(2).row(), 4).data().toInt(), 3); // T10
}

void TestRyActivityGrouper::predecessorDetailsUseRowNumbers()
{
    m_records->setColumnCount(5);
    m_records->setHeaderData(3, Qt::Horizontal, "Row Number");
    m_records->setHeaderData(4, Qt::Horizontal, "Predecessors Details Rows");
    m_activities->setSourceModel(m_records);
    m_activities->addJoinAll(m_tasks, 0, 0);
    m_tree->setParentColumns(0, 1);
    // The predecessor key (its activity id) sits two columns before the last.
    QStandardItemModel relationships;
    ActivityStack::setColumns(&relationships,
                              { { "task_id", "integer" },
                                { "pred_task_id", "integer" },
                                { "Type", "string" },
                                { "Lag", "double" },
                                { "Predecessor", "string" },
                                { "spare", "string" } });
    ActivityStack::appendValues(&relationships, { 11, 99, "PR_SS", 8, "X99", QVariant() });
    ActivityStack::appendValues(&relationships, { 11, 10, "PR_FS", 0, "T10", QVariant() });
    ActivityStack::appendValues(&relationships, { 14, 13, "PR_FF", -2, "T13", QVariant() });
    RyActivityGrouper::numberRows(m_tree, m_activities, &relationships);
    const int details = 4;
    // Rows in tree order: T10 1, T11 2, T12 3, T13 4, T14 5; X99 has no row: 0.
    QCOMPARE(m_tree->index(1, details).data().toString(), QString("1FS, 0SS+8h"));
    QCOMPARE(m_tree->index(4, details).data().toString(), QString("4FF-2h"));
    QVERIFY(m_tree->index(0, details).data().toString().isEmpty());
}

QTEST_MAIN(TestRyActivityGrouper)
#include "tst_ryactivitygrouper.moc"
