// The ten P6-shaped tables over crafted in-memory projects: rows, cells, units, headers.
#include "tests/tables/projectbuilder.h"

#include "models/ryconstants.h"
#include "tables/mppactvcodemodel.h"
#include "tables/mppactvtypemodel.h"
#include "tables/mpprsrcmodel.h"
#include "tables/mpptaskactivemodel.h"
#include "tables/mpptaskmodel.h"
#include "tables/mpptaskpredmodel.h"
#include "tables/mpptaskrsrcmodel.h"
#include "tables/mppudftypemodel.h"
#include "tables/mppudfvaluemodel.h"
#include "tables/mppwbsmodel.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QJsonDocument>
#include <QtTest>

using namespace TestProject;

namespace {

QVariantMap schemaOf(const QString &table)
{
    QFile file(":/files/mppr.json");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QVariantList tables
        = QJsonDocument::fromJson(file.readAll()).toVariant().toMap().value("tables").toList();
    QVariantMap descriptions;
    for (const QVariant &entry : tables) {
        if (entry.toMap().value("name") != table)
            continue;
        for (const QVariant &column : entry.toMap().value("columns").toList())
            descriptions.insert(column.toMap().value("id").toString(), column);
    }
    return descriptions;
}

template<typename Model>
std::unique_ptr<Model> tableOver(mppr::Project *project, const QString &schemaName)
{
    auto model = std::make_unique<Model>();
    model->setColumns(schemaOf(schemaName));
    model->setProject(project);
    return model;
}

QVariant cell(const QAbstractItemModel &model, int row, const QString &id)
{
    const auto *table = qobject_cast<const MPPModel *>(&model);
    return model.index(row, table->columnOf(id)).data();
}

int rowOfTask(const MPPModel &model, uint uid)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.index(row, 0).data().toUInt() == uid)
            return row;
    }
    return -1;
}

} // namespace

class TestMppTables : public QObject
{
    Q_OBJECT

private slots:
    void everyTablePassesTheModelTester();
    void rowCellsAreTheDisplayValues();
    void summaryTasksBecomeWbsRows();
    void blankAndShortRecordsAreNoActivities();
    void derivedDatesAndTaskType();
    void taskProgressText_data();
    void taskProgressText();
    void durationsWorkAndFloatInHours();
    void absentFieldsHaveNoValue();
    void baselineColumnsShowBaselineZero();
    void noteSummary_data();
    void noteSummary();
    void notesColumnAndToolTip();
    void onlyParentUidIsWritable();
    void relationTypesAndLags_data();
    void relationTypesAndLags();
    void assignmentsAndResources();
    void userDefinedFields();
    void emptyCodeTablesStillAnswerHeaders();
    void headersFromTheSchema();
    void missingWbsTaskGivesNoValues();
    void taskCalendarOrProjectCalendar();
    void modelsWithoutProject();
};

static std::vector<std::unique_ptr<MPPModel>> everyTable(mppr::Project *project)
{
    std::vector<std::unique_ptr<MPPModel>> tables;
    tables.push_back(tableOver<MPPTaskModel>(project, "TASK"));
    tables.push_back(tableOver<MPPWBSModel>(project, "PROJWBS"));
    tables.push_back(tableOver<MPPTaskPredModel>(project, "TASKPRED"));
    tables.push_back(tableOver<MPPTaskRsrcModel>(project, "TASKRSRC"));
    tables.push_back(tableOver<MPPRsrcModel>(project, "RSRC"));
    tables.push_back(tableOver<MPPActvTypeModel>(project, "ACTVTYPE"));
    tables.push_back(tableOver<MPPActvCodeModel>(project, "ACTVCODE"));
    tables.push_back(tableOver<MPPTaskActiveModel>(project, "TASKACTV"));
    tables.push_back(tableOver<MPPUdfTypeModel>(project, "UDFTYPE"));
    tables.push_back(tableOver<MPPUdfValueModel>(project, "UDFVALUE"));
    return tables;
}

