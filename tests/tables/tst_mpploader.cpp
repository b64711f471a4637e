// The loader: signal sequence and texts, registry, schema, clearing; the derived models it
// builds over crafted projects.
#include "tests/tables/projectbuilder.h"

#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "mppr/project.h"
#include "tables/mpploader.h"
#include "tables/mpptaskmodel.h"
#include "tests/support/mppschedulebuilder.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtConcurrent>
#include <QtTest>

using namespace TestProject;
using RyModelLookup::findColumn;

namespace {

QJsonDocument builtInSchema()
{
    QFile file(":/files/mppr.json");
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll());
}

QStringList signalTexts(const QSignalSpy &progress)
{
    QStringList texts;
    for (const QList<QVariant> &arguments : progress)
        texts.append(
            QStringLiteral("%1 %2").arg(arguments.at(0).toInt()).arg(arguments.at(1).toString()));
    return texts;
}

QAbstractItemModel *modelOf(const MPPLoader &loader, const QString &name)
{
    return qobject_cast<QAbstractItemModel *>(loader.model(name));
}

// Row of the first cell in `column` equal to `value`, or -1.
int rowWith(const QAbstractItemModel *model, int column, const QVariant &value)
{
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, column).data() == value)
            return row;
    }
    return -1;
}

const QStringList RegistryOrder { "ACTVCODE",
                                  "ACTVTYPE",
                                  "ActivityModel",
                                  "CodeModel",
                                  "PROJWBS",
                                  "PredecessorModel",
                                  "RSRC",
                                  "ResourceModel",
                                  "TASK",
                                  "TASKACTV",
                                  "TASKPRED",
                                  "TASKRSRC",
                                  "UDFTYPE",
                                  "UDFVALUE",
                                  "taskCodesAssignmentModel",
                                  "userDefinedAssignmentModel" };

} // namespace

class TestMppLoader : public QObject
{
    Q_OBJECT

private slots:
    void signalSequenceOfAGoodLoad();
    void loadOfASampleOnThePool();
    void failedReadStopsAfterTheFirstProgress_data();
    void failedReadStopsAfterTheFirstProgress();
    void registryNamesAndOrder();
    void clearEmptiesTheRegistry();
    void sourceTexts();
    void setSchemaReplacesNamedTables();
    void everyModelPassesTheModelTester();
    void activityModelColumnsAndOrder();
    void activityModelJoins();
    void splitTaskSegmentsReachTheActivityModel();
    void predecessorModelNamesBothEnds();
    void resourceModelNamesTheResource();
    void userDefinedAssignmentModel();
    void codeModelsOnEmptyCodeTables();
    void tablesLiveOnTheLoaderThread();
    void craftedFileHours_data();
    void craftedFileHours();
};

void TestMppLoader::signalSequenceOfAGoodLoad()
{
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    QStringList events;
    connect(&loader, &ProjectLoader::started, [&] { events << "started"; });
    connect(&loader, &ProjectLoader::progress, [&](int percent, const QString &text) {
        events << QString("%1 %2").arg(percent).arg(text);
    });
    connect(&loader, &ProjectLoader::finished, [&] { events << "finished"; });
    connect(&loader, &MPPLoader::failed, [&] { events << "failed"; });
    loader.loadProject(small());
    QCOMPARE(events,
             (QStringList { "20 Create Predecessor Model", "30 Create Resource Model",
                            "40 Create Codes Model", "50 Create Task Codes Assignment Model",
                            "60 Create UDF Assignment Model", "70 Create Activity Model",
                            "80 Process data", "finished" }));
    QCOMPARE(loader.models().size(), 16);
}

