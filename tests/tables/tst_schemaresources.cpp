// The built-in table schemas: tables, column counts and the descriptions the program relies on.
#include <QFile>
#include <QJsonDocument>
#include <QtTest>

namespace {

QVariantList tablesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).toVariant().toMap().value("tables").toList();
}

QVariantList columnsOf(const QString &path, const QString &table)
{
    for (const QVariant &entry : tablesOf(path)) {
        if (entry.toMap().value("name") == table)
            return entry.toMap().value("columns").toList();
    }
    return {};
}

QVariantMap columnOf(const QString &path, const QString &table, const QString &id)
{
    for (const QVariant &column : columnsOf(path, table)) {
        if (column.toMap().value("id") == id)
            return column.toMap();
    }
    return {};
}

QStringList idsOf(const QString &path, const QString &table)
{
    QStringList ids;
    for (const QVariant &column : columnsOf(path, table))
        ids.append(column.toMap().value("id").toString());
    return ids;
}

const char *const Mppr = ":/files/mppr.json";
const char *const P6 = ":/files/schema.json";

} // namespace

class TestSchemaResources : public QObject
{
    Q_OBJECT

private slots:
    void tablesInOrder_data();
    void tablesInOrder();
    void columnCounts_data();
    void columnCounts();
    void descriptionsAreWellFormed_data();
    void descriptionsAreWellFormed();
    void spotChecks();
    void onlyWbsCodeAndNameAreStructure();
    void p6SchemaDifferences();
};

void TestSchemaResources::tablesInOrder_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("mppr") << Mppr;
    QTest::newRow("schema") << P6;
}

void TestSchemaResources::tablesInOrder()
{
    QFETCH(QString, path);
    QStringList names;
    for (const QVariant &table : tablesOf(path))
        names.append(table.toMap().value("name").toString());
    QCOMPARE(names,
             (QStringList { "PROJWBS", "TASK", "TASKPRED", "RSRC", "TASKRSRC", "ACTVTYPE",
                            "ACTVCODE", "TASKACTV", "UDFTYPE", "UDFVALUE" }));
}

void TestSchemaResources::columnCounts_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("count");
    const QList<QPair<QString, int>> mppr { { "PROJWBS", 7 },   { "TASK", 62 },
                                            { "TASKPRED", 5 },  { "RSRC", 7 },
                                            { "TASKRSRC", 18 }, { "ACTVTYPE", 13 },
                                            { "ACTVCODE", 13 }, { "TASKACTV", 6 },
                                            { "UDFTYPE", 5 },   { "UDFVALUE", 7 } };
    for (const auto &entry : mppr) {
        QTest::addRow("mppr %s", qPrintable(entry.first)) << Mppr << entry.first << entry.second;
        int p6Count = entry.second;
        if (entry.first == "TASK")
            p6Count = 55 - 3 + 7; // P6 names no baseline columns in its task table
        if (entry.first == "TASKRSRC")
            p6Count = 18 - 5 + 12;
        if (entry.first == "RSRC")
            p6Count = 7 - 1; // nor a notes column in its resource table
        QTest::addRow("schema %s", qPrintable(entry.first)) << P6 << entry.first << p6Count;
    }
}

void TestSchemaResources::columnCounts()
{
    QFETCH(QString, path);
    QFETCH(QString, table);
    QFETCH(int, count);
    QCOMPARE(columnsOf(path, table).size(), count);
    // Ids are unique within a table.
    const QStringList ids = idsOf(path, table);
    QCOMPARE(QSet<QString>(ids.cbegin(), ids.cend()).size(), ids.size());
}

void TestSchemaResources::descriptionsAreWellFormed_data()
{
    tablesInOrder_data();
}

void TestSchemaResources::descriptionsAreWellFormed()
{
    QFETCH(QString, path);
    const QStringList types { "integer", "double", "string", "datetime" };
    const QStringList groups { "General",
                               "Dates",
                               "Durations",
                               "Units",
                               "Resources",
                               "Activity Codes",
                               "User Defined Field",
                               "Multiple Float Paths",
                               "Lists",
                               "Baseline",
                               "hidden",
                               "system" };
    for (const QVariant &table : tablesOf(path)) {
        for (const QVariant &column : table.toMap().value("columns").toList()) {
            const QVariantMap map = column.toMap();
            const QString where
                = table.toMap().value("name").toString() + "." + map.value("id").toString();
            QVERIFY2(types.contains(map.value("datatype").toString()), qPrintable(where));
            QVERIFY2(groups.contains(map.value("group").toString()), qPrintable(where));
            QVERIFY2(!map.value("display").toString().isEmpty(), qPrintable(where));
            // Every value is a JSON string.
            for (auto it = map.cbegin(); it != map.cend(); ++it)
                QVERIFY2(it.value().userType() == QMetaType::QString, qPrintable(where));
            if (path == Mppr)
                QVERIFY2(!map.contains("calculated"), qPrintable(where));
        }
    }
}