void TestMppTables::everyTablePassesTheModelTester()
{
    auto project = small();
    for (auto &table : everyTable(project.get())) {
        QAbstractItemModelTester tester(table.get(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        // A second project replaces the rows inside a reset the tester follows.
        auto other = small();
        table->setProject(other.get());
        table->setProject(project.get());
    }
}

void TestMppTables::rowCellsAreTheDisplayValues()
{
    auto project = small();
    int compared = 0;
    for (auto &table : everyTable(project.get())) {
        const int columns = table->columnCount();
        std::vector<QVariant> cells(static_cast<size_t>(columns), QVariant(-7));
        for (int row = -1; row <= table->rowCount(); ++row) {
            table->rowCells(row, cells.data());
            for (int column = 0; column < columns; ++column) {
                const QVariant expected = table->index(row, column).data();
                QVERIFY2(cells[size_t(column)] == expected
                             && cells[size_t(column)].userType() == expected.userType(),
                         qPrintable(QStringLiteral("%1 (%2, %3)")
                                        .arg(table->objectName())
                                        .arg(row)
                                        .arg(column)));
                compared += row >= 0 && row < table->rowCount() && expected.isValid();
            }
        }
    }
    QVERIFY(compared > 0);
}

void TestMppTables::summaryTasksBecomeWbsRows()
{
    auto project = small();
    auto tasks = tableOver<MPPTaskModel>(project.get(), "TASK");
    auto wbs = tableOver<MPPWBSModel>(project.get(), "PROJWBS");
    QCOMPARE(tasks->rowCount(), 3);
    QCOMPARE(rowOfTask(*tasks, 1), -1);
    QCOMPARE(wbs->rowCount(), 1);
    QCOMPARE(cell(*wbs, 0, "wbs_id"), QVariant(1u));
    QCOMPARE(cell(*wbs, 0, "seq_num"), QVariant(0));
    QCOMPARE(cell(*wbs, 0, "wbs_name"), QVariant("Summary"));
    QVERIFY(!cell(*wbs, 0, "parent_wbs_id").isValid());
    QCOMPARE(cell(*tasks, rowOfTask(*tasks, 2), "wbs_id"), QVariant(1u));
    QCOMPARE(cell(*tasks, rowOfTask(*tasks, 3), "wbs_id"), QVariant(1u));
    // A task without parent that is nobody's parent: an activity without WBS.
    QVERIFY(!cell(*tasks, rowOfTask(*tasks, 4), "wbs_id").isValid());
    QCOMPARE(cell(*tasks, 0, "proj_id"), QVariant(1));
    QCOMPARE(tasks->index(0, 0).internalPointer(), (void *)tasks->task(0));
}

void TestMppTables::blankAndShortRecordsAreNoActivities()
{
    mppr::Project project("x.mpp");
    addTask(project, 1, -1)->blankRecord = true;
    mppr::Task *shortOne = addTask(project, 2, 5);
    shortOne->shortRecord = true;
    addTask(project, 3, -1);
    // A blank record's parent id does not make its parent a summary task.
    addTask(project, 4, 3)->blankRecord = true;
    MPPTaskModel tasks;
    tasks.setProject(&project);
    QCOMPARE(tasks.rowCount(), 1);
    QCOMPARE(tasks.index(0, 0).data(), QVariant(3u));
    MPPWBSModel wbs;
    wbs.setProject(&project);
    QCOMPARE(wbs.rowCount(), 0);
}

void TestMppTables::derivedDatesAndTaskType()
{
    auto project = small();
    auto tasks = tableOver<MPPTaskModel>(project.get(), "TASK");
    const int a = rowOfTask(*tasks, 2);
    const int b = rowOfTask(*tasks, 3);
    const int c = rowOfTask(*tasks, 4);
    QCOMPARE(cell(*tasks, a, "task_type"), QVariant("TT_Task"));
    QCOMPARE(cell(*tasks, a, "calc_start_date"), QVariant(at(2024, 3, 4)));
    QCOMPARE(cell(*tasks, a, "calc_end_date"), QVariant(at(2024, 3, 8, 17)));
    QCOMPARE(cell(*tasks, b, "task_type"), QVariant("TT_Mile"));
    // The actual start wins over the early start.
    QCOMPARE(cell(*tasks, c, "calc_start_date"), QVariant(at(2024, 3, 1)));
    QCOMPARE(cell(*tasks, c, "act_start_date"), QVariant(at(2024, 3, 1)));
    QCOMPARE(cell(*tasks, c, "early_start_date"), QVariant(at(2024, 3, 2)));
    QVERIFY(!cell(*tasks, c, "late_start_date").isValid());

    mppr::Project empty("e.mpp");
    addTask(empty, 7, -1);
    MPPTaskModel undated;
    undated.setProject(&empty);
    QCOMPARE(undated.index(0, MPPTaskModel::TaskType).data(), QVariant("TT_Task"));
    QVERIFY(!undated.index(0, MPPTaskModel::CalcStartDate).data().isValid());
    QVERIFY(!undated.index(0, MPPTaskModel::CstrDate).data().isValid());
}

void TestMppTables::taskProgressText_data()
{
    QTest::addColumn<double>("percent");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("zero") << 0.0 << true << QVariant(0.0);
    QTest::newRow("fraction") << 37.5 << true << QVariant(37.5);
    QTest::newRow("complete") << 100.0 << true << QVariant(100.0);
    QTest::newRow("layout without percent complete") << 0.0 << false << QVariant();
}

void TestMppTables::taskProgressText()
{
    QFETCH(double, percent);
    QFETCH(bool, read);
    QFETCH(QVariant, value);
    mppr::Project project("p.mpp");
    project.setHasPercentComplete(read);
    addTask(project, 1, -1)->percentComplete = percent;
    MPPTaskModel tasks;
    tasks.setProject(&project);
    // A number, so that conditions and sorting treat it as one; "45%" is only its display.
    QCOMPARE(tasks.index(0, MPPTaskModel::TaskProgress).data(), value);
}

void TestMppTables::durationsWorkAndFloatInHours()
{
    mppr::Project project("u.mpp");
    mppr::Task *t = addTask(project, 1, -1);
    t->startSlack = 4800; // 8 h
    t->finishSlack = 2400; // 4 h
    t->tf15 = 1200; // free float 2 h
    t->duration = 24000; // 40 h
    t->tf1f = 6000; // 10 h remaining
    t->work = 2400000.0; // 40 h
    t->actualWork = 600000.0; // 10 h
    t->tf04 = 1800000.0; // 30 h
    t->tf1c = 999;
    MPPTaskModel tasks;
    tasks.setProject(&project);
    const auto value = [&](MPPTaskModel::Column column) { return tasks.index(0, column).data(); };
    QCOMPARE(value(MPPTaskModel::TotalFloatHrCnt), QVariant(4.0));
    QCOMPARE(value(MPPTaskModel::FreeFloatHrCnt), QVariant(2.0));
    QCOMPARE(value(MPPTaskModel::TargetDrtnHrCnt), QVariant(40.0));
    QCOMPARE(value(MPPTaskModel::RemainDrtnHrCnt), QVariant(10.0));
    QCOMPARE(value(MPPTaskModel::TargetWorkQty), QVariant(40.0));
    QCOMPARE(value(MPPTaskModel::ActWorkQty), QVariant(10.0));
    QCOMPARE(value(MPPTaskModel::RemainWorkQty), QVariant(30.0));
    QVERIFY(!value(MPPTaskModel::RemainEquipQty).isValid());
    QVERIFY(!value(MPPTaskModel::TargetEquipQty).isValid());
    QCOMPARE(value(MPPTaskModel::TotalFloatHrCnt).userType(), int(QMetaType::Double));

    // Negative slack (behind schedule) stays negative.
    t->finishSlack = -600;
    QCOMPARE(value(MPPTaskModel::TotalFloatHrCnt), QVariant(-1.0));
}

void TestMppTables::absentFieldsHaveNoValue()
{
    mppr::Project project("a.mpp");
    mppr::Task *t = addTask(project, 1, -1);
    t->startSlack = 0;
    MPPTaskModel tasks;
    tasks.setProject(&project);
    // Total float needs both slack fields.
    QVERIFY(!tasks.index(0, MPPTaskModel::TotalFloatHrCnt).data().isValid());
    QVERIFY(!tasks.index(0, MPPTaskModel::TargetDrtnHrCnt).data().isValid());
    QVERIFY(!tasks.index(0, MPPTaskModel::TargetWorkQty).data().isValid());
    QVERIFY(!tasks.index(0, MPPTaskModel::ActWorkQty).data().isValid());
    // Fields in the map without data read 0.
    QCOMPARE(tasks.index(0, MPPTaskModel::FreeFloatHrCnt).data(), QVariant(0.0));
    t->finishSlack = 0;
    QCOMPARE(tasks.index(0, MPPTaskModel::TotalFloatHrCnt).data(), QVariant(0.0));
}

void TestMppTables::baselineColumnsShowBaselineZero()
{
    mppr::Project project("b.mpp");
    mppr::Task *t = addTask(project, 1, -1);
    mppr::Task *other = addTask(project, 2, -1);
    mppr::Baseline b0;
    b0.start = at(2023, 5, 1);
    b0.duration = 4800; // 8 h
    b0.work = 960000.0; // 16 h
    b0.cost = 12.5;
    mppr::Baseline b2;
    b2.number = 2;
    b2.start = b2.finish = at(2023, 6, 1);
    t->baselines = { b0, b2 };
    other->baselines = { b2 };
    MPPTaskModel tasks;
    tasks.setProject(&project);
    const int row = rowOfTask(tasks, 1);
    const auto value
        = [&](int r, MPPTaskModel::Column column) { return tasks.index(r, column).data(); };
    QCOMPARE(value(row, MPPTaskModel::BlProjectStartDate), QVariant(at(2023, 5, 1)));
    QVERIFY(!value(row, MPPTaskModel::BlProjectEndDate).isValid());
    QCOMPARE(value(row, MPPTaskModel::BlProjectDrtnHrCnt), QVariant(8.0));
    QCOMPARE(value(row, MPPTaskModel::BlProjectWorkQty), QVariant(16.0));
    QCOMPARE(value(row, MPPTaskModel::BlProjectTotalCost), QVariant(12.5));
    // Only Baseline (0) has columns.
    for (int column = MPPTaskModel::BlProjectStartDate; column < MPPTaskModel::ColumnCount;
         ++column)
        QVERIFY(!tasks.index(rowOfTask(tasks, 2), column).data().isValid());
}

void TestMppTables::noteSummary_data()
{
    QTest::addColumn<QString>("notes");
    QTest::addColumn<QString>("summary");
    QTest::newRow("none") << ""
                          << "";
    QTest::newRow("one line") << "Call the crane firm"
                              << "Call the crane firm";
    QTest::newRow("two lines") << "First\nSecond" << QString("First") + QChar(0x2026);
    QTest::newRow("carriage return") << "First\r\nSecond" << QString("First") + QChar(0x2026);
    QTest::newRow("blank lines around") << "\n  Only  \n\n"
                                        << "Only";
    QTest::newRow("long line") << QString(130, 'a') << QString(120, 'a') + QChar(0x2026);
}

void TestMppTables::noteSummary()
{
    QFETCH(QString, notes);
    QFETCH(QString, summary);
    QCOMPARE(MPPModel::noteSummary(notes), summary);
}

void TestMppTables::notesColumnAndToolTip()
{
    auto project = small();
    project->task(2)->notes = QStringLiteral("Line one\nLine two");
    auto tasks = tableOver<MPPTaskModel>(project.get(), "TASK");
    const QModelIndex noted = tasks->index(rowOfTask(*tasks, 2), MPPTaskModel::TaskNotes);
    QCOMPARE(noted.data().toString(), QString("Line one") + QChar(0x2026));
    QCOMPARE(noted.data(Qt::ToolTipRole).toString(), QString("Line one\nLine two"));
    const QModelIndex plain = tasks->index(rowOfTask(*tasks, 3), MPPTaskModel::TaskNotes);
    QVERIFY(!plain.data().isValid());
    QVERIFY(!plain.data(Qt::ToolTipRole).isValid());
    QCOMPARE(tasks->headerData(MPPTaskModel::TaskNotes, Qt::Horizontal).toString(),
             QString("Notes"));

    project->resource(10)->notes = QStringLiteral("Hired\nfor May");
    auto resources = tableOver<MPPRsrcModel>(project.get(), "RSRC");
    for (int row = 0; row < resources->rowCount(); ++row) {
        const QModelIndex notes = resources->index(row, MPPRsrcModel::RsrcNotes);
        const bool noted = resources->index(row, 0).data().toUInt() == 10;
        QCOMPARE(notes.data().toString(), noted ? QString("Hired") + QChar(0x2026) : QString());
        QCOMPARE(notes.data(Qt::ToolTipRole).toString(),
                 noted ? QString("Hired\nfor May") : QString());
    }
    QCOMPARE(resources->headerData(MPPRsrcModel::RsrcNotes, Qt::Horizontal).toString(),
             QString("Resource Notes"));
}

void TestMppTables::onlyParentUidIsWritable()
{
    auto project = small();
    MPPTaskModel tasks;
    tasks.setProject(project.get());
    QSignalSpy dataChanged(&tasks, &QAbstractItemModel::dataChanged);
    QVERIFY(!tasks.setData(tasks.index(0, MPPTaskModel::TaskName), "x", Qt::DisplayRole));
    QVERIFY(!tasks.setData(tasks.index(0, MPPTaskModel::ParentUid), 5, Qt::EditRole));
    QVERIFY(!tasks.index(0, MPPTaskModel::ParentUid).data().isValid());
    QVERIFY(tasks.setData(tasks.index(0, MPPTaskModel::ParentUid), 5, Qt::DisplayRole));
    QCOMPARE(tasks.index(0, MPPTaskModel::ParentUid).data(), QVariant(5));
    QCOMPARE(dataChanged.count(), 0);
    MPPWBSModel wbs;
    wbs.setProject(project.get());
    QVERIFY(!wbs.setData(wbs.index(0, 0), 5, Qt::DisplayRole));
}

void TestMppTables::relationTypesAndLags_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("lag");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QVariant>("typeText");
    QTest::addColumn<QVariant>("hours");
    QTest::newRow("FF") << 0 << 0 << 7 << QVariant("PR_FF") << QVariant(0.0);
    QTest::newRow("FS one day") << 1 << 4800 << 7 << QVariant("PR_FS") << QVariant(8.0);
    QTest::newRow("SF in elapsed days") << 2 << 4800 << 8 << QVariant("PR_SF") << QVariant(8.0);
    QTest::newRow("SS minus half an hour") << 3 << -300 << 5 << QVariant("PR_SS") << QVariant(-0.5);
    QTest::newRow("unknown type") << 7 << 600 << 7 << QVariant() << QVariant(1.0);
    QTest::newRow("percent lag") << 1 << 500 << 19 << QVariant("PR_FS") << QVariant();
    QTest::newRow("elapsed percent lag") << 1 << 500 << 20 << QVariant("PR_FS") << QVariant();
}

void TestMppTables::relationTypesAndLags()
{
    QFETCH(int, type);
    QFETCH(int, lag);
    QFETCH(int, unit);
    QFETCH(QVariant, typeText);
    QFETCH(QVariant, hours);
    mppr::Project project("r.mpp");
    addTask(project, 1, -1);
    addRelation(addTask(project, 2, -1), 1, qint16(type), lag, unit);
    MPPTaskPredModel relations;
    relations.setProject(&project);
    QCOMPARE(relations.rowCount(), 1);
    QCOMPARE(relations.index(0, MPPTaskPredModel::TaskId).data(), QVariant(2u));
    QCOMPARE(relations.index(0, MPPTaskPredModel::PredTaskId).data(), QVariant(1u));
    QCOMPARE(relations.index(0, MPPTaskPredModel::PredProjId).data(), QVariant(1));
    QCOMPARE(relations.index(0, MPPTaskPredModel::PredType).data(), typeText);
    QCOMPARE(relations.index(0, MPPTaskPredModel::LagHrCnt).data(), hours);
}

void TestMppTables::assignmentsAndResources()
{
    auto project = small();
    auto *first = project->assignments().at(0);
    first->af10 = 0;
    first->af08 = 16;
    first->af20 = 250;
    first->af1a = 99;
    first->af14 = at(2024, 3, 4);
    auto assignments = tableOver<MPPTaskRsrcModel>(project.get(), "TASKRSRC");
    QCOMPARE(assignments->rowCount(), 2);
    QCOMPARE(cell(*assignments, 0, "rsrc_id"), QVariant(11));
    QCOMPARE(cell(*assignments, 1, "rsrc_id"), QVariant(10));
    QCOMPARE(cell(*assignments, 0, "task_id"), QVariant(2u));
    QCOMPARE(cell(*assignments, 0, "target_qty"), QVariant(16.0));
    QCOMPARE(cell(*assignments, 0, "target_cost"), QVariant(250.0));
    QCOMPARE(cell(*assignments, 0, "remain_qty"), QVariant(11.0));
    QCOMPARE(cell(*assignments, 0, "reg_work"), QVariant(11.0));
    QCOMPARE(cell(*assignments, 0, "start_date"), QVariant(at(2024, 3, 4)));
    QVERIFY(!cell(*assignments, 0, "end_date").isValid());
    QVERIFY(!cell(*assignments, 0, "act_reg_qty").isValid());

    project->resource(10)->type = mppr::ResourceType::Material;
    project->resource(11)->type = mppr::ResourceType::Cost;
    auto resources = tableOver<MPPRsrcModel>(project.get(), "RSRC");
    QCOMPARE(resources->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        const uint id = cell(*resources, row, "rsrc_id").toUInt();
        QCOMPARE(cell(*resources, row, "rsrc_seq_num"), QVariant(id));
        QCOMPARE(cell(*resources, row, "rsrc_type"), QVariant(id == 10 ? "RT_Mat" : "RT_Equip"));
        QCOMPARE(cell(*resources, row, "rsrc_name"), QVariant(project->resource(qint32(id))->name));
        QVERIFY(!cell(*resources, row, "parent_rsrc_id").isValid());
    }
}

void TestMppTables::userDefinedFields()
{
    auto project = small();
    for (mppr::Task *task : project->tasks()) {
        task->texts[0] = QStringLiteral("first text of %1").arg(task->uniqueId);
        task->numbers[2] = 12345;
        task->integers[9] = 4800;
        task->customFields
            = { { qint16(mppr::customFieldIndex(mppr::CustomFieldKind::Date, 10)),
                  QDateTime(QDate(2024, 5, 6), QTime(8, 0), Qt::UTC) },
                { qint16(mppr::customFieldIndex(mppr::CustomFieldKind::Number, 1)), 2.5 },
                { qint16(mppr::customFieldIndex(mppr::CustomFieldKind::Flag, 20)), true } };
    }
    MPPUdfTypeModel types;
    types.setProject(project.get());
    QCOMPARE(types.rowCount(), 120);
    QCOMPARE(types.columnCount(), 5);
    const QStringList names { "Text 1",      "Text 30",  "Start date 1", "Finish date 10", "Cost 1",
                              "Duration 10", "Number 1", "Date 10",      "Flag 20" };
    const QList<int> rows { 0, 29, 30, 49, 50, 69, 70, 99, 119 };
    const QStringList kinds { "string", "string", "date", "date",  "float",
                              "float",  "float",  "date", "string" };
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(types.index(rows[i], MPPUdfTypeModel::UdfTypeId).data(), QVariant(rows[i]));
        QCOMPARE(types.index(rows[i], MPPUdfTypeModel::UdfTypeName).data(), QVariant(names[i]));
        QCOMPARE(types.index(rows[i], MPPUdfTypeModel::UdfTypeLabel).data(), QVariant(names[i]));
        QCOMPARE(types.index(rows[i], MPPUdfTypeModel::LogicalDataType).data(), QVariant(kinds[i]));
        QCOMPARE(types.index(rows[i], MPPUdfTypeModel::TableName).data(), QVariant("Task"));
    }
    QVERIFY(!types.index(120, 0).isValid());

    MPPUdfValueModel values;
    values.setProject(project.get());
    QCOMPARE(values.rowCount(), 120 * 4);
    const uint firstTask = values.index(0, MPPUdfValueModel::FkId).data().toUInt();
    QCOMPARE(values.index(52, MPPUdfValueModel::UdfTypeId).data(), QVariant(52));
    QCOMPARE(values.index(52, MPPUdfValueModel::FkId).data(), QVariant(firstTask));
    for (int column :
         { MPPUdfValueModel::UdfDate, MPPUdfValueModel::UdfText, MPPUdfValueModel::UdfNumber }) {
        QCOMPARE(values.index(52, column).data(), QVariant(123.45));
        QCOMPARE(values.index(0, column).data(),
                 QVariant(QStringLiteral("first text of %1").arg(firstTask)));
        QCOMPARE(values.index(69, column).data(), QVariant(4800.0));
        QVERIFY(!values.index(30, column).data().isValid()); // unset date
        QCOMPARE(values.index(70, column).data(), QVariant(2.5));
        QCOMPARE(values.index(99, column).data().toDateTime(),
                 QDateTime(QDate(2024, 5, 6), QTime(8, 0), Qt::UTC));
        QCOMPARE(values.index(119, column).data(), QVariant("Yes"));
        QVERIFY(!values.index(100, column).data().isValid()); // a flag not stored
    }
    QVERIFY(!values.index(0, MPPUdfValueModel::UdfCodeId).data().isValid());
    QCOMPARE(values.valueRow(qint32(firstTask), 52), 52);
    QCOMPARE(values.valueRow(12345, 0), -1);
    QCOMPARE(values.valueRow(qint32(firstTask), 120), -1);
}

