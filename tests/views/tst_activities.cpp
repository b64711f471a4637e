#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfilterwidget.h"
#include "gantt/ryganttview.h"
#include "gantt/rytimelineheader.h"
#include "models/rymodellookup.h"
#include "models/ryparentitemproxymodel.h"
#include "views/activities.h"
#include "views/rydetaildelegate.h"
#include "views/rygroupdialog.h"
#include "views/ryheaderstate.h"
#include "views/rysortfilterheader.h"

#include "activitystack.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QScrollBar>
#include <QSplitter>
#include <QtTest>

class TestActivities : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void emptyViewShowsPlaceholder();
    void headersEquallyHigh();
    void projectShowsActivitiesAtTopLevel();
    void groupingByWbsBuildsGroupRows();
    void groupingTwiceEqualsOnce();
    void emptyRulesRemoveGroups();
    void rulesPastTheDialogsLevelsAreDropped();
    void groupRowsRollUpDates();
    void relationshipsBecomeLinks();
    void mergeCountAvoidsDateColumns_data();
    void mergeCountAvoidsDateColumns();
    void sortByColumn();
    void goToActivityKeepsHorizontalScroll();
    void closeReturnsToPlaceholder();
    void chartCurrentRowMovesTableCurrentRow();

private:
    void open();
    QModelIndex rowOfTask(int taskId) const;

    ActivityStack *m_stack = nullptr;
    Activities *m_view = nullptr;
};

void TestActivities::init()
{
    m_stack = new ActivityStack;
    m_view = new Activities;
    new QAbstractItemModelTester(m_view->filterProxy(),
                                 QAbstractItemModelTester::FailureReportingMode::QtTest, m_view);
}

void TestActivities::cleanup()
{
    delete m_view;
    delete m_stack;
}

void TestActivities::open()
{
    m_view->setModels(&m_stack->activities, &m_stack->wbs, nullptr, nullptr,
                      &m_stack->relationships, true);
}

QModelIndex TestActivities::rowOfTask(int taskId) const
{
    const int column = RyModelLookup::findColumn(m_view->filterProxy(), "task_id");
    return RyModelLookup::verticalLookup(taskId, m_view->filterProxy(), column, 0);
}

void TestActivities::emptyViewShowsPlaceholder()
{
    QCOMPARE(m_view->windowTitle(), QString("Form"));
    QCOMPARE(m_view->treeView()->objectName(), QString("treeView"));
    QVERIFY(m_view->findChild<QSplitter *>("splitter"));
    QCOMPARE(m_view->treeView()->header(), m_view->sortFilterHeader());
    QCOMPARE(m_view->sortFilterHeader()->objectName(), QString("sortFilterHeader"));
    QVERIFY(!m_view->hasProject());
    QVERIFY(!m_view->sortFilterWidget());
    QCOMPARE(RyHeaderState::visibleHeaderTexts(m_view->treeView()->header()),
             (QStringList { "Activity ID", "Activity Name", "Start", "Finish", "WBS" }));
    QCOMPARE(m_view->filterProxy()->rowCount(), 0);
    QCOMPARE(m_view->levelStyles().size(), 10);
    // Unformatted group rows are bold black on the row's own colour.
    for (const RyLevelStyle &style : m_view->levelStyles()) {
        QCOMPARE(style.textColor, QColor(Qt::black));
        QCOMPARE(style.background.style(), Qt::NoBrush);
    }
    QCOMPARE(m_view->ganttView()->model(), m_view->filterProxy());
    QCOMPARE(m_view->ganttView()->selectionModel(), m_view->treeView()->selectionModel());
}

void TestActivities::headersEquallyHigh()
{
    open();
    m_view->resize(800, 400);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    const int twoTiers = m_view->sortFilterHeader()->height();
    QCOMPARE(twoTiers, m_view->ganttView()->header()->height());
    m_view->ganttView()->setTimelineFlags(Ry::Year | Ry::Month | Ry::Day);
    QTRY_COMPARE(m_view->sortFilterHeader()->height(), m_view->ganttView()->header()->height());
    QVERIFY(m_view->sortFilterHeader()->height() > twoTiers);
    // Row r of the table is row r of the chart, at the same height.
    const QModelIndex row = m_view->filterProxy()->index(2, 0);
    QTRY_COMPARE(m_view->treeView()->visualRect(row).top() + m_view->treeView()->viewport()->y(),
                 m_view->ganttView()->visualRect(row).top() + m_view->ganttView()->viewport()->y());
}

