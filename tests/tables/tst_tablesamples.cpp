// The tables and derived models over every oracle sample: rows against the reader's records,
// the derived models' shape, and the hour cells against the authoring tool's XML exports.
#include "models/ryconstants.h"
#include "models/rymodellookup.h"
#include "mppr/project.h"
#include "tables/mpploader.h"
#include "tables/mpptaskmodel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

#include <algorithm>
#include <set>

using RyModelLookup::findColumn;

namespace {

QString oracleDir()
{
    return QString::fromLocal8Bit(qgetenv("TARVIK_SAMPLES").isEmpty() ? QByteArray(TARVIK_SAMPLES)
                                                                      : qgetenv("TARVIK_SAMPLES"))
        + "/oracle";
}

QJsonDocument builtInSchema()
{
    QFile file(":/files/mppr.json");
    file.open(QIODevice::ReadOnly);
    return QJsonDocument::fromJson(file.readAll());
}

QAbstractItemModel *modelOf(const MPPLoader &loader, const QString &name)
{
    return qobject_cast<QAbstractItemModel *>(loader.model(name));
}

// "PT8H30M0S" -> 8.5
double isoHours(const QString &text)
{
    static const QRegularExpression pattern("^PT(-?\\d+)H(-?\\d+)M(-?[\\d.]+)S$");
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return qQNaN();
    return match.captured(1).toDouble() + match.captured(2).toDouble() / 60
        + match.captured(3).toDouble() / 3600;
}

// Task UID -> export field -> value in hours.
using ExportTasks = QHash<int, QHash<QString, double>>;

// An export's wall-clock date as the reader holds it (UTC fields), in milliseconds.
double utcMSecs(const QString &text)
{
    QDateTime date = QDateTime::fromString(text, Qt::ISODate);
    date.setTimeSpec(Qt::UTC);
    return double(date.toMSecsSinceEpoch());
}

ExportTasks readExport(const QString &path)
{
    static const QStringList slack { "TotalSlack", "FreeSlack" };
    static const QStringList durations { "Duration", "RemainingDuration", "Work", "ActualWork",
                                         "RemainingWork" };
    ExportTasks tasks;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tasks;
    QXmlStreamReader xml(&file);
    int depth = 0;
    int taskDepth = -1;
    QHash<QString, double> fields;
    int uid = -1;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            ++depth;
            const QString name = xml.name().toString();
            if (name == "Task" && taskDepth < 0) {
                taskDepth = depth;
                fields.clear();
                uid = -1;
            } else if (taskDepth > 0 && depth == taskDepth + 1) {
                if (name == "UID")
                    uid = xml.readElementText().toInt();
                else if (name == "ConstraintType")
                    fields.insert(name, xml.readElementText().toInt());
                else if (name == "ConstraintDate")
                    fields.insert(name, utcMSecs(xml.readElementText()));
                else if (slack.contains(name))
                    fields.insert(name, xml.readElementText().toDouble() / 600);
                else if (durations.contains(name))
                    fields.insert(name, isoHours(xml.readElementText()));
                else
                    continue;
                --depth; // readElementText consumed the end element
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (depth == taskDepth) {
                tasks.insert(uid, fields);
                taskDepth = -1;
            }
            --depth;
        }
    }
    return tasks;
}

struct Agreement
{
    int agree = 0;
    int compared = 0;
    QStringList mismatchedFiles;
};

// Figures over all pairs, printed at the end.
QMap<QString, Agreement> &agreements()
{
    static QMap<QString, Agreement> figures;
    return figures;
}

} // namespace

class TestTableSamples : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void tablesMatchTheReader_data();
    void tablesMatchTheReader();
    void hourCellsMatchTheExport_data();
    void hourCellsMatchTheExport();
    void cleanupTestCase();

private:
    void addFiles(bool withExportOnly);
    void load(MPPLoader &loader, const QString &path);
};

void TestTableSamples::initTestCase()
{
    // The reader's debug lines would drown the test's own messages.
    QLoggingCategory::setFilterRules("*.debug=false");
    QVERIFY2(QDir(oracleDir()).exists(), qPrintable(oracleDir()));
}

void TestTableSamples::addFiles(bool withExportOnly)
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("exportPath");
    const QDir dir(oracleDir());
    for (const QString &name : dir.entryList({ "*.mpp" }, QDir::Files, QDir::Name)) {
        QString exportName = name;
        exportName.replace(QRegularExpression("-mpp\\d+\\.mpp$"), "-mspdi.xml");
        const bool hasExport = dir.exists(exportName);
        if (withExportOnly && !hasExport)
            continue;
        QTest::newRow(qPrintable(name))
            << dir.filePath(name) << (hasExport ? dir.filePath(exportName) : QString());
    }
}

void TestTableSamples::load(MPPLoader &loader, const QString &path)
{
    loader.setSchema(builtInSchema());
    QSignalSpy finished(&loader, &ProjectLoader::finished);
    loader.load(path);
    QCOMPARE(finished.count(), 1);
    QVERIFY(loader.project());
}

void TestTableSamples::tablesMatchTheReader_data()
{
    addFiles(false);
}