void TestMppTables::emptyCodeTablesStillAnswerHeaders()
{
    auto project = small();
    auto codes = tableOver<MPPActvCodeModel>(project.get(), "ACTVCODE");
    QCOMPARE(codes->rowCount(), 0);
    QCOMPARE(codes->columnCount(), 13);
    QVERIFY(!codes->index(0, 0).isValid());
    QCOMPARE(codes->headerData(5, Qt::Horizontal).toString(), QString("Code Name"));
    auto types = tableOver<MPPActvTypeModel>(project.get(), "ACTVTYPE");
    QCOMPARE(types->columnCount(), 13);
    QCOMPARE(types->headerData(3, Qt::Horizontal).toString(), QString("Activity Code"));
    auto codeAssignments = tableOver<MPPTaskActiveModel>(project.get(), "TASKACTV");
    QCOMPARE(codeAssignments->columnCount(), 6);
    QVERIFY(codeAssignments->objectName().isEmpty());
    QCOMPARE(codes->objectName(), QString("ACTVCODE"));
}

void TestMppTables::headersFromTheSchema()
{
    auto project = small();
    auto tasks = tableOver<MPPTaskModel>(project.get(), "TASK");
    QCOMPARE(tasks->columnCount(), 40);
    const int name = tasks->columnOf("task_name");
    QCOMPARE(tasks->headerData(name, Qt::Horizontal).toString(), QString("Activity Name"));
    QCOMPARE(tasks->headerData(name, Qt::Horizontal, Ry::ColumnIdRole).toString(),
             QString("task_name"));
    QCOMPARE(tasks->headerData(name, Qt::Horizontal, Ry::ColumnGroupRole).toString(),
             QString("General"));
    QCOMPARE(tasks->headerData(name, Qt::Horizontal, Ry::ColumnDescriptionRole)
                 .toMap()
                 .value("datatype")
                 .toString(),
             QString("string"));
    // parent_uid has no description: a default one.
    const int parentUid = tasks->columnOf("parent_uid");
    QCOMPARE(tasks->headerData(parentUid, Qt::Horizontal).toString(), QString("parent_uid"));
    QCOMPARE(tasks->headerData(parentUid, Qt::Horizontal, Ry::ColumnGroupRole).toString(),
             QString("Other"));
    QCOMPARE(tasks->headerData(parentUid, Qt::Horizontal, Ry::ColumnDescriptionRole)
                 .toMap()
                 .value("datatype")
                 .toString(),
             QString("string"));
    QCOMPARE(tasks->headerData(tasks->columnOf("total_float_hr_cnt"), Qt::Horizontal).toString(),
             QString("Total float"));
    QVERIFY(!tasks->headerData(name, Qt::Vertical).isValid());
    QCOMPARE(tasks->headerData(MPPTaskModel::BlProjectStartDate, Qt::Horizontal).toString(),
             QString("BL Project Start"));
    QCOMPARE(
        tasks->headerData(MPPTaskModel::BlProjectTotalCost, Qt::Horizontal, Ry::ColumnGroupRole)
            .toString(),
        QString("Baseline"));
    QVERIFY(!tasks->headerData(MPPTaskModel::ColumnCount, Qt::Horizontal).isValid());
    QVERIFY(!tasks->headerData(name, Qt::Horizontal, Qt::ToolTipRole).isValid());
    // Without setColumns a section has no header at all.
    MPPTaskModel bare;
    QVERIFY(!bare.headerData(0, Qt::Horizontal).isValid());
    QCOMPARE(bare.columnCount(), 40);
}