void TestMppLoader::loadOfASampleOnThePool()
{
    const QString path = QStringLiteral(TARVIK_SAMPLES "/oracle/task-links-project2013-mpp14.mpp");
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    QStringList events;
    connect(&loader, &ProjectLoader::started, this, [&] { events << "started"; });
    connect(
        &loader, &ProjectLoader::progress, this,
        [&](int percent, const QString &text) {
            events << QString("%1 %2").arg(percent).arg(text);
        },
        Qt::QueuedConnection);
    connect(&loader, &ProjectLoader::finished, this, [&] { events << "finished"; });
    QFuture<void> done
        = QtConcurrent::run(QThreadPool::globalInstance(), &loader, &MPPLoader::load, path);
    done.waitForFinished();
    QTRY_COMPARE(events.size(), 10);
    QCOMPARE(
        events,
        (QStringList { "started", "10 Read project from file", "20 Create Predecessor Model",
                       "30 Create Resource Model", "40 Create Codes Model",
                       "50 Create Task Codes Assignment Model", "60 Create UDF Assignment Model",
                       "70 Create Activity Model", "80 Process data", "finished" }));
    QCOMPARE(loader.sourceName(), path);
    QCOMPARE(loader.models().size(), 16);
    QVERIFY(modelOf(loader, "TASK")->rowCount() > 0);
    for (QObject *model : loader.models())
        QCOMPARE(model->thread(), thread());
}

void TestMppLoader::failedReadStopsAfterTheFirstProgress_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing file") << QByteArray();
    QTest::newRow("not a compound file") << QByteArray("plain text, not a schedule\n");
}

void TestMppLoader::failedReadStopsAfterTheFirstProgress()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.mpp");
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    QSignalSpy started(&loader, &ProjectLoader::started);
    QSignalSpy progress(&loader, &ProjectLoader::progress);
    QSignalSpy finished(&loader, &ProjectLoader::finished);
    QSignalSpy failed(&loader, &MPPLoader::failed);
    loader.load(path);
    QCOMPARE(started.count(), 1);
    QCOMPARE(signalTexts(progress), QStringList { "10 Read project from file" });
    QCOMPARE(finished.count(), 0);
    QCOMPARE(failed.count(), 1);
    QVERIFY(failed.at(0).at(0).toInt() != 0);
    QCOMPARE(failed.at(0).at(1).toString(), path);
    QVERIFY(loader.models().isEmpty());
    QVERIFY(!loader.hasModel("TASK"));
    QVERIFY(!loader.project());
    QCOMPARE(loader.sourceName(), path);
}

void TestMppLoader::registryNamesAndOrder()
{
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.loadProject(small());
    QStringList names;
    for (QObject *object : loader.models()) {
        for (const QString &name : RegistryOrder) {
            if (loader.model(name) == object)
                names << name;
        }
    }
    QCOMPARE(names, RegistryOrder);
    for (const QString &name : RegistryOrder) {
        QVERIFY(loader.hasModel(name));
        QString expected = name;
        if (name == "PredecessorModel")
            expected = "predecessorModel";
        if (name == "TASKACTV")
            expected.clear();
        QCOMPARE(loader.model(name)->objectName(), expected);
    }
    QVERIFY(!loader.model("NoSuchTable"));
}

void TestMppLoader::clearEmptiesTheRegistry()
{
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.loadProject(small());
    QPointer<QObject> activities = loader.model("ActivityModel");
    QPointer<QObject> tasks = loader.model("TASK");
    QVERIFY(activities && tasks);
    loader.clear();
    QVERIFY(loader.models().isEmpty());
    QVERIFY(!loader.model("ActivityModel"));
    QVERIFY(!loader.project());
    QVERIFY(!activities);
    QVERIFY(!tasks);
}

void TestMppLoader::sourceTexts()
{
    MPPLoader loader;
    QCOMPARE(loader.loaderName(), QString("MPPLoader"));
    QCOMPARE(loader.sourceHost(), QString("localhost"));
    loader.load("/no/such/file.mpp");
    QCOMPARE(loader.sourceName(), QString("/no/such/file.mpp"));
    QCOMPARE(loader.sourceDatabase(), QString("/no/such/file.mpp"));
    QVERIFY(loader.sourceUser().isEmpty());
}

