// A small project shaped like the loader's tables: an activity record set (ID, parentID, Group)
// joined with an activity table and a WBS table, plus a relationship table.
// WBS: P "Project" > (A "Alpha" > A1, B "Beta"); activities T10..T14.
#pragma once

#include "models/ryconstants.h"
#include "models/ryjoinproxymodel.h"
#include "tests/support/chartcolumns.h"

#include <QDateTime>
#include <QStandardItemModel>

struct ActivityStack
{
    QStandardItemModel records;
    QStandardItemModel tasks;
    QStandardItemModel wbs;
    QStandardItemModel relationships;
    RyJoinProxyModel activities;

    static QDateTime at(int year, int month, int day)
    {
        return QDateTime(QDate(year, month, day), QTime(8, 0), Qt::UTC);
    }

    static void setColumns(QStandardItemModel *model, const QList<QStringList> &columns)
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

    static void appendValues(QStandardItemModel *model, const QVariantList &values)
    {
        QList<QStandardItem *> row;
        for (const QVariant &value : values) {
            auto *item = new QStandardItem;
            item->setData(value, Qt::DisplayRole);
            row.append(item);
        }
        model->appendRow(row);
    }

    ActivityStack()
    {
        setColumns(&records,
                   { { "ID", "integer" }, { "parentID", "integer" }, { "Group", "string" } });
        tasks.setObjectName("TASK");
        setColumns(&tasks,
                   { { "task_id", "integer" },
                     { "wbs_id", "integer" },
                     { "Activity ID", "string" },
                     { "Activity Name", "string" },
                     { "Activity Type", "string" },
                     { "Start Date", "datetime" },
                     { "Finish Date", "datetime" } });
        nameChartColumns(&tasks);
        wbs.setObjectName("PROJWBS");
        setColumns(&wbs,
                   { { "wbs_id", "integer" },
                     { "seq_num", "integer" },
                     { "WBS Code", "string", "true" },
                     { "WBS Name", "string", "true" },
                     { "parent_wbs_id", "integer" } });
        relationships.setObjectName("TASKPRED");
        setColumns(&relationships,
                   { { "task_id", "integer" },
                     { "pred_task_id", "integer" },
                     { "pred_proj_id", "integer" },
                     { "Type", "string" },
                     { "Lag", "double" } });

        // Listed child first: table order must not matter for the hierarchy.
        appendValues(&wbs, { 4, 0, "P.A.1", "A1", 2 });
        appendValues(&wbs, { 1, 0, "P", "Project", QVariant() });
        appendValues(&wbs, { 2, 0, "P.A", "Alpha", 1 });
        appendValues(&wbs, { 3, 0, "P.B", "Beta", 1 });

        addTask(10, 4, at(2024, 1, 15), at(2024, 2, 1));
        addTask(11, 2, at(2024, 3, 31), at(2024, 4, 10));
        addTask(12, 3, at(2024, 4, 1), at(2024, 6, 30));
        addTask(13, 3, at(2024, 11, 2), at(2024, 12, 24));
        addTask(14, 4, at(2025, 2, 1), at(2025, 3, 3));

        appendValues(&relationships, { 11, 10, 1, "PR_FS", 0 });
        appendValues(&relationships, { 14, 11, 1, "PR_SS", 8 });
        appendValues(&relationships, { 13, 12, 1, "PR_FF", 0 });

        activities.setObjectName("ActivityModel");
        activities.setSourceModel(&records);
        activities.addJoinAll(&tasks, 0, 0);
        activities.addJoin(&wbs, 0, { 2, 3 }, 4); // keyed by the joined wbs_id
    }

    void addTask(int id, int wbsId, const QDateTime &start, const QDateTime &finish)
    {
        appendValues(&tasks,
                     { id, wbsId, QStringLiteral("T%1").arg(id), QStringLiteral("Task %1").arg(id),
                       "TT_Task", start, finish });
        appendValues(&records, { id, QVariant(), QVariant() });
    }
};
