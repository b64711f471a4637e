// The derived-model steps over tables of another loader: plain item models with the P6 columns
// that the MPP tables lack, so that the writes of the activity step take effect.
#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "tables/projectloader.h"

#include <QAbstractItemModelTester>
#include <QStandardItemModel>
#include <QtTest>

using RyModelLookup::findColumn;

namespace {

QDateTime on(int day)
{
    return QDateTime(QDate(2024, 5, day), QTime(8, 0), Qt::UTC);
}

QStandardItemModel *tableOf(const QStringList &headers, const QVector<QVariantList> &rows)
{
    auto *model = new QStandardItemModel(rows.size(), headers.size());
    model->setHorizontalHeaderLabels(headers);
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < rows[row].size(); ++column) {
            if (rows[row][column].isValid())
                model->setData(model->index(row, column), rows[row][column]);
        }
    }
    return model;
}

const QStringList TaskHeaders { "task_id",
                                "Activity Type",
                                "wbs_id",
                                "Activity status",
                                "Activity constraint type",
                                "Activity ID",
                                "Activity Name",
                                "Activity Constraint Date",
                                "Actual Start",
                                "Actual Finish",
                                "Planned start date",
                                "Planned finish date",
                                "Start Date",
                                "Finish Date",
                                "Predecessors",
                                "Predecessors Details" };

// A loader whose tables are given by the test.
class TableLoader : public ProjectLoader
{
public:
    void clear() override { deleteTables(); }
    QString loaderName() const override { return QStringLiteral("TableLoader"); }
    void add(const QString &name, QObject *table)
    {
        table->setObjectName(name);
        registerTable(name, table);
    }
};

} // namespace

class TestProjectLoader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void activityTypeTexts();
    void startAndFinishByStatusAndConstraint_data();
    void startAndFinishByStatusAndConstraint();
    void predecessorTexts();
    void activityRowsSortedById();
    void codeAssignmentPivot();
    void fieldAssignmentPivot();
    void missingTablesProduceNothing();

private:
    std::unique_ptr<TableLoader> m_loader;
    QStandardItemModel *m_tasks = nullptr;
};

void TestProjectLoader::init()
{
    m_loader = std::make_unique<TableLoader>();
    // Rows: type, status, constraint, constraint date, actual start/finish, planned start/finish.
    m_tasks = tableOf(TaskHeaders,
                      { { 30, "TT_Task", 100, "TK_Complete", "", "A30", "Done", on(20), on(1),
                          on(2), on(3), on(4) },
                        { 10, "TT_Mile", 100, "TK_Active", "CS_MEO", "A10", "Running", on(20),
                          on(5), QVariant(), on(6), on(7) },
                        { 20, "TT_LOE", 200, "TK_Active", "CS_MSO", "A20", "Running free", on(20),
                          on(8), QVariant(), on(9), on(10) },
                        { 40, "TT_WBS", 200, "TK_NotStart", "CS_MSO", "A40", "Planned", on(20),
                          QVariant(), QVariant(), on(11), on(12) },
                        { 50, "TT_Task", 999, "TK_NotStart", "CS_MANDFIN", "A50", "Due", on(21),
                          QVariant(), QVariant(), on(13), on(14) } });
    m_loader->add("TASK", m_tasks);
    m_loader->add("PROJWBS",
                  tableOf({ "wbs_id", "seq_num", "WBS Code", "WBS Name" },
                          { { 100, 0, "W1", "Phase one" }, { 200, 1, "W2", "Phase two" } }));
    m_loader->add("TASKPRED",
                  tableOf({ "task_id", "pred_task_id", "pred_proj_id", "Type", "Lag" },
                          { { 10, 30, 1, "PR_FS", 8.0 },
                            { 10, 20, 1, "PR_SS", 0.0 },
                            { 40, 10, 1, "PR_FF", -0.5 },
                            { 40, 77, 1, "PR_FS", 0.0 } }));
}

void TestProjectLoader::cleanup()
{
    m_loader.reset();
}

void TestProjectLoader::activityTypeTexts()
{
    m_loader->createModels();
    const int type = findColumn(m_tasks, "Activity Type");
    const QStringList expected { "Task", "Milestone", "Level of Effort", "", "Task" };
    for (int row = 0; row < expected.size(); ++row)
        QCOMPARE(m_tasks->index(row, type).data().toString(), expected[row]);
}