void TestMppLoader::setSchemaReplacesNamedTables()
{
    MPPLoader loader;
    QVERIFY(loader.setSchema(builtInSchema()));
    QCOMPARE(loader.schema("TASK").size(), 62);
    const QJsonDocument replacement = QJsonDocument::fromJson(
        R"({"tables": [{"name": "TASK", "columns": [{"id": "task_name", "display": "Name",
            "datatype": "string", "group": "General"}]}]})");
    QVERIFY(loader.setSchema(replacement));
    QCOMPARE(loader.schema("TASK").size(), 1);
    QCOMPARE(loader.schema("PROJWBS").size(), 7);
    loader.loadProject(small());
    auto *tasks = modelOf(loader, "TASK");
    QCOMPARE(tasks->headerData(6, Qt::Horizontal).toString(), QString("Name"));
    QCOMPARE(tasks->headerData(5, Qt::Horizontal).toString(), QString("task_code"));
    QCOMPARE(tasks->headerData(5, Qt::Horizontal, Ry::ColumnGroupRole).toString(),
             QString("Other"));
    // A document without tables changes nothing.
    QVERIFY(loader.setSchema(QJsonDocument::fromJson("{}")));
    QCOMPARE(loader.schema("PROJWBS").size(), 7);
}

void TestMppLoader::everyModelPassesTheModelTester()
{
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.loadProject(small());
    for (const QString &name : RegistryOrder) {
        QAbstractItemModel *model = modelOf(loader, name);
        QVERIFY2(model, qPrintable(name));
        QAbstractItemModelTester tester(model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY2(!QTest::currentTestFailed(), qPrintable(name));
    }
}

void TestMppLoader::activityModelColumnsAndOrder()
{
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.loadProject(small());
    auto *activities = modelOf(loader, "ActivityModel");
    QCOMPARE(activities->columnCount(), 183);
    QCOMPARE(activities->rowCount(), 3);
    QCOMPARE(activities->headerData(0, Qt::Horizontal).toString(), QString("ID"));
    QCOMPARE(activities->headerData(0, Qt::Horizontal, Ry::ColumnGroupRole).toString(),
             QString("system"));
    QCOMPARE(activities->headerData(0, Qt::Horizontal, Ry::ColumnDescriptionRole)
                 .toMap()
                 .value("datatype")
                 .toString(),
             QString("integer"));
    QCOMPARE(activities->headerData(0, Qt::Horizontal, Ry::ColumnIdRole).toString(), QString("id"));
    QCOMPARE(activities->headerData(1, Qt::Horizontal).toString(), QString("parentID"));
    QCOMPARE(activities->headerData(2, Qt::Horizontal).toString(), QString("Group"));
    QCOMPARE(activities->headerData(2, Qt::Horizontal, Ry::ColumnDescriptionRole)
                 .toMap()
                 .value("id")
                 .toString(),
             QString("Group"));
    QCOMPARE(activities->headerData(3, Qt::Horizontal).toString(), QString("task_id"));
    QCOMPARE(activities->headerData(9, Qt::Horizontal).toString(), QString("Activity Name"));
    QCOMPARE(activities->headerData(35, Qt::Horizontal).toString(), QString("WBS Code"));
    QCOMPARE(activities->headerData(36, Qt::Horizontal).toString(), QString("WBS Name"));
    QCOMPARE(activities->headerData(37, Qt::Horizontal).toString(), QString("task_id"));
    QCOMPARE(activities->headerData(54, Qt::Horizontal, Ry::ColumnIdRole).toString(),
             QString("rem_ot_qty"));
    QCOMPARE(activities->headerData(55, Qt::Horizontal).toString(), QString("Text 1"));
    QCOMPARE(activities->headerData(55, Qt::Horizontal, Ry::ColumnGroupRole).toString(),
             QString("User Defined"));
    QCOMPARE(activities->headerData(124, Qt::Horizontal).toString(), QString("Duration 10"));
    // Columns added to the task table later join last, so that stored column numbers hold.
    QCOMPARE(activities->headerData(125, Qt::Horizontal).toString(), QString("BL Project Start"));
    QCOMPARE(activities->headerData(129, Qt::Horizontal).toString(),
             QString("BL Project Total Cost"));
    QCOMPARE(activities->headerData(130, Qt::Horizontal).toString(), QString("Notes"));
    QCOMPARE(activities->headerData(131, Qt::Horizontal).toString(),
             QString("Activity constraint type"));
    QCOMPARE(activities->headerData(132, Qt::Horizontal).toString(), QString("Number 1"));
    QCOMPARE(activities->headerData(181, Qt::Horizontal).toString(), QString("Flag 20"));
    QCOMPARE(activities->headerData(182, Qt::Horizontal).toString(), QString("Calendar"));
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(activities->index(row, 0).data(), QVariant(uint(row + 2)));
        QCOMPARE(activities->index(row, 3).data(), QVariant(uint(row + 2)));
    }
}