void TestMppTables::taskCalendarOrProjectCalendar()
{
    auto project = small();
    auto tasks = tableOver<MPPTaskModel>(project.get(), "TASK");
    const int a = rowOfTask(*tasks, 2);
    const int b = rowOfTask(*tasks, 3);
    // Without calendars in the file no activity has one.
    QVERIFY(!cell(*tasks, a, "clndr_name").isValid());
    QVERIFY(!cell(*tasks, a, "clndr_id").isValid());

    mppr::Calendar standard;
    standard.uniqueId = 1;
    standard.name = QStringLiteral("Standard");
    mppr::Calendar night = standard;
    night.uniqueId = 2;
    night.name = QStringLiteral("Night shift");
    mppr::ProjectProperties properties;
    properties.calendarUniqueId = 1;
    project->task(2)->calendarUniqueId = 2;
    project->setCalendars({ standard, night }, properties);
    QCOMPARE(cell(*tasks, a, "clndr_name"), QVariant("Night shift"));
    QCOMPARE(cell(*tasks, a, "clndr_id"), QVariant(2u));
    QCOMPARE(cell(*tasks, b, "clndr_name"), QVariant("Standard"));
    QCOMPARE(cell(*tasks, b, "clndr_id"), QVariant(1u));
}

void TestMppTables::missingWbsTaskGivesNoValues()
{
    mppr::Project project("m.mpp");
    addTask(project, 2, 99); // parent 99 is no task
    MPPWBSModel wbs;
    wbs.setProject(&project);
    QCOMPARE(wbs.rowCount(), 1);
    for (int column = 0; column < wbs.columnCount(); ++column)
        QVERIFY(!wbs.index(0, column).data().isValid());
    QVERIFY(!wbs.task(0));
    QAbstractItemModelTester tester(&wbs, QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestMppTables::modelsWithoutProject()
{
    MPPTaskModel tasks;
    QCOMPARE(tasks.rowCount(), 0);
    QVERIFY(!tasks.index(0, 0).isValid());
    MPPUdfTypeModel types;
    QCOMPARE(types.rowCount(), 0);
    QVERIFY(!types.index(0, 0).isValid());
    tasks.setProject(nullptr);
    QCOMPARE(tasks.rowCount(), 0);
}

QTEST_MAIN(TestMppTables)
#include "tst_mpptables.moc"
