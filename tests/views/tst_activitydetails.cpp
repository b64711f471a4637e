#include "filter/ryfilterdialogproxymodel.h"
#include "filter/rysortfilterwidget.h"
#include "models/ryjoinproxymodel.h"
#include "models/rymodellookup.h"
#include "models/ryvaluetext.h"
#include "tables/mpploader.h"
#include "views/activities.h"
#include "views/activitydetails.h"
#include "views/resources.h"
#include "views/rydetaildelegate.h"
#include "views/rysortfilterheader.h"

#include "activitystack.h"

#include <QDataWidgetMapper>
#include <QFile>
#include <QJsonDocument>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

class TestActivityDetails : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void delegateTexts_data();
    void delegateTexts();
    void delegateEditorText_data();
    void delegateEditorText();
    void delegateIcon();
    void formLayout();
    void detailsFollowCurrentRow();
    void groupRowEmptiesRelationTables();
    void arrowsStepThroughShownActivities();
    void activatingRelationJumpsToActivity();
    void clearDropsModels();
    void resourcesView();
    void resourcesFitWaitsForShow();
    void generalAndNotesOnSample();

private:
    QModelIndex rowOfTask(int taskId) const;
    void makeCurrent(int taskId);
    QLineEdit *edit(const char *name) const { return m_details->findChild<QLineEdit *>(name); }
    QTableView *table(const char *name) const { return m_details->findChild<QTableView *>(name); }
    QToolButton *button(const char *name) const
    {
        return m_details->findChild<QToolButton *>(name);
    }

    ActivityStack *m_stack = nullptr;
    RyJoinProxyModel *m_predecessors = nullptr;
    QStandardItemModel *m_assignments = nullptr;
    Activities *m_activities = nullptr;
    ActivityDetails *m_details = nullptr;
};

void TestActivityDetails::init()
{
    m_stack = new ActivityStack;
    // Shaped like "PredecessorModel": relationship columns, successor code and name,
    // predecessor code and name.
    m_predecessors = new RyJoinProxyModel;
    m_predecessors->setSourceModel(&m_stack->relationships);
    m_predecessors->addJoin(&m_stack->tasks, 0, { 2, 3 }, 0);
    m_predecessors->addJoin(&m_stack->tasks, 0, { 2, 3 }, 1);
    m_assignments = new QStandardItemModel;
    ActivityStack::setColumns(m_assignments,
                              { { "task_id", "integer" }, { "rsrc_name", "string" } });
    ActivityStack::appendValues(m_assignments, { 11, "Crane" });
    ActivityStack::appendValues(m_assignments, { 12, "Welder" });

    m_activities = new Activities;
    m_activities->setModels(&m_stack->activities, &m_stack->wbs, nullptr, nullptr,
                            &m_stack->relationships, true);
    m_details = new ActivityDetails(m_activities);
    m_details->setActivityModel(&m_stack->activities);
    m_details->setResourceModel(m_assignments);
    m_details->setPredecessorModel(m_predecessors);
    m_details->setCodeModel(nullptr);
    // As the main window wires it after each load.
    connect(m_activities->treeView()->selectionModel(), &QItemSelectionModel::currentRowChanged,
            m_details, &ActivityDetails::onRowChanged);
}

void TestActivityDetails::cleanup()
{
    delete m_details;
    delete m_activities;
    delete m_assignments;
    delete m_predecessors;
    delete m_stack;
}

QModelIndex TestActivityDetails::rowOfTask(int taskId) const
{
    const int column = RyModelLookup::findColumn(m_activities->filterProxy(), "task_id");
    return RyModelLookup::verticalLookup(taskId, m_activities->filterProxy(), column, 0);
}

void TestActivityDetails::makeCurrent(int taskId)
{
    m_activities->treeView()->setCurrentIndex(
        rowOfTask(taskId).sibling(rowOfTask(taskId).row(), 0));
}

void TestActivityDetails::delegateTexts_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("relationship") << QVariant("PR_SS") << "SS";
    QTest::newRow("date") << QVariant(ActivityStack::at(2024, 3, 5)) << "05-03-2024";
    QTest::newRow("text") << QVariant("Crane") << "Crane";
}

void TestActivityDetails::delegateTexts()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QCOMPARE(RyDetailDelegate().displayText(value, QLocale()), text);
}

void TestActivityDetails::delegateEditorText_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("date") << QVariant(ActivityStack::at(2024, 3, 31)) << "31-03-2024";
    QTest::newRow("relationship") << QVariant("PR_FS") << "FS";
    QTest::newRow("task type without its prefix") << QVariant("TT_Task") << "Task";
    QTest::newRow("long decimal") << QVariant(1.0 / 3) << "0.33";
}