void TestSchemaResources::spotChecks()
{
    const QVariantMap name = columnOf(Mppr, "TASK", "task_name");
    QCOMPARE(name.value("display").toString(), QString("Activity Name"));
    QCOMPARE(name.value("group").toString(), QString("General"));
    QCOMPARE(name.value("datatype").toString(), QString("string"));
    QVERIFY(columnOf(Mppr, "TASK", "parent_uid").isEmpty());
    QCOMPARE(columnOf(Mppr, "TASK", "external_late_end_date").value("display").toString(),
             QString("External Late Finish"));
    QCOMPARE(columnOf(P6, "TASK", "external_late_end_date").value("display").toString(),
             QString("External Late Finish"));
    QCOMPARE(columnOf(Mppr, "TASK", "total_float_hr_cnt").value("group").toString(),
             QString("Durations"));
    QCOMPARE(columnOf(Mppr, "TASK", "calc_start_date").value("display").toString(),
             QString("Start Date"));
    QCOMPARE(columnOf(Mppr, "TASKPRED", "lag_hr_cnt").value("display").toString(), QString("Lag"));
    QCOMPARE(columnOf(Mppr, "TASKPRED", "pred_type").value("group").toString(), QString("hidden"));
    QCOMPARE(columnOf(Mppr, "UDFTYPE", "udf_type_label").value("display").toString(),
             QString("Label"));
    QCOMPARE(columnOf(Mppr, "ACTVCODE", "update_date").value("datatype").toString(),
             QString("integer"));
    QCOMPARE(columnOf(Mppr, "TASKACTV", "proj_id").value("datatype").toString(), QString("string"));
    QCOMPARE(columnOf(Mppr, "RSRC", "rsrc_name").value("group").toString(), QString("General"));
    QCOMPARE(idsOf(Mppr, "PROJWBS"),
             (QStringList { "wbs_id", "seq_num", "wbs_short_name", "wbs_name", "parent_wbs_id",
                            "anticip_start_date", "anticip_end_date" }));
    QCOMPARE(idsOf(Mppr, "TASK").mid(50),
             (QStringList { "delete_date", "calc_start_date", "calc_end_date", "status_code",
                            "task_progress", "bl_project_start_date", "bl_project_end_date",
                            "bl_project_drtn_hr_cnt", "bl_project_work_qty",
                            "bl_project_total_cost", "task_notes", "clndr_name" }));
}

void TestSchemaResources::onlyWbsCodeAndNameAreStructure()
{
    QStringList structure;
    for (const QVariant &table : tablesOf(Mppr)) {
        for (const QVariant &column : table.toMap().value("columns").toList()) {
            if (column.toMap().value("structure").toBool())
                structure.append(table.toMap().value("name").toString() + "."
                                 + column.toMap().value("id").toString());
        }
    }
    QCOMPARE(structure, (QStringList { "PROJWBS.wbs_short_name", "PROJWBS.wbs_name" }));
}

void TestSchemaResources::p6SchemaDifferences()
{
    const QStringList task = idsOf(P6, "TASK");
    QVERIFY(!task.contains("calc_start_date"));
    QVERIFY(!task.contains("task_progress"));
    QCOMPARE(task.mid(task.indexOf("delete_date") + 1),
             (QStringList { "start_date", "finish_date", "status_code", "predecessors",
                            "predecessors_details", "row_number", "predecessors_details_rows",
                            "outline_level" }));
    QCOMPARE(columnOf(P6, "TASK", "start_date").value("calculated").toString(), QString("true"));
    QCOMPARE(columnOf(P6, "TASK", "outline_level").value("group").toString(), QString("Lists"));
    QCOMPARE(columnOf(P6, "TASK", "row_number").value("display").toString(), QString("Row Number"));
    QVERIFY(!columnOf(P6, "TASK", "status_code").contains("calculated"));
    QCOMPARE(idsOf(P6, "TASKRSRC"),
             (QStringList { "task_id",
                            "proj_id",
                            "role_id",
                            "acct_id",
                            "rsrc_id",
                            "pobs_id",
                            "remain_qty",
                            "target_qty",
                            "remain_qty_per_hr",
                            "act_ot_qty",
                            "act_reg_qty",
                            "cost_per_qty",
                            "target_cost",
                            "act_reg_cost",
                            "act_ot_cost",
                            "remain_cost",
                            "act_start_date",
                            "act_end_date",
                            "restart_date",
                            "reend_date",
                            "target_start_date",
                            "target_end_date",
                            "rem_late_start_date",
                            "rem_late_end_date",
                            "rate_type" }));
    QCOMPARE(columnOf(P6, "TASKRSRC", "pobs_id").value("group").toString(), QString("system"));
    QCOMPARE(columnOf(P6, "TASKRSRC", "rate_type").value("group").toString(), QString("Resources"));
    QCOMPARE(columnOf(P6, "TASKRSRC", "cost_per_qty").value("display").toString(),
             QString("Price per time"));
    // Tables without differences are the same as in the MPP schema.
    QCOMPARE(columnsOf(P6, "PROJWBS"), columnsOf(Mppr, "PROJWBS"));
    QCOMPARE(columnsOf(P6, "UDFVALUE"), columnsOf(Mppr, "UDFVALUE"));
}

QTEST_MAIN(TestSchemaResources)
#include "tst_schemaresources.moc"
