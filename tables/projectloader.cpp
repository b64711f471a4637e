#include "tables/projectloader.h"

#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "models/rymodellookup.h"
#include "models/rypredecessortext.h"
#include "models/ryvalueorder.h"
#include "tables/mppmodel.h"
#include "tables/mppudftypemodel.h"
#include "tables/ryassignmentmodel.h"
#include "tables/ryindex.h"

#include <QAbstractItemModel>
#include <QJsonDocument>
#include <QStandardItemModel>

#include <algorithm>

using RyModelLookup::findColumn;

namespace {

// A join model named `name` over `source`; it stays without a source when the table is missing.
RyJoinProxyModel *newJoinModel(const QString &name, QAbstractItemModel *source)
{
    auto *model = new RyJoinProxyModel;
    model->setObjectName(name);
    if (source)
        model->setSourceModel(source);
    return model;
}

// Activity type texts of the derived model, from P6 codes; case-sensitive containment.
QString activityTypeText(const QString &code)
{
    if (code.contains(QLatin1String("Mile")))
        return QStringLiteral("Milestone");
    if (code.contains(QLatin1String("Task")))
        return QStringLiteral("Task");
    if (code.contains(QLatin1String("LOE")))
        return QStringLiteral("Level of Effort");
    return QString();
}

bool isOneOf(const QString &text, std::initializer_list<const char *> values)
{
    for (const char *value : values) {
        if (text == QLatin1String(value))
            return true;
    }
    return false;
}

// A column that a step may write to: found, and not one that refuses every write.
int writableColumn(const QAbstractItemModel *model, int column)
{
    const auto *table = qobject_cast<const MPPModel *>(model);
    return table && column >= 0 && !table->isColumnWritable(column) ? -1 : column;
}

// Reads a cell by a column found by header text; no value for a missing column.
QVariant cellAt(const QAbstractItemModel *model, int row, int column)
{
    return column < 0 ? QVariant() : model->index(row, column).data(Qt::DisplayRole);
}

void setSystemHeader(QStandardItemModel *model, int section, const QString &text, const QString &id)
{
    model->setHeaderData(section, Qt::Horizontal, text, Qt::DisplayRole);
    model->setHeaderData(section, Qt::Horizontal, id, Ry::ColumnIdRole);
    model->setHeaderData(section, Qt::Horizontal, QStringLiteral("system"), Ry::ColumnGroupRole);
    model->setHeaderData(
        section, Qt::Horizontal,
        QVariantMap {
            { "group", "system" }, { "datatype", "integer" }, { "display", text }, { "id", id } },
        Ry::ColumnDescriptionRole);
}

} // namespace

ProjectLoader::ProjectLoader(QObject *parent)
    : QObject(parent)
{
}

ProjectLoader::~ProjectLoader()
{
    deleteTables();
}

bool ProjectLoader::setSchema(const QJsonDocument &document)
{
    const QVariantList tables = document.toVariant().toMap().value("tables").toList();
    for (const QVariant &table : tables) {
        const QVariantMap map = table.toMap();
        m_schema.insert(map.value("name").toString(), map.value("columns").toList());
    }
    return true;
}

QVariantList ProjectLoader::schema(const QString &tableName) const
{
    return m_schema.value(tableName);
}

bool ProjectLoader::createModels()
{
    createPredecessorModel();
    createResourceModel();
    createCodesModel();
    createTaskCodesAssignmentModel();
    createUserDefinedAssignmentModel();
    createActivityModel();
    return true;
}

QAbstractItemModel *ProjectLoader::table(const QString &name) const
{
    return qobject_cast<QAbstractItemModel *>(m_tables.value(name));
}

void ProjectLoader::registerTable(const QString &name, QObject *table)
{
    // Tables are built on the load's pool thread; they are used on the loader's own thread
    // afterwards, so they must live there (queued signals, deleteLater, timers of proxies).
    if (table->thread() != thread())
        table->moveToThread(thread());
    QObject *previous = m_tables.value(name);
    m_tables.insert(name, table);
    m_registrationOrder.append(table);
    if (previous && previous != table) {
        m_registrationOrder.removeOne(previous);
        delete previous;
    }
}