void TestActivityDetails::delegateEditorText()
{
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), value);
    QLineEdit editor;
    RyDetailDelegate().setEditorData(&editor, model.index(0, 0));
    QCOMPARE(editor.text(), text);
}

void TestActivityDetails::delegateIcon()
{
    QCOMPARE(RyDetailDelegate(QPixmap(), 3).iconColumn(), -1);
    QPixmap red(16, 16);
    red.fill(Qt::red);
    RyDetailDelegate delegate(red, 1);
    QCOMPARE(delegate.iconColumn(), 1);

    QStandardItemModel model(1, 2);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 100, 22);
    QCOMPARE(delegate.sizeHint(option, model.index(0, 0)).width(),
             QStyledItemDelegate().sizeHint(option, model.index(0, 0)).width() + 32);

    QImage iconOnly(100, 22, QImage::Format_ARGB32);
    iconOnly.fill(Qt::white);
    QPainter second(&iconOnly);
    delegate.paint(&second, option, model.index(0, 1));
    second.end();
    QCOMPARE(iconOnly.pixelColor(10, 10), QColor(Qt::red));
    QCOMPARE(iconOnly.pixelColor(60, 10), QColor(Qt::white));
}

void TestActivityDetails::formLayout()
{
    QCOMPARE(m_details->windowTitle(), QString("Form"));
    auto *tabs = m_details->findChild<QTabWidget *>("tabWidget");
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 4); // the Codes tab is never shown
    QCOMPARE(tabs->tabText(0), QString("General"));
    QCOMPARE(tabs->tabText(1), QString("Relationships"));
    QCOMPARE(tabs->tabText(2), QString("Resources"));
    QCOMPARE(tabs->tabText(3), QString("Notes"));
    for (const char *name : { "leName", "leStart", "leFinish", "leTaskType", "leDuration",
                              "leRemainingDuration", "lePercentComplete", "leTotalFloat",
                              "leFreeFloat", "leConstraintType", "leConstraintDate", "leCalendar",
                              "leWbsCode", "leWbsName", "leBaselineStart", "leBaselineFinish" })
        QVERIFY2(edit(name) && edit(name)->isReadOnly(), name);
    auto *notes = m_details->findChild<QPlainTextEdit *>("teNotes");
    QVERIFY(notes && notes->isReadOnly());
    QVERIFY(notes->textInteractionFlags() & Qt::TextSelectableByKeyboard);
    QCOMPARE(m_details->resourceTable(), table("tblResources"));
    QVERIFY(table("tblvwCodes"));
    QCOMPARE(m_details->mapper()->submitPolicy(), QDataWidgetMapper::ManualSubmit);
}

void TestActivityDetails::detailsFollowCurrentRow()
{
    QCOMPARE(edit("leName")->text(), QString("Task 10")); // first row after wiring
    makeCurrent(11);
    QCOMPARE(edit("leName")->text(), QString("Task 11"));
    QCOMPARE(edit("leStart")->text(), QString("31-03-2024"));
    QCOMPARE(edit("leFinish")->text(), QString("10-04-2024"));
    QCOMPARE(edit("leTaskType")->text(), QString("Task"));

    QAbstractItemModel *predecessors = table("tblvwPred")->model();
    QCOMPARE(predecessors->rowCount(), 1);
    QCOMPARE(predecessors->index(0, 1).data().toInt(), 10);
    QCOMPARE(predecessors->headerData(8, Qt::Horizontal).toString(), QString("Predecessor Name"));
    QAbstractItemModel *successors = table("tblvwSucc")->model();
    QCOMPARE(successors->rowCount(), 1);
    QCOMPARE(successors->index(0, 0).data().toInt(), 14);
    QCOMPARE(successors->headerData(6, Qt::Horizontal).toString(), QString("Successor Name"));
    QCOMPARE(table("tblvwSucc")->itemDelegate()->metaObject()->className(), "RyDetailDelegate");
    QCOMPARE(table("tblResources")->model()->rowCount(), 1);
    QCOMPARE(table("tblResources")->model()->index(0, 1).data().toString(), QString("Crane"));
    QVERIFY(table("tblvwPred")->isColumnHidden(0));
    QVERIFY(!table("tblvwPred")->isColumnHidden(3));
    QVERIFY(table("tblvwSucc")->isColumnHidden(7));

    // Task 1 must not show the relations of tasks 10-14 (ids are matched whole).
    m_stack->addTask(1, 2, ActivityStack::at(2024, 1, 1), ActivityStack::at(2024, 1, 2));
    m_details->onRowChanged(m_stack->activities.index(5, 0), QModelIndex());
    QCOMPARE(predecessors->rowCount(), 0);
    QCOMPARE(successors->rowCount(), 0);
}