void TestProjectLoader::startAndFinishByStatusAndConstraint_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("finish");
    QTest::newRow("complete: actual dates") << 0 << on(1) << on(2);
    QTest::newRow("active, finish constraint: actual start, constraint date")
        << 1 << on(5) << on(20);
    QTest::newRow("active, start constraint: actual start, planned finish") << 2 << on(8) << on(10);
    QTest::newRow("not started, start constraint: constraint date, planned finish")
        << 3 << on(20) << on(12);
    QTest::newRow("not started, finish constraint: planned start, constraint date")
        << 4 << on(13) << on(21);
}

void TestProjectLoader::startAndFinishByStatusAndConstraint()
{
    QFETCH(int, row);
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, finish);
    m_loader->createModels();
    QCOMPARE(m_tasks->index(row, findColumn(m_tasks, "Start Date")).data(), QVariant(start));
    QCOMPARE(m_tasks->index(row, findColumn(m_tasks, "Finish Date")).data(), QVariant(finish));
}

void TestProjectLoader::predecessorTexts()
{
    m_loader->createModels();
    const int predecessors = findColumn(m_tasks, "Predecessors");
    const int details = findColumn(m_tasks, "Predecessors Details");
    QCOMPARE(m_tasks->index(1, predecessors).data().toString(), QString("A20, A30"));
    QCOMPARE(m_tasks->index(1, details).data().toString(), QString("A20:SS, A30:FS+8h"));
    // The predecessor 77 is no activity: it has no key and is left out.
    QCOMPARE(m_tasks->index(3, details).data().toString(), QString("A10:FF-0.5h"));
    QCOMPARE(m_tasks->index(0, predecessors).data().toString(), QString());
}