void ProjectLoader::deleteTables()
{
    // Derived models (joins, pivots) hold pointers to the tables they were built from, which
    // were registered before them: delete in reverse registration order.
    const QList<QObject *> objects = m_registrationOrder;
    m_registrationOrder.clear();
    m_tables.clear();
    for (auto it = objects.crbegin(); it != objects.crend(); ++it)
        delete *it;
}

void ProjectLoader::createPredecessorModel()
{
    auto *model = newJoinModel(QStringLiteral("predecessorModel"), table("TASKPRED"));
    if (model->sourceModel()) {
        if (QAbstractItemModel *tasks = table("TASK")) {
            model->addJoin(tasks, 0, { 5, 6 }, 0);
            model->addJoin(tasks, 0, { 5, 6 }, 1);
        }
    }
    registerTable(QStringLiteral("PredecessorModel"), model);
}

void ProjectLoader::createResourceModel()
{
    auto *model = newJoinModel(QStringLiteral("ResourceModel"), table("TASKRSRC"));
    if (QAbstractItemModel *assignments = model->sourceModel()) {
        if (QAbstractItemModel *resources = table("RSRC"))
            model->addJoin(resources, 0, { 2, 3, 4 }, findColumn(assignments, "rsrc_id"));
        // The activity each assignment belongs to, by its ID and name.
        QAbstractItemModel *tasks = table("TASK");
        const int key = findColumn(assignments, "task_id");
        const int taskKey = findColumn(tasks, "task_id");
        const int id = findColumn(tasks, "Activity ID");
        const int name = findColumn(tasks, "Activity Name");
        if (key >= 0 && taskKey >= 0 && id >= 0 && name >= 0)
            model->addJoin(tasks, taskKey, { id, name }, key);
        // Joined last so that the columns before it keep their places.
        QAbstractItemModel *resources = table("RSRC");
        const int notes = findColumn(resources, "Resource Notes");
        if (notes >= 0)
            model->addJoin(resources, 0, { notes }, findColumn(assignments, "rsrc_id"));
    }
    registerTable(QStringLiteral("ResourceModel"), model);
}

void ProjectLoader::createCodesModel()
{
    auto *model = newJoinModel(QStringLiteral("CodeModel"), table("TASKACTV"));
    if (model->sourceModel()) {
        if (QAbstractItemModel *codes = table("ACTVCODE"))
            model->addJoin(codes, 0, { 3, 5 }, 2);
        if (QAbstractItemModel *types = table("ACTVTYPE"))
            model->addJoin(types, 0, { 3, 4 }, 1);
    }
    registerTable(QStringLiteral("CodeModel"), model);
}

void ProjectLoader::createTaskCodesAssignmentModel()
{
    QAbstractItemModel *tasks = table("TASK");
    QAbstractItemModel *codes = table("ACTVCODE");
    QAbstractItemModel *codeAssignments = table("TASKACTV");
    QAbstractItemModel *types = table("ACTVTYPE");
    if (!tasks || !codes || !codeAssignments || !types)
        return;
    auto *model = RyAssignmentModel::activityCodes(tasks, codeAssignments, types, codes);
    model->setObjectName(QStringLiteral("taskCodesAssignmentModel"));
    registerTable(QStringLiteral("taskCodesAssignmentModel"), model);
}

void ProjectLoader::createUserDefinedAssignmentModel()
{
    QAbstractItemModel *tasks = table("TASK");
    QAbstractItemModel *types = table("UDFTYPE");
    QAbstractItemModel *values = table("UDFVALUE");
    if (!tasks || !types || !values)
        return;
    auto *model = RyAssignmentModel::userDefinedFields(tasks, values, types);
    model->setObjectName(QStringLiteral("userDefinedAssignmentModel"));
    registerTable(QStringLiteral("userDefinedAssignmentModel"), model);
}