void TestActivityDetails::groupRowEmptiesRelationTables()
{
    // Until a row is current the resources tab lists nothing, like the relationship tabs.
    QCOMPARE(table("tblResources")->model()->rowCount(), 0);
    m_activities->groupBySelection({ "WBS Code" });
    makeCurrent(11);
    QCOMPARE(edit("leName")->text(), QString("Task 11"));
    m_activities->treeView()->setCurrentIndex(m_activities->filterProxy()->index(0, 0));
    for (const char *name : { "leName", "leStart", "leFinish", "leTaskType" })
        QVERIFY2(edit(name)->text().isEmpty(), name);
    QCOMPARE(table("tblvwPred")->model()->rowCount(), 0);
    QCOMPARE(table("tblvwSucc")->model()->rowCount(), 0);
    QCOMPARE(table("tblResources")->model()->rowCount(), 0);
}

void TestActivityDetails::arrowsStepThroughShownActivities()
{
    m_activities->groupBySelection({ "WBS Code;To level 2" });
    m_activities->treeView()->expandAll();
    // Shown: Project, Alpha, T10, T11, T14, Beta, T12, T13.
    makeCurrent(10);
    QVERIFY(!button("tbPrevious")->isEnabled());
    QVERIFY(button("tbNext")->isEnabled());
    button("tbNext")->click();
    QCOMPARE(edit("leName")->text(), QString("Task 11"));
    button("tbNext")->click();
    button("tbNext")->click(); // over the Beta group row
    QCOMPARE(edit("leName")->text(), QString("Task 12"));
    QCOMPARE(m_activities->treeView()->currentIndex().row(), rowOfTask(12).row());
    button("tbNext")->click();
    QCOMPARE(edit("leName")->text(), QString("Task 13"));
    QVERIFY(!button("tbNext")->isEnabled());
    button("tbPrevious")->click();
    QCOMPARE(edit("leName")->text(), QString("Task 12"));
    QVERIFY(button("tbPrevious")->isEnabled());

    m_activities->treeView()->collapseAll(); // only group rows shown
    m_activities->treeView()->setCurrentIndex(m_activities->filterProxy()->index(0, 0));
    QVERIFY(!button("tbNext")->isEnabled());
    QVERIFY(!button("tbPrevious")->isEnabled());
}

void TestActivityDetails::activatingRelationJumpsToActivity()
{
    makeCurrent(11);
    QTableView *predecessors = table("tblvwPred");
    emit predecessors->activated(predecessors->model()->index(0, 3));
    QCOMPARE(m_activities->treeView()->currentIndex().row(), rowOfTask(10).row());
    QCOMPARE(edit("leName")->text(), QString("Task 10"));
    makeCurrent(11);
    QTableView *successors = table("tblvwSucc");
    emit successors->activated(successors->model()->index(0, 3));
    QCOMPARE(edit("leName")->text(), QString("Task 14"));
    m_details->gotoSuccessor(QModelIndex()); // ignored
    QCOMPARE(edit("leName")->text(), QString("Task 14"));
}

void TestActivityDetails::clearDropsModels()
{
    m_details->clear();
    QVERIFY(!table("tblvwPred")->model());
    QVERIFY(!table("tblResources")->model());
    QVERIFY(edit("leName")->text().isEmpty());
    m_details->onRowChanged(m_stack->activities.index(1, 0), QModelIndex()); // nothing wired
    QVERIFY(edit("leName")->text().isEmpty());
}

void TestActivityDetails::resourcesView()
{
    Resources resources;
    QCOMPARE(resources.windowTitle(), QString("Form"));
    QCOMPARE(resources.tableView()->objectName(), QString("tableView"));
    QCOMPARE(resources.tableView()->horizontalHeader(), resources.sortFilterHeader());
    QVERIFY(resources.tableView()->verticalHeader()->isHidden());
    resources.setModel(nullptr);
    QVERIFY(!resources.filterProxy());
    resources.setModel(m_assignments);
    QCOMPARE(resources.sourceModel(), m_assignments);
    QCOMPARE(resources.tableView()->model(), resources.filterProxy());
    QCOMPARE(resources.filterProxy()->rowCount(), 2);
    RySortFilterWidget *first = resources.sortFilterWidget();
    QVERIFY(first);
    resources.setModel(m_assignments);
    QVERIFY(resources.sortFilterWidget());
    QCOMPARE(resources.sortFilterHeader()->sortFilterWidget(),
             static_cast<RySectionPainter *>(resources.sortFilterWidget()));
}

