#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "models/ryparentitemproxymodel.h"
#include "models/ryutils.h"
#include "views/ryactivitygrouper.h"

#include <QAbstractItemModelTester>
#include <QStandardItemModel>
#include <QtTest>

namespace {

void setColumns(QStandardItemModel *model, const QList<QStringList> &columns)
{
    model->setColumnCount(columns.size());
    for (int c = 0; c < columns.size(); ++c) {
        const QStringList &column = columns.at(c); // display, datatype, structure
        model->setHeaderData(c, Qt::Horizontal, column.at(0));
        model->setHeaderData(c, Qt::Horizontal, column.at(0), Ry::ColumnIdRole);
        QVariantMap description { { "display", column.at(0) }, { "datatype", column.at(1) } };
        if (column.size() > 2)
            description.insert("structure", column.at(2));
        model->setHeaderData(c, Qt::Horizontal, description, Ry::ColumnDescriptionRole);
    }
}

QDateTime at(int year, int month, int day)
{
    return QDateTime(QDate(year, month, day), QTime(8, 0));
}

} // namespace

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
    void plainColumn();
    void twoRulesNested();
    void groupingTwiceEqualsOnce();
    void emptyRulesRemoveGroups();
    void columnWithoutTableMakesNoGroups();
    void levelStylesFollowRules();
    void rollUpEarliestStartLatestFinish();
    void rowNumbersAndOutlineLevels();

private:
    int group(const QStringList &rules);
    QString dump(const QModelIndex &parent = QModelIndex()) const;

    QStandardItemModel *m_records = nullptr;
    QStandardItemModel *m_tasks = nullptr;
    QStandardItemModel *m_wbs = nullptr;
    RyJoinProxyModel *m_activities = nullptr;
    RyParentItemProxyModel *m_tree = nullptr;
    int m_base = 0;
};

void TestRyActivityGrouper::init()
{
    m_records = new QStandardItemModel(this);
    setColumns(m_records,
               { { "ID", "integer" }, { "parentID", "integer" }, { "Group", "string" } });
    m_tasks = new QStandardItemModel(this);
    m_tasks->setObjectName("TASK");
    setColumns(m_tasks,
               { { "task_id", "integer" },
                 { "wbs_id", "integer" },
                 { "Activity ID", "string" },
                 { "Activity Type", "string" },
                 { "Start Date", "datetime" },
                 { "Finish Date", "datetime" } });
    m_wbs = new QStandardItemModel(this);
    m_wbs->setObjectName("PROJWBS");
    setColumns(m_wbs,
               { { "wbs_id", "integer" },
                 { "seq_num", "integer" },
                 { "WBS Code", "string", "true" },
                 { "WBS Name", "string", "true" },
                 { "parent_wbs_id", "integer" } });

    // WBS: P > (A > A1, B); listed child first to show that table order does not matter.
    const QList<QVariantList> wbs = { { 4, 0, "P.A.1", "A1", 2 },
                                      { 1, 0, "P", "Project", QVariant() },
                                      { 2, 0, "P.A", "Alpha", 1 },
                                      { 3, 0, "P.B", "Beta", 1 } };
    for (const QVariantList &values : wbs) {
        QList<QStandardItem *> row;
        for (const QVariant &value : values) {
            auto *item = new QStandardItem;
            item->setData(value, Qt::DisplayRole);
            row.append(item);
        }
        m_wbs->appendRow(row);
    }
    struct Task
    {
        int id, wbs;
        QString code;
        QDateTime start, finish;
    };
    const QList<Task> tasks = { { 10, 4, "T10", at(2024, 1, 15), at(2024, 2, 1) },
                                { 11, 2, "T11", at(2024, 3, 31), at(2024, 4, 10) },
                                { 12, 3, "T12", at(2024, 4, 1), at(2024, 6, 30) },
                                { 13, 3, "T13", at(2024, 11, 2), at(2024, 12, 24) },
                                { 14, 4, "T14", at(2025, 2, 1), at(2025, 3, 3) } };
    for (const Task &task : tasks) {
        m_tasks->appendRow({ new QStandardItem(QString::number(task.id)),
                             new QStandardItem(QString::number(task.wbs)),
                             new QStandardItem(task.code), new QStandardItem("TT_Task"),
                             new QStandardItem, new QStandardItem });
        const int row = m_tasks->rowCount() - 1;
        m_tasks->setData(m_tasks->index(row, 0), task.id);
        m_tasks->setData(m_tasks->index(row, 1), task.wbs);
        m_tasks->setData(m_tasks->index(row, 4), task.start);
        m_tasks->setData(m_tasks->index(row, 5), task.finish);
        auto *id = new QStandardItem;
        id->setData(task.id, Qt::DisplayRole);
        m_records->appendRow({ id, new QStandardItem, new QStandardItem });
    }

    m_activities = new RyJoinProxyModel(this);
    m_activities->setSourceModel(m_records);
    m_activities->addJoinAll(m_tasks, 0, 0);
    m_activities->addJoin(m_wbs, 0, { 2, 3 }, 4); // keyed by the joined wbs_id
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
    delete m_activities;
    delete m_records;
    delete m_tasks;
    delete m_wbs;
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
            parts.append(index.sibling(row, 5).data().toString());
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
    QCOMPARE(group({ "Start Date;Quarter" }), 3);
    QCOMPARE(dump(), QString("Q1[T10,T11,T14],Q2[T12],Q4[T13]"));
}