void ProjectLoader::createActivityModel()
{
    QAbstractItemModel *tasks = table("TASK");
    if (!tasks)
        return;
    const int rows = tasks->rowCount();

    const int typeColumn = writableColumn(tasks, findColumn(tasks, "Activity Type"));
    const int statusColumn = findColumn(tasks, "Activity status");
    const int constraintTypeColumn = findColumn(tasks, "Activity constraint type");
    const int constraintDateColumn = findColumn(tasks, "Activity Constraint Date");
    const int actualStartColumn = findColumn(tasks, "Actual Start");
    const int actualFinishColumn = findColumn(tasks, "Actual Finish");
    const int plannedStartColumn = findColumn(tasks, "Planned start date");
    const int plannedFinishColumn = findColumn(tasks, "Planned finish date");
    const int startColumn = writableColumn(tasks, findColumn(tasks, "Start Date"));
    const int finishColumn = writableColumn(tasks, findColumn(tasks, "Finish Date"));
    QVector<QVariant> ids(rows);
    for (int row = 0; row < rows; ++row) {
        if (typeColumn >= 0) {
            const QString code = cellAt(tasks, row, typeColumn).toString();
            tasks->setData(tasks->index(row, typeColumn), activityTypeText(code), Qt::DisplayRole);
        }
        // Start and finish as P6 shows them, by status and constraint. Tables without the
        // target columns (the MPP tables) have nothing to write.
        if (startColumn >= 0 || finishColumn >= 0) {
            const QString status = cellAt(tasks, row, statusColumn).toString();
            const QString constraint = cellAt(tasks, row, constraintTypeColumn).toString();
            const QVariant constraintDate = cellAt(tasks, row, constraintDateColumn);
            const bool startConstrained
                = isOneOf(constraint, { "CS_MANDSTART", "CS_MSO", "CS_MSOB" });
            const bool finishConstrained
                = isOneOf(constraint, { "CS_MANDFIN", "CS_MEO", "CS_MEOB" });
            QVariant start;
            QVariant finish;
            if (status == QLatin1String("TK_Complete")) {
                start = cellAt(tasks, row, actualStartColumn);
                finish = cellAt(tasks, row, actualFinishColumn);
            } else if (status == QLatin1String("TK_Active")) {
                start = cellAt(tasks, row, actualStartColumn);
                finish
                    = finishConstrained ? constraintDate : cellAt(tasks, row, plannedFinishColumn);
            } else {
                start = startConstrained ? constraintDate : cellAt(tasks, row, plannedStartColumn);
                finish
                    = finishConstrained ? constraintDate : cellAt(tasks, row, plannedFinishColumn);
            }
            if (startColumn >= 0)
                tasks->setData(tasks->index(row, startColumn), start, Qt::DisplayRole);
            if (finishColumn >= 0)
                tasks->setData(tasks->index(row, finishColumn), finish, Qt::DisplayRole);
        }
        ids[row] = cellAt(tasks, row, 0);
    }

    writePredecessorTexts(tasks);

    // The activity rows: their ids in ascending order, as a stable sort of the model by the
    // first column leaves them (rows without an id last), and the parent and group cells the
    // activity view fills.
    const auto withoutId = std::stable_partition(ids.begin(), ids.end(),
                                                 [](const QVariant &id) { return id.isValid(); });
    std::stable_sort(ids.begin(), withoutId, RyValueOrder());
    auto *activities = new QStandardItemModel(rows, 3);
    setSystemHeader(activities, 0, QStringLiteral("ID"), QStringLiteral("id"));
    setSystemHeader(activities, 1, QStringLiteral("parentID"), QStringLiteral("parentID"));
    setSystemHeader(activities, 2, QStringLiteral("Group"), QStringLiteral("Group"));
    for (int row = 0; row < rows; ++row) {
        if (ids.at(row).isValid()) {
            auto *item = new QStandardItem;
            item->setData(ids.at(row), Qt::DisplayRole);
            activities->setItem(row, 0, item);
        }
    }

    auto *model = new RyJoinProxyModel;
    model->setObjectName(QStringLiteral("ActivityModel"));
    activities->setParent(model);
    model->setSourceModel(activities);
    // Layouts store filters by activity-model column number, so task columns added later (the
    // baseline group and every column after its first) join after every other column instead
    // of moving those; the calendar's name and what follows it, added after the later user
    // defined fields, join after those.
    QList<int> taskColumns;
    QList<int> laterTaskColumns;
    QList<int> latestTaskColumns;
    bool later = false;
    bool latest = false;
    for (int column = 0; column < tasks->columnCount(); ++column) {
        later = later
            || tasks->headerData(column, Qt::Horizontal, Ry::ColumnGroupRole).toString()
                == QLatin1String("Baseline");
        latest = latest
            || tasks->headerData(column, Qt::Horizontal, Ry::ColumnIdRole).toString()
                == QLatin1String("clndr_name");
        (latest ? latestTaskColumns : later ? laterTaskColumns : taskColumns).append(column);
    }
    model->addJoin(tasks, 0, taskColumns, 0);
    if (QAbstractItemModel *wbs = table("PROJWBS"))
        model->addJoin(wbs, 0, { 2, 3 }, 5);
    if (QAbstractItemModel *assignments = table("TASKRSRC"))
        model->addJoinAll(assignments, 0, 0);
    // For the same reason the user defined fields added later (numbers, dates, flags) join last.
    QAbstractItemModel *fields = table(QStringLiteral("userDefinedAssignmentModel"));
    QList<int> laterFieldColumns;
    for (QAbstractItemModel *pivot :
         { table(QStringLiteral("taskCodesAssignmentModel")), fields }) {
        if (!pivot)
            continue;
        QList<int> columns;
        for (int column = 1; column < pivot->columnCount(); ++column) {
            const bool laterField = pivot == fields && column > MPPUdfTypeModel::EarlierFieldCount;
            (laterField ? laterFieldColumns : columns).append(column);
        }
        model->addJoin(pivot, 0, columns, 0);
    }
    if (!laterTaskColumns.isEmpty())
        model->addJoin(tasks, 0, laterTaskColumns, 0);
    if (!laterFieldColumns.isEmpty())
        model->addJoin(fields, 0, laterFieldColumns, 0);
    if (!latestTaskColumns.isEmpty())
        model->addJoin(tasks, 0, latestTaskColumns, 0);
    registerTable(QStringLiteral("ActivityModel"), model);
}