void TestTableSamples::tablesMatchTheReader()
{
    QFETCH(QString, path);
    MPPLoader loader;
    load(loader, path);
    if (QTest::currentTestFailed())
        return;
    const mppr::Project &project = *loader.project();

    // Expected activities and WBS elements from the reader's records.
    QSet<qint32> parents;
    for (const mppr::Task *task : project.tasks()) {
        if (!task->blankRecord && !task->shortRecord)
            parents.insert(task->parentUniqueId);
    }
    std::set<uint> activities;
    for (const mppr::Task *task : project.tasks()) {
        if (!task->blankRecord && !task->shortRecord && !parents.contains(task->uniqueId))
            activities.insert(uint(task->uniqueId));
    }
    std::set<uint> wbsElements;
    for (qint32 parent : parents) {
        if (parent != -1)
            wbsElements.insert(uint(parent));
    }

    auto *tasks = modelOf(loader, "TASK");
    std::set<uint> taskRows;
    for (int row = 0; row < tasks->rowCount(); ++row) {
        const uint uid = tasks->index(row, MPPTaskModel::TaskId).data().toUInt();
        taskRows.insert(uid);
        const mppr::Task *task = project.task(qint32(uid));
        const QVariant wbs = tasks->index(row, MPPTaskModel::WbsId).data();
        QCOMPARE(wbs.isValid(), task->parentUniqueId != -1);
        if (wbs.isValid())
            QCOMPARE(wbs.toUInt(), uint(task->parentUniqueId));
        QCOMPARE(tasks->index(row, MPPTaskModel::TaskName).data().toString(), task->name);
    }
    QCOMPARE(int(taskRows.size()), tasks->rowCount());
    QVERIFY(taskRows == activities);

    auto *wbs = modelOf(loader, "PROJWBS");
    std::set<uint> wbsRows;
    for (int row = 0; row < wbs->rowCount(); ++row)
        wbsRows.insert(wbs->index(row, 0).data().toUInt());
    QVERIFY(wbsRows == wbsElements);
    // Every activity's wbs_id names a WBS row unless it has no parent task.
    for (int row = 0; row < tasks->rowCount(); ++row) {
        const QVariant wbsId = tasks->index(row, MPPTaskModel::WbsId).data();
        if (wbsId.isValid() && project.task(qint32(wbsId.toUInt())))
            QVERIFY(wbsRows.count(wbsId.toUInt()));
    }

    // One relation row per predecessor entry, with the type code text.
    auto *relations = modelOf(loader, "TASKPRED");
    int links = 0;
    for (const mppr::Task *task : project.tasks())
        links += task->predecessors.size();
    QCOMPARE(relations->rowCount(), links);
    const QStringList codes { "PR_FF", "PR_FS", "PR_SF", "PR_SS" };
    for (int row = 0; row < relations->rowCount(); ++row) {
        const QVariant type = relations->index(row, 3).data();
        QVERIFY(!type.isValid() || codes.contains(type.toString()));
        const mppr::Task *successor
            = project.task(qint32(relations->index(row, 0).data().toUInt()));
        QVERIFY(successor);
        const qint32 predecessor = qint32(relations->index(row, 1).data().toUInt());
        QVERIFY(std::any_of(successor->predecessors.cbegin(), successor->predecessors.cend(),
                            [predecessor](const auto &p) { return p.uniqueId == predecessor; }));
    }

    auto *assignments = modelOf(loader, "TASKRSRC");
    QCOMPARE(assignments->rowCount(), project.assignments().size());
    for (int row = 0; row < assignments->rowCount(); ++row) {
        const mppr::Assignment *a = project.assignments().at(row);
        QCOMPARE(assignments->index(row, 0).data().toUInt(), uint(a->taskUniqueId));
        QCOMPARE(assignments->index(row, 2).data().toInt(), a->resourceUniqueId);
        QCOMPARE(assignments->index(row, 3).data().toDouble(), a->af0c);
    }
    auto *resources = modelOf(loader, "RSRC");
    QCOMPARE(resources->rowCount(), project.resources().size());
    for (int row = 0; row < resources->rowCount(); ++row) {
        const mppr::Resource *r
            = project.resource(qint32(resources->index(row, 0).data().toUInt()));
        QVERIFY(r);
        QCOMPARE(resources->index(row, 4).data().toString(), r->name);
        QCOMPARE(resources->index(row, 3).data().toString(), r->shortName);
    }

    // The activity model: 183 columns, system columns first, rows by ascending task id.
    auto *activityModel = modelOf(loader, "ActivityModel");
    QCOMPARE(activityModel->columnCount(), 183);
    QCOMPARE(activityModel->headerData(0, Qt::Horizontal).toString(), QString("ID"));
    QCOMPARE(activityModel->headerData(1, Qt::Horizontal).toString(), QString("parentID"));
    QCOMPARE(activityModel->headerData(2, Qt::Horizontal).toString(), QString("Group"));
    QCOMPARE(activityModel->rowCount(), tasks->rowCount());
    std::vector<uint> ids;
    for (int row = 0; row < activityModel->rowCount(); ++row) {
        ids.push_back(activityModel->index(row, 0).data().toUInt());
        QCOMPARE(activityModel->index(row, 3).data().toUInt(), ids.back());
    }
    QVERIFY(std::is_sorted(ids.begin(), ids.end()));

    // The predecessor model names both ends where they are activities.
    auto *predecessors = modelOf(loader, "PredecessorModel");
    QCOMPARE(predecessors->rowCount(), links);
    for (int row = 0; row < predecessors->rowCount(); ++row) {
        for (int end : { 0, 1 }) {
            const uint uid = predecessors->index(row, end).data().toUInt();
            const QVariant name = predecessors->index(row, 6 + 2 * end).data();
            if (activities.count(uid))
                QCOMPARE(name.toString(), project.task(qint32(uid))->name);
            else
                QVERIFY(!name.isValid());
        }
    }

    for (const QString &name : loader.modelNames()) {
        QAbstractItemModelTester tester(modelOf(loader, name),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY2(!QTest::currentTestFailed(), qPrintable(name));
    }
}

void TestTableSamples::hourCellsMatchTheExport_data()
{
    addFiles(true);
}

void TestTableSamples::hourCellsMatchTheExport()
{
    QFETCH(QString, path);
    QFETCH(QString, exportPath);
    MPPLoader loader;
    load(loader, path);
    if (QTest::currentTestFailed())
        return;
    const ExportTasks exported = readExport(exportPath);
    QVERIFY(!exported.isEmpty());
    const QList<QPair<QString, int>> fields {
        { "TotalSlack", MPPTaskModel::TotalFloatHrCnt },
        { "FreeSlack", MPPTaskModel::FreeFloatHrCnt },
        { "Duration", MPPTaskModel::TargetDrtnHrCnt },
        { "RemainingDuration", MPPTaskModel::RemainDrtnHrCnt },
        { "Work", MPPTaskModel::TargetWorkQty },
        { "ActualWork", MPPTaskModel::ActWorkQty },
        { "RemainingWork", MPPTaskModel::RemainWorkQty },
    };
    auto *tasks = modelOf(loader, "TASK");
    const QString file = QFileInfo(path).fileName();
    for (const auto &field : fields) {
        Agreement &figure = agreements()[field.first];
        bool mismatch = false;
        for (int row = 0; row < tasks->rowCount(); ++row) {
            const int uid = tasks->index(row, 0).data().toInt();
            const auto task = exported.constFind(uid);
            if (task == exported.constEnd() || !task->contains(field.first))
                continue;
            const QVariant cell = tasks->index(row, field.second).data();
            ++figure.compared;
            if (cell.isValid() && qAbs(cell.toDouble() - task->value(field.first)) < 0.005)
                ++figure.agree;
            else
                mismatch = true;
        }
        if (mismatch)
            figure.mismatchedFiles.append(file);
        // Files whose stored late dates differ from their export differ in slack too.
        const bool slack = field.first.endsWith("Slack");
        QVERIFY2(!mismatch || (slack && file.startsWith("task-links")),
                 qPrintable(field.first + " differs from the export"));
    }
    // The export numbers constraints 0 (as soon as possible) to 7 (finish no later than).
    // Saving a project in another layout may pin its tasks with Start No Earlier Than, so a
    // file and an export made from another of its layouts can differ in their constraints:
    // the types are compared where the constraint dates agree.
    const QStringList constraintCodes { "",        "CS_ALAP", "CS_MSO",  "CS_MEO",
                                        "CS_MSOA", "CS_MSOB", "CS_MEOA", "CS_MEOB" };
    Agreement &constrained = agreements()["ConstraintType"];
    for (int row = 0; row < tasks->rowCount(); ++row) {
        const int uid = tasks->index(row, 0).data().toInt();
        const auto task = exported.constFind(uid);
        if (task == exported.constEnd() || !task->contains("ConstraintType"))
            continue;
        const QDateTime date = tasks->index(row, MPPTaskModel::CstrDate).data().toDateTime();
        if (task->value("ConstraintDate", -1) != (date.isValid() ? date.toMSecsSinceEpoch() : -1))
            continue;
        const QString type = tasks->index(row, MPPTaskModel::CstrType).data().toString();
        QCOMPARE(type, constraintCodes.value(int(task->value("ConstraintType"))));
        constrained.compared += !type.isEmpty();
        constrained.agree += !type.isEmpty();
    }
}

void TestTableSamples::cleanupTestCase()
{
    for (auto it = agreements().cbegin(); it != agreements().cend(); ++it) {
        qInfo().noquote() << QStringLiteral("%1: %2 of %3 agree; files with differences: %4")
                                 .arg(it.key())
                                 .arg(it->agree)
                                 .arg(it->compared)
                                 .arg(it->mismatchedFiles.join(", "));
    }
    QVERIFY(agreements().value("TotalSlack").mismatchedFiles.size() <= 4);
    QVERIFY(agreements().value("FreeSlack").mismatchedFiles.size() <= 4);
    QVERIFY(agreements().value("ConstraintType").agree > 0); // constrained tasks were compared
}

QTEST_MAIN(TestTableSamples)
#include "tst_tablesamples.moc"