void TestActivities::projectShowsActivitiesAtTopLevel()
{
    open();
    QVERIFY(m_view->hasProject());
    QVERIFY(m_view->sortFilterWidget());
    QCOMPARE(m_view->sortFilterHeader()->sortFilterWidget(),
             static_cast<RySectionPainter *>(m_view->sortFilterWidget()));
    QVERIFY(qobject_cast<RyDetailDelegate *>(m_view->sortFilterWidget()->valueDelegate()));
    QCOMPARE(m_view->baseRowCount(), 5);
    QCOMPARE(m_view->filterProxy()->rowCount(), 5);
    QCOMPARE(m_view->treeView()->groupColumn(), 2);
    QVERIFY(!m_view->treeView()->isGroupRow(m_view->filterProxy()->index(0, 0)));
}

void TestActivities::groupingByWbsBuildsGroupRows()
{
    open();
    m_view->groupBySelection({ "WBS Code;;Arial:b;r0g0b0a255;r255g255b255a255" });
    QCOMPARE(m_view->groupRules().size(), 1);
    // The table follows the regrouped model without a relayout of its own.
    QCOMPARE(m_view->treeView()->visibleRows().size(), 1);
    const QModelIndex top = m_view->filterProxy()->index(0, 0);
    m_view->treeView()->expand(top);
    QCOMPARE(m_view->treeView()->visibleRows().size(), 3);
    QVERIFY(m_view->treeView()->visualRect(m_view->filterProxy()->index(1, 0, top)).isValid());
    QCOMPARE(m_stack->records.rowCount(), 5 + 4);
    const QModelIndex project = m_view->filterProxy()->index(0, 0);
    QVERIFY(m_view->treeView()->isGroupRow(project));
    QCOMPARE(project.sibling(0, 2).data().toString(), QString("Project"));
    QCOMPARE(m_view->filterProxy()->rowCount(project), 2);
    QCOMPARE(m_view->levelStyles().at(0).font.family(), QString("Arial"));
    QCOMPARE(m_view->treeView()->levelStyles().at(0).background.color(), QColor(Qt::white));
    QCOMPARE(m_view->levelStyles().at(1).background.style(), Qt::NoBrush);

    // A later grouping without formats brings the default look back.
    m_view->groupBySelection({ "WBS Code" });
    QCOMPARE(m_view->treeView()->levelStyles().at(0).background.style(), Qt::NoBrush);
    QCOMPARE(m_view->treeView()->levelStyles().at(0).font.family(), QString("MS Shell Dlg 2"));
}

void TestActivities::groupingTwiceEqualsOnce()
{
    open();
    const QStringList rules = { "WBS Code;To level 2", "Start Date;Quarter" };
    m_view->groupBySelection(rules);
    const int rows = m_stack->records.rowCount();
    auto labels = [this] {
        QStringList list;
        for (const QModelIndex &row : RyModelLookup::flattenIndexes(m_view->filterProxy()))
            list.append(row.sibling(row.row(), 2).data().toString() + "/"
                        + row.sibling(row.row(), 5).data().toString());
        return list;
    };
    const QStringList once = labels();
    m_view->groupBySelection(rules);
    QCOMPARE(m_stack->records.rowCount(), rows);
    QCOMPARE(m_view->baseRowCount(), 5);
    QCOMPARE(labels(), once);
}

void TestActivities::emptyRulesRemoveGroups()
{
    open();
    m_view->groupBySelection({ "WBS Code" });
    m_view->groupBySelection({});
    QCOMPARE(m_stack->records.rowCount(), 5);
    QCOMPARE(m_view->filterProxy()->rowCount(), 5);
    QVERIFY(m_view->groupRules().isEmpty());
}

void TestActivities::rulesPastTheDialogsLevelsAreDropped()
{
    open();
    // A damaged layout may name any number of levels; each costs more than the one before.
    QStringList rules;
    for (int i = 0; i < RyGroupDialog::MaxRules; ++i)
        rules.append(i % 2 ? "Start Date;Quarter" : "WBS Code");
    m_view->groupBySelection(rules);
    const int rows = m_stack->records.rowCount();
    m_view->groupBySelection(rules + QStringList { "Finish Date;Month", "Start Date;Year" });
    QCOMPARE(m_view->groupRules(), rules);
    QCOMPARE(m_stack->records.rowCount(), rows);
}

void TestActivities::groupRowsRollUpDates()
{
    const QAbstractItemModel *model = m_view->filterProxy();
    {
        // Opened in a batch, as the window does: links and dates follow at its end.
        const Activities::Batch batch(m_view);
        open();
        m_view->groupBySelection({ "WBS Code;To level 2" });
        QCOMPARE(m_view->ganttView()->relationshipCount(), 0);
        QVERIFY(model->index(0, 0)
                    .siblingAtColumn(RyModelLookup::findColumn(model, "Start Date"))
                    .data()
                    .isNull());
    }
    QCOMPARE(m_view->ganttView()->relationshipCount(), 3);
    const int start = RyModelLookup::findColumn(model, "Start Date");
    const int finish = RyModelLookup::findColumn(model, "Finish Date");
    const QModelIndex project = model->index(0, 0);
    const QModelIndex beta = model->index(1, 0, project);
    QCOMPARE(project.sibling(0, start).data().toDateTime(), ActivityStack::at(2024, 1, 15));
    QCOMPARE(project.sibling(0, finish).data().toDateTime(), ActivityStack::at(2025, 3, 3));
    QCOMPARE(beta.sibling(beta.row(), start).data().toDateTime(), ActivityStack::at(2024, 4, 1));
    QCOMPARE(beta.sibling(beta.row(), finish).data().toDateTime(), ActivityStack::at(2024, 12, 24));
}