void ProjectLoader::writePredecessorTexts(QAbstractItemModel *tasks)
{
    const int predecessorsColumn = writableColumn(tasks, findColumn(tasks, "Predecessors"));
    const int detailsColumn = writableColumn(tasks, findColumn(tasks, "Predecessors Details"));
    const int idColumn = findColumn(tasks, "task_id");
    auto *relations = table("PredecessorModel");
    // Tables without the two text columns (the MPP tables) have nothing to write.
    if ((predecessorsColumn < 0 && detailsColumn < 0) || !relations)
        return;
    const auto texts = RyPredecessorText::predecessorTexts(relations);
    const int rows = tasks->rowCount();
    for (int row = 0; row < rows; ++row) {
        const auto entries = texts.value(cellAt(tasks, row, idColumn < 0 ? 0 : idColumn).toInt());
        QStringList keys;
        QStringList details;
        for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
            keys.append(it.key());
            details.append(it.key() + QLatin1Char(':') + it.value());
        }
        if (predecessorsColumn >= 0)
            tasks->setData(tasks->index(row, predecessorsColumn), keys.join(", "), Qt::DisplayRole);
        if (detailsColumn >= 0)
            tasks->setData(tasks->index(row, detailsColumn), details.join(", "), Qt::DisplayRole);
    }
}

QString ProjectLoader::sourceHost() const
{
    return QString();
}

QString ProjectLoader::sourceDatabase() const
{
    return QString();
}

QString ProjectLoader::sourceUser() const
{
    return QString();
}

QString ProjectLoader::sourceName() const
{
    return QString();
}

bool ProjectLoader::hasModel(const QString &name) const
{
    return m_tables.contains(name);
}

QObject *ProjectLoader::model(const QString &name) const
{
    return m_tables.value(name);
}

QList<QObject *> ProjectLoader::models() const
{
    return m_tables.values();
}