// A fit asked for while the page is hidden is made when it is first shown, with the widths an
// immediate fit gives: texts whole, up to the maximum.
void TestActivityDetails::resourcesFitWaitsForShow()
{
    QStandardItemModel model;
    ActivityStack::setColumns(&model, { { "ID", "integer" }, { "Name", "string" } });
    const QString name = QStringLiteral("Tower crane with a long name");
    ActivityStack::appendValues(&model, { 11, name });
    ActivityStack::appendValues(&model, { 12, QString(200, QLatin1Char('w')) });
    Resources resources;
    resources.setModel(&model);
    QHeaderView *header = resources.tableView()->horizontalHeader();
    const int unfitted = header->sectionSize(1);
    resources.fitColumns(300);
    QCOMPARE(header->sectionSize(1), unfitted);
    resources.show();
    const int fitted = header->sectionSize(1);
    QCOMPARE(fitted, 300);
    resources.fitColumns(400);
    QCOMPARE(header->sectionSize(1), 400);
    model.setData(model.index(1, 1), name);
    resources.fitColumns(300);
    QVERIFY(header->sectionSize(1) >= header->fontMetrics().horizontalAdvance(name));
    QVERIFY(header->sectionSize(1) < fitted);
}

// On a real schedule each general field shows its activity column's text (durations in the
// chosen unit), the Notes tab the whole note, and a group row empties them all.
void TestActivityDetails::generalAndNotesOnSample()
{
    QFile schema(":/files/mppr.json");
    QVERIFY(schema.open(QIODevice::ReadOnly));
    MPPLoader loader;
    loader.setSchema(QJsonDocument::fromJson(schema.readAll()));
    loader.load(QStringLiteral(TARVIK_SAMPLES "/extra/sample.mpp"));
    auto *activities = qobject_cast<QAbstractItemModel *>(loader.model("ActivityModel"));
    QVERIFY(activities);
    Activities view;
    view.setModels(activities, qobject_cast<QAbstractItemModel *>(loader.model("PROJWBS")), nullptr,
                   nullptr, nullptr, true);
    ActivityDetails details(&view);
    details.setActivityModel(activities);
    details.setResourceModel(qobject_cast<QAbstractItemModel *>(loader.model("ResourceModel")));
    details.setPredecessorModel(
        qobject_cast<QAbstractItemModel *>(loader.model("PredecessorModel")));
    details.setCodeModel(qobject_cast<QAbstractItemModel *>(loader.model("CodeModel")));
    connect(view.treeView()->selectionModel(), &QItemSelectionModel::currentRowChanged, &details,
            &ActivityDetails::onRowChanged);
    auto field = [&](const char *name) { return details.findChild<QLineEdit *>(name)->text(); };
    auto *notes = details.findChild<QPlainTextEdit *>("teNotes");

    view.goToActivity(2u); // "Second Task", with a note
    const int row = RyModelLookup::verticalLookup(2u, activities, 0, 0).row();
    QVERIFY(row >= 0);
    const QList<QPair<const char *, const char *>> fields = {
        { "leDuration", "Planned Duration" },
        { "leRemainingDuration", "Remaining Duration" },
        { "lePercentComplete", "Progress" },
        { "leTotalFloat", "Total float" },
        { "leFreeFloat", "Free float" },
        { "leConstraintType", "Activity constraint type" },
        { "leConstraintDate", "Activity Constraint Date" },
        { "leCalendar", "Calendar" },
        { "leWbsCode", "WBS Code" },
        { "leWbsName", "WBS Name" },
        { "leBaselineStart", "BL Project Start" },
        { "leBaselineFinish", "BL Project Finish" },
    };
    for (const auto &f : fields) {
        const int column = RyModelLookup::findColumn(activities, f.second);
        QVERIFY2(column >= 0, f.second);
        QCOMPARE(field(f.first), RyValueText::displayText(activities->index(row, column)));
    }
    QCOMPARE(field("leName"), QString("Second Task"));
    QVERIFY(field("leDuration").endsWith('d'));
    QVERIFY(field("lePercentComplete").endsWith('%'));
    QCOMPARE(field("leCalendar"), QString("Standard"));
    const QString note = QStringLiteral("Second task note with some formatting!");
    QCOMPARE(notes->toPlainText(), note);
    const int notesColumn = RyModelLookup::findColumn(activities, "Notes");
    QCOMPARE(activities->index(row, notesColumn).data().toString(), note);

    view.groupBySelection({ "WBS Code" });
    view.treeView()->setCurrentIndex(view.filterProxy()->index(0, 0));
    QVERIFY(view.treeView()->isGroupRow(view.treeView()->currentIndex()));
    for (const QLineEdit *edit : details.findChildren<QLineEdit *>())
        QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
    QVERIFY(notes->toPlainText().isEmpty());
}

QTEST_MAIN(TestActivityDetails)
#include "tst_activitydetails.moc"