void TestActivities::relationshipsBecomeLinks()
{
    open();
    QCOMPARE(m_view->ganttView()->relationshipCount(), 3);
    m_view->groupBySelection({ "WBS Code" });
    QCOMPARE(m_view->ganttView()->relationshipCount(), 3);
    m_view->setModels(&m_stack->activities, &m_stack->wbs, nullptr, nullptr, nullptr, true);
    QCOMPARE(m_view->ganttView()->relationshipCount(), 0);
}

void TestActivities::mergeCountAvoidsDateColumns_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<int>("mergeCount");
    QTest::newRow("date second") << QStringList { "Activity ID", "Start Date", "Activity Name" }
                                 << 0;
    QTest::newRow("date third") << QStringList { "Activity ID", "Activity Name", "Start Date" }
                                << 1;
    QTest::newRow("no date") << QStringList { "Activity ID", "Activity Name", "Activity Type",
                                              "Start Date" }
                             << 2;
}

void TestActivities::mergeCountAvoidsDateColumns()
{
    QFETCH(QStringList, columns);
    QFETCH(int, mergeCount);
    open();
    RyHeaderState::applyColumnOrder(m_view->treeView()->header(), columns);
    m_view->onUpdateMergeColumns();
    QCOMPARE(m_view->treeView()->mergeCount(), mergeCount);
}

void TestActivities::sortByColumn()
{
    open();
    m_view->sortByColumn("No such column", true);
    QCOMPARE(m_view->sortFilterHeader()->sortColumn(), -1);
    m_view->sortByColumn("Activity ID", true);
    const int column = RyModelLookup::findColumn(m_view->filterProxy(), "Activity ID");
    QCOMPARE(m_view->sortFilterHeader()->sortColumn(), column);
    QCOMPARE(m_view->sortFilterHeader()->sortOrder(), int(Qt::DescendingOrder));
    QCOMPARE(m_view->filterProxy()->index(0, column).data().toString(), QString("T14"));
}

void TestActivities::goToActivityKeepsHorizontalScroll()
{
    open();
    m_view->resize(300, 200);
    m_view->treeView()->header()->setStretchLastSection(false);
    for (int column = 0; column < m_view->treeView()->header()->count(); ++column)
        m_view->treeView()->header()->resizeSection(column, 120);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    QTRY_VERIFY(m_view->treeView()->horizontalScrollBar()->maximum() > 40);
    m_view->treeView()->horizontalScrollBar()->setValue(40);
    m_view->goToActivity(13);
    QCOMPARE(m_view->treeView()->currentIndex().row(), rowOfTask(13).row());
    QCOMPARE(m_view->treeView()->horizontalScrollBar()->value(), 40);
    m_view->goToActivity(99); // unknown: stays
    QCOMPARE(m_view->treeView()->currentIndex().row(), rowOfTask(13).row());
}

void TestActivities::closeReturnsToPlaceholder()
{
    open();
    m_view->groupBySelection({ "WBS Code" });
    m_view->onCloseProject();
    QVERIFY(!m_view->hasProject());
    QVERIFY(m_view->groupRules().isEmpty());
    QVERIFY(!m_view->sortFilterWidget());
    QCOMPARE(m_stack->records.rowCount(), 5); // group rows do not outlive the view's use
    QCOMPARE(m_view->filterProxy()->rowCount(), 0);
    QCOMPARE(m_view->ganttView()->relationshipCount(), 0);
    QCOMPARE(m_view->levelStyles().size(), 10);
}

void TestActivities::chartCurrentRowMovesTableCurrentRow()
{
    open();
    m_view->groupBySelection({ "WBS Code;To level 2" });
    m_view->treeView()->expandAll();
    m_view->resize(800, 400);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
    const QModelIndex row = rowOfTask(12);
    QTRY_VERIFY(m_view->ganttView()->visualRect(row.sibling(row.row(), 0)).width() > 0);
    // Both views share one selection model; a current row set on the chart's side (as a click
    // on a bar does) is the table's current row.
    m_view->onGanttSelectionChanged(row.sibling(row.row(), 0), QModelIndex());
    QCOMPARE(m_view->treeView()->currentIndex().row(), row.row());
    QCOMPARE(m_view->treeView()->currentIndex().parent(), row.parent());
}

QTEST_MAIN(TestActivities)
#include "tst_activities.moc"