void TestRyActivityGrouper::plainColumn()
{
    m_tasks->setData(m_tasks->index(2, 3), "TT_Mile");
    QCOMPARE(group({ "Activity Type" }), 2);
    QCOMPARE(dump(), QString("TT_Mile[T12],TT_Task[T10,T11,T13,T14]"));
}

void TestRyActivityGrouper::twoRulesNested()
{
    QCOMPARE(group({ "WBS Code;To level 2", "Start Date;Quarter" }), 6);
    QCOMPARE(dump(), QString("Project[Alpha[Q1[T10,T11,T14]],Beta[Q2[T12],Q4[T13]]]"));
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
    RyActivityGrouper::rollUpDates(m_tree);
    const QModelIndex project = m_tree->index(0, 0);
    const QModelIndex alpha = m_tree->index(0, 0, project);
    const QModelIndex beta = m_tree->index(1, 0, project);
    QCOMPARE(alpha.sibling(alpha.row(), 7).data().toDateTime(), at(2024, 1, 15));
    QCOMPARE(alpha.sibling(alpha.row(), 8).data().toDateTime(), at(2025, 3, 3));
    QCOMPARE(beta.sibling(beta.row(), 7).data().toDateTime(), at(2024, 4, 1));
    QCOMPARE(project.sibling(0, 7).data().toDateTime(), at(2024, 1, 15));
    QCOMPARE(project.sibling(0, 8).data().toDateTime(), at(2025, 3, 3));
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
    const QModelIndexList rows = RyUtils::flattenIndexes(m_tree);
    QCOMPARE(rows.size(), 8);
    QCOMPARE(rows.at(0).sibling(rows.at(0).row(), 3).data().toInt(), 1);
    QCOMPARE(rows.at(7).sibling(rows.at(7).row(), 3).data().toInt(), 8);
    QCOMPARE(rows.at(0).sibling(rows.at(0).row(), 4).data().toInt(), 1); // Project
    QCOMPARE(rows.at(1).sibling(rows.at(1).row(), 4).data().toInt(), 2); // Alpha
    QCOMPARE(rows.at(2).sibling(rows.at(2).row(), 4).data().toInt(), 3); // T10
}

QTEST_MAIN(TestRyActivityGrouper)
#include "tst_ryactivitygrouper.moc"