void TestMppLoader::activityModelJoins()
{
    auto project = small();
    project->task(3)->texts[1] = "second text";
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.loadProject(std::move(project));
    auto *activities = modelOf(loader, "ActivityModel");
    const int a = rowWith(activities, 0, 2u);
    const int b = rowWith(activities, 0, 3u);
    const int c = rowWith(activities, 0, 4u);
    QCOMPARE(activities->index(a, findColumn(activities, "WBS Name")).data(), QVariant("Summary"));
    // No parent summary: no WBS values.
    QVERIFY(!activities->index(c, findColumn(activities, "WBS Name")).data().isValid());
    // A has two assignments: the first in assignment order (resource 11) shows.
    QCOMPARE(activities->index(a, 39).data(), QVariant(11));
    QVERIFY(!activities->index(b, 39).data().isValid());
    QCOMPARE(activities->index(b, findColumn(activities, "Text 2")).data(),
             QVariant("second text"));
    QVERIFY(activities->index(a, findColumn(activities, "Text 2")).data().toString().isEmpty());
}

void TestMppLoader::splitTaskSegmentsReachTheActivityModel()
{
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.load(QStringLiteral(TARVIK_SAMPLES "/extra/mpp14splittask.mpp"));
    auto *tasks = qobject_cast<MPPTaskModel *>(loader.model(QStringLiteral("TASK")));
    QVERIFY(tasks);
    int split = 0;
    for (int r = 0; r < tasks->rowCount(); ++r) {
        const auto &segments = tasks->task(r)->segments;
        const QVariantList parts
            = tasks->index(r, MPPTaskModel::CalcStartDate).data(Ry::SegmentsRole).toList();
        QCOMPARE(parts.size(), segments.size());
        for (int i = 0; i < parts.size(); ++i) {
            QCOMPARE(parts.at(i).toList().value(0).toDateTime(), segments.at(i).start);
            QCOMPARE(parts.at(i).toList().value(1).toDateTime(), segments.at(i).finish);
        }
        split += segments.size() > 1;
    }
    QVERIFY(split > 0);
    // Through the activity model: the start column (the one naming Ry::StartRole) passes them on.
    auto *activities = modelOf(loader, "ActivityModel");
    int startColumn = -1;
    for (int c = 0; c < activities->columnCount() && startColumn < 0; ++c) {
        if (activities->headerData(c, Qt::Horizontal, Ry::ColumnItemRole).toInt() == Ry::StartRole)
            startColumn = c;
    }
    QVERIFY(startColumn >= 0);
    int shown = 0;
    for (int r = 0; r < activities->rowCount(); ++r)
        shown += activities->index(r, startColumn).data(Ry::SegmentsRole).toList().size() > 1;
    QCOMPARE(shown, split);
}