void TestProjectLoader::activityRowsSortedById()
{
    m_loader->createModels();
    auto *activities = qobject_cast<QAbstractItemModel *>(m_loader->model("ActivityModel"));
    QAbstractItemModelTester tester(activities,
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(activities->rowCount(), 5);
    QCOMPARE(activities->columnCount(), 3 + TaskHeaders.size() + 2);
    const QList<int> ids { 10, 20, 30, 40, 50 };
    for (int row = 0; row < ids.size(); ++row) {
        QCOMPARE(activities->index(row, 0).data(), QVariant(ids[row]));
        QCOMPARE(activities->index(row, 3).data(), QVariant(ids[row]));
    }
    // WBS joined through the task's wbs_id; 999 names no element.
    const int wbsName = findColumn(activities, "WBS Name");
    QCOMPARE(activities->index(0, wbsName).data(), QVariant("Phase one"));
    QCOMPARE(activities->index(1, wbsName).data(), QVariant("Phase two"));
    QVERIFY(!activities->index(4, wbsName).data().isValid());
    auto *relations = qobject_cast<QAbstractItemModel *>(m_loader->model("PredecessorModel"));
    QAbstractItemModelTester relationTester(relations,
                                            QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(relations->index(0, 6).data(), QVariant("Running"));
    QCOMPARE(relations->index(0, 8).data(), QVariant("Done"));
}

void TestProjectLoader::codeAssignmentPivot()
{
    m_loader->add(
        "ACTVTYPE",
        tableOf({ "actv_code_type_id", "actv_short_len", "seq_num", "Activity Code", "Scope" },
                { { 7, 0, 0, "Area", "Project" }, { 3, 0, 1, "Crew", "Project" } }));
    m_loader->add("ACTVCODE",
                  tableOf({ "actv_code_id", "actv_code_type_id", "seq_num", "Code Value", "parent",
                            "Code Name" },
                          { { 71, 7, 0, "N", QVariant(), "North" },
                            { 72, 7, 1, "S", QVariant(), "South" },
                            { 31, 3, 0, "W", QVariant(), "Welders" } }));
    m_loader->add("TASKACTV",
                  tableOf({ "task_id", "actv_code_type_id", "actv_code_id" },
                          { { 30, 7, 71 },
                            { 10, 3, 31 },
                            { 30, 7, 72 }, // a later code of the same type wins
                            { 99, 3, 31 } })); // no such activity
    m_loader->createModels();
    auto *codes = qobject_cast<QAbstractItemModel *>(m_loader->model("taskCodesAssignmentModel"));
    QAbstractItemModelTester tester(codes, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(codes->columnCount(), 3);
    QCOMPARE(codes->rowCount(), 5);
    // Columns by ascending code type id.
    QCOMPARE(codes->headerData(1, Qt::Horizontal).toString(), QString("Crew"));
    QCOMPARE(codes->headerData(2, Qt::Horizontal).toString(), QString("Area"));
    QCOMPARE(codes->headerData(2, Qt::Horizontal, Ry::ColumnGroupRole).toString(),
             QString("Codes"));
    // The id names the code type, which stays when the header text follows an alias.
    QCOMPARE(codes->headerData(2, Qt::Horizontal, Ry::ColumnIdRole).toString(),
             QString("actv_code_type_id=7"));
    const QVariantMap description
        = codes->headerData(2, Qt::Horizontal, Ry::ColumnDescriptionRole).toMap();
    QCOMPARE(description.value("id"), QVariant(117));
    QCOMPARE(description.value("structure"), QVariant(true));
    QCOMPARE(codes->index(0, 0).data(), QVariant(30)); // TASK order
    QCOMPARE(codes->index(0, 2).data(), QVariant("South"));
    QCOMPARE(codes->index(0, 2).data(Qt::UserRole), QVariant(72));
    QCOMPARE(codes->index(1, 1).data(), QVariant("Welders"));
    QVERIFY(!codes->index(1, 2).data().isValid());
    auto *activities = qobject_cast<QAbstractItemModel *>(m_loader->model("ActivityModel"));
    QCOMPARE(activities->index(2, findColumn(activities, "Area")).data(), QVariant("South"));
    auto *codeModel = qobject_cast<QAbstractItemModel *>(m_loader->model("CodeModel"));
    QCOMPARE(codeModel->index(0, 3).data(), QVariant("N"));
    QCOMPARE(codeModel->index(0, 4).data(), QVariant("North"));
    QCOMPARE(codeModel->index(0, 5).data(), QVariant("Area"));
}

void TestProjectLoader::fieldAssignmentPivot()
{
    m_loader->add("UDFTYPE",
                  tableOf({ "udf_type_id", "table_name", "UDF Name", "Label" },
                          { { 5, "Task", "f5", "Cost code" }, { 2, "Task", "f2", "Due" } }));
    m_loader->add(
        "UDFVALUE",
        tableOf({ "udf_type_id", "fk_id", "proj_id", "udf_date", "udf_text", "udf_number" },
                { { 5, 10, 1, QVariant(), "CC-1", QVariant() },
                  { 2, 10, 1, on(9), QVariant(), QVariant() },
                  { 5, 20, 1, QVariant(), QVariant(), 42 } }));
    m_loader->createModels();
    auto *fields
        = qobject_cast<QAbstractItemModel *>(m_loader->model("userDefinedAssignmentModel"));
    QAbstractItemModelTester tester(fields, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(fields->columnCount(), 3);
    QCOMPARE(fields->headerData(1, Qt::Horizontal).toString(), QString("Due"));
    QCOMPARE(fields->headerData(2, Qt::Horizontal).toString(), QString("Cost code"));
    QCOMPARE(fields->headerData(2, Qt::Horizontal, Ry::ColumnGroupRole).toString(),
             QString("User Defined"));
    QCOMPARE(fields->index(1, 1).data(), QVariant(on(9)));
    QCOMPARE(fields->index(1, 2).data(), QVariant("CC-1"));
    QCOMPARE(fields->index(1, 2).data(Qt::UserRole), QVariant(5));
    QCOMPARE(fields->index(2, 2).data(), QVariant(42));
    QVERIFY(!fields->index(0, 2).data().isValid());
}

void TestProjectLoader::missingTablesProduceNothing()
{
    TableLoader empty;
    empty.createModels();
    QVERIFY(!empty.hasModel("ActivityModel"));
    QVERIFY(!empty.hasModel("taskCodesAssignmentModel"));
    QVERIFY(!empty.hasModel("userDefinedAssignmentModel"));
    // The joins exist without a source.
    for (const char *name : { "PredecessorModel", "ResourceModel", "CodeModel" }) {
        auto *model = qobject_cast<QAbstractItemModel *>(empty.model(name));
        QVERIFY(model);
        QCOMPARE(model->columnCount(), 0);
    }
}

QTEST_MAIN(TestProjectLoader)
#include "tst_projectloader.moc"