void TestMppLoader::predecessorModelNamesBothEnds()
{
    auto project = small();
    // A relation from the summary task: its end is no activity.
    addRelation(project->task(4), 1, 1);
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.loadProject(std::move(project));
    auto *relations = modelOf(loader, "PredecessorModel");
    QCOMPARE(relations->columnCount(), 9);
    QCOMPARE(relations->rowCount(), 3);
    QCOMPARE(relations->headerData(6, Qt::Horizontal).toString(), QString("Activity Name"));
    QCOMPARE(relations->headerData(8, Qt::Horizontal).toString(), QString("Activity Name"));
    for (int row = 0; row < relations->rowCount(); ++row) {
        const uint successor = relations->index(row, 0).data().toUInt();
        const uint predecessor = relations->index(row, 1).data().toUInt();
        const QString names[] = { "", "Summary", "A", "B", "C" };
        QCOMPARE(relations->index(row, 6).data().toString(), names[successor]);
        if (predecessor == 1)
            QVERIFY(!relations->index(row, 8).data().isValid());
        else
            QCOMPARE(relations->index(row, 8).data().toString(), names[predecessor]);
        if (successor == 3)
            QCOMPARE(relations->index(row, 4).data(), QVariant(8.0));
    }
}

void TestMppLoader::resourceModelNamesTheResource()
{
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.loadProject(small());
    auto *resources = modelOf(loader, "ResourceModel");
    QCOMPARE(resources->columnCount(), 24);
    QCOMPARE(resources->headerData(23, Qt::Horizontal).toString(), QString("Resource Notes"));
    QCOMPARE(resources->index(0, 18).data(), QVariant("RT_Labor"));
    QCOMPARE(resources->index(0, 20).data(), QVariant("Welder"));
    QCOMPARE(resources->index(1, 20).data(), QVariant("Crane"));
    QCOMPARE(resources->headerData(20, Qt::Horizontal).toString(), QString("Resource Name"));
    // The activity the assignments belong to (task 2, "A") follows, by ID and name.
    auto *tasks = modelOf(loader, "TASK");
    const int task = rowWith(tasks, 0, 2u);
    QCOMPARE(resources->headerData(21, Qt::Horizontal).toString(), QString("Activity ID"));
    QCOMPARE(resources->headerData(22, Qt::Horizontal).toString(), QString("Activity Name"));
    for (int row : { 0, 1 }) {
        QCOMPARE(resources->index(row, 21).data(), tasks->index(task, 5).data());
        QCOMPARE(resources->index(row, 22).data(), QVariant("A"));
    }
}

void TestMppLoader::userDefinedAssignmentModel()
{
    auto project = small();
    project->task(2)->texts[0] = "alpha";
    project->task(2)->numbers[0] = 250;
    project->task(3)->datesA[0] = at(2024, 5, 1);
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.loadProject(std::move(project));
    auto *fields = modelOf(loader, "userDefinedAssignmentModel");
    auto *tasks = modelOf(loader, "TASK");
    QCOMPARE(fields->columnCount(), 121);
    QCOMPARE(fields->rowCount(), tasks->rowCount());
    QCOMPARE(fields->headerData(0, Qt::Horizontal).toString(), QString("task_id"));
    QCOMPARE(fields->headerData(31, Qt::Horizontal).toString(), QString("Start date 1"));
    QVERIFY(!fields->headerData(31, Qt::Horizontal, Ry::ColumnDescriptionRole).isValid());
    const int a = rowWith(fields, 0, 2u);
    const int b = rowWith(fields, 0, 3u);
    QCOMPARE(fields->index(a, 1).data(), QVariant("alpha"));
    QCOMPARE(fields->index(a, 1).data(Qt::UserRole), QVariant(0));
    QCOMPARE(fields->index(a, 51).data(), QVariant(2.5));
    QCOMPARE(fields->index(a, 51).data(Qt::UserRole), QVariant(50));
    QCOMPARE(fields->index(b, 31).data(), QVariant(at(2024, 5, 1)));
    QVERIFY(!fields->index(a, 31).data().isValid());
    QVERIFY(!fields->setData(fields->index(a, 1), "x"));
}

void TestMppLoader::codeModelsOnEmptyCodeTables()
{
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    loader.loadProject(small());
    auto *codes = modelOf(loader, "taskCodesAssignmentModel");
    QCOMPARE(codes->columnCount(), 1);
    QCOMPARE(codes->rowCount(), 3);
    QCOMPARE(codes->headerData(0, Qt::Horizontal).toString(), QString("task_id"));
    auto *codeModel = modelOf(loader, "CodeModel");
    QCOMPARE(codeModel->columnCount(), 6 + 4);
    QCOMPARE(codeModel->rowCount(), 0);
}

void TestMppLoader::tablesLiveOnTheLoaderThread()
{
    MPPLoader loader;
    loader.setSchema(builtInSchema());
    QThread worker;
    worker.start();
    QObject runner;
    runner.moveToThread(&worker);
    QMetaObject::invokeMethod(
        &runner, [&] { loader.loadProject(small()); }, Qt::BlockingQueuedConnection);
    worker.quit();
    worker.wait();
    QCOMPARE(loader.models().size(), 16);
    for (QObject *model : loader.models())
        QCOMPARE(model->thread(), loader.thread());
}

void TestMppLoader::craftedFileHours_data()
{
    QTest::addColumn<bool>("omitSlackFields");
    QTest::newRow("fields present") << false;
    QTest::newRow("slack, duration and work absent") << true;
}

void TestMppLoader::craftedFileHours()
{
    QFETCH(bool, omitSlackFields);
    MppScheduleSpec spec;
    spec.omitSlackFields = omitSlackFields;
    MppTaskSpec summary;
    summary.uniqueId = 1;
    summary.name = "Summary";
    MppTaskSpec task;
    task.uniqueId = 2;
    task.parentUniqueId = 1;
    task.name = "Weld";
    task.startSlack = 9600; // 16 h
    task.finishSlack = 4800; // 8 h
    task.freeSlack = 2400; // 4 h
    task.duration = 14400; // 24 h
    task.remainingDuration = 7200; // 12 h
    task.work = 1440000; // 24 h
    task.actualWork = 720000; // 12 h
    task.remainingWork = 720000; // 12 h
    MppTaskSpec successor = task;
    successor.uniqueId = 3;
    successor.name = "Inspect";
    spec.tasks = { summary, task, successor };
    spec.relations = { { 1, 2, 3, 1, 4800, 7 }, { 2, 2, 3, 3, 500, 19 } };
    QTemporaryDir dir;
    const QString path = dir.filePath("crafted.mpp");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(buildMppFile(spec));
    file.close();

    MPPLoader loader;
    loader.setSchema(builtInSchema());
    QSignalSpy finished(&loader, &ProjectLoader::finished);
    loader.load(path);
    QCOMPARE(finished.count(), 1);
    auto *tasks = modelOf(loader, "TASK");
    const int row = rowWith(tasks, 0, 2u);
    QVERIFY(row >= 0);
    const auto hours
        = [&](const char *header) { return tasks->index(row, findColumn(tasks, header)).data(); };
    QCOMPARE(hours("Free float"), QVariant(4.0));
    QCOMPARE(hours("Remaining Duration"), QVariant(12.0));
    QCOMPARE(hours("Remaining Labor Units"), QVariant(12.0));
    QVERIFY(!hours("Remaining Nonlabor Units").isValid());
    if (omitSlackFields) {
        for (const char *header :
             { "Total float", "Planned Duration", "Planned Labor Units", "Actual Labor Units" })
            QVERIFY2(!hours(header).isValid(), header);
    } else {
        QCOMPARE(hours("Total float"), QVariant(8.0));
        QCOMPARE(hours("Planned Duration"), QVariant(24.0));
        QCOMPARE(hours("Planned Labor Units"), QVariant(24.0));
        QCOMPARE(hours("Actual Labor Units"), QVariant(12.0));
    }
    auto *relations = modelOf(loader, "TASKPRED");
    QCOMPARE(relations->rowCount(), 2);
    for (int r = 0; r < 2; ++r) {
        if (relations->index(r, 3).data() == QVariant("PR_FS"))
            QCOMPARE(relations->index(r, 4).data(), QVariant(8.0));
        else
            QVERIFY(!relations->index(r, 4).data().isValid()); // percentage lag
    }
    QCOMPARE(loader.modelNames().size(), loader.models().size());
    for (const QString &name : loader.modelNames()) {
        QAbstractItemModelTester tester(modelOf(loader, name),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
}

QTEST_MAIN(TestMppLoader)
#include "tst_mpploader.moc"
